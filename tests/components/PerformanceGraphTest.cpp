// SPDX-License-Identifier: MIT
// The strip chart: ring history, scale rule, scrolling, bars and lines, grid and full redraws.
#include "Perfgrap.h"
#include "Pixels.h"
#include "Signals.h"
#include "SysUtils.h"

#include <climits>

namespace {

constexpr TColor kGrid = 0x008000;

TColor At(const TPerformanceGraph& g, int x, int y) {
    return pixels::At(g.GraphBitmap().Image(), x, y);
}
std::vector<int> ColumnsOf(const TPerformanceGraph& g, int y, TColor color) {
    return pixels::ColumnsOf(g.GraphBitmap().Image(), y, color);
}
std::vector<int> RowsOf(const TPerformanceGraph& g, int x, TColor color) {
    return pixels::RowsOf(g.GraphBitmap().Image(), x, color);
}
// Topmost row of column x in the given colour, -1 when there is none.
int TopRow(const TPerformanceGraph& g, int x, TColor color) {
    const std::vector<int> ys = RowsOf(g, x, color);
    return ys.empty() ? -1 : ys.front();
}

TEST(PerformanceGraph, GridLinesColoursAndClamps) {
    TPerformanceGraph g;
    // Vertical grid lines (row 1 has no horizontal line) and horizontal ones every 15 rows.
    EXPECT_EQ(ColumnsOf(g, 1, kGrid), (std::vector<int>{14, 29, 44, 59, 74, 89}));
    EXPECT_EQ(RowsOf(g, 1, kGrid), (std::vector<int>{15, 30, 45, 60, 75, 90}));

    g.SetBackColor(clNavy);
    EXPECT_EQ(At(g, 0, 0), clNavy);
    g.SetForeColor(clYellow);
    EXPECT_EQ(ColumnsOf(g, 1, clYellow).size(), 6u);
    g.SetGridSize(40);
    EXPECT_EQ(RowsOf(g, 1, clYellow), (std::vector<int>{40, 80}));
    g.SetGridlines(false);
    EXPECT_TRUE(RowsOf(g, 1, clYellow).empty());
    EXPECT_TRUE(ColumnsOf(g, 1, clYellow).empty());
    // Clamping: the grid is at least 2, a step at least 1 (which resizes the history).
    g.SetGridSize(1);
    EXPECT_EQ(g.GridSize(), 2);
    g.SetStepSize(-7);
    EXPECT_EQ(g.StepSize(), 1);
    EXPECT_EQ(g.HistorySize(), 102);
}

// The scale is the largest point rounded up to the gradient; with nothing positive it stays 0
// and nothing is drawn.
TEST(PerformanceGraph, ScaleFollowsTheData) {
    TPerformanceGraph g;
    for (TGraphKind kind : {pgLine, pgBar}) {
        g.SetKind(kind);
        g.DataPoint(clRed, -5);
        g.Update();
        EXPECT_EQ(g.Scale(), 0);
        EXPECT_TRUE(ColumnsOf(g, 99, clRed).empty());
    }
    Events e; // the scale event with its signal: a new scale, and a SetScale that rounds to it
    g.OnScaleChange = e.On(&g, SIGNAL(scaleChanged(int)), 3);
    g.DataPoint(clRed, 1234);
    g.Update();
    EXPECT_EQ(g.Scale(), 1300);
    g.DataPoint(clRed, 1000); // below the scale: kept
    g.Update();
    EXPECT_EQ(g.Scale(), 1300);

    // With a gradient of 1000, SetScale rounds up; the current scale is not recomputed.
    g.SetGradient(1000);
    EXPECT_EQ(g.Scale(), 1300);
    g.SetScale(1001);
    EXPECT_EQ(g.Scale(), 2000);
    g.SetScale(2000);
    g.SetScale(1999);
    e.Check();
    // The rounding at the ends of the range: no overflow, no division by a zero multiple.
    const std::tuple<int, int, int> cases[] = {{-150, 100, 0},
                                               {5, 0, 5},
                                               {INT_MAX, 1000, INT_MAX},
                                               {INT_MIN, -1, INT_MIN},
                                               {INT_MIN, 1000, -2147482000}};
    for (const auto& [value, multiple, expected] : cases)
        EXPECT_EQ(TPerformanceGraph::RoundUp(value, multiple), expected)
            << value << " " << multiple;
}

TEST(PerformanceGraph, StackedBarsAndLines) {
    TPerformanceGraph g;
    g.SetGradient(1000);
    g.SetKind(pgBar);
    g.SetGridlines(false);
    g.DataPoint(clRed, 250);
    g.DataPoint(clLime, 0); // skipped, keeps the running value
    g.DataPoint(clBlue, 750);
    g.Update();
    EXPECT_EQ(g.Scale(), 1000);
    for (int x : {97, 99}) {
        EXPECT_EQ(RowsOf(g, x, clRed).size(), 25u) << x;
        EXPECT_EQ(TopRow(g, x, clRed), 75) << x;
        EXPECT_EQ(RowsOf(g, x, clBlue).size(), 51u) << x;
        EXPECT_EQ(TopRow(g, x, clBlue), 24) << x;
        EXPECT_EQ(TopRow(g, x, clLime), -1);
    }
    EXPECT_EQ(TopRow(g, 96, clRed), -1);
    g.DataPoint(clRed, 5); // less than a row: no bar at all
    g.Update();
    EXPECT_EQ(TopRow(g, 99, clRed), -1);

    TPerformanceGraph l;
    l.SetGradient(1000);
    l.SetGridlines(false);
    l.DataPoint(clRed, 500);
    l.Update();
    // A colour new to the graph starts at 0, the bottom edge, and rises to row 50.
    EXPECT_EQ(At(l, 97, 99), clRed);
    EXPECT_GE(TopRow(l, 99, clRed), 51);
    l.DataPoint(clBlue, 100);
    l.DataPoint(clRed, 500);
    l.DataPoint(clRed, 800);
    l.Update();
    EXPECT_EQ(ColumnsOf(l, 50, clRed), (std::vector<int>{97, 98, 99}));
    EXPECT_EQ(At(l, 97, 99), clBlue); // blue is new in this step too
    // Each red point of a step starts from the step before's first red point (500), not its
    // last (800).
    l.DataPoint(clRed, 200);
    l.Update();
    EXPECT_EQ(TopRow(l, 97, clRed), 50);
}

TEST(PerformanceGraph, VerticalGridLinesScrollWithThePhase) {
    // Steps wider than the grid keep its spacing too. The INT_MAX step costs no more than any
    // other: drawing every line it scrolls past (10^9 a step) would run past the time limit.
    const std::tuple<int, int, int> cases[] = {{3, 15, 1},  {3, 15, 40}, {5, 7, 33},
                                               {20, 15, 9}, {150, 7, 4}, {INT_MAX, 2, 12}};
    for (const auto& [step, grid, steps] : cases) {
        TPerformanceGraph g;
        g.SetGridSize(grid);
        g.SetStepSize(step);
        for (int i = 0; i < steps; ++i)
            g.Update();
        const std::vector<int> xs = ColumnsOf(g, 1, kGrid);
        ASSERT_FALSE(xs.empty());
        for (std::size_t i = 1; i < xs.size(); ++i)
            EXPECT_EQ(xs[i] - xs[i - 1], grid) << step << "/" << grid << " x " << steps;
        EXPECT_GE(g.GridPhase(), 0);
        EXPECT_EQ(99 - xs.back() + 1 + g.GridPhase(), grid);
    }
    // After two plain steps the line brought into view stands at x = 98.
    TPerformanceGraph g;
    g.Update();
    g.SetScale(0); // keeps later steps free of full redraws
    g.Update();
    EXPECT_EQ(ColumnsOf(g, 1, kGrid).back(), 98);
}

TEST(PerformanceGraph, FullRedrawMatchesScrolledPicture) {
    // The last case has fewer bands (2) than the remainder of its width by the step (2 of 10/4).
    const std::tuple<TGraphKind, int, int> cases[] = {
        {pgLine, 100, 3}, {pgBar, 100, 3}, {pgLine, 77, 7}, {pgBar, 10, 4}};
    for (const auto& [kind, width, step] : cases) {
        TPerformanceGraph g;
        g.SetGradient(1000);
        g.SetKind(kind);
        g.SetWidth(width);
        g.SetStepSize(step);
        for (int i = 0; i < 50; ++i) {
            g.DataPoint(clRed, 100 + (i * 37) % 400);
            g.DataPoint(clBlue, 500 + (i * 53) % 400);
            if (i % 3 == 0)
                g.DataPoint(clYellow, 950);
            g.Update();
        }
        ASSERT_EQ(g.Scale(), 1000);
        const QImage scrolled = g.GraphBitmap().Image().copy();
        g.SetGridlines(false);
        g.SetGridlines(true); // two full redraws
        // Left of the first whole band lies what is left of the oldest step, which a full
        // redraw does not show.
        const int skip = width % step;
        EXPECT_EQ(g.GraphBitmap().Image().copy(skip, 0, width - skip, 100),
                  scrolled.copy(skip, 0, width - skip, 100))
            << kind << " " << width << "/" << step;
    }
}

TEST(PerformanceGraph, WidthChangesResizeTheHistory) {
    QWidget form; // shown on a form, the graph redraws within its paint, which must not repaint
    TPerformanceGraph& g = *new TPerformanceGraph(&form);
    form.show();
    g.SetGradient(1000);
    g.SetKind(pgBar);
    for (int i = 1; i <= 40; ++i) {
        g.DataPoint(clRed, i * 10);
        g.Update();
    }
    // Growing keeps every step and adds empty ones; the newest stays at the right edge, and the
    // next step scrolls in right next to it.
    g.SetWidth(200);
    QApplication::processEvents(); // painted as shown
    EXPECT_EQ(g.HistorySize(), 200 / 3 + 2);
    EXPECT_EQ(TopRow(g, 199, clRed), 100 - 40 - 1);
    EXPECT_EQ(TopRow(g, 95, clRed), -1);
    g.DataPoint(clRed, 500);
    g.Update();
    EXPECT_EQ(TopRow(g, 199, clRed), 100 - 50 - 1);
    EXPECT_EQ(TopRow(g, 196, clRed), 100 - 40 - 1);
    const QImage scrolled = g.GraphBitmap().Image().copy(2, 0, 198, 100);
    g.SetGridlines(false);
    g.SetGridlines(true); // a full redraw from the resized history shows the same
    EXPECT_EQ(g.GraphBitmap().Image().copy(2, 0, 198, 100), scrolled);
    // Shrinking drops the oldest steps; a height change redraws at the new height.
    g.SetWidth(30);
    QApplication::processEvents(); // painted as shown
    EXPECT_EQ(g.HistorySize(), 12);
    EXPECT_EQ(TopRow(g, 26, clRed), 100 - 40 - 1);
    g.SetHeight(50);
    QApplication::processEvents(); // painted as shown
    EXPECT_EQ(TopRow(g, 29, clRed), 50 - 25 - 1);

    // A full redraw before any paint follows a new width too, without a gap.
    TPerformanceGraph h;
    h.SetKind(pgBar);
    h.SetWidth(300); // hidden: no paint notices the new width
    for (int i = 0; i < 120; ++i) {
        h.DataPoint(clRed, 100 + i); // the scale changes now and then: full redraws
        h.Update();
    }
    h.grab();
    for (int x = 0; x < 300; x += 3)
        EXPECT_NE(TopRow(h, x, clRed), -1) << x;
}

// A step holds 16 points; a graph narrower than one step still draws; the extreme values neither
// overflow nor wrap.
TEST(PerformanceGraph, FullStepsNarrowGraphsAndExtremeValues) {
    TPerformanceGraph f;
    for (int i = 0; i < 16; ++i)
        f.DataPoint(clRed, i);
    EXPECT_THROW(f.DataPoint(clBlue, 99), ERangeError);
    f.Update();
    f.DataPoint(clBlue, 1); // a new step takes points again
    EXPECT_EQ(f.History(f.CurrentY()).Count, 1);

    TPerformanceGraph g;
    g.SetStepSize(5);
    g.SetWidth(3);
    g.SetKind(pgBar);
    for (int i = 0; i < 2; ++i) {
        g.DataPoint(clRed, 100);
        g.Update();
    }
    // The band reaches in from the left of the picture.
    EXPECT_EQ(ColumnsOf(g, 99, clRed), (std::vector<int>{0, 1, 2}));
    g.SetGridlines(false); // a full redraw with no whole band divides by nothing
    EXPECT_EQ(g.NewBandRect(), (TRect{-2, 0, 3, 100}));

    TPerformanceGraph e;
    e.SetKind(pgBar);
    e.DataPoint(clRed, INT_MIN);
    e.DataPoint(clBlue, INT_MAX);
    e.Update();
    EXPECT_EQ(e.Scale(), INT_MAX);
    EXPECT_EQ(TopRow(e, 99, clBlue), 0);
    e.SetKind(pgLine);
    e.SetScale(1);
    e.DataPoint(clRed, INT_MAX);
    e.Update();
    e.grab();
}

} // namespace
