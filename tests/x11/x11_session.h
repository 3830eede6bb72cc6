// A private X server with a window manager for the tests, and the tools
// that drive the real program on it: start it, find its window, type into
// it, read its frame, close it.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "settings_rig.h"

namespace tallix::x11test {

// The programs the tests need that are not installed, or empty.
QString MissingTools();

// Xvfb on a free display, with openbox; DISPLAY for everything started
// from here on.
class Session : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;
    static QString Display();

private:
    std::unique_ptr<QProcess> server_, manager_;
};

// Runs an X tool to its end; its standard output.
QString Tool(const QString& program, const QStringList& args, int timeoutMs = 15000);

// Whether a window is on the screen (mapped and not hidden).
bool Viewable(const QString& window);
// A window's inner area on the screen, and its frame's width on each side.
QRect InnerOf(const QString& window);
QMargins FrameOf(const QString& window);
// The first window on the screen whose name matches a pattern, within
// seconds; empty when none comes.
QString VisibleWindow(const QString& namePattern);
// Waits up to ms for a condition.
bool Within(int ms, const std::function<bool()>& condition);

// A start of the program against a settings folder that runs to its end
// (a later start hands over to the open window): its exit code and how long
// it took, in milliseconds.
struct FinishedStart {
    int exitCode = -1;
    qint64 ms = -1;
};
FinishedStart StartToTheEnd(const gui::test::ConfigDir& config, const QStringList& args = {});

// The real program on the session's display, against a settings folder.
class Calculator {
public:
    explicit Calculator(const gui::test::ConfigDir& config, const QString& workDir = {},
                        const QStringList& extraEnv = {});
    ~Calculator();
    QString Window() const { return window_; }
    // Waits for the program's window captioned "Tallix" on the screen,
    // framed by the manager (a message box of that caption counts too).
    void FindWindow();
    QProcess& Process() { return process_; }

    // Types text into the window, as a user at the keyboard would.
    void Type(const QString& text);
    // Presses keys ("ctrl+s", "Return", "alt+F4") in the window.
    void Keys(const QString& keys);
    // Closes the window as the user does (Alt+F4) and waits for the end.
    bool Close();
    // The inner area on the screen, and the frame's width on each side.
    QRect Inner() const { return InnerOf(window_); }
    QMargins Frame() const { return FrameOf(window_); }
    // Windows of the process that are on the screen.
    int VisibleWindows() const;

private:
    QProcess process_;
    QString window_;
};

} // namespace tallix::x11test
