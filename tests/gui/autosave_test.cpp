// The saved state while the window runs: changes written a second after
// they stop, deep stacks written on a worker while keys go on, a killed
// program that keeps what was saved, two instances that leave exactly the
// last closer's stack, and failures of the final save reported.
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <chrono>
#include <csignal>

#include "gui/settings/autosave.h"
#include "gui_fixture.h"
#include "settings_rig.h"

namespace tallix::gui::test {
namespace {

using Strings = std::vector<std::string>;

Strings Numbers(int from, int to) {
    Strings out;
    for (int i = from; i <= to; ++i) out.push_back(std::to_string(i));
    return out;
}

// ---- the real program ---------------------------------------------------

// The load is long done after this; a load that took the saved stack out of
// the file would have done so.
constexpr int kSettleMs = 1500;

TEST(RealProcess, AKillKeepsTheSavedStack) {
    ConfigDir config;
    config.Write({{"Settings/LastX", "2.5"}}, {"1", "2", "3"});
    QProcess calc;
    config.Start(calc);
    QTest::qWait(kSettleMs);
    calc.kill(); // no handler runs: nothing can be saved now
    ASSERT_TRUE(calc.waitForFinished(10000));
    EXPECT_EQ(calc.exitStatus(), QProcess::CrashExit);
    const auto values = DumpSettings(config.File());
    EXPECT_EQ(DumpedStack(values), (Strings{"1", "2", "3"}));
    EXPECT_EQ(values.at("Settings/LastX"), "2.5");
}

// One window per account: a later start, even one that finds another stack
// in the file, hands over to the open window and ends at once; the open
// window's stack is what stays.
TEST(RealProcess, ALaterStartLeavesTheOpenWindowsStack) {
    ConfigDir config;
    config.Write({}, {"5", "4"});
    QProcess first, second;
    config.Start(first);
    QTest::qWait(kSettleMs);
    QFile::remove(config.File());
    config.Write({}, {"9"});
    QElapsedTimer clock;
    clock.start();
    config.Start(second);
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(DumpedStack(DumpSettings(config.File())), (Strings{"5", "4"}));
}

// A bad value shows the warning box at the start and leaves the saved stack
// unread; a stop while the box is open ends the program, which saves its
// settings and leaves that stack where it was.
TEST(RealProcess, AStopDuringTheLoadWarningKeepsTheUnreadStack) {
    ConfigDir config;
    config.Write({{"Settings/LastNum", "-1"}}, {"7", "8"});
    QProcess calc;
    config.Start(calc);
    QTest::qWait(kSettleMs);
    calc.terminate();
    ASSERT_TRUE(calc.waitForFinished(20000)) << "the stop was lost";
    EXPECT_EQ(calc.exitStatus(), QProcess::NormalExit);
    const auto values = DumpSettings(config.File());
    EXPECT_EQ(DumpedStack(values), (Strings{"7", "8"}));
    EXPECT_EQ(values.at("Settings/LastNum"), "0");
}

// A new account has no settings folder at all: the first run makes it,
// saves, and the next run finds what the first one left.
TEST(RealProcess, AFirstRunOnANewAccountSaves) {
    for (const auto where : {ConfigDir::Where::Home, ConfigDir::Where::XdgNotYetMade}) {
        SCOPED_TRACE(where == ConfigDir::Where::Home ? "~/.config" : "XDG_CONFIG_HOME");
        ConfigDir config(where);
        QProcess calc;
        config.Start(calc);
        QTest::qWait(kSettleMs);
        calc.terminate();
        ASSERT_TRUE(calc.waitForFinished(20000));
        EXPECT_EQ(calc.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(calc.exitCode(), 0);
        const QString err = QString::fromLocal8Bit(calc.readAllStandardError());
        EXPECT_FALSE(err.contains("tallix:")) << err.toStdString();
        ASSERT_TRUE(QFile::exists(config.File()));
        EXPECT_EQ(DumpSettings(config.File()).at("Settings/CurrentBase"), "10");
    }
}

// Stopped by a signal, nobody may be there to see a box: a failed save is
// reported on standard error and the program still ends.
TEST(RealProcess, AFailedSaveAtAStopGoesToStandardError) {
    ConfigDir config;
    config.Write({}, {"1"});
    QProcess calc;
    config.Start(calc);
    QTest::qWait(kSettleMs);
    // A folder where the file belongs: no write can succeed, whoever runs
    // the test.
    ASSERT_TRUE(QFile::remove(config.File()));
    ASSERT_TRUE(QDir().mkdir(config.File()));
    calc.terminate();
    ASSERT_TRUE(calc.waitForFinished(20000));
    EXPECT_EQ(calc.exitStatus(), QProcess::NormalExit);
    const QString err = QString::fromLocal8Bit(calc.readAllStandardError());
    EXPECT_TRUE(err.contains("could not be saved")) << err.toStdString();
    EXPECT_TRUE(err.contains(config.File())) << err.toStdString();
    EXPECT_TRUE(err.contains("not a regular file")) << err.toStdString();
}

// ---- the window in this process, on a real settings file -------------------

class AutoSaveWindow : public ::testing::Test {
protected:
    void Open(const Strings& stack) {
        config_->Write({}, stack);
        OpenFirstRun();
    }
    // The window on the file as it is, which may not exist yet.
    void OpenFirstRun() {
        store_ = std::make_unique<QSettingsStore>(config_->File());
        form_ = CreateMainWindow('.', store_.get());
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        form_->activateWindow();
    }
    void Type(const QString& keys) {
        for (QChar c : keys) QTest::keyClick(form_->Line0(), c.toLatin1());
    }
    Strings Saved() { return DumpedStack(DumpSettings(config_->File())); }
    Strings Levels() { return form_->Calc().StackLevels(); }

    ModalCloser closer_;
    std::unique_ptr<ConfigDir> config_ = std::make_unique<ConfigDir>();
    std::unique_ptr<QSettingsStore> store_;
    std::unique_ptr<TMainForm> form_;
};

// The autosave of a new account, whose settings folder does not exist yet,
// writes the file and shows nothing.
TEST_F(AutoSaveWindow, AFirstRunSavesWithoutASettingsFolder) {
    for (const auto where : {ConfigDir::Where::Home, ConfigDir::Where::XdgNotYetMade}) {
        config_ = std::make_unique<ConfigDir>(where);
        OpenFirstRun();
        Type("12 34 ");
        QTest::qWait(TAutoSave::kIdleMs + 500);
        EXPECT_EQ(Saved(), (Strings{"34", "12"}));
        Type("56 ");
        form_->close(); // a failed final save would show its box
        EXPECT_EQ(Saved(), (Strings{"56", "34", "12"}));
        EXPECT_TRUE(closer_.Seen().empty()) << closer_.Seen().front().text.toStdString();
        form_.reset();
    }
}

// What the file holds while the window runs is what a kill would leave.
TEST_F(AutoSaveWindow, ChangesAreWrittenASecondAfterTheTypingStops) {
    Open({"1", "2", "3"});
    Type("4 5 ");
    EXPECT_EQ(Saved(), (Strings{"1", "2", "3"})); // not yet: the typing may go on
    // Keys every 400 ms keep the quiet second from coming.
    for (const char* key : {"6", " ", "7", " "}) {
        QTest::qWait(400);
        Type(key);
        EXPECT_EQ(Saved(), (Strings{"1", "2", "3"})) << key;
    }
    QTest::qWait(TAutoSave::kIdleMs + 500);
    EXPECT_EQ(Saved(), (Strings{"7", "6", "5", "4", "1", "2", "3"}));
    // Settings changes count as well.
    RunCommand(form_->Calc(), Cmd::Hex);
    form_->RefreshView();
    QTest::qWait(TAutoSave::kIdleMs + 500);
    EXPECT_EQ(DumpSettings(config_->File()).at("Settings/CurrentBase"), "16");
}

// The autosave follows the calculator's changes themselves: a change that
// no one shows on the screen is saved all the same, and the view follows.
TEST_F(AutoSaveWindow, AChangeThatNothingShowsIsSavedAndThenShown) {
    Open({"1"});
    RunCommand(form_->Calc(), Cmd::Hex);
    form_->Calc().Apply({}, [](Calculator::Change& c) { c.PushText("2"); });
    QTest::qWait(TAutoSave::kIdleMs + 500);
    EXPECT_EQ(DumpSettings(config_->File()).at("Settings/CurrentBase"), "16");
    EXPECT_EQ(Saved(), (Strings{"2", "1"}));
    EXPECT_EQ(form_->BaseL()->text(), "HEX");
    EXPECT_EQ(form_->StackLineLabel(1)->text().trimmed(), "2");
}

// Every command the window offers, from a menu or a key: after the quiet
// time the file holds the state it left, and after an Undo the state
// before it, exactly. The commands that end the window (Exit, Close) and
// those that wait in a file or print dialog (Open, Save, Print) have tests
// of their own.
TEST_F(AutoSaveWindow, EveryCommandIsSavedAndSoIsItsUndo) {
    Open({"4", "0.5", "3", "2"});
    form_->AutoSave()->SetIdleMs(10);
    Calculator& calc = form_->Calc();
    struct Seen {
        Strings stack;
        std::vector<std::pair<std::string, std::string>> values;
        std::string entry;
        bool operator==(const Seen&) const = default;
        std::string Text() const {
            std::string t = "[";
            for (const std::string& e : stack) t += " '" + e + "'";
            t += " ]";
            for (const auto& [n, v] : values) t += " " + n + "=" + v;
            return t + " entry '" + entry + "'";
        }
    };
    auto inCalc = [&] {
        std::vector<std::pair<std::string, std::string>> v;
        for (const auto& [name, text] : persist::CaptureValues(calc, {}).settings)
            if (name != "ButtonTime") v.emplace_back(name, text);
        return Seen{Levels(), v, calc.Entry()};
    };
    auto inFile = [&] {
        const auto dump = DumpSettings(config_->File());
        Seen s{DumpedStack(dump), {}, calc.Entry()};
        for (const auto& [name, text] : inCalc().values)
            s.values.emplace_back(name, dump.count("Settings/" + name) ? dump.at("Settings/" + name)
                                                                       : std::string("(none)"));
        return s;
    };
    auto quiet = [] { QTest::qWait(60); };
    // A change, so that the file holds every value from here on.
    form_->MenuCommand(Cmd::Deg);
    quiet();
    form_->MenuCommand(Cmd::Rad);
    quiet();
    for (const CommandDef& def : CommandTable()) {
        if (def.id == Cmd::Exit || def.id == Cmd::TrayClose || def.id == Cmd::Open ||
            def.id == Cmd::Save || def.id == Cmd::Print || def.scope == Scope::History)
            continue;
        SCOPED_TRACE(CommandLabel(def));
        QGuiApplication::clipboard()->setText("6 7");
        const Seen before = inCalc();
        const std::size_t steps = calc.UndoHistory().UndoCount();
        if (def.menu.menu != Menu::None) {
            form_->MenuCommand(def.id);
        } else if (KeyEnabled(calc.CurrentBase(), def.key.key)) {
            if (def.key.shifted) form_->KShiftClick();
            form_->KeyClick(def.key.key);
        }
        quiet();
        const Seen after = inCalc();
        EXPECT_EQ(inFile(), after) << "\n" << inFile().Text() << "\n" << after.Text();
        // A number the command entered first is a step of its own.
        const std::size_t made = calc.UndoHistory().UndoCount() - steps;
        // No step: a failure leaves its last arguments, nothing else changes.
        if (made == 0) continue;
        for (std::size_t i = 0; i < made; ++i) form_->MenuCommand(Cmd::Undo);
        quiet();
        EXPECT_EQ(inCalc(), before) << "\n" << inCalc().Text() << "\n" << before.Text();
        EXPECT_EQ(inFile(), before) << "\n" << inFile().Text() << "\n" << before.Text();
        for (std::size_t i = 0; i < made; ++i) form_->MenuCommand(Cmd::Redo);
        quiet();
        EXPECT_EQ(inCalc(), after) << "\n" << inCalc().Text() << "\n" << after.Text();
        EXPECT_EQ(inFile(), after) << "\n" << inFile().Text() << "\n" << after.Text();
    }
}

TEST_F(AutoSaveWindow, NothingIsWrittenWithoutAChange) {
    Open({"1"});
    QFile::remove(config_->File()); // a save would bring it back
    QTest::qWait(TAutoSave::kIdleMs + 500);
    EXPECT_FALSE(QFile::exists(config_->File()));
    form_->move(form_->pos() + QPoint(3, 0));
    QTest::qWait(TAutoSave::kIdleMs + 500);
    EXPECT_TRUE(QFile::exists(config_->File()));
}

// A deep stack is written from a copy on a worker: keys go on meanwhile,
// each at its usual speed, and the file always holds a whole stack.
TEST_F(AutoSaveWindow, ADeepStackIsWrittenOnAWorkerWhileKeysGoOn) {
    Strings stack = Numbers(1, 100000);
    Open(stack);
    form_->SetButtonTime(1); // the key flash's wait is no work
    Type("9 ");
    QElapsedTimer clock;
    clock.start();
    while (!form_->AutoSave()->Writing() && clock.elapsed() < 5000) QTest::qWait(2);
    ASSERT_TRUE(form_->AutoSave()->Writing());
    // Keys while the worker writes (a generous bound: the benchmark has the
    // real figures).
    std::int64_t worst = 0;
    int keys = 0;
    while (form_->AutoSave()->Writing() && keys < 200) {
        QElapsedTimer key;
        key.start();
        Type(keys % 2 ? "\b" : "8");
        worst = std::max<std::int64_t>(worst, key.nsecsElapsed() / 1000);
        ++keys;
    }
    std::printf("%d keys during the save, the slowest %lld us\n", keys,
                static_cast<long long>(worst));
    EXPECT_GT(keys, 0);
    EXPECT_LT(worst, 100000);
    form_->AutoSave()->WaitForWrite();
    stack.insert(stack.begin(), "9");
    EXPECT_EQ(Saved(), stack);
}

// The final save waits for a running write and then writes the last state.
TEST_F(AutoSaveWindow, ClosingDuringAWriteSavesTheLastState) {
    Strings stack = Numbers(1, 50000);
    Open(stack);
    Type("9 ");
    QElapsedTimer clock;
    clock.start();
    while (!form_->AutoSave()->Writing() && clock.elapsed() < 5000) QTest::qWait(2);
    ASSERT_TRUE(form_->AutoSave()->Writing());
    Type("8 ");
    form_->close();
    EXPECT_TRUE(closer_.Seen().empty());
    stack.insert(stack.begin(), {"8", "9"});
    EXPECT_EQ(Saved(), stack);
}

// Closed by the user, a failed save is shown with the file and the reason
// before the program ends; at the end of the desktop session it is not.
TEST_F(AutoSaveWindow, AFailedSaveAtCloseShowsTheFileAndTheReason) {
    struct Case {
        const char* name;
        const char* reason;
        void (*block)(const QString& file);
    };
    const Case cases[] = {
        {"a folder in the file's place", "not a regular file",
         [](const QString& file) {
             QFile::remove(file);
             QDir().mkdir(file);
         }},
        // A lock file that can be neither made nor taken away: the save
        // must give up rather than wait for it without end.
        {"a folder in the lock file's place", "lock file",
         [](const QString& file) { QDir().mkdir(file + ".lock"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        closer_.Clear();
        config_ = std::make_unique<ConfigDir>();
        Open({"1", "2"});
        c.block(config_->File());
        Type("3 ");
        form_->close();
        ASSERT_EQ(closer_.Seen().size(), 1u);
        const SeenDialog& box = closer_.Seen().front();
        EXPECT_EQ(box.objectName, "SaveWarning");
        EXPECT_EQ(box.title, "Tallix");
        EXPECT_TRUE(box.text.contains(config_->File())) << box.text.toStdString();
        EXPECT_TRUE(box.text.contains(c.reason)) << box.text.toStdString();
        form_.reset();
    }
}

TEST_F(AutoSaveWindow, AFailedSaveAtTheEndOfTheSessionShowsNoBox) {
    Open({"1"});
    QFile::remove(config_->File());
    ASSERT_TRUE(QDir().mkdir(config_->File()));
    form_->EndSession();
    EXPECT_FALSE(form_->isVisible());
    EXPECT_TRUE(closer_.Seen().empty());
}

TEST(AutoSaveStore, AFolderThatCannotBeMadeIsNamed) {
    QTemporaryDir dir;
    QFile blocker(dir.path() + "/Quorin");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder belongs
    blocker.close();
    const QString file = dir.path() + "/Quorin/Tallix.conf";
    QSettingsStore store(file);
    store.Write("Window", "Top", "1");
    try {
        store.Flush();
        FAIL() << "the save went through";
    } catch (const persist::StoreError& e) {
        EXPECT_TRUE(QString(e.what()).contains(dir.path() + "/Quorin")) << e.what();
    }
}

} // namespace
} // namespace tallix::gui::test
