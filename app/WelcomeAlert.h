#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace markvane {

namespace platform {
class PreferencesStore;
}

// The three lines of the first-launch welcome, naming the current key
// bindings of draw mode and of the toolbar.
QString welcomeText(const QString& drawModeKeys, const QString& toolbarKeys);

// Greets a new user once per account, a moment after launch.
class WelcomeAlert : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMs = 600;
    using Text = std::function<QString()>;
    using Present =
        std::function<void(const QString& title, const QString& text, const QString& button)>;

    WelcomeAlert(platform::PreferencesStore& preferences, Text text, Present present,
                 QObject* parent = nullptr);

    // Schedules the alert unless it was ever scheduled before. The mark is
    // written first, so quitting before the delay never shows it twice.
    void showIfNeeded();
    bool isPending() const { return m_timer.isActive(); }

private:
    void present();

    platform::PreferencesStore& m_preferences;
    Text m_text;
    Present m_present;
    QTimer m_timer;
};

} // namespace markvane
