// Conversion of the values callers hand in to the few types the preferences
// file can hold without losing their type.
#include "platform/qt/PreferencesJson.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace markvane::platform {

namespace {

std::optional<QVariant> normalize(const QVariant& value, int depth, QString* why) {
    const auto refuse = [why](const QString& reason) -> std::optional<QVariant> {
        if (why)
            *why = reason;
        return std::nullopt;
    };

    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        return QVariant();
    case QMetaType::Bool:
        return QVariant(value.toBool());
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QVariant(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong n = value.toULongLong();
        if (n > qulonglong(std::numeric_limits<qlonglong>::max()))
            return refuse(QStringLiteral("the integer %1 is too large").arg(n));
        return QVariant(qlonglong(n));
    }
    case QMetaType::Float:
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            return refuse(QStringLiteral("%1 is not a finite number").arg(d));
        return QVariant(d);
    }
    case QMetaType::QChar:
    case QMetaType::QString:
        return QVariant(value.toString());
    case QMetaType::QByteArray:
        return value;
    default:
        break;
    }

    const bool isList = value.metaType() == QMetaType::fromType<QVariantList>() ||
                        value.metaType() == QMetaType::fromType<QStringList>();
    const bool isMap = value.metaType() == QMetaType::fromType<QVariantMap>() ||
                       value.metaType() == QMetaType::fromType<QVariantHash>();
    if ((isList || isMap) && depth >= kMaxPreferenceDepth)
        return refuse(
            QStringLiteral("arrays and objects nest more than %1 deep").arg(kMaxPreferenceDepth));
    if (isList) {
        QVariantList out;
        const QVariantList in = value.toList();
        out.reserve(in.size());
        for (const QVariant& item : in) {
            auto converted = normalize(item, depth + 1, why);
            if (!converted)
                return std::nullopt;
            out.append(*converted);
        }
        return QVariant(out);
    }
    if (isMap) {
        QVariantMap out;
        const QVariantMap in = value.toMap();
        for (auto it = in.begin(); it != in.end(); ++it) {
            auto converted = normalize(it.value(), depth + 1, why);
            if (!converted)
                return std::nullopt;
            out.insert(it.key(), *converted);
        }
        return QVariant(out);
    }
    return refuse(QStringLiteral("values of type %1 cannot be stored")
                      .arg(QString::fromLatin1(value.metaType().name())));
}

} // namespace

std::optional<QVariant> normalizePreferenceValue(const QVariant& value, QString* why) {
    // A stored value sits one level down, inside the document's object.
    return normalize(value, 1, why);
}

} // namespace markvane::platform
