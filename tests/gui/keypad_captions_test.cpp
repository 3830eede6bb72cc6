// The keypad's captions: symbols centred on their keys, a legible minus,
// the decimal point raised, and a superscript x where the caption means one.
#include <QFontMetrics>
#include <QLabel>

#include "gui/widgets/keypad.h"
#include "gui_fixture.h"

namespace tallix::gui::test {
namespace {

TEST(GlyphPlacement, InkIsCentredInTheKey) {
    struct Case {
        QRect glyph; // relative to the baseline origin
        QRect key;
        QPoint origin;
    };
    const Case cases[] = {
        {QRect(1, -8, 6, 6), QRect(0, 0, 46, 22), QPoint(19, 16)},
        {QRect(0, -1, 8, 2), QRect(0, 0, 46, 22), QPoint(19, 11)},
        {QRect(2, -12, 9, 12), QRect(152, 354, 46, 22), QPoint(168, 371)},
    };
    for (const Case& c : cases) {
        const QPoint o = CentredGlyphOrigin(c.glyph, c.key);
        EXPECT_EQ(o, c.origin);
        const QRect ink = c.glyph.translated(o);
        EXPECT_LE(std::abs(ink.center().x() - c.key.center().x()), 1);
        EXPECT_LE(std::abs(ink.center().y() - c.key.center().y()), 1);
    }
}

class KeyCaptions : public WindowTest {};

TEST_F(KeyCaptions, SymbolsAndSuperscripts) {
    EXPECT_EQ(Form().KeyButton(Key::KMinus)->text(), QString(QChar(0x2212)));
    EXPECT_EQ(Form().KeyButton(Key::KDot)->text(), QString(QChar(0x00b7)));
    EXPECT_EQ(Form().KeyButton(Key::KYToX)->text(), QString("&y") + QChar(0x02e3));
    EXPECT_EQ(Form().ShiftLabel(Key::KLog)->text(), QString("10") + QChar(0x02e3));
    EXPECT_EQ(Form().ShiftLabel(Key::KLn)->text(), QString("e") + QChar(0x02e3));

    // The minus is as wide as the plus, not a hyphen.
    QPushButton* minus = Form().KeyButton(Key::KMinus);
    QPushButton* plus = Form().KeyButton(Key::KPlus);
    const int minusWidth = GlyphBox(minus->fontMetrics(), minus->text()).width();
    const int plusWidth = GlyphBox(plus->fontMetrics(), plus->text()).width();
    EXPECT_GE(minusWidth * 10, plusWidth * 8) << minusWidth << " vs " << plusWidth;

    // Every symbol's ink is centred on its key, the raised dot included.
    for (Key k : {Key::KPlus, Key::KMinus, Key::KMult, Key::KDiv, Key::KDot}) {
        QPushButton* b = Form().KeyButton(k);
        const QRect box = GlyphBox(b->fontMetrics(), b->text());
        const QRect ink = box.translated(CentredGlyphOrigin(box, b->rect()));
        EXPECT_LE(std::abs(ink.center().y() - b->rect().center().y()), 1)
            << b->objectName().toStdString();
        EXPECT_LE(std::abs(ink.center().x() - b->rect().center().x()), 1)
            << b->objectName().toStdString();
    }
}

} // namespace
} // namespace tallix::gui::test
