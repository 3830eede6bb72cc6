// The paper tape: one line for every entered number, command, error, open
// and paste, newest last, kept in step with undo and redo, so that the lines
// not marked undone are the history that led to the present stack. Each
// line carries the exact stack text it left at level 1 (for pushing it
// again) and the batch tokens that replay it (for Save as Script). The tape
// hears of the steps through the calculator's door (StepListener) and never
// changes the calculator itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/calc/calculator.h"

namespace tallix::tape {

enum class Kind : char {
    Number = 'N',  // an entered or pushed number
    Command = 'C', // a command and the level 1 it left
    Error = 'E',   // a command that showed an error
    Open = 'O',    // a stack file replaced the stack
    Paste = 'P',   // pasted numbers
};

struct Line {
    Kind kind = Kind::Number;
    // Whether the line's step is undone (its history no longer leads to
    // the present stack); a redo clears the mark.
    bool undone = false;
    // Whether the line is an undo step of its own: Undo marks from the last
    // such line on, with the error lines that followed it.
    bool step = false;
    std::string caption; // at the left: "SIN", "÷ Error: Infinite Result"; empty for a number
    std::string shown;   // at the right: level 1 as the display showed it
    std::string value;   // level 1's exact stack text; empty: nothing to push
    std::string script;  // batch tokens that replay the line, blank-separated
};

// The state the tape starts from: its stack, modes and last arguments. A
// script that does not start from an empty stack, the default modes and no
// last arguments writes them first.
struct Start {
    std::vector<std::string> stack; // deepest first
    Base base = Base::DEC;
    AngleUnit angle = AngleUnit::Radians;
    std::int32_t wordSize = 16;
    std::int32_t fixLength = -1;
    Value lastX = 0;
    Value lastY = 0;
    std::uint32_t lastNum = 0;
    bool operator==(const Start&) const = default;
};
Start StartOf(const Calculator& calc);

// Told of every change of the lines, so that a view updates only what
// changed.
class TapeView {
public:
    virtual ~TapeView() = default;
    virtual void LinesInserted(std::size_t first, std::size_t count) = 0;
    virtual void LinesRemoved(std::size_t first, std::size_t count) = 0;
    virtual void LinesChanged(std::size_t first, std::size_t count) = 0;
    virtual void LinesReset() = 0;
};

class Tape : public StepListener {
public:
    static constexpr std::size_t kMaxLines = 10000;
    explicit Tape(std::size_t maxLines = kMaxLines);
    ~Tape() override;
    Tape(const Tape&) = delete;
    Tape& operator=(const Tape&) = delete;

    // Starts listening to the calculator's steps. A tape without lines
    // starts from the state the calculator has when its next pass begins.
    void Attach(Calculator& calc);
    void Detach();
    void SetView(TapeView* view) { view_ = view; }

    const std::deque<Line>& Lines() const { return lines_; }
    std::size_t Size() const { return lines_.size(); }
    const Line& At(std::size_t i) const { return lines_[i]; }
    const Start& StartState() const;
    // Advances with every change of the lines or the start.
    std::uint64_t Revision() const { return revision_; }

    // Clear Tape: no lines, starting from the calculator's present state.
    void Clear(const Calculator& calc);
    // Replaces the lines and the start (a tape read from its file); the
    // oldest lines beyond the limit go.
    void Assign(Start start, std::deque<Line> lines);
    // The name of the stack file the next Open step reads ("name.Stk").
    void NameNextOpen(std::string name) { openName_ = std::move(name); }

    // The line's text, its caption and value apart: what a screen reader
    // says of it ("SIN 0.479425538604203", "error: ÷ Error: Infinite
    // Result", with "undone" for a marked line).
    static std::string Spoken(const Line& line);
    // The lines as plain text, one a line, the value right-aligned after
    // the caption; undone lines end with "(undone)".
    std::string Text() const;
    // The lines i..i+n as Text writes them, for Copy.
    std::string TextOf(const std::vector<std::size_t>& rows) const;
    // The batch tokens that replay the tape's history to the present stack:
    // the start state when it is not the empty default, then every line not
    // marked undone.
    std::string Script() const;

    // StepListener
    void PassOpening(const Calculator& calc) override;
    void StepClosed(const Calculator& calc, const Step& step) override;
    void Undone(const Calculator& calc) override;
    void Redone(const Calculator& calc) override;
    void Loaded(const Calculator& calc) override;

private:
    // The line a closed step makes, if any.
    bool MakeLine(const Calculator& calc, const Step& step, Line& line);
    // Inserts where the present is (before the undone lines).
    void InsertAtPresent(Line line);
    void DropUndoneLines();
    // Drops the oldest lines beyond the limit, advancing the start past
    // them.
    void Trim();
    void Changed() { ++revision_; }
    // Notes the depth and level 1 the calculator holds after an event.
    void Follow(const Calculator& calc);
    // No lines, starting where the next pass starts.
    void Restart();
    // The start a script writes.
    Start ScriptStart() const;

    std::size_t maxLines_;
    Calculator* calc_ = nullptr;
    TapeView* view_ = nullptr;
    void SetStart(Start start);
    // The start, and, once lines were trimmed, the calculator the trimmed
    // lines were replayed on, from which it is read when asked for.
    mutable Start start_;
    mutable bool startStale_ = false;
    std::unique_ptr<Shell> replayShell_;
    std::unique_ptr<Calculator> replay_;
    std::deque<Line> lines_;
    // lines_[0, present_) lead to the present stack; the rest are undone.
    std::size_t present_ = 0;
    std::uint64_t revision_ = 0;
    // What the calculator held after the last event: its depth and entry
    // line (a command's line says what changed; Enter with typed text is an
    // entry, without it a DUP).
    std::size_t lastDepth_ = 0;
    bool lastEntryTyped_ = false;
    // Level 1 after the last event: what an Edit took away.
    std::string lastTop_;
    std::string openName_;
    // Whether the start is still to be taken, at the next pass: there is
    // no line before the present.
    bool startDirty_ = true;
};

// Tokens that enter a stack text in the calculator's base: its text in DEC,
// the display's digits in an integer base when they read back to the same
// text, else the decimal text between DEC and the base; a text that no
// number entry gives back (1.50, abc, -0) as a literal.
std::string NumberToken(const Calculator& calc, std::string_view text);
// The same in DEC: the text, or a literal.
std::string DecimalToken(std::string_view text, char decimalChar);

// Pushes a line's value exactly as its stack text was, as a step that
// enters a number (a typed number still in the entry line is entered first).
void PushLineValue(Calculator& calc, const std::string& text);

// Runs batch tokens on a calculator, as batch mode does, errors going to
// its shell.
void RunTokens(Calculator& calc, std::string_view tokens);

} // namespace tallix::tape
