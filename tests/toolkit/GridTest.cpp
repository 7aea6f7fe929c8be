// SPDX-License-Identifier: MIT
#include "Grids.h"

#include <QApplication>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A grid that records what the base asks of a subclass: 4 x 3 cells of 20 x 10, one fixed row
// and column, 1-pixel lines, 3-D border of 2.
class ProbeGrid : public TCustomGrid {
public:
    ProbeGrid() {
        OnClick = [this](QObject*) { ++clicks; };
        SetColCount(4);
        SetRowCount(3);
        SetDefaultColWidth(20);
        SetDefaultRowHeight(10);
        SetBounds(0, 0, 120, 60);
    }
    std::function<bool(int, int)> allow; // SelectCell answer; everything when empty
    int clicks = 0;
    std::vector<std::pair<TGridCoord, TGridDrawState>> drawn;

    using TCustomGrid::MoveColRow;
    void PaintNow() {
        drawn.clear();
        Paint();
    }
    void Key(WORD key, TShiftState shift = 0) { KeyDown(key, shift); }
    TGridDrawState StateOf(int col, int row) const {
        for (const auto& [cell, state] : drawn)
            if (cell == TGridCoord{col, row})
                return state;
        return 0xFF;
    }

protected:
    void DrawCell(int ACol, int ARow, const TRect&, TGridDrawState AState) override {
        drawn.push_back({{ACol, ARow}, AState});
    }
    bool SelectCell(int ACol, int ARow) override { return !allow || allow(ACol, ARow); }
};

TEST(GridGeometry, CellRectsAndHitTesting) {
    ProbeGrid g;
    EXPECT_EQ(g.CellRect(2, 1), Rect(44, 13, 64, 23));
    EXPECT_EQ(g.CellRect(4, 0), TRect{});
    EXPECT_EQ(g.CellRect(0, -1), TRect{});
    struct Hit {
        int x, y;
        bool found;
        int col, row;
    };
    const Hit hits[] = {
        {2, 2, true, 0, 0},      {22, 12, true, 0, 0},    {23, 13, true, 1, 1}, // line: cell before
        {85, 34, true, 3, 2},    {88, 30, false, -1, -1},                       // right of the grid
        {50, 36, false, -1, -1}, {1, 5, false, -1, -1} // below it, the border
    };
    for (const Hit& h : hits) {
        int col = 7, row = 7;
        EXPECT_EQ(g.MouseToCell(h.x, h.y, col, row), h.found) << h.x << "," << h.y;
        EXPECT_EQ(QPoint(col, row), QPoint(h.col, h.row)) << h.x << "," << h.y;
    }
    // Lines switched off take no room; no border leaves the whole width to the cells.
    g.SetOptions(goFixedVertLine | goFixedHorzLine);
    g.SetBorderStyle(bsNone);
    g.SetGridLineWidth(3);
    g.SetColWidths(0, 5);
    EXPECT_EQ(g.CellRect(2, 2), Rect(28, 23, 48, 33));
}

TEST(GridSelection, MovesAskSelectCellAndTheCurrentCellStaysInside) {
    ProbeGrid g;
    g.allow = [](int col, int row) { return !(col == 2 && row == 1); };
    g.Key(VK_RIGHT);                 // refused: no skipping over the cell, but a click
    g.Key('A');                      // not a navigation key
    g.MoveColRow(0, 2, true, false); // a fixed column is never current
    g.MoveColRow(3, 5, true, false); // outside the grid
    EXPECT_EQ(QPoint(g.Col(), g.Row()), QPoint(1, 1));
    EXPECT_EQ(g.clicks, 1);
    g.Key(VK_DOWN, ssShift); // with range selection Shift extends from the anchor
    g.Key(VK_RIGHT, ssShift);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 1, 2, 2}));
    g.MoveColRow(3, 2, false, false);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 1, 3, 2}));
    EXPECT_EQ(g.clicks, 3); // a plain move does not click
    g.SetCol(1);            // setting Col does, like a key
    EXPECT_EQ(g.clicks, 4);
    g.SetOptions(g.Options() & ~goRangeSelect);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 2, 1, 2}));
    g.SetOptions(g.Options() | goRowSelect);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 2, 3, 2}));

    g.allow = nullptr;
    g.MoveColRow(3, 2, true, false);
    g.SetColCount(1); // must stay above the fixed columns
    g.SetFixedRows(3);
    g.SetFixedRows(-1);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.FixedRows(), 1);
    g.SetColCount(3);
    g.SetRowCount(2);
    g.SetFixedCols(2);
    EXPECT_EQ(QPoint(g.Col(), g.Row()), QPoint(2, 1));
    g.SetDefaultColWidth(-4);
    EXPECT_EQ(g.ColWidths(0), 0);
}

TEST(GridKeyboard, NavigationKeysClickWhenTheyTryToMove) {
    struct Case {
        TGridCoord from;
        WORD key;
        TShiftState shift;
        TGridCoord to;
    };
    const Case cases[] = {
        {{1, 1}, VK_RIGHT, 0, {2, 1}},    {{1, 1}, VK_LEFT, 0, {1, 1}}, // fixed column
        {{2, 1}, VK_UP, 0, {2, 1}},       {{2, 2}, VK_DOWN, 0, {2, 2}}, // fixed row, last row
        {{3, 2}, VK_RIGHT, 0, {3, 2}},    {{3, 2}, VK_HOME, 0, {1, 2}},
        {{1, 2}, VK_END, 0, {3, 2}},      {{3, 2}, VK_HOME, ssCtrl, {1, 1}},
        {{1, 1}, VK_END, ssCtrl, {3, 2}}, {{2, 1}, VK_NEXT, 0, {2, 2}},
        {{2, 2}, VK_PRIOR, 0, {2, 1}}};
    for (const Case& c : cases) {
        ProbeGrid g;
        g.MoveColRow(c.from.X, c.from.Y, true, false);
        g.Key(c.key, c.shift);
        const auto trace = testing::Message() << c.from.X << "," << c.from.Y << " key " << c.key;
        EXPECT_EQ(QPoint(g.Col(), g.Row()), QPoint(c.to.X, c.to.Y)) << trace;
        EXPECT_EQ(g.clicks, c.from == c.to ? 0 : 1) << trace;
    }
}

TEST(GridMouse, PressesSelectCellsAndReleasesClick) {
    ProbeGrid g;
    g.allow = [](int col, int row) { return !(col == 3 && row == 1); };
    struct Case {
        Qt::MouseButton button;
        QPoint at;
        TGridCoord current;
        int clicks;
    };
    const Case cases[] = {
        {Qt::LeftButton, {50, 30}, {2, 2}, 1},  // ordinary cell
        {Qt::LeftButton, {10, 30}, {2, 2}, 1},  // fixed cell: nothing
        {Qt::LeftButton, {70, 15}, {2, 2}, 2},  // refused cell: stays, still clicks
        {Qt::LeftButton, {110, 50}, {2, 2}, 2}, // outside the cells
        {Qt::LeftButton, {30, 15}, {1, 1}, 3},  {Qt::RightButton, {50, 30}, {1, 1}, 3}};
    for (const Case& c : cases) {
        QTest::mouseClick(&g, c.button, {}, c.at);
        EXPECT_EQ(QPoint(g.Col(), g.Row()), QPoint(c.current.X, c.current.Y)) << c.at.x();
        EXPECT_EQ(g.clicks, c.clicks) << c.at.x();
    }
    // Dragging carries the current cell along; the release clicks once.
    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(30, 30));
    QMouseEvent move(QEvent::MouseMove, QPointF(52, 31), QPointF(52, 31), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&g, &move);
    EXPECT_EQ(g.Col(), 2);
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(52, 31));
    EXPECT_EQ(g.clicks, 4);
}

// Fixed cells on the button face with black lines, ordinary ones on the window colour with silver
// lines; the current cell is highlighted without the focus and framed with it, unless
// goDrawFocusSelected keeps the highlight.
TEST(GridPaint, StatesAndColours) {
    ProbeGrid g;
    g.MoveColRow(2, 1, true, false);
    g.PaintNow();
    EXPECT_EQ(g.drawn.size(), 12u);
    EXPECT_EQ(g.StateOf(2, 0), gdFixed);
    EXPECT_EQ(g.StateOf(2, 1), gdSelected);
    EXPECT_EQ(g.StateOf(3, 2), 0u);
    TCanvas& c = *g.Canvas();
    const TColor windowBg = ColorToRGB(clWindow), highlight = ColorToRGB(clHighlight);
    const std::pair<QPoint, TColor> pixels[] = {{{10, 6}, ColorToRGB(clBtnFace)},
                                                {{54, 18}, highlight},
                                                {{22, 6}, clBlack},
                                                {{64, 28}, clSilver},
                                                {{100, 45}, windowBg},
                                                {{0, 0}, ColorToRGB(clBtnShadow)}};
    for (const auto& [at, colour] : pixels)
        EXPECT_EQ(c.Pixel(at.x(), at.y()), colour) << at.x() << "," << at.y();

    g.show();
    g.activateWindow();
    g.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&g) && g.hasFocus());
    g.PaintNow();
    EXPECT_EQ(g.StateOf(2, 1), gdSelected | gdFocused);
    EXPECT_EQ(c.Pixel(54, 18), windowBg);
    int framed = 0; // dots of the focus frame along the cell's top edge
    for (int x = 44; x < 64; ++x)
        framed += c.Pixel(x, 13) != windowBg;
    EXPECT_GE(framed, 5);
    g.SetOptions(g.Options() | goDrawFocusSelected);
    g.PaintNow();
    EXPECT_EQ(c.Pixel(54, 18), highlight);
}

} // namespace
