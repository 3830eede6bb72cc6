#include "core/tape/tape.h"

#include <algorithm>

#include "core/commands/dispatch.h"
#include "core/commands/registry.h"
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
    return s;
}

std::string NumberToken(const Calculator& calc, std::string_view text) {
    if (calc.CurrentBase() == Base::DEC) return std::string(text);
    const std::string shown = calc.FormatForBase(text);
    std::string back;
    Value v = 0;
    if (calc.ParseEntry(shown, back, v) && back == text) return shown;
    // The display's digits stand for another value (2.5, 1E30, beyond the
    // word): the exact text goes in as a decimal number.
    return "DEC " + std::string(text) + " " + BaseCaption(calc.CurrentBase());
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

// Tokens that put back the last arguments after tokens that changed them
// where the line's command did not (Edit's DROP, RAND's number): a single
// one is entered and dropped. Two cannot be put back without a trace on
// the stack; they matter only to a LAST right after such a line.
std::string KeepLastArgs(const Calculator& calc) {
    if (calc.LastNum() != 1) return {};
    return ' ' + NumberToken(calc, calc.FormatValue(calc.LastX())) + " DROP";
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
    std::size_t i = 0;
    while (i < tokens.size()) {
        while (i < tokens.size() && (tokens[i] == ' ' || tokens[i] == '\n')) ++i;
        std::size_t j = i;
        while (j < tokens.size() && tokens[j] != ' ' && tokens[j] != '\n') ++j;
        if (j == i) break;
        const std::string_view token = tokens.substr(i, j - i);
        i = j;
        if (const CommandDef* def = FindCommand(token)) {
            RunAsNamed(calc, *def);
            continue;
        }
        calc.Apply(kEntryLabel, [token](Calculator::Change& c) {
            std::string text;
            Value value = 0;
            if (!c.Calc().ParseEntry(token, text, value)) {
                c.CommandFailed();
                return;
            }
            c.PushText(std::move(text));
            c.SetLastX(value);
            c.ResetEntry();
        });
    }
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
    lastDepth_ = calc.Depth();
}

void Tape::Detach() {
    if (calc_) calc_->SetStepListener(nullptr);
    calc_ = nullptr;
}

void Tape::Clear(const Calculator& calc) {
    lines_.clear();
    present_ = 0;
    startDirty_ = true;
    lastDepth_ = calc.Depth();
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
        line.script = depth > 0 ? NumberToken(calc, line.value) : std::string();
        return true;
    }
    if (label == CommandLabel(Cmd::Open)) {
        line.kind = Kind::Open;
        line.caption = "OPEN " + (openName_.empty() ? std::string("file") : openName_) + " " +
                       std::to_string(depth) + (depth == 1 ? " entry" : " entries");
        openName_.clear();
        line.script = "CLR";
        if (depth > 0) line.script += ' ' + TopTokens(calc, depth);
        return true;
    }
    if (label == CommandLabel(Cmd::Paste)) {
        line.kind = Kind::Paste;
        const std::size_t n = depth > lastDepth_ ? depth - lastDepth_ : 0;
        line.caption = "PASTE " + std::to_string(n) + (n == 1 ? " number" : " numbers");
        line.script = TopTokens(calc, n);
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
        line.script += KeepLastArgs(calc);
    } else if (label == CommandLabel(Cmd::Random)) {
        // Another run draws other numbers: the script enters this one.
        if (depth > 0) line.script = NumberToken(calc, line.value) + KeepLastArgs(calc);
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
    lastDepth_ = calc.Depth();
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
    lastDepth_ = calc.Depth();
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
    lastDepth_ = calc.Depth();
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
    lastDepth_ = calc.Depth();
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
