// The undo history's storage: steps kept as records in chunks of memory,
// texts far longer than a chunk, the oldest steps dropped at the cap while
// others wait to be redone, and a long run at the cap. Each is checked
// against the states seen on the way, text for text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_calc.h"
#include "undo_state.h"

using tallix::Calculator;
using tallix::Cmd;
using tallix::History;
using tallix::testing::Snapshot;
using tallix::testing::State;
using tallix::testing::TestCalc;

namespace {

// A text of n characters that reads as a number and differs for every i.
std::string LongNumber(std::size_t n, int i) {
    std::string s = std::to_string(i) + ".";
    while (s.size() < n) s += static_cast<char>('0' + (s.size() * 7 + i) % 10);
    return s;
}

// Runs `steps` commands, each a push of a text or a command on them, and
// returns the state after each (front: before the first).
std::vector<State> RunSteps(TestCalc& t, int steps, std::size_t textSize) {
    std::vector<State> seen{Snapshot(t)};
    for (int i = 0; i < steps; ++i) {
        if (i % 4 == 3 && t.calc.Depth() >= 2) {
            tallix::RunCommand(t.calc, i % 8 == 3 ? Cmd::Swap : Cmd::Add);
        } else {
            t.calc.Apply("Enter", [&](Calculator::Change& c) {
                c.PushText(LongNumber(textSize, i));
                c.SetLastX(i);
            });
        }
        seen.push_back(Snapshot(t));
    }
    return seen;
}

// Undoes every kept step and redoes them all, checking each state.
void UndoAndRedoAll(TestCalc& t, const std::vector<State>& seen) {
    const std::size_t kept = t.calc.UndoHistory().UndoCount();
    ASSERT_LT(kept, seen.size());
    for (std::size_t k = 1; k <= kept; ++k) {
        ASSERT_TRUE(t.calc.Undo());
        ASSERT_EQ(Snapshot(t), seen[seen.size() - 1 - k]) << "undo " << k;
    }
    EXPECT_FALSE(t.calc.Undo());
    for (std::size_t k = kept; k-- > 0;) {
        ASSERT_TRUE(t.calc.Redo());
        ASSERT_EQ(Snapshot(t), seen[seen.size() - 1 - k]) << "redo to " << k;
    }
    EXPECT_FALSE(t.calc.Redo());
}

TEST(UndoStorage, StepsAcrossManyChunksComeBackExactly) {
    struct Case {
        const char* name;
        int steps;
        std::size_t textSize;
        History::Limits limits;
    };
    const Case cases[] = {
        // Thousands of small records fill several chunks.
        {"many small steps", 12000, 20, {}},
        // Texts longer than a chunk: every step a record of its own size.
        {"texts longer than a chunk", 12, 400000, {}},
        // At the step cap the oldest records go as new ones come.
        {"at the step cap", 6000, 30, {1000, std::size_t{64} << 20}},
        // At the memory cap, with records of every size.
        {"at the memory cap", 300, 5000, {100000, 256 * 1024}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestCalc t;
        t.calc.SetHistoryLimits(c.limits);
        const std::vector<State> seen = RunSteps(t, c.steps, c.textSize);
        const History& h = t.calc.UndoHistory();
        EXPECT_LE(h.UndoCount(), c.limits.maxSteps);
        if (h.UndoCount() > 1) {
            EXPECT_LE(h.Bytes(), c.limits.maxBytes);
        }
        UndoAndRedoAll(t, seen);
    }
}

TEST(UndoStorage, LoweringTheCapWhileStepsAreUndoneKeepsRedoExact) {
    TestCalc t;
    const std::vector<State> seen = RunSteps(t, 400, 40);
    // Half undone: the undone half waits to be redone.
    for (int k = 0; k < 200; ++k) ASSERT_TRUE(t.calc.Undo());
    // Fewer steps than are undone: every done step goes, and of the undone
    // ones those farthest from the present; what is left still redoes to
    // the states seen.
    t.calc.SetHistoryLimits({150, std::size_t{64} << 20});
    EXPECT_EQ(t.calc.UndoHistory().UndoCount(), 0u);
    EXPECT_EQ(t.calc.UndoHistory().RedoCount(), 150u);
    for (int k = 1; k <= 150; ++k) {
        ASSERT_TRUE(t.calc.Redo());
        ASSERT_EQ(Snapshot(t), seen[200 + k]) << "redo " << k;
    }
    EXPECT_FALSE(t.calc.Redo());
}

TEST(UndoStorage, ANewStepAfterUndoForgetsWhatWasUndone) {
    TestCalc t;
    std::vector<State> seen = RunSteps(t, 3000, 25);
    for (int k = 0; k < 2500; ++k) ASSERT_TRUE(t.calc.Undo());
    seen.resize(501);
    ASSERT_EQ(Snapshot(t), seen.back());
    // The undone steps' records give their room back to the new ones.
    const std::vector<State> more = RunSteps(t, 3000, 60);
    seen.insert(seen.end(), more.begin() + 1, more.end());
    EXPECT_FALSE(t.calc.CanRedo());
    EXPECT_EQ(t.calc.UndoHistory().UndoCount(), 500u + 3000u);
    UndoAndRedoAll(t, seen);
}

} // namespace
