// The command registry: one row per command, every row reachable, the menus
// and keys consistent, and the README's list of batch names in step.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "core/commands/dispatch.h"

using namespace tallix;

namespace {

std::string IdOf(const CommandDef& c) { return std::to_string(static_cast<int>(c.id)); }

TEST(Registry, EveryCommandHasExactlyOneRow) {
    std::map<Cmd, int> rows;
    for (const CommandDef& c : CommandTable()) ++rows[c.id];
    for (int i = 1; i < static_cast<int>(Cmd::Count); ++i) {
        const Cmd id = static_cast<Cmd>(i);
        EXPECT_EQ(rows[id], 1) << "command " << i;
        ASSERT_NE(CommandInfo(id), nullptr) << "command " << i;
        EXPECT_EQ(CommandInfo(id)->id, id);
    }
    EXPECT_EQ(rows.count(Cmd::None), 0u);
}

TEST(Registry, EveryRowIsReachableAndRunnable) {
    for (const CommandDef& c : CommandTable()) {
        SCOPED_TRACE("command " + IdOf(c));
        const bool key = c.key.key != Key::None;
        const bool menu = c.menu.menu != Menu::None;
        const bool batch = !c.batch[0].empty();
        EXPECT_TRUE(key || menu || batch) << "reachable from nothing";
        switch (c.scope) {
        case Scope::Operation:
            EXPECT_NE(c.op.fn, nullptr);
            EXPECT_FALSE(c.op.name.empty());
            EXPECT_GE(c.op.args, 0);
            EXPECT_LE(c.op.args, 2);
            break;
        case Scope::Calculator: EXPECT_NE(c.handler, nullptr); break;
        case Scope::History: EXPECT_NE(c.history, nullptr); break;
        case Scope::Window:
            // Batch mode and the keypad cannot run the window's commands.
            EXPECT_FALSE(batch);
            EXPECT_FALSE(key);
            EXPECT_TRUE(menu);
            break;
        }
    }
}

// The letter after "&", as the menus take it: any case.
char Mnemonic(std::string_view caption) {
    const std::size_t at = caption.find('&');
    return at + 1 < caption.size() ? static_cast<char>(std::toupper(caption[at + 1])) : 0;
}

TEST(Registry, NamesKeysAndMenuPlacesAreUnique) {
    std::set<std::string> batch, objects, shortcuts;
    std::set<std::pair<Key, bool>> keys;
    std::set<Menu> menus;
    // Within one menu (the menu bar too) every item has a letter of its
    // own: a shared one only moves the highlight between them.
    std::map<Menu, std::map<char, std::string_view>> letters;
    const auto letter = [&](Menu in, std::string_view caption, std::string_view object) {
        const char c = Mnemonic(caption);
        EXPECT_NE(c, 0) << object << " has no letter";
        const auto [it, fresh] = letters[in].insert({c, object});
        EXPECT_TRUE(fresh) << object << " shares the letter " << c << " with " << it->second;
    };
    for (const MenuDef& m : MenuTable()) {
        EXPECT_TRUE(m.parent == Menu::None || menus.count(m.parent))
            << m.object << " before its parent";
        EXPECT_TRUE(menus.insert(m.id).second) << m.object;
        EXPECT_TRUE(objects.insert(std::string(m.object)).second) << m.object;
        if (!m.popup) letter(m.parent, m.caption, m.object);
    }
    for (const CommandDef& c : CommandTable()) {
        for (std::string_view n : c.batch) {
            if (n.empty()) continue;
            EXPECT_TRUE(batch.insert(std::string(n)).second) << n;
            EXPECT_EQ(FindCommand(n), &c) << n;
        }
        if (c.key.key != Key::None) {
            EXPECT_TRUE(keys.insert({c.key.key, c.key.shifted}).second) << IdOf(c);
        }
        if (c.menu.menu != Menu::None) {
            EXPECT_TRUE(menus.count(c.menu.menu)) << c.menu.object;
            EXPECT_FALSE(c.menu.caption.empty()) << c.menu.object;
            EXPECT_TRUE(objects.insert(std::string(c.menu.object)).second) << c.menu.object;
            letter(c.menu.menu, c.menu.caption, c.menu.object);
            if (!c.menu.shortcut.empty()) {
                EXPECT_TRUE(shortcuts.insert(std::string(c.menu.shortcut)).second)
                    << c.menu.shortcut;
            }
        }
    }
}

TEST(Registry, KeysCarryTheirCommandsInBothShiftStates) {
    struct Case {
        Key key;
        Cmd plain, shifted;
    };
    const Case cases[] = {
        {Key::KSin, Cmd::Sin, Cmd::ASin},   {Key::KSwap, Cmd::Swap, Cmd::Inv},
        {Key::KLast, Cmd::Last, Cmd::Clr},  {Key::KPlus, Cmd::Add, Cmd::Add},
        {Key::KEex, Cmd::Fix, Cmd::Fix},    {Key::KBackspace, Cmd::Drop, Cmd::Drop},
        {Key::KEnter, Cmd::Dup, Cmd::Edit}, {Key::K7, Cmd::None, Cmd::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyCommand(c.key, false), c.plain) << KeyInfo(c.key).control;
        EXPECT_EQ(KeyCommand(c.key, true), c.shifted) << KeyInfo(c.key).control;
    }
    // The keys under a Shift label are exactly those with a second function.
    EXPECT_EQ(ShiftedKeys().size(), 16u);
}

TEST(Registry, FindCommandIgnoresCaseAndKnowsTheSigns) {
    const std::pair<const char*, Cmd> cases[] = {
        {"sin", Cmd::Sin},   {"Sin", Cmd::Sin}, {"×", Cmd::Mul},
        {"*", Cmd::Mul},     {"÷", Cmd::Div},   {"a/b", Cmd::ToFrac},
        {"enter", Cmd::Dup}, {"dup", Cmd::Dup}, {"!", Cmd::Fact},
    };
    for (const auto& [name, id] : cases) {
        const CommandDef* def = FindCommand(name);
        ASSERT_NE(def, nullptr) << name;
        EXPECT_EQ(def->id, id) << name;
    }
    for (const char* name : {"", "SINX", "ABCDEFGHIJ", "OPEN", "1"})
        EXPECT_EQ(FindCommand(name), nullptr) << name;
}

// The README lists every batch name, and only those.
TEST(Registry, ReadmeListsExactlyTheBatchNames) {
    std::ifstream in(TALLIX_README);
    ASSERT_TRUE(in) << TALLIX_README;
    std::stringstream buf;
    buf << in.rdbuf();
    const std::string readme = buf.str();
    const std::size_t start = readme.find("Command names:");
    ASSERT_NE(start, std::string::npos);
    const std::size_t end = readme.find("\n\n", start);
    const std::string list = readme.substr(start, end - start);
    std::set<std::string> listed;
    const std::regex name("`([^`]+)`");
    for (auto it = std::sregex_iterator(list.begin(), list.end(), name);
         it != std::sregex_iterator(); ++it)
        listed.insert((*it)[1]);
    std::set<std::string> known;
    for (const CommandDef& c : CommandTable())
        for (std::string_view n : c.batch)
            if (!n.empty()) known.insert(std::string(n));
    EXPECT_EQ(listed, known);
}

} // namespace

namespace {
// The Theme and Zoom items choose one theme or step each, both ways, and
// sit in their submenus as a group of choices; the larger and smaller
// items are no steps of their own.
TEST(Registry, ThemeAndZoomItemsMapToTheirChoices) {
    for (tallix::Theme t : tallix::kThemes) {
        const Cmd cmd = tallix::ThemeCommand(t);
        EXPECT_EQ(tallix::ThemeOfCommand(cmd), t);
        EXPECT_EQ(CommandInfo(cmd)->menu.menu, Menu::Theme);
        EXPECT_EQ(CommandInfo(cmd)->menu.check, tallix::Check::Choice);
    }
    for (int z : tallix::kZoomSteps) {
        const Cmd cmd = tallix::ZoomCommand(z);
        EXPECT_EQ(tallix::ZoomOfCommand(cmd), z);
        EXPECT_EQ(CommandInfo(cmd)->menu.menu, Menu::Zoom);
        EXPECT_EQ(CommandInfo(cmd)->menu.check, tallix::Check::Choice);
    }
    for (Cmd c : {Cmd::ZoomIn, Cmd::ZoomOut, Cmd::Add, Cmd::Hex, Cmd::StayOnTop}) {
        EXPECT_FALSE(tallix::ZoomOfCommand(c).has_value());
        EXPECT_FALSE(tallix::ThemeOfCommand(c).has_value());
    }
    EXPECT_EQ(CommandInfo(tallix::ZoomCommand(100))->menu.shortcut, "Ctrl+0");
    EXPECT_EQ(CommandInfo(Cmd::ZoomIn)->menu.shortcut, "Ctrl+=");
    EXPECT_EQ(CommandInfo(Cmd::ZoomIn)->menu.shortcut2, "Ctrl++");
    EXPECT_EQ(CommandInfo(Cmd::ZoomOut)->menu.shortcut, "Ctrl+-");
}
} // namespace
