// SPDX-License-Identifier: MIT
#pragma once
// Exact conversions between binary floating point and decimal text, done with integer arithmetic
// so that every platform and C++ library gives the same digits, whatever the process's locale.
#include <string>
#include <string_view>

// Appends a finite value in fixed notation with precision digits after the point, rounded from
// the exact binary value to the nearest, ties to even: printf's "%.*f" in the C locale.
void AppendFixed(std::string& out, double value, int precision);

// The float nearest to mantissa x 10^exponent (ties to even), as strtof gives it: infinity when
// the number is too large for a float, zero or a subnormal when it is too small. mantissa holds
// decimal digits and at most one point.
float NearestFloat(std::string_view mantissa, long exponent, bool negative);
