// SPDX-License-Identifier: MIT
#pragma once
// TCCalendar: a month calendar drawn as a 7 x 7 grid, a header row of weekday names above six
// rows of day numbers. It holds one date; clicking a day (or moving to it with the arrow keys)
// makes that day the date, and the month and year change through the Day, Month and Year
// properties and the NextMonth, PrevMonth, NextYear and PrevYear methods.
#include "DateUtils.h"
#include "Grids.h"

class TCCalendar : public TCustomGrid {
    Q_OBJECT
    Q_PROPERTY(int Day READ Day WRITE WriteDay NOTIFY dayChanged STORED false)
    Q_PROPERTY(int Month READ Month WRITE WriteMonth NOTIFY monthChanged STORED false)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly NOTIFY readOnlyChanged)
    Q_PROPERTY(int StartOfWeek READ StartOfWeek WRITE SetStartOfWeek NOTIFY startOfWeekChanged)
    Q_PROPERTY(bool UseCurrentDate READ UseCurrentDate WRITE SetUseCurrentDate NOTIFY
                   useCurrentDateChanged)
    Q_PROPERTY(int Year READ Year WRITE WriteYear NOTIFY yearChanged STORED false)
    Q_CLASSINFO("default:BorderStyle", "bsSingle")
    Q_CLASSINFO("default:Color", "0x80000005")
    Q_CLASSINFO("default:Ctl3D", "true")
    Q_CLASSINFO("default:GridLineWidth", "1")
    Q_CLASSINFO("default:ReadOnly", "false")
    Q_CLASSINFO("default:StartOfWeek", "1")
    Q_CLASSINFO("default:TabStop", "true")
    Q_CLASSINFO("default:UseCurrentDate", "true")

public:
    // Today's month with today selected, weeks starting on Monday.
    explicit TCCalendar(QWidget* parent = nullptr);

    // The date shown and selected (time part kept). Setting it recomputes the layout and fires
    // OnChange; it leaves UseCurrentDate alone.
    TDateTime CalendarDate() const { return calendarDate_; }
    void SeTCCalendarDate(TDateTime Value);
    // Whether the date is worth storing with the component: only when it does not follow today.
    bool StoreCalendarDate() const { return !useCurrentDate_; }

    // Parts of the date; 0 for a date outside the years 1..9999. Values <= 0, a month above 12
    // and a day beyond the current month are ignored. A change that would leave the day outside
    // its month throws EConvertError and changes nothing.
    int Year() const { return GetDateElement(1); }
    void SetYear(int value) { SetDateElement(1, value); }
    int Month() const { return GetDateElement(2); }
    void SetMonth(int value) { SetDateElement(2, value); }
    int Day() const { return GetDateElement(3); }
    void SetDay(int value) { SetDateElement(3, value); }
    int GetDateElement(int Index) const;
    void SetDateElement(int Index, int Value);

    // When true the user cannot move the selection; the date can still be set by code.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // Weekday of the first column: 1 = Monday ... 6 = Saturday, 7 = Sunday. Other values give 1.
    int StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(int Value);
    // When switched on the calendar jumps to today's date (without OnChange).
    bool UseCurrentDate() const { return useCurrentDate_; }
    void SetUseCurrentDate(bool Value);

    // Day number that column 0 of the first day row stands for (-5 .. 1).
    int MonthOffset() const { return monthOffset_; }

    // Moves by whole months or years, keeping the day where the target month has it and
    // otherwise taking the target month's last day.
    void ChangeMonth(int Delta);
    void NextMonth() { ChangeMonth(1); }
    void PrevMonth() { ChangeMonth(-1); }
    void NextYear();
    void PrevYear();

    // Weekday name in the header row, day number (or nothing) in the others.
    QString GetCellText(int ACol, int ARow) const;

    virtual int DaysThisMonth() const;
    virtual bool IsLeapYear(int AYear) const;
    // Days of a month (1..12) of a year; 0 for a month outside 1..12.
    virtual int DaysPerMonth(int AYear, int AMonth) const;

    // A size at which every weekday name and day number fits its cell with some room.
    QSize sizeHint() const override;

    TNotifyEvent OnChange;

signals:
    // With OnChange.
    void changed();
    // The parts of the date, each when it took another value.
    void yearChanged(int value);
    void monthChanged(int value);
    void dayChanged(int value);
    void readOnlyChanged(bool value);
    void startOfWeekChanged(int value);
    void useCurrentDateChanged(bool value);

protected:
    // Fires OnChange.
    virtual void Change();
    // Places the days under their weekdays and moves the selection to the date's day.
    virtual void UpdateCalendar();

    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    // Makes the day of the current cell the date, then fires OnClick.
    void Click() override;
    // Shares the client area among seven columns and seven rows with six grid lines between.
    void WMSize() override;

private:
    // What the date-part properties show, and which of them changed since `before`.
    struct Parts {
        int year, month, day;
        bool useCurrentDate;
    };
    Parts CurrentParts() const { return {Year(), Month(), Day(), useCurrentDate_}; }
    void NoteParts(const Parts& before);

    // The property system's writes: a date part that would leave the day outside its month
    // (or the date outside the years 1..9999) is dropped instead of raising.
    void WriteYear(int value) noexcept {
        WriteRefusing([&] { SetYear(value); });
    }
    void WriteMonth(int value) noexcept {
        WriteRefusing([&] { SetMonth(value); });
    }
    void WriteDay(int value) noexcept {
        WriteRefusing([&] { SetDay(value); });
    }

    TDateTime calendarDate_ = 0;
    int monthOffset_ = 0;
    bool readOnly_ = false;
    int startOfWeek_ = 1;
    bool updating_ = false;
    bool useCurrentDate_ = true;
};
