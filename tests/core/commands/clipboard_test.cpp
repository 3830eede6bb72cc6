// Copy and paste: the copied texts in every base, and pasted text read in
// the bases and locales, with bad pieces and line ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/commands/clipboard.h"
#include "test_calc.h"

using tallix::Base;
using tallix::Cmd;
using Strings = std::vector<std::string>;

namespace {

// A calculator with a chosen decimal separator.
struct LocaleCalc {
    explicit LocaleCalc(char dc) : calc(shell, dc) {}
    tallix::testing::RecordingShell shell;
    tallix::Calculator calc;
    Strings Stack() const {
        Strings out;
        for (std::size_t i = calc.Depth(); i-- > 0;) out.push_back(calc.Stack().at(i));
        return out;
    }
};

TEST(Copy, LevelOneInEveryBase) {
    struct Case {
        const char* name;
        char dc;
        Base base;
        int fix;
        const char* stored;
        const char* copied;
    };
    const Case cases[] = {
        {"all 18 digits in DEC", '.', Base::DEC, -1, "0.333333333333333333",
         "0.333333333333333333"},
        {"the locale's separator", ',', Base::DEC, -1, "0,333333333333333333",
         "0,333333333333333333"},
        {"Fix does not cut it", '.', Base::DEC, 2, "2.71828182845904524", "2.71828182845904524"},
        {"the stored text as it stands", '.', Base::DEC, -1, "1.50", "1.50"},
        {"HEX as displayed", '.', Base::HEX, -1, "255", "FF"},
        {"BIN as displayed", '.', Base::BIN, -1, "5", "101"},
        {"OCT as displayed", '.', Base::OCT, -1, "-1", "177777"},
        {"HEX marks a value it cannot show", '.', Base::HEX, -1, "1E30", "DEC:1E30"},
        {"HEX marks a fraction", '.', Base::HEX, -1, "2.5", "DEC:2.5"},
        {"a value beyond the word", '.', Base::HEX, -1, "70000", "DEC:70000"},
        {"a text that is no number", '.', Base::OCT, -1, "abc", "DEC:abc"},
        {"BIN of a negative", '.', Base::BIN, -1, "-1", "1111111111111111"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LocaleCalc t(c.dc);
        tallix::testing::SetBase(t.calc, c.base);
        tallix::testing::SetFixLength(t.calc, c.fix);
        tallix::testing::Arrange(t.calc, [&](tallix::Calculator::Change& ch) { ch.PushText("7"); });
        tallix::testing::Arrange(t.calc,
                                 [&](tallix::Calculator::Change& ch) { ch.PushText(c.stored); });
        EXPECT_EQ(tallix::CopyText(t.calc), c.copied);
    }
}

TEST(Copy, AnEmptyStackCopiesNothing) {
    LocaleCalc t('.');
    EXPECT_EQ(tallix::CopyText(t.calc), "");
    EXPECT_EQ(tallix::CopyStackText(t.calc), "");
}

TEST(Copy, CopiedLevelOnePastesBackToTheSameValue) {
    for (char dc : {'.', ','}) {
        LocaleCalc t(dc);
        tallix::testing::SetEntry(t.calc, "1");
        tallix::testing::Arrange(t.calc,
                                 [&](tallix::Calculator::Change& ch) { ch.EnterEntryLine(); });
        tallix::testing::SetEntry(t.calc, "3");
        tallix::testing::Arrange(t.calc,
                                 [&](tallix::Calculator::Change& ch) { ch.EnterEntryLine(); });
        RunCommand(t.calc, Cmd::Div);
        const std::string copied = tallix::CopyText(t.calc);
        ASSERT_TRUE(tallix::PasteText(t.calc, copied));
        EXPECT_EQ(t.calc.Stack().at(0), t.calc.Stack().at(1)) << dc;
    }
}

TEST(Copy, StackDeepestFirstAsCopyGivesEachLevel) {
    struct Case {
        Base base;
        int fix;
        Strings stored;
        const char* copied;
    };
    const Case cases[] = {
        {Base::DEC, -1, {"1", "0.333333333333333333", "abc"}, "1\n0.333333333333333333\nabc\n"},
        {Base::DEC, 2, {"2.5", "1E20"}, "2.5\n1E20\n"},
        {Base::HEX, -1, {"255", "16"}, "FF\n10\n"},
        {Base::HEX, -1, {"1E25", "-2"}, "DEC:1E25\nFFFE\n"},
    };
    for (const Case& c : cases) {
        LocaleCalc t('.');
        for (const std::string& s : c.stored)
            tallix::testing::Arrange(t.calc,
                                     [&](tallix::Calculator::Change& ch) { ch.PushText(s); });
        tallix::testing::SetBase(t.calc, c.base);
        tallix::testing::SetFixLength(t.calc, c.fix);
        EXPECT_EQ(tallix::CopyStackText(t.calc), c.copied);
    }
}

struct PasteCase {
    const char* name;
    char dc;
    Cmd base;
    const char* clipboard;
    Strings pushed;      // deepest first; empty with a bad piece
    const char* message; // "" when none
};

TEST(Paste, PiecesInBasesAndLocales) {
    const PasteCase cases[] = {
        {"blank separated", '.', Cmd::Dec, "1 2 3", {"1", "2", "3"}, ""},
        {"tabs and line ends", '.', Cmd::Dec, "1\t2\r\n3\n4\r5", {"1", "2", "3", "4", "5"}, ""},
        {"one trailing line end", '.', Cmd::Dec, "42\r\n", {"42"}, ""},
        {"a spreadsheet column", '.', Cmd::Dec, "1.5\r\n-2\r\n3E2\r\n", {"1.5", "-2", "300"}, ""},
        {"runs of blanks", '.', Cmd::Dec, "  7 \t\t 8  \n\n", {"7", "8"}, ""},
        {"canonical texts", '.', Cmd::Dec, "1.50 +.5 1e3", {"1.5", "0.5", "1000"}, ""},
        {"comma locale", ',', Cmd::Dec, "3,5 -0,25", {"3,5", "-0,25"}, ""},
        {"a point in a comma locale", ',', Cmd::Dec, "3.5\n", {"3,5"}, ""},
        {"a comma in a point locale",
         '.',
         Cmd::Dec,
         "3,5",
         {},
         "Paste Error: \"3,5\"\r\nInvalid Syntax"},
        {"hexadecimal", '.', Cmd::Hex, "FF ff 10 FFFF", {"255", "255", "16", "-1"}, ""},
        {"binary", '.', Cmd::Bin, "101 1", {"5", "1"}, ""},
        {"a digit the base lacks",
         '.',
         Cmd::Bin,
         "101 102",
         {},
         "Paste Error: \"102\"\r\nInvalid Syntax"},
        {"a fraction in hexadecimal",
         '.',
         Cmd::Hex,
         "1.5",
         {},
         "Paste Error: \"1.5\"\r\nInvalid Syntax"},
        {"the first bad piece is named",
         '.',
         Cmd::Dec,
         "1 x 2 y",
         {},
         "Paste Error: \"x\"\r\nInvalid Syntax"},
        {"a long bad piece is cut",
         '.',
         Cmd::Dec,
         "1 abcdefghijklmnopqrstuvwxyz",
         {},
         "Paste Error: \"abcdefghijklmnopqrst...\"\r\nInvalid Syntax"},
        {"a number beyond the range",
         '.',
         Cmd::Dec,
         "1E5000",
         {},
         "Paste Error: \"1E5000\"\r\nOverflow"},
        {"a negative number beyond the range",
         '.',
         Cmd::Dec,
         "1 -2E9999",
         {},
         "Paste Error: \"-2E9999\"\r\nOverflow"},
        {"hexadecimal digits beyond 64 bits",
         '.',
         Cmd::Hex,
         "1FFFFFFFFFFFFFFFF",
         {},
         "Paste Error: \"1FFFFFFFFFFFFFFFF\"\r\nOverflow"},
        {"the minus sign", '.', Cmd::Dec, "\u22122.5 1E\u22123", {"-2.5", "0.001"}, ""},
        {"the minus sign, comma locale", ',', Cmd::Dec, "\u22120,5", {"-0,5"}, ""},
        {"a marked decimal in hexadecimal",
         '.',
         Cmd::Hex,
         "DEC:1E25 dec:2.5 10",
         {"1E25", "2.5", "16"},
         ""},
        {"a marked decimal in binary", '.', Cmd::Bin, "DEC:\u22121.5", {"-1.5"}, ""},
        {"a marked decimal in DEC", '.', Cmd::Dec, "DEC:7", {"7"}, ""},
        {"a marked piece that is no number",
         '.',
         Cmd::Hex,
         "DEC:FF",
         {},
         "Paste Error: \"DEC:FF\"\r\nInvalid Syntax"},
        {"nothing to paste", '.', Cmd::Dec, "", {}, ""},
        {"only blanks", '.', Cmd::Dec, " \r\n\t", {}, ""},
    };
    for (const PasteCase& c : cases) {
        SCOPED_TRACE(c.name);
        LocaleCalc t(c.dc);
        tallix::testing::Arrange(t.calc, [&](tallix::Calculator::Change& ch) { ch.PushText("9"); });
        RunCommand(t.calc, c.base);
        const std::size_t steps = t.calc.UndoHistory().UndoCount();
        const bool pasted = tallix::PasteText(t.calc, c.clipboard);
        Strings expected{"9"};
        expected.insert(expected.end(), c.pushed.begin(), c.pushed.end());
        EXPECT_EQ(t.Stack(), expected);
        EXPECT_EQ(pasted, !c.pushed.empty());
        EXPECT_EQ(t.shell.messages.empty() ? "" : t.shell.messages.back(), std::string(c.message));
        // A paste is one step; a refused or empty one none.
        EXPECT_EQ(t.calc.UndoHistory().UndoCount(), steps + (pasted ? 1 : 0));
        if (pasted) {
            ASSERT_TRUE(t.calc.Undo());
            EXPECT_EQ(t.Stack(), Strings{"9"});
        }
    }
}

TEST(Paste, ParseNamesTheFirstBadPieceAsItStands) {
    LocaleCalc t(',');
    const tallix::PasteParse p = tallix::ParsePaste(t.calc, "1.5 2..5 x");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.badPiece, "2..5");
    EXPECT_TRUE(p.texts.empty());
}

TEST(Paste, RecordsTheLastPieceAsTheLastArgument) {
    LocaleCalc t('.');
    ASSERT_TRUE(tallix::PasteText(t.calc, "2 7"));
    EXPECT_EQ(t.calc.LastX(), 7);
    EXPECT_EQ(t.calc.LastNum(), 1u);
}

TEST(Paste, ATypedNumberIsEnteredFirstAsAStepOfItsOwn) {
    LocaleCalc t('.');
    tallix::testing::SetEntry(t.calc, "5");
    ASSERT_TRUE(tallix::PasteText(t.calc, "1 2"));
    EXPECT_EQ(t.Stack(), (Strings{"5", "1", "2"}));
    EXPECT_EQ(t.calc.Entry(), "");
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_EQ(t.Stack(), Strings{"5"});
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_TRUE(t.Stack().empty());
}

TEST(Paste, ABadPieceOrABadEntryPushesNothing) {
    struct Case {
        const char* entry;
        const char* clipboard;
        const char* message;
    };
    const Case cases[] = {
        {"5", "1 q", "Paste Error: \"q\"\r\nInvalid Syntax"},
        {"-", "1 2", "Entry Error: \r\nInvalid Syntax"},
    };
    for (const Case& c : cases) {
        LocaleCalc t('.');
        tallix::testing::SetEntry(t.calc, c.entry);
        EXPECT_FALSE(tallix::PasteText(t.calc, c.clipboard));
        EXPECT_TRUE(t.Stack().empty());
        EXPECT_EQ(t.calc.Entry(), c.entry); // left for the user to correct
        EXPECT_EQ(t.shell.messages.back(), c.message);
        EXPECT_EQ(t.calc.UndoHistory().UndoCount(), 0u);
    }
}

TEST(Paste, AHundredThousandNumbersAreOneStep) {
    LocaleCalc t('.');
    std::string text;
    for (int i = 0; i < 100000; ++i) text += std::to_string(i) + ".25\r\n";
    ASSERT_TRUE(tallix::PasteText(t.calc, text));
    EXPECT_EQ(t.calc.Depth(), 100000u);
    EXPECT_EQ(t.calc.Stack().at(0), "99999.25");
    EXPECT_EQ(t.calc.Stack().at(99999), "0.25");
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_EQ(t.calc.Depth(), 0u);
    ASSERT_TRUE(t.calc.Redo());
    EXPECT_EQ(t.calc.Depth(), 100000u);
    EXPECT_EQ(t.calc.Stack().at(0), "99999.25");
}

} // namespace
