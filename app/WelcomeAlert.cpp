#include "app/WelcomeAlert.h"

#include "platform/PreferencesStore.h"

namespace markvane {

namespace {
const QString kShownKey = QStringLiteral("hasShownWelcome");
}

QString welcomeText(const QString& drawModeKeys, const QString& toolbarKeys) {
    return QStringLiteral("Press %1 to start drawing on your screen, in any app.\n"
                          "Press %2 to bring the toolbar back any time you close it.\n"
                          "Look for the Markvane icon in your system tray if you ever lose "
                          "track of it.")
        .arg(drawModeKeys, toolbarKeys);
}

WelcomeAlert::WelcomeAlert(platform::PreferencesStore& preferences, Text text, Present present,
                           QObject* parent)
    : QObject(parent), m_preferences(preferences), m_text(std::move(text)),
      m_present(std::move(present)) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &WelcomeAlert::present);
}

void WelcomeAlert::showIfNeeded() {
    const QVariant shown = m_preferences.value(kShownKey);
    if (shown.typeId() == QMetaType::Bool && shown.toBool())
        return;
    m_preferences.setValue(kShownKey, true);
    m_preferences.flush();
    m_timer.start();
}

void WelcomeAlert::present() {
    m_present(QStringLiteral("Welcome to Markvane"), m_text(), QStringLiteral("Got it"));
}

} // namespace markvane
