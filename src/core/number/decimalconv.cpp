#include "core/number/decimalconv.h"

#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/number/bignum.h"
#include "core/number/pow10table.h"

namespace tallix {
namespace {

__extension__ typedef unsigned __int128 u128;
__extension__ typedef __int128 i128;

constexpr std::uint64_t kTen17 = 100000000000000000ULL;
constexpr std::uint64_t kTen18 = 1000000000000000000ULL;
constexpr std::uint64_t kTen19 = 10000000000000000000ULL;

// The extended format: sign, 15-bit biased exponent, 64-bit significand
// with its integer bit. Every finite value is m * 2^e with e >= kMinE, the
// exponent of the subnormals (biased exponent 0).
constexpr int kBiasedOffset = 16383 + 63; // biased exponent = e + kBiasedOffset (normal)
constexpr int kMinE = 1 - kBiasedOffset;
constexpr int kMaxBiased = 0x7ffe;

// The decimal exponents beyond which a value is certainly out of range:
// anything from 10^4933 up overflows, anything below 10^-4951 (less than
// half the smallest subnormal, 3.6E-4951) rounds to zero.
constexpr int kOverflowE = 4933;
constexpr int kZeroE = -4951;

// The significant digits the exact comparison needs at most: every value
// half-way between two extended neighbours has at most 11 515 of them, so
// further digits only tell whether the text lies above the cut.
constexpr int kMaxExactDigits = 11600;

std::atomic<std::uint64_t> exactDecisions{0};

constexpr std::array<std::uint64_t, 20> kPow10U64 = [] {
    std::array<std::uint64_t, 20> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}();

constexpr std::array<std::uint64_t, pow10table::kStep> kPow5 = [] {
    std::array<std::uint64_t, pow10table::kStep> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 5;
    return p;
}();

int Clz128(u128 x) {
    const auto hi = static_cast<std::uint64_t>(x >> 64);
    return hi != 0 ? __builtin_clzll(hi) : 64 + __builtin_clzll(static_cast<std::uint64_t>(x));
}

// floor(n * log10(2)) with log10(2) to 64 bits: exact for every exponent of
// the extended range (and the caller would correct an estimate one off).
int FloorLog10Pow2(int n) {
    return static_cast<int>((static_cast<i128>(n) * 0x4D104D427DE7FBCCLL) >> 64);
}

// 10^n = (sig + d) * 2^exp2 with 0 <= d < 3 (d == 0 when exact) and the top
// bit of sig set.
struct PowerOfTen {
    u128 sig;
    int exp2;
    bool exact;
};

PowerOfTen Pow10(int n) {
    const int i =
        n >= 0 ? n / pow10table::kStep : -((-n + pow10table::kStep - 1) / pow10table::kStep);
    const int j = n - i * pow10table::kStep;
    const pow10table::Entry& base = pow10table::kEntries[i - pow10table::kFirst];
    // 10^0, 10^27 and 10^54 fit 128 bits whole; all others are cut.
    const bool baseExact = i >= 0 && i <= 2;
    if (j == 0) return {static_cast<u128>(base.hi) << 64 | base.lo, base.exp2, baseExact};
    // 10^(27i + j) = 10^(27i) * 5^j * 2^j: a 192-bit product, of which the
    // leading 128 bits are kept. The cut of the base (below 1) grows to
    // below 2 and the cut of the product adds below 1.
    const std::uint64_t f = kPow5[static_cast<std::size_t>(j)];
    const u128 low = static_cast<u128>(base.lo) * f;
    const u128 high = static_cast<u128>(base.hi) * f;
    const u128 mid = (low >> 64) + static_cast<std::uint64_t>(high);
    const auto r0 = static_cast<std::uint64_t>(low);
    const auto r1 = static_cast<std::uint64_t>(mid);
    const auto r2 = static_cast<std::uint64_t>(high >> 64) + static_cast<std::uint64_t>(mid >> 64);
    const int lz = __builtin_clzll(r2); // r2 != 0: the product is at least 2^129
    const u128 top = static_cast<u128>(r2) << 64 | r1;
    PowerOfTen p;
    p.sig = lz == 0 ? top : (top << lz) | (r0 >> (64 - lz));
    const std::uint64_t lost = lz == 0 ? r0 : r0 << lz;
    p.exp2 = base.exp2 + j + 64 - lz;
    p.exact = baseExact && lost == 0;
    return p;
}

// A 256-bit product, least significant word first.
struct U256 {
    std::uint64_t w[4];
};

U256 Mul128(u128 a, u128 b) {
    const auto a0 = static_cast<std::uint64_t>(a), a1 = static_cast<std::uint64_t>(a >> 64);
    const auto b0 = static_cast<std::uint64_t>(b), b1 = static_cast<std::uint64_t>(b >> 64);
    if (a0 == 0) {
        // A 64-bit factor (every significand, and up to 19 digits).
        const u128 lo = static_cast<u128>(a1) * b0;
        const u128 hi = static_cast<u128>(a1) * b1 + (lo >> 64);
        return {{0, static_cast<std::uint64_t>(lo), static_cast<std::uint64_t>(hi),
                 static_cast<std::uint64_t>(hi >> 64)}};
    }
    const u128 p00 = static_cast<u128>(a0) * b0;
    const u128 p01 = static_cast<u128>(a0) * b1;
    const u128 p10 = static_cast<u128>(a1) * b0;
    const u128 p11 = static_cast<u128>(a1) * b1;
    const u128 mid =
        (p00 >> 64) + static_cast<std::uint64_t>(p01) + static_cast<std::uint64_t>(p10);
    const u128 high = p11 + (p01 >> 64) + (p10 >> 64) + (mid >> 64);
    return {{static_cast<std::uint64_t>(p00), static_cast<std::uint64_t>(mid),
             static_cast<std::uint64_t>(high), static_cast<std::uint64_t>(high >> 64)}};
}

enum class Round { Down, Up, Tie, Unsure };

struct Rounded {
    u128 q;
    Round how;
};

// Splits a product x * 10^n (x < 2^128, the power as above) at bit `drop`
// (>= 129): the quotient and which way the rest rounds it. The true product
// lies at most 3 * 2^128 above the computed one; where that leaves the side
// of the half-way point open, the answer is Unsure, unless the product is
// exact.
Rounded RoundAt(const U256& p, int drop, bool exact) {
    if (drop > 256) return {0, Round::Down}; // below half of bit 256: the product is < 2^256
    const u128 hi = static_cast<u128>(p.w[3]) << 64 | p.w[2];
    const u128 lo = static_cast<u128>(p.w[1]) << 64 | p.w[0];
    const int s = drop - 128; // 1..128
    const u128 q = s == 128 ? 0 : hi >> s;
    const u128 rest = s == 128 ? hi : hi & ((static_cast<u128>(1) << s) - 1);
    const u128 half = static_cast<u128>(1) << (s - 1);
    if (rest > half || (rest == half && lo != 0)) return {q, Round::Up};
    if (rest == half) return {q, exact ? Round::Tie : Round::Unsure};
    if (half - rest > 4) return {q, Round::Down};
    return {q, exact ? Round::Down : Round::Unsure};
}

bool RoundsUp(Round how, u128 q) { return how == Round::Up || (how == Round::Tie && (q & 1)); }

// Rounds by the exact comparison of a * 2^a2 * 5^a5 with the half-way point
// h * 2^h2 just above the quotient q.
bool ExactRoundsUp(const BigNum& a, int a2, int a5, const BigNum& h, int h2, u128 q) {
    exactDecisions.fetch_add(1, std::memory_order_relaxed);
    const int c = CompareScaled(a, a2, a5, h, h2, 0);
    return c > 0 || (c == 0 && (q & 1));
}

BigNum HalfWayAbove(std::uint64_t q) {
    BigNum h(q);
    h.MulAdd(2, 1);
    return h;
}

} // namespace

// ---- Values to digits ----

Decimal18 ToDecimal18Nearest(Value v) {
    Decimal18 r;
    r.negative = std::signbit(v);
    static_assert(std::numeric_limits<Value>::digits == 64);
    unsigned char bytes[sizeof(Value)];
    std::memcpy(bytes, &v, sizeof bytes);
    std::uint64_t m;
    std::memcpy(&m, bytes, 8);
    if (m == 0) return r;
    const int biased = (bytes[8] | (bytes[9] << 8)) & 0x7fff;
    // |v| = m * 2^e; subnormals are brought to a full significand.
    int e = (biased == 0 ? 1 : biased) - kBiasedOffset;
    const int lz = __builtin_clzll(m);
    m <<= lz;
    e -= lz;
    // |v| >= 2^(e + 63) >= 10^k, and below 10^(k + 2).
    int k = FloorLog10Pow2(e + 63);
    for (int attempt = 0; attempt < 4; ++attempt) {
        // digits = round(|v| * 10^n): the product (m * 2^64) * 10^n,
        // scaled by 2^-(64 - e - exp2).
        const int n = 17 - k;
        const PowerOfTen p = Pow10(n);
        const Rounded rd =
            RoundAt(Mul128(static_cast<u128>(m) << 64, p.sig), 64 - e - p.exp2, p.exact);
        bool up = RoundsUp(rd.how, rd.q);
        if (rd.how == Round::Unsure) {
            // 2 * m * 2^e * 10^n against 2q + 1.
            up = ExactRoundsUp(BigNum(m), e + 1 + n, n,
                               HalfWayAbove(static_cast<std::uint64_t>(rd.q)), 0, rd.q);
        }
        const u128 digits = rd.q + (up ? 1 : 0);
        if (digits >= kTen18) {
            ++k;
            continue;
        }
        if (digits < kTen17) {
            --k;
            continue;
        }
        r.digits = static_cast<std::uint64_t>(digits);
        r.E = k + 1;
        return r;
    }
    return r; // not reached: k settles within two rounds
}

// ---- Digits to values ----

namespace {

// A rounded binary value m * 2^e: m in [2^63, 2^64) or, at e == kMinE,
// a subnormal below 2^63.
struct Binary {
    std::uint64_t m;
    int e;
};

// The quotient of a conversion, with how its rest rounds it.
struct Candidate {
    std::uint64_t floor;
    int e;
    Round how;
};

Binary Settle(std::uint64_t floor, int e, bool up) {
    if (!up) return {floor, e};
    if (floor == std::numeric_limits<std::uint64_t>::max()) return {1ULL << 63, e + 1};
    return {floor + 1, e};
}

// w * 10^n, w != 0 and the value within the bounds above.
Candidate Convert(u128 w, int n, bool exact) {
    const int lz = Clz128(w);
    const PowerOfTen p = Pow10(n);
    const U256 prod = Mul128(w << lz, p.sig);
    // w * 10^n = prod * 2^(exp2 - lz): keep its top 64 bits, fewer for a
    // subnormal.
    const int top = (prod.w[3] >> 63) != 0 ? 255 : 254;
    int drop = top - 63;
    int e = drop + p.exp2 - lz;
    if (e < kMinE) {
        drop += kMinE - e;
        e = kMinE;
    }
    const Rounded rd = RoundAt(prod, drop, exact && p.exact);
    return {static_cast<std::uint64_t>(rd.q), e, rd.how};
}

std::optional<Value> Encode(Binary b, bool negative) {
    int biased = 0;
    if (b.m >> 63) {
        biased = b.e + kBiasedOffset;
        if (biased > kMaxBiased) return std::nullopt;
    }
    unsigned char bytes[sizeof(Value)] = {};
    std::memcpy(bytes, &b.m, 8);
    const unsigned top = (negative ? 0x8000u : 0u) | static_cast<unsigned>(biased);
    bytes[8] = static_cast<unsigned char>(top & 0xff);
    bytes[9] = static_cast<unsigned char>(top >> 8);
    Value v;
    std::memcpy(&v, bytes, sizeof v);
    return v;
}

Value SignedZero(bool negative) { return negative ? -0.0L : 0.0L; }

// Calls f(digit) for the digits of both parts in turn while it returns true.
template <class F> void ForEachDigit(const DecimalText& t, F f) {
    for (char c : t.intDigits)
        if (!f(static_cast<unsigned>(c - '0'))) return;
    for (char c : t.fracDigits)
        if (!f(static_cast<unsigned>(c - '0'))) return;
}

// The leading significant digits: up to 38 of them, whether a non-zero digit
// follows, and how many zeros come before them.
struct Leading {
    u128 w = 0;
    int count = 0;
    bool dropped = false;
    std::int64_t first = -1;
};

// Adds the digits of one part to the leading ones; false once a dropped
// digit is non-zero (nothing after it matters then).
struct Accumulator {
    std::uint64_t hi = 0, lo = 0; // the first 19 significant digits, the next 19
    int nHi = 0, nLo = 0;
    std::int64_t zeros = 0; // before the first significant digit
    bool dropped = false;

    bool Feed(std::string_view part) {
        const char* p = part.data();
        const char* end = p + part.size();
        if (nHi == 0) {
            while (p != end && *p == '0') ++p;
            zeros += p - part.data();
        }
        for (; p != end && nHi < 19; ++p, ++nHi) hi = hi * 10 + static_cast<unsigned>(*p - '0');
        for (; p != end && nLo < 19; ++p, ++nLo) lo = lo * 10 + static_cast<unsigned>(*p - '0');
        for (; p != end; ++p)
            if (*p != '0') return !(dropped = true);
        return true;
    }
};

Leading ReadLeading(const DecimalText& t) {
    Accumulator acc;
    if (acc.Feed(t.intDigits)) acc.Feed(t.fracDigits);
    Leading r;
    if (acc.nHi == 0) return r;
    r.w = acc.nLo == 0
              ? acc.hi
              : static_cast<u128>(acc.hi) * kPow10U64[static_cast<std::size_t>(acc.nLo)] + acc.lo;
    r.count = acc.nHi + acc.nLo;
    r.dropped = acc.dropped;
    r.first = acc.zeros;
    return r;
}

// Whether the whole decimal lies above the half-way point (2m + 1) * 2^(e-1)
// (or on it with m odd), from all its significant digits.
bool DigitsRoundUp(const DecimalText& t, std::int64_t first, std::uint64_t m, int e) {
    // The significant digits from the first to the last non-zero one.
    std::int64_t last = -1, index = 0;
    ForEachDigit(t, [&](unsigned d) {
        if (d != 0) last = index;
        ++index;
        return true;
    });
    bool sticky = false;
    if (last - first + 1 > kMaxExactDigits) {
        last = first + kMaxExactDigits - 1;
        sticky = true;
    }
    BigNum a;
    std::uint64_t chunk = 0;
    int n = 0;
    index = 0;
    ForEachDigit(t, [&](unsigned d) {
        if (index > last) return false;
        if (index++ < first) return true;
        chunk = chunk * 10 + d;
        if (++n == 19) {
            a.MulAdd(kTen19, chunk);
            chunk = 0;
            n = 0;
        }
        return true;
    });
    a.MulAdd(kPow10U64[static_cast<std::size_t>(n)], chunk);
    // The digit at index i weighs 10^(exp10 + intDigits - 1 - i).
    auto scale =
        static_cast<int>(t.exp10 + static_cast<std::int64_t>(t.intDigits.size()) - 1 - last);
    if (sticky) {
        // Any digit past the cut lifts the value above it, and no half-way
        // point lies strictly between the cut and the next step of it.
        a.MulAdd(10, 1);
        --scale;
    }
    return ExactRoundsUp(a, scale, scale, HalfWayAbove(m), e - 1, m);
}

} // namespace

std::optional<Value> DecimalToValue(const DecimalText& text) {
    const Leading lead = ReadLeading(text);
    if (lead.first < 0) return SignedZero(text.negative);
    const auto intCount = static_cast<std::int64_t>(text.intDigits.size());
    // value lies in [w, w + 1) * 10^n, and in [10^(n + count - 1), 10^(n + count)).
    const std::int64_t n64 = text.exp10 + intCount - lead.first - lead.count;
    if (n64 + lead.count - 1 >= kOverflowE) return std::nullopt;
    if (n64 + lead.count <= kZeroE) return SignedZero(text.negative);
    const int n = static_cast<int>(n64);

    const Candidate c = Convert(lead.w, n, !lead.dropped);
    if (c.how != Round::Unsure) {
        const Binary b = Settle(c.floor, c.e, RoundsUp(c.how, c.floor));
        if (!lead.dropped) return Encode(b, text.negative);
        // The digits past the 38th lift the value by less than 10^n: when
        // w + 1 rounds the same way, so does everything between.
        const Candidate c1 = Convert(lead.w + 1, n, false);
        if (c1.how != Round::Unsure) {
            const Binary b1 = Settle(c1.floor, c1.e, RoundsUp(c1.how, c1.floor));
            if (b1.m == b.m && b1.e == b.e) return Encode(b, text.negative);
        }
    }
    // Too close to the half-way point above c.floor to tell: the span of
    // the dropped digits is far below one unit, so only that point can lie
    // in it.
    const bool up = DigitsRoundUp(text, lead.first, c.floor, c.e);
    return Encode(Settle(c.floor, c.e, up), text.negative);
}

std::uint64_t ExactDecisionCount() { return exactDecisions.load(std::memory_order_relaxed); }

} // namespace tallix
