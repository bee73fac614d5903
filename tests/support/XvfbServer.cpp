#include "support/XvfbServer.h"

#include <QStandardPaths>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace markvane::testing {

bool XvfbServer::installed() {
    return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty();
}

bool XvfbServer::start(QString* error, const QByteArray& size) {
    int fds[2];
    if (pipe(fds) != 0) {
        *error = QStringLiteral("pipe failed");
        return false;
    }
    // The server writes its display number to this descriptor once it is
    // ready for clients.
    const QByteArray fd = QByteArray::number(fds[1]);
    const char* argv[] = {"Xvfb",           "-displayfd", fd.constData(), "-screen",  "0",
                          size.constData(), "-nolisten",  "tcp",          "-noreset", nullptr};
    m_pid = fork();
    if (m_pid == 0) {
        // Should the test program crash, the server does not outlive it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        close(fds[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[0], const_cast<char**>(argv));
        _exit(127);
    }
    close(fds[1]);
    if (m_pid < 0) {
        m_pid = 0;
        close(fds[0]);
        *error = QStringLiteral("Xvfb could not be started");
        return false;
    }

    QByteArray number;
    pollfd waitFor{fds[0], POLLIN, 0};
    while (!number.endsWith('\n') && poll(&waitFor, 1, 10000) > 0) {
        char buffer[16];
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        number.append(buffer, n);
    }
    close(fds[0]);
    if (!number.endsWith('\n')) {
        *error = QStringLiteral("Xvfb did not report a display");
        return false;
    }
    m_display = ':' + number.trimmed();
    return true;
}

XvfbServer::~XvfbServer() {
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace markvane::testing
