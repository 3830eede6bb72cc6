// Program start for the window: the application, the calculator window and
// its error dialog, and the message loop.
#pragma once

#include <QLocale>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// What the program does when the window toolkit cannot start (its platform
// cannot reach the display): given the toolkit's messages of the start, it
// reports and ends the process. Without it the toolkit aborts.
using StartFailure = std::function<void(const std::vector<std::string>& toolkitMessages)>;

// Runs the calculator window until it is closed; returns the exit code.
int RunWindow(int argc, char** argv, StartFailure onStartFailure = {});

} // namespace tallix::gui
