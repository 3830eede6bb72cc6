// Settings and the saved stack between runs: the load's defaults, limits,
// order and early ends; the save's names and forms; the round trip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/calc/calculator.h"
#include "core/number/numtext.h"
#include "core/persist/settings.h"
#include "memory_store.h"
#include "test_calc.h"

using namespace tallix;
using namespace tallix::persist;

namespace {

struct QuietShell : Shell {
    std::vector<std::string> errors;
    void ShowError(const std::string& message) override { errors.push_back(message); }
};

constexpr ScreenSize kScreen{1920, 1080};

// A fresh calculator and window as FormCreate has them before the load.
struct Fixture {
    QuietShell shell;
    Calculator calc;
    WindowSettings window;
    explicit Fixture(char decimalChar = '.') : calc(shell, decimalChar) {
        window.Top = 111; // the design position, to tell it from the default 5
        window.Left = 222;
    }
    LoadResult Load(SettingsStore& store, ScreenSize screen = kScreen) {
        return LoadSettings(store, calc, window, screen);
    }
};

std::vector<std::string> Levels(const Calculator& c) { return c.StackLevels(); }

TEST(LoadSettings, FirstRunTakesEveryDefault) {
    MemorySettingsStore store;
    Fixture f;
    LoadResult r = f.Load(store);
    EXPECT_EQ(r.end, LoadResult::End::Complete);
    EXPECT_TRUE(r.warning.empty());
    EXPECT_EQ(f.window.Top, 5);
    EXPECT_EQ(f.window.Left, 5);
    EXPECT_FALSE(f.window.StayOnTop);
    EXPECT_FALSE(f.window.HideKeyboard);
    EXPECT_FALSE(f.window.HideNumbers);
    EXPECT_EQ(f.window.ButtonTime, 25);
    EXPECT_EQ(f.calc.WordSize(), 16);
    EXPECT_EQ(f.calc.FixLength(), -1);
    EXPECT_EQ(AngleUnitNumber(f.calc.AngleMode()), 2);
    EXPECT_EQ(f.calc.CurrentBase(), Base::DEC);
    EXPECT_EQ(f.calc.LastX(), 0);
    EXPECT_EQ(f.calc.LastY(), 0);
    EXPECT_EQ(f.calc.LastNum(), 0u);
    EXPECT_TRUE(f.calc.Stack().empty());
}

struct IntCase {
    const char* name;
    const char* stored;
    int expected;
};

// Reads one "Settings" value and reports what it became.
int LoadedSetting(const char* name, const char* stored) {
    MemorySettingsStore store;
    store.Write(kSettingsGroup, name, stored);
    Fixture f;
    f.Load(store);
    const std::string n = name;
    if (n == "WordSize") return f.calc.WordSize();
    if (n == "FixLength") return f.calc.FixLength();
    if (n == "ButtonTime") return f.window.ButtonTime;
    if (n == "AngleMode") return AngleUnitNumber(f.calc.AngleMode());
    if (n == "CurrentBase") return static_cast<int>(f.calc.CurrentBase());
    if (n == "LastNum") return static_cast<int>(f.calc.LastNum());
    ADD_FAILURE() << "no such setting " << n;
    return 0;
}

TEST(LoadSettings, IntegerValuesAreLimitedAndMapped) {
    const int BIN = static_cast<int>(Base::BIN), OCT = static_cast<int>(Base::OCT),
              DEC = static_cast<int>(Base::DEC), HEX = static_cast<int>(Base::HEX);
    const IntCase cases[] = {
        {"WordSize", "0", 1},         {"WordSize", "-40", 1},       {"WordSize", "1", 1},
        {"WordSize", "56", 56},       {"WordSize", "57", 56},       {"WordSize", "100", 56},
        {"WordSize", "32", 32},       {"WordSize", "abc", 16},      {"WordSize", "", 16},
        {"WordSize", " 8", 16},       {"WordSize", "8.0", 16},      {"WordSize", "99999999999", 16},
        {"FixLength", "25", 18},      {"FixLength", "18", 18},      {"FixLength", "0", 0},
        {"FixLength", "-1", -1},      {"FixLength", "-7", -7},      {"FixLength", "x", -1},
        {"ButtonTime", "0", 1},       {"ButtonTime", "1", 1},       {"ButtonTime", "5000", 1000},
        {"ButtonTime", "1000", 1000}, {"ButtonTime", "250", 250},   {"ButtonTime", "no", 25},
        {"AngleMode", "0", 0},        {"AngleMode", "1", 1},        {"AngleMode", "2", 2},
        {"AngleMode", "3", 3},        {"AngleMode", "7", 2},        {"AngleMode", "-1", 2},
        {"AngleMode", "4", 2},        {"CurrentBase", "2", BIN},    {"CurrentBase", "8", OCT},
        {"CurrentBase", "10", DEC},   {"CurrentBase", "16", HEX},   {"CurrentBase", "3", DEC},
        {"CurrentBase", "0", DEC},    {"CurrentBase", "hex", DEC},  {"LastNum", "2", 2},
        {"LastNum", "0", 0},          {"LastNum", "4000000000", 0},
    };
    for (const IntCase& c : cases)
        EXPECT_EQ(LoadedSetting(c.name, c.stored), c.expected) << c.name << " = " << c.stored;
}

TEST(LoadSettings, BooleansAreIntegersTrueWhenNotZero) {
    struct Case {
        const char* stored;
        bool expected;
    };
    const Case cases[] = {{"1", true}, {"0", false},   {"2", true},    {"-1", true},
                          {"", false}, {"yes", false}, {"true", false}};
    for (const char* name : {"StayOnTop", "HideKeyboard", "HideNumbers"}) {
        for (const Case& c : cases) {
            MemorySettingsStore store;
            store.Write(kWindowGroup, name, c.stored);
            Fixture f;
            f.Load(store);
            const std::string n = name;
            const bool got = n == "StayOnTop"      ? f.window.StayOnTop
                             : n == "HideKeyboard" ? f.window.HideKeyboard
                                                   : f.window.HideNumbers;
            EXPECT_EQ(got, c.expected) << name << " = '" << c.stored << "'";
        }
    }
}

// The theme and the zoom come back as saved; anything else stored under
// their names (an edited file, a later version's value) gives the default.
TEST(LoadSettings, ThemeAndZoomFallBackToTheDefaultForUnknownValues) {
    using tallix::Theme;
    const struct {
        const char* theme; // nullptr: absent
        const char* zoom;
        Theme expectedTheme;
        int expectedZoom;
    } cases[] = {
        {nullptr, nullptr, Theme::System, 100},
        {"System", "100", Theme::System, 100},
        {"Light", "125", Theme::Light, 125},
        {"Dark", "150", Theme::Dark, 150},
        {"HighContrast", "200", Theme::HighContrast, 200},
        {"dark", "175", Theme::System, 100},
        {"High Contrast", "0", Theme::System, 100},
        {"", "-125", Theme::System, 100},
        {"Sepia", "200%", Theme::System, 100},
        {"Dark", "99999999999", Theme::Dark, 100},
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        if (c.theme) store.Write(kWindowGroup, "Theme", c.theme);
        if (c.zoom) store.Write(kWindowGroup, "Zoom", c.zoom);
        Fixture f;
        EXPECT_EQ(f.Load(store).end, tallix::persist::LoadResult::End::Complete);
        EXPECT_EQ(f.window.ColourTheme, c.expectedTheme) << (c.theme ? c.theme : "(none)");
        EXPECT_EQ(f.window.Zoom, c.expectedZoom) << (c.zoom ? c.zoom : "(none)");
    }
}

TEST(LoadSettings, PositionAppliesOnlyBelowTheScreenSize) {
    struct Case {
        const char* top; // nullptr: absent
        const char* left;
        int expectedTop, expectedLeft;
    };
    // Design position 111, 222; screen 1920 x 1080.
    const Case cases[] = {
        {nullptr, nullptr, 5, 5},     {"99999", "99999", 111, 222}, {"-20", "-30", -20, -30},
        {"1079", "1919", 1079, 1919}, {"1080", "1920", 111, 222},   {"abc", "", 5, 5},
        {"1500", "1500", 111, 1500},
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        if (c.top) store.Write(kWindowGroup, "Top", c.top);
        if (c.left) store.Write(kWindowGroup, "Left", c.left);
        Fixture f;
        f.Load(store);
        EXPECT_EQ(f.window.Top, c.expectedTop) << (c.top ? c.top : "absent");
        EXPECT_EQ(f.window.Left, c.expectedLeft) << (c.left ? c.left : "absent");
    }
}

TEST(LoadSettings, LastArgumentsParseWithTheDecimalSeparator) {
    struct Case {
        char decimalChar;
        const char* lastX;
        const char* lastY;
        Value x, y;
    };
    const Case cases[] = {
        {'.', "2.5", "abc", 2.5L, 0},  {'.', "abc", "-3", 0, -3},
        {'.', "1E600", "", 1e600L, 0}, {',', "1,5", "1.5", 1.5L, 0},
        {'.', "1,5", "7", 0, 7},       {'.', "1E99999", "-0.25", 0, -0.25L},
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        store.Write(kSettingsGroup, "LastX", c.lastX);
        store.Write(kSettingsGroup, "LastY", c.lastY);
        store.Write(kSettingsGroup, "LastNum", "2");
        Fixture f(c.decimalChar);
        EXPECT_EQ(f.Load(store).end, LoadResult::End::Complete);
        EXPECT_EQ(f.calc.LastX(), c.x) << c.lastX;
        EXPECT_EQ(f.calc.LastY(), c.y) << c.lastY;
        EXPECT_EQ(f.calc.LastNum(), 2u);
    }
}

// The saved stack stays in the store while the program runs: a run that
// ends without its save finds it again.
TEST(LoadSettings, SavedStackLoadsLevelOneFirstAndStaysInTheStore) {
    MemorySettingsStore store;
    store.Write(kStackGroup, "Line0", "1");
    store.Write(kStackGroup, "Line1", "2");
    store.Write(kStackGroup, "Line3", "4"); // after a gap: not part of the stack
    Fixture f;
    LoadResult r = f.Load(store);
    EXPECT_EQ(r.end, LoadResult::End::Complete);
    EXPECT_TRUE(r.stackLoaded);
    EXPECT_EQ(Levels(f.calc), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(store.ValueCount(kStackGroup), 3u);
    Fixture again;
    again.Load(store);
    EXPECT_EQ(Levels(again.calc), (std::vector<std::string>{"1", "2"}));
}

TEST(LoadSettings, EmptyEntryDoesNotCutOffTheEntriesBelowIt) {
    MemorySettingsStore store;
    const std::vector<std::string> saved{"1", "", "abc", " 2 ", ""};
    for (std::size_t i = 0; i < saved.size(); ++i)
        store.Write(kStackGroup, StackLineName(i), saved[i]);
    Fixture f;
    f.Load(store);
    EXPECT_EQ(Levels(f.calc), saved); // stored exactly, not reformatted
}

TEST(LoadSettings, NegativeButtonTimeOrLastNumEndsWithAWarning) {
    struct Case {
        const char* name;
        bool wordSizeRead, angleRead, lastXRead;
    };
    const Case cases[] = {{"ButtonTime", true, false, false}, {"LastNum", true, true, true}};
    for (const Case& c : cases) {
        MemorySettingsStore store;
        store.Write(kSettingsGroup, "WordSize", "8");
        store.Write(kSettingsGroup, "AngleMode", "1");
        store.Write(kSettingsGroup, "LastX", "4.5");
        store.Write(kSettingsGroup, c.name, "-1");
        store.Write(kStackGroup, "Line0", "42");
        Fixture f;
        LoadResult r = f.Load(store);
        EXPECT_EQ(r.end, LoadResult::End::Warning) << c.name;
        EXPECT_EQ(r.warning.rfind("Something is wrong: ", 0), 0u) << r.warning;
        EXPECT_NE(r.warning.find(c.name), std::string::npos) << r.warning;
        EXPECT_FALSE(r.stackLoaded);
        EXPECT_EQ(f.calc.WordSize(), c.wordSizeRead ? 8 : 16) << c.name;
        EXPECT_EQ(AngleUnitNumber(f.calc.AngleMode()), c.angleRead ? 1 : 2) << c.name;
        EXPECT_EQ(f.calc.LastX(), c.lastXRead ? 4.5L : 0) << c.name;
        EXPECT_EQ(f.window.ButtonTime, 25) << c.name;
        EXPECT_TRUE(f.calc.Stack().empty());
        EXPECT_EQ(store.Read(kStackGroup, "Line0"), "42"); // read again at the next start
    }
}

// Each value, when the store fails on it, ends the load silently: the values
// before it are in effect, the rest keep their initial values, and the saved
// stack stays in the store.
TEST(LoadSettings, StoreErrorEndsTheLoadSilentlyWhereItOccurs) {
    struct Case {
        std::string_view group;
        const char* name;
        int readBefore; // how many of the Settings values below were applied
    };
    const Case cases[] = {
        {kWindowGroup, "Top", 0},           {kWindowGroup, "HideNumbers", 0},
        {kSettingsGroup, "WordSize", 0},    {kSettingsGroup, "FixLength", 1},
        {kSettingsGroup, "ButtonTime", 2},  {kSettingsGroup, "AngleMode", 3},
        {kSettingsGroup, "CurrentBase", 4}, {kSettingsGroup, "LastX", 5},
        {kSettingsGroup, "LastY", 6},       {kSettingsGroup, "LastNum", 7},
        {kStackGroup, "Line0", 8},          {kStackGroup, "Line2", 8},
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        store.Write(kSettingsGroup, "WordSize", "8");
        store.Write(kSettingsGroup, "FixLength", "3");
        store.Write(kSettingsGroup, "ButtonTime", "100");
        store.Write(kSettingsGroup, "AngleMode", "0");
        store.Write(kSettingsGroup, "CurrentBase", "16");
        store.Write(kSettingsGroup, "LastX", "1.5");
        store.Write(kSettingsGroup, "LastY", "2.5");
        store.Write(kSettingsGroup, "LastNum", "2");
        for (int i = 0; i < 4; ++i) store.Write(kStackGroup, StackLineName(i), std::to_string(i));
        store.Break(c.group, c.name);
        Fixture f;
        LoadResult r = f.Load(store);
        EXPECT_EQ(r.end, LoadResult::End::StoreError) << c.name;
        EXPECT_TRUE(r.warning.empty()) << c.name;
        EXPECT_FALSE(r.storeError.empty()) << c.name;
        EXPECT_FALSE(r.stackLoaded) << c.name;
        const int n = c.readBefore;
        EXPECT_EQ(f.calc.WordSize(), n > 0 ? 8 : 16) << c.name;
        EXPECT_EQ(f.calc.FixLength(), n > 1 ? 3 : -1) << c.name;
        EXPECT_EQ(f.window.ButtonTime, n > 2 ? 100 : 25) << c.name;
        EXPECT_EQ(AngleUnitNumber(f.calc.AngleMode()), n > 3 ? 0 : 2) << c.name;
        EXPECT_EQ(f.calc.CurrentBase(), n > 4 ? Base::HEX : Base::DEC) << c.name;
        EXPECT_EQ(f.calc.LastX(), n > 5 ? 1.5L : 0) << c.name;
        EXPECT_EQ(f.calc.LastY(), n > 6 ? 2.5L : 0) << c.name;
        EXPECT_EQ(f.calc.LastNum(), n > 7 ? 2u : 0u) << c.name;
        EXPECT_TRUE(f.calc.Stack().empty()) << c.name;
        EXPECT_EQ(store.ValueCount(kStackGroup), 4u) << c.name;
    }
}

// A state set by hand, saved, and the exact strings in the store.
TEST(SaveSettings, WritesEveryValueInItsStringForm) {
    QuietShell shell;
    Calculator calc(shell, ',');
    tallix::testing::Arrange(calc, [](Calculator::Change& c) {
        c.SelectAngleMode(AngleUnit::Gradients);
        c.SetFixLength(-1);
        c.SetLastArgs(2.5L, -1e-7L, 2);
        c.SelectBase(Base::OCT);
        c.SetWordSize(56);
        c.ReplaceStack({"3", "2,5", "abc", ""});
    });
    WindowSettings w{-20, 1300, true, false, true, 1000, {}, tallix::Theme::HighContrast, 150};
    MemorySettingsStore store;
    EXPECT_EQ(SaveSettings(store, calc, w), std::nullopt);

    struct Expect {
        std::string_view group;
        const char* name;
        const char* value;
    };
    const Expect expected[] = {
        {kWindowGroup, "Top", "-20"},
        {kWindowGroup, "Left", "1300"},
        {kWindowGroup, "StayOnTop", "1"},
        {kWindowGroup, "HideKeyboard", "0"},
        {kWindowGroup, "HideNumbers", "1"},
        {kWindowGroup, "Theme", "HighContrast"},
        {kWindowGroup, "Zoom", "150"},
        {kSettingsGroup, "AngleMode", "3"},
        {kSettingsGroup, "ButtonTime", "1000"},
        {kSettingsGroup, "FixLength", "-1"},
        {kSettingsGroup, "LastX", "2,5"},
        {kSettingsGroup, "LastY", "-1E-7"},
        {kSettingsGroup, "LastNum", "2"},
        {kSettingsGroup, "CurrentBase", "8"},
        {kSettingsGroup, "WordSize", "56"},
        {kStackGroup, "Line0", "3"},
        {kStackGroup, "Line1", "2,5"},
        {kStackGroup, "Line2", "abc"},
        {kStackGroup, "Line3", ""},
    };
    for (const Expect& e : expected)
        EXPECT_EQ(store.Read(e.group, e.name), std::optional<std::string>(e.value)) << e.name;
    EXPECT_EQ(store.ValueCount(kWindowGroup), 7u);
    EXPECT_EQ(store.ValueCount(kSettingsGroup), 8u);
    EXPECT_EQ(store.ValueCount(kStackGroup), 4u);
}

TEST(SaveSettings, OutOfRangeModesAreSavedNormalised) {
    struct Case {
        const char* name;
        const char* stored;
        const char* saved;
    };
    const Case cases[] = {{"AngleMode", "7", "2"},     {"CurrentBase", "3", "10"},
                          {"CurrentBase", "16", "16"}, {"WordSize", "0", "1"},
                          {"FixLength", "25", "18"},   {"ButtonTime", "0", "1"}};
    for (const Case& c : cases) {
        MemorySettingsStore store;
        store.Write(kSettingsGroup, c.name, c.stored);
        Fixture f;
        f.Load(store);
        MemorySettingsStore out;
        SaveSettings(out, f.calc, f.window);
        EXPECT_EQ(out.Read(kSettingsGroup, c.name), std::optional<std::string>(c.saved)) << c.name;
    }
}

TEST(SaveSettings, NoStaleLinesSurviveAShrunkStack) {
    MemorySettingsStore store;
    for (int i = 0; i < 5; ++i) store.Write(kStackGroup, StackLineName(i), "old");
    QuietShell shell;
    Calculator calc(shell);
    WindowSettings w;
    tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) {
        ch.ReplaceStack({"1", "2"});
    });
    SaveSettings(store, calc, w);
    EXPECT_EQ(store.ValueCount(kStackGroup), 2u);

    tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) { ch.ClearStack(); });
    SaveSettings(store, calc, w);
    EXPECT_FALSE(store.HasGroup(kStackGroup)); // an empty stack leaves no group

    Fixture next;
    next.Load(store);
    EXPECT_TRUE(next.calc.Stack().empty());
}

// Where the store fails, the save stops: the values written before stay,
// nothing after is written, and the failure is reported.
TEST(SaveSettings, StoreErrorStopsTheSaveInItsOrder) {
    const char* order[] = {"Top",       "Left",        "StayOnTop", "HideKeyboard", "HideNumbers",
                           "AngleMode", "ButtonTime",  "FixLength", "LastX",        "LastY",
                           "LastNum",   "CurrentBase", "WordSize"};
    const std::size_t n = std::size(order);
    for (std::size_t broken = 0; broken < n; ++broken) {
        MemorySettingsStore store;
        store.Break(broken < 5 ? kWindowGroup : kSettingsGroup, order[broken]);
        QuietShell shell;
        Calculator calc(shell);
        tallix::testing::Arrange(calc,
                                 [&](tallix::Calculator::Change& ch) { ch.ReplaceStack({"1"}); });
        EXPECT_TRUE(SaveSettings(store, calc, WindowSettings{}).has_value()) << order[broken];
        for (std::size_t i = 0; i < n; ++i) {
            if (i == broken) continue;
            const bool written =
                store.Read(i < 5 ? kWindowGroup : kSettingsGroup, order[i]).has_value();
            EXPECT_EQ(written, i < broken) << order[i] << " with " << order[broken] << " broken";
        }
        EXPECT_FALSE(store.HasGroup(kStackGroup));
    }
    MemorySettingsStore readOnly;
    readOnly.BreakWrites();
    QuietShell shell;
    Calculator calc(shell);
    EXPECT_TRUE(SaveSettings(readOnly, calc, WindowSettings{}).has_value());
}

// A whole run: save a large, awkward stack, turn the store into text, read
// that text into a fresh store and a fresh calculator, and compare.
TEST(SettingsRoundTrip, HundredThousandEntriesSurviveARestart) {
    std::vector<std::string> levels;
    levels.reserve(100000);
    for (int i = 0; i < 100000; ++i) {
        switch (i % 7) {
        case 0: levels.push_back(std::to_string(i)); break;
        case 1: levels.push_back(""); break;
        case 2: levels.push_back("abc def"); break;
        case 3: levels.push_back(" -1.5E-7 "); break;
        case 4: levels.push_back("a=b[c]\\d"); break;
        case 5: levels.push_back(FormatStackValue(i / 7.0L, '.')); break;
        default: levels.push_back("x\tyz\xc3\xa9"); break;
        }
    }
    levels.push_back(""); // an empty deepest entry as well

    std::string text;
    {
        QuietShell shell;
        Calculator calc(shell);
        tallix::testing::Arrange(calc, [&](Calculator::Change& c) {
            c.ReplaceStack(levels);
            c.SetLastArgs(1.0L / 3, -2.5e300L, 2);
            c.SelectAngleMode(AngleUnit::Degrees);
            c.SelectBase(Base::HEX);
            c.SetWordSize(32);
            c.SetFixLength(4);
        });
        WindowSettings w{-20, 300, true, true, false, 40, {}};
        MemorySettingsStore store;
        ASSERT_EQ(SaveSettings(store, calc, w), std::nullopt);
        text = store.ToText();
    }
    MemorySettingsStore store = MemorySettingsStore::FromText(text);
    Fixture f;
    LoadResult r = f.Load(store);
    ASSERT_EQ(r.end, LoadResult::End::Complete);
    EXPECT_EQ(f.calc.StackLevels(), levels);
    EXPECT_EQ(f.calc.LastX(), *ParseReal(FormatStackValue(1.0L / 3, '.'), '.'));
    EXPECT_EQ(f.calc.LastY(), -2.5e300L);
    EXPECT_EQ(f.calc.LastNum(), 2u);
    EXPECT_EQ(AngleUnitNumber(f.calc.AngleMode()), 1);
    EXPECT_EQ(f.calc.CurrentBase(), Base::HEX);
    EXPECT_EQ(f.calc.WordSize(), 32);
    EXPECT_EQ(f.calc.FixLength(), 4);
    EXPECT_EQ(f.window.Top, -20);
    EXPECT_EQ(f.window.Left, 300);
    EXPECT_TRUE(f.window.StayOnTop);
    EXPECT_TRUE(f.window.HideKeyboard);
    EXPECT_FALSE(f.window.HideNumbers);
    EXPECT_EQ(f.window.ButtonTime, 40);
    EXPECT_EQ(store.ValueCount(kStackGroup), levels.size());
}

// A store kept in a shared "file" as the settings layer keeps one: what it
// writes reaches the file at Flush, what others wrote reaches it at Reload,
// and removing a group removes only the values it knows.
class FileLikeStore : public SettingsStore {
public:
    explicit FileLikeStore(MemorySettingsStore& file) : file_(file) { Reload(); }
    std::optional<std::string> Read(std::string_view group, std::string_view name) override {
        return cache_.Read(group, name);
    }
    void Write(std::string_view group, std::string_view name, std::string_view value) override {
        cache_.Write(group, name, value);
        written_.emplace_back(group, name);
    }
    void RemoveGroup(std::string_view group) override {
        for (std::size_t i = 0; cache_.Read(group, StackLineName(i)); ++i)
            removed_.emplace_back(group, StackLineName(i));
        cache_.RemoveGroup(group);
        log.push_back("remove");
    }
    void Flush() override {
        for (const auto& [g, n] : removed_) file_.RemoveValue(g, n);
        for (const auto& [g, n] : written_) file_.Write(g, n, *cache_.Read(g, n));
        removed_.clear();
        written_.clear();
        log.push_back("flush");
    }
    void Reload() override {
        cache_ = file_;
        log.push_back("reload");
    }
    std::vector<std::string> log;

private:
    MemorySettingsStore& file_;
    MemorySettingsStore cache_;
    std::vector<std::pair<std::string, std::string>> written_, removed_;
};

TEST(SaveState, ReplacesTheWholeStackGroupAsTheFileHoldsItNow) {
    MemorySettingsStore file;
    for (int i = 0; i < 3; ++i) file.Write(kStackGroup, StackLineName(i), std::to_string(i + 1));
    FileLikeStore a(file), b(file);
    QuietShell shell;
    Calculator calcA(shell), calcB(shell);
    tallix::testing::Arrange(calcA, [&](tallix::Calculator::Change& ch) {
        ch.ReplaceStack({"5", "4", "1", "2", "3"});
    });
    tallix::testing::Arrange(calcB, [&](tallix::Calculator::Change& ch) {
        ch.ReplaceStack({"9", "1", "2", "3"});
    });
    // A saves its deeper stack after B read the file; B, closing last,
    // must leave exactly its own stack.
    ASSERT_EQ(SaveSettings(a, calcA, WindowSettings{}), std::nullopt);
    ASSERT_EQ(SaveSettings(b, calcB, WindowSettings{}), std::nullopt);
    EXPECT_EQ(b.log, (std::vector<std::string>{"reload", "reload", "remove", "flush"}));
    Fixture next;
    next.Load(file);
    EXPECT_EQ(Levels(next.calc), (std::vector<std::string>{"9", "1", "2", "3"}));
    EXPECT_EQ(file.ValueCount(kStackGroup), 4u);
}

TEST(SaveState, WithoutAStackTheSavedStackStays) {
    MemorySettingsStore store;
    store.Write(kSettingsGroup, "LastNum", "-1");
    store.Write(kStackGroup, "Line0", "7");
    store.Write(kStackGroup, "Line1", "8");
    Fixture f;
    ASSERT_EQ(f.Load(store).end, LoadResult::End::Warning);
    tallix::testing::Arrange(f.calc, [&](tallix::Calculator::Change& ch) {
        ch.PushText("1");
    }); // whatever this run does with its own stack
    ASSERT_EQ(SaveState(store, CaptureValues(f.calc, f.window), nullptr), std::nullopt);
    EXPECT_EQ(store.Read(kSettingsGroup, "LastNum"), "0");
    Fixture next;
    ASSERT_EQ(next.Load(store).end, LoadResult::End::Complete);
    EXPECT_EQ(Levels(next.calc), (std::vector<std::string>{"7", "8"}));
}

TEST(CaptureValues, EveryValueCounts) {
    QuietShell shell;
    Calculator calc(shell);
    WindowSettings w;
    const SavedValues before = CaptureValues(calc, w);
    EXPECT_EQ(CaptureValues(calc, w), before);
    struct Case {
        const char* name;
        void (*change)(Calculator::Change&, WindowSettings&);
    };
    const Case cases[] = {
        {"Top", [](Calculator::Change&, WindowSettings& w) { w.Top = 6; }},
        {"Left", [](Calculator::Change&, WindowSettings& w) { w.Left = -1; }},
        {"StayOnTop", [](Calculator::Change&, WindowSettings& w) { w.StayOnTop = true; }},
        {"HideKeyboard", [](Calculator::Change&, WindowSettings& w) { w.HideKeyboard = true; }},
        {"HideNumbers", [](Calculator::Change&, WindowSettings& w) { w.HideNumbers = true; }},
        {"ButtonTime", [](Calculator::Change&, WindowSettings& w) { w.ButtonTime = 26; }},
        {"AngleMode",
         [](Calculator::Change& c, WindowSettings&) { c.SelectAngleMode(AngleUnit::Degrees); }},
        {"FixLength", [](Calculator::Change& c, WindowSettings&) { c.SetFixLength(3); }},
        {"LastX", [](Calculator::Change& c, WindowSettings&) { c.SetLastArgs(1E-30L, 0, 0); }},
        {"LastY", [](Calculator::Change& c, WindowSettings&) { c.SetLastArgs(0, -2, 0); }},
        {"LastNum", [](Calculator::Change& c, WindowSettings&) { c.SetLastArgs(0, 0, 2); }},
        {"CurrentBase", [](Calculator::Change& c, WindowSettings&) { c.SelectBase(Base::BIN); }},
        {"WordSize", [](Calculator::Change& c, WindowSettings&) { c.SetWordSize(8); }},
    };
    for (const Case& c : cases) {
        QuietShell sh;
        Calculator changed(sh);
        WindowSettings cw;
        tallix::testing::Arrange(changed, [&](Calculator::Change& ch) { c.change(ch, cw); });
        EXPECT_NE(CaptureValues(changed, cw), before) << c.name;
    }
}

TEST(StackRevision, EveryChangeOfTheStackCounts) {
    QuietShell shell;
    Calculator calc(shell);
    tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) {
        ch.ReplaceStack({"1", "2", "3"});
    });
    const struct {
        const char* name;
        void (*change)(Calculator::Change&);
    } cases[] = {
        {"push", [](Calculator::Change& c) { c.PushText("4"); }},
        {"pop",
         [](Calculator::Change& c) {
             std::string t;
             c.PopText(t);
         }},
        {"move to top", [](Calculator::Change& c) { c.MoveToTop(2); }},
        {"move from top", [](Calculator::Change& c) { c.MoveFromTop(1); }},
        {"replace", [](Calculator::Change& c) { c.ReplaceStack({"1"}); }},
        {"clear", [](Calculator::Change& c) { c.ClearStack(); }},
    };
    for (const auto& c : cases) {
        const std::uint64_t before = calc.StackRevision();
        tallix::testing::Arrange(calc, c.change);
        EXPECT_NE(calc.StackRevision(), before) << c.name;
        tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) {
            ch.ReplaceStack({"1", "2", "3"});
        });
    }
    // What does not change the stack leaves the revision.
    const std::uint64_t before = calc.StackRevision();
    tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) { ch.MoveToTop(0); });
    tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) { ch.ResetEntry(); });
    tallix::testing::Arrange(calc, [&](tallix::Calculator::Change& ch) { ch.AppendToEntry('5'); });
    EXPECT_EQ(calc.StackRevision(), before);
}

TEST(MemorySettingsStore, TextFormKeepsEveryByte) {
    MemorySettingsStore store;
    const std::string awkward[] = {
        "", "a\r\nb", "\\", "x=y", "[Stack]", "]", std::string("a\0b", 3), "\\n", "==", "[g]=v"};
    for (std::size_t i = 0; i < std::size(awkward); ++i) {
        store.Write(kSettingsGroup, "v" + std::to_string(i), awkward[i]);
        store.Write(awkward[i], awkward[i], awkward[i]); // names are kept as well
    }
    MemorySettingsStore back = MemorySettingsStore::FromText(store.ToText());
    for (std::size_t i = 0; i < std::size(awkward); ++i) {
        EXPECT_EQ(back.Read(kSettingsGroup, "v" + std::to_string(i)), awkward[i]) << i;
        EXPECT_EQ(back.Read(awkward[i], awkward[i]), awkward[i]) << i;
    }
    EXPECT_EQ(back.ToText(), store.ToText());
}

TEST(MemorySettingsStore, RejectsTextItCannotHaveWritten) {
    for (const char* bad :
         {"name=value\n", "[Stack]\nLine0\n", "[Stack]\nLine0=1", "[S]\na=\\x\n", "[S]\na=b\\\n"})
        EXPECT_THROW(MemorySettingsStore::FromText(bad), StoreError) << bad;
}

TEST(PlaceOnScreens, OffScreenWindowsComeBackToTheDefault) {
    const std::vector<Rect> one{{0, 0, 1920, 1080}};
    const std::vector<Rect> two{{0, 0, 1920, 1080}, {1920, -200, 1280, 1024}};
    struct Case {
        Rect window;
        const std::vector<Rect>* screens;
        int left, top;
    };
    const Case cases[] = {
        {{100, 100, 300, 400}, &one, 100, 100},     // on the screen
        {{-20, -20, 300, 400}, &one, -20, -20},     // partly above and left: as saved
        {{-299, 10, 300, 400}, &one, -299, 10},     // one column still visible
        {{-300, 10, 300, 400}, &one, 5, 5},         // just off the left edge
        {{1920, 10, 300, 400}, &one, 5, 5},         // just off the right edge
        {{10, 1080, 300, 400}, &one, 5, 5},         // just below
        {{2500, 100, 300, 400}, &one, 5, 5},        // a second screen removed
        {{2500, 100, 300, 400}, &two, 2500, 100},   // that screen still present
        {{1800, -250, 300, 400}, &two, 1800, -250}, // straddling both
        {{3300, 900, 300, 400}, &two, 5, 5},        // right of the second screen
        {{2147483000, 0, 1000, 1000}, &one, 5, 5},  // no overflow near the limits
    };
    for (const Case& c : cases) {
        Rect got = PlaceOnScreens(c.window, *c.screens);
        EXPECT_EQ(got.left, c.left) << c.window.left << "," << c.window.top;
        EXPECT_EQ(got.top, c.top) << c.window.left << "," << c.window.top;
        EXPECT_EQ(got.width, c.window.width);
    }
    Rect kept = PlaceOnScreens({-5000, -5000, 10, 10}, {});
    EXPECT_EQ(kept.left, -5000);
}

// The folder of the last stack file: absent on a first run, written once
// set (any characters, kept byte for byte), read back by the next start.
TEST(SettingsRoundTrip, TheFileFolderIsKeptOnceSet) {
    MemorySettingsStore first;
    Fixture f;
    f.Load(first);
    EXPECT_EQ(f.window.FileFolder, "");
    SaveSettings(first, f.calc, f.window);
    EXPECT_FALSE(first.Read(kWindowGroup, "Folder").has_value());

    for (const std::string folder :
         {"/home/ann/stacks", "/tmp/a b=c;d\\e", "/tmp/\xc3\xa9t\xc3\xa9"}) {
        f.window.FileFolder = folder;
        MemorySettingsStore store;
        ASSERT_EQ(SaveSettings(store, f.calc, f.window), std::nullopt);
        MemorySettingsStore reread = MemorySettingsStore::FromText(store.ToText());
        Fixture next;
        ASSERT_EQ(next.Load(reread).end, LoadResult::End::Complete);
        EXPECT_EQ(next.window.FileFolder, folder);
    }
    // A change of folder is a change to save.
    WindowSettings other = f.window;
    other.FileFolder = "/elsewhere";
    EXPECT_NE(CaptureValues(f.calc, f.window), CaptureValues(f.calc, other));
}

} // namespace

namespace {

// The tape window's settings: group "Tape", read with their defaults and
// limits, and written back in their group.
TEST(TapeSettings, ReadWithLimitsAndSavedInTheirGroup) {
    struct Case {
        const char *shown, *width, *height;
        bool wantShown;
        int wantWidth, wantHeight;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, false, 300, 360}, // first run
        {"1", "500", "700", true, 500, 700},
        {"0", "5", "99999", false, 100, 10000}, // clamped
        {"x", "wide", "", false, 300, 360},     // unreadable: the defaults
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        if (c.shown) store.Write(kTapeGroup, "Shown", c.shown);
        if (c.width) store.Write(kTapeGroup, "Width", c.width);
        if (c.height) store.Write(kTapeGroup, "Height", c.height);
        Fixture f;
        ASSERT_EQ(f.Load(store).end, LoadResult::End::Complete);
        EXPECT_EQ(f.window.TapeShown, c.wantShown);
        EXPECT_EQ(f.window.TapeWidth, c.wantWidth);
        EXPECT_EQ(f.window.TapeHeight, c.wantHeight);

        ASSERT_FALSE(SaveSettings(store, f.calc, f.window));
        EXPECT_EQ(store.Read(kTapeGroup, "Shown"), c.wantShown ? "1" : "0");
        EXPECT_EQ(store.Read(kTapeGroup, "Width"), std::to_string(c.wantWidth));
        EXPECT_EQ(store.Read(kTapeGroup, "Height"), std::to_string(c.wantHeight));
    }
}

} // namespace
