// The calculator: value stack, last arguments, modes, entry line and Shift
// state, with the primitives every command uses. The window and batch mode
// both drive one of these; neither holds numbers of its own.
//
// The stack is private: it changes only through the primitives below, and
// the display (six lines, labels, scroll bar) is computed from the depth and
// the scroll position whenever it is asked for, so no caller has to keep a
// display model in step with the stack.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calc/errors.h"
#include "core/calc/history.h"
#include "core/calc/textstack.h"
#include "core/number/value.h"

namespace tallix {

enum class Base : std::uint8_t { BIN, OCT, DEC, HEX };

// The name of the undo step that enters a typed number.
inline constexpr std::string_view kEntryLabel = "Entry";

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
    std::string text;  // what the line shows, cut to its width
    std::string full;  // the whole text, for the line's tooltip
    std::string label; // "1:" ...
    // What a screen reader says: "level 1: 3.5", "level 4: empty".
    std::string spoken;
};

class Calculator {
public:
    explicit Calculator(Shell& shell, char decimalChar = '.');
    Calculator(const Calculator&) = delete;
    Calculator& operator=(const Calculator&) = delete;

    // ---- modes and last arguments --------------------------------------
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

    Shell& shell() { return shell_; }

    // ---- the stack -------------------------------------------------------
    const TextStack& Stack() const { return stack_; }
    std::size_t Depth() const { return stack_.size(); }
    // Entries from level 1 downwards: a copy, for saving and printing.
    std::vector<std::string> StackLevels() const { return stack_.levels(); }
    // Replaces the whole stack; the first text becomes level 1.
    void ReplaceStack(std::vector<std::string> levelsTopFirst);
    void ReserveStack(std::size_t n) { stack_.reserve(n); }
    // Changes with every change of the stack (see TextStack::revision).
    std::uint64_t StackRevision() const { return stack_.revision(); }

    // ---- primitives --------------------------------------------------
    void PushText(std::string text);
    bool PopText(std::string& text);
    bool PopOneArg(Value& value, std::string_view name, bool asInteger);
    bool PopTwoArgs(Value& x, Value& y, bool asInteger, std::string_view name);
    // Moves the entry at index i to level 1, or level 1 to index i.
    void MoveToTop(std::size_t i);
    void MoveFromTop(std::size_t i);
    void ClearStack();
    bool EnterEntryLine();
    bool CommitEntry();
    void ResetEntry();
    // Pushes the stack text of a computed value.
    void PushValue(Value v);
    std::string FormatValue(Value v) const;
    // NAME + " Error: " + CR LF + reason, cut to its limits, to the shell.
    void ShowError(std::string_view name, Reason reason);
    // The same with a detail after "Error: " on the first line, e.g. the
    // piece of a paste that is no number.
    void ShowError(std::string_view name, std::string_view detail, Reason reason);
    // What an entry-line text enters in the current base: its stack text
    // and value, or nothing when it does not parse.
    bool ParseEntry(std::string_view text, std::string& stackText, Value& value) const;

    // ---- entry line --------------------------------------------------
    void AppendToEntry(char ch);
    // Edit: level 1 moves into the entry line as the display shows it. In
    // an integer base that text may not stand for the entry's value (1E30,
    // abc, 2.5 or a number beyond the word size); as long as the entry line
    // still holds exactly that text, Enter puts the original entry back.
    void EditLevel1();

    // ---- modes -------------------------------------------------------
    void SelectBase(Base base);
    void SelectAngleMode(int mode);

    // ---- undo and redo ---------------------------------------------------
    // The stack and mode changes between the outermost BeginStep and its
    // EndStep form one undo step; steps nest. A stack change made outside
    // any step cannot be undone and makes the history forget every step,
    // which would no longer fit the stack.
    // `label` names the step (see History::Begin); a nested step's label
    // names the outer step when that has none.
    void BeginStep(std::string_view label = {});
    void EndStep();
    // Closes the open step here and opens a new one named `label`: entering
    // the typed number is a step of its own before the command that entered
    // it.
    void CutStep(std::string_view label = {});
    // The running command failed and put its arguments back; unless it
    // changed more than the last arguments, it makes no step. Every error
    // message counts as such a failure.
    void CommandFailed();
    // Undo restores the state before the last step, Redo re-applies the
    // step undone last; both discard the entry line's text. While the entry
    // line holds typed text, Undo clears that text and nothing else, as an
    // editor would, and Redo does not bring it back. Neither runs inside a
    // step (a command cannot undo itself); false when nothing ran.
    bool Undo();
    bool Redo();
    bool CanUndo() const { return EntryTyped() || history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    // What Undo and Redo would undo or redo: the step's command ("+",
    // "Base Change"), "Typing" for the entry line's text; empty for
    // nothing (or a step without a name).
    std::string_view UndoLabel() const;
    std::string_view RedoLabel() const { return history_.RedoLabel(); }
    const History& UndoHistory() const { return history_; }
    void SetHistoryLimits(History::Limits limits) { history_.SetLimits(limits); }
    ModeState Modes() const;
    void SetModes(const ModeState& m);

    // Runs the code in its scope as one undo step.
    class Step {
    public:
        explicit Step(Calculator& calc, std::string_view label = {}) : calc_(calc) {
            calc_.BeginStep(label);
        }
        ~Step() { calc_.EndStep(); }
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        Calculator& calc_;
    };

    // ---- display -----------------------------------------------------
    ScrollBarState ScrollBar() const;
    // Index of the entry shown on the bottom line.
    std::size_t FirstShownIndex() const;
    // The six lines, each cut to `columns` characters (see FitLine).
    std::array<StackLine, 6> StackLines(std::size_t columns = kWholeLine) const;
    static constexpr std::size_t kWholeLine = static_cast<std::size_t>(-1);
    void ScrollBarScroll(int position);
    // What a stack line shows for a stack text in the current base and Fix.
    std::string FormatForBase(std::string_view stackText) const;
    // What the Edit key puts into the entry line for a stack text.
    std::string EditText(std::string_view stackText) const;

private:
    // Every change of the stack, and every reset of the entry line, brings
    // the view back to level 1.
    void StackChanged() { scrollPosition_.reset(); }
    // The open step's record, or none: outside a step the history is
    // forgotten, since the change about to be made is in no step.
    History* Journal();

    // The entry that Edit took from the stack in an integer base, and the
    // text it put into the entry line for it.
    struct EditedEntry {
        std::string original;
        std::string shown;
        Base base;
        std::int32_t wordSize;
    };
    // Enters the entry line when it still holds what Edit put there.
    bool EnterEditedEntry();
    // Whether the entry line holds text the user typed, rather than
    // nothing or what Edit put there untouched (which Undo takes back
    // with the Edit step itself).
    bool EntryTyped() const { return !Entry.empty() && Entry != editText_; }

    Shell& shell_;
    TextStack stack_;
    std::optional<EditedEntry> edited_;
    // What Edit put into the entry line, in every base.
    std::string editText_;
    // Where the user scrolled to, in scroll units; none: the view shows
    // level 1 at the bottom line.
    std::optional<int> scrollPosition_;
    History history_;
    int stepDepth_ = 0;
};

// Replaces the sign at 1-based position i of an entry text of at most 80
// characters: append "-" past the end, delete a "-", else insert one.
std::string ToggleEntrySign(std::string_view text, std::size_t i);

const char* BaseCaption(Base base);
const char* AngleCaption(int angleMode);
// The modes spelled out, as a screen reader says them: "Base: decimal",
// "Angle unit: radians".
std::string BaseSpoken(Base base);
std::string AngleSpoken(int angleMode);
// The indicators' tooltips: what the angle and base labels show and that a
// double click selects the next one; the base's also gives the word size
// and the Fix setting when one is set.
std::string AngleToolTip(int angleMode);
std::string BaseToolTip(Base base, std::int32_t wordSize, std::int32_t fixLength);

// What a stack line `columns` characters wide shows of a text: the text
// when it fits, else its end after a marker that it is cut ("…"), with the
// sign of a negative text kept in front ("-…"), so that a cut never makes a
// number look positive or shorter than it is.
std::string FitLine(std::string_view text, std::size_t columns);

} // namespace tallix
