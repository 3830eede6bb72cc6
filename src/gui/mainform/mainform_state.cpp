// The window's side of persistence: settings and the stack loaded at start
// and saved at the end, and the File menu's stack files.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <cstdio>

#include "core/persist/settings.h"
#include "core/persist/stackfile.h"
#include "gui/layout/geometry.h"
#include "gui/mainform/mainform.h"
#include "gui/settings/autosave.h"
#include "gui/settings/tapesave.h"

namespace tallix::gui {

using tallix::Cmd;

void TMainForm::LoadSavedState() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect screen = primary ? primary->geometry() : QRect(0, 0, 1024, 768);
    persist::WindowSettings w;
    const persist::LoadResult result =
        persist::LoadSettings(*store_, calc_, w, {screen.width(), screen.height()});

    // Values read before an early end are in effect; the rest keep their
    // defaults, which the settings object holds.
    std::vector<persist::Rect> screens;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect g = s->geometry();
        screens.push_back({g.left(), g.top(), g.width(), g.height()});
    }
    const QSize size = FullClientSize(dpi_);
    const persist::Rect placed =
        persist::PlaceOnScreens({w.Left, w.Top, size.width(), size.height()}, screens);
    move(placed.left, placed.top);
    if (w.StayOnTop) {
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
        CommandAction(Cmd::StayOnTop)->setChecked(true);
    }
    CommandAction(Cmd::HideKeyboard)->setChecked(w.HideKeyboard);
    CommandAction(Cmd::HideNumbers)->setChecked(w.HideNumbers);
    SetButtonTime(w.ButtonTime);
    fileFolder_ = QString::fromStdString(w.FileFolder);
    theme_ = w.ColourTheme;
    zoom_ = w.Zoom;
    tapeSize_ = QSize(w.TapeWidth, w.TapeHeight);
    tapeShownAtStart_ = w.TapeShown;

    // From now on every change is written a second after it; the saved
    // stack stays in the file meanwhile. A stack the load did not take is
    // left there for the next start.
    autoSave_ = new TAutoSave(
        *store_, calc_, [this] { return persist::CaptureValues(calc_, CurrentWindowSettings()); },
        [this] { return calc_.Revision() + optionRevision_; }, this);
    autoSave_->SetSaveStack(result.stackLoaded);
    // The values as loaded count as saved; what the window puts right
    // from here on (both Hide options set, say) is a change to save.
    autoSave_->MarkSaved();

    if (result.end == persist::LoadResult::End::Warning) {
        // The box comes before the window: it shows the program's icon too.
        ShowIcons();
        QMessageBox::warning(nullptr, "Tallix", QString::fromStdString(result.warning));
    }
}

persist::WindowSettings TMainForm::CurrentWindowSettings() const {
    persist::WindowSettings w;
    w.Top = pos().y();
    w.Left = pos().x();
    w.StayOnTop = StaysOnTop();
    w.HideKeyboard = CommandAction(Cmd::HideKeyboard)->isChecked();
    w.HideNumbers = CommandAction(Cmd::HideNumbers)->isChecked();
    w.ButtonTime = ButtonTime();
    w.FileFolder = fileFolder_.toStdString();
    w.ColourTheme = theme_;
    w.Zoom = zoom_;
    w.TapeShown = TapeShown();
    const QSize tape = TapeSize();
    w.TapeWidth = tape.width();
    w.TapeHeight = tape.height();
    return w;
}

void TMainForm::NoteOptionChange() {
    ++optionRevision_;
    NoteChange();
}

void TMainForm::NoteChange() {
    if (destroyed_) return;
    if (autoSave_) autoSave_->NoteChange();
    if (tapeSave_) tapeSave_->NoteChange();
}

void TMainForm::FormDestroy(SaveReport report) {
    if (destroyed_) return;
    destroyed_ = true;
    if (tapeSave_)
        if (const std::optional<std::string> error = tapeSave_->SaveAtEnd())
            std::fprintf(stderr, "tallix: the tape could not be saved to \"%s\": %s\n",
                         tapeSave_->Path().c_str(), error->c_str());
    if (!autoSave_) return;
    const std::optional<std::string> error = autoSave_->SaveAtEnd();
    if (!error) return;
    const QString where = QString::fromStdString(store_->Location());
    if (report == SaveReport::Box) {
        // Closed by the user, who is still looking and must learn that
        // the next start will not find this stack.
        QMessageBox box(QMessageBox::Warning, "Tallix",
                        QString("Cannot save the settings and the stack to \"%1\":\n%2")
                            .arg(where, QString::fromStdString(*error)),
                        QMessageBox::Ok, this);
        box.setObjectName("SaveWarning");
        box.exec();
        return;
    }
    std::fprintf(stderr, "tallix: the settings could not be saved to \"%s\": %s\n",
                 where.toLocal8Bit().constData(), error->c_str());
}

void TMainForm::EndSession() {
    endingSession_ = true;
    close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormDestroy(endingSession_ ? SaveReport::StandardError : SaveReport::Box);
    QMainWindow::closeEvent(event);
    Q_EMIT closed();
}

void TMainForm::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // The window manager's frame arriving moves the inner area.
    PlaceTapeOnceFramed();
    NoteOptionChange();
}

namespace {

// The name field's completion list is a window of its own. It can outlive
// its dialog: the dialog accepts on Enter while the list is up, and a late
// answer of the folder listing shows it again afterwards. Left over the
// keypad it would take the next key. This keeps it to the dialog's life.
class CompletionListGuard : public QObject {
public:
    explicit CompletionListGuard(QFileDialog* dialog) : QObject(dialog), dialog_(dialog) {
        setObjectName(kName);
    }
    static constexpr const char* kName = "CompletionListGuard";

    // The guard of a dialog, made on first use.
    static CompletionListGuard* Of(QFileDialog* dialog) {
        QObject* found = dialog->findChild<QObject*>(kName, Qt::FindDirectChildrenOnly);
        return found ? static_cast<CompletionListGuard*>(found) : new CompletionListGuard(dialog);
    }

    // Watches the dialog's completion lists (made on first use).
    void Watch() {
        for (QCompleter* c : dialog_->findChildren<QCompleter*>())
            if (QAbstractItemView* list = c->popup()) list->installEventFilter(this);
    }
    // Closes whatever is left of the dialog on the screen.
    void CloseLists() {
        for (QCompleter* c : dialog_->findChildren<QCompleter*>())
            if (QAbstractItemView* list = c->popup()) list->hide();
        for (int i = 0; i < 8 && QApplication::activePopupWidget(); ++i)
            QApplication::activePopupWidget()->close();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !dialog_->isVisible())
            QMetaObject::invokeMethod(watched, "hide", Qt::QueuedConnection);
        return false;
    }

private:
    QFileDialog* dialog_;
};

} // namespace

// The dialogs are made when first needed (they read their own settings,
// which start-up need not wait for) and then kept for the whole run.
void TMainForm::BuildFileDialogs() {
    if (openDialog_) return;
    auto make = [this](const char* name, const char* title, QFileDialog::AcceptMode mode) {
        auto* d = new QFileDialog(this, title);
        d->setObjectName(name);
        // Qt's own dialog everywhere: one object kept for the whole run,
        // which remembers its last name and can be driven by tests.
        d->setOption(QFileDialog::DontUseNativeDialog, true);
        d->setAcceptMode(mode);
        d->setNameFilter("Stack (*.Stk)");
        d->setDefaultSuffix("STK");
        return d;
    };
    openDialog_ = make("OpenDialog1", "Open Stack", QFileDialog::AcceptOpen);
    openDialog_->setFileMode(QFileDialog::ExistingFile);
    saveDialog_ = make("SaveDialog1", "Save Stack", QFileDialog::AcceptSave);
    saveDialog_->setFileMode(QFileDialog::AnyFile);
    saveDialog_->setOption(QFileDialog::DontConfirmOverwrite, true);
}

bool TMainForm::RunFileDialog(QFileDialog* dialog, QString& lastName, QString& chosen) {
    // A number still in the entry line is entered first (and saved with the
    // stack); an entry that is no number shows its error and no dialog.
    const bool entered = CommitEntry();
    if (!entered) return false;
    // Not the folder the program was started from: the dialog would
    // otherwise remember a folder of its own, or take the working folder.
    const QString folder = DialogFolder();
    dialog->setDirectory(folder);
    const QFileInfo last(lastName);
    dialog->selectFile(!lastName.isEmpty() && last.absoluteDir() == QDir(folder)
                           ? last.fileName()
                           : QStringLiteral("[Untitled]"));
    CompletionListGuard* guard = CompletionListGuard::Of(dialog);
    guard->Watch();
    const bool accepted = dialog->exec() == QDialog::Accepted;
    guard->CloseLists();
    // The keys go to the calculator again, not to what the dialog left.
    activateWindow();
    FocusEntry();
    const QStringList files = dialog->selectedFiles();
    if (!accepted || files.isEmpty()) return false;
    chosen = files.first();
    lastName = chosen;
    fileFolder_ = QFileInfo(chosen).absolutePath();
    NoteOptionChange();
    return true;
}

QString TMainForm::DialogFolder() const {
    if (!fileFolder_.isEmpty() && QFileInfo(fileFolder_).isDir()) return fileFolder_;
    return QDir::homePath();
}

void TMainForm::FileWarning(const QString& action, const QString& path, const QString& reason) {
    QMessageBox box(QMessageBox::Warning, "Tallix",
                    QString("Cannot %1 the stack file \"%2\":\n%3").arg(action, path, reason),
                    QMessageBox::Ok, this);
    box.setObjectName("FileWarning");
    box.exec();
}

bool TMainForm::OpenStackFile(const QString& path) {
    // The stack is replaced only by a file read completely, as one undo step.
    persist::FileStatus st;
    tape_.NameNextOpen(QFileInfo(path).fileName().toStdString());
    calc_.Apply(tallix::CommandLabel(Cmd::Open), [&](tallix::Calculator::Change& c) {
        st = persist::LoadStackFile(QFile::encodeName(path).toStdString(), c);
    });
    if (!st) {
        FileWarning("open", path, QString::fromStdString(st.reason));
        return false;
    }
    return true;
}

bool TMainForm::SaveStackFile(const QString& path) {
    // The same writer as batch mode's: a regular file is replaced in one
    // step, a device or a pipe written in place, never replaced.
    const persist::FileStatus st =
        persist::SaveStackFile(QFile::encodeName(path).toStdString(), calc_);
    if (!st) {
        FileWarning("save", path, QString::fromStdString(st.reason));
        return false;
    }
    return true;
}

void TMainForm::Open1Click() {
    BuildFileDialogs();
    QString path;
    if (RunFileDialog(openDialog_, openName_, path)) OpenStackFile(path);
    // The display starts again from level 1 of whatever stack there is now.
    calc_.Apply({}, [](tallix::Calculator::Change& c) { c.ResetEntry(); });
}

void TMainForm::Save1Click() {
    BuildFileDialogs();
    QString path;
    if (RunFileDialog(saveDialog_, saveName_, path)) SaveStackFile(path);
}

} // namespace tallix::gui
