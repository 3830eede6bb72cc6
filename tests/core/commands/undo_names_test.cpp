// What the Edit menu's Undo and Redo items say they would undo or redo.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/commands/clipboard.h"
#include "test_calc.h"

using tallix::Cmd;
using tallix::HistoryItemText;
using tallix::testing::TestCalc;

namespace {

TEST(UndoNames, TheItemsNameTheStepTheyWouldPlay) {
    struct Case {
        const char* name;
        std::function<void(TestCalc&)> act;
        const char* undo;
        const char* redo;
    };
    const auto type = [](const char* keys) { return [keys](TestCalc& t) { t.Type(keys); }; };
    const auto run = [](Cmd cmd) { return [cmd](TestCalc& t) { RunCommand(t.calc, cmd); }; };
    const Case cases[] = {
        {"nothing done", [](TestCalc&) {}, "&Undo", "&Redo"},
        {"a key's operation", type("1\r2\r+"), "&Undo +", "&Redo"},
        {"a shifted key", type("4^q"), "&Undo SQ", "&Redo"},
        {"the typed number before the command",
         [](TestCalc& t) {
             t.Type("1\r2+");
             t.calc.Undo();
         },
         "&Undo Entry", "&Redo +"},
        {"enter", type("5\r"), "&Undo Enter", "&Redo"},
        {"space", type("5 "), "&Undo Enter", "&Redo"},
        {"edit", type("5\r^\r"), "&Undo Edit", "&Redo"},
        {"a base", run(Cmd::Hex), "&Undo Base Change", "&Redo"},
        {"an angle unit", run(Cmd::Deg), "&Undo Angle Change", "&Redo"},
        {"a menu operation", run(Cmd::Pi), "&Undo PI", "&Redo"},
        {"clear, undone",
         [](TestCalc& t) {
             t.Type("1\r");
             RunCommand(t.calc, Cmd::Clr);
             t.calc.Undo();
         },
         "&Undo Enter", "&Redo Clear"},
        {"word size by name",
         [](TestCalc& t) {
             t.Type("8");
             RunCommand(t.calc, Cmd::STWS);
         },
         "&Undo STWS", "&Redo"},
        {"paste", [](TestCalc& t) { tallix::PasteText(t.calc, "1 2"); }, "&Undo Paste", "&Redo"},
        {"text being typed", type("1\r2+3"), "&Undo Typing", "&Redo"},
        {"everything undone",
         [](TestCalc& t) {
             t.Type("1\r");
             t.calc.Undo();
         },
         "&Undo", "&Redo Enter"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestCalc t;
        c.act(t);
        EXPECT_EQ(HistoryItemText(t.calc, Cmd::Undo), c.undo);
        EXPECT_EQ(HistoryItemText(t.calc, Cmd::Redo), c.redo);
    }
}

TEST(UndoNames, EveryCommandThatMakesAStepHasAName) {
    for (const tallix::CommandDef& def : tallix::CommandTable()) {
        if (def.scope == tallix::Scope::Window || def.scope == tallix::Scope::History) continue;
        EXPECT_FALSE(tallix::CommandLabel(def).empty()) << static_cast<int>(def.id);
    }
    EXPECT_EQ(tallix::CommandLabel(Cmd::Open), "Open");
    EXPECT_EQ(tallix::CommandLabel(Cmd::Paste), "Paste");
}

} // namespace
