// How the settings dump tool writes a value: backslash doubled, bytes
// outside printable ASCII as \xHH, so every value fits on one line.
#pragma once

#include <cstdio>
#include <string>

namespace tallix::gui::test {

inline std::string EscapeValue(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c > 0x7e) {
            char buf[5];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace tallix::gui::test
