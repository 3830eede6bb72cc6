// The primitives, the entry line and the messages, driven by key sequences.
#include <gtest/gtest.h>

#include "test_calc.h"

using tallix::Base;
using tallix::Cmd;
using tallix::Key;
using tallix::testing::TestCalc;
using Strings = std::vector<std::string>;

namespace {

struct EntryCase {
    const char* keys;    // typed on the keyboard, "^" = Shift button
    const char* entry;   // the entry line afterwards
    Strings stack;       // deepest first
    const char* message; // last error shown, "" for none
};

TEST(EntryLine, KeySequences) {
    const EntryCase cases[] = {
        {"12.5xn3", "12.5E-3", {}, ""},
        {"12.5xn3\r", "", {"0.0125"}, ""},
        {"x", "1E", {}, ""},
        {"x\r", "", {"1"}, ""},
        {"xn", "1E-", {}, ""},
        {"xnn", "1E", {}, ""},
        {"12n", "-12", {}, ""},
        {"12nn", "12", {}, ""},
        {"1.2.3", "1.23", {}, ""},
        {"1x.5", "1E5", {}, ""},
        {"12\b", "1", {}, ""},
        {".\r", "", {"0"}, ""},
        {"1e3\r", "", {"1000"}, ""}, // "e" acts as EEX in DEC
        {"1E20\r", "", {"1E20"}, ""},
        {"2.5en3\r", "", {"0.0025"}, ""},
        {"e", "1E", {}, ""},
        {"1ee2", "1E2", {}, ""},
        {"1xx2", "1E2", {}, ""},
        {"\r", "", {}, "DUP Error: \r\nToo Few Arguments"},
        {"5\r\r", "", {"5", "5"}, ""},
        {"1.50\r\r", "", {"1.5", "1.5"}, ""},
        {"^\r", "", {}, "EDIT Error: \r\nToo Few Arguments"},
        {"7^\b", "", {}, ""},
        {"1 2 +", "", {"3"}, ""},
        {"5\r3-", "", {"2"}, ""},
        {"5\r3w-", "", {"-2"}, ""},
        {"4\r3+", "", {"7"}, ""},
        {"\b", "", {}, "DROP Error: \r\nToo Few Arguments"},
        {"5n", "-5", {}, ""},
        {"5\rn", "", {"-5"}, ""},
        {"5\rn^n", "", {"5"}, ""},
        {"7\r2/", "", {"3.5"}, ""},
        {"2\r0/", "", {"2", "0"}, "÷ Error: \r\nInfinite Result"},
        {"3+", "", {"3"}, "+ Error: \r\nToo Few Arguments"},
        {"hijkuv=", "", {}, ""},
    };
    for (const auto& c : cases) {
        TestCalc t;
        t.Type(c.keys);
        EXPECT_EQ(t.calc.Entry(), c.entry) << c.keys;
        EXPECT_EQ(t.Stack(), c.stack) << c.keys;
        EXPECT_EQ(t.LastMessage(), c.message) << c.keys;
        EXPECT_FALSE(t.calc.ShiftDown()) << c.keys;
    }
}

TEST(EntryLine, InvalidEntryKeepsItsTextAndTheStack) {
    TestCalc t;
    t.Push({"9"});
    tallix::testing::SetEntry(t.calc, "-");
    t.Type("\r");
    EXPECT_EQ(t.LastMessage(), "Entry Error: \r\nInvalid Syntax");
    EXPECT_EQ(t.calc.Entry(), "-");
    EXPECT_EQ(t.Stack(), Strings{"9"});
    // A command with a bad entry does nothing more.
    t.Type("+");
    EXPECT_EQ(t.Stack(), Strings{"9"});
}

TEST(EntryLine, EnterRecordsTheLastArgument) {
    TestCalc t;
    t.Type("1x3\r");
    EXPECT_EQ(t.calc.LastX(), 1000);
    EXPECT_EQ(t.calc.LastNum(), 1u);
}

TEST(EntryLine, ShiftBackspaceEntersAndDropsTheTypedNumber) {
    TestCalc t;
    t.Push({"4"});
    t.Type("7^\b");
    EXPECT_EQ(t.Stack(), Strings{"4"});
    EXPECT_EQ(t.calc.LastX(), 7);
}

TEST(EntryLine, FixSetsTheDisplayLength) {
    struct Case {
        const char* arg;
        int fix;
        const char* message;
    };
    const Case cases[] = {
        {"4", 4, ""},     {"25", 18, ""},
        {"-7", -1, ""},   {"2.9", 2, ""},
        {"1E10", 18, ""}, {"-1E10", -1, ""},
        {"0", 0, ""},     {"1E19", -1, "FIX Error: \r\nInvalid Input"},
    };
    for (const auto& c : cases) {
        TestCalc t;
        t.Push({c.arg});
        t.Type("^x");
        EXPECT_EQ(t.calc.FixLength(), c.fix) << c.arg;
        EXPECT_EQ(t.LastMessage(), c.message) << c.arg;
        EXPECT_TRUE(t.Stack().empty()) << c.arg; // consumed even when refused
    }
}

TEST(EntryLine, EditBringsTheEntryBackInTheBase) {
    TestCalc t;
    t.Push({"255"});
    RunCommand(t.calc, Cmd::Hex);
    t.Type("^\r");
    EXPECT_EQ(t.calc.Entry(), "FF");
    EXPECT_TRUE(t.Stack().empty());
    t.Type("\r");
    EXPECT_EQ(t.Stack(), Strings{"255"});

    TestCalc d;
    d.Push({"1.50"});
    d.Type("^\r");
    EXPECT_EQ(d.calc.Entry(), "1.50");
}

// In an integer base Edit shows what the display shows; Enter on that
// unchanged text must give back the entry, not the text read in the base.
TEST(EntryLine, EditThenEnterInAnIntegerBaseKeepsTheEntry) {
    struct Case {
        const char* name;
        Cmd base;
        std::int32_t wordSize;
        Strings stack;      // deepest first
        const char* edited; // the entry line after Edit
        const char* keys;   // typed after Edit
        Strings after;      // deepest first
        const char* message;
    };
    const Case cases[] = {
        {"beyond 64 bits", Cmd::Hex, 16, {"1E30"}, "1E30", "\r", {"1E30"}, ""},
        {"not a number", Cmd::Hex, 16, {"abc"}, "abc", "\r", {"abc"}, ""},
        {"beyond the word size", Cmd::Hex, 8, {"200"}, "C8", "\r", {"200"}, ""},
        {"a fraction", Cmd::Hex, 16, {"2.5"}, "2", "\r", {"2.5"}, ""},
        {"binary", Cmd::Bin, 16, {"5.5"}, "110", "\r", {"5.5"}, ""},
        {"space enters too", Cmd::Oct, 16, {"1E30"}, "1E30", " ", {"1E30"}, ""},
        {"a value the base shows", Cmd::Hex, 16, {"255"}, "FF", "\r", {"255"}, ""},
        {"a command commits it", Cmd::Hex, 16, {"7", "1E30"}, "1E30", "w", {"1E30", "7"}, ""},
        // A changed text is read in the base, as any typed entry.
        {"changed", Cmd::Hex, 16, {"1E30"}, "1E30", "\b\r", {"483"}, ""},
        {"changed beyond the word", Cmd::Hex, 8, {"200"}, "C8", "\b1\r", {"-63"}, ""},
        // A second Edit of the same entry remembers it again.
        {"edited twice", Cmd::Hex, 16, {"abc"}, "abc", "\r^\r\r", {"abc"}, ""},
        // Decimal reads the text as it always did.
        {"decimal", Cmd::Dec, 16, {"abc"}, "abc", "\r", {}, "Entry Error: \r\nInvalid Syntax"},
    };
    for (const Case& c : cases) {
        TestCalc t;
        for (const std::string& s : c.stack)
            tallix::testing::Arrange(t.calc,
                                     [&](tallix::Calculator::Change& ch) { ch.PushText(s); });
        RunCommand(t.calc, c.base);
        tallix::testing::SetWordSize(t.calc, c.wordSize);
        t.Type("^\r");
        EXPECT_EQ(t.calc.Entry(), c.edited) << c.name;
        t.Type(c.keys);
        EXPECT_EQ(t.Stack(), c.after) << c.name;
        EXPECT_EQ(t.LastMessage(), c.message) << c.name;
    }
}

TEST(EntryLine, EditThenEnterRecordsTheEntryAsLastArgument) {
    TestCalc t;
    t.Push({"1E30"});
    RunCommand(t.calc, Cmd::Hex);
    t.Type("^\r\r");
    EXPECT_EQ(t.calc.LastX(), 1E30L);
    EXPECT_EQ(t.calc.LastNum(), 1u);
    // Last pushes it back, unchanged.
    RunCommand(t.calc, Cmd::Dec);
    t.Type("z");
    EXPECT_EQ(t.Stack(), (Strings{"1E30", "1E30"}));
}

TEST(EntryLine, DisabledKeysDoNothingPerBase) {
    struct Case {
        Cmd base;
        const char* keys;
        const char* entry;
    };
    const Case cases[] = {
        {Cmd::Bin, "1201", "101"},  {Cmd::Oct, "1789", "17"}, {Cmd::Dec, "1abf", "1"},
        {Cmd::Hex, "1aF9", "1AF9"}, {Cmd::Hex, "1.xn", "1"},  {Cmd::Bin, "1n", "1"},
        {Cmd::Hex, "1eE2", "1EE2"}, {Cmd::Oct, "1e7", "17"},
    };
    for (const auto& c : cases) {
        TestCalc t;
        RunCommand(t.calc, c.base);
        t.Type(c.keys);
        EXPECT_EQ(t.calc.Entry(), c.entry) << c.keys;
    }
}

TEST(EntryLine, IntegerBasesEnterTwoComplementValues) {
    struct Case {
        Cmd base;
        const char* digits;
        const char* pushed;
    };
    const Case cases[] = {
        {Cmd::Hex, "FF", "255"}, {Cmd::Hex, "FFFF", "-1"}, {Cmd::Hex, "8000", "-32768"},
        {Cmd::Bin, "101", "5"},  {Cmd::Oct, "777", "511"}, {Cmd::Hex, "7FFF", "32767"},
    };
    for (const auto& c : cases) {
        TestCalc t;
        RunCommand(t.calc, c.base);
        tallix::testing::SetEntry(t.calc, c.digits);
        t.Type("\r");
        EXPECT_EQ(t.Stack(), Strings{c.pushed}) << c.digits;
    }
}

TEST(EntryLine, ChoosingABaseCommitsThePendingEntryFirst) {
    TestCalc t;
    RunCommand(t.calc, Cmd::Hex);
    t.Type("1F");
    RunCommand(t.calc, Cmd::Dec);
    EXPECT_EQ(t.Stack(), Strings{"31"});
    EXPECT_EQ(t.calc.CurrentBase(), Base::DEC);
}

TEST(ToggleEntrySign, InsertDeleteAppendAndCut) {
    EXPECT_EQ(tallix::ToggleEntrySign("12", 1), "-12");
    EXPECT_EQ(tallix::ToggleEntrySign("-12", 1), "12");
    EXPECT_EQ(tallix::ToggleEntrySign("1E", 3), "1E-");
    EXPECT_EQ(tallix::ToggleEntrySign("1E5", 3), "1E-5");
    std::string full(80, '1');
    std::string toggled = tallix::ToggleEntrySign(full, 1);
    EXPECT_EQ(toggled.size(), 80u);
    EXPECT_EQ(toggled.front(), '-');
    EXPECT_EQ(tallix::ToggleEntrySign(std::string(100, '2'), 1).size(), 80u);
}

TEST(Messages, ShapeAndCuts) {
    TestCalc t;
    tallix::testing::Arrange(t.calc, [&](tallix::Calculator::Change& ch) {
        ch.ShowError("SIN", tallix::Reason::InvalidInput);
    });
    EXPECT_EQ(t.LastMessage(), "SIN Error: \r\nInvalid Input");
    std::string longName(100, 'N');
    tallix::testing::Arrange(t.calc, [&](tallix::Calculator::Change& ch) {
        ch.ShowError(longName, tallix::Reason::TooFewArguments);
    });
    const std::string& m = t.LastMessage();
    // The name part is cut at 88 characters, the whole at 107: the reason
    // still starts on the second line.
    EXPECT_EQ(m.size(), 107u);
    EXPECT_EQ(m.substr(0, 88), (longName + " Error: ").substr(0, 88));
    EXPECT_EQ(m.substr(88, 2), "\r\n");
    // Characters, not bytes: "÷" counts once.
    tallix::testing::Arrange(t.calc, [&](tallix::Calculator::Change& ch) {
        ch.ShowError("÷", tallix::Reason::InfiniteResult);
    });
    EXPECT_EQ(t.LastMessage(), "÷ Error: \r\nInfinite Result");
}

TEST(Primitives, PopArgumentFailuresLeaveTheStack) {
    struct Case {
        Strings stack;
        Cmd cmd;
        const char* message;
    };
    const Case cases[] = {
        {{"4"}, Cmd::Add, "+ Error: \r\nToo Few Arguments"},
        {{"abc", "4"}, Cmd::Mul, "× Error: \r\nBad Argument Type"},
        {{"4", "abc"}, Cmd::Sub, "- Error: \r\nBad Argument Type"},
        {{"2.5"}, Cmd::Roll, "ROLL Error: \r\nBad Argument Type"},
        {{"1E20"}, Cmd::Roll, "ROLL Error: \r\nBad Argument Type"},
        {{}, Cmd::Neg, "NEG Error: \r\nToo Few Arguments"},
        {{"x"}, Cmd::Abs, "ABS Error: \r\nBad Argument Type"},
        {{"1", "2"}, Cmd::Rotate, "ROT Error: \r\nToo Few Arguments"},
        {{"1"}, Cmd::Swap, "SWAP Error: \r\nToo Few Arguments"},
        {{"1"}, Cmd::Dup2, "DUP2 Error: \r\nToo Few Arguments"},
    };
    for (const auto& c : cases) {
        TestCalc t;
        for (const auto& s : c.stack)
            tallix::testing::Arrange(t.calc,
                                     [&](tallix::Calculator::Change& ch) { ch.PushText(s); });
        RunCommand(t.calc, c.cmd);
        EXPECT_EQ(t.LastMessage(), c.message);
        EXPECT_EQ(t.Stack(), c.stack) << c.message;
    }
}

TEST(Primitives, LongUnparsableTextComesBackWhole) {
    TestCalc t;
    std::string longText(200, 'z');
    tallix::testing::Arrange(t.calc,
                             [&](tallix::Calculator::Change& ch) { ch.PushText(longText); });
    RunCommand(t.calc, Cmd::Neg);
    EXPECT_EQ(t.Stack(), Strings{longText});
    std::string popped;
    ASSERT_TRUE(t.calc.Apply({}, [&](tallix::Calculator::Change& c) { return c.PopText(popped); }));
    EXPECT_EQ(popped.size(), 80u);
}

// A text longer than the entry line (from a stack file) is read whole by
// operations, as the display reads it.
TEST(Primitives, OperationsTakeTheValueTheDisplayShows) {
    const std::string hundredDigits = "1" + std::string(99, '0');
    const std::string longFraction = "0." + std::string(90, '0') + "25";
    struct Case {
        const char* name;
        Strings before; // deepest first
        const char* keys;
        Cmd cmd;
        Strings after;
    };
    const Case cases[] = {
        {"abs", {hundredDigits}, "", Cmd::Abs, {"1E99"}},
        {"neg", {hundredDigits}, "", Cmd::Neg, {"-1E99"}},
        {"two arguments", {hundredDigits, "1E99"}, "", Cmd::Div, {"1"}},
        {"as level 1 of two", {"2", hundredDigits}, "", Cmd::Mul, {"2E99"}},
        {"sum", {"1E99", hundredDigits}, "", Cmd::Sum, {"2E99"}},
        {"a small value", {longFraction}, "", Cmd::Abs, {"2.5E-91"}},
        {"edit and enter", {hundredDigits}, "^\r\r", Cmd::None, {"1E99"}},
    };
    {
        TestCalc t;
        EXPECT_EQ(t.calc.FormatForBase(hundredDigits), "1E99");
        EXPECT_EQ(t.calc.FormatForBase(longFraction), "2.5E-91");
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestCalc t;
        for (const std::string& s : c.before)
            tallix::testing::Arrange(t.calc,
                                     [&](tallix::Calculator::Change& ch) { ch.PushText(s); });
        t.Type(c.keys);
        if (c.cmd != Cmd::None) RunCommand(t.calc, c.cmd);
        EXPECT_EQ(t.Stack(), c.after);
        EXPECT_EQ(t.LastMessage(), "");
    }
}

TEST(Display, IntegerBasesShowRoundedValuesAndKeepTheText) {
    struct Case {
        Cmd base;
        int ws;
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {Cmd::Hex, 8, "2.5", "2"},
        {Cmd::Hex, 8, "3.5", "4"},
        {Cmd::Hex, 8, "1E30", "1E30"},
        {Cmd::Hex, 8, "abc", "abc"},
        {Cmd::Hex, 16, "255", "FF"},
        {Cmd::Hex, 16, "-1", "FFFF"},
        {Cmd::Bin, 8, "300", "100101100"},
        {Cmd::Bin, 8, "-1", "11111111"},
        {Cmd::Dec, 16, "1000000000000000", "1E15"},
        {Cmd::Dec, 16, "999999999999999", "999999999999999"},
        {Cmd::Dec, 16, "0.333333333333333333", "0.333333333333333"},
        {Cmd::Hex, 8, "-600", "-600"},
    };
    for (const auto& c : cases) {
        TestCalc t;
        tallix::testing::SetWordSize(t.calc, c.ws);
        RunCommand(t.calc, c.base);
        EXPECT_EQ(t.calc.FormatForBase(c.text), c.shown) << c.text;
    }
    TestCalc t;
    t.Push({"2.5"});
    RunCommand(t.calc, Cmd::Hex);
    RunCommand(t.calc, Cmd::Dec);
    EXPECT_EQ(t.calc.StackLines()[0].text, "2.5");
}

TEST(Display, FixedDecimals) {
    TestCalc t;
    tallix::testing::SetFixLength(t.calc, 2);
    EXPECT_EQ(t.calc.FormatForBase("2.5"), "2.50");
    EXPECT_EQ(t.calc.FormatForBase("0.125"), "0.13");
    EXPECT_EQ(t.calc.FormatForBase("-0.001"), "0.00");
    EXPECT_EQ(t.calc.FormatForBase("1E20"), "1E20");
}

struct ScrollCase {
    int depth;
    int max, page, position, small, large;
};

TEST(Display, ScrollArithmetic) {
    const ScrollCase cases[] = {
        {7, 1000, 857, 143, 143, 858},
        {20, 14000, 4200, 9800, 700, 4200},
        {357919, 357913000, 5999, 357907001, 999, 5994},
    };
    for (const auto& c : cases) {
        TestCalc t;
        for (int i = 0; i < c.depth; ++i)
            tallix::testing::Arrange(t.calc, [&](tallix::Calculator::Change& ch) {
                ch.PushText(std::to_string(i + 1));
            });
        const auto sb = t.calc.ScrollBar();
        EXPECT_TRUE(sb.Visible);
        EXPECT_EQ(sb.Max, c.max) << c.depth;
        EXPECT_EQ(sb.PageSize, c.page) << c.depth;
        EXPECT_EQ(sb.Position, c.position) << c.depth;
        EXPECT_EQ(sb.SmallChange, c.small) << c.depth;
        EXPECT_EQ(sb.LargeChange, c.large) << c.depth;
    }
}

TEST(Display, LinesLabelsAndScrolling) {
    TestCalc t;
    t.Push({"1", "2", "3"});
    auto lines = t.calc.StackLines();
    EXPECT_EQ(lines[0].text, "3");
    EXPECT_EQ(lines[2].text, "1");
    EXPECT_EQ(lines[3].text, "");
    EXPECT_EQ(lines[5].label, "6:");
    EXPECT_FALSE(t.calc.ScrollBar().Visible);

    TestCalc s;
    for (int i = 1; i <= 7; ++i)
        tallix::testing::Arrange(
            s.calc, [&](tallix::Calculator::Change& ch) { ch.PushText(std::to_string(i)); });
    s.calc.ScrollBarScroll(s.calc.ScrollBar().Position - s.calc.ScrollBar().SmallChange);
    EXPECT_EQ(s.calc.ScrollBar().Position, 0);
    lines = s.calc.StackLines();
    EXPECT_EQ(lines[0].label, "2:");
    EXPECT_EQ(lines[0].text, "6");
    EXPECT_EQ(lines[5].label, "7:");
    // A command that pushes brings the view back to level 1.
    RunCommand(s.calc, Cmd::Depth);
    EXPECT_EQ(s.calc.StackLines()[0].text, "7");
    EXPECT_EQ(s.calc.StackLines()[0].label, "1:");

    TestCalc d;
    for (int i = 1; i <= 20; ++i)
        tallix::testing::Arrange(
            d.calc, [&](tallix::Calculator::Change& ch) { ch.PushText(std::to_string(i)); });
    d.calc.ScrollBarScroll(0);
    lines = d.calc.StackLines();
    EXPECT_EQ(lines[0].label, "15:");
    EXPECT_EQ(lines[5].label, "20:");
    EXPECT_EQ(lines[5].text, "1");
    d.calc.ScrollBarScroll(1 << 30); // clamped to the top of the stack
    EXPECT_EQ(d.calc.StackLines()[0].label, "1:");

    tallix::testing::Arrange(d.calc, [&](tallix::Calculator::Change& ch) { ch.ClearStack(); });
    EXPECT_FALSE(d.calc.ScrollBar().Visible);
}

TEST(Display, DeepStacksStayWithinThirtyTwoBitsAndReachBothEnds) {
    for (int depth : {357920, 2500000, 5000000}) {
        TestCalc t;
        t.calc.ReserveStack(static_cast<std::size_t>(depth));
        for (int i = 0; i < depth; ++i)
            tallix::testing::Arrange(t.calc,
                                     [&](tallix::Calculator::Change& ch) { ch.PushText("1"); });
        const auto sb = t.calc.ScrollBar();
        EXPECT_GT(sb.Max, 0);
        EXPECT_GE(sb.SmallChange, 1);
        EXPECT_LE(sb.LargeChange, 32767);
        EXPECT_EQ(t.calc.FirstShownIndex(), 0u);
        t.calc.ScrollBarScroll(0);
        EXPECT_EQ(t.calc.FirstShownIndex(), static_cast<std::size_t>(depth - 6)) << depth;
        // One step up from the top shows the next level, not a jump.
        t.calc.ScrollBarScroll(sb.Max - sb.PageSize - sb.SmallChange);
        EXPECT_LE(t.calc.FirstShownIndex(), 2u) << depth;
        EXPECT_GE(t.calc.FirstShownIndex(), 1u) << depth;
    }
}

} // namespace
