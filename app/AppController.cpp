#include "app/AppController.h"

#include "annotations/AnnotationStore.h"
#include "app/DrawKeyRouting.h"
#include "app/ImagePaste.h"
#include "platform/Pasteboard.h"
#include "platform/Permissions.h"
#include "platform/Screens.h"
#include "platform/SystemAlerts.h"
#include "shortcuts/DrawShortcuts.h"
#include "shortcuts/GlobalShortcuts.h"

#include <QDebug>
#include <QPointer>
#include <QStringList>

namespace markvane {

AppController::AppController(Services services, const OverlaysFactory& makeOverlays,
                             DrawKeyMonitor::Translate translateKey,
                             WelcomeAlert::Present presentWelcome, QObject* parent)
    : QObject(parent), m_services(services),
      m_hasScreenRecording(services.permissions && services.permissions->screenCaptureAllowed()),
      m_overlays(makeOverlays(*this)),
      m_keyMonitor([this] { return m_drawModeEnabled; }, std::move(translateKey),
                   [this](const DrawKey& key) { return handleDrawKey(key); }),
      m_welcome(
          *services.preferences, [this] { return currentWelcomeText(); },
          std::move(presentWelcome)) {}

AppController::~AppController() = default;

void AppController::start() {
    if (m_started)
        return;
    m_started = true;
    m_overlays->rebuild();
    // Cursor effects, the keystroke overlay and live redaction join here once
    // the program has them.
    m_keyMonitor.install();
    m_welcome.showIfNeeded();
    registerGlobalActions();
    // Choosing any tool, from anywhere, means the user wants to draw. Only
    // later choices count: the tool restored at launch does not.
    connect(m_services.store, &AnnotationStore::toolChanged, this, [this] { enterDrawMode(); });
}

void AppController::setDrawMode(bool on) {
    if (on == m_drawModeEnabled)
        return;
    m_drawModeEnabled = on;
    m_overlays->setDrawModeEnabled(on);
    m_overlays->applyDrawMode();
    Q_EMIT drawModeEnabledChanged(on);
}

void AppController::enterDrawMode() {
    if (!m_drawModeEnabled)
        setDrawMode(true);
}

void AppController::setHasScreenRecording(bool granted) {
    if (granted == m_hasScreenRecording)
        return;
    m_hasScreenRecording = granted;
    Q_EMIT hasScreenRecordingChanged(granted);
}

bool AppController::handleDrawKey(const DrawKey& key) {
    AnnotationStore& store = *m_services.store;
    const bool editingSelection = store.tool() == Tool::move && store.selectedAnnotation();
    switch (routeDrawKey(key, editingSelection)) {
    case DrawKeyCommand::none:
        break;
    case DrawKeyCommand::undo:
        store.undo();
        return true;
    case DrawKeyCommand::redo:
        store.redo();
        return true;
    case DrawKeyCommand::toggleHidden:
        store.toggleHidden();
        return true;
    case DrawKeyCommand::clear:
        store.clear();
        return true;
    case DrawKeyCommand::pasteImage:
        pasteImage();
        return true;
    case DrawKeyCommand::deleteSelected:
        store.deleteSelected();
        return true;
    case DrawKeyCommand::widthUp:
        store.changeSelectionWidth(1);
        return true;
    case DrawKeyCommand::widthDown:
        store.changeSelectionWidth(-1);
        return true;
    case DrawKeyCommand::scaleUp:
        store.scaleSelection(1);
        return true;
    case DrawKeyCommand::scaleDown:
        store.scaleSelection(-1);
        return true;
    case DrawKeyCommand::copySelection:
        store.copySelection();
        return true;
    case DrawKeyCommand::cutSelection:
        store.copySelection();
        store.deleteSelected();
        return true;
    case DrawKeyCommand::duplicateSelection:
        store.duplicateSelection();
        return true;
    }
    if (const auto action =
            m_services.drawShortcuts->actionMatching(key.keyCode, key.modifierFlags)) {
        m_services.drawShortcuts->perform(*action);
        return true;
    }
    return false;
}

void AppController::focusOverlayUnderMouse() {
    if (m_overlays->drawModeEnabled())
        m_overlays->focusPanelUnderMouse();
}

bool AppController::isOverOtherProgramWindow(QPointF globalPoint) const {
    return m_overlays->isOverOtherProgramWindow(globalPoint);
}

void AppController::pasteImage() {
    if (!m_services.pasteboard)
        return;
    const platform::PastedImage pasted = m_services.pasteboard->readImage(kMaxPastePixels);
    using Status = platform::PastedImage::Status;
    switch (pasted.status) {
    case Status::None:
        return;
    case Status::TooLarge:
        // Decoding would take hundreds of megabytes: refuse and say why.
        if (m_services.alerts)
            m_services.alerts->notify(
                QStringLiteral("Image too large to paste"),
                QStringLiteral("The image on the clipboard is %1 × %2 pixels. Markvane pastes "
                               "images of up to 50 megapixels.")
                    .arg(pasted.size.width())
                    .arg(pasted.size.height()));
        return;
    case Status::Unreadable:
        if (m_services.alerts)
            m_services.alerts->notify(QStringLiteral("Cannot paste the image"),
                                      QStringLiteral("The image on the clipboard could not be "
                                                     "read."));
        return;
    case Status::Image:
        break;
    }
    const auto rect = pastedImageRect(pasted.image.deviceIndependentSize(),
                                      m_services.screens->pointerLocation());
    if (rect)
        m_services.store->addSnipe(pasted.image, *rect);
}

void AppController::registerGlobalActions() {
    GlobalShortcuts& shortcuts = *m_services.globalShortcuts;
    AnnotationStore* store = m_services.store;
    QPointer<AppController> self(this);
    shortcuts.setHandler(GlobalAction::drawMode, [self] {
        if (self)
            self->toggleDrawMode();
    });
    shortcuts.setHandler(GlobalAction::clear, [store] { store->clear(); });
    shortcuts.setHandler(GlobalAction::hideAll, [store] { store->toggleHidden(); });
    shortcuts.setHandler(GlobalAction::undo, [store] { store->undo(); });
    shortcuts.setHandler(GlobalAction::redo, [store] { store->redo(); });
    // The toolbar, the keystroke overlay and the cursor effects are not in
    // the program yet: their hot keys are registered, so the combinations are
    // reserved and warned about, but pressing them does nothing until then.
    shortcuts.setHandler(GlobalAction::toolbar, {});
    shortcuts.setHandler(GlobalAction::keystrokes, {});
    shortcuts.setHandler(GlobalAction::cursorEffect, {});
    shortcuts.applyAll();
    reportUnavailableHotKeys();
}

void AppController::reportUnavailableHotKeys() {
    // Without this the user would only find out by pressing a key that does
    // nothing: say once, at launch, which hot keys the desktop refused.
    const GlobalShortcuts& shortcuts = *m_services.globalShortcuts;
    QStringList refused;
    for (GlobalAction action : allGlobalActions()) {
        if (shortcuts.isRegistered(action))
            continue;
        const QString warning = shortcuts.warning(action);
        refused.append(warning.isEmpty() ? globalActionLabel(action) : warning);
    }
    if (refused.isEmpty())
        return;
    for (const QString& line : std::as_const(refused))
        qWarning().noquote() << "Markvane:" << line;
    if (m_services.alerts)
        m_services.alerts->notify(QStringLiteral("Some shortcuts are not available"),
                                  refused.join(QLatin1Char('\n')));
}

QString AppController::currentWelcomeText() const {
    const GlobalShortcuts& shortcuts = *m_services.globalShortcuts;
    return welcomeText(shortcuts.shortcut(GlobalAction::drawMode).displayString(KeyVocabulary::pc),
                       shortcuts.shortcut(GlobalAction::toolbar).displayString(KeyVocabulary::pc));
}

} // namespace markvane
