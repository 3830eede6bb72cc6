#include "core/commands/keys.h"

#include <algorithm>
#include <climits>

namespace tallix {
namespace {

constexpr KeyDef kKeys[] = {
    {Key::K0, "K0", '0', "", "Zero", ""},
    {Key::K1, "K1", '1', "", "One", ""},
    {Key::K2, "K2", '2', "", "Two", ""},
    {Key::K3, "K3", '3', "", "Three", ""},
    {Key::K4, "K4", '4', "", "Four", ""},
    {Key::K5, "K5", '5', "", "Five", ""},
    {Key::K6, "K6", '6', "", "Six", ""},
    {Key::K7, "K7", '7', "", "Seven", ""},
    {Key::K8, "K8", '8', "", "Eight", ""},
    {Key::K9, "K9", '9', "", "Nine", ""},
    {Key::KA, "KA", 'A', "", "A", ""},
    {Key::KB, "KB", 'B', "", "B", ""},
    {Key::KC, "KC", 'C', "", "C", ""},
    {Key::KD, "KD", 'D', "", "D", ""},
    {Key::KE, "KE", 'E', "", "E", ""},
    {Key::KF, "KF", 'F', "", "F", ""},
    {Key::KDot, "KDot", 0, "", "Decimal point", ""},
    {Key::KEex, "KEex", 'X', "EEX", "Exponent", "Fix decimals"},
    {Key::KPlusMinus, "KPlusMinus", 'N', "Neg (+/-)", "Change sign", "Absolute value"},
    {Key::KBackspace, "KBackspace", '\b', "<-/Drop", "Backspace", "Drop"},
    {Key::KSpace, "KSpace", ' ', "Spc", "Space", ""},
    {Key::KEnter, "KEnter", '\r', "Enter", "Enter", "Edit"},
    {Key::KPlus, "KPlus", '+', "+", "Add", ""},
    {Key::KMinus, "KMinus", '-', "-", "Subtract", ""},
    {Key::KMult, "KMult", '*', "\u00d7", "Multiply", ""},
    {Key::KDiv, "KDiv", '/', "\u00f7", "Divide", ""},
    {Key::KSwap, "KSwap", 'W', "Swap", "Swap", "Reciprocal"},
    {Key::KLast, "KLast", 'Z', "Last", "Last arguments", "Clear stack"},
    {Key::KPi, "KPi", 'P', "Pi", "Pi", "Sum of the stack"},
    {Key::KSin, "KSin", 'S', "Sin", "Sine", "Arc sine"},
    {Key::KCos, "KCos", 'O', "Cos", "Cosine", "Arc cosine"},
    {Key::KTan, "KTan", 'T', "Tan", "Tangent", "Arc tangent"},
    {Key::KSqrt, "KSqrt", 'Q', "Sqrt", "Square root", "Square"},
    {Key::KYToX, "KYToX", 'Y', "Y^x", "Power", "Root"},
    {Key::KLog, "KLog", 'G', "Log", "Common logarithm", "Power of ten"},
    {Key::KLn, "KLn", 'L', "Ln", "Natural logarithm", "Exponential"},
    {Key::KMod, "KMod", 'M', "Mod", "Modulo", "Factorial"},
    {Key::KRdc, "KRdc", 'R', "Rdc", "Reduce fraction", "Decimal to fraction"},
    {Key::KShift, "KShift", 0, "Shift", "Shift", ""},
};
static_assert(std::size(kKeys) == static_cast<std::size_t>(Key::None));

// KeyInfo reads a key's row by its number: row i must be key i.
constexpr bool RowsInKeyOrder() {
    for (std::size_t i = 0; i < std::size(kKeys); ++i)
        if (static_cast<std::size_t>(kKeys[i].key) != i) return false;
    return true;
}
static_assert(RowsInKeyOrder(), "kKeys must list the keys in the order of enum Key");

} // namespace

std::span<const KeyDef> KeyTable() { return kKeys; }

const KeyDef& KeyInfo(Key key) { return kKeys[static_cast<std::size_t>(key)]; }

Key KeyForChar(char32_t ch, char decimalChar) {
    if (ch == static_cast<unsigned char>(decimalChar)) return Key::KDot;
    if (ch >= 'a' && ch <= 'z') ch -= 'a' - 'A';
    if (ch == 0 || ch > 0x7f) return Key::None;
    for (const KeyDef& k : kKeys)
        if (k.keyboard != 0 && static_cast<char32_t>(k.keyboard) == ch) return k.key;
    return Key::None;
}

namespace {
constexpr KeyAlias kAliases[] = {{'E', Base::DEC, Key::KEex}};
} // namespace

std::span<const KeyAlias> KeyAliasTable() { return kAliases; }

Key KeyForChar(char32_t ch, char decimalChar, Base base) {
    const Key key = KeyForChar(ch, decimalChar);
    for (const KeyAlias& a : kAliases)
        if (a.base == base &&
            key == KeyForChar(static_cast<unsigned char>(a.keyboard), decimalChar))
            return a.key;
    return key;
}

bool KeyEnabled(Base b, Key key) {
    switch (key) {
    case Key::K2:
    case Key::K3:
    case Key::K4:
    case Key::K5:
    case Key::K6:
    case Key::K7: return b != Base::BIN;
    case Key::K8:
    case Key::K9: return b == Base::DEC || b == Base::HEX;
    case Key::KA:
    case Key::KB:
    case Key::KC:
    case Key::KD:
    case Key::KE:
    case Key::KF: return b == Base::HEX;
    case Key::KDot:
    case Key::KPlusMinus:
    case Key::KEex: return b == Base::DEC;
    case Key::None: return false;
    default: return true;
    }
}

namespace {

// Up and Page Up move towards the deeper levels, at the top of the display.
constexpr ScrollKeyDef kScrollKeys[] = {
    {ScrollKey::LineUp, "Up", "Scroll up one level"},
    {ScrollKey::LineDown, "Down", "Scroll down one level"},
    {ScrollKey::PageUp, "Page Up", "Scroll up one page"},
    {ScrollKey::PageDown, "Page Down", "Scroll down one page"},
};

} // namespace

std::span<const ScrollKeyDef> ScrollKeyTable() { return kScrollKeys; }

int ScrollTarget(const ScrollBarState& sb, ScrollKey key) {
    // Computed wide: a position near the ends must not wrap around.
    const long long position = sb.Position;
    long long target = position;
    switch (key) {
    case ScrollKey::LineUp: target = position - sb.SmallChange; break;
    case ScrollKey::LineDown: target = position + sb.SmallChange; break;
    case ScrollKey::PageUp: target = position - sb.LargeChange; break;
    case ScrollKey::PageDown: target = position + sb.LargeChange; break;
    }
    return static_cast<int>(std::clamp<long long>(target, INT_MIN, INT_MAX));
}

} // namespace tallix
