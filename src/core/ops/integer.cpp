// Whole-number and number-part functions, and random numbers.
#include <cmath>
#include <cstdint>

#include "core/number/mathfuncs.h"
#include "core/number/widemath.h"
#include "core/ops/operations.h"

namespace tallix::ops {

using R = OpResult;

R Mod(Calculator::Change&, Value x, Value y) {
    if (x == 0) return R::Error(Reason::InfiniteResult);
    return R::One(FlooredMod(y, x));
}

R Fact(Calculator::Change&, Value x, Value) {
    const auto f = Factorial(x);
    if (!f) return R::Error(Reason::InvalidInput);
    return R::One(*f);
}

R Gcd(Calculator::Change&, Value x, Value y) { return R::One(EuclidGcd(x, y)); }

R Lcm(Calculator::Change&, Value x, Value y) { return R::One(x * y / EuclidGcd(x, y)); }

// The gcd carries the sign of y, so the numerator comes out positive.
R Reduce(Calculator::Change&, Value x, Value y) {
    const Value g = EuclidGcd(x, y);
    return R::Two(y / g, x / g);
}

R ToFrac(Calculator::Change& c, Value x, Value) {
    const int d = CountDecimals(x, c.Calc().DecimalChar());
    if (d > 13) return R::Keep();
    // A whole number is its own numerator; scaling it by 10^d could leave
    // the 64 bits of the significand and lose the exact quotient.
    if (x == std::trunc(x)) return R::Two(x, 1);
    const Value p = Power(10, d);
    // x × 10^d lands within a small fraction of the whole number it stands
    // for, but possibly just below it.
    const Value n = std::nearbyint(x * p);
    const Value g = EuclidGcd(n, p);
    return R::Two(n / g, p / g);
}

R Comb(Calculator::Change&, Value x, Value y) {
    const auto n = Factorial(y);
    const auto nk = n ? Factorial(y - x) : std::nullopt;
    const auto k = nk ? Factorial(x) : std::nullopt;
    if (!k) return R::Error(Reason::Overflow);
    return R::One(*n / *k / *nk);
}

R Perm(Calculator::Change&, Value x, Value y) {
    const auto n = Factorial(y);
    const auto nk = n ? Factorial(y - x) : std::nullopt;
    if (!nk) return R::Error(Reason::Overflow);
    return R::One(*n / *nk);
}

// Ties to even, exact at any size.
R Round(Calculator::Change&, Value x, Value) { return R::One(std::nearbyint(x)); }
R Floor(Calculator::Change&, Value x, Value) { return R::One(std::floor(x)); }
R Ceil(Calculator::Change&, Value x, Value) { return R::One(std::ceil(x)); }

R Crop(Calculator::Change& c, Value x, Value y, bool round) {
    const Value n = std::floor(x);
    if (!(n >= INT32_MIN && n <= INT32_MAX)) return R::Error(Reason::BadArgumentType);
    return R::Text(CropText(c.Calc().FormatValue(y), static_cast<std::int32_t>(n), round,
                            c.Calc().DecimalChar()));
}
R CropR(Calculator::Change& c, Value x, Value y) { return Crop(c, x, y, true); }
R CropT(Calculator::Change& c, Value x, Value y) { return Crop(c, x, y, false); }

R IP(Calculator::Change&, Value x, Value) { return R::One(std::trunc(x)); }
R FP(Calculator::Change&, Value x, Value) { return R::One(x - std::trunc(x)); }

R Mant(Calculator::Change&, Value x, Value) {
    if (x == 0) return R::One(0);
    const int e = DecimalExponent(x);
    const Value scale = Power(10, std::abs(e));
    if (IsFault(scale)) return R::Error(Reason::BadArgumentType);
    return R::One(e >= 0 ? x / scale : x * scale);
}

R Xpon(Calculator::Change&, Value x, Value) {
    if (x == 0) return R::Error(Reason::InfiniteResult);
    return R::One(DecimalExponent(x));
}

R Hypot(Calculator::Change&, Value x, Value y) { return R::One(WideHypot(x, y)); }

R Random(Calculator::Change& c, Value, Value) {
    if (!c.RandomState()) c.RandomState() = c.shell().RandomSeed();
    return R::One(UnitInterval(NextRandomBits(*c.RandomState())));
}

} // namespace tallix::ops
