// A private settings folder for the tests that save and restart: settings
// written into it, the real program started against it, and the file read
// back by the dump tool in a process of its own (the settings layer caches
// files per process, so a read in this process would prove nothing).
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/persist/settings.h"
#include "gui/settings/qsettingsstore.h"

namespace tallix::gui::test {

// A new user's home folder: empty, with no ".config" in it. Whatever the
// program needs there, the program makes; a test that made it first would
// hide the fault a new user meets at the first start.
class ConfigDir {
public:
    // How the program finds its settings folder.
    enum class Where {
        Home,          // no XDG_CONFIG_HOME: "~/.config"
        XdgNotYetMade, // XDG_CONFIG_HOME names a folder that does not exist yet
    };

    explicit ConfigDir(Where where = Where::Home) : where_(where) {
        EXPECT_TRUE(dir_.isValid());
        EXPECT_TRUE(QDir(dir_.path()).isEmpty());
    }
    // The home folder.
    QString Home() const { return dir_.path(); }
    // The folder the settings belong under ("~/.config"), not made here.
    QString Path() const { return dir_.path() + "/.config"; }
    // The file the program uses under this folder.
    QString File() const { return Path() + "/Quorin/Tallix.conf"; }

    // The environment of a program run on this account.
    void Apply(QProcessEnvironment& env) const {
        env.insert("HOME", Home());
        if (where_ == Where::Home)
            env.remove("XDG_CONFIG_HOME");
        else
            env.insert("XDG_CONFIG_HOME", Path());
    }

    // Writes "group/name" values and a stack (level 1 first) into the file.
    void Write(const std::vector<std::pair<std::string, std::string>>& values,
               const std::vector<std::string>& stack = {}) const {
        QSettingsStore store(File());
        for (const auto& [key, value] : values) {
            const auto slash = key.find('/');
            store.Write(key.substr(0, slash), key.substr(slash + 1), value);
        }
        for (std::size_t i = 0; i < stack.size(); ++i)
            store.Write(persist::kStackGroup, persist::StackLineName(i), stack[i]);
        store.Flush();
    }

    // The real program against this folder, on the offscreen platform.
    void Start(QProcess& calc) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        Apply(env);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        calc.setProcessEnvironment(env);
        calc.start(TALLIX_EXE, {});
        ASSERT_TRUE(calc.waitForStarted(10000));
    }

private:
    Where where_;
    QTemporaryDir dir_;
};

// The "group/name" -> value lines the dump tool prints for a settings file.
inline std::map<std::string, std::string> DumpSettings(const QString& file) {
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

// The saved stack in a dump, level 1 first, up to the first absent line
// (values as the dump escapes them).
inline std::vector<std::string> DumpedStack(const std::map<std::string, std::string>& values) {
    std::vector<std::string> stack;
    for (std::size_t i = 0;; ++i) {
        auto it = values.find("Stack/" + persist::StackLineName(i));
        if (it == values.end()) return stack;
        stack.push_back(it->second);
    }
}

// How many stack values the file holds at all, gaps or not.
inline std::size_t StackKeyCount(const std::map<std::string, std::string>& values) {
    auto it = values.find("#stack-keys");
    return it == values.end() ? 0 : std::stoul(it->second);
}

} // namespace tallix::gui::test
