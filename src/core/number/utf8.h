// Cutting texts by characters rather than bytes, so that a limit never
// splits a character such as "÷".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tallix {

// The one rule by which every text is cut and counted in characters: a
// complete UTF-8 sequence (a lead byte and as many continuation bytes as it
// announces) is one character; any other byte, a stray continuation byte or
// the lead of a cut-off sequence, is a character of its own. So a cut never
// splits a valid character, and n characters are never more than 4n bytes,
// whatever the bytes are.

// The length in bytes of the character that starts at text[i] (i < size).
std::size_t CharLength(std::string_view text, std::size_t i);
// The first n characters of a UTF-8 text.
std::string CutChars(std::string_view text, std::size_t n);
// The number of characters of a UTF-8 text, counted as CutChars counts.
std::size_t CountChars(std::string_view text);
// The last n characters of a UTF-8 text.
std::string LastChars(std::string_view text, std::size_t n);

// The length in bytes of the printable character that starts at text[i]
// (i < size): a well-formed UTF-8 sequence (no overlong form, no
// surrogate, nothing beyond U+10FFFF) that is no control character (C0,
// DEL, C1). 0 when the byte there starts none.
std::size_t PrintableLength(std::string_view text, std::size_t i);
// The text with every byte that starts no printable character replaced by
// U+FFFD, so that a listing never carries a control byte or broken UTF-8.
std::string VisibleText(std::string_view text);

} // namespace tallix
