// Undo and redo: the calculator's history of steps. A step is one command's
// change of the calculator's state, kept as what changed rather than as a
// copy of the stack: the texts it popped, how many it pushed, the entries it
// moved, the whole old stack only for a clear or a replacement (moved in, not
// copied), and the small modes before and after. Undoing a step plays its
// changes backwards, redoing it forwards, so either costs what the command
// itself cost, however deep the stack is.
//
// Every command is a step, in batch mode a million a second, so a step costs
// next to nothing: it is encoded as it happens into a reused buffer and kept
// as one compact record in an arena of large chunks. Recording allocates
// nothing once the arena is warm; at the cap the oldest records go, and a
// chunk goes back whole once none of its records is kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calc/ring.h"
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

// The calculator's modes as a step's start and end read them: by
// reference, so that nothing is copied but the bytes a record keeps.
struct ModeView {
    const Value& LastX;
    const Value& LastY;
    std::uint32_t LastNum;
    std::int32_t FixLength;
    Base CurrentBase;
    std::int32_t WordSize;
    AngleUnit AngleMode;
    // ModeState::Edit's texts, or null.
    const std::string* EditText = nullptr;
    const std::string* EditOriginal = nullptr;
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
    void Begin(const ModeView& before, std::string_view label = {});
    void Label(std::string_view label) {
        if (recording_ && labelLen_ == 0) SetLabel(label);
    }
    std::string_view PendingLabel() const { return {label_, labelLen_}; }
    // Ends the step. It is kept unless it changed nothing observable, or
    // unless a command failed and put its arguments back (only the last
    // arguments then differ). Such a failure makes no step, but the last
    // arguments it left become those of the state around it, so that an
    // Undo and a Redo from here come back to them. A kept step drops the
    // steps that were undone.
    void End(const ModeView& after, const TextStack& stack);
    // The stack primitives report each change while a step is open.
    // Inline: every command pushes and pops.
    void Pushed(const std::string& text) {
        ++depthChange_;
        CountOne(kPushCode);
        // Held in redoTexts_ once the step is undone.
        pendingBytes_ += TextBytes(text);
    }
    void Popped(std::string_view text) {
        --depthChange_;
        CountOne(kPopCode);
        if (text.size() >= 0x80) return PoppedLong(text);
        // The text with its length as a one-byte varint.
        std::byte* p = ops_.Extend(1 + text.size());
        *p = static_cast<std::byte>(text.size());
        if (!text.empty()) std::memcpy(p + 1, text.data(), text.size());
    }
    // An entry moved from index i to level 1 (toTop) or from level 1 to i.
    void Moved(bool toTop, std::size_t i);
    // The stack's whole contents were replaced: `oldItems` is the old
    // container (deepest first), `newBytes` what the new contents occupy.
    void Replaced(std::vector<std::string> oldItems, std::size_t newBytes);
    // A command failed during the step (it showed an error, or put its
    // arguments back without one).
    void Failed() { failed_ = true; }
    // Counts the steps End has kept, ever: a listener learns from it
    // whether the step it hears of became one.
    std::uint64_t KeptCount() const { return kept_; }

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
    History() = default;
    History(const History&) = delete;
    History& operator=(const History&) = delete;
    // The memory the kept steps hold: their records, the texts and stacks
    // they keep aside (counted as the stack counts them), their places in
    // the ring. On top come at most the unfilled end of the newest chunk
    // and one spare chunk (2 x 256 KB).
    std::size_t Bytes() const { return bytes_; }

    // Memory of one text and of a stack container, as the steps count it.
    static std::size_t TextBytes(const std::string& text) {
        constexpr std::size_t inPlace = std::string().capacity();
        return sizeof(std::string) + (text.capacity() > inPlace ? text.capacity() + 1 : 0);
    }

    // The codes of a push and a pop in a record.
    static constexpr std::uint8_t kPushCode = 0, kPopCode = 1;
    static std::size_t ItemsBytes(const std::vector<std::string>& items);

private:
    // A kept step is one record in the arena; its layout is private to
    // history.cpp. The texts a step popped are in the record itself, its
    // pushes only a count: while a step is undone, the texts it had pushed
    // wait in redoTexts_, and a clear's or a replacement's other stack
    // container waits in swaps_.
    struct Chunk {
        std::unique_ptr<std::byte[]> data;
        std::size_t cap = 0;
        std::size_t used = 0;
        std::size_t live = 0; // records in it that are still kept
    };
    // Room for a record of n bytes at the end of the arena.
    std::byte* Allocate(std::size_t n);
    // Gives back the newest record's room (it starts at p), or the oldest's.
    void FreeNewest(const std::byte* p);
    void FreeOldest();
    // Forgets the steps that were undone, the oldest step (a done one), or
    // the newest.
    void DropUndone();
    void DropOldest();
    void DropNewest();
    // Whether the open step's changes leave the stack as it was, text for
    // text.
    bool StackUnchanged(const TextStack& stack);
    // A failed command's last arguments, taken into the state after the
    // last done step and before the next undone one.
    void KeepLastArgs(const ModeView& after);
    void Trim();

    Limits limits_;
    // A kept step: its record, and what dropping it needs without reading
    // the record (the oldest records are long out of the caches).
    struct StepRef {
        std::byte* record;
        std::size_t bytes; // what Bytes() counts for it
        bool swaps;        // whether it holds entries of swaps_
    };
    Ring<StepRef> steps_;  // oldest first
    std::size_t done_ = 0; // steps_[0, done_) are done, the rest undone
    std::size_t bytes_ = 0;
    std::deque<Chunk> chunks_; // the arena, oldest first
    Chunk spare_;              // a freed chunk kept for the next, so that
                               // steps at the cap allocate nothing
    std::deque<std::string> redoTexts_;
    std::deque<std::vector<std::string>> swaps_;
    std::uint64_t swapsFront_ = 0; // the number of swaps_.front()

    // The open step: its changes encoded as they come (ops_), and what
    // the record takes from Begin and End.
    bool recording_ = false;
    bool failed_ = false;
    std::uint64_t kept_ = 0;
    // The last arguments and the other modes before the step, encoded as
    // in a record.
    static constexpr std::size_t kModes = 2 * 10 + 4 + 4 + 1 + 4 + 1;
    std::byte beforeModes_[kModes];
    struct {
        std::uint32_t LastNum;
        std::int32_t FixLength;
        Base CurrentBase;
        std::int32_t WordSize;
        AngleUnit AngleMode;
    } beforeOther_{};
    bool beforeEdit_ = false, beforeOriginal_ = false;
    std::string beforeEditText_, beforeEditOriginal_;
    // The open step's name, at most 255 bytes (a record holds its length
    // in one byte); kept here, as a command's label is set for every step.
    static constexpr std::size_t kMaxLabel = 255;
    char label_[kMaxLabel];
    std::uint8_t labelLen_ = 0;
    void SetLabel(std::string_view label) {
        labelLen_ = static_cast<std::uint8_t>(label.size() < kMaxLabel ? label.size() : kMaxLabel);
        if (labelLen_ > 0) std::memcpy(label_, label.data(), labelLen_); // data may be null
    }
    struct Ops {
        std::unique_ptr<std::byte[]> data;
        std::size_t size = 0, cap = 0;
        // Room for n more bytes at the end.
        std::byte* Extend(std::size_t n) {
            if (cap - size < n) Grow(n);
            std::byte* p = data.get() + size;
            size += n;
            return p;
        }
        void Grow(std::size_t n);
    };
    // A push or a pop counts itself into the last change when that is of
    // its kind; otherwise it begins a change: its code and a count.
    void CountOne(std::uint8_t code) {
        std::uint32_t n = 0;
        if (lastCode_ == code) {
            std::memcpy(&n, ops_.data.get() + lastOp_ + 1, sizeof n);
        } else {
            lastCode_ = code;
            lastOp_ = ops_.size;
            *ops_.Extend(1 + sizeof n) = static_cast<std::byte>(code);
        }
        ++n;
        std::memcpy(ops_.data.get() + lastOp_ + 1, &n, sizeof n);
    }
    void PoppedLong(std::string_view text);
    Ops ops_;
    std::size_t lastOp_ = 0;       // where the last change's code starts in ops_
    std::uint8_t lastCode_ = 0xff; // and its code (none yet)
    std::ptrdiff_t depthChange_ = 0;
    bool moved_ = false; // a move or a swap among the changes
    std::size_t pendingBytes_ = 0;
    std::vector<std::vector<std::string>> pendingSwaps_;
    std::vector<std::string_view> scratch_; // reused by StackUnchanged
};

} // namespace tallix
