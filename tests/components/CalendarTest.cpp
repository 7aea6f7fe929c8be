#include "Ccalendr.h"
#include "SysUtils.h"

#include <QFontMetrics>
#include <QLocale>
#include <QMetaProperty>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

struct Ymd {
    int y, m, d;
    bool operator==(const Ymd&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Ymd& v) {
    return os << v.y << "-" << v.m << "-" << v.d;
}

class Calendar : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        cal.OnChange = [this](QObject* sender) {
            EXPECT_EQ(sender, &cal);
            ++changes;
        };
        // Client area 300 x 200 inside the 2-pixel border.
        cal.SetBounds(0, 0, 304, 204);
    }
    void TearDown() override { QLocale::setDefault(saved_); }

    // Sets the date and forgets the OnChange that this fires.
    void At(int y, int m, int d) {
        cal.SeTCCalendarDate(EncodeDate(y, m, d));
        changes = 0;
    }
    Ymd Shown() const { return {cal.Year(), cal.Month(), cal.Day()}; }
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

TEST_F(Calendar, StartsOnTodayWithDeclaredDefaults) {
    int y = 0, m = 0, d = 0;
    DecodeDate(Date(), y, m, d);
    EXPECT_EQ(Shown(), (Ymd{y, m, d}));
    EXPECT_TRUE(cal.UseCurrentDate());
    EXPECT_FALSE(cal.StoreCalendarDate());
    EXPECT_EQ(cal.GetCellText(cal.Col(), cal.Row()), QString::number(d));
    EXPECT_EQ(cal.ColCount(), 7);
    EXPECT_EQ(cal.RowCount(), 7);
    EXPECT_EQ(cal.FixedCols(), 0);
    EXPECT_EQ(cal.FixedRows(), 1);
    EXPECT_FALSE(cal.Options() & goRangeSelect);
    EXPECT_TRUE(cal.Options() & goDrawFocusSelected);

    for (const char* name : {"BorderStyle", "Color", "Ctl3D", "GridLineWidth", "ReadOnly",
                             "StartOfWeek", "TabStop", "UseCurrentDate"}) {
        EXPECT_TRUE(DeclaredDefault(&cal, name).isValid()) << name;
        EXPECT_FALSE(IsPropertyStored(&cal, name)) << name;
    }
    const QMetaObject* meta = cal.metaObject();
    for (const char* name : {"Day", "Month", "Year"})
        EXPECT_FALSE(meta->property(meta->indexOfProperty(name)).isStored()) << name;
    cal.setProperty("StartOfWeek", 7);
    EXPECT_TRUE(IsPropertyStored(&cal, "StartOfWeek"));
    cal.setProperty("Day", 1);
    EXPECT_FALSE(cal.UseCurrentDate());
    EXPECT_TRUE(cal.StoreCalendarDate());
}

TEST_F(Calendar, LeapYearsAndMonthLengths) {
    for (int y : {2000, 2024})
        EXPECT_TRUE(cal.IsLeapYear(y)) << y;
    for (int y : {1900, 2023})
        EXPECT_FALSE(cal.IsLeapYear(y)) << y;
    EXPECT_EQ(cal.DaysPerMonth(2000, 2), 29);
    EXPECT_EQ(cal.DaysPerMonth(1900, 2), 28);
    EXPECT_EQ(cal.DaysPerMonth(2023, 0), 0);
    EXPECT_EQ(cal.DaysPerMonth(2023, 13), 0);
}

TEST_F(Calendar, MonthOffsetAndSelectionPlacement) {
    struct Case {
        int startOfWeek;
        Ymd date;
        int offset;
        QPoint firstDay, selected;
    };
    const Case cases[] = {
        {1, {2024, 1, 17}, 1, {0, 1}, {2, 3}},  // January 2024 starts on a Monday
        {1, {2024, 9, 30}, -5, {6, 1}, {0, 6}}, // September 2024 starts on a Sunday
        {7, {2024, 9, 1}, 1, {0, 1}, {0, 1}},   {7, {2024, 1, 31}, 0, {1, 1}, {3, 5}},
        {3, {2024, 1, 1}, -4, {5, 1}, {5, 1}}, // Wednesday first, Monday in column 5
    };
    for (const Case& c : cases) {
        cal.SetStartOfWeek(c.startOfWeek);
        At(c.date.y, c.date.m, c.date.d);
        EXPECT_EQ(cal.MonthOffset(), c.offset) << c.date;
        EXPECT_EQ(CellOf("1"), c.firstDay) << c.date;
        EXPECT_EQ(QPoint(cal.Col(), cal.Row()), c.selected) << c.date;
        EXPECT_EQ(cal.GetCellText(c.selected.x(), c.selected.y()), QString::number(c.date.d));
    }
}

// For every start of week and every month of a few years, day 1 sits under its own weekday,
// the offset stays in -5..1, and the days run on without gaps.
TEST_F(Calendar, EveryMonthLinesUpWithItsHeader) {
    const std::array<QString, 7> names = ShortDayNames(); // 0 = Sunday
    for (int sow = 1; sow <= 7; ++sow) {
        cal.SetStartOfWeek(sow);
        for (int y = 1999; y <= 2001; ++y) {
            for (int m = 1; m <= 12; ++m) {
                At(y, m, 1);
                const int offset = cal.MonthOffset();
                ASSERT_GE(offset, -5);
                ASSERT_LE(offset, 1);
                const QPoint first = CellOf("1");
                ASSERT_EQ(first.y(), 1) << y << "-" << m << " sow " << sow;
                const int weekday = DayOfWeek(EncodeDate(y, m, 1)) - 1;
                ASSERT_EQ(cal.GetCellText(first.x(), 0), names[std::size_t(weekday)]);
                int shown = 0;
                for (int i = 0; i < 42; ++i) {
                    const QString text = cal.GetCellText(i % 7, i / 7 + 1);
                    if (!text.isEmpty()) {
                        ASSERT_EQ(text, QString::number(++shown));
                    }
                }
                ASSERT_EQ(shown, cal.DaysPerMonth(y, m));
            }
        }
    }
}

TEST_F(Calendar, HeadersFollowStartOfWeek) {
    auto header = [this] {
        QStringList names;
        for (int col = 0; col < 7; ++col)
            names << cal.GetCellText(col, 0);
        return names.join(' ');
    };
    EXPECT_EQ(header(), "Mon Tue Wed Thu Fri Sat Sun");
    cal.SetStartOfWeek(7);
    EXPECT_EQ(header(), "Sun Mon Tue Wed Thu Fri Sat");

    // Values outside 1..7 store 1 and recompute the layout at once.
    At(2024, 9, 1); // a Sunday: column 0 with Sunday first
    ASSERT_EQ(CellOf("1"), QPoint(0, 1));
    for (int bad : {0, 8, -3}) {
        cal.SetStartOfWeek(7);
        cal.SetStartOfWeek(bad);
        EXPECT_EQ(cal.StartOfWeek(), 1) << bad;
        EXPECT_EQ(header(), "Mon Tue Wed Thu Fri Sat Sun") << bad;
        EXPECT_EQ(CellOf("1"), QPoint(6, 1)) << bad;
        EXPECT_EQ(QPoint(cal.Col(), cal.Row()), QPoint(6, 1)) << bad;
    }
    EXPECT_EQ(changes, 0);
}

TEST_F(Calendar, MonthAndYearStepping) {
    struct Case {
        const char* name;
        Ymd from;
        void (TCCalendar::*step)();
        Ymd to;
        int changes;
    };
    const Case cases[] = {
        {"next month clamps", {2001, 1, 31}, &TCCalendar::NextMonth, {2001, 2, 28}, 1},
        {"prev month to leap day", {2000, 3, 31}, &TCCalendar::PrevMonth, {2000, 2, 29}, 1},
        {"next month over new year", {1999, 12, 15}, &TCCalendar::NextMonth, {2000, 1, 15}, 1},
        {"prev month over new year", {2000, 1, 31}, &TCCalendar::PrevMonth, {1999, 12, 31}, 1},
        {"next month keeps day 30", {2024, 4, 30}, &TCCalendar::NextMonth, {2024, 5, 30}, 1},
        {"next year from leap day", {2000, 2, 29}, &TCCalendar::NextYear, {2001, 2, 28}, 2},
        {"prev year from leap day", {2000, 2, 29}, &TCCalendar::PrevYear, {1999, 2, 28}, 2},
        {"next year", {2023, 6, 15}, &TCCalendar::NextYear, {2024, 6, 15}, 1},
        {"prev year on 28 February", {2024, 2, 28}, &TCCalendar::PrevYear, {2023, 2, 28}, 1},
    };
    for (const Case& c : cases) {
        At(c.from.y, c.from.m, c.from.d);
        (cal.*c.step)();
        EXPECT_EQ(Shown(), c.to) << c.name;
        EXPECT_EQ(changes, c.changes) << c.name;
        EXPECT_EQ(cal.GetCellText(cal.Col(), cal.Row()), QString::number(c.to.d)) << c.name;
    }
}

TEST_F(Calendar, DatePartsRefuseSilently) {
    struct Case {
        const char* name;
        int index, value;
    };
    const Case cases[] = {
        {"day 0", 3, 0},          {"negative month", 2, -1}, {"year 0", 1, 0},
        {"month 13", 2, 13},      {"day 32", 3, 32},         {"day beyond April", 3, 31},
        {"unchanged day", 3, 30}, {"unchanged month", 2, 4}, {"unchanged year", 1, 2024},
        {"index 4", 4, 5},
    };
    for (const Case& c : cases) {
        At(2024, 4, 30);
        cal.SetUseCurrentDate(true);
        At(2024, 4, 30);
        cal.SetDateElement(c.index, c.value);
        EXPECT_EQ(Shown(), (Ymd{2024, 4, 30})) << c.name;
        EXPECT_EQ(changes, 0) << c.name;
        EXPECT_TRUE(cal.UseCurrentDate()) << c.name;
    }
    EXPECT_EQ(cal.GetDateElement(0), -1);
    EXPECT_EQ(cal.GetDateElement(4), -1);

    cal.SetMonth(5);
    EXPECT_EQ(Shown(), (Ymd{2024, 5, 30}));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(cal.UseCurrentDate());
    EXPECT_EQ(cal.GetCellText(cal.Col(), cal.Row()), "30");
}

TEST_F(Calendar, ImpossibleDayThrowsAndChangesNothing) {
    struct Case {
        Ymd from;
        int index, value;
    };
    const Case cases[] = {{{2024, 3, 31}, 2, 4}, {{2000, 2, 29}, 1, 2001}, {{2023, 1, 30}, 2, 2}};
    for (const Case& c : cases) {
        cal.SetUseCurrentDate(true);
        At(c.from.y, c.from.m, c.from.d);
        const QPoint cell(cal.Col(), cal.Row());
        const int offset = cal.MonthOffset();
        EXPECT_THROW(cal.SetDateElement(c.index, c.value), EConvertError) << c.from;
        EXPECT_EQ(Shown(), c.from);
        EXPECT_EQ(QPoint(cal.Col(), cal.Row()), cell) << c.from;
        EXPECT_EQ(cal.MonthOffset(), offset) << c.from;
        EXPECT_TRUE(cal.UseCurrentDate()) << c.from;
        EXPECT_EQ(changes, 0) << c.from;
    }
}

TEST_F(Calendar, UseCurrentDateJumpsBackToToday) {
    cal.SeTCCalendarDate(EncodeDate(2001, 5, 5) + 0.5);
    EXPECT_EQ(cal.CalendarDate(), EncodeDate(2001, 5, 5) + 0.5); // the time of day is kept
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(cal.UseCurrentDate()); // setting the date directly does not switch it off
    cal.NextMonth();                   // nor does a month step
    cal.PrevMonth();
    EXPECT_TRUE(cal.UseCurrentDate());
    cal.SetDay(6);
    EXPECT_FALSE(cal.UseCurrentDate());
    cal.SetUseCurrentDate(false);
    EXPECT_EQ(Shown(), (Ymd{2001, 5, 6}));
    changes = 0;
    cal.SetUseCurrentDate(true);
    EXPECT_EQ(cal.CalendarDate(), Date());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(cal.GetCellText(cal.Col(), cal.Row()), QString::number(cal.Day()));
}

TEST_F(Calendar, ResizeSharesTheClientArea) {
    EXPECT_EQ(cal.ClientWidth(), 300);
    EXPECT_EQ(cal.ClientHeight(), 200);
    EXPECT_EQ(cal.DefaultColWidth(), 42);
    EXPECT_EQ(cal.DefaultRowHeight(), 27);
    EXPECT_EQ(cal.ColWidths(6), 42);
    EXPECT_EQ(cal.RowHeights(6), 27);
    cal.SetGridLineWidth(2);
    cal.SetBounds(0, 0, 300, 200); // now a client area of 296 x 196
    EXPECT_EQ(cal.DefaultColWidth(), 40);
    EXPECT_EQ(cal.DefaultRowHeight(), 26);
    cal.SetBorderStyle(bsNone);
    EXPECT_EQ(cal.DefaultColWidth(), 41);
    EXPECT_EQ(cal.DefaultRowHeight(), 26);
    cal.SetBounds(0, 0, 5, 5); // too small for the lines: no negative sizes
    EXPECT_EQ(cal.DefaultColWidth(), 0);
    EXPECT_EQ(cal.DefaultRowHeight(), 0);
}

TEST_F(Calendar, SizeHintFitsEveryCellText) {
    for (QLocale::Language language : {QLocale::English, QLocale::German, QLocale::Russian}) {
        QLocale::setDefault(QLocale(language));
        const QSize hint = cal.sizeHint();
        cal.SetBounds(0, 0, hint.width(), hint.height());
        const QFontMetrics metrics(cal.font());
        for (int col = 0; col < 7; ++col)
            EXPECT_LT(metrics.horizontalAdvance(cal.GetCellText(col, 0)), cal.ColWidths(col));
        EXPECT_LT(metrics.horizontalAdvance("28"), cal.ColWidths(0));
        EXPECT_LT(metrics.height(), cal.RowHeights(1));
    }
}

TEST_F(Calendar, ClicksOnBlankAndDayCells) {
    cal.SetStartOfWeek(1);
    At(2024, 1, 10); // days 1..31 in cells 0..30; cells 31..41 are blank
    const QPoint start(cal.Col(), cal.Row());

    QTest::mouseClick(&cal, Qt::LeftButton, {}, Centre({5, 6})); // blank
    EXPECT_EQ(QPoint(cal.Col(), cal.Row()), start);
    EXPECT_EQ(Shown(), (Ymd{2024, 1, 10}));
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(cal.UseCurrentDate());

    int clicks = 0;
    cal.OnClick = [&](QObject*) {
        ++clicks;
        EXPECT_EQ(cal.Day(), 17); // the date is already the clicked day
    };
    QTest::mouseClick(&cal, Qt::LeftButton, {}, Centre(CellOf("17")));
    EXPECT_EQ(Shown(), (Ymd{2024, 1, 17}));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(cal.UseCurrentDate());

    // A header click neither selects nor changes anything.
    cal.OnClick = nullptr;
    QTest::mouseClick(&cal, Qt::LeftButton, {}, Centre({3, 0}));
    EXPECT_EQ(Shown(), (Ymd{2024, 1, 17}));
    EXPECT_EQ(changes, 1);
}

TEST_F(Calendar, ArrowKeysMoveTheDayThroughSelectCell) {
    cal.SetStartOfWeek(1);
    struct Case {
        const char* name;
        int fromDay;
        Qt::Key key;
        int toDay;
    };
    const Case cases[] = {
        {"right", 17, Qt::Key_Right, 18},
        {"left", 17, Qt::Key_Left, 16},
        {"down", 17, Qt::Key_Down, 24},
        {"up", 17, Qt::Key_Up, 10},
        {"right into a blank cell", 31, Qt::Key_Right, 31},
        {"down into a blank cell", 25, Qt::Key_Down, 25},
        {"up into the header", 3, Qt::Key_Up, 3},
        {"left at the first column", 1, Qt::Key_Left, 1},
        {"end of the week", 10, Qt::Key_End, 14},
    };
    for (const Case& c : cases) {
        At(2024, 1, c.fromDay);
        QTest::keyClick(&cal, c.key);
        EXPECT_EQ(cal.Day(), c.toDay) << c.name;
        EXPECT_EQ(cal.GetCellText(cal.Col(), cal.Row()), QString::number(c.toDay)) << c.name;
        EXPECT_EQ(changes, c.fromDay == c.toDay ? 0 : 1) << c.name;
    }
}

TEST_F(Calendar, ReadOnlyStopsTheUserButNotTheCode) {
    cal.SetReadOnly(true);
    At(2024, 1, 10);
    const QPoint start(cal.Col(), cal.Row());
    QTest::mouseClick(&cal, Qt::LeftButton, {}, Centre(CellOf("17")));
    QTest::keyClick(&cal, Qt::Key_Right);
    EXPECT_EQ(QPoint(cal.Col(), cal.Row()), start);
    EXPECT_EQ(Shown(), (Ymd{2024, 1, 10}));
    EXPECT_EQ(changes, 0);

    cal.SetDay(20);
    cal.NextMonth();
    cal.SetYear(2025);
    EXPECT_EQ(Shown(), (Ymd{2025, 2, 20}));
    EXPECT_EQ(cal.GetCellText(cal.Col(), cal.Row()), "20");
    EXPECT_EQ(changes, 3);
}

TEST_F(Calendar, DateOutsideTheYearsShowsABlankMonth) {
    At(2024, 1, 10);
    const QPoint start(cal.Col(), cal.Row());
    for (double bad : {-1e6, 3e6, std::numeric_limits<double>::quiet_NaN()}) {
        changes = 0;
        cal.SeTCCalendarDate(bad);
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(cal.DaysThisMonth(), 0);
        EXPECT_EQ(CellOf("1"), QPoint(-1, -1));
        EXPECT_EQ(cal.GetCellText(0, 0), "Mon");
        EXPECT_EQ(QPoint(cal.Col(), cal.Row()), start);
        cal.SetDay(5); // beyond the (empty) month: ignored
        EXPECT_EQ(changes, 1);
        EXPECT_THROW(cal.NextMonth(), EConvertError);
        cal.Paint();
    }
    At(2024, 1, 10);
    EXPECT_EQ(CellOf("31"), QPoint(2, 5));
}

TEST_F(Calendar, DayNumbersAreCentredInTheirCells) {
    At(2024, 1, 10);
    cal.Paint();
    TCanvas& canvas = *cal.Canvas();
    for (const char* day : {"1", "17", "31"}) {
        const TRect r = cal.CellRect(CellOf(day).x(), CellOf(day).y());
        const TColor bg = canvas.Pixel(r.Left + 1, r.Top + 1);
        int left = r.Right, right = r.Left, top = r.Bottom, bottom = r.Top;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (canvas.Pixel(x, y) != bg) {
                    left = std::min(left, x);
                    right = std::max(right, x + 1);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y + 1);
                }
        ASSERT_LT(left, right) << day; // something was drawn
        EXPECT_LE(std::abs((left - r.Left) - (r.Right - right)), 3) << day;
        EXPECT_LE(std::abs((top - r.Top) - (r.Bottom - bottom)), 6) << day;
    }
    // The selected day is highlighted even without the focus.
    const TRect sel = cal.CellRect(cal.Col(), cal.Row());
    EXPECT_EQ(canvas.Pixel(sel.Left + 1, sel.Top + 1), ColorToRGB(clHighlight));
}

} // namespace
