// The window's tray icon: to the tray and back, the icon's popup menu, and
// starting in the tray.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPolygon>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>

#include "gui/layout/geometry.h"
#include "gui/mainform/mainform.h"
#include "gui/widgets/icon.h"
#include "gui/widgets/mainmenu.h"
#include "gui/widgets/tapewindow.h"
#include "gui/widgets/trayicon.h"

namespace tallix::gui {

using tallix::Cmd;

namespace {

// How often the notification area is looked for, in milliseconds.
constexpr int kTrayPollMs = 2000;

// The strip button's picture: a small triangle pointing down, in the
// colour of the window's text (black on the usual light window).
QIcon DownTriangle(const QColor& colour) {
    QPixmap pixmap(9, 5);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(9, 0), QPoint(4, 5)}));
    return QIcon(pixmap);
}

} // namespace

void TMainForm::PaintTrayButton() {
    trayIconBtn_->setIcon(DownTriangle(palette().color(QPalette::Active, QPalette::ButtonText)));
}

void TMainForm::BuildTray() {
    taskIcon_ = new TTrayIcon(this);
    taskIcon_->setObjectName("TaskIcon1");
    taskIcon_->SetToolTip("Tallix");
    taskIcon_->OnClick = [this](TTrayIcon*) { TaskIcon1Click(); };
    taskIcon_->SetPopupMenu(PopupMenu1());

    auto* button = new QToolButton(client_);
    button->setObjectName("TrayIconBtn");
    button->setGeometry(Scale(172, dpi_), Scale(3, dpi_), Scale(25, dpi_), Scale(12, dpi_));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(9, 5));
    button->setToolTip("Minimize to tray icon");
    connect(button, &QToolButton::clicked, this, &TMainForm::TrayIcon1Click);
    trayIconBtn_ = button;
    PaintTrayButton();

    trayProbe_ = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    trayAvailable_ = trayProbe_();
    ShowTrayControls();
    // The platform tells of no change: a panel that starts after the
    // program, or restarts, is seen at the next look.
    trayTimer_ = new QTimer(this);
    trayTimer_->setObjectName("TrayTimer");
    trayTimer_->setInterval(kTrayPollMs);
    connect(trayTimer_, &QTimer::timeout, this, &TMainForm::FollowTray);
    trayTimer_->start();
}

void TMainForm::ShowTrayControls() {
    // Where the desktop has no notification area, the window cannot go
    // there: the menu item, its separator and the button are left out.
    for (QAction* a : {CommandAction(Cmd::TrayIcon), menu_->SeparatorBefore(Cmd::TrayIcon)}) {
        a->setVisible(trayAvailable_);
        a->setEnabled(trayAvailable_);
    }
    trayIconBtn_->setVisible(trayAvailable_);
    trayIconBtn_->setEnabled(trayAvailable_);
}

void TMainForm::FollowTray() {
    const bool available = trayProbe_();
    if (available == trayAvailable_) return;
    trayAvailable_ = available;
    ShowTrayControls();
    // A window left in a notification area that is gone could never be
    // reached again.
    if (!available && taskIcon_->Active()) TaskIcon1Click();
}

void TMainForm::SetTrayProbe(std::function<bool()> probe) {
    trayProbe_ = std::move(probe);
    FollowTray();
}

QMenu* TMainForm::PopupMenu1() const { return menu_->Menu(tallix::Menu::Popup); }

void TMainForm::ShowIcons() {
    if (iconsShown_) return;
    iconsShown_ = true;
    // The application's icon is the one every later window (the error
    // dialog, the tape, message boxes) shows too.
    QApplication::setWindowIcon(AppIcon());
    setWindowIcon(AppIcon());
    taskIcon_->SetIcon(AppIcon());
}

void TMainForm::TrayIcon1Click() {
    // The tray never shows an empty icon, even when the program starts there.
    ShowIcons();
    // A hidden window has no task-bar button either; the tape goes along.
    hide();
    if (TapeWindow()) TapeWindow()->hide();
    taskIcon_->SetActive(true);
}

void TMainForm::TaskIcon1Click() {
    show();
    ArrangeLayout();
    taskIcon_->SetActive(false);
    if (TapeShown()) ShowTape(true);
    activateWindow();
    raise();
}

void TMainForm::AboutTallix1Click() {
    TaskIcon1Click();
    About1Click();
}

void TMainForm::ComeForward(bool toTray) {
    if (toTray && trayAvailable_) {
        if (!taskIcon_->Active()) TrayIcon1Click();
        return;
    }
    if (taskIcon_->Active()) {
        TaskIcon1Click();
        return;
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

bool TMainForm::StartInTray(const QStringList& arguments) {
    if (!trayAvailable_ || arguments.size() < 2) return false;
    if (arguments.at(1).toUpper() != "/TRAY") return false;
    TrayIcon1Click();
    return true;
}

} // namespace tallix::gui
