#pragma once

#include <QObject>
#include <QRect>

class QScreen;
class QWidget;

namespace markvane::platform {

// Borderless, transparent, always-on-top panels that cover one display each
// and show what this program draws over every other application. Panels are
// forgotten when their widget is destroyed.
class OverlayWindows : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~OverlayWindows() override = default;

    // Makes `panel` (a top-level widget that has not been shown yet) an
    // overlay covering `screen`, on every workspace and without a taskbar
    // entry, and shows it without taking the keyboard focus.
    virtual void preparePanel(QWidget* panel, QScreen* screen) = 0;
    // Whether pointer events pass through the panel to whatever is below.
    // Switched without hiding the panel.
    virtual void setClickThrough(QWidget* panel, bool clickThrough) = 0;
    // Pointer events over `area` (panel coordinates) always reach whatever is
    // below, even while the panel takes input, so the desktop's top bar stays
    // usable while drawing. An empty area takes the whole panel again.
    virtual void setPassThroughArea(QWidget* panel, const QRect& area) = 0;
    // Gives the panel the keyboard focus.
    virtual void focusPanel(QWidget* panel) = 0;
    // Keeps another window of this program (the toolbar, a settings window)
    // above every panel.
    virtual void keepAbovePanels(QWidget* window) = 0;
    // Whether a compositing manager blends the panels' transparent areas.
    virtual bool compositing() const = 0;

Q_SIGNALS:
    void compositingChanged(bool compositing);
};

} // namespace markvane::platform
