#include "overlay/AnnotationTextEditor.h"

#include "annotations/TextMeasure.h"

#include <QKeyEvent>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace markvane {

AnnotationTextEditor::AnnotationTextEditor(QWidget* parent, NativeKeyMap nativeKeys)
    : QTextEdit(parent), m_nativeKeys(std::move(nativeKeys)) {
    setAcceptRichText(false);
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::NoWrap);
    setUndoRedoEnabled(true);
    // No margins: the glyphs must sit exactly where the finished text is drawn.
    document()->setDocumentMargin(0);
    setViewportMargins(0, 0, 0, 0);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    colours.setColor(QPalette::Window, Qt::transparent);
    setPalette(colours);
    setFontSize(m_fontSize);
    connect(this, &QTextEdit::textChanged, this, &AnnotationTextEditor::fitEditor);
}

void AnnotationTextEditor::setFontSize(double size) {
    m_fontSize = size;
    const QFont font = annotationFont(size, logicalDpiY());
    setFont(font);
    document()->setDefaultFont(font);
    fitEditor();
}

void AnnotationTextEditor::setTextColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, color);
    setPalette(colours);
}

void AnnotationTextEditor::setAnchor(QPointF widgetBottomLeft) {
    m_anchor = widgetBottomLeft;
    fitEditor();
}

void AnnotationTextEditor::changeFontSize(double factor) {
    setFontSize(std::clamp(m_fontSize * factor, kMinFontSize, kMaxFontSize));
    Q_EMIT fontSizeChanged();
}

void AnnotationTextEditor::fitEditor() {
    const QString text = toPlainText();
    const QSizeF measured =
        measureAnnotationText(text.isEmpty() ? QStringLiteral("M") : text, m_fontSize);
    m_fittedSize = QSizeF(std::max(measured.width(), kMinWidth), measured.height());
    // Whole pixels: the top edge rounds to where the text's first line is
    // drawn; two spare pixels keep the caret from scrolling the text.
    const int top = int(std::lround(m_anchor.y() - m_fittedSize.height()));
    setGeometry(int(std::lround(m_anchor.x())), top, int(std::ceil(m_fittedSize.width())) + 2,
                int(std::ceil(m_fittedSize.height())) + 1);
}

AnnotationTextEditor::EditorKey AnnotationTextEditor::editorKey(const QKeyEvent& event) const {
    const auto key = drawKeyFromEvent(event, m_nativeKeys);
    if (!key)
        return EditorKey::none;
    if (key->isEscape())
        return EditorKey::commit;
    if (!(key->modifierFlags & kPrimaryFlag))
        return EditorKey::none;
    switch (key->keyCode) {
    case KeyCode::z:
        return (key->modifierFlags & kShiftFlag) ? EditorKey::redo : EditorKey::undo;
    case KeyCode::equal:
    case KeyCode::keypadPlus:
        return EditorKey::grow;
    case KeyCode::minus:
    case KeyCode::keypadMinus:
        return EditorKey::shrink;
    default:
        return EditorKey::none;
    }
}

bool AnnotationTextEditor::event(QEvent* event) {
    // Claim our keys before any application shortcut can take them.
    if (event->type() == QEvent::ShortcutOverride &&
        editorKey(*static_cast<QKeyEvent*>(event)) != EditorKey::none) {
        event->accept();
        return true;
    }
    return QTextEdit::event(event);
}

void AnnotationTextEditor::keyPressEvent(QKeyEvent* event) {
    switch (editorKey(*event)) {
    case EditorKey::undo:
        undo();
        break;
    case EditorKey::redo:
        redo();
        break;
    case EditorKey::grow:
        changeFontSize(kSizeStep);
        break;
    case EditorKey::shrink:
        changeFontSize(1 / kSizeStep);
        break;
    case EditorKey::commit:
        Q_EMIT commitRequested();
        break;
    case EditorKey::none:
        QTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace markvane
