// What Undo and Redo restore, as a user observes it: the snapshot the undo
// tests compare states by.
#pragma once

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "test_calc.h"

namespace tallix::testing {

// Everything a user can observe of the calculator, but the Shift state,
// which every command ends. A typed entry line counts as empty: Undo
// discards typing and Redo does not bring it back; what Edit put there is
// part of the state.
struct State {
    std::vector<std::string> stack; // deepest first
    long double lastX = 0, lastY = 0;
    std::uint32_t lastNum = 0;
    int fix = 0, wordSize = 0, angle = 0;
    Base base{};
    std::string entry;

    bool SameBut(const State& o, bool lastArgs, bool entryLine) const {
        auto same = [](long double a, long double b) {
            return (std::isnan(a) && std::isnan(b)) ||
                   (a == b && std::signbit(a) == std::signbit(b));
        };
        return stack == o.stack && fix == o.fix && wordSize == o.wordSize && angle == o.angle &&
               base == o.base && (!entryLine || entry == o.entry) &&
               (!lastArgs ||
                (same(lastX, o.lastX) && same(lastY, o.lastY) && lastNum == o.lastNum));
    }
    bool operator==(const State& o) const { return SameBut(o, true, true); }
};

inline std::ostream& operator<<(std::ostream& os, const State& s) {
    os << "[";
    for (const std::string& e : s.stack) os << " '" << e << "'";
    return os << " ] last " << static_cast<double>(s.lastX) << "/" << static_cast<double>(s.lastY)
              << "#" << s.lastNum << " fix " << s.fix << " ws " << s.wordSize << " angle "
              << s.angle << " base " << static_cast<int>(s.base) << " entry '" << s.entry << "'";
}

inline State Snapshot(const TestCalc& t) {
    const Calculator& c = t.calc;
    const bool typed = c.UndoLabel() == "Typing";
    return {t.Stack(),
            c.LastX(),
            c.LastY(),
            c.LastNum(),
            c.FixLength(),
            c.WordSize(),
            tallix::AngleUnitNumber(c.AngleMode()),
            c.CurrentBase(),
            typed ? std::string() : c.Entry()};
}

} // namespace tallix::testing
