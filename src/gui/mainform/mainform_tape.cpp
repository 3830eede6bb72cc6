// The window's side of the tape: its window beside the calculator, its file
// beside the settings, and the commands of its context menu that act on the
// calculator or the printer.
#include <QAction>
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

TTapeWindow& TMainForm::MakeTapeWindow() {
    if (tapeWindow_) return *tapeWindow_;
    tapeWindow_ = new TTapeWindow(tape_, this);
    // The theme's colours and the zoomed font, as every window of the program.
    FollowOwnerLook(tapeWindow_);
    tapeWindow_->resize(tapeSize_);
    connect(tapeWindow_, &TTapeWindow::pushRequested, this, &TMainForm::PushTapeValue);
    connect(tapeWindow_, &TTapeWindow::printRequested, this, &TMainForm::PrintTape);
    connect(tapeWindow_, &TTapeWindow::clearRequested, this, &TMainForm::ClearTape);
    connect(tapeWindow_, &TTapeWindow::resized, this, [this] { NoteOptionChange(); });
    connect(tapeWindow_, &TTapeWindow::closed, this, [this] {
        CommandAction(Cmd::Tape)->setChecked(false);
        NoteOptionChange();
    });
    return *tapeWindow_;
}

bool TMainForm::TapeShown() const { return CommandAction(Cmd::Tape)->isChecked(); }

QSize TMainForm::TapeSize() const { return tapeWindow_ ? tapeWindow_->size() : tapeSize_; }

void TMainForm::Tape1Click() { ShowTape(CommandAction(Cmd::Tape)->isChecked()); }

void TMainForm::ShowTape(bool shown) {
    CommandAction(Cmd::Tape)->setChecked(shown);
    if (!shown) {
        if (tapeWindow_) {
            tapeSize_ = tapeWindow_->size();
            tapeWindow_->hide();
        }
        NoteOptionChange();
        return;
    }
    TTapeWindow& w = MakeTapeWindow();
    // It stays on top when the calculator does.
    w.setWindowFlag(Qt::WindowStaysOnTopHint, StaysOnTop());
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = scr ? scr->availableGeometry() : QRect(0, 0, 1024, 768);
    w.PlaceBeside(frameGeometry(), area);
    w.show();
    NoteOptionChange();
}

void TMainForm::PushTapeValue(const QString& value) {
    tape::PushLineValue(calc_, value.toStdString());
    RefreshView();
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
