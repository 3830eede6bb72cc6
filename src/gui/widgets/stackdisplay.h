// The stack display: six stack lines with their level labels, the scroll
// bar beside them and the entry line below. It shows what the calculator
// says and reports where the user scrolled to.
#pragma once

#include <QFrame>
#include <array>

#include "core/calc/calculator.h"

class QLabel;
class QLineEdit;
class QScrollBar;
class QWheelEvent;

namespace tallix::gui {

class TStackDisplay : public QFrame {
    Q_OBJECT
public:
    // Lays itself out at the given resolution inside `parent`.
    TStackDisplay(QWidget* parent, int dpi);

    // Places and sizes the panels, lines and fonts for the resolution.
    void Layout(int dpi);
    // Tells screen readers a short text ("3.5", "Hexadecimal").
    void Announce(const QString& text);

    // Shows the calculator's lines, labels, scroll bar and entry line.
    void Refresh(const tallix::Calculator& calc);
    // Gives the entry line the focus, with the cursor at its end.
    void FocusEntry();

    QLabel* StackLine(int k) const { return lines_[k - 1]; }        // Line1..Line6
    QLabel* IndexLabel(int k) const { return indexLabels_[k - 1]; } // L1..L6
    QLineEdit* Line0() const { return line0_; }
    QScrollBar* ScrollBar() const { return scrollBar_; }
    QWidget* PanelLines() const { return panelLines_; }

Q_SIGNALS:
    // The user moved the scroll bar to a position in the calculator's units.
    void scrolled(int position);

protected:
    // The wheel scrolls the stack wherever the mouse is over the display.
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StepScrollBar(int action);
    // Sizes the level labels for the widest of them, a margin left of it:
    // the design column while they fit, then a wider column in the same
    // font while the lines keep kMinLineColumns, then a smaller font.
    void FitLabels(const QString& widest);
    static constexpr int kMinLineColumns = 18; // a number's 18 digits
    int labelMargin_ = 1;
    QString fittedLabel_; // the label and font FitLabels last sized the column for
    QFont fittedFont_;
    // Places the label column, the lines and the scroll bar's panel.
    void Arrange(int numbersWidth, int barWidth);
    // How many characters of the monospaced font a stack line has room for.
    std::size_t LineColumns() const;
    // A tooltip still up for a line whose text changed shows the new text,
    // or goes when the line is empty now.
    void FollowToolTip(int k, const QString& tip);

    QWidget* numbers_ = nullptr;
    int designNumbersWidth_ = 0;
    int tipLine_ = -1; // the line whose tooltip was shown last
    bool forwardingWheel_ = false;
    QWidget* panelScrollBar_ = nullptr;
    QWidget* panelLines_ = nullptr;
    QWidget* topLines_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QLineEdit* line0_ = nullptr;
    std::array<QLabel*, 6> lines_{};
    std::array<QLabel*, 6> indexLabels_{};
    int scrollBarWidth_ = 0;
    tallix::ScrollBarState shown_; // what the scroll bar shows now
};

} // namespace tallix::gui
