// The colour grid: palette, size snapping, picks by mouse and keyboard, markers and looks.
#include "Cgrid.h"

#include <QMetaProperty>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>

namespace {

// Exposes the grid's drawing state for checks.
struct Grid : TCColorGrid {
    int changes = 0, clicks = 0;
    Grid() {
        OnChange = [this](QObject* sender) {
            EXPECT_EQ(sender, this);
            ++changes;
        };
        OnClick = [this](QObject*) { ++clicks; };
    }
    QImage Shot() { return grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QPoint Centre(int square) const {
        return QPoint((square % Columns()) * CellWidth() + CellWidth() / 2,
                      (square / Columns()) * CellHeight() + CellHeight() / 2);
    }
    void Key(Qt::Key key) { QTest::keyClick(this, key); }
};

TColor At(const QImage& image, int x, int y) {
    return PixelToColor(image.pixel(x, y));
}

// Black or white per component, whichever stands out on the colour.
TColor MarkerColour(TColor back) {
    auto flip = [](int v) { return v >= 128 ? 0 : 255; };
    return RGB(flip(GetRValue(back)), flip(GetGValue(back)), flip(GetBValue(back)));
}

// Pixels of the cell that show the text colour.
int TextPixels(const QImage& shot, const Grid& g, int square, TColor color) {
    int n = 0;
    const int left = (square % g.Columns()) * g.CellWidth();
    const int top = (square / g.Columns()) * g.CellHeight();
    for (int y = top + 3; y < top + g.CellHeight() - 3; ++y)
        for (int x = left + 3; x < left + g.CellWidth() - 3; ++x)
            n += At(shot, x, y) == color;
    return n;
}

// Whether the marker on a square reads `text`: every pixel of the text drawn alone on the
// square's colour shows up in the grid's picture.
bool MarkerReads(Grid& g, int square, const QString& text) {
    const QImage shot = g.Shot();
    TBitmap cell;
    cell.SetSize(g.CellWidth(), g.CellHeight());
    TCanvas* c = cell.Canvas();
    const TColor back = g.SquareColor(square);
    c->Brush().Color = back;
    c->FillRect({0, 0, cell.Width(), cell.Height()});
    c->Font().Assign(g.font());
    c->Font().Color = MarkerColour(back);
    c->SetBackgroundMode(bmTransparent);
    c->DrawText({0, 0, cell.Width(), cell.Height()}, text,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    const int left = (square % g.Columns()) * g.CellWidth();
    const int top = (square / g.Columns()) * g.CellHeight();
    int ink = 0;
    for (int y = 0; y < cell.Height(); ++y)
        for (int x = 0; x < cell.Width(); ++x)
            if (c->Pixel(x, y) != back) {
                ++ink;
                if (At(shot, left + x, top + y) != MarkerColour(back))
                    return false;
            }
    return ink > 0;
}

TEST(ColorGrid, NewGridDefaultsAndPalette) {
    Grid g;
    EXPECT_EQ(g.Width(), 100);
    EXPECT_EQ(g.Height(), 100);
    EXPECT_EQ(g.Columns(), 4);
    EXPECT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.CellWidth(), 25);
    EXPECT_EQ(g.CellHeight(), 25);
    EXPECT_EQ(g.Color(), clBtnFace);
    const QMetaObject* meta = g.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const char* name = meta->property(i).name();
        EXPECT_FALSE(IsPropertyStored(&g, name)) << name;
    }
    const TColor expected[16] = {
        RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
        RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
        RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
    };
    const QImage shot = g.Shot();
    for (int s = 0; s < 16; ++s) {
        EXPECT_EQ(g.SquareColor(s), expected[s]) << s;
        // Well inside the square, clear of the marker text.
        const QPoint p = g.Centre(s) + QPoint(-8, -8);
        EXPECT_EQ(At(shot, p.x(), p.y()), expected[s]) << s;
    }
    EXPECT_EQ(g.SquareColor(16), clBlack);
    EXPECT_EQ(g.SquareColor(-1), clBlack);
    EXPECT_TRUE(MarkerReads(g, 0, TCColorGrid::SFB));
}

TEST(ColorGrid, LeftClickMovesTheForeground) {
    Grid g;
    QTest::mouseClick(&g, Qt::LeftButton, {}, g.Centre(5));
    EXPECT_EQ(g.ForegroundIndex(), 5);
    EXPECT_EQ(g.BackgroundIndex(), 0);
    EXPECT_EQ(g.Selection(), 5);
    EXPECT_EQ(g.changes, 1);
    EXPECT_EQ(g.GetForegroundColor(), RGB(128, 0, 128));
    EXPECT_TRUE(MarkerReads(g, 0, TCColorGrid::SBG));
    EXPECT_TRUE(MarkerReads(g, 5, TCColorGrid::SFG));
    // Clicking the same square again changes nothing.
    QTest::mouseClick(&g, Qt::LeftButton, {}, g.Centre(5));
    EXPECT_EQ(g.changes, 1);
    EXPECT_FALSE(g.MouseCapture());
}

TEST(ColorGrid, SizeSnapsToWholeCells) {
    struct Case {
        TGridOrdering ordering;
        int width, height, snappedW, snappedH, cellW, cellH;
    };
    const Case cases[] = {
        {go16x1, 100, 100, 96, 100, 6, 100}, {go8x2, 100, 100, 96, 100, 12, 50},
        {go4x4, 100, 100, 100, 100, 25, 25}, {go2x8, 100, 100, 100, 96, 50, 12},
        {go1x16, 100, 100, 100, 96, 100, 6}, {go4x4, 103, 50, 100, 48, 25, 12},
    };
    for (const Case& k : cases) {
        Grid g;
        g.SetBounds(7, 9, k.width, k.height);
        g.SetGridOrdering(k.ordering);
        EXPECT_EQ(g.Width(), k.snappedW) << k.ordering;
        EXPECT_EQ(g.Height(), k.snappedH) << k.ordering;
        EXPECT_EQ(g.CellWidth(), k.cellW) << k.ordering;
        EXPECT_EQ(g.CellHeight(), k.cellH) << k.ordering;
        EXPECT_EQ(g.Left(), 7);
        EXPECT_EQ(g.Top(), 9);
        EXPECT_EQ(g.Columns() * g.Rows(), 16);
    }
    // A shown grid snaps on every resize too.
    Grid shown;
    shown.show();
    shown.SetBounds(0, 0, 103, 50);
    EXPECT_EQ(shown.Width(), 100);
    EXPECT_EQ(shown.Height(), 48);
    EXPECT_EQ(shown.CellHeight(), 12);
}

TEST(ColorGrid, KeyboardTraversal) {
    struct Case {
        int from;
        Qt::Key key;
        int to;
    };
    const Case cases[] = {
        {0, Qt::Key_Left, 15},
        {0, Qt::Key_Up, 15},
        {3, Qt::Key_Up, 14},
        {12, Qt::Key_Down, 1},
        {15, Qt::Key_Down, 0},
        {15, Qt::Key_Right, 0},
        {5, Qt::Key_End, 15},
        {5, Qt::Key_Home, 0},
        {5, Qt::Key_Space, 6},
        {5, Qt::Key_Up, 1},
        {5, Qt::Key_Down, 9},
        {6, Qt::Key_Left, 5},
        {7, Qt::Key_Right, 8},
        {9, Qt::Key_PageUp, 9},
        {9, Qt::Key_PageDown, 9},
        {9, Qt::Key_X, 9},
        {INT_MAX, Qt::Key_Right, INT_MAX}, // far outside the grid: no overflow
        {INT_MIN, Qt::Key_Up, INT_MIN + 11},
        {INT_MIN, Qt::Key_Left, INT_MIN},
    };
    for (const Case& k : cases) {
        Grid g;
        g.SetSelection(k.from);
        g.Key(k.key);
        EXPECT_EQ(g.Selection(), k.to) << k.from << " key " << k.key;
        EXPECT_EQ(g.changes, 0);
    }
    // Left/right run through the grid in reading order, up/down column by column.
    Grid g;
    std::vector<int> downs;
    for (int i = 0; i < 16; ++i) {
        g.Key(Qt::Key_Down);
        downs.push_back(g.Selection());
    }
    EXPECT_EQ(downs, (std::vector<int>{4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 0}));
    // Another shape: one row of 16.
    Grid row;
    row.SetGridOrdering(go16x1);
    row.Key(Qt::Key_Down);
    EXPECT_EQ(row.Selection(), 1);
    row.Key(Qt::Key_Up); // top row: one column to the left, in the bottom (same) row
    EXPECT_EQ(row.Selection(), 0);
    row.Key(Qt::Key_Up);
    EXPECT_EQ(row.Selection(), 15);
}

TEST(ColorGrid, KeyboardPicks) {
    Grid g;
    g.SetSelection(6);
    g.Key(Qt::Key_F);
    EXPECT_EQ(g.ForegroundIndex(), 6);
    EXPECT_EQ(g.changes, 1);
    EXPECT_EQ(g.clicks, 1);
    g.Key(Qt::Key_Right);
    QTest::keyClick(&g, Qt::Key_B, Qt::ShiftModifier);
    EXPECT_EQ(g.BackgroundIndex(), 7);
    EXPECT_EQ(g.changes, 2);
    EXPECT_EQ(g.clicks, 2);
    // A pick on the square already picked is still a click, but no change.
    g.Key(Qt::Key_B);
    EXPECT_EQ(g.changes, 2);
    EXPECT_EQ(g.clicks, 3);
}

TEST(ColorGrid, DisabledMarkersAndClickEnablesColor) {
    Grid g;
    g.EnableForeground(false);
    QTest::mouseClick(&g, Qt::LeftButton, {}, g.Centre(5));
    EXPECT_EQ(g.ForegroundIndex(), 0);
    EXPECT_FALSE(g.ForegroundEnabled());
    EXPECT_EQ(g.Selection(), 5);
    EXPECT_EQ(g.changes, 0);
    EXPECT_TRUE(MarkerReads(g, 0, TCColorGrid::SBG)); // the background marker alone
    g.SetForegroundIndex(9);                          // also ignored while disabled
    EXPECT_EQ(g.ForegroundIndex(), 0);

    g.SetClickEnablesColor(true);
    QTest::mouseClick(&g, Qt::LeftButton, {}, g.Centre(7));
    EXPECT_TRUE(g.ForegroundEnabled());
    EXPECT_EQ(g.ForegroundIndex(), 7);
    EXPECT_EQ(g.changes, 1);
    // Re-enabled on the square it already had still counts as a change.
    g.EnableBackground(false);
    QTest::mouseClick(&g, Qt::RightButton, {}, g.Centre(0));
    EXPECT_TRUE(g.BackgroundEnabled());
    EXPECT_EQ(g.BackgroundIndex(), 0);
    EXPECT_EQ(g.changes, 2);
}

TEST(ColorGrid, MarkerTextColours) {
    struct Case {
        int square;
        TColor text;
    };
    const Case cases[] = {
        {0, clWhite}, {15, clBlack}, {9, RGB(0, 255, 255)}, {5, RGB(0, 255, 0)}, {7, clBlack}};
    for (const Case& k : cases) {
        Grid g;
        g.SetBackgroundIndex(k.square == 0 ? 1 : 0);
        g.SetForegroundIndex(k.square);
        EXPECT_GT(TextPixels(g.Shot(), g, k.square, k.text), 0) << k.square;
        EXPECT_TRUE(MarkerReads(g, k.square, TCColorGrid::SFG)) << k.square;
    }
}

TEST(ColorGrid, DraggingMovesTheMarkerOfThePressedButton) {
    Grid g;
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    QTest::mousePress(&g, Qt::RightButton, {}, g.Centre(0));
    EXPECT_TRUE(g.MouseCapture());
    EXPECT_TRUE(g.ButtonDown());
    QTest::mouseMove(&g, g.Centre(1));
    EXPECT_EQ(g.BackgroundIndex(), 1);
    QTest::mouseMove(&g, g.Centre(2));
    EXPECT_EQ(g.BackgroundIndex(), 2);
    EXPECT_EQ(g.Selection(), 2);
    QTest::mouseMove(&g, QPoint(500, -40)); // outside: the nearest square on the edge
    EXPECT_EQ(g.BackgroundIndex(), 3);
    QTest::mouseRelease(&g, Qt::RightButton, {}, QPoint(500, -40));
    EXPECT_FALSE(g.MouseCapture());
    EXPECT_FALSE(g.ButtonDown());
    EXPECT_EQ(g.ForegroundIndex(), 0);
    EXPECT_EQ(g.changes, 3);
    QTest::mouseMove(&g, g.Centre(9)); // no button held: nothing moves
    EXPECT_EQ(g.BackgroundIndex(), 3);

    // The middle button picks the background too and gives the capture back on release.
    QTest::mousePress(&g, Qt::MiddleButton, {}, g.Centre(10));
    EXPECT_TRUE(g.MouseCapture());
    EXPECT_EQ(g.BackgroundIndex(), 10);
    QTest::mouseRelease(&g, Qt::MiddleButton, {}, g.Centre(10));
    EXPECT_FALSE(g.MouseCapture());

    // Left drag moves the foreground without taking the capture.
    QTest::mousePress(&g, Qt::LeftButton, {}, g.Centre(4));
    EXPECT_FALSE(g.MouseCapture());
    QTest::mouseMove(&g, g.Centre(8));
    EXPECT_EQ(g.ForegroundIndex(), 8);
    QTest::mouseRelease(&g, Qt::LeftButton, {}, g.Centre(8));
}

TEST(ColorGrid, ZeroSizedCellsIgnoreTheMouse) {
    Grid g;
    g.SetBounds(0, 0, 3, 3);
    EXPECT_EQ(g.Width(), 0);
    EXPECT_EQ(g.CellWidth(), 0);
    EXPECT_EQ(g.SquareFromPos(1, 1), -1);
    g.SetBounds(0, 0, 50, 3); // wide but too low
    EXPECT_EQ(g.CellHeight(), 0);
    QTest::mouseClick(&g, Qt::RightButton, {}, QPoint(1, 1));
    EXPECT_EQ(g.BackgroundIndex(), 0);
    EXPECT_EQ(g.changes, 0);
    EXPECT_FALSE(g.MouseCapture());
    g.Shot(); // paints without trouble
}

TEST(ColorGrid, IndicesOutsideThePaletteDrawNothing) {
    Grid g;
    const QImage before = g.Shot();
    g.EnableBackground(false);
    g.EnableForeground(false);
    const QImage bare = g.Shot();
    g.EnableBackground(true);
    g.EnableForeground(true);
    g.SetForegroundIndex(16);
    g.SetBackgroundIndex(-4);
    g.SetSelection(99);
    EXPECT_EQ(g.GetForegroundColor(), clBlack);
    EXPECT_EQ(g.GetBackgroundColor(), clBlack);
    EXPECT_EQ(g.Shot(), bare);
    EXPECT_NE(before, bare);
}

TEST(ColorGrid, FocusSelectorAndLooks) {
    for (bool ctl3D : {true, false}) {
        Grid g;
        g.SetCtl3D(ctl3D);
        g.SetSelection(5);
        const QImage unfocused = g.Shot();
        const QPoint corner(25, 25); // top-left pixel of square 5
        // Flat squares have a black outline; 3-D ones a button-face rim and a sunken frame.
        if (ctl3D) {
            EXPECT_EQ(At(unfocused, corner.x(), corner.y()), ColorToRGB(clBtnFace));
            EXPECT_EQ(At(unfocused, 26, 26), ColorToRGB(clBtnShadow));
            EXPECT_EQ(At(unfocused, 48, 48), ColorToRGB(clBtnHighlight));
        } else {
            EXPECT_EQ(At(unfocused, corner.x(), corner.y()), clBlack);
            EXPECT_EQ(At(unfocused, 26, 26), g.SquareColor(5));
        }
        g.SetTabStop(true);
        g.show();
        g.activateWindow();
        g.SetFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return g.HasFocus(); }));
        const QImage focused = g.Shot();
        if (ctl3D) {
            // A dotted frame one pixel inside the colour.
            EXPECT_EQ(At(focused, 28, 28), g.SquareColor(5));
            EXPECT_EQ(At(focused, 29, 29), g.SquareColor(5) ^ 0xFFFFFF);
            EXPECT_EQ(At(focused, 30, 29), g.SquareColor(5));
        } else {
            // Inverted outline, then a ring of colour, then a black inner outline.
            EXPECT_EQ(At(focused, 25, 25), clWhite);
            EXPECT_EQ(At(focused, 26, 26), g.SquareColor(5));
            EXPECT_EQ(At(focused, 27, 27), clBlack);
        }
        // Only square 5 changed.
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                if (x < 25 || x >= 50 || y < 25 || y >= 50) {
                    ASSERT_EQ(focused.pixel(x, y), unfocused.pixel(x, y)) << x << "," << y;
                }
        g.clearFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !g.HasFocus(); }));
        EXPECT_EQ(g.Shot(), unfocused);
    }
}

} // namespace
