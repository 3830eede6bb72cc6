// Undo and redo: every kind of step, the steps a failed command does not
// make, exact restoring of texts and modes, the depth and the memory cap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stackfile_fixture.h"
#include "test_calc.h"

using tallix::Base;
using tallix::Calculator;
using tallix::Cmd;
using tallix::History;
using tallix::testing::TestCalc;
using Strings = std::vector<std::string>;

namespace {

// Everything an undo step restores.
struct State {
    Strings stack; // deepest first, as stored
    long double lastX, lastY;
    std::uint32_t lastNum;
    int fix, wordSize, angle;
    Base base;
    bool operator==(const State&) const = default;
};

State Snapshot(const TestCalc& t) {
    const Calculator& c = t.calc;
    return {t.Stack(),
            c.LastX(),
            c.LastY(),
            c.LastNum(),
            c.FixLength(),
            c.WordSize(),
            tallix::AngleUnitNumber(c.AngleMode()),
            c.CurrentBase()};
}

std::ostream& operator<<(std::ostream& os, const State& s) {
    os << "[";
    for (const std::string& e : s.stack) os << " '" << e << "'";
    return os << " ] last " << static_cast<double>(s.lastX) << "/" << static_cast<double>(s.lastY)
              << "#" << s.lastNum << " fix " << s.fix << " ws " << s.wordSize << " angle "
              << s.angle << " base " << static_cast<int>(s.base);
}

// One command on a prepared calculator.
struct StepCase {
    const char* name;
    Strings before;    // stored as they stand, deepest first
    const char* setup; // keys typed before the command, "" for none
    const char* entry; // the entry line's text then
    Cmd cmd;           // Cmd::None: the keys below are the command
    const char* keys;  // typed as the command ("^" = Shift)
    bool step;         // whether it makes an undo step
    Strings after;     // the stack after the command
};

void Prepare(TestCalc& t, const StepCase& c) {
    for (const std::string& s : c.before)
        tallix::testing::Arrange(t.calc, [&](tallix::Calculator::Change& ch) { ch.PushText(s); });
    t.Type(c.setup);
    tallix::testing::SetEntry(t.calc, c.entry);
}

void Act(TestCalc& t, const StepCase& c) {
    if (c.cmd != Cmd::None)
        RunCommand(t.calc, c.cmd);
    else
        t.Type(c.keys);
}

TEST(UndoSteps, EveryKindOfStepUndoesAndRedoesExactly) {
    const std::string longText(200, '7');
    const StepCase cases[] = {
        {"enter a typed number", {}, "", "12.50", Cmd::None, "\r", true, {"12.5"}},
        {"space enters", {"1"}, "", "2", Cmd::None, " ", true, {"1", "2"}},
        {"enter duplicates", {"1.50"}, "", "", Cmd::None, "\r", true, {"1.5", "1.5"}},
        {"drop", {"7", " 8"}, "", "", Cmd::Drop, "", true, {"7"}},
        {"drop a long text", {"1", longText}, "", "", Cmd::Drop, "", true, {"1"}},
        {"clear", {"1", "2.0", "3"}, "", "", Cmd::Clr, "", true, {}},
        {"roll up", {"1", "2", "3", "4", "3"}, "", "", Cmd::Roll, "", true, {"1", "3", "4", "2"}},
        {"roll down",
         {"1", "2", "3", "4", "-3"},
         "",
         "",
         Cmd::Roll,
         "",
         true,
         {"1", "4", "2", "3"}},
        {"roll by one", {"1", "2", "1"}, "", "", Cmd::Roll, "", true, {"1", "2"}},
        {"rotate", {"1", "2", "3"}, "", "", Cmd::Rotate, "", true, {"2", "3", "1"}},
        {"sum", {"1.0", "2", "3"}, "", "", Cmd::Sum, "", true, {"6"}},
        {"sum key", {"1", "2"}, "", "", Cmd::None, "^p", true, {"3"}},
        {"add", {"1.50", "2"}, "", "", Cmd::Add, "", true, {"3.5"}},
        {"swap", {"1", "2"}, "", "", Cmd::Swap, "", true, {"2", "1"}},
        {"last", {}, "3\r4+", "", Cmd::Last, "", true, {"7", "3", "4"}},
        {"dup2", {"1", "2"}, "", "", Cmd::Dup2, "", true, {"1", "2", "1", "2"}},
        {"depth", {"1", "2"}, "", "", Cmd::Depth, "", true, {"1", "2", "2"}},
        {"neg", {"+2"}, "", "", Cmd::Neg, "", true, {"-2"}},
        {"sine", {"0"}, "", "", Cmd::Sin, "", true, {"0"}},
        {"fraction", {"0.75"}, "", "", Cmd::ToFrac, "", true, {"3", "4"}},
        {"fix", {"2"}, "", "", Cmd::Fix, "", true, {}},
        {"fix refused keeps its argument consumed", {"1E19"}, "", "", Cmd::Fix, "", true, {}},
        {"word size", {"8"}, "", "", Cmd::STWS, "", true, {}},
        {"base", {"255"}, "", "", Cmd::Hex, "", true, {"255"}},
        {"angle unit", {}, "", "", Cmd::Deg, "", true, {}},
        {"edit", {"1.50"}, "", "", Cmd::None, "^\r", true, {}},
        {"pi", {}, "", "", Cmd::Pi, "", true, {"3.14159265358979324"}},
        // Failures that put their arguments back, and commands that change
        // nothing, make no step.
        {"divide by zero", {"1", "0"}, "", "", Cmd::Div, "", false, {"1", "0"}},
        {"too few arguments", {"1"}, "", "", Cmd::Add, "", false, {"1"}},
        {"bad argument", {"abc"}, "", "", Cmd::Sin, "", false, {"abc"}},
        {"bad whole number", {"2.5", "3"}, "", "", Cmd::Gcd, "", false, {"2.5", "3"}},
        {"arc sine out of range", {"2"}, "", "", Cmd::ASin, "", false, {"2"}},
        {"too many decimals",
         {"0.12345678901234"},
         "",
         "",
         Cmd::ToFrac,
         "",
         false,
         {"0.12345678901234"}},
        {"rotate too few", {"1", "2"}, "", "", Cmd::Rotate, "", false, {"1", "2"}},
        {"roll too far", {"1", "5"}, "", "", Cmd::Roll, "", false, {"1", "5"}},
        {"sum of a text", {"1", "x"}, "", "", Cmd::Sum, "", false, {"1", "x"}},
        {"bad entry", {"9"}, "", "-", Cmd::None, "\r", false, {"9"}},
        {"enter on an empty stack", {}, "", "", Cmd::None, "\r", false, {}},
        {"edit on an empty stack", {}, "", "", Cmd::None, "^\r", false, {}},
        {"clear an empty stack", {}, "", "", Cmd::Clr, "", false, {}},
        {"the current angle unit", {}, "", "", Cmd::Rad, "", false, {}},
        {"the current base", {"1"}, "", "", Cmd::Dec, "", false, {"1"}},
        {"typing digits", {"1"}, "", "", Cmd::None, "123", false, {"1"}},
        {"shift", {"1"}, "", "", Cmd::None, "^", false, {"1"}},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestCalc t;
        Prepare(t, c);
        const std::size_t stepsBefore = t.calc.UndoHistory().UndoCount();
        const State s0 = Snapshot(t);
        Act(t, c);
        const State s1 = Snapshot(t);
        EXPECT_EQ(s1.stack, c.after);
        EXPECT_EQ(t.calc.UndoHistory().UndoCount(), stepsBefore + (c.step ? 1 : 0));
        if (!c.step) {
            if (stepsBefore == 0) {
                EXPECT_FALSE(t.calc.UndoHistory().CanUndo());
            }
            continue;
        }
        tallix::testing::SetEntry(t.calc, "5"); // the first undo clears a typed entry only
        ASSERT_TRUE(t.calc.Undo());
        EXPECT_EQ(t.calc.Entry(), "");
        EXPECT_EQ(Snapshot(t), s1);
        EXPECT_FALSE(t.calc.CanRedo());
        ASSERT_TRUE(t.calc.Undo());
        EXPECT_EQ(Snapshot(t), s0);
        EXPECT_TRUE(t.calc.CanRedo());
        ASSERT_TRUE(t.calc.Redo());
        EXPECT_EQ(Snapshot(t), s1);
        EXPECT_FALSE(t.calc.CanRedo());
        ASSERT_TRUE(t.calc.Undo());
        EXPECT_EQ(Snapshot(t), s0);
    }
}

TEST(UndoSteps, RandomRedoGivesTheSameNumberBack) {
    TestCalc t;
    RunCommand(t.calc, Cmd::Random);
    const Strings drawn = t.Stack();
    ASSERT_EQ(drawn.size(), 1u);
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_TRUE(t.Stack().empty());
    ASSERT_TRUE(t.calc.Redo());
    EXPECT_EQ(t.Stack(), drawn);
}

TEST(UndoSteps, TheTypedNumberIsAStepBeforeTheCommandThatEntersIt) {
    struct Case {
        const char* keys;
        Strings afterOneUndo;
        std::size_t steps;
    };
    const Case cases[] = {
        {"5s", {"5"}, 2},         // typed, then Sin
        {"1\r2+", {"1", "2"}, 3}, // 1 entered, 2 entered by +, the sum
        {"2\r0/", {"2"}, 2},      // the division fails: only the entries are steps
        {"7^\b", {"7"}, 2},       // Shift Backspace enters the 7 and drops it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        TestCalc t;
        t.Type(c.keys);
        EXPECT_EQ(t.calc.UndoHistory().UndoCount(), c.steps);
        ASSERT_TRUE(t.calc.Undo());
        EXPECT_EQ(t.Stack(), c.afterOneUndo);
    }
}

TEST(UndoSteps, ChoosingABaseWithATypedNumberIsTwoSteps) {
    TestCalc t;
    RunCommand(t.calc, Cmd::Hex);
    t.Type("1F");
    RunCommand(t.calc, Cmd::Dec);
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_EQ(t.calc.CurrentBase(), Base::HEX);
    EXPECT_EQ(t.Stack(), Strings{"31"});
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_TRUE(t.Stack().empty());
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_EQ(t.calc.CurrentBase(), Base::DEC);
}

TEST(UndoSteps, ANewCommandAfterAnUndoDropsTheRedoSteps) {
    TestCalc t;
    t.Type("1\r2\r3\r");
    ASSERT_TRUE(t.calc.Undo());
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_EQ(t.calc.UndoHistory().RedoCount(), 2u);
    t.Type("9\r");
    EXPECT_FALSE(t.calc.CanRedo());
    EXPECT_FALSE(t.calc.Redo());
    EXPECT_EQ(t.Stack(), (Strings{"1", "9"}));
    ASSERT_TRUE(t.calc.Undo());
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_TRUE(t.Stack().empty());
}

TEST(UndoSteps, AFailedCommandLeavesTheRedoStepsAlone) {
    TestCalc t;
    t.Type("1\r2\r");
    ASSERT_TRUE(t.calc.Undo());
    RunCommand(t.calc, Cmd::Swap); // too few arguments
    EXPECT_TRUE(t.calc.CanRedo());
}

TEST(UndoSteps, NothingRunsInsideAStep) {
    TestCalc t;
    t.Type("1\r");
    t.calc.Apply({}, [&](Calculator::Change&) { EXPECT_FALSE(t.calc.Undo()); });
    EXPECT_TRUE(t.calc.Undo());
    t.calc.Apply({}, [&](Calculator::Change&) { EXPECT_FALSE(t.calc.Redo()); });
}

TEST(UndoSteps, NestedStepsAreOneStep) {
    TestCalc t;
    t.calc.Apply({}, [&](Calculator::Change&) {
        t.Type("1\r");
        t.Type("2\r");
        t.calc.Apply({}, [&](Calculator::Change& ch) { ch.PushText("3"); });
    });
    EXPECT_EQ(t.calc.UndoHistory().UndoCount(), 1u);
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_TRUE(t.Stack().empty());
}

// A state brought in from outside (settings, a test's arrangement) is no
// step, and the steps before it no longer fit it.
TEST(UndoSteps, ALoadForgetsTheHistory) {
    TestCalc t;
    t.Type("1\r2\r");
    ASSERT_TRUE(t.calc.Undo());
    tallix::testing::Arrange(t.calc, [&](tallix::Calculator::Change& ch) { ch.PushText("5"); });
    EXPECT_FALSE(t.calc.CanUndo());
    EXPECT_FALSE(t.calc.CanRedo());
    EXPECT_EQ(t.Stack(), (Strings{"1", "5"}));
}

TEST(UndoSteps, UndoAndRedoWithNothingToDoChangeNothing) {
    TestCalc t;
    EXPECT_FALSE(t.calc.CanUndo());
    EXPECT_FALSE(t.calc.Undo());
    EXPECT_FALSE(t.calc.Redo());
    EXPECT_TRUE(t.shell.messages.empty());
}

// As in an editor: the first Undo takes back what is being typed, and only
// that; Redo does not bring it back.
TEST(UndoSteps, TheFirstUndoWhileTypingClearsTheTypedTextOnly) {
    struct Case {
        const char* name;
        const char* keys;   // typed before the undos
        Strings afterFirst; // the stack after the first undo
        Strings afterSecond;
    };
    const Case cases[] = {
        {"after a command", "1\r2\r+5", {"3"}, {"1", "2"}},
        {"an exponent being typed", "7\r1x", {"7"}, {}},
        {"on a new history", "12", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestCalc t;
        t.Type(c.keys);
        ASSERT_FALSE(t.calc.Entry().empty());
        EXPECT_TRUE(t.calc.CanUndo());
        EXPECT_TRUE(t.calc.Undo());
        EXPECT_EQ(t.calc.Entry(), "");
        EXPECT_EQ(t.Stack(), c.afterFirst);
        EXPECT_FALSE(t.calc.Redo()); // the typed text is gone for good
        EXPECT_EQ(t.calc.Entry(), "");
        t.calc.Undo();
        EXPECT_EQ(t.Stack(), c.afterSecond);
        EXPECT_TRUE(t.shell.messages.empty());
    }
}

// What Edit put into the entry line was not typed: Undo takes back the
// Edit itself, in DEC and in an integer base; once changed, it was typed.
TEST(UndoSteps, UndoRightAfterEditGivesTheLevelBack) {
    for (Cmd base : {Cmd::Dec, Cmd::Hex}) {
        TestCalc t;
        RunCommand(t.calc, base);
        t.Type("5\r^\r");
        EXPECT_EQ(t.calc.Entry(), "5");
        ASSERT_TRUE(t.calc.Undo());
        EXPECT_EQ(t.Stack(), Strings{"5"});
        EXPECT_EQ(t.calc.Entry(), "");
        t.Type("^\r1");
        ASSERT_TRUE(t.calc.Undo());
        EXPECT_TRUE(t.Stack().empty());
        ASSERT_TRUE(t.calc.Undo());
        EXPECT_EQ(t.Stack(), Strings{"5"});
    }
}

// Redoing an Edit puts the level back into the entry line, as the Edit
// left it, rather than losing it; in an integer base Enter then gives back
// the original entry.
TEST(UndoSteps, RedoOfAnEditBringsTheEntryLineBack) {
    for (Cmd base : {Cmd::Dec, Cmd::Hex}) {
        TestCalc t;
        t.Type("1E30\r");
        RunCommand(t.calc, base);
        t.Type("^\r");
        const std::string edited = t.calc.Entry();
        ASSERT_FALSE(edited.empty());
        ASSERT_TRUE(t.calc.Undo());
        EXPECT_EQ(t.calc.Entry(), "");
        ASSERT_TRUE(t.calc.Redo());
        EXPECT_EQ(t.calc.Entry(), edited);
        EXPECT_TRUE(t.Stack().empty());
        t.Type("\r");
        EXPECT_EQ(t.Stack(), Strings{"1E30"});
    }
}

TEST(UndoSteps, BatchNamesRunUndoAndRedo) {
    TestCalc t;
    t.Type("1\r2+");
    RunAsNamed(t.calc, *tallix::FindCommand("undo"));
    EXPECT_EQ(t.Stack(), (Strings{"1", "2"}));
    RunAsNamed(t.calc, *tallix::FindCommand("REDO"));
    EXPECT_EQ(t.Stack(), Strings{"3"});
}

class UndoOpen : public tallix::testing::StackFileIo {};

TEST_F(UndoOpen, OpeningAStackFileIsOneStep) {
    const std::string path = PathOf("a.Stk");
    Put(path, "1\r\n2\r\n3\r\n");
    TestCalc t;
    t.Type("7\r8\r");
    auto open = [&t](const std::string& file) {
        return t.calc.Apply("Open", [&](Calculator::Change& c) {
            return static_cast<bool>(tallix::persist::LoadStackFile(file, c));
        });
    };
    ASSERT_TRUE(open(path));
    EXPECT_EQ(t.Stack(), (Strings{"3", "2", "1"}));
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_EQ(t.Stack(), (Strings{"7", "8"}));
    ASSERT_TRUE(t.calc.Redo());
    EXPECT_EQ(t.Stack(), (Strings{"3", "2", "1"}));
    // A file that cannot be read changes nothing and makes no step.
    EXPECT_FALSE(open(PathOf("missing.Stk")));
    EXPECT_EQ(t.calc.UndoHistory().UndoCount(), 3u);
}

// ---- depth and memory ---------------------------------------------------

TEST(UndoDepth, AThousandAndMoreStepsGoBackToTheStart) {
    TestCalc t;
    t.Push({"0"});
    const int kSteps = 1500;
    for (int i = 0; i < kSteps; ++i) t.Type("1+");
    EXPECT_EQ(t.Stack(), Strings{"1500"});
    EXPECT_EQ(t.calc.UndoHistory().UndoCount(), 2u * kSteps); // each entry and each sum
    while (t.calc.Undo()) {
    }
    EXPECT_EQ(t.Stack(), Strings{"0"});
    while (t.calc.Redo()) {
    }
    EXPECT_EQ(t.Stack(), Strings{"1500"});
}

TEST(UndoMemory, AStepHoldsWhatChangedNotTheStack) {
    TestCalc t;
    std::vector<std::string> levels(100000, "0.123456789012345678");
    tallix::testing::Arrange(t.calc,
                             [&](tallix::Calculator::Change& ch) { ch.ReplaceStack(levels); });
    tallix::testing::Arrange(t.calc, [&](tallix::Calculator::Change& ch) { ch.PushText("1"); });
    RunCommand(t.calc, Cmd::Add);
    EXPECT_LT(t.calc.UndoHistory().Bytes(), 1024u);
    // A clear keeps the old entries: they are what changed.
    RunCommand(t.calc, Cmd::Clr);
    EXPECT_GT(t.calc.UndoHistory().Bytes(), 100000u * sizeof(std::string));
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_EQ(t.calc.Depth(), 100000u);
    EXPECT_EQ(t.calc.Stack().at(99999), "0.123456789012345678");
}

TEST(UndoMemory, ATextCountsItsHeapBlockOnly) {
    // The library itself says how much a string holds in place.
    const std::size_t inPlace = std::string().capacity();
    const std::string texts[] = {"", std::string(inPlace, '1'), std::string(inPlace + 1, '1'),
                                 std::string(1000, '1')};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.size());
        const std::size_t heap = text.capacity() > inPlace ? text.capacity() + 1 : 0;
        EXPECT_EQ(History::TextBytes(text), sizeof(std::string) + heap);
    }
}

TEST(UndoMemory, TheOldestStepsGoBeyondTheCap) {
    struct Case {
        const char* name;
        History::Limits limits;
    };
    const Case cases[] = {
        {"by memory", {100000, 16 * 1024}},
        {"by count", {50, std::size_t{64} << 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestCalc t;
        t.calc.SetHistoryLimits(c.limits);
        const int kSteps = 400;
        for (int i = 0; i < kSteps; ++i) t.Type(std::to_string(1000000 + i) + "\r");
        const History& h = t.calc.UndoHistory();
        EXPECT_LE(h.Bytes(), c.limits.maxBytes);
        EXPECT_LE(h.UndoCount(), c.limits.maxSteps);
        EXPECT_GT(h.UndoCount(), 0u);
        EXPECT_LT(h.UndoCount(), static_cast<std::size_t>(kSteps));
        const std::size_t kept = h.UndoCount();
        while (t.calc.Undo()) {
        }
        // The steps that are left lead back to the state of the oldest one.
        EXPECT_EQ(t.calc.Depth(), kSteps - kept);
        EXPECT_EQ(t.calc.Stack().at(0), std::to_string(1000000 + kSteps - kept - 1));
    }
}

TEST(UndoMemory, ANewestStepBeyondTheCapIsKeptUntilTheNext) {
    TestCalc t;
    t.calc.SetHistoryLimits({100000, 16 * 1024});
    tallix::testing::Arrange(t.calc, [&](tallix::Calculator::Change& ch) {
        ch.ReplaceStack(std::vector<std::string>(10000, "12345678901234567890"));
    });
    RunCommand(t.calc, Cmd::Clr);
    EXPECT_EQ(t.calc.UndoHistory().UndoCount(), 1u);
    EXPECT_GT(t.calc.UndoHistory().Bytes(), 16u * 1024);
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_EQ(t.calc.Depth(), 10000u);
    ASSERT_TRUE(t.calc.Redo());
    t.Type("1\r");
    EXPECT_EQ(t.calc.UndoHistory().UndoCount(), 1u);
    EXPECT_LE(t.calc.UndoHistory().Bytes(), 16u * 1024);
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_FALSE(t.calc.Undo());
    EXPECT_EQ(t.calc.Depth(), 0u);
}

TEST(UndoMemory, LoweringTheCapDropsTheOldestStepsAtOnce) {
    TestCalc t;
    for (int i = 0; i < 20; ++i) t.Type("1\r");
    t.calc.SetHistoryLimits({5, std::size_t{64} << 20});
    EXPECT_EQ(t.calc.UndoHistory().UndoCount(), 5u);
}

} // namespace
