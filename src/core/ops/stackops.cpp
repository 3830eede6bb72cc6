// Arithmetic and the commands that move, copy, count, sum or clear
// entries, and the stack-side functions of the entry keys.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/number/numtext.h"
#include "core/ops/operations.h"

namespace tallix::ops {

using R = OpResult;

R Add(Calculator::Change&, Value x, Value y) { return R::One(y + x); }
R Sub(Calculator::Change&, Value x, Value y) { return R::One(y - x); }
R Mul(Calculator::Change&, Value x, Value y) { return R::One(y * x); }
R Div(Calculator::Change&, Value x, Value y) {
    if (x == 0) return R::Error(Reason::InfiniteResult);
    return R::One(y / x);
}
R Swap(Calculator::Change&, Value x, Value y) { return R::Two(x, y); }
R Dup2(Calculator::Change&, Value x, Value y) { return R::Four(y, x, y, x); }
R Drop(Calculator::Change&, Value, Value) { return R::None(); }
R Neg(Calculator::Change&, Value x, Value) { return R::One(x * -1); }
R Abs(Calculator::Change&, Value x, Value) { return R::One(std::fabs(x)); }

R Fix(Calculator::Change& c, Value x, Value) {
    const Value t = std::trunc(x);
    if (!(t >= -9223372036854775808.0L && t < 9223372036854775808.0L))
        return R::Report(Reason::InvalidInput);
    const std::int64_t n = static_cast<std::int64_t>(t);
    c.SetFixLength(static_cast<std::int32_t>(n > 18 ? 18 : n < -1 ? -1 : n));
    return R::None();
}

R Last(Calculator::Change& c, Value, Value) {
    if (c.Calc().LastNum() == 2) return R::Two(c.Calc().LastY(), c.Calc().LastX());
    if (c.Calc().LastNum() >= 1) return R::One(c.Calc().LastX());
    return R::None();
}

R Depth(Calculator::Change& c, Value, Value) { return R::Text(std::to_string(c.Calc().Depth())); }

// Every entry is checked before anything changes, so a text that is not a
// number leaves the stack exactly as it was.
R Sum(Calculator::Change& c, Value, Value) {
    Value sum = 0;
    for (std::size_t i = 0; i < c.Calc().Depth(); ++i) {
        auto v = ParseReal(c.Calc().Stack().at(i), c.Calc().DecimalChar());
        if (!v) return R::Error(Reason::BadArgumentType);
        sum += *v;
    }
    if (IsFault(sum)) return R::Error(Reason::Overflow);
    c.ClearStack();
    return R::One(sum);
}

R Rotate(Calculator::Change& c, Value, Value) {
    if (c.Calc().Depth() < 3) return R::Error(Reason::TooFewArguments);
    c.MoveToTop(2);
    return R::None();
}

R Roll(Calculator::Change& c, Value x, Value) {
    const std::int64_t n = static_cast<std::int64_t>(x);
    const std::int64_t count = static_cast<std::int64_t>(c.Calc().Depth());
    if (std::llabs(n) > count) return R::Error(Reason::TooFewArguments);
    if (n >= 2) c.MoveToTop(static_cast<std::size_t>(n - 1));
    if (n <= -2) c.MoveFromTop(static_cast<std::size_t>(-n - 1));
    return R::None();
}

} // namespace tallix::ops
