// A quick reader for the settings file as this program writes it. The
// settings layer reads a file into a sorted map of every key with its value
// parsed, which for a saved stack of 100,000 entries takes longer than the
// rest of the start; this reads a file of the plain shape the settings layer
// writes for plain texts in one pass, and declines every other file, which
// the settings layer then reads as before. What it answers is exactly what
// the settings layer would answer for the same file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tallix::gui {

class PlainIni {
public:
    // Parses a whole file whose only section is `section`. The plain shape:
    // lines of `key=value` below the section's header line, and empty lines;
    // keys of letters and digits in parts joined by a backslash; values
    // empty, or of letters, digits, '.', '+', '-' and spaces between them,
    // or in double quotes with printable ASCII inside but no quote or
    // backslash, nor an '@' first. A file with anything else, or with a key
    // given twice, gives nothing. The values of `listGroup` named `listItem`
    // with an index ("Line0", "Line1", ...) are kept by their index, which
    // is how they are read.
    static std::optional<PlainIni> Parse(std::string_view file, std::string_view section,
                                         std::string_view listGroup, std::string_view listItem);

    // Whether a group or value name is one the file can answer for: letters
    // and digits, not empty. The settings layer rewrites other names first.
    static bool PlainName(std::string_view name);

    // The value of `group`/`name` (plain names), none when absent.
    std::optional<std::string> Find(std::string_view group, std::string_view name) const;

    // How many values the file holds.
    std::size_t Size() const { return listSize_ + others_.size(); }

private:
    std::string listGroup_;
    std::string listItem_;
    std::vector<std::optional<std::string>> list_; // by index; every index below the count
    std::size_t listSize_ = 0;
    // Every other value by its key below the section ("Window/Top"), sorted.
    std::vector<std::pair<std::string, std::string>> others_;
};

} // namespace tallix::gui
