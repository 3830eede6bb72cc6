// The line printer's text forms: splitting, column formats, macros, fitting.
#include <gtest/gtest.h>

#include "core/print/printdevice.h"
#include "core/print/tableformat.h"

using namespace tallix::print;

namespace {

using Items = std::vector<std::string>;

TEST(SplitColumns, EveryBarEndsAnItem) {
    struct Case {
        std::string text;
        Items items;
    };
    const Case cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a|b", {"a", "b"}},
        {"a|", {"a", ""}},
        {"|a", {"", "a"}},
        {"||", {"", "", ""}},
        {"12:|3.5|x", {"12:", "3.5", "x"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitColumns(c.text), c.items) << c.text;
}

TEST(ParseColumnFormat, AlignmentAndWidth) {
    struct Case {
        std::string format;
        float defaultWidth;
        char separator;
        TAlignment alignment;
        float width;
    };
    const Case cases[] = {
        {">.375", 0, '.', TAlignment::Right, 0.375f},
        {">2.25", 0, '.', TAlignment::Right, 2.25f},
        {"<3.25", 0, '.', TAlignment::Left, 3.25f},
        {"^3", 0, '.', TAlignment::Centre, 3},
        {"2.5", 0, '.', TAlignment::Left, 2.5f},
        {"^", 1.5f, '.', TAlignment::Centre, 1.5f},
        {"<", 1.5f, '.', TAlignment::Left, 1.5f},
        {">", 0.1f, '.', TAlignment::Right, 0.1f},
        {"", 1.5f, '.', TAlignment::Left, 1.5f},
        {"", 0.1f, ',', TAlignment::Left, 0.1f},
        {"x2", 1.5f, '.', TAlignment::Left, 1.5f},
        {">abc", 0.75f, '.', TAlignment::Right, 0.75f},
        {">1e400", 0.75f, '.', TAlignment::Right, 0.75f},
        // The separator decides what parses.
        {">,375", 0, ',', TAlignment::Right, 0.375f},
        {">2,25", 0, ',', TAlignment::Right, 2.25f},
        {">2.25", 0, ',', TAlignment::Right, 0},
        {">2,25", 0, '.', TAlignment::Right, 0},
        {"< 2 ", 0, '.', TAlignment::Left, 2},
        {">-1", 0, '.', TAlignment::Right, -1},
    };
    for (const Case& c : cases) {
        const TColumnFormat f = ParseColumnFormat(c.format, c.defaultWidth, c.separator);
        EXPECT_EQ(f.Alignment, c.alignment) << c.format;
        EXPECT_EQ(f.Width, c.width) << c.format;
    }
}

TEST(ParseColumnFormat, DefaultWidthSurvivesTheTextRoundTrip) {
    // The default goes through its 15-digit text; a 32-bit float must come
    // back exactly, whatever the separator.
    for (float w : {0.1f, 1.0f / 3, 2.54f, 1e-7f, 123456.7f})
        for (char sep : {'.', ','}) {
            EXPECT_EQ(ParseColumnFormat("", w, sep).Width, w) << w << sep;
            EXPECT_EQ(ParseColumnFormat("^", w, sep).Width, w) << w << sep;
        }
}

TEST(ReplaceMacro, ReplacesEveryOccurrence) {
    struct Case {
        std::string token, value, text, expected;
    };
    const Case cases[] = {
        {"{$PAGE}", "3", "Page {$PAGE}", "Page 3"},
        {"{$PAGE}", "3", "{$PAGE}/{$PAGE}", "3/3"},
        {"{$PAGE}", "3", "Page {$page}", "Page {$page}"},
        {"{$PAGE}", "", "a{$PAGE}b", "ab"},
        // A value holding the token leaves the text alone.
        {"{$TITLE}", "My {$TITLE}", "T: {$TITLE}", "T: {$TITLE}"},
        // Searching again from the start finds what a replacement joined up.
        {"{$PAGE}", "", "{$PA{$PAGE}GE}", ""},
        {"{$PAGE}", "GE}{$PA", "{$PA{$PAGE}GE}", "GE}GE}{$PA{$PA"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceMacro(c.token, c.value, c.text), c.expected) << c.text;
}

TEST(ExpandMacros, AllFiveInTheirOrder) {
    TMacroValues v;
    v.Line = 7;
    v.Page = 3;
    v.Date = "06/05/2024";
    v.Time = "1:02:03 PM";
    v.Title = "Stack {$DATE}";
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {"Page {$PAGE}", "Page 3"},
        {"{$LINE}:{$PAGE}", "7:3"},
        {"{$DATE}|{$TIME}", "06/05/2024|1:02:03 PM"},
        // The title comes last, so a macro inside it stays as it is.
        {"{$TITLE}", "Stack {$DATE}"},
        {"{$Title} {$LINE", "{$Title} {$LINE"},
    };
    for (const Case& c : cases) EXPECT_EQ(ExpandMacros(c.text, v), c.expected) << c.text;
}

TEST(FitText, LongestPrefixThatFits) {
    // Digits 10 pixels wide, "W" 40, everything else 25.
    auto width = [](std::string_view s) {
        int w = 0;
        for (char c : s) w += (c >= '0' && c <= '9') ? 10 : c == 'W' ? 40 : 25;
        return w;
    };
    struct Case {
        std::string text;
        std::int64_t maxWidth;
        std::string expected;
    };
    const Case cases[] = {
        {"123456789", 90, "123456789"},
        {"123456789", 200, "123456789"},
        {"123456789", 89, "12345678"},
        {"123456789", 35, "123"},
        {"123456789", 30, "123"},
        {"123456789", 10, "1"},
        {"123456789", 0, "1"},
        {"W123", 45, "W"},
        {"1W23", 45, "1"},
        {"12W", 45, "12"},
        {"", 0, ""},
        {"ab", 49, "a"},
        {"abcdefghijklmnopqrstuvwxyz", 250, "abcdefghij"},
        {"abcdefghijklmnopqrstuvwxyz", 251, "abcdefghij"},
        {"abcdefghijklmnopqrstuvwxyz", 274, "abcdefghij"},
        {"abcdefghijklmnopqrstuvwxyz", 275, "abcdefghijk"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitText(c.text, c.maxWidth, width), c.expected) << c.text << " " << c.maxWidth;
}

TEST(FitText, NeverSplitsACharacter) {
    // Each byte measures 10 pixels; "é" is two bytes.
    auto width = [](std::string_view s) { return static_cast<int>(s.size()) * 10; };
    EXPECT_EQ(FitText("a\xc3\xa9z", 25, width), "a");
    EXPECT_EQ(FitText("a\xc3\xa9z", 30, width), "a\xc3\xa9");
    EXPECT_EQ(FitText("\xc3\xa9\xc3\xa9", 5, width), "\xc3\xa9");
    // Bytes that are no UTF-8 are cut one by one, never kept whole.
    EXPECT_EQ(FitText(std::string(8, '\x80'), 30, width), std::string(3, '\x80'));
}

TEST(FitText, PrinterErrorGivesTheTextUnchanged) {
    auto failing = [](std::string_view) -> int { throw EPrinter("no printer"); };
    EXPECT_EQ(FitText("123456", 10, failing), "123456");
    int calls = 0;
    auto failsLater = [&](std::string_view s) -> int {
        if (++calls > 1) throw EPrinter("gone");
        return static_cast<int>(s.size()) * 10;
    };
    EXPECT_EQ(FitText("123456", 10, failsLater), "123456");
}

TEST(Spaces, NothingForZeroOrLess) {
    EXPECT_EQ(Spaces(-3), "");
    EXPECT_EQ(Spaces(0), "");
    EXPECT_EQ(Spaces(3), "   ");
}

} // namespace
