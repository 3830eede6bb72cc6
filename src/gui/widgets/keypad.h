// The keypad: the flat keys with their captions and places, the Shift
// labels above the keys that carry a second function, and the keys'
// pressed look. Clicks are reported; what a key does is the calculator's.
#pragma once

#include <QColor>
#include <QObject>
#include <array>
#include <span>

#include "core/commands/keylayout.h"
#include "core/commands/registry.h"

class QAbstractButton;
class QLabel;
class QPushButton;
class QWidget;

namespace tallix::gui {

class TKeypad : public QObject {
    Q_OBJECT
public:
    // Builds the keys and labels of `layout` on `client` at the given
    // resolution; the decimal-point key shows the separator.
    TKeypad(QWidget* client, int dpi, char decimalChar,
            std::span<const tallix::KeyLayout> layout = tallix::KeypadLayout());

    QPushButton* Button(tallix::Key key) const { return keys_[static_cast<int>(key)]; }
    // Null for a key without a Shift label.
    QLabel* ShiftLabel(tallix::Key key) const { return shiftLabels_[static_cast<int>(key)]; }

    // Places and sizes every key and label for the given resolution.
    void Layout(int dpi);
    // The colours of greyed captions and of the lit Shift labels and Shift
    // key, from the palette in force; set again when it changes.
    void SetColours(const QColor& dimmed, const QColor& accent);

    // Enabled keys for the base, the Shift button and the Shift labels.
    void Refresh(const tallix::Calculator& calc);
    // The labels of the top key row, which the keyboard-hidden layout hides.
    void ShowTopLabels(bool show);

    // The keys form one group: at most one is shown pressed.
    void SetKeyDown(QPushButton* button);
    void ReleaseKey(QAbstractButton* button);
    // The end of a key's flash: the key shown pressed comes up.
    void ReleaseDownKey();

Q_SIGNALS:
    void keyClicked(tallix::Key key);
    void shiftClicked();

private:
    void SetShiftLook(bool on);
    void PaintShiftLook();

    QWidget* client_;
    std::span<const tallix::KeyLayout> layout_;
    char decimalChar_;
    QColor dimmed_;
    QColor accent_;

    std::array<QPushButton*, static_cast<int>(tallix::Key::None)> keys_{};
    std::array<QLabel*, static_cast<int>(tallix::Key::None)> shiftLabels_{};
    QPushButton* downKey_ = nullptr;
    bool shiftShown_ = true; // forces the first refresh to paint
};

} // namespace tallix::gui
