// The calculator: value stack, last arguments, modes, entry line and Shift
// state, with the primitives every command uses. The window and batch mode
// both drive one of these; neither holds numbers of its own.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/keys.h"
#include "engine/textstack.h"
#include "engine/value.h"

namespace tallix {

enum class Base : std::uint8_t { BIN, OCT, DEC, HEX };

// What the core needs from its surroundings.
class Shell {
public:
    virtual ~Shell() = default;
    // Shows a calculator error (NAME + " Error: \r\n" + reason) and returns
    // when the user has seen it.
    virtual void ShowError(const std::string& message) = 0;
    // A seed for the random-number generator, asked for once.
    virtual std::uint64_t RandomSeed();
};

// The stack scroll bar's quantities; Min is always 0.
struct ScrollBarState {
    int Max = 0;
    int PageSize = 0;
    int Position = 0;
    int SmallChange = 1000;
    int LargeChange = 6000;
    bool Visible = false;
};

struct StackLine {
    std::string text;  // what the line shows (and its tooltip)
    std::string label; // "1:" ...
};

class Calculator {
public:
    explicit Calculator(Shell& shell, char decimalChar = '.');
    Calculator(const Calculator&) = delete;
    Calculator& operator=(const Calculator&) = delete;

    // ---- state -------------------------------------------------------
    TextStack Stack;
    Value LastX = 0;
    Value LastY = 0;
    std::uint32_t LastNum = 0;
    std::int32_t FixLength = -1;
    Base CurrentBase = Base::DEC;
    std::int32_t WordSize = 16;
    std::int32_t AngleMode = 2; // 0 cycles, 1 degrees, 2 radians, 3 gradients
    char DecimalChar = '.';
    std::string Entry;      // the entry line's text
    bool ShiftDown = false; // the Shift button's down state
    // The random generator's state, seeded from Shell::RandomSeed at the
    // first draw and advanced by every draw after it.
    std::optional<std::uint64_t> RandomState;
    ScrollBarState ScrollBar;

    Shell& shell() { return shell_; }

    // ---- primitives --------------------------------------------------
    void PushText(std::string text);
    bool PopText(std::string& text);
    bool PopOneArg(Value& value, std::string_view name, bool asInteger);
    bool PopTwoArgs(Value& x, Value& y, bool asInteger, std::string_view name);
    bool EnterEntryLine();
    bool CommitEntry();
    void ResetEntry();
    // Pushes the stack text of a computed value.
    void PushValue(Value v);
    std::string FormatValue(Value v) const;
    // NAME + " Error: " + CR LF + reason, cut to its limits, to the shell.
    void ShowError(std::string_view name, std::string_view reason);

    // ---- entry line --------------------------------------------------
    void AppendToEntry(char ch);
    // Runs a keypad key as a click or its keyboard key would, reading the
    // Shift state. Returns false when nothing ran (a disabled key, or a
    // digit the base refuses): such a key is not flashed.
    bool PressKey(Key key);
    bool KeyEnabled(Key key) const;
    // Whether the Shift label above a key reads as active.
    bool ShiftLabelLit(Key key) const { return ShiftDown && KeyEnabled(key); }

    // ---- commands ----------------------------------------------------
    // Runs a command's function as its menu item (or its key with the
    // matching Shift state) does.
    void Run(Cmd cmd);
    void SelectBase(Base base);
    void SelectAngleMode(int mode);

    // ---- display -----------------------------------------------------
    void RefreshStackDisplay();
    // Index of the entry shown on the bottom line.
    std::size_t FirstShownIndex() const;
    std::array<StackLine, 6> StackLines() const;
    void ScrollBarScroll(int position);
    // What a stack line shows for a stack text in the current base and Fix.
    std::string FormatForBase(std::string_view stackText) const;
    // What the Edit key puts into the entry line for a stack text.
    std::string EditText(std::string_view stackText) const;

private:
    Shell& shell_;
};

// Replaces the sign at 1-based position i of an entry text of at most 80
// characters: append "-" past the end, delete a "-", else insert one.
std::string ToggleEntrySign(std::string_view text, std::size_t i);

// The first n characters of a UTF-8 text (invalid bytes count as one).
std::string CutChars(std::string_view text, std::size_t n);

const char* BaseCaption(Base base);
const char* AngleCaption(int angleMode);

} // namespace tallix
