#include "Coordinates.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "TextFormat.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double RadiansPerDegree = Pi / 180.0;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads count digits at text[at]; false when there are fewer.
bool Digits(std::string_view text, std::size_t& at, std::size_t count, int& value) {
    value = 0;
    for (std::size_t end = at + count; at < end; ++at) {
        if (at >= text.size() || !IsDigit(text[at]))
            return false;
        value = value * 10 + (text[at] - '0');
    }
    return true;
}

// Reads a point and at least one decimal digit at text[at], when there is a point; fraction gets
// their value. Only the first nine decimals count for the value.
bool Decimals(std::string_view text, std::size_t& at, double& fraction) {
    fraction = 0.0;
    if (at >= text.size() || text[at] != '.')
        return true;
    ++at;
    const std::size_t start = at;
    double scale = 0.1;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        if (at - start < 9) {
            fraction += (text[at] - '0') * scale;
            scale /= 10.0;
        }
    }
    return at > start;
}

// The sign of a hemisphere letter: +1 for the first of the two (N, E), -1 for the second (S, W),
// 0 for anything else.
int Hemisphere(char c, bool latitude) {
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    if (upper == (latitude ? 'N' : 'E'))
        return 1;
    if (upper == (latitude ? 'S' : 'W'))
        return -1;
    return 0;
}

// The position of degrees, minutes and seconds in radians, when it lies within the limit.
bool Position(int degrees, double minutes, int sign, bool latitude, double& radians) {
    const int limit = latitude ? LatitudeLimit : LongitudeLimit;
    if (degrees > limit || (degrees == limit && minutes > 0.0))
        return false;
    radians = sign * (degrees + minutes / 60.0) * RadiansPerDegree;
    return true;
}

} // namespace

bool ReadCaiCoordinate(std::string_view text, bool latitude, double& radians) {
    std::size_t at = 0;
    const std::size_t maxDegreeDigits = latitude ? 2 : 3;
    int degrees = 0;
    while (at < text.size() && IsDigit(text[at]) && at < maxDegreeDigits)
        degrees = degrees * 10 + (text[at++] - '0');
    if (at == 0 || at >= text.size() || text[at++] != ':')
        return false;
    int minutes = 0, seconds = 0;
    double fraction = 0.0;
    if (!Digits(text, at, 2, minutes) || minutes >= 60)
        return false;
    const bool withSeconds = at < text.size() && text[at] == ':';
    if (withSeconds && (!Digits(text, ++at, 2, seconds) || seconds >= 60))
        return false;
    if (!Decimals(text, at, fraction))
        return false;
    while (at < text.size() && IsWhiteSpace(text[at]))
        ++at;
    if (at >= text.size())
        return false;
    const int sign = Hemisphere(text[at++], latitude);
    while (at < text.size() && IsWhiteSpace(text[at]))
        ++at;
    if (sign == 0 || at != text.size())
        return false;
    const double totalMinutes =
        withSeconds ? minutes + (seconds + fraction) / 60.0 : minutes + fraction;
    return Position(degrees, totalMinutes, sign, latitude, radians);
}

std::size_t ConvertCupCoordinate(std::string_view text, bool latitude, char* out, double& radians) {
    const std::size_t degreeDigits = latitude ? 2 : 3;
    std::size_t at = 0;
    int degrees = 0, minutes = 0;
    double fraction = 0.0;
    if (!Digits(text, at, degreeDigits, degrees) || !Digits(text, at, 2, minutes) || minutes >= 60)
        return 0;
    const std::size_t decimalsStart = at;
    if (!Decimals(text, at, fraction) || at + 1 != text.size())
        return 0;
    const int sign = Hemisphere(text[at], latitude);
    if (sign == 0 || !Position(degrees, minutes + fraction, sign, latitude, radians))
        return 0;
    // DD:MM or DDD:MM, the point and decimals as written, and the letter.
    char* p = out;
    std::memcpy(p, text.data(), degreeDigits);
    p += degreeDigits;
    *p++ = ':';
    std::memcpy(p, text.data() + degreeDigits, 2);
    p += 2;
    std::size_t decimals = at - decimalsStart;
    if (decimals > CupCoordinateDecimals + 1)
        decimals = CupCoordinateDecimals + 1; // the point and the decimals that matter
    std::memcpy(p, text.data() + decimalsStart, decimals);
    p += decimals;
    *p++ = sign > 0 ? (latitude ? 'N' : 'E') : (latitude ? 'S' : 'W');
    return static_cast<std::size_t>(p - out);
}

double DistanceKm(double latitude1, double longitude1, double latitude2, double longitude2) {
    const double sinLatitude = std::sin((latitude2 - latitude1) / 2.0);
    const double sinLongitude = std::sin((longitude2 - longitude1) / 2.0);
    const double h = sinLatitude * sinLatitude +
                     std::cos(latitude1) * std::cos(latitude2) * sinLongitude * sinLongitude;
    return 2.0 * EarthRadiusKm * std::asin(std::sqrt(std::min(1.0, h)));
}
