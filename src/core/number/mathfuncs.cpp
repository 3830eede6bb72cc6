#include "core/number/mathfuncs.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>

#include "core/number/numtext.h"
#include "core/number/twooverpi.h"
#include "core/number/widemath.h"

namespace tallix {

// The double-length tricks below split a 64-bit significand into halves.
static_assert(LDBL_MANT_DIG == 64, "Value must be the 80-bit extended type");

namespace {

constexpr Value kNaN = std::numeric_limits<Value>::quiet_NaN();
constexpr Value kInf = std::numeric_limits<Value>::infinity();

// ---- double-length arithmetic ---------------------------------------------
// A value carried as hi + lo with |lo| <= half an ulp of hi: about 128 bits.
struct Double {
    Value hi, lo;
};

// Beyond this size the Veltkamp split would overflow; products of such
// operands keep only their rounded part (they only arise right at the end
// of the extended range).
constexpr Value kSplitLimit = 0x1p16000L;

// a × b exactly, as the rounded product and its error (Dekker).
Double TwoProd(Value a, Value b) {
    const Value p = a * b;
    if (!(std::fabs(a) < kSplitLimit && std::fabs(b) < kSplitLimit) || !std::isfinite(p))
        return {p, 0};
    constexpr Value kSplit = 0x1p32L + 1;
    Value t = kSplit * a;
    const Value ah = t - (t - a), al = a - ah;
    t = kSplit * b;
    const Value bh = t - (t - b), bl = b - bh;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

// hi + lo renormalised; |hi| >= |lo| is assumed.
Double FastTwoSum(Value hi, Value lo) {
    const Value s = hi + lo;
    return {s, lo - (s - hi)};
}

Double Mul(Double a, Double b) {
    Double p = TwoProd(a.hi, b.hi);
    if (!std::isfinite(p.hi)) return {p.hi, 0};
    return FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

// 1 / a, rounded once.
Value Reciprocal(Double a) {
    const Value q = 1 / a.hi;
    const Double p = TwoProd(q, a.hi);
    const Value e = ((1 - p.hi) - p.lo) - q * a.lo;
    return q + q * e;
}

// v × k for a constant k = hi + lo, rounded once.
Value MulConst(Value v, Double k) {
    const Double p = TwoProd(v, k.hi);
    return p.hi + (p.lo + v * k.lo);
}

// ---- angle units ------------------------------------------------------------------

// Radians per unit and units per radian, to twice the working precision.
constexpr Double kToRadians[4] = {
    {0xc.90fdaa22168c235p-1L, -0xe.ce675d1fc8f8cbbp-67L}, // 2π
    {0x8.efa351294e9c8aep-9L, 0xe.c5f66e9485c4d9p-77L},   // π / 180
    {1, 0},
    {0x8.0adfc90b938ce36p-9L, 0x8.0fdeec70b572f2p-74L}, // π / 200
};
constexpr Double kFromRadians[4] = {
    {0xa.2f9836e4e44152ap-6L, -0xf.62a0b82b2c88fc9p-76L}, // 1 / 2π
    {0xe.52ee0d31e0fbdc3p+2L, 0xa.97537f40d257d73p-66L},  // 180 / π
    {1, 0},
    {0xf.ea5dd5c5a4a6112p+2L, -0xc.c050d8fe1bacb05p-63L}, // 200 / π
};
constexpr Value kTurn[4] = {1, 360, 0, 400};
// The extended value nearest π/2 (slightly above it).
constexpr Value kHalfPi = 0xc.90fdaa22168c235p-3L;

int UnitIndex(AngleUnit unit) { return AngleUnitNumber(unit); }

WideFactor Factor(const Double& k) { return {k.hi, k.lo}; }

// angle = rest + quarter × a quarter turn, with the rest in radians carried
// as (hi + lo) × factor, |rest| <= 1/8 turn (about).
struct Quarters {
    Value hi, lo;
    WideFactor factor;
    int quarter; // 0..3
};

// Outside radians every step is exact: fmod is, the quarter turn is a small
// whole number (or 0.25), and subtracting a multiple of it from a value of
// at most a turn cannot need more digits than that value has. The rest
// stays in the unit; it becomes radians wide, in the one product with the
// factor.
Quarters ReduceToQuarters(Value angle, int unit) {
    if (unit == 2) {
        const RadianQuarters r = ReduceRadians(angle);
        return {r.rest, r.restLo, {}, r.quarter};
    }
    const Value turn = kTurn[unit];
    const Value quarterTurn = turn / 4;
    const Value r = std::fmod(angle, turn);
    const Value q = std::nearbyint(r / quarterTurn);
    const Value rest = r - q * quarterTurn;
    return {rest, 0, Factor(kToRadians[unit]), static_cast<int>(q) & 3};
}

Value Trig(WideTrig f, const Quarters& a) { return WideTrigonometry(f, a.hi, a.lo, a.factor); }

// An inverse function in radians, converted to the unit before the one
// rounding. The snap of tiny radians needs the radians themselves only when
// the converted result is small (a unit is at most 64 per radian).
Value InverseInUnit(Value (*f)(Value, WideFactor), Value x, AngleUnit angleMode) {
    const int u = UnitIndex(angleMode);
    if (u == 2) return ChopTiny(f(x, {}), x);
    const Value converted = f(x, Factor(kFromRadians[u]));
    if (std::fabs(converted) < 1E-15L && ChopTiny(f(x, {}), x) == 0) return 0;
    return converted;
}

// 64 bits of 2/π from the 1-based bit index i on.
std::uint64_t TwoOverPiBits(int i) {
    const int idx = i - 1, word = idx / 64, off = idx % 64;
    const std::uint64_t hi = kTwoOverPiBits[word];
    return off ? (hi << off) | (kTwoOverPiBits[word + 1] >> (64 - off)) : hi;
}

bool IsWhole(Value v) { return v == std::trunc(v); }

// b^n for a whole n with |n| <= 2^31 - 1, by repeated squaring carried in
// double length: exact whenever the result is representable, and otherwise
// correctly rounded but for rare near-ties.
Value WholePower(Value b, std::int64_t n) {
    std::uint64_t m = static_cast<std::uint64_t>(n < 0 ? -n : n);
    Double r{1, 0}, base{b, 0};
    for (;;) {
        if (m & 1) r = Mul(r, base);
        m >>= 1;
        if (m == 0 || !std::isfinite(r.hi)) break;
        base = Mul(base, base);
    }
    if (!std::isfinite(r.hi)) return kInf; // overflow (whatever the sign of n)
    if (n >= 0) return r.hi;
    if (r.hi == 0) return kInf; // a division by zero
    return Reciprocal(r);
}

} // namespace

// ---- angles -------------------------------------------------------------------------

Value AngleToRadians(Value angle, AngleUnit angleMode) {
    const int u = UnitIndex(angleMode);
    return u == 2 ? angle : MulConst(angle, kToRadians[u]);
}

Value RadiansToAngle(Value radians, AngleUnit angleMode) {
    const int u = UnitIndex(angleMode);
    return u == 2 ? radians : MulConst(radians, kFromRadians[u]);
}

RadianQuarters ReduceRadians(Value x) {
    constexpr Value kQuarterPi = 0xc.90fdaa22168c235p-4L;
    if (!std::isfinite(x) || std::fabs(x) <= kQuarterPi) return {x, 0};
    // |x| = M × 2^E with a whole 64-bit M.
    int e2 = 0;
    const Value m = std::frexp(std::fabs(x), &e2);
    const auto M = static_cast<std::uint64_t>(std::ldexp(m, 64));
    const int E = e2 - 64;
    // x × 2/π modulo 4: bits of 2/π worth 4 or more after the product are
    // left out, then 192 bits from there on are multiplied by M. The whole
    // part is P >> F, the rest a fraction of 2^F.
    const int s = E >= 2 ? E - 1 : 1;
    const int F = s + 191 - E;
    __extension__ typedef unsigned __int128 U128;
    std::uint64_t p[4]; // P, least significant word first
    U128 t = static_cast<U128>(M) * TwoOverPiBits(s + 128);
    p[0] = static_cast<std::uint64_t>(t);
    t = static_cast<U128>(M) * TwoOverPiBits(s + 64) + (t >> 64);
    p[1] = static_cast<std::uint64_t>(t);
    t = static_cast<U128>(M) * TwoOverPiBits(s) + (t >> 64);
    p[2] = static_cast<std::uint64_t>(t);
    p[3] = static_cast<std::uint64_t>(t >> 64);
    auto bit = [&p](int j) { return j > 255 ? 0u : unsigned(p[j / 64] >> (j % 64)) & 1u; };
    int quarter = static_cast<int>(bit(F) + 2 * bit(F + 1));
    // The fraction: P shifted left so that its point is above the top word.
    const int k = 256 - F; // 0 to 65
    const int words = k / 64, bits = k % 64;
    std::uint64_t f[4]; // most significant first: word w of P << k is f[3 - w]
    for (int w = 0; w < 4; ++w) {
        const int src = w - words;
        std::uint64_t v = src >= 0 ? p[src] << bits : 0;
        if (bits && src >= 1) v |= p[src - 1] >> (64 - bits);
        f[3 - w] = v;
    }
    // To the nearest quarter: a fraction of a half or more counts from the
    // next one, negative.
    bool negative = false;
    if (f[0] >> 63) {
        quarter = (quarter + 1) & 3;
        negative = true;
        unsigned carry = 1;
        for (int w = 3; w >= 0; --w) {
            const std::uint64_t inv = ~f[w];
            f[w] = inv + carry;
            carry = carry && f[w] == 0;
        }
    }
    // Leading zero bits of the fraction (at most 192 counted), and the 64
    // bits from a given one on.
    int lead = 192;
    for (int w = 0; w < 3; ++w) {
        if (f[w]) {
            lead = 64 * w + std::countl_zero(f[w]);
            break;
        }
    }
    auto top64 = [&f](int from) {
        const int w = from / 64, off = from % 64;
        if (w >= 4) return std::uint64_t{0};
        std::uint64_t v = f[w] << off;
        if (off && w + 1 < 4) v |= f[w + 1] >> (64 - off);
        return v;
    };
    const Value fracHi = std::ldexp(static_cast<Value>(top64(lead)), -64 - lead);
    const Value fracLo = std::ldexp(static_cast<Value>(top64(lead + 64)), -128 - lead);
    // rest = fraction × π/2 (π/2 carried in two parts).
    const Double halfPi{kToRadians[0].hi / 4, kToRadians[0].lo / 4};
    const Double prod = TwoProd(fracHi, halfPi.hi);
    Double rest = FastTwoSum(prod.hi, prod.lo + fracHi * halfPi.lo + fracLo * halfPi.hi);
    if (negative != (x < 0)) rest = {-rest.hi, -rest.lo};
    if (x < 0) quarter = (4 - quarter) & 3;
    return {rest.hi, quarter, rest.lo};
}

Value ChopTiny(Value v, Value argument) {
    constexpr Value kThreshold = 1E-17L;
    return std::fabs(v) < kThreshold && !(std::fabs(argument) < kThreshold) ? 0 : v;
}

Value Sine(Value angle, AngleUnit angleMode) {
    const Quarters a = ReduceToQuarters(angle, UnitIndex(angleMode));
    switch (a.quarter) {
    case 0: return Trig(WideTrig::Sin, a);
    case 1: return Trig(WideTrig::Cos, a);
    case 2: return -Trig(WideTrig::Sin, a);
    default: return -Trig(WideTrig::Cos, a);
    }
}

Value Cosine(Value angle, AngleUnit angleMode) {
    const Quarters a = ReduceToQuarters(angle, UnitIndex(angleMode));
    switch (a.quarter) {
    case 0: return Trig(WideTrig::Cos, a);
    case 1: return -Trig(WideTrig::Sin, a);
    case 2: return -Trig(WideTrig::Cos, a);
    default: return Trig(WideTrig::Sin, a);
    }
}

Value Tangent(Value angle, AngleUnit angleMode) {
    const Quarters a = ReduceToQuarters(angle, UnitIndex(angleMode));
    if ((a.quarter & 1) == 0) return Trig(WideTrig::Tan, a);
    if (a.hi == 0 && a.lo == 0)
        return WideTrigonometry(WideTrig::Tan, a.quarter == 1 ? kHalfPi : -kHalfPi, 0, {});
    return Trig(WideTrig::NegCot, a);
}

Value ArcSine(Value x, AngleUnit angleMode) { return InverseInUnit(WideASin, x, angleMode); }
Value ArcCosine(Value x, AngleUnit angleMode) { return InverseInUnit(WideACos, x, angleMode); }
Value ArcTangent(Value x, AngleUnit angleMode) { return InverseInUnit(WideATan, x, angleMode); }

// ---- powers -----------------------------------------------------------------------------

Value Power(Value base, Value exponent) {
    if (exponent == 0) return 1;
    if (base == 0 && exponent > 0) return 0;
    if (IsWhole(exponent) && std::fabs(exponent) <= 2147483647)
        return WholePower(base, static_cast<std::int64_t>(exponent));
    if (base < 0) return kNaN; // a real power of a negative number
    if (base == 0) return kInf;
    return WidePow(base, exponent);
}

Value Root(Value radicand, Value index) {
    if (radicand < 0 && IsWhole(index)) {
        if (std::fmod(index, 2) == 0) return kNaN;
        return -Root(-radicand, index);
    }
    const Value q = 1 / index;
    // An exact whole reciprocal (index 1/2, 1/4, ...) makes a whole power,
    // exact as such; a radicand of 0 or below, or an infinite one, goes to
    // Power as well, which decides its cases.
    const Double p = TwoProd(q, index);
    const bool exactWhole = IsWhole(q) && p.hi == 1 && p.lo == 0;
    if (exactWhole || !(radicand > 0) || !std::isfinite(radicand)) return Power(radicand, q);
    return WideRoot(radicand, index);
}

// ---- whole numbers -------------------------------------------------------------------------

Value FlooredMod(Value a, Value b) {
    // fmod is exact; moving a remainder of the wrong sign into range is
    // exact too for whole numbers, whose sum stays below |b|.
    Value r = std::fmod(a, b);
    if (r == 0) return 0;
    if ((r < 0) != (b < 0)) r += b;
    return r;
}

Value EuclidGcd(Value a, Value b) {
    a = std::trunc(a);
    b = std::trunc(b);
    if (a == 0 && b == 0) return 1;
    while (b != 0) {
        const Value m = FlooredMod(a, b);
        a = b;
        b = m;
    }
    return a;
}

std::optional<Value> Factorial(Value n) {
    if (!(n >= 0) || !IsWhole(n)) return std::nullopt;
    // The running product in double length stays exact far longer than a
    // plain one and ends rounded once; past 1754 it overflows.
    Double r{1, 0};
    for (Value k = 2; k <= n; ++k) {
        const Double p = TwoProd(r.hi, k);
        if (!std::isfinite(p.hi)) return std::nullopt;
        r = FastTwoSum(p.hi, p.lo + r.lo * k);
    }
    return r.hi;
}

int DecimalExponent(Value x) {
    // The decimal shown on the stack decides: 0.1 shows exactly one tenth, so
    // its exponent is -1 although its binary value lies a little above.
    const std::string s = FormatStackValue(std::fabs(x), '.');
    const std::size_t ePos = s.find('E');
    const std::string_view mant = std::string_view(s).substr(0, ePos);
    int sci = 0; // x = d.ddd × 10^sci
    bool powerOfTen = false;
    if (ePos != std::string::npos) {
        sci = std::stoi(s.substr(ePos + 1));
        powerOfTen = mant == "1";
    } else if (mant.starts_with("0.")) {
        const std::size_t first = mant.find_first_not_of('0', 2);
        sci = -static_cast<int>(first - 1);
        powerOfTen = mant.substr(first) == "1";
    } else {
        const std::size_t dot = mant.find('.');
        const std::size_t intDigits = dot == std::string_view::npos ? mant.size() : dot;
        sci = static_cast<int>(intDigits) - 1;
    }
    return (sci >= 0 || powerOfTen) ? sci : sci + 1;
}

// ---- stack texts ------------------------------------------------------------------------

int CountDecimals(Value v, char decimalChar) {
    const std::string s = FormatStackValue(v, decimalChar);
    if (s.find('E') != std::string::npos) return 20;
    const std::size_t p = s.find(decimalChar);
    return static_cast<int>(p == std::string::npos ? s.size() : s.size() - (p + 1));
}

std::string CropText(std::string_view s, std::int32_t n, bool round, char decimalChar) {
    const std::size_t dot = s.find(decimalChar);
    if (dot == std::string_view::npos || s.find('E') != std::string_view::npos)
        return std::string(s);
    const std::size_t present = s.size() - (dot + 1);
    const std::size_t keep =
        n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), present);
    std::string kept(s.substr(0, dot + 1 + keep));
    if (!round || keep == present) return kept;
    const char next = s[dot + 1 + keep];
    if (next < '5' || next > '9') return kept;
    const Value unit = Power(10, -static_cast<Value>(keep));
    const Value v = ParseReal(kept, decimalChar).value_or(0);
    return FormatStackValue(s.starts_with('-') ? v - unit : v + unit, decimalChar);
}

// ---- random numbers ---------------------------------------------------------------------

std::uint64_t NextRandomBits(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

Value UnitInterval(std::uint64_t bits) { return std::ldexp(static_cast<Value>(bits), -64); }

} // namespace tallix
