// Why a command failed: every calculator message is a command's NAME
// followed by one of these reasons.
#pragma once

#include <cstdint>
#include <string_view>

namespace tallix {

enum class Reason : std::uint8_t {
    TooFewArguments,
    BadArgumentType,
    InvalidSyntax,
    InvalidInput,
    InfiniteResult,
    Overflow,
};

// The text a message shows for a reason ("Too Few Arguments", ...).
std::string_view ReasonText(Reason reason);

} // namespace tallix
