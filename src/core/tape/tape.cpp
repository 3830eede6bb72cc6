#include "core/tape/tape.h"

#include <algorithm>
#include <cstring>

#include "core/commands/dispatch.h"
#include "core/commands/registry.h"
#include "core/commands/tokens.h"
#include "core/number/numtext.h"

namespace tallix::tape {

Start StartOf(const Calculator& calc) {
    Start s;
    std::vector<std::string> levels = calc.StackLevels();
    s.stack.assign(std::make_move_iterator(levels.rbegin()),
                   std::make_move_iterator(levels.rend()));
    s.base = calc.CurrentBase();
    s.angle = calc.AngleMode();
    s.wordSize = calc.WordSize();
    s.fixLength = calc.FixLength();
    s.lastX = calc.LastX();
    s.lastY = calc.LastY();
    // LAST gives back two, one (any other count) or none.
    s.lastNum = calc.LastNum() > 2 ? 1 : calc.LastNum();
    return s;
}

namespace {

// Whether entering the text in DEC gives it back: its 18-digit text.
bool ReadsBack(std::string_view text, char decimalChar) {
    const std::optional<Value> v = ParseReal(text, decimalChar);
    return v && FormatStackValue(*v, decimalChar) == text;
}

} // namespace

std::string DecimalToken(std::string_view text, char decimalChar) {
    return ReadsBack(text, decimalChar) ? std::string(text) : LiteralToken(text);
}

std::string NumberToken(const Calculator& calc, std::string_view text) {
    if (calc.CurrentBase() == Base::DEC) return DecimalToken(text, calc.DecimalChar());
    const std::string shown = calc.FormatForBase(text);
    std::string back;
    Value value = 0;
    if (calc.ParseEntry(shown, back, value) && back == text) return shown;
    // The display's digits stand for another value (2.5, 1E30, beyond the
    // word): the exact text goes in as a decimal number.
    if (ReadsBack(text, calc.DecimalChar()))
        return "DEC " + std::string(text) + " " + BaseCaption(calc.CurrentBase());
    return LiteralToken(text);
}

namespace {

// A calculator that replays tokens says nothing of its errors.
class QuietShell : public Shell {
public:
    void ShowError(const std::string&) override {}
};

// "NAME Error: \r\nReason" on one line.
std::string OneLine(std::string_view message) {
    std::string out;
    out.reserve(message.size());
    for (char c : message)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

// The batch token of a command step, by its label; empty for a step no
// token replays (an entry's or a paste's error).
std::string CommandToken(const Calculator& calc, std::string_view label) {
    if (label == CommandLabel(Cmd::Clr)) return "CLR";
    if (label == CommandLabel(Cmd::Dup)) return "ENTER";
    // Edit takes level 1 into the entry line; what it leaves is entered
    // by a later line of its own.
    if (label == CommandLabel(Cmd::Edit)) return "DROP";
    if (label == CommandLabel(Cmd::Hex)) return BaseCaption(calc.CurrentBase());
    if (label == CommandLabel(Cmd::Deg)) return AngleCaption(calc.AngleMode());
    if (FindCommand(label)) return std::string(label);
    return {};
}

// The token that sets the calculator's last arguments, when a line's tokens
// leave others than its step did. Tokens that push or drop a text that
// reads as a number leave `left` as the one last argument; nothing (no such
// text) leaves them as they were, as a step that only moved texts did.
std::string LastArgsUnless(const Calculator& calc, std::optional<Value> left) {
    if (!left) return {};
    const Value x = calc.LastX();
    if (calc.LastNum() == 1 && std::memcmp(&x, &*left, 10) == 0) return {};
    return ' ' + LastArgsToken(calc);
}

// The value of the highest of levels n..1 that reads as a number: the last
// argument that pushing them, deepest first, leaves.
std::optional<Value> PushedLastX(const Calculator& calc, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (auto v = ParseReal(calc.Stack().at(i), calc.DecimalChar())) return v;
    return std::nullopt;
}

// The stack texts at levels n..1 as number tokens, deepest first.
std::string TopTokens(const Calculator& calc, std::size_t n) {
    std::string out;
    for (std::size_t i = n; i-- > 0;) {
        if (!out.empty()) out += ' ';
        out += NumberToken(calc, calc.Stack().at(i));
    }
    return out;
}

} // namespace

void RunTokens(Calculator& calc, std::string_view tokens) {
    std::size_t pos = 0;
    std::string_view token;
    while (NextToken(tokens, pos, token)) RunToken(calc, token);
}

void PushLineValue(Calculator& calc, const std::string& text) {
    calc.Apply(kEntryLabel, [&text](Calculator::Change& c) {
        if (!c.CommitEntry()) return;
        c.PushText(text);
        // As a typed number's, its value becomes the last argument.
        if (auto v = ParseReal(text, c.Calc().DecimalChar())) c.SetLastX(*v);
        c.ResetEntry();
    });
}

Tape::Tape(std::size_t maxLines)
    : maxLines_(maxLines < 1 ? 1 : maxLines), replayShell_(std::make_unique<QuietShell>()) {}

Tape::~Tape() { Detach(); }

void Tape::Attach(Calculator& calc) {
    Detach();
    calc_ = &calc;
    calc.SetStepListener(this);
    // Lines undone in a history that is gone (an earlier run's) can never
    // come back.
    if (!calc.CanRedo()) DropUndoneLines();
    // Without a line that leads to it, the tape starts where the next
    // pass starts.
    if (present_ == 0) startDirty_ = true;
    Follow(calc);
}

void Tape::Detach() {
    if (calc_) calc_->SetStepListener(nullptr);
    calc_ = nullptr;
}

void Tape::Clear(const Calculator& calc) {
    lines_.clear();
    present_ = 0;
    startDirty_ = true;
    Follow(calc);
    Changed();
    if (view_) view_->LinesReset();
}

void Tape::PassOpening(const Calculator& calc) {
    // Taken once, when it is needed: copying the stack at every load or
    // undo would cost its depth each time.
    if (!startDirty_) return;
    SetStart(StartOf(calc));
    startDirty_ = false;
    Changed();
}

Start Tape::ScriptStart() const { return startDirty_ && calc_ ? StartOf(*calc_) : StartState(); }

const Start& Tape::StartState() const {
    if (startStale_) {
        start_ = StartOf(*replay_);
        startStale_ = false;
    }
    return start_;
}

void Tape::SetStart(Start start) {
    start_ = std::move(start);
    startStale_ = false;
    replay_.reset();
}

void Tape::Assign(Start start, std::deque<Line> lines) {
    SetStart(std::move(start));
    lines_ = std::move(lines);
    // The undone lines stand together at the end.
    present_ = lines_.size();
    while (present_ > 0 && lines_[present_ - 1].undone) --present_;
    for (std::size_t i = 0; i < present_; ++i) lines_[i].undone = false;
    startDirty_ = present_ == 0;
    Changed();
    if (view_) view_->LinesReset();
    Trim();
}

bool Tape::MakeLine(const Calculator& calc, const Step& step, Line& line) {
    const std::size_t depth = calc.Depth();
    const std::string_view label = step.label;
    line.step = step.kept;
    if (!step.error.empty()) {
        line.kind = Kind::Error;
        line.caption = OneLine(step.error);
        // A number that did not enter, a paste or an open that failed,
        // changed nothing a replay needs.
        if (!step.entered && label != kEntryLabel && label != CommandLabel(Cmd::Paste) &&
            label != CommandLabel(Cmd::Open))
            line.script = CommandToken(calc, label);
        return true;
    }
    if (!step.kept) return false;
    if (depth > 0) {
        line.value = calc.Stack().at(0);
        line.shown = calc.FormatForBase(line.value);
    }
    if (label == kEntryLabel || step.entered) {
        line.kind = Kind::Number;
        if (depth > 0)
            line.script = NumberToken(calc, line.value) +
                          LastArgsUnless(calc, ParseReal(line.value, calc.DecimalChar()));
        return true;
    }
    if (label == kLastArgsLabel) {
        line.kind = Kind::Command;
        line.caption = line.script = LastArgsToken(calc);
        line.value.clear();
        line.shown.clear();
        return true;
    }
    if (label == CommandLabel(Cmd::Open)) {
        line.kind = Kind::Open;
        line.caption = "OPEN " + (openName_.empty() ? std::string("file") : openName_) + " " +
                       std::to_string(depth) + (depth == 1 ? " entry" : " entries");
        openName_.clear();
        line.script = "CLR";
        // Open leaves the last arguments; the pushes may not.
        if (depth > 0)
            line.script +=
                ' ' + TopTokens(calc, depth) + LastArgsUnless(calc, PushedLastX(calc, depth));
        return true;
    }
    if (label == CommandLabel(Cmd::Paste)) {
        line.kind = Kind::Paste;
        const std::size_t n = depth > lastDepth_ ? depth - lastDepth_ : 0;
        line.caption = "PASTE " + std::to_string(n) + (n == 1 ? " number" : " numbers");
        line.script = TopTokens(calc, n) + LastArgsUnless(calc, PushedLastX(calc, n));
        return true;
    }
    line.kind = Kind::Command;
    line.script = CommandToken(calc, label);
    line.caption = line.script.empty() ? std::string(label) : line.script;
    if (line.caption.empty()) line.caption = "-";
    bool valueless = false;
    if (label == CommandLabel(Cmd::Clr)) {
        line.caption =
            "CLR " + std::to_string(lastDepth_) + (lastDepth_ == 1 ? " level" : " levels");
        valueless = true;
    } else if (label == CommandLabel(Cmd::Edit)) {
        line.caption = "EDIT";
        valueless = true;
        // DROP takes away only a text that reads as a number; without any
        // other, the stack is built again.
        if (const auto v = ParseReal(lastTop_, calc.DecimalChar()))
            line.script += LastArgsUnless(calc, v);
        else
            line.script = "CLR" + (depth > 0 ? ' ' + TopTokens(calc, depth) : std::string()) +
                          LastArgsUnless(calc, PushedLastX(calc, depth));
    } else if (label == CommandLabel(Cmd::Random)) {
        // Another run draws other numbers: the script enters this one.
        if (depth > 0)
            line.script = NumberToken(calc, line.value) +
                          LastArgsUnless(calc, ParseReal(line.value, calc.DecimalChar()));
    } else {
        const CommandDef* def = FindCommand(label);
        valueless =
            line.script == BaseCaption(calc.CurrentBase()) ||
            line.script == AngleCaption(calc.AngleMode()) ||
            (def && (def->id == Cmd::Swap || def->id == Cmd::Roll || def->id == Cmd::Rotate));
    }
    if (valueless) {
        line.value.clear();
        line.shown.clear();
    }
    return true;
}

void Tape::InsertAtPresent(Line line) {
    const std::size_t at = present_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    ++present_;
    Changed();
    if (view_) view_->LinesInserted(at, 1);
}

void Tape::DropUndoneLines() {
    if (present_ >= lines_.size()) return;
    const std::size_t n = lines_.size() - present_;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(present_), lines_.end());
    Changed();
    if (view_) view_->LinesRemoved(present_, n);
}

void Tape::StepClosed(const Calculator& calc, const Step& step) {
    Line line;
    if (MakeLine(calc, step, line)) {
        // A new step drops the undone ones, as the history does.
        if (line.step) DropUndoneLines();
        InsertAtPresent(std::move(line));
        Trim();
    }
    Follow(calc);
}

void Tape::Undone(const Calculator& calc) {
    std::size_t i = present_;
    while (i > 0 && !lines_[i - 1].step) --i;
    if (i == 0) {
        // The step is older than the tape (cleared or trimmed since): the
        // tape starts again from here.
        Restart();
    } else {
        --i;
        for (std::size_t k = i; k < present_; ++k) lines_[k].undone = true;
        const std::size_t n = present_ - i;
        present_ = i;
        Changed();
        if (view_) view_->LinesChanged(i, n);
    }
    Follow(calc);
}

void Tape::Redone(const Calculator& calc) {
    if (present_ < lines_.size() && lines_[present_].step) {
        std::size_t j = present_ + 1;
        while (j < lines_.size() && !lines_[j].step) ++j;
        for (std::size_t k = present_; k < j; ++k) lines_[k].undone = false;
        const std::size_t first = present_;
        present_ = j;
        Changed();
        if (view_) view_->LinesChanged(first, j - first);
    } else {
        Restart();
    }
    Follow(calc);
}

void Tape::Follow(const Calculator& calc) {
    lastDepth_ = calc.Depth();
    if (lastDepth_ > 0)
        lastTop_.assign(calc.Stack().at(0));
    else
        lastTop_.clear();
}

void Tape::Restart() {
    const bool had = !lines_.empty();
    lines_.clear();
    present_ = 0;
    startDirty_ = true;
    Changed();
    if (view_ && had) view_->LinesReset();
}

void Tape::Loaded(const Calculator& calc) {
    // A state brought in from outside: no line leads to it, and nothing
    // undone can come back.
    Restart();
    Follow(calc);
}

void Tape::Trim() {
    if (lines_.size() <= maxLines_) return;
    // A tenth more than needed goes at once, so that the replay below runs
    // once in many lines.
    std::size_t k = lines_.size() - maxLines_ + maxLines_ / 10;
    k = std::min({k, present_, lines_.size()});
    if (k == 0) return;
    // The start moves past the dropped lines: they are replayed on a
    // calculator that holds the start and is kept for the next time, so
    // that a trim costs the lines it drops, not the depth of the stack.
    if (!replay_) {
        replay_ = std::make_unique<Calculator>(*replayShell_, calc_ ? calc_->DecimalChar() : '.');
        // It never undoes: its history holds next to nothing.
        replay_->SetHistoryLimits({1, 1});
        const Start& s = start_;
        replay_->Load([&s](Calculator::Change& c) {
            c.ReplaceStack(std::vector<std::string>(s.stack.rbegin(), s.stack.rend()));
            c.SetWordSize(s.wordSize);
            c.SetFixLength(s.fixLength);
            c.SelectBase(s.base);
            c.SelectAngleMode(s.angle);
            c.SetLastArgs(s.lastX, s.lastY, s.lastNum);
        });
    }
    for (std::size_t i = 0; i < k; ++i) RunTokens(*replay_, lines_[i].script);
    startStale_ = true;
    lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(k));
    present_ -= k;
    Changed();
    if (view_) view_->LinesRemoved(0, k);
}

} // namespace tallix::tape
