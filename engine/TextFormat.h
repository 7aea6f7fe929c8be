// SPDX-License-Identifier: MIT
#pragma once
// printf-style formatting and scanf-style number scanning that do not depend on the process's
// locale (a German desktop must still write "Magvar 10.0"), check their argument types at
// compile time, and never run past a buffer.
#include <cstdint>
#include <initializer_list>
#include <string>

// One argument of FormatText: an integer, a text, a single character or a real number.
class FormatArg {
public:
    enum class Kind { Integer, Text, Character, Real };

    FormatArg(int v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(long v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(long long v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(const char* v) : kind_(Kind::Text), text_(v ? v : "(null)") {}
    FormatArg(const std::string& v) : kind_(Kind::Text), text_(v.c_str()) {}
    FormatArg(char v) : kind_(Kind::Character), integer_(static_cast<unsigned char>(v)) {}
    FormatArg(double v) : kind_(Kind::Real), real_(v) {}

    Kind kind() const { return kind_; }
    long long integer() const { return integer_; }
    const char* text() const { return text_; }
    double real() const { return real_; }

private:
    Kind kind_;
    long long integer_ = 0;
    const char* text_ = "";
    double real_ = 0.0;
};

// Appends format to out, with the conversions %d, %s, %c, %f and %% in printf's meaning, each
// with the flags '-' and '0', a width and a precision. A conversion whose argument is missing or
// of another kind is written as it stands in the format.
void AppendFormatted(std::string& out, const char* format, std::initializer_list<FormatArg> args);

// Replaces out with the formatted text.
template <class... Args>
void FormatText(std::string& out, const char* format, const Args&... args) {
    out.clear();
    AppendFormatted(out, format, {FormatArg(args)...});
}

// sscanf(text, "%d", &value) == 1, except that a number outside the 32-bit range is no number.
bool ScanInt(const char* text, std::int32_t& value);

// sscanf(text, "%f", &value) == 1 as a classic C runtime scans it: leading white space, an
// optional sign, decimal digits with an optional point, and an optional exponent; nothing else
// (no hexadecimal numbers, no "inf" or "nan"). A number too large for a float gives infinity.
bool ScanFloat(const char* text, float& value);

// The six characters that count as white space: blank, tab, line feed, vertical tab, form feed
// and carriage return. Safe for every byte value.
constexpr bool IsWhiteSpace(char c) {
    // Tab, line feed, vertical tab, form feed and carriage return are the codes 9 to 13.
    return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t';
}
