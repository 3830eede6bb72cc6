// The tape window: the Options item, the lines it lists as the calculator
// works, pushing a line's value, copying, what screen readers are told, and
// the tape kept in its file beside the settings.
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>

#include "core/commands/clipboard.h"
#include "core/tape/tapefile.h"
#include "gui/settings/qsettingsstore.h"
#include "gui/settings/tapesave.h"
#include "gui/widgets/tapemodel.h"
#include "gui/widgets/tapewindow.h"
#include "gui_fixture.h"

namespace tallix::gui::test {
namespace {

using tallix::Cmd;

class TapeWindowTest : public WindowTest {
protected:
    TTapeWindow& ShownTape() {
        QAction* item = Form().CommandAction(Cmd::Tape);
        if (!item->isChecked()) item->trigger();
        EXPECT_NE(Form().TapeWindow(), nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Form().TapeWindow()));
        return *Form().TapeWindow();
    }
    QStringList Rows() {
        QStringList out;
        QAbstractItemModel* m = ShownTape().List()->model();
        for (int i = 0; i < m->rowCount(); ++i) out << m->index(i, 0).data().toString();
        return out;
    }
    QModelIndex Row(int i) { return ShownTape().List()->model()->index(i, 0); }
};

TEST_F(TapeWindowTest, TheOptionsItemShowsItBesideTheWindowAndClosingUnchecksIt) {
    QAction* item = Form().CommandAction(Cmd::Tape);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Ta&pe");
    EXPECT_TRUE(item->isCheckable());
    EXPECT_EQ(item->shortcut(), QKeySequence("Ctrl+Shift+T"));
    auto* options = Form().findChild<QMenu*>("Options1");
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(options->actions().contains(item));

    const QSize before = Form().size();
    item->trigger();
    TTapeWindow* tape = Form().TapeWindow();
    ASSERT_NE(tape, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tape));
    EXPECT_TRUE(tape->isVisible());
    EXPECT_EQ(Form().size(), before); // the calculator keeps its size
    const QRect main = Form().frameGeometry();
    EXPECT_TRUE(tape->x() >= main.right() || tape->frameGeometry().right() <= main.left())
        << tape->x() << " main " << main.left() << ".." << main.right();

    tape->close();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(tape->isVisible());
}

TEST_F(TapeWindowTest, StaysOnTopWhenTheCalculatorDoes) {
    TTapeWindow& tape = ShownTape();
    EXPECT_FALSE(tape.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    Form().CommandAction(Cmd::StayOnTop)->trigger();
    ASSERT_TRUE(Form().StaysOnTop());
    EXPECT_TRUE(tape.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(tape.isVisible());
    Form().CommandAction(Cmd::StayOnTop)->trigger();
    EXPECT_FALSE(tape.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

// The tape goes where the calculator goes: to the tray and back (also
// when it is to be shown while the calculator is there, as at a start in
// the tray), and through the zoom steps, its size times the zoom, its rows
// as tall as the zoomed font's lines and its frame beside the calculator's.
TEST_F(TapeWindowTest, FollowsTheCalculatorToTheTrayAndThroughTheZoom) {
    Form().SetTrayProbe([] { return true; });
    TTapeWindow& tape = ShownTape();
    const QSize base = tape.size();
    Form().TrayIcon1Click();
    EXPECT_FALSE(tape.isVisible());
    Form().ShowTape(false);
    Form().ShowTape(true);
    EXPECT_FALSE(tape.isVisible());
    Form().TaskIcon1Click();
    EXPECT_TRUE(tape.isVisible());
    // The offscreen screen has room beside the calculator up to 125 %.
    for (int zoom : {200, 125, 100}) {
        Form().SetZoom(zoom);
        EXPECT_EQ(tape.size(), base * zoom / 100) << zoom;
        EXPECT_GT(tape.List()->verticalHeader()->defaultSectionSize(),
                  QFontMetrics(tape.List()->font()).height())
            << zoom;
        if (zoom <= 125) {
            EXPECT_FALSE(tape.frameGeometry().intersects(Form().frameGeometry())) << zoom;
        }
    }
    EXPECT_EQ(Form().TapeSize(), base); // what is saved: the size at 100 %
}

TEST_F(TapeWindowTest, ListsEachLineNewestLastWithErrorsAndUndoneMarks) {
    ShownTape();
    Type("2\r3+");
    Type("0/");
    EXPECT_EQ(Rows(), (QStringList{"2", "3", "+ 5", "0", "error: ÷ Error: Infinite Result"}));
    EXPECT_TRUE(Row(4).data(TTapeModel::ErrorRole).toBool());
    ASSERT_TRUE(Calc().Undo());
    ASSERT_TRUE(Calc().Undo());
    EXPECT_TRUE(Row(2).data(TTapeModel::UndoneRole).toBool());
    EXPECT_EQ(Row(2).data().toString(), "+ 5, undone");
    // The newest line is in view.
    QTableView* list = ShownTape().List();
    QApplication::processEvents();
    const QRect last = list->visualRect(Row(list->model()->rowCount() - 1));
    EXPECT_TRUE(list->viewport()->rect().intersects(last));
}

TEST_F(TapeWindowTest, DoubleClickAndEnterPushTheExactValueAsAStep) {
    ShownTape();
    Type("0.5S"); // SIN: 18 digits on the stack, 15 on the display
    const std::string sine = Calc().Stack().at(0);
    QTableView* list = ShownTape().List();
    list->setCurrentIndex(Row(1));
    const QRect r = list->visualRect(Row(1));
    // A double click as the window system delivers it: a click, then the
    // second press as a double click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(Calc().Depth(), 2u);
    EXPECT_EQ(Calc().Stack().at(0), sine);
    EXPECT_EQ(Form().Line0()->text(), ""); // shown as level 1, not typed
    list->setCurrentIndex(Row(0));
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(Calc().Depth(), 3u);
    EXPECT_EQ(Calc().Stack().at(0), "0.5");
    // A step like any other: Undo takes it back, and the tape marks it.
    ASSERT_TRUE(Calc().Undo());
    EXPECT_EQ(Calc().Depth(), 2u);
    EXPECT_TRUE(Row(3).data(TTapeModel::UndoneRole).toBool());
}

TEST_F(TapeWindowTest, CopyPutsTheSelectedLinesOnTheClipboard) {
    TTapeWindow& tape = ShownTape();
    Type("2\r3*");
    QTableView* list = tape.List();
    list->selectionModel()->select(QItemSelection(Row(1), Row(2)), QItemSelectionModel::Select);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString::fromStdString(Form().Tape().TextOf({1, 2})));
    EXPECT_EQ(QGuiApplication::clipboard()->text().split('\n').size(), 3);
    const QStringList menu = [&] {
        QStringList names;
        for (QAction* a : tape.ContextMenu()->actions())
            if (!a->isSeparator()) names << a->text();
        return names;
    }();
    EXPECT_EQ(menu, (QStringList{"&Copy", "&Push value", "Save Tape &As...", "Save as &Script...",
                                 "P&rint Tape...", "C&lear Tape"}));
}

TEST_F(TapeWindowTest, ScreenReadersReadItLineByLine) {
    TTapeWindow& tape = ShownTape();
    Type("1\r0/");
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(tape.List());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), "Tape");
    QStringList spoken;
    for (int i = 0; i < list->childCount(); ++i)
        if (QAccessibleInterface* c = list->child(i)) spoken << c->text(QAccessible::Name);
    EXPECT_TRUE(spoken.contains("error: ÷ Error: Infinite Result"))
        << spoken.join("|").toStdString();
    EXPECT_TRUE(spoken.contains("0"));
}

TEST(TapeKept, AcrossARestartAndOnDiskWhileRunning) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString settings = dir.path() + "/Tallix.conf";
    const std::string tapeFile = (dir.path() + "/Tallix.tape").toStdString();
    std::string beforeRestart;
    {
        QSettingsStore store(settings);
        auto form = CreateMainWindow('.', &store);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->TapeSave()->SetIdleMs(10);
        form->CommandAction(Cmd::Tape)->trigger();
        form->TapeWindow()->resize(420, 280);
        tallix::PasteText(form->Calc(), "4 5");
        tallix::RunCommand(form->Calc(), Cmd::Mul);
        // Written a moment after the last change, before any end: what a
        // kill would leave.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(QString::fromStdString(tapeFile)), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                std::string bytes;
                persist::ReadWholeFile(tapeFile, bytes);
                return bytes == tape::Serialize(form->Tape());
            }(),
            3000);
        beforeRestart = tape::Serialize(form->Tape());
        form->FormDestroy();
    }
    QSettingsStore store(settings);
    auto form = CreateMainWindow('.', &store);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(tape::Serialize(form->Tape()), beforeRestart);
    ASSERT_EQ(form->Tape().Size(), 2u);
    EXPECT_EQ(form->Tape().At(1).caption, "×");
    // Shown again, since it was shown at the end.
    QTRY_VERIFY(form->TapeWindow() && form->TapeWindow()->isVisible());
    EXPECT_TRUE(form->CommandAction(Cmd::Tape)->isChecked());
    EXPECT_EQ(form->TapeWindow()->size(), QSize(420, 280));
    // And it goes on from there.
    tallix::RunCommand(form->Calc(), Cmd::Sqrt);
    ASSERT_EQ(form->Tape().Size(), 3u);
    EXPECT_EQ(form->Tape().At(2).caption, "SQRT");
    form->FormDestroy();
}

} // namespace
} // namespace tallix::gui::test
