// The settings store backed by the platform's native settings (the registry
// on Windows, ~/.config/Quorin/Tallix.conf on Linux), under "CurrentVersion".
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

    QString fileName() const { return settings_->fileName(); }

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace tallix::gui
