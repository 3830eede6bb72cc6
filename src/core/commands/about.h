// The text of the About box.
#pragma once

#include <string>
#include <string_view>

namespace tallix {

struct AboutFacts {
    std::string_view version;        // the program's version, "1.0.0"
    std::string_view toolkitVersion; // the version of the toolkit the window runs on
    std::string_view settingsFile;   // where settings and stack are kept; empty: nowhere
};

// The program's name and version, what it is, its copyright and licence,
// the toolkit's version and the settings file, in lines separated by "\n".
std::string AboutText(const AboutFacts& facts);

} // namespace tallix
