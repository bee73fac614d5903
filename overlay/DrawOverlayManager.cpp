#include "overlay/DrawOverlayManager.h"

#include "overlay/DrawOverlayView.h"
#include "overlay/OverlayPanel.h"
#include "platform/Coordinates.h"
#include "platform/OverlayWindows.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace markvane {

namespace {

// Half-open on the far edges, so a point on the seam of two displays
// belongs to one of them only.
bool frameContains(const QRectF& frame, QPointF point) {
    return point.x() >= frame.left() && point.x() < frame.right() && point.y() >= frame.top() &&
           point.y() < frame.bottom();
}

QScreen* qtScreenNamed(const QString& name) {
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    return QGuiApplication::primaryScreen();
}

bool takesPointer(const QWidget* window) {
    if (window->windowType() == Qt::ToolTip ||
        window->testAttribute(Qt::WA_TransparentForMouseEvents))
        return false;
    const QWindow* handle = window->windowHandle();
    return !(handle && handle->flags().testFlag(Qt::WindowTransparentForInput));
}

} // namespace

DrawOverlayManager::DrawOverlayManager(platform::Screens& screens,
                                       platform::OverlayWindows& windows, ViewFactory makeView,
                                       QObject* parent)
    : QObject(parent), m_screens(screens), m_windows(windows), m_makeView(std::move(makeView)) {
    connect(&m_screens, &platform::Screens::screensChanged, this,
            &DrawOverlayManager::screensChanged);
}

DrawOverlayManager::~DrawOverlayManager() {
    for (const auto& panel : std::as_const(m_panels)) {
        if (panel && panel->view())
            panel->view()->commitOpenEditor();
        delete panel.data();
    }
}

QList<OverlayPanel*> DrawOverlayManager::panels() const {
    QList<OverlayPanel*> result;
    for (const auto& panel : m_panels) {
        if (panel)
            result.append(panel.data());
    }
    return result;
}

void DrawOverlayManager::discardPanels() {
    for (const auto& panel : std::as_const(m_panels)) {
        if (!panel)
            continue;
        // Text being typed is kept, not lost with its view.
        if (panel->view())
            panel->view()->commitOpenEditor();
        panel->hide();
        // Later: the rebuild may run inside one of the panel's own events.
        panel->deleteLater();
    }
    m_panels.clear();
}

void DrawOverlayManager::rebuild() {
    m_built = true;
    discardPanels();
    for (const platform::ScreenInfo& screen : m_screens.screens()) {
        auto* panel = new OverlayPanel(screen, m_makeView(screen));
        m_windows.preparePanel(panel, qtScreenNamed(screen.name));
        m_windows.setPassThroughArea(panel, panel->view()->menuStripRect());
        m_panels.append(panel);
    }
    applyDrawMode();
}

void DrawOverlayManager::screensChanged() {
    // Displays change in bursts (a monitor added, then its geometry): one
    // rebuild once the burst is over.
    if (!m_built || m_rebuildQueued)
        return;
    m_rebuildQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_rebuildQueued = false;
            rebuild();
        },
        Qt::QueuedConnection);
}

void DrawOverlayManager::applyDrawMode() {
    for (const auto& panel : std::as_const(m_panels)) {
        if (!panel)
            continue;
        m_windows.setClickThrough(panel, !m_drawModeEnabled);
        if (panel->view())
            panel->view()->setDrawModeEnabled(m_drawModeEnabled);
    }
    if (m_drawModeEnabled)
        focusPanelUnderMouse();
}

OverlayPanel* DrawOverlayManager::panelUnderMouse() const {
    const QList<OverlayPanel*> all = panels();
    if (all.isEmpty())
        return nullptr;
    const QPointF pointer = m_screens.pointerLocation();
    for (OverlayPanel* panel : all) {
        if (frameContains(panel->screen().frame, pointer))
            return panel;
    }
    return all.first();
}

void DrawOverlayManager::focusPanelUnderMouse() {
    if (!m_drawModeEnabled)
        return;
    OverlayPanel* panel = panelUnderMouse();
    if (!panel || panel->isActiveWindow())
        return;
    m_windows.focusPanel(panel);
    if (panel->view())
        panel->view()->setFocus(Qt::OtherFocusReason);
}

bool DrawOverlayManager::isOverOtherProgramWindow(QPointF globalPoint) const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return false;
    const QPoint qtPoint = platform::toQtGlobal(globalPoint, QRectF(primary->geometry())).toPoint();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* window : windows) {
        if (!window->isVisible() || qobject_cast<const OverlayPanel*>(window) ||
            !takesPointer(window))
            continue;
        if (window->frameGeometry().contains(qtPoint))
            return true;
    }
    return false;
}

} // namespace markvane
