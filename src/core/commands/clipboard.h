// Copy and paste: the texts the Edit menu puts on the clipboard and the
// reading of pasted text. The window only carries them to and from the
// system clipboard.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/calc/calculator.h"

namespace tallix {

// What Paste reads before a decimal number in any base: Copy writes it in
// an integer base for a value the display cannot show in that base (1E25,
// 2.5, a value beyond the word), whose decimal text would otherwise be read
// as digits of the base ("DEC:1E25" in HEX).
inline constexpr std::string_view kDecimalMark = "DEC:";

// Level 1 as Copy gives it, so that Paste in the same base gives back the
// same value: in DEC its whole stored text (18 digits, the locale's
// separator); in an integer base the text the display shows (FF) when that
// reads back as the value, else the decimal text after kDecimalMark. Empty
// for an empty stack.
std::string CopyText(const Calculator& calc);

// Every level, deepest first, each as CopyText gives it and followed by a
// line feed, so that Paste in the same base gives back the same stack.
// Empty for an empty stack.
std::string CopyStackText(const Calculator& calc);

// Clipboard text read as numbers.
struct PasteParse {
    bool ok = true;
    std::vector<std::string> texts;        // stack texts in paste order: the last ends at level 1
    Value lastValue = 0;                   // the last piece's value
    std::string badPiece;                  // the first piece that is no number, when !ok
    Reason reason = Reason::InvalidSyntax; // why it is none: bad syntax or Overflow
};

// Splits the text at blanks, tabs and line ends (a run of them is one
// split, so a trailing line end adds nothing) and reads every piece as the
// entry line would read it in the current base and locale. In DEC a point
// is read as the decimal separator in a comma locale too, when the piece
// holds no comma; a minus sign (U+2212) is read as "-"; a piece that starts
// with kDecimalMark is read as a decimal number in every base. A number
// beyond the range fails with Overflow, anything else that is no number
// with Invalid Syntax.
PasteParse ParsePaste(const Calculator& calc, std::string_view clipboard);

// Pastes the text, all or nothing: a number still in the entry line is
// entered first (a step of its own), then every piece is pushed as one undo
// step, as if each had been typed and entered. A piece that is no number
// pushes nothing and shows "Paste Error: \"piece\"\r\nInvalid Syntax" (or
// Overflow).
// Returns whether anything was pushed.
bool PasteText(Calculator& calc, std::string_view clipboard);

} // namespace tallix
