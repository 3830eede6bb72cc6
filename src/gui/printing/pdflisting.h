// Batch mode's --print into a PDF file, through the same printer and line
// printer as the window's Print command.
#pragma once

#include <string>

#include "core/calc/calculator.h"

namespace tallix::gui {

// Prints the stack listing of `calc` into a PDF at `path`, on the paper of
// the user's locale (letter where it states none), replacing the file only
// with a complete document. Runs without a display: where no application
// exists yet, it makes one for the print on Qt's offscreen platform (unless
// QT_QPA_PLATFORM names another). On failure returns false with the reason
// in `error`.
bool PrintListingToPdf(const std::string& path, const Calculator& calc, std::string& error);

} // namespace tallix::gui
