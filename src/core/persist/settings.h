// Settings, modes, last arguments and the value stack kept between runs.
// The window loads them once while it is created and keeps the store in
// step with them while it runs (and once more at its end); the decisions
// live here so that the window only has to apply the result.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/calc/appearance.h"
#include "core/calc/calculator.h"
#include "core/persist/settingsstore.h"

namespace tallix::persist {

// What the window keeps in its controls rather than in the calculator.
struct WindowSettings {
    int Top = 5;  // the window's top edge
    int Left = 5; // the window's left edge
    bool StayOnTop = false;
    bool HideKeyboard = false;
    bool HideNumbers = false;
    int ButtonTime = 25; // the key-flash time in milliseconds
    // The folder of the stack file opened or saved last (UTF-8), where the
    // next Open or Save starts; empty until the first one. Saved only once
    // it is set, as "Folder".
    std::string FileFolder;
    // The colour theme, saved as its name ("System", "HighContrast"), and
    // the zoom in percent (one of kZoomSteps); a stored value that is none
    // of these reads as the default.
    Theme ColourTheme = Theme::System;
    int Zoom = kDefaultZoom;
    // The tape window: whether it is shown, and its size.
    bool TapeShown = false;
    int TapeWidth = 300;
    int TapeHeight = 360;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

struct LoadResult {
    enum class End {
        Complete,   // everything read, the saved stack loaded
        StoreError, // the store failed: the load stopped there, silently
        Warning,    // a bad value stopped the load: show `warning`
    };
    End end = End::Complete;
    // The whole text of the warning box ("Something is wrong: ...").
    std::string warning;
    // Why the store failed, for a diagnostic; never shown in a box.
    std::string storeError;
    // Whether the saved stack replaced the calculator's stack.
    bool stackLoaded = false;
};

// Reads everything in its fixed order, applying each value as it is read,
// so that after an early end the values read so far are in effect and the
// rest keep what they held. `window` holds the design position on entry: a
// stored "Top" or "Left" (or its default 5) replaces it only when it is less
// than the screen's height or width. The saved stack is loaded in one piece
// and stays in the store, so that a run that ends without its save (a
// crash, a kill, a power cut) finds it again at the next start.
LoadResult LoadSettings(SettingsStore& store, Calculator& calc, WindowSettings& window,
                        ScreenSize screen);

// The "Window", "Settings" and "Tape" values a save writes, as their stored texts in
// writing order. Taking them costs microseconds, so the window can compare
// them after every command to learn whether anything is left to save.
struct SavedValues {
    std::vector<std::pair<std::string_view, std::string>> window;
    std::vector<std::pair<std::string_view, std::string>> settings;
    std::vector<std::pair<std::string_view, std::string>> tape;
    bool operator==(const SavedValues&) const = default;
};
SavedValues CaptureValues(const Calculator& calc, const WindowSettings& window);

// Writes the values, then the stack (level 1 first) in place of the whole
// "Stack" group as the store holds it at that moment: the store is re-read
// first, so that deeper lines that another instance wrote meanwhile go too.
// A null `stack` leaves the "Stack" group as it is (its saved stack was
// never loaded, and must be found again at the next start). Ends with
// Flush. Returns why the store failed, if it did.
std::optional<std::string> SaveState(SettingsStore& store, const SavedValues& values,
                                     const std::vector<std::string>* stack);

// SaveState with the calculator's values and whole stack.
std::optional<std::string> SaveSettings(SettingsStore& store, const Calculator& calc,
                                        const WindowSettings& window);

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where a window of the given frame opens: where it is, unless no pixel of
// it would lie on any screen (a screen removed since the last run), then at
// the default 5, 5. An empty screen list keeps the position.
Rect PlaceOnScreens(Rect window, const std::vector<Rect>& screens);

// The names of the stack values: "Line0" for level 1, "Line1", ...
std::string StackLineName(std::size_t index);

} // namespace tallix::persist
