#include "core/calc/history.h"

#include "core/calc/steprecord.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace tallix {

using namespace steprecord;

static_assert(History::kPushCode == kPush && History::kPopCode == kPop);
#if defined(__GNUC__) && !defined(__clang__)
static_assert(std::string().capacity() == History::kTextInPlace);
#endif

namespace {
// Two values are the same when a reader could not tell them apart: equal,
// with the same sign (0 and -0 differ), or both not a number.
bool SameValue(Value a, Value b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

constexpr std::size_t kChunkBytes = std::size_t{256} << 10;
} // namespace

std::size_t History::ItemsBytes(const std::vector<std::string>& items) {
    std::size_t bytes = (items.capacity() - items.size()) * sizeof(std::string);
    for (const std::string& s : items) bytes += TextBytes(s);
    return bytes;
}

// ---- recording ----------------------------------------------------------

void History::BeginEdit(const ModeView& before) {
    beforeOriginal_ = before.EditOriginal != nullptr;
    beforeEditText_ = *before.EditText;
    if (beforeOriginal_) beforeEditOriginal_ = *before.EditOriginal;
}

std::string_view History::UndoLabel() const {
    return done_ > 0 ? Record(steps_[done_ - 1].record).label : std::string_view();
}

std::string_view History::RedoLabel() const {
    return done_ < steps_.size() ? Record(steps_[done_].record).label : std::string_view();
}

void History::PoppedLong(std::string_view text) {
    std::byte* p = Extend(VarintSize(text.size()) + text.size());
    PutVarint(p, text.size());
    PutBytes(p, text);
}

void History::Moved(bool toTop, std::size_t i) {
    moved_ = true;
    lastCode_ = toTop ? kToTop : kFromTop;
    std::byte* p = Extend(1 + 8);
    lastOp_ = static_cast<std::size_t>(p - open_);
    Put<std::uint8_t>(p, lastCode_);
    Put<std::uint64_t>(p, i);
}

void History::Replaced(std::vector<std::string> oldItems, std::size_t newBytes) {
    // The step holds the old contents while it is done and the new ones
    // while it is undone: the larger of the two counts.
    const std::size_t oldBytes = ItemsBytes(oldItems);
    pendingBytes_ += sizeof(std::vector<std::string>) + (oldBytes > newBytes ? oldBytes : newBytes);
    moved_ = true;
    lastCode_ = kSwap;
    std::byte* p = Extend(1);
    lastOp_ = static_cast<std::size_t>(p - open_);
    *p = static_cast<std::byte>(kSwap);
    pendingSwaps_.push_back(std::move(oldItems));
}

bool History::StackUnchanged(const TextStack& stack) {
    const std::byte* p = open_ + kOpsAt;
    const std::byte* end = tail_;
    if (p == end) return true;
    // Most steps leave the stack one deeper or shallower.
    if (!moved_ && depthChange_ != 0) return false;
    Op first = ReadOp(p);
    // A clear or a replacement first: the step's old contents against the
    // stack now (what came after the swap is in the stack now).
    if (first.code == kSwap) {
        const std::vector<std::string>& old = pendingSwaps_.front(); // deepest first
        if (old.size() != stack.size()) return false;
        for (std::size_t j = 0; j < old.size(); ++j)
            if (stack.at(j) != old[old.size() - 1 - j]) return false;
        return true;
    }
    // A single move: moving an entry past entries that read the same
    // changes nothing.
    if ((first.code == kToTop || first.code == kFromTop) && p == end) {
        for (std::size_t j = 1; j <= first.n; ++j)
            if (stack.at(j) != stack.at(0)) return false;
        return true;
    }
    // Entries the step pushed that are still on the stack, and the original
    // entries it popped (level 1 first).
    std::size_t livePushes = 0;
    scratch_.clear();
    p = open_ + kOpsAt;
    while (p != end) {
        const Op op = ReadOp(p);
        switch (op.code) {
        case kPush: livePushes += op.n; break;
        case kPop: {
            const std::byte* t = op.texts;
            for (std::size_t k = 0; k < op.n; ++k) {
                const std::string_view text = GetText(t);
                if (livePushes > 0)
                    --livePushes;
                else
                    scratch_.push_back(text);
            }
            break;
        }
        default: return false; // moves among other changes always count
        }
    }
    if (livePushes != scratch_.size()) return false;
    for (std::size_t j = 0; j < scratch_.size(); ++j)
        if (stack.at(j) != scratch_[j]) return false;
    return true;
}

void History::KeepLastArgs(const ModeView& after) {
    // In place, before the next undone step: the last arguments have their
    // fixed place in a record. The state after the last done step is taken
    // from the calculator when that step is undone.
    if (done_ < steps_.size()) {
        std::byte* p = steps_[done_].record + kArgsAt;
        PutLastArgs(p, after);
    }
}

void History::EndRare(const ModeView& after, const TextStack& stack, bool sameModes) {
    const std::size_t opsLen = static_cast<std::size_t>(tail_ - (open_ + kOpsAt));
    if (sameModes && (moved_ || depthChange_ == 0) && StackUnchanged(stack)) {
        // Equal bytes are the same arguments; unequal ones may still be (two
        // NaNs), which the values decide.
        const std::byte* before = open_ + kArgsAt;
        bool sameArgs = std::memcmp(before, &after.LastX, kValueBytes) == 0 &&
                        std::memcmp(before + kValueBytes, &after.LastY, kValueBytes) == 0;
        if (!sameArgs) {
            ModeState b;
            GetLastArgs(before, b);
            sameArgs = SameValue(after.LastX, b.LastX) && SameValue(after.LastY, b.LastY);
        }
        std::uint32_t lastNum;
        std::memcpy(&lastNum, open_ + kArgsAt + 2 * kValueBytes, sizeof lastNum);
        const bool sameNum = lastNum == after.LastNum;
        if ((sameArgs && sameNum) || failed_) {
            // No step: its room goes back.
            open_ = nullptr;
            pendingSwaps_.clear();
            TidyBack();
            if (!sameArgs || !sameNum) KeepLastArgs(after);
            return;
        }
    }
    if (steps_.size() > done_) {
        // The undone steps go first: their records are older than this one.
        Hold();
        DropUndone();
        Unhold(0);
    }
    ++kept_;

    std::uint8_t flags = 0;
    if (beforeEdit_) flags |= kEditBefore;
    if (after.EditText) flags |= kEditAfter;
    if (!pendingSwaps_.empty()) flags |= kSwaps;
    if (!sameModes) flags |= kModesChanged;
    const std::size_t editBytes =
        (beforeEdit_ ? EditSize(beforeEditText_, beforeOriginal_ ? &beforeEditOriginal_ : nullptr)
                     : 0) +
        (after.EditText ? EditSize(*after.EditText, after.EditOriginal) : 0);
    std::byte* p = Extend((flags & kModesChanged ? kOtherModes : 0) + labelLen_ +
                          (flags & kSwaps ? 4 + 8 : 0) + editBytes);
    if (flags & kModesChanged) PutOtherModes(p, beforeOther_);
    PutBytes(p, PendingLabel());
    if (flags & kSwaps) {
        Put<std::uint32_t>(p, static_cast<std::uint32_t>(pendingSwaps_.size()));
        Put<std::uint64_t>(p, swapsFront_ + swaps_.size());
        for (auto& items : pendingSwaps_) swaps_.push_back(std::move(items));
        pendingSwaps_.clear();
    }
    if (beforeEdit_) PutEdit(p, beforeEditText_, beforeOriginal_ ? &beforeEditOriginal_ : nullptr);
    if (after.EditText) PutEdit(p, *after.EditText, after.EditOriginal);

    Keep(flags, pendingBytes_, opsLen);
}

// ---- the arena ----------------------------------------------------------

void History::NewChunk(std::size_t n) {
    Chunk c;
    if (spare_.data && spare_.cap >= n) {
        c = std::move(spare_);
        spare_ = Chunk();
    } else {
        c.cap = n > kChunkBytes ? n : kChunkBytes;
        c.data = std::make_unique_for_overwrite<std::byte[]>(c.cap);
    }
    c.used = 0;
    c.live = 0;
    chunks_.push_back(std::move(c));
    SyncBack();
}

void History::SyncBack() {
    back_ = chunks_.empty() ? nullptr : &chunks_.back();
    free_ = back_ ? back_->data.get() + back_->used : nullptr;
    limit_ = back_ ? back_->data.get() + back_->cap : nullptr;
}

void History::Grow(std::size_t n) {
    // Rare: a step with long texts, or one that began near a chunk's end.
    Hold();
    Unhold(n);
}

void History::Hold() {
    held_.assign(open_, tail_);
    open_ = nullptr;
    TidyBack();
}

void History::Unhold(std::size_t n) {
    // Room to spare, so that a long step does not move at every change.
    Place(held_.size() + n + held_.size() / 2 + 256);
    if (!held_.empty()) std::memcpy(open_, held_.data(), held_.size());
    tail_ = open_ + held_.size();
    held_.clear();
}

void History::TidyBack() {
    // The open record's chunk may hold no kept record yet; an empty chunk
    // must not stay behind it, as the newest record is looked for in the
    // last chunk.
    while (!chunks_.empty() && chunks_.back().live == 0) {
        if (chunks_.size() == 1) {
            chunks_.back().used = 0;
            break;
        }
        Chunk& c = chunks_.back();
        if (c.cap == kChunkBytes) spare_ = std::move(c);
        chunks_.pop_back();
    }
    SyncBack();
}

void History::FreeNewest(const std::byte* p) {
    Chunk& c = chunks_.back();
    c.used = static_cast<std::size_t>(p - c.data.get());
    if (--c.live == 0) {
        // Kept for the next records unless it was one step's own.
        if (c.cap == kChunkBytes) spare_ = std::move(c);
        chunks_.pop_back();
    }
    SyncBack();
}

void History::FreeOldest() {
    Chunk& c = chunks_.front();
    if (--c.live == 0) {
        if (chunks_.size() == 1) {
            c.used = 0; // the only chunk: start it again
            SyncBack();
            return;
        }
        if (c.cap == kChunkBytes) spare_ = std::move(c);
        chunks_.pop_front();
    }
}

void History::DropNewest() {
    const StepRef& s = steps_.back();
    bytes_ -= s.bytes;
    if (s.swaps)
        for (std::uint32_t k = Record(s.record).swapCount; k > 0; --k) swaps_.pop_back();
    if (done_ == steps_.size()) {
        --done_;
    } else {
        // Undone, and the first to be undone: its pushed texts and the modes
        // after it were put aside first.
        afterModes_.pop_front();
        const Record r(s.record);
        for (const std::byte* p = r.ops; p != r.opsEnd;) {
            const Op op = ReadOp(p);
            if (op.code == kPush)
                redoTexts_.erase(redoTexts_.begin(),
                                 redoTexts_.begin() + static_cast<std::ptrdiff_t>(op.n));
        }
    }
    FreeNewest(s.record);
    steps_.pop_back();
}

void History::DropUndone() {
    if (steps_.size() == done_) return;
    redoTexts_.clear();
    afterModes_.clear();
    while (steps_.size() > done_) {
        const StepRef& s = steps_.back();
        bytes_ -= s.bytes;
        if (s.swaps)
            for (std::uint32_t k = Record(s.record).swapCount; k > 0; --k) swaps_.pop_back();
        FreeNewest(s.record);
        steps_.pop_back();
    }
}

void History::DropOldest() {
    const StepRef& s = steps_.front();
    bytes_ -= s.bytes;
    if (s.swaps) {
        for (std::uint32_t k = Record(s.record).swapCount; k > 0; --k) {
            swaps_.pop_front();
            ++swapsFront_;
        }
    }
    --done_;
    FreeOldest();
    steps_.pop_front();
}

void History::Trim() {
    // The newest step stays, whatever it holds: it is what the user undoes
    // next, and it holds no more than the stack itself did.
    // The steps farthest from the present go first: the oldest done ones,
    // and with none done, the last ones that could be redone, so that what
    // is kept still leads from the present state.
    while (steps_.size() > 1 && (steps_.size() > limits_.maxSteps || bytes_ > limits_.maxBytes)) {
        if (done_ > 0)
            DropOldest();
        else
            DropNewest();
    }
}

void History::SetLimits(Limits limits) {
    limits_ = limits;
    if (limits_.maxSteps == 0) limits_.maxSteps = 1;
    // An open step's record stays where it is: End trims after it.
    if (!recording_) Trim();
}

void History::Clear() {
    if (recording_) Hold();
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
    chunks_.clear();
    SyncBack();
    if (recording_) Unhold(0);
    redoTexts_.clear();
    afterModes_.clear();
    swapsFront_ += swaps_.size();
    swaps_.clear();
}

// ---- undo and redo ------------------------------------------------------

bool History::Undo(TextStack& stack, const ModeView& now, ModeState& modes) {
    if (done_ == 0) return false;
    const Record r(steps_[done_ - 1].record);
    afterModes_.push_back({now.LastX, now.LastY, now.LastNum, now.FixLength, now.CurrentBase,
                           now.WordSize, now.AngleMode});
    // The changes are read forwards and played backwards.
    Op ops[16];
    std::vector<Op> more;
    std::size_t count = 0;
    for (const std::byte* p = r.ops; p != r.opsEnd;) {
        const Op op = ReadOp(p);
        if (count < 16)
            ops[count] = op;
        else
            more.push_back(op);
        ++count;
    }
    std::size_t swap = r.swapCount;
    for (std::size_t i = count; i-- > 0;) {
        const Op& op = i < 16 ? ops[i] : more[i - 16];
        switch (op.code) {
        case kPush:
            for (std::size_t k = 0; k < op.n; ++k) redoTexts_.push_back(stack.pop());
            break;
        case kPop: {
            // Pushed back deepest first: the texts were popped level 1 first.
            std::string_view texts[64];
            std::vector<std::string_view> many;
            std::string_view* t = texts;
            if (op.n > 64) {
                many.resize(op.n);
                t = many.data();
            }
            const std::byte* q = op.texts;
            for (std::size_t k = 0; k < op.n; ++k) t[k] = GetText(q);
            for (std::size_t k = op.n; k-- > 0;) stack.push(std::string(t[k]));
            break;
        }
        case kToTop: stack.moveFromTop(op.n); break;
        case kFromTop: stack.moveToTop(op.n); break;
        case kSwap: stack.swapItems(swaps_[r.firstSwap + --swap - swapsFront_]); break;
        }
    }
    modes = r.Before(now);
    --done_;
    return true;
}

bool History::Redo(TextStack& stack, ModeState& modes) {
    if (done_ == steps_.size()) return false;
    const Record r(steps_[done_].record);
    std::size_t swap = 0;
    for (const std::byte* p = r.ops; p != r.opsEnd;) {
        const Op op = ReadOp(p);
        switch (op.code) {
        case kPush:
            for (std::size_t k = 0; k < op.n; ++k) {
                stack.push(std::move(redoTexts_.back()));
                redoTexts_.pop_back();
            }
            break;
        case kPop:
            for (std::size_t k = 0; k < op.n; ++k) stack.pop();
            break;
        case kToTop: stack.moveToTop(op.n); break;
        case kFromTop: stack.moveFromTop(op.n); break;
        case kSwap: stack.swapItems(swaps_[r.firstSwap + swap++ - swapsFront_]); break;
        }
    }
    const AfterModes& a = afterModes_.back();
    modes.LastX = a.LastX;
    modes.LastY = a.LastY;
    modes.LastNum = a.LastNum;
    modes.FixLength = a.FixLength;
    modes.CurrentBase = a.CurrentBase;
    modes.WordSize = a.WordSize;
    modes.AngleMode = a.AngleMode;
    modes.Edit = r.EditAfter();
    afterModes_.pop_back();
    ++done_;
    return true;
}

} // namespace tallix
