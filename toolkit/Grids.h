// SPDX-License-Identifier: MIT
#pragma once
// A grid of cells drawn by a subclass: TCustomGrid lays out rows and columns, keeps the current
// cell (and, with goRangeSelect, an anchor that spans a selection), paints the fixed and the
// ordinary cells with grid lines between them, and moves the current cell with the mouse and the
// keyboard. Subclasses draw the cell contents in DrawCell and may refuse cells in SelectCell.
//
// Geometry: each column is followed by a vertical grid line and each row by a horizontal one,
// GridLineWidth pixels wide (0 where the option for that kind of line is off). Cells are laid out
// from the top-left corner of the client area, which lies inside the border. The grid does not
// scroll: cells beyond the client area are not shown.
#include "Controls.h"

#include <vector>

// A cell position (column X, row Y) and a cell range (inclusive on all sides).
struct TGridCoord {
    int X = 0, Y = 0;
    constexpr bool operator==(const TGridCoord&) const = default;
};
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    constexpr bool operator==(const TGridRect&) const = default;
    constexpr bool Contains(int col, int row) const {
        return col >= Left && col <= Right && row >= Top && row <= Bottom;
    }
};

// Grid options (a set of go* bits).
using TGridOptions = unsigned;
inline constexpr TGridOptions goFixedVertLine = 0x001;     // lines between fixed columns
inline constexpr TGridOptions goFixedHorzLine = 0x002;     // lines between fixed rows
inline constexpr TGridOptions goVertLine = 0x004;          // lines between ordinary columns
inline constexpr TGridOptions goHorzLine = 0x008;          // lines between ordinary rows
inline constexpr TGridOptions goRangeSelect = 0x010;       // the selection may span several cells
inline constexpr TGridOptions goDrawFocusSelected = 0x020; // current cell highlighted with focus
inline constexpr TGridOptions goRowSelect = 0x040;         // whole rows are selected

// State of a cell handed to DrawCell (a set of gd* bits).
using TGridDrawState = unsigned;
inline constexpr TGridDrawState gdSelected = 0x1; // inside the selection
inline constexpr TGridDrawState gdFocused = 0x2;  // the current cell of a focused grid
inline constexpr TGridDrawState gdFixed = 0x4;    // a fixed (header) cell

class TCustomGrid : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(TControl::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle NOTIFY
                   borderStyleChanged)
    Q_PROPERTY(
        int GridLineWidth READ GridLineWidth WRITE SetGridLineWidth NOTIFY gridLineWidthChanged)
public:
    explicit TCustomGrid(QWidget* parent = nullptr);

    // Numbers of columns and rows (at least one more than the fixed ones; other values are
    // ignored). Shrinking moves the current cell inside the grid.
    int ColCount() const { return int(colWidths_.size()); }
    void SetColCount(int value);
    int RowCount() const { return int(rowHeights_.size()); }
    void SetRowCount(int value);
    // Leading columns and rows drawn as headers and never selected (0 .. count - 1).
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int value);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int value);

    // Setting a default size gives every column (row) that size. Sizes here and below are kept
    // within 0 .. 2^20 pixels.
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int value);
    // Size of one column or row; 0 for an index outside the grid.
    int ColWidths(int col) const;
    void SetColWidths(int col, int value);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int value);
    // Width of the grid lines (1 initially).
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int value);

    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions value);

    // Border around the client area: bsSingle (initially) or bsNone.
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    // Width of the border in pixels: 2 for a 3-D single border, 1 for a flat one, else 0.
    int BorderWidth() const;
    // Size of the area inside the border.
    int ClientWidth() const;
    int ClientHeight() const;

    // Background of the fixed cells (clBtnFace initially).
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor value);

    // The current cell. Setting it goes through SelectCell and then Click, like a key move.
    int Col() const { return current_.X; }
    void SetCol(int value);
    int Row() const { return current_.Y; }
    void SetRow(int value);
    // The selected range: the current cell and the anchor (a single cell without goRangeSelect).
    TGridRect Selection() const;

    // Rectangle of a cell in control coordinates, grid lines excluded; empty for a cell outside
    // the grid.
    TRect CellRect(int col, int row) const;
    // The cell under a point in control coordinates; false (and -1, -1) where there is none.
    bool MouseToCell(int x, int y, int& col, int& row) const;

    // Repaints one cell, or the whole grid.
    void InvalidateCell(int col, int row);
    void InvalidateGrid() { Invalidate(); }

    // Draws the border, the cells (through DrawCell) and the grid lines.
    void Paint() override;

    TNotifyEvent OnDblClick;

signals:
    void borderStyleChanged(TControl::TFormBorderStyle value);
    void gridLineWidthChanged(int value);
    // With OnDblClick.
    void doubleClicked();

protected:
    // Draws the contents of one cell. Brush and font are prepared for the cell's state and the
    // rectangle is already filled with the brush.
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
    // Whether the current cell may move to the given cell; every move asks first.
    virtual bool SelectCell(int ACol, int ARow);
    // A second press of the left button in quick succession; fires OnDblClick.
    virtual void DblClick();

    // Moves the current cell to an ordinary cell if SelectCell agrees. With MoveAnchor false and
    // goRangeSelect on, the anchor stays and the selection spans both. Show asks to bring the
    // cell into view, which the non-scrolling grid always has.
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
    // MoveColRow, then Click: what a key press or a change of Col/Row does.
    void FocusCell(int ACol, int ARow, bool MoveAnchor);

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void WMSetFocus() override;
    void WMKillFocus() override;
    // The border, and with it the client area, changes with the 3-D look.
    void CMCtl3DChanged() override;

    // The grid fires Click itself (after a selecting press or a key move), not on every release.
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool IsFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }
    bool IsOrdinaryCell(int col, int row) const;
    int VertLineWidth(int col) const;
    int HorzLineWidth(int row) const;
    int ColumnLeft(int col) const;
    int RowTop(int row) const;
    void ClampCurrent();
    void InvalidateRange(const TGridRect& range);
    void PaintBorder(TCanvas& canvas);

    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    int gridLineWidth_ = 1;
    TGridOptions options_ =
        goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    TFormBorderStyle borderStyle_ = bsSingle;
    TColor fixedColor_ = clBtnFace;
    TGridCoord current_{1, 1};
    TGridCoord anchor_{1, 1};
    bool selecting_ = false;
};
