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

std::size_t PrintableLength(std::string_view text, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    if (c < 0x80) return c < 0x20 || c == 0x7F ? 0 : 1;
    // The lead byte says the length and narrows the second byte's range.
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        if (c == 0xC2) lo = 0xA0; // U+0080..U+009F are the C1 controls
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F; // the surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    }
    if (len == 0 || i + len > text.size() || byte(i + 1) < lo || byte(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < len; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    return len;
}

std::string VisibleText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = PrintableLength(text, i);
        if (len == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, len));
            i += len;
        }
    }
    return out;
}

} // namespace tallix
