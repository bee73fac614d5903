// Editing, copying and re-ordering the selected annotation.
#include "annotations/AnnotationStore.h"

#include "platform/Pasteboard.h"

#include <algorithm>

namespace markvane {
namespace {

constexpr double kScaleStep = 1.08;
constexpr double kMinStrokeWidth = 1;
constexpr double kMaxStrokeWidth = 48;
// A duplicate lands right of and below the original on screen (y grows up).
constexpr QPointF kDuplicateOffset(14, -14);

} // namespace

void AnnotationStore::moveSelection(double dx, double dy) {
    const std::optional<qsizetype> index = selectedIndex();
    if (!index)
        return;
    editAnnotation(*index, [dx, dy](Annotation& a) { a.translate(dx, dy); });
    notifyRenderers();
}

void AnnotationStore::dragSelectionHandle(const HandleKind& kind, QPointF point, bool constrain) {
    const std::optional<qsizetype> index = selectedIndex();
    if (!index)
        return;
    editAnnotation(*index, [&](Annotation& a) { applyHandleDrag(a, kind, point, constrain); });
    notifyRenderers();
}

void AnnotationStore::scaleSelection(int direction) {
    const std::optional<qsizetype> index = selectedIndex();
    if (!index)
        return;
    coalescedStep();
    const double factor = direction > 0 ? kScaleStep : 1 / kScaleStep;
    editAnnotation(*index, [factor](Annotation& a) { a.scale(factor); });
    notifyRenderers();
}

void AnnotationStore::changeSelectionWidth(double delta) {
    const std::optional<qsizetype> index = selectedIndex();
    if (!index || m_annotations[*index].tool == Tool::text)
        return;
    coalescedStep();
    editAnnotation(*index, [delta](Annotation& a) {
        const double width = a.width + delta;
        // A non-finite delta leaves the width as it was rather than poisoning it.
        if (std::isfinite(width))
            a.width = std::clamp(width, kMinStrokeWidth, kMaxStrokeWidth);
    });
    notifyRenderers();
}

void AnnotationStore::applyColorToSelection(const QColor& color) {
    if (m_tool != Tool::move)
        return;
    const std::optional<qsizetype> index = selectedIndex();
    if (!index)
        return;
    coalescedStep();
    editAnnotation(*index, [&color](Annotation& a) { a.color = color; });
    notifyRenderers();
}

void AnnotationStore::duplicateSelection() {
    const std::optional<Annotation> selected = selectedAnnotation();
    if (!selected)
        return;
    pushUndo();
    Annotation copy = *selected;
    copy.id = QUuid::createUuid();
    copy.translate(kDuplicateOffset.x(), kDuplicateOffset.y());
    const double t = now();
    copy.completedAt = t;
    copy.expiresAt = expiryFrom(t);
    const QUuid id = copy.id;
    appendAnnotation(std::move(copy));
    trimToLimit();
    updateFadeTimer();
    setSelectedID(id);
    notifyRenderers();
}

void AnnotationStore::copySelection() {
    const std::optional<Annotation> selected = selectedAnnotation();
    if (!selected || !m_imager || !m_services.pasteboard)
        return;
    if (const std::optional<QImage> image = m_imager(*selected))
        m_services.pasteboard->writeImage(*image);
}

void AnnotationStore::bringToFront() {
    const std::optional<qsizetype> index = selectedIndex();
    if (!index || *index == m_annotations.size() - 1)
        return;
    pushUndo();
    moveAnnotation(*index, m_annotations.size() - 1);
    notifyRenderers();
}

void AnnotationStore::bringForward() {
    const std::optional<qsizetype> index = selectedIndex();
    if (!index || *index >= m_annotations.size() - 1)
        return;
    pushUndo();
    moveAnnotation(*index, *index + 1);
    notifyRenderers();
}

void AnnotationStore::sendBackward() {
    const std::optional<qsizetype> index = selectedIndex();
    if (!index || *index == 0)
        return;
    pushUndo();
    moveAnnotation(*index, *index - 1);
    notifyRenderers();
}

void AnnotationStore::sendToBack() {
    const std::optional<qsizetype> index = selectedIndex();
    if (!index || *index == 0)
        return;
    pushUndo();
    moveAnnotation(*index, 0);
    notifyRenderers();
}

void AnnotationStore::setImage(const QUuid& id, const QImage& image) {
    for (qsizetype i = 0; i < m_annotations.size(); ++i) {
        if (m_annotations[i].id == id) {
            editAnnotation(i, [&image](Annotation& a) { a.image = image; });
            notifyRenderers();
            return;
        }
    }
}

} // namespace markvane
