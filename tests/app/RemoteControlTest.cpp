#include "FakeShell.h"
#include "PrivateBus.h"
#include "app/RemoteClient.h"
#include "app/RemoteControlService.h"
#include "app/RemoteProtocol.h"

#include <QDBusInterface>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace markvane;
using markvane::testing::FakeShell;
using markvane::testing::PrivateBus;
using markvane::testing::runBesideEventLoop;

namespace {

class RemoteControl : public ::testing::Test {
protected:
    void SetUp() override {
        if (!bus.isUp())
            GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(service.publish(bus.connect(QStringLiteral("instance"))));
    }

    RemoteClient::Result call(const QString& method, QVariantList arguments = {}) {
        RemoteClient client(bus.connect(QStringLiteral("client")));
        return runBesideEventLoop([&] { return client.call({method, arguments}); });
    }

    PrivateBus bus;
    FakeShell shell;
    RemoteControlService service{&shell};
};

class RemoteClientAlone : public ::testing::Test {
protected:
    void SetUp() override {
        if (!bus.isUp())
            GTEST_SKIP() << "dbus-daemon is not installed";
    }
    static RemoteClient::Result toggle(RemoteClient& client) {
        return runBesideEventLoop([&] {
            return client.call({QStringLiteral("ToggleDrawMode"), {}});
        });
    }
    PrivateBus bus;
};

} // namespace

TEST_F(RemoteControl, ActionsReachTheShell_FeaturesItLacksAreRefusedNotFaked) {
    for (const bool present : {false, true}) {
        shell.keystrokes = shell.cursorEffects = shell.toolbar = present;
        shell.calls.clear();
        for (const remote::ActionMethod& entry : remote::actionMethods()) {
            const bool lacking =
                QByteArrayList{"toolbar", "keystrokes", "cursorEffect"}.contains(entry.action);
            EXPECT_EQ(call(QString::fromLatin1(entry.method)).ok, present || !lacking)
                << entry.method;
        }
        const QString both = QStringLiteral("toggleDrawMode,clear,toggleHidden,undo,redo");
        EXPECT_EQ(shell.calls.join(u','),
                  present ? "toggleToolbar," + both + ",toggleKeystrokes,cycleCursorEffect" : both);
    }
    shell.calls.clear();
    EXPECT_TRUE(call(QStringLiteral("SetTool"), {QStringLiteral("ruler")}).ok);
    EXPECT_TRUE(call(QStringLiteral("SetColor"), {5}).ok);
    EXPECT_TRUE(call(QStringLiteral("SetWidth"), {1}).ok);
    EXPECT_TRUE(call(QStringLiteral("SetFade"), {10}).ok);
    EXPECT_TRUE(call(QStringLiteral("Activate")).ok);
    EXPECT_EQ(shell.calls.join(u','), "tool ruler,palette 4,width 0,fade 10,reopen");
}

TEST_F(RemoteControl, DrawModeIsReadableAsAProperty) {
    shell.drawMode = true;
    QDBusConnection connection = bus.connect(QStringLiteral("client"));
    EXPECT_EQ(runBesideEventLoop([&] {
                  QDBusInterface instance(QString::fromLatin1(remote::kService),
                                          QString::fromLatin1(remote::kPath),
                                          QString::fromLatin1(remote::kInterface), connection);
                  return instance.property("DrawMode");
              }),
              QVariant(true));
}

TEST_F(RemoteControl, ValuesFromTheBusAreCheckedAgain) {
    const RemoteClient::Result tool = call(QStringLiteral("SetTool"), {QStringLiteral("stamp")});
    EXPECT_FALSE(tool.ok);
    EXPECT_TRUE(tool.error.contains(QStringLiteral("Unknown tool"))) << tool.error.toStdString();
    EXPECT_FALSE(call(QStringLiteral("SetColor"), {0}).ok);
    EXPECT_FALSE(call(QStringLiteral("SetColor"), {-2147483647 - 1}).ok);
    EXPECT_FALSE(call(QStringLiteral("SetFade"), {3}).ok);
    EXPECT_FALSE(call(QStringLiteral("SetColor"), {QStringLiteral("3")}).ok); // wrong type
    EXPECT_FALSE(call(QStringLiteral("NoSuchMethod")).ok);
    EXPECT_TRUE(shell.calls.isEmpty()) << shell.calls.join(QLatin1Char(',')).toStdString();
}

TEST_F(RemoteControl, QuitAnswersBeforeTheShellWindsDown) {
    EXPECT_TRUE(call(QStringLiteral("Quit")).ok);
    EXPECT_TRUE(shell.calls.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(shell.calls, QStringList{QStringLiteral("quit")});
}

TEST_F(RemoteClientAlone, WithoutAnInstanceSaysSoAndWaitingGivesUpWhenTheStarterDies) {
    RemoteClient client(bus.connect(QStringLiteral("client")));
    EXPECT_TRUE(client.busConnected());
    EXPECT_FALSE(client.instanceRunning());
    const RemoteClient::Result result = toggle(client);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, QStringLiteral("Markvane is not running."));

    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(client.waitForInstance(10000, [] { return false; }));
    EXPECT_LT(timer.elapsed(), 2000);
}

TEST_F(RemoteClientAlone, OnlyTheFirstServiceOwnsTheName_AndReleasesItWhenGone) {
    RemoteClient client(bus.connect(QStringLiteral("client")));
    FakeShell otherShell;
    RemoteControlService second(&otherShell);
    {
        FakeShell shell;
        RemoteControlService first(&shell);
        ASSERT_TRUE(first.publish(bus.connect(QStringLiteral("instance"))));
        EXPECT_FALSE(second.publish(bus.connect(QStringLiteral("second"))));
        EXPECT_TRUE(client.instanceRunning());
        EXPECT_TRUE(toggle(client).ok);
        EXPECT_TRUE(shell.drawMode);
    }
    EXPECT_FALSE(client.instanceRunning());
    EXPECT_TRUE(otherShell.calls.isEmpty());
}

TEST_F(RemoteClientAlone, CallsBeforeTheShellIsAttachedAreRefusedThenServed) {
    RemoteControlService service;
    ASSERT_TRUE(service.publish(bus.connect(QStringLiteral("instance"))));
    RemoteClient client(bus.connect(QStringLiteral("client")));
    const RemoteClient::Result early = toggle(client);
    EXPECT_FALSE(early.ok);
    EXPECT_EQ(early.error, QStringLiteral("Markvane is still starting."));

    FakeShell shell;
    service.setShell(&shell);
    EXPECT_TRUE(toggle(client).ok);
    EXPECT_TRUE(shell.drawMode);
}

TEST(RemoteClientNoBus, ANonexistentBusIsReportedAsNotConnected) {
    RemoteClient client(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                      QStringLiteral("nowhere")));
    EXPECT_FALSE(client.busConnected());
    EXPECT_FALSE(client.instanceRunning());
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}
