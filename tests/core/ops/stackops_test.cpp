// Arithmetic and stack manipulation in the command frame.
#include <gtest/gtest.h>

#include "test_calc.h"

using tallix::Cmd;
using tallix::testing::TestCalc;
using Strings = std::vector<std::string>;

namespace {

struct OpCase {
    Strings before; // deepest first
    Cmd cmd;
    Strings after;
    const char* message;
};

TEST(StackOps, ResultsAndMessages) {
    const OpCase cases[] = {
        {{"7", "2"}, Cmd::Div, {"3.5"}, ""},
        {{"2", "0"}, Cmd::Div, {"2", "0"}, "÷ Error: \r\nInfinite Result"},
        {{"5", "3"}, Cmd::Sub, {"2"}, ""},
        {{"1.50", "2"}, Cmd::Swap, {"2", "1.5"}, ""},
        {{"1", "2"}, Cmd::Dup2, {"1", "2", "1", "2"}, ""},
        {{}, Cmd::Depth, {"0"}, ""},
        {{"a", "b"}, Cmd::Depth, {"a", "b", "2"}, ""},
        {{}, Cmd::Sum, {"0"}, ""},
        {{"1", "2", "3.5"}, Cmd::Sum, {"6.5"}, ""},
        {{"1", "x", "3"}, Cmd::Sum, {"1", "x", "3"}, "SUM Error: \r\nBad Argument Type"},
        {{"1", "2", "3"}, Cmd::Rotate, {"2", "3", "1"}, ""},
        {{"1", "2", "3", "3"}, Cmd::Roll, {"2", "3", "1"}, ""},
        {{"1", "2", "3", "-3"}, Cmd::Roll, {"3", "1", "2"}, ""},
        {{"1", "2", "3", "1"}, Cmd::Roll, {"1", "2", "3"}, ""},
        {{"1", "2", "3", "0"}, Cmd::Roll, {"1", "2", "3"}, ""},
        {{"1", "2", "3", "-1"}, Cmd::Roll, {"1", "2", "3"}, ""},
        {{"1", "2", "3", "4"},
         Cmd::Roll,
         {"1", "2", "3", "4"},
         "ROLL Error: \r\nToo Few Arguments"},
        {{"1", "2", "-2147483648"},
         Cmd::Roll,
         {"1", "2", "-2147483648"},
         "ROLL Error: \r\nToo Few Arguments"},
        {{"1", "2", "2.5"}, Cmd::Roll, {"1", "2", "2.5"}, "ROLL Error: \r\nBad Argument Type"},
        {{"a", "1.0", "2"}, Cmd::Rotate, {"1.0", "2", "a"}, ""},
        {{"1E4000", "1E4000"}, Cmd::Mul, {"1E4000", "1E4000"}, "× Error: \r\nOverflow"},
        {{"1E4932", "1E4932"}, Cmd::Add, {"1E4932", "1E4932"}, "+ Error: \r\nOverflow"},
        {{"-1E4932", "1E4932"}, Cmd::Sub, {"-1E4932", "1E4932"}, "- Error: \r\nOverflow"},
        {{"1E4000", "1E-4000"}, Cmd::Div, {"1E4000", "1E-4000"}, "÷ Error: \r\nOverflow"},
        {{"1E4932", "1E4932"}, Cmd::Sum, {"1E4932", "1E4932"}, "SUM Error: \r\nOverflow"},
        {{"5"}, Cmd::Neg, {"-5"}, ""},
        {{"-5"}, Cmd::Abs, {"5"}, ""},
        {{"5", "6"}, Cmd::Drop, {"5"}, ""},
    };
    for (const auto& c : cases) {
        TestCalc t;
        for (const auto& s : c.before)
            tallix::testing::Arrange(t.calc,
                                     [&](tallix::Calculator::Change& ch) { ch.PushText(s); });
        RunCommand(t.calc, c.cmd);
        EXPECT_EQ(t.Stack(), c.after) << c.message << " #" << (&c - cases);
        EXPECT_EQ(t.LastMessage(), c.message) << " #" << (&c - cases);
    }
}

TEST(StackOps, LastBringsBackArgumentsAfterSuccessAndFailure) {
    TestCalc t;
    t.Type("4\r6*");
    EXPECT_EQ(t.Stack(), (Strings{"24"}));
    t.Type("z");
    EXPECT_EQ(t.Stack(), (Strings{"24", "4", "6"}));
    t.Type("z");
    EXPECT_EQ(t.Stack(), (Strings{"24", "4", "6", "4", "6"}));

    TestCalc f;
    f.Type("5\r0/");
    f.Type("z");
    EXPECT_EQ(f.Stack(), (Strings{"5", "0", "5", "0"}));

    TestCalc none;
    none.Type("z");
    EXPECT_TRUE(none.Stack().empty());
}

TEST(StackOps, ClrDiscardsTheEntryAndKeepsLastArguments) {
    TestCalc t;
    t.Type("3\r4+");
    t.Type("9^z");
    EXPECT_TRUE(t.Stack().empty());
    EXPECT_EQ(t.calc.Entry(), "");
    EXPECT_EQ(t.calc.LastNum(), 2u);
    EXPECT_EQ(t.calc.LastX(), 4);
}

TEST(StackOps, SumAndPiKeepLastArguments) {
    TestCalc t;
    t.Type("2\r3+");
    t.Type("p^p");
    EXPECT_EQ(t.calc.LastX(), 3);
    EXPECT_EQ(t.calc.LastY(), 2);
    EXPECT_EQ(t.Stack(), (Strings{"8.14159265358979324"}));
}

TEST(StackOps, ArithmeticIgnoresTheWordSize) {
    TestCalc t;
    tallix::testing::SetWordSize(t.calc, 8);
    RunCommand(t.calc, Cmd::Hex);
    tallix::testing::SetEntry(t.calc, "7F");
    t.Type("\r1+");
    EXPECT_EQ(t.Stack(), (Strings{"128"}));
    EXPECT_EQ(t.calc.StackLines()[0].text, "80");
}

TEST(StackOps, RotateAndRollMoveTextsUnchanged) {
    TestCalc t;
    t.Push({"1.50", "abc", "2.0", "3"});
    RunCommand(t.calc, Cmd::Roll);
    EXPECT_EQ(t.Stack(), (Strings{"abc", "2.0", "1.50"}));
}

TEST(StackOps, RollIsLinearInItsCount) {
    TestCalc t;
    const int n = 200000;
    t.calc.ReserveStack(n + 1);
    for (int i = 0; i < n; ++i)
        tallix::testing::Arrange(
            t.calc, [&](tallix::Calculator::Change& ch) { ch.PushText(std::to_string(i)); });
    tallix::testing::Arrange(
        t.calc, [&](tallix::Calculator::Change& ch) { ch.PushText(std::to_string(n)); });
    RunCommand(t.calc, Cmd::Roll);
    EXPECT_EQ(t.calc.Stack().at(0), "0");
    EXPECT_EQ(t.calc.Stack().at(1), std::to_string(n - 1));
    tallix::testing::Arrange(
        t.calc, [&](tallix::Calculator::Change& ch) { ch.PushText(std::to_string(-n)); });
    RunCommand(t.calc, Cmd::Roll);
    EXPECT_EQ(t.calc.Stack().at(n - 1), "0");
}

} // namespace
