#include "gui/printing/progressdialog.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "gui/layout/geometry.h"
#include "gui/widgets/fonts.h"

namespace tallix::gui {

TQtPrntProgDlg::TQtPrntProgDlg(int dpi)
    : QDialog(nullptr,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("PrntProgDlg");
    setWindowTitle("Print Progress");
    setModal(false);
    setFont(DialogFont(8, dpi));
    auto s = [dpi](int v) { return Scale(v, dpi); };

    Bevel = new QFrame(this);
    Bevel->setObjectName("Bevel");
    Bevel->setFrameShape(QFrame::Box);
    Bevel->setFrameShadow(QFrame::Sunken);
    Bevel->setGeometry(s(4), s(4), s(277), s(77));

    auto label = [&](const char* name, const QString& text, int x, int y) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setTextFormat(Qt::PlainText);
        // Wide enough for any title up to the frame's right edge.
        l->setGeometry(s(x), s(y), s(277 - x), s(16));
        return l;
    };
    lblStatus = label("lblStatus", "", 12, 16);
    lblTitle = label("lblTitle", "", 12, 36);
    lblPageNumDesc = label("lblPageNumDesc", "Page Number:", 12, 56);
    lblPageNumber = label("lblPageNumber", "", 92, 56);

    // Neither resized nor maximised; the caption still moves it.
    setFixedSize(s(284), s(85));
}

void TQtPrntProgDlg::Show() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    show();
}

void TQtPrntProgDlg::SetStatus(const std::string& status) { lblStatus->setText(Q(status)); }
void TQtPrntProgDlg::SetTitle(const std::string& title) { lblTitle->setText(Q(title)); }
void TQtPrntProgDlg::SetPageNumber(const std::string& pageNumber) {
    lblPageNumber->setText(Q(pageNumber));
}

void TQtPrntProgDlg::Repaint() {
    repaint();
    // Keeps the windows painted while the listing goes on; the user's keys
    // and clicks wait until it is done, so no command runs in the middle.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

std::unique_ptr<print::TPrntProgDlg> TQtProgressDialogFactory::CreateProgressDialog() {
    return std::make_unique<TQtPrntProgDlg>(dpi_);
}

} // namespace tallix::gui
