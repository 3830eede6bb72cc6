// Tallix: an RPN scientific calculator. With batch options it runs on the
// command line without a window; otherwise it opens the calculator window.
#include "cli/batch.h"
#include "cli/batchprint.h"

#ifdef TALLIX_HAVE_GUI
#include "gui/app/app.h"
#include "gui/printing/pdflisting.h"
#endif

int main(int argc, char** argv) {
#ifdef TALLIX_HAVE_GUI
    if (!tallix::cli::WantsBatch(argc, argv)) return tallix::gui::RunWindow(argc, argv);
    // Batch mode's --print into a PDF draws its pages with the toolkit.
    tallix::cli::SetPdfListingPrinter(&tallix::gui::PrintListingToPdf);
#endif
    return tallix::cli::BatchMain(argc, argv);
}
