// A calculator wired to a shell that records what it would have shown, and
// a typist that drives it the way the keyboard does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/calc/calculator.h"
#include "core/commands/dispatch.h"

namespace tallix::testing {

class RecordingShell : public Shell {
public:
    void ShowError(const std::string& message) override { messages.push_back(message); }
    std::uint64_t RandomSeed() override { return 12345; }
    std::vector<std::string> messages;
};

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
        for (const char* t : texts) calc.PushText(t);
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
