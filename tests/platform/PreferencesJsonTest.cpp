#include "platform/qt/PreferencesJson.h"

#include <QColor>
#include <QRandomGenerator>
#include <QStringList>
#include <gtest/gtest.h>
#include <limits>

using namespace markvane::platform;

namespace {

// Written text tells 1 from 1.0 and -0.0 from 0.0, where QVariant's == does not.
bool sameTyped(const QVariantMap& a, const QVariantMap& b) {
    return writePreferencesJson(a) == writePreferencesJson(b);
}

QVariantMap everyKindOfValue() {
    QVariantMap nested{{"$data", QStringLiteral("not bytes")},
                       {"$$twice", 3LL},
                       {"plain", QVariantList{}},
                       {"empty", QVariantMap{}}};
    return {
        {"yes", true},
        {"one", 1LL},
        {"oneDouble", 1.0},
        {"minusZero", -0.0},
        {"tenth", 0.1},
        {"tiny", 5e-324},
        {"min", std::numeric_limits<qlonglong>::min()},
        {"max", std::numeric_limits<qlonglong>::max()},
        {"text", QStringLiteral("quote \" backslash \\ slash / tab \t newline \n bell \a")},
        {"unicode", QStringLiteral("Grüße ⌃⌥⇧⌘ 😀")},
        {"loneSurrogate", QString(QChar(0xD800)) + QStringLiteral("x") + QChar(0xDC00)},
        {"bytes", QByteArray("\0\x01\xff{\"$data\"}", 13)},
        {"noBytes", QByteArray()},
        {"list", QVariantList{1LL, 2.5, QStringLiteral("a"), QVariant(), true, QByteArray("z")}},
        {"object", nested},
        {"$top", QStringLiteral("dollar key")},
        {"", QStringLiteral("empty key")},
    };
}

} // namespace

TEST(PreferencesJson, WriteThenRead_EveryKindOfValue_KeepsValueAndType) {
    const QVariantMap values = everyKindOfValue();
    QString error;
    const auto read = readPreferencesJson(writePreferencesJson(values), &error);
    ASSERT_TRUE(read) << error.toStdString();
    EXPECT_EQ(*read, values);
    for (auto it = values.begin(); it != values.end(); ++it)
        EXPECT_EQ(read->value(it.key()).metaType(), it.value().metaType())
            << it.key().toStdString();
    EXPECT_TRUE(sameTyped(*read, values));
}

TEST(PreferencesJson, Read_NumberSpellingsByteOrderMarkEscapesAndDataObjects_AreUnderstood) {
    const auto read = readPreferencesJson("\xEF\xBB\xBF"
                                          R"({"s": "\u00e9\ud83d\ude00\/\b\f\r",
        "n": {"a": 7, "b": 7.0, "c": 7e0, "d": -0, "e": 92233720368547758070, "f": 1E-2},
        "ok": {"$data": "AAH/"}, "bad": {"$data": "**"}, "two": {"$data": "AA==", "x": 1},
        "$data": "AA=="})");
    ASSERT_TRUE(read);
    // A number's type follows its spelling; beyond 64 bits an integer becomes
    // the nearest double instead of failing.
    EXPECT_TRUE(sameTyped(read->value("n").toMap(), {{"a", 7LL},
                                                     {"b", 7.0},
                                                     {"c", 7.0},
                                                     {"d", 0LL},
                                                     {"e", 9.2233720368547758e19},
                                                     {"f", 0.01}}));
    EXPECT_EQ(read->value("s").toString(), QStringLiteral("é😀/\b\f\r"));
    EXPECT_EQ(read->value("ok").toByteArray(), QByteArray("\0\x01\xff", 3));
    EXPECT_EQ(read->value("bad").metaType(), QMetaType::fromType<QVariantMap>());
    EXPECT_EQ(read->value("two").toMap().size(), 2);
    // The document itself is never byte data, so its members are kept.
    EXPECT_EQ(read->value("$data").toString(), QStringLiteral("AA=="));
}

TEST(PreferencesJson, Read_MalformedOrNonObjectText_IsRefusedWithAReason) {
    // One text for each way of going wrong; truncations are tried below.
    const QList<QByteArray> bad = {"",
                                   "[]",
                                   "{} {}",
                                   "{\"a\": 1,}",
                                   "{a: 1}",
                                   "{\"a\" 1}",
                                   "{\"a\": [1 2]}",
                                   "{\"a\": tru}",
                                   "{\"a\": 01}",
                                   "{\"a\": 1.}",
                                   "{\"a\": 1e}",
                                   "{\"a\": 1e999}",
                                   "{\"a\": \"tab\there\"}",
                                   "{\"a\": \"\\x\"}",
                                   "{\"a\": \"\\u12g4\"}",
                                   "{\"a\": \"\xC3\x28\"}",
                                   "{\"a\": " + QByteArray(100000, '{')};
    for (const QByteArray& text : bad) {
        SCOPED_TRACE(text.left(40).toStdString());
        QString error;
        EXPECT_FALSE(readPreferencesJson(text, &error));
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(PreferencesJson, Read_EveryTruncationOfAValidDocument_IsRefusedNotCrashing) {
    const QByteArray text = writePreferencesJson(everyKindOfValue());
    for (qsizetype n = 0; n < text.size() - 1; ++n)
        EXPECT_FALSE(readPreferencesJson(text.left(n))) << n;
}

TEST(PreferencesJson, Read_RandomlyDamagedDocuments_NeverCrash_AndWhatReadsWritesBackStably) {
    const QByteArray text = writePreferencesJson(everyKindOfValue());
    QRandomGenerator random(20261206);
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = text;
        for (int hits = 1 + random.bounded(3); hits > 0; --hits)
            damaged[random.bounded(damaged.size())] = char(random.bounded(256));
        const auto read = readPreferencesJson(damaged);
        if (!read)
            continue;
        const auto again = readPreferencesJson(writePreferencesJson(*read));
        ASSERT_TRUE(again) << damaged.toStdString();
        EXPECT_TRUE(sameTyped(*again, *read)) << damaged.toStdString();
    }
}

TEST(PreferencesJson, Normalize_UnrepresentableValues_AreRefused_AndTheDeepestStorableReadsBack) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QVariant deep = 1;
    for (int i = 0; i <= kMaxPreferenceDepth; ++i)
        deep = QVariantList{deep};
    const QList<QVariant> refused = {
        nan,
        -inf,
        QVariant(std::numeric_limits<float>::infinity()),
        QVariantList{1, QVariantMap{{"x", nan}}},
        QVariant(std::numeric_limits<qulonglong>::max()),
        QColor(Qt::red),
        deep,
    };
    for (const QVariant& value : refused) {
        SCOPED_TRACE(value.typeName());
        QString why;
        EXPECT_FALSE(normalizePreferenceValue(value, &why));
        EXPECT_FALSE(why.isEmpty());
    }
    // Everything that is stored can be read back, the deepest value too.
    QVariant deepest = 1LL;
    while (normalizePreferenceValue(QVariantList{deepest}))
        deepest = QVariantList{deepest};
    const QVariantMap values{{"deep", deepest}};
    const auto read = readPreferencesJson(writePreferencesJson(values));
    ASSERT_TRUE(read);
    EXPECT_TRUE(sameTyped(*read, values));
}
