// The transcendental functions, evaluated in binary128 (113-bit significand,
// software arithmetic) and rounded once to the extended type. The 49 bits
// beyond the extended significand make the result correctly rounded but for
// extremely rare near-ties, and software arithmetic gives the same bits on
// every platform, whatever its own maths library does. Only this file's
// implementation sees the wide type.
//
// Faults come back as the functions' IEEE results (an infinity or a NaN);
// the callers check their domains themselves.
#pragma once

#include "core/number/value.h"

namespace tallix {

// A constant factor carried in two parts (hi + lo, |lo| below an ulp of hi),
// such as the radians in one unit of angle.
struct WideFactor {
    Value hi = 1;
    Value lo = 0;
};

// f((hi + lo) × factor) for an angle carried in two parts; the sum and the
// product are formed wide. NegCot is -1 / tan, the tangent a quarter turn on.
enum class WideTrig { Sin, Cos, Tan, NegCot };
Value WideTrigonometry(WideTrig f, Value hi, Value lo, WideFactor factor);

// The inverse functions in radians, times factor (units per radian).
Value WideASin(Value x, WideFactor factor = {});
Value WideACos(Value x, WideFactor factor = {});
Value WideATan(Value x, WideFactor factor = {});

Value WideSinH(Value x);
Value WideCosH(Value x);
Value WideTanH(Value x);
Value WideASinH(Value x);
Value WideACosH(Value x);
Value WideATanH(Value x);

Value WideExp(Value x);
Value WideLn(Value x);
Value WideLog10(Value x);
// base^exponent for base > 0.
Value WidePow(Value base, Value exponent);
// radicand^(1 / index) for radicand > 0, with 1 / index formed wide.
Value WideRoot(Value radicand, Value index);
Value WideHypot(Value x, Value y);

} // namespace tallix
