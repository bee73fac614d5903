#include "annotations/AnnotationSignature.h"

#include <QHash>
#include <bit>

namespace markvane {

quint64 hashMix(quint64 hash, quint64 value) {
    // splitmix64's finaliser spreads every bit of the value over the result.
    quint64 z = hash + 0x9e3779b97f4a7c15ULL + value;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

quint64 hashMix(quint64 hash, double value) {
    return hashMix(hash, std::bit_cast<quint64>(value == 0 ? 0.0 : value));
}

quint64 annotationSignature(const Annotation& annotation) {
    quint64 h = hashMix(0, quint64(qHash(annotation.id)));
    h = hashMix(h, quint64(annotation.tool));
    h = hashMix(h, annotation.color.rgba64().operator quint64());
    h = hashMix(h, annotation.width);
    h = hashMix(h, quint64(annotation.points.size()));
    if (!annotation.points.isEmpty())
        h = hashMix(h, quint64(qHashBits(annotation.points.constData(),
                                         size_t(annotation.points.size()) * sizeof(QPointF))));
    h = hashMix(h, quint64(annotation.filled));
    h = hashMix(h, quint64(annotation.text.has_value()));
    if (annotation.text)
        h = hashMix(h, quint64(qHash(*annotation.text)));
    h = hashMix(h, annotation.fontSize);
    h = hashMix(h, quint64(annotation.image.has_value()));
    if (annotation.image)
        h = hashMix(h, quint64(annotation.image->cacheKey()));
    h = hashMix(h, quint64(annotation.redactStyle));
    h = hashMix(h, quint64(annotation.curveControl.has_value()));
    if (annotation.curveControl) {
        h = hashMix(h, annotation.curveControl->x());
        h = hashMix(h, annotation.curveControl->y());
    }
    return h;
}

} // namespace markvane
