#include "core/calc/history.h"

#include "core/calc/steprecord.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace tallix {

using namespace steprecord;

static_assert(History::kPushCode == kPush && History::kPopCode == kPop);

namespace {
// Two values are the same when a reader could not tell them apart: equal,
// with the same sign (0 and -0 differ), or both not a number.
bool SameValue(Value a, Value b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

constexpr std::size_t kChunkBytes = std::size_t{256} << 10;
} // namespace

bool ModeState::SameLastArgs(const ModeState& o) const {
    return SameValue(LastX, o.LastX) && SameValue(LastY, o.LastY) && LastNum == o.LastNum;
}

bool ModeState::SameModes(const ModeState& o) const {
    return FixLength == o.FixLength && CurrentBase == o.CurrentBase && WordSize == o.WordSize &&
           AngleMode == o.AngleMode;
}

std::size_t History::ItemsBytes(const std::vector<std::string>& items) {
    std::size_t bytes = (items.capacity() - items.size()) * sizeof(std::string);
    for (const std::string& s : items) bytes += TextBytes(s);
    return bytes;
}

// ---- recording ----------------------------------------------------------

void History::Begin(const ModeView& before, std::string_view label) {
    recording_ = true;
    failed_ = false;
    // Kept as the record will hold them, and the small ones as they are for
    // End to compare.
    std::byte* p = beforeModes_;
    PutLastArgs(p, before);
    PutOtherModes(p, before);
    beforeOther_ = {before.LastNum, before.FixLength, before.CurrentBase, before.WordSize,
                    before.AngleMode};
    beforeEdit_ = before.EditText != nullptr;
    beforeOriginal_ = before.EditOriginal != nullptr;
    if (beforeEdit_) beforeEditText_ = *before.EditText;
    if (beforeOriginal_) beforeEditOriginal_ = *before.EditOriginal;
    SetLabel(label);
    ops_.size = 0;
    lastOp_ = std::string::npos;
    lastCode_ = kNoCode;
    depthChange_ = 0;
    moved_ = false;
    pendingBytes_ = 0;
    pendingSwaps_.clear();
}

std::string_view History::UndoLabel() const {
    return done_ > 0 ? Record(steps_[done_ - 1].record).label : std::string_view();
}

std::string_view History::RedoLabel() const {
    return done_ < steps_.size() ? Record(steps_[done_].record).label : std::string_view();
}

void History::Ops::Grow(std::size_t n) {
    std::size_t c = cap ? 2 * cap : 256;
    while (c - size < n) c *= 2;
    auto d = std::make_unique_for_overwrite<std::byte[]>(c);
    if (size) std::memcpy(d.get(), data.get(), size);
    data = std::move(d);
    cap = c;
}

void History::PoppedLong(std::string_view text) {
    std::byte* p = ops_.Extend(VarintSize(text.size()) + text.size());
    PutVarint(p, text.size());
    PutBytes(p, text);
}

void History::Moved(bool toTop, std::size_t i) {
    moved_ = true;
    lastCode_ = toTop ? kToTop : kFromTop;
    lastOp_ = ops_.size;
    std::byte* p = ops_.Extend(1 + 8);
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
    lastOp_ = ops_.size;
    *ops_.Extend(1) = static_cast<std::byte>(kSwap);
    pendingSwaps_.push_back(std::move(oldItems));
}

bool History::StackUnchanged(const TextStack& stack) {
    if (ops_.size == 0) return true;
    // Most steps leave the stack one deeper or shallower.
    if (!moved_ && depthChange_ != 0) return false;
    const std::byte* p = ops_.data.get();
    const std::byte* end = p + ops_.size;
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
    p = ops_.data.get();
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
    // In place: the last arguments have their fixed places in a record.
    if (done_ > 0) {
        std::byte* p = steps_[done_ - 1].record + kModesAt + kLastArgs;
        PutLastArgs(p, after);
    }
    if (done_ < steps_.size()) {
        std::byte* p = steps_[done_].record + kModesAt;
        PutLastArgs(p, after);
    }
}

void History::End(const ModeView& after, const TextStack& stack) {
    static_assert(kModes == kLastArgs + kOtherModes);
    recording_ = false;
    // Compared field by field, straight from the calculator: bytes just
    // written and read back wider would stall the store buffer.
    const bool sameModes = beforeOther_.FixLength == after.FixLength &&
                           beforeOther_.CurrentBase == after.CurrentBase &&
                           beforeOther_.WordSize == after.WordSize &&
                           beforeOther_.AngleMode == after.AngleMode;
    if (sameModes && (moved_ || depthChange_ == 0) && StackUnchanged(stack)) {
        // Equal bytes are the same arguments; unequal ones may still be (two
        // NaNs), which the values decide.
        bool sameArgs = std::memcmp(beforeModes_, &after.LastX, kValueBytes) == 0 &&
                        std::memcmp(beforeModes_ + kValueBytes, &after.LastY, kValueBytes) == 0;
        if (!sameArgs) {
            ModeState b, a;
            const std::byte* q = beforeModes_;
            GetLastArgs(q, b);
            a.LastX = after.LastX;
            a.LastY = after.LastY;
            sameArgs = SameValue(a.LastX, b.LastX) && SameValue(a.LastY, b.LastY);
        }
        if (sameArgs && beforeOther_.LastNum == after.LastNum) return;
        if (failed_) {
            KeepLastArgs(after);
            return;
        }
    }
    DropUndone();
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
    const std::size_t size = kHeader + 2 * kLastArgs + kOtherModes +
                             (flags & kModesChanged ? kOtherModes : 0) + 1 + labelLen_ +
                             (flags & kSwaps ? 4 + 8 : 0) + 4 + ops_.size + editBytes;
    const std::size_t bytes = size + sizeof(StepRef) + pendingBytes_;

    std::byte* record = Allocate(size);
    std::byte* p = record;
    Put<std::uint32_t>(p, static_cast<std::uint32_t>(size));
    Put<std::uint64_t>(p, bytes);
    Put<std::uint8_t>(p, flags);
    // Last arguments before and after, then the other modes likewise.
    std::memcpy(p, beforeModes_, kLastArgs);
    p += kLastArgs;
    PutLastArgs(p, after);
    std::memcpy(p, beforeModes_ + kLastArgs, kOtherModes);
    p += kOtherModes;
    if (flags & kModesChanged) PutOtherModes(p, after);
    Put<std::uint8_t>(p, labelLen_);
    PutBytes(p, PendingLabel());
    if (flags & kSwaps) {
        Put<std::uint32_t>(p, static_cast<std::uint32_t>(pendingSwaps_.size()));
        Put<std::uint64_t>(p, swapsFront_ + swaps_.size());
        for (auto& items : pendingSwaps_) swaps_.push_back(std::move(items));
        pendingSwaps_.clear();
    }
    Put<std::uint32_t>(p, static_cast<std::uint32_t>(ops_.size));
    if (ops_.size > 0) std::memcpy(p, ops_.data.get(), ops_.size); // none yet: null
    p += ops_.size;
    if (beforeEdit_) PutEdit(p, beforeEditText_, beforeOriginal_ ? &beforeEditOriginal_ : nullptr);
    if (after.EditText) PutEdit(p, *after.EditText, after.EditOriginal);

    steps_.push_back({record, bytes, (flags & kSwaps) != 0});
    bytes_ += bytes;
    ++done_;
    Trim();
}

// ---- the arena ----------------------------------------------------------

std::byte* History::Allocate(std::size_t n) {
    if (chunks_.empty() || chunks_.back().cap - chunks_.back().used < n) {
        if (spare_.data && spare_.cap >= n) {
            chunks_.push_back(std::move(spare_));
            spare_ = Chunk();
        } else {
            Chunk c;
            c.cap = n > kChunkBytes ? n : kChunkBytes;
            c.data = std::make_unique_for_overwrite<std::byte[]>(c.cap);
            chunks_.push_back(std::move(c));
        }
        chunks_.back().used = 0;
        chunks_.back().live = 0;
    }
    Chunk& c = chunks_.back();
    std::byte* p = c.data.get() + c.used;
    c.used += n;
    ++c.live;
    return p;
}

void History::FreeNewest(const std::byte* p) {
    Chunk& c = chunks_.back();
    c.used = static_cast<std::size_t>(p - c.data.get());
    if (--c.live == 0) {
        // Kept for the next records unless it was one step's own.
        if (c.cap == kChunkBytes) spare_ = std::move(c);
        chunks_.pop_back();
    }
}

void History::FreeOldest() {
    Chunk& c = chunks_.front();
    if (--c.live == 0) {
        if (chunks_.size() == 1) {
            c.used = 0; // the only chunk: start it again
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
        // Undone, and the first to be undone: its pushed texts were put
        // aside first.
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
    Trim();
}

void History::Clear() {
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
    chunks_.clear();
    redoTexts_.clear();
    swapsFront_ += swaps_.size();
    swaps_.clear();
}

// ---- undo and redo ------------------------------------------------------

bool History::Undo(TextStack& stack, ModeState& modes) {
    if (done_ == 0) return false;
    const Record r(steps_[done_ - 1].record);
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
    modes = r.Modes(false);
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
    modes = r.Modes(true);
    ++done_;
    return true;
}

} // namespace tallix
