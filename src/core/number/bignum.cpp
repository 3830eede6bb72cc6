#include "core/number/bignum.h"

#include <algorithm>

namespace tallix {
namespace {

__extension__ typedef unsigned __int128 u128;

// 5^27, the largest power of five within 64 bits.
constexpr std::uint64_t kFive27 = 7450580596923828125ULL;

} // namespace

BigNum::BigNum(std::uint64_t v) {
    if (v != 0) limbs_.push_back(v);
}

void BigNum::MulAdd(std::uint64_t f, std::uint64_t add) {
    std::uint64_t carry = add;
    for (std::uint64_t& limb : limbs_) {
        const u128 t = static_cast<u128>(limb) * f + carry;
        limb = static_cast<std::uint64_t>(t);
        carry = static_cast<std::uint64_t>(t >> 64);
    }
    if (carry != 0) limbs_.push_back(carry);
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
}

void BigNum::MulPow5(int n) {
    if (limbs_.empty()) return;
    for (; n >= 27; n -= 27) MulAdd(kFive27);
    std::uint64_t f = 1;
    for (; n > 0; --n) f *= 5;
    if (f != 1) MulAdd(f);
}

void BigNum::ShiftLeft(int n) {
    if (limbs_.empty() || n <= 0) return;
    const std::size_t words = static_cast<std::size_t>(n / 64);
    const int bits = n % 64;
    if (bits != 0) {
        std::uint64_t carry = 0;
        for (std::uint64_t& limb : limbs_) {
            const std::uint64_t next = limb >> (64 - bits);
            limb = (limb << bits) | carry;
            carry = next;
        }
        if (carry != 0) limbs_.push_back(carry);
    }
    limbs_.insert(limbs_.begin(), words, 0);
}

int Compare(const BigNum& a, const BigNum& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    for (std::size_t i = a.limbs_.size(); i-- > 0;)
        if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    return 0;
}

int CompareScaled(BigNum a, int a2, int a5, BigNum b, int b2, int b5) {
    // Only the differences of the exponents matter: scale the side with the
    // larger one.
    if (a5 > b5)
        a.MulPow5(a5 - b5);
    else
        b.MulPow5(b5 - a5);
    if (a2 > b2)
        a.ShiftLeft(a2 - b2);
    else
        b.ShiftLeft(b2 - a2);
    return Compare(a, b);
}

} // namespace tallix
