#include "platform/qt/QtPermissions.h"

#include <QMessageBox>

namespace markvane::platform {

QtPermissions::QtPermissions(AlertPresenter presenter) : m_presenter(std::move(presenter)) {}

QString QtPermissions::alertMessage() {
    return QStringLiteral("Enable Screen Recording for Markvane");
}

QString QtPermissions::alertDetails(const QString& reason) {
    return reason +
           QStringLiteral(", which this desktop only allows with screen-recording access.");
}

void QtPermissions::requestScreenRecording(const QString& reason) {
    if (m_alertOpen)
        return;
    m_alertOpen = true;
    // The presenter runs a nested event loop; whatever happens in it, the
    // flag must not stay set or no alert would ever show again.
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_alertOpen};
    m_presenter(alertMessage(), alertDetails(reason));
}

void QtPermissions::showWarningBox(const QString& message, const QString& details) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Markvane"), message, QMessageBox::Ok);
    box.setInformativeText(details);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.show();
    box.raise();
    box.activateWindow();
    box.exec();
}

} // namespace markvane::platform
