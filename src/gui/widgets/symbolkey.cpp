#include "gui/widgets/symbolkey.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <cmath>

namespace tallix::gui {

QPainterPath TSymbolKey::Glyph() const {
    QPainterPath path;
    path.addText(0, 0, font(), text());
    // The ink's centre on the key's centre, in whole pixels, so that
    // horizontal and vertical strokes stay sharp.
    const QRectF ink = path.boundingRect();
    const qreal dx = std::round(width() / 2.0 - ink.center().x());
    const qreal dy = std::round(height() / 2.0 - ink.center().y());
    path.translate(dx, dy);
    if (isDown() || isChecked()) {
        // A pressed key shows its caption shifted, as the style does.
        path.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, nullptr, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, nullptr, this));
    }
    return path;
}

QRectF TSymbolKey::InkRect() const { return Glyph().boundingRect(); }

void TSymbolKey::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    const QPalette::ColorGroup group = !isEnabled()       ? QPalette::Disabled
                                       : isActiveWindow() ? QPalette::Active
                                                          : QPalette::Inactive;
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillPath(Glyph(), palette().color(group, QPalette::ButtonText));
}

} // namespace tallix::gui
