#include "engine/keys.h"

#include <array>
#include <string>
#include <unordered_map>

namespace tallix {
namespace {

constexpr KeyDef kKeys[] = {
    {Key::K0, "K0", '0', Cmd::None, Cmd::None},
    {Key::K1, "K1", '1', Cmd::None, Cmd::None},
    {Key::K2, "K2", '2', Cmd::None, Cmd::None},
    {Key::K3, "K3", '3', Cmd::None, Cmd::None},
    {Key::K4, "K4", '4', Cmd::None, Cmd::None},
    {Key::K5, "K5", '5', Cmd::None, Cmd::None},
    {Key::K6, "K6", '6', Cmd::None, Cmd::None},
    {Key::K7, "K7", '7', Cmd::None, Cmd::None},
    {Key::K8, "K8", '8', Cmd::None, Cmd::None},
    {Key::K9, "K9", '9', Cmd::None, Cmd::None},
    {Key::KA, "KA", 'A', Cmd::None, Cmd::None},
    {Key::KB, "KB", 'B', Cmd::None, Cmd::None},
    {Key::KC, "KC", 'C', Cmd::None, Cmd::None},
    {Key::KD, "KD", 'D', Cmd::None, Cmd::None},
    {Key::KE, "KE", 'E', Cmd::None, Cmd::None},
    {Key::KF, "KF", 'F', Cmd::None, Cmd::None},
    {Key::KDot, "KDot", 0, Cmd::None, Cmd::None},
    {Key::KEex, "KEex", 'X', Cmd::None, Cmd::Fix},
    {Key::KPlusMinus, "KPlusMinus", 'N', Cmd::Neg, Cmd::Abs},
    {Key::KBackspace, "KBackspace", '\b', Cmd::Drop, Cmd::Drop},
    {Key::KSpace, "KSpace", ' ', Cmd::Dup, Cmd::Dup},
    {Key::KEnter, "KEnter", '\r', Cmd::Dup, Cmd::None},
    {Key::KPlus, "KPlus", '+', Cmd::Add, Cmd::Add},
    {Key::KMinus, "KMinus", '-', Cmd::Sub, Cmd::Sub},
    {Key::KMult, "KMult", '*', Cmd::Mul, Cmd::Mul},
    {Key::KDiv, "KDiv", '/', Cmd::Div, Cmd::Div},
    {Key::KSwap, "KSwap", 'W', Cmd::Swap, Cmd::Inv},
    {Key::KLast, "KLast", 'Z', Cmd::Last, Cmd::Clr},
    {Key::KPi, "KPi", 'P', Cmd::Pi, Cmd::Sum},
    {Key::KSin, "KSin", 'S', Cmd::Sin, Cmd::ASin},
    {Key::KCos, "KCos", 'O', Cmd::Cos, Cmd::ACos},
    {Key::KTan, "KTan", 'T', Cmd::Tan, Cmd::ATan},
    {Key::KSqrt, "KSqrt", 'Q', Cmd::Sqrt, Cmd::Sq},
    {Key::KYToX, "KYToX", 'Y', Cmd::Pow, Cmd::XRoot},
    {Key::KLog, "KLog", 'G', Cmd::Log, Cmd::Alog},
    {Key::KLn, "KLn", 'L', Cmd::Ln, Cmd::Exp},
    {Key::KMod, "KMod", 'M', Cmd::Mod, Cmd::Fact},
    {Key::KRdc, "KRdc", 'R', Cmd::Reduce, Cmd::ToFrac},
    {Key::KShift, "KShift", 0, Cmd::None, Cmd::None},
};
static_assert(std::size(kKeys) == static_cast<std::size_t>(Key::None));

constexpr Key kShifted[] = {Key::KLast,      Key::KLog,  Key::KLn,   Key::KMod,
                            Key::KRdc,       Key::KSin,  Key::KCos,  Key::KTan,
                            Key::KSqrt,      Key::KYToX, Key::KSwap, Key::KEnter,
                            Key::KPlusMinus, Key::KEex,  Key::KPi,   Key::KBackspace};

constexpr CommandDef kCommands[] = {
    // entry and stack
    {"ENTER", Cmd::Dup, Key::KEnter, false},
    {"DUP", Cmd::Dup, Key::KEnter, false},
    {"DROP", Cmd::Drop, Key::KBackspace, true},
    {"SWAP", Cmd::Swap, Key::KSwap, false},
    {"LAST", Cmd::Last, Key::KLast, false},
    {"CLR", Cmd::Clr, Key::KLast, true},
    {"DUP2", Cmd::Dup2, Key::None, false},
    {"DEPTH", Cmd::Depth, Key::None, false},
    {"ROT", Cmd::Rotate, Key::None, false},
    {"ROLL", Cmd::Roll, Key::None, false},
    {"NEG", Cmd::Neg, Key::KPlusMinus, false},
    {"ABS", Cmd::Abs, Key::KPlusMinus, true},
    {"FIX", Cmd::Fix, Key::KEex, true},
    {"SUM", Cmd::Sum, Key::KPi, true},
    {"PI", Cmd::Pi, Key::KPi, false},
    {"+", Cmd::Add, Key::KPlus, false},
    {"-", Cmd::Sub, Key::KMinus, false},
    {"*", Cmd::Mul, Key::KMult, false},
    {"×", Cmd::Mul, Key::KMult, false},
    {"/", Cmd::Div, Key::KDiv, false},
    {"÷", Cmd::Div, Key::KDiv, false},
    // scientific
    {"SIN", Cmd::Sin, Key::KSin, false},
    {"ASIN", Cmd::ASin, Key::KSin, true},
    {"COS", Cmd::Cos, Key::KCos, false},
    {"ACOS", Cmd::ACos, Key::KCos, true},
    {"TAN", Cmd::Tan, Key::KTan, false},
    {"ATAN", Cmd::ATan, Key::KTan, true},
    {"SQRT", Cmd::Sqrt, Key::KSqrt, false},
    {"SQ", Cmd::Sq, Key::KSqrt, true},
    {"^", Cmd::Pow, Key::KYToX, false},
    {"XROOT", Cmd::XRoot, Key::KYToX, true},
    {"LOG", Cmd::Log, Key::KLog, false},
    {"ALOG", Cmd::Alog, Key::KLog, true},
    {"LN", Cmd::Ln, Key::KLn, false},
    {"EXP", Cmd::Exp, Key::KLn, true},
    {"INV", Cmd::Inv, Key::KSwap, true},
    {"SINH", Cmd::SinH, Key::None, false},
    {"ASINH", Cmd::ASinH, Key::None, false},
    {"COSH", Cmd::CosH, Key::None, false},
    {"ACOSH", Cmd::ACosH, Key::None, false},
    {"TANH", Cmd::TanH, Key::None, false},
    {"ATANH", Cmd::ATanH, Key::None, false},
    // whole numbers and number parts
    {"MOD", Cmd::Mod, Key::KMod, false},
    {"!", Cmd::Fact, Key::KMod, true},
    {"GCD", Cmd::Gcd, Key::None, false},
    {"LCM", Cmd::Lcm, Key::None, false},
    {"REDUCE", Cmd::Reduce, Key::KRdc, false},
    {"A/B", Cmd::ToFrac, Key::KRdc, true},
    {"COMB", Cmd::Comb, Key::None, false},
    {"PERM", Cmd::Perm, Key::None, false},
    {"RND", Cmd::Round, Key::None, false},
    {"FLOOR", Cmd::Floor, Key::None, false},
    {"CEIL", Cmd::Ceil, Key::None, false},
    {"CROPR", Cmd::CropR, Key::None, false},
    {"CROPT", Cmd::CropT, Key::None, false},
    {"IP", Cmd::IP, Key::None, false},
    {"FP", Cmd::FP, Key::None, false},
    {"MANT", Cmd::Mant, Key::None, false},
    {"XPON", Cmd::Xpon, Key::None, false},
    {"HYPOT", Cmd::Hypot, Key::None, false},
    {"RAND", Cmd::Random, Key::None, false},
    // integer mode
    {"AND", Cmd::And, Key::None, false},
    {"OR", Cmd::Or, Key::None, false},
    {"XOR", Cmd::Xor, Key::None, false},
    {"NOT", Cmd::Not, Key::None, false},
    {"SL", Cmd::SL, Key::None, false},
    {"SR", Cmd::SR, Key::None, false},
    {"RL", Cmd::RL, Key::None, false},
    {"RR", Cmd::RR, Key::None, false},
    {"STWS", Cmd::STWS, Key::None, false},
    {"RCWS", Cmd::RCWS, Key::None, false},
    // modes
    {"BIN", Cmd::Bin, Key::None, false},
    {"OCT", Cmd::Oct, Key::None, false},
    {"DEC", Cmd::Dec, Key::None, false},
    {"HEX", Cmd::Hex, Key::None, false},
    {"CYC", Cmd::Cyc, Key::None, false},
    {"DEG", Cmd::Deg, Key::None, false},
    {"RAD", Cmd::Rad, Key::None, false},
    {"GRAD", Cmd::Grad, Key::None, false},
};

} // namespace

std::span<const KeyDef> KeyTable() { return kKeys; }

const KeyDef& KeyInfo(Key key) { return kKeys[static_cast<std::size_t>(key)]; }

std::span<const Key> ShiftedKeys() { return kShifted; }

Key KeyForChar(char32_t ch, char decimalChar) {
    if (ch == static_cast<unsigned char>(decimalChar)) return Key::KDot;
    if (ch >= 'a' && ch <= 'z') ch -= 'a' - 'A';
    if (ch == 0 || ch > 0x7f) return Key::None;
    for (const KeyDef& k : kKeys)
        if (k.keyboard != 0 && static_cast<char32_t>(k.keyboard) == ch) return k.key;
    return Key::None;
}

std::string_view KeysHelpText() {
    return "Backspace : <-/Drop\r\n"
           "Enter : Enter\r\n"
           "Shift : Shift\r\n"
           "Space : Spc\r\n"
           "0 - 9 : 0 - 9\r\n"
           "A - F : A - F\r\n"
           "G : Log\r\n"
           "L : Ln\r\n"
           "M : Mod\r\n"
           "N : Neg (+/-)\r\n"
           "O : Cos\r\n"
           "P : Pi\r\n"
           "Q : Sqrt\r\n"
           "R : Rdc\r\n"
           "S : Sin\r\n"
           "T : Tan\r\n"
           "W : Swap\r\n"
           "X : EEX\r\n"
           "Y : Y^x\r\n"
           "Z : Last\r\n"
           "+ : +\r\n"
           "- : -\r\n"
           "* : \u00d7\r\n"
           "/ : \u00f7";
}

std::span<const CommandDef> CommandTable() { return kCommands; }

const CommandDef* FindCommand(std::string_view name) {
    static const std::unordered_map<std::string_view, const CommandDef*> byName = [] {
        std::unordered_map<std::string_view, const CommandDef*> m;
        for (const CommandDef& c : kCommands) m.emplace(c.batchName, &c);
        return m;
    }();
    if (name.size() > 8) return nullptr; // longer than any command name
    char upper[8];
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        upper[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    auto it = byName.find(std::string_view(upper, name.size()));
    return it == byName.end() ? nullptr : it->second;
}

} // namespace tallix
