// Copy and Copy Stack, then Paste in the same base, give back the same
// values: a property checked on many stacks in every base, word size, Fix
// and decimal separator.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/commands/clipboard.h"
#include "core/number/numtext.h"
#include "test_calc.h"

using tallix::Base;
using tallix::Cmd;
using tallix::Value;

namespace {

struct Modes {
    Base base;
    int wordSize;
    int fix;
    char dc;
};

struct Calc {
    explicit Calc(const Modes& m) : calc(shell, m.dc) {
        tallix::testing::SetBase(calc, m.base);
        tallix::testing::SetWordSize(calc, m.wordSize);
        tallix::testing::SetFixLength(calc, m.fix);
    }
    tallix::testing::RecordingShell shell;
    tallix::Calculator calc;
    // The value of every level, deepest first.
    std::vector<Value> Values() const {
        std::vector<Value> out;
        for (std::size_t i = calc.Depth(); i-- > 0;) {
            auto v = tallix::ParseReal(calc.Stack().at(i), calc.DecimalChar());
            out.push_back(v ? *v : NAN);
        }
        return out;
    }
};

// Values as the calculator makes them: whole numbers near the word's and
// 64 bits' limits, fractions, results of divisions, huge and tiny values.
std::vector<Value> SomeValues(std::mt19937_64& rng, int wordSize) {
    const Value word = std::ldexp(1.0L, wordSize);
    std::vector<Value> v = {
        0,        1,    -1,       2.5L,      -2.5L,         1e25L,   -1e25L,   1e-300L, 1e4000L,
        word - 1, word, word / 2, -word / 2, -word / 2 - 1, 9.2e18L, -9.3e18L, 15091,   1.0L / 3};
    std::uniform_int_distribution<std::int64_t> wide(-(std::int64_t{1} << 62),
                                                     std::int64_t{1} << 62);
    std::uniform_int_distribution<std::int64_t> inWord(-static_cast<std::int64_t>(word),
                                                       static_cast<std::int64_t>(word));
    std::uniform_real_distribution<double> real(-1e6, 1e6);
    for (int i = 0; i < 20; ++i) {
        v.push_back(static_cast<Value>(wide(rng)));
        v.push_back(static_cast<Value>(inWord(rng)));
        v.push_back(static_cast<Value>(real(rng)) / 7);
    }
    return v;
}

TEST(CopyPaste, GivesBackTheSameValuesInEveryBase) {
    std::mt19937_64 rng(20261207);
    int checked = 0;
    for (Base base : {Base::BIN, Base::OCT, Base::DEC, Base::HEX})
        for (int ws : {1, 6, 16, 32, 56})
            for (int fix : {-1, 2})
                for (char dc : {'.', ','}) {
                    const Modes m{base, ws, fix, dc};
                    Calc from(m);
                    for (Value v : SomeValues(rng, ws))
                        tallix::testing::Arrange(
                            from.calc, [&](tallix::Calculator::Change& ch) { ch.PushValue(v); });
                    const std::vector<Value> values = from.Values();
                    SCOPED_TRACE(testing::Message() << "base " << static_cast<int>(base) << " ws "
                                                    << ws << " fix " << fix << " dc " << dc);

                    // Copy Stack, then Paste.
                    Calc to(m);
                    ASSERT_TRUE(tallix::PasteText(to.calc, tallix::CopyStackText(from.calc)))
                        << (to.shell.messages.empty() ? "" : to.shell.messages.back());
                    EXPECT_EQ(to.Values(), values);

                    // Copy of each level, then Paste.
                    Calc one(m);
                    for (std::size_t i = from.calc.Depth(); i-- > 0;) {
                        Calc level(m);
                        tallix::testing::Arrange(level.calc, [&](tallix::Calculator::Change& ch) {
                            ch.PushText(from.calc.Stack().at(i));
                        });
                        const std::string copied = tallix::CopyText(level.calc);
                        ASSERT_TRUE(tallix::PasteText(one.calc, copied)) << copied;
                        const Value pasted = one.Values().back();
                        EXPECT_EQ(pasted, values[from.calc.Depth() - 1 - i]) << copied;
                        ++checked;
                    }
                }
    EXPECT_GT(checked, 3000);
}

// The cases seen by hand: a value beyond a narrow word, and DEC's whole text.
TEST(CopyPaste, TheCasesSeenByHand) {
    tallix::testing::TestCalc t;
    t.Type("15091\r");
    RunCommand(t.calc, Cmd::Hex);
    t.Type("6");
    RunCommand(t.calc, Cmd::Dec);
    RunCommand(t.calc, Cmd::STWS);
    RunCommand(t.calc, Cmd::Hex);
    EXPECT_EQ(t.calc.WordSize(), 6);
    EXPECT_EQ(tallix::CopyStackText(t.calc), "DEC:15091\n");
    RunCommand(t.calc, Cmd::Dec);
    t.Type("1\r3/");
    EXPECT_EQ(tallix::CopyStackText(t.calc), "15091\n0.333333333333333333\n");
}

} // namespace
