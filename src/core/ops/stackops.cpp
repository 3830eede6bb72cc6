// Arithmetic and the commands that move, copy, count, sum or clear
// entries, and the stack-side functions of the entry keys.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "engine/numtext.h"
#include "ops/opframe.h"

namespace tallix {
namespace {

using R = OpResult;

R Add(Calculator&, Value x, Value y) { return R::One(y + x); }
R Sub(Calculator&, Value x, Value y) { return R::One(y - x); }
R Mul(Calculator&, Value x, Value y) { return R::One(y * x); }
R Div(Calculator&, Value x, Value y) {
    if (x == 0) return R::Error("Infinite Result");
    return R::One(y / x);
}
R Swap(Calculator&, Value x, Value y) { return R::Two(x, y); }
R Dup2(Calculator&, Value x, Value y) { return R::Four(y, x, y, x); }
R Drop(Calculator&, Value, Value) { return R::None(); }
R Neg(Calculator&, Value x, Value) { return R::One(x * -1); }
R Abs(Calculator&, Value x, Value) { return R::One(std::fabs(x)); }

R Fix(Calculator& c, Value x, Value) {
    const Value t = std::trunc(x);
    if (!(t >= -9223372036854775808.0L && t < 9223372036854775808.0L))
        return R::Report("Invalid Input");
    const std::int64_t n = static_cast<std::int64_t>(t);
    c.FixLength = static_cast<std::int32_t>(n > 18 ? 18 : n < -1 ? -1 : n);
    return R::None();
}

R Last(Calculator& c, Value, Value) {
    if (c.LastNum == 2) return R::Two(c.LastY, c.LastX);
    if (c.LastNum >= 1) return R::One(c.LastX);
    return R::None();
}

R Depth(Calculator& c, Value, Value) { return R::Text(std::to_string(c.Stack.size())); }

// Every entry is checked before anything changes, so a text that is not a
// number leaves the stack exactly as it was.
R Sum(Calculator& c, Value, Value) {
    Value sum = 0;
    for (std::size_t i = 0; i < c.Stack.size(); ++i) {
        auto v = ParseReal(CutChars(c.Stack.at(i), 80), c.DecimalChar);
        if (!v) return R::Error("Bad Argument Type");
        sum += *v;
    }
    if (IsFault(sum)) return R::Error("Overflow");
    c.Stack.clear();
    return R::One(sum);
}

R Rotate(Calculator& c, Value, Value) {
    if (c.Stack.size() < 3) return R::Error("Too Few Arguments");
    c.Stack.moveToTop(2);
    return R::None();
}

R Roll(Calculator& c, Value x, Value) {
    const std::int64_t n = static_cast<std::int64_t>(x);
    const std::int64_t count = static_cast<std::int64_t>(c.Stack.size());
    if (std::llabs(n) > count) return R::Error("Too Few Arguments");
    if (n >= 2) c.Stack.moveToTop(static_cast<std::size_t>(n - 1));
    if (n <= -2) c.Stack.moveFromTop(static_cast<std::size_t>(-n - 1));
    return R::None();
}

constexpr OpDef kStackOps[] = {
    {Cmd::Add, "+", 2, false, Add},      {Cmd::Sub, "-", 2, false, Sub},
    {Cmd::Mul, "×", 2, false, Mul},      {Cmd::Div, "÷", 2, false, Div},
    {Cmd::Swap, "SWAP", 2, false, Swap}, {Cmd::Dup2, "DUP2", 2, false, Dup2},
    {Cmd::Drop, "DROP", 1, false, Drop}, {Cmd::Neg, "NEG", 1, false, Neg},
    {Cmd::Abs, "ABS", 1, false, Abs},    {Cmd::Fix, "FIX", 1, false, Fix},
    {Cmd::Last, "LAST", 0, false, Last}, {Cmd::Depth, "DEPTH", 0, false, Depth},
    {Cmd::Sum, "SUM", 0, false, Sum},    {Cmd::Rotate, "ROT", 0, false, Rotate},
    {Cmd::Roll, "ROLL", 1, true, Roll},
};

} // namespace

std::span<const OpDef> StackOps() { return kStackOps; }

} // namespace tallix
