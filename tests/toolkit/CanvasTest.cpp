// SPDX-License-Identifier: MIT
// Pixel checks of the canvas's raster rules, which the widgets' geometry relies on.
#include "Pixels.h"

#include <QGuiApplication>
#include <QPalette>
#include <climits>
#include <gtest/gtest.h>

namespace {

// A bitmap of the given size painted all in one colour.
struct Board {
    TBitmap bmp;
    TCanvas& c;
    Board(int w, int h, TColor fill = clWhite) : c(*bmp.Canvas()) {
        bmp.SetSize(w, h);
        c.Brush().Color = fill;
        c.FillRect({0, 0, w, h});
    }
    TRect Ink(TColor background = clWhite) const { return pixels::Ink(bmp.Image(), background); }
    int Count(TColor color) const { return pixels::Count(bmp.Image(), color); }
};

TEST(CanvasColor, ComponentsSystemColoursAndPixels) {
    EXPECT_EQ(ColorToRGB(0x12345678), 0x345678u); // the top byte of a plain colour is dropped
    // Each system colour comes from its own entry of a palette of distinct colours, found by the
    // roles below in the order of the system colours: inactive caption and inactive caption text
    // in the inactive group, grey text in the disabled one, the others in the active group.
    using P = QPalette;
    const P::ColorRole roles[] = {
        P::Button, P::Window, P::Highlight,  P::Highlight,   P::Window,
        P::Base,   P::Shadow, P::WindowText, P::Text,        P::HighlightedText,
        P::Window, P::Window, P::Dark,       P::Highlight,   P::HighlightedText,
        P::Button, P::Dark,   P::Text,       P::ButtonText,  P::HighlightedText,
        P::Light,  P::Shadow, P::Midlight,   P::ToolTipText, P::ToolTipBase};
    const auto group = [](TColor i) {
        return i == 3 || i == 19 ? P::Inactive : i == 17 ? P::Disabled : P::Active;
    };
    const QPalette saved = QGuiApplication::palette();
    QPalette distinct;
    for (int g : {P::Active, P::Inactive, P::Disabled})
        for (int r = 0; r < P::NColorRoles; ++r)
            distinct.setColor(P::ColorGroup(g), P::ColorRole(r), QColor(g * 50, r * 10, 7));
    QGuiApplication::setPalette(distinct);
    for (TColor i = 0; i < std::size(roles); ++i)
        EXPECT_EQ(ColorToRGB(clScrollBar + i), QColorToColor(distinct.color(group(i), roles[i])))
            << i;
    QGuiApplication::setPalette(saved);
    EXPECT_EQ(ColorToRGB(0x800000FF), clBlack); // unknown system colour
    Board b(2, 1);
    b.c.SetPixel(0, 0, RGB(1, 2, 3));
    b.c.SetPixel(-1, 0, clRed); // writing outside is ignored ...
    EXPECT_EQ(b.c.Pixel(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(b.c.Pixel(5, 0), clBlack); // ... and reading there gives black
}

TEST(CanvasRects, FillExcludesRightAndBottomEdgeAndClips) {
    Board b(10, 10);
    b.c.Brush().Color = clRed;
    b.c.FillRect({2, 3, 6, 8});
    EXPECT_EQ(b.Ink(), (TRect{2, 3, 6, 8}));
    EXPECT_EQ(b.Count(clRed), 4 * 5);
    b.c.Brush().Style = bsClear;
    b.c.Brush().Color = clBlue;
    b.c.FillRect({0, 0, 10, 10});
    EXPECT_EQ(b.Count(clBlue), 0);
    b.c.Brush().Style = bsSolid;
    b.c.FillRect({-5, -5, 1, 1}); // clipped, not wrapped
    EXPECT_EQ(b.Count(clBlue), 1);
}

TEST(CanvasLines, EndPointIsLeftOut) {
    struct Case {
        int x0, y0, x1, y1, width, pixels;
        std::vector<QPoint> drawn; // for sloped lines: the pixels nearest the ideal line
    };
    // Horizontal, vertical upwards, diagonal, shallow leftwards, a point (draws nothing), short
    // sloped lines, and a pen of width 2, which widens the line below and right of it.
    const Case cases[] = {
        {1, 1, 8, 1, 1, 7, {}},
        {3, 8, 3, 2, 1, 6, {}},
        {0, 0, 5, 5, 1, 5, {}},
        {9, 2, 1, 6, 1, 8, {}},
        {4, 4, 4, 4, 1, 0, {}},
        {0, 0, 5, 2, 1, 5, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {1, 1, 4, 8, 1, 7, {{1, 1}, {1, 2}, {2, 3}, {2, 4}, {3, 5}, {3, 6}, {4, 7}}},
        {1, 1, 3, 1, 2, 6, {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}}},
    };
    for (const Case& k : cases) {
        Board b(10, 10);
        b.c.Pen().Width = k.width;
        b.c.MoveTo(k.x0, k.y0);
        b.c.LineTo(k.x1, k.y1);
        EXPECT_EQ(b.Count(clBlack), k.pixels) << k.x0 << "," << k.y0 << "->" << k.x1 << "," << k.y1;
        if (!k.drawn.empty()) {
            EXPECT_EQ(pixels::Changed(Board(10, 10).bmp.Image(), b.bmp.Image()), k.drawn);
        }
        EXPECT_EQ(b.c.Pixel(k.x1, k.y1), k.width > 1 ? clBlack : clWhite);
        EXPECT_EQ(b.c.Pixel(k.x0, k.y0), k.pixels ? clBlack : clWhite);
        EXPECT_EQ(b.c.PenPos(), QPoint(k.x1, k.y1));
    }
}

TEST(CanvasLines, PenModesAndRectangleOutline) {
    Board b(10, 3, clRed);
    b.c.Pen().Mode = pmNot;
    b.c.MoveTo(0, 1);
    b.c.LineTo(5, 1);
    EXPECT_EQ(b.c.Pixel(0, 1), clAqua); // NOT red = cyan
    EXPECT_EQ(b.c.Pixel(5, 1), clRed);
    // A rectangle's outline takes the outermost pixels of its box; pmNot inverts the outline
    // only, the brush fills normally.
    Board r(8, 8, clBlack);
    r.c.Pen().Mode = pmNot;
    r.c.Brush().Color = clRed;
    r.c.Rectangle(1, 1, 7, 7);
    EXPECT_EQ(r.Ink(clBlack), (TRect{1, 1, 7, 7}));
    EXPECT_EQ(r.Count(clWhite), 20);
    EXPECT_EQ(r.Count(clRed), 16);
    r.c.Pen().Width = 2; // an outline of two rings: the white one and the red one inverted
    r.c.Rectangle(1, 1, 7, 7);
    EXPECT_EQ(r.Count(clAqua), 12);
    EXPECT_EQ(r.Count(clRed), 4);
}

TEST(CanvasShapes, EllipseAndPieKeepInsideTheirBox) {
    Board b(40, 30);
    b.c.Brush().Color = clRed;
    b.c.Ellipse(5, 4, 35, 24);
    EXPECT_EQ(b.Ink(), (TRect{5, 4, 35, 24}));
    EXPECT_EQ(b.c.Pixel(5, 4), clWhite); // corners stay free

    // A quarter wedge from the right-hand ray counterclockwise up to the top ray.
    Board p(40, 40);
    p.c.Brush().Color = clRed;
    p.c.Pie(0, 0, 40, 40, 40, 20, 20, 0);
    const TRect ink = p.Ink();
    EXPECT_TRUE(ink.Left >= 19 && ink.Top == 0 && ink.Right == 40 && ink.Bottom <= 22);
    EXPECT_EQ(p.c.Pixel(30, 10), clRed);

    // Equal rays make a whole pie.
    Board w(20, 20);
    w.c.Brush().Color = clRed;
    w.c.Pie(0, 0, 20, 20, 10, 0, 10, 0);
    EXPECT_EQ(w.Ink(), (TRect{0, 0, 20, 20}));
    EXPECT_EQ(w.c.Pixel(5, 14), clRed);
}

TEST(CanvasShapes, PieOutlineRunsAlongTheArcAndBothRadii) {
    // Each outline pixel is drawn once: an inverting pen changes exactly the pixels that a
    // plain pen colours, radii included.
    Board plain(99, 99), inverted(99, 99);
    inverted.c.Pen().Mode = pmNot;
    for (Board* b : {&plain, &inverted}) {
        b->c.Brush().Style = bsClear;
        b->c.Pie(0, 0, 99, 99, 20, 0, 99, 60);
    }
    EXPECT_GT(plain.Count(clBlack), 300);
    EXPECT_EQ(plain.bmp.Image(), inverted.bmp.Image());
    EXPECT_EQ(plain.c.Pixel(38, 30), clBlack); // on the radius towards (20, 0)
}

TEST(CanvasCopy, CopyModes) {
    // Destination red (0,0,255 in BGR order), source 0x00FF0F0F.
    const std::pair<TCopyMode, TColor> cases[] = {{SRCCOPY, 0x00FF0F0F},
                                                  {SRCINVERT, 0x00FF0F0F ^ clRed},
                                                  {BLACKNESS, clBlack},
                                                  {WHITENESS, clWhite},
                                                  {SRCAND, 0x00FF0F0F & clRed},
                                                  {SRCPAINT, 0x00FF0F0F | clRed},
                                                  {DSTINVERT, 0x00FFFFFF & ~clRed}};
    for (const auto& [mode, expected] : cases) {
        Board dst(4, 4, clRed), src(2, 2, 0x00FF0F0F);
        dst.c.SetCopyMode(mode);
        dst.c.CopyRect({1, 1, 3, 3}, src.c, {0, 0, 2, 2});
        EXPECT_EQ(dst.Count(expected), 4) << std::hex << mode;
        EXPECT_EQ(dst.Ink(clRed), (TRect{1, 1, 3, 3})) << std::hex << mode;
    }
}

TEST(CanvasFrames, FocusRectAndFrame3D) {
    Board b(8, 6);
    b.c.DrawFocusRect({1, 1, 7, 5}); // dotted, every other pixel, starting on the corner
    EXPECT_EQ(b.c.Pixel(1, 1), clBlack);
    EXPECT_EQ(b.c.Pixel(2, 1), clWhite);
    EXPECT_EQ(b.c.Pixel(1, 3), clBlack);
    EXPECT_EQ(b.Count(clBlack), 8);
    EXPECT_EQ(b.Ink(), (TRect{1, 1, 7, 5}));
    b.c.DrawFocusRect({1, 1, 7, 5}); // XOR: the second call undoes the first
    EXPECT_EQ(b.Count(clWhite), 48);

    Board f(8, 8);
    TRect r{1, 1, 7, 7};
    Frame3D(f.c, r, clGray, clRed, 2);
    EXPECT_EQ(r, (TRect{3, 3, 5, 5}));
    // Top-left colour on the top and left edges, bottom-right colour on the other corners.
    const std::tuple<int, int, TColor> probes[] = {
        {1, 1, clGray}, {5, 1, clGray}, {1, 5, clGray}, {6, 1, clRed}, {1, 6, clRed}, {5, 5, clRed},
    };
    for (const auto& [x, y, color] : probes)
        EXPECT_EQ(f.c.Pixel(x, y), color) << x << "," << y;
    EXPECT_EQ(f.Ink(), (TRect{1, 1, 7, 7}));
}

TEST(CanvasText, CentredSingleLineBackgroundModesAndClip) {
    Board b(120, 60, clBlue);
    b.c.Font().Color = clWhite;
    b.c.SetBackgroundMode(bmTransparent);
    b.c.DrawText({0, 0, 120, 60}, "88%", DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    const TRect ink = b.Ink(clBlue);
    ASSERT_GT(ink.Width(), 0);
    // Only the font colour was written: no cell fill, no smoothing shades.
    EXPECT_EQ(b.Count(clWhite) + b.Count(clBlue), 120 * 60);
    EXPECT_NEAR((ink.Left + ink.Right) / 2.0, 60, 2);
    EXPECT_NEAR((ink.Top + ink.Bottom) / 2.0, 30, b.c.TextHeight("8") / 2.0);

    // Opaque mode fills the text cell with the brush colour.
    Board o(120, 60, clBlue);
    o.c.Brush().Color = clRed;
    o.c.TextOut(10, 5, "88%");
    EXPECT_EQ(o.Ink(clBlue), (TRect{10, 5, 10 + o.c.TextWidth("88%"), 5 + o.c.TextHeight("88%")}));
    EXPECT_EQ(o.c.Pixel(10, 5), clRed);

    Board t(100, 40); // TextRect clips to its rectangle
    t.c.TextRect({0, 0, 8, 40}, 2, 2, "WWWW");
    EXPECT_GT(t.Count(clBlack), 0);
    EXPECT_LE(t.Ink().Right, 8);
}

TEST(CanvasClip, DrawingStaysInTheClipRectangle) {
    Board b(10, 10);
    b.c.SetClipRect({2, 2, 5, 5});
    b.c.Brush().Color = clRed;
    b.c.FillRect({0, 0, 10, 10});
    b.c.Pen().Color = clBlue;
    b.c.MoveTo(0, 3);
    b.c.LineTo(10, 3);
    b.c.Ellipse(0, 0, 10, 10);
    b.c.DrawFocusRect({0, 0, 10, 10});
    EXPECT_EQ(b.Ink(), (TRect{2, 2, 5, 5}));
    // A focus frame on the clip rectangle itself, right and bottom edges included.
    Board f(10, 10);
    f.c.SetClipRect({2, 2, 8, 8});
    f.c.DrawFocusRect({2, 2, 8, 8});
    EXPECT_EQ(f.Ink(), (TRect{2, 2, 8, 8}));
    EXPECT_EQ(f.Count(clBlack), 10);
    EXPECT_TRUE(f.c.Pixel(7, 5) == clBlack && f.c.Pixel(5, 7) == clBlack);
}

TEST(CanvasClip, HugeCoordinatesDrawOnlyTheVisiblePart) {
    // Shapes and lines reaching far outside are drawn where they cross the image, without overflow.
    Board b(10, 10);
    b.c.Pen().Color = clBlue;
    b.c.MoveTo(INT_MIN + 1, 5);
    b.c.LineTo(INT_MAX, 5);
    EXPECT_EQ(b.Count(clBlue), 10);
    b.c.MoveTo(-2000000000, -2000000000);
    b.c.LineTo(2000000000, 2000000000); // the diagonal through the image
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(b.c.Pixel(i, i), clBlue) << i;

    Board r(10, 10);
    r.c.Pen().Color = clBlue;
    r.c.Brush().Color = clRed;
    r.c.Rectangle(INT_MIN, 2, INT_MAX, INT_MAX);
    EXPECT_EQ(r.c.Pixel(5, 2), clBlue);
    r.c.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(r.Count(clRed), 100);
    r.c.DrawFocusRect({INT_MIN, 4, INT_MAX, INT_MAX});
    EXPECT_EQ(r.c.Pixel(0, 4), clAqua);
    r.c.SetCopyMode(SRCINVERT);
    r.c.CopyRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, r.c, {0, 0, 10, 10});
    r.c.CopyRect({0, 0, 10, 10}, r.c, {INT_MIN, 0, INT_MAX, 10});
}

} // namespace
