#include "core/calc/calculator.h"

#include <random>

#include "core/number/baseconv.h"
#include "core/number/numtext.h"
#include "core/number/utf8.h"

namespace tallix {

std::uint64_t Shell::RandomSeed() {
    std::random_device rd;
    return (static_cast<std::uint64_t>(rd()) << 32) ^ rd();
}

Calculator::Calculator(Shell& shell, char decimalChar) : DecimalChar(decimalChar), shell_(shell) {}

// ---- text helpers -----------------------------------------------------

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
    stack_.push(std::move(text));
    StackChanged();
}

bool Calculator::PopText(std::string& text) {
    bool any = !stack_.empty();
    if (any) text = CutChars(stack_.pop(), 80);
    StackChanged();
    return any;
}

void Calculator::MoveToTop(std::size_t i) {
    stack_.moveToTop(i);
    StackChanged();
}

void Calculator::MoveFromTop(std::size_t i) {
    stack_.moveFromTop(i);
    StackChanged();
}

void Calculator::ClearStack() {
    stack_.clear();
    StackChanged();
}

void Calculator::ReplaceStack(std::vector<std::string> levelsTopFirst) {
    stack_.assignLevels(std::move(levelsTopFirst));
    StackChanged();
}

void Calculator::ShowError(std::string_view name, Reason reason) {
    std::string head = CutChars(std::string(name) + " Error: ", 88);
    shell_.ShowError(CutChars(head + "\r\n" + std::string(ReasonText(reason)), 107));
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
    if (stack_.empty()) {
        StackChanged();
        ShowError(name, Reason::TooFewArguments);
        return false;
    }
    // The whole text is kept aside so that a failed pop puts it back intact,
    // however long it is; only its first 80 characters are read.
    std::string text = stack_.pop();
    StackChanged();
    auto v = ParseArg(CutChars(text, 80), asInteger, DecimalChar);
    if (!v) {
        PushText(std::move(text));
        ShowError(name, Reason::BadArgumentType);
        return false;
    }
    value = *v;
    LastX = value;
    LastNum = 1;
    return true;
}

bool Calculator::PopTwoArgs(Value& x, Value& y, bool asInteger, std::string_view name) {
    if (stack_.size() < 2) {
        ShowError(name, Reason::TooFewArguments);
        return false;
    }
    auto vx = ParseArg(CutChars(stack_.at(0), 80), asInteger, DecimalChar);
    auto vy = vx ? ParseArg(CutChars(stack_.at(1), 80), asInteger, DecimalChar) : std::nullopt;
    if (!vx || !vy) {
        ShowError(name, Reason::BadArgumentType);
        return false;
    }
    stack_.pop();
    stack_.pop();
    StackChanged();
    x = *vx;
    y = *vy;
    LastX = x;
    LastY = y;
    LastNum = 2;
    return true;
}

bool Calculator::EnterEntryLine() {
    if (Entry.empty()) {
        if (stack_.empty()) {
            ShowError("DUP", Reason::TooFewArguments);
            return false;
        }
        Value v;
        if (!PopOneArg(v, "DUP", false)) return false;
        std::string text = FormatValue(v);
        PushText(text);
        PushText(std::move(text));
        return true;
    }
    if (EnterEditedEntry()) return true;
    Value value = 0;
    std::string text;
    if (CurrentBase == Base::DEC) {
        auto v = ParseReal(Entry, DecimalChar);
        if (!v) {
            ShowError("Entry", Reason::InvalidSyntax);
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
            ShowError("Entry", Reason::InvalidSyntax);
            return false;
        }
    }
    PushText(std::move(text));
    LastX = value;
    LastNum = 1;
    return true;
}

bool Calculator::EnterEditedEntry() {
    if (!edited_ || edited_->shown != Entry || edited_->base != CurrentBase ||
        edited_->wordSize != WordSize)
        return false;
    // Read in the base, the text would stand for another value (1E30 shows
    // as 7728 in HEX, and 7728 read back is 30504): the entry goes back
    // exactly as it was.
    std::string original = std::move(edited_->original);
    edited_.reset();
    if (auto v = ParseReal(CutChars(original, 80), DecimalChar)) {
        LastX = *v;
        LastNum = 1;
    }
    PushText(std::move(original));
    return true;
}

bool Calculator::CommitEntry() { return Entry.empty() || EnterEntryLine(); }

void Calculator::ResetEntry() {
    Entry.clear();
    edited_.reset();
    StackChanged();
    ShiftDown = false;
}

// ---- entry line -------------------------------------------------------

void Calculator::AppendToEntry(char ch) {
    if (ch != 0) Entry += ch;
}

void Calculator::EditLevel1() {
    if (!stack_.empty()) {
        std::string original = stack_.pop();
        ResetEntry();
        Entry = EditText(CutChars(original, 80));
        if (CurrentBase != Base::DEC)
            edited_ = EditedEntry{std::move(original), Entry, CurrentBase, WordSize};
    } else {
        ShowError("EDIT", Reason::TooFewArguments);
        ResetEntry();
    }
}

// ---- modes -----------------------------------------------------------

void Calculator::SelectBase(Base base) {
    if (!CommitEntry()) return;
    CurrentBase = base;
    ResetEntry();
}

void Calculator::SelectAngleMode(int mode) {
    AngleMode = (mode == 0 || mode == 1 || mode == 3) ? mode : 2;
}

} // namespace tallix
