// SPDX-License-Identifier: MIT
// The colour grid: palette, size snapping, picks by mouse and keyboard, markers and looks.
#include "Cgrid.h"
#include "Pixels.h"

#include <climits>

namespace {

// A grid on screen that counts its change notices and clicks.
struct Grid : TCColorGrid {
    int changes = 0, clicks = 0;
    Grid() {
        OnChange = [this](QObject* sender) { changes += sender == this; };
        OnClick = [this](QObject*) { ++clicks; };
        show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(this));
    }
    QPoint Corner(int square) const {
        return {(square % Columns()) * CellWidth(), (square / Columns()) * CellHeight()};
    }
    QPoint Centre(int square) const {
        return Corner(square) + QPoint(CellWidth(), CellHeight()) / 2;
    }
    void Key(Qt::Key key) { QTest::keyClick(this, key); }
};

using pixels::At;

// Whether the square's marker reads `text` in `color`: every pixel of the text drawn alone on
// the square's colour shows up in that colour in the grid's picture.
bool MarkerReads(Grid& g, int square, const QString& text, TColor color) {
    const QImage shot = pixels::Shot(g);
    TBitmap cell;
    cell.SetSize(g.CellWidth(), g.CellHeight());
    TCanvas* c = cell.Canvas();
    const TColor back = g.SquareColor(square);
    c->Brush().Color = back;
    c->FillRect({0, 0, cell.Width(), cell.Height()});
    c->Font().Assign(g.font());
    c->Font().Color = color;
    c->SetBackgroundMode(bmTransparent);
    c->DrawText({0, 0, cell.Width(), cell.Height()}, text,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    const QPoint at = g.Corner(square);
    int ink = 0;
    for (int y = 0; y < cell.Height(); ++y)
        for (int x = 0; x < cell.Width(); ++x)
            if (c->Pixel(x, y) != back && ++ink && At(shot, at.x() + x, at.y() + y) != color)
                return false;
    return ink > 0;
}

// The size snaps to whole cells; too low for a row, no square lies anywhere.
TEST(ColorGrid, SizeSnapsToWholeCells) {
    // ordering, width and height asked for, then the snapped width and height and the cell's
    const std::tuple<TGridOrdering, int, int, int, int, int, int> cases[] = {
        {go16x1, 100, 100, 96, 100, 6, 100}, {go8x2, 100, 100, 96, 100, 12, 50},
        {go4x4, 100, 100, 100, 100, 25, 25}, {go2x8, 100, 100, 100, 96, 50, 12},
        {go1x16, 100, 100, 100, 96, 100, 6}, {go4x4, 103, 50, 100, 48, 25, 12},
        {go4x4, 50, 3, 48, 0, 12, 0},
    };
    for (const auto& [ordering, width, height, snappedW, snappedH, cellW, cellH] : cases) {
        TCColorGrid g;
        g.SetBounds(7, 9, width, height);
        g.SetGridOrdering(ordering);
        EXPECT_EQ((TRect{g.Left(), g.Top(), g.Width(), g.Height()}),
                  (TRect{7, 9, snappedW, snappedH}))
            << ordering;
        EXPECT_EQ(QSize(g.CellWidth(), g.CellHeight()), QSize(cellW, cellH)) << ordering;
        EXPECT_EQ(g.Columns() * g.Rows(), 16);
        EXPECT_EQ(g.SquareFromPos(1, 1), cellH ? 0 : -1);
    }
}

TEST(ColorGrid, KeyboardTraversalAndPicks) {
    const int wrap = INT_MIN + 11; // from INT_MIN up: one column to the left, in the bottom row
    const std::tuple<int, Qt::Key, int> cases[] = {
        {0, Qt::Key_Left, 15},       {0, Qt::Key_Up, 15},
        {3, Qt::Key_Up, 14},         {15, Qt::Key_Right, 0},
        {5, Qt::Key_End, 15},        {5, Qt::Key_Home, 0},
        {5, Qt::Key_Space, 6},       {6, Qt::Key_Left, 5},
        {9, Qt::Key_Up, 5},          {INT_MAX, Qt::Key_Right, INT_MAX},
        {INT_MIN, Qt::Key_Up, wrap}, {0, Qt::Key_Down, 4},
        {12, Qt::Key_Down, 1},       {14, Qt::Key_Down, 3},
        {15, Qt::Key_Down, 0}};
    Grid g;
    for (const auto& [from, key, to] : cases) { // far outside the grid: no overflow either
        g.SetSelection(from);
        g.Key(key);
        EXPECT_EQ(g.Selection(), to) << from << " key " << key;
    }
    EXPECT_EQ(g.changes, 0);

    // F and B pick the selected square for the fore- and background.
    g.SetSelection(6);
    g.Key(Qt::Key_F);
    EXPECT_EQ(g.ForegroundIndex(), 6);
    g.Key(Qt::Key_Right);
    QTest::keyClick(&g, Qt::Key_B, Qt::ShiftModifier);
    EXPECT_EQ(g.BackgroundIndex(), 7);
    g.Key(Qt::Key_B); // a pick on the square already picked is still a click, but no change
    EXPECT_EQ(g.changes, 2);
    EXPECT_EQ(g.clicks, 3);
}

// The squares show the sixteen colours of the default palette. A left press picks the
// foreground, a right press the background and holds the capture until the release; a drag
// moves the pressed button's marker, outside the grid to the nearest square on the edge. A
// disabled marker stays where it is, unless ClickEnablesColor turns it on again, which counts as
// a change even on the same square.
TEST(ColorGrid, PaletteMousePicksAndDrags) {
    Grid g;
    const TColor palette[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    const QImage shot = pixels::Shot(g);
    for (int s = 0; s < 16; ++s) {
        const QPoint p = g.Centre(s) - QPoint(8, 8); // well inside, clear of the marker text
        EXPECT_EQ(At(shot, p.x(), p.y()), palette[s]) << s;
    }
    QTest::mouseClick(&g, Qt::LeftButton, {}, g.Centre(5));
    QTest::mouseClick(&g, Qt::LeftButton, {}, g.Centre(5)); // the same square: no change
    EXPECT_EQ(g.ForegroundIndex(), 5);
    EXPECT_EQ(g.GetForegroundColor(), RGB(128, 0, 128));
    EXPECT_FALSE(g.MouseCapture());
    QTest::mousePress(&g, Qt::RightButton, {}, g.Centre(0));
    EXPECT_TRUE(g.MouseCapture());
    QTest::mouseMove(&g, g.Centre(1));
    QTest::mouseMove(&g, g.Centre(2));
    EXPECT_EQ(g.Selection(), 2);
    QTest::mouseMove(&g, QPoint(500, -40));
    QTest::mouseRelease(&g, Qt::RightButton, {}, QPoint(500, -40));
    EXPECT_FALSE(g.MouseCapture());
    QTest::mouseMove(&g, g.Centre(9)); // no button held: nothing moves
    EXPECT_EQ(g.BackgroundIndex(), 3);
    EXPECT_EQ(g.ForegroundIndex(), 5);
    EXPECT_EQ(g.changes, 4);
    QTest::mousePress(&g, Qt::LeftButton, {}, g.Centre(4));
    EXPECT_FALSE(g.MouseCapture());
    QTest::mouseMove(&g, g.Centre(8));
    QTest::mouseRelease(&g, Qt::LeftButton, {}, g.Centre(8));
    EXPECT_EQ(g.ForegroundIndex(), 8);

    g.EnableForeground(false);
    QTest::mouseClick(&g, Qt::LeftButton, {}, g.Centre(2));
    g.SetForegroundIndex(9); // also ignored while disabled
    EXPECT_EQ(g.ForegroundIndex(), 8);
    EXPECT_EQ(g.Selection(), 2);
    EXPECT_EQ(g.changes, 6);
    g.SetClickEnablesColor(true);
    QTest::mouseClick(&g, Qt::LeftButton, {}, g.Centre(7));
    EXPECT_TRUE(g.ForegroundEnabled());
    EXPECT_EQ(g.ForegroundIndex(), 7);
    g.EnableBackground(false);
    QTest::mouseClick(&g, Qt::RightButton, {}, g.Centre(3));
    EXPECT_TRUE(g.BackgroundEnabled());
    EXPECT_EQ(g.changes, 8);
}

// Both markers on one square read FB only while both are shown; a marker's text is black or
// white in each component, whichever stands out on its square.
TEST(ColorGrid, MarkerTextsAndColours) {
    const std::tuple<bool, bool, int, QString, TColor> cases[] = {
        {true, true, 0, TCColorGrid::SFB, clWhite},  {true, false, 0, TCColorGrid::SFG, clWhite},
        {false, true, 0, TCColorGrid::SBG, clWhite}, {true, true, 15, TCColorGrid::SFG, clBlack},
        {true, true, 9, TCColorGrid::SFG, clAqua},   {true, true, 5, TCColorGrid::SFG, clLime},
        {true, true, 7, TCColorGrid::SFG, clBlack}}; // on white, red, purple and silver
    for (const auto& [foreground, background, square, text, color] : cases) {
        Grid g; // both picks on square 0 at first
        g.SetForegroundIndex(square);
        g.EnableForeground(foreground);
        g.EnableBackground(background);
        EXPECT_TRUE(MarkerReads(g, square, text, color)) << text.toStdString() << square;
    }
}

TEST(ColorGrid, FocusSelectorAndLooks) {
    for (bool ctl3D : {true, false}) {
        Grid g;
        g.SetCtl3D(ctl3D);
        g.SetSelection(5); // the square at 25..49 both ways, with the FG marker
        g.SetForegroundIndex(5);
        const QImage unfocused = pixels::Shot(g);
        g.SetTabStop(true);
        g.activateWindow();
        g.SetFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return g.HasFocus(); }));
        const QImage focused = pixels::Shot(g);
        EXPECT_TRUE(MarkerReads(g, 5, TCColorGrid::SFG, clLime)); // the selector keeps it
        // 3-D squares: a button-face rim, a sunken frame, and when focused a dotted frame one
        // pixel inside the colour. Flat ones: a black outline, inverted when focused, then a
        // ring of colour and a black inner outline.
        const TColor c = g.SquareColor(5), inverse = c ^ 0xFFFFFF, face = ColorToRGB(clBtnFace),
                     shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
        using Probe = std::tuple<bool, bool, int, int, TColor>; // 3-D, focused, x, y, colour
        const Probe probes[] = {
            {1, 0, 25, 25, face},    {1, 0, 26, 26, shadow},  {1, 0, 48, 48, light},
            {1, 1, 28, 28, c},       {1, 1, 29, 29, inverse}, {1, 1, 30, 29, c},
            {0, 0, 25, 25, clBlack}, {0, 0, 26, 26, c},       {0, 1, 25, 25, clWhite},
            {0, 1, 26, 26, c},       {0, 1, 27, 27, clBlack}, {0, 1, 47, 47, clBlack},
        };
        for (const auto& [is3D, isFocused, x, y, color] : probes)
            if (is3D == ctl3D) {
                EXPECT_EQ(At(isFocused ? focused : unfocused, x, y), color) << ctl3D << " " << x;
            }
        for (const QPoint& p : pixels::Changed(focused, unfocused)) // only square 5 changed
            EXPECT_TRUE(QRect(25, 25, 25, 25).contains(p)) << p.x() << "," << p.y();
        g.clearFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !g.HasFocus(); }));
        EXPECT_EQ(pixels::Shot(g), unfocused);
    }
}

} // namespace
