#include "shortcuts/GlobalShortcuts.h"
#include "fakes/FakeHotKeys.h"
#include "fakes/FakePreferences.h"
#include "shortcuts/SystemShortcuts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <memory>

namespace markvane {
namespace {

using namespace ModifierFlag;
using testing::FakeHotKeys;
using testing::FakePreferences;
constexpr quint64 kCtrlAlt = control | option;
const auto mac = KeyVocabulary::mac;
const auto pc = KeyVocabulary::pc;

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

// Runs queued calls and timers until `done` holds or a second has passed.
template <typename Predicate> bool pumpUntil(Predicate done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class VocabularyScope {
public:
    explicit VocabularyScope(KeyVocabulary vocabulary) { setCurrentKeyVocabulary(vocabulary); }
    ~VocabularyScope() { setCurrentKeyVocabulary(KeyVocabulary::pc); }
};

class GlobalShortcutsTest : public ::testing::Test {
protected:
    std::unique_ptr<GlobalShortcuts>
    make(std::chrono::milliseconds refusal = std::chrono::milliseconds(4000)) {
        return std::make_unique<GlobalShortcuts>(
            GlobalShortcuts::Services{&prefs, &hotKeys, refusal});
    }
    void store(const char* raw, const Shortcut& shortcut) {
        QVariantMap map = prefs.stored.value(GlobalShortcuts::preferenceKey()).toMap();
        map.insert(QString::fromLatin1(raw), shortcut.toJson());
        prefs.stored.insert(GlobalShortcuts::preferenceKey(), map);
    }
    QVariantMap storedMap() const {
        return prefs.stored.value(GlobalShortcuts::preferenceKey()).toMap();
    }

    FakePreferences prefs;
    FakeHotKeys hotKeys;
};

TEST(SystemShortcutTable, MatchesExactModifiersIgnoringLocks_AndSparesEveryDefault) {
    EXPECT_EQ(systemShortcutName(21, shift | command | capsLock, mac), utf8("macOS screenshots"));
    EXPECT_FALSE(systemShortcutName(12, option | command, mac)); // ⌘Q only exactly
    EXPECT_FALSE(systemShortcutName(21, shift | command, pc));   // per vocabulary
    EXPECT_EQ(systemShortcutName(123, kCtrlAlt | shift, pc), utf8("workspace switching"));
    EXPECT_EQ(systemShortcutName(8, control, pc), utf8("a standard app shortcut"));
    EXPECT_FALSE(systemShortcutName(8, control | shift, pc));
    for (GlobalAction action : allGlobalActions())
        EXPECT_FALSE(systemShortcutName(globalActionDefaultKeyCode(action), kCtrlAlt, pc));
}

TEST_F(GlobalShortcutsTest, Refusals_KeepTheBindingAndEndOnApplyOrEachOnItsOwnTimer) {
    VocabularyScope scope(mac);
    store("undo", Shortcut(12, command)); // ⌘Q
    auto shortcuts = make(std::chrono::milliseconds(30));
    shortcuts->applyAll();
    const QString tableWarning = utf8("⌘Q is used by a standard app shortcut.");
    EXPECT_EQ(shortcuts->warning(GlobalAction::undo), tableWarning);
    EXPECT_TRUE(shortcuts->isRegistered(GlobalAction::undo));

    const int writes = prefs.writes;
    EXPECT_FALSE(shortcuts->assign(48, command, GlobalAction::undo));
    EXPECT_FALSE(shortcuts->assign(49, command, GlobalAction::redo));
    EXPECT_FALSE(shortcuts->assign(21, shift | command, GlobalAction::drawMode));
    EXPECT_EQ(shortcuts->warning(GlobalAction::undo),
              utf8("⌘TAB is used by the app switcher — not available."));
    EXPECT_EQ(shortcuts->warning(GlobalAction::drawMode),
              utf8("⇧⌘4 is used by macOS screenshots — not available."));
    EXPECT_EQ(prefs.writes, writes);
    EXPECT_EQ(shortcuts->bindings().size(), 1u);
    EXPECT_EQ(hotKeys.registered.at(2), FakeHotKeys::Combination(2, kCtrlAlt));
    shortcuts->apply(GlobalAction::drawMode);
    EXPECT_TRUE(shortcuts->warning(GlobalAction::drawMode).isEmpty());
    EXPECT_TRUE(pumpUntil([&] {
        return shortcuts->warning(GlobalAction::undo) == tableWarning &&
               shortcuts->warning(GlobalAction::redo).isEmpty();
    }));

    // Claimed elsewhere too: the table still names the cause.
    hotKeys.claimedElsewhere.insert({12, command});
    shortcuts->apply(GlobalAction::undo);
    EXPECT_EQ(shortcuts->warning(GlobalAction::undo), tableWarning);
    EXPECT_FALSE(shortcuts->isRegistered(GlobalAction::undo));
}

TEST_F(GlobalShortcutsTest, DefaultsRegisterUnderTheirIds_AnAssignmentSavesAndRunsOnlyTheNewKey) {
    auto shortcuts = make();
    EXPECT_TRUE(hotKeys.registered.empty()); // nothing before apply
    shortcuts->applyAll();
    ASSERT_EQ(hotKeys.registered.size(), 8u);
    EXPECT_EQ(hotKeys.registered.at(1), FakeHotKeys::Combination(31, kCtrlAlt));
    EXPECT_EQ(hotKeys.registered.at(8), FakeHotKeys::Combination(8, kCtrlAlt));
    EXPECT_TRUE(shortcuts->warnings().empty());
    int bindingsChanges = 0;
    QObject::connect(shortcuts.get(), &GlobalShortcuts::bindingsChanged,
                     [&] { ++bindingsChanges; });
    QList<GlobalAction> ran;
    for (GlobalAction action : allGlobalActions())
        shortcuts->setHandler(action, [&ran, action] { ran.append(action); });

    EXPECT_TRUE(shortcuts->assign(38, kCtrlAlt, GlobalAction::drawMode));
    EXPECT_EQ(bindingsChanges, 1);
    EXPECT_EQ(storedMap().keys(), QStringList{"drawMode"});
    EXPECT_EQ(Shortcut::fromJson(storedMap().value("drawMode").toByteArray()),
              Shortcut(38, kCtrlAlt));

    hotKeys.press(2, kCtrlAlt); // the old combination
    hotKeys.press(38, kCtrlAlt);
    hotKeys.press(16, kCtrlAlt);
    EXPECT_TRUE(ran.isEmpty()); // actions run outside the platform's dispatch
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, (QList<GlobalAction>{GlobalAction::drawMode, GlobalAction::redo}));

    hotKeys.press(6, kCtrlAlt);
    shortcuts.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran.size(), 2);
    EXPECT_TRUE(hotKeys.registered.empty()); // destruction releases every grab
}

TEST_F(GlobalShortcutsTest, Duplicates_WarnAboutTheOtherActionOrReportTheRefusal) {
    VocabularyScope scope(mac);
    auto shortcuts = make();
    EXPECT_TRUE(shortcuts->assign(2, kCtrlAlt, GlobalAction::toolbar));
    EXPECT_EQ(shortcuts->warning(GlobalAction::toolbar),
              utf8("⌃⌥D is also bound to “Toggle draw mode”."));
    shortcuts->apply(GlobalAction::drawMode);
    EXPECT_EQ(shortcuts->warning(GlobalAction::drawMode),
              utf8("⌃⌥D is also bound to “Show / hide the toolbar”."));

    hotKeys.refuseSharedCombinations = true;
    shortcuts->apply(GlobalAction::drawMode);
    EXPECT_EQ(shortcuts->warning(GlobalAction::drawMode),
              utf8("⌃⌥D is already claimed by another app."));
}

TEST_F(GlobalShortcutsTest, RiskyModifiers_GetAdviceSafeOnesDoNot) {
    auto shortcuts = make();
    const auto warningFor = [&](quint64 modifiers) {
        EXPECT_TRUE(shortcuts->assign(38, modifiers, GlobalAction::undo));
        return shortcuts->warning(GlobalAction::undo);
    };
    EXPECT_TRUE(warningFor(control | shift).startsWith("Ctrl+Shift combos"));
    EXPECT_FALSE(warningFor(command).isEmpty());
    VocabularyScope scope(mac);
    EXPECT_EQ(warningFor(option | command),
              utf8("⇧⌘ / ⌥⌘ combos are often taken by apps. A ⌃⌥ combo is safest."));
    EXPECT_TRUE(warningFor(kCtrlAlt).isEmpty());
}

TEST_F(GlobalShortcutsTest, UnusableShortcuts_AreNotRegisteredSayWhyAndAreLogged) {
    static QStringList logged;
    logged.clear();
    const auto previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { logged << message; });
    store("toolbar", Shortcut(38, 0));
    store("drawMode", Shortcut(52, kCtrlAlt));
    hotKeys.missingKeys.insert(52);
    hotKeys.claimedElsewhere.insert({4, kCtrlAlt});
    auto shortcuts = make();
    shortcuts->applyAll();
    qInstallMessageHandler(previous);

    EXPECT_EQ(shortcuts->warning(GlobalAction::hideAll),
              utf8("Ctrl+Alt+H is already claimed by another app."));
    EXPECT_FALSE(shortcuts->isRegistered(GlobalAction::hideAll));
    EXPECT_TRUE(logged.contains(utf8("[Markvane] hotkey Ctrl+Alt+H not registered (10)")));
    EXPECT_EQ(shortcuts->warning(GlobalAction::toolbar),
              utf8("J is already claimed by another app."));
    EXPECT_EQ(hotKeys.registered.count(1), 0u);
    EXPECT_EQ(shortcuts->warning(GlobalAction::drawMode),
              utf8("Ctrl+Alt+Key 52 cannot be used as a hot key on this desktop."));
    EXPECT_EQ(shortcuts->warnings().size(), 3u);

    GlobalShortcuts withoutService({&prefs, nullptr});
    withoutService.apply(GlobalAction::undo);
    EXPECT_EQ(withoutService.warning(GlobalAction::undo),
              utf8("Ctrl+Alt+Z cannot be used as a hot key on this desktop."));
}

TEST_F(GlobalShortcutsTest, Load_SkipsBadEntriesAndDiscardsADictionaryWithNonData) {
    QVariantMap map;
    map.insert("undo", Shortcut(38, kCtrlAlt).toJson());
    map.insert("bogus", Shortcut(1, kCtrlAlt).toJson());
    map.insert("redo", QByteArray(R"({"keyCode":70000,"modifiers":0})"));
    map.insert("clear", QByteArray("not json"));
    prefs.stored.insert(GlobalShortcuts::preferenceKey(), map);
    auto shortcuts = make();
    ASSERT_EQ(shortcuts->bindings().size(), 1u);
    EXPECT_EQ(shortcuts->shortcut(GlobalAction::undo), Shortcut(38, kCtrlAlt));
    EXPECT_EQ(shortcuts->shortcut(GlobalAction::redo), Shortcut(16, kCtrlAlt));

    map.insert("redo", QStringLiteral("{}")); // one value that is not data
    prefs.stored.insert(GlobalShortcuts::preferenceKey(), map);
    EXPECT_TRUE(make()->bindings().empty());
    prefs.stored.insert(GlobalShortcuts::preferenceKey(), QVariantList{});
    EXPECT_TRUE(make()->bindings().empty());
}

TEST_F(GlobalShortcutsTest, Reset_StoresTheDefaultExplicitly) {
    auto shortcuts = make();
    shortcuts->assign(38, kCtrlAlt, GlobalAction::undo);
    shortcuts->reset(GlobalAction::undo);
    EXPECT_EQ(Shortcut::fromJson(storedMap().value("undo").toByteArray()), Shortcut(6, kCtrlAlt));
    EXPECT_EQ(hotKeys.registered.at(5), FakeHotKeys::Combination(6, kCtrlAlt));

    shortcuts->resetAll();
    EXPECT_EQ(storedMap().size(), 8);
    EXPECT_EQ(shortcuts->bindings().size(), 8u);
    EXPECT_EQ(make()->shortcut(GlobalAction::keystrokes), Shortcut(40, kCtrlAlt));
}

} // namespace
} // namespace markvane
