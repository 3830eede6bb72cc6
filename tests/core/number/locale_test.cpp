// Number texts must not depend on the C library's locale: the window's
// toolkit sets it from the environment, and a comma locale would otherwise
// turn "1.5" into 1 or write "2,5E-7" on the stack.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/number/numtext.h"
#include "test_calc.h"

namespace {

// Builds a German locale in a private folder (no root needed) and switches
// the whole C library to it for the test's duration.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("tallix-locale-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        const std::string cmd =
            "localedef -i de_DE -f UTF-8 '" + dir_.string() + "/de_DE.UTF-8' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) != 0 && !std::filesystem::exists(dir_ / "de_DE.UTF-8"))
            GTEST_SKIP() << "localedef or the de_DE locale source is not available";
        ::setenv("LOCPATH", dir_.c_str(), 1);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "locale did not load";
        ASSERT_EQ(*std::localeconv()->decimal_point, ',');
    }
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::filesystem::path dir_;
};

TEST_F(CommaLocale, TextsKeepTheCalculatorsSeparator) {
    using tallix::FormatStackValue;
    using tallix::ParseReal;
    // Fast and slow paths of both directions.
    EXPECT_EQ(ParseReal("1.5", '.'), 1.5L);
    EXPECT_EQ(ParseReal("3.141592653589793238462643383", '.'),
              3.14159265358979323846264338327950288L);
    EXPECT_EQ(ParseReal("1.5E300", '.'), 1.5e300L);
    EXPECT_EQ(FormatStackValue(2.5e-7L, '.'), "2.5E-7");
    EXPECT_EQ(FormatStackValue(1.0L / 3, '.'), "0.333333333333333333");
    EXPECT_EQ(FormatStackValue(1e-300L / 3, '.'), "3.33333333333333333E-301");

    tallix::testing::TestCalc t;
    t.Type("1.5\r2.25+");
    EXPECT_EQ(t.calc.Stack().at(0), "3.75");
}

} // namespace
