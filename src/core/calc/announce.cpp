#include "core/calc/announce.h"

namespace tallix {

AnnouncedState AnnouncedStateOf(const Calculator& calc) {
    AnnouncedState s;
    if (!calc.Stack().empty()) s.level1 = calc.FormatForBase(calc.Stack().at(0));
    s.stackRevision = calc.StackRevision();
    s.base = calc.CurrentBase();
    s.angle = calc.AngleMode();
    s.shift = calc.ShiftDown();
    return s;
}

namespace {
const char* BaseWord(Base base) {
    switch (base) {
    case Base::BIN: return "Binary";
    case Base::OCT: return "Octal";
    case Base::HEX: return "Hexadecimal";
    case Base::DEC: break;
    }
    return "Decimal";
}

const char* AngleWord(AngleUnit unit) {
    switch (unit) {
    case AngleUnit::Cycles: return "Cycles";
    case AngleUnit::Degrees: return "Degrees";
    case AngleUnit::Gradients: return "Gradients";
    case AngleUnit::Radians: break;
    }
    return "Radians";
}
} // namespace

std::string Announcement(const AnnouncedState& before, const AnnouncedState& after) {
    if (after.base != before.base) return BaseWord(after.base);
    if (after.angle != before.angle) return AngleWord(after.angle);
    // A command that leaves level 1 the same text (Swap of equal numbers,
    // Enter) still changed the stack: it is read again. The result of a
    // shifted key is heard rather than the Shift state it ended.
    if (after.stackRevision != before.stackRevision || after.level1 != before.level1)
        return after.level1.empty() ? "Empty stack" : after.level1;
    if (after.shift != before.shift) return after.shift ? "Shift on" : "Shift off";
    return {};
}

std::string ErrorAnnouncement(std::string_view message) {
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n'))
        message.remove_suffix(1);
    const std::size_t cut = message.find_last_of("\r\n");
    std::string_view reason = cut == std::string_view::npos ? message : message.substr(cut + 1);
    while (!reason.empty() && reason.front() == ' ') reason.remove_prefix(1);
    return "Error: " + std::string(reason);
}

} // namespace tallix
