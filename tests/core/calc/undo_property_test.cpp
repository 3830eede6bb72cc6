// Undo and Redo against the whole observable state: every command of the
// registry undone and redone from prepared states, and random sequences of
// commands, keys, pastes and failures undone all the way back and redone all
// the way forward, compared with what was seen on the way.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <sstream>

#include "core/commands/clipboard.h"
#include "core/persist/settings.h"
#include "test_calc.h"
#include "undo_state.h"

using tallix::Base;
using tallix::Calculator;
using tallix::Cmd;
using tallix::CommandDef;
using tallix::Scope;
using tallix::testing::Snapshot;
using tallix::testing::State;
using tallix::testing::TestCalc;
using Strings = std::vector<std::string>;

namespace {

// What the settings file would hold of the calculator's modes and last
// arguments, read through the saved settings' own table. Undo's snapshot of
// the modes is a struct of its own (the calculator's layer lies below the
// settings table); comparing the two after every Undo and Redo is what keeps
// a saved mode from being left out of undo.
std::vector<std::pair<std::string_view, std::string>> SavedModes(const TestCalc& t) {
    return tallix::persist::CaptureValues(t.calc, tallix::persist::WindowSettings{}).settings;
}

// ---- every command -----------------------------------------------------------

// The states each command starts from: one where most commands succeed,
// one in an integer base, one with a typed number waiting, and one where
// most fail.
struct Start {
    const char* name;
    Strings stack;
    Cmd base;
    const char* typed;
};

const Start kStarts[] = {
    {"decimal", {"4", "0.5", "3", "2"}, Cmd::Dec, ""},
    {"hexadecimal", {"255", "12", "3", "7"}, Cmd::Hex, ""},
    {"a typed number", {"1.5", "6"}, Cmd::Dec, "3"},
    {"texts that are no numbers", {"x", "abc"}, Cmd::Dec, ""},
    {"empty", {}, Cmd::Dec, ""},
};

void Prepare(TestCalc& t, const Start& s) {
    tallix::testing::PushTexts(t.calc, s.stack);
    RunCommand(t.calc, s.base);
    t.Type("1\r");
    RunCommand(t.calc, Cmd::Add); // last arguments, and a step before the command
    t.Type(s.typed);
}

TEST(UndoEveryCommand, UndoRestoresTheStateBeforeAndRedoTheStateAfter) {
    for (const CommandDef& def : tallix::CommandTable()) {
        if (def.scope == Scope::Window || def.scope == Scope::History) continue;
        for (const Start& s : kStarts) {
            SCOPED_TRACE(tallix::CommandLabel(def) + " from " + s.name);
            TestCalc t;
            Prepare(t, s);
            const State before = Snapshot(t);
            const auto savedBefore = SavedModes(t);
            const bool typed = std::string(s.typed) != "";
            const std::size_t steps = t.calc.UndoHistory().UndoCount();
            RunAsNamed(t.calc, def);
            const State after = Snapshot(t);
            const auto savedAfter = SavedModes(t);
            const std::size_t made = t.calc.UndoHistory().UndoCount() - steps;
            if (made == 0) {
                // No step: nothing but the last arguments of a failure, or
                // the entry line, changed.
                EXPECT_TRUE(after.SameBut(before, false, false)) << before << "\n" << after;
                continue;
            }
            if (made == 1) {
                EXPECT_FALSE(after == before) << "a step that changed nothing";
            }
            // A number still typed (a mode command does not enter it) is
            // undone first, by itself, and not redone.
            const bool stillTyped = t.calc.UndoLabel() == "Typing";
            if (stillTyped) {
                ASSERT_TRUE(t.calc.Undo());
            }
            for (std::size_t i = 0; i < made; ++i) ASSERT_TRUE(t.calc.Undo());
            EXPECT_TRUE(Snapshot(t).SameBut(before, true, !typed)) << Snapshot(t) << "\n" << before;
            EXPECT_EQ(SavedModes(t), savedBefore);
            for (std::size_t i = 0; i < made; ++i) ASSERT_TRUE(t.calc.Redo());
            EXPECT_EQ(SavedModes(t), savedAfter);
            EXPECT_TRUE(Snapshot(t).SameBut(after, true, !stillTyped)) << Snapshot(t) << "\n"
                                                                       << after;
            EXPECT_FALSE(t.calc.CanRedo());
        }
    }
}

// ---- random sequences ---------------------------------------------------------

// One action of a user: a command, keys, a paste.
struct Action {
    enum class Kind { Command, Keys, Paste } kind;
    Cmd cmd = Cmd::None;
    std::string text;
};

std::ostream& operator<<(std::ostream& os, const Action& a) {
    switch (a.kind) {
    case Action::Kind::Command: return os << tallix::CommandLabel(a.cmd);
    case Action::Kind::Keys: return os << "keys \"" << a.text << "\"";
    case Action::Kind::Paste: return os << "paste \"" << a.text << "\"";
    }
    return os;
}

void Perform(TestCalc& t, const Action& a) {
    switch (a.kind) {
    case Action::Kind::Command: RunCommand(t.calc, a.cmd); break;
    case Action::Kind::Keys: t.Type(a.text); break;
    case Action::Kind::Paste: PasteText(t.calc, a.text); break;
    }
}

Action Command(Cmd c) { return {Action::Kind::Command, c, {}}; }
Action Keys(std::string k) { return {Action::Kind::Keys, Cmd::None, std::move(k)}; }
Action Paste(std::string p) { return {Action::Kind::Paste, Cmd::None, std::move(p)}; }

std::vector<Action> RandomActions(std::mt19937& rng, int n) {
    std::vector<Cmd> commands;
    for (const CommandDef& def : tallix::CommandTable())
        if (def.scope == Scope::Operation || def.scope == Scope::Calculator)
            commands.push_back(def.id);
    static const char* const kKeys[] = {"1\r", "0\r", "2.5\r", "-",  "7",     "3e2\r", "\b",
                                        "^\r", " ",   "\r",    "^7", "12^\b", "^-",    "9 "};
    static const char* const kPastes[] = {"1 2.5", "abc", "-3\n4", "1e99999", "", "DEC:1E25"};
    std::vector<Action> out;
    for (int i = 0; i < n; ++i) {
        const unsigned r = rng() % 10;
        if (r < 5) {
            out.push_back(Command(commands[rng() % commands.size()]));
        } else if (r < 9) {
            out.push_back(Keys(kKeys[rng() % std::size(kKeys)]));
        } else {
            out.push_back(Paste(kPastes[rng() % std::size(kPastes)]));
        }
    }
    return out;
}

// Runs the actions, then undoes all the way back and redoes all the way
// forward, comparing each state with the one seen at that step.
void CheckUndoRedo(const std::vector<Action>& actions) {
    std::ostringstream trace;
    for (const Action& a : actions) trace << a << "; ";
    SCOPED_TRACE(trace.str());
    TestCalc t;
    // One state per step of the history; none where one action made
    // several steps whose middle was never seen.
    std::vector<std::optional<State>> seen{Snapshot(t)};
    // Where typing changed the entry line Edit left: Undo discards the
    // typing, Redo gives back what Edit left.
    std::vector<bool> typedOver{false};
    for (const Action& a : actions) {
        const std::size_t steps = t.calc.UndoHistory().UndoCount();
        const State prev = *seen.back();
        Perform(t, a);
        const State now = Snapshot(t);
        const std::size_t made = t.calc.UndoHistory().UndoCount() - steps;
        if (made == 0) {
            // Typing and failures make no step and change nothing else.
            ASSERT_TRUE(now.SameBut(prev, false, false)) << a << ": " << prev << " -> " << now;
            // Redo gives back the entry line as the step left it.
            State kept = now;
            kept.entry = seen.back()->entry;
            if (now.entry != kept.entry) typedOver.back() = true;
            seen.back() = kept;
            continue;
        }
        // (Several steps, an entered number and its command, may well
        // cancel out.)
        if (made == 1) {
            EXPECT_FALSE(now == prev) << "made a step that changed nothing: " << now << " by " << a;
        }
        for (std::size_t i = 1; i < made; ++i) {
            seen.push_back(std::nullopt);
            typedOver.push_back(false);
        }
        seen.push_back(now);
        typedOver.push_back(false);
    }
    // Typing is undone first, and by itself.
    if (t.calc.UndoLabel() == "Typing") {
        ASSERT_TRUE(t.calc.Undo());
        EXPECT_TRUE(Snapshot(t).SameBut(*seen.back(), true, false));
    }
    for (std::size_t i = seen.size() - 1; i > 0; --i) {
        ASSERT_TRUE(t.calc.Undo()) << "step " << i;
        if (seen[i - 1]) {
            // What Edit left in the entry line may have been typed over by
            // the keys that began the next step: Redo checks it.
            const bool entry = !typedOver[i - 1] && seen[i - 1]->entry.empty();
            EXPECT_TRUE(Snapshot(t).SameBut(*seen[i - 1], true, entry))
                << "undo to step " << i - 1 << ": " << Snapshot(t) << "\n"
                << *seen[i - 1];
        }
    }
    EXPECT_FALSE(t.calc.CanUndo());
    for (std::size_t i = 1; i < seen.size(); ++i) {
        ASSERT_TRUE(t.calc.Redo()) << "step " << i;
        if (seen[i]) {
            EXPECT_EQ(Snapshot(t), *seen[i]) << "redo to step " << i;
        }
    }
    EXPECT_FALSE(t.calc.CanRedo());
}

TEST(UndoProperty, KnownCases) {
    const std::vector<Action> cases[] = {
        // A failed command's last arguments, reached by Undo and Redo.
        {Keys("1\r"), Keys("0\r"), Command(Cmd::Div), Command(Cmd::Last)},
        // Steps that change nothing that can be seen.
        {Keys("7\r"), Command(Cmd::Sum)},
        {Keys("1\r1\r1\r"), Command(Cmd::Rotate)},
        // Edit, then typing over what it put into the entry line.
        {Keys("5\r"), Keys("^\r"), Keys("3"), Command(Cmd::Add)},
        {Keys("5\r"), Command(Cmd::Hex), Keys("^\r"), Command(Cmd::Dup)},
        {Keys("2\r"), Paste("abc"), Keys("3"), Command(Cmd::Mul)},
    };
    for (const auto& c : cases) CheckUndoRedo(c);
}

TEST(UndoProperty, RandomSequences) {
    std::mt19937 rng(20261207);
    for (int i = 0; i < 400; ++i) {
        const std::vector<Action> actions = RandomActions(rng, 30);
        CheckUndoRedo(actions);
        if (::testing::Test::HasFailure()) break; // one counterexample is enough
    }
}

} // namespace
