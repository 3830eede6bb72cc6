#include "core/commands/keys.h"

namespace tallix {
namespace {

constexpr KeyDef kKeys[] = {
    {Key::K0, "K0", '0', ""},
    {Key::K1, "K1", '1', ""},
    {Key::K2, "K2", '2', ""},
    {Key::K3, "K3", '3', ""},
    {Key::K4, "K4", '4', ""},
    {Key::K5, "K5", '5', ""},
    {Key::K6, "K6", '6', ""},
    {Key::K7, "K7", '7', ""},
    {Key::K8, "K8", '8', ""},
    {Key::K9, "K9", '9', ""},
    {Key::KA, "KA", 'A', ""},
    {Key::KB, "KB", 'B', ""},
    {Key::KC, "KC", 'C', ""},
    {Key::KD, "KD", 'D', ""},
    {Key::KE, "KE", 'E', ""},
    {Key::KF, "KF", 'F', ""},
    {Key::KDot, "KDot", 0, ""},
    {Key::KEex, "KEex", 'X', "EEX"},
    {Key::KPlusMinus, "KPlusMinus", 'N', "Neg (+/-)"},
    {Key::KBackspace, "KBackspace", '\b', "<-/Drop"},
    {Key::KSpace, "KSpace", ' ', "Spc"},
    {Key::KEnter, "KEnter", '\r', "Enter"},
    {Key::KPlus, "KPlus", '+', "+"},
    {Key::KMinus, "KMinus", '-', "-"},
    {Key::KMult, "KMult", '*', "\u00d7"},
    {Key::KDiv, "KDiv", '/', "\u00f7"},
    {Key::KSwap, "KSwap", 'W', "Swap"},
    {Key::KLast, "KLast", 'Z', "Last"},
    {Key::KPi, "KPi", 'P', "Pi"},
    {Key::KSin, "KSin", 'S', "Sin"},
    {Key::KCos, "KCos", 'O', "Cos"},
    {Key::KTan, "KTan", 'T', "Tan"},
    {Key::KSqrt, "KSqrt", 'Q', "Sqrt"},
    {Key::KYToX, "KYToX", 'Y', "Y^x"},
    {Key::KLog, "KLog", 'G', "Log"},
    {Key::KLn, "KLn", 'L', "Ln"},
    {Key::KMod, "KMod", 'M', "Mod"},
    {Key::KRdc, "KRdc", 'R', "Rdc"},
    {Key::KShift, "KShift", 0, "Shift"},
};
static_assert(std::size(kKeys) == static_cast<std::size_t>(Key::None));

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

} // namespace tallix
