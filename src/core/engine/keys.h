// Keypad keys, commands, and the tables that tie them together: which
// functions a key carries, which character of the keyboard presses it, and
// which name batch mode knows a command by.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tallix {

// The enumerators are grouped as the keypad and the menus group them.
// clang-format off
enum class Key : std::uint8_t {
    K0, K1, K2, K3, K4, K5, K6, K7, K8, K9,
    KA, KB, KC, KD, KE, KF,
    KDot, KEex, KPlusMinus, KBackspace, KSpace, KEnter,
    KPlus, KMinus, KMult, KDiv,
    KSwap, KLast, KPi,
    KSin, KCos, KTan, KSqrt, KYToX, KLog, KLn, KMod, KRdc,
    KShift,
    None
};

enum class Cmd : std::uint8_t {
    None,
    // stack and arithmetic
    Add, Sub, Mul, Div, Swap, Last, Clr, Sum, Dup2, Depth, Rotate, Roll,
    Dup, Drop, Neg, Abs, Fix,
    // scientific
    Pi, Inv, Sin, Cos, Tan, ASin, ACos, ATan, Sqrt, Sq, Pow, XRoot, Log, Alog, Ln, Exp,
    SinH, ASinH, CosH, ACosH, TanH, ATanH,
    // whole-number and number-part functions
    Mod, Fact, Gcd, Lcm, Reduce, ToFrac, Comb, Perm, Round, Floor, Ceil, CropR, CropT,
    IP, FP, Mant, Xpon, Hypot, Random,
    // integer mode
    And, Or, Xor, Not, SL, SR, RL, RR, STWS, RCWS,
    // modes
    Bin, Oct, Dec, Hex, Cyc, Deg, Rad, Grad,
    Count
};
// clang-format on

// A keypad key with its two functions. Entry-editing keys (digits, the
// separator, EEX, sign, backspace, Space, Enter) edit the entry line before
// they reach a function; see Calculator::PressKey.
struct KeyDef {
    Key key;
    std::string_view control; // the control's name, e.g. "KSin"
    char keyboard;            // the character that presses it (0: none)
    Cmd plain;
    Cmd shifted;
};

std::span<const KeyDef> KeyTable();
const KeyDef& KeyInfo(Key key);
// The key a typed character presses (after ASCII upper-casing), or
// Key::None. The decimal separator is checked before upper-casing.
Key KeyForChar(char32_t ch, char decimalChar);
// The sixteen keys with a shifted function, in the order their labels are
// updated.
std::span<const Key> ShiftedKeys();

// The keyboard help: one "key : function" line per mapped key, separated by
// CR LF, with no line break after the last.
std::string_view KeysHelpText();

// A command as batch mode names it. Commands carried by a key run through
// that key (so a disabled key makes them do nothing); the others run as
// their menu item.
struct CommandDef {
    std::string_view batchName;
    Cmd cmd;
    Key key;      // Key::None for menu commands
    bool shifted; // the key's shifted function
};

std::span<const CommandDef> CommandTable();
// Looks a name up case-insensitively ("sin", "×" and "*" included).
const CommandDef* FindCommand(std::string_view name);

} // namespace tallix
