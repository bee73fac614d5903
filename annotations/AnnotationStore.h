#pragma once

#include "annotations/Annotation.h"
#include "annotations/AnnotationHandles.h"
#include "annotations/AnnotationHitCache.h"
#include "annotations/Tool.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QTimer>
#include <QUuid>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace markvane {

namespace platform {
class Clock;
class PreferencesStore;
class Pasteboard;
class ScreenCapture;
struct ScreenInfo;
} // namespace platform

class AnnotationRenderer;

// The one model behind all drawing: tool settings, the annotations in drawing
// order, the selection, the stroke being drawn, whole-list undo and redo, and
// auto-erase. Tool settings persist in the preferences store. Every change
// tells the registered renderers, then emits changed().
class AnnotationStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(markvane::Tool tool READ tool WRITE setTool NOTIFY toolChanged)
    Q_PROPERTY(int paletteIndex READ paletteIndex WRITE setPaletteIndex NOTIFY paletteIndexChanged)
    Q_PROPERTY(int widthIndex READ widthIndex WRITE setWidthIndex NOTIFY widthIndexChanged)
    Q_PROPERTY(markvane::FadeInterval fade READ fade WRITE setFade NOTIFY fadeChanged)
    Q_PROPERTY(QList<QColor> palette READ palette NOTIFY paletteChanged)
    Q_PROPERTY(
        QString currentStamp READ currentStamp WRITE setCurrentStamp NOTIFY currentStampChanged)
    Q_PROPERTY(markvane::RedactStyle redactStyle READ redactStyle WRITE setRedactStyle NOTIFY
                   redactStyleChanged)
    Q_PROPERTY(bool hidden READ hidden WRITE setHidden NOTIFY hiddenChanged)
    Q_PROPERTY(QList<markvane::Annotation> annotations READ annotations NOTIFY annotationsChanged)
    Q_PROPERTY(std::optional<QUuid> selectedID READ selectedID WRITE setSelectedID NOTIFY
                   selectedIDChanged)
    Q_PROPERTY(std::optional<QRectF> eraserRect READ eraserRect WRITE setEraserRect NOTIFY
                   eraserRectChanged)
    Q_PROPERTY(
        std::optional<QRectF> snipeRect READ snipeRect WRITE setSnipeRect NOTIFY snipeRectChanged)

public:
    struct Services {
        platform::Clock* clock = nullptr;                  // required
        platform::PreferencesStore* preferences = nullptr; // required
        platform::Pasteboard* pasteboard = nullptr;
        platform::ScreenCapture* capture = nullptr;
    };
    // Draws one annotation into an image for the pasteboard; none when there
    // is nothing to draw.
    using Imager = std::function<std::optional<QImage>(const Annotation&)>;

    static constexpr int maxUndo = 50;
    static constexpr qsizetype maxAnnotations = 500;
    static constexpr double nudgeInterval = 0.6; // seconds between coalesced steps
    static constexpr double fadeTickInterval = 1.0 / 30;

    explicit AnnotationStore(Services services, QObject* parent = nullptr);
    ~AnnotationStore() override;

    // The process-wide store, built from platform::services() on first use.
    static AnnotationStore& shared();

    void setAnnotationImager(Imager imager);

    // Settings. Assigning a tool always runs the tool-change step (and
    // signals, even when the tool is the same: choosing a tool means
    // something to the application).
    Tool tool() const { return m_tool; }
    void setTool(Tool tool);
    int paletteIndex() const { return m_paletteIndex; }
    void setPaletteIndex(int index);
    int widthIndex() const { return m_widthIndex; }
    void setWidthIndex(int index);
    FadeInterval fade() const { return m_fade; }
    void setFade(FadeInterval fade);
    const QList<QColor>& palette() const { return m_palette; }
    void setPaletteColor(const QColor& color, int index);
    const QString& currentStamp() const { return m_currentStamp; }
    void setCurrentStamp(const QString& stamp);
    RedactStyle redactStyle() const { return m_redactStyle; }
    void setRedactStyle(RedactStyle style);
    bool hidden() const { return m_hidden; }
    void setHidden(bool hidden);
    void toggleHidden();

    // Live state. Callers that change the rectangles while dragging call
    // notifyRenderers() themselves.
    const QList<Annotation>& annotations() const { return m_annotations; }
    std::optional<QUuid> selectedID() const { return m_selectedID; }
    void setSelectedID(std::optional<QUuid> id);
    std::optional<QRectF> eraserRect() const { return m_eraserRect; }
    void setEraserRect(std::optional<QRectF> rect);
    std::optional<QRectF> snipeRect() const { return m_snipeRect; }
    void setSnipeRect(std::optional<QRectF> rect);
    const std::optional<Annotation>& activeAnnotation() const { return m_activeAnnotation; }

    // Drawing.
    void beginStroke(QPointF point);
    void updateStroke(QPointF point, bool constrain, bool fill);
    void commitStroke();
    // Drops the stroke being drawn and notifies.
    void cancelStroke();
    // A text keeps `color` when given (an edited text keeps its own colour),
    // else takes the current palette colour.
    void addText(const QString& text, QPointF point, double fontSize,
                 std::optional<QColor> color = std::nullopt);
    void addStamp(QPointF point);
    void addSnipe(const QImage& image, const QRectF& rect);
    void commitSnipe(const platform::ScreenInfo& screen);

    // Erasing and removal.
    void eraseAt(QPointF point);
    void eraseInRect();
    void deleteAnnotation(const QUuid& id);
    void deleteSelected();
    void clear();

    // Queries.
    std::optional<QUuid> annotationID(QPointF point) const;
    std::optional<Annotation> textAnnotationAt(QPointF point) const;
    std::optional<Annotation> selectedAnnotation() const;
    std::optional<qsizetype> selectedIndex() const;
    QColor currentColor() const;
    double currentWidth() const;
    QList<Annotation> visibleAnnotations() const;

    // Editing the selection; each does nothing without one.
    void moveSelection(double dx, double dy);
    void dragSelectionHandle(const HandleKind& kind, QPointF point, bool constrain);
    void scaleSelection(int direction);
    void changeSelectionWidth(double delta);
    void applyColorToSelection(const QColor& color);
    void duplicateSelection();
    void copySelection();
    void bringToFront();
    void bringForward();
    void sendBackward();
    void sendToBack();

    // Undo.
    void pushUndo();
    void undo();
    void redo();
    bool canUndo() const { return !m_undoStack.isEmpty(); }
    bool canRedo() const { return !m_redoStack.isEmpty(); }
    // The list as it was when a drag on the selection began; the drag
    // becomes one undo step when endInteractive(true) follows.
    const std::optional<QList<Annotation>>& interactiveSnapshot() const {
        return m_interactiveSnapshot;
    }
    void setInteractiveSnapshot(std::optional<QList<Annotation>> snapshot);
    void endInteractive(bool commit);

    // Replaces one annotation's image without an undo step (live pixels).
    void setImage(const QUuid& id, const QImage& image);

    void addRenderer(AnnotationRenderer* renderer);
    void notifyRenderers();

    // Auto-erase: the timer runs only while some annotation can expire.
    bool isFadeTimerActive() const { return m_fadeTimer.isActive(); }
    void fadeTick();

    void load();
    void save();

Q_SIGNALS:
    void toolChanged();
    void paletteIndexChanged();
    void widthIndexChanged();
    void fadeChanged();
    void paletteChanged();
    void currentStampChanged();
    void redactStyleChanged();
    void hiddenChanged();
    void annotationsChanged();
    void selectedIDChanged();
    void eraserRectChanged();
    void snipeRectChanged();
    // After every notifyRenderers(), once the renderers were told.
    void changed();

private:
    double now() const;
    std::optional<double> expiryFrom(double completedAt) const;
    void coalescedStep();
    void updateFadeTimer();
    void pushSnapshot(QList<Annotation> snapshot);

    // Every change of the list goes through these so that the hit cache and
    // the annotationsChanged signal stay in step.
    void replaceAnnotations(QList<Annotation> annotations);
    void appendAnnotation(Annotation annotation);
    void removeAnnotationsWhere(const std::function<bool(const Annotation&)>& remove);
    void editAnnotation(qsizetype index, const std::function<void(Annotation&)>& edit);
    void trimToLimit();
    void moveAnnotation(qsizetype from, qsizetype to);

    // Appends a finished annotation: undo step first, then limits and fading.
    void addFinished(Annotation annotation, bool selectIt);

    Services m_services;
    Imager m_imager;

    Tool m_tool = Tool::pen;
    int m_paletteIndex = 0;
    int m_widthIndex = 1;
    FadeInterval m_fade = FadeInterval::off;
    QList<QColor> m_palette;
    QString m_currentStamp;
    RedactStyle m_redactStyle = RedactStyle::blur;
    bool m_hidden = false;

    QList<Annotation> m_annotations;
    std::optional<QUuid> m_selectedID;
    std::optional<QRectF> m_eraserRect;
    std::optional<QRectF> m_snipeRect;
    std::optional<Annotation> m_activeAnnotation;

    double m_lastNudge = 0;
    QList<QList<Annotation>> m_undoStack;
    QList<QList<Annotation>> m_redoStack;
    std::optional<QList<Annotation>> m_interactiveSnapshot;
    AnnotationHitCache m_hitCache;

    struct RendererEntry {
        std::weak_ptr<const char> lifetime;
        AnnotationRenderer* renderer;
    };
    std::vector<RendererEntry> m_renderers;
    QTimer m_fadeTimer;
};

} // namespace markvane
