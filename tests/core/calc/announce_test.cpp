// What a screen reader is told after a command: the new level 1, a mode by
// its new state, an error by its reason, and nothing for typing.
#include <gtest/gtest.h>

#include "core/calc/announce.h"
#include "test_calc.h"

using tallix::Base;
using tallix::Cmd;
using tallix::testing::TestCalc;

namespace {

struct Step {
    const char* what;
    std::function<void(TestCalc&)> run;
    const char* said; // "" for silence
};

TEST(Announcement, SaysOnlyWhatChanged) {
    TestCalc t;
    const Step steps[] = {
        {"typing a digit", [](TestCalc& c) { c.Type("3"); }, ""},
        {"typing more", [](TestCalc& c) { c.Type(".5"); }, ""},
        {"Enter", [](TestCalc& c) { c.Type("\r"); }, "3.5"},
        {"Enter again copies level 1", [](TestCalc& c) { c.Type("\r"); }, "3.5"},
        {"an operation", [](TestCalc& c) { c.Type("+"); }, "7"},
        {"Shift", [](TestCalc& c) { tallix::PressKey(c.calc, tallix::Key::KShift); }, "Shift on"},
        {"Shift again", [](TestCalc& c) { tallix::PressKey(c.calc, tallix::Key::KShift); },
         "Shift off"},
        {"Shift for a shifted key",
         [](TestCalc& c) { tallix::PressKey(c.calc, tallix::Key::KShift); }, "Shift on"},
        {"the shifted key's result, not the end of Shift",
         [](TestCalc& c) { tallix::PressKey(c.calc, tallix::Key::KSqrt); }, "49"},
        {"a base", [](TestCalc& c) { tallix::RunCommand(c.calc, Cmd::Hex); }, "Hexadecimal"},
        {"back to decimal", [](TestCalc& c) { tallix::RunCommand(c.calc, Cmd::Dec); }, "Decimal"},
        {"an angle unit", [](TestCalc& c) { tallix::RunCommand(c.calc, Cmd::Deg); }, "Degrees"},
        {"Drop the last level", [](TestCalc& c) { tallix::RunCommand(c.calc, Cmd::Drop); },
         "Empty stack"},
        {"Undo", [](TestCalc& c) { tallix::RunCommand(c.calc, Cmd::Undo); }, "49"},
    };
    for (const Step& s : steps) {
        const tallix::AnnouncedState before = tallix::AnnouncedStateOf(t.calc);
        s.run(t);
        EXPECT_EQ(tallix::Announcement(before, tallix::AnnouncedStateOf(t.calc)), s.said) << s.what;
    }
}

TEST(Announcement, LevelOneInTheCurrentBase) {
    TestCalc t;
    t.Type("255\r");
    tallix::RunCommand(t.calc, Cmd::Hex);
    const tallix::AnnouncedState before = tallix::AnnouncedStateOf(t.calc);
    t.Type("1+");
    EXPECT_EQ(tallix::Announcement(before, tallix::AnnouncedStateOf(t.calc)), "100");
}

TEST(Announcement, ErrorsByTheirReason) {
    const struct {
        const char* message;
        const char* said;
    } cases[] = {
        {"\u00f7 Error: \r\nInfinite Result", "Error: Infinite Result"},
        {"Entry Error: \nInvalid Syntax", "Error: Invalid Syntax"},
        {"SQRT Error: \r\nInvalid Input\r\n", "Error: Invalid Input"},
        {"Out of memory", "Error: Out of memory"},
    };
    for (const auto& c : cases) EXPECT_EQ(tallix::ErrorAnnouncement(c.message), c.said);
    // And the message a division by zero really shows.
    TestCalc t;
    t.Type("1\r0/");
    ASSERT_EQ(t.shell.messages.size(), 1u);
    EXPECT_EQ(tallix::ErrorAnnouncement(t.shell.messages[0]), "Error: Infinite Result");
}

} // namespace
