// The `tallix` program as a process: what a bad command line prints, what
// happens without a display, that batch mode maps no window toolkit, and
// that the tray option reaches the window program.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "cli/launch.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The environment of this test with some variables removed and some set.
std::vector<std::string> Environment(const std::vector<std::string>& remove,
                                     const std::vector<std::string>& add) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool keep = true;
        for (const std::string& name : remove) keep = keep && !entry.starts_with(name + "=");
        for (const std::string& a : add)
            keep = keep && !entry.starts_with(a.substr(0, a.find('=') + 1));
        if (keep) env.push_back(entry);
    }
    env.insert(env.end(), add.begin(), add.end());
    return env;
}

// No way to a screen: the window cannot open here.
std::vector<std::string> NoDisplay(const std::vector<std::string>& add = {}) {
    return Environment({"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}, add);
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (std::string& s : strings) p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

// Starts program with argv[0] "tallix", standard input empty and the output
// streams in the given files.
pid_t Start(const std::string& program, std::vector<std::string> args, std::vector<std::string> env,
            const std::string& outPath, const std::string& errPath) {
    args.insert(args.begin(), "tallix");
    std::vector<char*> argv = Pointers(args), envp = Pointers(env);
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0) _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    return pid;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

class Process : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/tallix-process-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }

    struct Result {
        int status = -1; // exit status, or -1 when killed by a signal
        std::string out, err;
    };

    Result Run(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& env) {
        const std::string out = (dir_ / "out").string(), err = (dir_ / "err").string();
        const pid_t pid = Start(program, args, env, out, err);
        int wstatus = 0;
        Result r;
        if (pid > 0 && waitpid(pid, &wstatus, 0) == pid && WIFEXITED(wstatus))
            r.status = WEXITSTATUS(wstatus);
        r.out = ReadFile(out);
        r.err = ReadFile(err);
        return r;
    }

    fs::path dir_;
};

std::string Show(const std::vector<std::string>& args) {
    std::string s;
    for (const std::string& a : args) s += "[" + a + "]";
    return s;
}

using CommandLineProcess = Process;

TEST_F(CommandLineProcess, BadArgumentsNameTheArgumentWithoutAWindow) {
    struct Case {
        std::vector<std::string> args;
        std::string line;
    };
    const Case cases[] = {
        {{"--foo"}, "tallix: unknown option '--foo'"},
        {{"-x"}, "tallix: unknown option '-x'"},
        {{"foo"}, "tallix: unexpected argument 'foo'"},
        {{"--foo", "-e", "1"}, "tallix: unknown option '--foo'"},
        {{"/TRAY", "now"}, "tallix: unexpected argument 'now'"},
        {{"-e"}, "tallix: -e needs an argument"},
    };
    // Without a display a window start would fail with status 1 and its own
    // message, so status 2 also shows that no window was tried.
    for (const Case& c : cases) {
        const Result r = Run(TALLIX_EXE, c.args, NoDisplay());
        EXPECT_EQ(r.status, 2) << Show(c.args);
        EXPECT_EQ(r.out, "") << Show(c.args);
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.line) << Show(c.args);
        EXPECT_NE(r.err.find("\nUsage: tallix"), std::string::npos) << Show(c.args);
    }
}

TEST_F(CommandLineProcess, BatchModeMapsNoWindowToolkit) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {{"-e", "1 2 +"}, 0, "3\n"},
        {{"--raw", "-e", "HEX FFFF"}, 0, "-1\n"},
        {{"--version"}, 0, "tallix " TALLIX_VERSION "\n"},
        {{"--foo"}, 2, ""},
    };
    for (const Case& c : cases) {
        // The dynamic loader lists every library it maps on standard error.
        const Result r = Run(TALLIX_EXE, c.args, Environment({}, {"LD_DEBUG=libs"}));
        EXPECT_EQ(r.status, c.status) << Show(c.args);
        EXPECT_EQ(r.out, c.out) << Show(c.args);
        ASSERT_NE(r.err.find("libc.so"), std::string::npos)
            << "no loader trace for " << Show(c.args);
        EXPECT_EQ(r.err.find("libQt"), std::string::npos) << Show(c.args) << "\n" << r.err;
    }
}

#ifdef TALLIX_WINDOW_EXE

TEST_F(CommandLineProcess, WithoutADisplayTheWindowSaysSoInOneLine) {
    struct Case {
        std::string program;
        std::vector<std::string> args;
        std::vector<std::string> env;
    };
    const Case cases[] = {
        {TALLIX_EXE, {}, NoDisplay()},
        {TALLIX_EXE, {"/tray"}, NoDisplay()},
        {TALLIX_EXE, {}, NoDisplay({"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="})},
        {TALLIX_WINDOW_EXE, {}, NoDisplay()},
    };
    for (const Case& c : cases) {
        const Result r = Run(c.program, c.args, c.env);
        EXPECT_EQ(r.status, 1) << c.program << Show(c.args);
        EXPECT_EQ(r.err, tallix::cli::kNoDisplayMessage) << c.program << Show(c.args);
        EXPECT_EQ(r.out, "") << c.program << Show(c.args);
    }
}

// A display that is set but where nothing listens: one line naming it and
// status 1, not the toolkit's abort.
TEST_F(CommandLineProcess, AnUnreachableDisplayIsNamedInOneLine) {
    // A display number with no server: no socket in the X11 folder, and
    // none in the abstract namespace either (the server makes both).
    int number = 4711;
    while (fs::exists("/tmp/.X11-unix/X" + std::to_string(number))) ++number;
    const std::string display = ":" + std::to_string(number);
    for (const std::string& program : {std::string(TALLIX_EXE), std::string(TALLIX_WINDOW_EXE)}) {
        const Result r = Run(
            program, {},
            Environment({"WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"},
                        {"DISPLAY=" + display, "XDG_CONFIG_HOME=" + (dir_ / "config").string()}));
        EXPECT_EQ(r.status, 1) << program;
        EXPECT_EQ(r.err, tallix::cli::UnreachableDisplayMessage(display)) << program;
        EXPECT_EQ(r.out, "") << program;
    }
}

// `tallix /TRAY` becomes the window program in the same process (a stop
// signal sent to it reaches the window), with the option passed on.
TEST_F(CommandLineProcess, TrayOptionReachesTheWindowProgram) {
    const fs::path config = dir_ / "config"; // not made: the program makes what it needs
    const pid_t pid =
        Start(TALLIX_EXE, {"/Tray"},
              Environment({"DISPLAY", "WAYLAND_DISPLAY"},
                          {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + config.string()}),
              (dir_ / "out").string(), (dir_ / "err").string());
    ASSERT_GT(pid, 0);
    const fs::path proc = "/proc/" + std::to_string(pid);
    std::string exe, cmdline;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code ec;
        exe = fs::read_symlink(proc / "exe", ec).string();
        // The new program's arguments can still be unset for a moment after
        // its file shows: read until they are there.
        if (fs::path(exe).filename() == "tallix-window") {
            cmdline = ReadFile(proc / "cmdline");
            if (!cmdline.empty()) break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    EXPECT_EQ(fs::path(exe).filename(), "tallix-window") << exe;
    EXPECT_EQ(fs::weakly_canonical(exe), fs::weakly_canonical(TALLIX_WINDOW_EXE));
    EXPECT_EQ(cmdline, std::string("tallix\0/Tray\0", 13));
}

#endif

} // namespace
