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
};

// The calculator's modes as a step's start and end read them: by
// reference, so that nothing is copied but the bytes a record keeps, and
// the history reads each where the calculator keeps it (fields written
// into a fresh struct and read back wider would stall the store buffer).
struct ModeView {
    const Value& LastX;
    const Value& LastY;
    const std::uint32_t& LastNum;
    const std::int32_t& FixLength;
    const Base& CurrentBase;
    const std::int32_t& WordSize;
    const AngleUnit& AngleMode;
    // ModeState::Edit's texts, or null.
    const std::string* EditText = nullptr;
    const std::string* EditOriginal = nullptr;
};

class History {
public:
    // Ten thousand steps is hours of work at the keys, and ten times the
    // depth promised. Their records and places (about 66 bytes a step) fit
    // in a megabyte of second-level cache: at a hundred thousand, each new
    // step wrote memory last touched long before, and batch mode, which
    // records a step for every token, spent about a third more on them.
    struct Limits {
        std::size_t maxSteps = 10000;
        std::size_t maxBytes = std::size_t{64} << 20;
    };

    // ---- recording one step ----------------------------------------------
    bool Recording() const { return recording_; }
    // `label` names the step in the Edit menu ("+", "Base Change"); an
    // unnamed step takes the first label given while it is open.
    // Inline, as the door runs it around every command.
    void Begin(const ModeView& before, std::string_view label = {}) {
        recording_ = true;
        failed_ = false;
        Place(kOpsAt + 256);
        // The header is written by End; the last arguments now, where the
        // record keeps them, as bytes (never through the FPU).
        std::memcpy(open_ + kArgsAt, &before.LastX, kValueBytes);
        std::memcpy(open_ + kArgsAt + kValueBytes, &before.LastY, kValueBytes);
        std::memcpy(open_ + kArgsAt + 2 * kValueBytes, &before.LastNum, 4);
        tail_ = open_ + kOpsAt;
        otherSaved_ = false;
        beforeEdit_ = before.EditText != nullptr;
        if (beforeEdit_) BeginEdit(before);
        // Batch mode's steps are named later, by their command.
        if (label.empty())
            labelLen_ = 0;
        else
            SetLabel(label);
        lastCode_ = kNoCode;
        depthChange_ = 0;
        moved_ = false;
        pendingBytes_ = 0;
    }
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
    [[gnu::always_inline]] void End(const ModeView& after, const TextStack& stack) {
        recording_ = false;
        const bool sameModes = !otherSaved_ || (beforeOther_.FixLength == after.FixLength &&
                                                beforeOther_.CurrentBase == after.CurrentBase &&
                                                beforeOther_.WordSize == after.WordSize &&
                                                beforeOther_.AngleMode == after.AngleMode);
        // Nearly every step: it pushed or popped, or put a new text in place
        // of the one it popped, so it is kept, and it touched neither the
        // modes, nor Edit's entry line, nor undone steps.
        if (!sameModes || moved_ || (depthChange_ == 0 && !ReplacedTop(stack)) || beforeEdit_ ||
            after.EditText || steps_.size() != done_) {
            EndRare(after, stack, sameModes);
            return;
        }
        ++kept_;
        const std::size_t opsLen = static_cast<std::size_t>(tail_ - (open_ + kOpsAt));
        std::byte* p = Extend(labelLen_);
        // The label from our own buffer: sixteen bytes at once when they
        // fit before the end of the chunk (what lies past the record there
        // is free).
        if (labelLen_ <= 16 && limit_ - p >= 16)
            std::memcpy(p, label_, 16);
        else
            CopyShort(p, label_, labelLen_);
        Keep(0, pendingBytes_, opsLen);
    }
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
        std::byte* p = Extend(1 + text.size());
        *p = static_cast<std::byte>(text.size());
        CopyShort(p + 1, text.data(), text.size());
    }
    // Two texts popped in a row (level 1 first): a two-argument command.
    void PoppedTwo(std::string_view first, std::string_view second) {
        if (first.size() >= 0x80 || second.size() >= 0x80) {
            Popped(first);
            Popped(second);
            return;
        }
        depthChange_ -= 2;
        std::byte* p;
        if (lastCode_ == kPopCode) {
            CountOne(kPopCode, 2);
            p = Extend(2 + first.size() + second.size());
        } else {
            // A change of its own, nearly always: its code, its count and
            // the two texts in one piece.
            lastCode_ = kPopCode;
            p = Extend(1 + 4 + 2 + first.size() + second.size());
            lastOp_ = static_cast<std::size_t>(p - open_);
            *p = static_cast<std::byte>(kPopCode);
            const std::uint32_t two = 2;
            std::memcpy(p + 1, &two, sizeof two);
            p += 1 + sizeof two;
        }
        *p = static_cast<std::byte>(first.size());
        CopyShort(p + 1, first.data(), first.size());
        p += 1 + first.size();
        *p = static_cast<std::byte>(second.size());
        CopyShort(p + 1, second.data(), second.size());
    }
    // The calculator is about to change the base, the word size, the angle
    // unit or Fix: the first such change in a step keeps them as they were.
    void ModesChanging(const ModeView& before) {
        if (!recording_ || otherSaved_) return;
        otherSaved_ = true;
        beforeOther_ = {before.FixLength, before.CurrentBase, before.WordSize, before.AngleMode};
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
    // Plays the last step backwards on `stack`; `now` is the state after
    // it (kept for Redo), and `modes` receives the modes before it. False
    // when there is nothing to undo.
    bool Undo(TextStack& stack, const ModeView& now, ModeState& modes);
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
    // A text up to kTextInPlace characters lives inside the string object
    // itself (libstdc++, which both GCC and clang use here); a longer one has
    // a heap block of capacity + 1 bytes. A literal, not the capacity of
    // std::string(): clang 14 cannot evaluate libstdc++'s string constructor
    // at compile time. GCC checks the figure below, the tests at run time.
    static constexpr std::size_t kTextInPlace = 15;
    static std::size_t TextBytes(const std::string& text) {
        return sizeof(std::string) + (text.capacity() > kTextInPlace ? text.capacity() + 1 : 0);
    }

    // The codes of a push and a pop in a record, and of no change yet.
    static constexpr std::uint8_t kPushCode = 0, kPopCode = 1, kNoCode = 0xff;
    // Where a record keeps its last arguments and its changes, and the flag
    // of a record that holds stack containers (see steprecord.h).
    static constexpr std::size_t kValueBytes = 10; // sign, exponent and significand
    static constexpr std::size_t kArgsAt = 4 + 4 + 1 + 1;
    static constexpr std::size_t kOpsAt = kArgsAt + 2 * kValueBytes + 4;
    static constexpr std::uint8_t kSwapsFlag = 4;
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
    void BeginEdit(const ModeView& before);
    void EndRare(const ModeView& after, const TextStack& stack, bool sameModes);
    // Copies n bytes, reading and writing none outside them: short texts
    // (labels, the numbers a command pops) in a few moves instead of a
    // call into the C library.
    static void CopyShort(void* to, const void* from, std::size_t n) {
        auto* d = static_cast<unsigned char*>(to);
        const auto* s = static_cast<const unsigned char*>(from);
        if (n > 8) {
            if (n > 32) return static_cast<void>(std::memcpy(d, s, n));
            // Two or four eight-byte moves that may overlap.
            std::uint64_t a, b;
            std::memcpy(&a, s, 8);
            std::memcpy(&b, s + n - 8, 8);
            if (n > 16) {
                std::uint64_t c, e;
                std::memcpy(&c, s + 8, 8);
                std::memcpy(&e, s + n - 16, 8);
                std::memcpy(d + 8, &c, 8);
                std::memcpy(d + n - 16, &e, 8);
            }
            std::memcpy(d, &a, 8);
            std::memcpy(d + n - 8, &b, 8);
        } else if (n == 8) {
            std::memcpy(d, s, 8);
        } else if (n >= 4) {
            std::uint32_t a, b;
            std::memcpy(&a, s, 4);
            std::memcpy(&b, s + n - 4, 4);
            std::memcpy(d, &a, 4);
            std::memcpy(d + n - 4, &b, 4);
        } else if (n > 0) {
            // One to three bytes: the first, the middle and the last.
            const unsigned char x = s[0], y = s[n / 2], z = s[n - 1];
            d[0] = x;
            d[n / 2] = y;
            d[n - 1] = z;
        }
    }
    // Writes the open record's header and keeps it as the newest step.
    [[gnu::always_inline]] void Keep(std::uint8_t flags, std::size_t heldBytes,
                                     std::size_t opsLen) {
        const std::size_t size = static_cast<std::size_t>(tail_ - open_);
        const auto size32 = static_cast<std::uint32_t>(size);
        const auto opsLen32 = static_cast<std::uint32_t>(opsLen);
        std::memcpy(open_, &size32, 4);
        std::memcpy(open_ + 4, &opsLen32, 4);
        open_[8] = static_cast<std::byte>(flags);
        open_[9] = static_cast<std::byte>(labelLen_);
        back_->used = static_cast<std::size_t>(tail_ - back_->data.get());
        ++back_->live;
        free_ = tail_;
        const std::size_t bytes = size + sizeof(StepRef) + sizeof(AfterModes) + heldBytes;
        steps_.push_back({open_, bytes, (flags & kSwapsFlag) != 0 ? 1u : 0u});
        open_ = nullptr;
        bytes_ += bytes;
        ++done_;
        if (steps_.size() > limits_.maxSteps || bytes_ > limits_.maxBytes) {
            // At the cap every step drops the oldest: done, holding no
            // stack container, its chunk still holding newer records.
            const StepRef& old = steps_.front();
            if (steps_.size() == limits_.maxSteps + 1 && bytes_ - old.bytes <= limits_.maxBytes &&
                done_ > 1 && !old.swaps && chunks_.front().live > 1) {
                bytes_ -= old.bytes;
                --done_;
                --chunks_.front().live;
                steps_.pop_front();
            } else {
                Trim();
            }
        }
    }
    // Starts the open record at the end of the arena with room for n bytes.
    void Place(std::size_t n) {
        if (static_cast<std::size_t>(limit_ - free_) < n) NewChunk(n);
        open_ = free_;
    }
    void NewChunk(std::size_t n);
    // Reads where the last chunk ends and is filled to.
    void SyncBack();
    // Moves the open record where n more bytes fit after it.
    void Grow(std::size_t n);
    // Takes the open record out of the arena into `held_`, and puts it
    // back with room for n more bytes; between the two the arena's newest
    // records may be dropped.
    void Hold();
    void Unhold(std::size_t n);
    // Gives back the newest record's room (it starts at p), or the oldest's.
    void FreeNewest(const std::byte* p);
    void FreeOldest();
    // Gives back chunks at the end that no kept record is in.
    void TidyBack();
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
        std::size_t bytes : 63; // what Bytes() counts for it
        std::size_t swaps : 1;  // whether it holds entries of swaps_
    };
    // Sixteen bytes a step, which the caches carry for every kept step.
    static_assert(sizeof(StepRef) == 16);
    Ring<StepRef> steps_; // oldest first
    // The modes after each undone step, the next to redo last: a step is
    // undone only from the state right after it.
    struct AfterModes {
        Value LastX, LastY;
        std::uint32_t LastNum;
        std::int32_t FixLength;
        Base CurrentBase;
        std::int32_t WordSize;
        AngleUnit AngleMode;
    };
    Ring<AfterModes> afterModes_;
    std::size_t done_ = 0; // steps_[0, done_) are done, the rest undone
    std::size_t bytes_ = 0;
    std::deque<Chunk> chunks_; // the arena, oldest first
    Chunk spare_;              // a freed chunk kept for the next, so that
                               // steps at the cap allocate nothing
    std::deque<std::string> redoTexts_;
    std::deque<std::vector<std::string>> swaps_;
    std::uint64_t swapsFront_ = 0; // the number of swaps_.front()

    // The open step: its record is written in place at the end of the
    // arena as the command runs (from open_ to tail_, with room to limit_),
    // and kept by End or given up.
    bool recording_ = false;
    bool failed_ = false;
    std::uint64_t kept_ = 0;
    std::byte* open_ = nullptr;
    std::byte* tail_ = nullptr;
    std::byte* limit_ = nullptr;
    // The last chunk, and the end of its kept records.
    Chunk* back_ = nullptr;
    std::byte* free_ = nullptr;
    std::vector<std::byte> held_;
    // Room for n more bytes at the end of the open record.
    std::byte* Extend(std::size_t n) {
        if (static_cast<std::size_t>(limit_ - tail_) < n) Grow(n);
        std::byte* p = tail_;
        tail_ += n;
        return p;
    }
    // The other modes before the step, for End to compare, once the step
    // changes one of them (nearly no step does).
    bool otherSaved_ = false;
    struct {
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
        CopyShort(label_, label.data(), labelLen_); // data may be null when empty
    }
    // A push or a pop counts itself into the last change when that is of
    // its kind; otherwise it begins a change: its code and a count.
    void CountOne(std::uint8_t code, std::uint32_t more = 1) {
        std::uint32_t n = 0;
        if (lastCode_ == code) {
            std::memcpy(&n, open_ + lastOp_ + 1, sizeof n);
        } else {
            lastCode_ = code;
            std::byte* p = Extend(1 + sizeof n);
            lastOp_ = static_cast<std::size_t>(p - open_);
            *p = static_cast<std::byte>(code);
        }
        n += more;
        std::memcpy(open_ + lastOp_ + 1, &n, sizeof n);
    }
    void PoppedLong(std::string_view text);
    // Whether the open step popped one short text and pushed one that reads
    // otherwise (a one-argument function): the stack changed, which spares
    // End the general comparison.
    bool ReplacedTop(const TextStack& stack) const {
        const std::byte* pop = open_ + kOpsAt;
        if (lastCode_ != kPushCode || pop[0] != static_cast<std::byte>(kPopCode)) return false;
        const auto len = static_cast<std::size_t>(pop[5]); // a one-byte varint below 0x80
        if (len >= 0x80 || lastOp_ != kOpsAt + 6 + len) return false;
        std::uint32_t pops, pushes;
        std::memcpy(&pops, pop + 1, sizeof pops);
        std::memcpy(&pushes, open_ + lastOp_ + 1, sizeof pushes);
        if (pops != 1 || pushes != 1) return false;
        const std::string& top = stack.at(0);
        return top.size() != len || std::memcmp(top.data(), pop + 6, len) != 0;
    }
    std::size_t lastOp_ = 0;          // where the last change's code is in the open record
    std::uint8_t lastCode_ = kNoCode; // and its code (none yet)
    std::ptrdiff_t depthChange_ = 0;
    bool moved_ = false; // a move or a swap among the changes
    std::size_t pendingBytes_ = 0;
    std::vector<std::vector<std::string>> pendingSwaps_;
    std::vector<std::string_view> scratch_; // reused by StackUnchanged
};

} // namespace tallix
