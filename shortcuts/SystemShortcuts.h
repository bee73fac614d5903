#pragma once

#include "shortcuts/KeyNames.h"

#include <QString>
#include <optional>

namespace markvane {

// Names a combination that the desktop or common applications already use
// ("the lock screen"), or gives nothing. Only shift, control, option and
// command are compared. The mac table lists what macOS reserves, the pc table
// what X11 desktops reserve.
std::optional<QString> systemShortcutName(quint16 keyCode, quint64 modifiers,
                                          KeyVocabulary vocabulary = currentKeyVocabulary());

// Advice for modifier sets that applications often claim for themselves, or
// nothing when the set is not known to be risky.
std::optional<QString> riskyModifiersAdvice(quint64 modifiers,
                                            KeyVocabulary vocabulary = currentKeyVocabulary());

} // namespace markvane
