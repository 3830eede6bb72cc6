// Radix conversion and word primitives. The fixed tables pin the exact texts,
// values and failure messages, including operands wider than the word and
// negative operands; the sweeps compare every word size from 1 to 56 bits
// against plain machine arithmetic on values that fit the word.

#include "core/number/baseconv.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/number/numtext.h"

namespace {

using BaseConv::EConvertError;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

// What a call produced: its result as text, or the message it failed with.
struct Outcome {
    bool failed = false;
    std::string text;

    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    return os << (o.failed ? "fails with \"" : "gives \"") << o.text << '"';
}

Outcome Gives(std::string text) { return {false, std::move(text)}; }
Outcome Gives(std::int64_t value) { return {false, std::to_string(value)}; }
Outcome Fails(std::string message) { return {true, std::move(message)}; }

Outcome Capture(const std::function<std::string()>& call) {
    try {
        return Gives(call());
    } catch (const EConvertError& e) {
        return Fails(e.what());
    }
}

Outcome CaptureValue(const std::function<std::int64_t()>& call) {
    return Capture([&] { return std::to_string(call()); });
}

// Reference digits of a non-negative value, independent of the code under test.
std::string RefDigits(int base, std::uint64_t v) {
    std::array<char, 80> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v, base);
    std::string s(buf.data(), res.ptr);
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::uint64_t Pow2(int n) { return std::uint64_t{1} << n; }

// A word value read as a signed word: the upper half of the word is negative.
std::int64_t AsSigned(std::uint64_t v, int ws) {
    const auto value = static_cast<std::int64_t>(v);
    return v >= Pow2(ws - 1) ? value - static_cast<std::int64_t>(Pow2(ws)) : value;
}

// Values across a word of ws bits: the edges of both halves plus a
// reproducible pseudo-random sample.
std::vector<std::uint64_t> WordSamples(int ws, std::mt19937_64& rng) {
    const std::uint64_t mask = Pow2(ws) - 1;
    const std::uint64_t half = Pow2(ws - 1);
    std::vector<std::uint64_t> out = {0, 1, 2, half - 1, half, half + 1, mask - 1, mask};
    for (int i = 0; i < 40; ++i) out.push_back(rng() & mask);
    for (auto& v : out) v &= mask;
    return out;
}

// ---------------------------------------------------------------------------
// IntToBase

struct IntToBaseCase {
    int base;
    int ws;
    std::int64_t value;
    Outcome expected;
};

const IntToBaseCase kIntToBaseCases[] = {
    {16, 16, 255, Gives("FF")},
    {2, 8, 0, Gives("0")},
    {8, 16, 8, Gives("10")},
    {2, 8, 300, Gives("100101100")}, // never cut to the word
    {16, 16, -1, Gives("FFFF")},
    {2, 8, -128, Gives("10000000")},
    {16, 8, -1, Gives("FF")},
    {16, 16, -65536, Gives("10000")},
    {16, 16, -70000, Gives("EE90")},
    {2, 8, -600, Fails("Invalid Input: -600")},
    {16, 8, -600, Fails("Invalid Input: -600")},
    {10, 8, -600, Fails("Invalid Input: -600")},
    {37, 16, 1, Fails("Invalid Base: 37")},
    {1, 16, 1, Fails("Invalid Base: 1")},
    {0, 16, 1, Fails("Invalid Base: 0")},
    {-5, 16, 1, Fails("Invalid Base: -5")},
    {37, 16, kMin, Fails("Invalid Base: 37")}, // the base is checked first
    {36, 16, 35, Gives("Z")},
    {36, 16, 1295, Gives("ZZ")},
    {36, 16, 36, Gives("10")},
    {16, 16, kMin, Fails("Math Error")},
    {2, 56, kMin, Fails("Math Error")},
    // Derived by hand from the text algorithm.
    {16, 56, kMax, Gives("7FFFFFFFFFFFFFFF")},
    {36, 8, kMax, Gives("1Y2P0IJ32E8E7")},
    {10, 8, 255, Gives("255")},
    {3, 8, -1, Gives("100110")},     // 255 in base 3
    {8, 16, -1, Gives("177777")},    // 65535
    {2, 8, -300, Gives("11010100")}, // 512 - 300
    {16, 8, -256, Gives("100")},     // 2^9 - 256
    {16, 8, -511, Gives("1")},       // 2^9 - 511
    {16, 8, -512, Gives("0")},       // 2^9 - 512
    {16, 16, -131071, Gives("1")},   // 2^17 - 131071
    {16, 16, -131072, Gives("0")},   // 2^17 - 131072
    {16, 16, -131073, Fails("Invalid Input: -131073")},
    {16, 16, -196607, Fails("Invalid Input: -196607")},
    {16, 16, -196608, Gives("10000")}, // 3 * 2^16: the complement fits 17 bits again
    {16, 16, -200000, Gives("F2C0")},
    {16, 8, -767, Fails("Invalid Input: -767")},
    {16, 8, -768, Gives("100")},
    {16, 1, -1, Gives("1")},
    {16, 1, -2, Gives("2")},
    {16, 1, -3, Gives("1")},
    {16, 1, -4, Gives("0")},
    {16, 1, -5, Fails("Invalid Input: -5")},
    {16, 56, -1, Gives("FFFFFFFFFFFFFF")},
    {16, 56, -72057594037927936, Gives("100000000000000")}, // -2^56
    {16, 62, -1, Gives("3FFFFFFFFFFFFFFF")},
    {16, 63, -1, Gives("7FFFFFFFFFFFFFFF")},
    {16, 64, -1, Fails("Math Error")}, // the complement text reaches 2^64
    {16, 1000, -1, Fails("Math Error")},
    {16, 1000, 5, Gives("5")}, // a non-negative value ignores the word
};

TEST(BaseConvIntToBase, Table) {
    for (const auto& c : kIntToBaseCases) {
        SCOPED_TRACE("IntToBase(" + std::to_string(c.base) + ", " + std::to_string(c.ws) + ", " +
                     std::to_string(c.value) + ")");
        EXPECT_EQ(Capture([&] { return BaseConv::IntToBase(c.base, c.ws, c.value); }), c.expected);
    }
}

TEST(BaseConvIntToBase, InvalidInputShowsValueInGeneralNotation) {
    // Values too far below the word, including ones beyond 15 digits where
    // the general notation no longer spells out every digit.
    const struct {
        int base;
        int ws;
        std::int64_t value;
    } cases[] = {
        {16, 8, -600},
        {2, 16, -196607},
        {16, 8, -(std::int64_t{1} << 62) - 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.value));
        const std::string shown =
            tallix::FormatGeneral(static_cast<tallix::Value>(c.value), 15, '.');
        EXPECT_EQ(Capture([&] { return BaseConv::IntToBase(c.base, c.ws, c.value); }),
                  Fails("Invalid Input: " + shown));
    }
}

// ---------------------------------------------------------------------------
// BaseToInt

struct BaseToIntCase {
    int base;
    std::string text;
    int ws;
    Outcome expected;
};

const BaseToIntCase kBaseToIntCases[] = {
    {16, "ff", 16, Gives(255)},
    {16, "FF", 16, Gives(255)},
    {16, "fF", 16, Gives(255)},
    {16, "FFFF", 16, Gives(-1)},
    {2, "1", 1, Gives(-1)},
    {16, "FFFFFFFFFFFFFF", 56, Gives(-1)},
    {16, "8000", 16, Gives(-32768)},
    {16, "7FFF", 16, Gives(32767)},
    {16, "8000000000000000", 56, Fails("Math Error")},
    {16, "FFFFFFFFFFFFFFFF", 64, Fails("Math Error")},
    {8, "9", 16, Fails("Invalid Input: 9")},
    {2, "", 16, Gives(0)},
    {16, "-1", 16, Fails("Invalid Input: -1")},
    {37, "1", 16, Fails("Invalid Base: 37")},
    {1, "1", 16, Fails("Invalid Base: 1")},
    {37, "?!", 16, Fails("Invalid Base: 37")}, // the base is checked first
    // Derived by hand.
    {2, "10000000", 8, Gives(-128)},
    {2, "11111111", 8, Gives(-1)},
    {2, "01111111", 8, Gives(127)},
    {10, "255", 8, Gives(-1)},
    {10, "127", 8, Gives(127)},
    {16, "10000", 16, Gives(-65536)},
    {16, "EE90", 16, Gives(-4464)},
    {16, "7FFFFFFFFFFFFFFF", 56, Gives(-1)},
    {16, "7FFFFFFFFFFFFFFF", 64, Gives(kMax)},
    {10, "9223372036854775807", 64, Gives(kMax)},
    {10, "9223372036854775808", 64, Fails("Math Error")},
    {36, "1Y2P0IJ32E8E7", 64, Gives(kMax)},
    {36, "1y2p0ij32e8e7", 64, Gives(kMax)},
    {36, "1Y2P0IJ32E8E8", 64, Fails("Math Error")},
    {36, "z", 16, Gives(35)},
    {36, "Zz", 16, Gives(1295)},
    {16, "0000", 16, Gives(0)},
    {2, std::string(100, '0') + "1", 16, Gives(1)}, // leading zeros never overflow
    {16, "00ff", 8, Gives(-1)},
    {16, "1g", 16, Fails("Invalid Input: 1g")},
    {16, "ff ", 16, Fails("Invalid Input: ff ")},
    {16, " ff", 16, Fails("Invalid Input:  ff")},
    {16, "+1", 16, Fails("Invalid Input: +1")},
    {10, "1.5", 16, Fails("Invalid Input: 1.5")},
    {10, "1,5", 16, Fails("Invalid Input: 1,5")},
    {2, "12", 16, Fails("Invalid Input: 12")},
    {8, "8", 16, Fails("Invalid Input: 8")},
    {35, "Z", 16, Fails("Invalid Input: Z")},
    {16, "ABCDEF", 1000, Gives(0xABCDEF)},
};

TEST(BaseConvBaseToInt, Table) {
    for (const auto& c : kBaseToIntCases) {
        SCOPED_TRACE("BaseToInt(" + std::to_string(c.base) + ", \"" + c.text + "\", " +
                     std::to_string(c.ws) + ")");
        EXPECT_EQ(CaptureValue([&] { return BaseConv::BaseToInt(c.base, c.text, c.ws); }),
                  c.expected);
    }
}

// ---------------------------------------------------------------------------
// The fixed-base forms use the right base.

struct NamedCase {
    const char* what;
    std::function<std::string()> call;
    Outcome expected;
};

std::string Str(std::int64_t v) { return std::to_string(v); }

const std::vector<NamedCase>& NamedCases() {
    using namespace BaseConv;
    static const std::vector<NamedCase> cases = {
        {"IntToHex(16, 255)", [] { return IntToHex(16, 255); }, Gives("FF")},
        {"IntToBin(8, 0)", [] { return IntToBin(8, 0); }, Gives("0")},
        {"IntToOct(16, 8)", [] { return IntToOct(16, 8); }, Gives("10")},
        {"IntToBin(8, 300)", [] { return IntToBin(8, 300); }, Gives("100101100")},
        {"IntToHex(16, -1)", [] { return IntToHex(16, -1); }, Gives("FFFF")},
        {"IntToBin(8, -128)", [] { return IntToBin(8, -128); }, Gives("10000000")},
        {"IntToHex(8, -1)", [] { return IntToHex(8, -1); }, Gives("FF")},
        {"IntToOct(8, -1)", [] { return IntToOct(8, -1); }, Gives("377")},
        {"IntToBin(8, -600)", [] { return IntToBin(8, -600); }, Fails("Invalid Input: -600")},
        {"IntToHex(16, min)", [] { return IntToHex(16, kMin); }, Fails("Math Error")},
        {"HexToInt(\"ff\", 16)", [] { return Str(HexToInt("ff", 16)); }, Gives(255)},
        {"HexToInt(\"10\", 16)", [] { return Str(HexToInt("10", 16)); }, Gives(16)},
        {"OctToInt(\"10\", 16)", [] { return Str(OctToInt("10", 16)); }, Gives(8)},
        {"BinToInt(\"10\", 16)", [] { return Str(BinToInt("10", 16)); }, Gives(2)},
        {"BinToInt(\"1\", 1)", [] { return Str(BinToInt("1", 1)); }, Gives(-1)},
        {"OctToInt(\"9\", 16)", [] { return Str(OctToInt("9", 16)); }, Fails("Invalid Input: 9")},
        {"BinToInt(\"2\", 16)", [] { return Str(BinToInt("2", 16)); }, Fails("Invalid Input: 2")},
        {"HexToInt(\"g\", 16)", [] { return Str(HexToInt("g", 16)); }, Fails("Invalid Input: g")},
        {"BinToInt(\"\", 16)", [] { return Str(BinToInt("", 16)); }, Gives(0)},
    };
    return cases;
}

TEST(BaseConvFixedBases, Table) {
    for (const auto& c : NamedCases()) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Capture(c.call), c.expected);
    }
}

// ---------------------------------------------------------------------------
// Word primitives

struct PrimitiveCase {
    const char* what;
    std::function<std::int64_t()> call;
    Outcome expected;
};

const std::vector<PrimitiveCase>& PrimitiveCases() {
    using namespace BaseConv;
    static const std::vector<PrimitiveCase> cases = {
        {"WordNot(16, 0)", [] { return WordNot(16, 0); }, Gives(65535)},
        {"WordNot(16, -1)", [] { return WordNot(16, -1); }, Gives(0)},
        {"WordNot(8, 300)", [] { return WordNot(8, 300); }, Gives(211)},
        {"WordAnd(16, 12, 10)", [] { return WordAnd(16, 12, 10); }, Gives(8)},
        {"WordOr(16, 12, 10)", [] { return WordOr(16, 12, 10); }, Gives(14)},
        {"WordXor(16, 12, 10)", [] { return WordXor(16, 12, 10); }, Gives(6)},
        {"WordAnd(16, -1, 5)", [] { return WordAnd(16, -1, 5); }, Gives(5)},
        {"ShiftWordLeft(8, false, 200)", [] { return ShiftWordLeft(8, false, 200); }, Gives(144)},
        {"ShiftWordLeft(8, true, 200)", [] { return ShiftWordLeft(8, true, 200); }, Gives(145)},
        {"ShiftWordRight(8, false, 1)", [] { return ShiftWordRight(8, false, 1); }, Gives(0)},
        {"ShiftWordRight(8, true, 1)", [] { return ShiftWordRight(8, true, 1); }, Gives(128)},
        {"ShiftWordRight(16, false, -2)", [] { return ShiftWordRight(16, false, -2); },
         Gives(32767)},
        {"WordMask(56)", [] { return WordMask(56); }, Gives(72057594037927935)},
        // Derived by hand.
        {"WordMask(1)", [] { return WordMask(1); }, Gives(1)},
        {"WordMask(8)", [] { return WordMask(8); }, Gives(255)},
        {"WordMask(63)", [] { return WordMask(63); }, Gives(kMax)},
        {"WordMask(64)", [] { return WordMask(64); }, Fails("Math Error")},
        {"WordNot(8, 0)", [] { return WordNot(8, 0); }, Gives(255)},
        {"WordNot(56, 0)", [] { return WordNot(56, 0); }, Gives(72057594037927935)},
        {"WordNot(56, max)", [] { return WordNot(56, kMax); }, Gives(0)},
        {"WordNot(16, min)", [] { return WordNot(16, kMin); }, Fails("Math Error")},
        {"WordNot(8, -600)", [] { return WordNot(8, -600); }, Fails("Invalid Input: -600")},
        {"WordNot(64, 0)", [] { return WordNot(64, 0); }, Fails("Math Error")},
        {"WordNot(8, 256)", [] { return WordNot(8, 256); }, Gives(255)},
        {"WordOr(8, 256, 0)", [] { return WordOr(8, 256, 0); }, Gives(-256)},
        {"WordXor(8, 300, 1)", [] { return WordXor(8, 300, 1); }, Gives(-211)},
        {"WordAnd(8, 300, 255)", [] { return WordAnd(8, 300, 255); }, Gives(44)},
        {"WordAnd(8, -600, 1)", [] { return WordAnd(8, -600, 1); }, Fails("Invalid Input: -600")},
        {"WordOr(8, 1, -600)", [] { return WordOr(8, 1, -600); }, Fails("Invalid Input: -600")},
        {"WordXor(8, -600, min)", [] { return WordXor(8, -600, kMin); },
         Fails("Invalid Input: -600")}, // the first operand is converted first
        {"WordXor(8, min, -600)", [] { return WordXor(8, kMin, -600); }, Fails("Math Error")},
        {"ShiftWordLeft(8, false, 300)", [] { return ShiftWordLeft(8, false, 300); }, Gives(88)},
        {"ShiftWordLeft(8, true, 300)", [] { return ShiftWordLeft(8, true, 300); }, Gives(89)},
        {"ShiftWordRight(8, false, 300)", [] { return ShiftWordRight(8, false, 300); }, Gives(150)},
        {"ShiftWordRight(8, true, 301)", [] { return ShiftWordRight(8, true, 301); }, Gives(-106)},
        {"ShiftWordLeft(56, false, 2^55)",
         [] { return ShiftWordLeft(56, false, std::int64_t{1} << 55); }, Gives(0)},
        {"ShiftWordLeft(56, true, 2^55)",
         [] { return ShiftWordLeft(56, true, std::int64_t{1} << 55); }, Gives(1)},
        {"ShiftWordLeft(8, false, -600)", [] { return ShiftWordLeft(8, false, -600); },
         Fails("Invalid Input: -600")},
        {"ShiftWordRight(64, true, 1)", [] { return ShiftWordRight(64, true, 1); },
         Fails("Math Error")},
        {"ShiftWordLeft(1000, false, 1)", [] { return ShiftWordLeft(1000, false, 1); }, Gives(2)},
    };
    return cases;
}

TEST(BaseConvPrimitives, Table) {
    for (const auto& c : PrimitiveCases()) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CaptureValue(c.call), c.expected);
    }
}

// ---------------------------------------------------------------------------
// Sweeps over every word size the calculator uses.

TEST(BaseConvSweep, RoundTripsWithinTheWord) {
    std::mt19937_64 rng(20240611);
    for (int ws = 1; ws <= 56; ++ws) {
        const std::uint64_t word = Pow2(ws);
        for (const std::uint64_t v : WordSamples(ws, rng)) {
            for (const int base : {2, 8, 16, 10, 36}) {
                SCOPED_TRACE("ws " + std::to_string(ws) + ", base " + std::to_string(base) +
                             ", v " + std::to_string(v));
                const auto value = static_cast<std::int64_t>(v);
                const std::string digits = BaseConv::IntToBase(base, ws, value);
                EXPECT_EQ(digits, RefDigits(base, v));
                EXPECT_EQ(BaseConv::BaseToInt(base, digits, ws), AsSigned(v, ws));
                if (v == 0) continue;
                // The same word seen from below zero gives the same digits.
                const std::int64_t negative = value - static_cast<std::int64_t>(word);
                EXPECT_EQ(BaseConv::IntToBase(base, ws, negative), digits);
            }
        }
    }
}

TEST(BaseConvSweep, ValuesOneWordBelowWrapOnceMore) {
    // Down to -2^(ws+1) the complement is taken in the next wider word.
    std::mt19937_64 rng(7);
    for (int ws = 1; ws <= 56; ++ws) {
        const std::uint64_t word = Pow2(ws);
        for (const std::uint64_t v : WordSamples(ws, rng)) {
            SCOPED_TRACE("ws " + std::to_string(ws) + ", v " + std::to_string(v));
            // value in (-2^(ws+1), -2^ws]; its digits are those of 2^(ws+1) + value.
            const auto value = -static_cast<std::int64_t>(word + v);
            EXPECT_EQ(BaseConv::IntToHex(ws, value), RefDigits(16, word - v));
        }
        // The lower end itself wraps to zero.
        EXPECT_EQ(BaseConv::IntToHex(ws, -static_cast<std::int64_t>(2 * word)), "0");
    }
}

TEST(BaseConvSweep, PrimitivesMatchMachineWords) {
    std::mt19937_64 rng(99);
    for (int ws = 1; ws <= 56; ++ws) {
        const std::uint64_t mask = Pow2(ws) - 1;
        EXPECT_EQ(BaseConv::WordMask(ws), static_cast<std::int64_t>(mask));
        const std::vector<std::uint64_t> xs = WordSamples(ws, rng);
        const std::vector<std::uint64_t> ys = WordSamples(ws, rng);
        for (std::size_t i = 0; i < xs.size(); ++i) {
            const std::uint64_t x = xs[i];
            const std::uint64_t y = ys[(i * 7 + 3) % ys.size()];
            SCOPED_TRACE("ws " + std::to_string(ws) + ", x " + std::to_string(x) + ", y " +
                         std::to_string(y));
            // Operands may arrive in unsigned or signed form; both mean the
            // same bits of the word.
            for (const bool signedForm : {false, true}) {
                const std::int64_t sx = signedForm ? AsSigned(x, ws) : static_cast<std::int64_t>(x);
                const std::int64_t sy = signedForm ? AsSigned(y, ws) : static_cast<std::int64_t>(y);
                auto expect = [](std::uint64_t r) { return static_cast<std::int64_t>(r); };
                EXPECT_EQ(BaseConv::WordNot(ws, sx), expect(~x & mask));
                EXPECT_EQ(BaseConv::WordAnd(ws, sx, sy), expect(x & y));
                EXPECT_EQ(BaseConv::WordOr(ws, sx, sy), expect(x | y));
                EXPECT_EQ(BaseConv::WordXor(ws, sx, sy), expect(x ^ y));
                const std::uint64_t top = x >> (ws - 1);
                const std::uint64_t bottom = x & 1;
                EXPECT_EQ(BaseConv::ShiftWordLeft(ws, false, sx), expect((x << 1) & mask));
                EXPECT_EQ(BaseConv::ShiftWordLeft(ws, true, sx), expect(((x << 1) & mask) | top));
                EXPECT_EQ(BaseConv::ShiftWordRight(ws, false, sx), expect(x >> 1));
                EXPECT_EQ(BaseConv::ShiftWordRight(ws, true, sx),
                          expect((x >> 1) | (bottom << (ws - 1))));
            }
        }
    }
}

} // namespace
