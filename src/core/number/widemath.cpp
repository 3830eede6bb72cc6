#include "core/number/widemath.h"

#include <quadmath.h>

namespace tallix {

namespace {

__extension__ typedef __float128 Wide;

Wide Widen(WideFactor k) { return static_cast<Wide>(k.hi) + static_cast<Wide>(k.lo); }

// The one rounding: binary128 to the extended type, to nearest. Both types
// have a 15-bit exponent, so a result beyond the extended range becomes an
// infinity and a tiny one a correctly rounded subnormal or zero.
Value Narrow(Wide w) { return static_cast<Value>(w); }

// f(x) × factor, skipping the product when the factor is 1 so that the
// radian results are rounded straight from f.
Value Scaled(Wide v, WideFactor factor) {
    if (factor.hi == 1 && factor.lo == 0) return Narrow(v);
    return Narrow(v * Widen(factor));
}

} // namespace

Value WideTrigonometry(WideTrig f, Value hi, Value lo, WideFactor factor) {
    Wide a = static_cast<Wide>(hi) + static_cast<Wide>(lo);
    if (!(factor.hi == 1 && factor.lo == 0)) a *= Widen(factor);
    switch (f) {
    case WideTrig::Sin: return Narrow(sinq(a));
    case WideTrig::Cos: return Narrow(cosq(a));
    case WideTrig::Tan: return Narrow(tanq(a));
    case WideTrig::NegCot: return Narrow(-1 / tanq(a));
    }
    return Narrow(nanq(""));
}

Value WideASin(Value x, WideFactor factor) { return Scaled(asinq(x), factor); }
Value WideACos(Value x, WideFactor factor) { return Scaled(acosq(x), factor); }
Value WideATan(Value x, WideFactor factor) { return Scaled(atanq(x), factor); }

Value WideSinH(Value x) { return Narrow(sinhq(x)); }
Value WideCosH(Value x) { return Narrow(coshq(x)); }
Value WideTanH(Value x) { return Narrow(tanhq(x)); }
Value WideASinH(Value x) { return Narrow(asinhq(x)); }
Value WideACosH(Value x) { return Narrow(acoshq(x)); }
Value WideATanH(Value x) { return Narrow(atanhq(x)); }

Value WideExp(Value x) { return Narrow(expq(x)); }
Value WideLn(Value x) { return Narrow(logq(x)); }
Value WideLog10(Value x) { return Narrow(log10q(x)); }
Value WidePow(Value base, Value exponent) { return Narrow(powq(base, exponent)); }
Value WideRoot(Value radicand, Value index) {
    return Narrow(powq(radicand, 1 / static_cast<Wide>(index)));
}
Value WideHypot(Value x, Value y) { return Narrow(hypotq(x, y)); }

} // namespace tallix
