#pragma once

#include "app/ShellActions.h"

#include <QStringList>

namespace markvane::testing {

// Records every call; features are present or absent as the test sets them.
class FakeShell : public ShellActions {
public:
    bool hasToolbar() const override { return toolbar; }
    bool toolbarVisible() const override { return toolbarShown; }
    void toggleToolbar() override { calls << QStringLiteral("toggleToolbar"); }
    void reopen() override { calls << QStringLiteral("reopen"); }
    bool drawModeEnabled() const override { return drawMode; }
    void toggleDrawMode() override {
        calls << QStringLiteral("toggleDrawMode");
        drawMode = !drawMode;
        Q_EMIT drawModeChanged(drawMode);
    }
    void undo() override { calls << QStringLiteral("undo"); }
    void redo() override { calls << QStringLiteral("redo"); }
    void clear() override { calls << QStringLiteral("clear"); }
    bool annotationsHidden() const override { return hidden; }
    void toggleHidden() override { calls << QStringLiteral("toggleHidden"); }
    bool hasKeystrokes() const override { return keystrokes; }
    bool keystrokesEnabled() const override { return keystrokesOn; }
    void toggleKeystrokes() override { calls << QStringLiteral("toggleKeystrokes"); }
    bool hasCursorEffects() const override { return cursorEffects; }
    QString cursorEffectLabel() const override { return effectLabel; }
    void cycleCursorEffect() override { calls << QStringLiteral("cycleCursorEffect"); }
    bool hasSettings() const override { return settings; }
    void openSettings() override { calls << QStringLiteral("openSettings"); }
    void setTool(Tool tool) override { calls << QStringLiteral("tool ") + toolRawValue(tool); }
    void setPaletteIndex(int index) override { calls << QStringLiteral("palette %1").arg(index); }
    void setWidthIndex(int index) override { calls << QStringLiteral("width %1").arg(index); }
    void setFade(FadeInterval fade) override {
        calls << QStringLiteral("fade %1").arg(fadeIntervalSeconds(fade));
    }
    void refreshPermissions() override { calls << QStringLiteral("refreshPermissions"); }
    void quit() override { calls << QStringLiteral("quit"); }

    bool toolbar = false;
    bool toolbarShown = false;
    bool drawMode = false;
    bool hidden = false;
    bool keystrokes = false;
    bool keystrokesOn = false;
    bool cursorEffects = false;
    QString effectLabel;
    bool settings = false;
    QStringList calls;
};

} // namespace markvane::testing
