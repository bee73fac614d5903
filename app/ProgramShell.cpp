#include "app/ProgramShell.h"
#include "app/ShellMenu.h"

#include "annotations/AnnotationDrawing.h"
#include "annotations/AnnotationStore.h"
#include "app/AppController.h"
#include "platform/Permissions.h"
#include "platform/Screens.h"
#include "platform/Services.h"
#include "platform/qt/DesktopServices.h"
#include "platform/x11/X11HotKeys.h"
#include "platform/x11/X11OverlayWindows.h"
#include "shortcuts/DrawShortcuts.h"
#include "shortcuts/GlobalShortcuts.h"

#include <QApplication>
#include <QWidget>

namespace markvane {
namespace {

// Copies of annotations for the clipboard, drawn at the main display's density.
std::optional<QImage> clipboardImage(const Annotation& annotation) {
    const platform::Services& desktop = platform::services();
    AnnotationDrawContext context;
    context.now = desktop.clock->now();
    context.screens = desktop.screens->screens();
    const auto main = desktop.screens->mainScreen();
    return annotationImage(annotation, context, main ? main->backingScale : 1);
}

// The program as it stands: the toolbar, keystroke display, cursor effects,
// settings window and update check are not part of it yet, so the shell says
// it has none of them.
class RunningProgram final : public ProgramShell {
public:
    RunningProgram()
        : m_hotKeys(platform::x11::X11HotKeys::create()), m_overlayWindows(m_desktop.alerts()) {
        platform::services().hotKeys = m_hotKeys.get();
        platform::services().overlayWindows = &m_overlayWindows;
        // Screen capture is not available yet: the store then adds no snipe.
        AnnotationStore::shared().setAnnotationImager(clipboardImage);
        connect(&controller(), &AppController::drawModeEnabledChanged, this,
                &ShellActions::drawModeChanged);
    }

    ~RunningProgram() override {
        // What the shared models' windows and hot keys hold goes with the
        // services below; the preferences are written out by their store.
        controller().setDrawMode(false);
        for (QWidget* window : QApplication::topLevelWidgets())
            window->hide();
        platform::services().hotKeys = nullptr;
        platform::services().overlayWindows = nullptr;
        m_desktop.preferences().flush();
    }

    void start() override { controller().start(); }

    TrayMenuInputs menuInputs() const override {
        TrayMenuInputs inputs;
        inputs.state = trayMenuState(*this);
        inputs.globalShortcut = [](GlobalAction action) {
            return GlobalShortcuts::shared().shortcut(action);
        };
        inputs.drawShortcut = [](DrawAction action) {
            return DrawShortcuts::shared().shortcut(action);
        };
        return inputs;
    }

    QString noTrayNotice() const override {
        const auto key = [](GlobalAction action) {
            return GlobalShortcuts::shared().shortcut(action).displayString();
        };
        return QStringLiteral("Markvane: this desktop has no system tray, so Markvane shows no "
                              "icon there. Press %1 to draw, %2 to undo, %3 to clear; or use the "
                              "command line (markvane --help).")
            .arg(key(GlobalAction::drawMode), key(GlobalAction::undo), key(GlobalAction::clear));
    }

    void setTrayIcon(QSystemTrayIcon* icon) override { m_desktop.alerts().setTrayIcon(icon); }

    bool hasToolbar() const override { return false; }
    bool toolbarVisible() const override { return false; }
    void toggleToolbar() override {}
    // Reopening shows the toolbar; without one there is nothing to bring back.
    void reopen() override {}

    bool drawModeEnabled() const override { return controller().drawModeEnabled(); }
    void toggleDrawMode() override { controller().toggleDrawMode(); }

    void undo() override { store().undo(); }
    void redo() override { store().redo(); }
    void clear() override { store().clear(); }
    bool annotationsHidden() const override { return store().hidden(); }
    void toggleHidden() override { store().toggleHidden(); }

    bool hasKeystrokes() const override { return false; }
    bool keystrokesEnabled() const override { return false; }
    void toggleKeystrokes() override {}
    bool hasCursorEffects() const override { return false; }
    QString cursorEffectLabel() const override { return {}; }
    void cycleCursorEffect() override {}
    bool hasSettings() const override { return false; }
    void openSettings() override {}

    // A change of tool switches draw mode on (the controller watches it).
    void setTool(Tool tool) override { store().setTool(tool); }
    void setPaletteIndex(int index) override { store().setPaletteIndex(index); }
    void setWidthIndex(int index) override { store().setWidthIndex(index); }
    void setFade(FadeInterval fade) override { store().setFade(fade); }

    void refreshPermissions() override {
        controller().setHasScreenRecording(
            platform::services().permissions->screenCaptureAllowed());
    }

    void quit() override { QCoreApplication::quit(); }

private:
    static AppController& controller() { return AppController::shared(); }
    static AnnotationStore& store() { return AnnotationStore::shared(); }

    platform::DesktopServices m_desktop;
    std::unique_ptr<platform::x11::X11HotKeys> m_hotKeys;
    platform::X11OverlayWindows m_overlayWindows;
};

} // namespace

std::unique_ptr<ProgramShell> ProgramShell::create() {
    return std::make_unique<RunningProgram>();
}

} // namespace markvane
