// Tallix: an RPN scientific calculator. With batch options it runs on the
// command line without a window; otherwise it starts the calculator window,
// which is a program of its own so that batch mode never loads the window
// toolkit (see src/window_main.cpp).
#include <cstdio>
#include <span>

#include "cli/batch.h"
#include "cli/batchprint.h"
#include "cli/cmdline.h"
#include "cli/launch.h"

int main(int argc, char** argv) {
    using namespace tallix::cli;
    const auto args = std::span<const char* const>(argv, static_cast<std::size_t>(argc));
    const CommandLine cl = ClassifyArgs(args.subspan(args.empty() ? 0 : 1));
#ifdef TALLIX_HAVE_GUI
    if (cl.mode == StartMode::Window) return ExecWindowProgram(argv);
    // A listing printed into a PDF is drawn by the toolkit: the window
    // program runs such a batch in this one's place.
    if (cl.mode == StartMode::Batch && cl.print && IsPdfName(cl.printPath))
        return ExecWindowProgram(argv);
#endif
    return BatchMain(cl, stdin, stdout, stderr);
}
