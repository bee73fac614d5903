#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

namespace markvane {

// One call to make on the running instance's remote-control interface.
struct RemoteRequest {
    QString method;
    QVariantList arguments;

    friend bool operator==(const RemoteRequest&, const RemoteRequest&) = default;
};

// What one start of the program was asked to do.
struct Invocation {
    enum class Mode {
        launch,  // run the program (or bring the running one forward)
        help,    // print usage and exit
        version, // print the version and exit
        command, // autostart change and/or remote requests, then exit
    };
    Mode mode = Mode::launch;
    std::optional<bool> autostart;
    QList<RemoteRequest> requests; // in the order given

    // Only "--quit" requests: nothing is started to carry them out.
    bool quitOnly() const;
};

struct ParsedCommandLine {
    std::optional<Invocation> invocation;
    QString error; // set when invocation is empty
};

// Parses the arguments after the program name. Options take their value as
// the next argument or after "=" (--tool=pen). --help and --version win over
// everything else; an unknown option or value is an error.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

QString usageText();

} // namespace markvane
