// Bitwise logic, shifts and rotations, and the word size. Arguments are
// rounded to whole numbers (ties to even) and combined by the word
// primitives; a value that has no 64-bit integer, or that a primitive
// cannot convert, is put back as a bad argument.
#include <algorithm>
#include <cstdint>

#include "baseconv/baseconv.h"
#include "engine/numtext.h"
#include "ops/opframe.h"

namespace tallix {
namespace {

using R = OpResult;
using Word = std::int64_t;

// Rounds the arguments and runs a word primitive on them.
template <typename F> R OnWords(Value x, Value y, F primitive) {
    const auto a = RoundToInt64(x), b = RoundToInt64(y);
    if (!a || !b) return R::Error("Bad Argument Type");
    try {
        return R::One(static_cast<Value>(primitive(*a, *b)));
    } catch (const BaseConv::EConvertError&) {
        return R::Error("Bad Argument Type");
    }
}

template <Word (*Fn)(int, Word, Word)> R TwoArgLogic(Calculator& c, Value x, Value y) {
    return OnWords(x, y, [&](Word a, Word b) { return Fn(c.WordSize, a, b); });
}

R Not(Calculator& c, Value x, Value) {
    return OnWords(x, 0, [&](Word a, Word) { return BaseConv::WordNot(c.WordSize, a); });
}

template <bool Left, bool Rotate> R ShiftRotate(Calculator& c, Value x, Value) {
    return OnWords(x, 0, [&](Word a, Word) {
        return Left ? BaseConv::ShiftWordLeft(c.WordSize, Rotate, a)
                    : BaseConv::ShiftWordRight(c.WordSize, Rotate, a);
    });
}

// A word size outside 1..56 is clamped without a message.
R StoreWordSize(Calculator& c, Value x, Value) {
    c.WordSize = static_cast<std::int32_t>(std::clamp<Value>(x, 1, 56));
    return R::None();
}

R RecallWordSize(Calculator& c, Value, Value) { return R::One(c.WordSize); }

constexpr OpDef kLogicOps[] = {
    {Cmd::And, "AND", 2, false, TwoArgLogic<BaseConv::WordAnd>},
    {Cmd::Or, "OR", 2, false, TwoArgLogic<BaseConv::WordOr>},
    {Cmd::Xor, "XOR", 2, false, TwoArgLogic<BaseConv::WordXor>},
    {Cmd::Not, "NOT", 1, false, Not},
    {Cmd::SL, "SL", 1, false, ShiftRotate<true, false>},
    {Cmd::SR, "SR", 1, false, ShiftRotate<false, false>},
    {Cmd::RL, "RL", 1, false, ShiftRotate<true, true>},
    {Cmd::RR, "RR", 1, false, ShiftRotate<false, true>},
    {Cmd::STWS, "STWS", 1, true, StoreWordSize},
    {Cmd::RCWS, "RCWS", 0, false, RecallWordSize},
};

} // namespace

std::span<const OpDef> LogicOps() { return kLogicOps; }

} // namespace tallix
