// The word primitives deliberately work on binary digit texts rather than on
// machine words. An operand wider than the word (300 in an 8-bit word) keeps
// all of its digits, and a negative operand enters the word through its
// two's-complement text, so the results for such operands follow from one
// small algorithm instead of a list of exceptions. Texts never exceed 65
// characters, so the string work costs nothing worth measuring.

#include "core/number/baseconv.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "core/number/numtext.h"

namespace BaseConv {
namespace {

constexpr std::int64_t kMaxValue = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinValue = std::numeric_limits<std::int64_t>::min();

// Every word wider than 64 bits behaves like this one: padding a text of at
// most 63 digits to such a word leaves a leading zero, which either turns
// into a leading one (and a value of at least 2^64, a Math Error) or stays
// a harmless leading zero; and no value reaches the sign bit of such a word.
// Clamping keeps the padded texts short and ws + 1 free of overflow.
constexpr int kWidestWord = 65;

// The calculator never asks for a word of fewer than one bit. Narrower
// requests are clamped to zero bits so that they still give defined results
// and the sign recursion, which widens the word by one bit per level, stays
// shallow.
constexpr int kNarrowestWord = 0;

int ClampWord(int ws) { return std::clamp(ws, kNarrowestWord, kWidestWord); }

[[noreturn]] void FailMath() { throw EConvertError("Math Error"); }

[[noreturn]] void FailInput(std::string_view shown) {
    throw EConvertError("Invalid Input: " + std::string(shown));
}

void CheckBase(int base) {
    if (base < 2 || base > 36) throw EConvertError("Invalid Base: " + std::to_string(base));
}

// The value of a digit character, or -1 for anything that is not a digit
// in some base up to 36 (signs, blanks and separators included).
int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return -1;
}

char DigitChar(std::int64_t d) { return static_cast<char>(d < 10 ? '0' + d : 'A' + (d - 10)); }

std::int64_t Increment(std::int64_t x) {
    if (x == kMaxValue) FailMath();
    return x + 1;
}

// Whether a digit value lies in the upper half of a word of ws bits, i.e.
// above 2^(ws-1) - 1.
bool InUpperHalf(std::uint64_t r, int ws) {
    if (ws <= 0) return true;
    if (ws - 1 >= 64) return false;
    return r >= (std::uint64_t{1} << (ws - 1));
}

// Left-pads a binary text with zeros to ws characters; longer texts stay
// whole so that no digit of a value wider than the word is lost.
std::string PadToWord(std::string bits, int ws) {
    const auto width = static_cast<std::size_t>(ws);
    if (ws > 0 && bits.size() < width) bits.insert(0, width - bits.size(), '0');
    return bits;
}

// The two-operand primitives: both binary texts brought to a common length
// (the longer one's, not the word's), then combined digit by digit.
template <typename Combine>
std::int64_t CombineWords(int ws, std::int64_t x, std::int64_t y, Combine combine) {
    ws = ClampWord(ws);
    std::string a = IntToBin(ws, x);
    std::string b = IntToBin(ws, y);
    const std::size_t width = std::max(a.size(), b.size());
    a.insert(0, width - a.size(), '0');
    b.insert(0, width - b.size(), '0');
    std::string out(width, '0');
    for (std::size_t i = 0; i < width; ++i) {
        if (combine(a[i] == '1', b[i] == '1')) out[i] = '1';
    }
    return BinToInt(out, ws + 1);
}

} // namespace

std::string IntToBase(int base, int ws, std::int64_t value) {
    CheckBase(base);
    ws = ClampWord(ws);

    // A negative value enters the word as its two's complement; the negation
    // is taken on the text so that values beyond the word still convert.
    std::int64_t w = value;
    if (value < 0) {
        if (value == kMinValue) FailMath();
        w = Increment(WordNot(ws, -value));
    }

    // Truncating division: a working value still negative here (a value too
    // far below the word) shows up as a negative remainder.
    std::string digits;
    do {
        const std::int64_t d = w % base;
        w /= base;
        if (d < 0 || d > 35) {
            FailInput(tallix::FormatGeneral(static_cast<tallix::Value>(value), 15, '.'));
        }
        digits.push_back(DigitChar(d));
    } while (w != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::string IntToBin(int ws, std::int64_t value) { return IntToBase(2, ws, value); }
std::string IntToOct(int ws, std::int64_t value) { return IntToBase(8, ws, value); }
std::string IntToHex(int ws, std::int64_t value) { return IntToBase(16, ws, value); }

std::int64_t BaseToInt(int base, std::string_view text, int ws) {
    CheckBase(base);
    ws = ClampWord(ws);

    const auto limit = static_cast<std::uint64_t>(kMaxValue);
    const auto radix = static_cast<std::uint64_t>(base);
    std::uint64_t r = 0;
    for (const char c : text) {
        const int d = DigitValue(c);
        if (d < 0 || d >= base) FailInput(text);
        const auto digit = static_cast<std::uint64_t>(d);
        if (r > (limit - digit) / radix) FailMath();
        r = r * radix + digit;
    }

    const auto unsignedValue = static_cast<std::int64_t>(r);
    if (!InUpperHalf(r, ws)) return unsignedValue;
    return -Increment(WordNot(ws, unsignedValue));
}

std::int64_t BinToInt(std::string_view text, int ws) { return BaseToInt(2, text, ws); }
std::int64_t OctToInt(std::string_view text, int ws) { return BaseToInt(8, text, ws); }
std::int64_t HexToInt(std::string_view text, int ws) { return BaseToInt(16, text, ws); }

std::int64_t WordMask(int ws) {
    ws = ClampWord(ws);
    return BinToInt(std::string(static_cast<std::size_t>(ws), '1'), ws + 1);
}

std::int64_t WordNot(int ws, std::int64_t x) {
    ws = ClampWord(ws);
    std::string bits = PadToWord(IntToBin(ws, x), ws);
    for (char& c : bits) c = (c == '1') ? '0' : '1';
    return BinToInt(bits, ws + 1);
}

std::int64_t WordAnd(int ws, std::int64_t x, std::int64_t y) {
    return CombineWords(ws, x, y, [](bool a, bool b) { return a && b; });
}

std::int64_t WordOr(int ws, std::int64_t x, std::int64_t y) {
    return CombineWords(ws, x, y, [](bool a, bool b) { return a || b; });
}

std::int64_t WordXor(int ws, std::int64_t x, std::int64_t y) {
    return CombineWords(ws, x, y, [](bool a, bool b) { return a != b; });
}

std::int64_t ShiftWordLeft(int ws, bool rotate, std::int64_t x) {
    ws = ClampWord(ws);
    std::string bits = PadToWord(IntToBin(ws, x), ws);
    const char out = bits.front();
    bits.erase(0, 1);
    bits.push_back(rotate ? out : '0');
    return BinToInt(bits, ws + 1);
}

std::int64_t ShiftWordRight(int ws, bool rotate, std::int64_t x) {
    ws = ClampWord(ws);
    std::string bits = PadToWord(IntToBin(ws, x), ws);
    const char out = bits.back();
    bits.pop_back();
    bits.insert(0, 1, rotate ? out : '0');
    return BinToInt(bits, ws + 1);
}

} // namespace BaseConv
