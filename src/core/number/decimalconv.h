// Exact conversions between extended values and decimal numbers, both
// rounded to nearest with ties to even, at every exponent. Powers of ten
// kept to 128 bits decide almost every case; the few that lie too close to
// a rounding boundary for them are settled with exact integers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/number/value.h"

namespace tallix {

// A magnitude rounded to 18 significant digits: digits * 10^(E - 18), with
// 10^17 <= digits < 10^18 (digits == 0 for zero).
struct Decimal18 {
    bool negative = false;
    std::uint64_t digits = 0;
    int E = 0;
};

// The nearest 18-digit decimal of a finite v (subnormals included).
Decimal18 ToDecimal18Nearest(Value v);

// A decimal number as written: the digits before and after the separator
// (characters '0'..'9' only, either part may be empty) and the exponent.
struct DecimalText {
    bool negative = false;
    std::string_view intDigits;
    std::string_view fracDigits;
    int exp10 = 0;
};

// The nearest extended value, subnormals and signed zero included; nullopt
// when it lies beyond the largest finite value.
std::optional<Value> DecimalToValue(const DecimalText& text);

// How many conversions so far have needed the exact integers (for the
// tests and benchmarks that watch how rare they are).
std::uint64_t ExactDecisionCount();

} // namespace tallix
