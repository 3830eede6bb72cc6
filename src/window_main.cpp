// The calculator window's program. `tallix` starts it (replacing itself) for
// the window and passes its arguments on: none, or the tray start option.
#include <cstdio>

#include "app/app.h"
#include "cli/launch.h"

int main(int argc, char** argv) {
    // The toolkit would abort with a message of its own; say what happened
    // and what still works instead.
    if (!tallix::cli::DisplayAvailable()) {
        std::fputs(tallix::cli::kNoDisplayMessage, stderr);
        return 1;
    }
    return tallix::gui::RunWindow(argc, argv);
}
