// The six stack lines, their index labels and the scroll bar as the window
// shows them for shallow and deep stacks.
#include <QScrollBar>

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
    for (int i = n; i >= 1; --i) Calc().PushText(std::to_string(i));
    Calc().ResetEntry();
    Form().RefreshView();
    EXPECT_EQ(FirstLabel(), 1);
    Form().ScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(ShownLevels(), (std::vector<int>{n - 5, n - 4, n - 3, n - 2, n - 1, n}));
    Form().ScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(FirstLabel(), 1);
}

} // namespace
} // namespace tallix::gui::test
