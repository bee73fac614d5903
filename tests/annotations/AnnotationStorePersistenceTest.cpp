#include "StoreFixture.h"

#include "annotations/Palette.h"

#include <QVariantList>
#include <limits>

namespace markvane::testing {
namespace {

using Persistence = StoreTest;

QVariantList strings(std::initializer_list<const char*> texts) {
    QVariantList list;
    for (const char* text : texts)
        list.append(QString::fromLatin1(text));
    return list;
}

TEST_F(Persistence, SettingsRoundTripAndMoveComesBackAsPen) {
    store().setCurrentStamp(QStringLiteral("S"));
    store().setRedactStyle(RedactStyle::solid);
    EXPECT_EQ(preferences.writes, 0); // these two ride along with the next save
    store().setPaletteColor(QColor(1, 2, 3), 4);
    store().setWidthIndex(2);
    store().setPaletteIndex(3);
    store().setFade(FadeInterval::tenSec);
    store().setTool(Tool::move);
    EXPECT_EQ(preferences.stored.value(QStringLiteral("tool")), QStringLiteral("pen"));
    EXPECT_EQ(preferences.stored.value(QStringLiteral("fade")), QVariant(qlonglong(10)));
    EXPECT_EQ(preferences.stored.value(QStringLiteral("palette")),
              strings({"#FF3B30", "#FFCC00", "#34C759", "#007AFF", "#010203"}));

    dropStore();
    const int writes = preferences.writes;
    EXPECT_EQ(store().tool(), Tool::pen);
    EXPECT_EQ(store().widthIndex(), 2);
    EXPECT_EQ(store().paletteIndex(), 3);
    EXPECT_EQ(store().fade(), FadeInterval::tenSec);
    EXPECT_EQ(store().palette()[4], QColor(1, 2, 3));
    EXPECT_EQ(store().currentStamp(), QStringLiteral("S"));
    EXPECT_EQ(store().redactStyle(), RedactStyle::solid);
    EXPECT_EQ(preferences.writes, writes); // reading writes nothing
}

TEST_F(Persistence, Palette_OnlyFiveStringsCountAndUnreadableEntriesGiveRed) {
    const QVariantList four = strings({"#000000", "#111111", "#222222", "#333333"});
    for (const QVariantList& stored : {four, four + QVariantList{qlonglong(0x444444)}}) {
        preferences.stored[QStringLiteral("palette")] = stored;
        EXPECT_EQ(store().palette(), defaultPalette());
        dropStore();
    }
    preferences.stored[QStringLiteral("palette")] =
        strings({"#000000", "nonsense", "#222222", "#333333", "#44"});
    EXPECT_EQ(store().palette()[0], QColor(0, 0, 0));
    EXPECT_EQ(store().palette()[1], systemRed());
    EXPECT_EQ(store().palette()[4], systemRed());
}

TEST_F(Persistence, WrongTypesUnknownNamesAndBadNumbers_LeaveDefaultsEntryByEntry) {
    preferences.stored = {
        {QStringLiteral("tool"), QStringLiteral("Line")}, // names are case-sensitive
        {QStringLiteral("paletteIndex"), QStringLiteral("2")},
        {QStringLiteral("widthIndex"), qlonglong(0)}, // the one good entry
        {QStringLiteral("fade"), qlonglong(3)},
        {QStringLiteral("currentStamp"), QString()},
        {QStringLiteral("redactStyle"), QStringLiteral("mosaic")},
    };
    EXPECT_EQ(store().tool(), Tool::pen);
    EXPECT_EQ(store().paletteIndex(), 0);
    EXPECT_EQ(store().widthIndex(), 0);
    EXPECT_EQ(store().fade(), FadeInterval::off);
    EXPECT_EQ(store().currentStamp(), defaultStamp());
    EXPECT_EQ(store().redactStyle(), RedactStyle::blur);

    dropStore();
    preferences.stored = {
        {QStringLiteral("tool"), qlonglong(3)},
        {QStringLiteral("paletteIndex"), qlonglong(1) << 32}, // would wrap to 0 as an int
        {QStringLiteral("widthIndex"), std::numeric_limits<double>::quiet_NaN()},
        {QStringLiteral("fade"), 10.0}, // a whole number kept as a double counts
    };
    EXPECT_EQ(store().tool(), Tool::pen);
    EXPECT_EQ(store().paletteIndex(), 0);
    EXPECT_EQ(store().widthIndex(), 1);
    EXPECT_EQ(store().fade(), FadeInterval::tenSec);
}

} // namespace
} // namespace markvane::testing
