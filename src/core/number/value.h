// The working number type and the shared fault checks.
#pragma once

#include <cmath>

namespace tallix {

// 80-bit extended precision (64-bit significand) on x86-64.
using Value = long double;

// Faults are judged by their results: an overflow or a division by zero
// leaves an infinity, an invalid operation a NaN. The compiler may move
// inline arithmetic past any flag test, so results are the only reliable
// witness.
inline bool IsFault(Value v) { return !std::isfinite(v); }

} // namespace tallix
