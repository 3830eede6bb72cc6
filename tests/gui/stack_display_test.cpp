// The six stack lines, their index labels and the scroll bar as the window
// shows them for shallow and deep stacks.
#include <QFontMetrics>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include "gui_fixture.h"

namespace tallix::gui::test {
namespace {

class StackDisplay : public WindowTest {
protected:
    // Entries "1" (level 1) to "n" (level n).
    void Fill(int n) {
        std::vector<std::string> entries;
        for (int i = n; i >= 1; --i) entries.push_back(std::to_string(i));
        Push(entries);
    }
    // The level each line shows (0: empty), bottom line first, and whether
    // the index labels agree with it.
    std::vector<int> ShownLevels() {
        std::vector<int> levels;
        for (int k = 1; k <= 6; ++k) {
            const QString text = Form().StackLineLabel(k)->text();
            levels.push_back(text.isEmpty() ? 0 : text.toInt());
            EXPECT_EQ(Form().StackLineLabel(k)->toolTip(), text);
        }
        return levels;
    }
    int FirstLabel() { return Form().IndexLabel(1)->text().chopped(1).toInt(); }
    int InnerWidth() { return Form().PanelScreen()->contentsRect().width(); }
};

struct DepthCase {
    int depth;
    bool bar;
    int widgetMax; // Max - PageSize
    int page;
    int value;
    std::vector<int> levels;
};

class Depths : public StackDisplay, public ::testing::WithParamInterface<DepthCase> {};

TEST_P(Depths, LinesLabelsAndScrollBar) {
    const DepthCase& c = GetParam();
    Fill(c.depth);
    EXPECT_EQ(ShownLevels(), c.levels);
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(Form().IndexLabel(k)->text(), QString("%1:").arg(k));
    QScrollBar* sb = Form().ScrollBar();
    EXPECT_EQ(sb->isVisibleTo(&Form()), c.bar);
    if (c.bar) {
        EXPECT_EQ(sb->minimum(), 0);
        EXPECT_EQ(sb->maximum(), c.widgetMax);
        EXPECT_EQ(sb->pageStep(), c.page);
        EXPECT_EQ(sb->value(), c.value);
    }
    // Without the bar the lines take its width too.
    const int linesWidth = Form().StackLineLabel(1)->width();
    const int numbersWidth = Form().PanelLines()->x() - Form().PanelScreen()->contentsRect().x();
    if (c.bar)
        EXPECT_EQ(linesWidth, InnerWidth() - numbersWidth - sb->width());
    else
        EXPECT_EQ(linesWidth, InnerWidth() - numbersWidth);
}

INSTANTIATE_TEST_SUITE_P(Stack, Depths,
                         ::testing::Values(DepthCase{3, false, 0, 0, 0, {1, 2, 3, 0, 0, 0}},
                                           DepthCase{7, true, 143, 857, 143, {1, 2, 3, 4, 5, 6}},
                                           DepthCase{
                                               20, true, 9800, 4200, 9800, {1, 2, 3, 4, 5, 6}}));

TEST_F(StackDisplay, UpArrowWithSevenEntriesShowsLevelsTwoToSeven) {
    Fill(7);
    Press(Qt::Key_Up);
    EXPECT_EQ(Form().ScrollBar()->value(), 0);
    EXPECT_EQ(ShownLevels(), (std::vector<int>{2, 3, 4, 5, 6, 7}));
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(Form().IndexLabel(k)->text(), QString("%1:").arg(k + 1));
}

TEST_F(StackDisplay, ThumbAtTheTopShowsTheDeepestLevels) {
    Fill(20);
    Form().ScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(ShownLevels(), (std::vector<int>{15, 16, 17, 18, 19, 20}));
    EXPECT_EQ(FirstLabel(), 15);
}

// Clicks on the bar's arrows and trough move by one level and one screen.
struct StepCase {
    QAbstractSlider::SliderAction action;
    int first; // level on the bottom line after the step from level 8
};

class BarSteps : public StackDisplay, public ::testing::WithParamInterface<StepCase> {};

TEST_P(BarSteps, ArrowsAndTroughStepByLevelsAndScreens) {
    Fill(20);
    for (int i = 0; i < 7; ++i) Press(Qt::Key_Up);
    ASSERT_EQ(FirstLabel(), 8);
    Form().ScrollBar()->triggerAction(GetParam().action);
    EXPECT_EQ(FirstLabel(), GetParam().first);
}

INSTANTIATE_TEST_SUITE_P(Bar, BarSteps,
                         ::testing::Values(StepCase{QAbstractSlider::SliderSingleStepSub, 9},
                                           StepCase{QAbstractSlider::SliderSingleStepAdd, 7},
                                           StepCase{QAbstractSlider::SliderPageStepSub, 14},
                                           StepCase{QAbstractSlider::SliderPageStepAdd, 2},
                                           StepCase{QAbstractSlider::SliderToMaximum, 1}));

TEST_F(StackDisplay, ACommandAfterScrollingReturnsToLevelOne) {
    Fill(20);
    Press(Qt::Key_PageUp);
    ASSERT_EQ(FirstLabel(), 7);
    Type("\r"); // duplicates level 1
    EXPECT_EQ(FirstLabel(), 1);
    EXPECT_EQ(Form().ScrollBar()->value(), Form().ScrollBar()->maximum());
}

TEST_F(StackDisplay, DroppingTheSeventhEntryHidesTheBarAndWidensTheLines) {
    Fill(7);
    const int narrow = Form().StackLineLabel(1)->width();
    Type("\b");
    EXPECT_FALSE(Form().ScrollBar()->isVisibleTo(&Form()));
    EXPECT_GT(Form().StackLineLabel(1)->width(), narrow);
    // Entry "k" was level k; the former level 2 is level 1 now.
    EXPECT_EQ(ShownLevels(), (std::vector<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Form().IndexLabel(1)->text(), "1:");
}

TEST_F(StackDisplay, HexShowsDigitsOfTheBaseAndHintsFollow) {
    Push({"abc", "255"});
    Press(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(Form().StackLineLabel(1)->text(), "FF");
    EXPECT_EQ(Form().StackLineLabel(1)->toolTip(), "FF");
    EXPECT_EQ(Form().StackLineLabel(2)->text(), "abc");
}

TEST_F(StackDisplay, AMillionEntriesScrollToBothEnds) {
    std::vector<std::string> entries;
    const int n = 1000000;
    for (int i = n; i >= 1; --i)
        tallix::testing::Arrange(
            Calc(), [&](tallix::Calculator::Change& ch) { ch.PushText(std::to_string(i)); });
    tallix::testing::Arrange(Calc(), [&](tallix::Calculator::Change& ch) { ch.ResetEntry(); });
    Form().RefreshView();
    EXPECT_EQ(FirstLabel(), 1);
    Form().ScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(ShownLevels(), (std::vector<int>{n - 5, n - 4, n - 3, n - 2, n - 1, n}));
    Form().ScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(FirstLabel(), 1);
}

// Whether a label's whole text fits inside it in its font.
bool Fits(const QLabel* l) {
    return QFontMetrics(l->font()).horizontalAdvance(l->text()) <= l->contentsRect().width();
}

// Level numbers of every size show whole, clear of the panel's edge: below
// 100 exactly as designed, up to 9999 in the same font in a wider column,
// and beyond in a smaller font where the column can grow no more.
TEST_F(StackDisplay, LevelNumbersShowWhole) {
    Fill(99);
    const QFont designFont = Form().IndexLabel(1)->font();
    const int designColumn = Form().PanelLines()->x();
    const int designLines = Form().StackLineLabel(1)->width();
    Form().ScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    ASSERT_EQ(Form().IndexLabel(6)->text(), "99:");
    for (int k = 1; k <= 6; ++k) {
        EXPECT_TRUE(Fits(Form().IndexLabel(k))) << k;
        EXPECT_EQ(Form().IndexLabel(k)->font(), designFont) << k;
    }
    EXPECT_EQ(Form().PanelLines()->x(), designColumn);
    EXPECT_EQ(Form().StackLineLabel(1)->width(), designLines);

    for (int depth : {131, 999, 9999, 10000, 100000, 1000000}) {
        SCOPED_TRACE(depth);
        tallix::testing::Arrange(Calc(), [&](tallix::Calculator::Change& ch) { ch.ClearStack(); });
        Calc().ReserveStack(static_cast<std::size_t>(depth));
        for (int i = depth; i >= 1; --i)
            tallix::testing::Arrange(Calc(),
                                     [&](tallix::Calculator::Change& ch) { ch.PushText("1"); });
        tallix::testing::Arrange(Calc(), [&](tallix::Calculator::Change& ch) { ch.ResetEntry(); });
        Form().RefreshView();
        Form().ScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        EXPECT_EQ(Form().IndexLabel(6)->text(), QString("%1:").arg(depth));
        EXPECT_EQ(Form().IndexLabel(1)->text(), QString("%1:").arg(depth - 5));
        for (int k = 1; k <= 6; ++k) EXPECT_TRUE(Fits(Form().IndexLabel(k))) << k;
        if (depth < 10000) {
            EXPECT_EQ(Form().IndexLabel(6)->font(), designFont);
        }
        EXPECT_GE(InkBox(Form().IndexLabel(1)).left(), 1) << "touches the panel's edge";
        // The lines start after the column and end where they did.
        const QRect lines = Form().PanelLines()->geometry();
        EXPECT_GE(lines.x(), Form().IndexLabel(6)->mapTo(Form().PanelScreen(), QPoint(0, 0)).x() +
                                 Form().IndexLabel(6)->width());
        EXPECT_EQ(lines.x() + Form().StackLineLabel(1)->width(), designColumn + designLines);
        // Back at level 1 the design returns.
        Form().ScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        EXPECT_EQ(Form().IndexLabel(6)->font(), designFont);
        EXPECT_EQ(Form().PanelLines()->x(), designColumn);
    }
    tallix::testing::Arrange(Calc(), [&](tallix::Calculator::Change& ch) { ch.ClearStack(); });
}

// A text too long for its line shows its end after a marker, the sign of a
// negative number kept in front; the tooltip holds the whole text.
TEST_F(StackDisplay, ALongNegativeNumberKeepsItsSign) {
    const struct {
        std::string text;
        int depth; // 7 and more: with the scroll bar
    } cases[] = {
        {"-1.23456789012346E-300", 12},
        {"-1.23456789012346E-300", 7},
        {"-1.2345678901234E-300", 7},
        {"-abcdefghijklmnopqrstuvwxyz", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " at depth " + std::to_string(c.depth));
        tallix::testing::Arrange(Calc(), [&](tallix::Calculator::Change& ch) { ch.ClearStack(); });
        tallix::testing::Arrange(Calc(), [&](tallix::Calculator::Change& ch) {
            ch.PushText(c.text);
        }); // the deepest level
        for (int i = 1; i < c.depth; ++i)
            tallix::testing::Arrange(Calc(),
                                     [&](tallix::Calculator::Change& ch) { ch.PushText("0"); });
        Push({});
        // At a two-digit level, as the user scrolls there.
        for (int i = 1; i < c.depth - 5; ++i) Press(Qt::Key_Up);
        QLabel* line = nullptr;
        for (int k = 1; k <= 6; ++k)
            if (Form().StackLineLabel(k)->toolTip() == QString::fromStdString(c.text))
                line = Form().StackLineLabel(k);
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(line->text().startsWith(QString::fromUtf8("-\u2026")))
            << line->text().toStdString();
        EXPECT_TRUE(QString::fromStdString(c.text).endsWith(line->text().mid(2)))
            << line->text().toStdString();
        EXPECT_TRUE(Fits(line)) << line->text().toStdString();
        EXPECT_TRUE(line->accessibleName().endsWith(QString::fromStdString(": " + c.text)));
    }
    // What fits is shown as it is.
    Push({"-1.5"});
    EXPECT_EQ(Form().StackLineLabel(1)->text(), "-1.5");
}

// A tooltip up over a line does not outlive the line's text: it follows
// the new text, and goes when the line is empty.
TEST_F(StackDisplay, ALinesTooltipFollowsItsText) {
    Push({"1", "2"});
    QLabel* line = Form().StackLineLabel(1);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), line->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(line, &help);
    ASSERT_TRUE(QToolTip::isVisible());
    ASSERT_EQ(QToolTip::text(), "2");
    Type("\b"); // drops level 1
    EXPECT_TRUE(!QToolTip::isVisible() || QToolTip::text() == "1")
        << QToolTip::text().toStdString();
    Type("\b"); // the line is empty now: the tooltip goes
    QTRY_VERIFY_WITH_TIMEOUT(!QToolTip::isVisible(), 2000);
}

// A turn of the wheel over a control, as the window system delivers it: a
// control that ignores it hands it on to its parent, up to the window.
// (Qt hands on only the window system's own events; a test's event would
// stay where it is sent, so the hand-over is made here.)
void Wheel(QWidget* over, int delta) {
    const QPointF at(over->width() / 2.0, over->height() / 2.0);
    for (QWidget* w = over; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        QWheelEvent e(w->mapFromGlobal(over->mapToGlobal(at)), over->mapToGlobal(at), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
        if (e.isAccepted() || w->testAttribute(Qt::WA_NoMousePropagation)) return;
    }
}

// The wheel scrolls the stack wherever the mouse is over the display.
TEST_F(StackDisplay, TheWheelScrollsOverTheWholeDisplay) {
    Fill(40);
    QWidget* places[] = {Form().StackLineLabel(3), Form().IndexLabel(2), Form().Line0(),
                         Form().PanelScreen(), Form().ScrollBar()};
    for (QWidget* w : places) {
        SCOPED_TRACE(w->objectName().toStdString());
        Form().ScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        ASSERT_EQ(FirstLabel(), 1);
        Wheel(w, 120);
        EXPECT_EQ(FirstLabel(), 1 + QApplication::wheelScrollLines());
        Wheel(w, -120);
        EXPECT_EQ(FirstLabel(), 1);
    }
    // Past either end a turn changes nothing.
    Wheel(Form().StackLineLabel(1), -120);
    EXPECT_EQ(FirstLabel(), 1);
}

} // namespace
} // namespace tallix::gui::test
