#include "gui/settings/tapesave.h"

#include <cstdio>

#include "core/tape/tapefile.h"

namespace tallix::gui {

namespace {
constexpr int kIdleMs = 1000;
} // namespace

TTapeSave::TTapeSave(const tape::Tape& tape, std::string path, QObject* parent)
    : QObject(parent), tape_(tape), path_(std::move(path)) {
    idle_.setSingleShot(true);
    idle_.setInterval(kIdleMs);
    connect(&idle_, &QTimer::timeout, this, &TTapeSave::SaveChanges);
}

TTapeSave::~TTapeSave() { WaitForWrite(); }

void TTapeSave::MarkSaved() { saved_ = noted_ = tape_.Revision(); }

void TTapeSave::NoteChange() {
    if (ended_ || tape_.Revision() == noted_) return;
    noted_ = tape_.Revision();
    idle_.start();
}

void TTapeSave::SaveChanges() {
    if (ended_) return;
    const std::uint64_t revision = tape_.Revision();
    if (saved_ && *saved_ == revision) return;
    if (writing_) {
        again_ = true;
        return;
    }
    // The text is made here, where the tape lives (a few milliseconds for
    // the longest tape); the disk is the slow part.
    std::string bytes = tape::Serialize(tape_);
    if (tape_.Size() < kBackgroundLines) {
        const persist::FileStatus st = tape::SaveTapeFile(path_, bytes);
        WriteDone(revision, st ? std::nullopt : std::optional<std::string>(st.reason));
        return;
    }
    if (worker_.joinable()) worker_.join();
    writing_ = true;
    worker_ = std::thread([this, revision, bytes = std::move(bytes)] {
        const persist::FileStatus st = tape::SaveTapeFile(path_, bytes);
        std::optional<std::string> error;
        if (!st) error = st.reason;
        QMetaObject::invokeMethod(
            this, [this, revision, error] { WriteDone(revision, error); }, Qt::QueuedConnection);
        writing_ = false;
    });
}

void TTapeSave::WriteDone(std::uint64_t revision, std::optional<std::string> error) {
    if (error) {
        if (!reported_)
            std::fprintf(stderr, "tallix: the tape could not be saved to \"%s\": %s\n",
                         path_.c_str(), error->c_str());
        reported_ = true;
    } else {
        saved_ = revision;
        reported_ = false;
    }
    if (again_) {
        again_ = false;
        idle_.start();
    }
}

void TTapeSave::WaitForWrite() {
    if (worker_.joinable()) worker_.join();
}

std::optional<std::string> TTapeSave::SaveAtEnd() {
    WaitForWrite();
    ended_ = true;
    idle_.stop();
    if (saved_ && *saved_ == tape_.Revision()) return std::nullopt;
    const persist::FileStatus st = tape::SaveTapeFile(path_, tape::Serialize(tape_));
    if (!st) return st.reason;
    saved_ = tape_.Revision();
    return std::nullopt;
}

} // namespace tallix::gui
