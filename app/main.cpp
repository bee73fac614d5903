#include "platform/qt/DesktopServices.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Markvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    markvane::platform::DesktopServices desktop;
    return QApplication::exec();
}
