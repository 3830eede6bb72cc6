// Cutting texts by characters rather than bytes, so that a limit never
// splits a character such as "÷".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tallix {

// The first n characters of a UTF-8 text (invalid bytes count as one).
std::string CutChars(std::string_view text, std::size_t n);
// The number of characters of a UTF-8 text, counted as CutChars counts.
std::size_t CountChars(std::string_view text);
// The last n characters of a UTF-8 text.
std::string LastChars(std::string_view text, std::size_t n);

} // namespace tallix
