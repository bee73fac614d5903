#pragma once

#include "platform/Screens.h"

class QScreen;

namespace markvane::platform {

// The displays Qt knows, in the program's global coordinates.
class QtScreens final : public Screens {
    Q_OBJECT
public:
    explicit QtScreens(QObject* parent = nullptr);

    QList<ScreenInfo> screens() const override;
    QPointF pointerLocation() const override;

    // A stable, non-zero number for a display name (FNV-1a of its UTF-8 bytes).
    static quint32 displayNumber(const QString& name);
    // The display, given the main display's geometry in Qt coordinates.
    static ScreenInfo describe(const QScreen& screen, const QRectF& primaryGeometry,
                               bool isPrimary);

private:
    void watch(QScreen* screen);
};

} // namespace markvane::platform
