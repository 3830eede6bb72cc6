// What the stack lines show when a text is wider than its line, and what the
// indicators' tooltips say.
#include <gtest/gtest.h>

#include "core/number/utf8.h"
#include "test_calc.h"

using tallix::Base;
using tallix::Cmd;
using tallix::testing::TestCalc;

namespace {

TEST(FitLine, CutsOnTheLeftKeepingTheSignAndMarkingTheCut) {
    struct Case {
        const char* text;
        std::size_t columns;
        const char* shown;
    };
    const Case cases[] = {
        {"", 20, ""},
        {"3.5", 20, "3.5"},
        {"-1.23456789012346E-300", 22, "-1.23456789012346E-300"}, // fits exactly
        {"-1.23456789012346E-300", 20, "-\u20263456789012346E-300"},
        {"1.23456789012346E-300", 20, "\u202623456789012346E-300"},
        {"-123", 3, "-\u20263"},
        {"-123", 2, "-\u2026"},
        {"1234", 1, "\u2026"},
        // A minus inside the text is no sign of the whole.
        {"12345E-300", 6, "\u2026E-300"},
        // Characters, not bytes: "÷" is one.
        {"\u00f7\u00f7\u00f7\u00f7", 4, "\u00f7\u00f7\u00f7\u00f7"},
        {"-\u00f7\u00f7\u00f7\u00f7", 4, "-\u2026\u00f7\u00f7"},
        {"10101010101010101010101010101010", 10, "\u2026010101010"},
    };
    for (const Case& c : cases) {
        const std::string shown = tallix::FitLine(c.text, c.columns);
        EXPECT_EQ(shown, c.shown) << c.text << " in " << c.columns;
        EXPECT_LE(tallix::CountChars(shown), std::max<std::size_t>(c.columns, 2)) << c.text;
    }
}

TEST(FitLine, StackLinesCutToTheirWidthAndKeepTheWholeTextForTheTooltip) {
    TestCalc t;
    t.Push({"-1.23456789012346E-300", "7", "abc"});
    const auto lines = t.calc.StackLines(20);
    EXPECT_EQ(lines[2].text, "-\u20263456789012346E-300");
    EXPECT_EQ(lines[2].full, "-1.23456789012346E-300");
    EXPECT_EQ(lines[2].spoken, "level 3: -1.23456789012346E-300");
    EXPECT_EQ(lines[1].text, "7");
    EXPECT_EQ(lines[1].full, "7");
    EXPECT_EQ(lines[3].text, "");
    EXPECT_EQ(lines[3].full, "");
    // Without a width the lines are whole.
    EXPECT_EQ(t.calc.StackLines()[2].text, "-1.23456789012346E-300");
    // Binary texts are cut the same way, the marker in front of the low bits.
    tallix::testing::SetWordSize(t.calc, 32);
    RunCommand(t.calc, Cmd::Bin);
    t.Push({"-1"});
    EXPECT_EQ(t.calc.StackLines(12)[0].text, "\u202611111111111");
}

// The thumb at the top shows the deepest six levels: never levels below
// the stack's depth, as empty lines labelled beyond it.
TEST(Scrolling, TheTopShowsTheDeepestLevels) {
    for (int depth : {7, 20, 1000, 10000, 100000, 357919, 357920, 1000000}) {
        TestCalc t;
        t.calc.ReserveStack(static_cast<std::size_t>(depth));
        for (int i = depth; i >= 1; --i)
            tallix::testing::Arrange(
                t.calc, [&](tallix::Calculator::Change& ch) { ch.PushText(std::to_string(i)); });
        t.calc.ScrollBarScroll(0);
        const auto lines = t.calc.StackLines();
        EXPECT_EQ(lines[5].label, std::to_string(depth) + ":") << depth;
        EXPECT_EQ(lines[5].text, std::to_string(depth)) << depth;
        EXPECT_EQ(lines[0].label, std::to_string(depth - 5) + ":") << depth;
        // Every step down from the top shows at most one level more.
        const auto sb = t.calc.ScrollBar();
        std::size_t last = t.calc.FirstShownIndex();
        for (int p = sb.SmallChange; p <= 20 * sb.SmallChange; p += sb.SmallChange) {
            t.calc.ScrollBarScroll(p);
            const std::size_t now = t.calc.FirstShownIndex();
            EXPECT_LE(last - now, 1u) << depth << " at " << p;
            last = now;
        }
    }
}

TEST(IndicatorToolTips, SayWhatTheyShowAndWhatADoubleClickSelects) {
    const struct {
        int mode;
        const char* tip;
    } angles[] = {
        {0, "Angle unit: cycles\nDouble-click for the next unit: degrees"},
        {1, "Angle unit: degrees\nDouble-click for the next unit: radians"},
        {2, "Angle unit: radians\nDouble-click for the next unit: gradients"},
        {3, "Angle unit: gradients\nDouble-click for the next unit: cycles"},
    };
    for (const auto& c : angles)
        EXPECT_EQ(tallix::AngleToolTip(tallix::AngleUnitFromNumber(c.mode)), c.tip) << c.mode;

    const struct {
        Base base;
        int wordSize, fix;
        const char* tip;
    } bases[] = {
        {Base::DEC, 16, -1,
         "Base: decimal\nWord size: 16 bits\nDouble-click for the next base: hexadecimal"},
        {Base::DEC, 16, 4,
         "Base: decimal\nWord size: 16 bits\nFix: 4 decimals\n"
         "Double-click for the next base: hexadecimal"},
        {Base::HEX, 56, 1,
         "Base: hexadecimal\nWord size: 56 bits\nFix: 1 decimal\n"
         "Double-click for the next base: binary"},
        {Base::BIN, 1, 0,
         "Base: binary\nWord size: 1 bit\nFix: 0 decimals\nDouble-click for the next base: octal"},
        {Base::OCT, 8, -1,
         "Base: octal\nWord size: 8 bits\nDouble-click for the next base: decimal"},
    };
    for (const auto& c : bases)
        EXPECT_EQ(tallix::BaseToolTip(c.base, c.wordSize, c.fix), c.tip) << c.tip;
}

} // namespace
