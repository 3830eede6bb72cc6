// Unsigned integers of any size, for the rare exact decisions of the number
// texts: whether a value lies above, below or exactly on a rounding boundary
// when the 128-bit powers of ten cannot tell.
#pragma once

#include <cstdint>
#include <vector>

namespace tallix {

class BigNum {
public:
    BigNum() = default;
    explicit BigNum(std::uint64_t v);

    // *this = *this * f + add.
    void MulAdd(std::uint64_t f, std::uint64_t add = 0);
    // *this *= 5^n (n >= 0).
    void MulPow5(int n);
    // *this *= 2^n (n >= 0).
    void ShiftLeft(int n);

    // -1, 0 or 1 as a is below, equal to or above b.
    friend int Compare(const BigNum& a, const BigNum& b);

private:
    std::vector<std::uint64_t> limbs_; // least significant first, no zero limb on top
};

// Compares a * 2^a2 * 5^a5 with b * 2^b2 * 5^b5: -1, 0 or 1.
int CompareScaled(BigNum a, int a2, int a5, BigNum b, int b2, int b5);

} // namespace tallix
