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
    : QObject(client), client_(client), layout_(layout), decimalChar_(decimalChar) {
    for (const tallix::KeyLayout& p : layout) {
        // The decimal-point key shows a raised dot for a full stop (centred
        // like the signs), otherwise the separator itself where it stands.
        const bool symbol = p.symbol || (p.key == Key::KDot && decimalChar == '.');
        QString caption = Q(p.caption);
        if (p.key == Key::KDot)
            caption = decimalChar == '.' ? QString(QChar(0x00b7))
                                         : QString(QChar::fromLatin1(decimalChar));
        QPushButton* b =
            symbol ? new TSymbolKey(caption, client) : new QPushButton(caption, client);
        b->setObjectName(Q(tallix::KeyInfo(p.key).control));
        b->setFlat(true);
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
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
    for (const tallix::KeyLayout& k : layout) {
        const tallix::ShiftLabelLayout& p = k.label;
        if (p.name.empty()) continue;
        auto* l = new QLabel(Q(p.caption), client);
        l->setObjectName(Q(p.name));
        l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        l->setEnabled(false);
        shiftLabels_[static_cast<int>(k.key)] = l;
    }
    Layout(dpi);
}

void TKeypad::Layout(int dpi) {
    auto s = [dpi](int v) { return Scale(v, dpi); };
    for (const tallix::KeyLayout& p : layout_) {
        QPushButton* b = Button(p.key);
        b->setGeometry(s(p.left), s(p.top), s(p.width), s(p.height));
        // Each size starts from the window's font again: a caption fitted
        // at one size must not stay shrunk at the next.
        int points = p.points;
        // The raised dot for a full stop is large; another separator is
        // written in the window's font.
        if (p.key == Key::KDot && decimalChar_ == '.') points = 14;
        QFont f = client_->font();
        if (points != 0) f.setPixelSize(FontPixels(points, dpi));
        b->setFont(f);
        if (p.key != Key::KDot) FitCaption(b, b->text(), 4);
    }
    QFont labelFont = client_->font();
    labelFont.setPixelSize(FontPixels(9, dpi));
    for (const tallix::KeyLayout& k : layout_) {
        const tallix::ShiftLabelLayout& p = k.label;
        QLabel* l = ShiftLabel(k.key);
        if (!l) continue;
        l->setFont(labelFont);
        l->setGeometry(s(p.left), s(p.top), s(p.width), s(tallix::kShiftLabelHeight));
        FitCaption(l, l->text(), 2);
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
    PaintShiftLook();
}

void TKeypad::SetColours(const QColor& dimmed, const QColor& accent) {
    dimmed_ = dimmed;
    accent_ = accent;
    PaintShiftLook();
}

void TKeypad::PaintShiftLook() {
    // With Shift on the second functions read as active and the keys' own
    // captions as greyed, and the reverse with Shift off. The colours come
    // from the palette in force (SetColours); none set yet: the keys' own.
    const bool on = shiftShown_;
    const QPalette base = QApplication::palette(Button(Key::KShift));
    const QColor normal = base.color(QPalette::Active, QPalette::ButtonText);
    const QColor dimmed =
        dimmed_.isValid() ? dimmed_ : base.color(QPalette::Disabled, QPalette::ButtonText);
    const QColor colour = on ? dimmed : normal;
    for (Key k : tallix::ShiftedKeys()) {
        QPushButton* b = Button(k);
        // A screen reader names what the key does now.
        const tallix::KeyDef& def = tallix::KeyInfo(k);
        b->setAccessibleName(Q(on ? def.spokenShifted : def.spoken));
        QPalette p = b->palette();
        p.setColor(QPalette::Active, QPalette::ButtonText, colour);
        p.setColor(QPalette::Inactive, QPalette::ButtonText, colour);
        p.setColor(QPalette::Disabled, QPalette::ButtonText, dimmed);
        b->setPalette(p);
    }
    // The lit Shift labels and the Shift key when it is down take the
    // theme's accent (yellow in High Contrast).
    if (!accent_.isValid()) return;
    for (QLabel* l : shiftLabels_) {
        if (!l) continue;
        QPalette p = l->palette();
        p.setColor(QPalette::Active, QPalette::WindowText, accent_);
        p.setColor(QPalette::Inactive, QPalette::WindowText, accent_);
        p.setColor(QPalette::Disabled, QPalette::WindowText, dimmed);
        l->setPalette(p);
    }
    QPushButton* shift = Button(Key::KShift);
    QPalette p = shift->palette();
    const QColor shiftText = on ? accent_ : normal;
    p.setColor(QPalette::Active, QPalette::ButtonText, shiftText);
    p.setColor(QPalette::Inactive, QPalette::ButtonText, shiftText);
    shift->setPalette(p);
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

void TKeypad::ReleaseDownKey() { ReleaseKey(downKey_); }

void TKeypad::ReleaseKey(QAbstractButton* button) {
    if (button) button->setChecked(false);
    if (downKey_ == button) downKey_ = nullptr;
}

} // namespace tallix::gui
