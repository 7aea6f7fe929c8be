// SPDX-License-Identifier: MIT
#include "Ccalendr.h"
#include "Pixels.h"
#include "SysUtils.h"

#include <QDate>
#include <QLocale>
#include <array>
#include <cmath>
#include <limits>

namespace {

using Ymd = std::array<int, 3>; // year, month, day

class Calendar : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        cal.OnChange = [this](QObject* sender) { changes += sender == &cal; };
        cal.SetBounds(0, 0, 304, 204); // client area 300 x 200 inside the 2-pixel border
    }
    void TearDown() override { QLocale::setDefault(saved_); }

    // Sets the date and forgets the OnChange that this fires.
    void At(const Ymd& date) {
        cal.SeTCCalendarDate(EncodeDate(date[0], date[1], date[2]));
        changes = 0;
    }
    Ymd Shown() const { return {cal.Year(), cal.Month(), cal.Day()}; }
    QPoint Current() const { return {cal.Col(), cal.Row()}; }
    QString CurrentText() const { return cal.GetCellText(cal.Col(), cal.Row()); }
    // The cell showing `text`, or (-1, -1).
    QPoint CellOf(const QString& text) const {
        for (int row = 1; row < 7; ++row)
            for (int col = 0; col < 7; ++col)
                if (cal.GetCellText(col, row) == text)
                    return {col, row};
        return {-1, -1};
    }
    QPoint Centre(QPoint cell) const {
        const TRect r = cal.CellRect(cell.x(), cell.y());
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }

    TCCalendar cal;
    int changes = 0;

private:
    QLocale saved_;
};

// A new calendar follows today; setting the date or stepping a month keeps that, a date part
// set by code or by a click ends it, and switching it back on shows today without OnChange.
TEST_F(Calendar, FollowsTodayUntilADatePartIsSet) {
    Ymd today;
    DecodeDate(Date(), today[0], today[1], today[2]);
    EXPECT_EQ(Shown(), today);
    cal.SeTCCalendarDate(EncodeDate(2001, 5, 5));
    cal.NextMonth();
    cal.PrevMonth();
    EXPECT_TRUE(cal.UseCurrentDate());
    cal.SetDay(6);
    EXPECT_FALSE(cal.UseCurrentDate());
    EXPECT_EQ(changes, 4);
    cal.SetUseCurrentDate(true);
    EXPECT_EQ(Shown(), today);
    EXPECT_EQ(CurrentText(), QString::number(today[2]));
    EXPECT_EQ(changes, 4);
}

// Where the month starts under each first weekday, and the first day's name over the first
// column. One outside the week stores Monday and lays the month out again at once; neither
// fires OnChange.
TEST_F(Calendar, MonthLayoutFollowsTheFirstWeekday) {
    // first weekday, date, month offset, cell of day 1, selected cell, first column's name;
    // January 2024 starts on a Monday, September on a Sunday
    const std::tuple<int, Ymd, int, QPoint, QPoint, const char*> cases[] = {
        {1, {2024, 1, 17}, 1, {0, 1}, {2, 3}, "Mon"}, {1, {2024, 9, 30}, -5, {6, 1}, {0, 6}, "Mon"},
        {7, {2024, 9, 1}, 1, {0, 1}, {0, 1}, "Sun"},  {0, {2024, 9, 1}, -5, {6, 1}, {6, 1}, "Mon"},
        {7, {2024, 1, 31}, 0, {1, 1}, {3, 5}, "Sun"}, {8, {2024, 1, 31}, 1, {0, 1}, {2, 5}, "Mon"},
        {3, {2024, 1, 1}, -4, {5, 1}, {5, 1}, "Wed"}};
    for (const auto& [startOfWeek, date, offset, firstDay, selected, name] : cases) {
        SCOPED_TRACE(testing::Message() << startOfWeek << " " << testing::PrintToString(date));
        At(date);
        cal.SetStartOfWeek(startOfWeek);
        EXPECT_EQ(cal.MonthOffset(), offset);
        EXPECT_EQ(CellOf("1"), firstDay);
        EXPECT_EQ(Current(), selected);
        EXPECT_EQ(cal.GetCellText(0, 0), name);
        EXPECT_EQ(changes, 0);
    }
}

// A month step keeps the day where the new month has it, else takes the month's last day by the
// calendar's own month lengths and leap-year rule (1900 common, 2000 and 2024 leap years).
TEST_F(Calendar, MonthAndYearStepping) {
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(cal.DaysPerMonth(2023, month), QDate(2023, month, 1).daysInMonth()) << month;
    const std::tuple<Ymd, void (TCCalendar::*)(), Ymd, int> cases[] = {
        {{2001, 1, 31}, &TCCalendar::NextMonth, {2001, 2, 28}, 1},
        {{1900, 1, 31}, &TCCalendar::NextMonth, {1900, 2, 28}, 1},
        {{2024, 1, 30}, &TCCalendar::NextMonth, {2024, 2, 29}, 1},
        {{2000, 3, 31}, &TCCalendar::PrevMonth, {2000, 2, 29}, 1},
        {{1999, 12, 15}, &TCCalendar::NextMonth, {2000, 1, 15}, 1},
        {{2000, 2, 29}, &TCCalendar::NextYear, {2001, 2, 28}, 2},
        {{2000, 2, 29}, &TCCalendar::PrevYear, {1999, 2, 28}, 2},
        {{2024, 2, 28}, &TCCalendar::PrevYear, {2023, 2, 28}, 1}};
    for (const auto& [from, step, to, fired] : cases) {
        SCOPED_TRACE(testing::PrintToString(from));
        At(from);
        (cal.*step)();
        EXPECT_EQ(Shown(), to);
        EXPECT_EQ(changes, fired);
        EXPECT_EQ(CurrentText(), QString::number(to[2]));
        EXPECT_EQ(CellOf(QString::number(to[2] + 1)) == QPoint(-1, -1), to[1] == 2);
    }
}

// Day 0, month 13, year 0, day 31 of April, an unchanged month and a part index beyond the
// three refuse silently; a real month or year that leaves no such day throws.
TEST_F(Calendar, DatePartsRefuseSilentlyOrThrowChangingNothing) {
    const std::tuple<Ymd, int, int, bool> cases[] = {
        {{2024, 4, 30}, 3, 0, false},  {{2024, 4, 30}, 2, 13, false}, {{2024, 4, 30}, 1, 0, false},
        {{2024, 4, 30}, 3, 31, false}, {{2024, 4, 30}, 2, 4, false},  {{2024, 4, 30}, 4, 5, false},
        {{2024, 3, 31}, 2, 4, true},   {{2000, 2, 29}, 1, 2001, true}};
    for (const auto& [from, index, value, throws] : cases) {
        SCOPED_TRACE(testing::Message()
                     << testing::PrintToString(from) << " part " << index << " = " << value);
        cal.SetUseCurrentDate(true);
        At(from);
        const QPoint cell = Current();
        if (throws)
            EXPECT_THROW(cal.SetDateElement(index, value), EConvertError);
        else
            cal.SetDateElement(index, value);
        EXPECT_EQ(Shown(), from);
        EXPECT_EQ(Current(), cell);
        EXPECT_TRUE(cal.UseCurrentDate());
        EXPECT_EQ(changes, 0);
    }
    EXPECT_EQ(cal.GetDateElement(0), -1);
    cal.SetMonth(5);
    EXPECT_EQ(Shown(), (Ymd{2000, 5, 29}));
    cal.SetDay(31); // the month's last day is a day of it
    EXPECT_EQ(Shown(), (Ymd{2000, 5, 31}));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(CurrentText(), "31");
}

TEST_F(Calendar, ResizeSharesTheClientArea) {
    const auto cell = [this] { return QSize(cal.DefaultColWidth(), cal.DefaultRowHeight()); };
    EXPECT_EQ(cell(), QSize(42, 27));
    cal.SetGridLineWidth(2);
    cal.SetBounds(0, 0, 300, 200); // now a client area of 296 x 196
    EXPECT_EQ(cell(), QSize(40, 26));
    cal.SetBorderStyle(bsNone);
    EXPECT_EQ(cell(), QSize(41, 26));
    cal.SetBounds(0, 0, 5, 5); // too small for the lines: no negative sizes
    EXPECT_EQ(cell(), QSize(0, 0));
}

// Clicks and keys move the day through SelectCell: blank cells, the header and ReadOnly
// refuse; the code may still change the date of a read-only calendar.
TEST_F(Calendar, ClicksAndKeysSelectDaysUnlessRefused) {
    for (bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "writable");
        cal.SetReadOnly(readOnly);
        cal.SetUseCurrentDate(true);
        At({2024, 1, 10}); // days 1..31 in cells 0..30; cells 31..41 are blank
        QTest::mouseClick(&cal, Qt::LeftButton, {}, Centre({5, 6})); // blank
        QTest::mouseClick(&cal, Qt::LeftButton, {}, Centre({3, 0})); // header
        EXPECT_EQ(changes, 0);
        int clicks = 0;
        cal.OnClick = [&](QObject*) { clicks += cal.Day() == 17; }; // the date already follows
        QTest::mouseClick(&cal, Qt::LeftButton, {}, Centre(CellOf("17")));
        cal.OnClick = nullptr;
        EXPECT_EQ(Shown(), (Ymd{2024, 1, readOnly ? 10 : 17}));
        EXPECT_EQ(changes, readOnly ? 0 : 1);
        EXPECT_EQ(clicks, readOnly ? 0 : 1);
        EXPECT_EQ(cal.UseCurrentDate(), readOnly);
        QTest::keyClick(&cal, Qt::Key_Right);
        EXPECT_EQ(CurrentText(), readOnly ? "10" : "18");
    }
    cal.SetReadOnly(false);
    At({2024, 1, 17});
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_End})
        QTest::keyClick(&cal, key);
    EXPECT_EQ(Shown(), (Ymd{2024, 1, 28}));
    EXPECT_EQ(CurrentText(), "28");
    EXPECT_EQ(changes, 4);
}

// A date outside the supported years shows a blank month that takes no day; stepping from it
// throws and painting it draws no day.
TEST_F(Calendar, DateOutsideTheYearsShowsABlankMonth) {
    for (double bad : {-1e6, 3e6, std::numeric_limits<double>::quiet_NaN()}) {
        cal.SeTCCalendarDate(bad);
        cal.SetDay(5);
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(CellOf("1"), QPoint(-1, -1));
        EXPECT_THROW(cal.NextMonth(), EConvertError);
        cal.Paint();
        changes = 0;
    }
}

TEST_F(Calendar, DayNumbersAreCentredAndTheSelectionHighlighted) {
    At({2024, 1, 10});
    const QImage shot = pixels::Shot(cal);
    const TRect r = cal.CellRect(CellOf("17").x(), CellOf("17").y());
    const TRect ink = pixels::Ink(shot, pixels::At(shot, r.Left + 1, r.Top + 1), r);
    ASSERT_GT(ink.Width(), 0); // something was drawn
    EXPECT_LE(std::abs((ink.Left - r.Left) - (r.Right - ink.Right)), 3);
    EXPECT_LE(std::abs((ink.Top - r.Top) - (r.Bottom - ink.Bottom)), 6);
    const TRect sel = cal.CellRect(cal.Col(), cal.Row()); // highlighted even without the focus
    EXPECT_EQ(pixels::At(shot, sel.Left + 1, sel.Top + 1), ColorToRGB(clHighlight));
}

} // namespace
