// Keeps the saved settings and stack in step with the window while it runs,
// so that a crash, a kill or a power cut loses at most the last second:
// when the state has changed and then stayed the same for a second, it is
// written. A deep stack is written on a worker thread from a copy of its
// texts, so typing never waits for the disk; small ones are written at
// once. One write at a time; the end of the run waits for a running write
// and then writes the final state itself.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "core/persist/settings.h"

namespace tallix::gui {

class TAutoSave : public QObject {
    Q_OBJECT
public:
    // From this depth on, a save is written on the worker thread.
    static constexpr std::size_t kBackgroundDepth = 2000;
    // The quiet time after the last change before a save, in milliseconds.
    static constexpr int kIdleMs = 1000;

    // `capture` gives the values of the moment; `calc` is whose stack is
    // saved; `revision` advances with every change of what is saved (every
    // pass through the calculator's door, every change of a window option).
    // The store must outlive this object.
    TAutoSave(persist::SettingsStore& store, const Calculator& calc,
              std::function<persist::SavedValues()> capture,
              std::function<std::uint64_t()> revision, QObject* parent = nullptr);
    ~TAutoSave() override;

    // Whether saves write the "Stack" group. Off when the load ended before
    // the saved stack: it stays in the store for the next start.
    void SetSaveStack(bool on) { saveStack_ = on; }
    // The state of the moment counts as saved (it was just loaded).
    void MarkSaved();
    // Called when the revision may have advanced; a change of the state
    // starts the quiet second again. An unchanged revision costs nothing.
    void NoteChange();

    // Starts a save of the state of the moment unless one is running or
    // nothing has changed; true when a write was started on the worker.
    bool SaveChanges();
    // The final save: waits for a running write, then writes the state of
    // the moment here, whatever has changed. No save starts after it.
    // Returns why the store failed, if it did.
    std::optional<std::string> SaveAtEnd();

    // The quiet time, kIdleMs unless a test shortens it.
    void SetIdleMs(int ms) { idle_.setInterval(ms); }

    // Whether the worker is writing at this moment.
    bool Writing() const { return writing_.load(); }
    // Waits for a running write (tests and the end).
    void WaitForWrite();

private:
    struct State {
        persist::SavedValues values;
        std::uint64_t stackRevision = 0;
        bool operator==(const State&) const = default;
    };
    State Now() const;
    void WriteDone(State state, std::optional<std::string> error);

    persist::SettingsStore& store_;
    const Calculator& calc_;
    std::function<persist::SavedValues()> capture_;
    std::function<std::uint64_t()> revision_;
    std::optional<std::uint64_t> notedRevision_;
    QTimer idle_;
    std::thread worker_;
    std::atomic<bool> writing_{false};
    bool saveStack_ = true;
    bool ended_ = false;
    bool again_ = false;    // the quiet second passed while a write ran
    bool reported_ = false; // a failure has been reported on standard error
    std::optional<State> noted_;
    std::optional<State> saved_;
};

} // namespace tallix::gui
