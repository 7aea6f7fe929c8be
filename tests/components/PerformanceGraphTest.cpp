// The strip chart: ring history, scale rule, scrolling, bars and lines, grid and full redraws.
#include "Perfgrap.h"
#include "SysUtils.h"

#include <QMetaProperty>
#include <climits>
#include <gtest/gtest.h>

namespace {

constexpr TColor kGrid = 0x008000;

TColor At(const TPerformanceGraph& g, int x, int y) {
    return PixelToColor(g.GraphBitmap().Image().pixel(x, y));
}

// Columns of row y that show the given colour.
std::vector<int> ColumnsOf(const TPerformanceGraph& g, int y, TColor color) {
    std::vector<int> xs;
    for (int x = 0; x < g.GraphBitmap().Width(); ++x)
        if (At(g, x, y) == color)
            xs.push_back(x);
    return xs;
}

// Rows of column x that show the given colour, as [first, last] runs flattened.
std::vector<int> RowsOf(const TPerformanceGraph& g, int x, TColor color) {
    std::vector<int> ys;
    for (int y = 0; y < g.GraphBitmap().Height(); ++y)
        if (At(g, x, y) == color)
            ys.push_back(y);
    return ys;
}

// Topmost row of column x in the given colour, -1 when there is none.
int TopRow(const TPerformanceGraph& g, int x, TColor color) {
    const std::vector<int> ys = RowsOf(g, x, color);
    return ys.empty() ? -1 : ys.front();
}

std::vector<int> Range(int first, int last) {
    std::vector<int> v;
    for (int i = first; i <= last; ++i)
        v.push_back(i);
    return v;
}

TEST(PerformanceGraph, NewGraph) {
    TPerformanceGraph g;
    EXPECT_EQ(g.Width(), 100);
    EXPECT_EQ(g.Height(), 100);
    EXPECT_EQ(g.HistorySize(), 35);
    EXPECT_EQ(g.GridPhase(), 4);
    EXPECT_EQ(g.Scale(), 1000);
    EXPECT_EQ(g.Gradient(), 100);
    EXPECT_EQ(g.Kind(), pgLine);
    EXPECT_EQ(g.NewBandRect(), (TRect{97, 0, 100, 100}));
    // Vertical grid lines (row 1 has no horizontal line) and horizontal ones every 15 rows.
    EXPECT_EQ(ColumnsOf(g, 1, kGrid), (std::vector<int>{14, 29, 44, 59, 74, 89}));
    EXPECT_EQ(RowsOf(g, 1, kGrid), (std::vector<int>{15, 30, 45, 60, 75, 90}));
    EXPECT_EQ(At(g, 0, 0), clBlack);
}

TEST(PerformanceGraph, DeclaredDefaultsMatchANewGraph) {
    TPerformanceGraph g;
    const QMetaObject* meta = g.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const char* name = meta->property(i).name();
        EXPECT_TRUE(DeclaredDefault(&g, name).isValid()) << name;
        EXPECT_FALSE(IsPropertyStored(&g, name)) << name;
    }
    // A gradient of 1000 chosen for a form is saved rather than lost.
    g.SetGradient(1000);
    EXPECT_TRUE(IsPropertyStored(&g, "Gradient"));
}

TEST(PerformanceGraph, RoundUp) {
    struct Case {
        int value, multiple, expected;
    };
    const Case cases[] = {
        {1234, 100, 1300},
        {1300, 100, 1300},
        {-150, 100, 0},
        {0, 100, 0},
        {5, 0, 5},
        {1001, 1000, 2000},
        {INT_MAX, 1000, INT_MAX},
        {INT_MIN, -1, INT_MIN},
        {INT_MIN, 1000, -2147483000 + 1000},
    };
    for (const Case& k : cases)
        EXPECT_EQ(TPerformanceGraph::RoundUp(k.value, k.multiple), k.expected)
            << k.value << " " << k.multiple;
}

TEST(PerformanceGraph, ScaleFollowsTheData) {
    TPerformanceGraph g;
    int changes = 0;
    g.OnScaleChange = [&](QObject* sender) {
        EXPECT_EQ(sender, &g);
        ++changes;
    };
    g.DataPoint(clRed, 1234);
    g.Update();
    EXPECT_EQ(g.Scale(), 1300);
    EXPECT_EQ(changes, 1);

    // A step below the scale keeps it and only draws the new band.
    const QImage before = g.GraphBitmap().Image().copy();
    g.DataPoint(clRed, 1000);
    g.Update();
    EXPECT_EQ(g.Scale(), 1300);
    EXPECT_EQ(changes, 1);
    const QImage& after = g.GraphBitmap().Image();
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 97; ++x)
            ASSERT_EQ(after.pixel(x, y), before.pixel(x + 3, y)) << x << "," << y;

    // With a gradient of 1000, SetScale rounds up.
    g.SetGradient(1000);
    EXPECT_EQ(g.Scale(), 1300); // not recomputed
    g.SetScale(1001);
    EXPECT_EQ(g.Scale(), 2000);
    g.SetScale(3000);
    EXPECT_EQ(g.Scale(), 3000);
    EXPECT_EQ(changes, 3);
    g.SetScale(3000);
    EXPECT_EQ(changes, 3);
}

TEST(PerformanceGraph, ScaleZeroDrawsNothing) {
    TPerformanceGraph g;
    int changes = 0;
    g.OnScaleChange = [&](QObject*) { ++changes; };
    g.Update(); // no points at all
    EXPECT_EQ(g.Scale(), 0);
    EXPECT_EQ(changes, 1);
    for (TGraphKind kind : {pgLine, pgBar}) {
        g.SetKind(kind);
        g.DataPoint(clRed, -5); // nothing positive: the scale stays 0
        g.DataPoint(clBlue, -2);
        g.Update();
        EXPECT_EQ(g.Scale(), 0);
        EXPECT_TRUE(ColumnsOf(g, 50, clRed).empty());
        EXPECT_TRUE(ColumnsOf(g, 99, clRed).empty());
    }
}

TEST(PerformanceGraph, StackedBars) {
    TPerformanceGraph g;
    g.SetGradient(1000);
    g.SetKind(pgBar);
    g.SetGridlines(false);
    g.DataPoint(clRed, 250);
    g.DataPoint(clLime, 0); // skipped, keeps the running value
    g.DataPoint(clBlue, 750);
    g.Update();
    EXPECT_EQ(g.Scale(), 1000);
    for (int x : {97, 98, 99}) {
        EXPECT_EQ(RowsOf(g, x, clRed), Range(75, 99)) << x;
        EXPECT_EQ(RowsOf(g, x, clBlue), Range(24, 74)) << x;
        EXPECT_TRUE(RowsOf(g, x, clLime).empty());
    }
    EXPECT_TRUE(RowsOf(g, 96, clRed).empty());
}

TEST(PerformanceGraph, LinesJoinEachColoursValues) {
    TPerformanceGraph g;
    g.SetGradient(1000);
    g.SetGridlines(false);
    g.DataPoint(clRed, 500);
    g.Update();
    // A colour new to the graph starts at 0, the bottom edge, and rises to row 50.
    EXPECT_EQ(At(g, 97, 99), clRed);
    EXPECT_TRUE(RowsOf(g, 99, clRed).size() > 0);
    EXPECT_GE(RowsOf(g, 99, clRed).front(), 51);
    g.DataPoint(clBlue, 100);
    g.DataPoint(clRed, 500);
    g.Update();
    EXPECT_EQ(ColumnsOf(g, 50, clRed), (std::vector<int>{97, 98, 99}));
    EXPECT_EQ(At(g, 97, 99), clBlue); // blue is new in this step too
}

TEST(PerformanceGraph, SeventeenthPointIsRefused) {
    TPerformanceGraph g;
    for (int i = 0; i < 16; ++i)
        g.DataPoint(clRed, i);
    EXPECT_THROW(g.DataPoint(clBlue, 99), ERangeError);
    const TGraphBand& band = g.History(g.CurrentY());
    EXPECT_EQ(band.Count, 16);
    EXPECT_EQ(band.Values[15], 15);
    g.Update();
    g.DataPoint(clBlue, 1); // a new step takes points again
    EXPECT_EQ(g.History(g.CurrentY()).Count, 1);
}

TEST(PerformanceGraph, GridAndStepClamping) {
    TPerformanceGraph g;
    g.SetGridSize(1);
    EXPECT_EQ(g.GridSize(), 2);
    g.SetStepSize(0);
    EXPECT_EQ(g.StepSize(), 1);
    EXPECT_EQ(g.HistorySize(), 102);
    g.SetStepSize(-7);
    EXPECT_EQ(g.StepSize(), 1);
    g.SetPenWidth(5);
    EXPECT_EQ(g.Canvas()->Pen().Width, 5);
}

TEST(PerformanceGraph, VerticalGridLinesScrollWithThePhase) {
    struct Case {
        int step, grid, steps;
    };
    // The last one has steps wider than the grid: every line still keeps the grid's spacing.
    const Case cases[] = {{3, 15, 1}, {3, 15, 2}, {3, 15, 40}, {5, 7, 33}, {20, 15, 9}};
    for (const Case& k : cases) {
        TPerformanceGraph g;
        g.SetGridSize(k.grid);
        g.SetStepSize(k.step);
        for (int i = 0; i < k.steps; ++i)
            g.Update();
        const std::vector<int> xs = ColumnsOf(g, 1, kGrid);
        ASSERT_FALSE(xs.empty());
        for (std::size_t i = 1; i < xs.size(); ++i)
            EXPECT_EQ(xs[i] - xs[i - 1], k.grid) << k.step << "/" << k.grid << " x " << k.steps;
        EXPECT_GE(g.GridPhase(), 0);
        EXPECT_LT(g.GridPhase(), k.grid);
        EXPECT_EQ(99 - xs.back() + 1 + g.GridPhase(), k.grid);
    }
    // After two plain steps the line brought into view stands at x = 98.
    TPerformanceGraph g;
    g.Update();
    g.SetScale(0); // keeps the third and later steps free of full redraws
    g.Update();
    EXPECT_EQ(ColumnsOf(g, 1, kGrid).back(), 98);
}

TEST(PerformanceGraph, FullRedrawMatchesScrolledPicture) {
    struct Case {
        TGraphKind kind;
        int width, step;
    };
    // The last case has fewer bands (2) than the remainder of its width by the step (2 of 10/4).
    const Case cases[] = {{pgLine, 100, 3}, {pgBar, 100, 3}, {pgLine, 77, 7}, {pgBar, 10, 4}};
    for (const Case& k : cases) {
        TPerformanceGraph g;
        g.SetGradient(1000);
        g.SetKind(k.kind);
        g.SetWidth(k.width);
        g.SetStepSize(k.step);
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
        const QImage& redrawn = g.GraphBitmap().Image();
        // Left of the first whole band lies what is left of the oldest step, which a full
        // redraw does not show.
        int differences = 0;
        for (int y = 0; y < redrawn.height(); ++y)
            for (int x = k.width % k.step; x < k.width; ++x)
                if (redrawn.pixel(x, y) != scrolled.pixel(x, y) && ++differences < 5)
                    ADD_FAILURE() << k.kind << " " << k.width << "/" << k.step << " differs at "
                                  << x << "," << y;
        EXPECT_EQ(differences, 0);
    }
}

TEST(PerformanceGraph, WidthChangesResizeTheHistory) {
    TPerformanceGraph g;
    g.SetGradient(1000);
    g.SetKind(pgBar);
    for (int i = 1; i <= 40; ++i) {
        g.DataPoint(clRed, i * 10);
        g.Update();
    }
    // Growing keeps every step and adds empty ones; the newest stays at the right edge, and the
    // next step scrolls in right next to it.
    g.SetWidth(200);
    g.grab();
    EXPECT_EQ(g.HistorySize(), 200 / 3 + 2);
    EXPECT_EQ(g.GraphBitmap().Width(), 200);
    EXPECT_EQ(g.History(g.CurrentY()).Count, 0);
    EXPECT_EQ(TopRow(g, 199, clRed), 100 - 40 - 1);
    EXPECT_EQ(TopRow(g, 196, clRed), 100 - 39 - 1);
    EXPECT_EQ(TopRow(g, 95, clRed), -1);
    g.DataPoint(clRed, 500);
    g.Update();
    EXPECT_EQ(TopRow(g, 199, clRed), 100 - 50 - 1);
    EXPECT_EQ(TopRow(g, 196, clRed), 100 - 40 - 1);
    const QImage scrolled = g.GraphBitmap().Image().copy();
    g.SetGridlines(false);
    g.SetGridlines(true);
    EXPECT_EQ(g.GraphBitmap().Image().copy(2, 0, 198, 100), scrolled.copy(2, 0, 198, 100));
    // Shrinking drops the oldest steps.
    g.SetWidth(30);
    g.grab();
    EXPECT_EQ(g.HistorySize(), 12);
    EXPECT_EQ(TopRow(g, 29, clRed), 100 - 50 - 1);
    EXPECT_EQ(TopRow(g, 26, clRed), 100 - 40 - 1);
    // A height change redraws at the new height.
    g.SetHeight(50);
    g.grab();
    EXPECT_EQ(g.GraphBitmap().Height(), 50);
    EXPECT_EQ(TopRow(g, 29, clRed), 50 - 25 - 1);
}

TEST(PerformanceGraph, FullRedrawBeforeAnyPaintFollowsANewWidth) {
    TPerformanceGraph g;
    g.SetKind(pgBar);
    g.SetWidth(300); // hidden: no paint notices the new width
    for (int i = 0; i < 120; ++i) {
        g.DataPoint(clRed, 100 + i); // the scale changes now and then: full redraws
        g.Update();
    }
    EXPECT_EQ(g.HistorySize(), 300 / 3 + 2);
    g.grab();
    // The last 100 steps fill the picture without a gap.
    for (int x = 0; x < 300; x += 3)
        EXPECT_NE(TopRow(g, x, clRed), -1) << x;
}

TEST(PerformanceGraph, NarrowerThanOneStep) {
    TPerformanceGraph g;
    g.SetStepSize(5);
    g.SetWidth(3);
    const QImage shot = g.grab().toImage();
    EXPECT_EQ(shot.width(), 3);
    EXPECT_EQ(g.GetBandCount(), 0);
    EXPECT_EQ(g.HistorySize(), 2);
    g.SetKind(pgBar);
    g.DataPoint(clRed, 100);
    g.Update();
    g.DataPoint(clRed, 100);
    g.Update(); // the band reaches in from the left of the picture
    EXPECT_EQ(ColumnsOf(g, 99, clRed), (std::vector<int>{0, 1, 2}));
    g.SetGridlines(false); // a full redraw with no whole band divides by nothing
    EXPECT_EQ(g.NewBandRect(), (TRect{-2, 0, 3, 100}));
}

TEST(PerformanceGraph, ExtremeValuesStayInRange) {
    TPerformanceGraph g;
    g.SetKind(pgBar);
    g.DataPoint(clRed, INT_MIN);
    g.DataPoint(clBlue, INT_MAX);
    g.Update();
    EXPECT_EQ(g.Scale(), INT_MAX);
    EXPECT_EQ(TopRow(g, 99, clBlue), 0);
    g.SetKind(pgLine);
    g.SetScale(1);
    g.DataPoint(clRed, INT_MAX);
    g.Update();
    g.grab();
}

TEST(PerformanceGraph, SettersRedrawWithTheNewLook) {
    TPerformanceGraph g;
    g.SetBackColor(clNavy);
    EXPECT_EQ(At(g, 0, 0), clNavy);
    g.SetForeColor(clYellow);
    EXPECT_EQ(ColumnsOf(g, 1, clYellow), (std::vector<int>{14, 29, 44, 59, 74, 89}));
    g.SetGridSize(40);
    EXPECT_EQ(RowsOf(g, 1, clYellow), (std::vector<int>{40, 80}));
    g.SetGridlines(false);
    EXPECT_TRUE(RowsOf(g, 1, clYellow).empty());
    EXPECT_TRUE(ColumnsOf(g, 1, clYellow).empty());
}

} // namespace
