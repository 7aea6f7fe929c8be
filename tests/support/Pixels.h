// SPDX-License-Identifier: MIT
#pragma once
// Reading pictures back for pixel checks: a widget as it shows on screen, or a bitmap, as TColor
// values (red in the low byte), counted or bounded within a rectangle (the whole picture when
// none is given).
#include "Controls.h"
#include "Graphics.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace pixels {

// What the widget shows on screen, one 32-bit pixel per point. A control is shown first if it is
// a window of its own, and read from the picture its paints left once the pending ones ran, so
// that a change which forgot to ask for a repaint shows up stale, as it would on screen.
inline QImage Shot(QWidget& w) {
    auto* control = dynamic_cast<TControl*>(&w);
    if (control && w.isWindow() && !w.isVisible()) {
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    }
    if (!control || !w.isVisible())
        return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QApplication::processEvents();
    return control->Canvas()->Target()->copy();
}

inline TColor At(const QImage& image, int x, int y) {
    return PixelToColor(image.pixel(x, y));
}

inline TRect Whole(const QImage& image, TRect r) {
    return r.Width() > 0 ? r : TRect{0, 0, image.width(), image.height()};
}

// How many pixels of `r` show `color`.
inline int Count(const QImage& image, TColor color, TRect r = {}) {
    r = Whole(image, r);
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            n += At(image, x, y) == color;
    return n;
}

// The smallest rectangle holding every pixel of `r` that is not `background` ({} when none is).
inline TRect Ink(const QImage& image, TColor background, TRect r = {}) {
    r = Whole(image, r);
    TRect ink{r.Right, r.Bottom, r.Left, r.Top};
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (At(image, x, y) != background)
                ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
                       std::max(ink.Bottom, y + 1)};
    return ink.Width() > 0 ? ink : TRect{};
}

// The points where two pictures of the same size differ.
inline std::vector<QPoint> Changed(const QImage& a, const QImage& b) {
    std::vector<QPoint> points;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                points.emplace_back(x, y);
    return points;
}

// The columns of row y, or the rows of column x, that show `color`.
inline std::vector<int> ColumnsOf(const QImage& image, int y, TColor color) {
    std::vector<int> xs;
    for (int x = 0; x < image.width(); ++x)
        if (At(image, x, y) == color)
            xs.push_back(x);
    return xs;
}
inline std::vector<int> RowsOf(const QImage& image, int x, TColor color) {
    std::vector<int> ys;
    for (int y = 0; y < image.height(); ++y)
        if (At(image, x, y) == color)
            ys.push_back(y);
    return ys;
}

} // namespace pixels
