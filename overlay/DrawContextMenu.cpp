#include "overlay/DrawContextMenu.h"

#include <QAction>
#include <QKeySequence>

namespace markvane {
namespace {

// The label after the tab is what the menu shows as the item's key.
QAction* addItem(QMenu& menu, const QString& title, const QString& keyLabel,
                 const QKeySequence& key, const std::function<void()>& action) {
    QAction* item = menu.addAction(keyLabel.isEmpty() ? title : title + u'\t' + keyLabel);
    if (!key.isEmpty())
        item->setShortcut(key);
    QObject::connect(item, &QAction::triggered, &menu, [action] {
        if (action)
            action();
    });
    return item;
}

} // namespace

std::unique_ptr<QMenu> buildDrawContextMenu(const DrawMenuActions& actions, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    addItem(*menu, QStringLiteral("Cut"), QStringLiteral("Ctrl+X"),
            QKeySequence(Qt::CTRL | Qt::Key_X), actions.cut);
    addItem(*menu, QStringLiteral("Copy"), QStringLiteral("Ctrl+C"),
            QKeySequence(Qt::CTRL | Qt::Key_C), actions.copy);
    addItem(*menu, QStringLiteral("Delete"), QStringLiteral("Delete"), QKeySequence(Qt::Key_Delete),
            actions.deleteSelected);
    addItem(*menu, QStringLiteral("Duplicate"), QStringLiteral("Ctrl+D"),
            QKeySequence(Qt::CTRL | Qt::Key_D), actions.duplicate);
    menu->addSeparator();
    QMenu* arrange = menu->addMenu(QStringLiteral("Arrange"));
    addItem(*arrange, QStringLiteral("Bring to Front"), {}, {}, actions.bringToFront);
    addItem(*arrange, QStringLiteral("Bring Forward"), {}, {}, actions.bringForward);
    addItem(*arrange, QStringLiteral("Send Backward"), {}, {}, actions.sendBackward);
    addItem(*arrange, QStringLiteral("Send to Back"), {}, {}, actions.sendToBack);
    return menu;
}

} // namespace markvane
