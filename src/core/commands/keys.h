// The keypad: every key with its control name, the keyboard character that
// presses it and what the keys help (F1) calls it. Which commands a key
// carries, plain and shifted, is said by the commands' rows in the
// registry.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/calc/calculator.h"

namespace tallix {

// The enumerators are grouped as the keypad groups them.
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
// clang-format on

struct KeyDef {
    Key key;
    std::string_view control; // the control's name, e.g. "KSin"
    char keyboard;            // the character that presses it (0: none)
    std::string_view help;    // its function in the keys help, e.g. "Sin"
    // What a screen reader says the key does, e.g. "Sine", and with Shift
    // on ("Arc sine"; empty for a key with one function).
    std::string_view spoken;
    std::string_view spokenShifted;
};

std::span<const KeyDef> KeyTable();
const KeyDef& KeyInfo(Key key);
// The key a typed character presses (after ASCII upper-casing), or
// Key::None. The decimal separator is checked before upper-casing.
Key KeyForChar(char32_t ch, char decimalChar);
// A character that presses another key in one base than its own. In DEC
// the hexadecimal digit E is off, and "e" is what people type for the
// exponent (1e20), as pasted text reads it: there it presses EEX.
struct KeyAlias {
    char keyboard; // the character (upper case)
    Base base;
    Key key; // the key it presses there
};
std::span<const KeyAlias> KeyAliasTable();
// The key a typed character presses in a base: KeyForChar, then the
// aliases.
Key KeyForChar(char32_t ch, char decimalChar, Base base);
// Whether a key works in a base (digits beyond the base, and the decimal
// keys outside DEC, are disabled).
bool KeyEnabled(Base base, Key key);
// Whether the Shift label above a key reads as active.
inline bool ShiftLabelLit(const Calculator& calc, Key key) {
    return calc.ShiftDown() && KeyEnabled(calc.CurrentBase(), key);
}

// The keyboard's Shift key. Its press toggles the Shift state as the Shift
// button does, so that a tap selects the next key's second function. A key
// typed while the Shift key is held runs its second function too, decided
// when that key goes down from the modifier it carries: a press that a
// menu or a dialog took, or an earlier key that switched Shift off, cannot
// make it run its first. One hold shifts one key, as one tap does.
class ShiftKeyboard {
public:
    // The Shift key went down; whether the press toggles the Shift state.
    // A held key's auto-repeat is no press, and neither is Shift with
    // another modifier or a mouse button held.
    bool ShiftPressed(bool autoRepeat, bool otherModifiers, bool mouseButton) {
        if (autoRepeat) return false;
        holdUsed_ = false;
        return !otherModifiers && !mouseButton;
    }
    // A key went down with the Shift modifier held or not, the Shift button
    // standing as it does: the Shift state the key runs with.
    bool KeyShifted(bool shiftButtonDown, bool shiftHeld) {
        const bool shifted = shiftButtonDown || (shiftHeld && !holdUsed_);
        holdUsed_ = shiftHeld;
        return shifted;
    }

private:
    bool holdUsed_ = false; // the Shift key held now has shifted a key already
};

// The keys that scroll the stack display, by what they do, and what the
// keys help calls them.
enum class ScrollKey : std::uint8_t { LineUp, LineDown, PageUp, PageDown };

struct ScrollKeyDef {
    ScrollKey key;
    std::string_view name; // "Page Up"
    std::string_view help; // "Scroll up one page"
};

std::span<const ScrollKeyDef> ScrollKeyTable();
// The scroll bar position a scroll key asks for; the calculator clamps it.
int ScrollTarget(const ScrollBarState& sb, ScrollKey key);

} // namespace tallix
