// The command line of `tallix`: which start it asks for (the window, batch
// mode, help, a usage error) and the batch options it carries. Plain C++, so
// the program can decide without loading the window toolkit.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace tallix::cli {

enum class StartMode {
    Window,  // no arguments, or the tray start option alone
    Batch,   // batch options: run tokens without a window
    Help,    // --help, -h: print the usage on standard output
    Version, // --version
    List,    // --list-commands: the batch command names, one a line
    Usage,   // anything else: a message, the usage, exit status 2
};

struct CommandLine {
    StartMode mode = StartMode::Window;
    bool tray = false;   // window: start as a tray icon ("/TRAY", any case)
    std::string problem; // usage: one line naming the argument, without "tallix: "

    // Batch options.
    std::vector<std::string> evals; // -e, --eval, in order
    bool fromStdin = false;         // --batch, or only options that run no tokens
    bool raw = false;               // --raw
    bool load = false, save = false, print = false, tape = false;
    std::string loadPath, savePath, printPath, tapePath; // tapePath "-": standard output
};

// Reads the arguments after the program name.
CommandLine ClassifyArgs(std::span<const char* const> args);

// The help text, ending with a line break.
extern const char kUsage[];

} // namespace tallix::cli
