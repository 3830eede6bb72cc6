// The listings' one clock: the moment SOURCE_DATE_EPOCH fixes, or now.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "core/print/localetime.h"
#include "scoped_env.h"

namespace {

using tallix::testing::ScopedEnv;

TEST(ListingMoment, FixedByAWholeNumberOfSecondsOnly) {
    struct Case {
        const char* epoch;
        bool fixed;
        const char* utc; // when fixed
    };
    const Case cases[] = {
        {"0", true, "19700101000000"},
        {"1000000000", true, "20010909014640"},
        {"", false, ""},
        {"12abc", false, ""},
        {"-5", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.epoch);
        ScopedEnv epoch("SOURCE_DATE_EPOCH", c.epoch);
        bool fixed = !c.fixed;
        const std::time_t before = std::time(nullptr);
        const std::time_t moment = tallix::print::ListingMoment(&fixed);
        EXPECT_EQ(fixed, c.fixed);
        const std::string digits = tallix::print::ListingMomentUtcDigits();
        EXPECT_EQ(digits.size(), 14u);
        if (c.fixed) {
            EXPECT_EQ(digits, c.utc);
        } else {
            EXPECT_TRUE(moment >= before && moment <= std::time(nullptr));
        }
    }
}

} // namespace
