#include "engine/calculator.h"

#include <climits>
#include <random>

#include "baseconv/baseconv.h"
#include "engine/numtext.h"
#include "ops/opframe.h"

namespace tallix {

std::uint64_t Shell::RandomSeed() {
    std::random_device rd;
    return (static_cast<std::uint64_t>(rd()) << 32) ^ rd();
}

Calculator::Calculator(Shell& shell, char decimalChar) : DecimalChar(decimalChar), shell_(shell) {
    RefreshStackDisplay();
}

// ---- text helpers -----------------------------------------------------

std::string CutChars(std::string_view text, std::size_t n) {
    if (text.size() <= n) return std::string(text);
    std::size_t chars = 0, i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t len = 1;
        if (c >= 0xC0 && c < 0xE0)
            len = 2;
        else if (c >= 0xE0 && c < 0xF0)
            len = 3;
        else if (c >= 0xF0 && c < 0xF8)
            len = 4;
        if (i + len > text.size()) len = 1;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) len = 1;
        if (chars == n) break;
        ++chars;
        i += len;
    }
    return std::string(text.substr(0, i));
}

std::string ToggleEntrySign(std::string_view text, std::size_t i) {
    std::string s = CutChars(text, 80);
    if (s.size() < i)
        s += '-';
    else if (s[i - 1] == '-')
        s.erase(i - 1, 1);
    else
        s.insert(i - 1, 1, '-');
    if (s.size() > 80) s.resize(80);
    return s;
}

const char* BaseCaption(Base base) {
    switch (base) {
    case Base::BIN: return "BIN";
    case Base::OCT: return "OCT";
    case Base::HEX: return "HEX";
    case Base::DEC: break;
    }
    return "DEC";
}

const char* AngleCaption(int angleMode) {
    switch (angleMode) {
    case 0: return "CYC";
    case 1: return "DEG";
    case 3: return "GRAD";
    default: return "RAD";
    }
}

// ---- primitives -------------------------------------------------------

std::string Calculator::FormatValue(Value v) const { return FormatStackValue(v, DecimalChar); }

void Calculator::PushValue(Value v) { PushText(FormatValue(v)); }

void Calculator::PushText(std::string text) {
    Stack.push(std::move(text));
    RefreshStackDisplay();
}

bool Calculator::PopText(std::string& text) {
    bool any = !Stack.empty();
    if (any) text = CutChars(Stack.pop(), 80);
    RefreshStackDisplay();
    return any;
}

void Calculator::ShowError(std::string_view name, std::string_view reason) {
    std::string head = CutChars(std::string(name) + " Error: ", 88);
    shell_.ShowError(CutChars(head + "\r\n" + std::string(reason), 107));
}

namespace {
std::optional<Value> ParseArg(std::string_view text, bool asInteger, char dc) {
    if (asInteger) {
        auto i = ParseInt32(text);
        if (!i) return std::nullopt;
        return static_cast<Value>(*i);
    }
    return ParseReal(text, dc);
}
} // namespace

bool Calculator::PopOneArg(Value& value, std::string_view name, bool asInteger) {
    if (Stack.empty()) {
        RefreshStackDisplay();
        ShowError(name, "Too Few Arguments");
        return false;
    }
    // The whole text is kept aside so that a failed pop puts it back intact,
    // however long it is; only its first 80 characters are read.
    std::string text = Stack.pop();
    RefreshStackDisplay();
    auto v = ParseArg(CutChars(text, 80), asInteger, DecimalChar);
    if (!v) {
        PushText(std::move(text));
        ShowError(name, "Bad Argument Type");
        return false;
    }
    value = *v;
    LastX = value;
    LastNum = 1;
    return true;
}

bool Calculator::PopTwoArgs(Value& x, Value& y, bool asInteger, std::string_view name) {
    if (Stack.size() < 2) {
        ShowError(name, "Too Few Arguments");
        return false;
    }
    auto vx = ParseArg(CutChars(Stack.at(0), 80), asInteger, DecimalChar);
    auto vy = vx ? ParseArg(CutChars(Stack.at(1), 80), asInteger, DecimalChar) : std::nullopt;
    if (!vx || !vy) {
        ShowError(name, "Bad Argument Type");
        return false;
    }
    Stack.pop();
    Stack.pop();
    RefreshStackDisplay();
    x = *vx;
    y = *vy;
    LastX = x;
    LastY = y;
    LastNum = 2;
    return true;
}

bool Calculator::EnterEntryLine() {
    if (Entry.empty()) {
        if (Stack.empty()) {
            ShowError("DUP", "Too Few Arguments");
            return false;
        }
        Value v;
        if (!PopOneArg(v, "DUP", false)) return false;
        std::string text = FormatValue(v);
        PushText(text);
        PushText(std::move(text));
        return true;
    }
    Value value = 0;
    std::string text;
    if (CurrentBase == Base::DEC) {
        auto v = ParseReal(Entry, DecimalChar);
        if (!v) {
            ShowError("Entry", "Invalid Syntax");
            return false;
        }
        value = *v;
        text = FormatValue(value);
        Entry = text;
    } else {
        try {
            std::int64_t i = 0;
            switch (CurrentBase) {
            case Base::BIN: i = BaseConv::BinToInt(Entry, WordSize); break;
            case Base::OCT: i = BaseConv::OctToInt(Entry, WordSize); break;
            default: i = BaseConv::HexToInt(Entry, WordSize); break;
            }
            value = static_cast<Value>(i);
            text = FormatFixed(value, 0, DecimalChar);
        } catch (const BaseConv::EConvertError&) {
            ShowError("Entry", "Invalid Syntax");
            return false;
        }
    }
    PushText(std::move(text));
    LastX = value;
    LastNum = 1;
    return true;
}

bool Calculator::CommitEntry() { return Entry.empty() || EnterEntryLine(); }

void Calculator::ResetEntry() {
    Entry.clear();
    RefreshStackDisplay();
    ShiftDown = false;
}

// ---- entry line -------------------------------------------------------

void Calculator::AppendToEntry(char ch) {
    if (ch != 0) Entry += ch;
}

bool Calculator::KeyEnabled(Key key) const {
    const Base b = CurrentBase;
    switch (key) {
    case Key::K2:
    case Key::K3:
    case Key::K4:
    case Key::K5:
    case Key::K6:
    case Key::K7: return b != Base::BIN;
    case Key::K8:
    case Key::K9: return b == Base::DEC || b == Base::HEX;
    case Key::KA:
    case Key::KB:
    case Key::KC:
    case Key::KD:
    case Key::KE:
    case Key::KF: return b == Base::HEX;
    case Key::KDot:
    case Key::KPlusMinus:
    case Key::KEex: return b == Base::DEC;
    case Key::None: return false;
    default: return true;
    }
}

bool Calculator::PressKey(Key key) {
    if (key == Key::KShift) {
        ShiftDown = !ShiftDown;
        return true;
    }
    if (!KeyEnabled(key)) return false;
    const bool shifted = ShiftDown;
    const bool dec = CurrentBase == Base::DEC;
    switch (key) {
    case Key::KDot:
        if (dec && Entry.find('E') == std::string::npos &&
            Entry.find(DecimalChar) == std::string::npos)
            AppendToEntry(DecimalChar);
        break;
    case Key::KEex:
        if (!dec) break;
        if (shifted)
            Run(Cmd::Fix);
        else if (Entry.empty())
            Entry = "1E";
        else if (Entry.find('E') == std::string::npos)
            AppendToEntry('E');
        break;
    case Key::KPlusMinus:
        if (!dec) break;
        if (shifted) {
            Run(Cmd::Abs);
        } else if (!Entry.empty()) {
            std::size_t e = Entry.find('E');
            Entry = ToggleEntrySign(Entry, e == std::string::npos ? 1 : e + 2);
        } else {
            Run(Cmd::Neg);
        }
        break;
    case Key::KBackspace:
        if (!shifted && !Entry.empty())
            Entry.pop_back();
        else
            Run(Cmd::Drop);
        break;
    case Key::KSpace:
        if (EnterEntryLine()) ResetEntry();
        break;
    case Key::KEnter:
        if (!shifted) {
            if (EnterEntryLine()) ResetEntry();
        } else if (Entry.empty()) {
            std::string text;
            if (PopText(text)) {
                ResetEntry();
                Entry = EditText(text);
            } else {
                ShowError("EDIT", "Too Few Arguments");
                ResetEntry();
            }
        }
        break;
    default: {
        const KeyDef& def = KeyInfo(key);
        if (def.plain == Cmd::None) { // a digit key
            AppendToEntry(def.keyboard);
            break;
        }
        Run(shifted ? def.shifted : def.plain);
        break;
    }
    }
    // The key's flash ends by switching Shift off: a Shift applies to
    // exactly one key.
    ShiftDown = false;
    return true;
}

// ---- commands -----------------------------------------------------------

void Calculator::SelectBase(Base base) {
    if (!CommitEntry()) return;
    CurrentBase = base;
    ResetEntry();
}

void Calculator::SelectAngleMode(int mode) {
    AngleMode = (mode == 0 || mode == 1 || mode == 3) ? mode : 2;
}

void Calculator::Run(Cmd cmd) {
    switch (cmd) {
    case Cmd::None: return;
    case Cmd::Dup:
        if (EnterEntryLine()) ResetEntry();
        return;
    case Cmd::Clr: // the entry line's text is discarded, not entered
        ScrollBar.Position = ScrollBar.Max;
        Stack.clear();
        ResetEntry();
        return;
    case Cmd::Bin: SelectBase(Base::BIN); return;
    case Cmd::Oct: SelectBase(Base::OCT); return;
    case Cmd::Dec: SelectBase(Base::DEC); return;
    case Cmd::Hex: SelectBase(Base::HEX); return;
    case Cmd::Cyc: SelectAngleMode(0); return;
    case Cmd::Deg: SelectAngleMode(1); return;
    case Cmd::Rad: SelectAngleMode(2); return;
    case Cmd::Grad: SelectAngleMode(3); return;
    default: break;
    }
    if (const OpDef* op = FindOp(cmd)) RunOp(*this, *op);
}

// ---- display ------------------------------------------------------------

namespace {
// Up to this depth the scroll arithmetic is the classic one (1000 units a
// level beyond six); deeper stacks use fewer units a level so that every
// quantity stays within 32 bits.
constexpr std::size_t kClassicDepth = 357919;
} // namespace

void Calculator::RefreshStackDisplay() {
    const std::size_t n = Stack.size();
    ScrollBarState& sb = ScrollBar;
    if (n > 6) {
        const std::int64_t levels = static_cast<std::int64_t>(n) - 6;
        std::int64_t max, page, small;
        if (n <= kClassicDepth) {
            max = levels * 1000;
            page = max * 6 / static_cast<std::int64_t>(n);
            small = (max - page) / levels;
        } else {
            // Whole units a level, the page exactly six levels: the range
            // above the page is a whole number of levels, so every level
            // is one small step from the next.
            small = std::max<std::int64_t>(
                1, std::min<std::int64_t>(1000, INT_MAX / static_cast<std::int64_t>(n)));
            max = small * static_cast<std::int64_t>(n);
            page = 6 * small;
        }
        sb.Max = static_cast<int>(max);
        sb.PageSize = static_cast<int>(page);
        sb.Position = static_cast<int>(max - page);
        sb.SmallChange = static_cast<int>(small);
        sb.LargeChange = static_cast<int>(6 * small);
        sb.Visible = true;
    } else {
        sb.Max = 0;
        sb.PageSize = 0;
        sb.Position = 0;
        sb.Visible = false;
    }
}

std::size_t Calculator::FirstShownIndex() const {
    const ScrollBarState& sb = ScrollBar;
    // How far the view is below the top of the stack, in scroll units.
    const std::int64_t off = static_cast<std::int64_t>(sb.Max) - sb.PageSize - sb.Position;
    if (off <= 0 || Stack.size() <= 6) return 0;
    return static_cast<std::size_t>(off / std::max(1, sb.SmallChange));
}

std::array<StackLine, 6> Calculator::StackLines() const {
    std::array<StackLine, 6> lines;
    const std::size_t a = FirstShownIndex();
    for (std::size_t k = 0; k < 6; ++k) {
        const std::size_t i = a + k;
        if (i < Stack.size()) lines[k].text = FormatForBase(Stack.at(i));
        lines[k].label = std::to_string(i + 1) + ":";
    }
    return lines;
}

void Calculator::ScrollBarScroll(int position) {
    const int top = ScrollBar.Max - ScrollBar.PageSize;
    if (position > top) position = top;
    if (position < 0) position = 0;
    ScrollBar.Position = position;
}

std::string Calculator::FormatForBase(std::string_view stackText) const {
    auto v = ParseReal(stackText, DecimalChar);
    if (!v) return CutChars(stackText, 80);
    std::string out;
    if (CurrentBase == Base::DEC) {
        out = FixLength < 0 ? FormatGeneral(*v, 15, DecimalChar)
                            : FormatFixed(*v, FixLength, DecimalChar);
    } else {
        auto i = RoundToInt64(*v);
        if (!i) return CutChars(stackText, 80);
        try {
            switch (CurrentBase) {
            case Base::BIN: out = BaseConv::IntToBin(WordSize, *i); break;
            case Base::OCT: out = BaseConv::IntToOct(WordSize, *i); break;
            default: out = BaseConv::IntToHex(WordSize, *i); break;
            }
        } catch (const BaseConv::EConvertError&) {
            return CutChars(stackText, 80);
        }
    }
    if (out.size() > 80) out.resize(80);
    return out;
}

std::string Calculator::EditText(std::string_view stackText) const {
    return CurrentBase == Base::DEC ? CutChars(stackText, 80) : FormatForBase(stackText);
}

} // namespace tallix
