// Drives a Calculator the way the window does for the operation tests:
// numbers are typed on the keypad and entered, keyed functions are pressed
// (with Shift for a shifted one), the others run as their menu item.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/calc/calculator.h"
#include "core/commands/dispatch.h"
#include "test_calc.h"

namespace tallix::opstest {

// A TestCalc that types whole numbers and runs commands the way the
// window does.
struct OpsCalc : testing::TestCalc {
    void Press(Key key) { PressKey(calc, key); }

    // Types a number as the keypad does: digits and separator, then ± for a
    // negative mantissa, then EEX, the exponent digits and ± for a negative
    // exponent. In an integer base only the digits are typed.
    void TypeNumber(std::string_view number) {
        bool negative = false;
        if (!number.empty() && number[0] == '-') {
            negative = true;
            number.remove_prefix(1);
        }
        const std::size_t e =
            calc.CurrentBase() == Base::DEC ? number.find_first_of("eE") : std::string_view::npos;
        for (char c : number.substr(0, e))
            Press(KeyForChar(static_cast<unsigned char>(c), calc.DecimalChar()));
        if (negative) Press(Key::KPlusMinus);
        if (e == std::string_view::npos) return;
        std::string_view exp = number.substr(e + 1);
        Press(Key::KEex);
        const bool expNegative = !exp.empty() && exp[0] == '-';
        if (expNegative || (!exp.empty() && exp[0] == '+')) exp.remove_prefix(1);
        for (char c : exp) Press(KeyForChar(static_cast<unsigned char>(c), calc.DecimalChar()));
        if (expNegative) Press(Key::KPlusMinus);
    }

    // Types a number and presses Enter.
    void Enter(std::string_view number) {
        TypeNumber(number);
        Press(Key::KEnter);
    }

    void EnterAll(const std::vector<std::string>& numbers) {
        for (const std::string& n : numbers) Enter(n);
    }

    // A command through its key, as a click with the matching Shift state,
    // or as its menu item when no key carries it.
    void Do(Cmd cmd) {
        const CommandDef* def = CommandInfo(cmd);
        const Key k = def ? def->key.key : Key::None;
        if (k != Key::None && k != Key::KEnter && k != Key::KBackspace) {
            if (calc.ShiftDown() != def->key.shifted) Press(Key::KShift);
            Press(k);
            return;
        }
        RunCommand(calc, cmd);
    }

    std::string Top() const { return calc.Stack().empty() ? std::string() : calc.Stack().at(0); }
};

inline std::string Err(std::string_view name, std::string_view reason) {
    return std::string(name) + " Error: \r\n" + std::string(reason);
}

// One row of an operation table: the stack before (deepest first), the
// command, and the stack and message after it.
struct OpCase {
    AngleUnit angleMode;
    std::vector<std::string> before;
    Cmd cmd;
    std::vector<std::string> after;
    std::string message; // "" when none is expected
    int wordSize = 16;
};

// Runs a row on a fresh calculator and checks the stack, the message, and
// that Last then brings back the popped arguments (after success and
// failure alike).
inline void RunOpCase(const OpCase& c) {
    OpsCalc d;
    tallix::testing::Arrange(
        d.calc, [&](tallix::Calculator::Change& ch) { ch.SelectAngleMode(c.angleMode); });
    tallix::testing::SetWordSize(d.calc, c.wordSize);
    d.EnterAll(c.before);
    const std::vector<std::string> entered = d.Stack();
    d.Do(c.cmd);
    EXPECT_EQ(d.Stack(), c.after);
    if (c.message.empty())
        EXPECT_TRUE(d.shell.messages.empty()) << d.LastMessage();
    else
        EXPECT_EQ(d.LastMessage(), c.message);
    const CommandDef* def = CommandInfo(c.cmd);
    ASSERT_NE(def, nullptr);
    const OpSpec* op = &def->op;
    // A pop that failed (too few entries, or a text the pop refuses) records
    // nothing; the entry of the last number is what Last holds then.
    if (op->args == 0 || d.calc.LastNum() != static_cast<std::uint32_t>(op->args)) return;
    d.Do(Cmd::Last);
    std::vector<std::string> stack = d.Stack();
    const std::vector<std::string> args(entered.end() - op->args, entered.end());
    ASSERT_GE(stack.size(), args.size());
    EXPECT_EQ(std::vector<std::string>(stack.end() - op->args, stack.end()), args) << "Last";
}

inline std::string Describe(const OpCase& c) {
    std::string s = "mode " + std::to_string(AngleUnitNumber(c.angleMode)) + ", word " +
                    std::to_string(c.wordSize) + ":";
    for (const std::string& b : c.before) s += " " + b;
    s += " " + std::string(CommandInfo(c.cmd)->op.name);
    return s;
}

inline void RunOpCases(std::span<const OpCase> cases) {
    for (const OpCase& c : cases) {
        SCOPED_TRACE(Describe(c));
        RunOpCase(c);
    }
}

} // namespace tallix::opstest
