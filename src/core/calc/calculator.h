// The calculator: value stack, last arguments, modes, entry line and Shift
// state, with the primitives every command uses. The window and batch mode
// both drive one of these; neither holds numbers of its own.
//
// Everything it holds is read through accessors and changed only through
// its door (Apply, Load, Undo, Redo): the primitives and mode setters are
// private and reached through the Change handle the door gives, so every
// change is inside an undo step and advances the revision that the view and
// the autosave follow. The display (six lines, labels, scroll bar) is
// computed from the depth and the scroll position whenever it is asked for,
// so no caller has to keep a display model in step with the stack.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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
    // when the user has seen it. A command's error comes once the command's
    // step has closed, before Revision() advances.
    virtual void ShowError(const std::string& message) = 0;
    // The calculator passed through its door (see Calculator::Revision):
    // its state may have changed.
    virtual void StateChanged() {}
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

class Calculator;

// Hears of what passes through the calculator's door, step by step: a
// record of the session (the paper tape) follows the history with it.
// Optional: a calculator without one pays a null test per step.
class StepListener {
public:
    virtual ~StepListener() = default;
    struct Step {
        std::string_view label; // the step's name (its command's label)
        bool kept = false;      // whether it became an undo step
        // The first error message shown during it, NAME + " Error: " +
        // CR LF + reason; empty for none.
        std::string_view error;
        // Whether it entered the entry line's number (typed, or put there
        // by Edit), rather than, say, duplicating level 1.
        bool entered = false;
    };
    // A pass through the door begins: `calc` is the state before it.
    virtual void PassOpening(const Calculator& calc) = 0;
    // A step closed, inside the pass that ran it: `calc` is the state
    // after it.
    virtual void StepClosed(const Calculator& calc, const Step& step) = 0;
    // Undo or Redo played the last done, or the next undone, step.
    virtual void Undone(const Calculator& calc) = 0;
    virtual void Redone(const Calculator& calc) = 0;
    // A state was brought in from outside; the history starts afresh.
    virtual void Loaded(const Calculator& calc) = 0;
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

    // ---- the door --------------------------------------------------------
    // Every change of the calculator runs through Apply, Load, Undo or Redo.
    // Apply opens an undo step named `label`, runs `fn` with the Change
    // handle (the only way to reach the primitives and mode setters),
    // records what changed, closes the step and advances Revision(); the
    // shell hears of it through Shell::StateChanged. Applies nest: an inner
    // one is part of the outer step (its label names the outer step when
    // that has none), and only the outermost one closes the step.
    class Change;
    template <class Fn> decltype(auto) Apply(std::string_view label, Fn&& fn);
    // Brings in a state from outside (the saved settings at start, a
    // test's arrangement): runs `fn` like Apply, but as no step; the
    // history starts afresh, since its steps would no longer fit.
    template <class Fn> decltype(auto) Load(Fn&& fn);
    // Undo restores the state before the last step, Redo re-applies the
    // step undone last. While the entry line holds typed text, Undo clears
    // that text and nothing else, as an editor would, and Redo does not
    // bring it back. What Edit put into the entry line is part of the
    // state a step restores. Neither runs inside a step (a command cannot
    // undo itself); false when nothing ran.
    bool Undo();
    bool Redo();
    // Advances with every pass through the door: equal revisions mean an
    // unchanged calculator. The view and the autosave follow it.
    std::uint64_t Revision() const { return revision_; }
    // The one listener to the steps, or none.
    void SetStepListener(StepListener* listener) { listener_ = listener; }

    // ---- modes, last arguments, entry line (read only) ---------------------
    Value LastX() const { return lastX_; }
    Value LastY() const { return lastY_; }
    std::uint32_t LastNum() const { return lastNum_; }
    std::int32_t FixLength() const { return fixLength_; }
    Base CurrentBase() const { return currentBase_; }
    std::int32_t WordSize() const { return wordSize_; }
    AngleUnit AngleMode() const {
        return angleMode_;
    } // 0 cycles, 1 degrees, 2 radians, 3 gradients
    char DecimalChar() const { return decimalChar_; }
    const std::string& Entry() const { return entry_; } // the entry line's text
    bool ShiftDown() const { return shiftDown_; }       // the Shift button's down state

    // ---- the stack -------------------------------------------------------
    const TextStack& Stack() const { return stack_; }
    std::size_t Depth() const { return stack_.size(); }
    // Entries from level 1 downwards: a copy, for saving and printing.
    std::vector<std::string> StackLevels() const { return stack_.levels(); }
    // Room for n entries (no change of the state).
    void ReserveStack(std::size_t n) { stack_.reserve(n); }
    // Changes with every change of the stack (see TextStack::revision).
    std::uint64_t StackRevision() const { return stack_.revision(); }

    std::string FormatValue(Value v) const;
    // What an entry-line text enters in the current base: its stack text
    // and value, or nothing when it does not parse.
    bool ParseEntry(std::string_view text, std::string& stackText, Value& value) const;

    // ---- undo and redo ---------------------------------------------------
    bool CanUndo() const { return EntryTyped() || history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    // What Undo and Redo would undo or redo: the step's command ("+",
    // "Base Change"), "Typing" for the entry line's text; empty for
    // nothing (or a step without a name).
    std::string_view UndoLabel() const;
    std::string_view RedoLabel() const { return history_.RedoLabel(); }
    const History& UndoHistory() const { return history_; }
    void SetHistoryLimits(History::Limits limits) { history_.SetLimits(limits); }
    // The state a step restores besides the stack.
    ModeState Modes() const;

    // ---- display -----------------------------------------------------
    ScrollBarState ScrollBar() const;
    // Index of the entry shown on the bottom line.
    std::size_t FirstShownIndex() const;
    // The six lines, each cut to `columns` characters (see FitLine).
    std::array<StackLine, 6> StackLines(std::size_t columns = kWholeLine) const;
    static constexpr std::size_t kWholeLine = static_cast<std::size_t>(-1);
    // Where the view of the stack stands: the view's own position, no
    // change of the calculator (a change of the stack brings it back).
    void ScrollBarScroll(int position);
    // What a stack line shows for a stack text in the current base and Fix.
    std::string FormatForBase(std::string_view stackText) const;
    // What the Edit key puts into the entry line for a stack text.
    std::string EditText(std::string_view stackText) const;

private:
    // ---- primitives, reached through Change --------------------------------
    void PushText(std::string text);
    bool PopText(std::string& text);
    bool PopOneArg(Value& value, std::string_view name, bool asInteger);
    bool PopTwoArgs(Value& x, Value& y, bool asInteger, std::string_view name);
    void MoveToTop(std::size_t i);
    void MoveFromTop(std::size_t i);
    void ClearStack();
    void ReplaceStack(std::vector<std::string> levelsTopFirst);
    bool EnterEntryLine();
    bool CommitEntry();
    void ResetEntry();
    void PushValue(Value v);
    void ShowError(std::string_view name, std::string_view detail, Reason reason);
    void AppendToEntry(char ch);
    void EditLevel1();
    void SelectBase(Base base);
    void SelectAngleMode(AngleUnit unit);
    // The modes as the history reads them at a step's start and end: a view
    // of the calculator's own fields, made once, with Edit's texts set at
    // each call.
    const ModeView& View() const {
        const bool edit = !editText_.empty() && entry_ == editText_;
        view_.EditText = edit ? &editText_ : nullptr;
        view_.EditOriginal = edit && edited_ ? &edited_->original : nullptr;
        return view_;
    }
    // Restores a step's state besides the stack (Undo, Redo).
    void SetModes(const ModeState& m);

    void BeginStep(std::string_view label);
    void EndStep();
    // Ends the open step's record and tells the listener of it.
    void EndRecord();
    // Load's end: the step it ran is no step, and the history starts afresh.
    void EndLoad(StepListener* listener);
    void CutStep(std::string_view label);
    void CommandFailed();
    // Closes a pass through the door: the errors shown, the counter, and
    // the shell told.
    void Passed();
    void ShowPendingErrors();

    // Every change of the stack, and every reset of the entry line, brings
    // the view back to level 1.
    void StackChanged() { scrollPosition_.reset(); }
    // The open step's record. Every primitive runs inside a step: Change
    // exists only inside one.
    History* Journal() {
        assert(stepDepth_ > 0);
        return &history_;
    }

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
    bool EntryTyped() const { return !entry_.empty() && entry_ != editText_; }

    Value lastX_ = 0;
    Value lastY_ = 0;
    std::uint32_t lastNum_ = 0;
    std::int32_t fixLength_ = -1;
    Base currentBase_ = Base::DEC;
    std::int32_t wordSize_ = 16;
    AngleUnit angleMode_ = AngleUnit::Radians;
    mutable ModeView view_{lastX_,       lastY_,    lastNum_,  fixLength_,
                           currentBase_, wordSize_, angleMode_};
    char decimalChar_ = '.';
    std::string entry_;
    bool shiftDown_ = false;
    // The random generator's state, seeded from Shell::RandomSeed at the
    // first draw and advanced by every draw after it.
    std::optional<std::uint64_t> randomState_;

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
    std::uint64_t revision_ = 0;
    StepListener* listener_ = nullptr;
    // The open step's first error message, kept only for a listener.
    std::string stepError_;
    // The messages of the pass under way, shown when it closes.
    std::vector<std::string> pendingErrors_;
    bool stepEntered_ = false;
};

// The handle a change runs with: the primitives every command uses and the
// mode setters, valid while its step is open. Only the door makes one.
class Calculator::Change {
public:
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

    // What the calculator holds now.
    const Calculator& Calc() const { return c_; }
    Shell& shell() { return c_.shell_; }

    // ---- the stack -------------------------------------------------------
    void PushText(std::string text) { c_.PushText(std::move(text)); }
    // Pushes the stack text of a computed value.
    void PushValue(Value v) { c_.PushValue(v); }
    bool PopText(std::string& text) { return c_.PopText(text); }
    bool PopOneArg(Value& value, std::string_view name, bool asInteger) {
        return c_.PopOneArg(value, name, asInteger);
    }
    bool PopTwoArgs(Value& x, Value& y, bool asInteger, std::string_view name) {
        return c_.PopTwoArgs(x, y, asInteger, name);
    }
    // Moves the entry at index i to level 1, or level 1 to index i.
    void MoveToTop(std::size_t i) { c_.MoveToTop(i); }
    void MoveFromTop(std::size_t i) { c_.MoveFromTop(i); }
    void ClearStack() { c_.ClearStack(); }
    // Replaces the whole stack; the first text becomes level 1.
    void ReplaceStack(std::vector<std::string> levelsTopFirst) {
        c_.ReplaceStack(std::move(levelsTopFirst));
    }

    // ---- the entry line ----------------------------------------------------
    bool EnterEntryLine() { return c_.EnterEntryLine(); }
    // Enters a typed number as an undo step of its own before the command
    // that entered it; true when there was none or it was entered.
    bool CommitEntry() { return c_.CommitEntry(); }
    void ResetEntry() { c_.ResetEntry(); }
    void AppendToEntry(char ch) { c_.AppendToEntry(ch); }
    void SetEntry(std::string text) { c_.entry_ = std::move(text); }
    // Edit: level 1 moves into the entry line as the display shows it. In
    // an integer base that text may not stand for the entry's value (1E30,
    // abc, 2.5 or a number beyond the word size); as long as the entry line
    // still holds exactly that text, Enter puts the original entry back.
    void EditLevel1() { c_.EditLevel1(); }
    void SetShift(bool down) { c_.shiftDown_ = down; }

    // ---- modes and last arguments --------------------------------------
    void SelectBase(Base base) { c_.SelectBase(base); }
    void SelectAngleMode(AngleUnit unit) { c_.SelectAngleMode(unit); }
    void SetFixLength(std::int32_t n) {
        c_.history_.ModesChanging(c_.View());
        c_.fixLength_ = n;
    }
    void SetWordSize(std::int32_t n) {
        c_.history_.ModesChanging(c_.View());
        c_.wordSize_ = n;
    }
    void SetLastX(Value x) {
        c_.lastX_ = x;
        c_.lastNum_ = 1;
    }
    void SetLastArgs(Value x, Value y, std::uint32_t num) {
        c_.lastX_ = x;
        c_.lastY_ = y;
        c_.lastNum_ = num;
    }
    std::optional<std::uint64_t>& RandomState() { return c_.randomState_; }

    // ---- failures and steps ------------------------------------------------
    // NAME + " Error: " + CR LF + reason, cut to its limits, to the shell.
    void ShowError(std::string_view name, Reason reason) { c_.ShowError(name, {}, reason); }
    // The same with a detail after "Error: " on the first line, e.g. the
    // piece of a paste that is no number.
    void ShowError(std::string_view name, std::string_view detail, Reason reason) {
        c_.ShowError(name, detail, reason);
    }
    // The running command failed and put its arguments back; unless it
    // changed more than the last arguments, it makes no step. Every error
    // message counts as such a failure.
    void CommandFailed() { c_.CommandFailed(); }
    // Closes the open step here and opens a new one named `label`.
    void CutStep(std::string_view label = {}) { c_.CutStep(label); }
    // Names the open step, unless it has a name.
    void Label(std::string_view label) { c_.history_.Label(label); }

private:
    friend class Calculator;
    explicit Change(Calculator& c) : c_(c) {}
    Calculator& c_;
};

template <class Fn> decltype(auto) Calculator::Apply(std::string_view label, Fn&& fn) {
    struct Close {
        Calculator& c;
        ~Close() {
            c.EndStep();
            if (c.stepDepth_ == 0) c.Passed();
        }
    } close{*this};
    BeginStep(label);
    Change change(*this);
    return std::forward<Fn>(fn)(change);
}

template <class Fn> decltype(auto) Calculator::Load(Fn&& fn) {
    struct Close {
        Calculator& c;
        StepListener* listener;
        ~Close() { c.EndLoad(listener); }
    } close{*this, std::exchange(listener_, nullptr)};
    BeginStep({});
    Change change(*this);
    return std::forward<Fn>(fn)(change);
}

// Replaces the sign at 1-based position i of an entry text of at most 80
// characters: append "-" past the end, delete a "-", else insert one.
std::string ToggleEntrySign(std::string_view text, std::size_t i);

const char* BaseCaption(Base base);
const char* AngleCaption(AngleUnit unit);
// The modes spelled out, as a screen reader says them: "Base: decimal",
// "Angle unit: radians".
std::string BaseSpoken(Base base);
std::string AngleSpoken(AngleUnit unit);
// The indicators' tooltips: what the angle and base labels show and that a
// double click selects the next one; the base's also gives the word size
// and the Fix setting when one is set.
std::string AngleToolTip(AngleUnit unit);
std::string BaseToolTip(Base base, std::int32_t wordSize, std::int32_t fixLength);

// What a stack line `columns` characters wide shows of a text: the text
// when it fits, else its end after a marker that it is cut ("…"), with the
// sign of a negative text kept in front ("-…"), so that a cut never makes a
// number look positive or shorter than it is.
std::string FitLine(std::string_view text, std::size_t columns);

// The label of a stack line showing `level` (1 for the top): "1:".
std::string LevelLabel(std::size_t level);

} // namespace tallix
