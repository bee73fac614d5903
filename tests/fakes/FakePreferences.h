#pragma once

#include "platform/PreferencesStore.h"

namespace markvane::testing {

// Preferences held in memory; `stored` is what a real store would have on disk.
class FakePreferences : public platform::PreferencesStore {
public:
    QVariant value(const QString& key) const override {
        return stored.contains(key) ? stored.value(key) : defaults.value(key);
    }
    bool contains(const QString& key) const override {
        return stored.contains(key) || defaults.contains(key);
    }
    void setValue(const QString& key, const QVariant& value) override {
        stored.insert(key, value);
        ++writes;
    }
    void remove(const QString& key) override { stored.remove(key); }
    void registerDefaults(const QVariantMap& map) override {
        for (auto it = map.begin(); it != map.end(); ++it)
            defaults.insert(it.key(), it.value());
    }
    void flush() override { ++flushes; }

    QVariantMap stored;
    QVariantMap defaults;
    int writes = 0;
    int flushes = 0;
};

} // namespace markvane::testing
