#include "gui/settings/autosave.h"

#include <cstdio>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace tallix::gui {
namespace {

// The worker yields the processor to the window's thread whenever both want
// it (on Linux the niceness is per thread): on a busy machine a key must not
// wait for a time slice of the writer.
void LowerThisThreadsPriority() {
#ifdef __linux__
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 10);
#endif
}

} // namespace

TAutoSave::TAutoSave(persist::SettingsStore& store, const Calculator& calc,
                     std::function<persist::SavedValues()> capture,
                     std::function<std::uint64_t()> revision, QObject* parent)
    : QObject(parent), store_(store), calc_(calc), capture_(std::move(capture)),
      revision_(std::move(revision)) {
    idle_.setSingleShot(true);
    idle_.setInterval(kIdleMs);
    connect(&idle_, &QTimer::timeout, this, [this] { SaveChanges(); });
}

TAutoSave::~TAutoSave() { WaitForWrite(); }

TAutoSave::State TAutoSave::Now() const { return {capture_(), calc_.StackRevision()}; }

void TAutoSave::MarkSaved() {
    saved_ = Now();
    noted_ = saved_;
    notedRevision_ = revision_();
}

void TAutoSave::NoteChange() {
    if (ended_) return;
    const std::uint64_t revision = revision_();
    if (notedRevision_ == revision) return;
    notedRevision_ = revision;
    State now = Now();
    if (noted_ && *noted_ == now) return;
    noted_ = std::move(now);
    idle_.start();
}

void TAutoSave::WaitForWrite() {
    if (worker_.joinable()) worker_.join();
}

bool TAutoSave::SaveChanges() {
    if (ended_) return false;
    if (worker_.joinable()) {
        // Never two writes at once: this one follows when the other ends.
        again_ = true;
        return false;
    }
    State state = Now();
    if (saved_ && *saved_ == state) return false;
    std::optional<std::vector<std::string>> stack;
    if (saveStack_) stack = calc_.StackLevels();
    // A fresh store of the same storage for every save, where there is one:
    // the store the load used may still carry the state of a failure.
    persist::SettingsStore::Opener open = store_.OpenerOfAnother();
    if (!open || !stack || stack->size() < kBackgroundDepth) {
        std::unique_ptr<persist::SettingsStore> other = open ? open() : nullptr;
        auto error =
            persist::SaveState(other ? *other : store_, state.values, stack ? &*stack : nullptr);
        WriteDone(std::move(state), std::move(error));
        return false;
    }
    // The worker owns copies of everything it writes, and a store of its
    // own; the window goes on changing its state meanwhile.
    writing_ = true;
    worker_ = std::thread([this, state = std::move(state), stack = std::move(*stack),
                           open = std::move(open)]() mutable {
        LowerThisThreadsPriority();
        std::unique_ptr<persist::SettingsStore> other = open();
        auto error = persist::SaveState(*other, state.values, &stack);
        other.reset();
        writing_ = false;
        QMetaObject::invokeMethod(
            this,
            [this, state = std::move(state), error = std::move(error)]() mutable {
                WaitForWrite();
                WriteDone(std::move(state), std::move(error));
            },
            Qt::QueuedConnection);
    });
    return true;
}

void TAutoSave::WriteDone(State state, std::optional<std::string> error) {
    if (error) {
        // The end of the run reports a failure in a box; meanwhile one
        // line on standard error says that the saved state is behind.
        if (!reported_)
            std::fprintf(stderr, "tallix: the settings could not be saved: %s\n", error->c_str());
        reported_ = true;
    } else {
        reported_ = false;
        saved_ = std::move(state);
    }
    if (again_ && !ended_) {
        again_ = false;
        SaveChanges();
    }
}

std::optional<std::string> TAutoSave::SaveAtEnd() {
    ended_ = true;
    idle_.stop();
    WaitForWrite();
    persist::SettingsStore::Opener open = store_.OpenerOfAnother();
    std::unique_ptr<persist::SettingsStore> other = open ? open() : nullptr;
    persist::SettingsStore& target = other ? *other : store_;
    const State state = Now();
    std::optional<std::vector<std::string>> stack;
    if (saveStack_) stack = calc_.StackLevels();
    auto error = persist::SaveState(target, state.values, stack ? &*stack : nullptr);
    if (!error) saved_ = state;
    return error;
}

} // namespace tallix::gui
