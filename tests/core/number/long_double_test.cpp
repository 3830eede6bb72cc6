// The number type: every 18-digit result depends on the 80-bit format with
// its 64-bit significand, on every platform the core is built for.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/number/numtext.h"
#include "core/number/value.h"

namespace tallix {
namespace {

TEST(LongDouble, KeepsTheSixtyFourBitSignificand) {
    EXPECT_EQ(std::numeric_limits<Value>::digits, 64);
    EXPECT_EQ(std::numeric_limits<Value>::max_exponent, 16384);
    EXPECT_EQ(std::numeric_limits<Value>::min_exponent, -16381);
    // 1 + 2^-63 is only there with 64 bits of significand.
    const Value one = 1;
    EXPECT_NE(one + std::numeric_limits<Value>::epsilon(), one);
    EXPECT_EQ(std::numeric_limits<Value>::epsilon(), 1.0L / 9223372036854775808.0L);
}

TEST(LongDouble, ParsesAndFormatsEighteenDigits) {
    // Texts past double's range and precision go through the program's own
    // parser and formatter both ways unchanged.
    for (const char* text :
         {"0.333333333333333333", "1.18973149535723176E4932", "3.36210314311209351E-4932",
          "-9.99999999999999999E-4000", "123456789012345678"}) {
        const auto v = ParseReal(text, '.');
        ASSERT_TRUE(v) << text;
        EXPECT_EQ(FormatStackValue(*v, '.'), text);
    }
}

} // namespace
} // namespace tallix
