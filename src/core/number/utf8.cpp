#include "core/number/utf8.h"

namespace tallix {

std::size_t CharLength(std::string_view text, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t len = 1;
    if (c >= 0xC0 && c < 0xE0)
        len = 2;
    else if (c >= 0xE0 && c < 0xF0)
        len = 3;
    else if (c >= 0xF0 && c < 0xF8)
        len = 4;
    if (i + len > text.size()) return 1;
    for (std::size_t k = 1; k < len; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 1;
    return len;
}

std::string CutChars(std::string_view text, std::size_t n) {
    if (text.size() <= n) return std::string(text);
    std::size_t chars = 0, i = 0;
    while (i < text.size() && chars < n) {
        i += CharLength(text, i);
        ++chars;
    }
    return std::string(text.substr(0, i));
}

std::size_t CountChars(std::string_view text) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) ++chars;
    return chars;
}

std::string LastChars(std::string_view text, std::size_t n) {
    const std::size_t count = CountChars(text);
    if (count <= n) return std::string(text);
    std::size_t i = 0;
    for (std::size_t skip = count - n; skip > 0; --skip) i += CharLength(text, i);
    return std::string(text.substr(i));
}

} // namespace tallix
