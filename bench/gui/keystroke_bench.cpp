// A keystroke's work in the window with a stack of one million entries:
// the core command plus bringing every control up to date (only the six
// visible lines are formatted). The last benchmark sends real key events,
// with a 1 ms flash, which a timer ends after the key has been handled.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <memory>
#include <string>

#include "gui/app/app.h"
#include "gui/mainform/mainform.h"

namespace {

using tallix::Key;
tallix::gui::TMainForm* form = nullptr;

void Keys(benchmark::State& state, std::initializer_list<Key> keys) {
    for (auto _ : state) {
        // The window draws itself again as the key's pass ends.
        for (Key k : keys) PressKey(form->Calc(), k);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(keys.size()));
    state.counters["depth"] = static_cast<double>(form->Calc().Depth());
}

// Each pair leaves the stack as it found it.
void BM_DigitThenBackspace(benchmark::State& s) { Keys(s, {Key::K5, Key::KBackspace}); }
void BM_SwapTwice(benchmark::State& s) { Keys(s, {Key::KSwap, Key::KSwap}); }
void BM_EnterThenDrop(benchmark::State& s) { Keys(s, {Key::KEnter, Key::KBackspace}); }
// Enter duplicates level 1 and - subtracts the copies: the depth stays.
void BM_EnterThenSubtract(benchmark::State& s) { Keys(s, {Key::KEnter, Key::KMinus}); }

void BM_KeyEventsWith1msFlash(benchmark::State& state) {
    form->SetButtonTime(1);
    QWidget* target = form->Line0();
    for (auto _ : state) {
        for (auto [key, text] : {std::pair{Qt::Key_5, "5"}, std::pair{Qt::Key_Backspace, "\b"}}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
            QApplication::sendEvent(target, &release);
        }
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

BENCHMARK(BM_DigitThenBackspace);
BENCHMARK(BM_SwapTwice);
BENCHMARK(BM_EnterThenDrop);
BENCHMARK(BM_EnterThenSubtract);
BENCHMARK(BM_KeyEventsWith1msFlash);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tallix::gui::SetUpApplication();
    auto window = tallix::gui::CreateMainWindow('.');
    form = window.get();
    form->Calc().Load([](tallix::Calculator::Change& ch) {
        for (int i = 1000000; i >= 1; --i) ch.PushText(std::to_string(i) + ".25");
        ch.ResetEntry();
    });
    form->RefreshView();
    form->show();
    QApplication::processEvents();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
