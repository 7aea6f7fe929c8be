// SPDX-License-Identifier: MIT
#pragma once
// The two encodings turnpoint files come in: UTF-8, and Windows-1252, the code page of the
// Windows tools that made the older files and of the SN10's own files.
#include <cstddef>
#include <string_view>

// True when text holds a byte above 127, that is, anything beyond ASCII.
bool HasHighBytes(std::string_view text);

// True when text is well-formed UTF-8 (no overlong forms, no surrogates, nothing beyond
// U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Writes well-formed UTF-8 text in Windows-1252 to out, which may be text's own first byte
// (the result is never longer), and returns its length. A character that Windows-1252 lacks
// becomes '?'.
std::size_t Utf8ToWindows1252(std::string_view text, char* out);

// Converts a text in place when it is UTF-8 beyond ASCII, and returns its new length; a text of
// ASCII or of other bytes (Windows-1252, Latin-1) is left as it is.
std::size_t ToWindows1252InPlace(char* text, std::size_t length);

// The capital of a Windows-1252 letter, for comparisons without regard to letter case; any
// other byte comes back as it is.
char UpperWindows1252(char c);
