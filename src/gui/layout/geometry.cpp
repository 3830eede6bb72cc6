#include "gui/layout/geometry.h"

namespace tallix::gui {

QSize FullClientSize(int dpi) {
    if (dpi == 120) return {254, 474};
    return {Scale(206, dpi), Scale(385, dpi)};
}

int KeyboardHiddenHeight(int dpi) { return dpi == 120 ? 166 : Scale(134, dpi); }

int NumbersHiddenHeight(int dpi) { return dpi == 120 ? 321 : Scale(257, dpi); }

} // namespace tallix::gui
