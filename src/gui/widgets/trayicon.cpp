#include "gui/widgets/trayicon.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace tallix::gui {

TTrayIcon::TTrayIcon(QObject* owner) : QObject(owner) {}

QSystemTrayIcon* TTrayIcon::PlatformIcon() {
    // Made when first needed: the platform asks the desktop for its
    // notification area when the icon is made, which the program's start
    // need not wait for.
    if (tray_) return tray_;
    tray_ = new QSystemTrayIcon(this);
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        switch (r) {
        case QSystemTrayIcon::Trigger: LeftButtonUp(); break;
        case QSystemTrayIcon::DoubleClick: LeftButtonDblClick(); break;
        case QSystemTrayIcon::Context: RightButtonUp(QCursor::pos()); break;
        default: break;
        }
    });
    return tray_;
}

TTrayIcon::~TTrayIcon() {
    if (active_) Delete();
}

void TTrayIcon::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (active)
        Add();
    else
        Delete();
}

void TTrayIcon::SetIcon(const QIcon& icon) {
    if (&icon == &icon_) return;
    icon_ = icon;
    Modify();
}

void TTrayIcon::SetToolTip(const QString& tip) {
    toolTip_ = tip.left(kToolTipLimit);
    Modify();
}

void TTrayIcon::Add() {
    ++calls_.add;
    QSystemTrayIcon* tray = PlatformIcon();
    tray->setIcon(icon_);
    tray->setToolTip(toolTip_);
    tray->show();
}

void TTrayIcon::Modify() {
    if (!active_) return;
    ++calls_.modify;
    QSystemTrayIcon* tray = PlatformIcon();
    tray->setIcon(icon_);
    tray->setToolTip(toolTip_);
}

void TTrayIcon::Delete() {
    ++calls_.remove;
    if (tray_) tray_->hide();
}

void TTrayIcon::LeftButtonUp() {
    if (OnClick) OnClick(this);
}

void TTrayIcon::LeftButtonDblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TTrayIcon::RightButtonUp(QPoint cursor) {
    if (popupMenu_) {
        // The menu belongs to the program's main window, which comes to the
        // front first so that a click elsewhere closes the menu.
        if (QWidget* main =
                popupMenu_->parentWidget() ? popupMenu_->parentWidget()->window() : nullptr)
            main->activateWindow();
        QApplication::processEvents();
        popupMenu_->popup(cursor);
    }
    if (OnRightClick) OnRightClick(this, Qt::RightButton, Qt::NoModifier, cursor.x(), cursor.y());
}

} // namespace tallix::gui
