// SPDX-License-Identifier: MIT
#pragma once
// What a host asks of the user before a run, checked the same way by every host (the command
// line, the window and the converter page): the magnetic variation and the timezone as typed,
// the format of the turnpoint file, and the SN10 file's name when none is given.
#include <optional>
#include <string>
#include <string_view>

#include "RunState.h"

// Largest magnitude of a variation, in degrees.
inline constexpr float VariationLimit = 180.0f;
// The timezones there are, in hours.
inline constexpr float TimezoneMin = -12.0f;
inline constexpr float TimezoneMax = 14.0f;

// A variation as typed: an optional sign, decimal digits, and optionally a point followed by
// digits; nothing else, and between -VariationLimit and VariationLimit. A negative zero comes
// back as zero. nullopt for anything else.
std::optional<float> ParseVariation(std::string_view text);

// A timezone in hours, written as a variation is, from TimezoneMin to TimezoneMax.
std::optional<float> ParseTimezone(std::string_view text);

// A file whose name ends in ".cup" (any letter case) is a SeeYou CUP file; any other is read as
// a CAI file.
InputFormat FormatOf(std::string_view path);

// The SN10 file named after a turnpoint file: the same folder, and the file name with its first
// ".DAT" (".CUP" for a CUP file; any letter case) replaced by ".NDB". nullopt when the file name
// holds none.
std::optional<std::string> DefaultSn10Path(std::string_view inputPath);
