// Number texts: the stack text of a value, the displayed text of a stack
// entry, and the two parses. Pure functions of (value or text, modes); the
// decimal separator is always passed in, never read from the C locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/number/value.h"

namespace tallix {

// General notation with `precision` significant digits (1..18).
std::string FormatGeneral(Value v, int precision, char decimalChar);
// Fixed notation with `decimals` (0..18) decimals and precision 18.
std::string FormatFixed(Value v, int decimals, char decimalChar);
// The canonical stack text: general notation, 18 digits, at most 80 characters.
std::string FormatStackValue(Value v, char decimalChar);
// A text that ParseReal reads back as v bit for bit, the sign of zero and
// subnormals included: the 18-digit general text when it does, else 21
// significant digits, which always do. v must be finite.
std::string FormatExact(Value v, char decimalChar);

// The real parse: optional blanks, sign, digits, separator, exponent.
// Fails (nullopt) on bad syntax or a value beyond the extended range.
std::optional<Value> ParseReal(std::string_view text, char decimalChar);
// The integer parse: optional sign and decimal digits within signed 32 bits.
std::optional<std::int32_t> ParseInt32(std::string_view text);

// Round to the nearest integer, ties to even; nullopt when the result does
// not fit a signed 64-bit integer (or v is not finite).
std::optional<std::int64_t> RoundToInt64(Value v);

} // namespace tallix
