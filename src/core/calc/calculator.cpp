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

Calculator::Calculator(Shell& shell, char decimalChar) : decimalChar_(decimalChar), shell_(shell) {}

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

const char* AngleCaption(AngleUnit unit) {
    switch (unit) {
    case AngleUnit::Cycles: return "CYC";
    case AngleUnit::Degrees: return "DEG";
    case AngleUnit::Gradients: return "GRAD";
    case AngleUnit::Radians: break;
    }
    return "RAD";
}

std::string BaseSpoken(Base base) {
    switch (base) {
    case Base::BIN: return "Base: binary";
    case Base::OCT: return "Base: octal";
    case Base::HEX: return "Base: hexadecimal";
    case Base::DEC: break;
    }
    return "Base: decimal";
}

std::string AngleSpoken(AngleUnit unit) {
    switch (unit) {
    case AngleUnit::Cycles: return "Angle unit: cycles";
    case AngleUnit::Degrees: return "Angle unit: degrees";
    case AngleUnit::Gradients: return "Angle unit: gradients";
    case AngleUnit::Radians: break;
    }
    return "Angle unit: radians";
}

// ---- primitives -------------------------------------------------------

std::string Calculator::FormatValue(Value v) const { return FormatStackValue(v, decimalChar_); }

void Calculator::PushValue(Value v) { PushText(FormatValue(v)); }

void Calculator::PushText(std::string text) {
    Journal()->Pushed(text);
    stack_.push(std::move(text));
    StackChanged();
}

bool Calculator::PopText(std::string& text) {
    bool any = !stack_.empty();
    if (any) {
        std::string whole = stack_.pop();
        text = CutChars(whole, 80);
        // The step keeps the whole text, so that undo restores it exactly.
        Journal()->Popped(std::move(whole));
    }
    StackChanged();
    return any;
}

void Calculator::MoveToTop(std::size_t i) {
    if (i == 0 || i >= stack_.size()) return;
    Journal()->Moved(true, i);
    stack_.moveToTop(i);
    StackChanged();
}

void Calculator::MoveFromTop(std::size_t i) {
    if (i == 0 || i >= stack_.size()) return;
    Journal()->Moved(false, i);
    stack_.moveFromTop(i);
    StackChanged();
}

void Calculator::ClearStack() {
    if (!stack_.empty()) {
        // The old entries move into the step as they are.
        std::vector<std::string> old;
        stack_.swapItems(old);
        Journal()->Replaced(std::move(old), 0);
    }
    StackChanged();
}

void Calculator::ReplaceStack(std::vector<std::string> levelsTopFirst) {
    std::vector<std::string> old;
    stack_.swapItems(old);
    Journal()->Replaced(std::move(old), History::ItemsBytes(levelsTopFirst));
    stack_.assignLevels(std::move(levelsTopFirst));
    StackChanged();
}

void Calculator::ShowError(std::string_view name, std::string_view detail, Reason reason) {
    CommandFailed();
    std::string head = CutChars(std::string(name) + " Error: " + std::string(detail), 88);
    std::string message = CutChars(head + "\r\n" + std::string(ReasonText(reason)), 107);
    if (listener_ && stepError_.empty()) stepError_ = message;
    // Shown once the pass has closed its step: the step is then on record
    // (the tape's line written, the history complete) while the message
    // waits for the user, whatever ends the program meanwhile.
    if (stepDepth_ > 0)
        pendingErrors_.push_back(std::move(message));
    else
        shell_.ShowError(message);
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
        ShowError(name, {}, Reason::TooFewArguments);
        return false;
    }
    // The whole text is kept aside so that a failed pop puts it back intact,
    // however long it is, and the whole text is read: the value an operation
    // takes is the value the display shows.
    std::string text = stack_.pop();
    StackChanged();
    auto v = ParseArg(text, asInteger, decimalChar_);
    if (!v) {
        // Back where it was: the stack has not changed.
        stack_.push(std::move(text));
        ShowError(name, {}, Reason::BadArgumentType);
        return false;
    }
    Journal()->Popped(std::move(text));
    value = *v;
    lastX_ = value;
    lastNum_ = 1;
    return true;
}

bool Calculator::PopTwoArgs(Value& x, Value& y, bool asInteger, std::string_view name) {
    if (stack_.size() < 2) {
        ShowError(name, {}, Reason::TooFewArguments);
        return false;
    }
    auto vx = ParseArg(stack_.at(0), asInteger, decimalChar_);
    auto vy = vx ? ParseArg(stack_.at(1), asInteger, decimalChar_) : std::nullopt;
    if (!vx || !vy) {
        ShowError(name, {}, Reason::BadArgumentType);
        return false;
    }
    std::string tx = stack_.pop();
    std::string ty = stack_.pop();
    Journal()->PoppedTwo(tx, ty);
    StackChanged();
    x = *vx;
    y = *vy;
    lastX_ = x;
    lastY_ = y;
    lastNum_ = 2;
    return true;
}

bool Calculator::EnterEntryLine() {
    if (entry_.empty()) {
        if (stack_.empty()) {
            ShowError("DUP", {}, Reason::TooFewArguments);
            return false;
        }
        Value v;
        if (!PopOneArg(v, "DUP", false)) return false;
        std::string text = FormatValue(v);
        PushText(text);
        PushText(std::move(text));
        return true;
    }
    if (listener_) stepEntered_ = true;
    if (EnterEditedEntry()) return true;
    Value value = 0;
    std::string text;
    if (!ParseEntry(entry_, text, value)) {
        ShowError("Entry", {}, Reason::InvalidSyntax);
        return false;
    }
    if (currentBase_ == Base::DEC) entry_ = text;
    // Entered, the text is no longer what Edit put there.
    editText_.clear();
    PushText(std::move(text));
    lastX_ = value;
    lastNum_ = 1;
    return true;
}

bool Calculator::ParseEntry(std::string_view entry, std::string& text, Value& value) const {
    if (currentBase_ == Base::DEC) {
        auto v = ParseReal(entry, decimalChar_);
        if (!v) return false;
        value = *v;
        text = FormatValue(value);
        return true;
    }
    try {
        std::int64_t i = 0;
        switch (currentBase_) {
        case Base::BIN: i = BaseConv::BinToInt(entry, wordSize_); break;
        case Base::OCT: i = BaseConv::OctToInt(entry, wordSize_); break;
        default: i = BaseConv::HexToInt(entry, wordSize_); break;
        }
        value = static_cast<Value>(i);
        text = FormatFixed(value, 0, decimalChar_);
        return true;
    } catch (const BaseConv::EConvertError&) {
        return false;
    }
}

bool Calculator::CommitEntry() {
    if (entry_.empty()) return true;
    // Entering the typed number is a step of its own: undoing the command
    // that entered it gives the number back on the stack.
    const std::string command(history_.PendingLabel());
    CutStep(kEntryLabel);
    const bool entered = EnterEntryLine();
    CutStep(command);
    return entered;
}

bool Calculator::EnterEditedEntry() {
    if (!edited_ || edited_->shown != entry_ || edited_->base != currentBase_ ||
        edited_->wordSize != wordSize_)
        return false;
    // Read in the base, the text would stand for another value (1E30 shows
    // as 7728 in HEX, and 7728 read back is 30504): the entry goes back
    // exactly as it was.
    std::string original = std::move(edited_->original);
    edited_.reset();
    editText_.clear();
    if (auto v = ParseReal(original, decimalChar_)) {
        lastX_ = *v;
        lastNum_ = 1;
    }
    PushText(std::move(original));
    return true;
}

void Calculator::ResetEntry() {
    entry_.clear();
    edited_.reset();
    editText_.clear();
    StackChanged();
    shiftDown_ = false;
}

// ---- entry line -------------------------------------------------------

void Calculator::AppendToEntry(char ch) {
    if (ch != 0) entry_ += ch;
}

void Calculator::EditLevel1() {
    if (!stack_.empty()) {
        std::string original = stack_.pop();
        // The step keeps the whole text, so that undo restores it exactly.
        Journal()->Popped(original);
        StackChanged();
        ResetEntry();
        entry_ = EditText(CutChars(original, 80));
        // The entry line holds 80 characters; a longer number comes back as
        // its stack text, so that Enter gives back the value it showed.
        if (currentBase_ == Base::DEC && original.size() > 80)
            if (auto v = ParseReal(original, decimalChar_)) entry_ = FormatValue(*v);
        editText_ = entry_;
        if (currentBase_ != Base::DEC)
            edited_ = EditedEntry{std::move(original), entry_, currentBase_, wordSize_};
    } else {
        ShowError("EDIT", {}, Reason::TooFewArguments);
        ResetEntry();
    }
}

// ---- modes -----------------------------------------------------------

void Calculator::SelectBase(Base base) {
    if (!CommitEntry()) return;
    history_.ModesChanging(View());
    currentBase_ = base;
    ResetEntry();
}

void Calculator::SelectAngleMode(AngleUnit unit) {
    history_.ModesChanging(View());
    angleMode_ = unit;
}

// ---- undo and redo ------------------------------------------------------

ModeState Calculator::Modes() const {
    ModeState m;
    m.LastX = lastX_;
    m.LastY = lastY_;
    m.LastNum = lastNum_;
    m.FixLength = fixLength_;
    m.CurrentBase = currentBase_;
    m.WordSize = wordSize_;
    m.AngleMode = angleMode_;
    if (!editText_.empty() && entry_ == editText_) {
        m.Edit = std::make_shared<const ModeState::EditedText>(ModeState::EditedText{
            editText_, edited_ ? std::optional<std::string>(edited_->original) : std::nullopt});
    }
    return m;
}

void Calculator::SetModes(const ModeState& m) {
    lastX_ = m.LastX;
    lastY_ = m.LastY;
    lastNum_ = m.LastNum;
    fixLength_ = m.FixLength;
    currentBase_ = m.CurrentBase;
    wordSize_ = m.WordSize;
    angleMode_ = m.AngleMode;
    ResetEntry();
    if (m.Edit) {
        entry_ = editText_ = m.Edit->text;
        if (m.Edit->original)
            edited_ = EditedEntry{*m.Edit->original, m.Edit->text, m.CurrentBase, m.WordSize};
    }
}

void Calculator::Passed() {
    if (!pendingErrors_.empty()) ShowPendingErrors();
    ++revision_;
    shell_.StateChanged();
}

void Calculator::ShowPendingErrors() {
    // A pass that an error box interrupts may start another pass.
    std::vector<std::string> errors;
    errors.swap(pendingErrors_);
    for (const std::string& e : errors) shell_.ShowError(e);
}

void Calculator::BeginStep(std::string_view label) {
    if (stepDepth_++ == 0) {
        if (listener_) listener_->PassOpening(*this);
        history_.Begin(View(), label);
    } else {
        history_.Label(label);
    }
}

void Calculator::EndStep() {
    if (stepDepth_ > 0 && --stepDepth_ == 0) {
        // Batch mode has no listener: the record ends right here.
        if (!listener_)
            history_.End(View(), stack_);
        else
            EndRecord();
    }
}

void Calculator::EndRecord() {
    if (!listener_) {
        history_.End(View(), stack_);
        return;
    }
    const std::string label(history_.PendingLabel());
    const std::uint64_t kept = history_.KeptCount();
    history_.End(View(), stack_);
    const std::string error = std::move(stepError_);
    stepError_.clear();
    const bool entered = std::exchange(stepEntered_, false);
    listener_->StepClosed(*this, {label, history_.KeptCount() != kept, error, entered});
}

void Calculator::EndLoad(StepListener* listener) {
    EndStep();
    history_.Clear();
    stepError_.clear();
    stepEntered_ = false;
    listener_ = listener;
    if (stepDepth_ == 0) {
        if (listener_) listener_->Loaded(*this);
        Passed();
    }
}

void Calculator::CommandFailed() {
    if (stepDepth_ > 0) history_.Failed();
}

void Calculator::CutStep(std::string_view label) {
    if (stepDepth_ == 0) return;
    EndRecord();
    history_.Begin(View(), label);
}

std::string_view Calculator::UndoLabel() const {
    return EntryTyped() ? std::string_view("Typing") : history_.UndoLabel();
}

bool Calculator::Undo() {
    if (stepDepth_ > 0) return false;
    if (EntryTyped()) {
        ResetEntry();
        Passed();
        return true;
    }
    ModeState m;
    if (!history_.Undo(stack_, View(), m)) return false;
    SetModes(m);
    if (listener_) listener_->Undone(*this);
    Passed();
    return true;
}

bool Calculator::Redo() {
    ModeState m;
    if (stepDepth_ > 0 || !history_.Redo(stack_, m)) return false;
    SetModes(m);
    if (listener_) listener_->Redone(*this);
    Passed();
    return true;
}

} // namespace tallix
