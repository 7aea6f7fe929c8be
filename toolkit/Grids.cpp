// SPDX-License-Identifier: MIT
#include "Grids.h"

#include <QMouseEvent>
#include <algorithm>
#include <climits>

namespace {

// Sizes of cells and lines are kept to what a screen can show, and positions stop growing far
// beyond any screen, so that adding them up never overflows.
constexpr int kLargestSize = 1 << 20;
constexpr long long kFarthest = INT_MAX / 4;

int Size(int value) {
    return std::clamp(value, 0, kLargestSize);
}

} // namespace

TCustomGrid::TCustomGrid(QWidget* parent)
    : TCustomControl(parent), colWidths_(5, 64), rowHeights_(5, 24) {
    SetColor(clWindow);
    SetTabStop(true);
}

// ---------------------------------------------------------------------------------------------
// Shape

void TCustomGrid::SetColCount(int value) {
    if (value <= fixedCols_ || value == ColCount())
        return;
    colWidths_.resize(std::size_t(value), defaultColWidth_);
    ClampCurrent();
    InvalidateGrid();
}

void TCustomGrid::SetRowCount(int value) {
    if (value <= fixedRows_ || value == RowCount())
        return;
    rowHeights_.resize(std::size_t(value), defaultRowHeight_);
    ClampCurrent();
    InvalidateGrid();
}

void TCustomGrid::SetFixedCols(int value) {
    if (value < 0 || value >= ColCount() || value == fixedCols_)
        return;
    fixedCols_ = value;
    ClampCurrent();
    InvalidateGrid();
}

void TCustomGrid::SetFixedRows(int value) {
    if (value < 0 || value >= RowCount() || value == fixedRows_)
        return;
    fixedRows_ = value;
    ClampCurrent();
    InvalidateGrid();
}

void TCustomGrid::ClampCurrent() {
    auto clamp = [this](TGridCoord& c) {
        c.X = std::clamp(c.X, fixedCols_, ColCount() - 1);
        c.Y = std::clamp(c.Y, fixedRows_, RowCount() - 1);
    };
    clamp(current_);
    clamp(anchor_);
}

void TCustomGrid::SetDefaultColWidth(int value) {
    value = Size(value);
    defaultColWidth_ = value;
    std::fill(colWidths_.begin(), colWidths_.end(), value);
    InvalidateGrid();
}

void TCustomGrid::SetDefaultRowHeight(int value) {
    value = Size(value);
    defaultRowHeight_ = value;
    std::fill(rowHeights_.begin(), rowHeights_.end(), value);
    InvalidateGrid();
}

int TCustomGrid::ColWidths(int col) const {
    return col >= 0 && col < ColCount() ? colWidths_[std::size_t(col)] : 0;
}

void TCustomGrid::SetColWidths(int col, int value) {
    if (col < 0 || col >= ColCount())
        return;
    colWidths_[std::size_t(col)] = Size(value);
    InvalidateGrid();
}

int TCustomGrid::RowHeights(int row) const {
    return row >= 0 && row < RowCount() ? rowHeights_[std::size_t(row)] : 0;
}

void TCustomGrid::SetRowHeights(int row, int value) {
    if (row < 0 || row >= RowCount())
        return;
    rowHeights_[std::size_t(row)] = Size(value);
    InvalidateGrid();
}

void TCustomGrid::SetGridLineWidth(int value) {
    value = Size(value);
    if (value == gridLineWidth_)
        return;
    gridLineWidth_ = value;
    InvalidateGrid();
    emit gridLineWidthChanged(value);
}

void TCustomGrid::SetOptions(TGridOptions value) {
    if (value == options_)
        return;
    options_ = value;
    if (!(options_ & goRangeSelect))
        anchor_ = current_;
    InvalidateGrid();
}

void TCustomGrid::SetBorderStyle(TFormBorderStyle value) {
    value = value == bsNone ? bsNone : bsSingle;
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    // The client area changes with the border.
    WMSize();
    InvalidateGrid();
    emit borderStyleChanged(value);
}

int TCustomGrid::BorderWidth() const {
    if (borderStyle_ == bsNone)
        return 0;
    return Ctl3D() ? 2 : 1;
}

int TCustomGrid::ClientWidth() const {
    return std::max(0, Width() - 2 * BorderWidth());
}

int TCustomGrid::ClientHeight() const {
    return std::max(0, Height() - 2 * BorderWidth());
}

void TCustomGrid::SetFixedColor(TColor value) {
    if (value == fixedColor_)
        return;
    fixedColor_ = value;
    InvalidateGrid();
}

// ---------------------------------------------------------------------------------------------
// Geometry

int TCustomGrid::VertLineWidth(int col) const {
    const TGridOptions needed = col < fixedCols_ ? goFixedVertLine : goVertLine;
    return options_ & needed ? gridLineWidth_ : 0;
}

int TCustomGrid::HorzLineWidth(int row) const {
    const TGridOptions needed = row < fixedRows_ ? goFixedHorzLine : goHorzLine;
    return options_ & needed ? gridLineWidth_ : 0;
}

int TCustomGrid::ColumnLeft(int col) const {
    long long x = BorderWidth();
    for (int c = 0; c < col && x < kFarthest; ++c)
        x += colWidths_[std::size_t(c)] + VertLineWidth(c);
    return int(std::min(x, kFarthest));
}

int TCustomGrid::RowTop(int row) const {
    long long y = BorderWidth();
    for (int r = 0; r < row && y < kFarthest; ++r)
        y += rowHeights_[std::size_t(r)] + HorzLineWidth(r);
    return int(std::min(y, kFarthest));
}

TRect TCustomGrid::CellRect(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return {};
    const int left = ColumnLeft(col), top = RowTop(row);
    return {left, top, left + colWidths_[std::size_t(col)], top + rowHeights_[std::size_t(row)]};
}

bool TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
    col = row = -1;
    const int border = BorderWidth();
    if (x < border || y < border || x >= border + ClientWidth() || y >= border + ClientHeight())
        return false;
    // A point on a grid line belongs to the cell before the line.
    int c = 0;
    for (long long edge = border; c < ColCount(); ++c) {
        edge += colWidths_[std::size_t(c)] + VertLineWidth(c);
        if (x < edge)
            break;
    }
    int r = 0;
    for (long long edge = border; r < RowCount(); ++r) {
        edge += rowHeights_[std::size_t(r)] + HorzLineWidth(r);
        if (y < edge)
            break;
    }
    if (c >= ColCount() || r >= RowCount())
        return false;
    col = c;
    row = r;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Selection

bool TCustomGrid::IsOrdinaryCell(int col, int row) const {
    return col >= fixedCols_ && col < ColCount() && row >= fixedRows_ && row < RowCount();
}

TGridRect TCustomGrid::Selection() const {
    TGridRect r{std::min(current_.X, anchor_.X), std::min(current_.Y, anchor_.Y),
                std::max(current_.X, anchor_.X), std::max(current_.Y, anchor_.Y)};
    if (options_ & goRowSelect) {
        r.Left = fixedCols_;
        r.Right = ColCount() - 1;
    }
    return r;
}

bool TCustomGrid::SelectCell(int, int) {
    return true;
}

void TCustomGrid::SetCol(int value) {
    FocusCell(value, current_.Y, true);
}

void TCustomGrid::SetRow(int value) {
    FocusCell(current_.X, value, true);
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool /*Show*/) {
    if (!IsOrdinaryCell(ACol, ARow) || !SelectCell(ACol, ARow))
        return;
    const TGridRect before = Selection();
    current_ = {ACol, ARow};
    if (MoveAnchor || !(options_ & goRangeSelect))
        anchor_ = current_;
    InvalidateRange(before);
    InvalidateRange(Selection());
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) {
    MoveColRow(ACol, ARow, MoveAnchor, true);
    Click();
}

void TCustomGrid::InvalidateCell(int col, int row) {
    InvalidateRange({col, row, col, row});
}

void TCustomGrid::InvalidateRange(const TGridRect& range) {
    const TRect first = CellRect(range.Left, range.Top);
    const TRect last = CellRect(range.Right, range.Bottom);
    if (first.Width() <= 0 && first.Height() <= 0 && last.Width() <= 0 && last.Height() <= 0)
        return;
    // Take the grid lines around the range too: the focus frame sits on the cell's edge.
    update(QRect(first.Left - 1, first.Top - 1, last.Right - first.Left + 2 + gridLineWidth_,
                 last.Bottom - first.Top + 2 + gridLineWidth_));
}

// ---------------------------------------------------------------------------------------------
// Mouse and keyboard

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (isEnabled() && !hasFocus())
        SetFocus();
    if (Button == mbLeft) {
        if (Shift & ssDouble) {
            DblClick();
        } else {
            int col = -1, row = -1;
            if (MouseToCell(X, Y, col, row) && IsOrdinaryCell(col, row)) {
                const bool extend = (Shift & ssShift) && (options_ & goRangeSelect);
                MoveColRow(col, row, !extend, true);
                selecting_ = true;
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
    if (selecting_) {
        int col = -1, row = -1;
        if (MouseToCell(X, Y, col, row) && IsOrdinaryCell(col, row) &&
            TGridCoord{col, row} != current_)
            MoveColRow(col, row, false, true);
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const bool click = Button == mbLeft && selecting_;
    if (click) {
        MouseMove(Shift, X, Y);
        selecting_ = false;
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (click)
        Click();
}

void TCustomGrid::mouseReleaseEvent(QMouseEvent* event) {
    TMouseButton button;
    switch (event->button()) {
    case Qt::LeftButton:
        button = mbLeft;
        break;
    case Qt::RightButton:
        button = mbRight;
        break;
    case Qt::MiddleButton:
        button = mbMiddle;
        break;
    default:
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    MouseUp(button, ShiftStateFromQt(event->modifiers(), event->buttons()), pos.x(), pos.y());
}

void TCustomGrid::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
    emit doubleClicked();
}

void TCustomGrid::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    // Ordinary rows fully shown in the client area: the step of page up and page down.
    auto pageRows = [this] {
        int rows = 0;
        for (int r = fixedRows_; r < RowCount(); ++r)
            if (CellRect(0, r).Bottom <= BorderWidth() + ClientHeight())
                ++rows;
        return std::max(1, rows);
    };
    TGridCoord target = current_;
    const bool ctrl = Shift & ssCtrl;
    switch (Key) {
    case VK_UP:
        --target.Y;
        break;
    case VK_DOWN:
        ++target.Y;
        break;
    case VK_LEFT:
        --target.X;
        break;
    case VK_RIGHT:
        ++target.X;
        break;
    case VK_PRIOR:
        target.Y -= pageRows();
        break;
    case VK_NEXT:
        target.Y += pageRows();
        break;
    case VK_HOME:
        target.X = fixedCols_;
        if (ctrl)
            target.Y = fixedRows_;
        break;
    case VK_END:
        target.X = ColCount() - 1;
        if (ctrl)
            target.Y = RowCount() - 1;
        break;
    default:
        return;
    }
    Key = 0;
    target.X = std::clamp(target.X, fixedCols_, ColCount() - 1);
    target.Y = std::clamp(target.Y, fixedRows_, RowCount() - 1);
    if (target != current_)
        FocusCell(target.X, target.Y, !(Shift & ssShift));
}

void TCustomGrid::WMSetFocus() {
    TCustomControl::WMSetFocus();
    InvalidateRange(Selection());
}

void TCustomGrid::WMKillFocus() {
    TCustomControl::WMKillFocus();
    InvalidateRange(Selection());
}

void TCustomGrid::CMCtl3DChanged() {
    WMSize();
    TCustomControl::CMCtl3DChanged();
}

// ---------------------------------------------------------------------------------------------
// Painting

void TCustomGrid::Paint() {
    TCanvas& canvas = *Canvas();
    TBrush& brush = canvas.Brush();
    TFont& font = canvas.Font();
    font.Assign(this->font());
    brush.Style = bsSolid;

    const int clientRight = BorderWidth() + ClientWidth();
    const int clientBottom = BorderWidth() + ClientHeight();
    const bool focused = hasFocus();
    const TGridRect selection = Selection();
    const bool raisedHeaders = Ctl3D() && (options_ & (goFixedVertLine | goFixedHorzLine)) ==
                                              (goFixedVertLine | goFixedHorzLine);

    int gridRight = BorderWidth(), gridBottom = BorderWidth();
    for (int row = 0; row < RowCount(); ++row) {
        const int top = RowTop(row);
        if (top >= clientBottom)
            break;
        for (int col = 0; col < ColCount(); ++col) {
            const TRect where = CellRect(col, row);
            if (where.Left >= clientRight)
                break;
            const bool fixed = IsFixed(col, row);
            TGridDrawState state = 0;
            if (fixed) {
                state = gdFixed;
                brush.Color = fixedColor_;
                font.Color = clWindowText;
            } else {
                if (selection.Contains(col, row))
                    state |= gdSelected;
                if (focused && current_ == TGridCoord{col, row})
                    state |= gdFocused;
                const bool highlight =
                    (state & gdSelected) &&
                    (!(state & gdFocused) || (options_ & (goDrawFocusSelected | goRowSelect)));
                brush.Color = highlight ? clHighlight : Color();
                font.Color = highlight ? clHighlightText : clWindowText;
            }
            canvas.FillRect(where);
            DrawCell(col, row, where, state);
            if (fixed && raisedHeaders) {
                TRect edge = where;
                Frame3D(canvas, edge, clBtnHighlight, clBtnShadow, 1);
            }
            if (state & gdFocused)
                canvas.DrawFocusRect(where);

            // The grid lines after the cell: black among fixed cells, silver among the others.
            const int vert = VertLineWidth(col), horz = HorzLineWidth(row);
            brush.Color = fixed ? clBlack : clSilver;
            if (vert > 0)
                canvas.FillRect({where.Right, where.Top, where.Right + vert, where.Bottom + horz});
            if (horz > 0)
                canvas.FillRect({where.Left, where.Bottom, where.Right, where.Bottom + horz});
            gridRight = std::max(gridRight, where.Right + vert);
            gridBottom = std::max(gridBottom, where.Bottom + horz);
        }
    }

    // The client area beyond the last column and row.
    brush.Color = Color();
    if (gridRight < clientRight)
        canvas.FillRect({gridRight, BorderWidth(), clientRight, clientBottom});
    if (gridBottom < clientBottom)
        canvas.FillRect(
            {BorderWidth(), gridBottom, std::min(gridRight, clientRight), clientBottom});

    PaintBorder(canvas);
}

void TCustomGrid::PaintBorder(TCanvas& canvas) {
    TRect r = ClientRect();
    if (borderStyle_ == bsNone)
        return;
    if (Ctl3D()) {
        // A sunken edge: shadowed at the top left, lit at the bottom right.
        Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
        Frame3D(canvas, r, cl3DDkShadow, cl3DLight, 1);
    } else {
        canvas.Brush().Color = clWindowFrame;
        canvas.FrameRect(r);
    }
}

// The meta-object code of this unit's classes, compiled here so that a program linking one
// class does not pull in every other class of the library with it.
#include "moc_Grids.cpp"
