// The calculator window: the indicator strip, the stack display, the keypad
// and the menus. It holds the calculator core, hands every key, click and
// menu command to it and shows the core's state afterwards; it keeps no
// numbers of its own.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <array>
#include <string>

#include "engine/calculator.h"
#include "engine/keys.h"
#include "persist/settingsstore.h"

class QAction;
class QActionGroup;
class QFileDialog;
class QFrame;
class QLineEdit;
class QAbstractButton;
class QPushButton;
class QScrollBar;
class QTimer;

namespace tallix::gui {

class TErrDlg;

// A label that reports double clicks (the base and angle indicators).
class TDblClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

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

    // Brings every control in line with the core's state.
    void RefreshView();

    // The key-flash time in milliseconds, limited to 1..1000.
    void SetButtonTime(int ms);
    int ButtonTime() const;

    // ---- the keypad and the keyboard ---------------------------------
    // A keypad key's frame: shown pressed, run by the core, flashed.
    void KeyClick(tallix::Key key);
    void KShiftClick();
    void SetShiftState(bool on);
    void FlashKey(QAbstractButton* sender);
    // Keyboard events as the window previews them; FormKeyDown answers
    // whether it handled the key.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormKeyPress(char32_t ch);
    void FormKeyUp(int key, bool autoRepeat);
    bool ShiftKeyLatch() const { return shiftKeyLatch_; }

    // ---- settings and stack files ------------------------------------
    // Writes the settings and the stack to the store, once: the window's
    // end, whether it is closed or the process is asked to stop.
    void FormDestroy();
    void Open1Click();
    void Save1Click();
    // The steps after the dialogs: read or write one stack file. A failure
    // is shown in a warning box and leaves the stack as it was.
    bool OpenStackFile(const QString& path);
    bool SaveStackFile(const QString& path);
    QFileDialog* OpenDialog1() const { return openDialog_; }
    QFileDialog* SaveDialog1() const { return saveDialog_; }

    // ---- window commands -----------------------------------------------
    void ArrangeLayout();
    void HideKeyboard1Click();
    void HideNumbers1Click();
    void AlwaysOnTop1Click();
    void About1Click();
    void Keys1Click();
    void Exit1Click();
    bool StaysOnTop() const;

    // ---- controls, by their names -----------------------------------
    QPushButton* KeyButton(tallix::Key key) const { return keys_[static_cast<int>(key)]; }
    QLabel* ShiftLabel(tallix::Key key) const;
    QLabel* StackLineLabel(int k) const { return lines_[k - 1]; }   // Line1..Line6
    QLabel* IndexLabel(int k) const { return indexLabels_[k - 1]; } // L1..L6
    QLineEdit* Line0() const { return line0_; }
    QScrollBar* ScrollBar() const { return scrollBar_; }
    QFrame* PanelScreen() const { return panelScreen_; }
    QWidget* PanelLines() const { return panelLines_; }
    TDblClickLabel* BaseL() const { return baseL_; }
    TDblClickLabel* AngleL() const { return angleL_; }
    QAction* Action(const char* name) const;
    int Dpi() const { return dpi_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(char decimalChar);
    void LoadSavedState();
    void BuildFileDialogs();
    bool RunFileDialog(QFileDialog* dialog, QString& lastName, QString& chosen);
    void FileWarning(const QString& action, const QString& path, const QString& reason);
    void BuildStrip(QWidget* client);
    void BuildStackDisplay(QWidget* client);
    void BuildKeypad(QWidget* client);
    void BuildMenus();
    QAction* AddCommand(QMenu* menu, const char* name, const char* caption, tallix::Cmd cmd,
                        const QKeySequence& shortcut = {});
    void RunCommand(tallix::Cmd cmd);
    void BaseClick(tallix::Cmd cmd);
    void AngleUnitsClick(int mode);
    void BaseLDblClick();
    void AngleLDblClick();
    void ScrollBarScroll(int position);
    void SetClientHeight(int height);
    void FocusEntry();
    void SetKeyDown(QPushButton* button);
    bool InThisWindow(QObject* watched) const;

    tallix::Calculator calc_;
    persist::SettingsStore* store_ = nullptr;
    bool destroyed_ = false; // the save at the end has run
    QFileDialog* openDialog_ = nullptr;
    QFileDialog* saveDialog_ = nullptr;
    QString openName_;
    QString saveName_;
    TErrDlg* errDlg_ = nullptr;
    int dpi_ = 96;
    int fullHeight_ = 0;
    bool shiftKeyLatch_ = false;
    bool shiftShown_ = true; // forces the first SetShiftState to paint

    QWidget* client_ = nullptr;
    QFrame* panelScreen_ = nullptr;
    QWidget* panelLines_ = nullptr;
    QWidget* panelScrollBar_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QLineEdit* line0_ = nullptr;
    std::array<QLabel*, 6> lines_{};
    std::array<QLabel*, 6> indexLabels_{};
    TDblClickLabel* angleL_ = nullptr;
    TDblClickLabel* baseL_ = nullptr;
    std::array<QPushButton*, static_cast<int>(tallix::Key::None)> keys_{};
    std::array<QLabel*, static_cast<int>(tallix::Key::None)> shiftLabels_{};
    QPushButton* downKey_ = nullptr; // the keypad key shown pressed
    QTimer* keyTimer_ = nullptr;
    QActionGroup* angleGroup_ = nullptr;
    QActionGroup* baseGroup_ = nullptr;
    QAction* alwaysOnTop_ = nullptr;
    QAction* hideKeyboard_ = nullptr;
    QAction* hideNumbers_ = nullptr;
    int scrollBarWidth_ = 0;
};

} // namespace tallix::gui
