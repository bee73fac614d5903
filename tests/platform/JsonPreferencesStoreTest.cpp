#include "platform/qt/JsonPreferencesStore.h"
#include "platform/qt/PreferencesJson.h"

#include "WarningCapture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <QtCore/QCoreApplication>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

using markvane::platform::JsonPreferencesStore;
using markvane::testing::WarningCapture;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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
    // Full paths of the files moved aside, oldest name first.
    QStringList corruptFiles() const {
        QStringList paths;
        for (const QString& name :
             QDir(folder()).entryList({"preferences.json.corrupt-*"}, QDir::Files, QDir::Name))
            paths.append(folder() + u'/' + name);
        return paths;
    }
    QVariantMap onDisk() const {
        return markvane::platform::readPreferencesJson(readFile(file())).value_or(QVariantMap());
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(JsonPreferencesStoreTest, Values_SurviveSaveAndReloadInTheirStoredType) {
    const struct {
        const char* key;
        QVariant given, stored;
    } cases[] = {
        {"int", 3, 3LL},
        {"uint", 5u, 5LL},
        {"float", 0.5f, 0.5},
        {"list", QStringList{"a"}, QVariantList{QStringLiteral("a")}},
        {"hash", QVariantHash{{"k", 1}}, QVariantMap{{"k", 1LL}}},
        {"bytes", QByteArray("{\"key\":0}\0", 10), QByteArray("{\"key\":0}\0", 10)},
    };
    {
        JsonPreferencesStore store(folder());
        for (const auto& c : cases)
            store.setValue(c.key, c.given);
    }
    JsonPreferencesStore reopened(folder());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(reopened.value(c.key).metaType(), c.stored.metaType());
        EXPECT_EQ(reopened.value(c.key), c.stored);
    }
    EXPECT_EQ(reopened.value("hash").toMap().value("k").metaType(),
              QMetaType::fromType<qlonglong>());
}

TEST_F(JsonPreferencesStoreTest, Defaults_AnswerForMissingAndNullKeys_AndAreNeverWritten) {
    writeFile(R"({"tool": null, "fade": "twoSec"})");
    JsonPreferencesStore store(folder());
    store.registerDefaults({{"tool", QStringLiteral("pen")}});
    EXPECT_TRUE(store.contains("tool"));
    EXPECT_FALSE(store.contains("other"));
    EXPECT_EQ(store.value("tool").toString(), QStringLiteral("pen"));
    EXPECT_EQ(store.value("fade").toString(), QStringLiteral("twoSec"));
    EXPECT_TRUE(corruptFiles().isEmpty());

    store.setValue("tool", QStringLiteral("arrow"));
    store.flush();
    EXPECT_EQ(onDisk(), (QVariantMap{{"tool", "arrow"}, {"fade", "twoSec"}}));
    store.remove("tool");
    EXPECT_EQ(store.value("tool").toString(), QStringLiteral("pen"));
    store.flush();
    EXPECT_EQ(onDisk(), (QVariantMap{{"fade", "twoSec"}}));
}

TEST_F(JsonPreferencesStoreTest, UnparseableFiles_AreEachKeptAsideUnchanged_AndDefaultsAreUsed) {
    const QList<QByteArray> contents{QByteArray(), "{\"tool\": \"arrow\"", "[1, 2, 3]",
                                     QByteArray("\x00\xff\xfe\x89PNG\r\n\x1a\n\x00", 11)};
    for (qsizetype i = 0; i < contents.size(); ++i) {
        SCOPED_TRACE(i);
        writeFile(contents[i]);
        const QStringList before = corruptFiles();
        WarningCapture warnings;
        {
            JsonPreferencesStore store(folder());
            store.registerDefaults({{"tool", QStringLiteral("pen")}});
            EXPECT_EQ(store.value("tool").toString(), QStringLiteral("pen"));
            EXPECT_FALSE(QFile::exists(file()));
            store.setValue("tool", QStringLiteral("line"));
        }
        // The next save leaves every file moved aside, this one and earlier ones, alone.
        EXPECT_EQ(onDisk(), (QVariantMap{{"tool", QStringLiteral("line")}}));
        const QStringList moved = corruptFiles();
        ASSERT_EQ(moved.size(), i + 1);
        QList<QByteArray> kept;
        for (const QString& path : moved)
            kept.append(readFile(path));
        for (qsizetype j = 0; j <= i; ++j)
            EXPECT_TRUE(kept.contains(contents[j])) << j;
        ASSERT_EQ(warnings.lines().size(), 1);
        for (const QString& path : moved)
            EXPECT_TRUE(before.contains(path) || warnings.lines().first().contains(path));
    }
}

TEST_F(JsonPreferencesStoreTest, NonFiniteNumber_IsRefusedWithAWarning_AndTheFileStaysValid) {
    JsonPreferencesStore store(folder());
    store.setValue("zoom", 2.0);
    WarningCapture warnings;
    store.setValue("zoom", std::numeric_limits<double>::quiet_NaN());
    store.setValue("list", QVariantList{1, std::numeric_limits<double>::infinity()});
    EXPECT_EQ(warnings.lines().size(), 2);
    EXPECT_FALSE(store.contains("list"));
    store.flush();
    EXPECT_EQ(onDisk(), (QVariantMap{{"zoom", 2.0}}));
}

TEST_F(JsonPreferencesStoreTest, Changes_AreWrittenAfterTheBurstOnFlushAndOnDestruction) {
    auto store = std::make_unique<JsonPreferencesStore>(folder());
    for (int i = 0; i <= 10; ++i)
        store->setValue("fx.haloR", 20 + i);
    EXPECT_FALSE(QFile::exists(file())); // nothing while the burst goes on
    QDeadlineTimer deadline(5000);
    while (!QFile::exists(file()) && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    EXPECT_EQ(onDisk(), (QVariantMap{{"fx.haloR", 30LL}}));

    store->setValue("a", 1);
    store->flush();
    EXPECT_EQ(onDisk().value("a").toInt(), 1);
    store->setValue("b", 2);
    store->remove("a");
    store.reset();
    EXPECT_EQ(onDisk(), (QVariantMap{{"fx.haloR", 30LL}, {"b", 2LL}}));
}

TEST_F(JsonPreferencesStoreTest, UnwritableLocation_KeepsValuesInMemoryAndWarnsOnce) {
    // A folder below a plain file cannot be created, even by root; a folder where
    // the file should be can be neither read nor replaced.
    QFile blocker(m_dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QDir().mkpath(file()));
    for (const QString& location : {m_dir.filePath("blocker/markvane"), folder()}) {
        SCOPED_TRACE(location.toStdString());
        WarningCapture warnings;
        {
            JsonPreferencesStore store(location);
            for (int value : {1, 2}) {
                store.setValue("a", value);
                store.flush();
            }
            EXPECT_EQ(store.value("a").toInt(), 2);
        }
        ASSERT_EQ(warnings.lines().size(), 1);
        EXPECT_TRUE(warnings.lines().first().contains(location));
    }
    EXPECT_TRUE(QFileInfo(file()).isDir());
    EXPECT_TRUE(corruptFiles().isEmpty());
}

TEST(JsonPreferencesStoreFolder, DefaultFolder_FollowsTheEnvironment) {
    const QByteArray config = qgetenv("MARKVANE_CONFIG_DIR"), xdg = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("MARKVANE_CONFIG_DIR", config);
        qputenv("XDG_CONFIG_HOME", xdg);
    });
    qputenv("MARKVANE_CONFIG_DIR", "/tmp/somewhere");
    qputenv("XDG_CONFIG_HOME", "/xdg");
    EXPECT_EQ(JsonPreferencesStore::defaultFolder(), QStringLiteral("/tmp/somewhere"));
    qunsetenv("MARKVANE_CONFIG_DIR");
    EXPECT_EQ(JsonPreferencesStore::defaultFolder(), QStringLiteral("/xdg/markvane"));
    qputenv("XDG_CONFIG_HOME", "relative/path"); // invalid, so ignored
    EXPECT_EQ(JsonPreferencesStore::defaultFolder(), QDir::homePath() + "/.config/markvane");
}
