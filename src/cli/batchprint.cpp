#include "cli/batchprint.h"

#include <cctype>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <locale.h>
#include <time.h>

#include "core/print/fixedpitch.h"
#include "core/print/lineprinter.h"
#include "core/print/paper.h"
#include "core/print/stacklisting.h"

namespace tallix::cli {

namespace {

PdfListingPrinter pdfPrinter = nullptr;

// The window's stack display font, which batch mode does not have.
const print::TPrintFont kDisplayFont{"Courier New", 9, 0, 96};

std::string FormatNow(const char* format) {
    std::time_t now = std::time(nullptr);
    bool fixed = false;
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        char* end = nullptr;
        const long long seconds = std::strtoll(epoch, &end, 10);
        if (*end == '\0' && seconds >= 0) {
            now = static_cast<std::time_t>(seconds);
            fixed = true;
        }
    }
    std::tm parts{};
    if (!(fixed ? gmtime_r(&now, &parts) : localtime_r(&now, &parts))) return "";
    locale_t loc = newlocale(LC_TIME_MASK, "", nullptr);
    if (!loc) loc = newlocale(LC_TIME_MASK, "C", nullptr);
    char text[128];
    const std::size_t n = loc ? strftime_l(text, sizeof text, format, &parts, loc)
                              : std::strftime(text, sizeof text, format, &parts);
    if (loc) freelocale(loc);
    return std::string(text, n);
}

bool PrintTextListing(const std::string& path, const Calculator& calc, std::string& error) {
    print::TFixedPitchDevice device(print::UserPaper());
    TLocaleDateTimeTexts clock;
    print::TLinePrinter lp(device);
    lp.SetDateTimeTexts(&clock);
    print::ConfigureStackPrinter(lp, calc.DecimalChar);
    lp.SetPrintToFile(true);
    lp.SetFileName(path);
    // The line printer trims blanks from its file name: that would be
    // another file than the one asked for.
    if (lp.FileName() != path) {
        error = "a file name that begins or ends with a blank is not supported";
        return false;
    }
    try {
        const print::TStackListing listing = print::BuildStackListing(
            calc.StackLevels(),
            {lp.PaperWidth(), lp.MarginLeft(), lp.MarginRight(), calc.DecimalChar},
            [&calc](std::string_view text) { return calc.FormatForBase(text); });
        print::PrintStackListing(lp, listing, kDisplayFont);
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

std::string TLocaleDateTimeTexts::ShortDate() const { return FormatNow("%x"); }
std::string TLocaleDateTimeTexts::LongTime() const { return FormatNow("%X"); }

} // namespace tallix::cli
