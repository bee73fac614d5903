#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <optional>

namespace markvane::platform {

// The JSON form of the preferences file. In memory a preference value is one
// of: bool, qlonglong, double, QString, QByteArray, QVariantList, QVariantMap,
// or (inside arrays and objects only) an invalid QVariant for JSON null.
// Doubles are always written with a fraction or exponent ("1.0") so that a
// double reads back as a double and an integer as an integer. Byte data is
// written as {"$data": "<base64>"}; an object key that starts with "$" gets a
// second "$" on disk so that it can never be mistaken for byte data.

// Objects and arrays nest at most this deep, so that reading a hostile file
// cannot exhaust the stack and everything written can be read back.
inline constexpr int kMaxPreferenceDepth = 128;

// The value in its stored form (integers as qlonglong, QStringList as
// QVariantList, ...), or nothing when it cannot be stored (NaN, infinity,
// unsupported types, too deep); `why` then says why.
std::optional<QVariant> normalizePreferenceValue(const QVariant& value, QString* why = nullptr);

// A UTF-8 JSON document with one object; `values` must be normalized.
QByteArray writePreferencesJson(const QVariantMap& values);

// The object of a JSON document, or nothing when the text is not strict JSON
// (RFC 8259), is not UTF-8, or its root is not an object; `error` then says
// what is wrong and where.
std::optional<QVariantMap> readPreferencesJson(const QByteArray& text, QString* error = nullptr);

} // namespace markvane::platform
