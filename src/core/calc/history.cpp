#include "core/calc/history.h"

#include <cmath>

namespace tallix {

namespace {
// Two values are the same when a reader could not tell them apart: equal,
// with the same sign (0 and -0 differ), or both not a number.
bool SameValue(Value a, Value b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}
} // namespace

bool ModeState::SameLastArgs(const ModeState& o) const {
    return SameValue(LastX, o.LastX) && SameValue(LastY, o.LastY) && LastNum == o.LastNum;
}

bool ModeState::SameModes(const ModeState& o) const {
    return FixLength == o.FixLength && CurrentBase == o.CurrentBase && WordSize == o.WordSize &&
           AngleMode == o.AngleMode;
}

std::size_t History::TextBytes(const std::string& text) {
    static const std::size_t inPlace = std::string().capacity();
    return sizeof(std::string) + (text.capacity() > inPlace ? text.capacity() + 1 : 0);
}

std::size_t History::ItemsBytes(const std::vector<std::string>& items) {
    std::size_t bytes = (items.capacity() - items.size()) * sizeof(std::string);
    for (const std::string& s : items) bytes += TextBytes(s);
    return bytes;
}

// ---- recording ----------------------------------------------------------

void History::Begin(const ModeState& before, std::string_view label) {
    recording_ = true;
    // Reset in place: a step is begun for every command and every number.
    pending_.changes.clear();
    pending_.before = before;
    pending_.bytes = sizeof(Step);
    pending_.failed = false;
    pending_.label.assign(label);
}

void History::Label(std::string_view label) {
    if (recording_ && pending_.label.empty()) pending_.label.assign(label);
}

std::string_view History::UndoLabel() const {
    return done_ > 0 ? std::string_view(steps_[done_ - 1].label) : std::string_view();
}

std::string_view History::RedoLabel() const {
    return done_ < steps_.size() ? std::string_view(steps_[done_].label) : std::string_view();
}

void History::Pushed(const std::string& text) {
    auto& ch = pending_.changes;
    if (ch.empty() || ch.back().kind != Change::Kind::Push) {
        ch.push_back({Change::Kind::Push, 0, {}});
        pending_.bytes += sizeof(Change);
    }
    ++ch.back().n;
    // Held by the step once it is undone.
    pending_.bytes += TextBytes(text);
}

void History::Popped(std::string text) {
    auto& ch = pending_.changes;
    if (ch.empty() || ch.back().kind != Change::Kind::Pop) {
        ch.push_back({Change::Kind::Pop, 0, {}});
        pending_.bytes += sizeof(Change);
    }
    pending_.bytes += TextBytes(text);
    ch.back().texts.push_back(std::move(text));
    ++ch.back().n;
}

void History::Moved(bool toTop, std::size_t i) {
    pending_.changes.push_back({toTop ? Change::Kind::ToTop : Change::Kind::FromTop, i, {}});
    pending_.bytes += sizeof(Change);
}

void History::Replaced(std::vector<std::string> oldItems, std::size_t newBytes) {
    // The step holds the old contents while it is done and the new ones
    // while it is undone: the larger of the two counts.
    const std::size_t oldBytes = ItemsBytes(oldItems);
    pending_.bytes += sizeof(Change) + (oldBytes > newBytes ? oldBytes : newBytes);
    pending_.changes.push_back({Change::Kind::Swap, 0, std::move(oldItems)});
}

bool History::StackUnchanged(const Step& step, const TextStack& stack) {
    const auto& changes = step.changes;
    if (changes.empty()) return true;
    // A clear or a replacement first: the step's old contents against the
    // stack now (what came after the swap is in the stack now).
    if (changes.front().kind == Change::Kind::Swap) {
        const std::vector<std::string>& old = changes.front().texts; // deepest first
        if (old.size() != stack.size()) return false;
        for (std::size_t j = 0; j < old.size(); ++j)
            if (stack.at(j) != old[old.size() - 1 - j]) return false;
        return true;
    }
    // A single move: moving an entry past entries that read the same
    // changes nothing.
    if (changes.size() == 1 &&
        (changes[0].kind == Change::Kind::ToTop || changes[0].kind == Change::Kind::FromTop)) {
        for (std::size_t j = 1; j <= changes[0].n; ++j)
            if (stack.at(j) != stack.at(0)) return false;
        return true;
    }
    // Entries the step pushed that are still on the stack, and the original
    // entries it popped (level 1 first).
    std::size_t livePushes = 0;
    std::vector<const std::string*> popped;
    for (const Change& c : changes) {
        switch (c.kind) {
        case Change::Kind::Push: livePushes += c.n; break;
        case Change::Kind::Pop:
            for (const std::string& t : c.texts) {
                if (livePushes > 0)
                    --livePushes;
                else
                    popped.push_back(&t);
            }
            break;
        default: return false; // moves among other changes always count
        }
    }
    if (livePushes != popped.size()) return false;
    for (std::size_t j = 0; j < popped.size(); ++j)
        if (stack.at(j) != *popped[j]) return false;
    return true;
}

void History::KeepLastArgs(const ModeState& after) {
    auto take = [&after](ModeState& m) {
        m.LastX = after.LastX;
        m.LastY = after.LastY;
        m.LastNum = after.LastNum;
    };
    if (done_ > 0) take(steps_[done_ - 1].after);
    if (done_ < steps_.size()) take(steps_[done_].before);
}

void History::End(const ModeState& after, const TextStack& stack) {
    recording_ = false;
    Step& step = pending_;
    if (StackUnchanged(step, stack) && step.before.SameModes(after)) {
        if (step.before.SameLastArgs(after)) return;
        if (step.failed) {
            KeepLastArgs(after);
            return;
        }
    }
    step.after = after;
    while (steps_.size() > done_) {
        bytes_ -= steps_.back().bytes;
        steps_.pop_back();
    }
    bytes_ += step.bytes;
    steps_.push_back(std::move(step));
    ++done_;
    Trim();
}

void History::Trim() {
    // The newest step stays, whatever it holds: it is what the user undoes
    // next, and it holds no more than the stack itself did.
    while (steps_.size() > 1 && (steps_.size() > limits_.maxSteps || bytes_ > limits_.maxBytes)) {
        bytes_ -= steps_.front().bytes;
        steps_.pop_front();
        if (done_ > 0) --done_;
    }
}

void History::SetLimits(Limits limits) {
    limits_ = limits;
    if (limits_.maxSteps == 0) limits_.maxSteps = 1;
    Trim();
}

void History::Clear() {
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
}

// ---- undo and redo ------------------------------------------------------

bool History::Undo(TextStack& stack, ModeState& modes) {
    if (done_ == 0) return false;
    Step& step = steps_[done_ - 1];
    for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it) {
        Change& c = *it;
        switch (c.kind) {
        case Change::Kind::Push:
            c.texts.resize(c.n);
            for (std::size_t k = c.n; k-- > 0;) c.texts[k] = stack.pop();
            break;
        case Change::Kind::Pop:
            for (std::size_t k = c.n; k-- > 0;) stack.push(std::move(c.texts[k]));
            c.texts.clear();
            break;
        case Change::Kind::ToTop: stack.moveFromTop(c.n); break;
        case Change::Kind::FromTop: stack.moveToTop(c.n); break;
        case Change::Kind::Swap: stack.swapItems(c.texts); break;
        }
    }
    modes = step.before;
    --done_;
    return true;
}

bool History::Redo(TextStack& stack, ModeState& modes) {
    if (done_ == steps_.size()) return false;
    Step& step = steps_[done_];
    for (Change& c : step.changes) {
        switch (c.kind) {
        case Change::Kind::Push:
            for (std::string& t : c.texts) stack.push(std::move(t));
            c.texts.clear();
            break;
        case Change::Kind::Pop:
            c.texts.resize(c.n);
            for (std::size_t k = 0; k < c.n; ++k) c.texts[k] = stack.pop();
            break;
        case Change::Kind::ToTop: stack.moveToTop(c.n); break;
        case Change::Kind::FromTop: stack.moveFromTop(c.n); break;
        case Change::Kind::Swap: stack.swapItems(c.texts); break;
        }
    }
    modes = step.after;
    ++done_;
    return true;
}

} // namespace tallix
