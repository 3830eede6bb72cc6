#include "core/number/numtext.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>

namespace tallix {
namespace {

__extension__ typedef unsigned __int128 u128;

constexpr std::uint64_t kTen17 = 100000000000000000ULL;
constexpr std::uint64_t kTen18 = 1000000000000000000ULL;

constexpr std::array<u128, 39> MakePow10() {
    std::array<u128, 39> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}
constexpr std::array<u128, 39> kPow10 = MakePow10();

// Powers of ten that are exact in the 64-bit significand (5^27 < 2^64).
constexpr int kExactPow10 = 27;
const std::array<Value, kExactPow10 + 1> kPow10L = [] {
    std::array<Value, kExactPow10 + 1> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}();

// A magnitude rounded to 18 significant digits: digits * 10^(E - 18),
// with 10^17 <= digits < 10^18 (digits == 0 for zero).
struct Decimal18 {
    bool negative = false;
    std::uint64_t digits = 0;
    int E = 0;
};

// round(n / d), ties to even. Both fit 128 bits, d > 0.
std::uint64_t DivRoundEven(u128 n, u128 d, bool& tooBig) {
    u128 q = n / d;
    u128 r = n % d;
    u128 rest = d - r;
    if (r > rest || (r == rest && (q & 1))) ++q;
    tooBig = q >= kTen18;
    return static_cast<std::uint64_t>(q);
}

// Exact 18-digit rounding through 128-bit integers for the magnitudes that
// fit; false sends the caller to the slow path.
bool FastDecimal18(std::uint64_t m, int e, int k, std::uint64_t& digits) {
    // value = m * 2^e; digits = round(value * 10^(17 - k))
    const int s = 17 - k;
    u128 n, d;
    if (e >= 0) {
        if (e > 63 || s > 0 || -s > 38) return false;
        n = static_cast<u128>(m) << e;
        d = kPow10[-s];
    } else if (s >= 0) {
        if (s > 19 || -e > 127) return false;
        // Dividing by a power of two: a shift, rounding half to even.
        n = static_cast<u128>(m) * kPow10[s];
        const int sh = -e;
        u128 q = n >> sh;
        const u128 rem = n & ((static_cast<u128>(1) << sh) - 1);
        const u128 half = static_cast<u128>(1) << (sh - 1);
        if (rem > half || (rem == half && (q & 1))) ++q;
        digits = q >= kTen18 ? kTen18 : static_cast<std::uint64_t>(q);
        return true;
    } else {
        if (-s > 19 || -e > 60) return false;
        n = m;
        d = kPow10[-s] << -e;
    }
    bool tooBig = false;
    digits = DivRoundEven(n, d, tooBig);
    if (tooBig) digits = kTen18; // signals "raise k"
    return true;
}

// Correctly rounded digits through the C library, which prints exactly.
// Its decimal point follows LC_NUMERIC, so only digits and the exponent are
// read back.
Decimal18 SlowDecimal18(Value mag) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", mag);
    Decimal18 r;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') r.digits = r.digits * 10 + static_cast<unsigned>(*p - '0');
    int exp = 0;
    if (*p == 'e') std::from_chars(p[1] == '+' ? p + 2 : p + 1, buf + sizeof buf, exp);
    r.E = exp + 1;
    return r;
}

// The largest decimal of 18 digits that does not exceed the largest finite
// value, 1.18973149535723176502E4932: rounding that value to nearest gives
// ...177E4932, which lies beyond the range and could never be read back.
constexpr std::uint64_t kMaxDigits = 118973149535723176ULL;
constexpr int kMaxE = 4933;

bool BeyondRange(std::uint64_t digits, int E) {
    return E > kMaxE || (E == kMaxE && digits > kMaxDigits);
}

// At the top of the range the digits round toward zero instead, so that
// every text written parses back as a finite value.
void KeepInRange(Decimal18& d) {
    if (BeyondRange(d.digits, d.E)) {
        d.digits = kMaxDigits;
        d.E = kMaxE;
    }
}

Decimal18 ToDecimal18Nearest(Value v);

Decimal18 ToDecimal18(Value v) {
    Decimal18 r = ToDecimal18Nearest(v);
    KeepInRange(r);
    return r;
}

Decimal18 ToDecimal18Nearest(Value v) {
    Decimal18 r;
    r.negative = std::signbit(v);
    Value mag = std::fabs(v);
    if (mag == 0) return r;
    // The extended format stores the 64-bit significand with its integer
    // bit, so mag = m * 2^e exactly for every normal number.
    static_assert(std::numeric_limits<Value>::digits == 64);
    unsigned char bytes[sizeof(Value)];
    std::memcpy(bytes, &mag, sizeof bytes);
    std::uint64_t m;
    std::memcpy(&m, bytes, 8);
    const int biased = (bytes[8] | (bytes[9] << 8)) & 0x7fff;
    const int e = biased - 16383 - 63;
    const int bexp = e + 64; // mag in [2^(bexp-1), 2^bexp)
    // floor(log10(2^(bexp-1))) is never above floor(log10(mag)).
    int k = static_cast<int>(std::floor((bexp - 1) * 0.30102999566398119521L));
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::uint64_t digits = 0;
        if (!FastDecimal18(m, e, k, digits)) {
            Decimal18 slow = SlowDecimal18(mag);
            slow.negative = r.negative;
            return slow;
        }
        if (digits >= kTen18) {
            ++k;
            continue;
        }
        if (digits < kTen17) {
            --k;
            continue;
        }
        r.digits = digits;
        r.E = k + 1;
        return r;
    }
    Decimal18 slow = SlowDecimal18(mag);
    slow.negative = r.negative;
    return slow;
}

// Cuts 18 digits to p digits (0..18), half away from zero on the first
// dropped digit (toward zero where that would leave the range); a carry out
// of the first digit raises E.
void CutDigits(Decimal18& d, int p) {
    if (p >= 18) return;
    if (p < 0) {
        d.digits = 0;
        return;
    }
    const std::uint64_t div = static_cast<std::uint64_t>(kPow10[18 - p]);
    std::uint64_t q = d.digits / div;
    std::uint64_t next = (d.digits / (div / 10)) % 10;
    if (next >= 5 && !BeyondRange((q + 1) * div, d.E)) ++q;
    if (q == 0) {
        d.digits = 0;
        return;
    }
    if (p == 0 || q == static_cast<std::uint64_t>(kPow10[p])) {
        // Carry out of the first digit: "1" one place higher.
        d.digits = kTen17;
        d.E += 1;
        return;
    }
    d.digits = q * div;
}

// Writes the significant digits of d (18 positions) without trailing zeros.
int SignificantDigits(std::uint64_t digits, char* out) {
    char tmp[18];
    for (int i = 17; i >= 0; --i) {
        tmp[i] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    int n = 18;
    while (n > 1 && tmp[n - 1] == '0') --n;
    std::memcpy(out, tmp, static_cast<std::size_t>(n));
    return n;
}

bool IsDenormalOrZero(Value v) { return v == 0 || std::fpclassify(v) == FP_SUBNORMAL; }

std::string NonFinite(Value v) { return std::isnan(v) ? "NAN" : "INF"; }

std::string WriteGeneral(const Decimal18& d, int precision, char dc) {
    char digs[18];
    const int n = SignificantDigits(d.digits, digs);
    const int E = d.E;
    char buf[64];
    int len = 0;
    if (d.negative) buf[len++] = '-';
    if (E >= -3 && E <= precision) {
        if (E <= 0) {
            buf[len++] = '0';
            buf[len++] = dc;
            for (int i = 0; i < -E; ++i) buf[len++] = '0';
            for (int i = 0; i < n; ++i) buf[len++] = digs[i];
        } else {
            for (int i = 0; i < E; ++i) buf[len++] = i < n ? digs[i] : '0';
            if (n > E) {
                buf[len++] = dc;
                for (int i = E; i < n; ++i) buf[len++] = digs[i];
            }
        }
    } else {
        buf[len++] = digs[0];
        if (n > 1) {
            buf[len++] = dc;
            for (int i = 1; i < n; ++i) buf[len++] = digs[i];
        }
        buf[len++] = 'E';
        auto res = std::to_chars(buf + len, buf + sizeof buf, E - 1);
        len = static_cast<int>(res.ptr - buf);
    }
    return std::string(buf, static_cast<std::size_t>(len));
}

} // namespace

std::string FormatGeneral(Value v, int precision, char decimalChar) {
    if (!std::isfinite(v)) return NonFinite(v);
    if (IsDenormalOrZero(v)) return "0";
    Decimal18 d = ToDecimal18(v);
    CutDigits(d, precision);
    return WriteGeneral(d, precision, decimalChar);
}

std::string FormatFixed(Value v, int decimals, char decimalChar) {
    if (!std::isfinite(v)) return NonFinite(v);
    Decimal18 d;
    if (!IsDenormalOrZero(v)) d = ToDecimal18(v);
    if (d.digits != 0 && d.E > 18) return WriteGeneral(d, 18, decimalChar);
    if (d.digits != 0) CutDigits(d, std::min(18, d.E + decimals));
    char digs[18];
    const int n = d.digits ? SignificantDigits(d.digits, digs) : 0;
    std::string out;
    out.reserve(40);
    if (d.digits != 0 && d.negative) out += '-';
    if (d.digits == 0 || d.E <= 0) {
        out += '0';
    } else {
        for (int i = 0; i < d.E; ++i) out += i < n ? digs[i] : '0';
    }
    if (decimals > 0) {
        out += decimalChar;
        for (int pos = 0; pos < decimals; ++pos) {
            // Digit index of the pos-th decimal within the significant digits.
            const int idx = (d.digits == 0) ? -1 : d.E + pos;
            out += (idx >= 0 && idx < n) ? digs[idx] : '0';
        }
    }
    return out;
}

std::string FormatStackValue(Value v, char decimalChar) {
    std::string s = FormatGeneral(v, 18, decimalChar);
    if (s.size() > 80) s.resize(80);
    return s;
}

std::optional<Value> ParseReal(std::string_view text, char decimalChar) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p != end && *p == ' ') ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';

    std::uint64_t mant = 0; // up to 19 significant digits
    int sig = 0;            // significant digits taken into mant
    bool dropped = false;   // a non-zero digit beyond the 19th
    int scale = 0;          // power of ten to apply to mant
    bool anyDigit = false, sawSep = false;
    for (; p != end && *p >= '0' && *p <= '9'; ++p) {
        anyDigit = true;
        if (sig < 19) {
            if (mant != 0 || *p != '0') {
                mant = mant * 10 + static_cast<unsigned>(*p - '0');
                ++sig;
            }
        } else {
            ++scale;
            dropped |= *p != '0';
        }
    }
    if (p != end && *p == decimalChar) {
        sawSep = true;
        for (++p; p != end && *p >= '0' && *p <= '9'; ++p) {
            anyDigit = true;
            if (sig < 19) {
                if (mant != 0 || *p != '0') {
                    mant = mant * 10 + static_cast<unsigned>(*p - '0');
                    ++sig;
                }
                --scale;
            } else {
                dropped |= *p != '0';
            }
        }
    }
    if (!anyDigit && !sawSep) return std::nullopt;
    int exp = 0;
    if (p != end && (*p == 'E' || *p == 'e')) {
        ++p;
        bool expNeg = false;
        if (p != end && (*p == '+' || *p == '-')) expNeg = *p++ == '-';
        for (; p != end && *p >= '0' && *p <= '9'; ++p) {
            // Digits are read until the exponent reaches 500; any further
            // digit makes the text invalid.
            if (exp >= 500) return std::nullopt;
            exp = exp * 10 + (*p - '0');
        }
        if (expNeg) exp = -exp;
    }
    while (p != end && *p == ' ') ++p;
    if (p != end) return std::nullopt;

    if (mant == 0) return negative ? -0.0L : 0.0L;
    const int total = scale + exp;
    Value v;
    if (!dropped && total >= -kExactPow10 && total <= kExactPow10) {
        // One correctly rounded operation on exact operands.
        v = static_cast<Value>(mant);
        if (total >= 0)
            v *= kPow10L[static_cast<std::size_t>(total)];
        else
            v /= kPow10L[static_cast<std::size_t>(-total)];
    } else {
        // Rare: long digit strings or large exponents. The C library's
        // conversion is correctly rounded; run it under the C locale.
#ifndef _WIN32
        static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
#endif
        std::string canon;
        canon.reserve(text.size() + 8);
        for (char c : text)
            if (c != ' ') canon += c == decimalChar ? '.' : c;
        // An exponent without digits counts as zero.
        if (!canon.empty() && (canon.back() == 'E' || canon.back() == 'e')) canon += '0';
        if (canon.size() >= 2 && (canon.back() == '+' || canon.back() == '-')) canon += '0';
        if (canon == "." || canon == "+." || canon == "-.") return negative ? -0.0L : 0.0L;
#ifdef _WIN32
        // MinGW-w64's own strtold converts at the full 64-bit precision
        // (the Windows C runtime's would round to double).
        v = std::strtold(canon.c_str(), nullptr);
#else
        v = strtold_l(canon.c_str(), nullptr, cLocale);
#endif
        return std::isfinite(v) ? std::optional<Value>(v) : std::nullopt;
    }
    if (!std::isfinite(v)) return std::nullopt;
    return negative ? -v : v;
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const char* p = text.data();
    const char* end = p + text.size();
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (p == end) return std::nullopt;
    std::int64_t v = 0;
    for (; p != end; ++p) {
        if (*p < '0' || *p > '9') return std::nullopt;
        v = v * 10 + (*p - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(v);
}

std::optional<std::int64_t> RoundToInt64(Value v) {
    if (!std::isfinite(v)) return std::nullopt;
    Value r = std::nearbyint(v); // the default rounding: ties to even
    constexpr Value kTwo63 = 9223372036854775808.0L;
    if (r >= kTwo63 || r < -kTwo63) return std::nullopt;
    return static_cast<std::int64_t>(r);
}

} // namespace tallix
