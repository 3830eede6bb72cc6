// The printed listing of the stack: one line per level, deepest first, with
// the level number and the entry as the display shows it, and the title,
// page number, date and time in the header and footer.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/print/lineprinter.h"

namespace tallix::print {

inline constexpr const char* kStackListingTitle = "Tallix - Stack Print";

// What the listing's layout depends on: the paper and margins in the line
// printer's measure unit, and the user's decimal separator.
struct TStackListingSettings {
    float PaperWidth = 8.5f;
    float MarginLeft = 1;
    float MarginRight = 1;
    char DecimalSeparator = '.';
};

// One line of the listing: the level label ("12:") and the entry as the
// display shows it. Both are printed literally, never read as the line
// printer's cell or macro syntax.
struct TListingRow {
    std::string Label;
    std::string Value;
    bool operator==(const TListingRow&) const = default;
};

struct TStackListing {
    // Two columns that together span the body: title or date at the left,
    // page number or time at the right.
    std::string HeaderFormat;
    std::string FooterFormat;
    // The level label and the value, right-aligned, in the locale's syntax.
    std::string TableFormat;
    char DecimalSeparator = '.';
    // Deepest level first.
    std::vector<TListingRow> Rows;
};

// The display text of one stack entry in the current base and format.
using TFormatForBase = std::function<std::string(std::string_view entry)>;

// The listing of a copy of the stack, level 1 first as the stack holds it.
// Each entry is cut to 255 characters and then formatted by `formatForBase`.
TStackListing BuildStackListing(const std::vector<std::string>& entriesTopFirst,
                                const TStackListingSettings& settings,
                                const TFormatForBase& formatForBase);

// The stack display's font where there is no window to take it from: batch
// mode's listings, text and PDF alike.
inline const TPrintFont kBatchDisplayFont{"Courier New", 9, 0, 96};

// The listing's settings that are kept with the window: 1-inch margins,
// title and page number above the body, date and time below it, ruled lines
// above and below, and the progress dialog.
void ConfigureStackPrinter(TLinePrinter& printer, char decimalSeparator);

// Prints the listing: the formats, the font (the display's font two points
// larger, with the line height of the display's size), one empty line, then
// the lines. A label or value too wide for its column widens the column
// rather than being cut. Control bytes and bytes of broken UTF-8 print as
// U+FFFD. When anything fails once the document has begun, the document
// is abandoned, so that nothing stays open, and the error is raised again.
void PrintStackListing(TLinePrinter& printer, const TStackListing& listing,
                       const TPrintFont& displayFont);

// The whole listing of a copy of the stack, level 1 first, as every listing
// is made: built for the printer's paper and margins, then printed. The date
// and time are the printer's own texts, or else the listings' clock
// (localetime.h).
void PrintStack(TLinePrinter& printer, const std::vector<std::string>& levelsTopFirst,
                char decimalSeparator, const TFormatForBase& formatForBase,
                const TPrintFont& displayFont);

} // namespace tallix::print
