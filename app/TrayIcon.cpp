#include "app/TrayIcon.h"

#include "app/StatusIcon.h"
#include "app/TrayMenu.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <cstdio>

namespace markvane {

TrayIcon::TrayIcon(Hooks hooks, QObject* parent)
    : QObject(parent), m_hooks(std::move(hooks)), m_menu(std::make_unique<QMenu>()) {
    if (!m_hooks.trayAvailable)
        m_hooks.trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    m_poll.setInterval(m_hooks.pollMs);
    connect(&m_poll, &QTimer::timeout, this, &TrayIcon::tryShow);
    // Rebuilt each time it opens, so titles, checks and hints are current.
    connect(m_menu.get(), &QMenu::aboutToShow, this,
            [this] { fillMenu(*m_menu, buildTrayMenu(m_hooks.menuInputs()), m_hooks.run); });
    fillMenu(*m_menu, buildTrayMenu(m_hooks.menuInputs()), m_hooks.run);
}

TrayIcon::~TrayIcon() {
    delete m_icon;
}

void TrayIcon::start() {
    tryShow();
}

void TrayIcon::setDrawMode(bool on) {
    m_drawMode = on;
    updateIcon();
}

void TrayIcon::tryShow() {
    if (m_icon)
        return;
    if (!m_hooks.trayAvailable()) {
        if (!m_noticeGiven && m_hooks.noTrayNotice) {
            m_noticeGiven = true;
            std::fprintf(stderr, "%s\n", qPrintable(m_hooks.noTrayNotice()));
        }
        if (!m_poll.isActive())
            m_poll.start();
        return;
    }
    m_poll.stop();
    m_icon = new QSystemTrayIcon(this);
    m_icon->setToolTip(QStringLiteral("Markvane"));
    m_icon->setContextMenu(m_menu.get());
    // Trays differ in which click opens the menu; any click does here.
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    m_menu->popup(QCursor::pos());
            });
    updateIcon();
    m_icon->show();
    if (m_hooks.shown)
        m_hooks.shown(m_icon);
}

void TrayIcon::updateIcon() {
    if (m_icon)
        m_icon->setIcon(statusIcon(statusIconStyleFromPalette(m_drawMode)));
}

} // namespace markvane
