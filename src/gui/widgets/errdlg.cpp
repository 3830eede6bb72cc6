#include "gui/widgets/errdlg.h"

#include <QLabel>
#include <QPushButton>
#include <QWindow>

#include "gui/layout/geometry.h"
#include "gui/widgets/framehints.h"
#include "gui/widgets/icon.h"

namespace tallix::gui {

TErrDlg::TErrDlg(QWidget* owner, int dpi)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      owner_(owner) {
    setObjectName("ErrDlg");
    setWindowTitle("Tallix Error");
    setModal(true);
    image_ = new QLabel(this);
    image_->setObjectName("Image1");

    ErrL = new QLabel(this);
    ErrL->setObjectName("ErrL");
    ErrL->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ErrL->setWordWrap(true);
    ErrL->setTextFormat(Qt::PlainText);

    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    OKBtn->setAutoDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    Layout(dpi);
}

void TErrDlg::Layout(int dpi) {
    auto s = [dpi](int v) { return Scale(v, dpi); };
    image_->setGeometry(s(8), s(8), s(32), s(32));
    if (isVisible()) ShowImage();
    ErrL->setGeometry(s(52), s(12), s(121), s(29));
    OKBtn->setGeometry(s(53), s(52), s(75), s(25));
    setFixedSize(s(181), s(82));
}

QRect TErrDlg::Placement(const QRect& stackDisplay, const QRect& ownerFrame, const QRect& screen,
                         bool ownerOnTop, const QSize& dialogFrameSize) {
    if (!ownerOnTop) return stackDisplay;
    const int w = dialogFrameSize.width();
    int left;
    if (ownerFrame.x() + ownerFrame.width() + w + 1 <= screen.x() + screen.width())
        left = ownerFrame.x() + ownerFrame.width() + 1;
    else if (ownerFrame.x() - w - 1 >= screen.x())
        left = ownerFrame.x() - w - 1;
    else
        left = screen.x();
    return QRect(QPoint(left, stackDisplay.y()), dialogFrameSize);
}

QMargins TErrDlg::FrameMargins() const {
    // The window manager's decorations are known once a window has been
    // shown; before the dialog's first showing, its owner's stand in.
    auto margins = [](const QWidget* w) {
        const QRect f = w->frameGeometry(), g = w->geometry();
        return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                        f.bottom() - g.bottom());
    };
    QMargins m = margins(this);
    if (m.isNull() && owner_) m = margins(owner_);
    return m;
}

void TErrDlg::ShowImage() {
    if (image_->pixmap().size() != image_->size()) image_->setPixmap(AppPixmap(image_->width()));
}

void TErrDlg::showEvent(QShowEvent* event) {
    // The picture is read at the first showing: the dialog is made with the
    // window, and most runs never show it.
    ShowImage();
    // Before the window manager maps the dialog: no resize function.
    AskFixedFrameFunctions(this);
    QDialog::showEvent(event);
}

void TErrDlg::ShowMessage(const QString& message, const QRect& stackDisplay,
                          const QRect& ownerFrame, const QRect& screen, bool ownerOnTop) {
    const QMargins m = FrameMargins();
    const QSize frameSize = size().grownBy(m);
    const QRect frame = Placement(stackDisplay, ownerFrame, screen, ownerOnTop, frameSize);
    setFixedSize(frame.size().shrunkBy(m));
    move(frame.topLeft());
    // The reason goes on the label's second line.
    QString text = message;
    text.replace("\r\n", "\n");
    ErrL->setText(text);
    OKBtn->setFocus();
    exec();
}

} // namespace tallix::gui
