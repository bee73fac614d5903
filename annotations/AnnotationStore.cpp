#include "annotations/AnnotationStore.h"

#include "annotations/AnnotationRenderer.h"
#include "annotations/Palette.h"
#include "platform/Clock.h"
#include "platform/Services.h"

#include <QtGlobal>
#include <chrono>

namespace markvane {

AnnotationStore::AnnotationStore(Services services, QObject* parent)
    : QObject(parent), m_services(services), m_palette(defaultPalette()),
      m_currentStamp(defaultStamp()) {
    Q_ASSERT(m_services.clock && m_services.preferences);
    // Qt counts whole milliseconds; 33 ms is the closest to 1/30 s.
    m_fadeTimer.setInterval(std::chrono::milliseconds(33));
    m_fadeTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_fadeTimer, &QTimer::timeout, this, &AnnotationStore::fadeTick);

    load();
    // Subscribed after loading, so reading the stored values writes nothing.
    connect(this, &AnnotationStore::toolChanged, this, &AnnotationStore::save);
    connect(this, &AnnotationStore::paletteIndexChanged, this, &AnnotationStore::save);
    connect(this, &AnnotationStore::widthIndexChanged, this, &AnnotationStore::save);
    connect(this, &AnnotationStore::fadeChanged, this, &AnnotationStore::save);
}

AnnotationStore::~AnnotationStore() = default;

AnnotationStore& AnnotationStore::shared() {
    static AnnotationStore* const instance = [] {
        const platform::Services& services = platform::services();
        if (!services.clock || !services.preferences)
            qFatal("AnnotationStore::shared() needs the clock and preferences services");
        return new AnnotationStore(
            {services.clock, services.preferences, services.pasteboard, services.capture});
    }();
    return *instance;
}

void AnnotationStore::setAnnotationImager(Imager imager) {
    m_imager = std::move(imager);
}

double AnnotationStore::now() const {
    return m_services.clock->now();
}

std::optional<double> AnnotationStore::expiryFrom(double completedAt) const {
    if (m_fade == FadeInterval::off)
        return std::nullopt;
    return completedAt + fadeIntervalSeconds(m_fade);
}

// ---- Settings ----

void AnnotationStore::setTool(Tool tool) {
    m_tool = tool;
    Q_EMIT toolChanged();
    if (tool != Tool::move)
        setSelectedID(std::nullopt);
    notifyRenderers();
}

void AnnotationStore::setPaletteIndex(int index) {
    if (index == m_paletteIndex)
        return;
    m_paletteIndex = index;
    Q_EMIT paletteIndexChanged();
    applyColorToSelection(currentColor());
}

void AnnotationStore::setWidthIndex(int index) {
    if (index == m_widthIndex)
        return;
    m_widthIndex = index;
    Q_EMIT widthIndexChanged();
}

void AnnotationStore::setFade(FadeInterval fade) {
    if (fade == m_fade)
        return;
    m_fade = fade;
    Q_EMIT fadeChanged();
}

void AnnotationStore::setPaletteColor(const QColor& color, int index) {
    if (index < 0 || index >= m_palette.size())
        return;
    m_palette[index] = color;
    Q_EMIT paletteChanged();
    save();
    if (index == m_paletteIndex)
        applyColorToSelection(color);
    notifyRenderers();
}

void AnnotationStore::setCurrentStamp(const QString& stamp) {
    if (stamp == m_currentStamp)
        return;
    m_currentStamp = stamp;
    Q_EMIT currentStampChanged();
}

void AnnotationStore::setRedactStyle(RedactStyle style) {
    if (style == m_redactStyle)
        return;
    m_redactStyle = style;
    Q_EMIT redactStyleChanged();
}

void AnnotationStore::setHidden(bool hidden) {
    if (hidden == m_hidden)
        return;
    m_hidden = hidden;
    Q_EMIT hiddenChanged();
}

void AnnotationStore::toggleHidden() {
    setHidden(!m_hidden);
    if (m_hidden)
        setSelectedID(std::nullopt);
    notifyRenderers();
}

void AnnotationStore::setSelectedID(std::optional<QUuid> id) {
    if (id == m_selectedID)
        return;
    m_selectedID = id;
    Q_EMIT selectedIDChanged();
}

void AnnotationStore::setEraserRect(std::optional<QRectF> rect) {
    if (rect == m_eraserRect)
        return;
    m_eraserRect = rect;
    Q_EMIT eraserRectChanged();
}

void AnnotationStore::setSnipeRect(std::optional<QRectF> rect) {
    if (rect == m_snipeRect)
        return;
    m_snipeRect = rect;
    Q_EMIT snipeRectChanged();
}

// ---- Queries ----

std::optional<QUuid> AnnotationStore::annotationID(QPointF point) const {
    const std::optional<qsizetype> index =
        m_hitCache.topmostHit(m_annotations, point, kAnnotationHitTolerance);
    if (!index)
        return std::nullopt;
    return m_annotations[*index].id;
}

std::optional<Annotation> AnnotationStore::textAnnotationAt(QPointF point) const {
    const std::optional<qsizetype> index =
        m_hitCache.topmostHit(m_annotations, point, kAnnotationHitTolerance,
                              [](const Annotation& a) { return a.tool == Tool::text; });
    if (!index)
        return std::nullopt;
    return m_annotations[*index];
}

std::optional<qsizetype> AnnotationStore::selectedIndex() const {
    if (!m_selectedID)
        return std::nullopt;
    for (qsizetype i = 0; i < m_annotations.size(); ++i) {
        if (m_annotations[i].id == *m_selectedID)
            return i;
    }
    return std::nullopt;
}

std::optional<Annotation> AnnotationStore::selectedAnnotation() const {
    const std::optional<qsizetype> index = selectedIndex();
    if (!index)
        return std::nullopt;
    return m_annotations[*index];
}

QColor AnnotationStore::currentColor() const {
    if (m_paletteIndex >= 0 && m_paletteIndex < m_palette.size())
        return m_palette[m_paletteIndex];
    return systemRed();
}

double AnnotationStore::currentWidth() const {
    return strokeWidth(m_widthIndex);
}

QList<Annotation> AnnotationStore::visibleAnnotations() const {
    QList<Annotation> visible;
    if (!m_hidden)
        visible = m_annotations;
    if (m_activeAnnotation)
        visible.append(*m_activeAnnotation);
    return visible;
}

// ---- Renderers ----

void AnnotationStore::addRenderer(AnnotationRenderer* renderer) {
    if (!renderer)
        return;
    for (const RendererEntry& entry : m_renderers) {
        if (entry.renderer == renderer && !entry.lifetime.expired())
            return;
    }
    m_renderers.push_back({renderer->m_lifetime, renderer});
}

void AnnotationStore::notifyRenderers() {
    std::erase_if(m_renderers, [](const RendererEntry& entry) { return entry.lifetime.expired(); });
    // A renderer may add or destroy renderers while being told; walk a copy
    // and check each one is still alive right before calling it.
    const std::vector<RendererEntry> current = m_renderers;
    for (const RendererEntry& entry : current) {
        if (const auto alive = entry.lifetime.lock())
            entry.renderer->annotationsDidChange();
    }
    Q_EMIT changed();
}

// ---- Undo ----

void AnnotationStore::pushSnapshot(QList<Annotation> snapshot) {
    m_undoStack.append(std::move(snapshot));
    if (m_undoStack.size() > maxUndo)
        m_undoStack.remove(0, m_undoStack.size() - maxUndo);
    m_redoStack.clear();
}

void AnnotationStore::pushUndo() {
    // An implicitly shared copy: O(1) until either side is edited.
    pushSnapshot(m_annotations);
}

void AnnotationStore::undo() {
    if (m_undoStack.isEmpty())
        return;
    QList<Annotation> snapshot = m_undoStack.takeLast();
    m_redoStack.append(m_annotations);
    replaceAnnotations(std::move(snapshot));
    setSelectedID(std::nullopt);
    updateFadeTimer();
    notifyRenderers();
}

void AnnotationStore::redo() {
    if (m_redoStack.isEmpty())
        return;
    QList<Annotation> snapshot = m_redoStack.takeLast();
    m_undoStack.append(m_annotations);
    replaceAnnotations(std::move(snapshot));
    setSelectedID(std::nullopt);
    updateFadeTimer();
    notifyRenderers();
}

void AnnotationStore::setInteractiveSnapshot(std::optional<QList<Annotation>> snapshot) {
    m_interactiveSnapshot = std::move(snapshot);
}

void AnnotationStore::endInteractive(bool commit) {
    if (commit && m_interactiveSnapshot)
        pushSnapshot(std::move(*m_interactiveSnapshot));
    m_interactiveSnapshot.reset();
}

void AnnotationStore::coalescedStep() {
    const double t = now();
    if (t - m_lastNudge > nudgeInterval)
        pushUndo();
    m_lastNudge = t;
}

// ---- Fading ----

void AnnotationStore::updateFadeTimer() {
    m_fadeTimer.stop();
    for (const Annotation& annotation : m_annotations) {
        if (annotation.expiresAt) {
            m_fadeTimer.start();
            return;
        }
    }
}

void AnnotationStore::fadeTick() {
    const double t = now();
    removeAnnotationsWhere([t](const Annotation& a) { return a.expiresAt && *a.expiresAt <= t; });
    if (m_selectedID && !selectedIndex())
        setSelectedID(std::nullopt);
    const bool canStillFade = std::any_of(m_annotations.cbegin(), m_annotations.cend(),
                                          [](const Annotation& a) { return a.expiresAt; });
    if (!canStillFade)
        m_fadeTimer.stop();
    notifyRenderers();
}

// ---- List plumbing ----

void AnnotationStore::replaceAnnotations(QList<Annotation> annotations) {
    m_annotations = std::move(annotations);
    m_hitCache.invalidate();
    Q_EMIT annotationsChanged();
}

void AnnotationStore::appendAnnotation(Annotation annotation) {
    m_hitCache.append(annotation);
    m_annotations.append(std::move(annotation));
    Q_EMIT annotationsChanged();
}

void AnnotationStore::removeAnnotationsWhere(const std::function<bool(const Annotation&)>& remove) {
    if (m_annotations.removeIf(remove) == 0)
        return;
    m_hitCache.invalidate();
    Q_EMIT annotationsChanged();
}

void AnnotationStore::editAnnotation(qsizetype index,
                                     const std::function<void(Annotation&)>& edit) {
    edit(m_annotations[index]);
    m_hitCache.update(index, m_annotations[index]);
    Q_EMIT annotationsChanged();
}

void AnnotationStore::moveAnnotation(qsizetype from, qsizetype to) {
    m_annotations.move(from, to);
    m_hitCache.invalidate();
    Q_EMIT annotationsChanged();
}

void AnnotationStore::trimToLimit() {
    const qsizetype excess = m_annotations.size() - maxAnnotations;
    if (excess <= 0)
        return;
    m_annotations.remove(0, excess);
    m_hitCache.removeFront(excess);
    Q_EMIT annotationsChanged();
}

} // namespace markvane
