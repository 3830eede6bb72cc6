// A keypad key whose caption is one symbol (÷ × − + and the raised decimal
// point): the symbol is drawn with the centre of its ink on the centre of
// the key. A text caption is centred by its line box, which puts operator
// signs and a middle dot visibly below the middle, by how far depends on
// the font.
#pragma once

#include <QPushButton>

namespace tallix::gui {

class TSymbolKey : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

    // Where the symbol's ink lies, in the key's coordinates, as drawn.
    QRectF InkRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPainterPath Glyph() const;
};

} // namespace tallix::gui
