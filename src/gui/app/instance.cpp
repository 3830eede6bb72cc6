#include "gui/app/instance.h"

#include <QSocketNotifier>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace tallix::gui {

namespace {

bool Set(const char* value) { return value && *value; }

// FNV-1a: a short, stable name for a folder.
std::uint64_t NameHash(const std::string& text) {
    std::uint64_t h = 14695981039346656037ULL;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ULL;
    }
    return h;
}

} // namespace

std::string SettingsFolder(const char* xdgConfigHome, const char* home) {
    if (Set(xdgConfigHome) && xdgConfigHome[0] == '/') return xdgConfigHome;
    return std::string(Set(home) ? home : "") + "/.config";
}

InstancePaths PathsFor(const std::string& runtimeFolder, const std::string& settingsFolder) {
    char name[40];
    std::snprintf(name, sizeof name, "/tallix-%016llx",
                  static_cast<unsigned long long>(NameHash(settingsFolder)));
    const std::string base = runtimeFolder + name;
    return {base + ".lock", base + ".sock"};
}

InstanceClaim::InstanceClaim(InstanceClaim&& other) noexcept
    : outcome_(other.outcome_), error_(std::move(other.error_)),
      socketPath_(std::move(other.socketPath_)), lockFd_(std::exchange(other.lockFd_, -1)),
      listenFd_(std::exchange(other.listenFd_, -1)) {}

#ifdef _WIN32

// The Windows window has no claim yet: every start is the first.
InstanceClaim InstanceClaim::Claim(WindowWish) { return InstanceClaim(); }
InstanceClaim::~InstanceClaim() = default;
TInstanceServer::TInstanceServer(const InstanceClaim&, QObject* parent)
    : QObject(parent), listenFd_(-1) {}
void TInstanceServer::Accept() {}

#else

namespace {

using Clock = std::chrono::steady_clock;

// A folder only this user can enter: where a lock and a socket are safe
// from other accounts.
bool PrivateFolder(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
           (st.st_mode & 077) == 0;
}

bool FitsSocketAddress(const std::string& path) {
    return path.size() < sizeof(sockaddr_un::sun_path);
}

// The user's runtime folder, else a private folder of the user's in /tmp;
// nothing when neither can be had.
std::optional<InstancePaths> ClaimPaths() {
    const std::string settings =
        SettingsFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (Set(runtime) && runtime[0] == '/' && PrivateFolder(runtime)) {
        InstancePaths paths = PathsFor(runtime, settings);
        if (FitsSocketAddress(paths.socket)) return paths;
    }
    const std::string own = "/tmp/tallix-" + std::to_string(getuid());
    mkdir(own.c_str(), 0700);
    if (!PrivateFolder(own)) return std::nullopt;
    return PathsFor(own, settings);
}

sockaddr_un Address(const std::string& path) {
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::memcpy(a.sun_path, path.c_str(), path.size() + 1);
    return a;
}

enum class Handing { Taken, NotListening, NoAnswer };

// Gives the wish to the window listening on `path` and waits for its
// answer until `deadline`.
Handing HandOver(const std::string& path, WindowWish wish, Clock::time_point deadline) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Handing::NotListening;
    const sockaddr_un a = Address(path);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        close(fd);
        return Handing::NotListening;
    }
    const char message[2] = {static_cast<char>(wish), '\n'};
    // A window that closes the connection unanswered is ending: its lock
    // is about to be free.
    Handing result = Handing::NotListening;
    if (send(fd, message, sizeof message, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof message)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd p{fd, POLLIN, 0};
        char answer[4] = {};
        if (poll(&p, 1, static_cast<int>(std::max<long long>(left.count(), 0))) != 1)
            result = Handing::NoAnswer;
        else if (recv(fd, answer, sizeof answer, 0) > 0 && answer[0] == 'o')
            result = Handing::Taken;
    }
    close(fd);
    return result;
}

} // namespace

InstanceClaim InstanceClaim::Claim(WindowWish wish) {
    InstanceClaim c;
    const std::optional<InstancePaths> paths = ClaimPaths();
    if (!paths) return c;
    // A window that is still starting has the lock before it listens; one
    // that is loading a deep stack answers when it is done.
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(10);
    for (;;) {
        const int fd = open(paths->lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return c; // no lock to be had: a window all the same
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            c.lockFd_ = fd;
            // A socket left by a window that crashed is nobody's now.
            unlink(paths->socket.c_str());
            const int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            const sockaddr_un a = Address(paths->socket);
            if (s >= 0 && bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0 &&
                listen(s, 8) == 0) {
                c.listenFd_ = s;
                c.socketPath_ = paths->socket;
            } else if (s >= 0) {
                close(s);
            }
            return c;
        }
        close(fd);
        const Handing handing = HandOver(paths->socket, wish, deadline);
        if (handing == Handing::Taken) {
            c.outcome_ = Outcome::HandedOn;
            return c;
        }
        if (handing == Handing::NoAnswer || Clock::now() >= deadline) {
            c.outcome_ = Outcome::Failed;
            c.error_ = "the calculator window is open already (" + paths->lock +
                       "), but it does not answer";
            return c;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

InstanceClaim::~InstanceClaim() {
    if (listenFd_ >= 0) {
        // Removed while the lock is still held: no later window's socket.
        unlink(socketPath_.c_str());
        close(listenFd_);
    }
    if (lockFd_ >= 0) close(lockFd_);
}

TInstanceServer::TInstanceServer(const InstanceClaim& claim, QObject* parent)
    : QObject(parent), listenFd_(claim.ListeningSocket()) {
    if (listenFd_ < 0) return;
    notifier_ = new QSocketNotifier(listenFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TInstanceServer::Accept);
}

void TInstanceServer::Accept() {
    for (;;) {
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) return;
        // Only this account's starts are heard (the folder is private too).
        ucred peer{};
        socklen_t len = sizeof peer;
        const bool own =
            getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &len) == 0 && peer.uid == getuid();
        // The wish follows the connection at once; a peer that sends
        // nothing is not waited for long.
        pollfd p{fd, POLLIN, 0};
        char wish = 0;
        if (own && poll(&p, 1, 500) == 1 && recv(fd, &wish, 1, 0) == 1 &&
            (wish == static_cast<char>(WindowWish::Show) ||
             wish == static_cast<char>(WindowWish::Tray))) {
            Q_EMIT wished(static_cast<WindowWish>(wish));
            send(fd, "ok\n", 3, MSG_NOSIGNAL);
        }
        close(fd);
    }
}

#endif

} // namespace tallix::gui
