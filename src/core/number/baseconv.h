// Radix conversion between signed 64-bit integers and digit texts in bases
// 2 to 36, relative to a word size, plus the bitwise primitives of the
// integer mode. Stateless; every failure throws EConvertError.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace BaseConv {

// The conversion error: the same failure kind the number parser raises.
struct EConvertError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string IntToBase(int base, int ws, std::int64_t value);
std::string IntToBin(int ws, std::int64_t value);
std::string IntToOct(int ws, std::int64_t value);
std::string IntToHex(int ws, std::int64_t value);

std::int64_t BaseToInt(int base, std::string_view text, int ws);
std::int64_t BinToInt(std::string_view text, int ws);
std::int64_t OctToInt(std::string_view text, int ws);
std::int64_t HexToInt(std::string_view text, int ws);

std::int64_t WordMask(int ws);
std::int64_t WordNot(int ws, std::int64_t x);
std::int64_t WordAnd(int ws, std::int64_t x, std::int64_t y);
std::int64_t WordOr(int ws, std::int64_t x, std::int64_t y);
std::int64_t WordXor(int ws, std::int64_t x, std::int64_t y);
std::int64_t ShiftWordLeft(int ws, bool rotate, std::int64_t x);
std::int64_t ShiftWordRight(int ws, bool rotate, std::int64_t x);

} // namespace BaseConv
