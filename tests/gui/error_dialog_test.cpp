// The error dialog: its message and where it appears.
#include <QScreen>

#include "gui/layout/geometry.h"
#include "gui_fixture.h"

namespace tallix::gui::test {
namespace {

class ErrorDialog : public WindowTest {
protected:
    QRect PanelOnScreen() {
        QFrame* p = Form().PanelScreen();
        return QRect(p->mapToGlobal(QPoint(0, 0)), p->size());
    }
    void SetOnTop(bool on) {
        QAction* a = Form().Action("AlwaysOnTop1");
        if (a->isChecked() != on) a->trigger();
        ASSERT_EQ(Form().StaysOnTop(), on);
    }
};

TEST_F(ErrorDialog, CoversTheStackDisplayAndKeepsTheStack) {
    Type("\r"); // duplicate on an empty stack
    ASSERT_EQ(closer_.Seen().size(), 1u);
    const SeenDialog& d = closer_.Seen()[0];
    EXPECT_EQ(d.title, "Tallix Error");
    EXPECT_EQ(d.text, "DUP Error: \nToo Few Arguments");
    EXPECT_EQ(d.frame, PanelOnScreen());
    EXPECT_TRUE(Calc().Stack().empty());
}

TEST_F(ErrorDialog, EntryErrorLeavesTheEntryLine) {
    tallix::testing::SetEntry(Calc(), "-");
    Form().RefreshView();
    Type("\r");
    ASSERT_EQ(closer_.Seen().size(), 1u);
    EXPECT_EQ(closer_.Seen()[0].text, "Entry Error: \nInvalid Syntax");
    EXPECT_EQ(Form().Line0()->text(), "-");
}

TEST_F(ErrorDialog, StayOnTopPutsItBesideTheWindow) {
    SetOnTop(true);
    const QRect screen = Form().screen()->geometry();
    // Room on the right.
    Form().move(screen.x() + 20, screen.y() + 30);
    QTest::qWait(10);
    Type("\r");
    ASSERT_EQ(closer_.Seen().size(), 1u);
    QRect frame = Form().frameGeometry();
    EXPECT_EQ(closer_.Seen()[0].frame.left(), frame.left() + frame.width() + 1);
    EXPECT_EQ(closer_.Seen()[0].frame.top(), PanelOnScreen().top());
    // At the screen's right edge it goes left of the window.
    Form().move(screen.x() + screen.width() - frame.width(), screen.y() + 30);
    QTest::qWait(10);
    Type("\r");
    ASSERT_EQ(closer_.Seen().size(), 2u);
    frame = Form().frameGeometry();
    const QRect d = closer_.Seen()[1].frame;
    EXPECT_EQ(d.left(), frame.left() - d.width() - 1);
    EXPECT_EQ(d.top(), PanelOnScreen().top());
    SetOnTop(false);
}

struct PlacementCase {
    bool onTop;
    QRect owner;
    QPoint expected;
};

class Placement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, RightLeftOrScreenEdge) {
    const PlacementCase& c = GetParam();
    const QRect screen(0, 0, 640, 480);
    const QRect panel(c.owner.x() + 9, c.owner.y() + 60, 189, 109);
    const QSize dialog(183, 104);
    const QRect r = TErrDlg::Placement(panel, c.owner, screen, c.onTop, dialog);
    EXPECT_EQ(r.topLeft(), c.expected);
    EXPECT_EQ(r.size(), c.onTop ? dialog : panel.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, Placement,
                         ::testing::Values(
                             // not on top: over the stack display
                             PlacementCase{false, QRect(100, 50, 208, 450), QPoint(109, 110)},
                             // on top, room on the right (the second one fits exactly)
                             PlacementCase{true, QRect(100, 50, 208, 450), QPoint(309, 110)},
                             PlacementCase{true, QRect(248, 50, 208, 450), QPoint(457, 110)},
                             // one pixel short on the right: left of the window
                             PlacementCase{true, QRect(249, 50, 208, 450), QPoint(65, 110)},
                             // no room on either side: the screen's left edge
                             PlacementCase{true, QRect(150, 50, 400, 450), QPoint(0, 110)}));

} // namespace
} // namespace tallix::gui::test

namespace tallix::gui::test {
namespace {

// The dialog is made with the window but its picture is read when it is
// shown; a zoom while it is up, or between showings, finds the new size.
TEST(ErrorDialogPicture, ShownAtTheLabelsSizeWhateverTheResolution) {
    TErrDlg dialog(nullptr, 96);
    auto* image = dialog.findChild<QLabel*>("Image1");
    ASSERT_NE(image, nullptr);
    struct Step {
        bool shown;
        int dpi;
    };
    for (const Step& step : {Step{true, 96}, Step{true, 144}, Step{false, 120}, Step{true, 120}}) {
        SCOPED_TRACE(std::to_string(step.dpi) + (step.shown ? " dpi, shown" : " dpi, hidden"));
        dialog.setVisible(step.shown);
        dialog.Layout(step.dpi);
        if (!step.shown) continue;
        const QPixmap picture = image->pixmap();
        EXPECT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(Scale(32, step.dpi), Scale(32, step.dpi)));
    }
}

} // namespace
} // namespace tallix::gui::test
