// The keyboard help text against the keyboard mapping it describes.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "core/commands/dispatch.h"
#include "core/commands/registry.h"

namespace {

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) break;
        start = end + separator.size();
    }
    return parts;
}

// The sections of the help: the keys, the functions under Shift, the
// scroll keys and the Ctrl shortcuts, each after an empty line.
std::vector<std::vector<std::string>> HelpSections() {
    std::vector<std::vector<std::string>> sections;
    for (const std::string& s : Split(std::string(tallix::KeysHelpText()), "\r\n\r\n"))
        sections.push_back(Split(s, "\r\n"));
    return sections;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(KeysHelp, LinesAreSeparatedByCrLfWithNoneAfterTheLast) {
    const std::string_view text = tallix::KeysHelpText();
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.substr(text.size() - 2), "\r\n");
    const auto sections = HelpSections();
    ASSERT_EQ(sections.size(), 4u);
    for (const auto& lines : sections) {
        for (const std::string& line : lines) {
            EXPECT_EQ(line.find('\r'), std::string::npos) << line;
            EXPECT_EQ(line.find('\n'), std::string::npos) << line;
            EXPECT_NE(line.find(" : "), std::string::npos) << line;
        }
    }
    // The keys come first, as they always did, with E's other key after
    // the hexadecimal digits.
    const auto& keys = sections[0];
    EXPECT_EQ(keys.size(), 25u);
    EXPECT_EQ(keys.front(), "Backspace : <-/Drop");
    EXPECT_EQ(keys[6], "E : EEX in DEC");
    EXPECT_EQ(keys.back(), "/ : \u00f7");
}

// One line for every key with a second function, naming that function;
// in the order of the keys' own lines.
TEST(KeysHelp, TheFunctionsUnderShift) {
    const auto sections = HelpSections();
    ASSERT_EQ(sections.size(), 4u);
    const auto& lines = sections[1];
    const auto shifted = tallix::ShiftedKeys();
    EXPECT_EQ(lines.size(), shifted.size());
    for (tallix::Key key : shifted) {
        const tallix::KeyDef& k = tallix::KeyInfo(key);
        SCOPED_TRACE(std::string(k.control));
        EXPECT_NE(tallix::KeyCommand(key, true), tallix::Cmd::None);
        const std::string name = k.keyboard == '\b'   ? "Backspace"
                                 : k.keyboard == '\r' ? "Enter"
                                                      : std::string(1, k.keyboard);
        EXPECT_TRUE(Has(lines, "Shift+" + name + " : " + std::string(k.spokenShifted)));
    }
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Shift+Backspace : Drop");
    EXPECT_EQ(lines[1], "Shift+Enter : Edit");
    EXPECT_EQ(lines[2], "Shift+G : Power of ten");
    EXPECT_EQ(lines.back(), "Shift+Z : Clear stack");
}

TEST(KeysHelp, TheScrollKeys) {
    const auto sections = HelpSections();
    ASSERT_EQ(sections.size(), 4u);
    EXPECT_EQ(sections[2],
              (std::vector<std::string>{"Up : Scroll up one level", "Down : Scroll down one level",
                                        "Page Up : Scroll up one page",
                                        "Page Down : Scroll down one page"}));
}

// Every Ctrl shortcut of the menus, second keys and the wheel included, in
// menu order.
TEST(KeysHelp, TheCtrlShortcuts) {
    const auto sections = HelpSections();
    ASSERT_EQ(sections.size(), 4u);
    const auto& lines = sections[3];
    std::size_t shortcuts = 0;
    for (const tallix::CommandDef& c : tallix::CommandTable()) {
        if (c.menu.wheel != tallix::Wheel::None) ++shortcuts;
        for (std::string_view s : {c.menu.shortcut, c.menu.shortcut2})
            if (s.starts_with("Ctrl+")) {
                ++shortcuts;
                EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                        [&](const std::string& l) {
                                            return l.starts_with(std::string(s) + " : ");
                                        }),
                          1)
                    << s;
            }
    }
    EXPECT_EQ(lines.size(), shortcuts);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Ctrl+O : Open");
    for (const char* line : {"Ctrl+Z : Undo", "Ctrl+Y : Redo", "Ctrl+Shift+Z : Redo",
                             "Ctrl+Shift+C : Copy Stack", "Ctrl+2 : Dup 2", "Ctrl+H : Hexadecimal",
                             "Ctrl+Wheel up : Zoom In", "Ctrl+Wheel down : Zoom Out"})
        EXPECT_TRUE(Has(lines, line)) << line;
}

// The scroll keys move by the scroll bar's steps; the calculator clamps the
// result, so only the sum must not wrap around.
TEST(ScrollTarget, StepsOfTheScrollBar) {
    using tallix::ScrollKey;
    struct Case {
        int position;
        ScrollKey key;
        int target;
    };
    const Case cases[] = {
        {5000, ScrollKey::LineUp, 4000},
        {5000, ScrollKey::LineDown, 6000},
        {50000, ScrollKey::PageUp, 44000},
        {50000, ScrollKey::PageDown, 56000},
        {INT_MAX - 10, ScrollKey::PageDown, INT_MAX},
        {INT_MIN + 10, ScrollKey::PageUp, INT_MIN},
    };
    for (const Case& c : cases) {
        tallix::ScrollBarState sb;
        sb.Position = c.position;
        EXPECT_EQ(tallix::ScrollTarget(sb, c.key), c.target) << c.position;
    }
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
    const auto lines = HelpSections().at(0);
    EXPECT_TRUE(Has(lines, c.line)) << c.line;
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
