// The paper a listing goes on when nobody chose one, from the locale.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "core/print/paper.h"

using namespace tallix::print;

namespace {

TEST(PaperOfLocale, LocalesWithoutAPreferenceGiveLetter) {
    for (const char* name : {"", "C", "POSIX", "C.UTF-8", "C.utf8", "xx_NOWHERE.UTF-8"})
        EXPECT_EQ(PaperOfLocale(name), kLetterPaper) << name;
}

TEST(TPaperSize, InchesOfCommonSizes) {
    struct Case {
        const char* name;
        TPaperSize paper;
        double width, height;
    };
    const Case cases[] = {
        {"letter", {216, 279}, 8.5, 11},
        {"legal", {216, 356}, 8.5, 14},
        {"A4", {210, 297}, 210 / 25.4, 297 / 25.4},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(c.paper.WidthInches(), c.width) << c.name;
        EXPECT_DOUBLE_EQ(c.paper.HeightInches(), c.height) << c.name;
    }
    EXPECT_TRUE(TPaperSize({216, 279}).IsLetter());
    EXPECT_TRUE(TPaperSize({210, 297}).IsA4());
    EXPECT_FALSE(TPaperSize({210, 297}).IsLetter());
}

// Builds a letter locale and an A4 locale in a private folder (no root
// needed), once for all tests, and points the C library at it.
class PaperLocales : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ =
            std::filesystem::temp_directory_path() / ("tallix-paper-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        for (const char* name : {"de_DE", "en_US"}) {
            const std::string cmd = std::string("localedef -i ") + name + " -f UTF-8 '" +
                                    dir_.string() + "/" + name + ".UTF-8' >/dev/null 2>&1";
            if (std::system(cmd.c_str()) != 0 &&
                !std::filesystem::exists(dir_ / (std::string(name) + ".UTF-8")))
                missing_ = name;
        }
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    void SetUp() override {
        if (!missing_.empty())
            GTEST_SKIP() << "localedef or the " << missing_ << " locale source is missing";
        for (const char* v : {"LOCPATH", "LC_ALL", "LC_PAPER", "LANG"}) Keep(v);
        ::setenv("LOCPATH", dir_.c_str(), 1);
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }
    void Keep(const char* name) {
        const char* v = std::getenv(name);
        saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
        ::unsetenv(name);
    }
    static inline std::filesystem::path dir_;
    static inline std::string missing_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(PaperLocales, TheLocalesPaperWins) {
    EXPECT_EQ(PaperOfLocale("de_DE.UTF-8"), TPaperSize({210, 297}));
    EXPECT_EQ(PaperOfLocale("en_US.UTF-8"), kLetterPaper);
}

TEST_F(PaperLocales, TheVariablesInTheCLibrarysOrder) {
    struct Case {
        const char* name;
        const char *lcAll, *lcPaper, *lang;
        TPaperSize paper;
    };
    const TPaperSize a4{210, 297};
    const Case cases[] = {
        {"nothing set", nullptr, nullptr, nullptr, kLetterPaper},
        {"LANG alone", nullptr, nullptr, "de_DE.UTF-8", a4},
        {"LC_PAPER before LANG", nullptr, "en_US.UTF-8", "de_DE.UTF-8", kLetterPaper},
        {"LC_ALL before all", "de_DE.UTF-8", "en_US.UTF-8", "en_US.UTF-8", a4},
        {"C says nothing", "C", nullptr, "de_DE.UTF-8", kLetterPaper},
        {"empty is unset", "", "", "de_DE.UTF-8", a4},
    };
    for (const Case& c : cases) {
        const std::pair<const char*, const char*> vars[] = {
            {"LC_ALL", c.lcAll}, {"LC_PAPER", c.lcPaper}, {"LANG", c.lang}};
        for (const auto& [name, value] : vars) {
            if (value)
                ::setenv(name, value, 1);
            else
                ::unsetenv(name);
        }
        EXPECT_EQ(UserPaper(), c.paper) << c.name;
    }
}

} // namespace
