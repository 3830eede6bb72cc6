// Prints the saved settings and stack of a settings file, read fresh in a
// process of its own: the settings layer caches values per process, so a
// round trip inside one process would prove nothing about the file. It reads
// through the settings layer itself, not the program's quick reader, so that
// the file is judged by what the settings layer makes of it.
// Output: "group/name=value" lines, values with \\, \r, \n and bytes outside
// printable ASCII written as \xHH; the stack lines in order until the first
// absent one; last "#stack-keys=N", the number of stack values in the file
// whatever their names (lines left behind after a gap count too).
#include <QCoreApplication>
#include <QSettings>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/persist/settings.h"
#include "escape.h"

namespace {

// A value as the program's store reads it: absent, or a text of bytes;
// anything but a text is a fault of the store.
std::optional<std::string> Read(QSettings& raw, const char* group, const std::string& name) {
    const QVariant v = raw.value(QStringLiteral("CurrentVersion/%1/%2").arg(group, name.c_str()));
    if (!v.isValid()) return std::nullopt;
    if (v.typeId() != QMetaType::QString)
        throw std::runtime_error("a value is not stored as a string");
    const QByteArray bytes = v.toString().toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SETTINGS_FILE\n", argv[0]);
        return 2;
    }
    QSettings raw(QString::fromLocal8Bit(argv[1]), QSettings::IniFormat);
    if (raw.status() == QSettings::AccessError) {
        std::fprintf(stderr, "store error: the settings cannot be read\n");
        return 1;
    }
    const char* window[] = {"Top", "Left", "StayOnTop", "HideKeyboard", "HideNumbers"};
    const char* settings[] = {"AngleMode", "ButtonTime", "FixLength",   "LastX",
                              "LastY",     "LastNum",    "CurrentBase", "WordSize"};
    try {
        for (const char* n : window)
            if (auto v = Read(raw, "Window", n))
                std::printf("Window/%s=%s\n", n, tallix::gui::test::EscapeValue(*v).c_str());
        for (const char* n : settings)
            if (auto v = Read(raw, "Settings", n))
                std::printf("Settings/%s=%s\n", n, tallix::gui::test::EscapeValue(*v).c_str());
        for (std::size_t i = 0;; ++i) {
            const std::string name = tallix::persist::StackLineName(i);
            auto v = Read(raw, "Stack", name);
            if (!v) break;
            std::printf("Stack/%s=%s\n", name.c_str(), tallix::gui::test::EscapeValue(*v).c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "store error: %s\n", e.what());
        return 1;
    }
    raw.beginGroup("CurrentVersion/Stack");
    std::printf("#stack-keys=%lld\n", static_cast<long long>(raw.childKeys().size()));
    return 0;
}
