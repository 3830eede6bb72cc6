// Trigonometric, hyperbolic, logarithmic and power functions, and the
// constant π. The C library's extended functions are used where the plain
// formulas lose digits (asinh for small arguments, atanh, sinh near 0, and
// sin, cos and tan of huge arguments); domains and messages are the
// calculator's own.
#include <cmath>

#include "core/number/mathfuncs.h"
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
// the argument itself is tiny.
R ASin(Calculator::Change& c, Value x, Value) {
    if (std::fabs(x) > 1) return R::Error(Reason::InvalidInput);
    return R::One(RadiansToAngle(ChopTiny(std::asin(x), x), c.Calc().AngleMode()));
}
R ACos(Calculator::Change& c, Value x, Value) {
    if (std::fabs(x) > 1) return R::Error(Reason::InvalidInput);
    return R::One(RadiansToAngle(ChopTiny(std::acos(x), x), c.Calc().AngleMode()));
}
R ATan(Calculator::Change& c, Value x, Value) {
    return R::One(RadiansToAngle(ChopTiny(std::atan(x), x), c.Calc().AngleMode()));
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
    return R::One(std::log(x));
}
R Log(Calculator::Change&, Value x, Value) {
    if (x <= 0) return R::Error(Reason::InfiniteResult);
    return R::One(std::log10(x));
}
R Exp(Calculator::Change&, Value x, Value) { return R::One(std::exp(x)); }
R Alog(Calculator::Change&, Value x, Value) { return R::One(Power(10, x)); }

R SinH(Calculator::Change&, Value x, Value) { return R::One(std::sinh(x)); }
R CosH(Calculator::Change&, Value x, Value) { return R::One(std::cosh(x)); }
R TanH(Calculator::Change&, Value x, Value) { return R::One(std::tanh(x)); }
R ASinH(Calculator::Change&, Value x, Value) { return R::One(std::asinh(x)); }
R ACosH(Calculator::Change&, Value x, Value) {
    if (x < 1) return R::Error(Reason::InvalidInput);
    return R::One(std::acosh(x));
}
R ATanH(Calculator::Change&, Value x, Value) {
    if (std::fabs(x) > 1) return R::Error(Reason::InvalidInput);
    if (std::fabs(x) == 1) return R::One(std::copysign(kATanHLimit, x));
    return R::One(std::atanh(x));
}

} // namespace tallix::ops
