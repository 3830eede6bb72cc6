#include "core/number/utf8.h"

namespace tallix {

std::string CutChars(std::string_view text, std::size_t n) {
    if (text.size() <= n) return std::string(text);
    std::size_t chars = 0, i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t len = 1;
        if (c >= 0xC0 && c < 0xE0)
            len = 2;
        else if (c >= 0xE0 && c < 0xF0)
            len = 3;
        else if (c >= 0xF0 && c < 0xF8)
            len = 4;
        if (i + len > text.size()) len = 1;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) len = 1;
        if (chars == n) break;
        ++chars;
        i += len;
    }
    return std::string(text.substr(0, i));
}

} // namespace tallix
