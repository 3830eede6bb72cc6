// The window's side of the tape: its window beside the calculator, its file
// beside the settings, and the commands of its context menu that act on the
// calculator or the printer.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <exception>

#include "core/tape/tapefile.h"
#include "core/tape/tapeprint.h"
#include "gui/mainform/mainform.h"
#include "gui/printing/errorbox.h"
#include "gui/printing/stackprinter.h"
#include "gui/settings/tapesave.h"
#include "gui/widgets/tapewindow.h"
#include "gui/widgets/theme.h"
#include "gui/widgets/trayicon.h"

namespace tallix::gui {

using tallix::Cmd;

void TMainForm::SetUpTape() {
    const std::string location = store_ ? store_->Location() : std::string();
    if (!location.empty()) {
        const QString path = QFileInfo(QString::fromStdString(location))
                                 .dir()
                                 .filePath(QString(tape::kTapeFileName.data()));
        const std::string file = QDir::toNativeSeparators(path).toStdString();
        if (const std::optional<std::string> warning = tape::LoadTapeFile(file, tape_))
            QMessageBox::warning(nullptr, "Tallix", QString::fromStdString(*warning));
        tapeSave_ = new TTapeSave(tape_, file, this);
    }
    // From here on every step the calculator takes is on the tape.
    tape_.Attach(calc_);
    if (tapeSave_) tapeSave_->MarkSaved();
    if (tapeShownAtStart_) {
        CommandAction(Cmd::Tape)->setChecked(true);
        // Shown once the main window is: beside it.
        QMetaObject::invokeMethod(
            this, [this] { ShowTape(CommandAction(Cmd::Tape)->isChecked()); },
            Qt::QueuedConnection);
    }
}

namespace {

// The tape's size is kept as at 100 %: the window takes it at each zoom
// step, and a size saved at one step means the same window at another.
QSize AtZoom(QSize base, int zoom) {
    return QSize(qRound(base.width() * zoom / 100.0), qRound(base.height() * zoom / 100.0));
}
QSize FromZoom(QSize size, int zoom) {
    return QSize(qRound(size.width() * 100.0 / zoom), qRound(size.height() * 100.0 / zoom));
}

// The frame a window manager put around a window, once it has had one.
QMargins FrameOf(const QWidget& w) {
    const QRect frame = w.frameGeometry(), inner = w.geometry();
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                    frame.right() - inner.right(), frame.bottom() - inner.bottom());
}

} // namespace

TTapeWindow& TMainForm::MakeTapeWindow() {
    if (tapeWindow_) return *tapeWindow_;
    tapeWindow_ = new TTapeWindow(tape_, this);
    // The theme's colours and the zoomed font, as every window of the program.
    FollowOwnerLook(tapeWindow_);
    tapeWindow_->SetErrorColour(ErrorTextColour(theme_, QApplication::palette()));
    tapeWindow_->resize(AtZoom(tapeSize_, zoom_));
    connect(tapeWindow_, &TTapeWindow::pushRequested, this, &TMainForm::PushTapeValue);
    connect(tapeWindow_, &TTapeWindow::printRequested, this, &TMainForm::PrintTape);
    connect(tapeWindow_, &TTapeWindow::clearRequested, this, &TMainForm::ClearTape);
    connect(tapeWindow_, &TTapeWindow::resized, this, [this] {
        tapeSize_ = FromZoom(tapeWindow_->size(), zoom_);
        NoteOptionChange();
    });
    connect(tapeWindow_, &TTapeWindow::closed, this, [this] {
        CommandAction(Cmd::Tape)->setChecked(false);
        NoteOptionChange();
    });
    return *tapeWindow_;
}

bool TMainForm::TapeShown() const { return CommandAction(Cmd::Tape)->isChecked(); }

QSize TMainForm::TapeSize() const { return tapeSize_; }

void TMainForm::Tape1Click() { ShowTape(CommandAction(Cmd::Tape)->isChecked()); }

void TMainForm::ShowTape(bool shown) {
    CommandAction(Cmd::Tape)->setChecked(shown);
    NoteOptionChange();
    if (!shown) {
        if (tapeWindow_) tapeWindow_->hide();
        return;
    }
    TTapeWindow& w = MakeTapeWindow();
    // With the calculator in the tray it waits there too, and comes back
    // with it.
    if (taskIcon_->Active()) return;
    // It stays on top when the calculator does.
    w.setWindowFlag(Qt::WindowStaysOnTopHint, StaysOnTop());
    PlaceTape();
    w.show();
}

void TMainForm::PlaceTape() {
    if (!tapeWindow_) return;
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = scr ? scr->availableGeometry() : QRect(0, 0, 1024, 768);
    // Its own frame once it has had one; before, the calculator's, which
    // the same window manager draws.
    const QMargins own = FrameOf(*tapeWindow_);
    tapeWindow_->PlaceBeside(frameGeometry(), area, own.isNull() ? FrameOf(*this) : own);
    // Placed beside the calculator's inner area: its frame comes later.
    tapePlacedUnframed_ = FrameOf(*this).isNull();
}

void TMainForm::PlaceTapeOnceFramed() {
    if (tapePlacedUnframed_ && !FrameOf(*this).isNull() && tapeWindow_ && tapeWindow_->isVisible())
        PlaceTape();
}

void TMainForm::ZoomTape() {
    if (!tapeWindow_) return;
    tapeWindow_->resize(AtZoom(tapeSize_, zoom_));
    if (tapeWindow_->isVisible()) PlaceTape();
}

void TMainForm::PushTapeValue(const QString& value) {
    tape::PushLineValue(calc_, value.toStdString());
}

void TMainForm::ClearTape() {
    tape_.Clear(calc_);
    NoteChange();
}

void TMainForm::PrintTape() {
    if (printing_) return;
    TStackPrinter& printer = StackPrinter();
    QPrintDialog dialog(&printer.Printer(),
                        tapeWindow_ ? static_cast<QWidget*>(tapeWindow_) : this);
    dialog.setObjectName("PrintDialog1");
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) return;
    const print::TPrintFont font = ShownPrintFont();
    std::optional<std::string> failure;
    printing_ = true;
    try {
        tape::PrintTape(printer.LinePrinter(), tape_, calc_.DecimalChar(), font);
    } catch (const std::exception& e) {
        failure = e.what();
    }
    printing_ = false;
    if (failure) ShowDefaultErrorBox(this, *failure);
}

} // namespace tallix::gui
