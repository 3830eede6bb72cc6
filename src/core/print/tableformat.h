// The text forms of the line printer: column formats, cells, macros, and
// cutting a text to a column. Pure functions; measuring is passed in.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tallix::print {

enum class TAlignment : std::uint8_t { Left = 0, Right = 1, Centre = 2 };

// Every "|" ends an item and the rest after the last "|" is the last item:
// "" gives one empty item and "a|" gives "a" and "".
std::vector<std::string> SplitColumns(std::string_view text);

struct TColumnFormat {
    TAlignment Alignment = TAlignment::Left;
    float Width = 0; // in measure units
};

// A width in the general number format with 15 significant digits.
std::string FormatColumnWidth(float width, char decimalSeparator);

// One column format: an optional "<", ">" or "^" and a width written with
// `decimalSeparator`. No width, or one that does not parse, gives
// `defaultWidth`; any other first character means left alignment and makes
// the whole format the width.
TColumnFormat ParseColumnFormat(std::string_view format, float defaultWidth, char decimalSeparator);

// Replaces every occurrence of `token` in `text` by `value`, searching from
// the start again after each replacement. A value that contains the token
// itself leaves the text unchanged, since the replacing would never end.
std::string ReplaceMacro(std::string_view token, std::string_view value, std::string text);

// The values of the macros a cell may hold.
struct TMacroValues {
    std::uint32_t Line = 0;
    std::int64_t Page = 0;
    std::string Date;
    std::string Time;
    std::string Title;
};

// "{$LINE}", "{$PAGE}", "{$DATE}", "{$TIME}" and "{$TITLE}", replaced in
// this order; the names are case-sensitive.
std::string ExpandMacros(std::string text, const TMacroValues& values);

// Measures a text in pixels; may throw EPrinter.
using TTextMeasure = std::function<int(std::string_view)>;

// The text when it is at most `maxWidth` wide, else its longest prefix that
// is, but never less than one character (a UTF-8 sequence counts as one
// character and is never split). A printer error while measuring gives the
// text unchanged.
std::string FitText(std::string_view text, std::int64_t maxWidth, const TTextMeasure& width);

// n blanks; nothing when n is 0 or less.
std::string Spaces(std::int64_t n);

} // namespace tallix::print
