#include "core/commands/clipboard.h"

#include "core/number/utf8.h"

namespace tallix {

std::string CopyText(const Calculator& calc) {
    if (calc.Depth() == 0) return {};
    const std::string& text = calc.Stack().at(0);
    return calc.CurrentBase == Base::DEC ? text : calc.FormatForBase(text);
}

std::string CopyStackText(const Calculator& calc) {
    std::string out;
    for (std::size_t i = calc.Depth(); i-- > 0;) {
        out += calc.FormatForBase(calc.Stack().at(i));
        out += '\n';
    }
    return out;
}

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// How a bad piece is named in the message: quoted, and cut so that the
// message stays readable in the error dialog.
std::string Quoted(std::string_view piece) {
    constexpr std::size_t kShown = 20;
    std::string cut = CutChars(piece, kShown);
    if (cut.size() < piece.size()) cut += "...";
    return "\"" + cut + "\"";
}
} // namespace

PasteParse ParsePaste(const Calculator& calc, std::string_view clipboard) {
    PasteParse result;
    const bool pointToo = calc.CurrentBase == Base::DEC && calc.DecimalChar != '.';
    std::string piece;
    std::size_t i = 0;
    const std::size_t n = clipboard.size();
    while (i < n) {
        while (i < n && IsBlank(clipboard[i])) ++i;
        if (i >= n) break;
        std::size_t j = i;
        while (j < n && !IsBlank(clipboard[j])) ++j;
        piece.assign(clipboard.substr(i, j - i));
        if (pointToo && piece.find(calc.DecimalChar) == std::string::npos) {
            // A number copied from a program that writes a point.
            for (char& c : piece)
                if (c == '.') c = calc.DecimalChar;
        }
        std::string text;
        Value value = 0;
        if (!calc.ParseEntry(piece, text, value)) {
            result.ok = false;
            result.badPiece.assign(clipboard.substr(i, j - i));
            result.texts.clear();
            return result;
        }
        result.texts.push_back(std::move(text));
        result.lastValue = value;
        i = j;
    }
    return result;
}

bool PasteText(Calculator& calc, std::string_view clipboard) {
    PasteParse parsed = ParsePaste(calc, clipboard);
    if (!parsed.ok) {
        calc.ShowError("Paste", Quoted(parsed.badPiece), Reason::InvalidSyntax);
        return false;
    }
    if (parsed.texts.empty()) return false;
    Calculator::Step step(calc);
    if (!calc.CommitEntry()) return false;
    for (std::string& text : parsed.texts) calc.PushText(std::move(text));
    // As if the last piece had been typed and entered.
    calc.LastX = parsed.lastValue;
    calc.LastNum = 1;
    calc.ResetEntry();
    return true;
}

} // namespace tallix
