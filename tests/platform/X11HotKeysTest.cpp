#include "platform/x11/X11HotKeys.h"
#include "support/XvfbServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace markvane::platform::x11 {
namespace {

using Result = HotKeyRegistration::Result;
constexpr quint64 kShift = 0x20000, kControl = 0x40000, kOption = 0x80000;
constexpr quint64 kCtrlAlt = kControl | kOption;
constexpr quint8 kXKeyK = 37 + 8; // evdev KEY_K + 8
constexpr quint8 kXKeyD = 32 + 8;

// A second X client, standing in for another application.
class OtherClient {
public:
    explicit OtherClient(const QByteArray& display)
        : m_connection(xcb_connect(display.constData(), nullptr)) {}
    ~OtherClient() { xcb_disconnect(m_connection); }
    bool grab(quint8 xKeyCode, quint16 xModifiers) {
        xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        xcb_generic_error_t* error = xcb_request_check(
            m_connection, xcb_grab_key_checked(m_connection, 0, root, xModifiers, xKeyCode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        free(error);
        return error == nullptr;
    }

private:
    xcb_connection_t* m_connection;
};

class X11HotKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing::XvfbServer::installed())
            GTEST_SKIP() << "Xvfb is not installed";
        QString error;
        ASSERT_TRUE(m_server.start(&error)) << error.toStdString();
        m_hotKeys = X11HotKeys::open(m_server.displayName());
        ASSERT_TRUE(m_hotKeys);
        QObject::connect(m_hotKeys.get(), &HotKeys::activated,
                         [this](quint32 id) { m_fired.append(id); });
    }

    // Runs an X client program (xdotool, xmodmap) on the test's display.
    void run(const QString& program, const QStringList& arguments) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            GTEST_SKIP() << program.toStdString() << " is not installed";
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", QString::fromLatin1(m_server.displayName()));
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForFinished(10000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    }
    void type(const QStringList& arguments) { run("xdotool", arguments); }

    // Lets the hot keys read what the server sent, for up to `ms`.
    void pump(int ms, qsizetype until = -1) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms && m_fired.size() != until)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    testing::XvfbServer m_server;
    std::unique_ptr<X11HotKeys> m_hotKeys;
    QList<quint32> m_fired;
};

TEST_F(X11HotKeysTest, FreeCombination_FiresOncePerPress_WhateverTheLockKeys) {
    EXPECT_EQ(m_hotKeys->registerHotKey(1, 2, kCtrlAlt).result, Result::registered);
    type({"key", "ctrl+alt+d"});
    pump(2000, 1);
    EXPECT_EQ(m_fired, QList<quint32>{1});

    // Other modifiers, or none, are other combinations.
    type({"key", "ctrl+d", "ctrl+alt+shift+d", "d"});
    pump(300);
    EXPECT_EQ(m_fired, QList<quint32>{1});

    type({"key", "Num_Lock", "ctrl+alt+d", "Caps_Lock", "ctrl+alt+d", "Num_Lock", "ctrl+alt+d"});
    pump(2000, 4);
    EXPECT_EQ(m_fired, QList<quint32>(4, 1));

    // Held down, it fires once despite auto-repeat, and again on the next press.
    type({"keydown", "ctrl+alt+d", "sleep", "1.2", "keyup", "ctrl+alt+d", "key", "ctrl+alt+d"});
    pump(2000, 6);
    pump(300);
    EXPECT_EQ(m_fired, QList<quint32>(6, 1));
}

TEST_F(X11HotKeysTest, ModifierMappingChange_GrabsAgainWithTheNewNumLock) {
    ASSERT_TRUE(m_hotKeys->registerHotKey(6, 2, kCtrlAlt).ok());
    run("xmodmap", {"-e", "clear mod2", "-e", "add mod3 = Num_Lock"});
    pump(300);
    type({"key", "Num_Lock", "ctrl+alt+d"});
    pump(2000, 1);
    EXPECT_EQ(m_fired, QList<quint32>{6});
}

TEST_F(X11HotKeysTest, CombinationHeldByAnotherClientOrWithoutAKey_IsRefusedAndLeftWhole) {
    OtherClient other(m_server.displayName());
    ASSERT_TRUE(other.grab(kXKeyK, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));
    const HotKeyRegistration registration = m_hotKeys->registerHotKey(7, 40, kCtrlAlt);
    EXPECT_EQ(registration.result, Result::claimedByAnotherApplication);
    EXPECT_EQ(registration.status, 10);
    EXPECT_EQ(m_hotKeys->registerHotKey(8, 63, kCtrlAlt).result, Result::failed); // no X key

    // Nothing of ours stayed behind: a third client can take the lock variants.
    OtherClient third(m_server.displayName());
    EXPECT_TRUE(third.grab(kXKeyK, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_LOCK));
}

TEST_F(X11HotKeysTest, GrabIsReleasedOnlyWhenNoIdSharesIt_AndReRegisteringMovesAnId) {
    ASSERT_TRUE(m_hotKeys->registerHotKey(1, 40, kCtrlAlt | kShift).ok());
    ASSERT_TRUE(m_hotKeys->registerHotKey(2, 40, kCtrlAlt | kShift).ok());
    ASSERT_TRUE(m_hotKeys->registerHotKey(5, 2, kCtrlAlt).ok());
    ASSERT_TRUE(m_hotKeys->registerHotKey(5, 40, kCtrlAlt).ok());
    type({"key", "ctrl+alt+shift+k", "ctrl+alt+d", "ctrl+alt+k"});
    pump(2000, 3);
    pump(200);
    EXPECT_EQ(m_fired, (QList<quint32>{1, 2, 5}));
    OtherClient other(m_server.displayName());
    EXPECT_TRUE(other.grab(kXKeyD, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1)); // D is free again

    m_hotKeys->unregisterHotKey(1);
    const quint16 xMods = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_SHIFT;
    EXPECT_FALSE(other.grab(kXKeyK, xMods));
    m_hotKeys->unregisterHotKey(2);
    EXPECT_TRUE(other.grab(kXKeyK, xMods));
}

TEST(X11HotKeysOpen, UnreachableDisplay_GivesNothing) {
    EXPECT_EQ(X11HotKeys::open(":4095"), nullptr);
}

} // namespace
} // namespace markvane::platform::x11
