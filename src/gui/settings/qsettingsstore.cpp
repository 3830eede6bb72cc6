#include "gui/settings/qsettingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVariant>

namespace tallix::gui {
namespace {

constexpr const char* kOrganisation = "Quorin";
constexpr const char* kApplication = "Tallix";
// The section of every value, and the name the stack's values start with
// (persist::StackLineName): "Line0" for level 1.
constexpr std::string_view kSection = "CurrentVersion";
constexpr std::string_view kStackItem = "Line";

// How long a save waits for another writer of the settings file.
constexpr int kLockWaitMs = 3000;
// From how many values on the settings layer reads the file ahead.
constexpr std::size_t kReadAheadFrom = 1000;

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

QString LockProblem(const QString& file, const QLockFile& lock) {
    return lock.error() == QLockFile::LockFailedError
               ? QStringLiteral("The lock file \"%1.lock\" stays taken: another program is "
                                "writing the settings, or it cannot be removed.")
                     .arg(file)
               : QStringLiteral("The lock file \"%1.lock\" cannot be made.").arg(file);
}

// A new account has no settings folder yet (nor, often, the folder above
// it). The lock file and the replacement file are made beside the settings
// file, so the folder must exist before either; the settings layer does
// not make it in time for the lock.
void MakeFolderOf(const QString& file) { QDir().mkpath(QFileInfo(file).absolutePath()); }

// The user's settings are looked up in further files where the user's own
// file has no value: the organisation's file beside it and both files in
// every folder of system-wide settings. Any of them there, and the values
// may come from it. Every folder either list may name is looked at.
bool FurtherFilesExist(const QString& userFile) {
    const QFileInfo user(userFile);
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    folders << QLibraryInfo::path(QLibraryInfo::SettingsPath)
            << QFileInfo(user.absolutePath()).absolutePath();
    const QString appFile =
        QStringLiteral("%1/%2.conf").arg(QLatin1String(kOrganisation), QLatin1String(kApplication));
    const QString orgFile = QStringLiteral("%1.conf").arg(QLatin1String(kOrganisation));
    for (const QString& folder : folders) {
        if (folder.isEmpty()) continue;
        for (const QString& name : {appFile, orgFile}) {
            const QFileInfo f(QDir(folder).absoluteFilePath(name));
            if (f.absoluteFilePath() != user.absoluteFilePath() && f.exists()) return true;
        }
    }
    return false;
}

std::unique_ptr<QSettings> MakeSettings(const QString& path) {
    if (!path.isEmpty()) return std::make_unique<QSettings>(path, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromLatin1(kOrganisation),
                                       QString::fromLatin1(kApplication));
}

} // namespace

QSettingsStore::QSettingsStore() : settings_(MakeSettings({})) {}

QSettingsStore::QSettingsStore(const QString& path) : path_(path), settings_(MakeSettings(path)) {}

QSettingsStore::~QSettingsStore() {
    if (readAhead_.joinable()) readAhead_.join();
}

void QSettingsStore::ReadAheadForSaves() {
    // A file of a few hundred values takes the settings layer no time.
    if (!answeredQuickly_ || quickValues_ < kReadAheadFrom || readAhead_.joinable()) return;
    // Another settings object on the same file shares what is read of it.
    readAhead_ = std::thread([path = path_] {
        const std::unique_ptr<QSettings> other = MakeSettings(path);
        other->value(Key(persist::kSettingsGroup, "WordSize"));
    });
}

void QSettingsStore::ReadFileQuickly() {
    quickTried_ = true;
    // The settings layer read the file when it was made: one it could not
    // read, or a text form it could not make sense of, stays its own.
    if (settings_->status() != QSettings::NoError) return;
    const QString file = settings_->fileName();
    if (path_.isEmpty() && FurtherFilesExist(file)) return;
    QByteArray bytes;
    QFile f(file);
    if (f.exists()) {
        if (!f.open(QIODevice::ReadOnly)) return;
        bytes = f.readAll();
        if (f.error() != QFileDevice::NoError) return;
    }
    quick_ =
        PlainIni::Parse(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        kSection, persist::kStackGroup, kStackItem);
    if (quick_) quickValues_ = quick_->Size();
}

void QSettingsStore::ForgetQuickRead() {
    quickTried_ = true;
    quick_.reset();
}

std::optional<std::string> QSettingsStore::Read(std::string_view group, std::string_view name) {
    if (!quickTried_) ReadFileQuickly();
    if (quick_ && PlainIni::PlainName(group) && PlainIni::PlainName(name)) {
        answeredQuickly_ = true;
        return quick_->Find(group, name);
    }
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
    ForgetQuickRead();
    settings_->setValue(Key(group, name), ToQ(value));
}

void QSettingsStore::RemoveGroup(std::string_view group) {
    ForgetQuickRead();
    settings_->remove(Key(group, {}));
}

void QSettingsStore::Flush() {
    ForgetQuickRead();
    MakeFolderOf(settings_->fileName());
    settings_->sync();
    const QSettings::Status status = settings_->status();
    if (status == QSettings::NoError) return;
    const QString problem = WriteProblem(settings_->fileName());
    // A malformed line read from the file is reported the same way, and
    // it hides a later failure: only a file that can be written counts as
    // written.
    if (status == QSettings::FormatError && problem.isEmpty()) return;
    throw persist::StoreError(
        (problem.isEmpty() ? QStringLiteral("The file cannot be written.") : problem)
            .toStdString());
}

void QSettingsStore::Reload() {
    ForgetQuickRead();
    // The settings layer waits for its lock file without end when it
    // writes, and again when a settings object with unwritten changes goes
    // away; a lock that stays taken (or a lock file that cannot be made)
    // must not hang the program. So a save tries the lock first, for a
    // while, and gives up before it has changed anything.
    MakeFolderOf(settings_->fileName());
    {
        QLockFile lock(settings_->fileName() + QStringLiteral(".lock"));
        if (!lock.tryLock(kLockWaitMs))
            throw persist::StoreError(LockProblem(settings_->fileName(), lock).toStdString());
    }
    // With nothing pending, a sync only reads the file again when another
    // process has replaced it.
    settings_->sync();
}

persist::SettingsStore::Opener QSettingsStore::OpenerOfAnother() const {
    // The settings object must be made on the thread that uses it: it asks
    // its own thread's event loop to write pending changes, which must
    // never happen behind a writing worker's back.
    return [path = path_]() -> std::unique_ptr<persist::SettingsStore> {
        return path.isEmpty() ? std::make_unique<QSettingsStore>()
                              : std::make_unique<QSettingsStore>(path);
    };
}

std::string QSettingsStore::Location() const {
    return QDir::toNativeSeparators(settings_->fileName()).toStdString();
}

QString WriteProblem(const QString& file) {
    const QFileInfo info(file);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return QStringLiteral("The folder \"%1\" does not exist and cannot be made.").arg(folder);
    if (info.exists() && !info.isFile()) return QStringLiteral("It is not a regular file.");
    // The same steps the settings layer takes: the file, a replacement
    // beside it, and a lock file beside it.
    if (info.exists()) {
        QFile f(file);
        if (!f.open(QIODevice::ReadWrite)) return f.errorString();
    }
    QSaveFile replacement(file);
    if (!replacement.open(QIODevice::WriteOnly)) return replacement.errorString();
    replacement.cancelWriting();
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!lock.tryLock(0)) return LockProblem(file, lock);
    return {};
}

} // namespace tallix::gui
