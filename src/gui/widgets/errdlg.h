// The error dialog: one small modal box, reused for every calculator error,
// laid over (or beside) the stack display.
#pragma once

#include <QDialog>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;

namespace tallix::gui {

class TErrDlg : public QDialog {
    Q_OBJECT
public:
    TErrDlg(QWidget* owner, int dpi);
    // Places and sizes its parts for the resolution (the window's zoom).
    void Layout(int dpi);

    // Where the dialog's frame goes. With a stay-on-top owner it stands
    // beside the owner's frame (right if there is room on the screen, else
    // left, else at the screen's left edge) level with the stack display,
    // keeping its size; otherwise it covers the stack display exactly.
    static QRect Placement(const QRect& stackDisplay, const QRect& ownerFrame, const QRect& screen,
                           bool ownerOnTop, const QSize& dialogFrameSize);

    // Places the dialog as Placement says and shows the message modally.
    void ShowMessage(const QString& message, const QRect& stackDisplay, const QRect& ownerFrame,
                     const QRect& screen, bool ownerOnTop);

    QLabel* ErrL = nullptr;
    QPushButton* OKBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QMargins FrameMargins() const;
    // The program's picture at the label's size, read when it is not yet.
    void ShowImage();
    QWidget* owner_;
    QLabel* image_ = nullptr;
};

} // namespace tallix::gui
