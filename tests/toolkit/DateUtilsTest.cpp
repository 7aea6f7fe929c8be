#include "DateUtils.h"
#include "SysUtils.h"

#include <QDate>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(DateLeapYear, GregorianRule) {
    struct Case {
        int year;
        bool leap;
        int february;
    };
    const Case cases[] = {{2000, true, 29}, {2024, true, 29},  {1900, false, 28}, {2023, false, 28},
                          {1600, true, 29}, {2100, false, 28}, {4, true, 29},     {1, false, 28}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsLeapYear(c.year), c.leap) << c.year;
        EXPECT_EQ(DaysInAMonth(c.year, 2), c.february) << c.year;
    }
    EXPECT_EQ(DaysInAMonth(2023, 0), 0);
    EXPECT_EQ(DaysInAMonth(2023, 13), 0);
}

TEST(DateEncode, InvalidDatesThrowConvertError) {
    struct Case {
        int y, m, d;
    };
    const Case cases[] = {{2023, 2, 29}, {2000, 2, 30}, {1900, 2, 29}, {2024, 4, 31},
                          {2024, 0, 1},  {2024, 13, 1}, {2024, 1, 0},  {2024, 1, 32},
                          {0, 1, 1},     {10000, 1, 1}, {-5, 3, 3},    {2024, -1, 1}};
    for (const Case& c : cases) {
        EXPECT_THROW(EncodeDate(c.y, c.m, c.d), EConvertError) << c.y << "-" << c.m << "-" << c.d;
        TDateTime untouched = 123.0;
        EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, untouched));
        EXPECT_EQ(untouched, 123.0);
    }
}

// Every day of the supported range agrees with Qt's proleptic Gregorian calendar, both ways.
TEST(DateEncode, AgreesWithQDateOverWholeRange) {
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
    }
}

TEST(DateDecode, TimePartAndNegativeValues) {
    struct Case {
        double value;
        int y, m, d;
    };
    const Case cases[] = {
        {36526.999, 2000, 1, 1}, {0.5, 1899, 12, 30},  {-0.5, 1899, 12, 30},
        {-1.25, 1899, 12, 29},   {-693593.9, 1, 1, 1}, {2958465.99, 9999, 12, 31},
    };
    for (const Case& c : cases) {
        int y = -1, m = -1, d = -1;
        DecodeDate(c.value, y, m, d);
        EXPECT_EQ(y, c.y) << c.value;
        EXPECT_EQ(m, c.m) << c.value;
        EXPECT_EQ(d, c.d) << c.value;
    }
    EXPECT_EQ(DayOfWeek(-1.5), 6); // 29 December 1899, a Friday
}

TEST(DateDecode, UnrepresentableValuesGiveZeros) {
    const double values[] = {-693594.0,
                             2958466.0,
                             1e300,
                             -1e300,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    for (double v : values) {
        int y = -1, m = -1, d = -1;
        DecodeDate(v, y, m, d);
        EXPECT_EQ(y, 0) << v;
        EXPECT_EQ(m, 0) << v;
        EXPECT_EQ(d, 0) << v;
        EXPECT_EQ(DayOfWeek(v), 0) << v;
    }
}

TEST(DateToday, MidnightOfTheCurrentDay) {
    const TDateTime today = Date();
    EXPECT_EQ(today, std::floor(today));
    int y = 0, m = 0, d = 0;
    DecodeDate(today, y, m, d);
    const QDate now = QDate::currentDate();
    // Tolerate the day changing between the two reads.
    EXPECT_TRUE(QDate(y, m, d) == now || QDate(y, m, d).addDays(1) == now);
}

TEST(DateShortDayNames, FollowTheLocaleStartingOnSunday) {
    const std::array<QString, 7> english = ShortDayNames(QLocale(QLocale::English));
    const std::array<QString, 7> expected = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    EXPECT_EQ(english, expected);

    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::array<QString, 7> german = ShortDayNames();
    QLocale::setDefault(saved);
    EXPECT_NE(german, english);
    EXPECT_TRUE(german[0].startsWith("So")) << german[0].toStdString();
    EXPECT_TRUE(german[1].startsWith("Mo")) << german[1].toStdString();
}

} // namespace
