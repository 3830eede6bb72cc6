// The settings store backed by the platform's native settings (the registry
// on Windows, ~/.config/Quorin/Tallix.conf on Linux), under "CurrentVersion".
// The settings layer writes its file through a temporary file renamed over
// the old one, under a lock file, so a reader never sees half a save.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>
#include <optional>
#include <thread>

#include "core/persist/settingsstore.h"
#include "gui/settings/plainini.h"

namespace tallix::gui {

class QSettingsStore : public persist::SettingsStore {
public:
    // The user's settings of organisation "Quorin", application "Tallix".
    QSettingsStore();
    // A settings file of the native format's text form at `path` (tests).
    explicit QSettingsStore(const QString& path);
    ~QSettingsStore() override;
    QSettingsStore(const QSettingsStore&) = delete;
    QSettingsStore& operator=(const QSettingsStore&) = delete;

    std::optional<std::string> Read(std::string_view group, std::string_view name) override;
    void Write(std::string_view group, std::string_view name, std::string_view value) override;
    void RemoveGroup(std::string_view group) override;
    void Flush() override;
    void Reload() override;
    Opener OpenerOfAnother() const override;
    std::string Location() const override;

    QString fileName() const { return settings_->fileName(); }
    // Whether the reads so far were answered by the quick reader (a file of
    // the plain shape, and no other file of the settings layer's beside it).
    bool ReadQuickly() const { return quick_.has_value(); }
    // The quick reader leaves the settings layer's own reading of the file
    // to the first save, which then takes as long again (a tenth of a
    // second for a deep stack). For a file of many values this has it read
    // now on a thread of its own, which the settings layer allows and which
    // the first save then finds done.
    void ReadAheadForSaves();

private:
    // Reads the file with the quick reader, before the first read.
    void ReadFileQuickly();
    // From the first change on, the settings layer answers every read.
    void ForgetQuickRead();

    QString path_; // empty: the user's native settings
    std::unique_ptr<QSettings> settings_;
    bool quickTried_ = false;
    bool answeredQuickly_ = false; // a read was answered by the quick reader
    std::size_t quickValues_ = 0;  // how many values the quick reader found
    std::optional<PlainIni> quick_;
    std::thread readAhead_;
};

// Why the settings file cannot be written, in words for a message box (the
// settings layer itself only knows that it failed); empty when nothing
// stands in the way now.
QString WriteProblem(const QString& file);

} // namespace tallix::gui
