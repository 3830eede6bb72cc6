#include "gui/settings/qsettingsstore.h"

#include <QVariant>

namespace tallix::gui {
namespace {

QString Key(std::string_view group, std::string_view name) {
    QString key = QStringLiteral("CurrentVersion/");
    key += QString::fromLatin1(group.data(), static_cast<qsizetype>(group.size()));
    if (!name.empty()) {
        key += QLatin1Char('/');
        key += QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    }
    return key;
}

// Stack texts are byte strings (a stack file may bring any bytes); Latin-1
// maps every byte to one character and back, so they survive exactly.
QString ToQ(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

QSettingsStore::QSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Quorin"), QStringLiteral("Tallix"))) {}

QSettingsStore::QSettingsStore(const QString& path)
    : settings_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

std::optional<std::string> QSettingsStore::Read(std::string_view group, std::string_view name) {
    if (settings_->status() == QSettings::AccessError)
        throw persist::StoreError("the settings cannot be read");
    const QVariant v = settings_->value(Key(group, name));
    if (!v.isValid()) return std::nullopt;
    // Every value is written as a string; anything else was put there by
    // another program and is treated as a store error.
    if (v.typeId() != QMetaType::QString)
        throw persist::StoreError("a value is not stored as a string");
    const QByteArray bytes = v.toString().toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QSettingsStore::Write(std::string_view group, std::string_view name, std::string_view value) {
    settings_->setValue(Key(group, name), ToQ(value));
}

void QSettingsStore::RemoveGroup(std::string_view group) { settings_->remove(Key(group, {})); }

void QSettingsStore::Flush() {
    settings_->sync();
    if (settings_->status() != QSettings::NoError)
        throw persist::StoreError("the settings cannot be written");
}

} // namespace tallix::gui
