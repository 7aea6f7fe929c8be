// SPDX-License-Identifier: MIT
#include "Decimal.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// An unsigned integer of up to Limbs x 32 bits, little-endian, enough for every number the two
// conversions meet: a double's mantissa shifted by its largest exponent times 10^80 needs 1290
// bits; a float read from at most MaxDigits digits needs fewer.
class BigNumber {
public:
    static constexpr int Limbs = 48;

    explicit BigNumber(std::uint64_t value = 0) {
        limb_[0] = static_cast<std::uint32_t>(value);
        limb_[1] = static_cast<std::uint32_t>(value >> 32);
        size_ = limb_[1] ? 2 : limb_[0] ? 1 : 0;
    }

    bool IsZero() const { return size_ == 0; }
    int BitLength() const {
        if (size_ == 0)
            return 0;
        int bits = (size_ - 1) * 32;
        for (std::uint32_t top = limb_[size_ - 1]; top; top >>= 1)
            ++bits;
        return bits;
    }
    bool Bit(int index) const {
        const int limb = index / 32;
        return limb < size_ && ((limb_[limb] >> (index % 32)) & 1u);
    }
    // True when any bit below index is set.
    bool AnyBitBelow(int index) const {
        const int whole = index / 32 < size_ ? index / 32 : size_;
        for (int i = 0; i < whole; ++i)
            if (limb_[i])
                return true;
        return whole < size_ && index % 32 && (limb_[whole] & ((1u << (index % 32)) - 1u));
    }
    void MultiplyAdd(std::uint32_t factor, std::uint32_t addend = 0) {
        std::uint64_t carry = addend;
        for (int i = 0; i < size_; ++i) {
            carry += static_cast<std::uint64_t>(limb_[i]) * factor;
            limb_[i] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry && size_ < Limbs)
            limb_[size_++] = static_cast<std::uint32_t>(carry);
    }
    void MultiplyByPowerOfTen(long exponent) {
        for (; exponent >= 9; exponent -= 9)
            MultiplyAdd(1000000000u);
        static constexpr std::uint32_t Small[] = {1,      10,      100,      1000,     10000,
                                                  100000, 1000000, 10000000, 100000000};
        MultiplyAdd(Small[exponent]);
    }
    // Divides in place and returns the remainder.
    std::uint32_t DivideSmall(std::uint32_t divisor) {
        std::uint64_t remainder = 0;
        for (int i = size_ - 1; i >= 0; --i) {
            remainder = (remainder << 32) | limb_[i];
            limb_[i] = static_cast<std::uint32_t>(remainder / divisor);
            remainder %= divisor;
        }
        Trim();
        return static_cast<std::uint32_t>(remainder);
    }
    void ShiftLeft(int bits) {
        if (size_ == 0 || bits <= 0)
            return;
        const int limbs = bits / 32, rest = bits % 32;
        int top = size_ + limbs + 1;
        if (top > Limbs)
            top = Limbs;
        for (int i = top - 1; i >= 0; --i) {
            const int from = i - limbs;
            std::uint32_t value = from >= 0 && from < size_ ? limb_[from] << rest : 0;
            if (rest && from - 1 >= 0 && from - 1 < size_)
                value |= limb_[from - 1] >> (32 - rest);
            limb_[i] = value;
        }
        size_ = top;
        Trim();
    }
    void ShiftRight(int bits) {
        const int limbs = bits / 32, rest = bits % 32;
        for (int i = 0; i < size_; ++i) {
            const int from = i + limbs;
            std::uint32_t value = from < size_ ? limb_[from] >> rest : 0;
            if (rest && from + 1 < size_)
                value |= limb_[from + 1] << (32 - rest);
            limb_[i] = value;
        }
        Trim();
    }
    int Compare(const BigNumber& other) const {
        if (size_ != other.size_)
            return size_ < other.size_ ? -1 : 1;
        for (int i = size_ - 1; i >= 0; --i)
            if (limb_[i] != other.limb_[i])
                return limb_[i] < other.limb_[i] ? -1 : 1;
        return 0;
    }
    // Subtracts a number that is not larger.
    void Subtract(const BigNumber& other) {
        std::int64_t borrow = 0;
        for (int i = 0; i < size_; ++i) {
            std::int64_t value = static_cast<std::int64_t>(limb_[i]) - borrow -
                                 (i < other.size_ ? other.limb_[i] : 0u);
            borrow = value < 0;
            limb_[i] = static_cast<std::uint32_t>(value + (borrow << 32));
        }
        Trim();
    }

private:
    void Trim() {
        while (size_ > 0 && limb_[size_ - 1] == 0)
            --size_;
    }

    std::uint32_t limb_[Limbs] = {};
    int size_ = 0;
};

// Digits beyond this many decide a float's rounding only by not all being zero: a value halfway
// between two floats has at most 113 significant digits.
constexpr std::size_t MaxDigits = 150;

// floor(numerator / denominator) when it is below 2^26; the remainder stays in numerator.
std::uint32_t SmallQuotient(BigNumber& numerator, BigNumber denominator) {
    constexpr int Bits = 26;
    denominator.ShiftLeft(Bits - 1);
    std::uint32_t quotient = 0;
    for (int bit = Bits - 1; bit >= 0; --bit) {
        if (numerator.Compare(denominator) >= 0) {
            numerator.Subtract(denominator);
            quotient |= 1u << bit;
        }
        denominator.ShiftRight(1);
    }
    return quotient;
}

} // namespace

void AppendFixed(std::string& out, double value, int precision) {
    if (std::signbit(value))
        out.push_back('-');
    // value = mantissa x 2^exponent exactly, read from the bits of the binary64 format (the
    // engine needs nothing from the maths library, which a run would otherwise have to load).
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>(bits >> 52) & 0x7FF;
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = -1074; // zero and the subnormals
    if (biased != 0) {
        mantissa |= std::uint64_t{1} << 52;
        exponent = biased - 1075;
    }

    // scaled = value x 10^precision, rounded to an integer: its last precision digits follow
    // the point.
    BigNumber scaled(mantissa);
    scaled.MultiplyByPowerOfTen(precision);
    if (exponent >= 0) {
        scaled.ShiftLeft(exponent);
    } else {
        const int shift = -exponent;
        const bool half = scaled.Bit(shift - 1);
        const bool belowHalf = scaled.AnyBitBelow(shift - 1);
        scaled.ShiftRight(shift);
        if (half && (belowHalf || scaled.Bit(0)))
            scaled.MultiplyAdd(1, 1);
    }

    char digits[512];
    int count = 0;
    do {
        std::uint32_t group = scaled.DivideSmall(1000000000u);
        for (int i = 0; i < 9 && count < static_cast<int>(sizeof digits); ++i, group /= 10)
            digits[count++] = static_cast<char>('0' + group % 10);
    } while (!scaled.IsZero());
    while (count > 1 && digits[count - 1] == '0')
        --count;
    while (count <= precision)
        digits[count++] = '0';
    for (int i = count - 1; i >= 0; --i) {
        out.push_back(digits[i]);
        if (i == precision && precision > 0)
            out.push_back('.');
    }
}

float NearestFloat(std::string_view mantissa, long exponent, bool negative) {
    const float sign = negative ? -1.0f : 1.0f;
    // value = significant digits x 10^exponent, with the leading zeros dropped; digits past
    // MaxDigits matter only in whether they are all zero.
    char significant[MaxDigits];
    std::size_t count = 0;
    bool afterPoint = false, droppedNonZero = false;
    for (char c : mantissa) {
        if (c == '.') {
            afterPoint = true;
        } else if (count == 0 && c == '0') {
            exponent -= afterPoint;
        } else if (count < MaxDigits) {
            significant[count++] = c;
            exponent -= afterPoint;
        } else {
            droppedNonZero |= c != '0';
            exponent += !afterPoint;
        }
    }
    while (count > 0 && significant[count - 1] == '0') {
        --count;
        ++exponent;
    }
    if (count == 0)
        return sign * 0.0f;
    // The value lies in [10^(magnitude - 1), 10^magnitude): beyond 10^39 it is too large for a
    // float, below 10^-46 too small even to round up to the smallest subnormal (1.4e-45).
    const long magnitude = static_cast<long>(count) + exponent;
    if (magnitude > 39)
        return sign * std::numeric_limits<float>::infinity();
    if (magnitude < -45)
        return sign * 0.0f;

    BigNumber numerator, denominator(1);
    for (std::size_t i = 0; i < count; ++i)
        numerator.MultiplyAdd(10, static_cast<std::uint32_t>(significant[i] - '0'));
    if (droppedNonZero) {
        // Moves the value off any halfway point between two floats, as the dropped digits do.
        numerator.MultiplyAdd(10, 1);
        --exponent;
    }
    if (exponent >= 0)
        numerator.MultiplyByPowerOfTen(exponent);
    else
        denominator.MultiplyByPowerOfTen(-exponent);

    // Find the float's step 2^step such that value / 2^step lies in [2^23, 2^24), or the
    // subnormal step 2^-149; quotient holds one bit more, to round with.
    int step = numerator.BitLength() - denominator.BitLength() - 24;
    std::uint32_t quotient = 0;
    bool inexact = false;
    for (;;) {
        if (step < -149)
            step = -149;
        BigNumber remainder = numerator, divisor = denominator;
        if (step - 1 < 0)
            remainder.ShiftLeft(1 - step);
        else
            divisor.ShiftLeft(step - 1);
        quotient = SmallQuotient(remainder, divisor);
        inexact = !remainder.IsZero();
        if (quotient < (1u << 25))
            break;
        ++step;
    }
    const bool roundBit = quotient & 1u;
    quotient >>= 1;
    if (roundBit && (inexact || (quotient & 1u)))
        ++quotient;
    if (quotient == (1u << 24)) {
        quotient >>= 1;
        ++step;
    }
    if (step > 104)
        return sign * std::numeric_limits<float>::infinity();
    // quotient x 2^step is a float exactly; 2^step, built from its bits, is a normal double.
    const std::uint64_t scaleBits = static_cast<std::uint64_t>(step + 1023) << 52;
    double scale = 0;
    std::memcpy(&scale, &scaleBits, sizeof scale);
    return sign * static_cast<float>(quotient * scale);
}
