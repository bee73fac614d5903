// Shows one overlay panel a screen through the X11 overlay layer, each
// painting a red 200×100 rectangle at (100, 100) on a transparent background
// under a cross-hair pointer,
// and reports what happens on stdout, one line an event (mouse presses and
// releases and key presses the panels receive among them).
//   overlay_probe [--click-through] [--keep-above] [--focus] [--menu]
// SIGUSR1 toggles click-through on every panel. --keep-above adds a small blue
// window at (150, 120) that has to stay above the panels; --focus gives the
// main screen's panel the keyboard focus; --menu opens a menu at (230, 130).
#include "platform/SystemAlerts.h"
#include "platform/x11/X11OverlayWindows.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>

using namespace markvane;

namespace {

void report(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class PrintedAlerts : public platform::SystemAlerts {
public:
    void beep() override { report(QStringLiteral("beep")); }
    void notify(const QString& title, const QString& message) override {
        report(QStringLiteral("notice %1: %2").arg(title, message));
    }
};

class ProbePanel : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(QRect(100, 100, 200, 100), Qt::red);
    }
    void mousePressEvent(QMouseEvent* event) override { reportMouse("press", event); }
    void mouseReleaseEvent(QMouseEvent* event) override { reportMouse("release", event); }
    void keyPressEvent(QKeyEvent* event) override {
        report(QStringLiteral("panel key %1").arg(event->text()));
    }
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::ActivationChange && isActiveWindow())
            report(QStringLiteral("panel active"));
        QWidget::changeEvent(event);
    }

private:
    static void reportMouse(const char* what, QMouseEvent* event) {
        const QPoint at = event->globalPosition().toPoint();
        report(QStringLiteral("panel %1 %2 %3").arg(what).arg(at.x()).arg(at.y()));
    }
};

class Probe : public QObject {
public:
    Probe(platform::OverlayWindows& overlays, bool clickThrough, int passThroughStrip)
        : overlays_(overlays), clickThrough_(clickThrough), passThroughStrip_(passThroughStrip) {
        for (QScreen* screen : QGuiApplication::screens())
            addPanel(screen);
        connect(qApp, &QGuiApplication::screenRemoved, this, [this](QScreen* screen) {
            delete panels_.take(screen);
            report(QStringLiteral("panels %1").arg(panels_.size()));
        });
        connect(&overlays, &platform::OverlayWindows::compositingChanged, this,
                [](bool on) { report(QStringLiteral("compositing %1").arg(on ? "on" : "off")); });
    }
    ~Probe() override { qDeleteAll(panels_); }

    void toggleClickThrough() {
        clickThrough_ = !clickThrough_;
        for (QWidget* panel : std::as_const(panels_))
            overlays_.setClickThrough(panel, clickThrough_);
        report(QStringLiteral("click-through %1").arg(clickThrough_ ? "on" : "off"));
    }
    qsizetype panelCount() const { return panels_.size(); }
    void focusFirstPanel() {
        if (QWidget* panel = panels_.value(QGuiApplication::primaryScreen()))
            overlays_.focusPanel(panel);
    }

private:
    void addPanel(QScreen* screen) {
        auto* panel = new ProbePanel;
        panel->setCursor(Qt::CrossCursor);
        overlays_.preparePanel(panel, screen);
        overlays_.setClickThrough(panel, clickThrough_);
        overlays_.setPassThroughArea(panel,
                                     QRect(0, 0, screen->geometry().width(), passThroughStrip_));
        panels_.insert(screen, panel);
        report(QStringLiteral("panel %1 0x%2")
                   .arg(screen->name())
                   .arg(quint64(panel->winId()), 0, 16));
    }

    platform::OverlayWindows& overlays_;
    bool clickThrough_;
    int passThroughStrip_;
    QHash<QScreen*, QWidget*> panels_;
};

} // namespace

int main(int argc, char** argv) {
    // Blocked before the toolkit starts threads, so only the signalfd sees it.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    const int signalFd = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);

    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    PrintedAlerts alerts;
    platform::X11OverlayWindows overlays(alerts);
    // --strip N: the top N points of every panel always let the pointer through.
    const qsizetype stripAt = arguments.indexOf(QStringLiteral("--strip"));
    const int strip = stripAt >= 0 ? arguments.value(stripAt + 1).toInt() : 0;
    Probe probe(overlays, arguments.contains(QStringLiteral("--click-through")), strip);

    QWidget keepAbove;
    if (arguments.contains(QStringLiteral("--keep-above"))) {
        keepAbove.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint |
                                 Qt::X11BypassWindowManagerHint);
        keepAbove.setAttribute(Qt::WA_ShowWithoutActivating);
        QPalette palette;
        palette.setColor(QPalette::Window, Qt::blue);
        keepAbove.setPalette(palette);
        keepAbove.setAutoFillBackground(true);
        keepAbove.setGeometry(150, 120, 60, 60);
        keepAbove.show();
        overlays.keepAbovePanels(&keepAbove);
    }

    QMenu menu;
    if (arguments.contains(QStringLiteral("--menu"))) {
        for (const char* item : {"First", "Second", "Third"})
            menu.addAction(QString::fromLatin1(item));
        menu.popup(QPoint(230, 130));
    }

    QSocketNotifier usr1(signalFd, QSocketNotifier::Read);
    QObject::connect(&usr1, &QSocketNotifier::activated, &probe, [&] {
        signalfd_siginfo info;
        while (read(signalFd, &info, sizeof info) == sizeof info)
            probe.toggleClickThrough();
    });

    if (arguments.contains(QStringLiteral("--focus")))
        probe.focusFirstPanel();

    report(QStringLiteral("compositing %1").arg(overlays.compositing() ? "on" : "off"));
    report(QStringLiteral("ready panels %1").arg(probe.panelCount()));
    return QApplication::exec();
}
