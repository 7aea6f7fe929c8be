#include "Ccalendr.h"
#include "Pixels.h"
#include "SysUtils.h"

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
        cal.OnChange = [this](QObject* sender) {
            EXPECT_EQ(sender, &cal);
            ++changes;
        };
        cal.SetBounds(0, 0, 304, 204); // client area 300 x 200 inside the 2-pixel border
    }
    void TearDown() override { QLocale::setDefault(saved_); }

    // Sets the date and forgets the OnChange that this fires.
    void At(int y, int m, int d) {
        cal.SeTCCalendarDate(EncodeDate(y, m, d));
        changes = 0;
    }
    void At(const Ymd& date) { At(date[0], date[1], date[2]); }
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
    QString Header() const {
        QString names;
        for (int col = 0; col < 7; ++col)
            names += cal.GetCellText(col, 0);
        return names;
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

TEST_F(Calendar, FollowsTodayUntilADatePartIsSet) {
    Ymd today;
    DecodeDate(Date(), today[0], today[1], today[2]);
    TCCalendar fresh;
    EXPECT_EQ((Ymd{fresh.Year(), fresh.Month(), fresh.Day()}), today);
    cal.SeTCCalendarDate(EncodeDate(2001, 5, 5));
    cal.NextMonth(); // neither setting the date directly nor a month step switches it off
    cal.PrevMonth();
    EXPECT_TRUE(cal.UseCurrentDate());
    cal.SetDay(6);
    EXPECT_FALSE(cal.UseCurrentDate());
    EXPECT_EQ(changes, 4);
    cal.SetUseCurrentDate(true);
    EXPECT_EQ(cal.CalendarDate(), Date());
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(CurrentText(), QString::number(today[2]));
}

// Where the month starts under each first weekday. One outside the week stores Monday and lays
// the month out again at once; neither fires OnChange.
TEST_F(Calendar, MonthLayoutFollowsTheFirstWeekday) {
    struct Case {
        int startOfWeek;
        Ymd date;
        int offset;
        QPoint firstDay, selected;
        const char* header;
    };
    const Case cases[] = {
        {1, {2024, 1, 17}, 1, {0, 1}, {2, 3}, "MonTueWedThuFriSatSun"},  // January 2024: Monday
        {1, {2024, 9, 30}, -5, {6, 1}, {0, 6}, "MonTueWedThuFriSatSun"}, // September: Sunday
        {7, {2024, 9, 1}, 1, {0, 1}, {0, 1}, "SunMonTueWedThuFriSat"},
        {0, {2024, 9, 1}, -5, {6, 1}, {6, 1}, "MonTueWedThuFriSatSun"},
        {7, {2024, 1, 31}, 0, {1, 1}, {3, 5}, "SunMonTueWedThuFriSat"},
        {8, {2024, 1, 31}, 1, {0, 1}, {2, 5}, "MonTueWedThuFriSatSun"},
        {3, {2024, 1, 1}, -4, {5, 1}, {5, 1}, "WedThuFriSatSunMonTue"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.startOfWeek << " " << testing::PrintToString(c.date));
        At(c.date);
        cal.SetStartOfWeek(c.startOfWeek);
        EXPECT_EQ(cal.MonthOffset(), c.offset);
        EXPECT_EQ(CellOf("1"), c.firstDay);
        EXPECT_EQ(Current(), c.selected);
        EXPECT_EQ(Header(), c.header);
        EXPECT_EQ(changes, 0);
    }
}

TEST_F(Calendar, MonthAndYearStepping) {
    const std::tuple<Ymd, void (TCCalendar::*)(), Ymd, int> cases[] = {
        {{2001, 1, 31}, &TCCalendar::NextMonth, {2001, 2, 28}, 1},
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
    }
}

TEST_F(Calendar, FebruaryHas29DaysInLeapYearsOnly) {
    for (const auto& [year, days] : {std::pair{1900, 28}, {2000, 29}, {2023, 28}, {2024, 29}}) {
        At(year, 2, 10);
        EXPECT_EQ(cal.IsLeapYear(year), days == 29) << year;
        EXPECT_EQ(cal.DaysThisMonth(), days) << year;
        EXPECT_EQ(CellOf("29") != QPoint(-1, -1), days == 29) << year;
        EXPECT_EQ(CellOf("30"), QPoint(-1, -1)) << year;
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
        const int offset = cal.MonthOffset();
        if (throws)
            EXPECT_THROW(cal.SetDateElement(index, value), EConvertError);
        else
            cal.SetDateElement(index, value);
        EXPECT_EQ(Shown(), from);
        EXPECT_EQ(Current(), cell);
        EXPECT_EQ(cal.MonthOffset(), offset);
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
        At(2024, 1, 10); // days 1..31 in cells 0..30; cells 31..41 are blank
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
    At(2024, 1, 17);
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_End})
        QTest::keyClick(&cal, key);
    EXPECT_EQ(Shown(), (Ymd{2024, 1, 28}));
    EXPECT_EQ(CurrentText(), "28");
    EXPECT_EQ(changes, 4);
}

TEST_F(Calendar, DateOutsideTheYearsShowsABlankMonth) {
    At(2024, 1, 10);
    const QPoint start = Current();
    for (double bad : {-1e6, 3e6, std::numeric_limits<double>::quiet_NaN()}) {
        changes = 0;
        cal.SeTCCalendarDate(bad);
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(cal.DaysThisMonth(), 0);
        EXPECT_EQ(CellOf("1"), QPoint(-1, -1));
        EXPECT_EQ(cal.GetCellText(0, 0), "Mon");
        EXPECT_EQ(Current(), start);
        cal.SetDay(5); // beyond the (empty) month: ignored
        EXPECT_EQ(changes, 1);
        EXPECT_THROW(cal.NextMonth(), EConvertError);
        cal.Paint();
    }
}

TEST_F(Calendar, DayNumbersAreCentredAndTheSelectionHighlighted) {
    At(2024, 1, 10);
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
