// The quick reader of the settings file against the settings layer itself:
// every file it takes, it answers key for key as the settings layer does;
// what it cannot be sure of, it leaves to the settings layer. And the store
// built on it: further files of the settings layer, changes, damaged values
// and the reading ahead for the first save.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <random>
#include <string>
#include <vector>

#include "core/persist/settings.h"
#include "gui/settings/plainini.h"
#include "gui/settings/qsettingsstore.h"
#include "scoped_env.h"

namespace tallix::gui::test {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kSection = "CurrentVersion";

void WriteBytes(const QString& path, const std::string& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::optional<PlainIni> Parse(const std::string& bytes) {
    return PlainIni::Parse(bytes, kSection, persist::kStackGroup, "Line");
}

// Reads `bytes` with the quick reader and with the settings layer (from a
// file of its own: the settings layer keeps what it read per file name);
// where the quick reader takes the file, both must agree on every key the
// settings layer sees and on the stack's names around them. Returns
// whether the quick reader took the file.
bool AgreesWithTheSettingsLayer(const QString& path, const std::string& bytes) {
    WriteBytes(path, bytes);
    const std::optional<PlainIni> quick = Parse(bytes);
    if (!quick) return false;
    QSettings layer(path, QSettings::IniFormat);
    EXPECT_EQ(layer.status(), QSettings::NoError);
    const QStringList keys = layer.allKeys();
    EXPECT_EQ(quick->Size(), static_cast<std::size_t>(keys.size()));
    std::size_t lines = 0;
    for (const QString& key : keys) {
        SCOPED_TRACE(key.toStdString());
        const QStringList parts = key.split('/');
        EXPECT_EQ(parts.first(), kSection);
        if (parts.size() != 3) continue; // names the store never asks for
        const QVariant v = layer.value(key);
        EXPECT_EQ(v.typeId(), QMetaType::QString);
        const QByteArray text = v.toString().toLatin1();
        EXPECT_EQ(quick->Find(parts[1].toStdString(), parts[2].toStdString()),
                  std::string(text.constData(), static_cast<std::size_t>(text.size())));
        lines += parts[1] == "Stack";
    }
    // The names the load asks for, present or not.
    for (std::size_t i = 0; i < lines + 3; ++i) {
        const std::string name = persist::StackLineName(i);
        const QVariant v = layer.value(QString("%1/Stack/%2").arg(kSection).arg(name.c_str()));
        EXPECT_EQ(quick->Find("Stack", name).has_value(), v.isValid()) << name;
    }
    EXPECT_EQ(quick->Find("Window", "Top").has_value(),
              layer.value(QString(kSection) + "/Window/Top").isValid());
    return true;
}

TEST(PlainIni, AgreesWithTheSettingsLayerOrLeavesTheFileToIt) {
    struct Case {
        const char* name;
        std::string file;
        bool quick; // the quick reader takes it
    };
    const std::string h = "[CurrentVersion]\n";
    const Case cases[] = {
        {"as the program writes it",
         h + "Settings\\AngleMode=2\nSettings\\LastX=0\nStack\\Line0=1.5\nStack\\Line1=-2E+10\n"
             "Stack\\Line10=11\nStack\\Line2=3\nStack\\Line3=4\nStack\\Line4=5\nStack\\Line5=6\n"
             "Stack\\Line6=7\nStack\\Line7=8\nStack\\Line8=9\nStack\\Line9=10\nWindow\\Top=5\n",
         true},
        {"no file at all", "", true},
        {"quoted texts",
         h + "Stack\\Line0=\"1,5\"\nStack\\Line1=\" a \"\nStack\\Line2=\";x\"\n"
             "Stack\\Line3=\"#x\"\nStack\\Line4=\"=\"\nStack\\Line5=\"a@x\"\n"
             "Stack\\Line6=\"\"\nStack\\Line7=\"[a]\"\n",
         true},
        {"empty values", h + "Stack\\Line0=\nStack\\Line1=2\nWindow\\Folder=\n", true},
        {"no line end at the end", h + "Stack\\Line0=1", true},
        {"blank lines", "\n" + h + "\nStack\\Line0=1\n\n\nStack\\Line1=2\n\n", true},
        {"a gap in the stack", h + "Stack\\Line0=1\nStack\\Line1=2\nStack\\Line3=4\n", true},
        {"indexes beyond the count", h + "Stack\\Line0=1\nStack\\Line7=8\nStack\\Line99=9\n", true},
        {"names that are no plain index",
         h + "Stack\\Line01=1\nStack\\Line=2\nStack\\Linex=3\nStack\\LINE0=4\n"
             "Stack\\Line1234567890=6\nStack\\Top=7\nWindow\\Line0=8\n",
         true},
        {"deeper keys and other groups", h + "Foo\\Bar\\Baz=1\nFoo=2\nStack\\Line0=3\n", true},
        {"a list", h + "Stack\\Line0=1,5\n", false},
        {"an invalid value", h + "Stack\\Line0=@Invalid()\n", false},
        {"a type mark", h + "Stack\\Line0=@String(x)\n", false},
        {"a type mark in quotes", h + "Stack\\Line0=\"@@x\"\n", false},
        {"an '@' first in quotes", h + "Stack\\Line0=\"@x\"\n", false},
        {"escapes", h + "Stack\\Line0=a\\tb\n", false},
        {"an escaped quote", h + "Stack\\Line0=\"a\\\"b\"\n", false},
        {"text after the quotes", h + "Stack\\Line0=\"a\"b\n", false},
        {"spaces to trim", h + "Stack\\Line0= 1.5 \n", false},
        {"spaces inside", h + "Stack\\Line0=1 5\nStack\\Line1=a  b\n", true},
        {"a space before the sign", h + "Stack\\Line0 =1\n", false},
        {"a comment after the value", h + "Stack\\Line0=1;x\n", false},
        {"a comment line", h + ";x\nStack\\Line0=1\n", false},
        {"carriage returns", "[CurrentVersion]\r\nStack\\Line0=1\r\n", false},
        {"bytes beyond ASCII", h + "Stack\\Line0=\xc3\xa9\n", false},
        {"a key given twice", h + "Stack\\Line0=1\nStack\\Line0=2\n", false},
        {"a setting given twice", h + "Window\\Top=1\nWindow\\Top=2\n", false},
        {"a far index given twice", h + "Stack\\Line9=1\nStack\\Line9=2\n", false},
        {"another section", h + "Stack\\Line0=1\n[Other]\nA=1\n", false},
        {"the general section", "[General]\nA=1\n" + h + "Stack\\Line0=1\n", false},
        {"a value before the section", "A=1\n" + h, false},
        {"the header twice", h + "Stack\\Line0=1\n" + h + "Stack\\Line1=2\n", false},
        {"an escaped key", h + "Stack\\Line%30=1\n", false},
        {"a slash in a key", h + "Stack/Line0=1\n", false},
        {"an empty part of a key", h + "Stack\\\\Line0=1\n", false},
        {"a byte order mark", "\xef\xbb\xbf" + h + "Stack\\Line0=1\n", false},
        {"no equals sign", h + "Stack\\Line0\n", false},
    };
    QTemporaryDir dir;
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = QString("%1/%2.conf").arg(dir.path()).arg(n++);
        EXPECT_EQ(AgreesWithTheSettingsLayer(path, c.file), c.quick);
    }
}

// Files put together at random, character by character, from what plain
// values are made of and what makes a value something else: whatever the
// quick reader takes, it reads as the settings layer does.
TEST(PlainIni, RandomFilesItTakesReadAsTheSettingsLayerReadsThem) {
    const std::string plain = "0123456789.+-Ee abcXYZ";
    const std::string awkward = ",;#=\"\\@\t%[]()/'\r\xe9\x7f";
    const std::vector<std::string> keys = {"Stack\\Line0", "Stack\\Line1", "Stack\\Line2",
                                           "Stack\\Line3", "Window\\Top",  "Settings\\LastX"};
    const std::vector<std::string> oddKeys = {"Stack\\Line01",  "Foo\\Bar\\Baz",  " Stack\\Line1",
                                              "Stack\\Line1 ",  "Stack\\Line%31", "Stack/Line2",
                                              "Stack\\\\Line1", "[Other]\nA",     "Stack\\line1"};
    std::mt19937 random(20240617);
    auto chance = [&random](int percent) { return static_cast<int>(random() % 100) < percent; };
    auto pick = [&random](const auto& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    auto value = [&] {
        std::string v;
        const int length = static_cast<int>(random() % 6);
        for (int i = 0; i < length; ++i) v += chance(88) ? pick(plain) : pick(awkward);
        return chance(30) ? "\"" + v + "\"" : v;
    };
    QTemporaryDir dir;
    int taken = 0;
    for (int round = 0; round < 1500; ++round) {
        std::string file = chance(95) ? "[CurrentVersion]\n" : "[General]\n";
        const int lines = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < lines; ++i)
            file += (chance(90) ? pick(keys) : pick(oddKeys)) + "=" + value() + "\n";
        SCOPED_TRACE(file);
        taken += AgreesWithTheSettingsLayer(QString("%1/%2.conf").arg(dir.path()).arg(round), file);
        if (::testing::Test::HasFailure()) break;
    }
    // Enough of them plain for the comparison to mean something.
    EXPECT_GT(taken, 200);
}

// ---- the store ------------------------------------------------------------

// What the program saves comes back through the quick reader exactly; texts
// the settings layer writes in another form are read by the settings layer.
TEST(QuickSettingsRead, WhatWasSavedComesBackExactly) {
    struct Case {
        const char* name;
        Strings stack;
        bool quick;
    };
    const Case cases[] = {
        {"numbers", {"1.5", "-2E+10", "0", "1.23456789012345678E-4000"}, true},
        {"comma decimals and an empty entry", {"1,5", "", "-0,25"}, true},
        {"spaces", {" 1", "1 2", "a "}, true},
        {"bytes beyond ASCII", {"\xe9", "1"}, false},
        {"quotes and backslashes", {"a\"b", "c\\d"}, false},
        {"a deep stack", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Strings stack = c.stack;
        if (stack.empty())
            for (int i = 0; i < 3000; ++i) stack.push_back(std::to_string(i) + ".5");
        QTemporaryDir dir;
        const QString file = dir.path() + "/Quorin/Tallix.conf";
        {
            QSettingsStore store(file);
            store.Write("Window", "Top", "12");
            store.Write("Settings", "LastX", "2,5");
            for (std::size_t i = 0; i < stack.size(); ++i)
                store.Write(persist::kStackGroup, persist::StackLineName(i), stack[i]);
            store.Flush();
        }
        QSettingsStore store(file);
        Strings read;
        for (std::size_t i = 0;; ++i) {
            auto v = store.Read(persist::kStackGroup, persist::StackLineName(i));
            if (!v) break;
            read.push_back(*v);
        }
        EXPECT_EQ(read, stack);
        EXPECT_EQ(store.Read("Window", "Top"), "12");
        EXPECT_EQ(store.Read("Settings", "LastX"), "2,5");
        EXPECT_EQ(store.Read("Settings", "WordSize"), std::nullopt);
        EXPECT_EQ(store.ReadQuickly(), c.quick);
    }
}

// The user's settings are looked up in further files too, where the user's
// own file has no value; with any of them present the settings layer reads.
TEST(QuickSettingsRead, FurtherFilesOfTheSettingsLayerAreStillRead) {
    struct Case {
        const char* name;
        const char* further; // below the temporary folder
    };
    const Case cases[] = {
        {"the organisation's file beside the user's", "home/Quorin.conf"},
        {"the system's file of the program", "system/Quorin/Tallix.conf"},
        {"the system's file of the organisation", "system/Quorin.conf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString home = dir.path() + "/home", system = dir.path() + "/system";
        // The settings layer takes its folders from the environment once
        // per process; they are set here for each case.
        const testing::ScopedEnv homeEnv("XDG_CONFIG_HOME", home.toLocal8Bit());
        const testing::ScopedEnv systemEnv("XDG_CONFIG_DIRS", system.toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home);
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, system);
        WriteBytes(home + "/Quorin/Tallix.conf",
                   "[CurrentVersion]\nStack\\Line0=1\nWindow\\Top=3\n");
        WriteBytes(dir.path() + "/" + c.further,
                   "[CurrentVersion]\nStack\\Line1=2\nWindow\\Left=4\n");
        QSettingsStore store;
        ASSERT_EQ(store.fileName(), home + "/Quorin/Tallix.conf");
        EXPECT_EQ(store.Read("Stack", "Line0"), "1");
        EXPECT_EQ(store.Read("Stack", "Line1"), "2");
        EXPECT_EQ(store.Read("Window", "Left"), "4");
        EXPECT_FALSE(store.ReadQuickly());
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                       QLibraryInfo::path(QLibraryInfo::SettingsPath));
}

// A value that is not a text still stops the load as a fault of the store;
// reads after a change come from the settings layer, changes included.
TEST(QuickSettingsRead, DamagedValuesAndChangesGoThroughTheSettingsLayer) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/Tallix.conf";
    WriteBytes(file, "[CurrentVersion]\nStack\\Line0=1\nStack\\Line1=2,5\n");
    {
        QSettingsStore store(file);
        EXPECT_EQ(store.Read("Stack", "Line0"), "1");
        EXPECT_THROW(store.Read("Stack", "Line1"), persist::StoreError);
    }
    WriteBytes(file, "[CurrentVersion]\nStack\\Line0=1\nWindow\\Top=3\n");
    QSettingsStore store(file);
    EXPECT_EQ(store.Read("Window", "Top"), "3");
    EXPECT_TRUE(store.ReadQuickly());
    store.Write("Window", "Top", "9");
    store.RemoveGroup("Stack");
    EXPECT_EQ(store.Read("Window", "Top"), "9");
    EXPECT_EQ(store.Read("Stack", "Line0"), std::nullopt);
    EXPECT_FALSE(store.ReadQuickly());
}

// The settings layer reads the file ahead on a thread of its own while the
// first save already runs: the save is whole, and the next start reads it.
TEST(QuickSettingsRead, ASaveWhileTheFileIsReadAheadIsWhole) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/Tallix.conf";
    std::string bytes = "[CurrentVersion]\n";
    for (int i = 0; i < 20000; ++i)
        bytes += "Stack\\Line" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    WriteBytes(file, bytes);
    {
        QSettingsStore store(file);
        ASSERT_EQ(store.Read("Stack", "Line19999"), "19999");
        store.ReadAheadForSaves();
        store.Reload();
        store.Write("Window", "Top", "7");
        store.RemoveGroup("Stack");
        for (int i = 0; i < 3; ++i)
            store.Write("Stack", persist::StackLineName(static_cast<std::size_t>(i)),
                        std::to_string(-i));
        store.Flush();
    }
    QSettingsStore store(file);
    EXPECT_EQ(store.Read("Window", "Top"), "7");
    EXPECT_EQ(store.Read("Stack", "Line2"), "-2");
    EXPECT_EQ(store.Read("Stack", "Line3"), std::nullopt);
    EXPECT_TRUE(store.ReadQuickly());
}

} // namespace
} // namespace tallix::gui::test
