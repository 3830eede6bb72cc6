#include "core/calc/errors.h"

#include <array>

namespace tallix {

std::string_view ReasonText(Reason reason) {
    static constexpr std::array<std::string_view, 6> kTexts = {
        "Too Few Arguments", "Bad Argument Type", "Invalid Syntax",
        "Invalid Input",     "Infinite Result",   "Overflow",
    };
    return kTexts[static_cast<std::size_t>(reason)];
}

} // namespace tallix
