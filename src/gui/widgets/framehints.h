// What the window manager's frame offers for a window of fixed size.
#pragma once

class QWidget;

namespace tallix::gui {

// The frame functions a fixed-size window asks the window manager for:
// moving and closing, and minimising where the window has that button;
// never resizing or maximising, which the toolkit asks for on its own.
// Written into the window's Motif hints on X11 (call it after every change
// of the window's flags, which rewrites them); elsewhere it does nothing.
// Returns the functions written, or 0 when nothing was written.
unsigned AskFixedFrameFunctions(QWidget* window);

// Sends the question for the name of the hints to the X server ahead of
// the first window's showing, which then need not wait for the answer.
void AskFrameHintsAtom();

} // namespace tallix::gui
