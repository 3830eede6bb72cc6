// A calculator wired to a shell that records what it would have shown, and
// a typist that drives it the way the keyboard does.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/calc/calculator.h"
#include "core/commands/dispatch.h"

namespace tallix::testing {

class RecordingShell : public Shell {
public:
    void ShowError(const std::string& message) override {
        messages.push_back(message);
        if (onError) onError();
    }
    std::uint64_t RandomSeed() override { return 12345; }
    std::vector<std::string> messages;
    std::function<void()> onError; // what a test looks at while a message shows
};

// Arranging the calculator as a test needs it, through the door as a load:
// no step, and the history starts afresh.
template <class Fn> void Arrange(Calculator& calc, Fn&& fn) { calc.Load(std::forward<Fn>(fn)); }
inline void SetWordSize(Calculator& calc, std::int32_t n) {
    Arrange(calc, [n](Calculator::Change& c) { c.SetWordSize(n); });
}
inline void SetFixLength(Calculator& calc, std::int32_t n) {
    Arrange(calc, [n](Calculator::Change& c) { c.SetFixLength(n); });
}
inline void SetBase(Calculator& calc, Base base) {
    Arrange(calc, [base](Calculator::Change& c) { c.SelectBase(base); });
}
inline void PushTexts(Calculator& calc, std::vector<std::string> levelsDeepestFirst) {
    Arrange(calc, [&](Calculator::Change& c) {
        for (std::string& s : levelsDeepestFirst) c.PushText(std::move(s));
    });
}
// Puts text into the entry line as if typed: no step, the history kept.
inline void SetEntry(Calculator& calc, std::string text) {
    calc.Apply({}, [&](Calculator::Change& c) { c.SetEntry(std::move(text)); });
}

struct TestCalc {
    RecordingShell shell;
    Calculator calc{shell, '.'};

    // Types characters as the keyboard would: "\r" is Enter, "\b" is
    // Backspace, "^" clicks the Shift button first for the next character.
    void Type(std::string_view keys) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] == '^') {
                PressKey(calc, Key::KShift);
                continue;
            }
            TypeChar(calc, static_cast<unsigned char>(keys[i]));
        }
    }
    // Pushes entries so that the last one is level 1.
    void Push(std::initializer_list<const char*> texts) {
        PushTexts(calc, std::vector<std::string>(texts.begin(), texts.end()));
    }
    // The stack from the deepest entry to level 1, as stored.
    std::vector<std::string> Stack() const {
        std::vector<std::string> out;
        for (std::size_t i = calc.Depth(); i-- > 0;) out.push_back(calc.Stack().at(i));
        return out;
    }
    std::string LastMessage() const { return shell.messages.empty() ? "" : shell.messages.back(); }
};

} // namespace tallix::testing
