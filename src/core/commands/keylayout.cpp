#include "core/commands/keylayout.h"

#include <array>
#include <cstddef>

namespace tallix {
namespace {

// Function rows, hexadecimal digits, number pad.
constexpr int kCol[] = {8, 40, 72, 104, 136, 168};
constexpr int kNumCol[] = {8, 56, 104, 152};

// The shifted-function labels sit 14 pixels above their keys.
constexpr ShiftLabelLayout Label(std::string_view name, std::string_view caption, int left,
                                 int keyTop, int width = 30) {
    return {name, caption, left, keyTop - 14, width};
}

// clang-format off
constexpr KeyLayout kLayout[] = {
    {Key::KLast, "Last", kCol[0], 144, 30, 25, 0, false, Label("LClr", "CLR", kCol[0], 144)},
    {Key::KLog, "Lo&g", kCol[1], 144, 30, 25, 0, false, Label("L10x", "10\u02e3", kCol[1], 144)}, // superscript x
    {Key::KLn, "&Ln", kCol[2], 144, 30, 25, 0, false, Label("Lex", "e\u02e3", kCol[2], 144)},
    {Key::KMod, "&Mod", kCol[3], 144, 30, 25, 0, false, Label("LFact", "!", kCol[3], 144)},
    {Key::KRdc, "&Rdc", kCol[4], 144, 30, 25, 0, false, Label("Lab", "a/b", kCol[4], 144)},
    {Key::KShift, "Shift", kCol[5], 144, 30, 25},
    {Key::KSin, "&Sin", kCol[0], 184, 30, 25, 0, false, Label("Lasin", "ASin", kCol[0], 184)},
    {Key::KCos, "C&os", kCol[1], 184, 30, 25, 0, false, Label("Lacos", "ACos", kCol[1], 184)},
    {Key::KTan, "&Tan", kCol[2], 184, 30, 25, 0, false, Label("Latan", "ATan", kCol[2], 184)},
    {Key::KSqrt, "S&qrt", kCol[3], 184, 30, 25, 0, false, Label("Lx2", "x\u00b2", kCol[3], 184)},
    // y and a superscript x
    {Key::KYToX, "&y\u02e3", kCol[4], 184, 30, 25, 0, false, Label("Lxroot", "XRoot", kCol[4], 184)},
    {Key::KSwap, "S&wp", kCol[5], 184, 30, 25, 0, false, Label("L1x", "1/x", kCol[5], 184)},
    // The label spans the wide key, two pixels in from its edge.
    {Key::KEnter, "Enter", kCol[0], 224, 62, 25, 0, false, Label("LEdit", "Edit", 10, 224, 62)},
    {Key::KPlusMinus, "\u00b1", kCol[2], 224, 30, 25, 12, false, Label("LAbs", "Abs", kCol[2], 224)},
    {Key::KEex, "EE&X", kCol[3], 224, 30, 25, 0, false, Label("LFix", "Fix", kCol[3], 224)},
    {Key::KPi, "\u03c0", kCol[4], 224, 30, 25, 11, false, Label("LSigma", "\u03a3", kCol[4], 224)},
    {Key::KBackspace, "\u21d0", kCol[5], 224, 30, 25, 11, false, Label("LDrop", "Drop", kCol[5], 224)},
    {Key::KA, "A", kCol[0], 258, 30, 22},
    {Key::KB, "B", kCol[1], 258, 30, 22},
    {Key::KC, "C", kCol[2], 258, 30, 22},
    {Key::KD, "D", kCol[3], 258, 30, 22},
    {Key::KE, "E", kCol[4], 258, 30, 22},
    {Key::KF, "F", kCol[5], 258, 30, 22},
    {Key::K7, "7", kNumCol[0], 282, 46, 22},
    {Key::K8, "8", kNumCol[1], 282, 46, 22},
    {Key::K9, "9", kNumCol[2], 282, 46, 22},
    {Key::KDiv, "\u00f7", kNumCol[3], 282, 46, 22, 12, true},
    {Key::K4, "4", kNumCol[0], 306, 46, 22},
    {Key::K5, "5", kNumCol[1], 306, 46, 22},
    {Key::K6, "6", kNumCol[2], 306, 46, 22},
    {Key::KMult, "\u00d7", kNumCol[3], 306, 46, 22, 12, true},
    {Key::K1, "1", kNumCol[0], 330, 46, 22},
    {Key::K2, "2", kNumCol[1], 330, 46, 22},
    {Key::K3, "3", kNumCol[2], 330, 46, 22},
    // The minus sign, as wide as the plus; a hyphen would be a speck.
    {Key::KMinus, "\u2212", kNumCol[3], 330, 46, 22, 12, true},
    {Key::K0, "0", kNumCol[0], 354, 46, 22},
    {Key::KDot, "", kNumCol[1], 354, 46, 22},
    {Key::KSpace, "Spc", kNumCol[2], 354, 46, 22},
    {Key::KPlus, "+", kNumCol[3], 354, 46, 22, 12, true},
};
// clang-format on

constexpr std::size_t kKeyCount = static_cast<std::size_t>(Key::None);

// The row of each key; a key without a row, or with two, stops the build.
constexpr std::array<std::size_t, kKeyCount> IndexByKey() {
    std::array<std::size_t, kKeyCount> index{};
    for (std::size_t& i : index) i = kKeyCount;
    for (std::size_t row = 0; row < std::size(kLayout); ++row) {
        const auto k = static_cast<std::size_t>(kLayout[row].key);
        if (k >= kKeyCount || index[k] != kKeyCount) throw "a key with two rows";
        index[k] = row;
    }
    for (std::size_t i : index)
        if (i == kKeyCount) throw "a key without a row";
    return index;
}
constexpr std::array<std::size_t, kKeyCount> kIndex = IndexByKey();

constexpr Key kTopRow[] = {Key::KLast, Key::KLog, Key::KLn, Key::KMod, Key::KRdc};

} // namespace

std::span<const KeyLayout> KeypadLayout() { return kLayout; }

const KeyLayout& LayoutOf(Key key) { return kLayout[kIndex[static_cast<std::size_t>(key)]]; }

std::span<const Key> TopRowKeys() { return kTopRow; }

char CaptionMnemonic(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') { // "&&" shows one ampersand
            ++i;
            continue;
        }
        char c = caption[i + 1];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return c;
    }
    return 0;
}

} // namespace tallix
