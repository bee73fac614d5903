#pragma once

#include "annotations/Tool.h"

#include <QObject>
#include <QString>

namespace markvane {

// What the tray menu and remote control can ask of the running program, and
// the state they show. A feature this program does not have yet answers
// false to its has...() question; its actions must then not be called.
class ShellActions : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~ShellActions() override = default;

    virtual bool hasToolbar() const = 0;
    virtual bool toolbarVisible() const = 0;
    virtual void toggleToolbar() = 0;
    // A second launch or a reopen request: bring the toolbar back.
    virtual void reopen() = 0;

    virtual bool drawModeEnabled() const = 0;
    virtual void toggleDrawMode() = 0;

    virtual void undo() = 0;
    virtual void redo() = 0;
    virtual void clear() = 0;
    virtual bool annotationsHidden() const = 0;
    virtual void toggleHidden() = 0;

    virtual bool hasKeystrokes() const = 0;
    virtual bool keystrokesEnabled() const = 0;
    virtual void toggleKeystrokes() = 0;

    virtual bool hasCursorEffects() const = 0;
    // The current effect's label, or empty for the plain pointer.
    virtual QString cursorEffectLabel() const = 0;
    virtual void cycleCursorEffect() = 0;

    virtual bool hasSettings() const = 0;
    virtual void openSettings() = 0;

    virtual void setTool(Tool tool) = 0;
    // Zero-based palette entry and width index.
    virtual void setPaletteIndex(int index) = 0;
    virtual void setWidthIndex(int index) = 0;
    virtual void setFade(FadeInterval fade) = 0;

    // The application becomes active again: re-read the permission flags.
    virtual void refreshPermissions() = 0;

    // Ends the program as "Quit Markvane" does.
    virtual void quit() = 0;

Q_SIGNALS:
    void drawModeChanged(bool enabled);
};

} // namespace markvane
