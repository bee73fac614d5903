#pragma once

#include <QList>
#include <QSet>

namespace markvane::platform {

// Whether the overlay windows have to be raised again. `bottomToTop` lists the
// root window's children in stacking order, as the X server reports them;
// `panels` and `keepAbove` are root children of this program. The wanted order
// has nothing but panels and keep-above windows above the lowest panel, and
// every keep-above window above every panel.
bool panelsNeedRaising(const QList<quint32>& bottomToTop, const QSet<quint32>& panels,
                       const QSet<quint32>& keepAbove);

} // namespace markvane::platform
