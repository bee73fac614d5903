#pragma once

#include <QList>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>

namespace markvane::platform {

// One display, in global points: origin at the bottom left of the main
// display, y growing upward.
struct ScreenInfo {
    QString name;
    quint32 number = 0;      // stable, non-zero display number
    QRectF frame;            // the whole display
    QRectF visibleFrame;     // without panels and docks
    double backingScale = 1; // device pixels per point
    bool isMain = false;
};

// The displays and the pointer. Emits screensChanged when displays come, go
// or change their geometry.
class Screens : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Screens() override = default;

    virtual QList<ScreenInfo> screens() const = 0;
    virtual QPointF pointerLocation() const = 0;

    std::optional<ScreenInfo> mainScreen() const;
    // The display whose frame contains the point, if any.
    std::optional<ScreenInfo> screenContaining(QPointF globalPoint) const;

Q_SIGNALS:
    void screensChanged();
};

} // namespace markvane::platform
