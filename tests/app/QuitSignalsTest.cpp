#include "app/QuitSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>

using namespace markvane;

TEST(QuitSignals, TermAndIntArriveAsQtSignalsOnTheEventLoop) {
    QuitSignals signals;
    ASSERT_TRUE(signals.isActive());
    QList<int> received;
    QObject::connect(&signals, &QuitSignals::received, [&](int number) { received << number; });

    ::raise(SIGTERM);
    ::raise(SIGINT);
    EXPECT_TRUE(received.isEmpty()); // nothing runs inside the handler
    QElapsedTimer timer;
    timer.start();
    while (received.size() < 2 && timer.elapsed() < 2000)
        QCoreApplication::processEvents();
    EXPECT_EQ(received, (QList<int>{SIGTERM, SIGINT}));
}

TEST(QuitSignals, DefaultHandlingComesBackWhenDestroyed) {
    { QuitSignals signals; }
    struct sigaction current = {};
    ::sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
    QuitSignals again; // a new one can be made afterwards
    EXPECT_TRUE(again.isActive());
}
