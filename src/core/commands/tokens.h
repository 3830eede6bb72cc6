// Batch tokens: how a line of batch input splits into tokens, and what a
// token that is no command name does. Besides a number, entered in the
// current base, a token may be a literal text in double quotes, pushed
// exactly as written ("1.50", "a b", "\x07"), or the last arguments, set
// exactly (LAST=2;3). Batch mode, the tape's script and its replay all
// read tokens here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/calc/calculator.h"

namespace tallix {

// The name of the step a LAST= token runs as.
inline constexpr std::string_view kLastArgsLabel = "Last Arguments";

// The next token of a line from `pos` on. Tokens are separated by white
// space; "#" starts a comment to the end of the line, except inside a
// literal, which runs to its closing quote. False at the end. Inline: batch
// mode splits millions of tokens.
inline bool NextToken(std::string_view line, std::size_t& pos, std::string_view& token) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
    };
    const std::size_t n = line.size();
    std::size_t i = pos;
    while (i < n && blank(line[i])) ++i;
    if (i >= n || line[i] == '#') {
        pos = n;
        return false;
    }
    std::size_t j = i;
    if (line[j] == '"') {
        for (++j; j < n && line[j] != '"'; ++j)
            if (line[j] == '\\') ++j;
        j = j < n ? j + 1 : n;
    }
    while (j < n && !blank(line[j]) && line[j] != '#') ++j;
    token = line.substr(i, j - i);
    pos = j;
    return true;
}

// A literal: the text between double quotes, with \" for a quote, \\ for a
// backslash and \xHH for any byte. Written, every byte that starts no
// printable character is escaped, so that a script stays one line of
// plain text per token line.
std::string LiteralToken(std::string_view text);
// The text of a literal; nothing for a token that is none.
std::optional<std::string> ReadLiteral(std::string_view token);

// LAST=Y;X, LAST=X or LAST=, as LAST would give the last arguments back
// (two, one, none), each an exact decimal text of its value.
std::string LastArgsToken(Value x, Value y, std::uint32_t count, char decimalChar);
std::string LastArgsToken(const Calculator& calc);

// Runs a token that is no command name inside an open step: a literal is
// pushed (a text that reads as a number makes its value the last argument,
// as an entered number does), LAST= sets the last arguments, anything else
// is entered as a number in the current base. False, with nothing changed,
// when the token is none of them.
bool EnterToken(Calculator::Change& c, std::string_view token);

// Runs one token as batch mode does: a command name as RunAsNamed does,
// anything else through EnterToken in a step of its own (named kEntryLabel
// or kLastArgsLabel). False, with nothing changed, when the token is
// nothing.
bool RunToken(Calculator& calc, std::string_view token);

} // namespace tallix
