// The keyboard help text against the keyboard mapping it describes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/commands/dispatch.h"

namespace {

std::vector<std::string> HelpLines() {
    std::vector<std::string> lines;
    const std::string text(tallix::KeysHelpText());
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return lines;
}

TEST(KeysHelp, LinesAreSeparatedByCrLfWithNoneAfterTheLast) {
    const std::string_view text = tallix::KeysHelpText();
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.substr(text.size() - 2), "\r\n");
    const auto lines = HelpLines();
    EXPECT_EQ(lines.size(), 24u);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find('\r'), std::string::npos) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        EXPECT_NE(line.find(" : "), std::string::npos) << line;
    }
    EXPECT_EQ(lines.front(), "Backspace : <-/Drop");
    EXPECT_EQ(lines.back(), "/ : \u00f7");
}

// Every single-character line names a key the keyboard really presses, and
// the function it names is that key's plain function.
struct HelpCase {
    char ch;
    const char* line;
    tallix::Key key;
};

class KeysHelpMapping : public ::testing::TestWithParam<HelpCase> {};

TEST_P(KeysHelpMapping, LineMatchesKeyboardTable) {
    const HelpCase& c = GetParam();
    const auto lines = HelpLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end()) << c.line;
    EXPECT_EQ(tallix::KeyForChar(static_cast<unsigned char>(c.ch), '.'), c.key) << c.ch;
    const char lower = static_cast<char>(c.ch >= 'A' && c.ch <= 'Z' ? c.ch + 32 : c.ch);
    EXPECT_EQ(tallix::KeyForChar(static_cast<unsigned char>(lower), '.'), c.key) << lower;
}

using tallix::Key;
INSTANTIATE_TEST_SUITE_P(
    Letters, KeysHelpMapping,
    ::testing::Values(
        HelpCase{'G', "G : Log", Key::KLog}, HelpCase{'L', "L : Ln", Key::KLn},
        HelpCase{'M', "M : Mod", Key::KMod}, HelpCase{'N', "N : Neg (+/-)", Key::KPlusMinus},
        HelpCase{'O', "O : Cos", Key::KCos}, HelpCase{'P', "P : Pi", Key::KPi},
        HelpCase{'Q', "Q : Sqrt", Key::KSqrt}, HelpCase{'R', "R : Rdc", Key::KRdc},
        HelpCase{'S', "S : Sin", Key::KSin}, HelpCase{'T', "T : Tan", Key::KTan},
        HelpCase{'W', "W : Swap", Key::KSwap}, HelpCase{'X', "X : EEX", Key::KEex},
        HelpCase{'Y', "Y : Y^x", Key::KYToX}, HelpCase{'Z', "Z : Last", Key::KLast},
        HelpCase{'+', "+ : +", Key::KPlus}, HelpCase{'-', "- : -", Key::KMinus},
        HelpCase{'*', "* : \u00d7", Key::KMult}, HelpCase{'/', "/ : \u00f7", Key::KDiv},
        HelpCase{' ', "Space : Spc", Key::KSpace}, HelpCase{'\r', "Enter : Enter", Key::KEnter},
        HelpCase{'\b', "Backspace : <-/Drop", Key::KBackspace}));

} // namespace

namespace {

// Screen readers: every key says what it does, a key with a second function
// says that one too, and no two keys sound alike.
TEST(SpokenNames, EveryKeyHasOneAndTheShiftedKeysASecond) {
    const auto shifted = tallix::ShiftedKeys();
    std::vector<std::string_view> names;
    for (const tallix::KeyDef& k : tallix::KeyTable()) {
        SCOPED_TRACE(std::string(k.control));
        EXPECT_FALSE(k.spoken.empty());
        const bool hasSecond = std::find(shifted.begin(), shifted.end(), k.key) != shifted.end();
        EXPECT_EQ(!k.spokenShifted.empty(), hasSecond);
        names.push_back(k.spoken);
        if (hasSecond) names.push_back(k.spokenShifted);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

TEST(SpokenNames, SayWhatTheKeyDoes) {
    struct Case {
        tallix::Key key;
        const char* plain;
        const char* shifted;
    };
    const Case cases[] = {
        {tallix::Key::KSin, "Sine", "Arc sine"},
        {tallix::Key::KEnter, "Enter", "Edit"},
        {tallix::Key::K7, "Seven", ""},
        {tallix::Key::KShift, "Shift", ""},
        {tallix::Key::KLast, "Last arguments", "Clear stack"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tallix::KeyInfo(c.key).spoken, c.plain);
        EXPECT_EQ(tallix::KeyInfo(c.key).spokenShifted, c.shifted);
    }
}

} // namespace
