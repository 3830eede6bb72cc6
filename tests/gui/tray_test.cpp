// The tray icon component and the window's trips to the tray and back.
#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <memory>

#include "gui/widgets/trayicon.h"
#include "gui_fixture.h"

namespace tallix::gui::test {
namespace {

TEST(TrayIconComponent, ToolTipKeepsItsFirst62Characters) {
    TTrayIcon icon(nullptr);
    const struct {
        int length;
        int kept;
    } cases[] = {{0, 0}, {61, 61}, {62, 62}, {63, 62}, {70, 62}};
    for (const auto& c : cases) {
        QString tip;
        for (int i = 0; i < c.length; ++i) tip += QChar('a' + i % 26);
        icon.SetToolTip(tip);
        EXPECT_EQ(icon.ToolTip(), tip.left(c.kept)) << c.length;
    }
}

TEST(TrayIconComponent, AddsOnceDeletesOnceAndModifiesOnlyWhileActive) {
    TTrayIcon icon(nullptr);
    icon.SetActive(false); // already off: nothing reaches the tray
    EXPECT_EQ(icon.ShellCalls().remove, 0);
    icon.SetToolTip("first");
    icon.SetIcon(QIcon());
    EXPECT_EQ(icon.ShellCalls().modify, 0);

    icon.SetActive(true);
    icon.SetActive(true);
    EXPECT_EQ(icon.ShellCalls().add, 1);
    // The values set while inactive show with the add.
    EXPECT_EQ(icon.PlatformIcon()->toolTip(), "first");
    icon.SetToolTip("second");
    EXPECT_EQ(icon.ShellCalls().modify, 1);
    EXPECT_EQ(icon.PlatformIcon()->toolTip(), "second");

    icon.SetActive(false);
    icon.SetActive(false);
    EXPECT_EQ(icon.ShellCalls().remove, 1);
    EXPECT_EQ(icon.ShellCalls().add, 1);
}

TEST(TrayIconComponent, ClicksReachTheirEventsAndTheRightButtonOpensTheMenuFirst) {
    TTrayIcon icon(nullptr);
    QWidget owner;
    QMenu menu(&owner);
    menu.addAction("item");
    icon.SetPopupMenu(&menu);
    std::vector<std::string> events;
    icon.OnClick = [&](TTrayIcon* s) { events.push_back(s == &icon ? "click" : "?"); };
    icon.OnDblClick = [&](TTrayIcon*) { events.push_back("dblclick"); };
    icon.OnRightClick = [&](TTrayIcon*, Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
        events.push_back(std::string("right") + (menu.isVisible() ? " after menu" : "") +
                         (b == Qt::RightButton && m == Qt::NoModifier ? "" : " bad args") + " " +
                         std::to_string(x) + "," + std::to_string(y));
    };
    // The platform's activations stand for the mouse messages.
    Q_EMIT icon.PlatformIcon()->activated(QSystemTrayIcon::Trigger);
    Q_EMIT icon.PlatformIcon()->activated(QSystemTrayIcon::DoubleClick);
    Q_EMIT icon.PlatformIcon()->activated(QSystemTrayIcon::MiddleClick);
    icon.RightButtonUp(QPoint(30, 40));
    EXPECT_EQ(events, (std::vector<std::string>{"click", "dblclick", "right after menu 30,40"}));
    menu.hide();
}

class Tray : public WindowTest {};

TEST_F(Tray, MenuItemsAndTheStripButton) {
    QAction* tray = Form().Action("TrayIcon1");
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->text(), "&Tray Icon");
    EXPECT_EQ(tray->shortcut(), QKeySequence("Ctrl+T"));
    ASSERT_NE(Form().TrayIconBtn(), nullptr);
    EXPECT_EQ(Form().TrayIconBtn()->toolTip(), "Minimize to tray icon");
    // Present exactly where the desktop has a notification area.
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    EXPECT_EQ(Form().TrayAvailable(), available);
    EXPECT_EQ(tray->isVisible(), available);
    EXPECT_EQ(Form().TrayIconBtn()->isVisibleTo(&Form()), available);

    QMenu* popup = Form().PopupMenu1();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->objectName(), "PopupMenu1");
    QStringList items;
    for (QAction* a : popup->actions()) items << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(items, (QStringList{"&Restore", "&Close", "-", "&About Tallix"}));
    EXPECT_EQ(popup->defaultAction(), Form().Action("Restore1"));
    EXPECT_TRUE(Form().Action("Restore1")->font().bold());
}

TEST_F(Tray, ToTheTrayAndBackLaysTheWindowOut) {
    const int fullHeight = Form().height();
    Form().CommandAction(Cmd::HideKeyboard)->setChecked(true);
    Form().TrayIcon1Click();
    EXPECT_TRUE(Form().isHidden());
    EXPECT_TRUE(Form().TaskIcon1()->Active());
    EXPECT_EQ(Form().TaskIcon1()->ToolTip(), "Tallix");

    // A left click on the icon brings the window back, as the Hide option
    // lays it out, and removes the icon.
    Form().TaskIcon1()->LeftButtonUp();
    EXPECT_TRUE(Form().isVisible());
    EXPECT_FALSE(Form().TaskIcon1()->Active());
    EXPECT_LT(Form().height(), fullHeight);
}

TEST_F(Tray, AboutTallixRestoresThenShowsTheAboutBox) {
    Form().TrayIcon1Click();
    Form().Action("AboutTallix1")->trigger();
    EXPECT_TRUE(Form().isVisible());
    EXPECT_FALSE(Form().TaskIcon1()->Active());
    ASSERT_FALSE(closer_.Seen().empty());
    EXPECT_EQ(closer_.Seen().back().objectName, "AboutBox");
}

TEST_F(Tray, StartInTrayNeedsTheSwitchAndATray) {
    const struct {
        QStringList args;
        bool tray;
    } cases[] = {
        {{"tallix", "/TRAY"}, true},   {{"tallix", "/tray"}, true},
        {{"tallix", "/Tray"}, true},   {{"tallix"}, false},
        {{"tallix", "/TRAYX"}, false}, {{"tallix", "x", "/TRAY"}, false},
    };
    for (const auto& c : cases) {
        Open('.');
        const bool started = Form().StartInTray(c.args);
        EXPECT_EQ(started, c.tray && Form().TrayAvailable()) << c.args.join(' ').toStdString();
        EXPECT_EQ(Form().isHidden(), started);
    }
}

// The program's icon is read after the window's first paint, yet no window
// or tray icon that is seen goes without it: the shown window has it once
// its first paint is through, and a start in the tray has it at once.
TEST(ProgramIcon, ComesAfterTheFirstPaintAndWithTheTray) {
    const struct {
        const char* how;
        bool toTray;
    } cases[] = {{"shown", false}, {"to the tray", true}};
    for (const auto& c : cases) {
        auto form = CreateMainWindow('.');
        EXPECT_FALSE(form->IconsShown()) << c.how;
        if (c.toTray) {
            form->TrayIcon1Click();
        } else {
            form->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
            for (int i = 0; i < 200 && !form->IconsShown(); ++i) QTest::qWait(5);
        }
        EXPECT_TRUE(form->IconsShown()) << c.how;
        EXPECT_FALSE(form->windowIcon().isNull()) << c.how;
        EXPECT_FALSE(QApplication::windowIcon().isNull()) << c.how;
        EXPECT_FALSE(form->TaskIcon1()->Icon().isNull()) << c.how;
        EXPECT_EQ(form->windowIcon().availableSizes().size(), 6) << c.how;
    }
}

// The notification area is looked for while the window runs: one that
// appears brings the item and the strip's button; one that goes away takes
// them, and a window waiting in it comes back.
TEST_F(Tray, FollowsTheNotificationAreaWhileRunning) {
    auto tray = std::make_shared<bool>(false);
    Form().SetTrayProbe([tray] { return *tray; });
    QAction* item = Form().Action("TrayIcon1");
    QAbstractButton* button = Form().TrayIconBtn();
    auto shown = [&] {
        return item->isVisible() && item->isEnabled() && button->isVisibleTo(&Form()) &&
               button->isEnabled();
    };
    auto hidden = [&] { return !item->isVisible() && !button->isVisibleTo(&Form()); };
    EXPECT_TRUE(hidden());
    EXPECT_FALSE(Form().TrayAvailable());
    EXPECT_FALSE(Form().StartInTray({"tallix", "/tray"}));

    // A panel that starts later is found by the next look, without help.
    *tray = true;
    ASSERT_TRUE(Form().TrayTimer()->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(shown(), 3 * Form().TrayTimer()->interval());
    EXPECT_TRUE(Form().TrayAvailable());

    // To the tray; then the panel goes.
    Form().TrayIcon1Click();
    ASSERT_TRUE(Form().isHidden());
    *tray = false;
    Form().FollowTray();
    EXPECT_TRUE(Form().isVisible());
    EXPECT_FALSE(Form().TaskIcon1()->Active());
    EXPECT_TRUE(hidden());

    // Back again, and gone again while the window is showing: it stays.
    *tray = true;
    Form().FollowTray();
    EXPECT_TRUE(shown());
    *tray = false;
    Form().FollowTray();
    EXPECT_TRUE(hidden());
    EXPECT_TRUE(Form().isVisible());
}

} // namespace
} // namespace tallix::gui::test
