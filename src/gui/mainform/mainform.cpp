#include "gui/mainform/mainform.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "gui/layout/geometry.h"
#include "gui/printing/progressdialog.h"
#include "gui/printing/stackprinter.h"
#include "gui/settings/autosave.h"
#include "gui/widgets/dblclicklabel.h"
#include "gui/widgets/errdlg.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/framehints.h"
#include "gui/widgets/infoboxes.h"
#include "gui/widgets/keypad.h"
#include "gui/widgets/mainmenu.h"
#include "gui/widgets/stackdisplay.h"
#include "gui/widgets/theme.h"

namespace tallix::gui {

using tallix::Base;
using tallix::Cmd;
using tallix::Key;

namespace {
constexpr int kDefaultButtonTime = 25;
} // namespace

// ---- creation -------------------------------------------------------------

TMainForm::TMainForm(char decimalChar, persist::SettingsStore* store)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
      calc_(*this, decimalChar), store_(store) {
    FormCreate(decimalChar);
}

TMainForm::~TMainForm() {
    if (qApp) qApp->removeEventFilter(this);
}

void TMainForm::FormCreate(char decimalChar) {
    // The window's first showing asks the X server for a name; the question
    // goes out now and its answer waits there until then.
    AskFrameHintsAtom();
    setObjectName("MainForm");
    setWindowTitle("Tallix");
    screenDpi_ = logicalDpiY() > 0 ? logicalDpiY() : 96;
    dpi_ = screenDpi_;
    setFont(DialogFont(8, dpi_));

    client_ = new QWidget(this);
    client_->setObjectName("ClientArea");
    setCentralWidget(client_);
    client_->setFixedSize(FullClientSize(dpi_));
    fullHeight_ = client_->height();

    BuildStrip(client_);
    display_ = new TStackDisplay(client_, dpi_);
    connect(display_, &TStackDisplay::scrolled, this, &TMainForm::ScrollBarScroll);
    keypad_ = new TKeypad(client_, dpi_, decimalChar);
    connect(keypad_, &TKeypad::keyClicked, this, [this](Key key) { KeyClick(key); });
    connect(keypad_, &TKeypad::shiftClicked, this, &TMainForm::KShiftClick);
    menu_ = new TMainMenu(menuBar(), this);
    connect(menu_, &TMainMenu::triggered, this, &TMainForm::MenuCommand);
    connect(menu_, &TMainMenu::aboutToShow, this, [this](tallix::Menu m) {
        if (m == tallix::Menu::Options) // Options1Click
            CommandAction(Cmd::StayOnTop)->setChecked(StaysOnTop());
        else if (m == tallix::Menu::Angle || m == tallix::Menu::Base) // Angle1Click, Base1Click
            RefreshView();
        else if (m == tallix::Menu::Theme || m == tallix::Menu::Zoom)
            CheckViewChoices();
    });

    keyTimer_ = new QTimer(this);
    keyTimer_->setObjectName("KeyTimer");
    keyTimer_->setSingleShot(true);
    keyTimer_->setInterval(kDefaultButtonTime);
    connect(keyTimer_, &QTimer::timeout, keypad_, &TKeypad::ReleaseDownKey);

    BuildTray();

    // Saved settings and the saved stack: after the controls exist and
    // before the keys are set up for the base and the first screen is drawn.
    if (store_) LoadSavedState();
    if (theme_ != tallix::Theme::System) ApplyApplicationTheme(theme_);
    if (zoom_ != tallix::kDefaultZoom) SetZoom(zoom_);
    FollowPalette();
    CheckViewChoices();

    SetUpTape();

    qApp->installEventFilter(this);
    calc_.Apply({}, [](tallix::Calculator::Change& c) { c.ResetEntry(); });
    // The layout of the saved view options is in place before the window
    // is first shown: a change of size between the creation of the native
    // window and its first appearance would make the window system place
    // the inner area, not the frame, at the saved position.
    ArrangeLayout();
}

void TMainForm::BuildStrip(QWidget* client) {
    bevel_ = new QFrame(client);
    bevel_->setObjectName("Bevel1");
    bevel_->setFrameShape(QFrame::HLine);
    bevel_->setFrameShadow(QFrame::Sunken);

    funnyLabel_ = new QLabel("Scientific Expendable", client);
    funnyLabel_->setObjectName("FunnyLabel");

    angleL_ = new TDblClickLabel("RAD", client);
    angleL_->setObjectName("AngleL");
    baseL_ = new TDblClickLabel("DEC", client);
    baseL_->setObjectName("BaseL");
    connect(angleL_, &TDblClickLabel::doubleClicked, this, &TMainForm::AngleLDblClick);
    connect(baseL_, &TDblClickLabel::doubleClicked, this, &TMainForm::BaseLDblClick);
    LayoutStrip();
}

void TMainForm::LayoutStrip() {
    auto s = [this](int v) { return Scale(v, dpi_); };
    bevel_->setGeometry(0, 0, client_->width(), 2);
    funnyLabel_->setFont(SmallFont(dpi_));
    funnyLabel_->setGeometry(s(8), s(4), s(77), s(10));
    FitCaption(funnyLabel_, funnyLabel_->text(), 0);
    for (TDblClickLabel* l : {angleL_, baseL_}) {
        l->setFont(SmallFont(dpi_));
        // Wide enough for the longest caption, "GRAD".
        l->setFixedSize(QFontMetrics(l->font()).horizontalAdvance("GRAD") + 2, s(10));
    }
    angleL_->move(s(108), s(4));
    baseL_->move(s(140), s(4));
    if (trayIconBtn_) trayIconBtn_->setGeometry(s(172), s(3), s(25), s(12));
}

// ---- controls ---------------------------------------------------------------

QPushButton* TMainForm::KeyButton(Key key) const { return keypad_->Button(key); }
QLabel* TMainForm::ShiftLabel(Key key) const { return keypad_->ShiftLabel(key); }
QLabel* TMainForm::StackLineLabel(int k) const { return display_->StackLine(k); }
QLabel* TMainForm::IndexLabel(int k) const { return display_->IndexLabel(k); }
QLineEdit* TMainForm::Line0() const { return display_->Line0(); }
QScrollBar* TMainForm::ScrollBar() const { return display_->ScrollBar(); }
QFrame* TMainForm::PanelScreen() const { return display_; }
QWidget* TMainForm::PanelLines() const { return display_->PanelLines(); }
QAction* TMainForm::Action(const char* name) const { return findChild<QAction*>(name); }
QAction* TMainForm::CommandAction(Cmd cmd) const { return menu_->Action(cmd); }

// ---- the view ---------------------------------------------------------------

void TMainForm::RefreshView() {
    display_->Refresh(calc_);
    keypad_->Refresh(calc_);
    menu_->Refresh(calc_);
    baseL_->setText(tallix::BaseCaption(calc_.CurrentBase()));
    angleL_->setText(tallix::AngleCaption(calc_.AngleMode()));
    baseL_->setAccessibleName(Q(tallix::BaseSpoken(calc_.CurrentBase())));
    angleL_->setAccessibleName(Q(tallix::AngleSpoken(calc_.AngleMode())));
    // A tooltip is set again only when it changes: setting it sends events.
    const QString baseTip =
        Q(tallix::BaseToolTip(calc_.CurrentBase(), calc_.WordSize(), calc_.FixLength()));
    if (baseTip != baseL_->toolTip()) baseL_->setToolTip(baseTip);
    const QString angleTip = Q(tallix::AngleToolTip(calc_.AngleMode()));
    if (angleTip != angleL_->toolTip()) angleL_->setToolTip(angleTip);
    AnnounceChange();
}

void TMainForm::StateChanged() {
    NoteChange();
    // The one redraw of a change: a key, a menu command or a paste changes
    // the calculator in one pass through its door.
    RefreshView();
}

void TMainForm::FocusEntry() { display_->FocusEntry(); }

void TMainForm::ScrollBarScroll(int position) {
    calc_.ScrollBarScroll(position);
    RefreshView();
    FocusEntry();
}

// ---- commands ---------------------------------------------------------------

void TMainForm::MenuCommand(Cmd cmd) {
    switch (cmd) {
    case Cmd::Open: Open1Click(); return;
    case Cmd::Save: Save1Click(); return;
    case Cmd::Print: Print1Click(); return;
    case Cmd::Keys: Keys1Click(); return;
    case Cmd::About: About1Click(); return;
    case Cmd::Exit: Exit1Click(); return;
    case Cmd::StayOnTop: AlwaysOnTop1Click(); return;
    case Cmd::HideKeyboard: HideKeyboard1Click(); return;
    case Cmd::HideNumbers: HideNumbers1Click(); return;
    case Cmd::Tape: Tape1Click(); return;
    case Cmd::TrayIcon: TrayIcon1Click(); return;
    case Cmd::Restore: TaskIcon1Click(); return;
    case Cmd::TrayClose: Exit1Click(); return;
    case Cmd::AboutTallix: AboutTallix1Click(); return;
    case Cmd::Copy: Copy1Click(); return;
    case Cmd::CopyStack: CopyStack1Click(); return;
    case Cmd::Paste: Paste1Click(); return;
    case Cmd::ZoomIn: SetZoom(tallix::ZoomIn(zoom_)); return;
    case Cmd::ZoomOut: SetZoom(tallix::ZoomOut(zoom_)); return;
    default: break;
    }
    if (const auto theme = tallix::ThemeOfCommand(cmd)) {
        SetTheme(*theme);
        return;
    }
    if (const auto zoom = tallix::ZoomOfCommand(cmd)) {
        SetZoom(*zoom);
        return;
    }
    tallix::RunCommand(calc_, cmd);
    FocusEntry();
}

// A double click steps to the next base, or the next angle unit.
void TMainForm::BaseLDblClick() {
    switch (calc_.CurrentBase()) {
    case Base::BIN: MenuCommand(Cmd::Oct); break;
    case Base::OCT: MenuCommand(Cmd::Dec); break;
    case Base::DEC: MenuCommand(Cmd::Hex); break;
    case Base::HEX: MenuCommand(Cmd::Bin); break;
    }
}

void TMainForm::AngleLDblClick() {
    // Through the angle commands, so that the change is an undo step.
    static constexpr Cmd kUnits[] = {Cmd::Cyc, Cmd::Deg, Cmd::Rad, Cmd::Grad};
    MenuCommand(kUnits[(tallix::AngleUnitNumber(calc_.AngleMode()) + 1) % 4]);
}

void TMainForm::ShowError(const std::string& message) {
    // The error is what is heard, not the stack it left.
    errorRevision_ = calc_.Revision();
    display_->Announce(Q(tallix::ErrorAnnouncement(message)));
    // The window shows the state the error left before the dialog opens.
    RefreshView();
    if (!errDlg_) {
        QMessageBox::critical(this, "Tallix Error", Q(message));
        return;
    }
    const QRect panel(display_->mapToGlobal(QPoint(0, 0)), display_->size());
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    errDlg_->ShowMessage(Q(message), panel, frameGeometry(), scr->geometry(), StaysOnTop());
    activateWindow();
    FocusEntry();
}

// ---- window commands -------------------------------------------------------

void TMainForm::SetButtonTime(int ms) { keyTimer_->setInterval(std::clamp(ms, 1, 1000)); }

int TMainForm::ButtonTime() const { return keyTimer_->interval(); }

void TMainForm::SetClientHeight(int height) {
    client_->setFixedHeight(height);
    const int bar = menuBar()->heightForWidth(client_->width());
    const int barHeight = bar > 0 ? bar : menuBar()->sizeHint().height();
    setFixedSize(client_->width(), barHeight + height);
}

void TMainForm::showEvent(QShowEvent* event) {
    // FormShow: every showing sizes the window and arranges it.
    const QSize full = FullClientSize(dpi_);
    client_->setFixedSize(full);
    fullHeight_ = client_->height();
    ArrangeLayout();
    // Every showing, before the window manager maps the window again.
    AskFixedFrameFunctions(this);
    QMainWindow::showEvent(event);
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FocusEntry(); // FormActivate
    // The desktop's palette changed (System follows it) or a theme was set.
    if (event->type() == QEvent::ApplicationPaletteChange) FollowPalette();
    return QMainWindow::event(event);
}

void TMainForm::ArrangeLayout() {
    QAction* hideKeyboard = CommandAction(Cmd::HideKeyboard);
    QAction* hideNumbers = CommandAction(Cmd::HideNumbers);
    if (hideKeyboard->isChecked() && hideNumbers->isChecked()) hideNumbers->setChecked(false);
    const bool keyboard = hideKeyboard->isChecked();
    keypad_->ShowTopLabels(!keyboard);
    int height = fullHeight_;
    if (keyboard)
        height = KeyboardHiddenHeight(dpi_);
    else if (hideNumbers->isChecked())
        height = NumbersHiddenHeight(dpi_);
    SetClientHeight(height);
    NoteOptionChange();
}

void TMainForm::HideKeyboard1Click() {
    // The action has already toggled its own check mark.
    CommandAction(Cmd::HideNumbers)->setChecked(false);
    ArrangeLayout();
}

void TMainForm::HideNumbers1Click() {
    CommandAction(Cmd::HideKeyboard)->setChecked(false);
    ArrangeLayout();
}

bool TMainForm::StaysOnTop() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void TMainForm::AlwaysOnTop1Click() {
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, CommandAction(Cmd::StayOnTop)->isChecked());
    if (QWindow* w = windowHandle()) {
        // Changed in place: re-creating the window would hide and move it.
        overrideWindowFlags(flags);
        w->setFlags(flags);
        // New flags bring the toolkit's frame functions back.
        AskFixedFrameFunctions(this);
    } else {
        setWindowFlags(flags);
    }
    // The tape window stays on top with the calculator.
    if (TapeShown()) ShowTape(true);
    FocusEntry();
    NoteOptionChange();
}

bool TMainForm::CommitEntry() {
    return calc_.Apply({}, [](tallix::Calculator::Change& c) {
        if (!c.CommitEntry()) return false;
        // The entered number is on the stack now; left in the entry line it
        // would be entered a second time by the next Enter.
        c.ResetEntry();
        return true;
    });
}

void TMainForm::About1Click() {
    const bool entered = CommitEntry();
    if (!entered) return;
    ShowAboutBox(this, store_ ? Q(store_->Location()) : QString());
    FocusEntry();
}

void TMainForm::Keys1Click() {
    ShowKeysBox(this);
    FocusEntry();
}

void TMainForm::Exit1Click() { close(); }

} // namespace tallix::gui
