// SPDX-License-Identifier: MIT
#include "Perfgrap.h"

#include "SysUtils.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// The positive remainder of a by m (m > 0).
long long PositiveMod(long long a, long long m) {
    return ((a % m) + m) % m;
}

int ClampToInt(long long v) {
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

} // namespace

TPerformanceGraph::TPerformanceGraph(QWidget* owner)
    : TGraphicControl(owner), graphBitmap_(std::make_unique<TBitmap>()) {
    SetBounds(Left(), Top(), 100, 100);
    Canvas()->Pen().Width = penWidth_;
    historySize_ = GetBandCount() + 2;
    history_.assign(std::size_t(historySize_), TGraphBand{});
    oldestY_ = 1;
    currentY_ = 0;
    gridPhase_ = 0;
    Initialize(gridSize_ - 1);
}

TPerformanceGraph::~TPerformanceGraph() = default;

int TPerformanceGraph::GetBandCount() const {
    return Width() / stepSize_;
}

int TPerformanceGraph::RoundUp(int Value, int Multiple) {
    if (Multiple == 0)
        return Value;
    const long long v = Value, m = Multiple;
    if (v % m == 0)
        return Value;
    return ClampToInt((v / m + 1) * m);
}

int TPerformanceGraph::NextY(int Y) const {
    int next = Y + 1;
    if (next == historySize_)
        next = 0;
    return next == oldestY_ ? -1 : next;
}

int TPerformanceGraph::LastY(int Y) const {
    return Y == 0 ? historySize_ - 1 : Y - 1;
}

int TPerformanceGraph::ShiftY() {
    int y = currentY_ + 1;
    if (y == historySize_)
        y = 0;
    history_[std::size_t(y)].Count = 0;
    oldestY_ = y + 1 == historySize_ ? 0 : y + 1;
    currentY_ = y;
    return y;
}

void TPerformanceGraph::DataPoint(TColor Color, int Value) {
    TGraphBand& band = history_[std::size_t(currentY_)];
    if (band.Count >= 16)
        throw ERangeError(QStringLiteral("A step holds at most 16 data points"));
    band.Colors[std::size_t(band.Count)] = Color;
    band.Values[std::size_t(band.Count)] = Value;
    ++band.Count;
}

void TPerformanceGraph::Update() {
    ScrollGraph();
    ShiftY();
    int largest = 0;
    for (const TGraphBand& band : history_)
        for (int i = 0; i < band.Count; ++i)
            largest = std::max(largest, band.Values[std::size_t(i)]);
    const int scale = RoundUp(largest, gradient_);
    if (scale != scale_) {
        SetScale(scale);
    } else {
        DisplayPoints(LastY(currentY_));
        Refresh();
    }
}

void TPerformanceGraph::Initialize(int Offset) {
    graphBitmap_->SetSize(Width(), Height());
    TCanvas* c = graphBitmap_->Canvas();
    const int w = graphBitmap_->Width(), h = graphBitmap_->Height();
    fullRect_ = {0, 0, w, h};
    c->Brush().Color = backColor_;
    c->Brush().Style = bsSolid;
    c->FillRect(fullRect_);
    if (gridlines_) {
        c->Pen().Color = foreColor_;
        for (long long y = gridSize_; y < h; y += gridSize_) {
            c->MoveTo(0, int(y));
            c->LineTo(w, int(y));
        }
        long long x = Offset;
        for (; x < w; x += gridSize_) {
            c->MoveTo(int(x), 0);
            c->LineTo(int(x), h);
        }
        gridPhase_ = ClampToInt(x - w);
    }
    scrollSource_ = fullRect_;
    scrollSource_.Left = stepSize_;
    scrollDest_ = fullRect_;
    scrollDest_.Right = ClampToInt(static_cast<long long>(w) - stepSize_);
    newBandRect_ = fullRect_;
    newBandRect_.Left = scrollDest_.Right;
}

void TPerformanceGraph::ScrollGraph() {
    TCanvas* c = graphBitmap_->Canvas();
    c->SetCopyMode(SRCCOPY);
    c->CopyRect(scrollDest_, *c, scrollSource_);
    c->Brush().Color = backColor_;
    c->Brush().Style = bsSolid;
    c->FillRect(newBandRect_);
    if (!gridlines_)
        return;
    c->Pen().Color = foreColor_;
    for (long long y = gridSize_; y < newBandRect_.Bottom; y += gridSize_) {
        c->MoveTo(newBandRect_.Left, int(y));
        c->LineTo(newBandRect_.Right, int(y));
    }
    // The vertical grid lines that the scroll brought into view, at x = right edge + phase,
    // + GridSize ... while left of the right edge. With steps wider than the grid there are
    // several, most of them scrolled past the left edge already: only those that land in the
    // new band and the picture are drawn, so a step costs the same whatever its size. The phase
    // stays within 0..GridSize-1.
    const long long phase = static_cast<long long>(gridPhase_) - stepSize_;
    if (phase >= 0) {
        gridPhase_ = int(phase);
        return;
    }
    const long long right = fullRect_.Right;
    const long long left = std::max<long long>({0, newBandRect_.Left, right + phase});
    for (long long x = left + PositiveMod(right + phase - left, gridSize_); x < right;
         x += gridSize_) {
        c->MoveTo(int(x), 0);
        c->LineTo(int(x), fullRect_.Bottom);
    }
    gridPhase_ = int(PositiveMod(phase, gridSize_));
}

int TPerformanceGraph::ScaledHeight(long long value) const {
    const double rows = double(value) / double(scale_) * fullRect_.Bottom;
    // Far beyond the picture either way; keeps the conversion in range.
    return int(std::trunc(std::clamp(rows, -1.0e9, 1.0e9)));
}

void TPerformanceGraph::PaintBar(TColor Color, long long BaseValue, long long BarValue) {
    if (BarValue == 0 || scale_ == 0)
        return;
    const long long h = ScaledHeight(BarValue);
    const long long b = ScaledHeight(BaseValue);
    if (h == 0)
        return;
    TCanvas* c = graphBitmap_->Canvas();
    c->Brush().Color = Color;
    c->Brush().Style = bsSolid;
    const long long bottom = fullRect_.Bottom;
    c->FillRect({newBandRect_.Left, ClampToInt(bottom - b - h - 1), newBandRect_.Right,
                 ClampToInt(bottom - b)});
}

void TPerformanceGraph::PaintLine(TColor Color, long long FromValue, long long ToValue) {
    if (scale_ == 0)
        return;
    TCanvas* c = graphBitmap_->Canvas();
    c->Pen().Color = Color;
    const long long bottom = fullRect_.Bottom;
    // A steep segment would reach into the next band's first column; kept to its own band, a
    // full redraw gives the same picture as scrolling did.
    c->SetClipRect(newBandRect_);
    c->MoveTo(newBandRect_.Left, ClampToInt(bottom - ScaledHeight(FromValue)));
    c->LineTo(newBandRect_.Right, ClampToInt(bottom - ScaledHeight(ToValue)));
    c->ResetClipRect();
}

void TPerformanceGraph::DisplayPoints(int Y) {
    const TGraphBand& band = history_[std::size_t(Y)];
    const TGraphBand& before = history_[std::size_t(LastY(Y))];
    long long previous = 0;
    for (int i = 0; i < band.Count; ++i) {
        const TColor color = band.Colors[std::size_t(i)];
        const long long value = band.Values[std::size_t(i)];
        if (value == 0)
            continue;
        if (kind_ == pgBar) {
            PaintBar(color, previous, value - previous);
        } else {
            long long start = 0;
            for (int j = 0; j < before.Count; ++j)
                if (before.Colors[std::size_t(j)] == color) {
                    start = before.Values[std::size_t(j)];
                    break;
                }
            PaintLine(color, start, value);
        }
        previous = value;
    }
}

void TPerformanceGraph::Replay() {
    // A width change that no paint has seen yet: the history follows it before the picture is
    // rebuilt at the new size, or the paint would never notice it.
    if (graphBitmap_->Width() != Width())
        ReallocHistory();
    Initialize(int(PositiveMod(static_cast<long long>(Width()) + gridPhase_, gridSize_)));
    const TRect saved = newBandRect_;
    // Bands are laid out from the left so that the last completed step ends at the right edge,
    // where scrolling put it; a graph narrower than one step starts them at 0.
    const int bands = GetBandCount();
    long long x = bands == 0 ? 0 : Width() % stepSize_;
    for (int y = NextY(FirstY()); y != -1; y = NextY(y)) {
        newBandRect_.Left = ClampToInt(x);
        newBandRect_.Right = ClampToInt(x + stepSize_);
        x += stepSize_;
        DisplayPoints(y);
    }
    Refresh();
    newBandRect_ = saved;
}

void TPerformanceGraph::ReallocHistory() {
    const int n = GetBandCount() + 2;
    std::vector<TGraphBand> fresh(static_cast<std::size_t>(n));
    int y = FirstY();
    for (int skip = historySize_ - n; skip > 0; --skip)
        y = NextY(y);
    // The surviving records go to the end of the new ring, so that added empty records count as
    // the oldest: the newest steps keep their place at the right edge, and later steps scroll
    // in next to them.
    const int kept = std::min(historySize_, n);
    for (int i = n - kept; y != -1 && i < n; y = NextY(y))
        fresh[std::size_t(i++)] = history_[std::size_t(y)];
    history_ = std::move(fresh);
    historySize_ = n;
    currentY_ = n - 1;
    oldestY_ = 0;
}

void TPerformanceGraph::Paint() {
    // A new size redraws from the history, resized first when the width changed.
    if (graphBitmap_->Height() != Height() || graphBitmap_->Width() != Width())
        Replay();
    Canvas()->SetCopyMode(SRCCOPY);
    Canvas()->Draw(0, 0, *graphBitmap_);
}

void TPerformanceGraph::SetGraphKind(TGraphKind value) {
    if (value == kind_ || !IsEnumKey(value))
        return;
    kind_ = value;
    Replay();
    emit kindChanged(value);
}

void TPerformanceGraph::SetForeColor(TColor value) {
    if (value == foreColor_)
        return;
    foreColor_ = value;
    Replay();
    NoteColor(shownFore_, foreColor_, [this](const QColor& c) { emit foreColorChanged(c); });
}

void TPerformanceGraph::SetBackColor(TColor value) {
    if (value == backColor_)
        return;
    backColor_ = value;
    Replay();
    NoteColor(shownBack_, backColor_, [this](const QColor& c) { emit backColorChanged(c); });
}

void TPerformanceGraph::setForeColor(const QColor& value) {
    if (value.isValid() && QColorToColor(value) != ColorToRGB(foreColor_))
        SetForeColor(QColorToColor(value));
}

void TPerformanceGraph::setBackColor(const QColor& value) {
    if (value.isValid() && QColorToColor(value) != ColorToRGB(backColor_))
        SetBackColor(QColorToColor(value));
}

void TPerformanceGraph::PaletteChanged() {
    TGraphicControl::PaletteChanged();
    NoteColor(shownFore_, foreColor_, [this](const QColor& c) { emit foreColorChanged(c); });
    NoteColor(shownBack_, backColor_, [this](const QColor& c) { emit backColorChanged(c); });
}

void TPerformanceGraph::SetGridSize(int value) {
    if (value == gridSize_)
        return;
    const int old = gridSize_;
    gridSize_ = std::max(2, value);
    Replay();
    if (gridSize_ != old)
        emit gridSizeChanged(gridSize_);
}

void TPerformanceGraph::SetStepSize(int value) {
    if (value == stepSize_)
        return;
    const int old = stepSize_;
    stepSize_ = std::max(1, value);
    ReallocHistory();
    Replay();
    if (stepSize_ != old)
        emit stepSizeChanged(stepSize_);
}

void TPerformanceGraph::SetScale(int value) {
    if (value == scale_)
        return;
    const int old = scale_;
    scale_ = RoundUp(value, gradient_);
    if (OnScaleChange)
        OnScaleChange(this);
    emit scaleChanged(scale_);
    Replay();
    if (scale_ != old)
        emit scaleValueChanged(scale_);
}

void TPerformanceGraph::SetGradient(int value) {
    if (value == gradient_)
        return;
    gradient_ = value;
    Replay();
    emit gradientChanged(value);
}

void TPerformanceGraph::SetGridlines(bool value) {
    if (value == gridlines_)
        return;
    gridlines_ = value;
    Replay();
    emit gridlinesChanged(value);
}

void TPerformanceGraph::SetPenWidth(int value) {
    if (value == penWidth_)
        return;
    penWidth_ = value;
    Canvas()->Pen().Width = value;
    Replay();
    emit penWidthChanged(value);
}

// The meta-object code of this unit's classes, compiled here so that a program linking one
// class does not pull in every other class of the library with it.
#include "moc_Perfgrap.cpp"
