// The place where settings and the stack wait between runs: named string
// values in the groups "Window", "Settings" and "Stack" below the program's
// "CurrentVersion" key. The window backs it with the platform's settings
// store; tests and tools use the in-memory store.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tallix::persist {

inline constexpr std::string_view kWindowGroup = "Window";
inline constexpr std::string_view kSettingsGroup = "Settings";
inline constexpr std::string_view kStackGroup = "Stack";

// A failure of the store itself: it cannot be read or written, or a value is
// held in a form other than a string.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The string value `name` of `group`; nullopt when the value or its group
    // is absent. Throws StoreError.
    virtual std::optional<std::string> Read(std::string_view group, std::string_view name) = 0;
    // Creates the group as needed. Throws StoreError.
    virtual void Write(std::string_view group, std::string_view name, std::string_view value) = 0;
    // Removes the group with all its values; nothing when it is absent.
    // Throws StoreError.
    virtual void RemoveGroup(std::string_view group) = 0;
    // Makes the changes so far permanent (a store may buffer them), in one
    // atomic step: a reader sees all of them or none. Throws StoreError.
    virtual void Flush() {}
    // Reads again what is stored, which another process may have changed
    // since this store last looked; called with no changes pending, first
    // thing in a save. Throws StoreError when the store cannot be written
    // now (the save then ends before it has changed anything).
    virtual void Reload() {}
    // Opens another store on the same storage, for use by the thread that
    // calls it (which may be any thread) while this one stays idle; empty
    // when the store cannot be shared.
    using Opener = std::function<std::unique_ptr<SettingsStore>()>;
    virtual Opener OpenerOfAnother() const { return {}; }
    // Where the values are kept (a file name), for messages.
    virtual std::string Location() const { return {}; }
};

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
