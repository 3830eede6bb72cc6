// The window itself: sizes and view options, indicators, Shift labels,
// captions, the About and Keys boxes.
#include <QAction>
#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>

#include "gui/app/app.h"
#include "gui/layout/geometry.h"
#include "gui/settings/qsettingsstore.h"
#include "gui_fixture.h"

namespace tallix::gui::test {
namespace {

using tallix::Key;

class Window : public WindowTest {
protected:
    int ClientHeight() { return Form().centralWidget()->height(); }
    bool Checked(const char* name) { return Form().Action(name)->isChecked(); }
};

// The view options as a sequence of menu clicks.
struct ViewStep {
    const char* item;
    int height;
    bool keyboardHidden;
    bool numbersHidden;
};

TEST_F(Window, ViewOptionsSetTheClientHeight) {
    ASSERT_EQ(Form().Dpi(), 96);
    EXPECT_EQ(Form().centralWidget()->size(), QSize(206, 385));
    const ViewStep steps[] = {
        {"HideKeyboard1", 134, true, false}, {"HideKeyboard1", 385, false, false},
        {"HideNumbers1", 257, false, true},  {"HideKeyboard1", 134, true, false},
        {"HideNumbers1", 257, false, true},  {"HideNumbers1", 385, false, false},
    };
    for (const ViewStep& s : steps) {
        Form().Action(s.item)->trigger();
        EXPECT_EQ(ClientHeight(), s.height) << s.item;
        EXPECT_EQ(Checked("HideKeyboard1"), s.keyboardHidden);
        EXPECT_EQ(Checked("HideNumbers1"), s.numbersHidden);
        EXPECT_EQ(Form().minimumSize(), Form().maximumSize()) << "window is resizable";
        EXPECT_EQ(Form().centralWidget()->width(), 206);
        EXPECT_EQ(Form().ShiftLabel(Key::KLast)->isVisible(), !s.keyboardHidden);
    }
}

TEST_F(Window, BothHideOptionsFromSettingsKeepOnlyHideKeyboard) {
    Form().Action("HideNumbers1")->setChecked(true);
    Form().Action("HideKeyboard1")->setChecked(true);
    Form().ArrangeLayout();
    EXPECT_TRUE(Checked("HideKeyboard1"));
    EXPECT_FALSE(Checked("HideNumbers1"));
    EXPECT_EQ(ClientHeight(), 134);
}

TEST_F(Window, HiddenKeysStillWorkFromTheKeyboard) {
    Form().Action("HideKeyboard1")->trigger();
    Type("42\r");
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"42"}));
}

struct DpiCase {
    int dpi;
    QSize full;
    int keyboardHidden;
    int numbersHidden;
};

class Resolutions : public ::testing::TestWithParam<DpiCase> {};

TEST_P(Resolutions, ClientSizes) {
    const DpiCase& c = GetParam();
    EXPECT_EQ(FullClientSize(c.dpi), c.full);
    EXPECT_EQ(KeyboardHiddenHeight(c.dpi), c.keyboardHidden);
    EXPECT_EQ(NumbersHiddenHeight(c.dpi), c.numbersHidden);
}

INSTANTIATE_TEST_SUITE_P(Dpi, Resolutions,
                         ::testing::Values(DpiCase{96, {206, 385}, 134, 257},
                                           DpiCase{120, {254, 474}, 166, 321},
                                           DpiCase{144, {309, 577}, 201, 385},
                                           DpiCase{192, {412, 770}, 268, 514}));

// The layout at another resolution, in a process of its own: the window
// lays itself out by its tables with every position and size scaled by
// dpi/96, in whole pixels, and nothing scales it again on top.
TEST(ResolutionLayout, FollowsTheScaledTables) {
    for (int dpi : {120, 144, 192}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_FONT_DPI", QString::number(dpi));
        env.insert("QT_ENABLE_HIGHDPI_SCALING", "0");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TALLIX_TEST_DPI", QString::number(dpi));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=ResolutionLayoutAt.ThisResolution"});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
        EXPECT_EQ(child.exitCode(), 0) << dpi << " dpi:\n" << out.toStdString();
        EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
    }
}

TEST(ResolutionLayoutAt, ThisResolution) {
    const int dpi = qEnvironmentVariableIntValue("TALLIX_TEST_DPI");
    if (dpi == 0) GTEST_SKIP() << "run by ResolutionLayout at a chosen resolution";
    ModalCloser closer;
    auto form = CreateMainWindow('.');
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_EQ(form->Dpi(), dpi);
    auto s = [dpi](int v) { return Scale(v, dpi); };
    EXPECT_EQ(form->centralWidget()->size(), FullClientSize(dpi));
    EXPECT_EQ(form->width(), FullClientSize(dpi).width());
    struct Place {
        Key key;
        int left, top, width, height;
    };
    const Place keys[] = {
        {Key::KLast, 8, 144, 30, 25},  {Key::KShift, 168, 144, 30, 25},
        {Key::KSin, 8, 184, 30, 25},   {Key::KSwap, 168, 184, 30, 25},
        {Key::KEnter, 8, 224, 62, 25}, {Key::KBackspace, 168, 224, 30, 25},
        {Key::KA, 8, 258, 30, 22},     {Key::KF, 168, 258, 30, 22},
        {Key::K7, 8, 282, 46, 22},     {Key::KDiv, 152, 282, 46, 22},
        {Key::K0, 8, 354, 46, 22},     {Key::KPlus, 152, 354, 46, 22},
    };
    for (const Place& p : keys) {
        EXPECT_EQ(form->KeyButton(p.key)->geometry(),
                  QRect(s(p.left), s(p.top), s(p.width), s(p.height)))
            << form->KeyButton(p.key)->objectName().toStdString();
    }
    EXPECT_EQ(form->ShiftLabel(Key::KLast)->geometry(), QRect(s(8), s(130), s(30), s(13)));
    EXPECT_EQ(form->ShiftLabel(Key::KEnter)->geometry(), QRect(s(10), s(210), s(62), s(13)));
    EXPECT_EQ(form->PanelScreen()->geometry(), QRect(s(8), s(16), s(189), s(109)));
    // Everything lies inside the client area.
    for (QWidget* w : form->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(form->centralWidget()->rect().contains(w->geometry()))
            << w->objectName().toStdString();
    form->Action("HideKeyboard1")->trigger();
    EXPECT_EQ(form->centralWidget()->height(), KeyboardHiddenHeight(dpi));
    form->Action("HideNumbers1")->trigger();
    EXPECT_EQ(form->centralWidget()->height(), NumbersHiddenHeight(dpi));
}

TEST_F(Window, BaseIndicatorCyclesAndCommitsTheEntry) {
    const char* order[] = {"HEX", "BIN", "OCT", "DEC"};
    for (const char* caption : order) {
        QTest::mouseDClick(Form().BaseL(), Qt::LeftButton);
        EXPECT_EQ(Form().BaseL()->text(), caption);
    }
    Press(Qt::Key_H, Qt::ControlModifier);
    Type("1f");
    Form().Action("Decimal1")->trigger();
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"31"}));
    EXPECT_EQ(Form().BaseL()->text(), "DEC");
    EXPECT_TRUE(Checked("Decimal1"));
}

TEST_F(Window, FailedCommitKeepsTheBase) {
    tallix::testing::SetEntry(Calc(), "-");
    Form().RefreshView();
    Form().Action("Hexadecimal1")->trigger();
    EXPECT_EQ(closer_.Seen().size(), 1u);
    EXPECT_EQ(Form().BaseL()->text(), "DEC");
    EXPECT_TRUE(Checked("Decimal1"));
    EXPECT_FALSE(Checked("Hexadecimal1"));
}

TEST_F(Window, AngleIndicatorAndMenu) {
    EXPECT_EQ(Form().AngleL()->text(), "RAD");
    EXPECT_TRUE(Checked("Radians1"));
    const struct {
        const char* caption;
        const char* item;
    } order[] = {
        {"GRAD", "Gradients1"}, {"CYC", "Cycles1"}, {"DEG", "Degrees1"}, {"RAD", "Radians1"}};
    Type("5");
    for (const auto& o : order) {
        QTest::mouseDClick(Form().AngleL(), Qt::LeftButton);
        EXPECT_EQ(Form().AngleL()->text(), o.caption);
        EXPECT_TRUE(Checked(o.item));
    }
    Form().Action("Degrees1")->trigger();
    EXPECT_EQ(Form().AngleL()->text(), "DEG");
    EXPECT_EQ(Calc().AngleMode(), tallix::AngleUnit::Degrees);
    EXPECT_EQ(Form().Line0()->text(), "5") << "choosing the unit touched the entry";
    EXPECT_TRUE(Calc().Stack().empty());
}

TEST_F(Window, IndicatorTooltipsFollowTheModes) {
    EXPECT_EQ(Form().AngleL()->toolTip(),
              "Angle unit: radians\nDouble-click for the next unit: gradients");
    EXPECT_EQ(Form().BaseL()->toolTip(),
              "Base: decimal\nWord size: 16 bits\nDouble-click for the next base: hexadecimal");
    QTest::mouseDClick(Form().AngleL(), Qt::LeftButton);
    EXPECT_EQ(Form().AngleL()->toolTip(),
              "Angle unit: gradients\nDouble-click for the next unit: cycles");
    Type("3");
    Form().MenuCommand(Cmd::Fix);
    EXPECT_EQ(Form().BaseL()->toolTip(), "Base: decimal\nWord size: 16 bits\nFix: 3 decimals\n"
                                         "Double-click for the next base: hexadecimal");
    QTest::mouseDClick(Form().BaseL(), Qt::LeftButton);
    EXPECT_TRUE(Form().BaseL()->toolTip().startsWith("Base: hexadecimal\nWord size: 16 bits\n"));
}

TEST_F(Window, ShiftLabelsLightWithShiftAndFollowTheBase) {
    for (Key k : tallix::ShiftedKeys()) EXPECT_FALSE(Form().ShiftLabel(k)->isEnabled());
    Click(Key::KShift);
    for (Key k : tallix::ShiftedKeys()) EXPECT_TRUE(Form().ShiftLabel(k)->isEnabled());
    const QColor grey = Form().KeyButton(Key::KSin)->palette().color(QPalette::ButtonText);
    const QColor normal = Form().KeyButton(Key::K7)->palette().color(QPalette::ButtonText);
    EXPECT_NE(grey, normal);
    Click(Key::KShift);
    EXPECT_EQ(Form().KeyButton(Key::KSin)->palette().color(QPalette::ButtonText), normal);

    Press(Qt::Key_H, Qt::ControlModifier);
    Click(Key::KShift);
    for (Key k : tallix::ShiftedKeys()) {
        const bool decimalOnly = k == Key::KPlusMinus || k == Key::KEex;
        EXPECT_EQ(Form().ShiftLabel(k)->isEnabled(), !decimalOnly)
            << Form().ShiftLabel(k)->objectName().toStdString();
    }
}

TEST_F(Window, EveryCaptionFitsItsControl) {
    int checked = 0;
    for (QWidget* w : Form().centralWidget()->findChildren<QWidget*>()) {
        QString text;
        if (auto* b = qobject_cast<QPushButton*>(w))
            text = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            text = l->text();
        else
            continue;
        if (w->objectName().startsWith("Line")) continue; // stack lines cut on purpose
        text.remove('&');
        const int width = QFontMetrics(w->font()).horizontalAdvance(text);
        EXPECT_LE(width, w->width()) << w->objectName().toStdString() << " " << text.toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 60);
}

// The operator signs and the raised decimal point sit in the middle of
// their keys (a caption centred by its line box sits a few pixels low), and
// the minus is as wide as the plus.
TEST_F(Window, SymbolCaptionsSitInTheMiddleOfTheirKeys) {
    for (Key k : {Key::KDiv, Key::KMult, Key::KMinus, Key::KPlus, Key::KDot}) {
        QPushButton* key = Form().KeyButton(k);
        const QRect ink = InkBox(key);
        ASSERT_FALSE(ink.isEmpty()) << key->objectName().toStdString();
        const QPointF inkCentre((ink.left() + ink.right() + 1) / 2.0,
                                (ink.top() + ink.bottom() + 1) / 2.0);
        EXPECT_NEAR(inkCentre.x(), key->width() / 2.0, 1.0) << key->objectName().toStdString();
        EXPECT_NEAR(inkCentre.y(), key->height() / 2.0, 1.0) << key->objectName().toStdString();
    }
    const QRect minus = InkBox(Form().KeyButton(Key::KMinus));
    const QRect plus = InkBox(Form().KeyButton(Key::KPlus));
    EXPECT_GE(minus.width(), plus.width() * 4 / 5);
    EXPECT_EQ(Form().KeyButton(Key::KMinus)->text(), QString(QChar(0x2212)));
    EXPECT_EQ(Form().KeyButton(Key::KDot)->text(), QString(QChar(0x00b7)));
}

TEST_F(Window, ACommaSeparatorStaysWhereACommaStands) {
    Open(',');
    QPushButton* key = Form().KeyButton(Key::KDot);
    EXPECT_EQ(key->text(), ",");
    const QRect ink = InkBox(key);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.top(), key->height() / 2); // below the middle, as a comma is
}

// A superscript x where the captions once had an asterisk; the y keeps its
// underline.
TEST_F(Window, PowersShowASuperscriptX) {
    const QString x(QChar(0x02e3));
    EXPECT_EQ(Form().ShiftLabel(Key::KLog)->text(), "10" + x);
    EXPECT_EQ(Form().ShiftLabel(Key::KLn)->text(), "e" + x);
    EXPECT_EQ(Form().KeyButton(Key::KYToX)->text(), "&y" + x);
    Type("2\r3y");
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"8"}));
}

TEST_F(Window, AboutEntersTheNumberFirst) {
    Type("5");
    Form().Action("About1")->trigger();
    ASSERT_EQ(closer_.Seen().size(), 1u);
    EXPECT_EQ(closer_.Seen()[0].objectName, "AboutBox");
    EXPECT_TRUE(closer_.Seen()[0].text.contains("Tallix"));
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"5"}));
    EXPECT_EQ(Form().Line0()->text(), "");
    Type("3\r");
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"3", "5"}));
}

TEST_F(Window, AboutWithABadEntryShowsTheEntryErrorInstead) {
    tallix::testing::SetEntry(Calc(), "-");
    Form().RefreshView();
    Form().Action("About1")->trigger();
    ASSERT_EQ(closer_.Seen().size(), 1u);
    EXPECT_EQ(closer_.Seen()[0].text, "Entry Error: \nInvalid Syntax");
    EXPECT_EQ(Form().Line0()->text(), "-");
}

// The About box names the version, the licence, the toolkit the window
// runs on and the file that keeps settings and stack.
TEST_F(Window, AboutNamesLicenceToolkitAndSettingsFile) {
    Form().Action("About1")->trigger();
    ASSERT_EQ(closer_.Seen().size(), 1u);
    const QString text = closer_.Seen()[0].text;
    EXPECT_TRUE(text.startsWith("Tallix " TALLIX_VERSION "\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("MIT licence")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString("\nQt %1\n").arg(qVersion()))) << text.toStdString();
    // This window keeps nothing.
    EXPECT_TRUE(text.endsWith("not kept between runs.")) << text.toStdString();

    QTemporaryDir dir;
    const QString file = dir.path() + "/Tallix.conf";
    QSettingsStore store(file);
    auto form = CreateMainWindow('.', &store);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->Action("About1")->trigger();
    ASSERT_EQ(closer_.Seen().size(), 2u);
    EXPECT_TRUE(
        closer_.Seen()[1].text.endsWith("\nSettings and stack: " + QDir::toNativeSeparators(file)))
        << closer_.Seen()[1].text.toStdString();
}

TEST_F(Window, StayOnTopFollowsTheMenu) {
    Form().Action("AlwaysOnTop1")->trigger();
    EXPECT_TRUE(Form().StaysOnTop());
    EXPECT_TRUE(Form().isVisible());
    Form().Action("AlwaysOnTop1")->trigger();
    EXPECT_FALSE(Form().StaysOnTop());
}

TEST_F(Window, ExitClosesTheWindow) {
    Form().Action("Exit1")->trigger();
    EXPECT_FALSE(Form().isVisible());
}

struct LocaleCase {
    QLocale::Language language;
    QLocale::Territory territory;
    char separator;
};

class DecimalSeparator : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(DecimalSeparator, ComesFromTheLocale) {
    const LocaleCase& c = GetParam();
    EXPECT_EQ(DecimalCharOf(QLocale(c.language, c.territory)), c.separator);
}

INSTANTIATE_TEST_SUITE_P(Locales, DecimalSeparator,
                         ::testing::Values(LocaleCase{QLocale::English, QLocale::UnitedStates, '.'},
                                           LocaleCase{QLocale::German, QLocale::Germany, ','},
                                           LocaleCase{QLocale::French, QLocale::France, ','},
                                           LocaleCase{QLocale::C, QLocale::AnyTerritory, '.'},
                                           // a separator outside ASCII falls back to the full stop
                                           LocaleCase{QLocale::Arabic, QLocale::Egypt, '.'}));

} // namespace
} // namespace tallix::gui::test
