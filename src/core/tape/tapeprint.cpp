#include "core/tape/tapeprint.h"

#include "core/number/numtext.h"

namespace tallix::tape {

print::TStackListing BuildTapeListing(const Tape& tape, const print::TStackListingSettings& s) {
    // The stack listing's frame (header, footer), with a caption column of
    // 40% of the body and the value in the rest.
    print::TStackListing listing = print::BuildStackListing({}, s, {});
    const long double body = static_cast<long double>(s.PaperWidth) - s.MarginLeft - s.MarginRight;
    const std::string caption = FormatGeneral(body * 0.4L, 6, s.DecimalSeparator);
    const std::string value = FormatGeneral(body * 0.6L, 6, s.DecimalSeparator);
    listing.TableFormat = "<" + caption + "|>" + value;
    listing.Rows.reserve(tape.Size());
    for (const Line& line : tape.Lines())
        listing.Rows.push_back(
            {line.undone ? (line.caption.empty() ? "(undone)" : line.caption + " (undone)")
                         : line.caption,
             line.shown});
    return listing;
}

void PrintTape(print::TLinePrinter& printer, const Tape& tape, char decimalSeparator,
               const print::TPrintFont& displayFont) {
    const print::TStackListing listing =
        BuildTapeListing(tape, {printer.PaperWidth(), printer.MarginLeft(), printer.MarginRight(),
                                decimalSeparator});
    const std::string title = printer.Title();
    printer.SetTitle(kTapeListingTitle);
    try {
        print::PrintStackListing(printer, listing, displayFont);
    } catch (...) {
        printer.SetTitle(title);
        throw;
    }
    printer.SetTitle(title);
}

} // namespace tallix::tape
