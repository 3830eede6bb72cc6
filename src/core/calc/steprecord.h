// The record a kept undo step is stored as: its layout, and how it is
// written and read. Only the history itself includes this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "core/calc/history.h"

namespace tallix::steprecord {

// A step's record, in the arena. The fixed part comes first, so that a step
// is written where it will stay while the command runs; what only the end
// of the step knows follows its changes:
//   u32 size of the whole record
//   u32 length of the changes
//   u8  flags
//   u8  length of the label
//   the last arguments before the step (kLastArgs bytes)
//   the changes: a code byte, then for a push or a pop the count (u32), a
//     pop's texts each as a varint length and its bytes; for a move the
//     index (u64)
//   when kModesChanged: the other modes before the step (kOtherModes)
//   the label's bytes
//   when kSwaps: u32 count and u64 number of the first of swaps_
//   the Edit texts before, and after, when flagged
// The modes after a step are not kept: a step is undone only from the
// state right after it, and Undo takes them from there for Redo. Modes the
// step left as they were are not kept either: undoing it leaves them.
// Numbers are stored in the machine's byte order: records never leave the
// process.

enum Flag : std::uint8_t {
    kEditBefore = 1,
    kEditAfter = 2,
    kSwaps = 4,
    kModesChanged = 8,
};
enum Code : std::uint8_t { kPush, kPop, kToTop, kFromTop, kSwap };

static_assert(std::numeric_limits<Value>::digits == 64, "the 80-bit extended format");
constexpr std::size_t kValueBytes = History::kValueBytes;
constexpr std::size_t kLastArgs = 2 * kValueBytes + 4;
constexpr std::size_t kOtherModes = 4 + 1 + 4 + 1;
constexpr std::size_t kArgsAt = History::kArgsAt;
constexpr std::size_t kOpsAt = History::kOpsAt;
static_assert(kOpsAt == kArgsAt + kLastArgs && kSwaps == History::kSwapsFlag);

template <class T> inline void Put(std::byte*& p, T v) {
    std::memcpy(p, &v, sizeof v);
    p += sizeof v;
}
template <class T> inline T Get(const std::byte*& p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    p += sizeof v;
    return v;
}

// By reference: copied as bytes, never through the FPU.
inline void PutValue(std::byte*& p, const Value& v) {
    std::memcpy(p, &v, kValueBytes);
    p += kValueBytes;
}
inline Value GetValue(const std::byte*& p) {
    Value v = 0;
    std::memcpy(&v, p, kValueBytes);
    p += kValueBytes;
    return v;
}

inline void PutBytes(std::byte*& p, std::string_view s) {
    if (s.empty()) return; // an empty view's data may be null
    std::memcpy(p, s.data(), s.size());
    p += s.size();
}

inline std::size_t VarintSize(std::size_t n) {
    std::size_t k = 1;
    for (; n >= 0x80; n >>= 7) ++k;
    return k;
}
inline void PutVarint(std::byte*& p, std::size_t n) {
    for (; n >= 0x80; n >>= 7) *p++ = static_cast<std::byte>((n & 0x7f) | 0x80);
    *p++ = static_cast<std::byte>(n);
}
inline std::size_t GetVarint(const std::byte*& p) {
    std::size_t n = 0;
    for (int shift = 0;; shift += 7) {
        const auto b = std::to_integer<unsigned>(*p++);
        n |= static_cast<std::size_t>(b & 0x7f) << shift;
        if (!(b & 0x80)) return n;
    }
}
inline std::string_view GetText(const std::byte*& p) {
    const std::size_t n = GetVarint(p);
    std::string_view s(reinterpret_cast<const char*>(p), n);
    p += n;
    return s;
}

inline void PutLastArgs(std::byte*& p, const ModeView& m) {
    PutValue(p, m.LastX);
    PutValue(p, m.LastY);
    Put<std::uint32_t>(p, m.LastNum);
}
inline void GetLastArgs(const std::byte*& p, ModeState& m) {
    m.LastX = GetValue(p);
    m.LastY = GetValue(p);
    m.LastNum = Get<std::uint32_t>(p);
}
template <class Modes> inline void PutOtherModes(std::byte*& p, const Modes& m) {
    Put<std::int32_t>(p, m.FixLength);
    Put<std::uint8_t>(p, static_cast<std::uint8_t>(m.CurrentBase));
    Put<std::int32_t>(p, m.WordSize);
    Put<std::uint8_t>(p, static_cast<std::uint8_t>(m.AngleMode));
}
inline void GetOtherModes(const std::byte*& p, ModeState& m) {
    m.FixLength = Get<std::int32_t>(p);
    m.CurrentBase = static_cast<Base>(Get<std::uint8_t>(p));
    m.WordSize = Get<std::int32_t>(p);
    m.AngleMode = static_cast<AngleUnit>(Get<std::uint8_t>(p));
}

inline std::size_t EditSize(const std::string& text, const std::string* original) {
    std::size_t n = VarintSize(text.size()) + text.size() + 1;
    if (original) n += VarintSize(original->size()) + original->size();
    return n;
}
inline void PutEdit(std::byte*& p, const std::string& text, const std::string* original) {
    PutVarint(p, text.size());
    PutBytes(p, text);
    Put<std::uint8_t>(p, original ? 1 : 0);
    if (original) {
        PutVarint(p, original->size());
        PutBytes(p, *original);
    }
}
inline std::shared_ptr<const ModeState::EditedText> GetEdit(const std::byte*& p) {
    ModeState::EditedText e;
    e.text = GetText(p);
    if (Get<std::uint8_t>(p)) e.original = std::string(GetText(p));
    return std::make_shared<const ModeState::EditedText>(std::move(e));
}

inline void SkipEdit(const std::byte*& p) {
    GetText(p);
    if (Get<std::uint8_t>(p)) GetText(p);
}

// A record read back: where its parts are.
struct Record {
    std::uint32_t size;
    std::uint8_t flags;
    const std::byte* args;
    const std::byte* ops;
    const std::byte* opsEnd;
    const std::byte* otherModes = nullptr; // the modes before, when changed
    std::string_view label;
    std::uint32_t swapCount = 0;
    std::uint64_t firstSwap = 0;
    const std::byte* edits;

    explicit Record(const std::byte* p) {
        const std::byte* q = p;
        size = Get<std::uint32_t>(q);
        const std::uint32_t opsLen = Get<std::uint32_t>(q);
        flags = Get<std::uint8_t>(q);
        const std::size_t labelLen = Get<std::uint8_t>(q);
        args = p + kArgsAt;
        ops = p + kOpsAt;
        opsEnd = ops + opsLen;
        q = opsEnd;
        if (flags & kModesChanged) {
            otherModes = q;
            q += kOtherModes;
        }
        label = std::string_view(reinterpret_cast<const char*>(q), labelLen);
        q += labelLen;
        if (flags & kSwaps) {
            swapCount = Get<std::uint32_t>(q);
            firstSwap = Get<std::uint64_t>(q);
        }
        edits = q;
    }

    // The modes before the step; those it did not change are taken from
    // `now`, the state right after it.
    ModeState Before(const ModeView& now) const {
        ModeState m;
        const std::byte* q = args;
        GetLastArgs(q, m);
        if (otherModes) {
            q = otherModes;
            GetOtherModes(q, m);
        } else {
            m.FixLength = now.FixLength;
            m.CurrentBase = now.CurrentBase;
            m.WordSize = now.WordSize;
            m.AngleMode = now.AngleMode;
        }
        if (flags & kEditBefore) {
            const std::byte* e = edits;
            m.Edit = GetEdit(e);
        }
        return m;
    }
    // What Edit left in the entry line after the step, if anything.
    std::shared_ptr<const ModeState::EditedText> EditAfter() const {
        if (!(flags & kEditAfter)) return nullptr;
        const std::byte* e = edits;
        if (flags & kEditBefore) SkipEdit(e);
        return GetEdit(e);
    }
};

// One change of a record, read in order.
struct Op {
    Code code;
    std::size_t n;          // texts pushed or popped; the index moved
    const std::byte* texts; // a pop's texts
};
inline Op ReadOp(const std::byte*& p) {
    Op op{static_cast<Code>(Get<std::uint8_t>(p)), 0, nullptr};
    switch (op.code) {
    case kPush: op.n = Get<std::uint32_t>(p); break;
    case kPop:
        op.n = Get<std::uint32_t>(p);
        op.texts = p;
        for (std::size_t k = 0; k < op.n; ++k) GetText(p);
        break;
    case kToTop:
    case kFromTop: op.n = Get<std::uint64_t>(p); break;
    case kSwap: break;
    }
    return op;
}

} // namespace tallix::steprecord
