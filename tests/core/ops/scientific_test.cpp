// Trigonometric, hyperbolic, logarithmic and power functions and the angle
// units, driven through keys and menu commands.
#include <gtest/gtest.h>

#include <cmath>

#include "core/commands/dispatch.h"
#include "core/number/mathfuncs.h"
#include "core/number/numtext.h"
#include "ops_driver.h"

using namespace tallix;
using namespace tallix::opstest;

namespace {

constexpr AngleUnit CYC = AngleUnit::Cycles, DEG = AngleUnit::Degrees, RAD = AngleUnit::Radians,
                    GRAD = AngleUnit::Gradients;

TEST(ScientificOps, Trigonometry) {
    const OpCase cases[] = {
        {DEG, {"30"}, Cmd::Sin, {"0.5"}, ""},
        {DEG, {"180"}, Cmd::Sin, {"0"}, ""},
        {DEG, {"90"}, Cmd::Cos, {"0"}, ""},
        {DEG, {"60"}, Cmd::Cos, {"0.5"}, ""},
        {DEG, {"45"}, Cmd::Tan, {"1"}, ""},
        {DEG, {"135"}, Cmd::Tan, {"-1"}, ""},
        {DEG, {"-30"}, Cmd::Sin, {"-0.5"}, ""},
        {DEG, {"390"}, Cmd::Sin, {"0.5"}, ""},
        {DEG, {"1E22"}, Cmd::Sin, {"-0.984807753012208059"}, ""}, // 1E22 = 280 mod 360
        {DEG, {"1E4000"}, Cmd::Cos, {"-0.978147600733805638"}, ""},
        // Tangent has a pole there; it gives the tangent of the extended π/2.
        {DEG, {"90"}, Cmd::Tan, {"-3.98679762981171071E19"}, ""},
        {DEG, {"-90"}, Cmd::Tan, {"3.98679762981171071E19"}, ""},
        {CYC, {"0.25"}, Cmd::Sin, {"1"}, ""},
        {CYC, {"0.5"}, Cmd::Cos, {"-1"}, ""},
        {GRAD, {"100"}, Cmd::Cos, {"0"}, ""},
        {GRAD, {"50"}, Cmd::Tan, {"1"}, ""},
        {RAD, {"1E22"}, Cmd::Sin, {"-0.852200849767188802"}, ""},
        {RAD, {"1"}, Cmd::Cos, {"0.540302305868139717"}, ""},
        {RAD, {"3.14159265358979324"}, Cmd::Sin, {"0"}, ""}, // the residue snaps to zero
        {RAD, {"1.5707963267948966"}, Cmd::Tan, {"51884131016201495.4"}, ""},
        {DEG, {"1"}, Cmd::ASin, {"90"}, ""},
        {DEG, {"0.5"}, Cmd::ASin, {"30"}, ""},
        {DEG, {"1.0000001"}, Cmd::ASin, {"1.0000001"}, Err("ASIN", "Invalid Input")},
        {DEG, {"-1.5"}, Cmd::ACos, {"-1.5"}, Err("ACOS", "Invalid Input")},
        {GRAD, {"-1"}, Cmd::ACos, {"200"}, ""},
        {DEG, {"0"}, Cmd::ACos, {"90"}, ""},
        {CYC, {"1"}, Cmd::ATan, {"0.125"}, ""},
        {DEG, {"-1E30"}, Cmd::ATan, {"-90"}, ""},
        {RAD, {"1"}, Cmd::ASin, {"1.57079632679489662"}, ""},
    };
    RunOpCases(cases);
}

TEST(ScientificOps, PowersRootsAndLogarithms) {
    const OpCase cases[] = {
        {RAD, {"4"}, Cmd::Inv, {"0.25"}, ""},
        {RAD, {"0"}, Cmd::Inv, {"0"}, Err("INV", "Infinite Result")},
        {RAD, {"-8"}, Cmd::Inv, {"-0.125"}, ""},
        {RAD, {"16"}, Cmd::Sqrt, {"4"}, ""},
        {RAD, {"2"}, Cmd::Sqrt, {"1.41421356237309505"}, ""},
        {RAD, {"-4"}, Cmd::Sqrt, {"-4"}, Err("SQRT", "Invalid Input")},
        {RAD, {"-3"}, Cmd::Sq, {"9"}, ""},
        {RAD, {"1E2466"}, Cmd::Sq, {"1E4932"}, ""},
        {RAD, {"1E3000"}, Cmd::Sq, {"1E3000"}, Err("SQ", "Overflow")},
        {RAD, {"0"}, Cmd::Ln, {"0"}, Err("LN", "Infinite Result")},
        {RAD, {"-1"}, Cmd::Ln, {"-1"}, Err("LN", "Invalid Input")},
        {RAD, {"2"}, Cmd::Ln, {"0.693147180559945309"}, ""},
        {RAD, {"1"}, Cmd::Ln, {"0"}, ""},
        {RAD, {"-1"}, Cmd::Log, {"-1"}, Err("LOG", "Infinite Result")},
        {RAD, {"0"}, Cmd::Log, {"0"}, Err("LOG", "Infinite Result")},
        {RAD, {"1000"}, Cmd::Log, {"3"}, ""},
        {RAD, {"1E-300"}, Cmd::Log, {"-300"}, ""},
        {RAD, {"1"}, Cmd::Exp, {"2.71828182845904524"}, ""},
        {RAD, {"11356"}, Cmd::Exp, {"7.04914579998566244E4931"}, ""},
        {RAD, {"-20000"}, Cmd::Exp, {"0"}, ""},
        {RAD, {"20000"}, Cmd::Exp, {"20000"}, Err("EXP", "Overflow")},
        {RAD, {"3"}, Cmd::Alog, {"1000"}, ""},
        {RAD, {"-5"}, Cmd::Alog, {"1E-5"}, ""},
        {RAD, {"0.5"}, Cmd::Alog, {"3.16227766016837933"}, ""},
        {RAD, {"5000"}, Cmd::Alog, {"5000"}, Err("ALOG", "Overflow")},
        // 10^5000 overflows before its reciprocal would be taken.
        {RAD, {"-5000"}, Cmd::Alog, {"-5000"}, Err("ALOG", "Overflow")},
        {RAD, {"2", "10"}, Cmd::Pow, {"1024"}, ""},
        {RAD, {"-2", "3"}, Cmd::Pow, {"-8"}, ""},
        {RAD, {"2", "-2"}, Cmd::Pow, {"0.25"}, ""},
        {RAD, {"-8", "0.5"}, Cmd::Pow, {"-8", "0.5"}, Err("^", "Invalid Input")},
        {RAD, {"0", "0"}, Cmd::Pow, {"1"}, ""},
        {RAD, {"0", "-1"}, Cmd::Pow, {"0", "-1"}, Err("^", "Invalid Input")},
        {RAD, {"0", "-0.5"}, Cmd::Pow, {"0", "-0.5"}, Err("^", "Invalid Input")},
        {RAD, {"0", "2.5"}, Cmd::Pow, {"0"}, ""},
        {RAD, {"10", "5000"}, Cmd::Pow, {"10", "5000"}, Err("^", "Invalid Input")},
        {RAD, {"3", "40"}, Cmd::Pow, {"1.21576654590569288E19"}, ""},
        {RAD, {"2", "0.5"}, Cmd::Pow, {"1.41421356237309505"}, ""},
        {RAD, {"-1", "3000000000"}, Cmd::Pow, {"-1", "3000000000"}, Err("^", "Invalid Input")},
        {RAD, {"-8", "3"}, Cmd::XRoot, {"-2"}, ""},
        {RAD, {"27", "3"}, Cmd::XRoot, {"3"}, ""},
        {RAD, {"16", "0.5"}, Cmd::XRoot, {"256"}, ""},
        {RAD, {"-16", "4"}, Cmd::XRoot, {"-16", "4"}, Err("XROOT", "Invalid Input")},
        {RAD, {"27", "0"}, Cmd::XRoot, {"27", "0"}, Err("XROOT", "Infinite Result")},
        {RAD, {"-8", "2.5"}, Cmd::XRoot, {"-8", "2.5"}, Err("XROOT", "Invalid Input")},
        {RAD, {"1E4000", "3"}, Cmd::XRoot, {"2.15443469003188372E1333"}, ""},
        // Odd or even is read on the whole index, beyond 32 bits too.
        {RAD, {"-1", "3000000001"}, Cmd::XRoot, {"-1"}, ""},
        {RAD,
         {"-1", "3000000000"},
         Cmd::XRoot,
         {"-1", "3000000000"},
         Err("XROOT", "Invalid Input")},
    };
    RunOpCases(cases);
}

TEST(ScientificOps, Hyperbolic) {
    const OpCase cases[] = {
        {RAD, {"1"}, Cmd::ATanH, {"1.1E4932"}, ""},
        {RAD, {"-1"}, Cmd::ATanH, {"-1.1E4932"}, ""},
        {RAD, {"1.5"}, Cmd::ATanH, {"1.5"}, Err("ATANH", "Invalid Input")},
        {RAD, {"0.5"}, Cmd::ATanH, {"0.549306144334054846"}, ""},
        {RAD, {"1"}, Cmd::ACosH, {"0"}, ""},
        {RAD, {"0.5"}, Cmd::ACosH, {"0.5"}, Err("ACOSH", "Invalid Input")},
        {RAD, {"1E4000"}, Cmd::ACosH, {"9211.03351915674268"}, ""},
        {RAD, {"10000"}, Cmd::TanH, {"1"}, ""},
        {RAD, {"-10000"}, Cmd::TanH, {"-1"}, ""},
        {RAD, {"12000"}, Cmd::SinH, {"12000"}, Err("SINH", "Invalid Input")},
        {RAD, {"-12000"}, Cmd::CosH, {"-12000"}, Err("COSH", "Invalid Input")},
        {RAD, {"0.5"}, Cmd::SinH, {"0.521095305493747362"}, ""},
        {RAD, {"0"}, Cmd::CosH, {"1"}, ""},
        {RAD, {"1E-10"}, Cmd::ASinH, {"1E-10"}, ""},
        {RAD, {"-1E4000"}, Cmd::ASinH, {"-9211.03351915674268"}, ""},
    };
    RunOpCases(cases);
}

TEST(ScientificOps, TooFewAndBadArguments) {
    OpsCalc d;
    d.Do(Cmd::Sin);
    EXPECT_EQ(d.LastMessage(), Err("SIN", "Too Few Arguments"));
    d.Enter("2");
    d.Do(Cmd::Pow);
    EXPECT_EQ(d.LastMessage(), Err("^", "Too Few Arguments"));
    EXPECT_EQ(d.Stack(), (std::vector<std::string>{"2"}));
    tallix::testing::Arrange(d.calc, [&](tallix::Calculator::Change& ch) { ch.PushText("abc"); });
    d.Do(Cmd::ATanH);
    EXPECT_EQ(d.LastMessage(), Err("ATANH", "Bad Argument Type"));
    EXPECT_EQ(d.Stack(), (std::vector<std::string>{"2", "abc"}));
}

TEST(ScientificOps, ReciprocalOfSubnormalOverflows) {
    // Only a stored text can hold such a value; the entry would show it as 0.
    OpsCalc d;
    tallix::testing::Arrange(d.calc,
                             [&](tallix::Calculator::Change& ch) { ch.PushText("4E-4940"); });
    d.Do(Cmd::Inv);
    EXPECT_EQ(d.LastMessage(), Err("INV", "Overflow"));
    EXPECT_EQ(d.calc.Depth(), 1u);
}

TEST(ScientificOps, PiPushesWithoutTouchingLast) {
    OpsCalc d;
    d.Enter("7");
    d.Do(Cmd::Pi);
    EXPECT_EQ(d.Top(), "3.14159265358979324");
    d.Do(Cmd::Last);
    EXPECT_EQ(d.Stack(), (std::vector<std::string>{"7", "3.14159265358979324", "7"}));
}

TEST(ScientificOps, SinOfPiKeyIsZero) {
    OpsCalc d;
    d.Do(Cmd::Pi);
    d.Do(Cmd::Sin);
    EXPECT_EQ(d.Stack(), (std::vector<std::string>{"0"}));
}

TEST(ScientificOps, TypedNumberIsEnteredFirst) {
    OpsCalc d;
    tallix::testing::Arrange(d.calc,
                             [&](tallix::Calculator::Change& ch) { ch.SelectAngleMode(DEG); });
    d.Type("30");
    d.Press(Key::KSin);
    EXPECT_EQ(d.Stack(), (std::vector<std::string>{"0.5"}));
    EXPECT_TRUE(d.calc.Entry().empty());
    EXPECT_FALSE(d.calc.ShiftDown());
}

TEST(ScientificOps, ShiftPicksTheSecondFunction) {
    OpsCalc d;
    d.Enter("4");
    d.Press(Key::KShift);
    d.Press(Key::KSwap); // 1/x
    EXPECT_EQ(d.Top(), "0.25");
    d.Press(Key::KShift);
    d.Press(Key::KSqrt); // x²
    EXPECT_EQ(d.Top(), "0.0625");
    EXPECT_FALSE(d.calc.ShiftDown());
}

TEST(AngleUnits, ChangingTheUnitKeepsTheStack) {
    OpsCalc d;
    d.Enter("90");
    d.Enter("1.5");
    for (Cmd unit : {Cmd::Cyc, Cmd::Deg, Cmd::Grad, Cmd::Rad}) {
        d.Do(unit);
        EXPECT_EQ(d.Stack(), (std::vector<std::string>{"90", "1.5"}));
    }
    d.Do(Cmd::Deg);
    EXPECT_EQ(d.calc.AngleMode(), DEG);
    EXPECT_STREQ(AngleCaption(d.calc.AngleMode()), "DEG");
}

TEST(AngleUnits, Conversions) {
    EXPECT_EQ(AngleToRadians(180, DEG), 3.14159265358979323846264338327950288L);
    EXPECT_EQ(AngleToRadians(200, GRAD), 3.14159265358979323846264338327950288L);
    EXPECT_EQ(AngleToRadians(0.5L, CYC), 3.14159265358979323846264338327950288L);
    EXPECT_EQ(AngleToRadians(1.25L, RAD), 1.25L);
    EXPECT_EQ(FormatStackValue(RadiansToAngle(1, DEG), '.'), "57.2957795130823209");
    EXPECT_EQ(FormatStackValue(RadiansToAngle(1, GRAD), '.'), "63.6619772367581343");
    EXPECT_EQ(FormatStackValue(RadiansToAngle(1, CYC), '.'), "0.159154943091895336");
    EXPECT_EQ(RadiansToAngle(-2.5L, RAD), -2.5L);
}

// A tiny argument has a tiny true result: the snap that makes sin 180°
// exactly 0 must not turn it into 0.
TEST(ScientificOps, TinyArgumentsKeepTheirTinyResults) {
    const OpCase cases[] = {
        {RAD, {"1E-20"}, Cmd::Sin, {"1E-20"}, ""},
        {RAD, {"-1E-20"}, Cmd::Sin, {"-1E-20"}, ""},
        {RAD, {"1E-20"}, Cmd::Tan, {"1E-20"}, ""},
        {RAD, {"1E-20"}, Cmd::ASin, {"1E-20"}, ""},
        {RAD, {"1E-300"}, Cmd::ATan, {"1E-300"}, ""},
        {RAD, {"-1E-300"}, Cmd::ATan, {"-1E-300"}, ""},
        {RAD, {"9.9E-18"}, Cmd::Sin, {"9.9E-18"}, ""},
        {RAD, {"1E-20"}, Cmd::Cos, {"1"}, ""},
        {DEG, {"1E-20"}, Cmd::Sin, {"1.74532925199432958E-22"}, ""},
        {DEG, {"1E-300"}, Cmd::ATan, {"5.72957795130823209E-299"}, ""},
        {GRAD, {"1E-20"}, Cmd::ASin, {"6.36619772367581343E-19"}, ""},
        // Arguments that are not tiny still snap their residues.
        {DEG, {"180"}, Cmd::Sin, {"0"}, ""},
        {DEG, {"-180"}, Cmd::Tan, {"0"}, ""},
        {DEG, {"90"}, Cmd::Cos, {"0"}, ""},
        {GRAD, {"100"}, Cmd::Cos, {"0"}, ""},
        {CYC, {"0.25"}, Cmd::Sin, {"1"}, ""},
        {CYC, {"0.5"}, Cmd::Sin, {"0"}, ""},
        {RAD, {"1"}, Cmd::ACos, {"0"}, ""},
    };
    RunOpCases(cases);
}

TEST(ChopTiny, SnapsBelowTheThresholdUnlessTheArgumentIsAsSmall) {
    struct Case {
        const char* name;
        long double v, argument, expected;
    };
    const Case cases[] = {
        {"residue", 9.9E-18L, 3.14L, 0},
        {"negative residue", -9.9E-18L, 1.5L, 0},
        {"at the threshold", 1E-17L, 3.14L, 1E-17L},
        {"not small", -0.5L, 2, -0.5L},
        {"tiny argument", 1E-20L, 1E-20L, 1E-20L},
        {"argument just below", 9E-18L, 9.99E-18L, 9E-18L},
        {"argument at the threshold", 9E-18L, 1E-17L, 0},
        {"zero argument", 0, 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ChopTiny(c.v, c.argument), c.expected) << c.name;
    EXPECT_FALSE(std::signbit(ChopTiny(-0.0L, 1)));
}

TEST(Power, Rules) {
    EXPECT_EQ(Power(0, 0), 1);
    EXPECT_EQ(Power(0, 3), 0);
    EXPECT_EQ(Power(-2, 3), -8);
    EXPECT_EQ(Power(-2, -3), -0.125L);
    EXPECT_EQ(Power(10, 27), 1E27L);
    EXPECT_EQ(Power(10, -5), 1E-5L); // correctly rounded reciprocal
    EXPECT_EQ(Power(3, 40), 12157665459056928801.0L);
    EXPECT_TRUE(std::isinf(Power(0, -1)));
    EXPECT_TRUE(std::isnan(Power(-8, 0.5L)));
    EXPECT_TRUE(std::isinf(Power(10, -5000))); // the whole power overflows first
    EXPECT_EQ(Power(2, -16000), std::ldexp(1.0L, -16000));
    EXPECT_EQ(Power(4, 0.5L), 2);
    EXPECT_TRUE(std::isnan(Power(-2, 3E9L))); // beyond the repeated squaring
}

TEST(Root, OddAndEvenIndices) {
    EXPECT_EQ(Root(-8, 3), -2);
    EXPECT_EQ(Root(8, 3), 2);
    EXPECT_EQ(Root(1E30L, 3), 1E10L);
    EXPECT_EQ(Root(1024, 10), 2);
    EXPECT_TRUE(std::isnan(Root(-16, 4)));
    EXPECT_TRUE(std::isnan(Root(-16, 4E10L)));
    EXPECT_EQ(Root(-1, 4E10L + 1), -1);
}

} // namespace
