// The window's themes and zoom steps as the core decides them: stored names,
// zoom stepping, the contrast arithmetic and the program's own palettes.
#include <gtest/gtest.h>

#include "core/calc/appearance.h"

using tallix::ContrastRatio;
using tallix::Rgb;
using tallix::TextKind;
using tallix::Theme;

namespace {

TEST(Themes, StoredNamesRoundTripAndUnknownNamesAreRefused) {
    const struct {
        Theme theme;
        const char* name;
    } cases[] = {{Theme::System, "System"},
                 {Theme::Light, "Light"},
                 {Theme::Dark, "Dark"},
                 {Theme::HighContrast, "HighContrast"}};
    for (const auto& c : cases) {
        EXPECT_EQ(tallix::ThemeName(c.theme), c.name);
        EXPECT_EQ(tallix::ThemeFromName(c.name), c.theme) << c.name;
    }
    for (const char* bad : {"", "dark", "High Contrast", "Sepia", "System "})
        EXPECT_FALSE(tallix::ThemeFromName(bad).has_value()) << bad;
}

TEST(Zoom, StepsUpAndDownAndStopsAtTheEnds) {
    const struct {
        int from, in, out;
    } cases[] = {{100, 125, 100}, {125, 150, 100}, {150, 200, 125}, {200, 200, 150}};
    for (const auto& c : cases) {
        EXPECT_EQ(tallix::ZoomIn(c.from), c.in) << c.from;
        EXPECT_EQ(tallix::ZoomOut(c.from), c.out) << c.from;
    }
    for (int ok : tallix::kZoomSteps) EXPECT_EQ(tallix::ValidZoom(ok), ok);
    for (int bad : {0, -100, 99, 110, 175, 250, 400}) EXPECT_EQ(tallix::ValidZoom(bad), 100) << bad;
}

TEST(Zoom, MultipliesTheResolution) {
    const struct {
        int dpi, zoom, zoomed;
    } cases[] = {{96, 100, 96},   {96, 125, 120},  {96, 150, 144},  {96, 200, 192},
                 {144, 100, 144}, {144, 125, 180}, {144, 150, 216}, {144, 200, 288}};
    for (const auto& c : cases) EXPECT_EQ(tallix::ZoomedDpi(c.dpi, c.zoom), c.zoomed);
}

TEST(Contrast, RatiosOfKnownPairs) {
    const struct {
        Rgb a, b;
        double ratio;
    } cases[] = {
        {{0, 0, 0}, {255, 255, 255}, 21.0},
        {{255, 255, 255}, {0, 0, 0}, 21.0}, // symmetric
        {{128, 128, 128}, {128, 128, 128}, 1.0},
        {{118, 118, 118}, {255, 255, 255}, 4.54}, // the lightest grey that passes on white
        {{255, 255, 0}, {0, 0, 0}, 19.56},
        {{0, 0, 255}, {255, 255, 255}, 8.59},
    };
    for (const auto& c : cases) EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.01);
}

TEST(Contrast, DarkIsToldByTheWindowColoursLightness) {
    EXPECT_TRUE(tallix::IsDarkColour({0, 0, 0}));
    EXPECT_TRUE(tallix::IsDarkColour({45, 45, 48}));
    EXPECT_TRUE(tallix::IsDarkColour({20, 40, 200})); // lightness 110
    EXPECT_FALSE(tallix::IsDarkColour({240, 240, 240}));
    EXPECT_FALSE(tallix::IsDarkColour({239, 235, 231}));
    EXPECT_FALSE(tallix::IsDarkColour({128, 128, 128}));
}

TEST(Contrast, AFaintDimmedColourIsDarkenedJustEnough) {
    const struct {
        Rgb dimmed, text, background;
    } cases[] = {
        {{190, 190, 190}, {0, 0, 0}, {239, 239, 239}},    // a light desktop's faint grey
        {{100, 100, 100}, {255, 255, 255}, {50, 50, 50}}, // a dark desktop's
        {{128, 128, 128}, {0, 0, 0}, {255, 255, 255}},    // already enough: kept
        {{239, 239, 239}, {0, 0, 0}, {239, 239, 239}},    // invisible
    };
    for (const auto& c : cases) {
        const Rgb got = tallix::ReadableDimmed(c.dimmed, c.text, c.background, 3.0);
        EXPECT_GE(ContrastRatio(got, c.background), 3.0);
        // Still dimmer than the text itself.
        EXPECT_LT(ContrastRatio(got, c.background), ContrastRatio(c.text, c.background));
        if (ContrastRatio(c.dimmed, c.background) >= 3.0) {
            EXPECT_EQ(got, c.dimmed);
        }
    }
}

TEST(Contrast, MinimumsPerThemeAndKind) {
    for (Theme t : {Theme::System, Theme::Light, Theme::Dark}) {
        EXPECT_EQ(tallix::MinimumContrast(t, TextKind::Normal), 4.5);
        EXPECT_EQ(tallix::MinimumContrast(t, TextKind::Dimmed), 3.0);
    }
    EXPECT_EQ(tallix::MinimumContrast(Theme::HighContrast, TextKind::Normal), 7.0);
}

// Every pair of text and background a theme of the program's own puts on
// the screen reads at the contrast its kind needs.
TEST(Palettes, EveryTextReadsOnItsBackground) {
    EXPECT_FALSE(tallix::ThemePalette(Theme::System).has_value());
    for (Theme t : {Theme::Light, Theme::Dark, Theme::HighContrast}) {
        const auto p = tallix::ThemePalette(t);
        ASSERT_TRUE(p.has_value());
        const double normal = tallix::MinimumContrast(t, TextKind::Normal);
        const double dimmed = tallix::MinimumContrast(t, TextKind::Dimmed);
        const struct {
            const char* what;
            Rgb fg, bg;
            double need;
        } pairs[] = {
            {"window text", p->windowText, p->window, normal},
            {"display text", p->text, p->base, normal},
            {"key caption", p->buttonText, p->button, normal},
            {"highlighted", p->highlightedText, p->highlight, normal},
            {"tooltip", p->toolTipText, p->toolTipBase, normal},
            {"error line", p->error, p->base, normal},
            {"error line, desktop's way", tallix::ErrorText(Theme::System, p->text, p->base),
             p->base, tallix::MinimumContrast(Theme::System, TextKind::Normal)},
            {"lit Shift label", p->accent, p->window, normal},
            {"Shift key down", p->accent, p->button, normal},
            {"dimmed caption on window", p->dimmed, p->window, dimmed},
            {"dimmed caption on key", p->dimmed, p->button, dimmed},
            {"focus outline", p->focus, p->button, dimmed},
        };
        for (const auto& c : pairs)
            EXPECT_GE(ContrastRatio(c.fg, c.bg), c.need) << tallix::ThemeName(t) << ": " << c.what;
        EXPECT_EQ(tallix::IsDarkColour(p->window), p->darkShades) << tallix::ThemeName(t);
    }
    // High Contrast: black background, white text, yellow second functions
    // and a focus outline thicker than a hairline.
    const auto hc = *tallix::ThemePalette(Theme::HighContrast);
    EXPECT_EQ(hc.window, (Rgb{0, 0, 0}));
    EXPECT_EQ(hc.windowText, (Rgb{255, 255, 255}));
    EXPECT_EQ(hc.accent, (Rgb{255, 255, 0}));
    EXPECT_GE(hc.focusWidth, 2);
    EXPECT_GE(ContrastRatio(hc.dimmed, hc.window), 7.0) << "no faint grey in High Contrast";
}

} // namespace
