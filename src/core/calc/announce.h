// What a screen reader says after a command: short, and only what changed.
// A new level 1 is read as its text ("3.5"), a new mode by its new state
// ("Hexadecimal", "Degrees", "Shift on"), an error by its reason
// ("Error: Infinite Result"); typing into the entry line says nothing, the
// entry line speaks for itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/calc/calculator.h"

namespace tallix {

// The parts of the calculator's state that are announced.
struct AnnouncedState {
    std::string level1; // as the stack display shows it; empty for an empty stack
    std::uint64_t stackRevision = 0;
    Base base = Base::DEC;
    AngleUnit angle = AngleUnit::Radians;
    bool shift = false;
};

AnnouncedState AnnouncedStateOf(const Calculator& calc);

// What to announce after the state went from `before` to `after`; empty
// when nothing announced changed. A new base or angle unit is announced
// rather than the level 1 it reformats; a new level 1 rather than the end
// of the Shift state.
std::string Announcement(const AnnouncedState& before, const AnnouncedState& after);

// An error message ("÷ Error: \r\nInfinite Result") as it is announced:
// "Error: " and its last line.
std::string ErrorAnnouncement(std::string_view message);

} // namespace tallix
