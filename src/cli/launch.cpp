#include "cli/launch.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#ifndef _WIN32
#include <unistd.h>
#endif

// The window program's directory as installed, relative to that of `tallix`
// (or absolute); set by the build from the install layout.
#ifndef TALLIX_WINDOW_DIR_FROM_BIN
#define TALLIX_WINDOW_DIR_FROM_BIN "../libexec"
#endif

namespace tallix::cli {

const char kNoDisplayMessage[] = "tallix: cannot open the calculator window: no display; batch "
                                 "mode works without one (tallix -e ...)\n";

namespace {

bool Set(const char* value) { return value && *value; }

} // namespace

std::string UnreachableDisplayMessage(std::string_view display) {
    return "tallix: cannot open the calculator window: cannot connect to display \"" +
           std::string(display) + "\"; batch mode works without one (tallix -e ...)\n";
}

std::string FailedDisplayName(const std::vector<std::string>& toolkitMessages, const char* display,
                              const char* waylandDisplay, const char* qpaPlatform) {
    static constexpr std::string_view kConnect = "could not connect to display ";
    for (const std::string& m : toolkitMessages) {
        const std::size_t at = m.find(kConnect);
        if (at == std::string::npos) continue;
        std::string name = m.substr(at + kConnect.size());
        const std::size_t end = name.find_first_of("\r\n");
        if (end != std::string::npos) name.resize(end);
        while (!name.empty() && name.back() == ' ') name.pop_back();
        if (!name.empty()) return name;
    }
    if (Set(display)) return display;
    if (Set(waylandDisplay)) return waylandDisplay;
    if (Set(qpaPlatform)) return qpaPlatform;
    return {};
}

bool DisplayAvailable(const char* display, const char* waylandDisplay, const char* qpaPlatform) {
    return Set(display) || Set(waylandDisplay) || Set(qpaPlatform);
}

bool DisplayAvailable() {
    return DisplayAvailable(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                            std::getenv("QT_QPA_PLATFORM"));
}

std::vector<std::string> WindowProgramCandidates(std::string_view selfPath,
                                                 std::string_view installedDir) {
    std::vector<std::string> paths;
    const std::size_t slash = selfPath.rfind('/');
    if (slash == std::string_view::npos) return paths;
    const std::string dir(selfPath.substr(0, slash + 1)); // with its slash
    paths.push_back(dir + kWindowProgram);
    if (!installedDir.empty() && installedDir != ".") {
        std::string installed = installedDir.front() == '/' ? "" : dir;
        installed += installedDir;
        if (installed.back() != '/') installed += '/';
        installed += kWindowProgram;
        if (installed != paths.front()) paths.push_back(std::move(installed));
    }
    return paths;
}

#ifdef _WIN32
// The Windows build is batch mode alone.
int ExecWindowProgram(char**) {
    std::fputs("tallix: this build has no calculator window\n", stderr);
    return 1;
}
#else
int ExecWindowProgram(char** argv) {
    std::string self(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", self.data(), self.size() - 1);
    self.resize(n > 0 ? static_cast<std::size_t>(n) : 0);

    // A candidate that exists but cannot run is worth naming; one that does
    // not exist only means the next place should be tried.
    std::string failed;
    int failure = ENOENT;
    for (const std::string& path : WindowProgramCandidates(self, TALLIX_WINDOW_DIR_FROM_BIN)) {
        execv(path.c_str(), argv);
        if (errno != ENOENT && failed.empty()) {
            failed = path;
            failure = errno;
        }
    }
    execvp(kWindowProgram, argv);
    if (failed.empty()) {
        failed = kWindowProgram;
        failure = errno;
    }
    std::fprintf(stderr, "tallix: cannot start the calculator window: %s: %s\n", failed.c_str(),
                 std::strerror(failure));
    return 1;
}
#endif

} // namespace tallix::cli
