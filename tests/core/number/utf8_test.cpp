// Cutting and counting texts by characters: the one rule for every byte
// sequence, valid or not.
#include <gtest/gtest.h>

#include <string>

#include "core/number/utf8.h"

namespace {

TEST(Utf8, CutCountAndTail) {
    struct Case {
        std::string text;
        std::size_t n;
        std::string first, last;
        std::size_t count;
    };
    const std::string euro = "\xe2\x82\xac";
    const Case cases[] = {
        {"abc", 2, "ab", "bc", 3},
        {"abc", 3, "abc", "abc", 3},
        {"abc", 9, "abc", "abc", 3},
        {"", 3, "", "", 0},
        {"abc", 0, "", "", 3},
        {"\xc3\xa9t\xc3\xa9", 2, "\xc3\xa9t", "t\xc3\xa9", 3},
        {"a" + euro, 1, "a", euro, 2},
        {"a" + euro, 2, "a" + euro, "a" + euro, 2},
        {"\xf0\x9f\x98\x80x", 1, "\xf0\x9f\x98\x80", "x", 2},
        // Stray continuation bytes: one character each.
        {"\x80\x80\x80\x80", 2, "\x80\x80", "\x80\x80", 4},
        {"a\xa9\xa9", 2, "a\xa9", "\xa9\xa9", 3},
        // A sequence cut off: its lead byte alone, then the rest one by one.
        {"\xe2\x82x", 1, "\xe2", "x", 3},
        {"\xc3", 1, "\xc3", "\xc3", 1},
        // A lead byte followed by more continuation bytes than it announces.
        {"\xc3\xa9\xa9\xa9", 2, "\xc3\xa9\xa9", "\xa9\xa9", 3},
        // Bytes that never lead a sequence.
        {"\xff\xfe", 1, "\xff", "\xfe", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(tallix::CutChars(c.text, c.n), c.first);
        EXPECT_EQ(tallix::LastChars(c.text, c.n), c.last);
        EXPECT_EQ(tallix::CountChars(c.text), c.count);
    }
}

// However the bytes run, n characters are at most 4n bytes.
TEST(Utf8, CutIsBoundedByBytes) {
    for (const std::string& text : {std::string(1000, '\x80'), "\xc3" + std::string(999, '\xa9'),
                                    std::string(1000, '\xf0')}) {
        EXPECT_LE(tallix::CutChars(text, 10).size(), 40u);
        EXPECT_EQ(tallix::CountChars(tallix::CutChars(text, 10)), 10u);
    }
}

} // namespace
