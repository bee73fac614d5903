#pragma once

#include "app/CommandLine.h"

namespace markvane {

// Carries out a command-line invocation that is not a launch: the autostart
// change, then each remote request on the running instance, starting one
// first when none runs (a lone --quit starts nothing). Needs a
// QCoreApplication. Returns the process exit status.
int runRemoteCommand(const Invocation& invocation);

} // namespace markvane
