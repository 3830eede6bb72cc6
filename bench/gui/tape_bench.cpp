// The tape in the window: a keystroke that appends a line to a shown
// 10,000-line tape, and the window's start with such a tape in its file
// against the start without one.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "core/commands/dispatch.h"
#include "core/tape/tapefile.h"
#include "gui/app/app.h"
#include "gui/mainform/mainform.h"
#include "gui/settings/qsettingsstore.h"

namespace {

using tallix::Key;

// A settings folder with (or without) a full tape shown in its window.
struct Folder {
    QTemporaryDir dir;
    QString settings() const { return dir.path() + "/Tallix.conf"; }
    explicit Folder(bool withTape) {
        tallix::gui::QSettingsStore store(settings());
        store.Write(tallix::persist::kTapeGroup, "Shown", "1");
        store.Flush();
        if (!withTape) return;
        struct NoShell : tallix::Shell {
            void ShowError(const std::string&) override {}
        } shell;
        tallix::Calculator calc(shell);
        tallix::tape::Tape tape;
        tape.Attach(calc);
        while (tape.Size() < tallix::tape::Tape::kMaxLines) {
            RunCommand(calc, tallix::Cmd::Pi);
            RunCommand(calc, tallix::Cmd::Sin);
        }
        tallix::tape::SaveTapeFile((dir.path() + "/Tallix.tape").toStdString(),
                                   tallix::tape::Serialize(tape));
    }
};

// Created, shown, and every pending event handled (the tape window shows
// after the main window).
void Start(benchmark::State& state, bool withTape) {
    Folder folder(withTape);
    std::size_t lines = 0;
    for (auto _ : state) {
        tallix::gui::QSettingsStore store(folder.settings());
        auto form = tallix::gui::CreateMainWindow('.', &store);
        form->show();
        QApplication::processEvents();
        QApplication::processEvents();
        lines = form->Tape().Size();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
    state.counters["lines"] = static_cast<double>(lines);
}
void BM_StartWithoutTape(benchmark::State& s) { Start(s, false); }
void BM_StartWith10000LineTape(benchmark::State& s) { Start(s, true); }

// Enter and -: two lines a pair appended to a full tape, the view brought
// up to date and every pending event (the painting of both windows)
// handled each time; with the tape window shown or hidden, and without a
// tape at all (detached from the calculator).
void Keystrokes(benchmark::State& state, bool withTape, bool shown, bool paint = true) {
    Folder folder(withTape);
    tallix::gui::QSettingsStore store(folder.settings());
    auto form = tallix::gui::CreateMainWindow('.', &store);
    form->show();
    QApplication::processEvents();
    if (!shown) form->ShowTape(false);
    // Without a tape: no listener, the calculator as before the tape.
    if (!withTape) form->Tape().Detach();
    PressKey(form->Calc(), Key::KPi);
    for (auto _ : state) {
        for (Key k : {Key::KEnter, Key::KMinus}) {
            PressKey(form->Calc(), k);
            form->RefreshView();
            if (paint) QApplication::processEvents();
        }
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["lines"] = static_cast<double>(form->Tape().Size());
    QApplication::processEvents();
    form->FormDestroy();
}
void BM_KeystrokeWithShownFullTape(benchmark::State& s) { Keystrokes(s, true, true); }
void BM_KeystrokeWithHiddenFullTape(benchmark::State& s) { Keystrokes(s, true, false); }
// The keystroke itself, the painting left to the next pass of the event
// loop (which paints once for any number of keys in between).
void BM_KeyWithShownFullTapeUnpainted(benchmark::State& s) { Keystrokes(s, true, true, false); }
void BM_KeyWithoutTapeUnpainted(benchmark::State& s) { Keystrokes(s, false, false, false); }
void BM_KeystrokeWithoutTape(benchmark::State& s) { Keystrokes(s, false, false); }

BENCHMARK(BM_StartWithoutTape)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartWith10000LineTape)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_KeystrokeWithShownFullTape)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeWithHiddenFullTape)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyWithShownFullTapeUnpainted)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyWithoutTapeUnpainted)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeWithoutTape)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tallix::gui::SetUpApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
