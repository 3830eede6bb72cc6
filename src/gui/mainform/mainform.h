// The calculator window: the indicator strip, the stack display, the keypad
// and the menus. It holds the calculator core, hands every key, click and
// menu command to it and shows the core's state afterwards; it keeps no
// numbers of its own.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/calc/announce.h"
#include "core/commands/dispatch.h"
#include "core/persist/settings.h"
#include "core/tape/tape.h"

class QAbstractButton;
class QAction;
class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;

namespace tallix::print {
struct TPrintFont;
}

namespace tallix::gui {

class TAutoSave;
class TDblClickLabel;
class TErrDlg;
class TKeypad;
class TMainMenu;
class TQtProgressDialogFactory;
class TStackDisplay;
class TStackPrinter;
class TTapeSave;
class TTapeWindow;
class TTrayIcon;

class TMainForm : public QMainWindow, public tallix::Shell {
    Q_OBJECT
public:
    // decimalChar: the user's decimal separator. store: where settings and
    // the stack wait between runs (none: start from first-run defaults and
    // keep nothing).
    explicit TMainForm(char decimalChar, persist::SettingsStore* store = nullptr);
    ~TMainForm() override;

    tallix::Calculator& Calc() { return calc_; }
    void AttachErrorDialog(TErrDlg* dialog) { errDlg_ = dialog; }
    TErrDlg* ErrorDialog() const { return errDlg_; }

    // tallix::Shell
    void ShowError(const std::string& message) override;
    // The calculator passed through its door: the autosave hears of it, and
    // the view is drawn again, once for the pass.
    void StateChanged() override;

    // Brings every control in line with the core's state.
    void RefreshView();

    // The key-flash time in milliseconds, limited to 1..1000.
    void SetButtonTime(int ms);
    int ButtonTime() const;

    // ---- the keypad and the keyboard ---------------------------------
    // A keypad key's frame: shown pressed, run by the core with the Shift
    // state it went down with (a click: the Shift button's), flashed.
    void KeyClick(tallix::Key key);
    void KeyClick(tallix::Key key, bool shifted);
    void KShiftClick();
    void FlashKey(QAbstractButton* sender);
    // Keyboard events as the window previews them; FormKeyDown answers
    // whether it handled the key. A typed character runs with the Shift
    // state decided when its key went down.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat = false);
    void FormKeyPress(char32_t ch, bool shifted);

    // ---- settings and stack files ------------------------------------
    // How a failure of the final save is reported: in a warning box when
    // the user closed the window, on standard error when the process is
    // asked to stop or the desktop session ends (nobody may see a box).
    enum class SaveReport { Box, StandardError };
    // Writes the settings and the stack to the store, once: the window's
    // end, whether it is closed or the process is asked to stop. While the
    // window runs, changes are saved a second after they stop (AutoSave).
    void FormDestroy(SaveReport report = SaveReport::StandardError);
    // Closes the window at the end of the desktop session.
    void EndSession();
    TAutoSave* AutoSave() const { return autoSave_; }
    void Open1Click();
    void Save1Click();
    // The steps after the dialogs: read or write one stack file. A failure
    // is shown in a warning box and leaves the stack as it was.
    bool OpenStackFile(const QString& path);
    bool SaveStackFile(const QString& path);
    // Where Open and Save start: the folder of the stack file opened or
    // saved last (kept between runs) while it exists, else the home folder.
    QString DialogFolder() const;

    // ---- printing --------------------------------------------------------
    // Prints the stack listing: enters the entry line, asks for the printer
    // and prints a copy of the stack. An error of the printer is shown in
    // the application's error box.
    void Print1Click();
    // The program's printer and its line printer, made at the first use.
    TStackPrinter& StackPrinter();

    // ---- window commands -----------------------------------------------
    // A menu item: a window command here, any other through the core.
    void MenuCommand(tallix::Cmd cmd);
    void ArrangeLayout();
    void HideKeyboard1Click();
    void HideNumbers1Click();
    void AlwaysOnTop1Click();
    void About1Click();
    void Keys1Click();
    void Exit1Click();
    bool StaysOnTop() const;

    // ---- the tape ------------------------------------------------------
    tape::Tape& Tape() { return tape_; }
    // The tape window, made at the first showing; null before.
    TTapeWindow* TapeWindow() const { return tapeWindow_; }
    TTapeSave* TapeSave() const { return tapeSave_; }
    // Options > Tape: shows or hides the tape window as its item says.
    void Tape1Click();
    void ShowTape(bool shown);
    bool TapeShown() const;
    // Its size as at 100 % (what is saved): the window has it times the zoom.
    QSize TapeSize() const;
    // A line's value pushed, exactly as its stack text was, as a step.
    void PushTapeValue(const QString& value);
    void PrintTape();
    void ClearTape();

    // ---- the tray icon -------------------------------------------------
    // Whether the desktop has a notification area, as last seen: asked at
    // start and then every few seconds, since panels come and go.
    bool TrayAvailable() const { return trayAvailable_; }
    // Asks again: a notification area that appeared brings the Tray Icon
    // item and the strip's button, one that went away takes them and
    // brings the window back from it.
    void FollowTray();
    // Where the answer comes from (the platform's, unless a test sets one).
    void SetTrayProbe(std::function<bool()> probe);
    QTimer* TrayTimer() const { return trayTimer_; }
    // The program's icon on the window, the application and the tray:
    // once the window has first been drawn, or on going to the tray.
    void ShowIcons();
    bool IconsShown() const { return iconsShown_; }
    // To the tray: the window hides and the icon appears.
    void TrayIcon1Click();
    // Back from the tray: the window shows, laid out, and the icon goes.
    void TaskIcon1Click();
    void AboutTallix1Click();
    // Another start of the calculator asked this window to come forward
    // (back from the tray, if there) or to go to the tray.
    void ComeForward(bool toTray);
    // "/TRAY" as the first argument (any case) starts in the tray, where
    // there is one. Returns whether it did.
    bool StartInTray(const QStringList& arguments);
    TTrayIcon* TaskIcon1() const { return taskIcon_; }
    QAbstractButton* TrayIconBtn() const { return trayIconBtn_; }
    QMenu* PopupMenu1() const;

    // ---- the Edit menu's clipboard commands --------------------------
    // Copy: the entry line's selection, or level 1 as the core gives it;
    // Copy Stack: every level; both to the clipboard and, where the
    // system has one, the selection. Paste enters the clipboard's numbers.
    void Copy1Click();
    void CopyStack1Click();
    void Paste1Click();

    // ---- controls, by their names -----------------------------------
    QPushButton* KeyButton(tallix::Key key) const;
    QLabel* ShiftLabel(tallix::Key key) const;
    QLabel* StackLineLabel(int k) const; // Line1..Line6
    QLabel* IndexLabel(int k) const;     // L1..L6
    QLineEdit* Line0() const;
    QScrollBar* ScrollBar() const;
    QFrame* PanelScreen() const;
    QWidget* PanelLines() const;
    TDblClickLabel* BaseL() const { return baseL_; }
    TDblClickLabel* AngleL() const { return angleL_; }
    QAction* Action(const char* name) const;
    QAction* CommandAction(tallix::Cmd cmd) const;
    // The resolution the window is laid out for: the screen's times the
    // zoom. Another window of the program lays itself out for it too and
    // follows layoutDpiChanged.
    int Dpi() const { return dpi_; }
    int ScreenDpi() const { return screenDpi_; }

    // ---- the look: theme, zoom and what screen readers hear -----------
    tallix::Theme ColourTheme() const { return theme_; }
    int Zoom() const { return zoom_; }
    // Applies a theme to the whole program (every window follows it).
    void SetTheme(tallix::Theme theme);
    // Lays the window out at a zoom step, keeping its top-left corner
    // (moved back onto the screen if the larger window would leave it).
    void SetZoom(int percent);
    // The colours the window derives from the palette in force: after a
    // theme change and whenever the desktop's palette changes.
    void FollowPalette();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
Q_SIGNALS:
    // The window was closed: the program ends.
    void closed();
    // The zoom changed: the resolution every window lays itself out for.
    void layoutDpiChanged(int dpi);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // The display's font as it stands on the screen, in points: what the
    // stack listing and the tape are printed in.
    print::TPrintFont ShownPrintFont() const;
    void FormCreate(char decimalChar);
    void LoadSavedState();
    persist::WindowSettings CurrentWindowSettings() const;
    // A window option that is saved changed (position, view options, the
    // dialogs' folder).
    void NoteOptionChange();
    void NoteChange();
    void BuildFileDialogs();
    bool RunFileDialog(QFileDialog* dialog, QString& lastName, QString& chosen);
    void FileWarning(const QString& action, const QString& path, const QString& reason);
    void BuildStrip(QWidget* client);
    void LayoutStrip();
    void PaintTrayButton();
    // Checks the theme's and the zoom step's items.
    void CheckViewChoices();
    // Tells screen readers what the last command changed, if anything.
    void AnnounceChange();
    void BaseLDblClick();
    void AngleLDblClick();
    void ScrollBarScroll(int position);
    void SetClientHeight(int height);
    void FocusEntry();
    // Enters a number still in the entry line, as an undo step, and empties
    // the entry line; false (and the entry line kept) when it is no number.
    bool CommitEntry();
    void PutOnClipboard(const QString& text);
    void EndCommand();
    bool InThisWindow(QObject* watched) const;
    void BuildTray();
    void ShowTrayControls();
    // The tape's file beside the settings, read, and its autosave.
    void SetUpTape();
    TTapeWindow& MakeTapeWindow();
    // Beside the calculator's frame, wholly on the screen; at the zoom.
    void PlaceTape();
    // Places it again once the calculator has its frame, where it was
    // placed before.
    void PlaceTapeOnceFramed();
    void ZoomTape();

    tallix::Calculator calc_;
    persist::SettingsStore* store_ = nullptr;
    bool destroyed_ = false; // the save at the end has run
    bool endingSession_ = false;
    TAutoSave* autoSave_ = nullptr;
    QFileDialog* openDialog_ = nullptr;
    QFileDialog* saveDialog_ = nullptr;
    QString openName_;
    QString saveName_;
    QString fileFolder_; // the folder of the last stack file, or empty
    std::unique_ptr<TQtProgressDialogFactory> printProgress_;
    std::unique_ptr<TStackPrinter> stackPrinter_;
    bool printing_ = false; // a listing is being printed
    TErrDlg* errDlg_ = nullptr;
    int dpi_ = 96;       // the layout's resolution, zoom included
    int screenDpi_ = 96; // the screen's
    tallix::Theme theme_ = tallix::Theme::System;
    int zoom_ = tallix::kDefaultZoom;
    tallix::AnnouncedState announced_; // the state screen readers were last told of
    // The calculator's revision while it showed an error: what the failed
    // command leaves behind is not announced over the error.
    std::optional<std::uint64_t> errorRevision_;
    bool announcedOnce_ = false;
    int wheelZoom_ = 0; // the wheel's turn toward the next zoom step, in eighths of a degree
    int fullHeight_ = 0;
    tallix::ShiftKeyboard shiftKeyboard_;
    std::uint64_t optionRevision_ = 0; // see NoteOptionChange

    QWidget* client_ = nullptr;
    TStackDisplay* display_ = nullptr;
    TKeypad* keypad_ = nullptr;
    TMainMenu* menu_ = nullptr;
    QLabel* funnyLabel_ = nullptr;
    QFrame* bevel_ = nullptr;
    TDblClickLabel* angleL_ = nullptr;
    TDblClickLabel* baseL_ = nullptr;
    QTimer* keyTimer_ = nullptr;
    TTrayIcon* taskIcon_ = nullptr;
    QAbstractButton* trayIconBtn_ = nullptr;
    bool trayAvailable_ = false;
    bool iconsShown_ = false;
    std::function<bool()> trayProbe_;
    QTimer* trayTimer_ = nullptr;

    tape::Tape tape_;
    TTapeWindow* tapeWindow_ = nullptr;
    TTapeSave* tapeSave_ = nullptr;
    QSize tapeSize_{300, 360}; // at 100 %
    bool tapeShownAtStart_ = false;
    bool tapePlacedUnframed_ = false; // see PlaceTapeOnceFramed
};

} // namespace tallix::gui
