#include "cli/batchprint.h"

#include <cctype>
#include <exception>

#include "core/print/fixedpitch.h"
#include "core/print/lineprinter.h"
#include "core/print/paper.h"
#include "core/print/stacklisting.h"

namespace tallix::cli {

namespace {

PdfListingPrinter pdfPrinter = nullptr;

bool PrintTextListing(const std::string& path, const Calculator& calc, std::string& error) {
    print::TFixedPitchDevice device(print::UserPaper());
    print::TLinePrinter lp(device);
    print::ConfigureStackPrinter(lp, calc.DecimalChar());
    lp.SetPrintToFile(true);
    lp.SetFileName(path);
    // The line printer trims blanks from its file name: that would be
    // another file than the one asked for.
    if (lp.FileName() != path) {
        error = "a file name that begins or ends with a blank is not supported";
        return false;
    }
    try {
        print::PrintStack(
            lp, calc.StackLevels(), calc.DecimalChar(),
            [&calc](std::string_view text) { return calc.FormatForBase(text); },
            print::kBatchDisplayFont);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    return true;
}

} // namespace

void SetPdfListingPrinter(PdfListingPrinter printer) { pdfPrinter = printer; }

bool IsPdfName(std::string_view path) {
    if (path.size() < 4) return false;
    const std::string_view suffix = path.substr(path.size() - 4);
    const char* pdf = ".pdf";
    for (std::size_t i = 0; i < 4; ++i)
        if (std::tolower(static_cast<unsigned char>(suffix[i])) != pdf[i]) return false;
    return true;
}

bool PrintListing(const std::string& path, const Calculator& calc, std::string& error) {
    if (IsPdfName(path) && !pdfPrinter) {
        error = "printing to PDF needs the window program";
        return false;
    }
    std::string reason;
    const bool printed =
        IsPdfName(path) ? pdfPrinter(path, calc, reason) : PrintTextListing(path, calc, reason);
    if (!printed) error = "cannot print to " + path + ": " + reason;
    return printed;
}

} // namespace tallix::cli
