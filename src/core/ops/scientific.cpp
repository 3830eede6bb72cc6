// Trigonometric, hyperbolic, logarithmic and power functions, and the
// constant π. The C library's extended functions are used where the plain
// formulas lose digits (asinh for small arguments, atanh, sinh near 0, and
// sin, cos and tan of huge arguments); domains and messages are the
// calculator's own.
#include <cmath>

#include "ops/mathfuncs.h"
#include "ops/opframe.h"

namespace tallix {
namespace {

using R = OpResult;

constexpr Value kPi = 3.14159265358979323846264338327950288L;
// ATanH of ±1: a finite stand-in for infinity.
constexpr Value kATanHLimit = 1.1E4932L;

R Pi(Calculator&, Value, Value) { return R::One(kPi); }

R Sin(Calculator& c, Value x, Value) { return R::One(ChopTiny(Sine(x, c.AngleMode))); }
R Cos(Calculator& c, Value x, Value) { return R::One(ChopTiny(Cosine(x, c.AngleMode))); }
R Tan(Calculator& c, Value x, Value) { return R::One(ChopTiny(Tangent(x, c.AngleMode))); }

// The inverse functions snap tiny radians to zero before converting.
R ASin(Calculator& c, Value x, Value) {
    if (std::fabs(x) > 1) return R::Error("Invalid Input");
    return R::One(RadiansToAngle(ChopTiny(std::asin(x)), c.AngleMode));
}
R ACos(Calculator& c, Value x, Value) {
    if (std::fabs(x) > 1) return R::Error("Invalid Input");
    return R::One(RadiansToAngle(ChopTiny(std::acos(x)), c.AngleMode));
}
R ATan(Calculator& c, Value x, Value) {
    return R::One(RadiansToAngle(ChopTiny(std::atan(x)), c.AngleMode));
}

R Inv(Calculator&, Value x, Value) {
    if (x == 0) return R::Error("Infinite Result");
    return R::One(1 / x);
}

R Sqrt(Calculator&, Value x, Value) {
    if (x < 0) return R::Error("Invalid Input");
    return R::One(std::sqrt(x));
}
R Sq(Calculator&, Value x, Value) { return R::One(x * x); }

R Pow(Calculator&, Value x, Value y) { return R::One(Power(y, x)); }
R XRoot(Calculator&, Value x, Value y) {
    if (x == 0) return R::Error("Infinite Result");
    return R::One(Root(y, x));
}

R Ln(Calculator&, Value x, Value) {
    if (x == 0) return R::Error("Infinite Result");
    if (x < 0) return R::Error("Invalid Input");
    return R::One(std::log(x));
}
R Log(Calculator&, Value x, Value) {
    if (x <= 0) return R::Error("Infinite Result");
    return R::One(std::log10(x));
}
R Exp(Calculator&, Value x, Value) { return R::One(std::exp(x)); }
R Alog(Calculator&, Value x, Value) { return R::One(Power(10, x)); }

R SinH(Calculator&, Value x, Value) { return R::One(std::sinh(x)); }
R CosH(Calculator&, Value x, Value) { return R::One(std::cosh(x)); }
R TanH(Calculator&, Value x, Value) { return R::One(std::tanh(x)); }
R ASinH(Calculator&, Value x, Value) { return R::One(std::asinh(x)); }
R ACosH(Calculator&, Value x, Value) {
    if (x < 1) return R::Error("Invalid Input");
    return R::One(std::acosh(x));
}
R ATanH(Calculator&, Value x, Value) {
    if (std::fabs(x) > 1) return R::Error("Invalid Input");
    if (std::fabs(x) == 1) return R::One(std::copysign(kATanHLimit, x));
    return R::One(std::atanh(x));
}

constexpr std::string_view kInvalid = "Invalid Input";

// Square, e^x, 10^x and 1/x report a result beyond the extended range as
// an overflow; every other function here reports any fault as invalid input.
constexpr OpDef kScientificOps[] = {
    {Cmd::Pi, "PI", 0, false, Pi},
    {Cmd::Sin, "SIN", 1, false, Sin, kInvalid},
    {Cmd::Cos, "COS", 1, false, Cos, kInvalid},
    {Cmd::Tan, "TAN", 1, false, Tan, kInvalid},
    {Cmd::ASin, "ASIN", 1, false, ASin, kInvalid},
    {Cmd::ACos, "ACOS", 1, false, ACos, kInvalid},
    {Cmd::ATan, "ATAN", 1, false, ATan, kInvalid},
    {Cmd::Inv, "INV", 1, false, Inv, "Overflow"},
    {Cmd::Sqrt, "SQRT", 1, false, Sqrt, kInvalid},
    {Cmd::Sq, "SQ", 1, false, Sq, "Overflow"},
    {Cmd::Pow, "^", 2, false, Pow, kInvalid},
    {Cmd::XRoot, "XROOT", 2, false, XRoot, kInvalid},
    {Cmd::Ln, "LN", 1, false, Ln, kInvalid},
    {Cmd::Log, "LOG", 1, false, Log, kInvalid},
    {Cmd::Exp, "EXP", 1, false, Exp, "Overflow"},
    {Cmd::Alog, "ALOG", 1, false, Alog, "Overflow"},
    {Cmd::SinH, "SINH", 1, false, SinH, kInvalid},
    {Cmd::CosH, "COSH", 1, false, CosH, kInvalid},
    {Cmd::TanH, "TANH", 1, false, TanH, kInvalid},
    {Cmd::ASinH, "ASINH", 1, false, ASinH, kInvalid},
    {Cmd::ACosH, "ACOSH", 1, false, ACosH, kInvalid},
    {Cmd::ATanH, "ATANH", 1, false, ATanH, kInvalid},
};

} // namespace

std::span<const OpDef> ScientificOps() { return kScientificOps; }

} // namespace tallix
