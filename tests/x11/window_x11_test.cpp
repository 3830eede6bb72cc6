// What only shows with a real X server and a window manager: where the frame
// stands, the frame's buttons, the real file dialogs, the resolution, and
// keys typed into the running program before a kill.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "gui/layout/geometry.h"
#include "x11_session.h"

namespace tallix::x11test {
namespace {

using gui::test::ConfigDir;
using gui::test::DumpedStack;
using gui::test::DumpSettings;
using gui::test::StackKeyCount;
using Strings = std::vector<std::string>;

// ---- never lose the stack -----------------------------------------------------

// Three seconds after typing, a kill that runs no handler keeps what was
// typed: it was saved a second after the typing stopped.
TEST(X11, AKillThreeSecondsAfterTypingKeepsTheStack) {
    ConfigDir config;
    config.Write({}, {"1", "2", "3"});
    Calculator calc(config);
    calc.Type("4 5 ");
    QThread::msleep(3000);
    ::kill(static_cast<pid_t>(calc.Process().processId()), SIGKILL);
    ASSERT_TRUE(calc.Process().waitForFinished(10000));
    EXPECT_EQ(DumpedStack(DumpSettings(config.File())), (Strings{"5", "4", "1", "2", "3"}));
}

// A new account: an empty home folder, no ".config", no XDG_CONFIG_HOME.
// The first run ends at once on Alt+F4 (a failed save would hold it in a
// warning box), and the second run carries on with the first one's stack.
TEST(X11, AFirstRunOnANewAccountKeepsTheStack) {
    ConfigDir config(ConfigDir::Where::Home);
    {
        Calculator calc(config);
        calc.Type("12 34 ");
        calc.Keys("alt+F4");
        EXPECT_TRUE(calc.Process().waitForFinished(2000)) << "the window did not close at once";
        EXPECT_EQ(calc.Process().exitCode(), 0);
        EXPECT_FALSE(calc.Process().readAllStandardError().contains("tallix:"));
    }
    EXPECT_EQ(DumpedStack(DumpSettings(config.File())), (Strings{"34", "12"}));
    Calculator again(config);
    again.Type("+");
    ASSERT_TRUE(again.Close());
    EXPECT_EQ(DumpedStack(DumpSettings(config.File())), (Strings{"46"}));
}

// One window per account: a later start brings the open window forward
// (over another program's window that has the keyboard) and ends at once,
// so what is typed anywhere goes to the one stack and the one tape. A
// window killed outright leaves no lock that blocks the next start.
TEST(X11, ALaterStartBringsTheOpenWindowForward) {
    ConfigDir config;
    QString tape;
    {
        Calculator calc(config);
        calc.Type("111 ");
        ConfigDir otherAccount;
        Calculator other(otherAccount);
        Tool("xdotool", {"windowactivate", "--sync", other.Window()});
        const FinishedStart again = StartToTheEnd(config);
        EXPECT_EQ(again.exitCode, 0);
        EXPECT_LT(again.ms, 1000);
        EXPECT_TRUE(Within(2000, [&] {
            return Tool("xdotool", {"getactivewindow"}).trimmed() == calc.Window();
        })) << "the open window did not come forward";
        calc.Type("222 ");
        ASSERT_TRUE(calc.Close());
        QFile file(config.Path() + "/Quorin/Tallix.tape");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        tape = QString::fromUtf8(file.readAll());
    }
    EXPECT_EQ(DumpedStack(DumpSettings(config.File())), (Strings{"222", "111"}));
    EXPECT_TRUE(tape.contains(QRegularExpression("111[^\n]*\n[^\n]*222"))) << tape.toStdString();

    Calculator crashed(config);
    ::kill(static_cast<pid_t>(crashed.Process().processId()), SIGKILL);
    ASSERT_TRUE(crashed.Process().waitForFinished(10000));
    Calculator next(config); // finds its window, or fails
    EXPECT_EQ(next.Process().state(), QProcess::Running);
    ASSERT_TRUE(next.Close());
}

// A bad setting shows the warning; after OK and Alt+F4 the saved stack that
// was not loaded is still there.
TEST(X11, ALoadWarningKeepsTheSavedStack) {
    ConfigDir config;
    config.Write({{"Settings/LastNum", "-1"}}, {"7", "8"});
    // The warning box comes first; Return is its OK; then the window.
    Calculator calc(config);
    calc.Keys("Return");
    calc.FindWindow();
    ASSERT_TRUE(calc.Close());
    const auto values = DumpSettings(config.File());
    EXPECT_EQ(DumpedStack(values), (Strings{"7", "8"}));
    EXPECT_EQ(values.at("Settings/LastNum"), "0");
}

// ---- the Shift key ---------------------------------------------------------

// The Shift a key runs with is decided as the key goes down, whatever took
// the Shift key's press or release meanwhile (the error box, an open menu)
// and however fast the keys come. Each case starts with pi on the stack and
// types its xdotool steps ("sleep N" waits) into whatever window has the
// keyboard: "q" is Sqrt, shifted x squared; Shift+X is Fix.
TEST(X11, ShiftIsDecidedWhenTheKeyGoesDown) {
    const char* pi = "3.14159265358979324";
    const char* piSquared = "9.86960440108935863";
    const struct {
        const char* steps;
        Strings stack; // level 1 first
        const char* fix;
    } cases[] = {
        // ASin of pi: the error box takes the release; Return is its OK.
        {"keydown shift;key s;sleep 600;keyup shift;key Return;sleep 400;key shift;key q",
         {piSquared},
         "-1"},
        {"key alt+i;sleep 400;key shift;key Escape;key q;key p;key shift;key q",
         {piSquared, "1.77245385090551603"},
         "-1"},
        {"key 0;sleep 50;keydown shift;sleep 400;key x;keyup shift", {pi}, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        ConfigDir config;
        config.Write({{"Settings/ButtonTime", "250"}}, {pi});
        Calculator calc(config);
        Tool("xdotool", {"windowactivate", "--sync", calc.Window()});
        for (const QString& step : QString(c.steps).split(';')) {
            const QStringList words = step.split(' ');
            if (words.front() == "sleep")
                QThread::msleep(words.back().toULong());
            else
                Tool("xdotool", words);
            QThread::msleep(80);
        }
        QThread::msleep(400);
        ASSERT_TRUE(calc.Close());
        const auto saved = DumpSettings(config.File());
        EXPECT_EQ(DumpedStack(saved), c.stack);
        EXPECT_EQ(saved.at("Settings/FixLength"), c.fix);
    }
}

// ---- the window --------------------------------------------------------------

// Left and Top are the frame's position in every layout: a start puts the
// frame there and an end saves it unchanged, run after run.
TEST(X11, ThePositionStaysPutInEveryLayout) {
    for (const char* option : {"", "HideKeyboard", "HideNumbers"}) {
        SCOPED_TRACE(*option ? option : "full keypad");
        ConfigDir config;
        std::vector<std::pair<std::string, std::string>> values = {{"Window/Left", "100"},
                                                                   {"Window/Top", "100"}};
        if (*option) values.push_back({std::string("Window/") + option, "1"});
        config.Write(values);
        for (int run = 0; run < 2; ++run) {
            Calculator calc(config);
            const QRect inner = calc.Inner();
            const QMargins frame = calc.Frame();
            EXPECT_EQ(inner.left() - frame.left(), 100) << "run " << run;
            EXPECT_EQ(inner.top() - frame.top(), 100) << "run " << run;
            // Changing the layout while the window runs keeps the frame.
            for (const char* item : {"k", "n", "n"}) {
                calc.Keys("alt+i");
                calc.Keys(item);
                QThread::msleep(300);
                EXPECT_EQ(calc.Inner().topLeft(), inner.topLeft()) << item;
            }
            ASSERT_TRUE(calc.Close());
            const auto saved = DumpSettings(config.File());
            EXPECT_EQ(saved.at("Window/Left"), "100") << "run " << run;
            EXPECT_EQ(saved.at("Window/Top"), "100") << "run " << run;
        }
    }
}

// The tape window stands beside the calculator by its frame, whose title
// bar stays on the screen, however often it is hidden and shown again and
// wherever the calculator went meanwhile.
TEST(X11, TheTapeStandsBesideTheWindowByItsFrame) {
    ConfigDir config;
    config.Write({{"Window/Left", "100"}, {"Window/Top", "100"}, {"Tape/Shown", "1"}});
    Calculator calc(config);
    // Shown at the start, with the calculator.
    const QString first = VisibleWindow("^Tallix - Tape$");
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(InnerOf(first).marginsAdded(FrameOf(first)).topLeft(),
              QPoint(calc.Inner().marginsAdded(calc.Frame()).right() + 1, 100));
    calc.Keys("ctrl+shift+t");
    for (int showing = 1; showing <= 3; ++showing) {
        Tool("xdotool", {"windowmove", "--sync", calc.Window(), QString::number(60 * showing),
                         QString::number(40 * showing)});
        QThread::msleep(300);
        const QRect calculator = calc.Inner().marginsAdded(calc.Frame());
        calc.Keys("ctrl+shift+t");
        const QString tape = VisibleWindow("^Tallix - Tape$");
        ASSERT_FALSE(tape.isEmpty()) << "showing " << showing;
        const QRect frame = InnerOf(tape).marginsAdded(FrameOf(tape));
        EXPECT_EQ(frame.topLeft(), QPoint(calculator.right() + 1, calculator.top()))
            << "showing " << showing;
        calc.Keys("ctrl+shift+t");
        EXPECT_TRUE(Within(3000, [&] { return !Viewable(tape); }));
    }
    ASSERT_TRUE(calc.Close());
}

// The frame offers no way to maximise or resize the window. (Openbox draws
// its maximise button for every window that has a minimise button, and
// leaves it without effect where the window cannot be maximised, as here.)
TEST(X11, TheWindowCannotBeMaximisedOrResized) {
    ConfigDir config;
    config.Write({{"Window/Left", "100"}, {"Window/Top", "100"}});
    Calculator calc(config);
    const QRect before = calc.Inner();
    const QString hints = Tool("xprop", {"-id", calc.Window(), "WM_NORMAL_HINTS"});
    const QString size = QString("%1 by %2").arg(before.width()).arg(before.height());
    EXPECT_TRUE(hints.contains("minimum size: " + size)) << hints.toStdString();
    EXPECT_TRUE(hints.contains("maximum size: " + size)) << hints.toStdString();
    const QString actions = Tool("xprop", {"-id", calc.Window(), "_NET_WM_ALLOWED_ACTIONS"});
    EXPECT_TRUE(actions.contains("MINIMIZE")) << actions.toStdString();
    EXPECT_FALSE(actions.contains("MAXIMIZE")) << actions.toStdString();
    EXPECT_FALSE(actions.contains("RESIZE")) << actions.toStdString();
    // A double click on the caption and a click on the manager's maximise
    // button (the second from the right): the size stays.
    const QMargins frame = calc.Frame();
    const int titleY = before.top() - frame.top() / 2;
    const int frameRight = before.right() + frame.right();
    Tool("xdotool", {"mousemove", QString::number(before.left() + 40), QString::number(titleY),
                     "click", "--repeat", "2", "--delay", "80", "1"});
    QThread::msleep(300);
    Tool("xdotool",
         {"mousemove", QString::number(frameRight - 26), QString::number(titleY), "click", "1"});
    QThread::msleep(500);
    EXPECT_EQ(calc.Inner().size(), before.size());
}

// After Save or Open, nothing of the dialog stays on the screen, and the
// next keys reach the calculator (typing 12 gives 12).
TEST(X11, TheFileDialogsLeaveNothingBehind) {
    QTemporaryDir work;
    for (const char* name : {"alpha.Stk", "alpine.Stk"}) {
        QFile f(work.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("7\r\n");
    }
    ConfigDir config;
    Calculator calc(config, work.path());
    calc.Type("5 ");
    // Save: the name typed letter by letter brings up the completion list;
    // Enter while it is up.
    calc.Keys("ctrl+s");
    QThread::msleep(800);
    Tool("xdotool", {"type", "--delay", "120", "alpha"});
    Tool("xdotool", {"key", "Return"});
    QThread::msleep(800);
    EXPECT_EQ(calc.VisibleWindows(), 1);
    calc.Type("12 ");
    // Open the same way.
    calc.Keys("ctrl+o");
    QThread::msleep(800);
    Tool("xdotool", {"type", "--delay", "120", "alpha"});
    Tool("xdotool", {"key", "Return"});
    QThread::msleep(800);
    EXPECT_EQ(calc.VisibleWindows(), 1);
    calc.Type("34 ");
    ASSERT_TRUE(calc.Close());
    // The file saved holds 5; opened again it replaced the stack, and both
    // numbers typed after a dialog arrived whole.
    EXPECT_EQ(DumpedStack(DumpSettings(config.File())), (Strings{"34", "5"}));
}

// At 120, 144 and 192 dpi the window is laid out by the scaled tables: its
// inner width is the table's, with no fractional scaling on top.
TEST(X11, OtherResolutionsFollowTheScaledTables) {
    for (int dpi : {120, 144, 192}) {
        SCOPED_TRACE(dpi);
        // As a desktop sets its resolution: the Xft.dpi resource.
        Tool("xprop", {"-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                       QString("Xft.dpi:\t%1\n").arg(dpi)});
        ConfigDir config;
        config.Write({{"Window/Left", "0"}, {"Window/Top", "0"}});
        {
            Calculator calc(config);
            EXPECT_EQ(calc.Inner().width(), gui::FullClientSize(dpi).width());
            ASSERT_TRUE(calc.Close());
        }
        Tool("xprop", {"-root", "-remove", "RESOURCE_MANAGER"});
    }
}

} // namespace
} // namespace tallix::x11test
