// Trigonometric, hyperbolic, logarithmic and power functions, and the
// constant π. The functions are evaluated wide (widemath.h) and rounded
// once, so every platform gives the same digits; domains and messages are
// the calculator's own.
#include <cmath>

#include "core/number/mathfuncs.h"
#include "core/number/widemath.h"
#include "core/ops/operations.h"

namespace tallix::ops {

using R = OpResult;

constexpr Value kPi = 3.14159265358979323846264338327950288L;
// ATanH of ±1: a finite stand-in for infinity.
constexpr Value kATanHLimit = 1.1E4932L;

R Pi(Calculator::Change&, Value, Value) { return R::One(kPi); }

// A tiny result snaps to zero unless the angle in radians is itself tiny.
R Sin(Calculator::Change& c, Value x, Value) {
    return R::One(ChopTiny(Sine(x, c.Calc().AngleMode()), AngleToRadians(x, c.Calc().AngleMode())));
}
R Cos(Calculator::Change& c, Value x, Value) {
    return R::One(
        ChopTiny(Cosine(x, c.Calc().AngleMode()), AngleToRadians(x, c.Calc().AngleMode())));
}
R Tan(Calculator::Change& c, Value x, Value) {
    return R::One(
        ChopTiny(Tangent(x, c.Calc().AngleMode()), AngleToRadians(x, c.Calc().AngleMode())));
}

// The inverse functions snap tiny radians to zero before converting, unless
// the argument itself is tiny (mathfuncs.h).
R ASin(Calculator::Change& c, Value x, Value) {
    if (std::fabs(x) > 1) return R::Error(Reason::InvalidInput);
    return R::One(ArcSine(x, c.Calc().AngleMode()));
}
R ACos(Calculator::Change& c, Value x, Value) {
    if (std::fabs(x) > 1) return R::Error(Reason::InvalidInput);
    return R::One(ArcCosine(x, c.Calc().AngleMode()));
}
R ATan(Calculator::Change& c, Value x, Value) {
    return R::One(ArcTangent(x, c.Calc().AngleMode()));
}

R Inv(Calculator::Change&, Value x, Value) {
    if (x == 0) return R::Error(Reason::InfiniteResult);
    return R::One(1 / x);
}

R Sqrt(Calculator::Change&, Value x, Value) {
    if (x < 0) return R::Error(Reason::InvalidInput);
    return R::One(std::sqrt(x));
}
R Sq(Calculator::Change&, Value x, Value) { return R::One(x * x); }

R Pow(Calculator::Change&, Value x, Value y) { return R::One(Power(y, x)); }
R XRoot(Calculator::Change&, Value x, Value y) {
    if (x == 0) return R::Error(Reason::InfiniteResult);
    return R::One(Root(y, x));
}

R Ln(Calculator::Change&, Value x, Value) {
    if (x == 0) return R::Error(Reason::InfiniteResult);
    if (x < 0) return R::Error(Reason::InvalidInput);
    return R::One(WideLn(x));
}
R Log(Calculator::Change&, Value x, Value) {
    if (x <= 0) return R::Error(Reason::InfiniteResult);
    return R::One(WideLog10(x));
}
R Exp(Calculator::Change&, Value x, Value) { return R::One(WideExp(x)); }
R Alog(Calculator::Change&, Value x, Value) { return R::One(Power(10, x)); }

R SinH(Calculator::Change&, Value x, Value) { return R::One(WideSinH(x)); }
R CosH(Calculator::Change&, Value x, Value) { return R::One(WideCosH(x)); }
R TanH(Calculator::Change&, Value x, Value) { return R::One(WideTanH(x)); }
R ASinH(Calculator::Change&, Value x, Value) { return R::One(WideASinH(x)); }
R ACosH(Calculator::Change&, Value x, Value) {
    if (x < 1) return R::Error(Reason::InvalidInput);
    return R::One(WideACosH(x));
}
R ATanH(Calculator::Change&, Value x, Value) {
    if (std::fabs(x) > 1) return R::Error(Reason::InvalidInput);
    if (std::fabs(x) == 1) return R::One(std::copysign(kATanHLimit, x));
    return R::One(WideATanH(x));
}

} // namespace tallix::ops
