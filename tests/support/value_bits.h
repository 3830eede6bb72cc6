// An extended value built from its fields, for tests that walk the whole
// range of the 80-bit format (subnormals, both ends, every exponent).
#pragma once

#include <cstdint>
#include <cstring>

#include "core/number/value.h"

namespace tallix::test {

// The value of sign, biased exponent and 64-bit significand (with its
// explicit integer bit).
inline Value FromBits(bool negative, unsigned biased, std::uint64_t significand) {
    unsigned char bytes[sizeof(Value)] = {};
    std::memcpy(bytes, &significand, 8);
    const unsigned top = (negative ? 0x8000u : 0u) | (biased & 0x7fffu);
    bytes[8] = static_cast<unsigned char>(top & 0xff);
    bytes[9] = static_cast<unsigned char>(top >> 8);
    Value v;
    std::memcpy(&v, bytes, sizeof v);
    return v;
}

} // namespace tallix::test
