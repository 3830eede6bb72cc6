// The value stack: an ordered list of entry texts. Index 0 is level 1, the
// top. Stored deepest-first so that push and pop at level 1 are O(1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tallix {

class TextStack {
public:
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }

    // Entry at stack index i (0 = level 1).
    const std::string& at(std::size_t i) const { return items_[items_.size() - 1 - i]; }

    void push(std::string text) {
        items_.push_back(std::move(text));
        ++revision_;
    }
    std::string pop() {
        std::string s = std::move(items_.back());
        items_.pop_back();
        ++revision_;
        return s;
    }
    void clear() {
        items_.clear();
        ++revision_;
    }

    // Moves the entry at index i to index 0; indices 0..i-1 move down one.
    void moveToTop(std::size_t i);
    // Moves the entry at index 0 to index i; indices 1..i move up one.
    void moveFromTop(std::size_t i);

    // Entries from level 1 downwards.
    std::vector<std::string> levels() const { return {items_.rbegin(), items_.rend()}; }
    // Replaces the whole stack; the first text becomes level 1.
    void assignLevels(std::vector<std::string> levelsTopFirst);

    void reserve(std::size_t n) { items_.reserve(n); }
    // Exchanges the whole contents with a container in the stack's own
    // order (deepest first): a clear or a replacement that can be undone
    // without copying a single entry.
    void swapItems(std::vector<std::string>& other) {
        items_.swap(other);
        ++revision_;
    }

    // Counts the changes: equal revisions mean an unchanged stack, which is
    // cheaper to learn than comparing the entries.
    std::uint64_t revision() const { return revision_; }

private:
    std::vector<std::string> items_; // deepest first, level 1 last
    std::uint64_t revision_ = 0;
};

} // namespace tallix
