#include "X11Session.h"

#include <QDir>
#include <QFile>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/shape.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace markvane::testing {

using namespace std::chrono;

namespace {

constexpr auto pollInterval = milliseconds(15);

// Forks and executes `arguments` with `environment` added; stdout and stderr
// go to `output`.
pid_t spawn(const QStringList& arguments, const QStringList& environment, const QString& output) {
    std::vector<QByteArray> storage;
    for (const QString& argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> variables;
    for (const QString& variable : environment)
        variables.push_back(variable.toLocal8Bit());
    const QByteArray outputPath = output.toLocal8Bit();

    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    // Should the test program itself crash, nothing it started outlives it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    for (QByteArray& variable : variables)
        putenv(variable.data()); // the child's own copy, alive until exec
    const int out = open(outputPath.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (out >= 0) {
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        close(out);
    }
    execvp(argv[0], argv.data());
    _exit(127);
}

// The exit status once `pid` ended within `timeout`; otherwise -1, and the
// process is killed.
int waitForExit(pid_t pid, milliseconds timeout) {
    const auto deadline = steady_clock::now() + timeout;
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(pid, &status, WNOHANG)) == 0 && steady_clock::now() < deadline)
        std::this_thread::sleep_for(milliseconds(5));
    if (done == pid)
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

// A window that vanished between two requests is not worth ending the test
// program for, which is what Xlib's default handler does.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

bool waitUntil(const std::function<bool()>& condition, milliseconds timeout) {
    const auto deadline = steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(pollInterval);
    }
}

void X11Session::SetUp() {
    QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/markvane-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = QString::fromLocal8Bit(pattern);
    ASSERT_EQ(mkdir(qPrintable(path(QStringLiteral("runtime"))), 0700), 0);
    ASSERT_EQ(mkdir(qPrintable(path(QStringLiteral("config"))), 0700), 0);
    // A user who has seen the greeting: no alert covers the screen.
    QFile preferences(path(QStringLiteral("config/preferences.json")));
    ASSERT_TRUE(preferences.open(QIODevice::WriteOnly));
    preferences.write(R"({"hasShownWelcome": true})");
}

void X11Session::TearDown() {
    if (display_)
        XCloseDisplay(display_);
    // Newest first; the X server itself goes with the fixture.
    while (!pids_.isEmpty())
        stop(pids_.last());
    if (dir_.isEmpty())
        return;
    if (!HasFailure())
        QDir(dir_).removeRecursively();
    else
        std::fprintf(stderr, "logs kept in %s\n", qPrintable(dir_));
}

void X11Session::startServer(bool twoMonitors) {
    QString error;
    ASSERT_TRUE(server_.start(&error, twoMonitors ? "3200x1080x24" : "1280x800x24"))
        << qPrintable(error);
    display_ = XOpenDisplay(server_.displayName().constData());
    ASSERT_NE(display_, nullptr);
    XSetErrorHandler(ignoreXError);

    startSessionBus();

    if (twoMonitors) {
        ASSERT_EQ(
            run(words(QStringLiteral("xrandr --setmonitor LEFT 1920/508x1080/286+0+0 screen"))), 0);
        ASSERT_EQ(
            run(words(QStringLiteral("xrandr --setmonitor RIGHT 1280/338x1024/270+1920+0 none"))),
            0);
    }
}

pid_t X11Session::startCompositor() {
    const pid_t pid = start(QStringLiteral("picom"),
                            words(QStringLiteral("--backend xrender --config /dev/null")),
                            path(QStringLiteral("picom.log")));
    const Atom selection = XInternAtom(display_, "_NET_WM_CM_S0", False);
    EXPECT_TRUE(waitUntil([&] { return XGetSelectionOwner(display_, selection) != None; }))
        << "the compositor did not take _NET_WM_CM_S0";
    return pid;
}

pid_t X11Session::startTarget(QRgb rgb, const QRect& geometry) {
    const QString geometryText = QStringLiteral("%1x%2+%3+%4")
                                     .arg(geometry.width())
                                     .arg(geometry.height())
                                     .arg(geometry.x())
                                     .arg(geometry.y());
    return start(QStringLiteral(TARGET_WINDOW_PATH),
                 {QString::number(rgb & 0xffffff, 16), geometryText, targetLog()},
                 path(QStringLiteral("target.out")));
}

// Programs of the session find each other on a bus of this test's own, never
// on the bus of whoever runs the tests.
void X11Session::startSessionBus() {
    const QString log = path(QStringLiteral("dbus.log"));
    pids_.append(
        spawn(words(QStringLiteral("dbus-daemon --session --nofork --print-address")), {}, log));
    ASSERT_TRUE(waitUntil([&] { return readFile(log).contains(QLatin1Char('\n')); }))
        << "dbus-daemon did not report its address";
    busAddress_ = readFile(log).section(QLatin1Char('\n'), 0, 0).trimmed();
}

QStringList X11Session::environment() const {
    return {QStringLiteral("DISPLAY=") + QString::fromLatin1(server_.displayName()),
            QStringLiteral("XDG_RUNTIME_DIR=") + path(QStringLiteral("runtime")),
            QStringLiteral("MARKVANE_CONFIG_DIR=") + path(QStringLiteral("config")),
            QStringLiteral("QT_QPA_PLATFORM=xcb"),
            QStringLiteral("QT_XCB_GL_INTEGRATION=none"),
            QStringLiteral("ASAN_OPTIONS=detect_leaks=0"),
            QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + busAddress_};
}

pid_t X11Session::start(const QString& program, const QStringList& arguments, const QString& log) {
    const pid_t pid = spawn(QStringList{program} + arguments, environment(), log);
    pids_.append(pid);
    return pid;
}

void X11Session::stop(pid_t pid) {
    if (!pids_.removeOne(pid))
        return;
    kill(pid, SIGTERM);
    waitForExit(pid, seconds(2));
}

bool X11Session::running(pid_t pid) {
    if (!pids_.contains(pid))
        return false;
    if (waitpid(pid, nullptr, WNOHANG) == 0)
        return true;
    pids_.removeOne(pid); // reaped: its id may be reused, never kill it again
    return false;
}

int X11Session::run(const QStringList& command, QString* output) {
    const QString log = path(output ? QStringLiteral("run.out") : QStringLiteral("commands.log"));
    if (output)
        QFile::remove(log);
    const pid_t pid = spawn(QStringList{QStringLiteral("timeout"), QStringLiteral("5")} + command,
                            environment(), log);
    const int status = waitForExit(pid, seconds(10));
    if (output)
        *output = readFile(log);
    return status;
}

void X11Session::xdotool(const QString& arguments) {
    EXPECT_EQ(run(QStringList{QStringLiteral("xdotool")} + words(arguments)), 0)
        << "xdotool " << qPrintable(arguments);
}

void X11Session::click(int x, int y) {
    xdotool(QStringLiteral("mousemove %1 %2 click 1").arg(x).arg(y));
}

QImage X11Session::grab(const QRect& rect) const {
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), rect.x(), rect.y(),
                              unsigned(rect.width()), unsigned(rect.height()), AllPlanes, ZPixmap);
    if (!image)
        return {};
    // Xvfb's 24-bit screens keep a pixel in 32 bits, as Format_RGB32 does.
    const QImage result = QImage(reinterpret_cast<const uchar*>(image->data), rect.width(),
                                 rect.height(), image->bytes_per_line, QImage::Format_RGB32)
                              .copy();
    XDestroyImage(image);
    return result;
}

QRgb X11Session::pixel(int x, int y) const {
    return grab(QRect(x, y, 1, 1)).pixel(0, 0);
}

bool X11Session::waitForPixel(int x, int y, QRgb rgb) {
    return waitUntil([&] { return (pixel(x, y) & 0xffffff) == (rgb & 0xffffff); });
}

bool X11Session::windowShaped(quint64 window) const {
    Bool boundingShaped = False, clipShaped = False;
    int x = 0, y = 0, cx = 0, cy = 0;
    unsigned w = 0, h = 0, cw = 0, ch = 0;
    XShapeQueryExtents(display_, Window(window), &boundingShaped, &x, &y, &w, &h, &clipShaped, &cx,
                       &cy, &cw, &ch);
    return boundingShaped;
}

void X11Session::holdHotKey(const char* key) {
    const int keyCode = XKeysymToKeycode(display_, XStringToKeysym(key));
    for (unsigned locks :
         {0u, unsigned(LockMask), unsigned(Mod2Mask), unsigned(LockMask | Mod2Mask)})
        XGrabKey(display_, keyCode, ControlMask | Mod1Mask | locks, DefaultRootWindow(display_),
                 True, GrabModeAsync, GrabModeAsync);
    XSync(display_, False);
}

QImage X11Session::cursorImage() const {
    XFixesCursorImage* cursor = XFixesGetCursorImage(display_);
    if (!cursor)
        return {};
    QImage image(cursor->width, cursor->height, QImage::Format_ARGB32);
    for (int y = 0; y < cursor->height; ++y)
        for (int x = 0; x < cursor->width; ++x)
            image.setPixel(x, y, QRgb(cursor->pixels[y * cursor->width + x]));
    image.setOffset(QPoint(cursor->xhot, cursor->yhot));
    XFree(cursor);
    return image;
}

QString X11Session::readFile(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace markvane::testing
