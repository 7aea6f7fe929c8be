// SPDX-License-Identifier: MIT
#include "Encoding.h"

#include <cstdint>
#include <cstring>

namespace {

// Windows-1252 for U+0080 to U+00FF is Latin-1 from U+00A0 on; below that, and for the
// characters it places in 0x80 to 0x9F, this table says where each of these goes.
struct Extra {
    char16_t code;
    unsigned char byte;
};
constexpr Extra ExtraCharacters[] = {
    {0x0152, 0x8C}, {0x0153, 0x9C}, {0x0160, 0x8A}, {0x0161, 0x9A}, {0x0178, 0x9F}, {0x017D, 0x8E},
    {0x017E, 0x9E}, {0x0192, 0x83}, {0x02C6, 0x88}, {0x02DC, 0x98}, {0x2013, 0x96}, {0x2014, 0x97},
    {0x2018, 0x91}, {0x2019, 0x92}, {0x201A, 0x82}, {0x201C, 0x93}, {0x201D, 0x94}, {0x201E, 0x84},
    {0x2020, 0x86}, {0x2021, 0x87}, {0x2022, 0x95}, {0x2026, 0x85}, {0x2030, 0x89}, {0x2039, 0x8B},
    {0x203A, 0x9B}, {0x20AC, 0x80}, {0x2122, 0x99},
};

char Windows1252Of(std::uint32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (const Extra& extra : ExtraCharacters)
        if (extra.code == code)
            return static_cast<char>(extra.byte);
    return '?';
}

} // namespace

bool HasHighBytes(std::string_view text) {
    // Eight bytes at a time: a line is looked at on every read.
    const std::size_t size = text.size();
    std::uint64_t any = 0, word;
    if (size < 8) {
        for (const char c : text)
            any |= static_cast<unsigned char>(c);
        return any & 0x80;
    }
    for (std::size_t at = 0; at + 8 <= size; at += 8) {
        std::memcpy(&word, text.data() + at, 8);
        any |= word;
    }
    std::memcpy(&word, text.data() + size - 8, 8); // the last bytes, which may overlap
    any |= word;
    return (any & 0x8080808080808080u) != 0;
}

bool IsValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char lead = *p++;
        if (lead < 0x80)
            continue;
        int more;
        std::uint32_t min;
        std::uint32_t code;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1, min = 0x80, code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2, min = 0x800, code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3, min = 0x10000, code = lead & 0x07;
        } else {
            return false; // a continuation byte, an overlong lead or beyond U+10FFFF
        }
        if (end - p < more)
            return false;
        for (int i = 0; i < more; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        p += more;
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
    }
    return true;
}

std::size_t Utf8ToWindows1252(std::string_view text, char* out) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    std::size_t length = 0;
    while (p < end) {
        std::uint32_t code = *p++;
        int more = code >= 0xF0 ? 3 : code >= 0xE0 ? 2 : code >= 0xC0 ? 1 : 0;
        if (more > 0)
            code &= 0x3F >> more;
        for (; more > 0 && p < end; --more)
            code = (code << 6) | (*p++ & 0x3F);
        out[length++] = Windows1252Of(code);
    }
    return length;
}

std::size_t ToWindows1252InPlace(char* text, std::size_t length) {
    const std::string_view view(text, length);
    if (!HasHighBytes(view) || !IsValidUtf8(view))
        return length;
    return Utf8ToWindows1252(view, text);
}

char UpperWindows1252(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7))
        return static_cast<char>(byte - 0x20);
    switch (byte) {
    case 0x9A: // š
    case 0x9C: // œ
    case 0x9E: // ž
        return static_cast<char>(byte - 0x10);
    case 0xFF: // ÿ
        return static_cast<char>(0x9F);
    default:
        return c;
    }
}
