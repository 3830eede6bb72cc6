#include "core/commands/registry.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/ops/operations.h"

namespace tallix {
namespace {

// ---- handlers of the calculator commands that are not operations --------

using Change = Calculator::Change;

void EnterKey(Change& c) {
    if (c.EnterEntryLine()) c.ResetEntry();
}
// The entry line's text is discarded, not entered.
void Clear(Change& c) {
    c.ClearStack();
    c.ResetEntry();
}
// Edit works on an empty entry line only.
void Edit(Change& c) {
    if (c.Calc().Entry().empty()) c.EditLevel1();
}
void BaseBin(Change& c) { c.SelectBase(Base::BIN); }
void BaseOct(Change& c) { c.SelectBase(Base::OCT); }
void BaseDec(Change& c) { c.SelectBase(Base::DEC); }
void BaseHex(Change& c) { c.SelectBase(Base::HEX); }
void AngleCyc(Change& c) { c.SelectAngleMode(AngleUnit::Cycles); }
void AngleDeg(Change& c) { c.SelectAngleMode(AngleUnit::Degrees); }
void AngleRad(Change& c) { c.SelectAngleMode(AngleUnit::Radians); }
void AngleGrad(Change& c) { c.SelectAngleMode(AngleUnit::Gradients); }

// ---- row builders ----------------------------------------------------------

using Names = std::array<std::string_view, 2>;

constexpr OpSpec Real(std::string_view name, int args, OpFn fn, Reason fault = Reason::Overflow) {
    return {name, args, false, fn, fault};
}
// Arguments parsed as signed 32-bit whole numbers.
constexpr OpSpec Int(std::string_view name, int args, OpFn fn, Reason fault = Reason::Overflow) {
    return {name, args, true, fn, fault};
}

constexpr KeyPlace NoKey{};
constexpr KeyPlace Plain(Key k) { return {k, false}; }
constexpr KeyPlace Shifted(Key k) { return {k, true}; }

constexpr MenuPlace In(Menu m, std::string_view caption, std::string_view object,
                       std::string_view shortcut = {}, Check check = Check::None) {
    return {m, caption, object, shortcut, false, {}, check};
}
// An item with a separator above it.
constexpr MenuPlace Sep(Menu m, std::string_view caption, std::string_view object,
                        std::string_view shortcut = {}, Check check = Check::None,
                        std::string_view separatorName = {}) {
    return {m, caption, object, shortcut, true, separatorName, check};
}

// The default item of a popup menu.
constexpr MenuPlace Default(Menu m, std::string_view caption, std::string_view object) {
    return {m, caption, object, {}, false, {}, Check::None, true};
}

constexpr CommandDef Op(Cmd id, Names batch, OpSpec op, KeyPlace key = {}, MenuPlace menu = {}) {
    return {id, Scope::Operation, batch, op, nullptr, key, menu};
}
constexpr CommandDef Calc(Cmd id, Names batch, Handler h, KeyPlace key = {}, MenuPlace menu = {}) {
    return {id, Scope::Calculator, batch, {}, h, key, menu};
}
constexpr CommandDef Hist(Cmd id, Names batch, HistoryHandler h, MenuPlace menu) {
    CommandDef def{id, Scope::History, batch, {}, nullptr, {}, menu};
    def.history = h;
    return def;
}
// An item reached by a second shortcut too.
constexpr MenuPlace Also(MenuPlace place, std::string_view shortcut2) {
    place.shortcut2 = shortcut2;
    return place;
}
constexpr MenuPlace Turn(MenuPlace place, Wheel wheel) {
    place.wheel = wheel;
    return place;
}
constexpr CommandDef Win(Cmd id, MenuPlace menu) {
    return {id, Scope::Window, {}, {}, nullptr, {}, menu};
}
// A command whose undo step has a name of its own.
constexpr CommandDef Named(CommandDef def, std::string_view label) {
    def.label = label;
    return def;
}

constexpr MenuDef kMenus[] = {
    {Menu::File, Menu::None, "&File", "File1"},
    {Menu::Edit, Menu::None, "&Edit", "Edit1"},
    {Menu::Menus, Menu::None, "Men&us", "Menus1"},
    {Menu::Hyp, Menu::Menus, "&Hyp", "Hyberbolic1"},
    {Menu::Logic, Menu::Menus, "&Logic", "Logic1"},
    {Menu::Misc, Menu::Menus, "&Misc", "MIsc1"},
    {Menu::Parts, Menu::Menus, "&Parts", "Math1"},
    {Menu::Stack, Menu::Menus, "&Stack", "Stack2"},
    {Menu::Stat, Menu::Menus, "S&tat", "Stat1"},
    {Menu::Options, Menu::None, "Opt&ions", "Options1"},
    {Menu::Angle, Menu::Options, "&Angle", "Angle1"},
    {Menu::Base, Menu::Options, "&Base", "Base1"},
    {Menu::Theme, Menu::Options, "T&heme", "Theme1"},
    {Menu::Zoom, Menu::Options, "&Zoom", "Zoom1"},
    {Menu::Popup, Menu::None, "", "PopupMenu1", true},
};

// The commands. Items stand in their menus in the order of these rows.
// clang-format off
constexpr CommandDef kCommands[] = {
    Win(Cmd::Open, In(Menu::File, "&Open...", "Open1", "Ctrl+O")),
    Win(Cmd::Save, In(Menu::File, "&Save...", "Save1", "Ctrl+S")),
    Win(Cmd::Print, In(Menu::File, "&Print...", "Print1", "Ctrl+P")),
    Win(Cmd::TrayIcon, Sep(Menu::File, "&Tray Icon", "TrayIcon1", "Ctrl+T")),
    Win(Cmd::Keys, Sep(Menu::File, "&Keys...", "Keys1", "F1", Check::None, "N3")),
    Win(Cmd::About, In(Menu::File, "&About...", "About1")),
    Win(Cmd::Exit, Sep(Menu::File, "E&xit", "Exit1", "Alt+F4")),
    Hist(Cmd::Undo, {"UNDO"}, &Calculator::Undo, In(Menu::Edit, "&Undo", "Undo1", "Ctrl+Z")),
    Hist(Cmd::Redo, {"REDO"}, &Calculator::Redo, Also(In(Menu::Edit, "&Redo", "Redo1", "Ctrl+Y"), "Ctrl+Shift+Z")),
    Win(Cmd::Copy, Sep(Menu::Edit, "&Copy", "Copy1", "Ctrl+C")),
    Win(Cmd::CopyStack, In(Menu::Edit, "Copy &Stack", "CopyStack1", "Ctrl+Shift+C")),
    Win(Cmd::Paste, In(Menu::Edit, "&Paste", "Paste1", "Ctrl+V")),
    Op(Cmd::SinH, {"SINH"}, Real("SINH", 1, ops::SinH, Reason::InvalidInput), NoKey, In(Menu::Hyp, "&SinH", "SinH1")),
    Op(Cmd::ASinH, {"ASINH"}, Real("ASINH", 1, ops::ASinH, Reason::InvalidInput), NoKey, In(Menu::Hyp, "AS&inH", "ASinH1")),
    Op(Cmd::CosH, {"COSH"}, Real("COSH", 1, ops::CosH, Reason::InvalidInput), NoKey, Sep(Menu::Hyp, "&CosH", "CosH1")),
    Op(Cmd::ACosH, {"ACOSH"}, Real("ACOSH", 1, ops::ACosH, Reason::InvalidInput), NoKey, In(Menu::Hyp, "AC&osH", "ACosH1")),
    Op(Cmd::TanH, {"TANH"}, Real("TANH", 1, ops::TanH, Reason::InvalidInput), NoKey, Sep(Menu::Hyp, "&TanH", "TanH1")),
    Op(Cmd::ATanH, {"ATANH"}, Real("ATANH", 1, ops::ATanH, Reason::InvalidInput), NoKey, In(Menu::Hyp, "AT&anH", "ATanH1")),
    Op(Cmd::And, {"AND"}, Real("AND", 2, ops::And), NoKey, In(Menu::Logic, "&And", "And1")),
    Op(Cmd::Or, {"OR"}, Real("OR", 2, ops::Or), NoKey, In(Menu::Logic, "&Or", "Or1")),
    Op(Cmd::Xor, {"XOR"}, Real("XOR", 2, ops::Xor), NoKey, In(Menu::Logic, "&Xor", "Xor1")),
    Op(Cmd::Not, {"NOT"}, Real("NOT", 1, ops::Not), NoKey, In(Menu::Logic, "&Not", "Not1")),
    Op(Cmd::SL, {"SL"}, Real("SL", 1, ops::SL), NoKey, Sep(Menu::Logic, "Shift &Left", "ShiftL1")),
    Op(Cmd::SR, {"SR"}, Real("SR", 1, ops::SR), NoKey, In(Menu::Logic, "Shift &Right", "ShiftR1")),
    Op(Cmd::RL, {"RL"}, Real("RL", 1, ops::RL), NoKey, In(Menu::Logic, "Ro&tate Left", "RotateL1")),
    Op(Cmd::RR, {"RR"}, Real("RR", 1, ops::RR), NoKey, In(Menu::Logic, "Rotat&e Right", "RotateR1")),
    Op(Cmd::STWS, {"STWS"}, Int("STWS", 1, ops::StoreWordSize), NoKey, Sep(Menu::Logic, "&Store Word Size", "STWS1")),
    Op(Cmd::RCWS, {"RCWS"}, Real("RCWS", 0, ops::RecallWordSize), NoKey, In(Menu::Logic, "Recall &Word Size", "RCWS1")),
    Op(Cmd::Gcd, {"GCD"}, Int("GCD", 2, ops::Gcd), NoKey, In(Menu::Misc, "&Gcd", "Gcd1")),
    Op(Cmd::Lcm, {"LCM"}, Int("LCM", 2, ops::Lcm), NoKey, In(Menu::Misc, "&Lcm", "Lcm1")),
    Op(Cmd::Hypot, {"HYPOT"}, Real("HYPOT", 2, ops::Hypot, Reason::BadArgumentType), NoKey, Sep(Menu::Misc, "&Hypotenuse", "Hypotenuse1")),
    Op(Cmd::Round, {"RND"}, Real("RND", 1, ops::Round), NoKey, In(Menu::Parts, "&Round", "Round1")),
    Op(Cmd::Floor, {"FLOOR"}, Real("FLOOR", 1, ops::Floor), NoKey, In(Menu::Parts, "&Floor", "Floor2")),
    Op(Cmd::Ceil, {"CEIL"}, Real("CEIL", 1, ops::Ceil), NoKey, In(Menu::Parts, "&Ceiling", "Floor1")),
    Op(Cmd::CropR, {"CROPR"}, Real("CROPR", 2, ops::CropR, Reason::BadArgumentType), NoKey, Sep(Menu::Parts, "Crop (R&ound)", "CropRound1")),
    Op(Cmd::CropT, {"CROPT"}, Real("CROPT", 2, ops::CropT, Reason::BadArgumentType), NoKey, In(Menu::Parts, "Crop (Tr&unc)", "CropTrunc1")),
    Op(Cmd::IP, {"IP"}, Real("IP", 1, ops::IP), NoKey, Sep(Menu::Parts, "&Integer Part", "Integer1")),
    Op(Cmd::FP, {"FP"}, Real("FP", 1, ops::FP), NoKey, In(Menu::Parts, "Fr&actional Part", "FractionalPart1")),
    Op(Cmd::Mant, {"MANT"}, Real("MANT", 1, ops::Mant, Reason::BadArgumentType), NoKey, Sep(Menu::Parts, "&Mantissa", "Mantissa1")),
    Op(Cmd::Xpon, {"XPON"}, Real("XPON", 1, ops::Xpon, Reason::BadArgumentType), NoKey, In(Menu::Parts, "&Exponent", "Exponent1")),
    Op(Cmd::Dup2, {"DUP2"}, Real("DUP2", 2, ops::Dup2), NoKey, In(Menu::Stack, "Dup &2", "Dup21", "Ctrl+2")),
    Op(Cmd::Depth, {"DEPTH"}, Real("DEPTH", 0, ops::Depth), NoKey, In(Menu::Stack, "&Depth", "Depth1", "Ctrl+E")),
    Op(Cmd::Rotate, {"ROT"}, Real("ROT", 0, ops::Rotate), NoKey, Sep(Menu::Stack, "&Rotate", "Rotate1", "Ctrl+R")),
    Op(Cmd::Roll, {"ROLL"}, Int("ROLL", 1, ops::Roll), NoKey, In(Menu::Stack, "Ro&ll", "Roll1", "Ctrl+L")),
    Op(Cmd::Random, {"RAND"}, Real("RAND", 0, ops::Random), NoKey, In(Menu::Stat, "&Random", "Random1")),
    Op(Cmd::Comb, {"COMB"}, Int("COMB", 2, ops::Comb), NoKey, Sep(Menu::Stat, "&Combinations", "Combinations1")),
    Op(Cmd::Perm, {"PERM"}, Int("PERM", 2, ops::Perm), NoKey, In(Menu::Stat, "&Permutations", "Permutations1")),
    Named(Calc(Cmd::Cyc, {"CYC"}, AngleCyc, NoKey, In(Menu::Angle, "&Cycles", "Cycles1", "", Check::Radio)), "Angle Change"),
    Named(Calc(Cmd::Deg, {"DEG"}, AngleDeg, NoKey, In(Menu::Angle, "&Degrees", "Degrees1", "", Check::Radio)), "Angle Change"),
    Named(Calc(Cmd::Rad, {"RAD"}, AngleRad, NoKey, In(Menu::Angle, "&Radians", "Radians1", "", Check::Radio)), "Angle Change"),
    Named(Calc(Cmd::Grad, {"GRAD"}, AngleGrad, NoKey, In(Menu::Angle, "&Gradients", "Gradients1", "", Check::Radio)), "Angle Change"),
    Named(Calc(Cmd::Bin, {"BIN"}, BaseBin, NoKey, In(Menu::Base, "&Binary", "Binary1", "Ctrl+B", Check::Radio)), "Base Change"),
    Named(Calc(Cmd::Oct, {"OCT"}, BaseOct, NoKey, In(Menu::Base, "&Octal", "Octal1", "Ctrl+8", Check::Radio)), "Base Change"),
    Named(Calc(Cmd::Dec, {"DEC"}, BaseDec, NoKey, In(Menu::Base, "&Decimal", "Decimal1", "Ctrl+D", Check::Radio)), "Base Change"),
    Named(Calc(Cmd::Hex, {"HEX"}, BaseHex, NoKey, In(Menu::Base, "&Hexadecimal", "Hexadecimal1", "Ctrl+H", Check::Radio)), "Base Change"),
    Win(Cmd::ThemeSystem, In(Menu::Theme, "&System", "ThemeSystem1", "", Check::Choice)),
    Win(Cmd::ThemeLight, Sep(Menu::Theme, "&Light", "ThemeLight1", "", Check::Choice)),
    Win(Cmd::ThemeDark, In(Menu::Theme, "&Dark", "ThemeDark1", "", Check::Choice)),
    Win(Cmd::ThemeHighContrast, In(Menu::Theme, "&High Contrast", "ThemeHighContrast1", "", Check::Choice)),
    Win(Cmd::Zoom100, In(Menu::Zoom, "&100 %", "Zoom1001", "Ctrl+0", Check::Choice)),
    Win(Cmd::Zoom125, In(Menu::Zoom, "1&25 %", "Zoom1251", "", Check::Choice)),
    Win(Cmd::Zoom150, In(Menu::Zoom, "1&50 %", "Zoom1501", "", Check::Choice)),
    Win(Cmd::Zoom200, In(Menu::Zoom, "2&00 %", "Zoom2001", "", Check::Choice)),
    Win(Cmd::ZoomIn, Turn(Also(Sep(Menu::Zoom, "Zoom &In", "ZoomIn1", "Ctrl+="), "Ctrl++"), Wheel::CtrlUp)),
    Win(Cmd::ZoomOut, Turn(In(Menu::Zoom, "Zoom &Out", "ZoomOut1", "Ctrl+-"), Wheel::CtrlDown)),
    Win(Cmd::StayOnTop, Sep(Menu::Options, "Stay On &Top", "AlwaysOnTop1", "", Check::Toggle)),
    Win(Cmd::HideKeyboard, Sep(Menu::Options, "Hide &Keyboard", "HideKeyboard1", "", Check::Toggle)),
    Win(Cmd::HideNumbers, In(Menu::Options, "Hide &Numbers", "HideNumbers1", "", Check::Toggle)),
    Win(Cmd::Tape, Sep(Menu::Options, "Ta&pe", "Tape1", "Ctrl+Shift+T", Check::Toggle)),
    Win(Cmd::Restore, Default(Menu::Popup, "&Restore", "Restore1")),
    Win(Cmd::TrayClose, In(Menu::Popup, "&Close", "Close1")),
    Win(Cmd::AboutTallix, Sep(Menu::Popup, "&About Tallix", "AboutTallix1")),
    // commands on keys only
    Op(Cmd::Add, {"+"}, Real("+", 2, ops::Add), Plain(Key::KPlus)),
    Op(Cmd::Sub, {"-"}, Real("-", 2, ops::Sub), Plain(Key::KMinus)),
    Op(Cmd::Mul, {"*", "×"}, Real("×", 2, ops::Mul), Plain(Key::KMult)),
    Op(Cmd::Div, {"/", "÷"}, Real("÷", 2, ops::Div), Plain(Key::KDiv)),
    Op(Cmd::Swap, {"SWAP"}, Real("SWAP", 2, ops::Swap), Plain(Key::KSwap)),
    Op(Cmd::Last, {"LAST"}, Real("LAST", 0, ops::Last), Plain(Key::KLast)),
    Named(Calc(Cmd::Clr, {"CLR"}, Clear, Shifted(Key::KLast)), "Clear"),
    Op(Cmd::Sum, {"SUM"}, Real("SUM", 0, ops::Sum), Shifted(Key::KPi)),
    Named(Calc(Cmd::Dup, {"ENTER", "DUP"}, EnterKey, Plain(Key::KEnter)), "Enter"),
    Op(Cmd::Drop, {"DROP"}, Real("DROP", 1, ops::Drop), Shifted(Key::KBackspace)),
    Op(Cmd::Neg, {"NEG"}, Real("NEG", 1, ops::Neg), Plain(Key::KPlusMinus)),
    Op(Cmd::Abs, {"ABS"}, Real("ABS", 1, ops::Abs), Shifted(Key::KPlusMinus)),
    Op(Cmd::Fix, {"FIX"}, Real("FIX", 1, ops::Fix), Shifted(Key::KEex)),
    Named(Calc(Cmd::Edit, {}, Edit, Shifted(Key::KEnter)), "Edit"),
    Op(Cmd::Pi, {"PI"}, Real("PI", 0, ops::Pi), Plain(Key::KPi)),
    Op(Cmd::Inv, {"INV"}, Real("INV", 1, ops::Inv), Shifted(Key::KSwap)),
    Op(Cmd::Sin, {"SIN"}, Real("SIN", 1, ops::Sin, Reason::InvalidInput), Plain(Key::KSin)),
    Op(Cmd::Cos, {"COS"}, Real("COS", 1, ops::Cos, Reason::InvalidInput), Plain(Key::KCos)),
    Op(Cmd::Tan, {"TAN"}, Real("TAN", 1, ops::Tan, Reason::InvalidInput), Plain(Key::KTan)),
    Op(Cmd::ASin, {"ASIN"}, Real("ASIN", 1, ops::ASin, Reason::InvalidInput), Shifted(Key::KSin)),
    Op(Cmd::ACos, {"ACOS"}, Real("ACOS", 1, ops::ACos, Reason::InvalidInput), Shifted(Key::KCos)),
    Op(Cmd::ATan, {"ATAN"}, Real("ATAN", 1, ops::ATan, Reason::InvalidInput), Shifted(Key::KTan)),
    Op(Cmd::Sqrt, {"SQRT"}, Real("SQRT", 1, ops::Sqrt, Reason::InvalidInput), Plain(Key::KSqrt)),
    Op(Cmd::Sq, {"SQ"}, Real("SQ", 1, ops::Sq), Shifted(Key::KSqrt)),
    Op(Cmd::Pow, {"^"}, Real("^", 2, ops::Pow, Reason::InvalidInput), Plain(Key::KYToX)),
    Op(Cmd::XRoot, {"XROOT"}, Real("XROOT", 2, ops::XRoot, Reason::InvalidInput), Shifted(Key::KYToX)),
    Op(Cmd::Log, {"LOG"}, Real("LOG", 1, ops::Log, Reason::InvalidInput), Plain(Key::KLog)),
    Op(Cmd::Alog, {"ALOG"}, Real("ALOG", 1, ops::Alog), Shifted(Key::KLog)),
    Op(Cmd::Ln, {"LN"}, Real("LN", 1, ops::Ln, Reason::InvalidInput), Plain(Key::KLn)),
    Op(Cmd::Exp, {"EXP"}, Real("EXP", 1, ops::Exp), Shifted(Key::KLn)),
    Op(Cmd::Mod, {"MOD"}, Int("MOD", 2, ops::Mod), Plain(Key::KMod)),
    Op(Cmd::Fact, {"!"}, Int("!", 1, ops::Fact), Shifted(Key::KMod)),
    Op(Cmd::Reduce, {"REDUCE"}, Int("REDUCE", 2, ops::Reduce), Plain(Key::KRdc)),
    Op(Cmd::ToFrac, {"A/B"}, Real("A/B", 1, ops::ToFrac), Shifted(Key::KRdc)),
};
// clang-format on

} // namespace

std::span<const MenuDef> MenuTable() { return kMenus; }

std::span<const CommandDef> CommandTable() { return kCommands; }

namespace {
std::string MakeLabel(const CommandDef& def) {
    if (!def.label.empty()) return std::string(def.label);
    if (def.scope == Scope::Operation && !def.op.name.empty()) return std::string(def.op.name);
    std::string caption;
    for (char c : def.menu.caption)
        if (c != '&') caption += c;
    while (!caption.empty() && caption.back() == '.') caption.pop_back();
    return caption;
}
} // namespace

const std::string& CommandLabel(Cmd id) {
    static const auto labels = [] {
        std::array<std::string, static_cast<std::size_t>(Cmd::Count)> t;
        for (const CommandDef& c : kCommands) t[static_cast<std::size_t>(c.id)] = MakeLabel(c);
        return t;
    }();
    static const std::string none;
    const auto i = static_cast<std::size_t>(id);
    return i < labels.size() ? labels[i] : none;
}

const std::string& CommandLabel(const CommandDef& def) { return CommandLabel(def.id); }

const CommandDef* CommandInfo(Cmd id) {
    static const auto byId = [] {
        std::array<const CommandDef*, static_cast<std::size_t>(Cmd::Count)> t{};
        for (const CommandDef& c : kCommands) t[static_cast<std::size_t>(c.id)] = &c;
        return t;
    }();
    const auto i = static_cast<std::size_t>(id);
    return i < byId.size() ? byId[i] : nullptr;
}

namespace {
// A batch name of at most 8 characters as one number: its bytes, the first
// lowest, zero padded (no name holds a zero byte).
constexpr std::size_t kLongestName = 8;
std::uint64_t PackName(std::string_view name) {
    std::uint64_t k = 0;
    for (std::size_t i = 0; i < name.size(); ++i)
        k |= std::uint64_t{static_cast<unsigned char>(name[i])} << (8 * i);
    return k;
}
std::size_t NameSlot(std::uint64_t k, std::size_t mask) {
    return static_cast<std::size_t>((k * 0x9E3779B97F4A7C15ULL) >> 40) & mask;
}
} // namespace

const CommandDef* FindCommand(std::string_view name) {
    // Batch mode looks up every token: an open-addressed table of packed
    // names, a quarter full, answers in one or two probes.
    struct Table {
        std::vector<std::pair<std::uint64_t, const CommandDef*>> slots;
        std::size_t mask = 0;
        // The characters a name begins with: a number, most tokens, begins
        // with none but a sign.
        std::array<bool, 256> first{};
    };
    static const Table table = [] {
        std::size_t names = 0;
        for (const CommandDef& c : kCommands) names += c.batch.size();
        std::size_t size = 16;
        while (size < 4 * names) size *= 2;
        Table t{std::vector<std::pair<std::uint64_t, const CommandDef*>>(size), size - 1};
        for (const CommandDef& c : kCommands)
            for (std::string_view n : c.batch) {
                if (n.empty() || n.size() > kLongestName) continue;
                t.first[static_cast<unsigned char>(n[0])] = true;
                const std::uint64_t k = PackName(n);
                std::size_t i = NameSlot(k, t.mask);
                while (t.slots[i].second && t.slots[i].first != k) i = (i + 1) & t.mask;
                if (!t.slots[i].second) t.slots[i] = {k, &c}; // the first row keeps a name
            }
        return t;
    }();
    if (name.empty() || name.size() > kLongestName) return nullptr;
    const char c0 = name[0];
    if (!table.first[static_cast<unsigned char>(c0 >= 'a' && c0 <= 'z' ? c0 - 'a' + 'A' : c0)])
        return nullptr;
    // Packed as it is read, in upper case, as PackName packs.
    std::uint64_t k = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c == 0) return nullptr;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        k |= std::uint64_t{static_cast<unsigned char>(c)} << (8 * i);
    }
    for (std::size_t i = NameSlot(k, table.mask); table.slots[i].second; i = (i + 1) & table.mask)
        if (table.slots[i].first == k) return table.slots[i].second;
    return nullptr;
}

namespace {
struct KeyCommands {
    std::array<std::array<Cmd, 2>, static_cast<std::size_t>(Key::None)> cmd{};
    std::vector<Key> shifted;
};

const KeyCommands& KeyMap() {
    static const KeyCommands map = [] {
        KeyCommands m;
        for (const CommandDef& c : kCommands)
            if (c.key.key != Key::None)
                m.cmd[static_cast<std::size_t>(c.key.key)][c.key.shifted ? 1 : 0] = c.id;
        for (const KeyDef& k : KeyTable()) {
            auto& pair = m.cmd[static_cast<std::size_t>(k.key)];
            // The keys with a shifted row carry a second function under
            // their Shift label; a key with one function runs it in both
            // states.
            if (pair[1] != Cmd::None) m.shifted.push_back(k.key);
            if (pair[0] == Cmd::None) pair[0] = pair[1];
            if (pair[1] == Cmd::None) pair[1] = pair[0];
        }
        return m;
    }();
    return map;
}
} // namespace

Cmd KeyCommand(Key key, bool shifted) {
    if (key == Key::None) return Cmd::None;
    return KeyMap().cmd[static_cast<std::size_t>(key)][shifted ? 1 : 0];
}

std::span<const Key> ShiftedKeys() { return KeyMap().shifted; }

namespace {
constexpr std::pair<Cmd, Theme> kThemeItems[] = {{Cmd::ThemeSystem, Theme::System},
                                                 {Cmd::ThemeLight, Theme::Light},
                                                 {Cmd::ThemeDark, Theme::Dark},
                                                 {Cmd::ThemeHighContrast, Theme::HighContrast}};
constexpr std::pair<Cmd, int> kZoomItems[] = {
    {Cmd::Zoom100, 100}, {Cmd::Zoom125, 125}, {Cmd::Zoom150, 150}, {Cmd::Zoom200, 200}};
} // namespace

Cmd WheelCommand(Wheel wheel) {
    if (wheel != Wheel::None)
        for (const CommandDef& c : kCommands)
            if (c.menu.wheel == wheel) return c.id;
    return Cmd::None;
}

std::optional<Theme> ThemeOfCommand(Cmd id) {
    for (auto [cmd, theme] : kThemeItems)
        if (cmd == id) return theme;
    return std::nullopt;
}

std::optional<int> ZoomOfCommand(Cmd id) {
    for (auto [cmd, zoom] : kZoomItems)
        if (cmd == id) return zoom;
    return std::nullopt;
}

Cmd ThemeCommand(Theme theme) {
    for (auto [cmd, t] : kThemeItems)
        if (t == theme) return cmd;
    return Cmd::ThemeSystem;
}

Cmd ZoomCommand(int percent) {
    for (auto [cmd, zoom] : kZoomItems)
        if (zoom == percent) return cmd;
    return Cmd::Zoom100;
}

} // namespace tallix
