// The window's look as the core decides it, applied to the application: the
// style and palette of a theme, the colours derived from any palette (the
// dimmed captions, the lit Shift labels), and the zoom of a widget tree.
// Every window of the program (the calculator, its dialogs, the tray menu)
// takes its colours from palette roles, so applying a theme is setting the
// application's palette and style.
#pragma once

#include <QColor>
#include <QPalette>

#include "core/calc/appearance.h"

class QStyle;
class QWidget;

namespace tallix::gui {

// The program's style: flat keys rise under the mouse, tooltips wake after
// half a second, the focus outline has the theme's width. Built on the
// platform's style for System and on Fusion for the program's own themes,
// which some platform styles cannot colour.
QStyle* NewAppStyle(tallix::Theme theme);

// The palette of one of the program's own themes.
QPalette ThemeQPalette(const tallix::ThemeColours& colours);

// Sets the application's style and palette. System gives the desktop's
// palette back, which the application then follows as the desktop changes.
void ApplyApplicationTheme(tallix::Theme theme);

// Makes a window of the program (a dialog, a menu, another tool window)
// take the font and the palette of the window that owns it, and keep
// taking them: the owner's zoomed font and derived colours reach it.
void FollowOwnerLook(QWidget* window);

// Under System: a desktop palette that turned dark is shown through Fusion
// where the platform's style cannot show it.
void FollowDesktopPalette();

// Colours derived from a palette, for System as for the own themes: the
// greyed caption of a function that is not active (readable at 3:1), and
// the colour of lit Shift labels and the Shift key when it is down.
QColor DimmedCaption(const QPalette& palette);
QColor AccentColour(tallix::Theme theme, const QPalette& palette);
// The text colour of an error line on the palette's base colour.
QColor ErrorTextColour(tallix::Theme theme, const QPalette& palette);
// Whether a palette is a dark one, by its window colour's lightness.
bool IsDarkPalette(const QPalette& palette);

tallix::Rgb ToRgb(const QColor& c);
QColor ToQColor(tallix::Rgb c);

} // namespace tallix::gui
