#pragma once

#include "overlay/DrawOverlays.h"
#include "platform/Screens.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

namespace markvane {

class DrawOverlayView;
class OverlayPanel;

namespace platform {
class OverlayWindows;
}

// One drawing panel per display, in display order, rebuilt when the displays
// change and switched together into and out of draw mode.
class DrawOverlayManager : public QObject, public DrawOverlays {
    Q_OBJECT
public:
    using ViewFactory = std::function<DrawOverlayView*(const platform::ScreenInfo& screen)>;

    DrawOverlayManager(platform::Screens& screens, platform::OverlayWindows& windows,
                       ViewFactory makeView, QObject* parent = nullptr);
    ~DrawOverlayManager() override;

    void rebuild() override;
    bool drawModeEnabled() const override { return m_drawModeEnabled; }
    void setDrawModeEnabled(bool on) override { m_drawModeEnabled = on; }
    void applyDrawMode() override;
    void focusPanelUnderMouse() override;
    bool isOverOtherProgramWindow(QPointF globalPoint) const override;

    // The panel whose display holds the pointer, else the first; none
    // before the first build.
    OverlayPanel* panelUnderMouse() const;
    QList<OverlayPanel*> panels() const;

private:
    void screensChanged();
    void discardPanels();

    platform::Screens& m_screens;
    platform::OverlayWindows& m_windows;
    ViewFactory m_makeView;
    QList<QPointer<OverlayPanel>> m_panels;
    bool m_drawModeEnabled = false;
    bool m_built = false;
    bool m_rebuildQueued = false;
};

} // namespace markvane
