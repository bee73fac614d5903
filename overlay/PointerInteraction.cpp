#include "overlay/PointerInteraction.h"

#include "annotations/AnnotationStore.h"

#include <QLineF>
#include <cmath>

namespace markvane {
namespace {

// Eraser and snipe drags shorter than this are clicks.
constexpr double kClickSlop = 3;

QRectF spannedRect(QPointF a, QPointF b) {
    return {std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::abs(b.x() - a.x()),
            std::abs(b.y() - a.y())};
}

} // namespace

bool isStrokeTool(Tool tool) {
    switch (tool) {
    case Tool::pen:
    case Tool::highlighter:
    case Tool::line:
    case Tool::arrow:
    case Tool::rectangle:
    case Tool::ellipse:
    case Tool::ruler:
    case Tool::redact:
        return true;
    default:
        return false;
    }
}

PointerInteraction::PointerInteraction(AnnotationStore& store, platform::ScreenInfo screen)
    : m_store(store), m_screen(std::move(screen)) {}

PointerShape PointerInteraction::handlePointerShape(const HandleKind& kind) {
    if (kind.kind() == HandleKind::Case::box) {
        if (!kind.x() && kind.y())
            return PointerShape::resizeUpDown;
        if (kind.x() && !kind.y())
            return PointerShape::resizeLeftRight;
    }
    return PointerShape::crosshair;
}

PointerInteraction::PressOutcome PointerInteraction::press(QPointF global, int clickCount) {
    m_pressTool = m_store.tool();
    switch (m_pressTool) {
    case Tool::text:
        return {global, std::nullopt};
    case Tool::stamp:
        m_store.addStamp(global);
        return {};
    case Tool::eraser:
    case Tool::snipe: {
        m_dragChanged = false;
        m_lastDragPoint = global;
        const QRectF empty(global, QSizeF(0, 0));
        if (m_pressTool == Tool::eraser)
            m_store.setEraserRect(empty);
        else
            m_store.setSnipeRect(empty);
        m_store.notifyRenderers();
        return {};
    }
    case Tool::move:
        return pressMove(global, clickCount);
    default:
        m_store.beginStroke(global);
        return {};
    }
}

PointerInteraction::PressOutcome PointerInteraction::pressMove(QPointF global, int clickCount) {
    if (clickCount > 1 && m_store.textAnnotationAt(global))
        return {global, std::nullopt};
    m_dragChanged = false;
    m_activeHandle.reset();
    if (const auto selected = m_store.selectedAnnotation()) {
        if (const auto handle = handleAt(*selected, global)) {
            m_activeHandle = handle;
            m_store.setInteractiveSnapshot(m_store.annotations());
            return {std::nullopt, handlePointerShape(*handle)};
        }
    }
    m_store.setSelectedID(m_store.annotationID(global));
    m_store.notifyRenderers();
    if (!m_store.selectedAnnotation())
        return {};
    m_store.setInteractiveSnapshot(m_store.annotations());
    m_lastDragPoint = global;
    return {std::nullopt, PointerShape::closedHand};
}

void PointerInteraction::drag(QPointF global, bool constrain, bool fill) {
    const Tool tool = m_pressTool;
    if (isStrokeTool(tool)) {
        m_store.updateStroke(global, constrain, fill);
    } else if (tool == Tool::eraser || tool == Tool::snipe) {
        dragRectangle(global, tool == Tool::snipe);
    } else if (tool == Tool::move) {
        if (m_activeHandle) {
            m_store.dragSelectionHandle(*m_activeHandle, global, constrain);
            m_dragChanged = true;
        } else if (m_store.selectedAnnotation() && m_lastDragPoint) {
            const QPointF offset = global - *m_lastDragPoint;
            m_store.moveSelection(offset.x(), offset.y());
            m_lastDragPoint = global;
            m_dragChanged = true;
        }
    }
}

void PointerInteraction::dragRectangle(QPointF global, bool snipe) {
    if (!m_lastDragPoint)
        return;
    const QPointF start = *m_lastDragPoint;
    if (QLineF(start, global).length() > kClickSlop)
        m_dragChanged = true;
    const QRectF rect = spannedRect(start, global);
    if (snipe)
        m_store.setSnipeRect(rect);
    else
        m_store.setEraserRect(rect);
    m_store.notifyRenderers();
}

bool PointerInteraction::release() {
    const Tool tool = m_pressTool;
    if (isStrokeTool(tool)) {
        m_store.commitStroke();
        return false;
    }
    switch (tool) {
    case Tool::eraser:
        if (m_dragChanged) {
            m_store.eraseInRect();
        } else {
            if (m_store.eraserRect()) {
                m_store.setEraserRect(std::nullopt);
                m_store.notifyRenderers();
            }
            if (m_lastDragPoint)
                m_store.eraseAt(*m_lastDragPoint);
        }
        m_lastDragPoint.reset();
        return false;
    case Tool::snipe:
        if (m_dragChanged) {
            m_store.commitSnipe(m_screen);
        } else {
            m_store.setSnipeRect(std::nullopt);
            m_store.notifyRenderers();
        }
        m_lastDragPoint.reset();
        return false;
    case Tool::move:
        m_store.endInteractive(m_dragChanged);
        m_lastDragPoint.reset();
        m_activeHandle.reset();
        return true;
    default:
        return false;
    }
}

PointerShape PointerInteraction::pointerShapeAt(QPointF global) const {
    if (m_activeHandle)
        return handlePointerShape(*m_activeHandle);
    switch (m_store.tool()) {
    case Tool::pen:
    case Tool::highlighter:
    case Tool::line:
    case Tool::arrow:
    case Tool::rectangle:
    case Tool::ellipse:
    case Tool::ruler:
        return PointerShape::dot;
    case Tool::text:
        return PointerShape::iBeam;
    case Tool::stamp:
        return PointerShape::stamp;
    case Tool::eraser:
        return PointerShape::eraser;
    case Tool::snipe:
    case Tool::redact:
        return PointerShape::crosshair;
    case Tool::move:
        break;
    }
    if (const auto selected = m_store.selectedAnnotation()) {
        if (const auto handle = handleAt(*selected, global))
            return handlePointerShape(*handle);
    }
    return m_store.annotationID(global) ? PointerShape::openHand : PointerShape::arrow;
}

} // namespace markvane
