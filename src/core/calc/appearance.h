// How the window looks: its colour theme, its zoom step and the colours of
// the program's own themes, with the contrast arithmetic that checks them.
// The window only turns these decisions into palettes and sizes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tallix {

enum class Theme : std::uint8_t {
    System,       // the desktop's colours, followed while the program runs
    Light,        // the program's own light colours
    Dark,         // the program's own dark colours
    HighContrast, // white on black, yellow for the second functions
};

inline constexpr std::array<Theme, 4> kThemes = {Theme::System, Theme::Light, Theme::Dark,
                                                 Theme::HighContrast};

// The stored name of a theme ("System", "HighContrast"), and back; an
// unknown name gives nothing.
std::string_view ThemeName(Theme theme);
std::optional<Theme> ThemeFromName(std::string_view name);

// The zoom steps in percent, smallest first.
inline constexpr std::array<int, 4> kZoomSteps = {100, 125, 150, 200};
inline constexpr int kDefaultZoom = 100;

// A stored zoom: one of the steps, else the default.
int ValidZoom(int percent);
// The next step up or down; the last step stays.
int ZoomIn(int percent);
int ZoomOut(int percent);
// The resolution the window lays itself out for: the screen's, times the
// zoom (integer division, as every length is scaled).
constexpr int ZoomedDpi(int dpi, int percent) { return dpi * percent / 100; }

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    constexpr bool operator==(const Rgb&) const = default;
};

// Relative luminance (0 black .. 1 white) of an sRGB colour, and the
// contrast ratio of two colours (1 .. 21), as accessibility guidelines
// measure them.
double RelativeLuminance(Rgb c);
double ContrastRatio(Rgb a, Rgb b);
// Whether a window colour reads as a dark theme: its lightness (the mean
// of its largest and smallest component) is below the middle.
bool IsDarkColour(Rgb window);

// A dimmed text colour that reads at `need` against its background: the
// given one when it does, else mixed toward the normal text colour just
// far enough (desktops often grey their disabled text too faintly).
Rgb ReadableDimmed(Rgb dimmed, Rgb text, Rgb background, double need);

// A text colour that reads on `background` at `need`: the given one when
// it does, else black or white, whichever reads better (a desktop's
// selection colours are not always a readable pair).
Rgb ReadableOn(Rgb text, Rgb background, double need);

// What a text is, for the contrast it needs against its background.
enum class TextKind : std::uint8_t {
    Normal, // captions, numbers, menu items
    Dimmed, // the greyed caption of a function that is not active now
};
// The least contrast ratio a text needs in a theme: 4.5 (7 in High
// Contrast) for normal text, 3 for dimmed captions.
double MinimumContrast(Theme theme, TextKind kind);

// A complete palette of one of the program's own themes.
struct ThemeColours {
    Rgb window;          // the window's and the keys' background
    Rgb windowText;      // captions and labels
    Rgb base;            // the stack display and the entry line
    Rgb text;            // the numbers on the stack display
    Rgb button;          // key faces
    Rgb buttonText;      // key captions
    Rgb dimmed;          // greyed captions on window and key faces
    Rgb highlight;       // selected menu items and text
    Rgb highlightedText; // text on the highlight
    Rgb toolTipBase;
    Rgb toolTipText;
    Rgb error;       // the text of an error (the tape's error lines) on base
    Rgb accent;      // lit Shift labels and the Shift key when it is down
    Rgb focus;       // the focus outline
    int focusWidth;  // its width in pixels at 96 dpi
    bool darkShades; // bevels drawn for a dark background
};

// The colours of a theme of the program's own; System has none (it takes
// the desktop's).
std::optional<ThemeColours> ThemePalette(Theme theme);

// The text colour of an error on `base` in a theme: the theme's own, or on
// the desktop's palette a red (a light one on a dark background) mixed
// toward the normal text colour as far as the contrast needs.
Rgb ErrorText(Theme theme, Rgb text, Rgb base);

} // namespace tallix
