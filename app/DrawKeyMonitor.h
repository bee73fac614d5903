#pragma once

#include "overlay/DrawKey.h"

#include <QObject>
#include <functional>
#include <optional>

class QKeyEvent;

namespace markvane {

// True for widgets that take typed text (line edits, text editors, spin
// boxes): their keys are the user's typing, never drawing commands.
bool isTextInputWidget(const QObject* object);

// Offers every key pressed in any window of the program to the drawing key
// routing while draw mode is on, so the editing keys work whichever of the
// program's windows has the keyboard. A consumed key is swallowed.
class DrawKeyMonitor : public QObject {
    Q_OBJECT
public:
    using IsActive = std::function<bool()>;
    // Empty for keys the program has no code for: those pass untouched.
    using Translate = std::function<std::optional<DrawKey>(const QKeyEvent&)>;
    using Route = std::function<bool(const DrawKey&)>;

    DrawKeyMonitor(IsActive isActive, Translate translate, Route route, QObject* parent = nullptr);
    ~DrawKeyMonitor() override;

    // Starts watching the application's key presses.
    void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IsActive m_isActive;
    Translate m_translate;
    Route m_route;
    bool m_installed = false;
};

} // namespace markvane
