// Where each key of the keypad sits and what it shows, one row per key: its
// caption (with `&` before the letter that the keyboard presses it with),
// its place and size laid out at 96 dpi, and, for a key that carries a
// second function, the Shift label above it. Which functions a key carries
// is the registry's; what presses it is the key table's.
#pragma once

#include <span>
#include <string_view>

#include "core/commands/keys.h"

namespace tallix {

struct ShiftLabelLayout {
    std::string_view name;            // the label's object name; empty: the key has none
    std::string_view caption;         // "ASin"
    int left = 0, top = 0, width = 0; // its height is the same for all
};

struct KeyLayout {
    Key key;
    std::string_view caption; // "&Sin"; the decimal point's is set from the separator
    int left, top, width, height;
    int points = 0;      // 0: the window's font
    bool symbol = false; // one sign, drawn centred by its ink
    ShiftLabelLayout label = {};
};

inline constexpr int kShiftLabelHeight = 13;

// Every key but Key::None exactly once, in the order the keypad builds them
// (rows from the top, left to right).
std::span<const KeyLayout> KeypadLayout();
const KeyLayout& LayoutOf(Key key);
// The keys of the top row, whose labels the keyboard-hidden layout hides.
std::span<const Key> TopRowKeys();
// The character a caption underlines (the one after a single `&`),
// upper-cased as the keyboard letters are; 0 when it underlines none.
char CaptionMnemonic(std::string_view caption);

} // namespace tallix
