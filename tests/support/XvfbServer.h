#pragma once

#include <QByteArray>
#include <QString>
#include <sys/types.h>

namespace markvane::testing {

// A private virtual X server for one test: started on a free display that the
// server picks itself, stopped (by its process id) when this object goes.
class XvfbServer {
public:
    XvfbServer() = default;
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    ~XvfbServer();

    // Whether an Xvfb program can be found on PATH.
    static bool installed();

    // Starts the server with one screen of `size` ("WxHxDepth") and waits
    // until it accepts clients; false with a reason in `error` if it does not
    // come up within a few seconds.
    bool start(QString* error, const QByteArray& size = "1280x800x24");
    // ":N", for DISPLAY or xcb_connect.
    QByteArray displayName() const { return m_display; }

private:
    pid_t m_pid = 0;
    QByteArray m_display;
};

} // namespace markvane::testing
