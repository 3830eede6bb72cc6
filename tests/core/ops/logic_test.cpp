// Bitwise logic, shifts and rotations, and the word size.
#include <gtest/gtest.h>

#include "ops_driver.h"

using namespace tallix;
using namespace tallix::opstest;

namespace {

constexpr AngleUnit RAD = AngleUnit::Radians;

TEST(LogicOps, ResultsAndMessages) {
    const OpCase cases[] = {
        {RAD, {"12", "10"}, Cmd::And, {"8"}, "", 16},
        {RAD, {"12", "10"}, Cmd::Or, {"14"}, "", 16},
        {RAD, {"12", "10"}, Cmd::Xor, {"6"}, "", 16},
        {RAD, {"-1", "5"}, Cmd::And, {"5"}, "", 16},
        {RAD, {"-1", "0"}, Cmd::Or, {"65535"}, "", 16},
        // Arguments are rounded to whole numbers, ties to even.
        {RAD, {"12.5", "10.5"}, Cmd::And, {"8"}, "", 16},
        {RAD, {"3.5", "7"}, Cmd::And, {"4"}, "", 16},
        {RAD, {"-0.5", "7"}, Cmd::Or, {"7"}, "", 16},
        {RAD, {"0"}, Cmd::Not, {"255"}, "", 8},
        {RAD, {"255"}, Cmd::Not, {"0"}, "", 8},
        {RAD, {"-1"}, Cmd::Not, {"0"}, "", 8},
        {RAD, {"0"}, Cmd::Not, {"65535"}, "", 16},
        {RAD, {"300"}, Cmd::Not, {"211"}, "", 8},
        {RAD, {"200"}, Cmd::SL, {"144"}, "", 8},
        {RAD, {"200"}, Cmd::RL, {"145"}, "", 8},
        {RAD, {"1"}, Cmd::SR, {"0"}, "", 8},
        {RAD, {"1"}, Cmd::RR, {"128"}, "", 8},
        {RAD, {"-2"}, Cmd::SR, {"32767"}, "", 16},
        {RAD, {"-1"}, Cmd::SL, {"72057594037927934"}, "", 56},
        // A value without a 64-bit integer, or one the word cannot hold.
        {RAD, {"1E19", "1"}, Cmd::And, {"1E19", "1"}, Err("AND", "Bad Argument Type"), 16},
        {RAD, {"1", "-1E19"}, Cmd::Xor, {"1", "-1E19"}, Err("XOR", "Bad Argument Type"), 16},
        {RAD, {"9.3E18"}, Cmd::Not, {"9.3E18"}, Err("NOT", "Bad Argument Type"), 16},
        {RAD, {"-600"}, Cmd::Not, {"-600"}, Err("NOT", "Bad Argument Type"), 8},
        {RAD, {"-600", "1"}, Cmd::Or, {"-600", "1"}, Err("OR", "Bad Argument Type"), 8},
        {RAD, {"-600"}, Cmd::RR, {"-600"}, Err("RR", "Bad Argument Type"), 8},
        {RAD, {"5"}, Cmd::And, {"5"}, Err("AND", "Too Few Arguments"), 16},
        {RAD, {}, Cmd::SL, {}, Err("SL", "Too Few Arguments"), 16},
        {RAD, {}, Cmd::STWS, {}, Err("STWS", "Too Few Arguments"), 16},
    };
    RunOpCases(cases);
}

TEST(LogicOps, TextThatIsNoNumber) {
    OpsCalc t;
    t.Push({"abc", "5"});
    t.Do(Cmd::Or);
    EXPECT_EQ(t.LastMessage(), Err("OR", "Bad Argument Type"));
    EXPECT_EQ(t.Stack(), (std::vector<std::string>{"abc", "5"}));
}

TEST(LogicOps, SameResultsInEveryBase) {
    for (Cmd base : {Cmd::Bin, Cmd::Oct, Cmd::Dec, Cmd::Hex}) {
        OpsCalc t;
        t.Push({"12", "10"});
        t.Do(base);
        t.Do(Cmd::And);
        EXPECT_EQ(t.Stack(), (std::vector<std::string>{"8"}));
    }
}

TEST(LogicOps, HexEntryAndNot) {
    OpsCalc t;
    t.Do(Cmd::Hex);
    t.Enter("FFFF");
    EXPECT_EQ(t.Stack(), (std::vector<std::string>{"-1"}));
    t.Do(Cmd::Not);
    EXPECT_EQ(t.Stack(), (std::vector<std::string>{"0"}));
    t.Enter("F0");
    t.Do(Cmd::Not);
    EXPECT_EQ(t.Stack(), (std::vector<std::string>{"0", "65295"}));
    EXPECT_EQ(t.calc.FormatForBase(t.Top()), "FF0F");
}

TEST(LogicOps, LastAfterAFailedConversionPushesTheArgumentsAgain) {
    OpsCalc t;
    tallix::testing::SetWordSize(t.calc, 8);
    t.Enter("-600");
    t.Enter("3");
    t.Do(Cmd::And);
    EXPECT_EQ(t.LastMessage(), Err("AND", "Bad Argument Type"));
    t.Do(Cmd::Last);
    EXPECT_EQ(t.Stack(), (std::vector<std::string>{"-600", "3", "-600", "3"}));
}

TEST(WordSize, StoreClampsAndRecallPushes) {
    struct Case {
        const char* value;
        int wordSize;
    };
    const Case cases[] = {{"8", 8}, {"0", 1}, {"-5", 1}, {"64", 56}, {"56", 56}, {"1", 1}};
    for (const Case& c : cases) {
        OpsCalc t;
        t.Enter(c.value);
        t.Do(Cmd::STWS);
        EXPECT_EQ(t.calc.WordSize(), c.wordSize) << c.value;
        EXPECT_TRUE(t.Stack().empty());
        EXPECT_TRUE(t.shell.messages.empty());
        t.Do(Cmd::RCWS);
        EXPECT_EQ(t.Stack(), (std::vector<std::string>{std::to_string(c.wordSize)}));
    }
}

TEST(WordSize, StoreRefusesAFraction) {
    OpsCalc t;
    t.Enter("2.5");
    t.Do(Cmd::STWS);
    EXPECT_EQ(t.LastMessage(), Err("STWS", "Bad Argument Type"));
    EXPECT_EQ(t.Stack(), (std::vector<std::string>{"2.5"}));
    EXPECT_EQ(t.calc.WordSize(), 16);
}

TEST(WordSize, RecallStartsAtSixteenAndLeavesLastAlone) {
    OpsCalc t;
    t.Enter("7");
    t.Do(Cmd::RCWS);
    t.Do(Cmd::Last);
    EXPECT_EQ(t.Stack(), (std::vector<std::string>{"7", "16", "7"}));
}

TEST(WordSize, StoreRedrawsInTheNewWord) {
    OpsCalc t;
    t.Do(Cmd::Hex);
    t.Push({"-1"});
    EXPECT_EQ(t.calc.FormatForBase(t.Top()), "FFFF");
    t.Enter("8");
    t.Do(Cmd::STWS);
    EXPECT_EQ(t.calc.StackLines()[0].text, "FF");
}

} // namespace
