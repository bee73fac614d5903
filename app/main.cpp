#include "platform/Services.h"
#include "platform/qt/DesktopServices.h"
#include "platform/x11/X11HotKeys.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Markvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    markvane::platform::DesktopServices desktop;
    const auto hotKeys = markvane::platform::x11::X11HotKeys::create();
    markvane::platform::services().hotKeys = hotKeys.get();
    return QApplication::exec();
}
