#pragma once

#include "annotations/AnnotationHandles.h"
#include "overlay/PointerShape.h"
#include "platform/Screens.h"

#include <QPointF>
#include <optional>

namespace markvane {

class AnnotationStore;

// What one press, drag and release of the pointer do to the annotation
// store, tool by tool. Points are global; the view converts.
class PointerInteraction {
public:
    PointerInteraction(AnnotationStore& store, platform::ScreenInfo screen);

    struct PressOutcome {
        // The press opens text editing at this point (text tool, or a double
        // click on a text with the move tool).
        std::optional<QPointF> editTextAt;
        // The pointer shape the press sets, if any.
        std::optional<PointerShape> pointer;
    };

    PressOutcome press(QPointF global, int clickCount);
    void drag(QPointF global, bool constrain, bool fill);
    // True when the pointer shape is to be refreshed for the release point.
    bool release();

    // The pointer shape for a point, by handle under drag, tool and selection.
    PointerShape pointerShapeAt(QPointF global) const;

    std::optional<HandleKind> activeHandle() const { return m_activeHandle; }
    bool dragChanged() const { return m_dragChanged; }

    static PointerShape handlePointerShape(const HandleKind& kind);

private:
    PressOutcome pressMove(QPointF global, int clickCount);
    void dragRectangle(QPointF global, bool snipe);

    AnnotationStore& m_store;
    platform::ScreenInfo m_screen;
    // Drag and release finish what the press began, even if a key changed
    // the tool in between.
    Tool m_pressTool = Tool::pen;
    bool m_dragChanged = false;
    std::optional<QPointF> m_lastDragPoint;
    std::optional<HandleKind> m_activeHandle;
};

// Tools whose press starts a stroke or shape in the store.
bool isStrokeTool(Tool tool);

} // namespace markvane
