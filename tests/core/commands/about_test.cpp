// The About box's text, and the licence it names against the LICENSE file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/commands/about.h"

namespace {

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(AboutText, VersionToolkitAndSettingsFile) {
    struct Case {
        const char* file;
        const char* settingsLine;
    };
    const Case cases[] = {
        {"/home/u/.config/Quorin/Tallix.conf",
         "\nSettings and stack: /home/u/.config/Quorin/Tallix.conf"},
        {"", "\nSettings and stack are not kept between runs."},
    };
    for (const Case& c : cases) {
        const std::string text = tallix::AboutText({"1.2.3", "6.4.2", c.file});
        EXPECT_TRUE(text.starts_with("Tallix 1.2.3\n")) << text;
        EXPECT_NE(text.find("\nQt 6.4.2\n"), std::string::npos) << text;
        EXPECT_TRUE(text.ends_with(c.settingsLine)) << text;
    }
}

// The box names the licence and the copyright holder of the LICENSE file
// beside the sources.
TEST(AboutText, TheLicenceOfTheLicenseFile) {
    const std::string licence =
        FileText(std::filesystem::path(TALLIX_README).parent_path() / "LICENSE");
    ASSERT_FALSE(licence.empty());
    EXPECT_TRUE(licence.starts_with("MIT License\n"));
    EXPECT_NE(licence.find("\nCopyright (c) 2026 Quorin\n"), std::string::npos);
    const std::string text = tallix::AboutText({"1", "6", ""});
    EXPECT_NE(text.find("\nCopyright (c) 2026 Quorin\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nReleased under the MIT licence.\n"), std::string::npos) << text;
}

} // namespace
