// SPDX-License-Identifier: MIT
#include "Ccalendr.h"

#include "SysUtils.h"

#include <QFontMetrics>
#include <algorithm>
#include <array>

TCCalendar::TCCalendar(QWidget* parent) : TCustomGrid(parent) {
    SetFixedCols(0);
    SetFixedRows(1);
    SetColCount(7);
    SetRowCount(7);
    // One click picks one day: no ranges, and the selected day shows highlighted with the focus.
    SetOptions((Options() & ~goRangeSelect) | goDrawFocusSelected);
    calendarDate_ = Date();
    UpdateCalendar();
}

void TCCalendar::Change() {
    if (OnChange)
        OnChange(this);
    emit changed();
}

void TCCalendar::NoteParts(const Parts& before) {
    const Parts now = CurrentParts();
    if (now.year != before.year)
        emit yearChanged(now.year);
    if (now.month != before.month)
        emit monthChanged(now.month);
    if (now.day != before.day)
        emit dayChanged(now.day);
    if (now.useCurrentDate != before.useCurrentDate)
        emit useCurrentDateChanged(now.useCurrentDate);
}

void TCCalendar::SetReadOnly(bool value) {
    if (value == readOnly_)
        return;
    readOnly_ = value;
    emit readOnlyChanged(value);
}

bool TCCalendar::IsLeapYear(int AYear) const {
    return ::IsLeapYear(AYear);
}

int TCCalendar::DaysPerMonth(int AYear, int AMonth) const {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    // A date outside the supported years decodes to month 0: such a month has no days.
    if (AMonth < 1 || AMonth > 12)
        return 0;
    int days = kDays[std::size_t(AMonth - 1)];
    if (AMonth == 2 && IsLeapYear(AYear))
        ++days;
    return days;
}

int TCCalendar::DaysThisMonth() const {
    int year = 0, month = 0, day = 0;
    DecodeDate(calendarDate_, year, month, day);
    return DaysPerMonth(year, month);
}

int TCCalendar::GetDateElement(int Index) const {
    int year = 0, month = 0, day = 0;
    DecodeDate(calendarDate_, year, month, day);
    switch (Index) {
    case 1:
        return year;
    case 2:
        return month;
    case 3:
        return day;
    default:
        return -1;
    }
}

void TCCalendar::SetDateElement(int Index, int Value) {
    if (Value <= 0)
        return;
    int year = 0, month = 0, day = 0;
    DecodeDate(calendarDate_, year, month, day);
    bool changed = false;
    switch (Index) {
    case 1:
        if (year != Value) {
            year = Value;
            changed = true;
        }
        break;
    case 2:
        if (Value <= 12 && month != Value) {
            month = Value;
            changed = true;
        }
        break;
    case 3:
        if (Value <= DaysThisMonth() && day != Value) {
            day = Value;
            changed = true;
        }
        break;
    default:
        break;
    }
    if (!changed)
        return;
    // Throws for a day that the new month or year does not have, before anything changes.
    const TDateTime date = EncodeDate(year, month, day);
    const Parts before = CurrentParts();
    calendarDate_ = date;
    useCurrentDate_ = false;
    UpdateCalendar();
    Change();
    NoteParts(before);
}

void TCCalendar::SeTCCalendarDate(TDateTime Value) {
    const Parts before = CurrentParts();
    calendarDate_ = Value;
    UpdateCalendar();
    Change();
    NoteParts(before);
}

void TCCalendar::SetStartOfWeek(int Value) {
    if (Value < 1 || Value > 7)
        Value = 1;
    if (Value == startOfWeek_)
        return;
    startOfWeek_ = Value;
    UpdateCalendar();
    emit startOfWeekChanged(Value);
}

void TCCalendar::SetUseCurrentDate(bool Value) {
    if (Value == useCurrentDate_)
        return;
    const Parts before = CurrentParts();
    useCurrentDate_ = Value;
    if (Value) {
        calendarDate_ = Date();
        UpdateCalendar();
    }
    NoteParts(before);
}

void TCCalendar::UpdateCalendar() {
    updating_ = true;
    int year = 0, month = 0, day = 0;
    DecodeDate(calendarDate_, year, month, day);
    TDateTime first = 0;
    if (TryEncodeDate(year, month, 1, first)) {
        const int weekday = DayOfWeek(first); // 1 = Sunday
        monthOffset_ = 2 - ((weekday - startOfWeek_ + 7) % 7);
        if (monthOffset_ == 2)
            monthOffset_ = -5;
        const int index = day - monthOffset_; // 0 .. 41
        MoveColRow(index % 7, index / 7 + 1, false, false);
    }
    // Otherwise the date lies outside the supported years: every day cell is blank and the
    // selection stays where it was.
    Invalidate();
    updating_ = false;
}

void TCCalendar::ChangeMonth(int Delta) {
    int year = 0, month = 0, day = 0;
    DecodeDate(calendarDate_, year, month, day);
    const int wantedDay = day;
    const TDateTime start =
        Delta > 0 ? EncodeDate(year, month, DaysPerMonth(year, month)) : EncodeDate(year, month, 1);
    DecodeDate(start + Delta, year, month, day);
    const int days = DaysPerMonth(year, month);
    day = wantedDay < days ? wantedDay : days;
    SeTCCalendarDate(EncodeDate(year, month, day));
}

void TCCalendar::NextYear() {
    if (IsLeapYear(Year()) && Month() == 2 && Day() == 29)
        SetDay(28);
    SetYear(Year() + 1);
}

void TCCalendar::PrevYear() {
    if (IsLeapYear(Year()) && Month() == 2 && Day() == 29)
        SetDay(28);
    SetYear(Year() - 1);
}

QString TCCalendar::GetCellText(int ACol, int ARow) const {
    if (ARow == 0)
        return ShortDayNames()[std::size_t((startOfWeek_ + ACol) % 7)];
    const int dayNum = monthOffset_ + ACol + (ARow - 1) * 7;
    if (dayNum < 1 || dayNum > DaysThisMonth())
        return QString();
    return QString::number(dayNum);
}

void TCCalendar::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState) {
    const QString text = GetCellText(ACol, ARow);
    TCanvas& canvas = *Canvas();
    canvas.TextRect(ARect, ARect.Left + (ARect.Width() - canvas.TextWidth(text)) / 2,
                    ARect.Top + (ARect.Height() - canvas.TextHeight(text)) / 2, text);
}

bool TCCalendar::SelectCell(int ACol, int ARow) {
    if (readOnly_ && !updating_)
        return false;
    if (GetCellText(ACol, ARow).isEmpty())
        return false;
    return TCustomGrid::SelectCell(ACol, ARow);
}

void TCCalendar::Click() {
    const QString text = GetCellText(Col(), Row());
    if (!text.isEmpty())
        SetDateElement(3, text.toInt());
    TCustomGrid::Click();
}

void TCCalendar::WMSize() {
    const int line = GridLineWidth();
    SetDefaultColWidth((ClientWidth() - 6 * line) / 7);
    SetDefaultRowHeight((ClientHeight() - 6 * line) / 7);
}

QSize TCCalendar::sizeHint() const {
    const QFontMetrics metrics(font());
    int widest = metrics.horizontalAdvance(QStringLiteral("00"));
    for (const QString& name : ShortDayNames())
        widest = std::max(widest, metrics.horizontalAdvance(name));
    const int line = GridLineWidth(), frame = 2 * BorderWidth();
    const int cellWidth = widest + metrics.averageCharWidth() * 2;
    const int cellHeight = metrics.height() + metrics.height() / 2;
    return {7 * cellWidth + 6 * line + frame, 7 * cellHeight + 6 * line + frame};
}

// The meta-object code of this unit's classes, compiled here so that a program linking one
// class does not pull in every other class of the library with it.
#include "moc_Ccalendr.cpp"
