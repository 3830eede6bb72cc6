#include "memory_store.h"

#include <algorithm>
#include <vector>

namespace tallix::persist {

void MemorySettingsStore::CheckBroken(std::string_view group, std::string_view name) const {
    if (broken_.count({std::string(group), std::string(name)}))
        throw StoreError("the value \"" + std::string(name) + "\" of \"" + std::string(group) +
                         "\" is not a string");
}

std::optional<std::string> MemorySettingsStore::Read(std::string_view group,
                                                     std::string_view name) {
    CheckBroken(group, name);
    auto g = groups_.find(group);
    if (g == groups_.end()) return std::nullopt;
    auto v = g->second.find(name);
    if (v == g->second.end()) return std::nullopt;
    return v->second;
}

void MemorySettingsStore::Write(std::string_view group, std::string_view name,
                                std::string_view value) {
    if (writesBroken_) throw StoreError("the settings store is read-only");
    CheckBroken(group, name);
    auto g = groups_.find(group);
    if (g == groups_.end()) g = groups_.emplace(std::string(group), Group{}).first;
    auto v = g->second.find(name);
    if (v == g->second.end())
        g->second.emplace(std::string(name), std::string(value));
    else
        v->second.assign(value);
}

void MemorySettingsStore::RemoveGroup(std::string_view group) {
    if (writesBroken_) throw StoreError("the settings store is read-only");
    auto g = groups_.find(group);
    if (g != groups_.end()) groups_.erase(g);
}

void MemorySettingsStore::RemoveValue(std::string_view group, std::string_view name) {
    if (writesBroken_) throw StoreError("the settings store is read-only");
    auto g = groups_.find(group);
    if (g == groups_.end()) return;
    auto v = g->second.find(name);
    if (v != g->second.end()) g->second.erase(v);
    if (g->second.empty()) groups_.erase(g);
}

bool MemorySettingsStore::HasGroup(std::string_view group) const {
    return groups_.find(group) != groups_.end();
}

std::size_t MemorySettingsStore::ValueCount(std::string_view group) const {
    auto g = groups_.find(group);
    return g == groups_.end() ? 0 : g->second.size();
}

void MemorySettingsStore::Break(std::string_view group, std::string_view name) {
    broken_.emplace(std::string(group), std::string(name));
}

namespace {

void AppendEscaped(std::string& out, std::string_view s) {
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\0': out += "\\0"; break;
        case '[': out += "\\o"; break; // so that no value line reads as a group line
        case '=': out += "\\q"; break; // so that the first '=' ends the name
        default: out += c;
        }
    }
}

std::string Unescaped(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i == s.size()) throw StoreError("a backslash ends a line");
        switch (s[i]) {
        case '\\': out += '\\'; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case '0': out += '\0'; break;
        case 'o': out += '['; break;
        case 'q': out += '='; break;
        default: throw StoreError("unknown escape");
        }
    }
    return out;
}

} // namespace

std::string MemorySettingsStore::ToText() const {
    std::string out;
    for (const auto& [group, values] : groups_) {
        out += '[';
        AppendEscaped(out, group);
        out += "]\n";
        // In name order, so that equal stores give equal texts.
        std::vector<const Group::value_type*> sorted;
        sorted.reserve(values.size());
        for (const auto& value : values) sorted.push_back(&value);
        std::sort(sorted.begin(), sorted.end(),
                  [](const auto* a, const auto* b) { return a->first < b->first; });
        for (const auto* entry : sorted) {
            const auto& [name, value] = *entry;
            AppendEscaped(out, name);
            out += '=';
            AppendEscaped(out, value);
            out += '\n';
        }
    }
    return out;
}

MemorySettingsStore MemorySettingsStore::FromText(std::string_view text) {
    MemorySettingsStore store;
    Group* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) throw StoreError("the last line has no line end");
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            std::string name = Unescaped(line.substr(1, line.size() - 2));
            current = &store.groups_[name];
            continue;
        }
        std::size_t eq = line.find('=');
        if (!current || eq == std::string_view::npos) throw StoreError("a line is no value");
        current->insert_or_assign(Unescaped(line.substr(0, eq)), Unescaped(line.substr(eq + 1)));
    }
    return store;
}

} // namespace tallix::persist
