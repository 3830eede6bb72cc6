// One calculator window per account. Two windows on one settings file
// would each save over the other's stack and tape, so the first window
// holds a lock in the user's runtime folder and listens on a socket beside
// it; a later start hands it what the user asked for (come forward, or go to
// the tray) and ends. The lock goes with its process, so a window that
// crashed never blocks the next start. Batch mode never takes part.
#pragma once

#include <QObject>
#include <optional>
#include <string>

class QSocketNotifier;

namespace tallix::gui {

// What a start asks of the window: to come forward, or to go to the tray.
enum class WindowWish : char { Show = 's', Tray = 't' };

// Where the lock and the socket of a settings folder live: the user's
// runtime folder (XDG_RUNTIME_DIR, else a private folder in /tmp), one pair
// per settings folder, so that accounts and test homes never meet.
struct InstancePaths {
    std::string lock;
    std::string socket;
};
// The settings folder the window's settings go under: XDG_CONFIG_HOME when
// it is an absolute path, else ~/.config. Null and empty values count as
// unset.
std::string SettingsFolder(const char* xdgConfigHome, const char* home);
// The paths for a settings folder under a runtime folder.
InstancePaths PathsFor(const std::string& runtimeFolder, const std::string& settingsFolder);

// The window's claim: held for the run by the first window.
class InstanceClaim {
public:
    enum class Outcome {
        First,    // this start is the window: it holds the lock and listens
        HandedOn, // another window has it and took the wish: end, status 0
        Failed,   // another window has it but did not answer: end, status 1
    };
    // Claims the window for this process, or hands `wish` to the window
    // that holds it. Where no lock can be made (no usable runtime folder),
    // the start goes on as the first.
    static InstanceClaim Claim(WindowWish wish);

    InstanceClaim(InstanceClaim&& other) noexcept;
    InstanceClaim& operator=(InstanceClaim&&) = delete;
    InstanceClaim(const InstanceClaim&) = delete;
    ~InstanceClaim();

    Outcome Result() const { return outcome_; }
    // Why the hand-over failed, for the message.
    const std::string& Error() const { return error_; }
    // The listening socket, or -1.
    int ListeningSocket() const { return listenFd_; }

private:
    InstanceClaim() = default;
    Outcome outcome_ = Outcome::First;
    std::string error_;
    std::string socketPath_;
    int lockFd_ = -1;
    int listenFd_ = -1;
};

// The first window's ear: reads each later start's wish from the claim's
// socket, on the user-interface thread, and answers once it is carried out.
class TInstanceServer : public QObject {
    Q_OBJECT
public:
    TInstanceServer(const InstanceClaim& claim, QObject* parent = nullptr);

Q_SIGNALS:
    void wished(tallix::gui::WindowWish wish);

private:
    void Accept();
    int listenFd_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tallix::gui
