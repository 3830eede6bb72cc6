// The working number type and the shared fault checks.
#pragma once

#include <cmath>
#include <cstdint>

namespace tallix {

// 80-bit extended precision (64-bit significand) on x86-64.
using Value = long double;

// Faults are judged by their results: an overflow or a division by zero
// leaves an infinity, an invalid operation a NaN. The compiler may move
// inline arithmetic past any flag test, so results are the only reliable
// witness.
inline bool IsFault(Value v) { return !std::isfinite(v); }

// The unit of angles; the numbers are those the settings store.
enum class AngleUnit : std::int32_t { Cycles = 0, Degrees = 1, Radians = 2, Gradients = 3 };

// A stored number as an angle unit: anything unknown is radians.
constexpr AngleUnit AngleUnitFromNumber(std::int32_t n) {
    return n == 0 || n == 1 || n == 3 ? static_cast<AngleUnit>(n) : AngleUnit::Radians;
}
constexpr std::int32_t AngleUnitNumber(AngleUnit unit) { return static_cast<std::int32_t>(unit); }

} // namespace tallix
