// Keeps the tape's file in step with the tape, as the autosave keeps the
// settings and the stack: a second after the tape stops changing its text
// is written, on a worker thread when the tape is large, so that typing
// never waits for the disk; at the end, a running write is waited for and
// the final tape written.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "core/tape/tape.h"

namespace tallix::gui {

class TTapeSave : public QObject {
    Q_OBJECT
public:
    // From this many lines on, a save is written on the worker thread.
    static constexpr std::size_t kBackgroundLines = 500;

    TTapeSave(const tape::Tape& tape, std::string path, QObject* parent = nullptr);
    ~TTapeSave() override;

    // The tape as it is counts as saved (it was just read).
    void MarkSaved();
    // Called when the tape may have changed: a change starts the quiet
    // second again.
    void NoteChange();
    // Starts a save unless one is running or nothing changed.
    void SaveChanges();
    // Waits for a running write, then writes the tape here; none after it.
    std::optional<std::string> SaveAtEnd();
    void SetIdleMs(int ms) { idle_.setInterval(ms); }
    void WaitForWrite();
    const std::string& Path() const { return path_; }

private:
    void WriteDone(std::uint64_t revision, std::optional<std::string> error);

    const tape::Tape& tape_;
    std::string path_;
    QTimer idle_;
    std::thread worker_;
    std::atomic<bool> writing_{false};
    bool ended_ = false;
    bool again_ = false;
    bool reported_ = false;
    std::uint64_t noted_ = 0;
    std::optional<std::uint64_t> saved_;
};

} // namespace tallix::gui
