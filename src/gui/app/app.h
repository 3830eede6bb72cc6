// Program start for the window: the application, the calculator window and
// its error dialog, and the message loop.
#pragma once

#include <QLocale>
#include <memory>

namespace tallix::persist {
class SettingsStore;
}

namespace tallix::gui {

class TMainForm;

// The decimal separator of a locale: the second character of 1 written with
// four decimals, or "." where that is not a single ASCII character.
char DecimalCharOf(const QLocale& locale);

// Creates the calculator window and its error dialog, ready to be shown;
// with a store, the saved settings and stack are loaded from it.
std::unique_ptr<TMainForm> CreateMainWindow(char decimalChar,
                                            persist::SettingsStore* store = nullptr);

// Settings of the running application (style hints, name, icon).
void SetUpApplication();

// Runs the calculator window until it is closed; returns the exit code.
int RunWindow(int argc, char** argv);

} // namespace tallix::gui
