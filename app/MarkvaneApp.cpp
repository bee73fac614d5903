#include "app/MarkvaneApp.h"

#include "app/AppIcon.h"
#include "app/CommandLine.h"
#include "app/ProgramShell.h"
#include "app/QuitSignals.h"
#include "app/RemoteClient.h"
#include "app/RemoteCommand.h"
#include "app/RemoteControlService.h"
#include "app/ShellMenu.h"
#include "app/TrayIcon.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <cstdio>

namespace markvane {
namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int runInstance(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Markvane"));
    QApplication::setApplicationVersion(QStringLiteral(MARKVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("markvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(appIcon());

    // Claim the session's one instance before anything shows or is written.
    RemoteControlService remote;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        if (!remote.publish(bus)) {
            const RemoteClient::Result result =
                RemoteClient(bus).call({QStringLiteral("Activate"), {}});
            std::fprintf(stderr, "Markvane is already running%s\n",
                         result.ok ? "." : qPrintable(QStringLiteral(": ") + result.error));
            return result.ok ? 0 : 1;
        }
    } else {
        std::fprintf(stderr, "Markvane: no D-Bus session bus. The command line cannot reach this "
                             "Markvane, and starting it again would run a second one.\n");
    }

    QuitSignals quitSignals;
    const std::unique_ptr<ProgramShell> program = ProgramShell::create();
    QObject::connect(&quitSignals, &QuitSignals::received, program.get(),
                     [shell = program.get()] { shell->quit(); });

    // Launch: permission flags follow activation, the tray icon with its menu,
    // then the controller, and the icon follows draw mode from then on.
    QObject::connect(&app, &QGuiApplication::applicationStateChanged, program.get(),
                     [shell = program.get()](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive)
                             shell->refreshPermissions();
                     });
    TrayIcon tray({[&] { return program->menuInputs(); },
                   [&](TrayCommand command) { runTrayCommand(*program, command); },
                   [&] { return program->noTrayNotice(); },
                   {},
                   [&](QSystemTrayIcon* icon) { program->setTrayIcon(icon); }});
    tray.start();
    program->start();
    tray.setDrawMode(program->drawModeEnabled());
    QObject::connect(program.get(), &ShellActions::drawModeChanged, &tray, &TrayIcon::setDrawMode);
    remote.setShell(program.get());

    return QApplication::exec();
}

} // namespace

int MarkvaneApp::run(int argc, char** argv) {
    const ParsedCommandLine parsed = parseCommandLine(argumentsOf(argc, argv));
    if (!parsed.invocation) {
        std::fprintf(stderr, "markvane: %s\nTry 'markvane --help'.\n", qPrintable(parsed.error));
        return 2;
    }
    switch (parsed.invocation->mode) {
    case Invocation::Mode::help:
        std::fputs(qPrintable(usageText()), stdout);
        return 0;
    case Invocation::Mode::version:
        std::printf("Markvane %s\n", MARKVANE_VERSION);
        return 0;
    case Invocation::Mode::command: {
        QCoreApplication app(argc, argv);
        return runRemoteCommand(*parsed.invocation);
    }
    case Invocation::Mode::launch:
        break;
    }
    return runInstance(argc, argv);
}

} // namespace markvane
