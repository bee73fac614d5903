#pragma once

#include "platform/PreferencesStore.h"
#include "shortcuts/Shortcut.h"

#include <QByteArray>
#include <QVariantMap>
#include <map>

namespace markvane {

// Shortcut maps are stored as a dictionary from an action's raw name to the
// JSON bytes of its shortcut, held as byte data.

// Reads such a dictionary. A stored value that is not a dictionary, or that
// holds any value other than byte data, gives an empty map (all defaults);
// unknown names and undecodable shortcuts are skipped one by one.
template <typename Action, typename FromRaw>
std::map<Action, Shortcut> readShortcutMap(const platform::PreferencesStore& preferences,
                                           const QString& key, FromRaw fromRaw) {
    std::map<Action, Shortcut> result;
    const QVariant stored = preferences.value(key);
    if (stored.typeId() != QMetaType::QVariantMap)
        return result;
    const QVariantMap map = stored.toMap();
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it.value().typeId() != QMetaType::QByteArray)
            return {};
    }
    for (auto it = map.begin(); it != map.end(); ++it) {
        const std::optional<Action> action = fromRaw(it.key());
        if (!action)
            continue;
        if (auto shortcut = Shortcut::fromJson(it.value().toByteArray()))
            result[*action] = *shortcut;
    }
    return result;
}

// Replaces the stored dictionary with exactly the given entries.
template <typename Action, typename ToRaw>
void writeShortcutMap(platform::PreferencesStore& preferences, const QString& key,
                      const std::map<Action, Shortcut>& bindings, ToRaw toRaw) {
    QVariantMap map;
    for (const auto& [action, shortcut] : bindings)
        map.insert(toRaw(action), shortcut.toJson());
    preferences.setValue(key, map);
}

} // namespace markvane
