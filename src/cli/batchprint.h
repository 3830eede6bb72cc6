// Batch mode's --print: the stack listing of the window's Print command,
// into a PDF file or into the line printer's plain text rendering.
#pragma once

#include <string>
#include <string_view>

#include "core/calc/calculator.h"

namespace tallix::cli {

// Prints the listing of `calc` into a PDF file at `path`, replacing it only
// when the whole document is written. On failure returns false with the
// reason in `error`.
using PdfListingPrinter = bool (*)(const std::string& path, const Calculator& calc,
                                   std::string& error);

// Batch mode draws no pages itself: the program with the toolkit installs
// the PDF printer before it runs batch mode. Null removes it.
void SetPdfListingPrinter(PdfListingPrinter printer);

// Whether a file name asks for a PDF: it ends in ".pdf", in any case.
bool IsPdfName(std::string_view path);

// Prints the listing into `path`: a PDF through the installed printer, any
// other name as the line printer's text file (header, footer and body lines
// ending in CR LF, no page breaks). An existing file is replaced only by a
// complete listing. On failure returns false with a message for the user
// in `error`: "cannot print to FILE: reason".
bool PrintListing(const std::string& path, const Calculator& calc, std::string& error);

} // namespace tallix::cli
