// The window on a real X server with a window manager: a private Xvfb with
// openbox, the real program, keys typed with xdotool. The tests are skipped
// (exit status 77) where those programs are not installed.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "x11_session.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const QString missing = tallix::x11test::MissingTools();
    if (!missing.isEmpty()) {
        std::printf("skipped: %s not installed\n", missing.toLocal8Bit().constData());
        return 77;
    }
    ::testing::AddGlobalTestEnvironment(new tallix::x11test::Session);
    return RUN_ALL_TESTS();
}
