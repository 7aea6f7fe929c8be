#include "TextFormat.h"

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
    const int precision = spec.precision < 0 ? 6 : spec.precision;
    if (!std::isfinite(value)) {
        const char* text = std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan")
                                             : (value < 0 ? "-inf" : "inf");
        AppendPadded(out, text, spec, false);
        return;
    }
    // Fixed notation of a double needs at most 309 digits before the point.
    char digits[400];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed,
                                   precision < 80 ? precision : 80);
    if (ec != std::errc())
        end = digits;
    std::string body(digits, end);
    if (precision >= 80)
        body.append(static_cast<std::size_t>(precision - 80), '0');
    AppendPadded(out, body, spec, true);
}

void AppendText(std::string& out, const char* text, const Spec& spec) {
    std::size_t length = spec.precision >= 0
                             ? strnlen(text, static_cast<std::size_t>(spec.precision))
                             : strlen(text);
    AppendPadded(out, std::string_view(text, length), spec, false);
}

// Whether a number that a float cannot hold is too large (rather than too small) in magnitude.
bool ScansAsLarge(const char* first, const char* last, std::chars_format format) {
    long double wide = 0.0L;
    if (std::from_chars(first, last, wide, format).ec == std::errc())
        return std::fabs(wide) >= 1.0L;
    // Beyond even long double: the sign of the exponent decides, else where the digits start.
    const char exponent = format == std::chars_format::hex ? 'p' : 'e';
    for (const char* q = first; q < last; ++q)
        if (*q == exponent || *q == exponent - 32)
            return q + 1 < last && q[1] != '-';
    for (const char* q = first; q < last && *q != '.'; ++q)
        if (*q != '0')
            return true;
    return false;
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
    if (*p == '+' || *p == '-')
        return false;
    const char* end = p + std::strlen(p);
    std::chars_format format = std::chars_format::general;
    float result = 0.0f;
    // "0x" starts a hexadecimal number only when a hexadecimal digit or point follows.
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
        std::from_chars(p + 2, end, result, std::chars_format::hex).ec !=
            std::errc::invalid_argument) {
        format = std::chars_format::hex;
        p += 2;
    }
    std::from_chars_result r = std::from_chars(p, end, result, format);
    if (r.ec == std::errc::invalid_argument)
        return false;
    if (r.ec == std::errc::result_out_of_range) {
        // strtof gives infinity for a value too large for a float, and a zero for one too small;
        // either way one number was scanned.
        result = ScansAsLarge(p, r.ptr, format) ? std::numeric_limits<float>::infinity() : 0.0f;
    }
    value = negative ? -result : result;
    return true;
}
