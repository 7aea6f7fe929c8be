// SPDX-License-Identifier: MIT
#include "DateUtils.h"
#include "SysUtils.h"

#include <QDate>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(DateEncode, InvalidDatesAreRefused) {
    const int invalid[][3] = {{2023, 2, 29}, {1900, 2, 29}, {2024, 4, 31}, {2024, 0, 1},
                              {2024, 13, 1}, {2024, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
    for (const auto& d : invalid) {
        EXPECT_THROW(EncodeDate(d[0], d[1], d[2]), EConvertError) << d[0] << "-" << d[1];
        TDateTime untouched = 123.0;
        EXPECT_FALSE(TryEncodeDate(d[0], d[1], d[2], untouched));
        EXPECT_EQ(untouched, 123.0);
    }
}

// Every day of the supported range agrees with Qt's proleptic Gregorian calendar, both ways,
// and so do leap years and month lengths.
TEST(DateEncode, AgreesWithQDateOverWholeRange) {
    EXPECT_EQ(DaysInAMonth(2023, 13), 0);
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    const qint64 epoch = QDate(1899, 12, 30).toJulianDay();
    for (QDate d(1, 1, 1); d <= QDate(9999, 12, 31); d = d.addDays(1)) {
        const double expected = static_cast<double>(d.toJulianDay() - epoch);
        const TDateTime value = EncodeDate(d.year(), d.month(), d.day());
        ASSERT_EQ(value, expected) << d.toString(Qt::ISODate).toStdString();
        int y = 0, m = 0, day = 0;
        // A time of day lies away from zero: after the day for dates from 1899 on, before it
        // for earlier dates.
        DecodeDate(value >= 0 ? value + 0.75 : value - 0.75, y, m, day);
        ASSERT_EQ(QDate(y, m, day), d) << value;
        ASSERT_EQ(DayOfWeek(value), d.dayOfWeek() % 7 + 1) << value;
        ASSERT_TRUE(IsLeapYear(y) == QDate::isLeapYear(y) && DaysInAMonth(y, m) == d.daysInMonth())
            << value;
    }
}

TEST(DateDecode, TimePartNegativeAndUnrepresentableValues) {
    struct Case {
        double value;
        int y, m, d, weekday;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {36526.999, 2000, 1, 1, 7}, {-0.5, 1899, 12, 30, 7},       {-1.5, 1899, 12, 29, 6},
        {-693593.9, 1, 1, 1, 2},    {2958465.99, 9999, 12, 31, 6}, {-693594.0, 0, 0, 0, 0},
        {2958466.0, 0, 0, 0, 0},    {1e300, 0, 0, 0, 0},           {nan, 0, 0, 0, 0},
        {-inf, 0, 0, 0, 0}};
    for (const Case& c : cases) {
        int y = -1, m = -1, d = -1;
        DecodeDate(c.value, y, m, d);
        EXPECT_EQ((std::array{y, m, d}), (std::array{c.y, c.m, c.d})) << c.value;
        EXPECT_EQ(DayOfWeek(c.value), c.weekday) << c.value;
    }
}

TEST(DateToday, MidnightOfTheCurrentDayAndLocaleDayNamesFromSunday) {
    const TDateTime today = Date();
    EXPECT_EQ(today, std::floor(today));
    int y = 0, m = 0, d = 0;
    DecodeDate(today, y, m, d);
    const QDate now = QDate::currentDate(); // the day may change between the two reads
    EXPECT_TRUE(QDate(y, m, d) == now || QDate(y, m, d).addDays(1) == now);

    const std::array<QString, 7> english = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    EXPECT_EQ(ShortDayNames(QLocale(QLocale::English)), english);
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::array<QString, 7> german = ShortDayNames();
    QLocale::setDefault(saved);
    EXPECT_TRUE(german[0].startsWith("So") && german[1].startsWith("Mo"))
        << german[0].toStdString() << " " << german[1].toStdString();
}

} // namespace
