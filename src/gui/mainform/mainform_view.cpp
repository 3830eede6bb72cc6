// The window's look: its theme, its zoom, and what screen readers are told
// after a command. The decisions are the core's; here they are applied.
#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QWheelEvent>

#include "gui/layout/geometry.h"
#include "gui/mainform/mainform.h"
#include "gui/widgets/errdlg.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/keypad.h"
#include "gui/widgets/mainmenu.h"
#include "gui/widgets/stackdisplay.h"
#include "gui/widgets/tapewindow.h"
#include "gui/widgets/theme.h"

namespace tallix::gui {

using tallix::Cmd;

void TMainForm::SetTheme(tallix::Theme theme) {
    theme_ = theme;
    ApplyApplicationTheme(theme);
    // The application's palette change reaches the window as an event;
    // the derived colours are set now, so that they are right at once.
    FollowPalette();
    CheckViewChoices();
    NoteOptionChange();
    FocusEntry();
}

void TMainForm::FollowPalette() {
    if (theme_ == tallix::Theme::System) FollowDesktopPalette();
    const QPalette app = QApplication::palette();
    const QColor dimmed = DimmedCaption(app);
    // Only the greyed text is the window's own: every other role comes
    // from the application's palette and follows it.
    QPalette own;
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        own.setColor(QPalette::Disabled, role, dimmed);
    setPalette(own);
    keypad_->SetColours(dimmed, AccentColour(theme_, app));
    if (tapeWindow_) tapeWindow_->SetErrorColour(ErrorTextColour(theme_, app));
    PaintTrayButton();
}

void TMainForm::SetZoom(int percent) {
    zoom_ = tallix::ValidZoom(percent);
    const int dpi = tallix::ZoomedDpi(screenDpi_, zoom_);
    CheckViewChoices();
    if (dpi == dpi_) return;
    dpi_ = dpi;
    const QPoint corner = pos();
    setFont(DialogFont(8, dpi_));
    client_->setFixedSize(FullClientSize(dpi_));
    fullHeight_ = client_->height();
    LayoutStrip();
    display_->Layout(dpi_);
    keypad_->Layout(dpi_);
    if (errDlg_) {
        errDlg_->setFont(font());
        errDlg_->Layout(dpi_);
    }
    ArrangeLayout();
    RefreshView();
    // The top-left corner stays, unless the larger window would leave the
    // screen: then it moves back just enough.
    if (isVisible()) {
        QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
        const QRect room = scr ? scr->availableGeometry() : QRect();
        const QRect frame = frameGeometry();
        QPoint to = corner;
        if (room.isValid()) {
            const QPoint offset = frame.topLeft() - pos();
            const int right = corner.x() + offset.x() + frame.width();
            const int bottom = corner.y() + offset.y() + frame.height();
            if (right > room.right() + 1) to.rx() -= right - (room.right() + 1);
            if (bottom > room.bottom() + 1) to.ry() -= bottom - (room.bottom() + 1);
            to.rx() = std::max(to.x(), room.left() - offset.x());
            to.ry() = std::max(to.y(), room.top() - offset.y());
        }
        move(to);
    }
    // The tape grows with the calculator and keeps beside it.
    ZoomTape();
    NoteOptionChange();
    Q_EMIT layoutDpiChanged(dpi_);
}

void TMainForm::CheckViewChoices() {
    CommandAction(tallix::ThemeCommand(theme_))->setChecked(true);
    CommandAction(tallix::ZoomCommand(zoom_))->setChecked(true);
    CommandAction(Cmd::ZoomIn)->setEnabled(zoom_ < tallix::kZoomSteps.back());
    CommandAction(Cmd::ZoomOut)->setEnabled(zoom_ > tallix::kZoomSteps.front());
}

void TMainForm::AnnounceChange() {
    const tallix::AnnouncedState now = tallix::AnnouncedStateOf(calc_);
    // The first showing is no change; nor is what a failed command leaves
    // behind, which would be heard instead of its error.
    const bool first = !announcedOnce_;
    const bool afterError = errorRevision_ && calc_.Revision() <= *errorRevision_ + 1;
    const std::string text = tallix::Announcement(announced_, now);
    announced_ = now;
    announcedOnce_ = true;
    if (first || afterError || text.empty()) return;
    display_->Announce(Q(text));
}

} // namespace tallix::gui
