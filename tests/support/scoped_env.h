// Sets an environment variable for the life of the object, and puts back
// what was there before.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tallix::testing {

// setenv and unsetenv, or Windows' _putenv_s (an empty value removes).
inline void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");
#else
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
#endif
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        SetEnv(name, value);
    }
    ~ScopedEnv() { SetEnv(name_, old_ ? old_->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace tallix::testing
