// The settings store backed by the platform's native settings (the registry
// on Windows, ~/.config/Quorin/Tallix.conf on Linux), under "CurrentVersion".
// The settings layer writes its file through a temporary file renamed over
// the old one, under a lock file, so a reader never sees half a save.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "core/persist/settingsstore.h"

namespace tallix::gui {

class QSettingsStore : public persist::SettingsStore {
public:
    // The user's settings of organisation "Quorin", application "Tallix".
    QSettingsStore();
    // A settings file of the native format's text form at `path` (tests).
    explicit QSettingsStore(const QString& path);

    std::optional<std::string> Read(std::string_view group, std::string_view name) override;
    void Write(std::string_view group, std::string_view name, std::string_view value) override;
    void RemoveGroup(std::string_view group) override;
    void Flush() override;
    void Reload() override;
    Opener OpenerOfAnother() const override;
    std::string Location() const override;

    QString fileName() const { return settings_->fileName(); }

private:
    QString path_; // empty: the user's native settings
    std::unique_ptr<QSettings> settings_;
};

// Why the settings file cannot be written, in words for a message box (the
// settings layer itself only knows that it failed); empty when nothing
// stands in the way now.
QString WriteProblem(const QString& file);

} // namespace tallix::gui
