#include "gui/app/app.h"

#include <QApplication>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <strings.h>
#include <thread>
#ifdef TALLIX_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#include "gui/app/instance.h"
#include "gui/app/stopsignals.h"
#include "gui/mainform/mainform.h"
#include "gui/settings/qsettingsstore.h"
#include "gui/widgets/errdlg.h"
#include "gui/widgets/theme.h"

namespace tallix::gui {

namespace {

// The toolkit's messages while the application object is made, held back:
// a platform that cannot start ends with a fatal message, and the program's
// own line then stands for all of them. Once the application runs, the
// messages held go out as they would have.
class StartMessages {
public:
    explicit StartMessages(StartFailure onFailure) {
        onFailure_ = std::move(onFailure);
        previous_ = qInstallMessageHandler(&StartMessages::Hold);
    }
    ~StartMessages() {
        qInstallMessageHandler(previous_);
        for (const Held& m : held_) {
            const QMessageLogContext context(nullptr, 0, nullptr, m.category.c_str());
            qt_message_output(m.type, context, m.text);
        }
        held_.clear();
        onFailure_ = {};
    }
    StartMessages(const StartMessages&) = delete;
    StartMessages& operator=(const StartMessages&) = delete;

private:
    struct Held {
        QtMsgType type;
        std::string category;
        QString text;
    };
    static void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtFatalMsg && onFailure_) {
            std::vector<std::string> lines;
            for (const Held& m : held_) lines.push_back(m.text.toStdString());
            lines.push_back(text.toStdString());
            onFailure_(lines);
        }
        held_.push_back({type, context.category ? context.category : "", text});
    }
    static inline StartFailure onFailure_;
    static inline QtMessageHandler previous_ = nullptr;
    static inline std::vector<Held> held_;
};

// Reads the system's font configuration on another core while the toolkit
// starts. It is the largest single piece of the start (about 5 ms: the
// configuration files and the font caches), the first paint cannot do
// without it, and nothing needs it before the first font is measured. The
// toolkit's own reading then finds it done; should the toolkit get there
// first, both read it and one copy is dropped, so the result is the same.
std::jthread ReadFontConfigAside() {
#ifdef TALLIX_HAVE_FONTCONFIG
    return std::jthread([] { FcInit(); });
#else
    return {};
#endif
}

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
    // Ties the window to the installed tallix.desktop (its menu entry and
    // icon) where the window system goes by that name.
    QGuiApplication::setDesktopFileName("tallix");
    // The icon comes after the first paint (TMainForm::ShowIcons): reading
    // its pictures is not needed to draw the window.
    QApplication::setStyle(NewAppStyle(tallix::Theme::System));
}

std::unique_ptr<TMainForm> CreateMainWindow(char decimalChar, persist::SettingsStore* store) {
    auto form = std::make_unique<TMainForm>(decimalChar, store);
    auto* dialog = new TErrDlg(form.get(), form->Dpi());
    FollowOwnerLook(dialog); // a window does not inherit its owner's font and colours
    form->AttachErrorDialog(dialog);
    return form;
}

int RunWindow(int argc, char** argv, StartFailure onStartFailure) {
    // One window per account: a window already open takes this start's
    // wish, before anything of the toolkit is loaded.
    const bool trayWish = argc >= 2 && strcasecmp(argv[1], "/tray") == 0;
    InstanceClaim claim = InstanceClaim::Claim(trayWish ? WindowWish::Tray : WindowWish::Show);
    if (claim.Result() == InstanceClaim::Outcome::HandedOn) return 0;
    if (claim.Result() == InstanceClaim::Outcome::Failed) {
        std::fprintf(stderr, "tallix: %s\n", claim.Error().c_str());
        return 1;
    }
    // The window lays itself out for the screen's resolution, every place
    // and size scaled by dpi/96 (with its own sizes at 120 dpi). Qt's own
    // scaling on top would scale it twice, or round its sizes differently.
    if (!qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // Joined when the window program ends, however it ends.
    const std::jthread fontConfig = ReadFontConfigAside();
    auto startMessages = std::make_unique<StartMessages>(std::move(onStartFailure));
    QApplication app(argc, argv);
    startMessages.reset();
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
    // The window may live in the tray, hidden, while dialogs come and go:
    // the program ends when its window is closed, not when the last visible
    // window goes.
    app.setQuitOnLastWindowClosed(false);
    QObject::connect(form.get(), &TMainForm::closed, &app, &QApplication::quit);
    TInstanceServer later(claim);
    QObject::connect(&later, &TInstanceServer::wished, form.get(),
                     [&form](WindowWish wish) { form->ComeForward(wish == WindowWish::Tray); });
    int code = 0;
    if (!stopped) {
        if (!form->StartInTray(QApplication::arguments())) form->show();
        QTimer::singleShot(0, &app, [&store] { store.ReadAheadForSaves(); });
        code = app.exec();
    }
    form->FormDestroy(TMainForm::SaveReport::StandardError);
    return code;
}

} // namespace tallix::gui
