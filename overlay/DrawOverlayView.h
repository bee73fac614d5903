#pragma once

#include "annotations/AnnotationRenderer.h"
#include "overlay/AnnotationLayer.h"
#include "overlay/AnnotationTextEditor.h"
#include "overlay/FreezeZoom.h"
#include "overlay/KeyTranslation.h"
#include "overlay/PointerInteraction.h"
#include "overlay/PointerShape.h"
#include "overlay/ViewGeometry.h"
#include "platform/Screens.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class QMenu;

namespace markvane {

namespace platform {
class Clock;
}

class AnnotationStore;
class DrawViewHost;

// The drawing view of one display: shows the annotations and, while draw
// mode is on, turns pointer and key input into annotation edits. Its own
// coordinates have their origin at the bottom left, y up; Qt's widget
// coordinates are converted in one place on the way in.
class DrawOverlayView : public QWidget, public AnnotationRenderer {
    Q_OBJECT
public:
    struct Services {
        platform::Clock* clock = nullptr;     // required
        platform::Screens* screens = nullptr; // the ruler label's display factor
        NativeKeyMap nativeKeys;              // the windowing system's key codes
    };

    DrawOverlayView(platform::ScreenInfo screen, AnnotationStore& store, DrawViewHost& host,
                    Services services, QWidget* parent = nullptr);
    // Commits an open text editor: rebuilding the panels must not lose it.
    ~DrawOverlayView() override;

    const platform::ScreenInfo& screen() const { return m_screen; }

    // Draw mode on: the view takes input and polls the pointer shape every
    // 0.1 s. Off: the poll stops and a frozen view goes back to live.
    void setDrawModeEnabled(bool on);
    bool drawModeEnabled() const { return m_showHint; }
    bool isCursorPollActive() const { return m_cursorPoll.isActive(); }

    // Coordinates. View points are y up from the view's bottom left.
    QPointF viewToGlobal(QPointF view) const { return geometryNow().viewToGlobal(view); }
    QPointF globalToView(QPointF global) const { return geometryNow().globalToView(global); }
    QRectF visibleGlobalRect() const { return geometryNow().visibleGlobalRect(); }
    QPointF widgetToGlobal(QPointF widget) const;

    // Freeze-zoom state; the view is live until a freeze fills it.
    FreezeZoom& freezeZoom() { return m_freeze; }
    const FreezeZoom& freezeZoom() const { return m_freeze; }
    // Un-freezes (also drops a capture on its way) and redraws.
    void resetFreezeZoom();

    // Presses here belong to what lies below: the strip above the display's
    // visible frame, and other windows of this program. The panel should be
    // click-through there; presses that still arrive are ignored.
    bool passesPointerThrough(QPointF widget) const;
    QRect menuStripRect() const;

    // Sets the pointer shape for a global point.
    void updateCursor(QPointF global);
    PointerShape pointerShape() const { return m_pointerShape; }

    // Escape: un-freeze, drop the stroke being drawn, clear the selection,
    // switch to the move tool, leave draw mode; one step per press.
    void cancelOperation();

    // The context menu for a click at a global point; none without the move
    // tool or without an annotation there. Selects the annotation first.
    std::unique_ptr<QMenu> contextMenuAt(QPointF global);
    void menuCut();
    void menuCopy();
    void menuDelete();
    void menuDuplicate();
    void menuBringToFront();
    void menuBringForward();
    void menuSendBackward();
    void menuSendToBack();

    // Text typed in place.
    void beginText(QPointF global);
    void commitOpenEditor();
    AnnotationTextEditor* textEditor() const { return m_textEditor; }
    QPointF textAnchorGlobal() const { return m_textAnchorGlobal; }

    void annotationsDidChange() override;

    // Paints a region of the widget; the paint event's path.
    void paintArea(QPainter& painter, const QRegion& region);
    const AnnotationLayer& layer() const { return m_layer; }
    // The widget area the last change asked to repaint.
    const QRegion& lastRepaintRequest() const { return m_lastRepaintRequest; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    ViewGeometry geometryNow() const;
    QPointF screenPointOf(QPointF widget) const;
    void press(QMouseEvent* event, int clickCount);
    void applyPointerShape(PointerShape shape);
    void pollCursor();
    void showPointerShapeAt(QPointF widget);
    void refreshLayer();
    void commitText(AnnotationTextEditor* editor, bool refocus);

    platform::ScreenInfo m_screen;
    AnnotationStore& m_store;
    DrawViewHost& m_host;
    Services m_services;

    bool m_showHint = false;
    FreezeZoom m_freeze;
    PointerInteraction m_interaction;
    bool m_pressActive = false;
    QPointer<AnnotationTextEditor> m_textEditor;
    QPointF m_textAnchorGlobal;
    // The colour of an existing text being edited, so committing keeps it.
    std::optional<QColor> m_editedTextColor;
    QTimer m_cursorPoll;
    std::optional<QPointF> m_lastPointer; // widget coordinates
    PointerShape m_pointerShape = PointerShape::arrow;
    QString m_cursorKey;
    AnnotationLayer m_layer;
    QRegion m_lastRepaintRequest;
};

} // namespace markvane
