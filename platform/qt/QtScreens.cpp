#include "platform/qt/QtScreens.h"

#include "platform/Coordinates.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace markvane::platform {

QtScreens::QtScreens(QObject* parent) : Screens(parent) {
    const auto changed = [this] { Q_EMIT screensChanged(); };
    connect(qApp, &QGuiApplication::screenAdded, this, [this, changed](QScreen* screen) {
        watch(screen);
        changed();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, changed);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, changed);
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
}

void QtScreens::watch(QScreen* screen) {
    const auto changed = [this] { Q_EMIT screensChanged(); };
    connect(screen, &QScreen::geometryChanged, this, changed);
    connect(screen, &QScreen::availableGeometryChanged, this, changed);
}

quint32 QtScreens::displayNumber(const QString& name) {
    quint32 hash = 2166136261u;
    for (const char byte : name.toUtf8()) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 16777619u;
    }
    return hash == 0 ? 1 : hash;
}

ScreenInfo QtScreens::describe(const QScreen& screen, const QRectF& primaryGeometry,
                               bool isPrimary) {
    // Each QScreen's geometry is already in Qt's global coordinates, even when
    // displays have different scale factors (the origin stays where the
    // display sits; only the size is scaled), so each converts on its own.
    ScreenInfo info;
    info.name = screen.name();
    info.number = displayNumber(info.name);
    info.frame = fromQtGlobal(QRectF(screen.geometry()), primaryGeometry);
    info.visibleFrame = fromQtGlobal(QRectF(screen.availableGeometry()), primaryGeometry);
    info.backingScale = screen.devicePixelRatio();
    info.isMain = isPrimary;
    return info;
}

QList<ScreenInfo> QtScreens::screens() const {
    QList<ScreenInfo> result;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return result;
    const QRectF primaryGeometry(primary->geometry());
    for (const QScreen* screen : QGuiApplication::screens())
        result.append(describe(*screen, primaryGeometry, screen == primary));
    return result;
}

QPointF QtScreens::pointerLocation() const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRectF primaryGeometry = primary ? QRectF(primary->geometry()) : QRectF();
    return fromQtGlobal(QPointF(QCursor::pos()), primaryGeometry);
}

} // namespace markvane::platform
