#include "core/commands/tokens.h"

#include "core/commands/dispatch.h"
#include "core/number/numtext.h"
#include "core/number/utf8.h"

namespace tallix {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "LAST=" in any case, as command names are.
bool IsLastArgs(std::string_view token) {
    if (token.size() < 5 || token[4] != '=') return false;
    for (std::size_t i = 0; i < 4; ++i)
        if ((token[i] & ~0x20) != "LAST"[i]) return false;
    return true;
}

// The values after "LAST=": none, X, or Y;X.
bool SetLastArgs(Calculator::Change& c, std::string_view values) {
    const Calculator& calc = c.Calc();
    if (values.empty()) {
        c.SetLastArgs(calc.LastX(), calc.LastY(), 0);
        return true;
    }
    const std::size_t semi = values.find(';');
    const auto x =
        ParseReal(values.substr(semi == std::string_view::npos ? 0 : semi + 1), calc.DecimalChar());
    if (semi == std::string_view::npos) {
        if (!x) return false;
        c.SetLastX(*x);
        return true;
    }
    const auto y = ParseReal(values.substr(0, semi), calc.DecimalChar());
    if (!x || !y) return false;
    c.SetLastArgs(*x, *y, 2);
    return true;
}

} // namespace

std::string LiteralToken(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = PrintableLength(text, i);
        if (len == 0) {
            const auto b = static_cast<unsigned char>(text[i++]);
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 15];
            continue;
        }
        if (text[i] == '"' || text[i] == '\\') out += '\\';
        out.append(text.substr(i, len));
        i += len;
    }
    return out += '"';
}

std::optional<std::string> ReadLiteral(std::string_view token) {
    if (token.size() < 2 || token.front() != '"' || token.back() != '"') return std::nullopt;
    const std::string_view body = token.substr(1, token.size() - 2);
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '"') return std::nullopt;
        if (body[i] != '\\') {
            out += body[i];
            continue;
        }
        if (++i >= body.size()) return std::nullopt;
        if (body[i] == '"' || body[i] == '\\') {
            out += body[i];
        } else if (body[i] == 'x' && i + 2 < body.size() && HexDigit(body[i + 1]) >= 0 &&
                   HexDigit(body[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(body[i + 1]) * 16 + HexDigit(body[i + 2]));
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::string LastArgsToken(Value x, Value y, std::uint32_t count, char decimalChar) {
    std::string out = "LAST=";
    if (count == 2) out += FormatExact(y, decimalChar) + ';';
    if (count >= 1) out += FormatExact(x, decimalChar);
    return out;
}

std::string LastArgsToken(const Calculator& calc) {
    return LastArgsToken(calc.LastX(), calc.LastY(), calc.LastNum(), calc.DecimalChar());
}

bool EnterToken(Calculator::Change& c, std::string_view token) {
    if (!token.empty() && token.front() == '"') {
        std::optional<std::string> text = ReadLiteral(token);
        if (!text) return false;
        const std::optional<Value> v = ParseReal(*text, c.Calc().DecimalChar());
        c.PushText(std::move(*text));
        if (v) c.SetLastX(*v);
        c.ResetEntry();
        return true;
    }
    if (IsLastArgs(token)) return SetLastArgs(c, token.substr(5));
    std::string text;
    Value value = 0;
    if (!c.Calc().ParseEntry(token, text, value)) return false;
    c.PushText(std::move(text));
    c.SetLastX(value);
    c.ResetEntry();
    return true;
}

bool RunToken(Calculator& calc, std::string_view token) {
    if (const CommandDef* def = FindCommand(token)) {
        RunAsNamed(calc, *def);
        return true;
    }
    return calc.Apply(IsLastArgs(token) ? kLastArgsLabel : kEntryLabel, [&](Calculator::Change& c) {
        if (EnterToken(c, token)) return true;
        c.CommandFailed();
        return false;
    });
}

} // namespace tallix
