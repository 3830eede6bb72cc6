// The keyboard side of the window: every keystroke is previewed before the
// focused control sees it and mapped onto the keypad; the calculator's Shift
// state and the keys' pressed look.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include "gui/mainform/mainform.h"
#include "gui/widgets/keypad.h"

namespace tallix::gui {

using tallix::Key;
using tallix::ScrollKey;
using tallix::ScrollTarget;

bool TMainForm::InThisWindow(QObject* watched) const {
    return watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Expose:
        // The icons once the window has been drawn: the window system can
        // show the window without them, and reading them slows the start.
        if (!iconsShown_ && watched == windowHandle())
            QTimer::singleShot(0, this, &TMainForm::ShowIcons);
        return false;
    case QEvent::ShortcutOverride:
        // No control of the window may claim a key before the menus'
        // shortcuts: the entry line would otherwise take Ctrl+E, Ctrl+H...
        if (!InThisWindow(watched)) return false;
        event->ignore();
        return true;
    case QEvent::KeyPress: {
        // An open menu's keys are the menu's: one it does not use goes on to
        // the menu bar, in this window, and must not reach the keypad.
        if (!InThisWindow(watched) || QApplication::activePopupWidget()) return false;
        auto* k = static_cast<QKeyEvent*>(event);
        // Alt combinations belong to the menu bar and the keys' mnemonics.
        if (k->key() == Qt::Key_Alt || k->key() == Qt::Key_Meta ||
            (k->modifiers() & (Qt::AltModifier | Qt::MetaModifier)))
            return false;
        FormKeyDown(k->key(), k->modifiers(), k->isAutoRepeat());
        const bool ctrl = k->modifiers() & Qt::ControlModifier;
        const bool shiftHeld = k->modifiers() & Qt::ShiftModifier;
        for (char32_t ch : k->text().toUcs4()) {
            // With Ctrl held only control characters are typed characters.
            if (ctrl && ch >= 0x20) continue;
            // The key's Shift is decided now, as it goes down.
            FormKeyPress(ch, shiftKeyboard_.KeyShifted(calc_.ShiftDown(), shiftHeld));
        }
        return true;
    }
    case QEvent::Wheel: {
        // Ctrl and the wheel zoom, anywhere over the window; a step per
        // notch, however finely the wheel reports its turns.
        auto* w = static_cast<QWheelEvent*>(event);
        if (!InThisWindow(watched) || !(w->modifiers() & Qt::ControlModifier)) return false;
        wheelZoom_ += w->angleDelta().y();
        while (wheelZoom_ >= 120) {
            wheelZoom_ -= 120;
            MenuCommand(tallix::WheelCommand(tallix::Wheel::CtrlUp));
        }
        while (wheelZoom_ <= -120) {
            wheelZoom_ += 120;
            MenuCommand(tallix::WheelCommand(tallix::Wheel::CtrlDown));
        }
        return true;
    }
    case QEvent::KeyRelease: {
        if (!InThisWindow(watched) || QApplication::activePopupWidget()) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key != Qt::Key_Alt && key != Qt::Key_Meta;
    }
    default: return false;
    }
}

bool TMainForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat) {
    const ScrollBarState sb = calc_.ScrollBar();
    switch (key) {
    case Qt::Key_Shift: {
        // One press toggles once, whatever the auto-repeat does, and only
        // Shift on its own counts.
        const Qt::KeyboardModifiers others =
            modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier);
        if (shiftKeyboard_.ShiftPressed(autoRepeat, others != Qt::NoModifier,
                                        QGuiApplication::mouseButtons() != Qt::NoButton)) {
            tallix::PressKey(calc_, Key::KShift);
        }
        return true;
    }
    case Qt::Key_Up: ScrollBarScroll(ScrollTarget(sb, ScrollKey::LineUp)); return true;
    case Qt::Key_Down: ScrollBarScroll(ScrollTarget(sb, ScrollKey::LineDown)); return true;
    case Qt::Key_PageUp: ScrollBarScroll(ScrollTarget(sb, ScrollKey::PageUp)); return true;
    case Qt::Key_PageDown: ScrollBarScroll(ScrollTarget(sb, ScrollKey::PageDown)); return true;
    default: return false;
    }
}

void TMainForm::FormKeyPress(char32_t ch, bool shifted) {
    // The key is clicked as the mouse would click it.
    tallix::TypeChar(calc_, ch, shifted, [this, shifted](Key key) { KeyClick(key, shifted); });
}

void TMainForm::KeyClick(Key key) { KeyClick(key, calc_.ShiftDown()); }

void TMainForm::KeyClick(Key key, bool shifted) {
    QPushButton* button = KeyButton(key);
    keypad_->SetKeyDown(button);
    const bool ran = tallix::PressKey(calc_, key, shifted);
    FocusEntry();
    if (!ran) {
        // A digit the base refuses comes up at once, without a flash.
        keypad_->ReleaseKey(button);
        return;
    }
    FlashKey(button);
}

void TMainForm::KShiftClick() {
    tallix::PressKey(calc_, Key::KShift);
    FocusEntry();
}

void TMainForm::FlashKey(QAbstractButton*) {
    // The key stays down until the timer ends, and comes up then (only the
    // look: it ran with the Shift it went down with). A key pressed
    // meanwhile finds the timer running and comes up with it.
    if (!keyTimer_->isActive()) keyTimer_->start();
}

} // namespace tallix::gui
