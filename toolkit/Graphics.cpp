// SPDX-License-Identifier: MIT
#include "Graphics.h"

// The pixel loops below are the hot path of every paint; let the compiler vectorise them in
// optimised builds (debug builds stay as they are).
#if defined(__GNUC__) && !defined(__clang__) && defined(NDEBUG)
#pragma GCC optimize("O3")
#endif

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>
#include <vector>

namespace {

using Px = std::uint32_t;
constexpr Px kOpaque = 0xFF000000u;

QPalette CurrentPalette() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::palette()
                                                                        : QPalette();
}

// Where each system colour is found in a Qt palette.
struct PaletteSlot {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
constexpr PaletteSlot kSystemColors[] = {
    {QPalette::Active, QPalette::Button},            // scroll bar
    {QPalette::Active, QPalette::Window},            // desktop background
    {QPalette::Active, QPalette::Highlight},         // active caption
    {QPalette::Inactive, QPalette::Highlight},       // inactive caption
    {QPalette::Active, QPalette::Window},            // menu
    {QPalette::Active, QPalette::Base},              // window
    {QPalette::Active, QPalette::Shadow},            // window frame
    {QPalette::Active, QPalette::WindowText},        // menu text
    {QPalette::Active, QPalette::Text},              // window text
    {QPalette::Active, QPalette::HighlightedText},   // caption text
    {QPalette::Active, QPalette::Window},            // active border
    {QPalette::Active, QPalette::Window},            // inactive border
    {QPalette::Active, QPalette::Dark},              // application work space
    {QPalette::Active, QPalette::Highlight},         // highlight
    {QPalette::Active, QPalette::HighlightedText},   // highlighted text
    {QPalette::Active, QPalette::Button},            // button face
    {QPalette::Active, QPalette::Dark},              // button shadow
    {QPalette::Disabled, QPalette::Text},            // grey text
    {QPalette::Active, QPalette::ButtonText},        // button text
    {QPalette::Inactive, QPalette::HighlightedText}, // inactive caption text
    {QPalette::Active, QPalette::Light},             // button highlight
    {QPalette::Active, QPalette::Shadow},            // 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 3-D light
    {QPalette::Active, QPalette::ToolTipText},       // info text
    {QPalette::Active, QPalette::ToolTipBase},       // info background
};

bool NeedsSource(TCopyMode mode) {
    return mode != BLACKNESS && mode != WHITENESS && mode != DSTINVERT;
}

Px* Row(QImage& image, int y) {
    return reinterpret_cast<Px*>(image.scanLine(y));
}
const Px* Row(const QImage& image, int y) {
    return reinterpret_cast<const Px*>(image.constScanLine(y));
}

// Sizes of a rectangle without overflow, whatever its coordinates.
long long WidthOf(const TRect& r) {
    return static_cast<long long>(r.Right) - r.Left;
}
long long HeightOf(const TRect& r) {
    return static_cast<long long>(r.Bottom) - r.Top;
}

TRect Normalized(int l, int t, int r, int b) {
    if (r < l)
        std::swap(l, r);
    if (b < t)
        std::swap(t, b);
    return {l, t, r, b};
}

TRect Intersect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.Right < r.Left)
        r.Right = r.Left;
    if (r.Bottom < r.Top)
        r.Bottom = r.Top;
    return r;
}

QFont DrawingFont(const TFont& font) {
    QFont f = font.Font;
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

} // namespace

TColor ColorToRGB(TColor color) {
    if ((color & 0xFF000000u) == 0x80000000u) {
        const std::uint32_t index = color & 0xFFu;
        if (index < std::size(kSystemColors)) {
            const PaletteSlot slot = kSystemColors[index];
            return QColorToColor(CurrentPalette().color(slot.group, slot.role));
        }
        return clBlack;
    }
    return color & 0x00FFFFFFu;
}

QColor ColorToQColor(TColor color) {
    const TColor c = ColorToRGB(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor QColorToColor(const QColor& color) {
    return RGB(color.red(), color.green(), color.blue());
}

std::uint32_t ColorToPixel(TColor color) {
    const TColor c = ColorToRGB(color);
    return kOpaque | (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) |
           std::uint32_t(GetBValue(c));
}

const TPaletteEntry* DefaultPaletteEntries() {
    static constexpr TPaletteEntry entries[DefaultPaletteSize] = {
        {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
        {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
        {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
        {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
        {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
    };
    return entries;
}

void InflateRect(TRect& rect, int dx, int dy) {
    rect.Left -= dx;
    rect.Right += dx;
    rect.Top -= dy;
    rect.Bottom += dy;
}

void OffsetRect(TRect& rect, int dx, int dy) {
    rect.Left += dx;
    rect.Right += dx;
    rect.Top += dy;
    rect.Bottom += dy;
}

TFont::TFont() : Font(QGuiApplication::font()) {}

// ---------------------------------------------------------------------------------------------
// TCanvas

TCanvas::TCanvas(QImage* target) : target_(target) {}

void TCanvas::Prepare() {
    bits_ = target_ && !target_->isNull() ? target_->bits() : nullptr;
    stride_ = target_ ? target_->bytesPerLine() : 0;
    drawable_ = ClipRect();
    penPixel_ = ColorToPixel(pen_.Color);
}

void TCanvas::Changed() {
    if (OnChange)
        OnChange();
}

int TCanvas::Width() const {
    return target_ ? target_->width() : 0;
}
int TCanvas::Height() const {
    return target_ ? target_->height() : 0;
}

TRect TCanvas::ClipRect() const {
    const TRect image{0, 0, Width(), Height()};
    return hasClip_ ? Intersect(image, clip_) : image;
}

void TCanvas::SetClipRect(const TRect& rect) {
    hasClip_ = true;
    clip_ = rect;
}

bool TCanvas::Inside(int x, int y) const {
    if (!target_ || x < 0 || y < 0 || x >= target_->width() || y >= target_->height())
        return false;
    return !hasClip_ || (x >= clip_.Left && y >= clip_.Top && x < clip_.Right && y < clip_.Bottom);
}

TColor TCanvas::Pixel(int x, int y) const {
    if (!target_ || x < 0 || y < 0 || x >= target_->width() || y >= target_->height())
        return clBlack;
    return PixelToColor(Row(std::as_const(*target_), y)[x]);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    if (!Inside(x, y))
        return;
    Prepare();
    Dst(y)[x] = ColorToPixel(color);
    Changed();
}

// Puts one pixel of a pen line; `index` counts the pixels of the figure for dotted pens.
void TCanvas::PlotPen(int x, int y, int index) {
    if (pen_.Style == psDot && (index & 1))
        return;
    const int w = pen_.Width > 1 ? pen_.Width : 1;
    const int x0 = x - (w - 1) / 2, y0 = y - (w - 1) / 2;
    const int left = std::max(x0, drawable_.Left), right = std::min(x0 + w, drawable_.Right);
    const int top = std::max(y0, drawable_.Top), bottom = std::min(y0 + w, drawable_.Bottom);
    for (int py = top; py < bottom; ++py) {
        Px* row = Dst(py);
        for (int px = left; px < right; ++px) {
            Px& p = row[px];
            switch (pen_.Mode) {
            case pmCopy:
                p = penPixel_;
                break;
            case pmNot:
                p = ~p | kOpaque;
                break;
            case pmXor:
                p = (p ^ penPixel_) | kOpaque;
                break;
            }
        }
    }
}

// Whether pen runs can be written as plain fills.
bool TCanvas::PlainPen() const {
    return pen_.Width <= 1 && pen_.Style == psSolid && pen_.Mode == pmCopy;
}

// Runs of pen pixels; the part far outside the drawing area is skipped (but counted, so that
// dotted pens keep their pattern).
void TCanvas::HLine(int x0, int x1, int y, int& index) {
    const long long reach = std::max(1, pen_.Width);
    const long long first = std::max<long long>(x0, drawable_.Left - reach);
    const long long last = std::min<long long>(x1, drawable_.Right + reach);
    if (first > last) {
        index += int((static_cast<long long>(x1) - x0 + 1) & 1);
        return;
    }
    index += int((first - x0) & 1);
    if (PlainPen()) {
        const long long l = std::max<long long>(first, drawable_.Left);
        const long long r = std::min<long long>(last, drawable_.Right - 1);
        if (y >= drawable_.Top && y < drawable_.Bottom && l <= r)
            std::fill_n(Dst(y) + l, std::size_t(r - l + 1), penPixel_);
        index += int((last - first + 1) & 1);
    } else {
        for (long long x = first; x <= last; ++x)
            PlotPen(int(x), y, index++);
    }
    index += int((x1 - last) & 1);
}

void TCanvas::VLine(int x, int y0, int y1, int& index) {
    const long long reach = std::max(1, pen_.Width);
    const long long first = std::max<long long>(y0, drawable_.Top - reach);
    const long long last = std::min<long long>(y1, drawable_.Bottom + reach);
    if (first > last) {
        index += int((static_cast<long long>(y1) - y0 + 1) & 1);
        return;
    }
    index += int((first - y0) & 1);
    if (PlainPen()) {
        const long long t = std::max<long long>(first, drawable_.Top);
        const long long b = std::min<long long>(last, drawable_.Bottom - 1);
        if (x >= drawable_.Left && x < drawable_.Right)
            for (long long y = t; y <= b; ++y)
                Dst(int(y))[x] = penPixel_;
        index += int((last - first + 1) & 1);
    } else {
        for (long long y = first; y <= last; ++y)
            PlotPen(x, int(y), index++);
    }
    index += int((y1 - last) & 1);
}

void TCanvas::MoveTo(int x, int y) {
    penPos_ = QPoint(x, y);
}

void TCanvas::LineTo(int x1, int y1) {
    long long x = penPos_.x(), y = penPos_.y();
    penPos_ = QPoint(x1, y1);
    if (!target_ || pen_.Style == psClear)
        return;
    Prepare();
    if (PlainPen() && (y == y1 || x == x1) && !(x == x1 && y == y1)) {
        // Grid lines: a plain pen along a row or a column is a run of pixels, the end left out.
        int index = 0;
        const long long to = y == y1 ? x1 : y1, from = y == y1 ? x : y;
        const int first = int(std::min(from, to + 1)), last = int(std::max(from, to - 1));
        if (y == y1)
            HLine(first, last, y1, index);
        else
            VLine(x1, first, last, index);
        Changed();
        return;
    }
    long long dx = std::llabs(x1 - x), dy = -std::llabs(y1 - y);
    const int sx = x < x1 ? 1 : -1, sy = y < y1 ? 1 : -1;
    long long steps = std::max(dx, -dy); // pixels drawn: the end point is left out
    if (steps > (1 << 16)) {
        // A very long line: start where it comes near the drawing area and stop when it has
        // passed it, so that the loop runs over the part that can be seen.
        const TRect clip = ClipRect();
        const double margin = std::max(1, pen_.Width) + 1.0;
        const double px = double(x1 - x), py = double(y1 - y);
        double t0 = 0, t1 = 1;
        auto edge = [&](double p, double q) { // keeps the part of the line where p t <= q
            if (p == 0)
                return q >= 0;
            const double t = q / p;
            if (p < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
            return t0 <= t1;
        };
        if (!(edge(-px, double(x) - (clip.Left - margin)) &&
              edge(px, (clip.Right + margin) - double(x)) &&
              edge(-py, double(y) - (clip.Top - margin)) &&
              edge(py, (clip.Bottom + margin) - double(y))))
            return;
        if (t0 > 0) {
            x += std::llround(t0 * px);
            y += std::llround(t0 * py);
            dx = std::llabs(x1 - x);
            dy = -std::llabs(y1 - y);
        }
        steps = std::min(std::max(dx, -dy), std::llround((t1 - t0) * double(steps)) + 2);
    }
    // Bresenham.
    long long err = dx + dy;
    int index = 0;
    for (; steps > 0 && !(x == x1 && y == y1); --steps) {
        PlotPen(int(x), int(y), index++);
        const long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    Changed();
}

void TCanvas::FillRect(const TRect& rect) {
    if (!target_ || brush_.Style == bsClear)
        return;
    Prepare();
    const TRect r = Intersect(rect, ClipRect());
    const Px color = ColorToPixel(brush_.Color);
    for (int y = r.Top; y < r.Bottom; ++y)
        std::fill_n(Dst(y) + r.Left, r.Right - r.Left, color);
    Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    const TRect r = Normalized(rect.Left, rect.Top, rect.Right, rect.Bottom);
    if (!target_ || WidthOf(r) <= 0 || HeightOf(r) <= 0)
        return;
    Prepare();
    const TPen saved = pen_;
    pen_ = TPen{brush_.Color, 1, psSolid, pmCopy};
    Prepare();
    int index = 0;
    HLine(r.Left, r.Right - 1, r.Top, index);
    HLine(r.Left, r.Right - 1, r.Bottom - 1, index);
    VLine(r.Left, r.Top + 1, r.Bottom - 2, index);
    VLine(r.Right - 1, r.Top + 1, r.Bottom - 2, index);
    pen_ = saved;
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    const TRect r = Normalized(left, top, right, bottom);
    if (!target_ || WidthOf(r) <= 0 || HeightOf(r) <= 0)
        return;
    Prepare();
    if (pen_.Style == psClear) {
        FillRect(r);
        return;
    }
    const long long smaller = std::min(WidthOf(r), HeightOf(r));
    const int w = int(std::clamp<long long>(pen_.Width, 1, std::max<long long>(1, smaller / 2)));
    TRect inner = r;
    InflateRect(inner, -w, -w);
    if (WidthOf(inner) > 0 && HeightOf(inner) > 0)
        FillRect(inner);
    // Rings of one pixel, from the outside in, so every outline pixel is drawn exactly once.
    const TPen saved = pen_;
    pen_.Width = 1;
    int index = 0;
    TRect ring = r;
    for (int i = 0; i < w && WidthOf(ring) > 0 && HeightOf(ring) > 0; ++i) {
        HLine(ring.Left, ring.Right - 1, ring.Top, index);
        if (HeightOf(ring) > 1)
            HLine(ring.Left, ring.Right - 1, ring.Bottom - 1, index);
        VLine(ring.Left, ring.Top + 1, ring.Bottom - 2, index);
        if (WidthOf(ring) > 1)
            VLine(ring.Right - 1, ring.Top + 1, ring.Bottom - 2, index);
        InflateRect(ring, -1, -1);
    }
    pen_ = saved;
    Changed();
}

namespace {

// Pixels first..last of a row (empty when first > last).
struct Run {
    int first, last;
};

// The pixels of lo..hi where `test` holds, for a test that is linear along the row with the
// given slope: it holds on one side of a single change.
template <class Test> Run RunWhere(Test test, double slope, int lo, int hi) {
    if (lo > hi)
        return {lo, hi};
    if (slope == 0)
        return test(lo) ? Run{lo, hi} : Run{lo, lo - 1};
    // Start at the end where the test is most likely to fail and walk to the change; a bisection
    // finds it in a few steps whatever the row's length.
    const bool rising = slope > 0; // holds to the right of the change
    int a = lo, b = hi;
    if (rising) {
        if (!test(hi))
            return {lo, lo - 1};
        if (test(lo))
            return {lo, hi};
        while (b - a > 1) { // test(a) false, test(b) true
            const int m = a + (b - a) / 2;
            (test(m) ? b : a) = m;
        }
        return {b, hi};
    }
    if (!test(lo))
        return {lo, lo - 1};
    if (test(hi))
        return {lo, hi};
    while (b - a > 1) { // test(a) true, test(b) false
        const int m = a + (b - a) / 2;
        (test(m) ? a : b) = m;
    }
    return {lo, a};
}

} // namespace

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    Shape(left, top, right, bottom, false, 0, 0, 0, 0);
}

void TCanvas::Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
    Shape(left, top, right, bottom, true, x3, y3, x4, y4);
}

void TCanvas::Shape(int left, int top, int right, int bottom, bool wedge, int x3, int y3, int x4,
                    int y4) {
    const TRect box = Normalized(left, top, right, bottom);
    if (!target_ || box.Right == box.Left || box.Bottom == box.Top)
        return;
    Prepare();
    // Work area: the box within the image plus a one-pixel margin for the border test.
    const TRect area = Intersect(box, {-1, -1, Width() + 1, Height() + 1});
    const int aw = area.Width(), ah = area.Height();
    if (aw <= 0 || ah <= 0)
        return;
    const double a = (double(box.Right) - box.Left) / 2.0, b = (double(box.Bottom) - box.Top) / 2.0;
    const double cx = box.Left + a, cy = box.Top + b;

    // The sector, in coordinates with y pointing up: from ray s counterclockwise to ray e.
    const double sx = x3 - cx, sy = cy - y3, ex = x4 - cx, ey = cy - y4;
    const double turn = sx * ey - sy * ex, dot = sx * ex + sy * ey;
    const bool whole =
        !wedge || (turn == 0 && dot >= 0) || (sx == 0 && sy == 0) || (ex == 0 && ey == 0);
    // Membership of every pixel of the work area, by its centre, in a mask with a one-pixel
    // frame of non-members so that the border test needs no bounds checks.
    const std::size_t stride = std::size_t(aw) + 2;
    std::vector<std::uint8_t> mask(stride * (std::size_t(ah) + 2), 0);
    auto maskRow = [&](int y) { return &mask[std::size_t(y - area.Top + 1) * stride + 1]; };
    std::vector<int> spanLeft(std::size_t(ah), 0), spanRight(std::size_t(ah), -1);
    for (int y = area.Top; y < area.Bottom; ++y) {
        const double dy = (y + 0.5 - cy) / b;
        const double t = 1.0 - dy * dy;
        if (t < 0)
            continue;
        const double half = a * std::sqrt(t);
        const int xl =
            int(std::clamp(std::ceil(cx - half - 0.5), double(area.Left), double(area.Right)));
        const int xr = int(
            std::clamp(std::floor(cx + half - 0.5), double(area.Left) - 1, double(area.Right) - 1));
        if (xl > xr)
            continue;
        spanLeft[std::size_t(y - area.Top)] = xl;
        spanRight[std::size_t(y - area.Top)] = xr;
        std::uint8_t* row = maskRow(y) - area.Left;
        if (whole) {
            std::memset(row + xl, 1, std::size_t(xr - xl + 1));
            continue;
        }
        // Each ray's test is linear along the row, so its pixels form one run: find where the
        // test changes and fill runs instead of testing every pixel.
        const double vy = cy - (y + 0.5);
        auto fromStart = [&](int x) { return sx * vy - sy * (x + 0.5 - cx) >= 0; };
        auto toEnd = [&](int x) { return (x + 0.5 - cx) * ey - vy * ex >= 0; };
        const Run first = RunWhere(fromStart, -sy, xl, xr);
        const Run second = RunWhere(toEnd, ey, xl, xr);
        auto mark = [&](Run r) {
            if (r.first <= r.last)
                std::memset(row + r.first, 1, std::size_t(r.last - r.first + 1));
        };
        if (turn > 0) {
            mark({std::max(first.first, second.first), std::min(first.last, second.last)});
        } else if (turn < 0) {
            mark(first);
            mark(second);
        } else {
            mark(first);
        }
    }

    const bool pen = pen_.Style != psClear;
    const bool brush = brush_.Style != bsClear;
    // A wedge's outline also runs along both radii, from the centre to where each ray meets the
    // ellipse, as the platform draws it. The radii close a gap too thin to hold a pixel centre
    // as well, so a pie of nearly the whole ellipse shows none.
    std::vector<std::uint8_t> radii;
    if (pen && !whole) {
        radii.assign(mask.size(), 0);
        auto mark = [&](int x, int y) {
            const std::size_t row = std::size_t(y - area.Top);
            if (y >= area.Top && y < area.Bottom && x >= spanLeft[row] && x <= spanRight[row])
                radii[(row + 1) * stride + 1 + std::size_t(x - area.Left)] = 1;
        };
        for (const auto& [rx, ry] : {std::pair{sx, -sy}, std::pair{ex, -ey}}) {
            const double reach = 1.0 / std::sqrt((rx / a) * (rx / a) + (ry / b) * (ry / b));
            const double x0 = cx, y0 = cy, x1 = cx + reach * rx, y1 = cy + reach * ry;
            // One pixel per column (or row, for a steep radius), only where the area is.
            const bool steep = std::abs(ry) > std::abs(rx);
            const double from = steep ? std::min(y0, y1) : std::min(x0, x1);
            const double to = steep ? std::max(y0, y1) : std::max(x0, x1);
            const int lo = int(std::max(std::floor(from), double(steep ? area.Top : area.Left)));
            const int hi =
                int(std::min(std::floor(to), double(steep ? area.Bottom : area.Right) - 1));
            for (int i = lo; i <= hi; ++i) {
                const double along = std::clamp(i + 0.5, from, to);
                if (steep)
                    mark(int(std::floor(x0 + (along - y0) * rx / ry)), i);
                else
                    mark(i, int(std::floor(y0 + (along - x0) * ry / rx)));
            }
        }
    }
    const Px fill = ColorToPixel(brush_.Color);
    const TPen saved = pen_;
    pen_.Width = 1;
    int index = 0;
    const TRect visible = Intersect(area, ClipRect());
    std::vector<std::uint8_t> border(std::size_t(std::max(0, visible.Width())) + 8);
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        const int xl = std::max(visible.Left, spanLeft[std::size_t(y - area.Top)]);
        const int xr = std::min(visible.Right - 1, spanRight[std::size_t(y - area.Top)]);
        Px* row = Dst(y);
        const std::uint8_t* m = maskRow(y) - area.Left;
        const std::uint8_t* up = m - stride;
        const std::uint8_t* down = m + stride;
        const std::uint8_t* radius =
            radii.empty() ? nullptr
                          : &radii[std::size_t(y - area.Top + 1) * stride + 1] - area.Left;
        // Inside pixels with all four neighbours inside take the brush; the others are the
        // outline. Without a pen the outline takes the brush too.
        if (brush) {
            for (int x = xl; x <= xr; ++x) {
                const bool take = pen ? (m[x] & m[x - 1] & m[x + 1] & up[x] & down[x]) : m[x];
                row[x] = take && !(radius && radius[x]) ? fill : row[x];
            }
        }
        if (pen && xl <= xr) {
            // Outline flags first (a loop the compiler vectorises), then a scan that skips
            // eight pixels at a time where there is no outline.
            const std::size_t n = std::size_t(xr - xl + 1);
            std::uint8_t* __restrict flags = border.data();
            const std::uint8_t* __restrict here = m + xl;
            const std::uint8_t* __restrict above = up + xl;
            const std::uint8_t* __restrict below = down + xl;
            for (std::ptrdiff_t i = 0; i < std::ptrdiff_t(n); ++i)
                flags[i] = here[i] & ~(here[i - 1] & here[i + 1] & above[i] & below[i]) & 1;
            if (radius)
                for (std::size_t i = 0; i < n; ++i)
                    flags[i] |= radius[xl + int(i)];
            std::memset(flags + n, 0, 8);
            for (std::size_t i = 0; i < n; i += 8) {
                std::uint64_t word;
                std::memcpy(&word, &border[i], sizeof word);
                if (word == 0)
                    continue;
                for (std::size_t j = i; j < i + 8 && j < n; ++j)
                    if (border[j])
                        PlotPen(xl + int(j), y, index++);
            }
        }
    }
    pen_ = saved;
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    const TRect r = Normalized(rect.Left, rect.Top, rect.Right, rect.Bottom);
    if (!target_ || WidthOf(r) <= 0 || HeightOf(r) <= 0)
        return;
    Prepare();
    // Pixels whose coordinates add up to an even number form the dotted pattern, so the dots
    // stay in place wherever the frame is drawn and a second call restores the picture.
    auto invert = [this](int x, int y) {
        if (((static_cast<long long>(x) + y) & 1) == 0 && Inside(x, y)) {
            Px& p = Dst(y)[x];
            p = (p ^ 0x00FFFFFFu) | kOpaque;
        }
    };
    // Only the part of the frame inside the drawing area is visited.
    const TRect clip = ClipRect();
    const int x0 = std::max(r.Left, clip.Left), x1 = std::min(r.Right, clip.Right);
    for (int x = x0; x < x1; ++x) {
        invert(x, r.Top);
        if (r.Bottom - 1 > r.Top)
            invert(x, r.Bottom - 1);
    }
    const int y0 = std::max(r.Top + 1, clip.Top), y1 = std::min(r.Bottom - 1, clip.Bottom);
    for (int y = y0; y < y1; ++y) {
        invert(r.Left, y);
        if (r.Right - 1 > r.Left)
            invert(r.Right - 1, y);
    }
    Changed();
}

namespace {

// Runs `body(op)` with the pixel operation of a copy mode, so that each mode gets its own
// tight loop.
template <class Body> void WithCopyMode(TCopyMode mode, Body body) {
    switch (mode) {
    case SRCPAINT:
        body([](Px d, Px s) { return d | s | kOpaque; });
        break;
    case SRCAND:
        body([](Px d, Px s) { return (d & s) | kOpaque; });
        break;
    case SRCINVERT:
        body([](Px d, Px s) { return (d ^ s) | kOpaque; });
        break;
    case NOTSRCCOPY:
        body([](Px, Px s) { return ~s | kOpaque; });
        break;
    case DSTINVERT:
        body([](Px d, Px) { return ~d | kOpaque; });
        break;
    case BLACKNESS:
        body([](Px, Px) { return kOpaque; });
        break;
    case WHITENESS:
        body([](Px, Px) { return Px(0xFFFFFFFFu); });
        break;
    default:
        body([](Px, Px s) { return s | kOpaque; });
        break;
    }
}

} // namespace

void TCanvas::CopyRect(const TRect& dest, const TCanvas& canvas, const TRect& source) {
    const long long destW = WidthOf(dest), destH = HeightOf(dest);
    const long long sourceW = WidthOf(source), sourceH = HeightOf(source);
    if (!target_ || destW <= 0 || destH <= 0)
        return;
    Prepare();
    const TCopyMode mode = copyMode_;
    const TRect clipped = Intersect(dest, ClipRect());
    if (!NeedsSource(mode)) {
        WithCopyMode(mode, [&](auto op) {
            for (int y = clipped.Top; y < clipped.Bottom; ++y) {
                Px* row = Dst(y);
                for (int x = clipped.Left; x < clipped.Right; ++x)
                    row[x] = op(row[x], 0);
            }
        });
        Changed();
        return;
    }
    const QImage* src = canvas.target_;
    if (!src || sourceW <= 0 || sourceH <= 0)
        return;
    const bool sameSize = destW == sourceW && destH == sourceH;
    if (sameSize) {
        // Destination pixels whose source pixel lies inside the source image; the offsets are
        // small whenever there is any.
        const long long ox = static_cast<long long>(source.Left) - dest.Left;
        const long long oy = static_cast<long long>(source.Top) - dest.Top;
        const long long l = std::max<long long>(clipped.Left, -ox);
        const long long t = std::max<long long>(clipped.Top, -oy);
        const long long r = std::min<long long>(clipped.Right, src->width() - ox);
        const long long b = std::min<long long>(clipped.Bottom, src->height() - oy);
        if (l >= r || t >= b)
            return;
        const TRect area{int(l), int(t), int(r), int(b)};
        const int dx = int(ox), dy = int(oy);
        const std::size_t n = std::size_t(area.Width());
        if (src == target_ && mode == SRCCOPY) {
            // Scrolling within one image: move rows in an order that reads each source row
            // before it is overwritten.
            auto moveRow = [&](int y) {
                std::memmove(Dst(y) + area.Left, Dst(y + dy) + area.Left + dx, sizeof(Px) * n);
            };
            if (dy >= 0)
                for (int y = area.Top; y < area.Bottom; ++y)
                    moveRow(y);
            else
                for (int y = area.Bottom - 1; y >= area.Top; --y)
                    moveRow(y);
            Changed();
            return;
        }
        const QImage copy = src == target_ ? src->copy() : QImage();
        const QImage& from = src == target_ ? copy : *src;
        WithCopyMode(mode, [&](auto op) {
            for (int y = area.Top; y < area.Bottom; ++y) {
                Px* row = Dst(y) + area.Left;
                const Px* srow = Row(from, y + dy) + area.Left + dx;
                for (std::size_t i = 0; i < n; ++i)
                    row[i] = op(row[i], srow[i]);
            }
        });
        Changed();
        return;
    }
    // Stretched: each destination pixel takes the nearest source pixel.
    const QImage copy = src == target_ ? src->copy() : QImage();
    const QImage& from = src == target_ ? copy : *src;
    WithCopyMode(mode, [&](auto op) {
        for (int y = clipped.Top; y < clipped.Bottom; ++y) {
            const long long sy =
                source.Top + static_cast<long long>(std::floor((static_cast<double>(y) - dest.Top) *
                                                               double(sourceH) / double(destH)));
            if (sy < 0 || sy >= from.height())
                continue;
            Px* row = Dst(y);
            const Px* srow = Row(from, int(sy));
            for (int x = clipped.Left; x < clipped.Right; ++x) {
                const long long sx =
                    source.Left +
                    static_cast<long long>(std::floor((static_cast<double>(x) - dest.Left) *
                                                      double(sourceW) / double(destW)));
                if (sx < 0 || sx >= from.width())
                    continue;
                row[x] = op(row[x], srow[sx]);
            }
        }
    });
    Changed();
}

void TCanvas::Draw(int x, int y, const QImage& image) {
    if (image.isNull())
        return;
    QImage rgb = image.format() == QImage::Format_RGB32
                     ? image
                     : image.convertToFormat(QImage::Format_RGB32);
    TCanvas source(&rgb);
    CopyRect({x, y, x + rgb.width(), y + rgb.height()}, source, {0, 0, rgb.width(), rgb.height()});
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    Draw(x, y, bitmap.Image());
}

int TCanvas::TextWidth(const QString& text) const {
    return QFontMetrics(DrawingFont(font_)).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) const {
    return QFontMetrics(DrawingFont(font_)).height();
}

void TCanvas::DrawTextCell(int x, int y, const QString& text, const QRect* clip) {
    if (!target_ || target_->isNull())
        return;
    const QFont font = DrawingFont(font_);
    const QFontMetrics metrics(font);
    const QRect cell(x, y, metrics.horizontalAdvance(text), metrics.height());
    {
        QPainter p(target_);
        p.setRenderHint(QPainter::Antialiasing, false);
        const QRect allowed = ClipRect().ToQRect();
        p.setClipRect(clip ? *clip & allowed : allowed);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        if (bkMode_ == bmOpaque && brush_.Style != bsClear)
            p.fillRect(cell, ColorToQColor(brush_.Color));
        p.setFont(font);
        p.setPen(ColorToQColor(font_.Color));
        p.drawText(QPoint(x, y + metrics.ascent()), text);
    }
    Changed();
}

void TCanvas::TextOut(int x, int y, const QString& text) {
    DrawTextCell(x, y, text, nullptr);
    penPos_ = QPoint(x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& clip, int x, int y, const QString& text) {
    const QRect r = Intersect(clip, ClipRect()).ToQRect();
    DrawTextCell(x, y, text, &r);
}

void TCanvas::DrawText(const TRect& rect, const QString& text, unsigned flags) {
    const int w = TextWidth(text), h = TextHeight(text);
    int x = rect.Left, y = rect.Top;
    auto fit = [](long long v) { return int(std::clamp<long long>(v, INT_MIN / 2, INT_MAX / 2)); };
    if (flags & DT_CENTER)
        x = fit(rect.Left + (WidthOf(rect) - w) / 2);
    else if (flags & DT_RIGHT)
        x = fit(static_cast<long long>(rect.Right) - w);
    if (flags & DT_VCENTER)
        y = fit(rect.Top + (HeightOf(rect) - h) / 2);
    else if (flags & DT_BOTTOM)
        y = fit(static_cast<long long>(rect.Bottom) - h);
    if (flags & DT_NOCLIP) {
        DrawTextCell(x, y, text, nullptr);
    } else {
        const QRect r = Intersect(rect, ClipRect()).ToQRect();
        DrawTextCell(x, y, text, &r);
    }
}

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    TPen& pen = canvas.Pen();
    const TPen saved = pen;
    pen.Width = 1;
    pen.Style = psSolid;
    TRect r = rect;
    --r.Right;
    --r.Bottom; // r now names the last column and row
    for (int i = 0; i < width; ++i) {
        // Left edge upwards and top edge rightwards, leaving the top-right corner out.
        pen.Color = topColor;
        canvas.MoveTo(r.Left, r.Bottom);
        canvas.LineTo(r.Left, r.Top);
        canvas.LineTo(r.Right, r.Top);
        // Right edge downwards and bottom edge leftwards, both corners included.
        pen.Color = bottomColor;
        canvas.LineTo(r.Right, r.Bottom);
        canvas.LineTo(r.Left - 1, r.Bottom);
        InflateRect(r, -1, -1);
    }
    ++r.Right;
    ++r.Bottom;
    rect = r;
    const QPoint pos = canvas.PenPos();
    pen = saved;
    canvas.MoveTo(pos.x(), pos.y());
}

// ---------------------------------------------------------------------------------------------
// Bitmaps

TBitmap::TBitmap() : canvas_(&image_) {}
TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == width_ && height == height_)
        return;
    width_ = width;
    height_ = height;
    QImage resized(width, height, QImage::Format_RGB32);
    resized.fill(0xFFFFFFFFu);
    const int w = std::min(width, image_.width()), h = std::min(height, image_.height());
    for (int y = 0; y < h; ++y)
        std::memcpy(Row(resized, y), Row(image_, y), sizeof(Px) * std::size_t(w));
    image_ = std::move(resized);
}

void TBitmap::SetWidth(int width) {
    SetSize(width, Height());
}
void TBitmap::SetHeight(int height) {
    SetSize(Width(), height);
}

void TBltBitmap::FitToTemplate(const TBitmap& templ) {
    SetWidth(templ.Width());
    SetHeight(templ.Height());
    Canvas()->Brush().Color = clWindowFrame;
    Canvas()->Brush().Style = bsSolid;
    Canvas()->FillRect({0, 0, Width(), Height()});
}
