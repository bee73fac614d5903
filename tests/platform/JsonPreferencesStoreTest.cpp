#include "platform/qt/JsonPreferencesStore.h"
#include "platform/qt/PreferencesJson.h"

#include "WarningCapture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtCore/QCoreApplication>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

using markvane::platform::JsonPreferencesStore;
using markvane::testing::WarningCapture;

namespace {

class JsonPreferencesStoreTest : public ::testing::Test {
protected:
    QString folder() const { return m_dir.path() + QLatin1String("/markvane"); }
    QString file() const { return folder() + QLatin1String("/preferences.json"); }

    void writeFile(const QByteArray& content) {
        QDir().mkpath(folder());
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray readFile(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList corruptFiles() const {
        return QDir(folder()).entryList({QStringLiteral("preferences.json.corrupt-*")}, QDir::Files,
                                        QDir::Name);
    }
    QVariantMap onDisk() const {
        return markvane::platform::readPreferencesJson(readFile(file())).value_or(QVariantMap());
    }

    QTemporaryDir m_dir;
};

// Restores an environment variable when it goes out of scope.
class EnvGuard {
public:
    explicit EnvGuard(const char* name)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_value(qgetenv(name)) {}
    ~EnvGuard() { m_had ? qputenv(m_name, m_value) : qunsetenv(m_name); }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_value;
};

} // namespace

TEST_F(JsonPreferencesStoreTest, ValuesOfEveryType_SurviveSaveAndReload) {
    const QVariantMap values{
        {"flag", true},
        {"count", 3},
        {"scale", 1.0},
        {"name", QStringLiteral("Grüße \"x\"")},
        {"list", QStringList{"a", "b"}},
        {"map", QVariantMap{{"w", 2.5}, {"n", 2}}},
        {"bytes", QByteArray("{\"key\":0}\0", 10)},
    };
    {
        JsonPreferencesStore store(folder());
        for (auto it = values.begin(); it != values.end(); ++it)
            store.setValue(it.key(), it.value());
        store.flush();
    }
    JsonPreferencesStore reopened(folder());
    EXPECT_EQ(reopened.value("flag").metaType(), QMetaType::fromType<bool>());
    EXPECT_EQ(reopened.value("count").metaType(), QMetaType::fromType<qlonglong>());
    EXPECT_EQ(reopened.value("count").toInt(), 3);
    EXPECT_EQ(reopened.value("scale").metaType(), QMetaType::fromType<double>());
    EXPECT_EQ(reopened.value("name").toString(), values.value("name").toString());
    EXPECT_EQ(reopened.value("list").toStringList(), (QStringList{"a", "b"}));
    EXPECT_EQ(reopened.value("map").toMap().value("w").metaType(), QMetaType::fromType<double>());
    EXPECT_EQ(reopened.value("map").toMap().value("n").metaType(),
              QMetaType::fromType<qlonglong>());
    EXPECT_EQ(reopened.value("bytes").toByteArray(), values.value("bytes").toByteArray());
}

TEST_F(JsonPreferencesStoreTest, Defaults_AnswerForMissingKeys_AndAreNeverWritten) {
    JsonPreferencesStore store(folder());
    store.registerDefaults({{"tool", QStringLiteral("pen")}, {"widthIndex", 1}});
    EXPECT_TRUE(store.contains("tool"));
    EXPECT_FALSE(store.contains("other"));
    EXPECT_EQ(store.value("tool").toString(), QStringLiteral("pen"));
    EXPECT_FALSE(store.value("other").isValid());

    store.setValue("tool", QStringLiteral("arrow"));
    EXPECT_EQ(store.value("tool").toString(), QStringLiteral("arrow"));
    store.flush();
    EXPECT_EQ(onDisk(), (QVariantMap{{"tool", QStringLiteral("arrow")}}));

    store.remove("tool");
    EXPECT_EQ(store.value("tool").toString(), QStringLiteral("pen"));
    store.flush();
    EXPECT_TRUE(onDisk().isEmpty());
}

TEST_F(JsonPreferencesStoreTest, UnparseableFile_IsMovedAsideUnchanged_AndDefaultsAreUsed) {
    const QList<QByteArray> contents = {
        "",
        "{\"tool\": \"arrow\"",
        "[1, 2, 3]",
        "\"just a string\"",
        "tool=arrow\n",
        QByteArray("\x00\xff\xfe\x89PNG\r\n\x1a\n\x00", 11),
    };
    for (const QByteArray& content : contents) {
        SCOPED_TRACE(content.toStdString());
        QDir(folder()).removeRecursively();
        writeFile(content);
        WarningCapture warnings;
        JsonPreferencesStore store(folder());
        store.registerDefaults({{"tool", QStringLiteral("pen")}});

        EXPECT_EQ(store.value("tool").toString(), QStringLiteral("pen"));
        EXPECT_FALSE(QFile::exists(file()));
        const QStringList aside = corruptFiles();
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(readFile(folder() + u'/' + aside.first()), content);
        ASSERT_EQ(warnings.lines().size(), 1);
        EXPECT_TRUE(warnings.lines().first().contains(folder() + u'/' + aside.first()));
    }
}

TEST_F(JsonPreferencesStoreTest, SecondCorruptFile_DoesNotOverwriteTheFirst) {
    writeFile("first broken");
    { JsonPreferencesStore store(folder()); }
    writeFile("second broken");
    { JsonPreferencesStore store(folder()); }

    const QStringList aside = corruptFiles();
    ASSERT_EQ(aside.size(), 2);
    QList<QByteArray> kept;
    for (const QString& name : aside)
        kept.append(readFile(folder() + u'/' + name));
    EXPECT_TRUE(kept.contains("first broken"));
    EXPECT_TRUE(kept.contains("second broken"));
}

TEST_F(JsonPreferencesStoreTest, CorruptFile_IsKeptAfterNewValuesAreSaved) {
    writeFile("{oops");
    {
        JsonPreferencesStore store(folder());
        store.setValue("tool", QStringLiteral("line"));
    }
    const QStringList aside = corruptFiles();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readFile(folder() + u'/' + aside.first()), QByteArray("{oops"));
    EXPECT_EQ(onDisk(), (QVariantMap{{"tool", QStringLiteral("line")}}));
}

TEST_F(JsonPreferencesStoreTest, NonFiniteNumber_IsRefusedWithAWarning_AndTheFileStaysValid) {
    JsonPreferencesStore store(folder());
    store.setValue("zoom", 2.0);
    WarningCapture warnings;
    store.setValue("zoom", std::numeric_limits<double>::quiet_NaN());
    store.setValue("list", QVariantList{1, std::numeric_limits<double>::infinity()});
    EXPECT_EQ(warnings.lines().size(), 2);
    EXPECT_EQ(store.value("zoom").toDouble(), 2.0);
    EXPECT_FALSE(store.contains("list"));
    store.flush();
    EXPECT_EQ(onDisk(), (QVariantMap{{"zoom", 2.0}}));
}

TEST_F(JsonPreferencesStoreTest, BurstOfChanges_IsWrittenOnceTheDelayHasPassed) {
    JsonPreferencesStore store(folder());
    for (int i = 0; i <= 10; ++i)
        store.setValue("fx.haloR", 20 + i);
    // Nothing is written while the burst goes on.
    EXPECT_FALSE(QFile::exists(file()));

    QDeadlineTimer deadline(5000);
    while (!QFile::exists(file()) && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    EXPECT_EQ(onDisk().value("fx.haloR").toInt(), 30);
}

TEST_F(JsonPreferencesStoreTest, PendingChanges_ReachDiskOnFlushAndOnDestruction) {
    auto store = std::make_unique<JsonPreferencesStore>(folder());
    store->setValue("a", 1);
    store->flush();
    EXPECT_EQ(onDisk().value("a").toInt(), 1);

    store->setValue("b", 2);
    store->remove("a");
    store.reset();
    EXPECT_EQ(onDisk(), (QVariantMap{{"b", 2LL}}));
}

TEST_F(JsonPreferencesStoreTest, FolderThatCannotBeCreated_KeepsValuesInMemoryAndWarnsOnce) {
    // A folder below a plain file cannot be created, even by root.
    QFile blocker(m_dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString impossible = m_dir.filePath("blocker/markvane");

    WarningCapture warnings;
    {
        JsonPreferencesStore store(impossible);
        store.setValue("a", 1);
        store.flush();
        store.setValue("a", 2);
        store.flush();
        EXPECT_EQ(store.value("a").toInt(), 2);
    }
    EXPECT_EQ(warnings.lines().size(), 1);
    EXPECT_TRUE(warnings.lines().value(0).contains(impossible));
}

TEST_F(JsonPreferencesStoreTest, FileThatCannotBeRead_IsLeftAlone) {
    // A folder where the file should be: neither readable nor replaceable.
    ASSERT_TRUE(QDir().mkpath(file()));
    WarningCapture warnings;
    {
        JsonPreferencesStore store(folder());
        store.setValue("a", 1);
        EXPECT_EQ(store.value("a").toInt(), 1);
    }
    EXPECT_TRUE(QFileInfo(file()).isDir());
    EXPECT_TRUE(corruptFiles().isEmpty());
    EXPECT_EQ(warnings.lines().size(), 1);
}

TEST_F(JsonPreferencesStoreTest, NullMembersInTheFile_CountAsAbsent) {
    writeFile(R"({"tool": null, "fade": "twoSec"})");
    JsonPreferencesStore store(folder());
    store.registerDefaults({{"tool", QStringLiteral("pen")}});
    EXPECT_EQ(store.value("tool").toString(), QStringLiteral("pen"));
    EXPECT_EQ(store.value("fade").toString(), QStringLiteral("twoSec"));
    EXPECT_TRUE(corruptFiles().isEmpty());
}

TEST(JsonPreferencesStoreFolder, DefaultFolder_FollowsTheEnvironment) {
    EnvGuard configDir("MARKVANE_CONFIG_DIR");
    EnvGuard xdg("XDG_CONFIG_HOME");

    qputenv("MARKVANE_CONFIG_DIR", "/tmp/somewhere");
    qputenv("XDG_CONFIG_HOME", "/xdg");
    EXPECT_EQ(JsonPreferencesStore::defaultFolder(), QStringLiteral("/tmp/somewhere"));

    qunsetenv("MARKVANE_CONFIG_DIR");
    EXPECT_EQ(JsonPreferencesStore::defaultFolder(), QStringLiteral("/xdg/markvane"));

    qputenv("XDG_CONFIG_HOME", "relative/path");
    EXPECT_EQ(JsonPreferencesStore::defaultFolder(), QDir::homePath() + "/.config/markvane");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(JsonPreferencesStore::defaultFolder(), QDir::homePath() + "/.config/markvane");
}
