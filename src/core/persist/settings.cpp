#include "core/persist/settings.h"

#include <charconv>
#include <cstdint>

#include "core/number/numtext.h"

namespace tallix::persist {

namespace {

// A bad value that ends the load with the warning box.
struct BadSetting {
    std::string text;
};

// An integer value; absent, or not a whole number within 32 bits, gives the
// default.
std::int32_t ReadInt(SettingsStore& store, std::string_view group, std::string_view name,
                     std::int32_t fallback) {
    std::optional<std::string> text = store.Read(group, name);
    if (!text) return fallback;
    return ParseInt32(*text).value_or(fallback);
}

bool ReadBool(SettingsStore& store, std::string_view group, std::string_view name) {
    return ReadInt(store, group, name, 0) != 0;
}

// A number value; absent or unparsable gives 0.
Value ReadNumber(SettingsStore& store, std::string_view name, char decimalChar) {
    std::optional<std::string> text = store.Read(kSettingsGroup, name);
    if (!text) return 0;
    return ParseReal(*text, decimalChar).value_or(0);
}

std::int32_t NotNegative(std::string_view name, std::int32_t v) {
    if (v < 0)
        throw BadSetting{"\"" + std::string(name) + "\" = " + std::to_string(v) +
                         " is out of range"};
    return v;
}

std::string IntText(long long v) { return std::to_string(v); }

int BaseNumber(Base b) {
    switch (b) {
    case Base::BIN: return 2;
    case Base::OCT: return 8;
    case Base::HEX: return 16;
    case Base::DEC: break;
    }
    return 10;
}

Base BaseFromNumber(std::int32_t n) {
    switch (n) {
    case 2: return Base::BIN;
    case 8: return Base::OCT;
    case 16: return Base::HEX;
    default: return Base::DEC;
    }
}

} // namespace

std::string StackLineName(std::size_t index) {
    char buf[4 + 20] = {'L', 'i', 'n', 'e'};
    auto [end, ec] = std::to_chars(buf + 4, buf + sizeof buf, index);
    (void)ec; // 20 digits always fit
    return std::string(buf, end);
}

LoadResult LoadSettings(SettingsStore& store, Calculator& calculator, WindowSettings& window,
                        ScreenSize screen) {
    LoadResult result;
    // What was saved is the calculator's state from here on: no step.
    calculator.Load([&](Calculator::Change& calc) {
        try {
            // A position beyond the screen's size keeps the design position;
            // negative positions are accepted.
            const std::int32_t top = ReadInt(store, kWindowGroup, "Top", 5);
            if (top < screen.height) window.Top = top;
            const std::int32_t left = ReadInt(store, kWindowGroup, "Left", 5);
            if (left < screen.width) window.Left = left;
            window.StayOnTop = ReadBool(store, kWindowGroup, "StayOnTop");
            window.HideKeyboard = ReadBool(store, kWindowGroup, "HideKeyboard");
            window.HideNumbers = ReadBool(store, kWindowGroup, "HideNumbers");
            window.FileFolder = store.Read(kWindowGroup, "Folder").value_or(window.FileFolder);

            std::int32_t wordSize = ReadInt(store, kSettingsGroup, "WordSize", 16);
            calc.SetWordSize(wordSize < 1 ? 1 : wordSize > 56 ? 56 : wordSize);
            std::int32_t fix = ReadInt(store, kSettingsGroup, "FixLength", -1);
            calc.SetFixLength(fix > 18 ? 18 : fix);
            std::int32_t buttonTime =
                NotNegative("ButtonTime", ReadInt(store, kSettingsGroup, "ButtonTime", 25));
            window.ButtonTime = buttonTime < 1 ? 1 : buttonTime > 1000 ? 1000 : buttonTime;

            calc.SelectAngleMode(ReadInt(store, kSettingsGroup, "AngleMode", 2));
            calc.SelectBase(BaseFromNumber(ReadInt(store, kSettingsGroup, "CurrentBase", 10)));

            const char dc = calculator.DecimalChar();
            const Calculator& now = calc.Calc();
            calc.SetLastArgs(ReadNumber(store, "LastX", dc), now.LastY(), now.LastNum());
            calc.SetLastArgs(now.LastX(), ReadNumber(store, "LastY", dc), now.LastNum());
            calc.SetLastArgs(now.LastX(), now.LastY(),
                             static_cast<std::uint32_t>(NotNegative(
                                 "LastNum", ReadInt(store, kSettingsGroup, "LastNum", 0))));

            // Only an absent value ends the list: an empty entry is a real entry
            // (a stack file can bring one) and must not cut off those below it.
            std::vector<std::string> levels;
            for (std::size_t i = 0;; ++i) {
                std::optional<std::string> text = store.Read(kStackGroup, StackLineName(i));
                if (!text) break;
                levels.push_back(std::move(*text));
            }
            calc.ReplaceStack(std::move(levels));
            result.stackLoaded = true;
            calc.ResetEntry();
        } catch (const StoreError& e) {
            result.end = LoadResult::End::StoreError;
            result.storeError = e.what();
        } catch (const BadSetting& e) {
            result.end = LoadResult::End::Warning;
            result.warning = "Something is wrong: " + e.text;
        }
    });
    return result;
}

SavedValues CaptureValues(const Calculator& calc, const WindowSettings& window) {
    SavedValues v;
    v.window = {
        {"Top", IntText(window.Top)},
        {"Left", IntText(window.Left)},
        {"StayOnTop", window.StayOnTop ? "1" : "0"},
        {"HideKeyboard", window.HideKeyboard ? "1" : "0"},
        {"HideNumbers", window.HideNumbers ? "1" : "0"},
    };
    if (!window.FileFolder.empty()) v.window.emplace_back("Folder", window.FileFolder);
    v.settings = {
        {"AngleMode", IntText(calc.AngleMode())},
        {"ButtonTime", IntText(window.ButtonTime)},
        {"FixLength", IntText(calc.FixLength())},
        {"LastX", FormatStackValue(calc.LastX(), calc.DecimalChar())},
        {"LastY", FormatStackValue(calc.LastY(), calc.DecimalChar())},
        {"LastNum", IntText(calc.LastNum())},
        {"CurrentBase", IntText(BaseNumber(calc.CurrentBase()))},
        {"WordSize", IntText(calc.WordSize())},
    };
    return v;
}

std::optional<std::string> SaveState(SettingsStore& store, const SavedValues& values,
                                     const std::vector<std::string>* stack) {
    try {
        // What another instance wrote since this one last read must be
        // known here, or removing the group would leave its lines behind.
        store.Reload();
        for (const auto& [name, text] : values.window) store.Write(kWindowGroup, name, text);
        for (const auto& [name, text] : values.settings) store.Write(kSettingsGroup, name, text);
        if (stack) {
            store.RemoveGroup(kStackGroup);
            for (std::size_t i = 0; i < stack->size(); ++i)
                store.Write(kStackGroup, StackLineName(i), (*stack)[i]);
        }
        store.Flush();
    } catch (const StoreError& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

std::optional<std::string> SaveSettings(SettingsStore& store, const Calculator& calc,
                                        const WindowSettings& window) {
    const std::vector<std::string> levels = calc.StackLevels();
    return SaveState(store, CaptureValues(calc, window), &levels);
}

Rect PlaceOnScreens(Rect window, const std::vector<Rect>& screens) {
    if (screens.empty()) return window;
    // Compare in 64 bits: a stored position may be near the int limits.
    const long long l = window.left, t = window.top;
    const long long r = l + (window.width > 0 ? window.width : 1);
    const long long b = t + (window.height > 0 ? window.height : 1);
    for (const Rect& s : screens) {
        const long long sl = s.left, st = s.top;
        const long long sr = sl + s.width, sb = st + s.height;
        if (l < sr && sl < r && t < sb && st < b) return window;
    }
    window.left = 5;
    window.top = 5;
    return window;
}

} // namespace tallix::persist
