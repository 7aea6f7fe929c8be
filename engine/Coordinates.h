// SPDX-License-Identifier: MIT
#pragma once
// Positions as turnpoint files write them, checked and converted, and the distances between
// them.
#include <cstddef>
#include <string_view>

// Largest magnitude of a latitude and of a longitude, in degrees.
inline constexpr int LatitudeLimit = 90;
inline constexpr int LongitudeLimit = 180;

// A CAI coordinate: one or two degree digits for a latitude (up to three for a longitude), a
// colon and two minute digits, optionally a colon and two second digits, either optionally
// followed by a point and decimals; then, after optional blanks, the hemisphere letter (N or S,
// E or W, either letter case) and optional blanks. Degrees at most the limit, minutes and
// seconds below 60, nothing beyond the limit. text holds length characters and a terminating
// zero (a text of the table). On success, radians holds the position (south and west
// negative).
bool ReadCaiCoordinate(const char* text, std::size_t length, bool latitude, double& radians);

// A CUP coordinate: DDMM.mmm and N or S for a latitude, DDDMM.mmm and E or W for a longitude
// (decimals optional, the letter in either case), with the same limits. On success, radians
// holds the position and out the coordinate as a CAI file writes it, DD:MM.mmmH (the letter
// upper case, the decimals as written, at most CupCoordinateDecimals of them); the function
// returns the length of out, 0 for an invalid coordinate. out needs CupCoordinateRoom bytes.
inline constexpr std::size_t CupCoordinateDecimals = 50;
inline constexpr std::size_t CupCoordinateRoom = 3 + 1 + 2 + 1 + CupCoordinateDecimals + 1;
std::size_t ConvertCupCoordinate(std::string_view text, bool latitude, char* out, double& radians);

// Great-circle distance in kilometres between two positions given in radians, on a sphere of
// the Earth's mean radius.
double DistanceKm(double latitude1, double longitude1, double latitude2, double longitude2);
inline constexpr double EarthRadiusKm = 6371.0;

// Sine and cosine of an angle in radians (from -8 pi to 8 pi), to the last bit or two of a
// double. The engine computes them itself: the C maths library would be loaded into every run
// of velquor-convert, at a fifth of its memory, for the few points that need them.
double Sine(double radians);
double Cosine(double radians);
