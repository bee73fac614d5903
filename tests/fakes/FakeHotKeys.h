#pragma once

#include "platform/HotKeys.h"

#include <QList>
#include <map>
#include <set>
#include <utility>

namespace markvane::testing {

// Hot keys kept in memory. Combinations in `claimedElsewhere` behave as held
// by another application; keys in `missingKeys` do not exist on the keyboard.
class FakeHotKeys : public platform::HotKeys {
public:
    using Combination = std::pair<quint16, quint64>;

    platform::HotKeyRegistration registerHotKey(quint32 id, quint16 keyCode,
                                                quint64 modifiers) override {
        ++registerCalls;
        registered.erase(id);
        const Combination combination{keyCode, modifiers};
        if (claimedElsewhere.count(combination))
            return {platform::HotKeyRegistration::Result::claimedByAnotherApplication, 10};
        if (missingKeys.count(keyCode))
            return {platform::HotKeyRegistration::Result::failed, -1};
        if (refuseSharedCombinations) {
            for (const auto& [otherId, other] : registered) {
                if (other == combination)
                    return {platform::HotKeyRegistration::Result::claimedByAnotherApplication, 10};
            }
        }
        registered[id] = combination;
        return {platform::HotKeyRegistration::Result::registered, 0};
    }

    void unregisterHotKey(quint32 id) override {
        ++unregisterCalls;
        registered.erase(id);
    }

    // The user presses a combination: every id registered for it fires.
    void press(quint16 keyCode, quint64 modifiers) {
        for (const auto& [id, combination] : registered) {
            if (combination == Combination{keyCode, modifiers})
                Q_EMIT activated(id);
        }
    }

    std::map<quint32, Combination> registered;
    std::set<Combination> claimedElsewhere;
    std::set<quint16> missingKeys;
    bool refuseSharedCombinations = false;
    int registerCalls = 0;
    int unregisterCalls = 0;
};

} // namespace markvane::testing
