// Number texts against MPFR and the C library, over the whole extended
// range: every finite value to its 18 correctly rounded digits, and decimal
// texts back to the nearest value (ties to even both ways).
//
// MPFR is the reference for the bulk of the values (it is fast at every
// exponent); the C library's "%.17Le" and strtold_l, correctly rounded too,
// check a share of them. The half-way texts are built with GMP, so their
// right answers are known by construction.
//
// TALLIX_NUMTEXT_SCALE=k multiplies the number of random values by k for a
// long run; each test prints its counts and how many conversions needed the
// exact integers.
#include <gmp.h>
#include <gtest/gtest.h>
#include <mpfr.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <locale.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/number/decimalconv.h"
#include "core/number/numtext.h"
#include "value_bits.h"

using namespace tallix;

namespace {

using Rng = std::mt19937_64;

long Scale() {
    const char* s = std::getenv("TALLIX_NUMTEXT_SCALE");
    const long k = s ? std::atol(s) : 1;
    return k > 0 ? k : 1;
}

// ---- Extended values by their fields ----

using test::FromBits;

struct Fields {
    bool negative;
    unsigned biased;
    std::uint64_t m;
};

Fields BitsOf(Value v) {
    unsigned char bytes[sizeof(Value)];
    std::memcpy(bytes, &v, sizeof bytes);
    Fields f;
    std::memcpy(&f.m, bytes, 8);
    const unsigned top = bytes[8] | (bytes[9] << 8);
    f.negative = (top & 0x8000u) != 0;
    f.biased = top & 0x7fffu;
    return f;
}

// A random finite value: any exponent (0 gives the subnormals), any
// significand, either sign.
Value RandomValue(Rng& rng) {
    const auto biased = static_cast<unsigned>(rng() % 0x7fff);
    std::uint64_t m = rng();
    if (biased != 0)
        m |= 1ULL << 63;
    else
        m &= ~(1ULL << 63);
    return FromBits(rng() & 1, biased, m);
}

std::string Describe(Value v) {
    char buf[80];
    const Fields f = BitsOf(v);
    std::snprintf(buf, sizeof buf, "%s0x%016llx * 2^(%d) [%.21Lg]", f.negative ? "-" : "",
                  static_cast<unsigned long long>(f.m),
                  static_cast<int>(f.biased == 0 ? 1 : f.biased) - 16383 - 63, v);
    return buf;
}

bool SameValue(const std::optional<Value>& a, const std::optional<Value>& b) {
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    return std::memcmp(&*a, &*b, 10) == 0;
}

std::string Show(const std::optional<Value>& v) { return v ? Describe(*v) : "(none)"; }

// ---- The references ----

struct Mpfr {
    mpfr_t v;
    explicit Mpfr(mpfr_prec_t prec = 64) { mpfr_init2(v, prec); }
    Mpfr(const Mpfr&) = delete;
    Mpfr& operator=(const Mpfr&) = delete;
    ~Mpfr() { mpfr_clear(v); }
};

// The extended format's exponent range in MPFR's terms (0.1b * 2^e), the
// subnormals included.
void UseExtendedRange() {
    mpfr_set_emin(-16444);
    mpfr_set_emax(16384);
}

bool operator==(const Decimal18& a, const Decimal18& b) {
    return a.negative == b.negative && a.digits == b.digits && a.E == b.E;
}

std::string Show(const Decimal18& d) {
    return std::string(d.negative ? "-" : "") + std::to_string(d.digits) + "E" +
           std::to_string(d.E);
}

Decimal18 MpfrDigits(Value v) {
    UseExtendedRange();
    Mpfr x;
    mpfr_set_ld(x.v, v, MPFR_RNDN);
    char buf[40];
    mpfr_exp_t ex = 0;
    mpfr_get_str(buf, &ex, 10, 18, x.v, MPFR_RNDN);
    Decimal18 d;
    const char* p = buf;
    d.negative = *p == '-';
    if (d.negative) ++p;
    for (; *p; ++p) d.digits = d.digits * 10 + static_cast<unsigned>(*p - '0');
    d.E = static_cast<int>(ex);
    return d;
}

// The C library's correctly rounded digits, read as the calculator once read
// them: digits and exponent only.
Decimal18 LibcDigits(Value v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", v);
    Decimal18 d;
    const char* p = buf;
    d.negative = *p == '-';
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') d.digits = d.digits * 10 + static_cast<unsigned>(*p - '0');
    d.E = std::atoi(p + 1) + 1;
    return d;
}

// A text as MPFR and strtold read it: no blanks, '.' as the separator, an
// empty exponent as 0.
std::string Canonical(const std::string& text, char dc) {
    std::string c;
    for (char ch : text)
        if (ch != ' ') c += ch == dc ? '.' : ch;
    if (!c.empty() && (c.back() == 'E' || c.back() == 'e')) c += '0';
    if (c.size() >= 2 && (c.back() == '+' || c.back() == '-')) c += '0';
    return c;
}

std::optional<Value> MpfrParse(const std::string& text, char dc) {
    UseExtendedRange();
    Mpfr x;
    const std::string c = Canonical(text, dc);
    char* end = nullptr;
    int t = mpfr_strtofr(x.v, c.c_str(), &end, 10, MPFR_RNDN);
    EXPECT_EQ(*end, '\0') << text;
    t = mpfr_subnormalize(x.v, t, MPFR_RNDN);
    const Value v = mpfr_get_ld(x.v, MPFR_RNDN);
    if (std::isinf(v)) return std::nullopt;
    return v;
}

std::optional<Value> LibcParse(const std::string& text, char dc) {
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    const Value v = strtold_l(Canonical(text, dc).c_str(), nullptr, cLocale);
    if (std::isinf(v)) return std::nullopt;
    return v;
}

// Counts and a limit on the failures a test reports one by one.
struct Tally {
    const char* what;
    long checked = 0;
    long failures = 0;
    std::uint64_t exact = 0; // conversions that needed the exact integers

    bool Fail() { return ++failures <= 20; }
    ~Tally() {
        std::printf("[ numtext ] %s: %ld checked, %llu exact decisions, %ld failures\n", what,
                    checked, static_cast<unsigned long long>(exact), failures);
        EXPECT_EQ(failures, 0) << what;
    }
};

// The conversions under test, counting their exact decisions.
Decimal18 Digits(Tally& tally, Value v) {
    const std::uint64_t before = ExactDecisionCount();
    const Decimal18 d = ToDecimal18Nearest(v);
    tally.exact += ExactDecisionCount() - before;
    return d;
}

std::optional<Value> Parse(Tally& tally, const std::string& text, char dc) {
    const std::uint64_t before = ExactDecisionCount();
    const std::optional<Value> v = ParseReal(text, dc);
    tally.exact += ExactDecisionCount() - before;
    return v;
}

void CheckDigits(Tally& tally, Value v, bool withLibc) {
    if (v == 0) return;
    ++tally.checked;
    const Decimal18 got = Digits(tally, v);
    const Decimal18 want = MpfrDigits(v);
    if (!(got == want) && tally.Fail())
        ADD_FAILURE() << Describe(v) << ": " << Show(got) << ", MPFR " << Show(want);
    if (withLibc) {
        const Decimal18 libc = LibcDigits(v);
        if (!(got == libc) && tally.Fail())
            ADD_FAILURE() << Describe(v) << ": " << Show(got) << ", C library " << Show(libc);
    }
}

void CheckParse(Tally& tally, const std::string& text, char dc, bool withLibc) {
    ++tally.checked;
    const std::optional<Value> got = Parse(tally, text, dc);
    const std::optional<Value> want = MpfrParse(text, dc);
    if (!SameValue(got, want) && tally.Fail())
        ADD_FAILURE() << "\"" << text << "\": " << Show(got) << ", MPFR " << Show(want);
    if (withLibc) {
        const std::optional<Value> libc = LibcParse(text, dc);
        if (!SameValue(got, libc) && tally.Fail())
            ADD_FAILURE() << "\"" << text << "\": " << Show(got) << ", C library " << Show(libc);
    }
}

// ---- Values to digits ----

// The nearest value to a decimal text (the reference reads it).
Value Nearest(const std::string& text) { return *MpfrParse(text, '.'); }

std::string Digits18(Rng& rng) {
    return std::to_string(100000000000000000ULL + rng() % 900000000000000000ULL);
}

// Values with 18-digit texts that are exactly half-way: (2N + 1) / 2 *
// 10^(k - 17) is an extended value only for 10^(17 - k) between 10^-2 and
// 10^26 (the odd part must fit 64 bits).
void ExactTies(Rng& rng, std::vector<Value>& out) {
    for (int n = -2; n <= 26; ++n) {
        for (int i = 0; i < 40; ++i) {
            Value v;
            if (n < 0) {
                // The integers N5 (N of 18 digits) and N50, whose odd part
                // (2N + 1) * 25 fits 64 bits only for N below 3.6E17.
                const std::uint64_t span = n == -1 ? 900000000000000000ULL : 260000000000000000ULL;
                const std::uint64_t N = 100000000000000000ULL + rng() % span;
                v = static_cast<Value>(N * 10 + 5) * (n == -2 ? 10 : 1);
            } else {
                // (2N + 1) = 5^n * o: the value o / 2^(n + 1), o odd.
                std::uint64_t p5 = 1;
                for (int j = 0; j < n; ++j) p5 *= 5;
                const std::uint64_t lo = 200000000000000000ULL / p5 + 1;
                const std::uint64_t hi = 2000000000000000000ULL / p5;
                std::uint64_t o = lo + rng() % (hi - lo + 1);
                o |= 1;
                if (o > hi) o -= 2;
                v = std::ldexp(static_cast<Value>(o), -(n + 1));
            }
            for (Value w : {v, std::nextafter(v, 0.0L), std::nextafter(v, 2 * v), -v})
                out.push_back(w);
        }
    }
}

struct ValueSet {
    const char* name;
    std::function<void(Rng&, std::vector<Value>&)> make;
};

const ValueSet kValueSets[] = {
    {"extremes",
     [](Rng&, std::vector<Value>& out) {
         using L = std::numeric_limits<Value>;
         for (Value v : {L::max(), L::min(), L::denorm_min(), std::nextafter(L::min(), 0.0L),
                         std::nextafter(L::max(), 0.0L), std::nextafter(L::min(), 1.0L),
                         std::nextafter(L::denorm_min(), 1.0L), 1.0L, 0.1L, 1.0L / 3})
             out.push_back(v);
     }},
    {"powers of ten and two units either side",
     [](Rng&, std::vector<Value>& out) {
         for (int k = -4950; k <= 4932; ++k) {
             Value v = Nearest("1E" + std::to_string(k));
             Value below = v, above = v;
             out.push_back(v);
             for (int i = 0; i < 2; ++i) {
                 below = std::nextafter(below, 0.0L);
                 above = std::nextafter(above, 2 * above);
                 out.push_back(below);
                 if (std::isfinite(above)) out.push_back(above);
             }
         }
     }},
    {"nearest values to half-way decimals and their neighbours",
     [](Rng& rng, std::vector<Value>& out) {
         for (int i = 0; i < 40000; ++i) {
             const int k = static_cast<int>(rng() % 9880) - 4948;
             const Value v = Nearest(Digits18(rng) + "5E" + std::to_string(k - 18));
             for (Value w : {v, std::nextafter(v, 0.0L), std::nextafter(v, 2 * v)})
                 if (std::isfinite(w)) out.push_back(w);
         }
     }},
    {"exact ties", ExactTies},
    {"subnormals",
     [](Rng& rng, std::vector<Value>& out) {
         for (int i = 0; i < 20000; ++i) {
             const std::uint64_t m = rng() >> (1 + rng() % 63);
             out.push_back(FromBits(rng() & 1, 0, m));
         }
     }},
};

TEST(NumTextOracle, TheValueSetsToDigits) {
    Rng rng(17);
    for (const ValueSet& set : kValueSets) {
        Tally tally{set.name};
        std::vector<Value> values;
        set.make(rng, values);
        for (Value v : values) CheckDigits(tally, v, true);
    }
}

TEST(NumTextOracle, RandomBitPatternsToDigitsAndBack) {
    Rng rng(4242);
    const long n = 600000 * Scale();
    Tally digits{"random bit patterns to digits"};
    Tally back{"their stack texts parsed"};
    for (long i = 0; i < n; ++i) {
        const Value v = RandomValue(rng);
        const bool libc = i % 16 == 0;
        CheckDigits(digits, v, libc);
        const char dc = (i & 1) ? ',' : '.';
        const std::string text = (i % 3 == 0)
                                     ? FormatGeneral(v, 1 + static_cast<int>(i / 3 % 18), dc)
                                     : FormatStackValue(v, dc);
        CheckParse(back, text, dc, libc);
    }
}

// ---- Texts to values ----

// Texts of random digits: leading and trailing zeros, any split between
// the parts, up to 60 digits, exponents reaching past both ends of the range.
std::string RandomText(Rng& rng) {
    std::string s;
    if (rng() % 8 == 0) s += "  ";
    if (rng() % 3 == 0) s += (rng() & 1) ? '-' : '+';
    const int lead = (rng() % 4 == 0) ? static_cast<int>(rng() % 8) : 0;
    const int count = 1 + static_cast<int>(rng() % 60);
    std::string digits(static_cast<std::size_t>(lead), '0');
    for (int i = 0; i < count; ++i) {
        const auto r = rng() % 10;
        // Runs of zeros and nines test the carries.
        digits += rng() % 5 == 0 ? ((rng() & 1) ? '0' : '9') : static_cast<char>('0' + r);
    }
    if (rng() % 4 == 0) digits.append(rng() % 12, '0');
    const std::size_t cut = rng() % (digits.size() + 1);
    const bool sep = cut < digits.size() || rng() % 2 == 0;
    s += digits.substr(0, cut);
    if (sep) s += '.';
    s += digits.substr(cut);
    if (rng() % 16 != 0) {
        const int target = static_cast<int>(rng() % 9960) - 4990;
        int exp = target - static_cast<int>(cut);
        exp = std::max(-4999, std::min(4999, exp));
        s += (rng() & 1) ? 'E' : 'e';
        if (exp < 0 || rng() % 2 == 0) s += exp < 0 ? '-' : '+';
        s += std::to_string(std::abs(exp));
    }
    if (rng() % 8 == 0) s += " ";
    return s;
}

TEST(NumTextOracle, RandomDecimalTexts) {
    Rng rng(99);
    const long n = 300000 * Scale();
    Tally tally{"random decimal texts"};
    for (long i = 0; i < n; ++i) {
        std::string text = RandomText(rng);
        char dc = '.';
        if (i % 5 == 0) {
            for (char& c : text)
                if (c == '.') c = ',';
            dc = ',';
        }
        CheckParse(tally, text, dc, i % 16 == 0);
    }
}

// The exact decimal of (2m + 1) * 2^(e - 1), the point half-way between
// m * 2^e and the next value, in scientific notation.
std::string HalfWayText(std::uint64_t m, int e) {
    mpz_t d;
    mpz_init(d);
    mpz_set_ui(d, static_cast<unsigned long>(m));
    mpz_mul_2exp(d, d, 1);
    mpz_add_ui(d, d, 1);
    int scale = 0; // the value is d * 10^scale
    if (e - 1 >= 0) {
        mpz_mul_2exp(d, d, static_cast<mp_bitcnt_t>(e - 1));
    } else {
        // d / 2^k = d * 5^k / 10^k
        mpz_t p;
        mpz_init(p);
        mpz_ui_pow_ui(p, 5, static_cast<unsigned long>(1 - e));
        mpz_mul(d, d, p);
        mpz_clear(p);
        scale = e - 1;
    }
    char* s = mpz_get_str(nullptr, 10, d);
    std::string digits(s);
    void (*freefunc)(void*, size_t);
    mp_get_memory_functions(nullptr, nullptr, &freefunc);
    freefunc(s, std::strlen(s) + 1);
    mpz_clear(d);
    const int exp10 = scale + static_cast<int>(digits.size()) - 1;
    // (2m + 1) may hold factors of 5: no trailing zeros, so that cutting
    // the text always lowers it.
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    return digits.substr(0, 1) + "." + digits.substr(1) + "E" + std::to_string(exp10);
}

// The point half-way between |v| (finite, non-zero) and the next value up.
struct HalfWay {
    Value below;
    std::optional<Value> above; // none past the largest value
    std::string text;
};

HalfWay HalfWayAbove(Value v) {
    const Fields f = BitsOf(v);
    const int e = static_cast<int>(f.biased == 0 ? 1 : f.biased) - 16383 - 63;
    HalfWay h;
    h.below = std::fabs(v);
    const Value next = std::nextafter(h.below, std::numeric_limits<Value>::infinity());
    if (std::isfinite(next)) h.above = next;
    h.text = HalfWayText(f.m, e);
    return h;
}

void CheckHalfWay(Tally& tally, Value v, Rng& rng) {
    const HalfWay h = HalfWayAbove(v);
    const std::optional<Value> even = (BitsOf(h.below).m & 1) ? h.above : h.below;
    const bool negative = rng() & 1;
    const std::string sign = negative ? "-" : "";
    auto signedValue = [&](std::optional<Value> x) -> std::optional<Value> {
        if (x && negative) return -*x;
        return x;
    };
    // Cut short (at least 25 digits, far closer than half a unit), exactly
    // half-way, and a digit past it.
    const std::size_t mark = h.text.find('E');
    const std::string mant = h.text.substr(0, mark), exp = h.text.substr(mark);
    std::vector<std::pair<std::string, std::optional<Value>>> cases = {
        {sign + h.text, signedValue(even)},
        {sign + mant + "0001" + exp, signedValue(h.above)},
    };
    if (mant.size() > 27) {
        const std::size_t keep = 27 + rng() % (mant.size() - 27);
        cases.push_back({sign + mant.substr(0, keep) + exp, signedValue(h.below)});
    }
    for (const auto& [text, want] : cases) {
        ++tally.checked;
        const std::optional<Value> got = Parse(tally, text, '.');
        if (!SameValue(got, want) && tally.Fail())
            ADD_FAILURE() << Describe(v) << " \"" << text.substr(0, 60) << "...\" (" << text.size()
                          << " chars): " << Show(got) << ", want " << Show(want);
    }
    if (rng() % 64 == 0) {
        ++tally.checked;
        const std::optional<Value> got = Parse(tally, cases[0].first, '.');
        const std::optional<Value> ref = MpfrParse(cases[0].first, '.');
        if (!SameValue(got, ref) && tally.Fail())
            ADD_FAILURE() << Describe(v) << ": " << Show(got) << ", MPFR " << Show(ref);
    }
}

TEST(NumTextOracle, HalfWayTexts) {
    Rng rng(7);
    const long n = 6000 * Scale();
    Tally tally{"half-way texts"};
    using L = std::numeric_limits<Value>;
    // The ends: below the smallest subnormal, across the smallest normal,
    // and into overflow past the largest value.
    for (Value v : {L::denorm_min(), std::nextafter(L::min(), 0.0L), L::min(), L::max(),
                    std::nextafter(L::max(), 0.0L), 1.0L, 2.0L - L::epsilon()})
        CheckHalfWay(tally, v, rng);
    for (long i = 0; i < n; ++i) {
        Value v = RandomValue(rng);
        if (v == 0) continue;
        // Half of them near the middle of the range, where texts are short.
        if (i % 2 == 0)
            v = std::ldexp(static_cast<Value>(BitsOf(v).m | 1ULL << 63),
                           -63 + static_cast<int>(rng() % 400) - 200);
        CheckHalfWay(tally, v, rng);
    }
}

TEST(NumTextOracle, ZeroHalfWayAndVeryLongTexts) {
    Tally tally{"very long texts"};
    using L = std::numeric_limits<Value>;
    // Half the smallest subnormal: exactly half-way between 0 and it (to
    // even: 0), and a digit beyond the 12 000th lifts it to the subnormal.
    const std::string half = HalfWayText(0, -16445);
    ASSERT_GT(half.size(), 11000u);
    const std::size_t mark = half.find('E');
    const std::string mant = half.substr(0, mark), exp = half.substr(mark);
    const std::string padded = mant + std::string(2000, '0') + "1" + exp;
    const struct {
        std::string text;
        std::optional<Value> want;
    } cases[] = {
        {half, 0.0L},
        {"-" + half, -0.0L},
        {padded, L::denorm_min()},
        {mant + std::string(2000, '0') + exp, 0.0L},
        {"0." + std::string(5000, '0') + "1E4999", Nearest("0.01")},
        {std::string(6000, '0') + "1" + std::string(4900, '0') + "E-4900", 1.0L},
        {"1" + std::string(4932, '0'), Nearest("1E4932")},
        {"1" + std::string(4933, '0'), std::nullopt},
    };
    for (const auto& c : cases) {
        ++tally.checked;
        const std::optional<Value> got = Parse(tally, c.text, '.');
        if (!SameValue(got, c.want))
            ADD_FAILURE() << c.text.substr(0, 40) << "... (" << c.text.size()
                          << " chars): " << Show(got) << ", want " << Show(c.want);
    }
    // Long random digit strings, checked against both references.
    Rng rng(5);
    for (int i = 0; i < 200; ++i) {
        std::string text;
        const int len = 40 + static_cast<int>(rng() % 3000);
        for (int j = 0; j < len; ++j) text += static_cast<char>('0' + rng() % 10);
        text.insert(rng() % text.size(), ".");
        text += "E" + std::to_string(static_cast<int>(rng() % 9000) - 4500);
        CheckParse(tally, text, '.', true);
    }
}

} // namespace
