#pragma once

#include "overlay/KeyTranslation.h"

#include <QColor>
#include <QPointF>
#include <QSizeF>
#include <QTextEdit>

namespace markvane {

// The borderless, transparent plain-text editor in which a text annotation
// is typed in place. It keeps its own undo stack, so typing is undone inside
// it and never mixes with the annotation store's history.
class AnnotationTextEditor : public QTextEdit {
    Q_OBJECT
public:
    static constexpr double kMinFontSize = 8;
    static constexpr double kMaxFontSize = 400;
    static constexpr double kSizeStep = 1.08;
    static constexpr double kMinWidth = 40;

    explicit AnnotationTextEditor(QWidget* parent, NativeKeyMap nativeKeys = {});

    // Size in view points (one point per device-independent pixel).
    double fontSize() const { return m_fontSize; }
    void setFontSize(double size);
    void setTextColor(const QColor& color);

    // The bottom-left corner of the text in the parent's widget coordinates;
    // the editor grows upward and rightward from it, as the drawn text does.
    void setAnchor(QPointF widgetBottomLeft);
    QPointF anchor() const { return m_anchor; }

    // Multiplies the font size by the factor within 8…400 and refits.
    void changeFontSize(double factor);
    // Resizes to the text ("M" when empty): at least 40 wide, one line high per line.
    void fitEditor();
    // The size the text needs, before rounding to whole pixels.
    QSizeF fittedSize() const { return m_fittedSize; }

Q_SIGNALS:
    void fontSizeChanged();
    // Escape: the text is to be committed, never discarded.
    void commitRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class EditorKey { none, undo, redo, grow, shrink, commit };
    EditorKey editorKey(const QKeyEvent& event) const;

    NativeKeyMap m_nativeKeys;
    double m_fontSize = 18;
    QPointF m_anchor;
    QSizeF m_fittedSize;
};

} // namespace markvane
