// The tool settings in the preferences store. Stored data never stops the
// program: every entry that is missing, of the wrong type or unknown leaves
// its default, entry by entry.
#include "annotations/AnnotationStore.h"

#include "annotations/Palette.h"
#include "platform/PreferencesStore.h"

#include <QVariantList>
#include <cmath>
#include <limits>

namespace markvane {
namespace {

const QString kToolKey = QStringLiteral("tool");
const QString kPaletteIndexKey = QStringLiteral("paletteIndex");
const QString kWidthIndexKey = QStringLiteral("widthIndex");
const QString kFadeKey = QStringLiteral("fade");
const QString kPaletteKey = QStringLiteral("palette");
const QString kCurrentStampKey = QStringLiteral("currentStamp");
const QString kRedactStyleKey = QStringLiteral("redactStyle");

// Integers, and floating-point numbers with an integral value (some stores
// keep every number as a double); fractions, NaN, text and booleans do not
// count.
std::optional<qint64> storedInteger(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = value.toDouble();
        // 2^63 is exactly representable; anything at or beyond it is not a qint64.
        constexpr double limit = 9223372036854775808.0;
        if (!std::isfinite(number) || number != std::trunc(number) || number >= limit ||
            number < -limit)
            return std::nullopt;
        return qint64(number);
    }
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return value.toLongLong();
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort: {
        const qulonglong unsignedValue = value.toULongLong();
        if (unsignedValue > qulonglong(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return qint64(unsignedValue);
    }
    default:
        return std::nullopt;
    }
}

// An index must fit an int; a huge stored number must not wrap around into a
// valid-looking index.
std::optional<int> storedIndex(const QVariant& value) {
    const std::optional<qint64> integer = storedInteger(value);
    if (!integer || *integer < std::numeric_limits<int>::min() ||
        *integer > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*integer);
}

std::optional<QString> storedString(const QVariant& value) {
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

std::optional<QList<QColor>> storedPalette(const QVariant& value) {
    QStringList entries;
    if (value.typeId() == QMetaType::QStringList) {
        entries = value.toStringList();
    } else if (value.typeId() == QMetaType::QVariantList) {
        for (const QVariant& entry : value.toList()) {
            const std::optional<QString> text = storedString(entry);
            if (!text)
                return std::nullopt;
            entries.append(*text);
        }
    } else {
        return std::nullopt;
    }
    if (entries.size() != defaultPalette().size())
        return std::nullopt;
    QList<QColor> palette;
    for (const QString& entry : entries)
        palette.append(colorFromHex(entry).value_or(systemRed()));
    return palette;
}

} // namespace

void AnnotationStore::load() {
    platform::PreferencesStore& preferences = *m_services.preferences;

    if (const std::optional<QString> raw = storedString(preferences.value(kToolKey))) {
        if (const std::optional<Tool> tool = toolFromRawValue(*raw))
            setTool(*tool);
    }
    setPaletteIndex(storedIndex(preferences.value(kPaletteIndexKey)).value_or(0));
    setWidthIndex(storedIndex(preferences.value(kWidthIndexKey)).value_or(1));

    const QVariant fade = preferences.value(kFadeKey);
    const std::optional<qint64> seconds = fade.isValid() ? storedInteger(fade) : qint64(0);
    if (seconds) {
        if (const std::optional<FadeInterval> interval = fadeIntervalFromSeconds(*seconds))
            setFade(*interval);
    }

    if (std::optional<QList<QColor>> palette = storedPalette(preferences.value(kPaletteKey))) {
        m_palette = std::move(*palette);
        Q_EMIT paletteChanged();
    }
    if (const std::optional<QString> stamp = storedString(preferences.value(kCurrentStampKey))) {
        if (!stamp->isEmpty())
            setCurrentStamp(*stamp);
    }
    if (const std::optional<QString> raw = storedString(preferences.value(kRedactStyleKey))) {
        if (const std::optional<RedactStyle> style = redactStyleFromRawValue(*raw))
            setRedactStyle(*style);
    }
}

void AnnotationStore::save() {
    platform::PreferencesStore& preferences = *m_services.preferences;
    // The selection tool is not worth restoring: a new session starts drawing.
    const Tool storedTool = m_tool == Tool::move ? Tool::pen : m_tool;
    preferences.setValue(kToolKey, toolRawValue(storedTool));
    preferences.setValue(kPaletteIndexKey, qlonglong(m_paletteIndex));
    preferences.setValue(kWidthIndexKey, qlonglong(m_widthIndex));
    preferences.setValue(kFadeKey, qlonglong(fadeIntervalSeconds(m_fade)));
    QVariantList palette;
    for (const QColor& color : m_palette)
        palette.append(hexString(color));
    preferences.setValue(kPaletteKey, palette);
    preferences.setValue(kCurrentStampKey, m_currentStamp);
    preferences.setValue(kRedactStyleKey, redactStyleRawValue(m_redactStyle));
}

} // namespace markvane
