// SPDX-License-Identifier: MIT
#include "DateUtils.h"

#include "SysUtils.h"

#include <QDate>
#include <cmath>

namespace {

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;

// Days from 1 January 1 (day 0) to 30 December 1899.
constexpr long long kEpochFromYearOne = 693593;

// Day number counted from 1 January 1 (= 0) of a valid year/month/day.
long long DaysFromYearOne(int year, int month, int day) {
    // Count years from 1 March so that the leap day falls at the end of a counted year.
    const long long y = month <= 2 ? year - 1 : year;
    const long long m = month <= 2 ? month + 9 : month - 3; // March = 0 ... February = 11
    const long long doy = (153 * m + 2) / 5 + day - 1;      // day of that March-based year
    const long long doe = y * 365 + y / 4 - y / 100 + y / 400 + doy;
    return doe - 306; // 1 March of year 0 is 306 days before 1 January 1
}

// The day number (days since 30 December 1899) of `date`, or false when the value is not finite
// or lies outside the supported years.
bool DayNumber(TDateTime date, long long& days) {
    if (!std::isfinite(date))
        return false;
    const double whole = std::trunc(date);
    const double first = -static_cast<double>(kEpochFromYearOne);
    const double last = static_cast<double>(DaysFromYearOne(kMaxYear, 12, 31) - kEpochFromYearOne);
    if (whole < first || whole > last)
        return false;
    days = static_cast<long long>(whole);
    return true;
}

} // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
    if (year < kMinYear || year > kMaxYear || month < 1 || month > 12 || day < 1 ||
        day > DaysInAMonth(year, month))
        return false;
    result = static_cast<double>(DaysFromYearOne(year, month, day) - kEpochFromYearOne);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime result = 0;
    if (!TryEncodeDate(year, month, day, result))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return result;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
    long long days = 0;
    if (!DayNumber(date, days)) {
        year = month = day = 0;
        return;
    }
    // Inverse of DaysFromYearOne, on years that start on 1 March.
    const long long z = days + kEpochFromYearOne + 306;
    const long long era = z / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(era * 400 + yoe + (month <= 2 ? 1 : 0));
}

int DayOfWeek(TDateTime date) {
    long long days = 0;
    if (!DayNumber(date, days))
        return 0;
    // Day 0, 30 December 1899, was a Saturday. Shift so that the remainder is never negative.
    return static_cast<int>((days % 7 + 7 + 6) % 7) + 1;
}

TDateTime Date() {
    const QDate today = QDate::currentDate();
    return EncodeDate(today.year(), today.month(), today.day());
}

std::array<QString, 7> ShortDayNames(const QLocale& locale) {
    std::array<QString, 7> names;
    // QLocale numbers the days 1 = Monday ... 7 = Sunday.
    names[0] = locale.dayName(7, QLocale::ShortFormat);
    for (int i = 1; i < 7; ++i)
        names[i] = locale.dayName(i, QLocale::ShortFormat);
    return names;
}
