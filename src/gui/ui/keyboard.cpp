// The keyboard side of the window: every keystroke is previewed before the
// focused control sees it and mapped onto the keypad; the calculator's Shift
// state and the keys' pressed look.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "app/mainform.h"

namespace tallix::gui {

using tallix::Key;

bool TMainForm::InThisWindow(QObject* watched) const {
    return watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // No control of the window may claim a key before the menus'
        // shortcuts: the entry line would otherwise take Ctrl+E, Ctrl+H...
        if (!InThisWindow(watched)) return false;
        event->ignore();
        return true;
    case QEvent::KeyPress: {
        if (!InThisWindow(watched)) return false;
        auto* k = static_cast<QKeyEvent*>(event);
        // Alt combinations belong to the menu bar and the keys' mnemonics.
        if (k->key() == Qt::Key_Alt || k->key() == Qt::Key_Meta ||
            (k->modifiers() & (Qt::AltModifier | Qt::MetaModifier)))
            return false;
        FormKeyDown(k->key(), k->modifiers());
        const bool ctrl = k->modifiers() & Qt::ControlModifier;
        for (char32_t ch : k->text().toUcs4()) {
            // With Ctrl held only control characters are typed characters.
            if (ctrl && ch >= 0x20) continue;
            FormKeyPress(ch);
        }
        return true;
    }
    case QEvent::KeyRelease: {
        if (!InThisWindow(watched)) return false;
        auto* k = static_cast<QKeyEvent*>(event);
        FormKeyUp(k->key(), k->isAutoRepeat());
        return k->key() != Qt::Key_Alt && k->key() != Qt::Key_Meta;
    }
    default: return false;
    }
}

bool TMainForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const ScrollBarState& sb = calc_.ScrollBar;
    switch (key) {
    case Qt::Key_Shift: {
        // One press toggles once, whatever the auto-repeat does, and only
        // Shift on its own counts.
        const Qt::KeyboardModifiers others =
            modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier);
        if (!shiftKeyLatch_ && others == Qt::NoModifier &&
            QGuiApplication::mouseButtons() == Qt::NoButton) {
            calc_.PressKey(Key::KShift);
            shiftKeyLatch_ = true;
            RefreshView();
        }
        return true;
    }
    case Qt::Key_Up: ScrollBarScroll(sb.Position - sb.SmallChange); return true;
    case Qt::Key_Down: ScrollBarScroll(sb.Position + sb.SmallChange); return true;
    case Qt::Key_PageUp: ScrollBarScroll(sb.Position - sb.LargeChange); return true;
    case Qt::Key_PageDown: ScrollBarScroll(sb.Position + sb.LargeChange); return true;
    default: return false;
    }
}

void TMainForm::FormKeyPress(char32_t ch) {
    QPointer<TMainForm> self(this);
    const Key key = tallix::KeyForChar(ch, calc_.DecimalChar);
    if (key != Key::None && KeyButton(key)->isEnabled()) KeyClick(key);
    if (!self) return;
    // Every typed character, mapped or not, ends the Shift state.
    calc_.ShiftDown = false;
    RefreshView();
}

void TMainForm::FormKeyUp(int key, bool autoRepeat) {
    if (key == Qt::Key_Shift && !autoRepeat) shiftKeyLatch_ = false;
}

void TMainForm::SetKeyDown(QPushButton* button) {
    // The keypad keys form one group: at most one is shown pressed.
    if (downKey_ && downKey_ != button) downKey_->setChecked(false);
    button->setChecked(true);
    downKey_ = button;
}

void TMainForm::KeyClick(Key key) {
    QPushButton* button = KeyButton(key);
    SetKeyDown(button);
    const bool ran = calc_.PressKey(key);
    RefreshView();
    FocusEntry();
    if (!ran) {
        // A digit the base refuses comes up at once, without a flash.
        button->setChecked(false);
        if (downKey_ == button) downKey_ = nullptr;
        return;
    }
    FlashKey(button);
}

void TMainForm::KShiftClick() {
    calc_.PressKey(Key::KShift);
    RefreshView();
    FocusEntry();
}

void TMainForm::SetShiftState(bool on) {
    for (Key k : tallix::ShiftedKeys())
        shiftLabels_[static_cast<int>(k)]->setEnabled(calc_.ShiftLabelLit(k));
    if (on == shiftShown_) return;
    shiftShown_ = on;
    // With Shift on the second functions read as active and the keys' own
    // captions as greyed, and the reverse with Shift off.
    const QPalette base = QApplication::palette(this);
    const QColor colour = on ? base.color(QPalette::Disabled, QPalette::ButtonText)
                             : base.color(QPalette::Active, QPalette::ButtonText);
    for (Key k : tallix::ShiftedKeys()) {
        QPushButton* b = KeyButton(k);
        QPalette p = b->palette();
        p.setColor(QPalette::Active, QPalette::ButtonText, colour);
        p.setColor(QPalette::Inactive, QPalette::ButtonText, colour);
        b->setPalette(p);
    }
}

void TMainForm::FlashKey(QAbstractButton* sender) {
    QPointer<TMainForm> self(this);
    QPointer<QAbstractButton> button(sender);
    // A key handled during another key's wait finds the timer running and
    // waits for the same expiry; both keys come up together.
    if (!keyTimer_->isActive()) keyTimer_->start();
    while (self && keyTimer_->isActive())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (!self) return;
    if (button) button->setChecked(false);
    if (downKey_ == button) downKey_ = nullptr;
    calc_.ShiftDown = false;
    RefreshView();
}

} // namespace tallix::gui
