// The wide evaluation's one rounding at the ends of the extended range:
// results beyond it must become infinities (the operations report them as
// faults), tiny ones the right subnormal or zero, and results outside a
// function's domain NaNs.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "core/number/widemath.h"

namespace tallix {
namespace {

TEST(WideMath, RoundsOnceAtTheEndsOfTheRange) {
    // hypot(max, y) = max × (1 + 2^-63.5): within the binary128 range, but
    // past the midpoint between the extended maximum and the next binade.
    const Value pastMax = std::ldexp(LDBL_MAX, -31) * std::pow(2.0L, -0.25L);
    const Value tiny = std::ldexp(1.0L, -16445); // the least subnormal
    struct Row {
        const char* what;
        Value got, want;
    };
    const Row rows[] = {
        {"exp past the range", WideExp(11357), INFINITY},
        {"hypot just past max", WideHypot(LDBL_MAX, pastMax), INFINITY},
        {"hypot just below the midpoint", WideHypot(LDBL_MAX, std::ldexp(LDBL_MAX, -33)), LDBL_MAX},
        {"10^x past the range", WidePow(10, 4932.08L), INFINITY},
        {"an exact subnormal", WidePow(2, -16440), 32 * tiny},
        {"2^1.6 subnormal units", WidePow(2, -16443.4L), 3 * tiny},
        {"2^0.5 subnormal units", WidePow(2, -16444.5L), tiny},
        {"2^-1.5 subnormal units", WidePow(2, -16446.5L), 0},
        {"exp far below the range", WideExp(-12000), 0},
        {"ln 0", WideLn(0), -INFINITY},
        {"log 0", WideLog10(0), -INFINITY},
    };
    for (const Row& r : rows) EXPECT_EQ(r.got, r.want) << r.what;
}

TEST(WideMath, OutsideTheDomainIsNaN) {
    const Value nans[] = {WideASin(1.5L),  WideACos(-2), WideLn(-1),
                          WideACosH(0.5L), WideATanH(2), WidePow(-8, 0.5L)};
    for (Value v : nans) EXPECT_TRUE(std::isnan(v));
}

} // namespace
} // namespace tallix
