// Pixel checks of the canvas's raster rules, which the widgets' geometry relies on.
#include "Graphics.h"

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
    // Bounding box of every pixel that is not `background`.
    TRect Ink(TColor background = clWhite) const {
        TRect r{1 << 20, 1 << 20, -1, -1};
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                if (c.Pixel(x, y) != background) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r;
    }
    int Count(TColor color) const {
        int n = 0;
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                n += c.Pixel(x, y) == color;
        return n;
    }
};

TEST(CanvasColor, ComponentsAndSystemColours) {
    EXPECT_EQ(RGB(255, 0, 0), clRed);
    EXPECT_EQ(GetBValue(clBlue), 255);
    EXPECT_EQ(ColorToRGB(0x12345678), 0x345678u); // the top byte of a plain colour is dropped
    const QPalette pal = QGuiApplication::palette();
    EXPECT_EQ(ColorToRGB(clBtnFace), QColorToColor(pal.color(QPalette::Button)));
    EXPECT_EQ(ColorToRGB(clBtnShadow), QColorToColor(pal.color(QPalette::Dark)));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), QColorToColor(pal.color(QPalette::Light)));
    EXPECT_EQ(ColorToRGB(clWindow), QColorToColor(pal.color(QPalette::Base)));
    EXPECT_EQ(ColorToRGB(0x800000FF), clBlack); // unknown system colour
    Board b(2, 1);
    b.c.SetPixel(0, 0, RGB(1, 2, 3));
    EXPECT_EQ(b.c.Pixel(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(b.c.Pixel(5, 0), clBlack); // outside reads black, writing there is ignored
    b.c.SetPixel(-1, 0, clRed);
}

TEST(CanvasRects, FillExcludesRightAndBottomEdge) {
    Board b(10, 10);
    b.c.Brush().Color = clRed;
    b.c.FillRect({2, 3, 6, 8});
    EXPECT_EQ(b.Ink(), (TRect{2, 3, 6, 8}));
    EXPECT_EQ(b.Count(clRed), 4 * 5);
    b.c.Brush().Style = bsClear;
    b.c.Brush().Color = clBlue;
    b.c.FillRect({0, 0, 10, 10});
    EXPECT_EQ(b.Count(clBlue), 0);
    // Rectangles reaching outside the image are clipped, not wrapped.
    b.c.Brush().Style = bsSolid;
    b.c.FillRect({-5, -5, 1, 1});
    EXPECT_EQ(b.Count(clBlue), 1);
}

TEST(CanvasRects, InflateAndOffset) {
    TRect r{10, 10, 20, 30};
    InflateRect(r, -1, 2);
    EXPECT_EQ(r, (TRect{11, 8, 19, 32}));
    OffsetRect(r, -11, 1);
    EXPECT_EQ(r, (TRect{0, 9, 8, 33}));
}

TEST(CanvasRects, RectangleOutlineOnOutermostPixels) {
    Board b(12, 12);
    b.c.Pen().Color = clBlue;
    b.c.Brush().Color = clRed;
    b.c.Rectangle(2, 2, 9, 7);
    EXPECT_EQ(b.Ink(), (TRect{2, 2, 9, 7}));
    for (int x = 2; x < 9; ++x) {
        EXPECT_EQ(b.c.Pixel(x, 2), clBlue);
        EXPECT_EQ(b.c.Pixel(x, 6), clBlue);
    }
    for (int y = 2; y < 7; ++y) {
        EXPECT_EQ(b.c.Pixel(2, y), clBlue);
        EXPECT_EQ(b.c.Pixel(8, y), clBlue);
    }
    EXPECT_EQ(b.Count(clRed), 5 * 3);
}

TEST(CanvasLines, EndPointIsLeftOut) {
    struct Case {
        int x0, y0, x1, y1, pixels;
    };
    const Case cases[] = {
        {1, 1, 8, 1, 7}, // horizontal
        {3, 8, 3, 2, 6}, // vertical, upwards
        {0, 0, 5, 5, 5}, // diagonal
        {9, 2, 1, 6, 8}, // shallow, leftwards
        {4, 4, 4, 4, 0}, // a point draws nothing
    };
    for (const Case& k : cases) {
        Board b(10, 10);
        b.c.Pen().Color = clBlack;
        b.c.MoveTo(k.x0, k.y0);
        b.c.LineTo(k.x1, k.y1);
        EXPECT_EQ(b.Count(clBlack), k.pixels) << k.x0 << "," << k.y0 << "->" << k.x1 << "," << k.y1;
        EXPECT_EQ(b.c.Pixel(k.x1, k.y1), clWhite);
        if (k.pixels) {
            EXPECT_EQ(b.c.Pixel(k.x0, k.y0), clBlack);
        }
        EXPECT_EQ(b.c.PenPos(), QPoint(k.x1, k.y1));
    }
}

TEST(CanvasLines, PenModes) {
    Board b(10, 3, clRed);
    b.c.Pen().Mode = pmNot;
    b.c.MoveTo(0, 1);
    b.c.LineTo(5, 1);
    EXPECT_EQ(b.c.Pixel(0, 1), clAqua); // NOT red = cyan
    EXPECT_EQ(b.c.Pixel(5, 1), clRed);
    b.c.MoveTo(0, 1);
    b.c.LineTo(5, 1); // a second pass restores
    EXPECT_EQ(b.Count(clRed), 30);
    b.c.Pen().Mode = pmCopy;
    b.c.Pen().Color = clGreen;
    b.c.MoveTo(0, 0);
    b.c.LineTo(3, 0);
    EXPECT_EQ(b.c.Pixel(2, 0), clGreen);
    // pmNot on a rectangle inverts the outline only; the brush fills normally.
    Board r(6, 6, clBlack);
    r.c.Pen().Mode = pmNot;
    r.c.Brush().Color = clRed;
    r.c.Rectangle(0, 0, 6, 6);
    EXPECT_EQ(r.Count(clWhite), 20);
    EXPECT_EQ(r.Count(clRed), 16);
}

TEST(CanvasShapes, EllipseAndPieKeepInsideTheirBox) {
    Board b(40, 30);
    b.c.Pen().Color = clBlack;
    b.c.Brush().Color = clRed;
    b.c.Ellipse(5, 4, 35, 24);
    EXPECT_EQ(b.Ink(), (TRect{5, 4, 35, 24}));
    EXPECT_EQ(b.c.Pixel(20, 14), clRed);
    EXPECT_EQ(b.c.Pixel(5, 4), clWhite); // corners stay free

    // A quarter wedge from the right-hand ray counterclockwise up to the top ray.
    Board p(40, 40);
    p.c.Pen().Color = clBlack;
    p.c.Brush().Color = clRed;
    p.c.Pie(0, 0, 40, 40, 40, 20, 20, 0);
    const TRect ink = p.Ink();
    EXPECT_GE(ink.Left, 19);
    EXPECT_LE(ink.Bottom, 22);
    EXPECT_EQ(ink.Right, 40);
    EXPECT_EQ(ink.Top, 0);
    EXPECT_EQ(p.c.Pixel(30, 10), clRed);
    EXPECT_EQ(p.c.Pixel(10, 10), clWhite);
    EXPECT_EQ(p.c.Pixel(30, 30), clWhite);

    // Equal rays make a whole pie.
    Board w(20, 20);
    w.c.Brush().Color = clRed;
    w.c.Pie(0, 0, 20, 20, 10, 0, 10, 0);
    EXPECT_EQ(w.Ink(), (TRect{0, 0, 20, 20}));
    EXPECT_EQ(w.c.Pixel(5, 14), clRed);
}

TEST(CanvasCopy, CopyModes) {
    struct Case {
        TCopyMode mode;
        TColor expected;
    };
    // Destination red (0,0,255 in BGR order), source 0x00FF0F0F.
    const Case cases[] = {
        {SRCCOPY, 0x00FF0F0F},
        {SRCINVERT, 0x00FF0F0F ^ clRed},
        {BLACKNESS, clBlack},
        {WHITENESS, clWhite},
        {SRCAND, 0x00FF0F0F & clRed},
        {SRCPAINT, 0x00FF0F0F | clRed},
        {DSTINVERT, 0x00FFFFFF & ~clRed},
    };
    for (const Case& k : cases) {
        Board dst(4, 4, clRed), src(2, 2, 0x00FF0F0F);
        dst.c.SetCopyMode(k.mode);
        dst.c.CopyRect({1, 1, 3, 3}, src.c, {0, 0, 2, 2});
        EXPECT_EQ(dst.c.Pixel(1, 1), k.expected) << std::hex << k.mode;
        EXPECT_EQ(dst.c.Pixel(2, 2), k.expected) << std::hex << k.mode;
        EXPECT_EQ(dst.c.Pixel(3, 3), clRed);
        EXPECT_EQ(dst.c.Pixel(0, 0), clRed);
    }
}

TEST(CanvasCopy, DrawUsesCopyModeAndScrollWithinOneImage) {
    Board dst(3, 1, clRed), src(2, 1, clWhite);
    dst.c.SetCopyMode(SRCINVERT);
    dst.c.Draw(1, 0, src.bmp);
    EXPECT_EQ(dst.c.Pixel(0, 0), clRed);
    EXPECT_EQ(dst.c.Pixel(1, 0), clAqua);

    // Moving a picture left over itself keeps every column.
    Board s(6, 2);
    for (int x = 0; x < 6; ++x)
        s.c.SetPixel(x, 1, RGB(x, 0, 0));
    s.c.CopyRect({0, 0, 4, 2}, s.c, {2, 0, 6, 2});
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(s.c.Pixel(x, 1), RGB(x + 2, 0, 0));
    // ... and moving it right as well.
    s.c.CopyRect({1, 0, 5, 2}, s.c, {0, 0, 4, 2});
    EXPECT_EQ(s.c.Pixel(1, 1), RGB(2, 0, 0));
    EXPECT_EQ(s.c.Pixel(4, 1), RGB(5, 0, 0));

    // Different sizes stretch.
    Board big(4, 4, clBlack), one(1, 1, clGreen);
    big.c.CopyRect({0, 0, 4, 4}, one.c, {0, 0, 1, 1});
    EXPECT_EQ(big.Count(clGreen), 16);
}

TEST(CanvasFrames, FocusRectIsDottedAndUndoesItself) {
    Board b(8, 6, clWhite);
    b.c.DrawFocusRect({1, 1, 7, 5});
    EXPECT_EQ(b.c.Pixel(1, 1), clBlack);
    EXPECT_EQ(b.c.Pixel(2, 1), clWhite);
    EXPECT_EQ(b.c.Pixel(3, 1), clBlack);
    EXPECT_EQ(b.c.Pixel(6, 4), clBlack);
    EXPECT_EQ(b.Count(clBlack), 8);
    EXPECT_EQ(b.c.Pixel(1, 3), clBlack);
    EXPECT_EQ(b.c.Pixel(3, 3), clWhite); // inside untouched
    const TRect ink = b.Ink();
    EXPECT_GE(ink.Left, 1);
    EXPECT_LE(ink.Right, 7);
    EXPECT_LE(ink.Bottom, 5);
    b.c.DrawFocusRect({1, 1, 7, 5});
    EXPECT_EQ(b.Count(clWhite), 48);
}

TEST(CanvasFrames, Frame3DBevelsAndShrinks) {
    Board b(8, 8, clWhite);
    TRect r{1, 1, 7, 7};
    Frame3D(b.c, r, clGray, clRed, 2);
    EXPECT_EQ(r, (TRect{3, 3, 5, 5}));
    EXPECT_EQ(b.c.Pixel(1, 1), clGray); // top-left corner
    EXPECT_EQ(b.c.Pixel(5, 1), clGray); // top edge
    EXPECT_EQ(b.c.Pixel(1, 5), clGray); // left edge
    EXPECT_EQ(b.c.Pixel(6, 1), clRed);  // top-right corner
    EXPECT_EQ(b.c.Pixel(1, 6), clRed);  // bottom-left corner
    EXPECT_EQ(b.c.Pixel(6, 6), clRed);  // bottom-right corner
    EXPECT_EQ(b.c.Pixel(2, 2), clGray); // second ring
    EXPECT_EQ(b.c.Pixel(5, 5), clRed);
    EXPECT_EQ(b.c.Pixel(3, 3), clWhite); // inside untouched
    EXPECT_EQ(b.Ink(), (TRect{1, 1, 7, 7}));
}

TEST(CanvasText, CentredSingleLineAndBackgroundModes) {
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
    EXPECT_EQ(o.c.Pixel(10, 5), clRed);
    EXPECT_EQ(o.c.Pixel(10 + o.c.TextWidth("88%") - 1, 5 + o.c.TextHeight("88%") - 1), clRed);
    EXPECT_EQ(o.c.Pixel(10 + o.c.TextWidth("88%"), 5), clBlue);
    // A clear brush also leaves the cell alone.
    Board c(120, 60, clBlue);
    c.c.Brush().Style = bsClear;
    c.c.TextOut(10, 5, "88%");
    EXPECT_EQ(c.Count(clBlue) + c.Count(clBlack), 120 * 60);
    EXPECT_GT(c.Count(clBlack), 0);
}

TEST(CanvasText, TextRectClips) {
    Board b(100, 40, clWhite);
    b.c.Font().Color = clBlack;
    b.c.TextRect({0, 0, 8, 40}, 2, 2, "WWWW");
    EXPECT_GT(b.Count(clBlack), 0);
    EXPECT_LE(b.Ink().Right, 8);
}

TEST(CanvasClip, DrawingStaysInTheClipRectangle) {
    Board b(10, 10);
    b.c.SetClipRect({2, 2, 5, 5});
    EXPECT_EQ(b.c.ClipRect(), (TRect{2, 2, 5, 5}));
    b.c.Brush().Color = clRed;
    b.c.FillRect({0, 0, 10, 10});
    b.c.Pen().Color = clBlue;
    b.c.MoveTo(0, 3);
    b.c.LineTo(10, 3);
    b.c.Ellipse(0, 0, 10, 10);
    b.c.DrawFocusRect({0, 0, 10, 10});
    EXPECT_EQ(b.Ink(), (TRect{2, 2, 5, 5}));
    b.c.ResetClipRect();
    b.c.SetPixel(9, 9, clBlue);
    EXPECT_EQ(b.c.Pixel(9, 9), clBlue);
}

TEST(CanvasClip, HugeCoordinatesDrawOnlyTheVisiblePart) {
    // Shapes and lines reaching far outside the image are drawn where they cross it, quickly and
    // without overflow.
    Board b(10, 10);
    b.c.Pen().Color = clBlue;
    b.c.MoveTo(INT_MIN + 1, 5);
    b.c.LineTo(INT_MAX, 5);
    EXPECT_EQ(b.Count(clBlue), 10);
    b.c.MoveTo(3, INT_MIN);
    b.c.LineTo(3, 8); // the end point is still left out
    EXPECT_EQ(b.c.Pixel(3, 7), clBlue);
    EXPECT_EQ(b.c.Pixel(3, 8), clWhite);
    b.c.MoveTo(-2000000000, -2000000000);
    b.c.LineTo(2000000000, 2000000000); // the diagonal through the image
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(b.c.Pixel(i, i), clBlue) << i;

    Board r(10, 10);
    r.c.Pen().Color = clBlue;
    r.c.Brush().Color = clRed;
    r.c.Rectangle(INT_MIN, 2, INT_MAX, INT_MAX);
    EXPECT_EQ(r.c.Pixel(5, 2), clBlue);
    EXPECT_EQ(r.c.Pixel(5, 3), clRed);
    r.c.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(r.Count(clRed), 100);
    r.c.DrawFocusRect({INT_MIN, 4, INT_MAX, INT_MAX});
    EXPECT_EQ(r.c.Pixel(0, 4), clAqua);
    r.c.SetCopyMode(SRCINVERT);
    r.c.CopyRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, r.c, {0, 0, 10, 10});
    r.c.CopyRect({0, 0, 10, 10}, r.c, {INT_MIN, 0, INT_MAX, 10});
    r.c.DrawText({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, "x", DT_CENTER | DT_VCENTER);
}

TEST(Bitmaps, ResizeKeepsPixelsAndFitToTemplateFills) {
    TBitmap a;
    EXPECT_EQ(a.Width(), 0);
    a.SetHeight(3);
    a.SetWidth(5);
    a.Canvas()->SetPixel(1, 1, clRed);
    a.SetWidth(7);
    EXPECT_EQ(a.Canvas()->Pixel(1, 1), clRed);
    EXPECT_EQ(a.Canvas()->Pixel(6, 2), clWhite);
    TBltBitmap overlay;
    overlay.FitToTemplate(a);
    EXPECT_EQ(overlay.Width(), 7);
    EXPECT_EQ(overlay.Height(), 3);
    EXPECT_EQ(overlay.Canvas()->Pixel(6, 2), ColorToRGB(clWindowFrame));
    EXPECT_EQ(overlay.Canvas()->Brush().Color, clWindowFrame);
}

} // namespace
