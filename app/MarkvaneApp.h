#pragma once

namespace markvane {

// The program's entry: reads the command line, then either talks to the
// running instance (starting one when a command needs it) or becomes the
// session's one instance and runs until "Quit Markvane".
class MarkvaneApp {
public:
    static int run(int argc, char** argv);
};

} // namespace markvane
