// Whole-number and number-part functions, and random numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <set>

#include "core/commands/dispatch.h"
#include "core/number/mathfuncs.h"
#include "core/number/numtext.h"
#include "ops_driver.h"

using namespace tallix;
using namespace tallix::opstest;

namespace {

constexpr AngleUnit RAD = AngleUnit::Radians;

TEST(IntegerOps, ModFactorialGcdLcmReduce) {
    const OpCase cases[] = {
        {RAD, {"2.5", "2"}, Cmd::Mod, {"2.5", "2"}, Err("MOD", "Bad Argument Type")},
        {RAD, {"5", "1E3"}, Cmd::Mod, {"5"}, ""}, // entered as the text 1000
        {RAD, {"5", "0"}, Cmd::Mod, {"5", "0"}, Err("MOD", "Infinite Result")},
        {RAD, {"7", "3"}, Cmd::Mod, {"1"}, ""},
        {RAD, {"-7", "3"}, Cmd::Mod, {"2"}, ""},
        {RAD, {"7", "-3"}, Cmd::Mod, {"-2"}, ""},
        {RAD, {"-7", "-3"}, Cmd::Mod, {"-1"}, ""},
        {RAD, {"-2147483648", "-1"}, Cmd::Mod, {"0"}, ""},
        {RAD, {"2147483647", "-2147483648"}, Cmd::Mod, {"-1"}, ""},
        {RAD, {"3"}, Cmd::Mod, {"3"}, Err("MOD", "Too Few Arguments")},
        {RAD, {"0"}, Cmd::Fact, {"1"}, ""},
        {RAD, {"1"}, Cmd::Fact, {"1"}, ""},
        {RAD, {"20"}, Cmd::Fact, {"2.43290200817664E18"}, ""},
        {RAD, {"25"}, Cmd::Fact, {"1.5511210043330986E25"}, ""},
        {RAD, {"1754"}, Cmd::Fact, {"1.97926189010501006E4930"}, ""},
        {RAD, {"1755"}, Cmd::Fact, {"1755"}, Err("!", "Invalid Input")},
        {RAD, {"-1"}, Cmd::Fact, {"-1"}, Err("!", "Invalid Input")},
        {RAD, {"2147483647"}, Cmd::Fact, {"2147483647"}, Err("!", "Invalid Input")},
        {RAD, {"2.5"}, Cmd::Fact, {"2.5"}, Err("!", "Bad Argument Type")},
        {RAD, {"12", "18"}, Cmd::Gcd, {"6"}, ""},
        {RAD, {"-12", "18"}, Cmd::Gcd, {"-6"}, ""},
        {RAD, {"12", "-18"}, Cmd::Gcd, {"6"}, ""},
        {RAD, {"0", "0"}, Cmd::Gcd, {"1"}, ""},
        {RAD, {"0", "7"}, Cmd::Gcd, {"7"}, ""},
        {RAD, {"4", "6"}, Cmd::Lcm, {"12"}, ""},
        {RAD, {"4", "-6"}, Cmd::Lcm, {"-12"}, ""},
        {RAD, {"0", "0"}, Cmd::Lcm, {"0"}, ""},
        {RAD, {"2147483647", "2147483646"}, Cmd::Lcm, {"4.61168601198493696E18"}, ""},
        {RAD, {"6", "8"}, Cmd::Reduce, {"3", "4"}, ""},
        {RAD, {"-6", "8"}, Cmd::Reduce, {"3", "-4"}, ""},
        {RAD, {"0", "5"}, Cmd::Reduce, {"0", "1"}, ""},
        {RAD, {"0", "0"}, Cmd::Reduce, {"0", "0"}, ""},
        {RAD, {"1.5", "2"}, Cmd::Reduce, {"1.5", "2"}, Err("REDUCE", "Bad Argument Type")},
    };
    RunOpCases(cases);
}

TEST(IntegerOps, CombinationsAndPermutations) {
    const OpCase cases[] = {
        {RAD, {"5", "2"}, Cmd::Comb, {"10"}, ""},
        {RAD, {"5", "2"}, Cmd::Perm, {"20"}, ""},
        {RAD, {"2", "5"}, Cmd::Comb, {"2", "5"}, Err("COMB", "Overflow")},
        {RAD, {"2", "5"}, Cmd::Perm, {"2", "5"}, Err("PERM", "Overflow")},
        {RAD, {"1755", "1"}, Cmd::Comb, {"1755", "1"}, Err("COMB", "Overflow")},
        {RAD, {"5", "-1"}, Cmd::Comb, {"5", "-1"}, Err("COMB", "Overflow")},
        {RAD, {"52", "5"}, Cmd::Comb, {"2598960"}, ""},
        {RAD, {"10", "0"}, Cmd::Perm, {"1"}, ""},
        {RAD, {"100", "50"}, Cmd::Comb, {"1.00891344545564193E29"}, ""},
    };
    RunOpCases(cases);
}

TEST(IntegerOps, DecimalToFraction) {
    const OpCase cases[] = {
        {RAD, {"0.75"}, Cmd::ToFrac, {"3", "4"}, ""},
        {RAD, {"-2.5"}, Cmd::ToFrac, {"-5", "2"}, ""},
        {RAD, {"5"}, Cmd::ToFrac, {"5", "1"}, ""},
        {RAD, {"0"}, Cmd::ToFrac, {"0", "1"}, ""},
        {RAD, {"1E-10"}, Cmd::ToFrac, {"1E-10"}, ""},
        {RAD, {"12345678901234"}, Cmd::ToFrac, {"12345678901234"}, ""},
        {RAD, {"1234567890123"}, Cmd::ToFrac, {"1234567890123", "1"}, ""},
        {RAD, {"0.53"}, Cmd::ToFrac, {"53", "100"}, ""},
        {RAD, {"0.001"}, Cmd::ToFrac, {"1", "1000"}, ""},
        {RAD, {"0.002"}, Cmd::ToFrac, {"1", "500"}, ""},
        {RAD, {"0.016"}, Cmd::ToFrac, {"2", "125"}, ""},
        {RAD, {"5000000000"}, Cmd::ToFrac, {"5000000000", "1"}, ""},
        {RAD, {"3000000000.5"}, Cmd::ToFrac, {"6000000001", "2"}, ""},
        {RAD, {"-0.0000001"}, Cmd::ToFrac, {"-1E-7"}, ""},
        {RAD, {"123.4567890123"}, Cmd::ToFrac, {"1234567890123", "10000000000"}, ""},
        {RAD, {"0.3333333333333"}, Cmd::ToFrac, {"3333333333333", "10000000000000"}, ""},
    };
    RunOpCases(cases);
}

// Every four-decimal fraction comes back as a reduced fraction of whole
// numbers with exactly its value.
TEST(IntegerOps, DecimalToFractionForEveryFourDecimalFraction) {
    OpsCalc d;
    for (int k = 1; k <= 9999; ++k) {
        char text[16];
        std::snprintf(text, sizeof text, "0.%04d", k);
        tallix::testing::Arrange(d.calc, [&](tallix::Calculator::Change& ch) { ch.ClearStack(); });
        d.Enter(text);
        d.Do(Cmd::ToFrac);
        ASSERT_EQ(d.calc.Depth(), 2u) << text;
        const auto num = ParseInt32(d.calc.Stack().at(1));
        const auto den = ParseInt32(d.calc.Stack().at(0));
        ASSERT_TRUE(num && den) << text << " gave " << d.calc.Stack().at(1) << " / "
                                << d.calc.Stack().at(0);
        EXPECT_EQ(std::int64_t{*num} * 10000, std::int64_t{k} * *den) << text;
        EXPECT_EQ(std::gcd(*num, *den), 1) << text;
        EXPECT_GT(*den, 0) << text;
    }
    EXPECT_TRUE(d.shell.messages.empty());
}

TEST(NumberParts, RoundFloorCeilingParts) {
    const OpCase cases[] = {
        {RAD, {"2.5"}, Cmd::Round, {"2"}, ""},
        {RAD, {"3.5"}, Cmd::Round, {"4"}, ""},
        {RAD, {"-2.5"}, Cmd::Round, {"-2"}, ""},
        {RAD, {"-0.5"}, Cmd::Round, {"0"}, ""},
        {RAD, {"1E10"}, Cmd::Round, {"10000000000"}, ""},
        {RAD, {"1E30"}, Cmd::Round, {"1E30"}, ""},
        {RAD, {"-9.5E18"}, Cmd::Round, {"-9.5E18"}, ""},
        {RAD, {"-2.5"}, Cmd::Floor, {"-3"}, ""},
        {RAD, {"-2.5"}, Cmd::Ceil, {"-2"}, ""},
        {RAD, {"2"}, Cmd::Floor, {"2"}, ""},
        {RAD, {"2.1"}, Cmd::Ceil, {"3"}, ""},
        {RAD, {"3000000000.5"}, Cmd::Floor, {"3000000000"}, ""},
        {RAD, {"-3000000000.5"}, Cmd::Floor, {"-3000000001"}, ""},
        {RAD, {"-3000000000.5"}, Cmd::Ceil, {"-3000000000"}, ""},
        {RAD, {"1E25"}, Cmd::Ceil, {"1E25"}, ""},
        {RAD, {"-2.7"}, Cmd::IP, {"-2"}, ""},
        {RAD, {"-2.7"}, Cmd::FP, {"-0.7"}, ""},
        {RAD, {"1E30"}, Cmd::IP, {"1E30"}, ""},
        {RAD, {"1E30"}, Cmd::FP, {"0"}, ""},
        {RAD, {"0"}, Cmd::Mant, {"0"}, ""},
        {RAD, {"0"}, Cmd::Xpon, {"0"}, Err("XPON", "Infinite Result")},
        {RAD, {"1234"}, Cmd::Mant, {"1.234"}, ""},
        {RAD, {"1234"}, Cmd::Xpon, {"3"}, ""},
        {RAD, {"0.05"}, Cmd::Mant, {"0.5"}, ""},
        {RAD, {"0.05"}, Cmd::Xpon, {"-1"}, ""},
        {RAD, {"0.5"}, Cmd::Xpon, {"0"}, ""},
        {RAD, {"-0.1"}, Cmd::Mant, {"-1"}, ""},
        {RAD, {"-0.1"}, Cmd::Xpon, {"-1"}, ""},
        {RAD, {"1E30"}, Cmd::Mant, {"1"}, ""},
        {RAD, {"1E30"}, Cmd::Xpon, {"30"}, ""},
        {RAD, {"9.99E-300"}, Cmd::Mant, {"0.999"}, ""},
        {RAD, {"9.99E-300"}, Cmd::Xpon, {"-299"}, ""},
        {RAD, {"3", "4"}, Cmd::Hypot, {"5"}, ""},
        {RAD, {"-3", "-4"}, Cmd::Hypot, {"5"}, ""},
        {RAD, {"0", "0"}, Cmd::Hypot, {"0"}, ""},
        {RAD, {"1E3000", "1E3000"}, Cmd::Hypot, {"1.41421356237309505E3000"}, ""},
        {RAD,
         {"1E4932", "1E4932"},
         Cmd::Hypot,
         {"1E4932", "1E4932"},
         Err("HYPOT", "Bad Argument Type")},
    };
    RunOpCases(cases);
}

TEST(NumberParts, Crop) {
    const OpCase cases[] = {
        {RAD, {"3.14159", "2"}, Cmd::CropT, {"3.14"}, ""},
        {RAD, {"3.14159", "3"}, Cmd::CropR, {"3.142"}, ""},
        {RAD, {"2.675", "2"}, Cmd::CropR, {"2.68"}, ""},
        {RAD, {"-2.675", "2"}, Cmd::CropR, {"-2.68"}, ""},
        {RAD, {"-2.674", "2"}, Cmd::CropR, {"-2.67"}, ""},
        {RAD, {"2.5", "5"}, Cmd::CropT, {"2.5"}, ""},
        {RAD, {"12.7", "0"}, Cmd::CropR, {"13"}, ""},
        {RAD, {"12.7", "0"}, Cmd::CropT, {"12."}, ""},
        {RAD, {"-0.5", "0"}, Cmd::CropR, {"-1"}, ""},
        {RAD, {"9.96", "1"}, Cmd::CropR, {"10"}, ""},
        {RAD, {"3.14159", "-2"}, Cmd::CropT, {"3."}, ""},
        {RAD, {"3.14159", "2.9"}, Cmd::CropT, {"3.14"}, ""},
        {RAD, {"1E20", "2"}, Cmd::CropR, {"1E20"}, ""},
        {RAD, {"1234", "2"}, Cmd::CropR, {"1234"}, ""},
        {RAD,
         {"3.14159", "1E10"},
         Cmd::CropT,
         {"3.14159", "10000000000"},
         Err("CROPT", "Bad Argument Type")},
    };
    RunOpCases(cases);
}

// Counts how often the generator asks for a seed.
struct SeedCountingShell : tallix::testing::RecordingShell {
    std::uint64_t RandomSeed() override {
        ++requests;
        return RecordingShell::RandomSeed();
    }
    int requests = 0;
};

TEST(RandomNumbers, SeededOnceThenDrawnInSequence) {
    SeedCountingShell shell;
    Calculator calc(shell);
    tallix::testing::SetEntry(calc, "42");
    PressKey(calc, Key::KEnter);
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        RunCommand(calc, Cmd::Random);
        const auto v = ParseReal(calc.Stack().at(0), '.');
        ASSERT_TRUE(v);
        EXPECT_GE(*v, 0);
        EXPECT_LT(*v, 1);
        seen.insert(calc.Stack().at(0));
    }
    EXPECT_EQ(shell.requests, 1);
    EXPECT_EQ(seen.size(), 1000u); // successive draws, no repeats
    EXPECT_EQ(calc.LastX(), 42);   // Random pops nothing
    EXPECT_TRUE(shell.messages.empty());

    // The same seed gives the same sequence.
    OpsCalc again;
    again.Do(Cmd::Random);
    EXPECT_EQ(again.Top(), calc.Stack().at(999));
}

TEST(RandomNumbers, UniformBits) {
    EXPECT_EQ(UnitInterval(0), 0);
    EXPECT_LT(UnitInterval(~std::uint64_t{0}), 1);
    EXPECT_EQ(UnitInterval(std::uint64_t{1} << 63), 0.5L);
    // Each bit position is set about half the time.
    std::uint64_t state = 1;
    int ones[64] = {};
    for (int i = 0; i < 4096; ++i) {
        const std::uint64_t b = NextRandomBits(state);
        for (int k = 0; k < 64; ++k) ones[k] += (b >> k) & 1;
    }
    for (int k = 0; k < 64; ++k) {
        EXPECT_GT(ones[k], 1848) << k;
        EXPECT_LT(ones[k], 2248) << k;
    }
}

TEST(WholeNumberHelpers, FlooredModAndGcd) {
    EXPECT_EQ(FlooredMod(-2147483648.0L, -1), 0);
    EXPECT_EQ(FlooredMod(-7, 3), 2);
    EXPECT_EQ(FlooredMod(7, -3), -2);
    EXPECT_EQ(FlooredMod(1E18L + 3, 1E18L), 3);
    EXPECT_EQ(FlooredMod(-(1E18L + 3), 1E18L), 1E18L - 3);
    EXPECT_EQ(EuclidGcd(5E19L, 1E10L), 1E10L);
    EXPECT_EQ(EuclidGcd(30000000005.0L, 10), 5);
    EXPECT_EQ(EuclidGcd(-12.7L, 18.9L), 6); // truncated first
    EXPECT_EQ(EuclidGcd(-12, 0), -12);
    EXPECT_EQ(EuclidGcd(0, 0), 1);
}

TEST(WholeNumberHelpers, Factorial) {
    EXPECT_EQ(Factorial(0), 1);
    EXPECT_EQ(Factorial(5), 120);
    EXPECT_EQ(Factorial(20), 2432902008176640000.0L);
    EXPECT_FALSE(Factorial(-1));
    EXPECT_FALSE(Factorial(1755));
    EXPECT_FALSE(Factorial(2.5L));
    EXPECT_TRUE(Factorial(1754));
}

TEST(TextHelpers, CountDecimals) {
    EXPECT_EQ(CountDecimals(0.75L, '.'), 2);
    EXPECT_EQ(CountDecimals(-2.5L, '.'), 1);
    EXPECT_EQ(CountDecimals(5, '.'), 1);
    EXPECT_EQ(CountDecimals(-5, '.'), 2); // the sign counts
    EXPECT_EQ(CountDecimals(1E-10L, '.'), 20);
    EXPECT_EQ(CountDecimals(12345678901234.0L, '.'), 14);
    EXPECT_EQ(CountDecimals(0.125L, ','), 3);
}

TEST(TextHelpers, CropText) {
    EXPECT_EQ(CropText("3.14159", 2, false, '.'), "3.14");
    EXPECT_EQ(CropText("3,14159", 3, true, ','), "3,142");
    EXPECT_EQ(CropText("12.7", 0, false, '.'), "12.");
    EXPECT_EQ(CropText("-2.675", 2, true, '.'), "-2.68");
    EXPECT_EQ(CropText("2.5", 9, true, '.'), "2.5");
    EXPECT_EQ(CropText("1.5E-7", 2, true, '.'), "1.5E-7");
    EXPECT_EQ(CropText("42", 2, true, '.'), "42");
}

TEST(TextHelpers, DecimalExponent) {
    EXPECT_EQ(DecimalExponent(1), 0);
    EXPECT_EQ(DecimalExponent(9.99L), 0);
    EXPECT_EQ(DecimalExponent(10), 1);
    EXPECT_EQ(DecimalExponent(-1234), 3);
    EXPECT_EQ(DecimalExponent(0.5L), 0);
    EXPECT_EQ(DecimalExponent(0.1L), -1);
    EXPECT_EQ(DecimalExponent(0.05L), -1);
    EXPECT_EQ(DecimalExponent(1E-5L), -5);
    EXPECT_EQ(DecimalExponent(1.5E-5L), -4);
    EXPECT_EQ(DecimalExponent(1E300L), 300);
    EXPECT_EQ(DecimalExponent(1E-4000L), -4000);
}

} // namespace
