// The exact decimal conversions at their hardest points: ties and texts
// half-way between two values (whose answers follow from rounding half to
// even), the top of the range, and the big integers of the exact decisions.
// The whole range against MPFR is in tests/accuracy.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <optional>

#include "core/number/bignum.h"
#include "core/number/decimalconv.h"
#include "core/number/numtext.h"

using namespace tallix;

namespace {

bool SameBits(std::optional<Value> a, std::optional<Value> b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || std::memcmp(&*a, &*b, 10) == 0;
}

TEST(DecimalConversion, TiesOfTheEighteenthDigitGoToEven) {
    const struct {
        Value value;
        const char* text;
    } cases[] = {
        // Integers with "50" after the 18th digit (the powers of ten that
        // scale them are inexact: the exact decision settles them).
        {12345678901234567850.0L, "1.23456789012345678E19"},
        {12345678901234567750.0L, "1.23456789012345678E19"},
        {1000000000000000015.0L, "1.00000000000000002E18"},
        // Half-integers (exact powers of ten).
        {123456789012345678.5L, "123456789012345678"},
        {123456789012345677.5L, "123456789012345678"},
        {-123456789012345677.5L, "-123456789012345678"},
        // One unit beside a tie is no tie.
        {std::nextafter(12345678901234567850.0L, 0.0L), "1.23456789012345678E19"},
        {std::nextafter(12345678901234567850.0L, 1E20L), "1.23456789012345679E19"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatStackValue(c.value, '.'), c.text) << c.text;
}

TEST(DecimalConversion, HalfWayTextsGoToEven) {
    constexpr Value kUlp = 0x1p-63L; // the spacing just above 1
    constexpr Value kMax = std::numeric_limits<Value>::max();
    const struct {
        const char* text;
        std::optional<Value> value;
    } cases[] = {
        // 1 + 2^-64, exactly half-way from 1 (even) to 1 + 2^-63.
        {"1.0000000000000000000542101086242752217003726400434970855712890625", 1.0L},
        {"-1.0000000000000000000542101086242752217003726400434970855712890625", -1.0L},
        {"1.00000000000000000005421010862427522170037264004349708557128906250000001", 1.0L + kUlp},
        {"1.0000000000000000000542101086242752217003726400434970855712890624999", 1.0L},
        {"10000000000000000000542101086242752217003726400434970855712890625E-64", 1.0L},
        // 1 + 3 * 2^-64: from 1 + 2^-63 (odd) to 1 + 2^-62 (even).
        {"1.0000000000000000001626303258728256651011179201304912567138671875", 1.0L + 2 * kUlp},
        // Half-way from the largest value to the next power of two
        // (1.18973149535723176505351158982...E4932) overflows; just below
        // it stays the largest value.
        {"1.189731495357231765053511589829489E4932", std::nullopt},
        {"1.189731495357231765053511589829488E4932", kMax},
        {"1.18973149535723176502E4932", kMax},
    };
    for (const auto& c : cases) {
        const auto v = ParseReal(c.text, '.');
        EXPECT_TRUE(SameBits(v, c.value)) << c.text;
    }
}

TEST(DecimalConversion, SubnormalsAndZeroKeepTheirSign) {
    const Value tiny = std::numeric_limits<Value>::denorm_min(); // 3.645199531882474602528E-4951
    const struct {
        const char* text;
        Value value;
    } cases[] = {
        {"3.6451995318824746025E-4951", tiny},
        {"-3.6451995318824746025E-4951", -tiny},
        {"5.467799297823711903E-4951", tiny},     // just below 1.5 units
        {"5.467799297823711904E-4951", 2 * tiny}, // just above
        {"1.8225997659412373E-4951", 0.0L},       // just below half a unit
        {"1.8225997659412374E-4951", tiny},       // just above
        {"-1E-4960", -0.0L},
        {"0E4999", 0.0L},
        {"-0.000", -0.0L},
    };
    for (const auto& c : cases) {
        const auto v = ParseReal(c.text, '.');
        EXPECT_TRUE(SameBits(v, c.value)) << c.text;
    }
}

TEST(BigNum, ComparesScaledIntegers) {
    constexpr std::uint64_t kFive27 = 7450580596923828125ULL;
    constexpr std::uint64_t kAllOnes = ~0ULL;
    const struct {
        std::uint64_t a;
        int a2, a5;
        std::uint64_t b;
        int b2, b5;
        int sign;
    } cases[] = {
        {3, 5, 0, 96, 0, 0, 0},           {1, 64, 0, 1, 63, 0, 1},
        {1, 130, 0, 1, 130, 0, 0},        {kAllOnes, 64, 0, 1, 128, 0, -1},
        {kAllOnes, 65, 0, 1, 129, 0, -1}, {1, 0, 27, kFive27, 0, 0, 0},
        {1, 0, 28, kFive27, 0, 1, 0},     {1, 0, 28, kFive27 + 1, 0, 1, -1},
        {1, 0, 100, 1, 0, 99, 1},         {10, 0, 0, 1, 1, 1, 0},
        {1, 200, 0, 1, 0, 86, 1},  // 2^200 > 5^86 (about 2^199.7)
        {1, 199, 0, 1, 0, 86, -1}, // 2^199 < 5^86
        {5, -3, 2, 125, -3, 0, 0}, // negative exponents: only the differences count
        {0, 10, 10, 0, 0, 0, 0},          {0, 0, 0, 1, -5, 0, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareScaled(BigNum(c.a), c.a2, c.a5, BigNum(c.b), c.b2, c.b5), c.sign)
            << c.a << "*2^" << c.a2 << "*5^" << c.a5 << " vs " << c.b << "*2^" << c.b2 << "*5^"
            << c.b5;
    }
}

} // namespace
