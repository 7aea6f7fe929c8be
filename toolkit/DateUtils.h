// SPDX-License-Identifier: MIT
#pragma once
// Calendar date routines over TDateTime, a day count in a double.
//
// The integral part counts days since 30 December 1899 (day 0); the fractional part is the time
// of day. Dates before day 0 are negative and their fractional part is the time measured forward
// from midnight, so the day of a value is its integral part rounded toward zero. All dates use the
// Gregorian calendar extended backwards, for the years 1 to 9999.
#include <QLocale>
#include <QString>
#include <array>

using TDateTime = double;

// Today's date at midnight (local time).
TDateTime Date();

// Gregorian leap year rule: divisible by 4 and not by 100, or divisible by 400.
bool IsLeapYear(int year);

// Days in the given month (1..12) of the given year; 0 for a month outside 1..12.
int DaysInAMonth(int year, int month);

// The date of year/month/day. Throws EConvertError when the year is outside 1..9999, the month
// outside 1..12 or the day outside that month.
TDateTime EncodeDate(int year, int month, int day);

// Like EncodeDate, but answers false and leaves `result` alone instead of throwing.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);

// Splits the day of `date` into year, month and day. A value that is not finite or that lies
// outside 1 January 1 .. 31 December 9999 yields 0, 0, 0, which no valid date produces.
void DecodeDate(TDateTime date, int& year, int& month, int& day);

// Weekday of `date`: 1 = Sunday, 2 = Monday ... 7 = Saturday; 0 for a value that is not finite
// or outside the supported years.
int DayOfWeek(TDateTime date);

// The locale's short weekday names, index 0 = Sunday ... 6 = Saturday. The default argument is
// the application's default locale (the system locale unless QLocale::setDefault changed it).
std::array<QString, 7> ShortDayNames(const QLocale& locale = QLocale());
