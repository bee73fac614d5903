#include "platform/qt/DesktopServices.h"
#include "platform/Services.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QThread>
#include <gtest/gtest.h>
#include <initializer_list>

using namespace markvane::platform;

TEST(QtPermissions, ScreenRecordingAlert_ExplainsTheReason_AndNeverShowsTwice) {
    QStringList shown;
    QtPermissions* self = nullptr;
    QtPermissions permissions([&](const QString& message, const QString& details) {
        shown.append(message + u'|' + details);
        // Another request while the alert is open, as from a hot key.
        self->requestScreenRecording(QStringLiteral("Zoom freezes and magnifies your screen"));
    });
    self = &permissions;

    permissions.requestScreenRecording(QStringLiteral("Snipe grabs real screen pixels"));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first(), QStringLiteral("Enable Screen Recording for Markvane|Snipe grabs real "
                                            "screen pixels, which this desktop only allows with "
                                            "screen-recording access."));

    // Once closed, the next request shows it again.
    permissions.requestScreenRecording(QStringLiteral("Snipe grabs real screen pixels"));
    EXPECT_EQ(shown.size(), 2);
    EXPECT_TRUE(permissions.screenCaptureAllowed());
    EXPECT_TRUE(permissions.keyboardMonitoringAllowed());
}

TEST(QtSystemAlerts, NoticeWithoutATrayIcon_IsANonModalWindowThatGoesAwayWhenClosed) {
    QtSystemAlerts alerts;
    alerts.notify(QStringLiteral("Shortcut"), QStringLiteral("Ctrl+Alt+D is taken"));

    QPointer<QMessageBox> box;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* candidate = qobject_cast<QMessageBox*>(widget))
            if (candidate->text() == QStringLiteral("Ctrl+Alt+D is taken"))
                box = candidate;
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Shortcut"));

    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull());
}

TEST(DesktopServices, InstallsEveryServiceWhileItLives_WithAClockInSeconds) {
    {
        DesktopServices desktop;
        const Services& s = services();
        EXPECT_EQ(s.preferences, &desktop.preferences());
        EXPECT_EQ(s.alerts, &desktop.alerts());
        for (const void* service :
             std::initializer_list<const void*>{s.clock, s.pasteboard, s.screens, s.permissions})
            EXPECT_NE(service, nullptr);
        EXPECT_EQ(desktop.preferences().filePath(),
                  qEnvironmentVariable("MARKVANE_CONFIG_DIR") + "/preferences.json");
        // Its clock counts seconds.
        const double start = s.clock->now();
        QThread::msleep(30);
        EXPECT_GE(s.clock->now() - start, 0.025);
        EXPECT_LT(s.clock->now() - start, 10.0);
    }
    const Services& s = services();
    for (const void* service :
         std::initializer_list<const void*>{s.preferences, s.screens, s.clock, s.alerts})
        EXPECT_EQ(service, nullptr);
}
