// Creating and removing annotations.
#include "annotations/AnnotationStore.h"

#include "platform/ScreenCapture.h"

#include <QPointer>
#include <cmath>

namespace markvane {
namespace {

// A shape shorter than this is taken for a click and dropped.
constexpr double kMinShapeLength = 3;
// A snipe rectangle must be larger than this on both sides to be captured.
constexpr double kMinSnipeExtent = 8;
constexpr double kStampFontSize = 44;
constexpr double kStrokeFontSize = 18;

bool keepsStroke(const Annotation& stroke) {
    if (isFreehand(stroke.tool))
        return stroke.points.size() >= 2;
    if (stroke.points.size() != 2)
        return false;
    const QPointF d = stroke.points[1] - stroke.points[0];
    return std::hypot(d.x(), d.y()) > kMinShapeLength;
}

// Closed intervals, so a perfectly straight stroke (zero-height bounds) or a
// rectangle dragged straight down still meets what it touches.
bool meets(const QRectF& a, const QRectF& b) {
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() &&
           b.top() <= a.bottom();
}

} // namespace

void AnnotationStore::addFinished(Annotation annotation, bool selectIt) {
    pushUndo();
    const double t = now();
    annotation.completedAt = t;
    annotation.expiresAt = expiryFrom(t);
    const QUuid id = annotation.id;
    appendAnnotation(std::move(annotation));
    trimToLimit();
    updateFadeTimer();
    if (selectIt) {
        // The tool-change step runs first, so the new selection stays.
        setTool(Tool::move);
        setSelectedID(id);
    }
}

void AnnotationStore::beginStroke(QPointF point) {
    Annotation stroke;
    stroke.tool = m_tool;
    stroke.color = currentColor();
    stroke.width = currentWidth();
    stroke.points = {point};
    stroke.fontSize = kStrokeFontSize;
    stroke.redactStyle = m_tool == Tool::redact ? m_redactStyle : RedactStyle::blur;
    m_activeAnnotation = std::move(stroke);
    notifyRenderers();
}

void AnnotationStore::updateStroke(QPointF point, bool constrain, bool fill) {
    if (!m_activeAnnotation)
        return;
    Annotation& stroke = *m_activeAnnotation;
    stroke.filled = fill && isShape(stroke.tool);
    if (isFreehand(stroke.tool)) {
        stroke.points.append(point);
    } else {
        const bool hasStart = !stroke.points.isEmpty();
        const QPointF start = hasStart ? stroke.points.first() : point;
        const QPointF end =
            constrain && hasStart ? constrainedPoint(stroke.tool, start, point) : point;
        stroke.points = {start, end};
    }
    notifyRenderers();
}

void AnnotationStore::commitStroke() {
    if (!m_activeAnnotation)
        return;
    Annotation stroke = std::move(*m_activeAnnotation);
    m_activeAnnotation.reset();
    if (keepsStroke(stroke)) {
        const bool select = isShape(stroke.tool) || stroke.tool == Tool::redact;
        addFinished(std::move(stroke), select);
    }
    notifyRenderers();
}

void AnnotationStore::cancelStroke() {
    if (!m_activeAnnotation)
        return;
    m_activeAnnotation.reset();
    notifyRenderers();
}

void AnnotationStore::addText(const QString& text, QPointF point, double fontSize,
                              std::optional<QColor> color) {
    if (text.trimmed().isEmpty())
        return;
    Annotation annotation;
    annotation.tool = Tool::text;
    annotation.color = color.value_or(currentColor());
    annotation.width = 1;
    annotation.points = {point};
    annotation.text = text;
    annotation.fontSize = fontSize;
    addFinished(std::move(annotation), true);
    notifyRenderers();
}

void AnnotationStore::addStamp(QPointF point) {
    Annotation annotation;
    annotation.tool = Tool::stamp;
    annotation.color = currentColor();
    annotation.width = 1;
    annotation.points = {point};
    annotation.text = m_currentStamp;
    annotation.fontSize = kStampFontSize;
    addFinished(std::move(annotation), false);
    notifyRenderers();
}

void AnnotationStore::addSnipe(const QImage& image, const QRectF& rect) {
    Annotation annotation;
    annotation.tool = Tool::snipe;
    annotation.color = currentColor();
    annotation.width = 1;
    const QRectF area = rect.normalized();
    annotation.points = {area.topLeft(), area.bottomRight()}; // the min and max corners
    annotation.fontSize = kStrokeFontSize;
    annotation.image = image;
    addFinished(std::move(annotation), true);
    notifyRenderers();
}

void AnnotationStore::commitSnipe(const platform::ScreenInfo& screen) {
    const std::optional<QRectF> rect = m_snipeRect;
    setSnipeRect(std::nullopt);
    notifyRenderers();
    if (!rect || !m_services.capture)
        return;
    const QRectF area = rect->normalized();
    if (!(area.width() > kMinSnipeExtent && area.height() > kMinSnipeExtent))
        return;
    QPointer<AnnotationStore> self(this);
    m_services.capture->captureRect(area, screen, [self, area](std::optional<QImage> image) {
        if (self && image)
            self->addSnipe(*image, area);
    });
}

void AnnotationStore::eraseAt(QPointF point) {
    const std::optional<qsizetype> index =
        m_hitCache.topmostHit(m_annotations, point, kAnnotationHitTolerance);
    if (!index)
        return;
    const QUuid id = m_annotations[*index].id;
    pushUndo();
    removeAnnotationsWhere([&id](const Annotation& a) { return a.id == id; });
    if (m_selectedID == id)
        setSelectedID(std::nullopt);
    notifyRenderers();
}

void AnnotationStore::eraseInRect() {
    if (!m_eraserRect)
        return;
    const QRectF rect = m_eraserRect->normalized();
    setEraserRect(std::nullopt);
    const auto touched = [&rect](const Annotation& a) { return meets(a.bounds(), rect); };
    if (std::none_of(m_annotations.cbegin(), m_annotations.cend(), touched)) {
        notifyRenderers();
        return;
    }
    const std::optional<qsizetype> selected = selectedIndex();
    const bool selectionErased = selected && touched(m_annotations[*selected]);
    pushUndo();
    removeAnnotationsWhere(touched);
    if (selectionErased)
        setSelectedID(std::nullopt);
    notifyRenderers();
}

void AnnotationStore::deleteAnnotation(const QUuid& id) {
    const auto matches = [&id](const Annotation& a) { return a.id == id; };
    if (std::none_of(m_annotations.cbegin(), m_annotations.cend(), matches))
        return;
    pushUndo();
    removeAnnotationsWhere(matches);
    if (m_selectedID == id)
        setSelectedID(std::nullopt);
    notifyRenderers();
}

void AnnotationStore::deleteSelected() {
    const std::optional<qsizetype> index = selectedIndex();
    if (!index)
        return;
    pushUndo();
    const QUuid id = m_annotations[*index].id;
    removeAnnotationsWhere([&id](const Annotation& a) { return a.id == id; });
    setSelectedID(std::nullopt);
    notifyRenderers();
}

void AnnotationStore::clear() {
    if (m_annotations.isEmpty())
        return;
    pushUndo();
    replaceAnnotations({});
    m_activeAnnotation.reset();
    setSelectedID(std::nullopt);
    m_fadeTimer.stop();
    notifyRenderers();
}

} // namespace markvane
