// The window's themes, zoom steps and announcements: every text readable on
// its background in each theme, the layout at each zoom step against the
// scaled tables, and what screen readers are told after a command.
#include <QAccessible>
#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStyleOptionButton>
#include <QTableView>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>

#include "core/calc/appearance.h"
#include "core/commands/keylayout.h"
#include "gui/layout/geometry.h"
#include "gui/widgets/stackdisplay.h"
#include "gui/widgets/tapemodel.h"
#include "gui/widgets/tapewindow.h"
#include "gui/widgets/theme.h"
#include "gui_fixture.h"

namespace tallix::gui::test {
namespace {

using tallix::Key;
using tallix::Theme;

// Every test leaves the application as it found it: the desktop's theme.
class Appearance : public WindowTest {
protected:
    void TearDown() override { ApplyApplicationTheme(Theme::System); }
};

// ---- contrast ---------------------------------------------------------------

// The colour a widget's text stands on: its own background where it fills
// one (a flat key shows its parent's), else the nearest parent's that does,
// else the window's.
QColor BackgroundOf(QWidget* w) {
    for (QWidget* p = w; p; p = p->parentWidget()) {
        const bool flat = qobject_cast<QPushButton*>(p) && static_cast<QPushButton*>(p)->isFlat();
        if (qobject_cast<QLineEdit*>(p)) return p->palette().color(QPalette::Base);
        if (p->autoFillBackground() && !flat) return p->palette().color(p->backgroundRole());
        if (p->isWindow()) return p->palette().color(QPalette::Window);
    }
    return {};
}

struct Seen {
    int checked = 0;
    int dimmed = 0;
};

// Checks the text of every visible control of a window against its
// background: normal text at the theme's minimum, greyed captions at the
// dimmed one.
Seen CheckContrast(QWidget* window, Theme theme, const QColor& dimmedCaption) {
    Seen seen;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->window() != window) continue;
        QString text;
        QPalette::ColorRole role = w->foregroundRole();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            text = b->text();
            role = QPalette::ButtonText;
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            text = l->text();
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            text = "entry";
            role = QPalette::Text;
            (void)e;
        }
        if (text.isEmpty()) continue;
        const QPalette::ColorGroup group = w->isEnabled() ? QPalette::Active : QPalette::Disabled;
        const QColor fg = w->palette().color(group, role);
        const QColor bg = BackgroundOf(w);
        const bool dimmed = !w->isEnabled() || fg == dimmedCaption;
        const double need = tallix::MinimumContrast(theme, dimmed ? tallix::TextKind::Dimmed
                                                                  : tallix::TextKind::Normal);
        const double ratio = tallix::ContrastRatio(ToRgb(fg), ToRgb(bg));
        EXPECT_GE(ratio, need) << tallix::ThemeName(theme) << ": " << w->objectName().toStdString()
                               << " \"" << text.toStdString() << "\" " << fg.name().toStdString()
                               << " on " << bg.name().toStdString();
        ++seen.checked;
        if (dimmed) ++seen.dimmed;
    }
    return seen;
}

// The tape's lines as drawn: in each row the pixel that stands out most
// from the row's background has the text's colour (an undone line's
// strike-through is one solid line of it). Error lines, undone lines and a
// selected line each read at the contrast their kind needs.
int CheckTapeContrast(TTapeWindow& tape, Theme theme) {
    QTableView* list = tape.List();
    const QImage image = list->viewport()->grab().toImage();
    int checked = 0;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        const QModelIndex index = list->model()->index(row, 0);
        const QRect r = list->visualRect(index);
        const QColor bg = image.pixelColor(r.left() + 1, r.center().y());
        double best = 1;
        QColor ink = bg;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const double ratio =
                    tallix::ContrastRatio(ToRgb(image.pixelColor(x, y)), ToRgb(bg));
                if (ratio > best) best = ratio, ink = image.pixelColor(x, y);
            }
        const bool undone = index.data(TTapeModel::UndoneRole).toBool();
        EXPECT_GE(best, tallix::MinimumContrast(theme, undone ? tallix::TextKind::Dimmed
                                                              : tallix::TextKind::Normal))
            << tallix::ThemeName(theme) << ": tape line \"" << index.data().toString().toStdString()
            << "\" " << ink.name().toStdString() << " on " << bg.name().toStdString();
        ++checked;
    }
    return checked;
}

// In each theme, every text of the window, its error dialog, the tray
// menu and the tape reads on its background: with Shift off and on (greyed
// captions, lit labels) and in hexadecimal (greyed keys).
TEST_F(Appearance, EveryTextReadsOnItsBackgroundInEachTheme) {
    // The tape with an error line, an undone step and a selected line.
    Type("1 0/2 3+");
    Calc().Undo();
    Form().ShowTape(true);
    TTapeWindow& tape = *Form().TapeWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tape));
    tape.List()->selectRow(0);
    for (Theme theme : tallix::kThemes) {
        Form().SetTheme(theme);
        QApplication::processEvents();
        EXPECT_EQ(Form().ColourTheme(), theme);
        EXPECT_TRUE(Form().CommandAction(tallix::ThemeCommand(theme))->isChecked());
        const QColor dimmed = DimmedCaption(QApplication::palette());
        Form().ErrorDialog()->ErrL->setText("\u00f7 Error: \nInfinite Result");
        Seen seen = CheckContrast(&Form(), theme, dimmed);
        EXPECT_GT(seen.checked, 60) << tallix::ThemeName(theme);
        EXPECT_GT(seen.dimmed, 10) << "the Shift labels are greyed";
        Click(Key::KShift);
        seen = CheckContrast(&Form(), theme, dimmed);
        EXPECT_GT(seen.dimmed, 10) << "the keys' own captions are greyed";
        Click(Key::KShift);
        Press(Qt::Key_H, Qt::ControlModifier);
        CheckContrast(&Form(), theme, dimmed);
        Press(Qt::Key_D, Qt::ControlModifier);
        EXPECT_GT(CheckContrast(Form().ErrorDialog(), theme, dimmed).checked, 1);
        EXPECT_GE(CheckTapeContrast(tape, theme), 5);
        // The tray menu's items, on the menu's window colour.
        const QPalette menu = Form().PopupMenu1()->palette();
        EXPECT_GE(tallix::ContrastRatio(ToRgb(menu.color(QPalette::WindowText)),
                                        ToRgb(menu.color(QPalette::Window))),
                  tallix::MinimumContrast(theme, tallix::TextKind::Normal));
        // The own themes' colours are the ones on the screen.
        if (const auto colours = tallix::ThemePalette(theme)) {
            EXPECT_EQ(BackgroundOf(Form().StackLineLabel(1)), ToQColor(colours->base));
            EXPECT_EQ(Form().StackLineLabel(1)->palette().color(QPalette::Text),
                      ToQColor(colours->text));
            EXPECT_EQ(Form().palette().color(QPalette::Window), ToQColor(colours->window));
            EXPECT_EQ(Form().ErrorDialog()->palette().color(QPalette::Window),
                      ToQColor(colours->window));
        }
    }
}

// High Contrast: white on black, yellow Shift labels when lit and a yellow
// Shift key when it is down.
TEST_F(Appearance, HighContrastLightsTheSecondFunctionsInYellow) {
    Form().SetTheme(Theme::HighContrast);
    const QColor yellow(255, 255, 0);
    Click(Key::KShift);
    EXPECT_EQ(Form().ShiftLabel(Key::KSin)->palette().color(QPalette::Active, QPalette::WindowText),
              yellow);
    EXPECT_TRUE(Form().ShiftLabel(Key::KSin)->isEnabled());
    EXPECT_EQ(
        Form().KeyButton(Key::KShift)->palette().color(QPalette::Active, QPalette::ButtonText),
        yellow);
    EXPECT_EQ(BackgroundOf(Form().KeyButton(Key::K7)), QColor(0, 0, 0));
    // A focused button shows a thick yellow outline: a few pixels in from
    // each edge are yellow.
    QPushButton* ok = Form().ErrorDialog()->OKBtn;
    ok->setAttribute(Qt::WA_KeyboardFocusChange); // as after a Tab
    QStyleOptionButton option;
    option.initFrom(ok);
    option.state |= QStyle::State_HasFocus;
    option.text = ok->text();
    QImage image(ok->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        ok->style()->drawControl(QStyle::CE_PushButton, &option, &painter, ok);
    }
    const int mid = image.height() / 2;
    int yellowLeft = 0;
    for (int x = 0; x < 4; ++x) yellowLeft += QColor(image.pixel(x, mid)) == yellow;
    EXPECT_GE(yellowLeft, 2) << "the focus outline is thinner than two pixels";
    EXPECT_EQ(Form().KeyButton(Key::K7)->palette().color(QPalette::ButtonText),
              QColor(255, 255, 255));
}

// System follows the desktop while the program runs: a palette the desktop
// switches to (dark here) reaches the window, and the colours the window
// derives from it (greyed captions, the strip's triangle) follow.
TEST_F(Appearance, SystemFollowsTheDesktopsPaletteLive) {
    ASSERT_EQ(Form().ColourTheme(), Theme::System);
    QPalette dark = ThemeQPalette(*tallix::ThemePalette(Theme::Dark));
    // A desktop's dark palette with a faint grey for disabled text.
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(70, 70, 72));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(70, 70, 72));
    QApplication::setPalette(dark);
    QApplication::processEvents();
    EXPECT_TRUE(IsDarkPalette(Form().palette()));
    const QColor dimmed = DimmedCaption(QApplication::palette());
    EXPECT_GE(tallix::ContrastRatio(ToRgb(dimmed), ToRgb(dark.color(QPalette::Window))), 3.0);
    Click(Key::KShift);
    EXPECT_EQ(Form().KeyButton(Key::KSin)->palette().color(QPalette::Active, QPalette::ButtonText),
              dimmed);
    Click(Key::KShift);
    CheckContrast(&Form(), Theme::System, dimmed);
    const QImage triangle = Form().TrayIconBtn()->icon().pixmap(QSize(9, 5)).toImage();
    EXPECT_EQ(QColor(triangle.pixel(4, 1)).rgb(), dark.color(QPalette::ButtonText).rgb());
    // Back to the desktop's own.
    ApplyApplicationTheme(Theme::System);
    QApplication::processEvents();
    EXPECT_FALSE(IsDarkPalette(Form().palette()));
}

// ---- zoom -------------------------------------------------------------------

// Every key, Shift label and panel where the tables put it, scaled for the
// resolution; the signs' ink in the middle of their keys.
void CheckLayout(TMainForm& form, int dpi) {
    auto s = [dpi](int v) { return Scale(v, dpi); };
    const std::string at = std::to_string(dpi) + " dpi";
    EXPECT_EQ(form.Dpi(), dpi);
    EXPECT_EQ(form.centralWidget()->size(), FullClientSize(dpi)) << at;
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << at << ": the window is resizable";
    for (const tallix::KeyLayout& k : tallix::KeypadLayout()) {
        QPushButton* b = form.KeyButton(k.key);
        EXPECT_EQ(b->geometry(), QRect(s(k.left), s(k.top), s(k.width), s(k.height)))
            << at << " " << b->objectName().toStdString();
        if (k.points != 0 && k.key != Key::KDot) {
            EXPECT_LE(b->font().pixelSize(), FontPixels(k.points, dpi)) << at;
        }
        if (k.label.name.empty()) continue;
        EXPECT_EQ(
            form.ShiftLabel(k.key)->geometry(),
            QRect(s(k.label.left), s(k.label.top), s(k.label.width), s(tallix::kShiftLabelHeight)))
            << at << " " << k.label.name;
    }
    EXPECT_EQ(form.PanelScreen()->geometry(), QRect(s(8), s(16), s(189), s(109))) << at;
    EXPECT_EQ(form.findChild<QWidget*>("FunnyLabel")->geometry(), QRect(s(8), s(4), s(77), s(10)));
    EXPECT_EQ(form.AngleL()->pos(), QPoint(s(108), s(4))) << at;
    EXPECT_EQ(form.BaseL()->pos(), QPoint(s(140), s(4))) << at;
    EXPECT_EQ(form.TrayIconBtn()->geometry(), QRect(s(172), s(3), s(25), s(12))) << at;
    EXPECT_EQ(form.StackLineLabel(1)->height(), s(15)) << at;
    EXPECT_EQ(form.PanelScreen()->font().pixelSize(), FontPixels(9, dpi)) << at;
    EXPECT_EQ(form.font().pixelSize(), FontPixels(8, dpi)) << at;
    EXPECT_EQ(form.ErrorDialog()->size(), QSize(s(181), s(82))) << at;
    EXPECT_EQ(form.ErrorDialog()->font().pixelSize(), FontPixels(8, dpi)) << at;
    for (const char* menu : {"Options1", "Theme1", "PopupMenu1"})
        EXPECT_EQ(form.findChild<QMenu*>(menu)->font().pixelSize(), FontPixels(8, dpi))
            << at << " " << menu;
    for (QWidget* w : form.centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(form.centralWidget()->rect().contains(w->geometry()))
            << at << " " << w->objectName().toStdString();
    // Every caption fits its control at every size.
    for (QWidget* w : form.centralWidget()->findChildren<QWidget*>()) {
        QString text;
        if (auto* b = qobject_cast<QPushButton*>(w))
            text = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w); l && !l->objectName().startsWith("Line"))
            text = l->text();
        text.remove('&');
        if (text.isEmpty()) continue;
        EXPECT_LE(QFontMetrics(w->font()).horizontalAdvance(text), w->width())
            << at << " " << w->objectName().toStdString();
    }
    for (Key k : {Key::KDiv, Key::KMult, Key::KMinus, Key::KPlus, Key::KDot}) {
        QPushButton* key = form.KeyButton(k);
        const QRect ink = InkBox(key);
        ASSERT_FALSE(ink.isEmpty()) << at << " " << key->objectName().toStdString();
        EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, key->width() / 2.0, 1.0)
            << at << " " << key->objectName().toStdString();
        EXPECT_NEAR((ink.top() + ink.bottom() + 1) / 2.0, key->height() / 2.0, 1.0)
            << at << " " << key->objectName().toStdString();
    }
}

// Each zoom step lays the window out for the screen's resolution times the
// step, the view options included, and keeps the window's top-left corner.
void CheckEveryStep(TMainForm& form) {
    const int screenDpi = form.ScreenDpi();
    for (int zoom : tallix::kZoomSteps) {
        form.Action("HideKeyboard1")->setChecked(false);
        form.Action("HideNumbers1")->setChecked(false);
        form.SetZoom(zoom);
        QApplication::processEvents();
        const int dpi = tallix::ZoomedDpi(screenDpi, zoom);
        EXPECT_EQ(form.Zoom(), zoom);
        EXPECT_TRUE(form.CommandAction(tallix::ZoomCommand(zoom))->isChecked());
        CheckLayout(form, dpi);
        form.Action("HideKeyboard1")->trigger();
        EXPECT_EQ(form.centralWidget()->height(), KeyboardHiddenHeight(dpi)) << zoom;
        form.Action("HideNumbers1")->trigger();
        EXPECT_EQ(form.centralWidget()->height(), NumbersHiddenHeight(dpi)) << zoom;
        form.Action("HideNumbers1")->trigger();
        EXPECT_EQ(form.centralWidget()->height(), FullClientSize(dpi).height()) << zoom;
    }
    form.SetZoom(100);
    CheckLayout(form, screenDpi);
}

TEST_F(Appearance, ZoomStepsFollowTheScaledTables) {
    ASSERT_EQ(Form().ScreenDpi(), 96);
    CheckEveryStep(Form());
}

// The same at 144 dpi, in a process of its own.
TEST(ZoomLayout, FollowsTheScaledTablesAt144Dpi) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_FONT_DPI", "144");
    env.insert("QT_ENABLE_HIGHDPI_SCALING", "0");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TALLIX_TEST_ZOOM_DPI", "144");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=ZoomLayoutAt.ThisResolution"});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
}

TEST(ZoomLayoutAt, ThisResolution) {
    const int dpi = qEnvironmentVariableIntValue("TALLIX_TEST_ZOOM_DPI");
    if (dpi == 0) GTEST_SKIP() << "run by ZoomLayout at a chosen resolution";
    ModalCloser closer;
    auto form = CreateMainWindow('.');
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_EQ(form->ScreenDpi(), dpi);
    CheckEveryStep(*form);
}

// The keys and the wheel step through the zoom, stopping at the ends; the
// window keeps its top-left corner while it fits the screen.
TEST_F(Appearance, ZoomKeysAndWheelStepThroughTheSteps) {
    Form().move(10, 10);
    QApplication::processEvents();
    const struct {
        std::function<void()> act;
        int zoom;
    } steps[] = {
        {[this] { Press(Qt::Key_Equal, Qt::ControlModifier); }, 125},
        {[this] { Press(Qt::Key_Plus, Qt::ControlModifier); }, 150},
        {[this] { Press(Qt::Key_Minus, Qt::ControlModifier); }, 125},
        {[this] { Press(Qt::Key_0, Qt::ControlModifier); }, 100},
        {[this] { Press(Qt::Key_Minus, Qt::ControlModifier); }, 100},
        {[this] { Form().Action("Zoom2001")->trigger(); }, 200},
        {[this] { Press(Qt::Key_Equal, Qt::ControlModifier); }, 200},
        {[this] { Form().Action("Zoom1001")->trigger(); }, 100},
    };
    QPoint corner = Form().pos();
    for (const auto& s : steps) {
        s.act();
        QApplication::processEvents();
        EXPECT_EQ(Form().Zoom(), s.zoom);
        EXPECT_EQ(Form().Dpi(), tallix::ZoomedDpi(96, s.zoom));
        // The corner stays where the window fits there; else the window
        // moves back just onto the screen.
        const QRect room = Form().screen()->availableGeometry();
        const QRect frame = Form().frameGeometry();
        const QRect atCorner(corner + (frame.topLeft() - Form().pos()), frame.size());
        if (room.contains(atCorner)) {
            EXPECT_EQ(Form().pos(), corner) << s.zoom;
        } else {
            // On the screen, or at its edge when larger than the screen.
            EXPECT_GE(frame.left(), room.left()) << s.zoom;
            EXPECT_GE(frame.top(), room.top()) << s.zoom;
            EXPECT_TRUE(frame.right() <= room.right() || frame.left() == room.left()) << s.zoom;
            EXPECT_TRUE(frame.bottom() <= room.bottom() || frame.top() == room.top()) << s.zoom;
        }
        corner = Form().pos();
    }
    EXPECT_TRUE(Form().Calc().Stack().empty()) << "a zoom key typed into the calculator";
    EXPECT_EQ(Form().Line0()->text(), "");
    auto wheel = [this](int delta, Qt::KeyboardModifiers mods) {
        QWidget* over = Form().KeyButton(Key::K5);
        QWheelEvent e(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &e);
    };
    wheel(120, Qt::ControlModifier);
    EXPECT_EQ(Form().Zoom(), 125);
    wheel(60, Qt::ControlModifier);
    EXPECT_EQ(Form().Zoom(), 125) << "half a notch";
    wheel(60, Qt::ControlModifier);
    EXPECT_EQ(Form().Zoom(), 150);
    wheel(-240, Qt::ControlModifier);
    EXPECT_EQ(Form().Zoom(), 100);
    wheel(120, Qt::NoModifier);
    EXPECT_EQ(Form().Zoom(), 100) << "the wheel alone does not zoom";
}

// The window's boxes and its error dialog are written in the zoomed font.
TEST_F(Appearance, DialogsTakeTheZoomedFont) {
    Form().SetZoom(200);
    const int pixels = FontPixels(8, tallix::ZoomedDpi(96, 200));
    Form().Action("About1")->trigger();
    Form().Action("Keys1")->trigger();
    Type("1\r0/");
    ASSERT_EQ(closer_.Seen().size(), 3u);
    for (const SeenDialog& d : closer_.Seen())
        EXPECT_EQ(d.fontPixels, pixels) << d.objectName.toStdString();
    EXPECT_EQ(closer_.Seen()[2].objectName, "ErrDlg");
    Form().SetZoom(100);
}

// A larger window that would leave the screen moves back onto it.
TEST_F(Appearance, ALargerWindowMovesBackOntoTheScreen) {
    const QRect room = Form().screen()->availableGeometry();
    Form().SetZoom(150);
    QApplication::processEvents();
    const QSize big = Form().frameGeometry().size();
    Form().SetZoom(100);
    Form().move(room.right() - 100, room.top() + 20);
    QApplication::processEvents();
    Form().SetZoom(150);
    QApplication::processEvents();
    const QRect frame = Form().frameGeometry();
    EXPECT_EQ(frame.size(), big);
    if (big.width() <= room.width()) {
        EXPECT_LE(frame.right(), room.right());
    }
    EXPECT_GE(frame.left(), room.left());
}

// ---- announcements --------------------------------------------------------

// The accessibility events the window sends, as a screen reader hears them.
// Qt hands them on only while a screen reader is connected (its platform
// accessibility is active); the offscreen platform has none, so the events
// are checked in a child process on an X server with the desktop's
// accessibility bus, and the names a screen reader reads here.
struct Heard {
    QObject* object;
    QAccessible::Event type;
    QString name;
};
std::vector<Heard>* g_heard = nullptr;

void Listen(QAccessibleEvent* event) {
    if (!g_heard) return;
    QString name;
    if (QAccessibleInterface* i = event->accessibleInterface()) name = i->text(QAccessible::Name);
    g_heard->push_back({event->object(), event->type(), name});
}

class Announcements : public Appearance {
protected:
    void SetUp() override {
        g_heard = &heard_;
        QAccessible::installUpdateHandler(Listen);
        Appearance::SetUp();
    }
    void TearDown() override {
        QAccessible::installUpdateHandler(nullptr);
        g_heard = nullptr;
        Appearance::TearDown();
    }
    // What the stack display announced since the last call.
    std::vector<QString> Said() {
        std::vector<QString> said;
        for (const Heard& h : heard_)
            if (h.object == Form().PanelScreen() && h.type == QAccessible::NameChanged)
                said.push_back(h.name);
        heard_.clear();
        return said;
    }
    QString ReadName() {
        return QAccessible::queryAccessibleInterface(Form().PanelScreen())->text(QAccessible::Name);
    }
    // Runs the steps; with `events`, every step's events are checked too.
    void RunSteps(bool events);
    std::vector<Heard> heard_;
};

void Announcements::RunSteps(bool events) {
    Said();
    using Texts = std::vector<QString>;
    const struct {
        const char* what;
        std::function<void()> act;
        Texts said;
    } steps[] = {
        {"typing digits", [this] { Type("3.5"); }, {}},
        {"Enter", [this] { Type("\r"); }, {"3.5"}},
        {"Enter again", [this] { Type("\r"); }, {"3.5"}},
        {"an operation", [this] { Type("+"); }, {"7"}},
        {"a division by zero", [this] { Type("0/"); }, {"Error: Infinite Result"}},
        {"a base", [this] { Press(Qt::Key_H, Qt::ControlModifier); }, {"Hexadecimal"}},
        {"a base by its indicator",
         [this] { QTest::mouseDClick(Form().BaseL(), Qt::LeftButton); },
         {"Binary"}},
        {"back to decimal", [this] { Form().Action("Decimal1")->trigger(); }, {"Decimal"}},
        {"an angle unit", [this] { Form().Action("Degrees1")->trigger(); }, {"Degrees"}},
        {"Shift", [this] { Click(Key::KShift); }, {"Shift on"}},
        {"a shifted key: its result", [this] { Click(Key::KPlusMinus); }, {"0"}},
        {"Shift on and off",
         [this] {
             Click(Key::KShift);
             Click(Key::KShift);
         },
         {"Shift on", "Shift off"}},
        {"Backspace drops level 1", [this] { Click(Key::KBackspace); }, {"7"}},
        {"typing after a result", [this] { Type("12"); }, {}},
        {"a zoom step", [this] { Press(Qt::Key_Equal, Qt::ControlModifier); }, {}},
        {"a theme", [this] { Form().Action("ThemeDark1")->trigger(); }, {}},
    };
    QString last = ReadName();
    for (const auto& s : steps) {
        s.act();
        QApplication::processEvents();
        // A screen reader asking now reads the last announcement.
        if (!s.said.empty()) last = s.said.back();
        EXPECT_EQ(ReadName(), last) << s.what;
        const Texts said = Said();
        if (events) {
            EXPECT_EQ(said, s.said) << s.what;
        }
    }
}

TEST_F(Announcements, ResultsModesAndErrorsAreAnnouncedShortly) {
    // In the child process below Qt's accessibility is active and the
    // events are required; here only the names can be read.
    const bool screenReader = qEnvironmentVariableIsSet("TALLIX_TEST_SCREEN_READER");
    if (screenReader) {
        // The bridge hears from the accessibility bus a moment after start.
        QElapsedTimer waited;
        waited.start();
        while (!QAccessible::isActive() && waited.elapsed() < 10000) QTest::qWait(20);
        ASSERT_TRUE(QAccessible::isActive());
    }
    RunSteps(screenReader || QAccessible::isActive());
}

// The events themselves, where a screen reader would hear them: the real
// X platform on a private X server, with the accessibility bus of a D-Bus
// session of its own that says a screen reader is running.
TEST(ScreenReader, HearsTheAnnouncements) {
    if (qEnvironmentVariableIsSet("TALLIX_TEST_SCREEN_READER")) GTEST_SKIP() << "the child itself";
    for (const char* tool : {"Xvfb", "dbus-run-session", "dbus-send"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    QProcess server;
    server.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
    ASSERT_TRUE(server.waitForStarted(10000));
    QByteArray number;
    while (!number.contains('\n') && server.waitForReadyRead(10000)) number += server.readAll();
    ASSERT_FALSE(number.trimmed().isEmpty()) << "Xvfb gave no display";
    const QString set = "dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus "
                        "org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:%1 "
                        "variant:boolean:true >/dev/null 2>&1 || exit 77; ";
    const QString script = set.arg("IsEnabled") + set.arg("ScreenReaderEnabled") +
                           "exec \"$0\" --gtest_filter=Announcements.*";
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", ":" + QString::fromLatin1(number.trimmed()));
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("TALLIX_TEST_SCREEN_READER", "1");
    child.setProcessEnvironment(env);
    child.start("dbus-run-session",
                {"--", "sh", "-c", script, QCoreApplication::applicationFilePath()});
    const bool finished = child.waitForFinished(120000);
    server.kill();
    server.waitForFinished(5000);
    ASSERT_TRUE(finished);
    const QString out =
        QString::fromLocal8Bit(child.readAllStandardOutput() + child.readAllStandardError());
    if (child.exitCode() == 77) GTEST_SKIP() << "no accessibility bus: " << out.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
}

} // namespace
} // namespace tallix::gui::test
