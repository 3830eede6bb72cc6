// The tape as text: the lines for Save Tape As and Copy, what a screen
// reader says of a line, and the script that replays the tape.
#include <algorithm>

#include "core/commands/tokens.h"
#include "core/number/utf8.h"
#include "core/tape/tape.h"

namespace tallix::tape {

namespace {

constexpr std::size_t kMinWidth = 32;
constexpr std::string_view kUndone = "  (undone)";

std::size_t Width(const Line& line) {
    return CountChars(line.caption) + (line.shown.empty() ? 0 : 2 + CountChars(line.shown));
}

void Append(std::string& out, const Line& line, std::size_t width) {
    out += line.caption;
    if (!line.shown.empty()) {
        const std::size_t used = CountChars(line.caption) + CountChars(line.shown);
        out.append(width > used ? width - used : 2, ' ');
        out += line.shown;
    }
    if (line.undone) out += kUndone;
    out += '\n';
}

} // namespace

std::string Tape::Spoken(const Line& line) {
    std::string out;
    if (line.kind == Kind::Error) out = "error: ";
    out += line.caption;
    if (!line.shown.empty()) {
        if (!line.caption.empty()) out += ' ';
        out += line.shown;
    }
    if (line.undone) out += ", undone";
    return out;
}

std::string Tape::Text() const {
    std::vector<std::size_t> all(lines_.size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    return TextOf(all);
}

std::string Tape::TextOf(const std::vector<std::size_t>& rows) const {
    std::size_t width = kMinWidth;
    for (std::size_t i : rows)
        if (i < lines_.size()) width = std::max(width, Width(lines_[i]));
    std::string out;
    for (std::size_t i : rows)
        if (i < lines_.size()) Append(out, lines_[i], width);
    return out;
}

std::string Tape::Script() const {
    std::string out = "# Tallix tape: replay with tallix --batch\n";
    const Start s = ScriptStart();
    const Start blank;
    const char decimalChar = calc_ ? calc_->DecimalChar() : '.';
    const std::uint32_t lastNum = s.lastNum > 2 ? 1 : s.lastNum;
    const bool touchesLast = !s.stack.empty() || s.wordSize != blank.wordSize ||
                             s.fixLength != blank.fixLength || lastNum != 0;
    if (touchesLast || s.base != blank.base || s.angle != blank.angle) {
        out += "# the stack and modes the tape started with\n";
        if (s.wordSize != blank.wordSize) out += std::to_string(s.wordSize) + " STWS\n";
        if (s.fixLength != blank.fixLength) out += std::to_string(s.fixLength) + " FIX\n";
        // A fresh run is in DEC.
        for (const std::string& text : s.stack) out += DecimalToken(text, decimalChar) + '\n';
        if (s.base != blank.base) out += std::string(BaseCaption(s.base)) + '\n';
        if (s.angle != blank.angle) out += std::string(AngleCaption(s.angle)) + '\n';
        // The tokens above leave last arguments of their own.
        if (touchesLast) out += LastArgsToken(s.lastX, s.lastY, lastNum, decimalChar) + '\n';
        out += "# the tape\n";
    }
    for (const Line& line : lines_) {
        if (line.undone || line.script.empty()) continue;
        out += line.script;
        out += '\n';
    }
    return out;
}

} // namespace tallix::tape
