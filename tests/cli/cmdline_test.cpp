// The command line: which start each argument list asks for, what the batch
// options carry, and where the window program is looked for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cmdline.h"
#include "cli/launch.h"

namespace tallix::cli {
namespace {

CommandLine Classify(const std::vector<std::string>& args) {
    std::vector<const char*> ptrs;
    for (const std::string& a : args) ptrs.push_back(a.c_str());
    return ClassifyArgs(ptrs);
}

std::string Show(const std::vector<std::string>& args) {
    std::string s;
    for (const std::string& a : args) s += "[" + a + "]";
    return s;
}

struct StartCase {
    std::vector<std::string> args;
    StartMode mode;
    bool tray;
    std::string problem; // for StartMode::Usage
};

TEST(ClassifyArgs, PicksTheStart) {
    const StartCase cases[] = {
        {{}, StartMode::Window, false, ""},
        {{"/TRAY"}, StartMode::Window, true, ""},
        {{"/tray"}, StartMode::Window, true, ""},
        {{"/Tray"}, StartMode::Window, true, ""},
        {{"-e", "1 2 +"}, StartMode::Batch, false, ""},
        {{"--batch"}, StartMode::Batch, false, ""},
        {{"--raw"}, StartMode::Batch, false, ""},
        {{"--help"}, StartMode::Help, false, ""},
        {{"-h"}, StartMode::Help, false, ""},
        {{"--version"}, StartMode::Version, false, ""},
        {{"--list-commands"}, StartMode::List, false, ""},
        {{"-e", "1", "--list-commands"}, StartMode::List, false, ""},
        {{"--list-commands", "--foo"}, StartMode::List, false, ""},
        {{"/TRAY", "--list-commands"}, StartMode::Usage, false, "unknown option '--list-commands'"},
        // Help and version answer as soon as they are read.
        {{"--help", "--foo"}, StartMode::Help, false, ""},
        {{"--foo", "--help"}, StartMode::Usage, false, "unknown option '--foo'"},
        // Unknown options and stray words never open the window.
        {{"--foo"}, StartMode::Usage, false, "unknown option '--foo'"},
        {{"-x"}, StartMode::Usage, false, "unknown option '-x'"},
        {{"--"}, StartMode::Usage, false, "unknown option '--'"},
        {{"--eval"}, StartMode::Usage, false, "--eval needs an argument"},
        {{"--foo", "-e", "1"}, StartMode::Usage, false, "unknown option '--foo'"},
        {{"-e", "1", "--foo"}, StartMode::Usage, false, "unknown option '--foo'"},
        {{"foo"}, StartMode::Usage, false, "unexpected argument 'foo'"},
        {{"-"}, StartMode::Usage, false, "unexpected argument '-'"},
        {{""}, StartMode::Usage, false, "unexpected argument ''"},
        {{"1", "2", "+"}, StartMode::Usage, false, "unexpected argument '1'"},
        {{"-e", "1", "2"}, StartMode::Usage, false, "unexpected argument '2'"},
        // The tray option only counts first and alone; a near miss is a word.
        {{"/TRAY", "x"}, StartMode::Usage, false, "unexpected argument 'x'"},
        {{"/TRAY", "-e", "1"}, StartMode::Usage, false, "unknown option '-e'"},
        {{"/TRAY", "/TRAY"}, StartMode::Usage, false, "unexpected argument '/TRAY'"},
        {{"-e", "1", "/tray"}, StartMode::Usage, false, "unexpected argument '/tray'"},
        {{"/TRAYS"}, StartMode::Usage, false, "unexpected argument '/TRAYS'"},
        {{"TRAY"}, StartMode::Usage, false, "unexpected argument 'TRAY'"},
        {{"-TRAY"}, StartMode::Usage, false, "unknown option '-TRAY'"},
    };
    for (const StartCase& c : cases) {
        const CommandLine cl = Classify(c.args);
        EXPECT_EQ(cl.mode, c.mode) << Show(c.args);
        EXPECT_EQ(cl.tray, c.tray) << Show(c.args);
        EXPECT_EQ(cl.problem, c.problem) << Show(c.args);
    }
}

struct BatchCase {
    std::vector<std::string> args;
    std::vector<std::string> evals;
    bool fromStdin, raw;
    std::string load, save; // "-" when not given
};

TEST(ClassifyArgs, CollectsTheBatchOptions) {
    const BatchCase cases[] = {
        {{"-e", "1 2 +"}, {"1 2 +"}, false, false, "-", "-"},
        {{"-e", "1", "--eval", "2", "--eval=3"}, {"1", "2", "3"}, false, false, "-", "-"},
        // A value is taken whole, even when it looks like an option.
        {{"-e", "-5", "-e", "--raw"}, {"-5", "--raw"}, false, false, "-", "-"},
        {{"--eval="}, {""}, false, false, "-", "-"},
        {{"--batch", "-e", "1"}, {"1"}, true, false, "-", "-"},
        // Options that run no tokens read standard input.
        {{"--raw"}, {}, true, true, "-", "-"},
        {{"--load", "a.stk", "--save=b.stk"}, {}, true, false, "a.stk", "b.stk"},
        {{"--load=", "-e", "1"}, {"1"}, false, false, "", "-"},
        {{"--save", "--load", "-e", "x"}, {"x"}, false, false, "-", "--load"},
    };
    for (const BatchCase& c : cases) {
        const CommandLine cl = Classify(c.args);
        ASSERT_EQ(cl.mode, StartMode::Batch) << Show(c.args) << " " << cl.problem;
        EXPECT_EQ(cl.evals, c.evals) << Show(c.args);
        EXPECT_EQ(cl.fromStdin, c.fromStdin) << Show(c.args);
        EXPECT_EQ(cl.raw, c.raw) << Show(c.args);
        EXPECT_EQ(cl.load ? cl.loadPath : "-", c.load) << Show(c.args);
        EXPECT_EQ(cl.save ? cl.savePath : "-", c.save) << Show(c.args);
    }
}

TEST(DisplayAvailable, NeedsADisplayOrAChosenPlatform) {
    struct Case {
        const char* display;
        const char* wayland;
        const char* platform;
        bool available;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, false},    {"", "", "", false},
        {":0", nullptr, nullptr, true},        {nullptr, "wayland-0", nullptr, true},
        {nullptr, nullptr, "offscreen", true}, {"", "", "xcb", true},
        {"", "wayland-1", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DisplayAvailable(c.display, c.wayland, c.platform), c.available)
            << (c.display ? c.display : "(unset)") << " " << (c.wayland ? c.wayland : "(unset)")
            << " " << (c.platform ? c.platform : "(unset)");
    }
}

// A display that is set but cannot be reached is named in the one line: as
// the toolkit's own message names it, else from the environment.
TEST(UnreachableDisplay, NamesTheDisplay) {
    EXPECT_EQ(UnreachableDisplayMessage(":99"),
              "tallix: cannot open the calculator window: cannot connect to display \":99\"; "
              "batch mode works without one (tallix -e ...)\n");
    struct Case {
        std::vector<std::string> messages;
        const char* display;
        const char* wayland;
        const char* platform;
        std::string name;
    };
    const Case cases[] = {
        {{"could not connect to display :99",
          "Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found.",
          "This application failed to start because no Qt platform plugin could be initialized."},
         ":0",
         nullptr,
         nullptr,
         ":99"},
        {{"could not connect to display host:7.0 \n"}, nullptr, nullptr, nullptr, "host:7.0"},
        {{"no platform"}, ":5", "wayland-0", "", ":5"},
        {{}, "", "wayland-1", nullptr, "wayland-1"},
        {{}, nullptr, nullptr, "vnc", "vnc"},
        {{"could not connect to display "}, ":3", nullptr, nullptr, ":3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FailedDisplayName(c.messages, c.display, c.wayland, c.platform), c.name)
            << c.name;
}

TEST(WindowProgramCandidates, BesideThenInstalled) {
    struct Case {
        std::string self, installed;
        std::vector<std::string> paths;
    };
    const Case cases[] = {
        {"/usr/bin/tallix",
         "../libexec",
         {"/usr/bin/tallix-window", "/usr/bin/../libexec/tallix-window"}},
        {"/opt/t/bin/tallix",
         "../lib/tallix/",
         {"/opt/t/bin/tallix-window", "/opt/t/bin/../lib/tallix/tallix-window"}},
        {"/usr/bin/tallix",
         "/usr/libexec",
         {"/usr/bin/tallix-window", "/usr/libexec/tallix-window"}},
        // Installed beside it: one place only.
        {"/usr/bin/tallix", ".", {"/usr/bin/tallix-window"}},
        {"/usr/bin/tallix", "/usr/bin", {"/usr/bin/tallix-window"}},
        {"/tallix", "", {"/tallix-window"}},
        // Unknown location (no /proc): only the search path remains.
        {"", "../libexec", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowProgramCandidates(c.self, c.installed), c.paths) << c.self;
}

} // namespace
} // namespace tallix::cli
