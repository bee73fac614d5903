#include "app/WelcomeAlert.h"

#include "fakes/FakePreferences.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace markvane {
namespace {

struct Shown {
    QString title, text, button;
    int count = 0;
};

WelcomeAlert::Present recordInto(Shown& shown) {
    return [&shown](const QString& title, const QString& text, const QString& button) {
        shown = {title, text, button, shown.count + 1};
    };
}

void processEventsFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(WelcomeText, NamesTheCurrentBindingsAndTheTray) {
    EXPECT_EQ(welcomeText("Ctrl+Alt+D", "Ctrl+Alt+O"),
              "Press Ctrl+Alt+D to start drawing on your screen, in any app.\n"
              "Press Ctrl+Alt+O to bring the toolbar back any time you close it.\n"
              "Look for the Markvane icon in your system tray if you ever lose track of it.");
}

TEST(WelcomeAlert, FirstLaunch_MarksAtOnceAndShowsAfterTheDelay) {
    testing::FakePreferences preferences;
    Shown shown;
    WelcomeAlert alert(
        preferences, [] { return QStringLiteral("lines"); }, recordInto(shown));

    alert.showIfNeeded();
    // Marked and written out before anything shows: quitting now never greets twice.
    EXPECT_EQ(preferences.stored.value("hasShownWelcome"), QVariant(true));
    EXPECT_GE(preferences.flushes, 1);
    EXPECT_TRUE(alert.isPending());
    processEventsFor(WelcomeAlert::kDelayMs - 200);
    EXPECT_EQ(shown.count, 0);

    processEventsFor(400);
    EXPECT_EQ(shown.count, 1);
    EXPECT_EQ(shown.title, "Welcome to Markvane");
    EXPECT_EQ(shown.text, "lines");
    EXPECT_EQ(shown.button, "Got it");
}

TEST(WelcomeAlert, LaterLaunch_ShowsNothing) {
    testing::FakePreferences preferences;
    preferences.stored.insert("hasShownWelcome", true);
    Shown shown;
    WelcomeAlert alert(
        preferences, [] { return QString(); }, recordInto(shown));
    alert.showIfNeeded();
    EXPECT_FALSE(alert.isPending());
    EXPECT_EQ(preferences.writes, 0);
}

} // namespace
} // namespace markvane
