// Starting the calculator window from `tallix`. The window is a program of
// its own, so that batch mode never loads the window toolkit: `tallix`
// replaces itself with it (same process, same arguments) when the command
// line asks for the window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tallix::cli {

// The window program's file name.
inline constexpr char kWindowProgram[] = "tallix-window";

// The line printed when the window cannot open for want of a screen.
extern const char kNoDisplayMessage[];

// The line printed when a display is set but the window toolkit cannot
// start on it (nothing listens there, or it refuses the connection).
std::string UnreachableDisplayMessage(std::string_view display);
// The display a failed start names: the one the toolkit's own messages name
// ("could not connect to display :99"), else DISPLAY, else WAYLAND_DISPLAY,
// else the platform chosen through QT_QPA_PLATFORM. Null and empty values
// count as unset.
std::string FailedDisplayName(const std::vector<std::string>& toolkitMessages, const char* display,
                              const char* waylandDisplay, const char* qpaPlatform);

// True when the window toolkit has somewhere to show the window: an X or a
// Wayland display, or a platform chosen through QT_QPA_PLATFORM (offscreen,
// vnc...). Null and empty values count as unset.
bool DisplayAvailable(const char* display, const char* waylandDisplay, const char* qpaPlatform);
// The same from this process's environment.
bool DisplayAvailable();

// Where to look for the window program, in order, when `tallix` runs from
// selfPath: beside it (the build tree), then in the installed directory,
// given relative to the directory of `tallix`. Empty when selfPath has no
// directory.
std::vector<std::string> WindowProgramCandidates(std::string_view selfPath,
                                                 std::string_view installedDir);

// Replaces this process with the window program, passing argv on unchanged.
// Returns only when no window program could be started, after a message on
// standard error; the result is the exit status.
int ExecWindowProgram(char** argv);

} // namespace tallix::cli
