#include "app/DrawKeyMonitor.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace markvane {

bool isTextInputWidget(const QObject* object) {
    if (!object)
        return false;
    if (qobject_cast<const QLineEdit*>(object) || qobject_cast<const QAbstractSpinBox*>(object) ||
        qobject_cast<const QKeySequenceEdit*>(object))
        return true;
    if (const auto* combo = qobject_cast<const QComboBox*>(object))
        return combo->isEditable();
    if (const auto* edit = qobject_cast<const QTextEdit*>(object))
        return !edit->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(object))
        return !plain->isReadOnly();
    return false;
}

DrawKeyMonitor::DrawKeyMonitor(IsActive isActive, Translate translate, Route route, QObject* parent)
    : QObject(parent), m_isActive(std::move(isActive)), m_translate(std::move(translate)),
      m_route(std::move(route)) {}

DrawKeyMonitor::~DrawKeyMonitor() {
    if (m_installed && qApp)
        qApp->removeEventFilter(this);
}

void DrawKeyMonitor::install() {
    if (m_installed || !qApp)
        return;
    qApp->installEventFilter(this);
    m_installed = true;
}

bool DrawKeyMonitor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    if (!m_isActive())
        return false;
    // An open menu navigates with its own keys.
    if (QApplication::activePopupWidget())
        return false;
    // A key that the focus widget left unhandled travels up to its parents and
    // passes this filter once per step; only its first delivery is routed.
    const auto* target = static_cast<QWidget*>(watched);
    const QWidget* focus = QApplication::focusWidget();
    if (focus ? focus != target : !target->isWindow())
        return false;
    if (isTextInputWidget(target))
        return false;
    const auto key = m_translate(*static_cast<QKeyEvent*>(event));
    return key && m_route(*key);
}

} // namespace markvane
