// Settings and stack kept between runs, and the File menu's stack files.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

#include "gui_fixture.h"
#include "persist/qsettingsstore.h"
#include "persist/settings.h"
#include "tools/escape.h"

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

// The "group/name" -> value lines the dump tool prints for a settings file,
// read in a process of its own.
std::map<std::string, std::string> DumpSettings(const QString& file) {
    QProcess dump;
    dump.start(TALLIX_SETTINGS_DUMP, {file});
    EXPECT_TRUE(dump.waitForFinished(30000));
    EXPECT_EQ(dump.exitCode(), 0) << dump.readAllStandardError().toStdString();
    std::map<std::string, std::string> values;
    for (const QByteArray& line : dump.readAllStandardOutput().split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0) values[line.left(eq).toStdString()] = line.mid(eq + 1).toStdString();
    }
    return values;
}

TEST(SavedState, SettingsAndAHundredThousandEntriesSurviveARealRestart) {
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    ASSERT_TRUE(QDir(config.path()).mkpath("Quorin"));
    const QString file = config.path() + "/Quorin/Tallix.conf";

    // Texts that are not numbers, empty entries and characters the settings
    // file must escape all have to come back exactly.
    const std::string odd[] = {"abc",         "",        " spaced ",  "1,5",   "x=y;z",  "quote\"d",
                               "back\\slash", "[Group]", "\xE9t\xE9", "#hash", "\t tab", "-0.0000"};
    std::vector<std::string> stack;
    for (int i = 0; i < 100000; ++i)
        stack.push_back(i % 7 == 0 ? odd[(i / 7) % std::size(odd)]
                                   : std::to_string(i) + "." + std::to_string(i % 13));
    {
        QSettingsStore store(file);
        store.Write("Window", "Top", "30");
        store.Write("Window", "Left", "40");
        store.Write("Window", "StayOnTop", "1");
        store.Write("Window", "HideKeyboard", "1");
        store.Write("Window", "HideNumbers", "1");
        store.Write("Settings", "WordSize", "8");
        store.Write("Settings", "FixLength", "25");
        store.Write("Settings", "ButtonTime", "5000");
        store.Write("Settings", "AngleMode", "7");
        store.Write("Settings", "CurrentBase", "16");
        store.Write("Settings", "LastX", "2.5");
        store.Write("Settings", "LastY", "abc");
        store.Write("Settings", "LastNum", "2");
        for (std::size_t i = 0; i < stack.size(); ++i)
            store.Write("Stack", persist::StackLineName(i), stack[i]);
        store.Flush();
    }

    QProcess calc;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    calc.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    calc.start(TALLIX_EXE, {});
    ASSERT_TRUE(calc.waitForStarted(10000));
    // The start takes the saved stack out of the file.
    while (ReadBytes(file).contains("Line0") && clock.elapsed() < 20000) QTest::qWait(20);
    const qint64 startMs = clock.elapsed();
    ASSERT_FALSE(ReadBytes(file).contains("Line0"));
    QTest::qWait(200);

    // Stopped from outside: the window closes the normal way and saves.
    clock.restart();
    calc.terminate();
    ASSERT_TRUE(calc.waitForFinished(20000));
    const qint64 stopMs = clock.elapsed();
    EXPECT_EQ(calc.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(calc.exitCode(), 0);
    std::printf("start with 100,000 entries: %lld ms; stop and save: %lld ms\n",
                static_cast<long long>(startMs), static_cast<long long>(stopMs));

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
    std::size_t lines = 0;
    for (std::size_t i = 0; i < stack.size(); ++i) {
        auto it = values.find("Stack/" + persist::StackLineName(i));
        if (it == values.end()) break;
        ++lines;
        ASSERT_EQ(it->second, EscapeValue(stack[i])) << "Line" << i;
    }
    EXPECT_EQ(lines, stack.size());
    EXPECT_EQ(values.count("Stack/" + persist::StackLineName(stack.size())), 0u);
}

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

TEST_F(SavedStateWindow, ABadValueWarnsAndKeepsTheSavedStack) {
    persist::MemorySettingsStore store;
    store.Write("Settings", "WordSize", "12");
    store.Write("Settings", "LastNum", "-1");
    store.Write("Stack", "Line0", "7");
    auto form = Start(store);
    ASSERT_FALSE(closer_.Seen().empty());
    EXPECT_TRUE(closer_.Seen().front().text.startsWith("Something is wrong: "));
    EXPECT_EQ(form->Calc().WordSize, 12);
    EXPECT_TRUE(form->Calc().Stack.empty());
    EXPECT_TRUE(store.HasGroup("Stack"));
}

TEST_F(SavedStateWindow, ClosingSavesAndRemovesStaleLines) {
    persist::MemorySettingsStore store;
    for (int i = 0; i < 5; ++i) store.Write("Stack", persist::StackLineName(i), std::to_string(i));
    auto form = Start(store);
    EXPECT_EQ(form->Calc().Stack.size(), 5u);
    EXPECT_FALSE(store.HasGroup("Stack"));
    // Another instance saves a deeper stack meanwhile.
    for (int i = 0; i < 9; ++i) store.Write("Stack", persist::StackLineName(i), "other");
    form->Calc().Run(Cmd::Drop);
    form->close();
    EXPECT_EQ(store.ValueCount("Stack"), 4u);
    EXPECT_EQ(store.Read("Stack", "Line0"), "1");
}

// Answers the next file dialog with a name (or cancels it when empty).
// The dialog reads its folder in the background and may put its first
// selection back when that ends, after the answer was typed; the answer is
// then refused (file not found) and given again until the dialog closes.
class FileDialogAnswer : public QObject {
public:
    explicit FileDialogAnswer(QString path) : path_(std::move(path)) {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!d || !d->isVisible()) return;
            if (!answered_) {
                title = d->windowTitle();
                initialName = d->selectedFiles().value(0);
                answered_ = true;
            }
            if (path_.isEmpty()) {
                d->reject();
            } else {
                d->selectFile(path_);
                QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
            }
        });
        timer_.start();
    }
    QString title;
    QString initialName;

private:
    QString path_;
    bool answered_ = false;
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

    Calc().Run(Cmd::Clr);
    Type("9");
    {
        FileDialogAnswer answer(Path("three.Stk"));
        Form().Open1Click();
        EXPECT_EQ(answer.title, "Open Stack");
    }
    // The typed 9 was entered first and then replaced with the whole file.
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"3", "2", "1"}));
    EXPECT_EQ(Calc().Entry, "");
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
    Form().Calc().Entry = "-";
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
    EXPECT_EQ(Calc().Entry, "");
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
    struct Case {
        bool save;
        QString path;
    };
    const Case cases[] = {
        {false, Path("missing.Stk")}, {false, Path("folder.Stk")},
        {true, Path("folder.Stk")},   {true, Path("no/such/folder/x.Stk")},
        {true, "/dev/null"},
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

} // namespace
} // namespace tallix::gui::test
