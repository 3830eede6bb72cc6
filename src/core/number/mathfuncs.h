// The numeric helpers behind the operations: angle units, the power
// function, whole-number arithmetic on extended values, the decimal counts
// and crops of stack texts, and the random generator. Pure functions of
// their arguments (the generator's state is passed in), so each can be
// tested on its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/number/value.h"

namespace tallix {

// ---- angles ---------------------------------------------------------------
// angleMode: the unit of the angle.

// angle × (2π / units per turn), with the factor carried to twice the
// working precision so that the product is rounded once.
Value AngleToRadians(Value angle, AngleUnit angleMode);
Value RadiansToAngle(Value radians, AngleUnit angleMode);

// 0 when |v| < 1E-17 and the argument that gave v is not itself that
// small, else v. The snap turns the rounding residue of sin 180° or cos 90°
// into an exact 0; a tiny argument has a tiny true result (sin x, tan x,
// arcsin x and arctan x are x itself to 18 digits there), which must stay.
Value ChopTiny(Value v, Value argument);

// x = quarter × π/2 + rest with |rest| <= π/4 (about), reduced with the
// bits of 2/π so that no digit is lost however large x is. The rest is
// carried in two parts, rest + restLo, to about 128 bits, for functions
// evaluated wider than the extended type.
struct RadianQuarters {
    Value rest;
    int quarter; // 0..3
    Value restLo = 0;
};
RadianQuarters ReduceRadians(Value x);

// Sine, cosine and tangent of an angle in the given unit. Outside radians
// the angle is first reduced exactly to within an eighth of a turn of a
// multiple of a quarter turn, so multiples of 90 degrees give exact zeros
// and ones and huge angles lose nothing. Tangent at an odd multiple of a
// quarter turn gives the tangent of the extended value nearest π/2
// (about -3.99E19), odd in the angle, as radians would.
Value Sine(Value angle, AngleUnit angleMode);
Value Cosine(Value angle, AngleUnit angleMode);
Value Tangent(Value angle, AngleUnit angleMode);

// The inverse functions in the given unit, converted before the one
// rounding. A result below 1E-17 radians snaps to 0 as ChopTiny does, before
// the conversion. ArcSine and ArcCosine need |x| <= 1.
Value ArcSine(Value x, AngleUnit angleMode);
Value ArcCosine(Value x, AngleUnit angleMode);
Value ArcTangent(Value x, AngleUnit angleMode);

// ---- powers -----------------------------------------------------------------

// base^exponent. 0^0 = 1; a whole exponent within ±2147483647 is computed
// by repeated squaring in double length (negative bases allowed; b^|e|
// beyond the extended range is a fault even when 1 / b^|e| would only
// underflow); any other exponent needs a positive base and is evaluated
// wide (widemath.h). A fault comes back as an infinity or a NaN.
Value Power(Value base, Value exponent);

// The index-th root of radicand (index ≠ 0): radicand^(1 / index), with
// 1 / index formed wide unless it is a whole number exactly. A negative radicand needs a whole
// index: an odd one gives the negative real root, an even one a NaN.
Value Root(Value radicand, Value index);

// ---- whole numbers -----------------------------------------------------------

// a - b × floor(a / b), exact for whole numbers of any size (0 or the sign
// of b). b must not be 0.
Value FlooredMod(Value a, Value b);

// The greatest common divisor of trunc(a) and trunc(b), carrying the sign
// of b (trunc(a) when b is 0; 1 when both are 0).
Value EuclidGcd(Value a, Value b);

// n! for a whole n from 0 to 1754; nullopt for a negative n or when the
// product leaves the extended range (n > 1754).
std::optional<Value> Factorial(Value n);

// The decimal exponent e with x = m × 10^e, 1 <= |m| < 10 for |x| >= 1 and
// 0.1 < |m| <= 1 for 0 < |x| < 1: trunc(log10 |x|) of the number the
// stack text of x shows. x must not be 0.
int DecimalExponent(Value x);

// ---- stack texts ---------------------------------------------------------------

// Decimals of the stack text of v: 20 for an exponent form; otherwise the
// characters after the separator, or all characters (a sign included) when
// there is no separator.
int CountDecimals(Value v, char decimalChar);

// Keeps n decimals of the stack text s (n clamped to 0 and to the decimals
// present). Texts without separator or in exponent form come back
// unchanged; n = 0 keeps the separator. With round, a first dropped digit
// of 5 to 9 adds one unit of the last kept decimal to the magnitude and
// reformats the result.
std::string CropText(std::string_view s, std::int32_t n, bool round, char decimalChar);

// ---- random numbers ------------------------------------------------------------

// The next 64 random bits of a SplitMix64 generator.
std::uint64_t NextRandomBits(std::uint64_t& state);
// 64 random bits as a value uniform in [0, 1) with a resolution of 2^-64.
Value UnitInterval(std::uint64_t bits);

} // namespace tallix
