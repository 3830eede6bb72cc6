#include "gui/app/app.h"

#include <QApplication>
#include <QProxyStyle>
#include <QSessionManager>
#include <QStyleOptionButton>

#include "gui/widgets/icon.h"
#include "gui/mainform/mainform.h"
#include "gui/widgets/errdlg.h"
#include "gui/settings/qsettingsstore.h"
#include "gui/app/stopsignals.h"

namespace tallix::gui {

namespace {

// Tooltips come up after half a second; the stack lines rely on them to
// show texts too wide for the line. Flat keys rise under the mouse, so the
// keypad shows which key a click would press.
class TallixStyle : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_PushButtonBevel) {
            const auto* b = qstyleoption_cast<const QStyleOptionButton*>(option);
            if (b && (b->features & QStyleOptionButton::Flat) && (b->state & State_MouseOver) &&
                (b->state & State_Enabled) && !(b->state & (State_Sunken | State_On))) {
                QStyleOptionButton raised(*b);
                raised.features &= ~QStyleOptionButton::Flat;
                QProxyStyle::drawControl(element, &raised, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) return 500;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

char DecimalCharOf(const QLocale& locale) {
    const QString one = locale.toString(1.0, 'f', 4);
    if (one.size() >= 2) {
        const QChar c = one.at(1);
        if (c.unicode() > 0x20 && c.unicode() < 0x7f && !c.isDigit())
            return static_cast<char>(c.unicode());
    }
    return '.';
}

void SetUpApplication() {
    QApplication::setApplicationName("Tallix");
    QApplication::setWindowIcon(AppIcon());
    QApplication::setStyle(new TallixStyle);
}

std::unique_ptr<TMainForm> CreateMainWindow(char decimalChar, persist::SettingsStore* store) {
    auto form = std::make_unique<TMainForm>(decimalChar, store);
    auto* dialog = new TErrDlg(form.get(), form->Dpi());
    dialog->setFont(form->font()); // a window does not inherit its owner's font
    form->AttachErrorDialog(dialog);
    return form;
}

int RunWindow(int argc, char** argv) {
    // The window lays itself out for the screen's resolution, every
    // position and size scaled by dpi/96 in whole pixels; the toolkit's own
    // fractional scaling on top would blur it and move its margins.
    if (!qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    SetUpApplication();
    // A stop the program can see (a terminal's Ctrl+C, kill, a hang-up, the
    // end of the desktop session) ends it the normal way, stack saved. The
    // signals are caught from the start: one that arrives while the saved
    // stack is being loaded waits for an event loop, where the final save
    // can run; one that arrives while the load's warning box is open ends
    // the program as soon as the window exists.
    StopSignals stops;
    QSettingsStore store;
    std::unique_ptr<TMainForm> form;
    bool stopped = false;
    QObject::connect(&stops, &StopSignals::stopRequested, &app, [&form, &stopped] {
        stopped = true;
        if (form) form->FormDestroy(TMainForm::SaveReport::StandardError);
        // Every running event loop ends, the warning box's too.
        QApplication::exit(0);
    });
    form = CreateMainWindow(DecimalCharOf(QLocale()), &store);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, form.get(),
                     [&form](QSessionManager&) { form->EndSession(); });
    int code = 0;
    if (!stopped) {
        form->show();
        code = app.exec();
    }
    form->FormDestroy(TMainForm::SaveReport::StandardError);
    return code;
}

} // namespace tallix::gui
