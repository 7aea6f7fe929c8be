// SPDX-License-Identifier: MIT
#include "SysUtils.h"

#include <QLocale>

QString StringReplace(const QString& text, const QString& oldPattern, const QString& newPattern,
                      TReplaceFlags flags) {
    if (oldPattern.isEmpty())
        return text;
    const Qt::CaseSensitivity cs =
        flags.Contains(rfIgnoreCase) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    QString result;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(oldPattern, from, cs);
        if (at < 0)
            break;
        result += QStringView(text).mid(from, at - from);
        result += newPattern;
        from = at + oldPattern.size();
        if (!flags.Contains(rfReplaceAll))
            break;
    }
    result += QStringView(text).mid(from);
    return result;
}

int StrToInt(const QString& text) {
    const auto fail = [&text]() -> int {
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    };
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    unsigned base = 10;
    if (i < n && text.at(i) == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text.at(i) == QLatin1Char('0') &&
               (text.at(i + 1) == QLatin1Char('x') || text.at(i + 1) == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return fail();
    // Accumulate the magnitude in 64 bits; the limit keeps it far from overflowing.
    const unsigned long long limit = negative ? 2147483648ull : 2147483647ull;
    unsigned long long magnitude = 0;
    for (; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        unsigned digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return fail();
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return fail();
    }
    if (negative)
        return magnitude == 2147483648ull ? int(-2147483647 - 1) : -int(magnitude);
    return int(magnitude);
}

QString IntToStr(int value) {
    return QString::number(value);
}

char DecimalSeparator() {
    const QString sep = QLocale().decimalPoint();
    if (sep.size() == 1 && sep.at(0).unicode() < 256)
        return char(sep.at(0).unicode());
    return '.';
}
