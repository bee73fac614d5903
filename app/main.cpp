#include "annotations/AnnotationDrawing.h"
#include "annotations/AnnotationStore.h"
#include "app/AppController.h"
#include "app/QuitSignals.h"
#include "platform/Screens.h"
#include "platform/Services.h"
#include "platform/qt/DesktopServices.h"
#include "platform/x11/X11HotKeys.h"
#include "platform/x11/X11OverlayWindows.h"

#include <QApplication>

namespace {

// Copies of annotations for the clipboard, drawn at the main display's density.
std::optional<QImage> clipboardImage(const markvane::Annotation& annotation) {
    const markvane::platform::Services& desktop = markvane::platform::services();
    markvane::AnnotationDrawContext context;
    context.now = desktop.clock->now();
    context.screens = desktop.screens->screens();
    const auto main = desktop.screens->mainScreen();
    return markvane::annotationImage(annotation, context, main ? main->backingScale : 1);
}

} // namespace

int main(int argc, char** argv) {
    using namespace markvane;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Markvane"));
    QApplication::setQuitOnLastWindowClosed(false);

    platform::DesktopServices desktop;
    const auto hotKeys = platform::x11::X11HotKeys::create();
    platform::services().hotKeys = hotKeys.get();
    platform::X11OverlayWindows overlayWindows(desktop.alerts());
    platform::services().overlayWindows = &overlayWindows;

    // Screen capture is not available yet: the store then adds no snipe.
    AnnotationStore::shared().setAnnotationImager(clipboardImage);

    // SIGTERM and SIGINT end the program like its own Quit: the event loop
    // stops and the desktop services write the preferences out.
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::received, &app, &QApplication::quit);

    AppController::shared().start();
    return QApplication::exec();
}
