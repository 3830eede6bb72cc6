#include "core/commands/about.h"

namespace tallix {

std::string AboutText(const AboutFacts& facts) {
    std::string text = "Tallix " + std::string(facts.version) + "\n";
    text += "An RPN scientific calculator.\n\n";
    text += "Copyright (c) 2026 Quorin\n";
    text += "Released under the MIT licence.\n\n";
    text += "Qt " + std::string(facts.toolkitVersion) + "\n";
    if (facts.settingsFile.empty())
        text += "Settings and stack are not kept between runs.";
    else
        text += "Settings and stack: " + std::string(facts.settingsFile);
    return text;
}

} // namespace tallix
