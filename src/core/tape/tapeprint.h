// Print Tape: the tape's lines through the line printer, as the stack
// listing prints the stack (title, page numbers, date and time).
#pragma once

#include "core/print/lineprinter.h"
#include "core/print/stacklisting.h"
#include "core/tape/tape.h"

namespace tallix::tape {

inline constexpr const char* kTapeListingTitle = "Tallix - Tape";

// The listing of the tape's lines: the caption at the left (with "(undone)"
// after a marked line's), the value right-aligned.
print::TStackListing BuildTapeListing(const Tape& tape,
                                      const print::TStackListingSettings& settings);

// Prints it under the tape's title; the printer's own title is put back
// afterwards, whether or not the printing succeeded.
void PrintTape(print::TLinePrinter& printer, const Tape& tape, char decimalSeparator,
               const print::TPrintFont& displayFont);

} // namespace tallix::tape
