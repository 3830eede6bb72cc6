#include "core/calc/textstack.h"

#include <algorithm>

namespace tallix {

void TextStack::moveToTop(std::size_t i) {
    if (i == 0 || i >= items_.size()) return;
    auto last = items_.end();
    std::rotate(last - 1 - static_cast<std::ptrdiff_t>(i), last - static_cast<std::ptrdiff_t>(i),
                last);
    ++revision_;
}

void TextStack::moveFromTop(std::size_t i) {
    if (i == 0 || i >= items_.size()) return;
    auto last = items_.end();
    std::rotate(last - 1 - static_cast<std::ptrdiff_t>(i), last - 1, last);
    ++revision_;
}

void TextStack::assignLevels(std::vector<std::string> levelsTopFirst) {
    std::reverse(levelsTopFirst.begin(), levelsTopFirst.end());
    items_ = std::move(levelsTopFirst);
    ++revision_;
}

} // namespace tallix
