// The place where settings and the stack wait between runs: named string
// values in the groups "Window", "Settings" and "Stack" below the program's
// "CurrentVersion" key. The window backs it with the platform's settings
// store; the tests use one held in memory.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

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
    // Makes the changes so far permanent (a store may buffer them).
    // Throws StoreError.
    virtual void Flush() {}
};

} // namespace tallix::persist
