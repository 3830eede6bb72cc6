#include "gui/widgets/keypad.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "core/commands/keylayout.h"
#include "gui/layout/geometry.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/symbolkey.h"

namespace tallix::gui {

using tallix::Key;

TKeypad::TKeypad(QWidget* client, int dpi, char decimalChar,
                 std::span<const tallix::KeyLayout> layout)
    : QObject(client) {
    auto s = [dpi](int v) { return Scale(v, dpi); };
    for (const tallix::KeyLayout& p : layout) {
        // The decimal-point key shows a raised dot for a full stop (centred
        // like the signs), otherwise the separator itself where it stands.
        const bool symbol = p.symbol || (p.key == Key::KDot && decimalChar == '.');
        const QString caption = Q(p.caption);
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
    for (const tallix::KeyLayout& k : layout) {
        const tallix::ShiftLabelLayout& p = k.label;
        if (p.name.empty()) continue;
        auto* l = new QLabel(Q(p.caption), client);
        l->setObjectName(Q(p.name));
        l->setFont(labelFont);
        l->setGeometry(s(p.left), s(p.top), s(p.width), s(tallix::kShiftLabelHeight));
        l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        l->setEnabled(false);
        FitCaption(l, l->text(), 2);
        shiftLabels_[static_cast<int>(k.key)] = l;
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
    // A shifted function without a label of its own still works; it only
    // has nothing to light.
    for (Key k : tallix::ShiftedKeys())
        if (QLabel* l = ShiftLabel(k)) l->setEnabled(tallix::ShiftLabelLit(calc, k));
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
    for (Key k : tallix::TopRowKeys())
        if (QLabel* l = ShiftLabel(k)) l->setVisible(show);
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
