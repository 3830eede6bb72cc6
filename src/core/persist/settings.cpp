#include "core/persist/settings.h"

#include <algorithm>
#include <charconv>
#include <climits>
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

namespace {

// What a row's value reads as, for its binding to apply.
struct Read {
    std::int32_t i = 0;              // Int and Bool: the value, defaulted, checked and clamped
    Value number = 0;                // Number
    std::optional<std::string> text; // Text: the stored text, if any
    ScreenSize screen;
};

// One saved setting: where it is stored, how its text is read (its type,
// default, range), where it stands in a save, and the field it binds. Load,
// save and clamping all read this table; adding a saved setting is one row.
struct SettingRow {
    enum class Type { Int, Bool, Number, Text };
    std::string_view group;
    std::string_view key;
    Type type;
    std::int32_t fallback = 0;                   // Int: absent or not a whole number
    std::int32_t lo = INT32_MIN, hi = INT32_MAX; // Int: clamped into lo..hi
    bool refuseNegative = false; // Int: a negative value stops the load with a warning
    int saveRank = 0;            // the order within its group in a save
    void (*load)(Calculator::Change& calc, WindowSettings& window, const Read& value);
    // The stored text; none: not saved (an unset folder).
    std::optional<std::string> (*save)(const Calculator& calc, const WindowSettings& window);
};

std::optional<std::string> Flag(bool b) { return std::string(b ? "1" : "0"); }

using T = SettingRow::Type;
using C = Calculator::Change;
using W = WindowSettings;
using Cc = const Calculator;
using Cw = const WindowSettings;

// In the order a load reads them.
const SettingRow kSettings[] = {
    // A position beyond the screen's size keeps the design position;
    // negative positions are accepted.
    {kWindowGroup, "Top", T::Int, 5, INT32_MIN, INT32_MAX, false, 0,
     [](C&, W& w, const Read& r) {
         if (r.i < r.screen.height) w.Top = r.i;
     },
     [](Cc&, Cw& w) -> std::optional<std::string> { return IntText(w.Top); }},
    {kWindowGroup, "Left", T::Int, 5, INT32_MIN, INT32_MAX, false, 1,
     [](C&, W& w, const Read& r) {
         if (r.i < r.screen.width) w.Left = r.i;
     },
     [](Cc&, Cw& w) -> std::optional<std::string> { return IntText(w.Left); }},
    {kWindowGroup, "StayOnTop", T::Bool, 0, INT32_MIN, INT32_MAX, false, 2,
     [](C&, W& w, const Read& r) { w.StayOnTop = r.i != 0; },
     [](Cc&, Cw& w) { return Flag(w.StayOnTop); }},
    {kWindowGroup, "HideKeyboard", T::Bool, 0, INT32_MIN, INT32_MAX, false, 3,
     [](C&, W& w, const Read& r) { w.HideKeyboard = r.i != 0; },
     [](Cc&, Cw& w) { return Flag(w.HideKeyboard); }},
    {kWindowGroup, "HideNumbers", T::Bool, 0, INT32_MIN, INT32_MAX, false, 4,
     [](C&, W& w, const Read& r) { w.HideNumbers = r.i != 0; },
     [](Cc&, Cw& w) { return Flag(w.HideNumbers); }},
    {kWindowGroup, "Folder", T::Text, 0, INT32_MIN, INT32_MAX, false, 5,
     [](C&, W& w, const Read& r) { w.FileFolder = r.text.value_or(w.FileFolder); },
     [](Cc&, Cw& w) {
         return w.FileFolder.empty() ? std::nullopt : std::optional<std::string>(w.FileFolder);
     }},
    {kWindowGroup, "Theme", T::Text, 0, INT32_MIN, INT32_MAX, false, 6,
     [](C&, W& w, const Read& r) {
         w.ColourTheme = ThemeFromName(r.text.value_or("")).value_or(Theme::System);
     },
     [](Cc&, Cw& w) -> std::optional<std::string> {
         return std::string(ThemeName(w.ColourTheme));
     }},
    {kWindowGroup, "Zoom", T::Int, kDefaultZoom, INT32_MIN, INT32_MAX, false, 7,
     [](C&, W& w, const Read& r) { w.Zoom = ValidZoom(r.i); },
     [](Cc&, Cw& w) -> std::optional<std::string> { return IntText(ValidZoom(w.Zoom)); }},
    {kTapeGroup, "Shown", T::Bool, 0, INT32_MIN, INT32_MAX, false, 0,
     [](C&, W& w, const Read& r) { w.TapeShown = r.i != 0; },
     [](Cc&, Cw& w) { return Flag(w.TapeShown); }},
    {kTapeGroup, "Width", T::Int, 300, 100, 10000, false, 1,
     [](C&, W& w, const Read& r) { w.TapeWidth = r.i; },
     [](Cc&, Cw& w) -> std::optional<std::string> { return IntText(w.TapeWidth); }},
    {kTapeGroup, "Height", T::Int, 360, 100, 10000, false, 2,
     [](C&, W& w, const Read& r) { w.TapeHeight = r.i; },
     [](Cc&, Cw& w) -> std::optional<std::string> { return IntText(w.TapeHeight); }},
    {kSettingsGroup, "WordSize", T::Int, 16, 1, 56, false, 7,
     [](C& c, W&, const Read& r) { c.SetWordSize(r.i); },
     [](Cc& c, Cw&) -> std::optional<std::string> { return IntText(c.WordSize()); }},
    {kSettingsGroup, "FixLength", T::Int, -1, INT32_MIN, 18, false, 2,
     [](C& c, W&, const Read& r) { c.SetFixLength(r.i); },
     [](Cc& c, Cw&) -> std::optional<std::string> { return IntText(c.FixLength()); }},
    {kSettingsGroup, "ButtonTime", T::Int, 25, 1, 1000, true, 1,
     [](C&, W& w, const Read& r) { w.ButtonTime = r.i; },
     [](Cc&, Cw& w) -> std::optional<std::string> { return IntText(w.ButtonTime); }},
    {kSettingsGroup, "AngleMode", T::Int, 2, INT32_MIN, INT32_MAX, false, 0,
     [](C& c, W&, const Read& r) { c.SelectAngleMode(AngleUnitFromNumber(r.i)); },
     [](Cc& c, Cw&) -> std::optional<std::string> {
         return IntText(AngleUnitNumber(c.AngleMode()));
     }},
    {kSettingsGroup, "CurrentBase", T::Int, 10, INT32_MIN, INT32_MAX, false, 6,
     [](C& c, W&, const Read& r) { c.SelectBase(BaseFromNumber(r.i)); },
     [](Cc& c, Cw&) -> std::optional<std::string> { return IntText(BaseNumber(c.CurrentBase())); }},
    {kSettingsGroup, "LastX", T::Number, 0, INT32_MIN, INT32_MAX, false, 3,
     [](C& c, W&, const Read& r) { c.SetLastArgs(r.number, c.Calc().LastY(), c.Calc().LastNum()); },
     [](Cc& c, Cw&) -> std::optional<std::string> {
         return FormatStackValue(c.LastX(), c.DecimalChar());
     }},
    {kSettingsGroup, "LastY", T::Number, 0, INT32_MIN, INT32_MAX, false, 4,
     [](C& c, W&, const Read& r) { c.SetLastArgs(c.Calc().LastX(), r.number, c.Calc().LastNum()); },
     [](Cc& c, Cw&) -> std::optional<std::string> {
         return FormatStackValue(c.LastY(), c.DecimalChar());
     }},
    {kSettingsGroup, "LastNum", T::Int, 0, INT32_MIN, INT32_MAX, true, 5,
     [](C& c, W&, const Read& r) {
         c.SetLastArgs(c.Calc().LastX(), c.Calc().LastY(), static_cast<std::uint32_t>(r.i));
     },
     [](Cc& c, Cw&) -> std::optional<std::string> { return IntText(c.LastNum()); }},
};

Read ReadRow(SettingsStore& store, const SettingRow& row, char decimalChar, ScreenSize screen) {
    Read r;
    r.screen = screen;
    switch (row.type) {
    case T::Text: r.text = store.Read(row.group, row.key); break;
    case T::Number: r.number = ReadNumber(store, row.key, decimalChar); break;
    case T::Bool: r.i = ReadBool(store, row.group, row.key) ? 1 : 0; break;
    case T::Int: {
        std::int32_t v = ReadInt(store, row.group, row.key, row.fallback);
        if (row.refuseNegative) v = NotNegative(row.key, v);
        r.i = v < row.lo ? row.lo : v > row.hi ? row.hi : v;
        break;
    }
    }
    return r;
}

// The rows of a group in saving order.
std::vector<const SettingRow*> SaveOrder(std::string_view group) {
    std::vector<const SettingRow*> rows;
    for (const SettingRow& row : kSettings)
        if (row.group == group) rows.push_back(&row);
    std::sort(rows.begin(), rows.end(),
              [](const SettingRow* a, const SettingRow* b) { return a->saveRank < b->saveRank; });
    return rows;
}

} // namespace

LoadResult LoadSettings(SettingsStore& store, Calculator& calculator, WindowSettings& window,
                        ScreenSize screen) {
    LoadResult result;
    // What was saved is the calculator's state from here on: no step.
    calculator.Load([&](Calculator::Change& calc) {
        try {
            // Each value is in effect as soon as it is read: an early end
            // leaves the values read so far.
            for (const SettingRow& row : kSettings)
                row.load(calc, window, ReadRow(store, row, calculator.DecimalChar(), screen));

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
    static const std::vector<const SettingRow*> windowRows = SaveOrder(kWindowGroup);
    static const std::vector<const SettingRow*> settingsRows = SaveOrder(kSettingsGroup);
    static const std::vector<const SettingRow*> tapeRows = SaveOrder(kTapeGroup);
    SavedValues v;
    v.window.reserve(windowRows.size());
    v.settings.reserve(settingsRows.size());
    for (const SettingRow* row : windowRows)
        if (auto text = row->save(calc, window)) v.window.emplace_back(row->key, std::move(*text));
    for (const SettingRow* row : settingsRows)
        if (auto text = row->save(calc, window))
            v.settings.emplace_back(row->key, std::move(*text));
    for (const SettingRow* row : tapeRows)
        if (auto text = row->save(calc, window)) v.tape.emplace_back(row->key, std::move(*text));
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
        for (const auto& [name, text] : values.tape) store.Write(kTapeGroup, name, text);
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
