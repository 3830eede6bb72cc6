// The tape against batch mode: a random session through the door, saved as
// a script, replays in batch mode to the same stack byte for byte; and
// --tape writes the run's tape.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "batch_run.h"
#include "core/commands/clipboard.h"
#include "core/commands/tokens.h"
#include "core/tape/tape.h"
#include "test_calc.h"

using tallix::Cmd;
using tallix::CommandDef;
using tallix::Scope;
using tallix::testing::RunBatch;
using tallix::testing::TestCalc;

namespace {

// The stack as `--raw` prints it: stored texts, deepest first.
std::string RawStack(const TestCalc& t) {
    std::string out;
    for (const std::string& s : t.Stack()) out += s + "\n";
    return out;
}

// Texts a stack file can hold that no number entry gives back.
const std::vector<std::string> kOddTexts = {
    "1.50", "DUP", "1 2", "#5", "abc", "", "1E4933", " 7", "-0", "\"q\\", "\x01\t\xC2\x85\xFF"};

// A random session: typed numbers, every command the registry runs
// (errors among them), undo and redo, pastes, opens and pushed values of
// odd texts, mode changes, Edit.
void RandomSession(TestCalc& t, std::mt19937& rng, int steps) {
    std::vector<const CommandDef*> cmds;
    for (const CommandDef& def : tallix::CommandTable())
        if (def.scope == Scope::Operation || def.scope == Scope::Calculator) cmds.push_back(&def);
    const char* typed[] = {"1\r", "2.5\r", "0\r",  "17",    "3E4\r",
                           "12",  "N7\r",  "FF\r", "101\r", "0.12345678901234567891\r"};
    auto odd = [&] { return kOddTexts[rng() % kOddTexts.size()]; };
    for (int i = 0; i < steps; ++i) {
        switch (rng() % 12) {
        case 10:
            t.calc.Apply(tallix::CommandLabel(Cmd::Open), [&](tallix::Calculator::Change& c) {
                c.ReplaceStack({odd(), "4", odd()});
            });
            break;
        case 11: tallix::tape::PushLineValue(t.calc, odd()); break;
        case 0:
        case 1:
        case 2: t.Type(typed[rng() % std::size(typed)]); break;
        case 3: t.calc.Undo(); break;
        case 4: t.calc.Redo(); break;
        case 5: tallix::PasteText(t.calc, std::to_string(rng() % 50) + " 0.25\n"); break;
        // As the window runs them: a command on a key through its key.
        default: tallix::RunAsNamed(t.calc, *cmds[rng() % cmds.size()]); break;
        }
    }
}

TEST(TapeScript, RandomSessionsReplayInBatchModeToTheSameStack) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        TestCalc t;
        tallix::tape::Tape tape;
        // Two sessions in three start from a stack and modes of their
        // own, or from odd texts and last arguments.
        if (seed % 3 == 1) {
            t.Push({"4", "-2.5", "1E300", "7"});
            tallix::testing::SetWordSize(t.calc, 12);
            tallix::testing::SetFixLength(t.calc, 3);
            tallix::RunCommand(t.calc, Cmd::Oct);
            tallix::RunCommand(t.calc, Cmd::Deg);
        } else if (seed % 3 == 2) {
            tallix::testing::PushTexts(t.calc, kOddTexts);
            tallix::testing::Arrange(
                t.calc, [](tallix::Calculator::Change& c) { c.SetLastArgs(1 / 3.0L, -0.0L, 2); });
        }
        tape.Attach(t.calc);
        std::mt19937 rng(seed);
        RandomSession(t, rng, 400);
        // What waits in the entry line is not on the stack.
        t.calc.Apply({}, [](tallix::Calculator::Change& c) { c.ResetEntry(); });
        const std::string script = tape.Script();
        // The same last arguments: a LAST after the script gives the same.
        tallix::RunCommand(t.calc, Cmd::Last);
        const auto run = RunBatch({"--batch", "--raw"}, script + "LAST\n");
        ASSERT_EQ(run.out, RawStack(t)) << "seed " << seed << "\n" << script;
        // To the bit, as batch mode reads the script line by line.
        std::FILE* quiet = std::tmpfile();
        tallix::cli::BatchRunner replay('.', quiet);
        std::istringstream lines(script + "LAST\n");
        for (std::string line; std::getline(lines, line);) replay.RunLine(line);
        std::fclose(quiet);
        EXPECT_EQ(tallix::LastArgsToken(replay.calculator()), tallix::LastArgsToken(t.calc))
            << "seed " << seed;
    }
}

TEST(TapeBatch, TapeOptionWritesTheRunsTape) {
    const auto run = RunBatch({"-e", "HEX FF DEC 1 2 + 0 / 3 SIN UNDO", "--tape", "-"});
    EXPECT_EQ(run.status, 1); // the division's error
    EXPECT_EQ(run.out, "HEX\n"
                       "                              FF\n"
                       "DEC\n"
                       "                               1\n"
                       "                               2\n"
                       "+                              3\n"
                       "                               0\n"
                       "÷ Error: Infinite Result\n"
                       "                               3\n"
                       "SIN            0.141120008059867  (undone)\n"
                       "255\n3\n0\n3\n");
    EXPECT_NE(run.err.find("Infinite Result"), std::string::npos);
    // Without --tape nothing of it is written.
    EXPECT_EQ(RunBatch({"-e", "1 2 +"}).out, "3\n");
}

} // namespace
