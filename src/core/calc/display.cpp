// The stack display: which six entries show, their labels, the scroll bar
// and the text a line shows in the current base and Fix.
#include <algorithm>
#include <climits>

#include "core/calc/calculator.h"
#include "core/number/baseconv.h"
#include "core/number/numtext.h"
#include "core/number/utf8.h"

namespace tallix {

// ---- display ------------------------------------------------------------

namespace {
// Up to this depth the scroll arithmetic is the classic one (1000 units a
// level beyond six); deeper stacks use fewer units a level so that every
// quantity stays within 32 bits.
constexpr std::size_t kClassicDepth = 357919;
} // namespace

ScrollBarState Calculator::ScrollBar() const {
    const std::size_t n = stack_.size();
    ScrollBarState sb;
    if (n <= 6) return sb;
    const std::int64_t levels = static_cast<std::int64_t>(n) - 6;
    std::int64_t max, page, small;
    if (n <= kClassicDepth) {
        max = levels * 1000;
        page = max * 6 / static_cast<std::int64_t>(n);
        small = (max - page) / levels;
    } else {
        // Whole units a level, the page exactly six levels: the range above
        // the page is a whole number of levels, so every level is one small
        // step from the next.
        small = std::max<std::int64_t>(
            1, std::min<std::int64_t>(1000, INT_MAX / static_cast<std::int64_t>(n)));
        max = small * static_cast<std::int64_t>(n);
        page = 6 * small;
    }
    sb.Max = static_cast<int>(max);
    sb.PageSize = static_cast<int>(page);
    sb.Position = static_cast<int>(max - page);
    if (scrollPosition_) sb.Position = std::clamp(*scrollPosition_, 0, sb.Position);
    sb.SmallChange = static_cast<int>(small);
    sb.LargeChange = static_cast<int>(6 * small);
    sb.Visible = true;
    return sb;
}

std::size_t Calculator::FirstShownIndex() const {
    const ScrollBarState sb = ScrollBar();
    // How far the view is below the top of the stack, in scroll units.
    const std::int64_t off = static_cast<std::int64_t>(sb.Max) - sb.PageSize - sb.Position;
    if (off <= 0 || stack_.size() <= 6) return 0;
    return static_cast<std::size_t>(off / std::max(1, sb.SmallChange));
}

std::array<StackLine, 6> Calculator::StackLines() const {
    std::array<StackLine, 6> lines;
    const std::size_t a = FirstShownIndex();
    for (std::size_t k = 0; k < 6; ++k) {
        const std::size_t i = a + k;
        if (i < stack_.size()) lines[k].text = FormatForBase(stack_.at(i));
        lines[k].label = std::to_string(i + 1) + ":";
        lines[k].spoken = "level " + lines[k].label + " " +
                          (i < stack_.size() ? lines[k].text : std::string("empty"));
    }
    return lines;
}

void Calculator::ScrollBarScroll(int position) {
    const ScrollBarState sb = ScrollBar();
    scrollPosition_ = std::clamp(position, 0, sb.Max - sb.PageSize);
}

std::string Calculator::FormatForBase(std::string_view stackText) const {
    auto v = ParseReal(stackText, DecimalChar);
    if (!v) return CutChars(stackText, 80);
    std::string out;
    if (CurrentBase == Base::DEC) {
        out = FixLength < 0 ? FormatGeneral(*v, 15, DecimalChar)
                            : FormatFixed(*v, FixLength, DecimalChar);
    } else {
        auto i = RoundToInt64(*v);
        if (!i) return CutChars(stackText, 80);
        try {
            switch (CurrentBase) {
            case Base::BIN: out = BaseConv::IntToBin(WordSize, *i); break;
            case Base::OCT: out = BaseConv::IntToOct(WordSize, *i); break;
            default: out = BaseConv::IntToHex(WordSize, *i); break;
            }
        } catch (const BaseConv::EConvertError&) {
            return CutChars(stackText, 80);
        }
    }
    if (out.size() > 80) out.resize(80);
    return out;
}

std::string Calculator::EditText(std::string_view stackText) const {
    return CurrentBase == Base::DEC ? CutChars(stackText, 80) : FormatForBase(stackText);
}

} // namespace tallix
