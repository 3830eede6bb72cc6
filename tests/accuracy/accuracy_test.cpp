// Accuracy of the pushed 18-digit results against MPFR.
//
// Every case pushes its argument texts, runs the command through the
// calculator and reads the stack text it pushed. MPFR evaluates the same
// function at 320 bits on exactly the value the calculator parsed, and the
// correctly rounded 18-digit decimal of that true value is the reference.
// Errors are counted in units of the 18th significant digit of the true
// value; the goal is at most one unit from the correctly rounded text.
// The transcendental functions, evaluated wide and rounded once, must
// push exactly the text of the true value rounded once to the extended
// type. A summary per function is printed.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/calc/calculator.h"
#include "core/commands/dispatch.h"
#include "core/number/numtext.h"
#include "test_calc.h"

using namespace tallix;

namespace {

constexpr mpfr_prec_t kPrec = 320;

class QuietShell : public Shell {
public:
    void ShowError(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

// An MPFR number that cleans up after itself.
struct Big {
    mpfr_t v;
    Big() { mpfr_init2(v, kPrec); }
    explicit Big(Value x) : Big() { mpfr_set_ld(v, x, MPFR_RNDN); }
    Big(const Big&) = delete;
    Big& operator=(const Big&) = delete;
    ~Big() { mpfr_clear(v); }
    operator mpfr_ptr() { return v; }
    operator mpfr_srcptr() const { return v; }
};

// The angle units by their stored numbers, as the references take them.
constexpr int CYC = AngleUnitNumber(AngleUnit::Cycles), DEG = AngleUnitNumber(AngleUnit::Degrees),
              RAD = AngleUnitNumber(AngleUnit::Radians),
              GRAD = AngleUnitNumber(AngleUnit::Gradients);
const char* const kModeName[] = {"CYC", "DEG", "RAD", "GRAD"};
long UnitsPerTurn(int mode) { return mode == CYC ? 1 : mode == DEG ? 360 : 400; }

struct Case {
    Cmd cmd;
    int mode;
    std::string x; // level 1
    std::string y; // level 2 ("" for one argument)
};

// The true value of the command on (x, y); false when it is not defined.
// Tiny trigonometric results count as 0 as the calculator snaps them,
// unless the argument (in radians) is as tiny itself.
bool TrueValue(const Case& c, mpfr_srcptr x, mpfr_srcptr y, mpfr_ptr out) {
    const mpfr_rnd_t N = MPFR_RNDN;
    const bool rad = c.mode == RAD;
    const long u = rad ? 0 : UnitsPerTurn(c.mode);
    Big t;
    auto chop = [&](mpfr_ptr v, mpfr_srcptr argument) {
        Big lim;
        mpfr_set_str(lim, "1e-17", 10, N);
        if (mpfr_cmpabs(v, lim) < 0 && mpfr_cmpabs(argument, lim) >= 0) mpfr_set_zero(v, 1);
    };
    // The argument of a forward function in radians: x × 2π / units a turn.
    Big radians;
    if (rad) {
        mpfr_set(radians, x, N);
    } else {
        mpfr_const_pi(radians, N);
        mpfr_mul(radians, radians, x, N);
        mpfr_mul_ui(radians, radians, 2, N);
        mpfr_div_ui(radians, radians, static_cast<unsigned long>(u), N);
    }
    // Inverse functions snap in radians, then convert.
    auto inverse = [&](int (*inRad)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t),
                       int (*inUnit)(mpfr_ptr, mpfr_srcptr, unsigned long, mpfr_rnd_t)) {
        inRad(t, x, N);
        chop(t, x);
        if (mpfr_zero_p(t) || rad)
            mpfr_set(out, t, N);
        else
            inUnit(out, x, static_cast<unsigned long>(u), N);
    };
    switch (c.cmd) {
    case Cmd::Sin:
        rad ? mpfr_sin(out, x, N) : mpfr_sinu(out, x, u, N);
        chop(out, radians);
        return true;
    case Cmd::Cos:
        rad ? mpfr_cos(out, x, N) : mpfr_cosu(out, x, u, N);
        chop(out, radians);
        return true;
    case Cmd::Tan:
        rad ? mpfr_tan(out, x, N) : mpfr_tanu(out, x, u, N);
        chop(out, radians);
        return !mpfr_inf_p(out);
    case Cmd::ASin: inverse(mpfr_asin, mpfr_asinu); return true;
    case Cmd::ACos: inverse(mpfr_acos, mpfr_acosu); return true;
    case Cmd::ATan: inverse(mpfr_atan, mpfr_atanu); return true;
    case Cmd::Sqrt: mpfr_sqrt(out, x, N); return true;
    case Cmd::Sq: mpfr_sqr(out, x, N); return true;
    case Cmd::Inv: mpfr_ui_div(out, 1, x, N); return true;
    case Cmd::Ln: mpfr_log(out, x, N); return true;
    case Cmd::Log: mpfr_log10(out, x, N); return true;
    case Cmd::Exp: mpfr_exp(out, x, N); return true;
    case Cmd::Alog: mpfr_exp10(out, x, N); return true;
    case Cmd::Pow: mpfr_pow(out, y, x, N); return true;
    case Cmd::XRoot:
        if (mpfr_integer_p(x) && mpfr_fits_slong_p(x, N)) {
            const long n = mpfr_get_si(x, N);
            if (n > 0) {
                mpfr_rootn_ui(out, y, static_cast<unsigned long>(n), N);
            } else {
                mpfr_rootn_ui(t, y, static_cast<unsigned long>(-n), N);
                mpfr_ui_div(out, 1, t, N);
            }
        } else {
            mpfr_ui_div(t, 1, x, N);
            mpfr_pow(out, y, t, N);
        }
        return true;
    case Cmd::SinH: mpfr_sinh(out, x, N); return true;
    case Cmd::CosH: mpfr_cosh(out, x, N); return true;
    case Cmd::TanH: mpfr_tanh(out, x, N); return true;
    case Cmd::ASinH: mpfr_asinh(out, x, N); return true;
    case Cmd::ACosH: mpfr_acosh(out, x, N); return true;
    case Cmd::ATanH: mpfr_atanh(out, x, N); return true;
    case Cmd::Hypot: mpfr_hypot(out, x, y, N); return true;
    case Cmd::IP: mpfr_trunc(out, x); return true;
    case Cmd::FP: mpfr_frac(out, x, N); return true;
    case Cmd::Round: mpfr_rint(out, x, N); return true;
    case Cmd::Floor: mpfr_floor(out, x); return true;
    case Cmd::Ceil: mpfr_ceil(out, x); return true;
    case Cmd::Mant: {
        // The exponent of the decimal the stack shows: x = 0.ddd × 10^e10.
        mpfr_exp_t e10 = 0;
        char* digits = mpfr_get_str(nullptr, &e10, 10, 18, x, N);
        const std::string d = digits[0] == '-' ? digits + 1 : digits;
        mpfr_free_str(digits);
        const long sci = e10 - 1;
        const bool powerOfTen = d == "100000000000000000";
        const long e = (sci >= 0 || powerOfTen) ? sci : sci + 1;
        mpfr_ui_pow_ui(t, 10, static_cast<unsigned long>(std::labs(e)), N);
        e >= 0 ? mpfr_div(out, x, t, N) : mpfr_mul(out, x, t, N);
        return true;
    }
    case Cmd::Fact: mpfr_fac_ui(out, mpfr_get_ui(x, N), N); return true;
    case Cmd::Comb:
    case Cmd::Perm: {
        const unsigned long n = mpfr_get_ui(y, N), k = mpfr_get_ui(x, N);
        mpfr_fac_ui(out, n, N);
        mpfr_fac_ui(t, n - k, N);
        mpfr_div(out, out, t, N);
        if (c.cmd == Cmd::Comb) {
            mpfr_fac_ui(t, k, N);
            mpfr_div(out, out, t, N);
        }
        return true;
    }
    default: return false;
    }
}

struct Stats {
    int count = 0;
    int exact = 0;             // the correctly rounded text
    int nearest = 0;           // the text of the nearest extended value
    double worstVsTrue = 0;    // |pushed - true| in units of the 18th digit
    double worstVsRounded = 0; // |pushed - correctly rounded|, same units
    std::string worstCase;
};

std::map<std::string, Stats>& Table() {
    static std::map<std::string, Stats> t;
    return t;
}

// The functions evaluated wide and rounded once to the extended type.
bool RoundedOnce(Cmd cmd) {
    switch (cmd) {
    case Cmd::Sin:
    case Cmd::Cos:
    case Cmd::Tan:
    case Cmd::ASin:
    case Cmd::ACos:
    case Cmd::ATan:
    case Cmd::Ln:
    case Cmd::Log:
    case Cmd::Exp:
    case Cmd::Alog:
    case Cmd::Pow:
    case Cmd::XRoot:
    case Cmd::SinH:
    case Cmd::CosH:
    case Cmd::TanH:
    case Cmd::ASinH:
    case Cmd::ACosH:
    case Cmd::ATanH:
    case Cmd::Hypot: return true;
    default: return false;
    }
}

std::string Label(const Case& c) {
    std::string name(CommandInfo(c.cmd)->op.name);
    switch (c.cmd) {
    case Cmd::Sin:
    case Cmd::Cos:
    case Cmd::Tan:
    case Cmd::ASin:
    case Cmd::ACos:
    case Cmd::ATan: return name + " " + kModeName[c.mode];
    default: return name;
    }
}

// With TALLIX_ACCURACY_SET naming a file, every case is also written there
// as a line of batch tokens (angle unit, arguments, command name): batch
// mode on another build, such as the Windows one, must print exactly the
// same results for them.
void RecordCase(const Case& c) {
    static std::FILE* out = [] {
        const char* path = std::getenv("TALLIX_ACCURACY_SET");
        return path && *path ? std::fopen(path, "w") : nullptr;
    }();
    if (!out) return;
    std::string line = kModeName[c.mode];
    if (!c.y.empty()) line += " " + c.y;
    line += " " + c.x + " " + std::string(CommandInfo(c.cmd)->batch[0]) + "\n";
    std::fputs(line.c_str(), out);
    std::fflush(out);
}

// Runs one case; returns the pushed text ("" when the command reported an
// error) and records its error.
void Check(Calculator& calc, QuietShell& shell, const Case& c) {
    RecordCase(c);
    tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) { ch.ClearStack(); });
    shell.messages.clear();
    tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) {
        ch.SelectAngleMode(AngleUnitFromNumber(c.mode));
    });
    if (!c.y.empty())
        tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) { ch.PushText(c.y); });
    tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) { ch.PushText(c.x); });
    RunCommand(calc, c.cmd);
    const std::string what = Label(c) + " of " + (c.y.empty() ? "" : c.y + ", ") + c.x;
    ASSERT_TRUE(shell.messages.empty()) << what << ": " << shell.messages[0];
    ASSERT_EQ(calc.Depth(), 1u) << what;
    const std::string got = calc.Stack().at(0);

    const auto xv = ParseReal(c.x, '.');
    const auto yv = c.y.empty() ? std::optional<Value>(0) : ParseReal(c.y, '.');
    ASSERT_TRUE(xv && yv) << what;
    Big x(*xv), y(*yv), truth, pushed, rounded, diff, unit;
    ASSERT_TRUE(TrueValue(c, x, y, truth)) << what;
    ASSERT_EQ(mpfr_set_str(pushed, got.c_str(), 10, MPFR_RNDN), 0) << what << " pushed " << got;

    Stats& s = Table()[Label(c)];
    ++s.count;
    double vsTrue = 0, vsRounded = 0;
    std::string expected = "0";
    // Below the normal range a value is shown, and so stored, as 0.
    Big smallest(std::numeric_limits<Value>::min());
    if (mpfr_cmpabs(truth, smallest) < 0) mpfr_set_zero(truth, 1);
    if (mpfr_zero_p(truth)) {
        vsTrue = vsRounded = mpfr_zero_p(pushed) ? 0 : INFINITY;
    } else {
        mpfr_exp_t e10 = 0;
        char* digits = mpfr_get_str(nullptr, &e10, 10, 18, truth, MPFR_RNDN);
        expected = std::string(digits) + "E" + std::to_string(e10) + " (as 0.ddd)";
        std::string sci = digits;
        mpfr_free_str(digits);
        // rounded = 0.ddd × 10^e10, unit = 10^(e10 - 18)
        sci.insert(sci[0] == '-' ? 1 : 0, "0.");
        sci += "e" + std::to_string(e10);
        mpfr_set_str(rounded, sci.c_str(), 10, MPFR_RNDN);
        mpfr_set_si(unit, 10, MPFR_RNDN);
        mpfr_pow_si(unit, unit, static_cast<long>(e10) - 18, MPFR_RNDN);
        mpfr_sub(diff, pushed, truth, MPFR_RNDN);
        mpfr_div(diff, diff, unit, MPFR_RNDN);
        vsTrue = std::fabs(mpfr_get_d(diff, MPFR_RNDN));
        mpfr_sub(diff, pushed, rounded, MPFR_RNDN);
        mpfr_div(diff, diff, unit, MPFR_RNDN);
        vsRounded = std::fabs(mpfr_get_d(diff, MPFR_RNDN));
    }
    if (vsRounded < 0.5) ++s.exact;
    // The true value rounded once to the extended type, as the stack shows
    // it: the wide evaluation leaves it only at a near-tie far rarer than
    // these cases.
    const std::string nearest =
        FormatStackValue(mpfr_zero_p(truth) ? 0 : mpfr_get_ld(truth, MPFR_RNDN), '.');
    if (got == nearest) ++s.nearest;
    if (RoundedOnce(c.cmd)) {
        EXPECT_EQ(got, nearest) << what << ": not the true value rounded once";
    }
    if (vsTrue > s.worstVsTrue) {
        s.worstVsTrue = vsTrue;
        s.worstCase = what + " -> " + got;
    }
    s.worstVsRounded = std::max(s.worstVsRounded, vsRounded);
    EXPECT_LE(vsRounded, 1.0) << what << ": pushed " << got << ", correctly rounded " << expected;
}

// ---- arguments ---------------------------------------------------------------

std::mt19937_64& Rng() {
    static std::mt19937_64 rng(1846);
    return rng;
}

// A value as a stack text would hold it (18 digits), or with all 64 bits
// written out, as a stack file may carry it.
std::string Text(Value v, bool fullPrecision = false) {
    if (!fullPrecision) return FormatStackValue(v, '.');
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.21Le", v);
    return buf;
}

// n values spread log-uniformly in magnitude over [lo, hi], of either sign
// when signed.
std::vector<std::string> LogSpread(int n, Value lo, Value hi, bool signedValues) {
    std::uniform_real_distribution<long double> u(std::log(lo), std::log(hi));
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
        Value v = std::exp(u(Rng()));
        if (signedValues && (Rng()() & 1)) v = -v;
        out.push_back(Text(v, i % 3 == 0));
    }
    return out;
}

std::vector<std::string> Uniform(int n, Value lo, Value hi) {
    std::uniform_real_distribution<long double> u(lo, hi);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.push_back(Text(u(Rng()), i % 3 == 0));
    return out;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void RunOne(Cmd cmd, int mode, const std::vector<std::string>& xs) {
    QuietShell shell;
    Calculator calc(shell);
    for (const std::string& x : xs) {
        Check(calc, shell, {cmd, mode, x, ""});
        if (::testing::Test::HasFatalFailure()) return;
    }
}

void RunTwo(Cmd cmd, const std::vector<std::pair<std::string, std::string>>& yxs) {
    QuietShell shell;
    Calculator calc(shell);
    for (const auto& [y, x] : yxs) {
        Check(calc, shell, {cmd, RAD, x, y});
        if (::testing::Test::HasFatalFailure()) return;
    }
}

// ---- the functions --------------------------------------------------------------

TEST(Accuracy, TrigonometryInRadians) {
    const std::vector<std::string> hard = {
        "1E22",
        "1E300",
        "1E4000",
        "-1E4932",
        "3.14159265358979324",
        "3.14159265358979323846",
        "1.57079632679489662",
        "1.5707963267948966192",
        "1.5707963267948966",
        "1.570796326794896",
        "355",
        "103993",
        "6.28318530717958648",
        "2E-17",
        "9.99E-18",
        "1E-20",
        "-1E-300",
        "1E-4900",
        "1E-10",
        "1E-16",
        "0.5",
        "-0.7853981633974483",
        "9.2233720368547758E18",
        "1.8446744073709552E19",
        "6381956970095103",
        "5.31937264832654141E40",
    };
    const auto args =
        Join(hard, Join(LogSpread(40, 1e-8L, 1e6L, true), LogSpread(15, 1e6L, 1e4900L, true)));
    for (Cmd f : {Cmd::Sin, Cmd::Cos, Cmd::Tan}) RunOne(f, RAD, args);
}

TEST(Accuracy, TrigonometryInOtherUnits) {
    const std::vector<std::string> degrees = {
        "30",
        "45",
        "60",
        "89.9999999999",
        "90.0000000001",
        "179.9999999",
        "180.0000001",
        "359.99999999999999",
        "1E22",
        "1E4000",
        "-1E30",
        "0.000001",
        "1E-15",
        "1E-20",
        "-5E-4000",
        "123456789.123456789",
    };
    const std::vector<std::string> cycles = {
        "0.25",       "0.125", "0.0833333333333333333", "0.49999999999999", "1E-16",
        "12345.6789", "1E20"};
    const std::vector<std::string> grads = {"50", "100.000000001", "33.3333333333333333",
                                            "399.9999999", "1E25"};
    const auto spread = LogSpread(25, 1e-6L, 1e7L, true);
    for (Cmd f : {Cmd::Sin, Cmd::Cos, Cmd::Tan}) {
        RunOne(f, DEG, Join(degrees, spread));
        // A quarter turn is a pole of the tangent.
        RunOne(f, CYC,
               Join(f == Cmd::Tan ? std::vector<std::string>(cycles.begin() + 1, cycles.end())
                                  : cycles,
                    spread));
        RunOne(f, GRAD, Join(grads, spread));
    }
}

TEST(Accuracy, InverseTrigonometry) {
    const std::vector<std::string> near1 = {
        "1",
        "-1",
        "0.99999999999999999",
        "-0.99999999999999999",
        "0.999999999999999999",
        "0.9999999999",
        "0.5",
        "-0.5",
        "1E-10",
        "1E-18",
        "1E-20",
        "-1E-300",
        "0.70710678118654752",
        "0.999999999999999999891579782751449556599254719913005828857421875",
        "0.99999999",
        "-0.9999999999",
        "0.9999999999999",
        "-0.99999999999999",
    };
    const auto args = Join(near1, Uniform(30, -1, 1));
    for (int mode : {CYC, DEG, RAD, GRAD}) {
        RunOne(Cmd::ASin, mode, args);
        RunOne(Cmd::ACos, mode, args);
        RunOne(Cmd::ATan, mode,
               Join(args, Join(LogSpread(20, 1e-20L, 1e4000L, true), {"1E4932", "-1E30"})));
    }
}

TEST(Accuracy, RootsPowersLogarithms) {
    RunOne(Cmd::Sqrt, RAD,
           Join({"2", "1E-4000", "1E4000", "1.00000000000000001", "0.99999999999999999"},
                LogSpread(40, 1e-4900L, 1e4900L, false)));
    RunOne(Cmd::Sq, RAD,
           Join({"1E2466", "1.09E2466", "1.00000000000000001", "3.00000000000000001"},
                LogSpread(40, 1e-2400L, 1e2400L, true)));
    RunOne(Cmd::Inv, RAD,
           Join({"3", "7", "4E-4932", "1.18E4932", "-0.99999999999999999"},
                LogSpread(40, 1e-4900L, 1e4900L, true)));
    const std::vector<std::string> logArgs =
        Join({"1.000000000000000001", "1.00000000000000001", "0.99999999999999999",
              "0.9999999999999999999", "1.0000000001", "2", "10", "0.1", "1E-4000", "1E4000",
              "1E-4950", "1.18E4932", "1000", "1E-300", "2.71828182845904524"},
             LogSpread(40, 1e-4900L, 1e4900L, false));
    RunOne(Cmd::Ln, RAD, logArgs);
    RunOne(Cmd::Log, RAD, logArgs);
    RunOne(Cmd::Exp, RAD,
           Join({"11356", "11356.5", "11356.52", "-11355", "-11380", "1E-18", "1E-10", "-1E-10",
                 "0.5", "700.123", "1"},
                Uniform(40, -11000, 11000)));
    RunOne(
        Cmd::Alog, RAD,
        Join({"4932", "4931.9", "-4900", "0.5", "1E-18", "-1E-10", "22", "27", "28", "-5", "-300",
              "1.5", "4932.07", "4932.0754", "4931.99999", "-4931.5", "-4931.9", "4000.123456789"},
             Uniform(40, -4900, 4900)));
}

TEST(Accuracy, PowersAndRoots) {
    std::vector<std::pair<std::string, std::string>> pow = {
        {"2", "10"},
        {"10", "4000.5"},
        {"2", "0.5"},
        {"1.00000000000000001", "1E17"},
        {"0.5", "16000"},
        {"1.1", "1000.5"},
        {"-2", "63"},
        {"7", "-30"},
        {"1E-300", "15.5"},
        {"3", "40"},
        {"-3", "41"},
        {"1.0000001", "2147483647"},
        {"0.9999999", "-2147483647"},
        {"10", "-4931"},
        {"2", "-16382"},
        {"2.5", "3.25"},
        {"1E4000", "1.2"},
        {"1E4000", "-1.2"},
        {"123.456", "-789.012"},
        {"9", "0.5"},
        {"1.5", "1E-18"},
        {"1E-4000", "0.00001"},
        {"1.00000000000000001", "-3E17"},
        {"1E4900", "1.0006"},
        {"1.18E4932", "0.9999"},
        {"1E-4900", "1.0006"},
        {"1E4000", "1.23"},
        {"9.9E4931", "0.5"},
    };
    std::uniform_real_distribution<long double> base(0.01L, 100), expo(-1000, 1000), small(-20, 20);
    for (int i = 0; i < 60; ++i) {
        const Value b = base(Rng());
        const Value e =
            i % 3 == 0 ? std::round(small(Rng())) : (i % 3 == 1 ? small(Rng()) : expo(Rng()));
        pow.push_back({Text(b, i % 2 == 0), Text(e, i % 4 == 1)});
    }
    RunTwo(Cmd::Pow, pow);

    std::vector<std::pair<std::string, std::string>> root = {
        {"-8", "3"},
        {"1E4000", "3"},
        {"2", "7"},
        {"1E-4000", "5"},
        {"-1E300", "101"},
        {"3", "0.25"},
        {"1000", "1E10"},
        {"7", "-2"},
        {"1E4900", "1.5"},
        {"2", "1E-3"},
        {"1.18E4932", "2"},
        {"-1E-4000", "7"},
        {"5", "3.00000000000000001"},
        {"1E1000", "0.333333333333333333"},
        {"-2", "-3"},
        {"1E4000", "7"},
        {"1.18E4932", "1.0001"},
        {"1E4932", "1.5"},
        {"1E-4900", "0.9999"},
    };
    std::uniform_real_distribution<long double> index(1, 50);
    for (int i = 0; i < 40; ++i) {
        const Value y = std::exp(std::uniform_real_distribution<long double>(-9000, 9000)(Rng()));
        const Value x = i % 2 ? std::round(index(Rng())) : index(Rng());
        root.push_back({Text(y, i % 3 == 0), Text(x)});
    }
    RunTwo(Cmd::XRoot, root);
}

TEST(Accuracy, Hyperbolic) {
    const std::vector<std::string> common = {
        "1E-18", "1E-10", "-1E-10", "0.5", "-0.5", "1", "10", "20", "0.000123456789", "0.999"};
    RunOne(
        Cmd::SinH, RAD,
        Join(common, Join({"11356", "-11356", "11357", "-11357.2"}, Uniform(40, -11000, 11000))));
    RunOne(Cmd::CosH, RAD, Join(common, Join({"11356", "-11357"}, Uniform(40, -11000, 11000))));
    RunOne(Cmd::TanH, RAD,
           Join(common, Join({"22", "-23", "100", "1E-4000", "0.1", "2", "5", "-7.5", "18", "21.5"},
                             Uniform(40, -25, 25))));
    RunOne(Cmd::ASinH, RAD,
           Join(common, Join({"1E4000", "-1E4000", "1.18E4932", "-1E-4000"},
                             LogSpread(40, 1e-4000L, 1e4000L, true))));
    RunOne(Cmd::ACosH, RAD,
           Join({"1", "1.00000000000000001", "1.0000000001", "2", "1E4000", "1.18E4932", "10"},
                LogSpread(40, 1.0001L, 1e4000L, false)));
    RunOne(Cmd::ATanH, RAD,
           Join({"0.99999999999999999", "-0.99999999999999999", "0.999999999999999999", "1E-18",
                 "1E-10", "0.5", "-0.9", "0.001", "0.9999999999", "-0.99999", "0.3"},
                Uniform(40, -1, 1)));
}

TEST(Accuracy, NumberParts) {
    const std::vector<std::string> parts =
        Join({"2.5", "-2.5", "3.5", "-0.5", "1E30", "-1E30", "9.2233720368547758E18",
              "1.8446744073709551617E19", "123456789.987654321", "-98765.4321", "0.1", "1E-4000",
              "4503599627370496.5", "1E4932"},
             LogSpread(40, 1e-10L, 1e25L, true));
    for (Cmd f : {Cmd::IP, Cmd::FP, Cmd::Round, Cmd::Floor, Cmd::Ceil}) RunOne(f, RAD, parts);
    RunOne(Cmd::Mant, RAD,
           Join({"1234", "0.05", "0.1", "1E-5", "1E30", "9.99999999999999999E299", "1E-4931",
                 "1.18E4932", "-0.00999999999999999999"},
                LogSpread(40, 1e-4900L, 1e4900L, true)));
    std::vector<std::pair<std::string, std::string>> hyp = {
        {"3", "4"},   {"1E3000", "1E3000"}, {"1E-4000", "1E-4000"}, {"1", "1E-10"},
        {"-5", "12"}, {"1E4932", "1E10"},   {"0", "7.5"},           {"1.00000000000000001", "1E-9"},
    };
    for (int i = 0; i < 40; ++i) {
        const auto a = LogSpread(2, 1e-2000L, 1e2000L, true);
        hyp.push_back({a[0], i % 4 ? a[1] : Text(std::stold(a[0]) * 1e-5L)});
    }
    RunTwo(Cmd::Hypot, hyp);
}

TEST(Accuracy, FactorialsCombinationsPermutations) {
    std::vector<std::string> n;
    for (int k :
         {0, 1, 2, 10, 20, 21, 25, 26, 27, 30, 50, 100, 170, 171, 500, 1000, 1500, 1753, 1754})
        n.push_back(std::to_string(k));
    for (int i = 0; i < 20; ++i) n.push_back(std::to_string(Rng()() % 1755));
    RunOne(Cmd::Fact, RAD, n);
    std::vector<std::pair<std::string, std::string>> nk = {
        {"5", "2"},    {"52", "5"},     {"100", "50"}, {"1754", "877"},
        {"1754", "1"}, {"1000", "999"}, {"60", "30"},
    };
    for (int i = 0; i < 20; ++i) {
        const unsigned long a = Rng()() % 1755, b = Rng()() % (a + 1);
        nk.push_back({std::to_string(a), std::to_string(b)});
    }
    RunTwo(Cmd::Comb, nk);
    RunTwo(Cmd::Perm, {{"5", "2"}, {"20", "20"}, {"100", "3"}, {"1754", "1754"}, {"1000", "500"}});
}

// Results that are exact numbers come out as exactly those texts.
TEST(Accuracy, ExactCases) {
    struct Exact {
        Cmd cmd;
        int mode;
        std::vector<std::string> args; // deepest first
        const char* text;
    };
    const Exact cases[] = {
        {Cmd::Sin, DEG, {"30"}, "0.5"},       {Cmd::Cos, DEG, {"90"}, "0"},
        {Cmd::Sin, DEG, {"180"}, "0"},        {Cmd::Cos, GRAD, {"100"}, "0"},
        {Cmd::Sin, CYC, {"0.25"}, "1"},       {Cmd::Tan, DEG, {"45"}, "1"},
        {Cmd::Pow, RAD, {"2", "10"}, "1024"}, {Cmd::Pow, RAD, {"-2", "3"}, "-8"},
        {Cmd::XRoot, RAD, {"-8", "3"}, "-2"}, {Cmd::XRoot, RAD, {"27", "3"}, "3"},
        {Cmd::Hypot, RAD, {"3", "4"}, "5"},   {Cmd::ASin, DEG, {"1"}, "90"},
        {Cmd::ASin, DEG, {"0.5"}, "30"},      {Cmd::ACos, GRAD, {"-1"}, "200"},
        {Cmd::ATan, CYC, {"1"}, "0.125"},     {Cmd::Log, RAD, {"1000"}, "3"},
        {Cmd::Alog, RAD, {"3"}, "1000"},      {Cmd::Sqrt, RAD, {"16"}, "4"},
        {Cmd::Ln, RAD, {"1"}, "0"},           {Cmd::Exp, RAD, {"0"}, "1"},
        {Cmd::ATanH, RAD, {"1"}, "1.1E4932"}, {Cmd::ACosH, RAD, {"1"}, "0"},
    };
    for (const Exact& c : cases) {
        QuietShell shell;
        Calculator calc(shell);
        tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) {
            ch.SelectAngleMode(AngleUnitFromNumber(c.mode));
        });
        for (const std::string& a : c.args)
            tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) { ch.PushText(a); });
        RunCommand(calc, c.cmd);
        ASSERT_EQ(calc.Depth(), 1u) << c.text;
        EXPECT_EQ(calc.Stack().at(0), c.text)
            << CommandInfo(c.cmd)->op.name << " " << c.args.back();
        EXPECT_TRUE(shell.messages.empty());
    }
}

// Printed last: the summary for the closing note.
class Summary : public ::testing::Environment {
public:
    void TearDown() override {
        int count = 0, exact = 0, nearest = 0;
        double worst = 0;
        std::string worstCase;
        std::printf("\n%-10s %6s %6s %7s %12s %12s  worst case\n", "function", "cases", "exact",
                    "nearest", "max|err|", "max vs CR");
        for (const auto& [name, s] : Table()) {
            std::printf("%-10s %6d %6d %7d %12.3f %12.3f  %s\n", name.c_str(), s.count, s.exact,
                        s.nearest, s.worstVsTrue, s.worstVsRounded, s.worstCase.c_str());
            count += s.count;
            exact += s.exact;
            nearest += s.nearest;
            if (s.worstVsTrue > worst) {
                worst = s.worstVsTrue;
                worstCase = s.worstCase;
            }
        }
        std::printf("\n%d results, %d exact to 18 digits, %d the nearest extended value; worst "
                    "error %.3f units of the 18th digit (%s)\n",
                    count, exact, nearest, worst, worstCase.c_str());
    }
};

const auto* const kSummary = ::testing::AddGlobalTestEnvironment(new Summary);

} // namespace
