#include "overlay/DrawOverlayView.h"

#include "annotations/AnnotationStore.h"
#include "overlay/AnnotationTextEditor.h"
#include "overlay/DrawContextMenu.h"
#include "overlay/DrawViewHost.h"
#include "overlay/ToolCursors.h"
#include "platform/Clock.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTextCursor>
#include <algorithm>

namespace markvane {
namespace {

constexpr int kCursorPollMs = 100;
// A new text's size follows the stroke width, never below a readable size.
constexpr double kTextSizePerWidth = 3;
constexpr double kMinNewTextSize = 14;

std::pair<QString, QCursor> cursorFor(PointerShape shape, const AnnotationStore& store) {
    switch (shape) {
    case PointerShape::dot:
        return {ToolCursors::dotKey(store.currentColor()), ToolCursors::dot(store.currentColor())};
    case PointerShape::iBeam:
        return {ToolCursors::beamKey(store.currentColor()),
                ToolCursors::beam(store.currentColor())};
    case PointerShape::stamp:
        return {ToolCursors::stampKey(store.currentStamp()),
                ToolCursors::stamp(store.currentStamp())};
    case PointerShape::eraser:
        return {QStringLiteral("eraser"), ToolCursors::eraser()};
    case PointerShape::crosshair:
        return {QStringLiteral("crosshair"), QCursor(Qt::CrossCursor)};
    case PointerShape::resizeUpDown:
        return {QStringLiteral("resizeUpDown"), QCursor(Qt::SizeVerCursor)};
    case PointerShape::resizeLeftRight:
        return {QStringLiteral("resizeLeftRight"), QCursor(Qt::SizeHorCursor)};
    case PointerShape::closedHand:
        return {QStringLiteral("closedHand"), QCursor(Qt::ClosedHandCursor)};
    case PointerShape::openHand:
        return {QStringLiteral("openHand"), QCursor(Qt::OpenHandCursor)};
    case PointerShape::arrow:
        break;
    case PointerShape::pointingHand:
        return {QStringLiteral("pointingHand"), QCursor(Qt::PointingHandCursor)};
    }
    return {QStringLiteral("arrow"), QCursor(Qt::ArrowCursor)};
}

} // namespace

DrawOverlayView::DrawOverlayView(platform::ScreenInfo screen, AnnotationStore& store,
                                 DrawViewHost& host, Services services, QWidget* parent)
    : QWidget(parent), m_screen(std::move(screen)), m_store(store), m_host(host),
      m_services(std::move(services)), m_interaction(store, m_screen) {
    Q_ASSERT(m_services.clock);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(m_screen.frame.size().toSize());
    m_cursorPoll.setInterval(kCursorPollMs);
    connect(&m_cursorPoll, &QTimer::timeout, this, &DrawOverlayView::pollCursor);
    m_store.addRenderer(this);
    refreshLayer();
}

DrawOverlayView::~DrawOverlayView() {
    commitOpenEditor();
}

ViewGeometry DrawOverlayView::geometryNow() const {
    ViewGeometry g;
    g.screenFrame = m_screen.frame;
    g.viewSize = QSizeF(size());
    g.frozen = m_freeze.isFrozen();
    g.zoomScale = m_freeze.zoomScale;
    g.zoomCenterGlobal = m_freeze.zoomCenterGlobal;
    return g;
}

QPointF DrawOverlayView::widgetToGlobal(QPointF widget) const {
    return viewToGlobal(widgetToView(widget, height()));
}

// Where a widget point lies on the desktop itself, zoom or not: what other
// windows are tested against.
QPointF DrawOverlayView::screenPointOf(QPointF widget) const {
    return widgetToView(widget, height()) + m_screen.frame.topLeft();
}

void DrawOverlayView::setDrawModeEnabled(bool on) {
    m_showHint = on;
    if (on) {
        m_cursorPoll.start();
    } else {
        m_cursorPoll.stop();
        // The panel stops taking the pointer: the release may never come.
        if (m_pressActive) {
            m_pressActive = false;
            m_interaction.release();
        }
        if (m_freeze.isFrozen() || m_freeze.zoomCapturePending)
            resetFreezeZoom();
    }
    update();
}

void DrawOverlayView::resetFreezeZoom() {
    m_freeze.reset();
    refreshLayer();
    update();
    if (m_showHint)
        pollCursor();
}

QRect DrawOverlayView::menuStripRect() const {
    const double strip = m_screen.frame.bottom() - m_screen.visibleFrame.bottom();
    // In y-up global coordinates QRectF::bottom() is the top edge.
    return QRect(0, 0, int(std::lround(m_screen.frame.width())),
                 std::max(0, int(std::lround(strip))));
}

bool DrawOverlayView::passesPointerThrough(QPointF widget) const {
    if (menuStripRect().contains(widget.toPoint()))
        return true;
    return m_host.isOverOtherProgramWindow(screenPointOf(widget));
}

void DrawOverlayView::updateCursor(QPointF global) {
    applyPointerShape(m_interaction.pointerShapeAt(global));
}

void DrawOverlayView::applyPointerShape(PointerShape shape) {
    m_pointerShape = shape;
    auto [key, cursor] = cursorFor(shape, m_store);
    if (key == m_cursorKey)
        return;
    m_cursorKey = key;
    setCursor(cursor);
}

void DrawOverlayView::pollCursor() {
    showPointerShapeAt(mapFromGlobal(QCursor::pos()));
}

void DrawOverlayView::showPointerShapeAt(QPointF widget) {
    m_lastPointer = widget;
    const QPointF view = widgetToView(widget, height());
    if ((m_freeze.zoomPercentFrame && m_freeze.zoomPercentFrame->contains(view)) ||
        (m_freeze.zoomResetFrame && m_freeze.zoomResetFrame->contains(view))) {
        applyPointerShape(PointerShape::pointingHand);
        return;
    }
    updateCursor(viewToGlobal(view));
}

void DrawOverlayView::refreshLayer() {
    LayerState state;
    if (!m_store.hidden())
        state.finished = m_store.annotations();
    state.selectedId = m_store.selectedID();
    state.active = m_store.activeAnnotation();
    state.eraserRect = m_store.eraserRect();
    state.snipeRect = m_store.snipeRect();
    const ViewGeometry g = geometryNow();
    state.origin = g.drawingOrigin();
    state.scale = g.drawingScale();
    state.viewSize = size();
    state.devicePixelRatio = devicePixelRatioF();
    m_lastRepaintRequest = m_layer.setState(std::move(state), m_services.clock->now());
    if (!m_lastRepaintRequest.isEmpty())
        update(m_lastRepaintRequest);
}

void DrawOverlayView::annotationsDidChange() {
    refreshLayer();
    // Where the pointer was last seen: asking the window system on every
    // change of a growing stroke would cost a round trip each time.
    if (m_showHint && m_lastPointer)
        showPointerShapeAt(*m_lastPointer);
    else if (m_showHint)
        pollCursor();
}

void DrawOverlayView::paintArea(QPainter& painter, const QRegion& region) {
    AnnotationDrawContext context;
    context.now = m_services.clock->now();
    context.screens =
        m_services.screens ? m_services.screens->screens() : QList<platform::ScreenInfo>{m_screen};
    m_layer.paint(painter, region, context);
}

void DrawOverlayView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paintArea(painter, event->region());
}

void DrawOverlayView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refreshLayer();
}

void DrawOverlayView::mousePressEvent(QMouseEvent* event) {
    press(event, 1);
}

// Qt reports the second press of a double click as its own event.
void DrawOverlayView::mouseDoubleClickEvent(QMouseEvent* event) {
    press(event, 2);
}

void DrawOverlayView::press(QMouseEvent* event, int clickCount) {
    m_pressActive = false;
    m_lastPointer = event->position();
    if (event->button() != Qt::LeftButton || passesPointerThrough(event->position())) {
        event->ignore();
        return;
    }
    event->accept();
    const QPointF view = widgetToView(event->position(), height());
    if (m_freeze.zoomPercentFrame && m_freeze.zoomPercentFrame->contains(view)) {
        if (m_freeze.isFrozen()) {
            m_freeze.zoomScale = 1;
            m_freeze.zoomCenterGlobal = m_screen.frame.center();
            refreshLayer();
            update();
        }
        return;
    }
    if (m_freeze.zoomResetFrame && m_freeze.zoomResetFrame->contains(view)) {
        if (m_freeze.isFrozen() || m_freeze.zoomCapturePending)
            resetFreezeZoom();
        return;
    }
    const QPointF global = viewToGlobal(view);
    if (m_textEditor) {
        commitText(m_textEditor, true);
        return;
    }
    m_pressActive = true;
    const auto outcome = m_interaction.press(global, clickCount);
    if (outcome.pointer)
        applyPointerShape(*outcome.pointer);
    if (outcome.editTextAt) {
        m_pressActive = false;
        beginText(*outcome.editTextAt);
    }
}

void DrawOverlayView::mouseMoveEvent(QMouseEvent* event) {
    m_lastPointer = event->position();
    if (!(event->buttons() & Qt::LeftButton)) {
        if (m_showHint)
            showPointerShapeAt(event->position());
        return;
    }
    if (!m_pressActive || m_host.isOverOtherProgramWindow(screenPointOf(event->position())))
        return;
    m_interaction.drag(widgetToGlobal(event->position()), event->modifiers() & Qt::ShiftModifier,
                       event->modifiers() & Qt::AltModifier);
}

void DrawOverlayView::mouseReleaseEvent(QMouseEvent* event) {
    m_lastPointer = event->position();
    if (event->button() != Qt::LeftButton || !m_pressActive)
        return;
    m_pressActive = false;
    if (m_interaction.release())
        updateCursor(widgetToGlobal(event->position()));
}

void DrawOverlayView::keyPressEvent(QKeyEvent* event) {
    // Keys the editor leaves alone must not edit the drawing behind it.
    if (m_textEditor) {
        event->ignore();
        return;
    }
    const auto key = drawKeyFromEvent(*event, m_services.nativeKeys);
    if (key && m_host.handleDrawKey(*key)) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        cancelOperation();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void DrawOverlayView::cancelOperation() {
    if (m_freeze.isFrozen()) {
        resetFreezeZoom();
    } else if (m_store.activeAnnotation()) {
        m_store.cancelStroke();
    } else if (m_store.selectedID()) {
        m_store.setSelectedID(std::nullopt);
        m_store.notifyRenderers();
    } else if (m_store.tool() != Tool::move) {
        m_store.setTool(Tool::move);
    } else if (m_host.drawModeEnabled()) {
        m_host.setDrawMode(false);
    }
}

void DrawOverlayView::contextMenuEvent(QContextMenuEvent* event) {
    if (passesPointerThrough(event->pos())) {
        event->ignore();
        return;
    }
    const auto menu = contextMenuAt(widgetToGlobal(event->pos()));
    if (menu)
        menu->exec(event->globalPos());
}

void DrawOverlayView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (m_showHint)
        m_host.focusOverlayUnderMouse();
}

std::unique_ptr<QMenu> DrawOverlayView::contextMenuAt(QPointF global) {
    if (m_store.tool() != Tool::move)
        return nullptr;
    const auto id = m_store.annotationID(global);
    if (!id)
        return nullptr;
    if (m_store.selectedID() != id) {
        m_store.setSelectedID(id);
        m_store.notifyRenderers();
    }
    DrawMenuActions actions;
    actions.cut = [this] { menuCut(); };
    actions.copy = [this] { menuCopy(); };
    actions.deleteSelected = [this] { menuDelete(); };
    actions.duplicate = [this] { menuDuplicate(); };
    actions.bringToFront = [this] { menuBringToFront(); };
    actions.bringForward = [this] { menuBringForward(); };
    actions.sendBackward = [this] { menuSendBackward(); };
    actions.sendToBack = [this] { menuSendToBack(); };
    return buildDrawContextMenu(actions, this);
}

void DrawOverlayView::menuCut() {
    if (!m_store.selectedAnnotation())
        return;
    m_store.copySelection();
    m_store.deleteSelected();
}

void DrawOverlayView::menuCopy() {
    m_store.copySelection();
}

void DrawOverlayView::menuDelete() {
    m_store.deleteSelected();
}

void DrawOverlayView::menuDuplicate() {
    m_store.duplicateSelection();
}

void DrawOverlayView::menuBringToFront() {
    m_store.bringToFront();
}

void DrawOverlayView::menuBringForward() {
    m_store.bringForward();
}

void DrawOverlayView::menuSendBackward() {
    m_store.sendBackward();
}

void DrawOverlayView::menuSendToBack() {
    m_store.sendToBack();
}

void DrawOverlayView::beginText(QPointF global) {
    if (m_textEditor)
        commitText(m_textEditor, false);
    const auto existing = m_store.textAnnotationAt(global);
    const QPointF anchor =
        existing && !existing->points.isEmpty() ? existing->points.first() : global;
    m_textAnchorGlobal = anchor;
    m_editedTextColor = existing ? std::optional<QColor>(existing->color) : std::nullopt;
    const double size = existing
                            ? existing->fontSize * m_freeze.zoomScale
                            : std::max(kTextSizePerWidth * m_store.currentWidth(), kMinNewTextSize);

    auto* editor = new AnnotationTextEditor(this, m_services.nativeKeys);
    editor->setFontSize(size);
    editor->setTextColor(existing ? existing->color : m_store.currentColor());
    editor->setPlainText(existing ? existing->text.value_or(QString()) : QString());
    editor->setAnchor(viewToWidget(globalToView(anchor), height()));
    connect(editor, &AnnotationTextEditor::commitRequested, this,
            [this, editor] { commitText(editor, true); });
    m_textEditor = editor;

    // The edited text leaves the store while it is typed; committing adds it back.
    if (existing)
        m_store.deleteAnnotation(existing->id);

    editor->show();
    activateWindow();
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
}

void DrawOverlayView::commitText(AnnotationTextEditor* editor, bool refocus) {
    const QString text = editor->toPlainText();
    const double size = editor->fontSize();
    if (editor == m_textEditor)
        m_textEditor = nullptr;
    editor->hide();
    // It may be inside its own key handler right now.
    editor->deleteLater();
    m_store.addText(text, m_textAnchorGlobal, size / m_freeze.zoomScale, m_editedTextColor);
    if (refocus)
        setFocus();
}

void DrawOverlayView::commitOpenEditor() {
    if (m_textEditor)
        commitText(m_textEditor, false);
}

} // namespace markvane
