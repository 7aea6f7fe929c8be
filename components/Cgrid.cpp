// SPDX-License-Identifier: MIT
#include "Cgrid.h"

#include <algorithm>
#include <climits>
#include <cstring>

const QString TCColorGrid::SFG = QStringLiteral("FG");
const QString TCColorGrid::SBG = QStringLiteral("BG");
const QString TCColorGrid::SFB = QStringLiteral("FB");

TCColorGrid::TCColorGrid(QWidget* owner) : TCustomControl(owner) {
    SetColor(clBtnFace);
    Canvas()->Brush().Style = bsSolid;
    Canvas()->Pen().Color = clBlack;
    std::memcpy(paletteEntries_, DefaultPaletteEntries(), sizeof paletteEntries_);
    SetBounds(0, 0, 100, 100);
}

TColor TCColorGrid::SquareColor(int square) const {
    if (square < 0 || square > 15)
        return clBlack;
    const TPaletteEntry& e = paletteEntries_[square < 8 ? square : square + 4];
    return RGB(e.peRed, e.peGreen, e.peBlue);
}

TColor TCColorGrid::GetForegroundColor() const {
    return SquareColor(foregroundIndex_);
}
TColor TCColorGrid::GetBackgroundColor() const {
    return SquareColor(backgroundIndex_);
}

void TCColorGrid::Change() {
    if (OnChange)
        OnChange(this);
    emit changed();
}

void TCColorGrid::SetClickEnablesColor(bool value) {
    if (value == clickEnablesColor_)
        return;
    clickEnablesColor_ = value;
    emit clickEnablesColorChanged(value);
}

void TCColorGrid::UpdateCellSizes(bool Repaint) {
    // Setting the snapped bounds sends another size notice, which finds nothing left to do.
    if (!sizing_) {
        sizing_ = true;
        SetBounds(Left(), Top(), Width() - Width() % columns_, Height() - Height() % rows_);
        sizing_ = false;
    }
    cellWidth_ = Width() / columns_;
    cellHeight_ = Height() / rows_;
    if (Repaint)
        Invalidate();
}

void TCColorGrid::WMSize() {
    UpdateCellSizes(false);
}

void TCColorGrid::SetGridOrdering(TGridOrdering value) {
    if (value == gridOrdering_ || !IsEnumKey(value))
        return;
    gridOrdering_ = value;
    const int k = int(value);
    columns_ = 16 >> k;
    rows_ = 1 << k;
    UpdateCellSizes(true);
    emit gridOrderingChanged(value);
}

int TCColorGrid::SquareFromPos(int X, int Y) const {
    if (cellWidth_ <= 0 || cellHeight_ <= 0)
        return -1;
    X = std::clamp(X, 0, std::max(0, Width() - 1));
    Y = std::clamp(Y, 0, std::max(0, Height() - 1));
    const int column = std::min(X / cellWidth_, columns_ - 1);
    const int row = std::min(Y / cellHeight_, rows_ - 1);
    return row * columns_ + column;
}

TRect TCColorGrid::CellRect(int square) const {
    const int left = (square % columns_) * cellWidth_;
    const int top = (square / columns_) * cellHeight_;
    return {left, top, left + cellWidth_, top + cellHeight_};
}

void TCColorGrid::Paint() {
    Canvas()->Font().Assign(font());
    for (int s = 0; s < columns_ * rows_; ++s)
        DrawSquare(s, false);
    if (hasFocus_)
        DrawSquare(selection_, true);
    DrawFgBg();
}

void TCColorGrid::DrawSquare(int Which, bool ShowSelector) {
    if (Which < 0 || Which > 15)
        return;
    TCanvas* c = Canvas();
    TRect r = CellRect(Which);
    const TColor color = SquareColor(Which);
    c->Pen().Mode = pmCopy;
    if (Ctl3D()) {
        c->Pen().Color = clBtnFace;
        c->Brush().Style = bsClear;
        c->Rectangle(r);
        c->Brush().Style = bsSolid;
        InflateRect(r, -1, -1);
        Frame3D(*c, r, clBtnShadow, clBtnHighlight, 2);
    } else {
        c->Pen().Color = clBlack;
    }
    c->Brush().Color = color;
    c->Brush().Style = bsSolid;
    if (Ctl3D())
        c->Pen().Color = color;
    if (!ShowSelector) {
        c->Rectangle(r);
    } else if (Ctl3D()) {
        c->Rectangle(r);
        InflateRect(r, -1, -1);
        c->DrawFocusRect(r);
    } else {
        c->Pen().Color = clBlack;
        c->Pen().Mode = pmNot;
        c->Rectangle(r);
        c->Pen().Mode = pmCopy;
        c->Rectangle(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
    }
}

void TCColorGrid::DrawFgBg() {
    TCanvas* c = Canvas();
    const TBackgroundMode old = c->BackgroundMode();
    c->SetBackgroundMode(bmTransparent);
    // Black or white text, whichever stands out on the square: each component flips.
    auto mark = [c, this](int square, const QString& text) {
        if (square < 0 || square > 15)
            return;
        const TColor color = SquareColor(square);
        auto flip = [](int v) { return v >= 128 ? 0 : 255; };
        c->Font().Color =
            RGB(flip(GetRValue(color)), flip(GetGValue(color)), flip(GetBValue(color)));
        c->DrawText(CellRect(square), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    };
    const bool same = foregroundIndex_ == backgroundIndex_;
    if (foregroundEnabled_)
        mark(foregroundIndex_, same && backgroundEnabled_ ? SFB : SFG);
    if (backgroundEnabled_)
        mark(backgroundIndex_, same && foregroundEnabled_ ? SFB : SBG);
    c->SetBackgroundMode(old);
}

void TCColorGrid::SetSelection(int value) {
    if (value == selection_)
        return;
    DrawSquare(selection_, false);
    selection_ = value;
    if (hasFocus_)
        DrawSquare(selection_, true);
    DrawFgBg();
    emit selectionChanged(value);
}

void TCColorGrid::SetForegroundIndex(int value) {
    MoveForeground(value, false);
}

void TCColorGrid::SetBackgroundIndex(int value) {
    MoveBackground(value, false);
}

void TCColorGrid::MoveForeground(int value, bool always) {
    if ((value == foregroundIndex_ && !always) || !foregroundEnabled_)
        return;
    const int old = foregroundIndex_;
    DrawSquare(old, Selected(old));
    foregroundIndex_ = value;
    if (foregroundIndex_ == backgroundIndex_)
        DrawSquare(backgroundIndex_, Selected(backgroundIndex_));
    DrawFgBg();
    Change();
    if (foregroundIndex_ != old)
        emit foregroundIndexChanged(foregroundIndex_);
}

void TCColorGrid::MoveBackground(int value, bool always) {
    if ((value == backgroundIndex_ && !always) || !backgroundEnabled_)
        return;
    const int old = backgroundIndex_;
    DrawSquare(old, Selected(old));
    backgroundIndex_ = value;
    if (backgroundIndex_ == foregroundIndex_)
        DrawSquare(foregroundIndex_, Selected(foregroundIndex_));
    DrawFgBg();
    Change();
    if (backgroundIndex_ != old)
        emit backgroundIndexChanged(backgroundIndex_);
}

void TCColorGrid::EnableForeground(bool value) {
    if (value == foregroundEnabled_)
        return;
    foregroundEnabled_ = value;
    DrawSquare(foregroundIndex_, Selected(foregroundIndex_));
    DrawFgBg();
    emit foregroundEnabledChanged(value);
}

void TCColorGrid::EnableBackground(bool value) {
    if (value == backgroundEnabled_)
        return;
    backgroundEnabled_ = value;
    DrawSquare(backgroundIndex_, Selected(backgroundIndex_));
    DrawFgBg();
    emit backgroundEnabledChanged(value);
}

// A pick that switches a hidden marker on again counts as a change even on the square the
// marker already had.
void TCColorGrid::PickForeground(int square) {
    const bool enable = !foregroundEnabled_ && clickEnablesColor_;
    if (enable) {
        foregroundEnabled_ = true;
        DrawSquare(foregroundIndex_, Selected(foregroundIndex_));
    }
    MoveForeground(square, enable);
    if (enable)
        emit foregroundEnabledChanged(true);
}

void TCColorGrid::PickBackground(int square) {
    const bool enable = !backgroundEnabled_ && clickEnablesColor_;
    if (enable) {
        backgroundEnabled_ = true;
        DrawSquare(backgroundIndex_, Selected(backgroundIndex_));
    }
    MoveBackground(square, enable);
    if (enable)
        emit backgroundEnabledChanged(true);
}

void TCColorGrid::WMSetFocus() {
    hasFocus_ = true;
    DrawSquare(selection_, true);
    DrawFgBg();
    TCustomControl::WMSetFocus();
}

void TCColorGrid::WMKillFocus() {
    hasFocus_ = false;
    DrawSquare(selection_, false);
    DrawFgBg();
    TCustomControl::WMKillFocus();
}

void TCColorGrid::CMCtl3DChanged() {
    Invalidate();
}

void TCColorGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    pressedButton_ = Button;
    buttonDown_ = true;
    const int s = SquareFromPos(X, Y);
    if (s < 0)
        return;
    if (Button == mbLeft) {
        PickForeground(s);
    } else {
        SetMouseCapture(true);
        PickBackground(s);
    }
    SetSelection(s);
    if (TabStop())
        SetFocus();
}

void TCColorGrid::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (!buttonDown_)
        return;
    const int s = SquareFromPos(X, Y);
    if (s < 0)
        return;
    if (pressedButton_ == mbLeft)
        SetForegroundIndex(s);
    else
        SetBackgroundIndex(s);
    SetSelection(s);
}

void TCColorGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    buttonDown_ = false;
    // The capture taken by a right or middle press ends with the release.
    if (pressedButton_ != mbLeft)
        SetMouseCapture(false);
}

void TCColorGrid::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    // Wide arithmetic: a selection set far outside the grid moves without overflowing.
    const long long n = static_cast<long long>(columns_) * rows_;
    const long long columns = columns_;
    long long s = selection_;
    switch (Key) {
    case VK_RIGHT:
    case VK_SPACE:
        s = s == n - 1 ? 0 : s + 1;
        break;
    case VK_LEFT:
        s = s == 0 ? n - 1 : s - 1;
        break;
    case VK_UP:
        // Up the column; from the top row to the bottom row one column to the left.
        if (s >= columns)
            s -= columns;
        else if (s != 0)
            s = n - columns + s - 1;
        else
            s = n - 1;
        break;
    case VK_DOWN:
        // Down the column; from the bottom row to the top row one column to the right.
        if (s + columns < n)
            s += columns;
        else if (s != n - 1)
            s = s % columns + 1;
        else
            s = 0;
        break;
    case VK_HOME:
        s = 0;
        break;
    case VK_END:
        s = n - 1;
        break;
    case 0x46: // 'F'
    case 0x66:
        PickForeground(selection_);
        SetSelection(selection_);
        Click();
        break;
    case 0x42: // 'B'
    case 0x62:
        PickBackground(selection_);
        SetSelection(selection_);
        Click();
        break;
    default:
        return;
    }
    Key = 0;
    const int target = int(std::clamp<long long>(s, INT_MIN, INT_MAX));
    if (target != selection_)
        SetSelection(target);
}

// The meta-object code of this unit's classes, compiled here so that a program linking one
// class does not pull in every other class of the library with it.
#include "moc_Cgrid.cpp"
