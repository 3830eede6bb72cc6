// The keypad built from a layout: every key and label in its place, and a
// shifted function that has no label of its own.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <vector>

#include "core/commands/keylayout.h"
#include "gui/widgets/keypad.h"
#include "test_calc.h"

namespace tallix::gui::test {
namespace {

using tallix::Key;

TEST(Keypad, EveryRowOfTheLayoutIsBuilt) {
    QWidget client;
    TKeypad keypad(&client, 96, '.');
    for (const tallix::KeyLayout& row : tallix::KeypadLayout()) {
        SCOPED_TRACE(std::string(tallix::KeyInfo(row.key).control));
        ASSERT_NE(keypad.Button(row.key), nullptr);
        EXPECT_EQ(keypad.Button(row.key)->geometry(),
                  QRect(row.left, row.top, row.width, row.height));
        QLabel* label = keypad.ShiftLabel(row.key);
        EXPECT_EQ(label != nullptr, !row.label.name.empty());
        if (label) {
            EXPECT_EQ(label->objectName().toStdString(), row.label.name);
        }
    }
}

// A key given a second function before its label is drawn: the keypad
// builds, Shift lights the labels there are, and the key keeps working.
TEST(Keypad, AShiftedFunctionWithoutALabelIsNoCrash) {
    std::vector<tallix::KeyLayout> layout(tallix::KeypadLayout().begin(),
                                          tallix::KeypadLayout().end());
    for (tallix::KeyLayout& row : layout)
        if (row.key == Key::KSin || row.key == Key::KLast) row.label = {};
    QWidget client;
    TKeypad keypad(&client, 96, '.', layout);
    EXPECT_EQ(keypad.ShiftLabel(Key::KSin), nullptr);
    tallix::testing::TestCalc t;
    keypad.Refresh(t.calc);
    tallix::PressKey(t.calc, Key::KShift);
    keypad.Refresh(t.calc);
    keypad.ShowTopLabels(false);
    EXPECT_TRUE(keypad.ShiftLabel(Key::KCos)->isEnabled());
    EXPECT_FALSE(keypad.ShiftLabel(Key::KLog)->isVisibleTo(&client));
    EXPECT_TRUE(keypad.Button(Key::KSin)->isEnabled());
}

} // namespace
} // namespace tallix::gui::test
