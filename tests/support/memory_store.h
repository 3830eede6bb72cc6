// A settings store held in memory for the tests and benchmarks. It can be
// turned into text and read back, which stands in for a restart, and it can
// be told to fail on chosen values.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/persist/settingsstore.h"

namespace tallix::persist {

// Values held in memory. It can be turned into text and read back, which
// stands in for a restart, and it can be told to fail on chosen values.
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> Read(std::string_view group, std::string_view name) override;
    void Write(std::string_view group, std::string_view name, std::string_view value) override;
    void RemoveGroup(std::string_view group) override;
    // Removes one value; nothing when it is absent. Throws StoreError.
    void RemoveValue(std::string_view group, std::string_view name);

    bool HasGroup(std::string_view group) const;
    std::size_t ValueCount(std::string_view group) const;

    // Reading or writing this value throws StoreError from now on, as a value
    // of the wrong type would.
    void Break(std::string_view group, std::string_view name);
    // Every write (and removal) throws StoreError from now on.
    void BreakWrites() { writesBroken_ = true; }

    // One "[group]" line per group, then one "name=value" line per value,
    // with backslash, CR, LF, NUL, "[" and "=" escaped.
    std::string ToText() const;
    // Throws StoreError on text that ToText cannot have written.
    static MemorySettingsStore FromText(std::string_view text);

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    using Group = std::unordered_map<std::string, std::string, Hash, std::equal_to<>>;
    std::map<std::string, Group, std::less<>> groups_;
    std::set<std::pair<std::string, std::string>> broken_;
    bool writesBroken_ = false;

    void CheckBroken(std::string_view group, std::string_view name) const;
};

} // namespace tallix::persist
