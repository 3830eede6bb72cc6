#include "core/number/numtext.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/number/decimalconv.h"

namespace tallix {
namespace {

__extension__ typedef unsigned __int128 u128;

constexpr std::uint64_t kTen17 = 100000000000000000ULL;

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

// What nearly every typed or stored number is: at most 19 significant
// digits and a small power of ten. The digits and the power are both exact
// in the 64-bit significand, so one multiplication or division, which the
// FPU rounds correctly, gives the correctly rounded value; false leaves the
// text to the exact conversion.
bool QuickValue(const DecimalText& n, Value& v) {
    std::uint64_t mant = 0;
    int sig = 0;
    auto take = [&](std::string_view digits) {
        for (char c : digits) {
            if (mant == 0 && c == '0') continue;
            if (++sig > 19) return false;
            mant = mant * 10 + static_cast<unsigned>(c - '0');
        }
        return true;
    };
    if (!take(n.intDigits)) return false;
    // Zeros after the last non-zero digit change nothing but the scale.
    std::string_view frac = n.fracDigits;
    while (!frac.empty() && frac.back() == '0') frac.remove_suffix(1);
    if (!take(frac)) return false;
    const int total = n.exp10 - static_cast<int>(frac.size());
    if (mant == 0) {
        v = n.negative ? -0.0L : 0.0L;
        return true;
    }
    if (total < -kExactPow10 || total > kExactPow10) return false;
    v = static_cast<Value>(mant);
    if (total >= 0)
        v *= kPow10L[static_cast<std::size_t>(total)];
    else
        v /= kPow10L[static_cast<std::size_t>(-total)];
    if (n.negative) v = -v;
    return true;
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

Decimal18 ToDecimal18(Value v) {
    Decimal18 r = ToDecimal18Nearest(v);
    KeepInRange(r);
    return r;
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

// Every pair of digits, for writing two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> t{};
    for (int i = 0; i < 100; ++i) {
        t[2 * i] = static_cast<char>('0' + i / 10);
        t[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return t;
}();

// Exactly 9 digits of v < 10^9.
void Write9(std::uint32_t v, char* out) {
    for (int i = 7; i >= 1; i -= 2) {
        const std::uint32_t q = v / 100;
        std::memcpy(out + i, &kDigitPairs[2 * (v - 100 * q)], 2);
        v = q;
    }
    out[0] = static_cast<char>('0' + v);
}

// Writes the significant digits of d (18 positions) without trailing zeros.
// `out` has room for all 18.
int SignificantDigits(std::uint64_t digits, char* out) {
    Write9(static_cast<std::uint32_t>(digits / 1000000000), out);
    Write9(static_cast<std::uint32_t>(digits % 1000000000), out + 9);
    // The trailing zeros, counted on the number rather than read back from
    // the bytes just written.
    int n = 18;
    if (digits == 0) return 1;
    while (digits % 100 == 0) {
        digits /= 100;
        n -= 2;
    }
    if (digits % 10 == 0) --n;
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

std::string FormatExact(Value v, char decimalChar) {
    if (!std::isfinite(v)) return NonFinite(v);
    if (v == 0) return std::signbit(v) ? "-0" : "0";
    const Decimal18 d = ToDecimal18Nearest(v);
    const Value magnitude = std::fabs(v);
    std::string text = WriteGeneral(d, 18, decimalChar);
    if (auto back = ParseReal(text, decimalChar); back && std::fabs(*back) == magnitude)
        return text;
    // 21 digits tell every 64-bit significand apart: the nearest 21-digit
    // decimal lies within 500.5 units of the 18 digits times 1000. Reading
    // is monotonic, so the first candidate that reads at or above the value
    // reads as the value.
    const u128 base = static_cast<u128>(d.digits) * 1000;
    // The digits of base + k (20 or 21 of them) and the power of ten of
    // the last one.
    auto digitsOf = [&](int k) {
        u128 n = k >= 0 ? base + static_cast<u128>(k) : base - static_cast<u128>(-k);
        std::string out;
        for (; n != 0; n /= 10) out.insert(out.begin(), static_cast<char>('0' + n % 10));
        return out;
    };
    auto reads = [&](int k) {
        const auto back = ParseReal(digitsOf(k) + "E" + std::to_string(d.E - 21), '.');
        return !back || *back >= magnitude;
    };
    int lo = -501, hi = 501;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (reads(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    std::string digits = digitsOf(lo);
    const int exponent = static_cast<int>(digits.size()) - 1 + d.E - 21;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    text = d.negative ? "-" : "";
    text += digits[0];
    if (digits.size() > 1) text += decimalChar + digits.substr(1);
    return text + "E" + std::to_string(exponent);
}

std::optional<Value> ParseReal(std::string_view text, char decimalChar) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p != end && *p == ' ') ++p;
    DecimalText number;
    if (p != end && (*p == '+' || *p == '-')) number.negative = *p++ == '-';

    auto digitsFrom = [&](const char* begin) {
        while (p != end && *p >= '0' && *p <= '9') ++p;
        return std::string_view(begin, static_cast<std::size_t>(p - begin));
    };
    number.intDigits = digitsFrom(p);
    bool sawSep = false;
    if (p != end && *p == decimalChar) {
        sawSep = true;
        ++p;
        number.fracDigits = digitsFrom(p);
    }
    if (number.intDigits.empty() && number.fracDigits.empty() && !sawSep) return std::nullopt;
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
    number.exp10 = exp;
    if (Value v; QuickValue(number, v)) return v;
    return DecimalToValue(number);
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
