// Undo and redo: the calculator's history of steps. A step is one command's
// change of the calculator's state, kept as what changed rather than as a
// copy of the stack: the texts it popped, how many it pushed, the entries it
// moved, the whole old stack only for a clear or a replacement (moved in, not
// copied), and the small modes before and after. Undoing a step plays its
// changes backwards, redoing it forwards, so either costs what the command
// itself cost, however deep the stack is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calc/textstack.h"
#include "core/number/value.h"

namespace tallix {

enum class Base : std::uint8_t; // core/calc/calculator.h

// The state a step restores besides the stack: the last arguments, the base,
// the word size, the angle unit, Fix, and what Edit put into the entry line
// while it stands there untouched.
struct ModeState {
    Value LastX = 0;
    Value LastY = 0;
    std::uint32_t LastNum = 0;
    std::int32_t FixLength = -1;
    Base CurrentBase{};
    std::int32_t WordSize = 16;
    AngleUnit AngleMode = AngleUnit::Radians;
    // The entry line's text when Edit put it there and it is untouched,
    // and in an integer base the entry Edit took (see
    // Calculator::EditLevel1); none otherwise, which is nearly always, so
    // that a step's state stays cheap to copy.
    struct EditedText {
        std::string text;
        std::optional<std::string> original;
    };
    std::shared_ptr<const EditedText> Edit;

    bool SameLastArgs(const ModeState& o) const;
    // All but the last arguments and Edit's entry line, which changes only
    // with a step that changes the stack, or by typing (no step).
    bool SameModes(const ModeState& o) const;
};

class History {
public:
    struct Limits {
        std::size_t maxSteps = 100000;
        std::size_t maxBytes = std::size_t{64} << 20;
    };

    // ---- recording one step ----------------------------------------------
    bool Recording() const { return recording_; }
    // `label` names the step in the Edit menu ("+", "Base Change"); an
    // unnamed step takes the first label given while it is open.
    void Begin(const ModeState& before, std::string_view label = {});
    void Label(std::string_view label);
    const std::string& PendingLabel() const { return pending_.label; }
    // Ends the step. It is kept unless it changed nothing observable, or
    // unless a command failed and put its arguments back (only the last
    // arguments then differ). Such a failure makes no step, but the last
    // arguments it left become those of the state around it, so that an
    // Undo and a Redo from here come back to them. A kept step drops the
    // steps that were undone.
    void End(const ModeState& after, const TextStack& stack);
    // The stack primitives report each change while a step is open.
    void Pushed(const std::string& text);
    void Popped(std::string text);
    // An entry moved from index i to level 1 (toTop) or from level 1 to i.
    void Moved(bool toTop, std::size_t i);
    // The stack's whole contents were replaced: `oldItems` is the old
    // container (deepest first), `newBytes` what the new contents occupy.
    void Replaced(std::vector<std::string> oldItems, std::size_t newBytes);
    // A command failed during the step (it showed an error, or put its
    // arguments back without one).
    void Failed() { pending_.failed = true; }

    // ---- moving through the steps ----------------------------------------
    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // The names of the steps Undo and Redo would play; empty for none.
    std::string_view UndoLabel() const;
    std::string_view RedoLabel() const;
    // Plays the last step backwards on `stack`; `modes` receives the modes
    // before it. False when there is nothing to undo.
    bool Undo(TextStack& stack, ModeState& modes);
    // Plays the next undone step forwards; `modes` receives the modes after it.
    bool Redo(TextStack& stack, ModeState& modes);
    // Forgets every step (the stack changed in a way no step recorded).
    void Clear();

    void SetLimits(Limits limits);
    Limits GetLimits() const { return limits_; }
    std::size_t UndoCount() const { return done_; }
    std::size_t RedoCount() const { return steps_.size() - done_; }
    // The memory the kept steps hold (an estimate from above).
    std::size_t Bytes() const { return bytes_; }

    // Memory of one text and of a stack container, as the steps count it.
    static std::size_t TextBytes(const std::string& text);
    static std::size_t ItemsBytes(const std::vector<std::string>& items);

private:
    struct Change {
        enum class Kind : std::uint8_t { Push, Pop, ToTop, FromTop, Swap };
        Kind kind;
        std::size_t n = 0; // texts pushed or popped; the index moved
        // Pop: the popped texts, first popped first, while the step is done.
        // Push: the pushed texts, deepest first, while the step is undone.
        // Swap: the other stack container (deepest first).
        std::vector<std::string> texts;
    };
    struct Step {
        ModeState before, after;
        std::vector<Change> changes;
        std::size_t bytes = 0;
        bool failed = false;
        std::string label;
    };

    // Whether the step's changes leave the stack as it was, text for text.
    static bool StackUnchanged(const Step& step, const TextStack& stack);
    // A failed command's last arguments, taken into the state after the
    // last done step and before the next undone one.
    void KeepLastArgs(const ModeState& after);
    void Trim();

    Limits limits_;
    std::deque<Step> steps_; // oldest first
    std::size_t done_ = 0;   // steps_[0, done_) are done, the rest undone
    std::size_t bytes_ = 0;
    bool recording_ = false;
    Step pending_;
};

} // namespace tallix
