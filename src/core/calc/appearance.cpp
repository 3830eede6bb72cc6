#include "core/calc/appearance.h"

#include <algorithm>
#include <cmath>

namespace tallix {

std::string_view ThemeName(Theme theme) {
    switch (theme) {
    case Theme::Light: return "Light";
    case Theme::Dark: return "Dark";
    case Theme::HighContrast: return "HighContrast";
    case Theme::System: break;
    }
    return "System";
}

std::optional<Theme> ThemeFromName(std::string_view name) {
    for (Theme t : kThemes)
        if (ThemeName(t) == name) return t;
    return std::nullopt;
}

int ValidZoom(int percent) {
    return std::find(kZoomSteps.begin(), kZoomSteps.end(), percent) != kZoomSteps.end()
               ? percent
               : kDefaultZoom;
}

int ZoomIn(int percent) {
    for (int step : kZoomSteps)
        if (step > percent) return step;
    return kZoomSteps.back();
}

int ZoomOut(int percent) {
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
        if (*it < percent) return *it;
    return kZoomSteps.front();
}

namespace {
double Linear(std::uint8_t component) {
    const double c = component / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
} // namespace

double RelativeLuminance(Rgb c) {
    return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b);
}

double ContrastRatio(Rgb a, Rgb b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDarkColour(Rgb window) {
    const int hi = std::max({window.r, window.g, window.b});
    const int lo = std::min({window.r, window.g, window.b});
    return hi + lo < 255;
}

Rgb ReadableDimmed(Rgb dimmed, Rgb text, Rgb background, double need) {
    constexpr int kSteps = 32;
    for (int i = 0; i <= kSteps; ++i) {
        auto mix = [i](std::uint8_t from, std::uint8_t to) {
            return static_cast<std::uint8_t>((from * (kSteps - i) + to * i + kSteps / 2) / kSteps);
        };
        const Rgb c{mix(dimmed.r, text.r), mix(dimmed.g, text.g), mix(dimmed.b, text.b)};
        if (ContrastRatio(c, background) >= need) return c;
    }
    return text;
}

Rgb ReadableOn(Rgb text, Rgb background, double need) {
    if (ContrastRatio(text, background) >= need) return text;
    constexpr Rgb black{0, 0, 0}, white{255, 255, 255};
    return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

double MinimumContrast(Theme theme, TextKind kind) {
    if (kind == TextKind::Dimmed) return 3.0;
    return theme == Theme::HighContrast ? 7.0 : 4.5;
}

std::optional<ThemeColours> ThemePalette(Theme theme) {
    switch (theme) {
    case Theme::Light:
        return ThemeColours{
            .window = {240, 240, 240},
            .windowText = {0, 0, 0},
            .base = {255, 255, 255},
            .text = {0, 0, 0},
            .button = {240, 240, 240},
            .buttonText = {0, 0, 0},
            .dimmed = {128, 128, 128},
            .highlight = {0, 90, 170},
            .highlightedText = {255, 255, 255},
            .toolTipBase = {255, 255, 225},
            .toolTipText = {0, 0, 0},
            .error = {176, 0, 0},
            .accent = {0, 0, 0},
            .focus = {0, 90, 170},
            .focusWidth = 1,
            .darkShades = false,
        };
    case Theme::Dark:
        return ThemeColours{
            .window = {45, 45, 48},
            .windowText = {235, 235, 235},
            .base = {24, 24, 26},
            .text = {240, 240, 240},
            .button = {58, 58, 62},
            .buttonText = {235, 235, 235},
            .dimmed = {140, 140, 145},
            .highlight = {38, 110, 190},
            .highlightedText = {255, 255, 255},
            .toolTipBase = {60, 60, 64},
            .toolTipText = {240, 240, 240},
            .error = {255, 128, 128},
            .accent = {235, 235, 235},
            .focus = {90, 160, 240},
            .focusWidth = 1,
            .darkShades = true,
        };
    case Theme::HighContrast:
        // No grey backgrounds: what is not active is a lighter grey on black
        // that still reads at the full contrast.
        return ThemeColours{
            .window = {0, 0, 0},
            .windowText = {255, 255, 255},
            .base = {0, 0, 0},
            .text = {255, 255, 255},
            .button = {0, 0, 0},
            .buttonText = {255, 255, 255},
            .dimmed = {160, 160, 160},
            .highlight = {255, 255, 0},
            .highlightedText = {0, 0, 0},
            .toolTipBase = {0, 0, 0},
            .toolTipText = {255, 255, 255},
            .error = {255, 140, 140},
            .accent = {255, 255, 0},
            .focus = {255, 255, 0},
            .focusWidth = 3,
            .darkShades = true,
        };
    case Theme::System: break;
    }
    return std::nullopt;
}

Rgb ErrorText(Theme theme, Rgb text, Rgb base) {
    if (const std::optional<ThemeColours> own = ThemePalette(theme)) return own->error;
    const Rgb red = IsDarkColour(base) ? Rgb{255, 128, 128} : Rgb{176, 0, 0};
    return ReadableDimmed(red, text, base, MinimumContrast(theme, TextKind::Normal));
}

} // namespace tallix
