// Copy and paste: the texts the Edit menu puts on the clipboard and the
// reading of pasted text. The window only carries them to and from the
// system clipboard.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/calc/calculator.h"

namespace tallix {

// Level 1 as Copy gives it: in DEC its whole stored text (18 digits, the
// locale's separator), so that pasting it back gives the same value; in an
// integer base the text the display shows (FF). Empty for an empty stack.
std::string CopyText(const Calculator& calc);

// Every level, deepest first, each followed by a line feed, as batch mode
// prints the stack (base, word size and Fix applied). Empty for an empty
// stack.
std::string CopyStackText(const Calculator& calc);

// Clipboard text read as numbers.
struct PasteParse {
    bool ok = true;
    std::vector<std::string> texts; // stack texts in paste order: the last ends at level 1
    Value lastValue = 0;            // the last piece's value
    std::string badPiece;           // the first piece that is no number, when !ok
};

// Splits the text at blanks, tabs and line ends (a run of them is one
// split, so a trailing line end adds nothing) and reads every piece as the
// entry line would read it in the current base and locale. In DEC a point
// is read as the decimal separator in a comma locale too, when the piece
// holds no comma.
PasteParse ParsePaste(const Calculator& calc, std::string_view clipboard);

// Pastes the text, all or nothing: a number still in the entry line is
// entered first (a step of its own), then every piece is pushed as one undo
// step, as if each had been typed and entered. A piece that is no number
// pushes nothing and shows "Paste Error: \"piece\"\r\nInvalid Syntax".
// Returns whether anything was pushed.
bool PasteText(Calculator& calc, std::string_view clipboard);

} // namespace tallix
