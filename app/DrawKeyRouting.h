#pragma once

#include "overlay/DrawKey.h"

namespace markvane {

// What a key pressed while drawing asks for, before the drawing shortcuts
// get their turn.
enum class DrawKeyCommand {
    none,
    undo,
    redo,
    toggleHidden,
    clear,
    pasteImage,
    deleteSelected,
    widthUp,
    widthDown,
    scaleUp,
    scaleDown,
    copySelection,
    cutSelection,
    duplicateSelection,
};

// The fixed editing keys of draw mode. Their modifier is Ctrl (the control
// bit), as usual on Linux desktops, where Super belongs to the window manager. `editingSelection`
// is true when the move tool is chosen and an annotation is selected: only then do the selection
// keys apply. The first rule that matches wins.
DrawKeyCommand routeDrawKey(const DrawKey& key, bool editingSelection);

} // namespace markvane
