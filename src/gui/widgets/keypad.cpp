#include "gui/widgets/keypad.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "gui/mainform/geometry.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/symbolkey.h"

namespace tallix::gui {

using tallix::Key;

namespace {

struct KeyPlace {
    Key key;
    const char* caption;
    int left, top, width, height;
    int points;          // 0: the window font
    bool symbol = false; // one sign, drawn centred by its ink
};

// Keypad: function rows, hexadecimal digits, number pad.
constexpr int kCol[] = {8, 40, 72, 104, 136, 168};
constexpr int kNumCol[] = {8, 56, 104, 152};

const KeyPlace kKeyPlaces[] = {
    {Key::KLast, "Last", kCol[0], 144, 30, 25, 0},
    {Key::KLog, "Lo&g", kCol[1], 144, 30, 25, 0},
    {Key::KLn, "&Ln", kCol[2], 144, 30, 25, 0},
    {Key::KMod, "&Mod", kCol[3], 144, 30, 25, 0},
    {Key::KRdc, "&Rdc", kCol[4], 144, 30, 25, 0},
    {Key::KShift, "Shift", kCol[5], 144, 30, 25, 0},
    {Key::KSin, "&Sin", kCol[0], 184, 30, 25, 0},
    {Key::KCos, "C&os", kCol[1], 184, 30, 25, 0},
    {Key::KTan, "&Tan", kCol[2], 184, 30, 25, 0},
    {Key::KSqrt, "S&qrt", kCol[3], 184, 30, 25, 0},
    {Key::KYToX, "&y\u02e3", kCol[4], 184, 30, 25, 0}, // y and a superscript x
    {Key::KSwap, "S&wp", kCol[5], 184, 30, 25, 0},
    {Key::KEnter, "Enter", kCol[0], 224, 62, 25, 0},
    {Key::KPlusMinus, "\u00b1", kCol[2], 224, 30, 25, 12},
    {Key::KEex, "EE&X", kCol[3], 224, 30, 25, 0},
    {Key::KPi, "\u03c0", kCol[4], 224, 30, 25, 11},
    {Key::KBackspace, "\u21d0", kCol[5], 224, 30, 25, 11},
    {Key::KA, "A", kCol[0], 258, 30, 22, 0},
    {Key::KB, "B", kCol[1], 258, 30, 22, 0},
    {Key::KC, "C", kCol[2], 258, 30, 22, 0},
    {Key::KD, "D", kCol[3], 258, 30, 22, 0},
    {Key::KE, "E", kCol[4], 258, 30, 22, 0},
    {Key::KF, "F", kCol[5], 258, 30, 22, 0},
    {Key::K7, "7", kNumCol[0], 282, 46, 22, 0},
    {Key::K8, "8", kNumCol[1], 282, 46, 22, 0},
    {Key::K9, "9", kNumCol[2], 282, 46, 22, 0},
    {Key::KDiv, "\u00f7", kNumCol[3], 282, 46, 22, 12, true},
    {Key::K4, "4", kNumCol[0], 306, 46, 22, 0},
    {Key::K5, "5", kNumCol[1], 306, 46, 22, 0},
    {Key::K6, "6", kNumCol[2], 306, 46, 22, 0},
    {Key::KMult, "\u00d7", kNumCol[3], 306, 46, 22, 12, true},
    {Key::K1, "1", kNumCol[0], 330, 46, 22, 0},
    {Key::K2, "2", kNumCol[1], 330, 46, 22, 0},
    {Key::K3, "3", kNumCol[2], 330, 46, 22, 0},
    // The minus sign, as wide as the plus; a hyphen would be a speck.
    {Key::KMinus, "\u2212", kNumCol[3], 330, 46, 22, 12, true},
    {Key::K0, "0", kNumCol[0], 354, 46, 22, 0},
    {Key::KDot, "", kNumCol[1], 354, 46, 22, 0}, // set from the decimal separator
    {Key::KSpace, "Spc", kNumCol[2], 354, 46, 22, 0},
    {Key::KPlus, "+", kNumCol[3], 354, 46, 22, 12, true},
};

struct LabelPlace {
    Key key;
    const char* name;
    const char* caption;
    int left, top, width;
};

// The shifted-function labels, 14 pixels above their keys.
const LabelPlace kLabelPlaces[] = {
    {Key::KLast, "LClr", "CLR", kCol[0], 130, 30},
    {Key::KLog, "L10x", "10\u02e3", kCol[1], 130, 30}, // superscript x
    {Key::KLn, "Lex", "e\u02e3", kCol[2], 130, 30},
    {Key::KMod, "LFact", "!", kCol[3], 130, 30},
    {Key::KRdc, "Lab", "a/b", kCol[4], 130, 30},
    {Key::KSin, "Lasin", "ASin", kCol[0], 170, 30},
    {Key::KCos, "Lacos", "ACos", kCol[1], 170, 30},
    {Key::KTan, "Latan", "ATan", kCol[2], 170, 30},
    {Key::KSqrt, "Lx2", "x\u00b2", kCol[3], 170, 30},
    {Key::KYToX, "Lxroot", "XRoot", kCol[4], 170, 30},
    {Key::KSwap, "L1x", "1/x", kCol[5], 170, 30},
    {Key::KEnter, "LEdit", "Edit", 10, 210, 62},
    {Key::KPlusMinus, "LAbs", "Abs", kCol[2], 210, 30},
    {Key::KEex, "LFix", "Fix", kCol[3], 210, 30},
    {Key::KPi, "LSigma", "\u03a3", kCol[4], 210, 30},
    {Key::KBackspace, "LDrop", "Drop", kCol[5], 210, 30},
};

// The keys of the top row, whose labels sit above the stack display's
// bottom edge when the keypad is hidden.
constexpr Key kTopRow[] = {Key::KLast, Key::KLog, Key::KLn, Key::KMod, Key::KRdc};

} // namespace

TKeypad::TKeypad(QWidget* client, int dpi, char decimalChar) : QObject(client) {
    auto s = [dpi](int v) { return Scale(v, dpi); };
    for (const KeyPlace& p : kKeyPlaces) {
        // The decimal-point key shows a raised dot for a full stop (centred
        // like the signs), otherwise the separator itself where it stands.
        const bool symbol = p.symbol || (p.key == Key::KDot && decimalChar == '.');
        const QString caption = QString::fromUtf8(p.caption);
        QPushButton* b =
            symbol ? new TSymbolKey(caption, client) : new QPushButton(caption, client);
        b->setObjectName(Q(tallix::KeyInfo(p.key).control));
        b->setGeometry(s(p.left), s(p.top), s(p.width), s(p.height));
        b->setFlat(true);
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        if (p.points != 0) {
            QFont f = client->font();
            f.setPixelSize(FontPixels(p.points, dpi));
            b->setFont(f);
        }
        FitCaption(b, b->text(), 4);
        const tallix::KeyDef& def = tallix::KeyInfo(p.key);
        b->setAccessibleName(Q(def.spoken));
        if (!def.spokenShifted.empty())
            b->setAccessibleDescription(Q(def.spoken) + "; with Shift: " + Q(def.spokenShifted));
        keys_[static_cast<int>(p.key)] = b;
        if (p.key == Key::KShift)
            connect(b, &QPushButton::clicked, this, &TKeypad::shiftClicked);
        else
            connect(b, &QPushButton::clicked, this,
                    [this, key = p.key] { Q_EMIT keyClicked(key); });
    }
    QFont labelFont = client->font();
    labelFont.setPixelSize(FontPixels(9, dpi));
    for (const LabelPlace& p : kLabelPlaces) {
        auto* l = new QLabel(QString::fromUtf8(p.caption), client);
        l->setObjectName(p.name);
        l->setFont(labelFont);
        l->setGeometry(s(p.left), s(p.top), s(p.width), s(13));
        l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        l->setEnabled(false);
        FitCaption(l, l->text(), 2);
        shiftLabels_[static_cast<int>(p.key)] = l;
    }

    // The decimal-point key shows a raised dot for a full stop, otherwise
    // the separator itself.
    QPushButton* kDot = Button(Key::KDot);
    if (decimalChar == '.') {
        kDot->setText(QString(QChar(0x00b7)));
        QFont f = client->font();
        f.setPixelSize(FontPixels(14, dpi));
        kDot->setFont(f);
    } else {
        kDot->setText(QString(QChar::fromLatin1(decimalChar)));
    }
}

void TKeypad::Refresh(const tallix::Calculator& calc) {
    for (const tallix::KeyDef& def : tallix::KeyTable())
        Button(def.key)->setEnabled(tallix::KeyEnabled(calc.CurrentBase(), def.key));
    Button(Key::KShift)->setChecked(calc.ShiftDown());
    for (Key k : tallix::ShiftedKeys()) ShiftLabel(k)->setEnabled(tallix::ShiftLabelLit(calc, k));
    SetShiftLook(calc.ShiftDown());
}

void TKeypad::SetShiftLook(bool on) {
    if (on == shiftShown_) return;
    shiftShown_ = on;
    // With Shift on the second functions read as active and the keys' own
    // captions as greyed, and the reverse with Shift off.
    const QPalette base = QApplication::palette(Button(Key::KShift));
    const QColor colour = on ? base.color(QPalette::Disabled, QPalette::ButtonText)
                             : base.color(QPalette::Active, QPalette::ButtonText);
    for (Key k : tallix::ShiftedKeys()) {
        QPushButton* b = Button(k);
        // A screen reader names what the key does now.
        const tallix::KeyDef& def = tallix::KeyInfo(k);
        b->setAccessibleName(Q(on ? def.spokenShifted : def.spoken));
        QPalette p = b->palette();
        p.setColor(QPalette::Active, QPalette::ButtonText, colour);
        p.setColor(QPalette::Inactive, QPalette::ButtonText, colour);
        b->setPalette(p);
    }
}

void TKeypad::ShowTopLabels(bool show) {
    for (Key k : kTopRow) ShiftLabel(k)->setVisible(show);
}

void TKeypad::SetKeyDown(QPushButton* button) {
    if (downKey_ && downKey_ != button) downKey_->setChecked(false);
    button->setChecked(true);
    downKey_ = button;
}

void TKeypad::ReleaseKey(QAbstractButton* button) {
    if (button) button->setChecked(false);
    if (downKey_ == button) downKey_ = nullptr;
}

} // namespace tallix::gui
