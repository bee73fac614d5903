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

TEST(WelcomeAlert, FirstLaunch_MarksAtOnceAndShowsAfterTheDelay_LaterLaunchesShowNothing) {
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

    const int writes = preferences.writes;
    WelcomeAlert later(
        preferences, [] { return QString(); }, recordInto(shown));
    later.showIfNeeded();
    EXPECT_FALSE(later.isPending());
    EXPECT_EQ(preferences.writes, writes);
}

} // namespace
} // namespace markvane
