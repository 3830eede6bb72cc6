#include "gui/settings/plainini.h"

#include <algorithm>
#include <charconv>

namespace tallix::gui {

namespace {

bool Alnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A value written without quotes that the settings layer reads back as the
// same text: no comma to make a list of it, no comment, escape or type mark,
// and spaces only inside (the ends are trimmed).
bool PlainChar(char c) { return Alnum(c) || c == '.' || c == '+' || c == '-' || c == ' '; }

// Inside double quotes everything printable stands for itself but the
// quote and the backslash.
bool QuotedChar(char c) { return c >= 0x20 && c <= 0x7e && c != '"' && c != '\\'; }

// The text a value stands for, when it is plain: a view into the file.
std::optional<std::string_view> PlainValue(std::string_view v) {
    if (!v.empty() && v.front() == '"') {
        if (v.size() < 2 || v.back() != '"') return std::nullopt;
        v = v.substr(1, v.size() - 2);
        // A leading '@' marks a type even inside the quotes ("@@" stands
        // for one '@').
        if (!v.empty() && v.front() == '@') return std::nullopt;
        if (!std::all_of(v.begin(), v.end(), QuotedChar)) return std::nullopt;
        return v;
    }
    if (!std::all_of(v.begin(), v.end(), PlainChar)) return std::nullopt;
    if (!v.empty() && (v.front() == ' ' || v.back() == ' ')) return std::nullopt;
    return v;
}

// Parts of letters and digits joined by single backslashes.
bool PlainKey(std::string_view key) {
    if (key.empty() || key.front() == '\\' || key.back() == '\\') return false;
    char last = '\\';
    for (char c : key) {
        if (c == '\\' && last == '\\') return false;
        if (c != '\\' && !Alnum(c)) return false;
        last = c;
    }
    return true;
}

// The index of `name` when it is `item` followed by a number written as the
// program writes it (no leading zero, no sign); "Line01" is another name.
std::optional<std::size_t> ItemIndex(std::string_view name, std::string_view item) {
    if (name.size() <= item.size() || name.substr(0, item.size()) != item) return std::nullopt;
    const std::string_view digits = name.substr(item.size());
    if (digits.size() > 9 || (digits.size() > 1 && digits.front() == '0')) return std::nullopt;
    std::size_t index = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return index;
}

std::string SlashKey(std::string_view key) {
    std::string k(key);
    std::replace(k.begin(), k.end(), '\\', '/');
    return k;
}

} // namespace

std::optional<PlainIni> PlainIni::Parse(std::string_view file, std::string_view section,
                                        std::string_view listGroup, std::string_view listItem) {
    PlainIni ini;
    ini.listGroup_ = listGroup;
    ini.listItem_ = listItem;
    // The values are seen first and kept as views into the file; each text
    // is copied once, to where it is looked up.
    struct Item {
        std::size_t index;
        std::string_view key;
        std::string_view text;
    };
    std::vector<Item> items;
    items.reserve(static_cast<std::size_t>(std::count(file.begin(), file.end(), '\n')) + 1);
    std::vector<std::pair<std::string_view, std::string_view>> others;
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < file.size()) {
        std::size_t end = file.find('\n', pos);
        if (end == std::string_view::npos) end = file.size();
        const std::string_view line = file.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty()) continue;
        if (line.front() == '[') {
            // One header, the section's, before every value.
            if (inSection || line.size() != section.size() + 2 || line.back() != ']' ||
                line.substr(1, section.size()) != section)
                return std::nullopt;
            inSection = true;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inSection || eq == std::string_view::npos) return std::nullopt;
        const std::string_view key = line.substr(0, eq);
        const std::optional<std::string_view> text = PlainValue(line.substr(eq + 1));
        if (!text || !PlainKey(key)) return std::nullopt;
        const std::size_t slash = key.find('\\');
        if (slash != std::string_view::npos &&
            key.find('\\', slash + 1) == std::string_view::npos &&
            key.substr(0, slash) == listGroup) {
            if (const auto index = ItemIndex(key.substr(slash + 1), listItem)) {
                items.push_back({*index, key, *text});
                continue;
            }
        }
        others.emplace_back(key, *text);
    }
    // Only indexes below the number of items can be reached counting up
    // from 0; the rest are kept by their name like any other value.
    ini.list_.resize(items.size());
    for (const Item& item : items) {
        if (item.index >= ini.list_.size()) {
            others.emplace_back(item.key, item.text);
            continue;
        }
        if (ini.list_[item.index]) return std::nullopt; // given twice
        ini.list_[item.index].emplace(item.text);
        ++ini.listSize_;
    }
    ini.others_.reserve(others.size());
    for (const auto& [key, text] : others) ini.others_.emplace_back(SlashKey(key), text);
    std::sort(ini.others_.begin(), ini.others_.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    const auto twice =
        std::adjacent_find(ini.others_.begin(), ini.others_.end(),
                           [](const auto& a, const auto& b) { return a.first == b.first; });
    if (twice != ini.others_.end()) return std::nullopt;
    return ini;
}

bool PlainIni::PlainName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), Alnum);
}

std::optional<std::string> PlainIni::Find(std::string_view group, std::string_view name) const {
    if (group == listGroup_) {
        if (const auto index = ItemIndex(name, listItem_); index && *index < list_.size())
            return list_[*index];
    }
    std::string key(group);
    key += '/';
    key += name;
    const auto it =
        std::lower_bound(others_.begin(), others_.end(), key,
                         [](const auto& entry, const std::string& k) { return entry.first < k; });
    if (it == others_.end() || it->first != key) return std::nullopt;
    return it->second;
}

} // namespace tallix::gui
