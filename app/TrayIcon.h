#pragma once

#include "app/TrayMenuModel.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace markvane {

// The tray icon and its menu. Without a system tray it says once how else to
// reach the program, and checks every few seconds (only while there is none)
// whether one has appeared.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kTrayPollMs = 3000;

    struct Hooks {
        std::function<TrayMenuInputs()> menuInputs;
        std::function<void(TrayCommand)> run;
        std::function<QString()> noTrayNotice;       // how to reach the actions without a tray
        std::function<bool()> trayAvailable;         // the desktop has a system tray now
        std::function<void(QSystemTrayIcon*)> shown; // the icon has just been shown
        int pollMs = kTrayPollMs;
    };

    explicit TrayIcon(Hooks hooks, QObject* parent = nullptr);
    ~TrayIcon() override;

    // Shows the icon now, or as soon as a tray appears.
    void start();
    void setDrawMode(bool on);

    bool isShown() const { return m_icon != nullptr; }
    bool isWaitingForTray() const { return m_poll.isActive(); }
    QMenu* menu() const { return m_menu.get(); }

private:
    void tryShow();
    void updateIcon();

    Hooks m_hooks;
    bool m_drawMode = false;
    bool m_noticeGiven = false;
    QTimer m_poll;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_icon = nullptr;
};

} // namespace markvane
