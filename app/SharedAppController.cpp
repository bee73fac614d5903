// The program's one controller, wired to the installed desktop services.
#include "annotations/AnnotationStore.h"
#include "app/AppController.h"
#include "overlay/DrawOverlayManager.h"
#include "overlay/DrawOverlayView.h"
#include "overlay/KeyTranslation.h"
#include "platform/OverlayWindows.h"
#include "platform/Services.h"
#include "platform/x11/KeyCodeMap.h"
#include "shortcuts/DrawShortcuts.h"
#include "shortcuts/GlobalShortcuts.h"

#include <QKeyEvent>
#include <QMessageBox>

namespace markvane {

namespace {

// The welcome greeting: a plain information box that does not block the
// event loop, kept above the drawing panels.
WelcomeAlert::Present welcomeBox(platform::OverlayWindows* windows) {
    return [windows](const QString& title, const QString& text, const QString& button) {
        // The title goes in the box as well: without a window manager there
        // is no title bar to show it.
        auto* box = new QMessageBox(QMessageBox::Information, title, title);
        box->setInformativeText(text);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->addButton(button, QMessageBox::AcceptRole);
        if (windows)
            windows->keepAbovePanels(box);
        box->open();
        box->raise();
        box->activateWindow();
    };
}

std::optional<quint16> programKeyCode(quint32 nativeScanCode) {
    if (nativeScanCode == 0 || nativeScanCode > 255)
        return std::nullopt;
    return platform::x11::keyCodeFromX(quint8(nativeScanCode));
}

} // namespace

AppController& AppController::shared() {
    static AppController* const instance = [] {
        const platform::Services& desktop = platform::services();
        if (!desktop.overlayWindows || !desktop.screens || !desktop.preferences || !desktop.clock)
            qFatal("Markvane: the desktop services must be installed before the controller");
        Services services{&AnnotationStore::shared(),
                          &DrawShortcuts::shared(),
                          &GlobalShortcuts::shared(),
                          desktop.preferences,
                          desktop.pasteboard,
                          desktop.screens,
                          desktop.alerts,
                          desktop.permissions};
        platform::OverlayWindows* windows = desktop.overlayWindows;
        auto makeOverlays = [services, windows](DrawViewHost& host) {
            DrawOverlayView::Services viewServices{platform::services().clock, services.screens,
                                                   programKeyCode};
            AnnotationStore* store = services.store;
            return std::make_unique<DrawOverlayManager>(
                *services.screens, *windows,
                [store, &host, viewServices](const platform::ScreenInfo& screen) {
                    return new DrawOverlayView(screen, *store, host, viewServices);
                });
        };
        auto translate = [](const QKeyEvent& event) {
            return drawKeyFromEvent(event, programKeyCode);
        };
        // Lives until the process ends, like every other shared model.
        return new AppController(services, makeOverlays, translate, welcomeBox(windows));
    }();
    return *instance;
}

} // namespace markvane
