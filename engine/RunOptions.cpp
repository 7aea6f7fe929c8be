// SPDX-License-Identifier: MIT
#include "RunOptions.h"

#include "TextFormat.h"

namespace {

// A decimal number as typed: an optional sign, digits, optionally a point and more digits, and
// between low and high. A negative zero comes back as zero.
std::optional<float> ParseDecimal(std::string_view text, float low, float high) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    auto digits = [&] {
        const std::size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9')
            ++at;
        return at > start;
    };
    if (!digits())
        return std::nullopt;
    if (at < text.size() && text[at] == '.') {
        ++at;
        if (!digits())
            return std::nullopt;
    }
    if (at != text.size())
        return std::nullopt;
    const std::string number(text);
    float value = 0.0f;
    if (!ScanFloat(number.c_str(), value) || !(value >= low && value <= high))
        return std::nullopt;
    return value == 0.0f ? 0.0f : value;
}

// Where the file name starts: after the last separator; the folder part is never looked at.
std::size_t FileNameStart(std::string_view path) {
#ifdef _WIN32
    const std::size_t separator = path.find_last_of("/\\:");
#else
    const std::size_t separator = path.rfind('/');
#endif
    return separator == std::string_view::npos ? 0 : separator + 1;
}

// Whether text, at position at, holds "." and the three letters of extension (lower case), in
// any letter case.
bool ExtensionAt(std::string_view text, std::size_t at, const char* extension) {
    if (at + 4 > text.size() || text[at] != '.')
        return false;
    for (int i = 0; i < 3; ++i)
        if ((text[at + 1 + i] | 0x20) != extension[i])
            return false;
    return true;
}

} // namespace

std::optional<float> ParseVariation(std::string_view text) {
    return ParseDecimal(text, -VariationLimit, VariationLimit);
}

std::optional<float> ParseTimezone(std::string_view text) {
    return ParseDecimal(text, TimezoneMin, TimezoneMax);
}

InputFormat FormatOf(std::string_view path) {
    const std::size_t name = FileNameStart(path);
    return path.size() >= name + 4 && ExtensionAt(path, path.size() - 4, "cup") ? InputFormat::Cup
                                                                                : InputFormat::Cai;
}

std::optional<std::string> DefaultSn10Path(std::string_view inputPath) {
    const char* extension = FormatOf(inputPath) == InputFormat::Cup ? "cup" : "dat";
    for (std::size_t i = FileNameStart(inputPath); i + 4 <= inputPath.size(); ++i) {
        if (ExtensionAt(inputPath, i, extension)) {
            std::string path(inputPath);
            path.replace(i, 4, ".NDB");
            return path;
        }
    }
    return std::nullopt;
}
