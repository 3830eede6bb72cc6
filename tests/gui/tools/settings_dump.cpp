// Prints the saved settings and stack of a settings file, read fresh in a
// process of its own: the settings layer caches values per process, so a
// round trip inside one process would prove nothing about the file.
// Output: "group/name=value" lines, values with \\, \r, \n and bytes outside
// printable ASCII written as \xHH; the stack lines in order until the first
// absent one; last "#stack-keys=N", the number of stack values in the file
// whatever their names (lines left behind after a gap count too).
#include <QCoreApplication>
#include <QSettings>
#include <cstdio>
#include <string>

#include "core/persist/settings.h"
#include "escape.h"
#include "gui/settings/qsettingsstore.h"

namespace {} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SETTINGS_FILE\n", argv[0]);
        return 2;
    }
    tallix::gui::QSettingsStore store{QString::fromLocal8Bit(argv[1])};
    const char* window[] = {"Top", "Left", "StayOnTop", "HideKeyboard", "HideNumbers"};
    const char* settings[] = {"AngleMode", "ButtonTime", "FixLength",   "LastX",
                              "LastY",     "LastNum",    "CurrentBase", "WordSize"};
    try {
        for (const char* n : window)
            if (auto v = store.Read("Window", n))
                std::printf("Window/%s=%s\n", n, tallix::gui::test::EscapeValue(*v).c_str());
        for (const char* n : settings)
            if (auto v = store.Read("Settings", n))
                std::printf("Settings/%s=%s\n", n, tallix::gui::test::EscapeValue(*v).c_str());
        for (std::size_t i = 0;; ++i) {
            const std::string name = tallix::persist::StackLineName(i);
            auto v = store.Read("Stack", name);
            if (!v) break;
            std::printf("Stack/%s=%s\n", name.c_str(), tallix::gui::test::EscapeValue(*v).c_str());
        }
    } catch (const tallix::persist::StoreError& e) {
        std::fprintf(stderr, "store error: %s\n", e.what());
        return 1;
    }
    QSettings raw(QString::fromLocal8Bit(argv[1]), QSettings::IniFormat);
    raw.beginGroup("CurrentVersion/Stack");
    std::printf("#stack-keys=%lld\n", static_cast<long long>(raw.childKeys().size()));
    return 0;
}
