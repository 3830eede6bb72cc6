// The calculator window's program. `tallix` starts it (replacing itself) for
// the window and passes its arguments on: none, or the tray start option.
// It also runs the batches that print a listing into a PDF, which needs the
// toolkit that `tallix` itself never loads.
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/batch.h"
#include "cli/batchprint.h"
#include "cli/cmdline.h"
#include "cli/launch.h"
#include "gui/app/app.h"
#include "gui/printing/pdflisting.h"

int main(int argc, char** argv) {
    using namespace tallix::cli;
    const auto args = std::span<const char* const>(argv, static_cast<std::size_t>(argc));
    const CommandLine cl = ClassifyArgs(args.subspan(args.empty() ? 0 : 1));
    if (cl.mode != StartMode::Window) {
        SetPdfListingPrinter(&tallix::gui::PrintListingToPdf);
        return BatchMain(cl, stdin, stdout, stderr);
    }
    // The toolkit would abort with a message of its own; say what happened
    // and what still works instead.
    if (!DisplayAvailable()) {
        std::fputs(kNoDisplayMessage, stderr);
        return 1;
    }
    // A display that is set but cannot be reached: one line, not the
    // toolkit's abort.
    return tallix::gui::RunWindow(argc, argv, [](const std::vector<std::string>& messages) {
        const std::string line = UnreachableDisplayMessage(
            FailedDisplayName(messages, std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                              std::getenv("QT_QPA_PLATFORM")));
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
        _exit(1);
    });
}
