// The tape window: a resizable window beside the calculator listing the
// tape's lines, newest at the bottom. It shows the core's tape and asks the
// window that composes it to push a value, print or clear; copying and
// saving texts it does itself.
#pragma once

#include <QWidget>
#include <vector>

#include "core/tape/tape.h"

class QTableView;
class QMenu;

namespace tallix::gui {

class TTapeDelegate;
class TTapeModel;

class TTapeWindow : public QWidget {
    Q_OBJECT
public:
    TTapeWindow(tape::Tape& tape, QWidget* owner);
    ~TTapeWindow() override;

    QTableView* List() const { return list_; }
    QMenu* ContextMenu() const { return menu_; }

    // The selected rows, in order; the current row when none is selected.
    std::vector<std::size_t> SelectedRows() const;
    // The selected lines as text, for the clipboard.
    QString SelectedText() const;
    void CopySelection();
    // Asks for a file and writes the tape's text, or its script.
    void SaveTapeAs();
    void SaveScript();
    // Writes the text to the file; a failure is shown in a warning box.
    bool WriteFile(const QString& path, const std::string& bytes);

    // Places the window's frame (its margins around the inner area given,
    // none when no frame is known yet) beside the frame `owner`: to its
    // right, or to its left when the screen has no room there, and wholly
    // on the screen.
    void PlaceBeside(const QRect& owner, const QRect& screen, const QMargins& frame);
    // The colour of an error line's text, which the theme chooses.
    void SetErrorColour(const QColor& colour);

Q_SIGNALS:
    // A line's value is to be pushed (double click, Enter, Push value).
    void pushRequested(QString value);
    void printRequested();
    void clearRequested();
    // The window was closed by the user.
    void closed();
    // Its size changed (a saved setting).
    void resized();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitRows();
    void PushCurrent();
    bool AskPath(const QString& title, const QString& filter, const QString& suffix, QString& path);

    tape::Tape& tape_;
    QTableView* list_ = nullptr;
    bool scrollPending_ = false;
    TTapeModel* model_ = nullptr;
    TTapeDelegate* delegate_ = nullptr;
    QMenu* menu_ = nullptr;
};

} // namespace tallix::gui
