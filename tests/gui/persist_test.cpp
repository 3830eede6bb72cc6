// Settings and stack kept between runs, and the File menu's stack files.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <sys/stat.h>

#include "core/persist/settings.h"
#include "escape.h"
#include "gui/layout/geometry.h"
#include "gui/settings/qsettingsstore.h"
#include "gui/widgets/theme.h"
#include "gui_fixture.h"
#include "memory_store.h"
#include "settings_rig.h"

namespace tallix::gui::test {
namespace {

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(SavedState, SettingsAndAHundredThousandEntriesSurviveARealRestart) {
    ConfigDir config;
    const QString file = config.File();

    // Texts that are not numbers, empty entries and characters the settings
    // file must escape all have to come back exactly.
    const std::string odd[] = {"abc",         "",        " spaced ",  "1,5",   "x=y;z",  "quote\"d",
                               "back\\slash", "[Group]", "\xE9t\xE9", "#hash", "\t tab", "-0.0000"};
    std::vector<std::string> stack;
    for (int i = 0; i < 100000; ++i)
        stack.push_back(i % 7 == 0 ? odd[(i / 7) % std::size(odd)]
                                   : std::to_string(i) + "." + std::to_string(i % 13));
    config.Write({{"Window/Top", "30"},
                  {"Window/Left", "40"},
                  {"Window/StayOnTop", "1"},
                  {"Window/HideKeyboard", "1"},
                  {"Window/HideNumbers", "1"},
                  {"Settings/WordSize", "8"},
                  {"Settings/FixLength", "25"},
                  {"Settings/ButtonTime", "5000"},
                  {"Settings/AngleMode", "7"},
                  {"Settings/CurrentBase", "16"},
                  {"Settings/LastX", "2.5"},
                  {"Settings/LastY", "abc"},
                  {"Settings/LastNum", "2"}},
                 stack);

    QProcess calc;
    QElapsedTimer clock;
    clock.start();
    config.Start(calc);
    // While the program runs the file holds the whole stack at every
    // moment: the load leaves it there, and the save that follows the
    // layout the load put right (both Hide options set) replaces the file
    // in one step a second later, its 100,000 lines written on a worker.
    bool savedWhileRunning = false;
    int reads = 0;
    while (!savedWhileRunning && clock.elapsed() < 20000) {
        const QByteArray bytes = ReadBytes(file);
        ASSERT_EQ(bytes.count("Stack\\Line"), 100000) << "read " << reads;
        savedWhileRunning = bytes.contains("HideNumbers=0");
        ++reads;
    }
    const qint64 savedMs = clock.elapsed();
    ASSERT_TRUE(savedWhileRunning);

    // Stopped from outside: the window closes the normal way and saves.
    clock.restart();
    calc.terminate();
    ASSERT_TRUE(calc.waitForFinished(20000));
    const qint64 stopMs = clock.elapsed();
    EXPECT_EQ(calc.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(calc.exitCode(), 0);
    std::printf("100,000 entries: saved while running after %lld ms (%d whole reads); "
                "stop and save: %lld ms\n",
                static_cast<long long>(savedMs), reads, static_cast<long long>(stopMs));

    auto values = DumpSettings(file);
    const std::map<std::string, std::string> expected = {
        {"Window/Top", "30"},         {"Window/Left", "40"},
        {"Window/StayOnTop", "1"},    {"Window/HideKeyboard", "1"},
        {"Window/HideNumbers", "0"},  {"Settings/WordSize", "8"},
        {"Settings/FixLength", "18"}, {"Settings/ButtonTime", "1000"},
        {"Settings/AngleMode", "2"},  {"Settings/CurrentBase", "16"},
        {"Settings/LastX", "2.5"},    {"Settings/LastY", "0"},
        {"Settings/LastNum", "2"},
    };
    for (const auto& [name, value] : expected) EXPECT_EQ(values[name], value) << name;
    const std::vector<std::string> saved = DumpedStack(values);
    ASSERT_EQ(saved.size(), stack.size());
    for (std::size_t i = 0; i < stack.size(); ++i)
        ASSERT_EQ(saved[i], EscapeValue(stack[i])) << "Line" << i;
    EXPECT_EQ(StackKeyCount(values), stack.size());
}

// A calculator and window loaded from a store, as the next start would be.
struct Fixture {
    struct : Shell {
        void ShowError(const std::string&) override {}
    } shell;
    Calculator calc{shell};
    persist::WindowSettings window;
    persist::LoadResult::End Load(persist::SettingsStore& store) {
        return persist::LoadSettings(store, calc, window, {1920, 1080}).end;
    }
};

class SavedStateWindow : public ::testing::Test {
protected:
    std::unique_ptr<TMainForm> Start(persist::MemorySettingsStore& store) {
        auto form = CreateMainWindow('.', &store);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }
    ModalCloser closer_;
};

TEST_F(SavedStateWindow, APositionOffEveryScreenOpensAtTheDefault) {
    struct Case {
        const char* top;
        const char* left;
        QPoint expected;
    };
    const Case cases[] = {
        {"-5000", "-5000", QPoint(5, 5)}, // a screen removed since
        {"-20", "100", QPoint(100, -20)}, // partly on the screen: kept
        {"99999", "60", QPoint(60, 5)},   // beyond the screen's height: design top
    };
    for (const auto& c : cases) {
        persist::MemorySettingsStore store;
        store.Write("Window", "Top", c.top);
        store.Write("Window", "Left", c.left);
        auto form = Start(store);
        EXPECT_EQ(form->pos(), c.expected) << c.top << "," << c.left;
    }
}

// The saved stack that a load warning left unread is neither loaded nor
// removed: neither while the window runs nor when it closes.
TEST_F(SavedStateWindow, ABadValueWarnsAndKeepsTheSavedStack) {
    persist::MemorySettingsStore store;
    store.Write("Settings", "WordSize", "12");
    store.Write("Settings", "LastNum", "-1");
    store.Write("Stack", "Line0", "7");
    store.Write("Stack", "Line1", "8");
    auto form = Start(store);
    ASSERT_FALSE(closer_.Seen().empty());
    EXPECT_TRUE(closer_.Seen().front().text.startsWith("Something is wrong: "));
    EXPECT_EQ(form->Calc().WordSize(), 12);
    EXPECT_TRUE(form->Calc().Stack().empty());
    RunCommand(form->Calc(), Cmd::Pi); // a change, saved a second later
    form->RefreshView();
    QTest::qWait(1300);
    EXPECT_EQ(store.ValueCount("Stack"), 2u);
    form->close();
    EXPECT_EQ(store.Read("Stack", "Line0"), "7");
    EXPECT_EQ(store.Read("Stack", "Line1"), "8");
    EXPECT_EQ(store.ValueCount("Stack"), 2u);
    EXPECT_EQ(store.Read("Settings", "LastNum"), "0"); // the bad value is put right
    Fixture next;
    ASSERT_EQ(next.Load(store), persist::LoadResult::End::Complete);
    EXPECT_EQ(next.calc.StackLevels(), (std::vector<std::string>{"7", "8"}));
}

TEST_F(SavedStateWindow, ClosingSavesAndRemovesStaleLines) {
    persist::MemorySettingsStore store;
    for (int i = 0; i < 5; ++i) store.Write("Stack", persist::StackLineName(i), std::to_string(i));
    auto form = Start(store);
    EXPECT_EQ(form->Calc().Depth(), 5u);
    EXPECT_EQ(store.ValueCount("Stack"), 5u); // kept while the window runs
    // Another instance saves a deeper stack meanwhile.
    for (int i = 0; i < 9; ++i) store.Write("Stack", persist::StackLineName(i), "other");
    RunCommand(form->Calc(), Cmd::Drop);
    form->close();
    EXPECT_EQ(store.ValueCount("Stack"), 4u);
    EXPECT_EQ(store.Read("Stack", "Line0"), "1");
}

// Answers the next file dialog with a name (or cancels it when empty).
class FileDialogAnswer : public QObject {
public:
    explicit FileDialogAnswer(QString path) : path_(std::move(path)) {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!d || !d->isVisible()) return;
            if (title.isEmpty()) {
                title = d->windowTitle();
                initialName = d->selectedFiles().value(0);
                directory = d->directory().absolutePath();
            }
            if (path_.isEmpty()) {
                timer_.stop();
                d->reject();
                return;
            }
            // Typed into the name field, as a user would: the dialog's own
            // selection may wait until its folder has been read.
            timer_.stop();
            if (auto* edit = d->findChild<QLineEdit*>("fileNameEdit"))
                edit->setText(path_);
            else
                d->selectFile(path_);
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
        });
        timer_.start();
    }
    QString title;
    QString initialName;
    QString directory; // where the dialog started

private:
    QString path_;
    QTimer timer_;
};

class StackFiles : public WindowTest {
protected:
    QString Path(const QString& name) const { return dir_.path() + "/" + name; }
    QStringList Warnings() {
        QStringList out;
        for (const SeenDialog& d : closer_.Seen())
            if (d.objectName == "FileWarning") out << d.text;
        return out;
    }
    QTemporaryDir dir_;
};

TEST_F(StackFiles, SaveAndOpenThroughTheFileMenu) {
    Push({"1", "2", "3"});
    {
        FileDialogAnswer answer(Path("three.Stk"));
        Form().Save1Click();
        EXPECT_EQ(answer.title, "Save Stack");
        EXPECT_TRUE(answer.initialName.contains("[Untitled]"));
    }
    EXPECT_EQ(ReadBytes(Path("three.Stk")), QByteArray("3\r\n2\r\n1\r\n"));
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"3", "2", "1"}));

    RunCommand(Calc(), Cmd::Clr);
    Type("9");
    {
        FileDialogAnswer answer(Path("three.Stk"));
        Form().Open1Click();
        EXPECT_EQ(answer.title, "Open Stack");
    }
    // The typed 9 was entered first and then replaced with the whole file.
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"3", "2", "1"}));
    EXPECT_EQ(Calc().Entry(), "");
    {
        // The dialog offers the name confirmed last time.
        FileDialogAnswer answer("");
        Form().Save1Click();
        EXPECT_TRUE(answer.initialName.contains("three.Stk"));
    }
}

TEST_F(StackFiles, SaveCommitsTheEntryAndAddsTheDefaultSuffix) {
    Type("12");
    FileDialogAnswer answer(Path("stack1"));
    Form().Save1Click();
    EXPECT_EQ(ReadBytes(Path("stack1.STK")), QByteArray("12\r\n"));
}

TEST_F(StackFiles, ABadEntryShowsItsErrorAndNoDialog) {
    tallix::testing::SetEntry(Form().Calc(), "-");
    FileDialogAnswer answer(Path("never.Stk"));
    Form().Save1Click();
    EXPECT_TRUE(answer.title.isEmpty());
    EXPECT_FALSE(QFile::exists(Path("never.Stk")));
    ASSERT_FALSE(closer_.Seen().empty());
    EXPECT_EQ(closer_.Seen().back().text, "Entry Error: \nInvalid Syntax");
}

TEST_F(StackFiles, CancellingOpenKeepsTheStackButClearsTheEntry) {
    Push({"5"});
    Type("7");
    FileDialogAnswer answer("");
    Form().Open1Click();
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"7", "5"}));
    EXPECT_EQ(Calc().Entry(), "");
}

TEST_F(StackFiles, OpenReadsEveryLineEndAndStopsAtNul) {
    WriteBytes(Path("mixed.Stk"), QByteArray("a\nb\r\rc\n\rd\0e", 11));
    ASSERT_TRUE(Form().OpenStackFile(Path("mixed.Stk")));
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"a", "b", "", "c", "", "d"}));
}

TEST_F(StackFiles, FailuresAreReportedAndChangeNothing) {
    Push({"1", "2"});
    WriteBytes(Path("old.Stk"), "old\r\n");
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.Stk"));
    // A pipe that nothing reads from or writes to: reported, never waited on.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.Stk")).constData(), 0600), 0);
    struct Case {
        bool save;
        QString path;
    };
    const Case cases[] = {
        {false, Path("missing.Stk")}, {false, Path("folder.Stk")},
        {true, Path("folder.Stk")},   {true, Path("no/such/folder/x.Stk")},
        {true, Path("pipe.Stk")},     {false, Path("pipe.Stk")},
    };
    for (const auto& c : cases) {
        closer_.Clear();
        const bool ok = c.save ? Form().SaveStackFile(c.path) : Form().OpenStackFile(c.path);
        EXPECT_FALSE(ok) << c.path.toStdString();
        const QStringList warnings = Warnings();
        ASSERT_EQ(warnings.size(), 1) << c.path.toStdString();
        EXPECT_TRUE(warnings.front().contains(c.path)) << warnings.front().toStdString();
        EXPECT_EQ(StackTexts(), (std::vector<std::string>{"2", "1"}));
    }
    EXPECT_EQ(ReadBytes(Path("old.Stk")), QByteArray("old\r\n"));
}

// Save writes a device in place, as batch mode does, and never puts a plain
// file in its stead.
TEST_F(StackFiles, SaveWritesADeviceInPlace) {
    Push({"1", "2"});
    EXPECT_TRUE(Form().SaveStackFile("/dev/null"));
    EXPECT_TRUE(Warnings().isEmpty());
    EXPECT_TRUE(QFileInfo("/dev/null").exists() && !QFileInfo("/dev/null").isFile());
}

// Open and Save start in the home folder at first, then in the folder of
// the stack file used last, after a restart too; never in the folder the
// program was started from.
TEST_F(SavedStateWindow, FileDialogsStartInTheFolderUsedLast) {
    QTemporaryDir home, work, files;
    struct Restore {
        QByteArray home = qgetenv("HOME");
        QString cwd = QDir::currentPath();
        ~Restore() {
            qputenv("HOME", home);
            QDir::setCurrent(cwd);
        }
    } restore;
    qputenv("HOME", QFile::encodeName(home.path()));
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    const QString used = files.path() + "/used";
    ASSERT_TRUE(QDir().mkpath(used));
    auto same = [](const QString& a, const QString& b) { return QDir(a) == QDir(b); };

    persist::MemorySettingsStore store;
    {
        auto form = Start(store);
        for (bool save : {true, false}) {
            FileDialogAnswer answer("");
            save ? form->Save1Click() : form->Open1Click();
            EXPECT_TRUE(same(answer.directory, home.path())) << answer.directory.toStdString();
        }
        {
            FileDialogAnswer answer(used + "/one.Stk");
            form->Save1Click();
        }
        ASSERT_TRUE(QFile::exists(used + "/one.Stk"));
        FileDialogAnswer answer("");
        form->Open1Click();
        EXPECT_TRUE(same(answer.directory, used)) << answer.directory.toStdString();
        form->close();
    }
    EXPECT_EQ(store.Read("Window", "Folder"), used.toStdString());
    {
        auto form = Start(store);
        FileDialogAnswer answer("");
        form->Save1Click();
        EXPECT_TRUE(same(answer.directory, used)) << answer.directory.toStdString();
        form->close();
    }
    // A folder removed since falls back to the home folder.
    ASSERT_TRUE(QDir(used).removeRecursively());
    auto form = Start(store);
    FileDialogAnswer answer("");
    form->Open1Click();
    EXPECT_TRUE(same(answer.directory, home.path())) << answer.directory.toStdString();
}

} // namespace
} // namespace tallix::gui::test

namespace tallix::gui::test {
namespace {

// The theme and the zoom come back at the next start, in effect before the
// window is first shown; the ones chosen while it runs are saved.
TEST_F(SavedStateWindow, ThemeAndZoomAreRestoredAndSaved) {
    persist::MemorySettingsStore store;
    store.Write("Window", "Theme", "Dark");
    store.Write("Window", "Zoom", "150");
    {
        auto form = Start(store);
        EXPECT_EQ(form->ColourTheme(), tallix::Theme::Dark);
        EXPECT_EQ(form->Zoom(), 150);
        EXPECT_EQ(form->Dpi(), tallix::ZoomedDpi(form->ScreenDpi(), 150));
        EXPECT_EQ(form->centralWidget()->size(), FullClientSize(form->Dpi()));
        EXPECT_EQ(form->palette().color(QPalette::Window),
                  QColor(tallix::ThemePalette(tallix::Theme::Dark)->window.r,
                         tallix::ThemePalette(tallix::Theme::Dark)->window.g,
                         tallix::ThemePalette(tallix::Theme::Dark)->window.b));
        EXPECT_TRUE(form->Action("ThemeDark1")->isChecked());
        EXPECT_TRUE(form->Action("Zoom1501")->isChecked());
        form->Action("ThemeHighContrast1")->trigger();
        form->Action("Zoom2001")->trigger();
        form->close();
    }
    EXPECT_EQ(store.Read("Window", "Theme"), "HighContrast");
    EXPECT_EQ(store.Read("Window", "Zoom"), "200");
    // Values of no known theme or step start the default look.
    store.Write("Window", "Theme", "Purple");
    store.Write("Window", "Zoom", "175");
    auto form = Start(store);
    EXPECT_EQ(form->ColourTheme(), tallix::Theme::System);
    EXPECT_EQ(form->Zoom(), 100);
    EXPECT_EQ(form->Dpi(), form->ScreenDpi());
    form->close();
    ApplyApplicationTheme(tallix::Theme::System);
}

} // namespace
} // namespace tallix::gui::test
