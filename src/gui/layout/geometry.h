// Window geometry: every position and size is laid out for 96 dots per inch
// and scaled to the screen's logical resolution.
#pragma once

#include <QSize>

namespace tallix::gui {

// A length laid out at 96 dpi, at the given resolution (integer division).
constexpr int Scale(int length96, int dpi) { return length96 * dpi / 96; }

// The pixel size of a font of the given point size, rounded as the window
// system rounds it.
constexpr int FontPixels(int points, int dpi) { return (points * dpi + 36) / 72; }

// The client area below the menu bar with everything showing. 120 dpi has
// its own hand-tuned size; other resolutions scale the 96-dpi one.
QSize FullClientSize(int dpi);
// Client heights with the keypad hidden and with the number pad hidden.
int KeyboardHiddenHeight(int dpi);
int NumbersHiddenHeight(int dpi);

} // namespace tallix::gui
