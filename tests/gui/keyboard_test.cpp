// Keystrokes and clicks reaching the keypad, the Shift state machine, keys
// disabled by the base, menu shortcuts and the key flash.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScreen>
#include <QTextDocument>
#include <algorithm>

#include "gui_fixture.h"

namespace tallix::gui::test {
namespace {

using tallix::Key;

class Keyboard : public WindowTest {};

TEST_F(Keyboard, TypedNumberGoesThroughTheEntryLineOntoTheStack) {
    Type("12.5");
    EXPECT_EQ(Form().Line0()->text(), "12.5");
    EXPECT_EQ(Form().Line0()->cursorPosition(), 4);
    Type("\r3\r");
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"3", "12.5"}));
    EXPECT_EQ(Form().Line0()->text(), "");
    EXPECT_EQ(Form().StackLineLabel(1)->text(), "3");
    EXPECT_EQ(Form().StackLineLabel(2)->text(), "12.5");
}

TEST_F(Keyboard, ClickedKeysRunTheSameHandlers) {
    Click(Key::K7);
    Click(Key::KEnter);
    Click(Key::K5);
    Click(Key::KPlus);
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"12"}));
    for (Key k : {Key::K7, Key::KEnter, Key::K5, Key::KPlus})
        EXPECT_FALSE(Form().KeyButton(k)->isChecked()) << "key left pressed";
}

// Characters with no key, and keys that only edit, never reach the entry
// line themselves; every one of them switches Shift off, so only the first
// character of each case meets Shift on. "e" is the hexadecimal digit, dead
// in decimal; "x" starts the exponent.
struct CharCase {
    const char* typed;
    const char* entry;
};

class TypedCharacters : public Keyboard, public ::testing::WithParamInterface<CharCase> {};

TEST_P(TypedCharacters, EntryLineShowsOnlyWhatTheKeysPut) {
    Click(Key::KShift);
    ASSERT_TRUE(ShiftShown());
    Type(GetParam().typed);
    EXPECT_EQ(Form().Line0()->text(), GetParam().entry);
    EXPECT_FALSE(ShiftShown());
    EXPECT_FALSE(Calc().ShiftDown());
}

INSTANTIATE_TEST_SUITE_P(Chars, TypedCharacters,
                         ::testing::Values(CharCase{"h", ""}, CharCase{"=", ""},
                                           CharCase{"1h2", "12"}, CharCase{"1e", "1E"},
                                           CharCase{"2x", "2E"}, CharCase{"1x5n", "1E-5"},
                                           CharCase{"12\b", "1"}, CharCase{"k", ""}));

void Send(QWidget* w, QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers mods,
          const QString& text = {}, bool autoRepeat = false) {
    QKeyEvent e(type, key, mods, text, autoRepeat);
    QApplication::sendEvent(w, &e);
}

TEST_F(Keyboard, ShiftKeyTogglesOncePerPress) {
    QWidget* w = Target();
    Send(w, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_TRUE(ShiftShown());
    // Auto-repeat delivers more presses and releases while the key is held.
    for (int i = 0; i < 3; ++i) {
        Send(w, QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier, {}, true);
        Send(w, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, {}, true);
    }
    EXPECT_TRUE(ShiftShown()) << "auto-repeat toggled Shift again";
    Send(w, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    EXPECT_TRUE(ShiftShown());
    Send(w, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    Send(w, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    EXPECT_FALSE(ShiftShown());
    EXPECT_FALSE(Form().ShiftLabel(Key::KSin)->isEnabled());
}

TEST_F(Keyboard, ShiftWithCtrlOrAltHeldDoesNotToggle) {
    for (Qt::KeyboardModifier m : {Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier}) {
        Send(Target(), QEvent::KeyPress, Qt::Key_Shift, m | Qt::ShiftModifier);
        EXPECT_FALSE(ShiftShown()) << m;
        Send(Target(), QEvent::KeyRelease, Qt::Key_Shift, m);
    }
}

TEST_F(Keyboard, HeldShiftAppliesToOneCharacterOnly) {
    Push({"-5"});
    QWidget* w = Target();
    Send(w, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    Send(w, QEvent::KeyPress, Qt::Key_N, Qt::ShiftModifier, "N"); // Abs
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"5"}));
    Send(w, QEvent::KeyPress, Qt::Key_N, Qt::ShiftModifier, "N"); // Neg: no new toggle
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"-5"}));
    Send(w, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
}

// The Shift a key runs with is decided as the key goes down. A dialog or a
// menu that took the Shift key's press or release, or the end of an earlier
// key's flash, never changes it afterwards. Each case starts with pi on the
// stack; "q" is Sqrt, or x squared when shifted.
struct ShiftRace {
    const char* name;
    void (*steps)(TMainForm& form, QWidget* target);
    std::vector<std::string> stack;
};

void Post(QWidget* w, QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers mods,
          const QString& text = {}) {
    QCoreApplication::postEvent(w, new QKeyEvent(type, key, mods, text));
}

constexpr const char* kPiSquared = "9.86960440108935863";
constexpr const char* kRootPi = "1.77245385090551603";
constexpr const char* kPi = "3.14159265358979324";

const ShiftRace kShiftRaces[] = {
    {"the error dialog took the Shift key's release",
     [](TMainForm&, QWidget* w) {
         Send(w, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
         // The Shift key comes up while the error box is open.
         QTimer::singleShot(0, [] {
             QWidget* box = QApplication::activeModalWidget();
             ASSERT_NE(box, nullptr);
             Send(box, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
         });
         Send(w, QEvent::KeyPress, Qt::Key_S, Qt::ShiftModifier, "S"); // ASin: an error
         Send(w, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
         Send(w, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
         QTest::keyClick(w, 'q');
     },
     {kPiSquared}},
    {"a Shift tap in an open menu",
     [](TMainForm&, QWidget* w) {
         QTest::keyClick(w, Qt::Key_I, Qt::AltModifier);
         QWidget* menu = QApplication::activePopupWidget();
         ASSERT_NE(menu, nullptr) << "Alt+I opened no menu";
         Send(menu, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
         Send(menu, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
         QTest::keyClick(menu, Qt::Key_Escape);
         QTest::keyClick(w, 'q'); // the menu's Shift was not the calculator's
         QTest::keyClick(w, 'p');
         Send(w, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
         Send(w, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
         QTest::keyClick(w, 'q');
     },
     {kPiSquared, kRootPi}},
    {"Shift pressed while the key before it flashes",
     [](TMainForm& form, QWidget* w) {
         form.SetButtonTime(60);
         Post(w, QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier, "\r");
         Post(w, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
         // The next key comes after the first flash has ended.
         QTimer::singleShot(150, w,
                            [w] { Post(w, QEvent::KeyPress, Qt::Key_Q, Qt::ShiftModifier, "Q"); });
         QTest::qWait(400);
     },
     {kPiSquared, kPi}},
};

TEST_F(Keyboard, ShiftIsDecidedWhenTheKeyGoesDown) {
    for (const ShiftRace& c : kShiftRaces) {
        SCOPED_TRACE(c.name);
        Open('.');
        Push({kPi});
        c.steps(Form(), Target());
        EXPECT_EQ(StackTexts(), c.stack);
        EXPECT_FALSE(Calc().ShiftDown());
    }
}

TEST_F(Keyboard, ClickedShiftSelectsTheNextKeysSecondFunction) {
    Push({"4"});
    Type("7");
    Click(Key::KShift);
    Type("\b"); // Drop: enters 7, then drops it
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"4"}));
    EXPECT_EQ(Form().Line0()->text(), "");
    EXPECT_EQ(Calc().LastX(), 7);
    Type("7\b"); // without Shift the character goes
    EXPECT_EQ(Form().Line0()->text(), "");
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"4"}));
}

TEST_F(Keyboard, ShiftTwiceWithTheButtonLeavesShiftOff) {
    Click(Key::KShift);
    Click(Key::KShift);
    EXPECT_FALSE(ShiftShown());
    EXPECT_FALSE(Form().ShiftLabel(Key::KSin)->isEnabled());
}

// A key the base does not accept ignores typing and clicking.
struct BaseKeyCase {
    tallix::Cmd base;
    char typed;
    Key key;
    bool accepted;
};

class BaseKeys : public Keyboard, public ::testing::WithParamInterface<BaseKeyCase> {};

TEST_P(BaseKeys, DisabledKeysIgnoreKeyboardAndMouse) {
    const BaseKeyCase& c = GetParam();
    RunCommand(Calc(), c.base);
    Form().RefreshView();
    Type("1");
    Type(QString(QChar(c.typed)));
    Click(c.key);
    EXPECT_EQ(Form().KeyButton(c.key)->isEnabled(), c.accepted);
    const std::string twice =
        std::string(1, '1') + std::string(2, static_cast<char>(std::toupper(c.typed)));
    EXPECT_EQ(Calc().Entry(), c.accepted ? twice : "1");
    EXPECT_FALSE(Calc().ShiftDown());
}

INSTANTIATE_TEST_SUITE_P(Bases, BaseKeys,
                         ::testing::Values(BaseKeyCase{tallix::Cmd::Bin, '2', Key::K2, false},
                                           BaseKeyCase{tallix::Cmd::Bin, '1', Key::K1, true},
                                           BaseKeyCase{tallix::Cmd::Oct, '8', Key::K8, false},
                                           BaseKeyCase{tallix::Cmd::Oct, '7', Key::K7, true},
                                           BaseKeyCase{tallix::Cmd::Dec, 'a', Key::KA, false},
                                           BaseKeyCase{tallix::Cmd::Dec, '9', Key::K9, true},
                                           BaseKeyCase{tallix::Cmd::Hex, 'f', Key::KF, true},
                                           BaseKeyCase{tallix::Cmd::Hex, '9', Key::K9, true}));

TEST_F(Keyboard, SignExponentAndSeparatorAreDeadOutsideDecimal) {
    for (tallix::Cmd base : {tallix::Cmd::Bin, tallix::Cmd::Oct, tallix::Cmd::Hex}) {
        RunCommand(Calc(), base);
        Form().RefreshView();
        Type("1nx.");
        EXPECT_EQ(Calc().Entry(), "1");
        for (Key k : {Key::KPlusMinus, Key::KEex, Key::KDot})
            EXPECT_FALSE(Form().KeyButton(k)->isEnabled());
        Type("\b");
    }
}

TEST_F(Keyboard, CommaSeparatorLocale) {
    Open(',');
    EXPECT_EQ(Form().KeyButton(Key::KDot)->text(), ",");
    Type("1.5");
    EXPECT_EQ(Calc().Entry(), "15");
    Type("\b\b1,5\r");
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"1,5"}));
}

TEST_F(Keyboard, ArrowAndPageKeysScrollWithoutTouchingShift) {
    std::vector<std::string> entries;
    for (int i = 20; i >= 1; --i) entries.push_back(std::to_string(i));
    Push(entries);
    Click(Key::KShift);
    Press(Qt::Key_Up);
    EXPECT_EQ(Form().IndexLabel(1)->text(), "2:");
    Press(Qt::Key_PageUp);
    EXPECT_EQ(Form().IndexLabel(1)->text(), "8:");
    Press(Qt::Key_Down);
    EXPECT_EQ(Form().IndexLabel(1)->text(), "7:");
    Press(Qt::Key_PageDown);
    EXPECT_EQ(Form().IndexLabel(1)->text(), "1:");
    EXPECT_TRUE(ShiftShown());
}

// Menu shortcuts keep working although the window previews every key.
struct ShortcutCase {
    Qt::Key key;
    const char* base; // expected base caption, or empty
    std::size_t depth;
};

class Shortcuts : public Keyboard, public ::testing::WithParamInterface<ShortcutCase> {};

TEST_P(Shortcuts, CtrlKeysRunTheirMenuCommands) {
    const ShortcutCase& c = GetParam();
    Push({"3", "2", "1"});
    Press(c.key, Qt::ControlModifier);
    EXPECT_EQ(Calc().Depth(), c.depth);
    if (*c.base) {
        EXPECT_EQ(Form().BaseL()->text(), c.base);
    }
}

INSTANTIATE_TEST_SUITE_P(Menu, Shortcuts,
                         ::testing::Values(ShortcutCase{Qt::Key_E, "", 4}, // Depth
                                           ShortcutCase{Qt::Key_2, "", 5}, // Dup 2
                                           ShortcutCase{Qt::Key_R, "", 3}, // Rotate
                                           ShortcutCase{Qt::Key_B, "BIN", 3},
                                           ShortcutCase{Qt::Key_8, "OCT", 3},
                                           ShortcutCase{Qt::Key_H, "HEX", 3},
                                           ShortcutCase{Qt::Key_D, "DEC", 3}));

TEST_F(Keyboard, F1ShowsTheKeysBox) {
    Press(Qt::Key_F1);
    ASSERT_EQ(closer_.Seen().size(), 1u);
    EXPECT_EQ(closer_.Seen()[0].title, "Information");
    EXPECT_EQ(closer_.Seen()[0].objectName, "KeysBox");
    // Every line of the help is a line of the box, in its order within its
    // section.
    QTextDocument shown;
    shown.setHtml(closer_.Seen()[0].text);
    const QStringList lines = shown.toPlainText().split('\n');
    const QString help = QString::fromUtf8(tallix::KeysHelpText().data(),
                                           static_cast<qsizetype>(tallix::KeysHelpText().size()));
    for (const QString& section : help.split("\r\n\r\n")) {
        qsizetype previous = -1;
        for (const QString& line : section.split("\r\n")) {
            const qsizetype at = lines.indexOf(line);
            EXPECT_GT(at, previous) << line.toStdString();
            previous = at;
        }
    }
    // Sixty-odd lines still fit a small screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(closer_.Seen()[0].frame.height(), screen.height());
    EXPECT_LE(closer_.Seen()[0].frame.width(), screen.width());
}

// Each scroll key the help names moves the stack display by its step.
TEST_F(Keyboard, ScrollKeysMoveAsTheHelpSays) {
    std::vector<std::string> deep;
    for (int i = 1; i <= 40; ++i) deep.push_back(std::to_string(i));
    Push(deep);
    const std::pair<Qt::Key, tallix::ScrollKey> keys[] = {
        {Qt::Key_PageUp, tallix::ScrollKey::PageUp},
        {Qt::Key_Up, tallix::ScrollKey::LineUp},
        {Qt::Key_PageDown, tallix::ScrollKey::PageDown},
        {Qt::Key_Down, tallix::ScrollKey::LineDown},
    };
    ASSERT_EQ(std::size(keys), tallix::ScrollKeyTable().size());
    for (const auto& [qtKey, scrollKey] : keys) {
        tallix::ScrollBarState sb = Calc().ScrollBar();
        const int expected =
            std::clamp(tallix::ScrollTarget(sb, scrollKey), 0, sb.Max - sb.PageSize);
        Press(qtKey);
        EXPECT_EQ(Calc().ScrollBar().Position, expected) << qtKey;
        EXPECT_NE(Calc().ScrollBar().Position, sb.Position) << qtKey;
    }
}

// A key stays pressed for the button time; a key pressed meanwhile runs at
// once and comes up with it, when the first key's time is over.
TEST_F(Keyboard, KeyPressedDuringAFlashRunsAndBothComeUpTogether) {
    Form().SetButtonTime(300);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(Form().KeyButton(Key::K4), Qt::LeftButton);
    EXPECT_TRUE(Form().KeyButton(Key::K4)->isChecked());
    QTest::qWait(30);
    QTest::keyClick(Target(), '5');
    EXPECT_EQ(Calc().Entry(), "45");
    QTRY_VERIFY_WITH_TIMEOUT(!Form().KeyButton(Key::K4)->isChecked() &&
                                 !Form().KeyButton(Key::K5)->isChecked(),
                             2000);
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 250);
    EXPECT_LT(elapsed, 550) << "the inner key restarted the flash timer";
}

TEST_F(Keyboard, ButtonTimeIsLimited) {
    const int cases[][2] = {{0, 1}, {-5, 1}, {25, 25}, {1000, 1000}, {5000, 1000}};
    for (const auto& c : cases) {
        Form().SetButtonTime(c[0]);
        EXPECT_EQ(Form().ButtonTime(), c[1]) << c[0];
    }
}

} // namespace
} // namespace tallix::gui::test
