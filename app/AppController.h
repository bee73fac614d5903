#pragma once

#include "app/DrawKeyMonitor.h"
#include "app/WelcomeAlert.h"
#include "overlay/DrawOverlays.h"
#include "overlay/DrawViewHost.h"

#include <QObject>
#include <functional>
#include <memory>

namespace markvane {

class AnnotationStore;
class DrawShortcuts;
class GlobalShortcuts;

namespace platform {
class Pasteboard;
class Permissions;
class PreferencesStore;
class Screens;
class SystemAlerts;
} // namespace platform

// The coordinator of the running program: owns the drawing panels, holds
// the draw-mode flag the user interface binds to, routes the drawing keys,
// pastes images, greets new users and connects the global hot keys to
// their actions.
class AppController : public QObject, public DrawViewHost {
    Q_OBJECT
    Q_PROPERTY(
        bool drawModeEnabled READ drawModeEnabled WRITE setDrawMode NOTIFY drawModeEnabledChanged)
    Q_PROPERTY(bool hasScreenRecording READ hasScreenRecording WRITE setHasScreenRecording NOTIFY
                   hasScreenRecordingChanged)
public:
    struct Services {
        AnnotationStore* store = nullptr;
        DrawShortcuts* drawShortcuts = nullptr;
        GlobalShortcuts* globalShortcuts = nullptr;
        platform::PreferencesStore* preferences = nullptr;
        platform::Pasteboard* pasteboard = nullptr; // may be null: pasting does nothing
        platform::Screens* screens = nullptr;
        platform::SystemAlerts* alerts = nullptr;
        platform::Permissions* permissions = nullptr;
    };
    // Builds the drawing panels' manager, whose views call back into the host.
    using OverlaysFactory = std::function<std::unique_ptr<DrawOverlays>(DrawViewHost& host)>;

    AppController(Services services, const OverlaysFactory& makeOverlays,
                  DrawKeyMonitor::Translate translateKey, WelcomeAlert::Present presentWelcome,
                  QObject* parent = nullptr);
    ~AppController() override;

    // The program's controller, built from the installed desktop services.
    static AppController& shared();

    // Launch wiring: panels, key monitor, welcome, hot keys, tool observer.
    // Called once.
    void start();

    bool drawModeEnabled() const override { return m_drawModeEnabled; }
    void setDrawMode(bool on) override;
    void toggleDrawMode() { setDrawMode(!m_drawModeEnabled); }
    void enterDrawMode();

    bool hasScreenRecording() const { return m_hasScreenRecording; }
    void setHasScreenRecording(bool granted);

    bool handleDrawKey(const DrawKey& key) override;
    void focusOverlayUnderMouse() override;
    bool isOverOtherProgramWindow(QPointF globalPoint) const override;

    // Adds the clipboard's image as an annotation centred on the pointer.
    void pasteImage();

    DrawOverlays& overlays() { return *m_overlays; }

Q_SIGNALS:
    void drawModeEnabledChanged(bool on);
    void hasScreenRecordingChanged(bool granted);

private:
    void registerGlobalActions();
    void reportUnavailableHotKeys();
    QString currentWelcomeText() const;

    Services m_services;
    bool m_drawModeEnabled = false;
    bool m_hasScreenRecording = false;
    std::unique_ptr<DrawOverlays> m_overlays;
    DrawKeyMonitor m_keyMonitor;
    WelcomeAlert m_welcome;
    bool m_started = false;
};

} // namespace markvane
