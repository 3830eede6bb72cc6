// The keypad's tables joined by key: the layout rows, the Shift labels, the
// key table with its keyboard characters, and the registry's functions.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/commands/keylayout.h"
#include "core/commands/registry.h"

namespace {

using tallix::Key;

std::string Name(Key key) { return std::string(tallix::KeyInfo(key).control); }

TEST(KeypadLayout, OneRowPerKey) {
    std::set<Key> seen;
    for (const tallix::KeyLayout& row : tallix::KeypadLayout()) {
        EXPECT_NE(row.key, Key::None);
        EXPECT_TRUE(seen.insert(row.key).second) << Name(row.key) << " has two rows";
        EXPECT_EQ(&tallix::LayoutOf(row.key), &row) << Name(row.key);
    }
    for (const tallix::KeyDef& def : tallix::KeyTable())
        EXPECT_TRUE(seen.count(def.key)) << def.control << " has no row";
}

// Each keyboard character presses exactly the key whose row names it.
TEST(KeypadLayout, KeyboardCharactersPressTheirOwnKeys) {
    std::set<char> seen;
    for (const tallix::KeyDef& def : tallix::KeyTable()) {
        EXPECT_EQ(&tallix::KeyInfo(def.key), &def) << def.control;
        if (def.keyboard == 0) continue;
        EXPECT_TRUE(seen.insert(def.keyboard).second) << def.control << " shares its character";
        EXPECT_EQ(tallix::KeyForChar(static_cast<unsigned char>(def.keyboard), ','), def.key)
            << def.control;
    }
}

// A label names a function the key has under Shift; a function under Shift
// has a label to light. Labels have names of their own.
TEST(KeypadLayout, OneLabelForEachShiftedFunction) {
    const auto shifted = tallix::ShiftedKeys();
    const std::set<Key> withFunction(shifted.begin(), shifted.end());
    std::set<std::string> names;
    for (const tallix::KeyLayout& row : tallix::KeypadLayout()) {
        SCOPED_TRACE(Name(row.key));
        const bool labelled = !row.label.name.empty();
        EXPECT_EQ(labelled, withFunction.count(row.key) == 1);
        // A screen reader names the second function too.
        EXPECT_EQ(!tallix::KeyInfo(row.key).spokenShifted.empty(), labelled);
        if (!labelled) continue;
        EXPECT_FALSE(row.label.caption.empty());
        EXPECT_TRUE(names.insert(std::string(row.label.name)).second);
        // Above its own key, within the key's width.
        EXPECT_LT(row.label.top, row.top);
        EXPECT_GE(row.label.left, row.left);
        EXPECT_LE(row.label.left + row.label.width, row.left + row.width + 2);
    }
    EXPECT_EQ(names.size(), withFunction.size());
    for (Key k : tallix::TopRowKeys()) EXPECT_FALSE(tallix::LayoutOf(k).label.name.empty());
}

// The letter a caption underlines is the one the keyboard presses the key
// with, so the underline never points at another key.
TEST(KeypadLayout, UnderlinedLetterIsTheKeyboardCharacter) {
    int underlined = 0;
    for (const tallix::KeyLayout& row : tallix::KeypadLayout()) {
        const char letter = tallix::CaptionMnemonic(row.caption);
        if (letter == 0) continue;
        ++underlined;
        EXPECT_EQ(letter, tallix::KeyInfo(row.key).keyboard) << Name(row.key) << " " << row.caption;
        EXPECT_EQ(tallix::KeyForChar(static_cast<unsigned char>(letter), '.'), row.key);
    }
    EXPECT_GE(underlined, 10);
}

TEST(KeypadLayout, CaptionMnemonic) {
    struct Case {
        const char* caption;
        char letter;
    };
    const Case cases[] = {
        {"&Sin", 'S'}, {"Lo&g", 'G'},   {"&y\u02e3", 'Y'}, {"Last", 0},
        {"A && B", 0}, {"&&x &z", 'Z'}, {"trailing&", 0},  {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tallix::CaptionMnemonic(c.caption), c.letter) << c.caption;
}

} // namespace
