#include "platform/qt/PreferencesJson.h"

#include <QColor>
#include <QRandomGenerator>
#include <QStringList>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace markvane::platform;

namespace {

// QVariant's == treats 1 and 1.0 as equal; preferences must not.
bool sameTyped(const QVariant& a, const QVariant& b) {
    if (a.metaType() != b.metaType())
        return false;
    if (a.metaType() == QMetaType::fromType<QVariantList>()) {
        const auto x = a.toList(), y = b.toList();
        if (x.size() != y.size())
            return false;
        for (qsizetype i = 0; i < x.size(); ++i)
            if (!sameTyped(x[i], y[i]))
                return false;
        return true;
    }
    if (a.metaType() == QMetaType::fromType<QVariantMap>()) {
        const auto x = a.toMap(), y = b.toMap();
        if (x.keys() != y.keys())
            return false;
        for (auto it = x.begin(); it != x.end(); ++it)
            if (!sameTyped(it.value(), y.value(it.key())))
                return false;
        return true;
    }
    if (a.metaType() == QMetaType::fromType<double>()) // bitwise, so -0.0 differs from 0.0
        return std::signbit(a.toDouble()) == std::signbit(b.toDouble()) &&
               a.toDouble() == b.toDouble();
    return a == b;
}

QVariantMap everyKindOfValue() {
    QVariantMap nested{{"$data", QStringLiteral("not bytes")},
                       {"$$twice", 3LL},
                       {"plain", QVariantList{}},
                       {"empty", QVariantMap{}}};
    return {
        {"yes", true},
        {"no", false},
        {"one", 1LL},
        {"oneDouble", 1.0},
        {"minusZero", -0.0},
        {"tenth", 0.1},
        {"huge", 1e300},
        {"tiny", 5e-324},
        {"bigDouble", 1e20},
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
    EXPECT_EQ(read->keys(), values.keys());
    for (auto it = values.begin(); it != values.end(); ++it)
        EXPECT_TRUE(sameTyped(read->value(it.key()), it.value())) << it.key().toStdString();
}

TEST(PreferencesJson, Read_NumbersTakeTheirTypeFromTheirSpelling) {
    const auto read = readPreferencesJson(
        R"({"a": 7, "b": 7.0, "c": 7e0, "d": -0, "e": 92233720368547758070, "f": 1E-2})");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->value("a").metaType(), QMetaType::fromType<qlonglong>());
    EXPECT_EQ(read->value("b").metaType(), QMetaType::fromType<double>());
    EXPECT_EQ(read->value("c").metaType(), QMetaType::fromType<double>());
    EXPECT_EQ(read->value("d").metaType(), QMetaType::fromType<qlonglong>());
    // Beyond 64 bits an integer becomes the nearest double instead of failing.
    EXPECT_EQ(read->value("e").metaType(), QMetaType::fromType<double>());
    EXPECT_DOUBLE_EQ(read->value("e").toDouble(), 9.2233720368547758e19);
    EXPECT_DOUBLE_EQ(read->value("f").toDouble(), 0.01);
}

TEST(PreferencesJson, Read_DataObjects_DecodeOnlyWhenWellFormed) {
    const auto read = readPreferencesJson(
        R"({"ok": {"$data": "AAH/"}, "bad": {"$data": "**"}, "two": {"$data": "AA==", "x": 1},
            "$data": "AA=="})");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->value("ok").toByteArray(), QByteArray("\0\x01\xff", 3));
    EXPECT_EQ(read->value("bad").metaType(), QMetaType::fromType<QVariantMap>());
    EXPECT_EQ(read->value("two").toMap().size(), 2);
    // The document itself is never byte data, so its members are kept.
    EXPECT_EQ(read->value("$data").toString(), QStringLiteral("AA=="));
}

TEST(PreferencesJson, Read_EscapesAndByteOrderMark_AreUnderstood) {
    const auto read = readPreferencesJson("\xEF\xBB\xBF"
                                          R"({"s": "\u00e9\ud83d\ude00\/\b\f\r"})");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->value("s").toString(), QStringLiteral("é😀/\b\f\r"));
}

TEST(PreferencesJson, Read_MalformedOrNonObjectText_IsRefusedWithAReason) {
    const QList<QByteArray> bad = {"",
                                   "  \n",
                                   "[]",
                                   "42",
                                   "\"text\"",
                                   "null",
                                   "{",
                                   "{\"a\": 1",
                                   "{\"a\": 1,}",
                                   "{\"a\" 1}",
                                   "{'a': 1}",
                                   "{a: 1}",
                                   "{\"a\": 01}",
                                   "{\"a\": 1.}",
                                   "{\"a\": .5}",
                                   "{\"a\": -}",
                                   "{\"a\": 1e}",
                                   "{\"a\": tru}",
                                   "{\"a\": NaN}",
                                   "{\"a\": 1e999}",
                                   "{\"a\": \"tab\there\"}",
                                   "{\"a\": \"\\x\"}",
                                   "{\"a\": \"\\u12g4\"}",
                                   "{\"a\": \"open}",
                                   "{\"a\": \"\xC3\x28\"}",
                                   "{} {}",
                                   QByteArray("{\"a\": 1}\0", 9),
                                   QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18),
                                   QByteArray(100000, '[') + "1" + QByteArray(100000, ']'),
                                   "{\"a\": " + QByteArray(100000, '{')};
    for (const QByteArray& text : bad) {
        QString error;
        EXPECT_FALSE(readPreferencesJson(text, &error)) << text.left(40).toStdString();
        EXPECT_FALSE(error.isEmpty()) << text.left(40).toStdString();
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
        EXPECT_TRUE(sameTyped(QVariant(*again), QVariant(*read))) << damaged.toStdString();
    }
}

TEST(PreferencesJson, Normalize_ConvertsToTheStoredTypes) {
    EXPECT_TRUE(sameTyped(*normalizePreferenceValue(5), QVariant(5LL)));
    EXPECT_TRUE(sameTyped(*normalizePreferenceValue(5u), QVariant(5LL)));
    EXPECT_TRUE(sameTyped(*normalizePreferenceValue(0.5f), QVariant(0.5)));
    EXPECT_TRUE(sameTyped(*normalizePreferenceValue(QStringList{"a", "b"}),
                          QVariant(QVariantList{QStringLiteral("a"), QStringLiteral("b")})));
    EXPECT_TRUE(sameTyped(*normalizePreferenceValue(QVariantHash{{"k", 1}}),
                          QVariant(QVariantMap{{"k", 1LL}})));
}

TEST(PreferencesJson, Normalize_UnrepresentableValues_AreRefusedWithAReason) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QVariant deep = 1;
    for (int i = 0; i <= kMaxPreferenceDepth; ++i)
        deep = QVariantList{deep};
    const QList<QVariant> refused = {
        nan,
        inf,
        -inf,
        QVariant(std::numeric_limits<float>::infinity()),
        QVariantList{1, QVariantMap{{"x", nan}}},
        QVariant(std::numeric_limits<qulonglong>::max()),
        QColor(Qt::red),
        deep,
    };
    for (const QVariant& value : refused) {
        QString why;
        EXPECT_FALSE(normalizePreferenceValue(value, &why)) << value.typeName();
        EXPECT_FALSE(why.isEmpty()) << value.typeName();
    }
}

TEST(PreferencesJson, DeepestStorableValue_ReadsBack) {
    QVariant deepest = 1LL;
    for (;;) {
        const QVariant deeper = QVariantList{deepest};
        if (!normalizePreferenceValue(deeper))
            break;
        deepest = deeper;
    }
    QString error;
    const auto read = readPreferencesJson(writePreferencesJson({{"deep", deepest}}), &error);
    ASSERT_TRUE(read) << error.toStdString();
    EXPECT_TRUE(sameTyped(read->value("deep"), deepest));
}
