// The Edit menu: its place and items, undo and redo from the keyboard and
// the menu, the clipboard, and what screen readers are told.
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "gui_fixture.h"

namespace tallix::gui::test {
namespace {

using tallix::Key;
using Texts = std::vector<std::string>; // level 1 first

class EditMenu : public WindowTest {
protected:
    QAction* Item(const char* name) { return Form().Action(name); }
    static QClipboard* Clipboard() { return QGuiApplication::clipboard(); }
    static QString Accessible(QObject* o, QAccessible::Text t = QAccessible::Name) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
        return i ? i->text(t) : QString("<no interface>");
    }
};

TEST_F(EditMenu, StandsBetweenFileAndMenusWithItsItemsAndKeys) {
    QStringList bar;
    for (QAction* a : Form().menuBar()->actions()) bar << a->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&Edit", "Men&us", "Opt&ions"}));

    auto* edit = Form().findChild<QMenu*>("Edit1");
    ASSERT_NE(edit, nullptr);
    struct Item {
        QString text;
        QList<QKeySequence> keys;
    };
    const std::vector<Item> expected = {
        {"&Undo", {QKeySequence("Ctrl+Z")}},
        {"&Redo", {QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}},
        {"", {}}, // separator
        {"&Copy", {QKeySequence("Ctrl+C")}},
        {"Copy &Stack", {QKeySequence("Ctrl+Shift+C")}},
        {"&Paste", {QKeySequence("Ctrl+V")}},
    };
    const QList<QAction*> items = edit->actions();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].text.toStdString());
        EXPECT_EQ(items[i]->isSeparator(), expected[i].text.isEmpty());
        EXPECT_EQ(items[i]->text(), expected[i].text);
        EXPECT_EQ(items[i]->shortcuts(), expected[i].keys);
    }
}

TEST_F(EditMenu, UndoAndRedoAreGreyedWhenThereIsNothingToDo) {
    EXPECT_FALSE(Item("Undo1")->isEnabled());
    EXPECT_FALSE(Item("Redo1")->isEnabled());
    Type("5\r");
    EXPECT_TRUE(Item("Undo1")->isEnabled());
    EXPECT_FALSE(Item("Redo1")->isEnabled());
    Item("Undo1")->trigger();
    EXPECT_TRUE(StackTexts().empty());
    EXPECT_FALSE(Item("Undo1")->isEnabled());
    EXPECT_TRUE(Item("Redo1")->isEnabled());
    Item("Redo1")->trigger();
    EXPECT_EQ(StackTexts(), Texts{"5"});
    EXPECT_TRUE(Item("Undo1")->isEnabled());
    EXPECT_FALSE(Item("Redo1")->isEnabled());
}

// Ctrl combinations undo and redo; the keys' own letters are unchanged.
struct KeyStep {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    Texts stack; // level 1 first, afterwards
};

TEST_F(EditMenu, ShortcutsUndoAndRedoWhileZStaysLast) {
    Type("3\r4+");
    const KeyStep steps[] = {
        {Qt::Key_Z, Qt::NoModifier, {"4", "3", "7"}}, // Last
        {Qt::Key_Z, Qt::ControlModifier, {"7"}},
        {Qt::Key_Z, Qt::ControlModifier, {"4", "3"}},
        {Qt::Key_Y, Qt::ControlModifier, {"7"}},
        {Qt::Key_Z, Qt::ControlModifier, {"4", "3"}},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, {"7"}},
        {Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier, {"7"}}, // no such key
        {Qt::Key_Y, Qt::ControlModifier, {"4", "3", "7"}},
        {Qt::Key_Y, Qt::ControlModifier, {"4", "3", "7"}}, // nothing left to redo
    };
    for (const KeyStep& s : steps) {
        Press(s.key, s.mods);
        EXPECT_EQ(StackTexts(), s.stack) << QKeySequence(s.key | s.mods).toString().toStdString();
    }
    EXPECT_TRUE(closer_.Seen().empty());
}

TEST_F(EditMenu, UndoTakesBackTheTypedEntryThenAClearedStack) {
    Push({"1", "2", "3"});
    Click(Key::KShift);
    Click(Key::KLast); // CLR
    EXPECT_TRUE(StackTexts().empty());
    Type("12");
    // As in an editor, the first Undo takes back the typing, and only that.
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form().Line0()->text(), "");
    EXPECT_TRUE(StackTexts().empty());
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(StackTexts(), (Texts{"3", "2", "1"}));
    EXPECT_EQ(Form().Line0()->text(), "");
    EXPECT_FALSE(ShiftShown());
}

TEST_F(EditMenu, RedoDoesNotBringTheTypedTextBack) {
    Type("1\r2\r+5");
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form().Line0()->text(), "");
    EXPECT_EQ(StackTexts(), Texts{"3"});
    Press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Form().Line0()->text(), "");
    EXPECT_EQ(StackTexts(), Texts{"3"});
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(StackTexts(), (Texts{"2", "1"}));
}

TEST_F(EditMenu, UndoAndRedoSayWhatTheyWouldDo) {
    struct Step {
        std::function<void()> act;
        const char* undo;
        const char* redo;
    };
    const Step steps[] = {
        {[] {}, "&Undo", "&Redo"},
        {[this] { Type("1\r2\r+"); }, "&Undo +", "&Redo"},
        {[this] { Press(Qt::Key_H, Qt::ControlModifier); }, "&Undo Base Change", "&Redo"},
        {[this] { Press(Qt::Key_Z, Qt::ControlModifier); }, "&Undo +", "&Redo Base Change"},
        {[this] {
             Click(Key::KShift);
             Click(Key::KLast);
         },
         "&Undo Clear", "&Redo"},
        {[this] { Press(Qt::Key_Z, Qt::ControlModifier); }, "&Undo +", "&Redo Clear"},
        {[this] { Type("7"); }, "&Undo Typing", "&Redo Clear"},
        {[this] { Item("Paste1")->trigger(); }, "&Undo Paste", "&Redo"},
    };
    Clipboard()->setText("4");
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(Item("Undo1")->text(), s.undo);
        EXPECT_EQ(Item("Redo1")->text(), s.redo);
    }
    EXPECT_TRUE(closer_.Seen().empty());
}

TEST_F(EditMenu, PrintEntersTheTypedNumberAsAStepAndKeepsTheHistory) {
    Type("1\r2\r+5");
    // Esc on the print dialog.
    bool shown = false;
    QTimer esc;
    esc.setInterval(1);
    QObject::connect(&esc, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible()) return;
        esc.stop();
        shown = true;
        QTest::keyClick(d, Qt::Key_Escape);
    });
    esc.start();
    Press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(shown);
    EXPECT_EQ(StackTexts(), (Texts{"5", "3"}));
    EXPECT_EQ(Item("Undo1")->text(), "&Undo Entry");
    // The window is active again once the dialog is gone.
    QApplication::setActiveWindow(&Form());
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(StackTexts(), Texts{"3"});
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(StackTexts(), (Texts{"2", "1"}));
}

TEST_F(EditMenu, ModeChangesFromTheIndicatorsAreSteps) {
    QTest::mouseDClick(Form().AngleL(), Qt::LeftButton);
    QTest::mouseDClick(Form().BaseL(), Qt::LeftButton);
    EXPECT_EQ(Form().AngleL()->text(), "GRAD");
    EXPECT_EQ(Form().BaseL()->text(), "HEX");
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form().BaseL()->text(), "DEC");
    EXPECT_TRUE(Form().Action("Decimal1")->isChecked());
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form().AngleL()->text(), "RAD");
    EXPECT_TRUE(Form().Action("Radians1")->isChecked());
}

TEST_F(EditMenu, OpeningAStackFileIsOneStep) {
    QTemporaryDir dir;
    const QString path = dir.filePath("s.Stk");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("1\r\n2\r\n");
    f.close();
    Push({"9"});
    Type("8\r");
    ASSERT_TRUE(Form().OpenStackFile(path));
    Form().RefreshView();
    EXPECT_EQ(StackTexts(), (Texts{"1", "2"}));
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(StackTexts(), (Texts{"8", "9"}));
}

// ---- the clipboard ----------------------------------------------------

struct CopyCase {
    const char* name;
    Qt::Key baseKey; // Ctrl+this chooses the base
    Texts pushed;    // deepest first
    const char* copied;
    const char* stack;
};

TEST_F(EditMenu, CopyAndCopyStackFollowTheBase) {
    const CopyCase cases[] = {
        {"decimal",
         Qt::Key_D,
         {"7", "0.333333333333333333"},
         "0.333333333333333333",
         "7\n0.333333333333333333\n"},
        {"hexadecimal", Qt::Key_H, {"16", "255"}, "FF", "10\nFF\n"},
        {"beyond what hexadecimal shows", Qt::Key_H, {"16", "1E25"}, "DEC:1E25", "10\nDEC:1E25\n"},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.name);
        tallix::testing::Arrange(Calc(), [&](tallix::Calculator::Change& ch) { ch.ClearStack(); });
        Push(c.pushed);
        Press(c.baseKey, Qt::ControlModifier);
        Press(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(Clipboard()->text(), c.copied);
        Press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(Clipboard()->text(), c.stack);
        // Pasted back in the same base: the same stack again.
        tallix::testing::Arrange(Calc(), [&](tallix::Calculator::Change& ch) { ch.ClearStack(); });
        Press(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(StackTexts(), Texts(c.pushed.rbegin(), c.pushed.rend()));
    }
}

TEST_F(EditMenu, CopyTakesTheEntryLinesSelectionFirst) {
    Push({"5"});
    Type("123");
    Form().Line0()->setSelection(1, 2);
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard()->text(), "23");
    EXPECT_EQ(Calc().Entry(), "123"); // still being typed
    EXPECT_EQ(StackTexts(), Texts{"5"});
}

TEST_F(EditMenu, AnEmptyStackCopiesNothing) {
    Clipboard()->setText("before");
    Press(Qt::Key_C, Qt::ControlModifier);
    Press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Clipboard()->text(), "before");
}

TEST_F(EditMenu, PasteEntersEveryNumberAsOneStep) {
    Push({"9"});
    Clipboard()->setText("1.5\t2\r\n3\r\n");
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(StackTexts(), (Texts{"3", "2", "1.5", "9"}));
    EXPECT_EQ(Form().StackLineLabel(1)->text(), "3");
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(StackTexts(), Texts{"9"});
}

TEST_F(EditMenu, PasteOfABadPieceShowsItAndPushesNothing) {
    Push({"9"});
    Clipboard()->setText("1 2 x3 4");
    Item("Paste1")->trigger();
    EXPECT_EQ(StackTexts(), Texts{"9"});
    ASSERT_EQ(closer_.Seen().size(), 1u);
    EXPECT_EQ(closer_.Seen()[0].text, "Paste Error: \"x3\"\nInvalid Syntax");
    EXPECT_EQ(closer_.Seen()[0].title, "Tallix Error");
}

TEST_F(EditMenu, PasteInACommaLocaleTakesAPointToo) {
    Open(',');
    Clipboard()->setText("2.5 1,25\n");
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(StackTexts(), (Texts{"1,25", "2,5"}));
}

TEST_F(EditMenu, PastingAHundredThousandNumbers) {
    QString text;
    for (int i = 0; i < 100000; ++i) text += QString::number(i) + "\n";
    Clipboard()->setText(text);
    QElapsedTimer clock;
    clock.start();
    Press(Qt::Key_V, Qt::ControlModifier);
    const qint64 pasted = clock.elapsed();
    ASSERT_EQ(Calc().Depth(), 100000u);
    EXPECT_EQ(Form().StackLineLabel(1)->text(), "99999");
    clock.restart();
    Press(Qt::Key_Z, Qt::ControlModifier);
    const qint64 undone = clock.elapsed();
    EXPECT_EQ(Calc().Depth(), 0u);
    std::printf("window: paste of 100,000 numbers %lld ms, its undo %lld ms\n",
                static_cast<long long>(pasted), static_cast<long long>(undone));
}

// ---- screen readers ---------------------------------------------------

TEST_F(EditMenu, KeysSayWhatTheyDo) {
    struct Case {
        Key key;
        const char* plain;
        const char* shifted;
    };
    const Case cases[] = {
        {Key::KSin, "Sine", "Arc sine"},
        {Key::KEnter, "Enter", "Edit"},
        {Key::K7, "Seven", "Seven"},
        {Key::KShift, "Shift", "Shift"},
        {Key::KDiv, "Divide", "Divide"},
        {Key::KLast, "Last arguments", "Clear stack"},
        {Key::KDot, "Decimal point", "Decimal point"},
    };
    for (const Case& c : cases) EXPECT_EQ(Accessible(Form().KeyButton(c.key)), c.plain);
    Click(Key::KShift);
    for (const Case& c : cases) EXPECT_EQ(Accessible(Form().KeyButton(c.key)), c.shifted);
    EXPECT_EQ(Accessible(Form().KeyButton(Key::KSin), QAccessible::Description),
              "Sine; with Shift: Arc sine");
}

TEST_F(EditMenu, StackLinesEntryLineAndIndicatorsAreNamed) {
    Push({"1", "2", "3", "4", "5", "6", "7", "3.5"});
    EXPECT_EQ(Accessible(Form().StackLineLabel(1)), "level 1: 3.5");
    EXPECT_EQ(Accessible(Form().StackLineLabel(6)), "level 6: 3");
    Press(Qt::Key_Up);
    EXPECT_EQ(Accessible(Form().StackLineLabel(1)), "level 2: 7");
    tallix::testing::Arrange(Calc(), [&](tallix::Calculator::Change& ch) { ch.ClearStack(); });
    Push({"255"});
    EXPECT_EQ(Accessible(Form().StackLineLabel(2)), "level 2: empty");
    EXPECT_EQ(Accessible(Form().Line0()), "Entry line");
    EXPECT_EQ(Accessible(Form().AngleL()), "Angle unit: radians");
    EXPECT_EQ(Accessible(Form().BaseL()), "Base: decimal");
    Press(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(Accessible(Form().BaseL()), "Base: hexadecimal");
    EXPECT_EQ(Accessible(Form().StackLineLabel(1)), "level 1: FF");
    QTest::mouseDClick(Form().AngleL(), Qt::LeftButton);
    EXPECT_EQ(Accessible(Form().AngleL()), "Angle unit: gradients");
    EXPECT_EQ(Accessible(Form().ScrollBar()), "Stack levels");
}

} // namespace
} // namespace tallix::gui::test
