// Bitwise logic, shifts and rotations, and the word size. Arguments are
// rounded to whole numbers (ties to even) and combined by the word
// primitives; a value that has no 64-bit integer, or that a primitive
// cannot convert, is put back as a bad argument.
#include <algorithm>
#include <cstdint>

#include "core/number/baseconv.h"
#include "core/number/numtext.h"
#include "core/ops/operations.h"

namespace tallix::ops {

using R = OpResult;
using Word = std::int64_t;

// Rounds the arguments and runs a word primitive on them.
template <typename F> R OnWords(Value x, Value y, F primitive) {
    const auto a = RoundToInt64(x), b = RoundToInt64(y);
    if (!a || !b) return R::Error(Reason::BadArgumentType);
    try {
        return R::One(static_cast<Value>(primitive(*a, *b)));
    } catch (const BaseConv::EConvertError&) {
        return R::Error(Reason::BadArgumentType);
    }
}

template <Word (*Fn)(int, Word, Word)> R TwoArgLogic(Calculator::Change& c, Value x, Value y) {
    return OnWords(x, y, [&](Word a, Word b) { return Fn(c.Calc().WordSize(), a, b); });
}

R Not(Calculator::Change& c, Value x, Value) {
    return OnWords(x, 0, [&](Word a, Word) { return BaseConv::WordNot(c.Calc().WordSize(), a); });
}

template <bool Left, bool Rotate> R ShiftRotate(Calculator::Change& c, Value x, Value) {
    return OnWords(x, 0, [&](Word a, Word) {
        return Left ? BaseConv::ShiftWordLeft(c.Calc().WordSize(), Rotate, a)
                    : BaseConv::ShiftWordRight(c.Calc().WordSize(), Rotate, a);
    });
}

// A word size outside 1..56 is clamped without a message.
R StoreWordSize(Calculator::Change& c, Value x, Value) {
    c.SetWordSize(static_cast<std::int32_t>(std::clamp<Value>(x, 1, 56)));
    return R::None();
}

R RecallWordSize(Calculator::Change& c, Value, Value) { return R::One(c.Calc().WordSize()); }

R And(Calculator::Change& c, Value x, Value y) { return TwoArgLogic<BaseConv::WordAnd>(c, x, y); }
R Or(Calculator::Change& c, Value x, Value y) { return TwoArgLogic<BaseConv::WordOr>(c, x, y); }
R Xor(Calculator::Change& c, Value x, Value y) { return TwoArgLogic<BaseConv::WordXor>(c, x, y); }
R SL(Calculator::Change& c, Value x, Value y) { return ShiftRotate<true, false>(c, x, y); }
R SR(Calculator::Change& c, Value x, Value y) { return ShiftRotate<false, false>(c, x, y); }
R RL(Calculator::Change& c, Value x, Value y) { return ShiftRotate<true, true>(c, x, y); }
R RR(Calculator::Change& c, Value x, Value y) { return ShiftRotate<false, true>(c, x, y); }

} // namespace tallix::ops
