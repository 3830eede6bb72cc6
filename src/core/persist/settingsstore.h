// The place where settings and the stack wait between runs: named string
// values in the groups "Window", "Settings" and "Stack" below the program's
// "CurrentVersion" key. The window backs it with the platform's settings
// store; the tests use one held in memory.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tallix::persist {

inline constexpr std::string_view kWindowGroup = "Window";
inline constexpr std::string_view kSettingsGroup = "Settings";
inline constexpr std::string_view kStackGroup = "Stack";
inline constexpr std::string_view kTapeGroup = "Tape";

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

} // namespace tallix::persist
