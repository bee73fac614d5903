#include "FakeShell.h"
#include "PrivateBus.h"
#include "app/RemoteClient.h"
#include "app/RemoteControlService.h"
#include "app/RemoteProtocol.h"

#include <QDBusMessage>
#include <QDBusVariant>
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
    PrivateBus bus;
};

} // namespace

TEST_F(RemoteControl, OnlyTheFirstServiceOwnsTheName) {
    FakeShell otherShell;
    RemoteControlService second(&otherShell);
    EXPECT_FALSE(second.publish(bus.connect(QStringLiteral("second"))));
    RemoteClient client(bus.connect(QStringLiteral("client")));
    EXPECT_TRUE(client.instanceRunning());
    EXPECT_TRUE(call(QStringLiteral("ToggleDrawMode")).ok);
    EXPECT_EQ(shell.calls, QStringList{QStringLiteral("toggleDrawMode")});
    EXPECT_TRUE(otherShell.calls.isEmpty());
}

TEST_F(RemoteControl, GlobalActionsAndChoicesReachTheShell) {
    for (const remote::ActionMethod& entry : remote::actionMethods()) {
        if (QLatin1String(entry.action) == QLatin1String("toolbar") ||
            QLatin1String(entry.action) == QLatin1String("keystrokes") ||
            QLatin1String(entry.action) == QLatin1String("cursorEffect"))
            continue;
        EXPECT_TRUE(call(QString::fromLatin1(entry.method)).ok) << entry.method;
    }
    EXPECT_TRUE(call(QStringLiteral("SetTool"), {QStringLiteral("ruler")}).ok);
    EXPECT_TRUE(call(QStringLiteral("SetColor"), {5}).ok);
    EXPECT_TRUE(call(QStringLiteral("SetWidth"), {1}).ok);
    EXPECT_TRUE(call(QStringLiteral("SetFade"), {10}).ok);
    EXPECT_TRUE(call(QStringLiteral("Activate")).ok);
    EXPECT_EQ(shell.calls.join(u','), "toggleDrawMode,clear,toggleHidden,undo,redo,tool ruler,"
                                      "palette 4,width 0,fade 10,reopen");
}

TEST_F(RemoteControl, DrawModeIsReadableAsAProperty) {
    shell.drawMode = true;
    QDBusConnection client = bus.connect(QStringLiteral("client"));
    const QDBusMessage reply = runBesideEventLoop([&] {
        QDBusMessage get = QDBusMessage::createMethodCall(
            QString::fromLatin1(remote::kService), QString::fromLatin1(remote::kPath),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QString::fromLatin1(remote::kInterface) << QStringLiteral("DrawMode");
        return client.call(get, QDBus::Block, remote::kCallTimeoutMs);
    });
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_EQ(reply.arguments().value(0).value<QDBusVariant>().variant(), QVariant(true));
}

TEST_F(RemoteControl, ValuesFromTheBusAreCheckedAgain) {
    const RemoteClient::Result tool = call(QStringLiteral("SetTool"), {QStringLiteral("stamp")});
    EXPECT_FALSE(tool.ok);
    EXPECT_TRUE(tool.error.contains(QStringLiteral("Unknown tool"))) << tool.error.toStdString();
    EXPECT_FALSE(call(QStringLiteral("SetColor"), {0}).ok);
    EXPECT_FALSE(call(QStringLiteral("SetColor"), {-2147483647 - 1}).ok);
    EXPECT_FALSE(call(QStringLiteral("SetWidth"), {4}).ok);
    EXPECT_FALSE(call(QStringLiteral("SetFade"), {3}).ok);
    EXPECT_FALSE(call(QStringLiteral("SetColor"), {QStringLiteral("3")}).ok); // wrong type
    EXPECT_FALSE(call(QStringLiteral("NoSuchMethod")).ok);
    EXPECT_TRUE(shell.calls.isEmpty()) << shell.calls.join(QLatin1Char(',')).toStdString();
}

TEST_F(RemoteControl, FeaturesThisProgramLacksAreRefusedNotFaked) {
    const RemoteClient::Result keystrokes = call(QStringLiteral("ToggleKeystrokes"));
    EXPECT_FALSE(keystrokes.ok);
    EXPECT_TRUE(keystrokes.error.contains(QStringLiteral("keystrokes")));
    EXPECT_FALSE(call(QStringLiteral("CycleCursorEffect")).ok);
    EXPECT_FALSE(call(QStringLiteral("ToggleToolbar")).ok);
    EXPECT_TRUE(shell.calls.isEmpty());

    shell.keystrokes = shell.cursorEffects = shell.toolbar = true;
    EXPECT_TRUE(call(QStringLiteral("ToggleKeystrokes")).ok);
    EXPECT_TRUE(call(QStringLiteral("CycleCursorEffect")).ok);
    EXPECT_TRUE(call(QStringLiteral("ToggleToolbar")).ok);
    EXPECT_EQ(shell.calls.size(), 3);
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
    const RemoteClient::Result result = client.call({QStringLiteral("ToggleDrawMode"), {}});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, QStringLiteral("Markvane is not running."));

    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(client.waitForInstance(10000, [] { return false; }));
    EXPECT_LT(timer.elapsed(), 2000);
}

TEST_F(RemoteClientAlone, AnInstanceGoneFromTheBusReleasesItsName) {
    RemoteClient client(bus.connect(QStringLiteral("client")));
    {
        FakeShell shell;
        RemoteControlService service(&shell);
        ASSERT_TRUE(service.publish(bus.connect(QStringLiteral("instance"))));
        EXPECT_TRUE(client.instanceRunning());
    }
    EXPECT_FALSE(client.instanceRunning());
}

TEST_F(RemoteClientAlone, CallsBeforeTheShellIsAttachedAreRefusedThenServed) {
    RemoteControlService service;
    ASSERT_TRUE(service.publish(bus.connect(QStringLiteral("instance"))));
    RemoteClient client(bus.connect(QStringLiteral("client")));
    const RemoteClient::Result early = runBesideEventLoop([&] {
        return client.call({QStringLiteral("ToggleDrawMode"), {}});
    });
    EXPECT_FALSE(early.ok);
    EXPECT_EQ(early.error, QStringLiteral("Markvane is still starting."));

    FakeShell shell;
    service.setShell(&shell);
    EXPECT_TRUE(runBesideEventLoop([&] {
                    return client.call({QStringLiteral("ToggleDrawMode"), {}});
                }).ok);
    EXPECT_TRUE(shell.drawMode);
}

TEST(RemoteClientNoBus, ANonexistentBusIsReportedAsNotConnected) {
    const QString name = QStringLiteral("nowhere");
    {
        RemoteClient client(
            QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), name));
        EXPECT_FALSE(client.busConnected());
        EXPECT_FALSE(client.instanceRunning());
    }
    QDBusConnection::disconnectFromBus(name);
}
