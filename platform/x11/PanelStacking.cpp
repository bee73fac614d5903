#include "platform/x11/PanelStacking.h"

namespace markvane::platform {

bool panelsNeedRaising(const QList<quint32>& bottomToTop, const QSet<quint32>& panels,
                       const QSet<quint32>& keepAbove, const QSet<quint32>& ownOthers) {
    qsizetype lowestPanel = -1;
    qsizetype highestPanel = -1;
    for (qsizetype i = 0; i < bottomToTop.size(); ++i) {
        if (panels.contains(bottomToTop[i])) {
            if (lowestPanel < 0)
                lowestPanel = i;
            highestPanel = i;
        }
    }
    if (lowestPanel < 0)
        return false;
    for (qsizetype i = 0; i < bottomToTop.size(); ++i) {
        const quint32 window = bottomToTop[i];
        if (keepAbove.contains(window)) {
            if (i < highestPanel)
                return true;
        } else if (i > lowestPanel && !panels.contains(window) && !ownOthers.contains(window)) {
            return true;
        }
    }
    return false;
}

} // namespace markvane::platform
