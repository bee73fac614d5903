#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace markvane::platform {

// The user's preferences: a flat map from short keys to typed values.
// Values keep their types: bool, qlonglong (integers), double, QString,
// QVariantList (arrays), QVariantMap (objects) and QByteArray (data).
// Registered defaults answer for keys that hold no stored value; they are
// never written out.
class PreferencesStore {
public:
    virtual ~PreferencesStore() = default;

    // The stored value, else the registered default, else an invalid QVariant.
    virtual QVariant value(const QString& key) const = 0;
    virtual bool contains(const QString& key) const = 0;
    virtual void setValue(const QString& key, const QVariant& value) = 0;
    virtual void remove(const QString& key) = 0;
    virtual void registerDefaults(const QVariantMap& defaults) = 0;
    // Writes pending changes to durable storage now.
    virtual void flush() = 0;
};

} // namespace markvane::platform
