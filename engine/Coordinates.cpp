// SPDX-License-Identifier: MIT
#include "Coordinates.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "TextFormat.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double RadiansPerDegree = Pi / 180.0;

// Decimals beyond these add nothing a position needs.
constexpr int CountedDecimals = 15;
constexpr double NegativePowersOfTen[CountedDecimals + 1] = {
    1e0,  1e-1, 1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,
    1e-8, 1e-9, 1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15};

// Reads a coordinate's text from p on; every step checks against end.
class Scanner {
public:
    Scanner(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    bool AtEnd() const { return p_ == end_; }
    bool Take(char c) {
        if (p_ == end_ || *p_ != c)
            return false;
        ++p_;
        return true;
    }
    // Exactly count digits.
    bool Digits(int count, unsigned& value) {
        value = 0;
        if (end_ - p_ < count)
            return false;
        for (int i = 0; i < count; ++i, ++p_) {
            const unsigned digit = static_cast<unsigned char>(*p_) - unsigned{'0'};
            if (digit > 9)
                return false;
            value = value * 10 + digit;
        }
        return true;
    }
    // One to most digits.
    bool SomeDigits(int most, unsigned& value) {
        value = 0;
        const char* const start = p_;
        for (; p_ != end_ && p_ - start < most; ++p_) {
            const unsigned digit = static_cast<unsigned char>(*p_) - unsigned{'0'};
            if (digit > 9)
                break;
            value = value * 10 + digit;
        }
        return p_ != start;
    }
    // A point and at least one decimal, when there is a point; fraction gets their value.
    bool Decimals(double& fraction) {
        fraction = 0.0;
        if (!Take('.'))
            return true;
        const char* const start = p_;
        std::int64_t digits = 0; // signed: it converts to double in one step
        for (; p_ != end_; ++p_) {
            const unsigned digit = static_cast<unsigned char>(*p_) - unsigned{'0'};
            if (digit > 9)
                break;
            if (p_ - start < CountedDecimals)
                digits = digits * 10 + digit;
        }
        const auto count = p_ - start;
        fraction = static_cast<double>(digits) *
                   NegativePowersOfTen[count < CountedDecimals ? count : CountedDecimals];
        return count > 0;
    }
    void SkipWhiteSpace() {
        while (p_ != end_ && IsWhiteSpace(*p_))
            ++p_;
    }
    // +1 for the first hemisphere letter (N, E), -1 for the second (S, W), either case; 0 for
    // anything else.
    int Hemisphere(bool latitude) {
        if (p_ == end_)
            return 0;
        const char letter = static_cast<char>(*p_++ | 0x20);
        return letter == (latitude ? 'n' : 'e') ? 1 : letter == (latitude ? 's' : 'w') ? -1 : 0;
    }
    std::size_t Consumed(std::string_view text) const {
        return static_cast<std::size_t>(p_ - text.data());
    }

private:
    const char* p_;
    const char* end_;
};

// The position of degrees and minutes in radians, when it lies within the limit.
bool Position(unsigned degrees, double minutes, int sign, bool latitude, double& radians) {
    const unsigned limit = latitude ? LatitudeLimit : LongitudeLimit;
    if (degrees > limit || (degrees == limit && minutes > 0.0))
        return false;
    radians = sign * (degrees + minutes * (1.0 / 60.0)) * RadiansPerDegree;
    return true;
}

} // namespace

namespace {

// The reader of one kind of coordinate: with the kind fixed, every test of it is settled when
// the code is compiled.
template <bool latitude>
bool ReadCaiCoordinateOf(const char* text, std::size_t length, double& radians) {
    // Every point's two coordinates pass here, so the text is walked once, character by
    // character, with the terminating zero as the one end mark: it is no digit, colon, point,
    // blank or letter, so every test below stops at it.
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    auto digit = [](unsigned char c) { return static_cast<unsigned>(c - '0'); };
    unsigned degrees = digit(*p);
    if (degrees > 9)
        return false;
    ++p;
    for (int more = latitude ? 1 : 2; more > 0 && digit(*p) <= 9; --more)
        degrees = degrees * 10 + digit(*p++);
    if (*p++ != ':' || digit(p[0]) > 5 || digit(p[1]) > 9)
        return false;
    const unsigned minutes = digit(p[0]) * 10 + digit(p[1]);
    p += 2;
    unsigned seconds = 0;
    const bool withSeconds = *p == ':';
    if (withSeconds) {
        if (digit(p[1]) > 5 || digit(p[2]) > 9)
            return false;
        seconds = digit(p[1]) * 10 + digit(p[2]);
        p += 3;
    }
    double fraction = 0.0;
    if (*p == '.') {
        const unsigned char* const start = ++p;
        std::int64_t digits = 0; // signed: it converts to double in one step
        unsigned d;
        for (int left = CountedDecimals; left > 0 && (d = digit(*p)) <= 9; --left, ++p)
            digits = digits * 10 + d;
        const auto count = p - start;
        while (digit(*p) <= 9) // beyond what a position needs
            ++p;
        if (p == start)
            return false;
        fraction = static_cast<double>(digits) * NegativePowersOfTen[count];
    }
    while (IsWhiteSpace(static_cast<char>(*p)))
        ++p;
    const unsigned char letter = *p++ | 0x20;
    const int sign = letter == (latitude ? 'n' : 'e')   ? 1
                     : letter == (latitude ? 's' : 'w') ? -1
                                                        : 0;
    while (IsWhiteSpace(static_cast<char>(*p)))
        ++p;
    if (sign == 0 || p != reinterpret_cast<const unsigned char*>(text) + length)
        return false;
    const double totalMinutes =
        withSeconds ? minutes + (seconds + fraction) * (1.0 / 60.0) : minutes + fraction;
    return Position(degrees, totalMinutes, sign, latitude, radians);
}

} // namespace

bool ReadCaiCoordinate(const char* text, std::size_t length, bool latitude, double& radians) {
    return latitude ? ReadCaiCoordinateOf<true>(text, length, radians)
                    : ReadCaiCoordinateOf<false>(text, length, radians);
}

std::size_t ConvertCupCoordinate(std::string_view text, bool latitude, char* out, double& radians) {
    const int degreeDigits = latitude ? 2 : 3;
    Scanner scan(text);
    unsigned degrees, minutes;
    double fraction;
    if (!scan.Digits(degreeDigits, degrees) || !scan.Digits(2, minutes) || minutes >= 60)
        return 0;
    const std::size_t decimalsStart = scan.Consumed(text);
    if (!scan.Decimals(fraction))
        return 0;
    const std::size_t decimalsEnd = scan.Consumed(text);
    const int sign = scan.Hemisphere(latitude);
    if (sign == 0 || !scan.AtEnd() ||
        !Position(degrees, minutes + fraction, sign, latitude, radians))
        return 0;
    // DD:MM or DDD:MM, the point and decimals as written, and the letter.
    char* p = out;
    std::memcpy(p, text.data(), static_cast<std::size_t>(degreeDigits));
    p += degreeDigits;
    *p++ = ':';
    std::memcpy(p, text.data() + degreeDigits, 2);
    p += 2;
    std::size_t decimals = decimalsEnd - decimalsStart;
    if (decimals > CupCoordinateDecimals + 1)
        decimals = CupCoordinateDecimals + 1; // the point and the decimals that matter
    std::memcpy(p, text.data() + decimalsStart, decimals);
    p += decimals;
    *p++ = sign > 0 ? (latitude ? 'N' : 'E') : (latitude ? 'S' : 'W');
    return static_cast<std::size_t>(p - out);
}

namespace {

// sin(r) and cos(r) for |r| <= pi/4, by their Taylor series: the first term left out is below
// 5e-17 of the result there.
double SineNearZero(double r) {
    const double r2 = r * r;
    double sum = 1.0 / 1307674368000.0; // 1/15!
    for (const double factorial : {6227020800.0, 39916800.0, 362880.0, 5040.0, 120.0, 6.0})
        sum = 1.0 / factorial - r2 * sum; // from 1/13! down to 1/3!, alternating
    return r - r * r2 * sum;
}
double CosineNearZero(double r) {
    const double r2 = r * r;
    double sum = 1.0 / 20922789888000.0; // 1/16!
    for (const double factorial :
         {87178291200.0, 479001600.0, 3628800.0, 40320.0, 720.0, 24.0, 2.0})
        sum = 1.0 / factorial - r2 * sum; // from 1/14! down to 1/2!, alternating
    return 1.0 - r2 * sum;
}

// The quadrant of the angle (0 to 3) and what is left of it within pi/4 of zero. pi/2 is taken
// in two parts, so that subtracting a few times the first loses nothing.
constexpr double HalfPiHigh = 1.57079632673412561417e+00; // pi/2 to 33 bits
constexpr double HalfPiLow = 6.07710050650619224932e-11;  // pi/2 - HalfPiHigh
int Reduce(double radians, double& rest) {
    const double turns = radians * (2.0 / Pi);
    const long quadrants = static_cast<long>(turns + (turns < 0.0 ? -0.5 : 0.5));
    rest = (radians - static_cast<double>(quadrants) * HalfPiHigh) -
           static_cast<double>(quadrants) * HalfPiLow;
    return static_cast<int>(quadrants & 3);
}

// sqrt(x) for x >= 0 by Newton's method from a first guess that halves the exponent: five
// steps take its error from at most 6 % to the last bit.
double SquareRoot(double x) {
    if (!(x > 0.0))
        return 0.0;
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    bits = (bits >> 1) + (std::uint64_t{1023} << 51);
    double root;
    std::memcpy(&root, &bits, sizeof root);
    for (int step = 0; step < 5; ++step)
        root = 0.5 * (root + x / root);
    return root;
}

// asin(x) for 0 <= x <= 1: its series below 1/2 (each term a quarter of the one before at
// most), and asin(x) = pi/2 - 2 asin(sqrt((1 - x) / 2)) above.
double ArcSine(double x) {
    if (x > 0.5)
        return Pi / 2 - 2.0 * ArcSine(SquareRoot((1.0 - x) / 2.0));
    const double x2 = x * x;
    double power = x, coefficient = 1.0, sum = x;
    for (int n = 1; n < 30; ++n) {
        coefficient *= (2.0 * n - 1.0) / (2.0 * n);
        power *= x2;
        sum += coefficient * power / (2.0 * n + 1.0);
    }
    return sum;
}

// sin(quadrant * pi/2 + rest), for a quadrant of 0 to 3.
double SineInQuadrant(int quadrant, double rest) {
    const double value = quadrant & 1 ? CosineNearZero(rest) : SineNearZero(rest);
    return quadrant & 2 ? -value : value;
}

} // namespace

double Sine(double radians) {
    double rest;
    const int quadrant = Reduce(radians, rest);
    return SineInQuadrant(quadrant, rest);
}

double Cosine(double radians) {
    double rest;
    const int quadrant = Reduce(radians, rest);
    return SineInQuadrant((quadrant + 1) & 3, rest);
}

double DistanceKm(double latitude1, double longitude1, double latitude2, double longitude2) {
    const double sinLatitude = Sine((latitude2 - latitude1) / 2.0);
    const double sinLongitude = Sine((longitude2 - longitude1) / 2.0);
    const double h = sinLatitude * sinLatitude +
                     Cosine(latitude1) * Cosine(latitude2) * sinLongitude * sinLongitude;
    return 2.0 * EarthRadiusKm * ArcSine(SquareRoot(std::min(1.0, h)));
}
