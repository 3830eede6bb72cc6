// Reducing radians by multiples of π/2 with the bits of 2/π: the quarter
// and the rest against references computed with MPFR at 20 000 bits, for
// arguments where a short π loses every digit.
#include <gtest/gtest.h>

#include <cmath>

#include "core/number/mathfuncs.h"

namespace tallix {
namespace {

struct ReduceCase {
    Value x;
    int quarter;
    Value rest; // x - n·π/2 for the nearest whole n, rounded once; quarter = n mod 4
};

TEST(ReduceRadians, MatchesTheExactRest) {
    const ReduceCase cases[] = {
        {0x8.78678326eac9p+70L, 3, 0x8.cf55ccb19e6bf6dp-4L},         // 1E22
        {-0x8.78678326eac9p+70L, 1, -0x8.cf55ccb19e6bf6dp-4L},       // -1E22
        {0xb.f21e44003acdd2dp+993L, 1, 0xc.8ba9e3985f808f4p-4L},     // 1E300
        {0xd.1ba8323fe558c61p+13284L, 0, 0x9.9fc8c3ecde506a6p-4L},   // 1E4000
        {-0xf.fffffffffffffffp+16380L, 3, -0x8.061c52487f652abp-6L}, // -1.18973149535723176502E4932
        {0xcp-2L, 2, -0x9.0fdaa22168c234cp-6L},                      // 3
        {-0xcp-2L, 2, 0x9.0fdaa22168c234cp-6L},                      // -3
        {0xb.18p+5L, 2, 0xf.cde81848d6a48ddp-19L},                   // 355
        {0xc.b1c8p+13L, 0, -0xa.077ef8f8677d835p-19L},               // 103993
        {0x8.0000000000000cp+61L, 2, 0xb.3bc88e2705145f2p-4L},       // 1.8446744073709552E19
        {0xc.90fdaa22168c8b8p-4L, 1, -0xc.90fdaa22168bbb2p-4L},      // 0.7853981633974484
        {0xb.562d931650ff8p+49L, 0, -0x9.ef63ad55d7bb82dp-4L},       // 6381956970095103
        {0x9.c5283119aaebfdep+132L, 2, 0xf.200b6402a816f36p-5L},     // 5.31937264832654141E40
        {0xap-2L, 2, -0xa.43f6a8885a308d3p-4L},                      // 2.5
        {-0x8.3126e978d4fdf3bp-13L, 0, -0x8.3126e978d4fdf3bp-13L},   // -1E-3
        {0x8.ac7230489e8p+60L, 3, -0xc.4c23f08fa4a0abdp-5L},         // 1E19
        {0xd.93ae96904cc7e2cp+6643L, 0, 0xf.2a984f103802dcp-5L},     // 7.5E2000
        {0.5L, 0, 0.5L},                                             // within π/4: unchanged
        {-0.75L, 0, -0.75L},
    };
    for (const ReduceCase& c : cases) {
        const RadianQuarters r = ReduceRadians(c.x);
        EXPECT_EQ(r.quarter, c.quarter) << static_cast<double>(c.x);
        // Two units in the last place of the rest.
        const Value ulp = std::ldexp(1.0L, std::ilogb(c.rest) - 63);
        EXPECT_LE(std::fabs(r.rest - c.rest), 2 * ulp)
            << static_cast<double>(c.x) << ": " << static_cast<double>(r.rest) << " vs "
            << static_cast<double>(c.rest);
    }
}

TEST(ReduceRadians, LeavesWhatHasNoRest) {
    for (Value v : {0.0L, -0.0L, HUGE_VALL, -HUGE_VALL}) {
        const RadianQuarters r = ReduceRadians(v);
        EXPECT_EQ(r.quarter, 0);
        EXPECT_EQ(r.rest, v);
    }
    EXPECT_TRUE(std::isnan(ReduceRadians(NAN).rest));
}

// Sine, cosine and tangent in radians: MPFR's values rounded once to the
// extended type, which the wide evaluation after the reduction gives.
TEST(ReduceRadians, TrigonometryOfLargeRadians) {
    struct Row {
        Value x, sin, cos, tan;
    };
    const Row rows[] = {
        {0x8.78678326eac9p+70L, -0xd.a29d5bb5f9cb87dp-4L, 0x8.5f167780e479c9ap-4L,
         -0xd.07bce0db592bba5p-3L}, // 1E22
        {0x9.502f9p+30L, -0xf.99a63c4b5271a66p-5L, 0xd.f84c480e498cc19p-4L,
         -0x8.ef0007a21fa82f2p-4L}, // 1E10
        {-0x9.8968p+18L, -0xc.78f15ee092ff1fdp-4L, -0xa.059b0683b195cd6p-4L,
         0x9.f4c5f6d9027028ep-3L}, // -2.5E6
        {0xd.1ba8323fe558c61p+13284L, 0x9.0de0837a745738ap-4L, 0xd.31143593ff9dec5p-4L,
         0xa.fb4fff78a51d56bp-4L}, // 1E4000
        {0xcp-2L, 0x9.081c36db6aada79p-6L, -0xf.d7025f42f2e9308p-4L, -0x9.1f7b892a5c37866p-6L}, // 3
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Sine(r.x, AngleUnit::Radians), r.sin) << static_cast<double>(r.x);
        EXPECT_EQ(Cosine(r.x, AngleUnit::Radians), r.cos) << static_cast<double>(r.x);
        EXPECT_EQ(Tangent(r.x, AngleUnit::Radians), r.tan) << static_cast<double>(r.x);
    }
}

} // namespace
} // namespace tallix
