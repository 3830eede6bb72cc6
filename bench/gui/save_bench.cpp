// What saving a 100,000-entry stack costs the window's thread: a keystroke's
// work (the core command and bringing every control up to date) while the
// worker writes the settings file, against the same keystroke with no
// save running; what starting a save costs (the copy of the stack's texts);
// and how long the worker's write itself takes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <string>

#include "gui/app/app.h"
#include "gui/mainform/mainform.h"
#include "gui/settings/autosave.h"
#include "gui/settings/qsettingsstore.h"

namespace {

using tallix::Key;
using Clock = std::chrono::steady_clock;
constexpr int kEntries = 100000;

tallix::gui::TMainForm* form = nullptr;
tallix::gui::QSettingsStore* store = nullptr;

tallix::gui::TAutoSave& Saver() { return *form->AutoSave(); }

// Finishes a write that has ended on the worker (its result comes through
// the event loop) and starts the next one, with a change to save.
void StartWrite() {
    Saver().WaitForWrite();
    QCoreApplication::processEvents();
    tallix::PressKey(form->Calc(), Key::KEnter);     // a change: level 1 doubled...
    tallix::PressKey(form->Calc(), Key::KBackspace); // ...and dropped again
    form->RefreshView();
    if (!Saver().SaveChanges()) std::abort();
}

// The slowest keys: the worst, and how many took over 1 ms and over 5 ms.
struct Tail {
    double worstUs = 0;
    std::int64_t keys = 0, over1ms = 0, over5ms = 0;
    void Add(double us) {
        worstUs = std::max(worstUs, us);
        ++keys;
        over1ms += us > 1000;
        over5ms += us > 5000;
    }
};

void Report(benchmark::State& state, const Tail& tail) {
    state.counters["worst_us"] = tail.worstUs;
    state.counters["keys"] = static_cast<double>(tail.keys);
    state.counters["over_1ms"] = static_cast<double>(tail.over1ms);
    state.counters["over_5ms"] = static_cast<double>(tail.over5ms);
    state.SetItemsProcessed(state.iterations() * 2);
}

double Us(Clock::time_point t0) {
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
}

// One keystroke's work: a digit or its removal, as in the other benchmark.
void Key5(Tail& tail, bool onlyWhileWriting) {
    for (Key k : {Key::K5, Key::KBackspace}) {
        const auto t0 = Clock::now();
        tallix::PressKey(form->Calc(), k);
        form->RefreshView();
        const double us = Us(t0);
        // Only keys that ran entirely while the worker wrote count.
        if (!onlyWhileWriting || Saver().Writing()) tail.Add(us);
    }
}

void BM_KeystrokeWhileSaving(benchmark::State& state) {
    Tail tail;
    for (auto _ : state) {
        if (!Saver().Writing()) {
            state.PauseTiming();
            StartWrite();
            state.ResumeTiming();
        }
        Key5(tail, true);
    }
    Report(state, tail);
}

void BM_KeystrokeWithoutSave(benchmark::State& state) {
    Saver().WaitForWrite();
    QCoreApplication::processEvents();
    Tail tail;
    for (auto _ : state) Key5(tail, false);
    Report(state, tail);
}

// The window's share of a save: the values, the copy of 100,000 texts and
// the worker's start. The write itself is left out.
void BM_StartSave(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Saver().WaitForWrite();
        QCoreApplication::processEvents();
        tallix::PressKey(form->Calc(), Key::KEnter);
        tallix::PressKey(form->Calc(), Key::KBackspace);
        form->RefreshView();
        state.ResumeTiming();
        benchmark::DoNotOptimize(Saver().SaveChanges());
    }
    Saver().WaitForWrite();
}

// The worker's write of the whole file, from start to the renamed file.
void BM_WriteOnWorker(benchmark::State& state) {
    const std::vector<std::string> levels = form->Calc().StackLevels();
    const auto values = tallix::persist::CaptureValues(form->Calc(), {});
    for (auto _ : state) {
        auto other = store->OpenerOfAnother()();
        if (tallix::persist::SaveState(*other, values, &levels)) state.SkipWithError("failed");
    }
}

BENCHMARK(BM_KeystrokeWhileSaving)->MinTime(3);
BENCHMARK(BM_KeystrokeWithoutSave)->MinTime(1);
BENCHMARK(BM_StartSave)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_WriteOnWorker)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tallix::gui::SetUpApplication();
    QTemporaryDir dir;
    const QString file = dir.path() + "/Tallix.conf";
    {
        tallix::gui::QSettingsStore seed(file);
        for (int i = 0; i < kEntries; ++i)
            seed.Write("Stack", tallix::persist::StackLineName(static_cast<std::size_t>(i)),
                       std::to_string(i + 1) + ".25");
        seed.Flush();
    }
    auto owned = std::make_unique<tallix::gui::QSettingsStore>(file);
    store = owned.get();
    auto window = tallix::gui::CreateMainWindow('.', store);
    form = window.get();
    form->show();
    QApplication::processEvents();
    if (form->Calc().Depth() != kEntries) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window.reset();
    return 0;
}
