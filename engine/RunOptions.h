#pragma once
// The two things a host asks of the user before a run, checked the same way by every host (the
// command line and the converter page): the magnetic variation as typed, and the SN10 file's
// name when none is given.
#include <optional>
#include <string>
#include <string_view>

// Largest magnitude of a variation, in degrees.
inline constexpr float VariationLimit = 180.0f;

// A variation as typed: an optional sign, decimal digits, and optionally a point followed by
// digits; nothing else, and between -VariationLimit and VariationLimit. A negative zero comes
// back as zero. nullopt for anything else.
std::optional<float> ParseVariation(std::string_view text);

// The SN10 file named after a CAI file: the same folder, and the file name with its first
// ".DAT" (any letter case) replaced by ".NDB". nullopt when the file name holds no ".DAT".
std::optional<std::string> DefaultSn10Path(std::string_view caiPath);
