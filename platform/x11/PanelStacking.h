#pragma once

#include <QList>
#include <QSet>

namespace markvane::platform {

// Whether the overlay windows have to be raised again. `bottomToTop` lists the
// root window's children in stacking order, as the X server reports them;
// `panels`, `keepAbove` and `ownOthers` are root children of this program. The
// wanted order has no window of another program above the lowest panel, and
// every keep-above window above every panel; this program's other windows
// may be anywhere.
bool panelsNeedRaising(const QList<quint32>& bottomToTop, const QSet<quint32>& panels,
                       const QSet<quint32>& keepAbove, const QSet<quint32>& ownOthers = {});

} // namespace markvane::platform
