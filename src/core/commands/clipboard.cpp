#include "core/commands/clipboard.h"

#include "core/commands/registry.h"
#include "core/number/numtext.h"
#include "core/number/utf8.h"

namespace tallix {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// The clipboard text of one stack text in the current base.
std::string ClipText(const Calculator& calc, const std::string& stored) {
    if (calc.CurrentBase() == Base::DEC) return stored;
    const std::string shown = calc.FormatForBase(stored);
    const auto value = ParseReal(stored, calc.DecimalChar());
    std::string text;
    Value read = 0;
    // What the display shows is copied only when Paste reads it back as
    // the same value; otherwise the value goes as its decimal text, marked.
    if (value && calc.ParseEntry(shown, text, read) && read == *value) return shown;
    return std::string(kDecimalMark) + std::string(TrimSpaces(stored));
}

// How a bad piece is named in the message: quoted, and cut so that the
// message stays readable in the error dialog.
std::string Quoted(std::string_view piece) {
    constexpr std::size_t kShown = 20;
    std::string cut = CutChars(piece, kShown);
    if (cut.size() < piece.size()) cut += "...";
    return "\"" + cut + "\"";
}

bool StartsWithMark(std::string_view piece) {
    if (piece.size() < kDecimalMark.size()) return false;
    for (std::size_t i = 0; i < kDecimalMark.size(); ++i) {
        char c = piece[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kDecimalMark[i]) return false;
    }
    return true;
}

// Whether a text is written as a decimal number (sign, digits, separator,
// exponent), whatever its size: such a text that does not parse is beyond
// the range.
bool DecimalShape(std::string_view s, char dc) {
    s = TrimSpaces(s);
    std::size_t i = 0;
    const std::size_t n = s.size();
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    bool digits = false;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i, digits = true;
    if (i < n && s[i] == dc) ++i;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i, digits = true;
    if (!digits) return false;
    if (i < n && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        while (i < n && s[i] >= '0' && s[i] <= '9') ++i;
    }
    return i == n;
}

// Whether a text is all digits of the base: such a text that does not
// parse is beyond 64 bits.
bool DigitsOfBase(std::string_view s, Base base) {
    const int radix = base == Base::BIN ? 2 : base == Base::OCT ? 8 : 16;
    if (s.empty()) return false;
    for (char c : s) {
        int d = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                       : 99;
        if (d >= radix) return false;
    }
    return true;
}

// A piece read as a decimal number, as the entry line reads it in DEC:
// its stack text and its value.
bool ReadDecimal(const Calculator& calc, std::string_view piece, std::string& text, Value& value,
                 Reason& reason) {
    const auto v = ParseReal(piece, calc.DecimalChar());
    if (!v) {
        reason = DecimalShape(piece, calc.DecimalChar()) ? Reason::Overflow : Reason::InvalidSyntax;
        return false;
    }
    value = *v;
    text = calc.FormatValue(value);
    return true;
}
} // namespace

std::string CopyText(const Calculator& calc) {
    if (calc.Depth() == 0) return {};
    return ClipText(calc, calc.Stack().at(0));
}

std::string CopyStackText(const Calculator& calc) {
    std::string out;
    for (std::size_t i = calc.Depth(); i-- > 0;) {
        out += ClipText(calc, calc.Stack().at(i));
        out += '\n';
    }
    return out;
}

PasteParse ParsePaste(const Calculator& calc, std::string_view clipboard) {
    static constexpr std::string_view kMinusSign = "\u2212";
    PasteParse result;
    std::string piece;
    std::size_t i = 0;
    const std::size_t n = clipboard.size();
    while (i < n) {
        while (i < n && IsBlank(clipboard[i])) ++i;
        if (i >= n) break;
        std::size_t j = i;
        while (j < n && !IsBlank(clipboard[j])) ++j;
        piece.assign(clipboard.substr(i, j - i));
        for (std::size_t k; (k = piece.find(kMinusSign)) != std::string::npos;)
            piece.replace(k, kMinusSign.size(), "-");
        const bool marked = StartsWithMark(piece);
        if (marked) piece.erase(0, kDecimalMark.size());
        const bool decimal = marked || calc.CurrentBase() == Base::DEC;
        if (decimal && calc.DecimalChar() != '.' &&
            piece.find(calc.DecimalChar()) == std::string::npos) {
            // A number copied from a program that writes a point.
            for (char& c : piece)
                if (c == '.') c = calc.DecimalChar();
        }
        std::string text;
        Value value = 0;
        Reason reason = Reason::InvalidSyntax;
        bool ok;
        if (decimal) {
            ok = ReadDecimal(calc, piece, text, value, reason);
        } else {
            ok = calc.ParseEntry(piece, text, value);
            if (!ok && DigitsOfBase(piece, calc.CurrentBase())) reason = Reason::Overflow;
        }
        if (!ok) {
            result.ok = false;
            result.reason = reason;
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
        calc.Apply(CommandLabel(Cmd::Paste), [&](Calculator::Change& c) {
            c.ShowError("Paste", Quoted(parsed.badPiece), parsed.reason);
        });
        return false;
    }
    if (parsed.texts.empty()) return false;
    return calc.Apply(CommandLabel(Cmd::Paste), [&](Calculator::Change& c) {
        if (!c.CommitEntry()) return false;
        for (std::string& text : parsed.texts) c.PushText(std::move(text));
        // As if the last piece had been typed and entered.
        c.SetLastX(parsed.lastValue);
        c.ResetEntry();
        return true;
    });
}

} // namespace tallix
