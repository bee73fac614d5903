#include "shortcuts/Shortcut.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>
#include <limits>

namespace markvane {
namespace {

// A JSON number that is a whole number from 0 to `maximum`. Integers beyond
// 2^53 are only exact when the parser kept them as 64-bit integers, so a
// large number that arrived as floating point is refused rather than rounded.
std::optional<quint64> wholeNumber(const QJsonValue& value, quint64 maximum) {
    if (!value.isDouble())
        return std::nullopt;
    const QVariant variant = value.toVariant();
    if (variant.typeId() == QMetaType::LongLong) {
        const qlonglong integer = variant.toLongLong();
        if (integer < 0 || quint64(integer) > maximum)
            return std::nullopt;
        return quint64(integer);
    }
    const double number = value.toDouble();
    constexpr double kExactLimit = 9007199254740992.0; // 2^53
    if (!std::isfinite(number) || number < 0 || number > kExactLimit ||
        std::trunc(number) != number || number > double(maximum))
        return std::nullopt;
    return quint64(number);
}

} // namespace

QString Shortcut::displayString(KeyVocabulary vocabulary) const {
    return shortcutText(keyCode, modifiers, vocabulary);
}

QByteArray Shortcut::toJson() const {
    // Written by hand so every 64-bit modifiers value keeps all its digits.
    return QByteArray("{\"keyCode\":") + QByteArray::number(keyCode) +
           ",\"modifiers\":" + QByteArray::number(modifiers) + '}';
}

std::optional<Shortcut> Shortcut::fromJson(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const auto keyCode =
        wholeNumber(object.value(QLatin1String("keyCode")), std::numeric_limits<quint16>::max());
    const auto modifiers =
        wholeNumber(object.value(QLatin1String("modifiers")), std::numeric_limits<qint64>::max());
    if (!keyCode || !modifiers)
        return std::nullopt;
    return Shortcut(quint16(*keyCode), *modifiers);
}

} // namespace markvane
