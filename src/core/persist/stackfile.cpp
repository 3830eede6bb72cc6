#include "core/persist/stackfile.h"

namespace tallix::persist {

std::vector<std::string> SplitStackText(std::string_view bytes) {
    std::vector<std::string> entries;
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while (p != end && *p != '\0') {
        const char* start = p;
        while (p != end && *p != '\0' && *p != '\r' && *p != '\n') ++p;
        entries.emplace_back(start, p);
        if (p != end && *p == '\r') ++p;
        if (p != end && *p == '\n') ++p;
    }
    return entries;
}

namespace {

// Every entry followed by CR LF, for any list that hands out its entries
// level 1 first.
template <typename EntryAt> std::string Join(std::size_t n, EntryAt entryAt) {
    std::size_t total = 0;
    for (std::size_t i = 0; i < n; ++i) total += entryAt(i).size() + 2;
    std::string out;
    out.reserve(total);
    for (std::size_t i = 0; i < n; ++i) {
        out += entryAt(i);
        out += "\r\n";
    }
    return out;
}

} // namespace

std::string JoinStackText(const TextStack& stack) {
    return Join(stack.size(), [&](std::size_t i) -> const std::string& { return stack.at(i); });
}

std::string JoinStackText(const std::vector<std::string>& levelsTopFirst) {
    return Join(levelsTopFirst.size(),
                [&](std::size_t i) -> const std::string& { return levelsTopFirst[i]; });
}

FileStatus LoadStackFile(const std::string& path, Calculator::Change& calc) {
    std::string bytes;
    FileStatus status = ReadWholeFile(path, bytes);
    if (status) calc.ReplaceStack(SplitStackText(bytes));
    return status;
}

FileStatus SaveStackFile(const std::string& path, const Calculator& calc) {
    return WriteWholeFile(path, JoinStackText(calc.Stack()));
}

} // namespace tallix::persist
