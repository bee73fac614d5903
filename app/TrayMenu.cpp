#include "app/TrayMenu.h"

#include <QAction>
#include <QMenu>

namespace markvane {
namespace {

// An ampersand in a title is a literal one, not a mnemonic marker.
QString menuText(const TrayMenuItem& item) {
    QString text = item.title;
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    if (!item.shortcutHint.isEmpty())
        text += QLatin1Char('\t') + item.shortcutHint;
    return text;
}

} // namespace

void fillMenu(QMenu& menu, const QList<TrayMenuItem>& items,
              const std::function<void(TrayCommand)>& run) {
    // Submenus made last time are children of the menu: delete them too.
    for (QAction* action : menu.actions()) {
        if (QMenu* submenu = action->menu(); submenu && submenu->parent() == &menu)
            submenu->deleteLater();
    }
    menu.clear();
    for (const TrayMenuItem& item : items) {
        switch (item.kind) {
        case TrayMenuItem::Kind::separator:
            menu.addSeparator();
            break;
        case TrayMenuItem::Kind::submenu: {
            QMenu* submenu = menu.addMenu(menuText(item));
            fillMenu(*submenu, item.submenu, run);
            break;
        }
        case TrayMenuItem::Kind::action: {
            QAction* action = menu.addAction(menuText(item));
            action->setEnabled(item.enabled);
            action->setCheckable(item.checkable);
            action->setChecked(item.checked);
            if (item.command != TrayCommand::none) {
                const TrayCommand command = item.command;
                QObject::connect(action, &QAction::triggered, &menu,
                                 [run, command] { run(command); });
            }
            break;
        }
        }
    }
}

} // namespace markvane
