#include "core/print/tableformat.h"

#include <cfloat>
#include <cmath>

#include "core/number/numtext.h"
#include "core/number/utf8.h"
#include "core/print/printdevice.h"

namespace tallix::print {

std::vector<std::string> SplitColumns(std::string_view text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    for (std::size_t bar = text.find('|'); bar != std::string_view::npos;
         bar = text.find('|', start)) {
        items.emplace_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    items.emplace_back(text.substr(start));
    return items;
}

std::string FormatColumnWidth(float width, char decimalSeparator) {
    return FormatGeneral(static_cast<Value>(width), 15, decimalSeparator);
}

TColumnFormat ParseColumnFormat(std::string_view format, float defaultWidth,
                                char decimalSeparator) {
    std::string text(format);
    if (text.empty()) text = "<" + FormatColumnWidth(defaultWidth, decimalSeparator);
    if (text == "<" || text == ">" || text == "^")
        text += FormatColumnWidth(defaultWidth, decimalSeparator);

    TColumnFormat column;
    std::string_view width = text;
    switch (text.front()) {
    case '<': column.Alignment = TAlignment::Left; break;
    case '>': column.Alignment = TAlignment::Right; break;
    case '^': column.Alignment = TAlignment::Centre; break;
    default: column.Alignment = TAlignment::Left; break;
    }
    if (text.front() == '<' || text.front() == '>' || text.front() == '^') width.remove_prefix(1);

    column.Width = defaultWidth;
    // A width beyond the 32-bit range does not count as a number either.
    if (const auto v = ParseReal(width, decimalSeparator); v && std::fabs(*v) <= FLT_MAX)
        column.Width = static_cast<float>(*v);
    return column;
}

std::string ReplaceMacro(std::string_view token, std::string_view value, std::string text) {
    if (token.empty() || value.find(token) != std::string_view::npos) return text;
    // Every occurrence takes at least one character of the original text
    // away, so there are never more replacements than that text has
    // characters; the bound only makes the end certain.
    std::size_t budget = text.size();
    for (std::size_t at = text.find(token); at != std::string::npos && budget > 0;
         at = text.find(token), --budget)
        text.replace(at, token.size(), value);
    return text;
}

std::string ExpandMacros(std::string text, const TMacroValues& values) {
    text = ReplaceMacro("{$LINE}", std::to_string(values.Line), std::move(text));
    text = ReplaceMacro("{$PAGE}", std::to_string(values.Page), std::move(text));
    text = ReplaceMacro("{$DATE}", values.Date, std::move(text));
    text = ReplaceMacro("{$TIME}", values.Time, std::move(text));
    return ReplaceMacro("{$TITLE}", values.Title, std::move(text));
}

namespace {

// The byte offset where each character ends, so that ends[n - 1] is the
// length of the first n characters.
std::vector<std::size_t> CharacterEnds(std::string_view text) {
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < text.size();) {
        i += CharLength(text, i);
        ends.push_back(i);
    }
    return ends;
}

} // namespace

std::string FitText(std::string_view text, std::int64_t maxWidth, const TTextMeasure& width) {
    try {
        if (width(text) <= maxWidth) return std::string(text);
        const std::vector<std::size_t> ends = CharacterEnds(text);
        if (ends.empty()) return std::string(text);
        auto prefix = [&](std::size_t chars) { return text.substr(0, ends[chars - 1]); };
        // Bisection over the number of characters; it ends when the middle
        // stops moving or the bounds meet.
        std::size_t hi = ends.size(), lo = 1, mid = 0, previous = 0;
        do {
            previous = mid;
            mid = (lo + hi) / 2;
            const std::int64_t w = width(prefix(mid));
            if (w > maxWidth)
                hi = mid;
            else if (w < maxWidth)
                lo = mid;
            else
                lo = hi;
        } while (mid != previous && hi > lo);
        return std::string(prefix(mid));
    } catch (const EPrinter&) {
        return std::string(text);
    }
}

std::string Spaces(std::int64_t n) {
    return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string();
}

} // namespace tallix::print
