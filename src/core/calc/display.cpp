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
    // The classic arithmetic rounds the page and the step down, so the
    // positions near the top would count past the deepest level.
    return std::min(static_cast<std::size_t>(off / std::max(1, sb.SmallChange)), stack_.size() - 6);
}

std::array<StackLine, 6> Calculator::StackLines(std::size_t columns) const {
    std::array<StackLine, 6> lines;
    const std::size_t a = FirstShownIndex();
    for (std::size_t k = 0; k < 6; ++k) {
        const std::size_t i = a + k;
        if (i < stack_.size()) {
            lines[k].full = FormatForBase(stack_.at(i));
            lines[k].text = FitLine(lines[k].full, columns);
        }
        lines[k].label = LevelLabel(i + 1);
        lines[k].spoken = "level " + lines[k].label + " " +
                          (i < stack_.size() ? lines[k].full : std::string("empty"));
    }
    return lines;
}

std::string LevelLabel(std::size_t level) { return std::to_string(level) + ":"; }

std::string FitLine(std::string_view text, std::size_t columns) {
    static constexpr std::string_view kCut = "\xE2\x80\xA6"; // "…" in UTF-8
    if (CountChars(text) <= columns) return std::string(text);
    const bool negative = !text.empty() && text.front() == '-';
    const std::size_t marker = negative ? 2 : 1;
    if (columns <= marker) return std::string(negative ? "-" : "") + std::string(kCut);
    return std::string(negative ? "-" : "") + std::string(kCut) + LastChars(text, columns - marker);
}

std::string AngleToolTip(AngleUnit unit) {
    static constexpr const char* kNames[] = {"cycles", "degrees", "radians", "gradients"};
    const int next = (AngleUnitNumber(unit) + 1) % 4;
    return AngleSpoken(unit) + "\nDouble-click for the next unit: " + kNames[next];
}

std::string BaseToolTip(Base base, std::int32_t wordSize, std::int32_t fixLength) {
    static constexpr const char* kNames[] = {"binary", "octal", "decimal", "hexadecimal"};
    std::string tip = BaseSpoken(base);
    tip += "\nWord size: " + std::to_string(wordSize) + (wordSize == 1 ? " bit" : " bits");
    if (fixLength >= 0)
        tip += "\nFix: " + std::to_string(fixLength) + (fixLength == 1 ? " decimal" : " decimals");
    const int next = (static_cast<int>(base) + 1) % 4;
    return tip + "\nDouble-click for the next base: " + kNames[next];
}

void Calculator::ScrollBarScroll(int position) {
    const ScrollBarState sb = ScrollBar();
    scrollPosition_ = std::clamp(position, 0, sb.Max - sb.PageSize);
}

std::string Calculator::FormatForBase(std::string_view stackText) const {
    auto v = ParseReal(stackText, decimalChar_);
    if (!v) return CutChars(stackText, 80);
    std::string out;
    if (currentBase_ == Base::DEC) {
        out = fixLength_ < 0 ? FormatGeneral(*v, 15, decimalChar_)
                             : FormatFixed(*v, fixLength_, decimalChar_);
    } else {
        auto i = RoundToInt64(*v);
        if (!i) return CutChars(stackText, 80);
        try {
            switch (currentBase_) {
            case Base::BIN: out = BaseConv::IntToBin(wordSize_, *i); break;
            case Base::OCT: out = BaseConv::IntToOct(wordSize_, *i); break;
            default: out = BaseConv::IntToHex(wordSize_, *i); break;
            }
        } catch (const BaseConv::EConvertError&) {
            return CutChars(stackText, 80);
        }
    }
    if (out.size() > 80) out.resize(80);
    return out;
}

std::string Calculator::EditText(std::string_view stackText) const {
    return currentBase_ == Base::DEC ? CutChars(stackText, 80) : FormatForBase(stackText);
}

} // namespace tallix
