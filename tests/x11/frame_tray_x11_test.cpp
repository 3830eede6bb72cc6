// The frame functions the fixed-size windows ask the window manager for,
// and the window following a notification area that comes and goes.
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <functional>

#include "x11_session.h"

namespace tallix::x11test {
namespace {

using gui::test::ConfigDir;

// The functions field of a window's Motif hints, or -1 when it has none.
long MotifFunctions(const QString& window) {
    // "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x2c, 0x2a, 0x0, 0x0"
    const QString text = Tool("xprop", {"-id", window, "_MOTIF_WM_HINTS"}).section('=', 1);
    const QStringList v = text.split(',', Qt::SkipEmptyParts);
    if (v.size() < 2) return -1;
    bool ok = false;
    const long functions = v[1].trimmed().toLong(&ok, 16);
    return ok ? functions : -1;
}

constexpr long kMove = 0x4, kMinimize = 0x8, kClose = 0x20;

TEST(X11Frame, FixedWindowsAskOnlyToMoveMinimiseAndClose) {
    ConfigDir config;
    Calculator calc(config);
    EXPECT_EQ(MotifFunctions(calc.Window()), kMove | kMinimize | kClose);
    // Stay on Top changes the window's flags, which rewrites the hints.
    calc.Keys("alt+i");
    calc.Keys("t");
    QThread::msleep(300);
    EXPECT_EQ(MotifFunctions(calc.Window()), kMove | kMinimize | kClose);
    const QString actions = Tool("xprop", {"-id", calc.Window(), "_NET_WM_ALLOWED_ACTIONS"});
    EXPECT_FALSE(actions.contains("MAXIMIZE")) << actions.toStdString();
    EXPECT_FALSE(actions.contains("RESIZE")) << actions.toStdString();

    // The error dialog has no minimise button: move and close.
    calc.Type("1 0/");
    const QString pid = QString::number(calc.Process().processId());
    QString dialog;
    EXPECT_TRUE(Within(10000, [&] {
        dialog = Tool("xdotool", {"search", "--all", "--onlyvisible", "--pid", pid, "--name",
                                  "^Tallix Error$"})
                     .section('\n', 0, 0)
                     .trimmed();
        return !dialog.isEmpty();
    }));
    EXPECT_EQ(MotifFunctions(dialog), kMove | kClose);
    Tool("xdotool", {"windowactivate", "--sync", dialog});
    Tool("xdotool", {"key", "Return"});
    EXPECT_TRUE(Within(5000, [&] { return !Viewable(dialog); }));
    ASSERT_TRUE(calc.Close());
}

// A notification-area panel (trayer), started and stopped while the
// program runs.
class Panel {
public:
    Panel() {
        const QString out = Tool("sh", {"-c", "trayer --edge top --align right --widthtype request "
                                              "--height 24 >/dev/null 2>&1 & echo $!"});
        pid_ = out.trimmed().toLongLong();
        // The panel is up when its window is.
        Within(10000, [] {
            return !Tool("xdotool", {"search", "--onlyvisible", "--name", "^panel$"}).isEmpty();
        });
        QThread::msleep(500);
    }
    ~Panel() { Stop(); }
    void Stop() {
        if (pid_ <= 0) return;
        ::kill(static_cast<pid_t>(pid_), SIGTERM);
        Within(5000, [] {
            return Tool("xdotool", {"search", "--onlyvisible", "--name", "^panel$"}).isEmpty();
        });
        pid_ = 0;
    }

private:
    qint64 pid_ = 0;
};

TEST(X11Tray, TheWindowFollowsTheNotificationArea) {
    if (QStandardPaths::findExecutable("trayer").isEmpty()) GTEST_SKIP() << "trayer not installed";
    ConfigDir config;
    Calculator calc(config);
    // No notification area: Ctrl+T has nothing to go to.
    calc.Keys("ctrl+t");
    QThread::msleep(500);
    EXPECT_TRUE(Viewable(calc.Window()));

    // A panel that starts after the program is found within seconds.
    Panel panel;
    EXPECT_TRUE(Within(8000, [&] {
        calc.Keys("ctrl+t");
        return Within(1000, [&] { return !Viewable(calc.Window()); });
    })) << "the window never went to the tray";

    // The panel goes away (as in a panel restart): the window comes back.
    panel.Stop();
    EXPECT_TRUE(Within(8000, [&] { return Viewable(calc.Window()); }))
        << "the window stayed hidden";
    ASSERT_TRUE(calc.Close());
}

} // namespace
} // namespace tallix::x11test
