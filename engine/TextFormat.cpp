// SPDX-License-Identifier: MIT
#include "TextFormat.h"

#include "Decimal.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

struct Spec {
    bool leftAlign = false;
    bool zeroPad = false;
    int width = 0;
    int precision = -1; // -1: none given
    char conversion = 0;
};

// Reads "%[-0][width][.precision]conv" starting after the '%'. Returns the position after the
// conversion character, or nullptr when the text is no conversion.
const char* ParseSpec(const char* p, Spec& spec) {
    for (;; ++p) {
        if (*p == '-')
            spec.leftAlign = true;
        else if (*p == '0')
            spec.zeroPad = true;
        else
            break;
    }
    while (*p >= '0' && *p <= '9' && spec.width < 10000)
        spec.width = spec.width * 10 + (*p++ - '0');
    if (*p == '.') {
        ++p;
        spec.precision = 0;
        while (*p >= '0' && *p <= '9' && spec.precision < 10000)
            spec.precision = spec.precision * 10 + (*p++ - '0');
    }
    if (*p != 'd' && *p != 's' && *p != 'c' && *p != 'f')
        return nullptr;
    spec.conversion = *p;
    return p + 1;
}

// Appends body padded to the width: blanks on the left (or right when left-aligned), or zeros
// after the sign when zero padding applies.
void AppendPadded(std::string& out, std::string_view body, const Spec& spec, bool zeroPadAllowed) {
    const std::size_t width = static_cast<std::size_t>(spec.width);
    if (body.size() >= width) {
        out.append(body);
    } else if (spec.leftAlign) {
        out.append(body);
        out.append(width - body.size(), ' ');
    } else if (spec.zeroPad && zeroPadAllowed) {
        std::size_t sign = (!body.empty() && (body[0] == '-' || body[0] == '+')) ? 1 : 0;
        out.append(body.substr(0, sign));
        out.append(width - body.size(), '0');
        out.append(body.substr(sign));
    } else {
        out.append(width - body.size(), ' ');
        out.append(body);
    }
}

void AppendInteger(std::string& out, long long value, const Spec& spec) {
    char digits[32];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    (void)ec;
    std::string_view body(digits, static_cast<std::size_t>(end - digits));
    if (spec.precision >= 0) {
        // A precision gives the minimum number of digits, and turns zero padding off.
        std::string padded;
        std::string_view sign = body.substr(0, body[0] == '-' ? 1 : 0);
        std::string_view magnitude = body.substr(sign.size());
        padded.append(sign);
        if (magnitude.size() < static_cast<std::size_t>(spec.precision))
            padded.append(static_cast<std::size_t>(spec.precision) - magnitude.size(), '0');
        if (!(spec.precision == 0 && value == 0))
            padded.append(magnitude);
        AppendPadded(out, padded, spec, false);
        return;
    }
    AppendPadded(out, body, spec, true);
}

void AppendReal(std::string& out, double value, const Spec& spec) {
    if (!std::isfinite(value)) {
        const char* text = std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan")
                                             : (value < 0 ? "-inf" : "inf");
        AppendPadded(out, text, spec, false);
        return;
    }
    // Digits beyond the 80th after the point are written as zeros.
    const int precision = spec.precision < 0 ? 6 : spec.precision;
    std::string body;
    AppendFixed(body, value, precision < 80 ? precision : 80);
    if (precision > 80)
        body.append(static_cast<std::size_t>(precision - 80), '0');
    AppendPadded(out, body, spec, true);
}

void AppendText(std::string& out, const char* text, const Spec& spec) {
    std::size_t length = spec.precision >= 0
                             ? strnlen(text, static_cast<std::size_t>(spec.precision))
                             : strlen(text);
    AppendPadded(out, std::string_view(text, length), spec, false);
}

} // namespace

void AppendFormatted(std::string& out, const char* format, std::initializer_list<FormatArg> args) {
    const FormatArg* arg = args.begin();
    const char* p = format;
    while (*p) {
        const char* percent = std::strchr(p, '%');
        if (!percent) {
            out.append(p);
            break;
        }
        out.append(p, static_cast<std::size_t>(percent - p));
        if (percent[1] == '%') {
            out.push_back('%');
            p = percent + 2;
            continue;
        }
        Spec spec;
        const char* next = ParseSpec(percent + 1, spec);
        if (!next || arg == args.end()) {
            out.push_back('%');
            p = percent + 1;
            continue;
        }
        const FormatArg& a = *arg++;
        using Kind = FormatArg::Kind;
        const bool numeric = a.kind() == Kind::Integer || a.kind() == Kind::Character;
        const bool fits = spec.conversion == 's'   ? a.kind() == Kind::Text
                          : spec.conversion == 'f' ? a.kind() == Kind::Real
                                                   : numeric;
        if (!fits) {
            out.append(percent, static_cast<std::size_t>(next - percent));
        } else if (spec.conversion == 'd') {
            AppendInteger(out, a.integer(), spec);
        } else if (spec.conversion == 's') {
            AppendText(out, a.text(), spec);
        } else if (spec.conversion == 'c') {
            const char c = static_cast<char>(a.integer());
            AppendPadded(out, std::string_view(&c, 1), spec, false);
        } else {
            AppendReal(out, a.real(), spec);
        }
        p = next;
    }
}

namespace {
// Skips leading white space and one sign, as scanf does before a number.
const char* SkipToDigits(const char* p, bool& negative) {
    while (IsWhiteSpace(*p))
        ++p;
    negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    return p;
}
} // namespace

bool ScanInt(const char* text, std::int32_t& value) {
    bool negative = false;
    const char* p = SkipToDigits(text, negative);
    if (*p < '0' || *p > '9')
        return false;
    // The magnitude may reach 2^31, so that the most negative value fits.
    long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > 2147483648LL)
            return false;
    }
    long long result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(result);
    return true;
}

bool ScanFloat(const char* text, float& value) {
    bool negative = false;
    const char* p = SkipToDigits(text, negative);
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const char* mantissa = p;
    while (isDigit(*p))
        ++p;
    bool anyDigit = p != mantissa;
    if (*p == '.') {
        const char* fraction = ++p;
        while (isDigit(*p))
            ++p;
        anyDigit |= p != fraction;
    }
    if (!anyDigit)
        return false;
    const std::string_view digits(mantissa, static_cast<std::size_t>(p - mantissa));

    // An exponent counts only when digits follow its letter and sign.
    long exponent = 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        const bool negativeExponent = *q == '-';
        if (*q == '+' || *q == '-')
            ++q;
        if (isDigit(*q)) {
            for (; isDigit(*q); ++q)
                if (exponent < 100000) // far beyond any float; keeps the sum small
                    exponent = exponent * 10 + (*q - '0');
            if (negativeExponent)
                exponent = -exponent;
        }
    }
    value = NearestFloat(digits, exponent, negative);
    return true;
}
