#include "platform/qt/QtSystemAlerts.h"

#include <QApplication>
#include <QMessageBox>

namespace markvane::platform {

void QtSystemAlerts::beep() {
    QApplication::beep();
}

void QtSystemAlerts::notify(const QString& title, const QString& message) {
    if (m_tray && m_tray->isVisible() && QSystemTrayIcon::supportsMessages()) {
        m_tray->showMessage(title, message);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Information, title, message, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

} // namespace markvane::platform
