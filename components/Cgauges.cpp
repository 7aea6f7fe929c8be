// SPDX-License-Identifier: MIT
#include "Cgauges.h"

#include "SysUtils.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

namespace {

// The message of a value outside the bounds a setter accepts.
Exception OutOfRange(long long low, long long high) {
    return Exception(QStringLiteral("Value must be between %1 and %2").arg(low).arg(high));
}

// Draws `image` black by copying its own area onto itself with BLACKNESS.
void Blacken(TBitmap& image, int width, int height) {
    TCanvas* c = image.Canvas();
    c->SetCopyMode(BLACKNESS);
    c->CopyRect({0, 0, width, height}, *c, {0, 0, width, height});
    c->SetCopyMode(SRCCOPY);
}

} // namespace

TCGauge::TCGauge(QWidget* owner) : TGraphicControl(owner) {
    SetBounds(Left(), Top(), 100, 100);
}

TCGauge::~TCGauge() = default;

int TCGauge::PercentOf(long long part, long long range) {
    if (range == 0)
        return 0;
    return int(std::floor(double(part) * 100.0 / double(range)));
}

int TCGauge::ScaleByPercent(int percent, int extent) {
    return int(std::floor(percent * 0.01 * extent));
}

int TCGauge::GetPercentDone() const {
    return PercentOf(static_cast<long long>(progress_) - minValue_,
                     static_cast<long long>(maxValue_) - minValue_);
}

void TCGauge::SeTCGaugeKind(TCGaugeKind kind) {
    if (kind == kind_ || !IsEnumKey(kind))
        return;
    kind_ = kind;
    Refresh();
    emit kindChanged(kind);
}

void TCGauge::SetShowText(bool value) {
    if (value == showText_)
        return;
    showText_ = value;
    Refresh();
    emit showTextChanged(value);
}

void TCGauge::SetBorderStyle(TFormBorderStyle value) {
    if (value == borderStyle_ || !IsEnumKey(value))
        return;
    borderStyle_ = value;
    Refresh();
    emit borderStyleChanged(value);
}

void TCGauge::SetForeColor(TColor value) {
    if (value == foreColor_)
        return;
    foreColor_ = value;
    Refresh();
    NoteColor(shownFore_, foreColor_, [this](const QColor& c) { emit foreColorChanged(c); });
}

void TCGauge::SetBackColor(TColor value) {
    if (value == backColor_)
        return;
    backColor_ = value;
    Refresh();
    NoteColor(shownBack_, backColor_, [this](const QColor& c) { emit backColorChanged(c); });
}

void TCGauge::setForeColor(const QColor& value) {
    if (value.isValid() && QColorToColor(value) != ColorToRGB(foreColor_))
        SetForeColor(QColorToColor(value));
}

void TCGauge::setBackColor(const QColor& value) {
    if (value.isValid() && QColorToColor(value) != ColorToRGB(backColor_))
        SetBackColor(QColorToColor(value));
}

void TCGauge::PaletteChanged() {
    TGraphicControl::PaletteChanged();
    NoteColor(shownFore_, foreColor_, [this](const QColor& c) { emit foreColorChanged(c); });
    NoteColor(shownBack_, backColor_, [this](const QColor& c) { emit backColorChanged(c); });
}

void TCGauge::SetMinValue(int value) {
    if (value == minValue_)
        return;
    if (value > maxValue_)
        throw OutOfRange(-2147483647LL, static_cast<long long>(maxValue_) - 1);
    const int progress = progress_;
    minValue_ = value;
    if (progress_ < value)
        progress_ = value;
    Refresh();
    emit minValueChanged(value);
    if (progress_ != progress)
        emit progressChanged(progress_);
}

void TCGauge::SetMaxValue(int value) {
    if (value == 0)
        return;
    if (value < minValue_)
        throw OutOfRange(static_cast<long long>(minValue_) + 1, 2147483647LL);
    const int maximum = maxValue_, progress = progress_;
    maxValue_ = value;
    if (progress_ > value)
        progress_ = value;
    Refresh();
    if (maxValue_ != maximum)
        emit maxValueChanged(value);
    if (progress_ != progress)
        emit progressChanged(progress_);
}

void TCGauge::SetProgress(int value) {
    const int before = GetPercentDone();
    if (value < minValue_)
        value = minValue_;
    else if (value > maxValue_)
        value = maxValue_;
    if (value == progress_)
        return;
    progress_ = value;
    if (GetPercentDone() != before)
        Refresh();
    emit progressChanged(value);
}

void TCGauge::AddProgress(int delta) {
    const long long sum = static_cast<long long>(progress_) + delta;
    SetProgress(int(std::clamp<long long>(sum, INT_MIN, INT_MAX)));
    Refresh();
}

void TCGauge::Paint() {
    // Drawn off screen: a black work image receives the overlay by XOR, then the text, and the
    // finished picture goes to the control in one copy. Both bitmaps die with this call.
    TBitmap image;
    TBltBitmap overlay;
    image.SetHeight(Height());
    image.SetWidth(Width());
    PaintBackground(image);
    TRect rect = ClientRect();
    if (borderStyle_ == bsSingle)
        InflateRect(rect, -1, -1);
    overlay.FitToTemplate(image);
    PaintBackground(overlay);
    switch (kind_) {
    case gkText:
        PaintAsNothing(overlay, rect);
        break;
    case gkHorizontalBar:
    case gkVerticalBar:
        PaintAsBar(overlay, rect);
        break;
    case gkPie:
        PaintAsPie(overlay, rect);
        break;
    case gkNeedle:
        PaintAsNeedle(overlay, rect);
        break;
    }
    image.Canvas()->SetCopyMode(SRCINVERT);
    image.Canvas()->Draw(0, 0, overlay);
    image.Canvas()->SetCopyMode(SRCCOPY);
    if (showText_)
        PaintAsText(image, rect);
    Canvas()->SetCopyMode(SRCCOPY);
    Canvas()->Draw(0, 0, image);
}

void TCGauge::PaintBackground(TBitmap& image) {
    Blacken(image, Width(), Height());
}

void TCGauge::PaintAsNothing(TBitmap& image, const TRect& rect) {
    TCanvas* c = image.Canvas();
    c->Brush().Color = backColor_;
    c->FillRect(rect);
}

void TCGauge::PaintAsBar(TBitmap& image, const TRect& rect) {
    TCanvas* c = image.Canvas();
    const int w = rect.Right - rect.Left + 1;
    const int h = rect.Bottom - rect.Top + 1;
    c->Brush().Color = backColor_;
    c->FillRect(rect);
    c->Pen().Color = foreColor_;
    c->Pen().Width = 1;
    c->Brush().Color = foreColor_;
    if (kind_ == gkHorizontalBar) {
        const int x = std::min(ScaleByPercent(GetPercentDone(), w), w);
        // The bar's right and bottom edges are extents used as coordinates.
        if (x > 0)
            c->FillRect({rect.Left, rect.Top, x, h});
    } else {
        int y = ScaleByPercent(GetPercentDone(), h);
        if (y >= h)
            y = h - 1;
        c->FillRect({rect.Left, h - y, w, h});
    }
}

TCanvas* TCGauge::PrepareDial(TBitmap& image, const TRect& rect, int& w, int& h) const {
    TCanvas* c = image.Canvas();
    w = rect.Right - rect.Left;
    h = rect.Bottom - rect.Top;
    if (borderStyle_ == bsSingle) {
        ++w;
        ++h;
    }
    c->Brush().Color = Color();
    c->FillRect(rect);
    c->Brush().Color = backColor_;
    c->Pen().Color = foreColor_;
    c->Pen().Width = 1;
    return c;
}

void TCGauge::PaintAsPie(TBitmap& image, const TRect& rect) {
    int w = 0, h = 0;
    TCanvas* c = PrepareDial(image, rect, w, h);
    c->Ellipse(rect.Left, rect.Top, w, h);
    const int percent = GetPercentDone();
    if (percent > 0) {
        c->Brush().Color = foreColor_;
        const int mx = w / 2, my = h / 2;
        const double angle = (percent * 0.02 + 0.5) * std::numbers::pi;
        c->Pie(rect.Left, rect.Top, w, h, int(std::floor(mx * (1 - std::cos(angle)))),
               int(std::floor(my * (1 - std::sin(angle)))), mx, 0);
    }
}

void TCGauge::PaintAsNeedle(TBitmap& image, const TRect& rect) {
    const int left = rect.Left, top = rect.Top;
    int w = 0, h = 0;
    TCanvas* c = PrepareDial(image, rect, w, h);
    // The dial: the upper half of an ellipse twice as tall as the rectangle.
    c->Pie(left, top, w, 2 * h - 1, left + w, rect.Bottom - 1, left, rect.Bottom - 1);
    c->MoveTo(left, rect.Bottom);
    c->LineTo(left + w, rect.Bottom);
    const int percent = GetPercentDone();
    if (percent > 0) {
        c->Pen().Color = foreColor_;
        const int mx = Width() / 2;
        c->MoveTo(mx, rect.Bottom - 1);
        const double angle = percent * 0.01 * std::numbers::pi;
        c->LineTo(int(std::floor(mx * (1 - std::cos(angle)))),
                  int(std::floor((rect.Bottom - 1) * (1 - std::sin(angle)))));
    }
}

void TCGauge::PaintAsText(TBitmap& image, const TRect& rect) {
    const QString text = QString::number(GetPercentDone()) + QLatin1Char('%');
    // White text on black, combined with the picture by XOR, inverts exactly the pixels under
    // the glyphs. Black changes nothing under XOR, so the text bitmap only needs to cover the
    // text (with a margin for glyphs reaching out of their cell), not the whole picture.
    TBltBitmap textImage;
    TCanvas* c = textImage.Canvas();
    c->Font().Assign(font());
    c->Font().Color = clWhite;
    const int tw = c->TextWidth(text), th = c->TextHeight(text);
    const int x = (rect.Right - rect.Left + 1 - tw) / 2;
    const int y = (rect.Bottom - rect.Top + 1 - th) / 2;
    const int margin = th;
    const TRect area{std::max(rect.Left, x - margin), std::max(rect.Top, y - margin),
                     std::min(rect.Right, x + tw + margin), std::min(rect.Bottom, y + th + margin)};
    if (area.Width() <= 0 || area.Height() <= 0)
        return;
    textImage.SetSize(area.Width(), area.Height());
    Blacken(textImage, area.Width(), area.Height());
    c->Brush().Style = bsClear;
    TRect clip = rect;
    OffsetRect(clip, -area.Left, -area.Top);
    c->TextRect(clip, x - area.Left, y - area.Top, text);
    image.Canvas()->SetCopyMode(SRCINVERT);
    image.Canvas()->Draw(area.Left, area.Top, textImage);
}

// The meta-object code of this unit's classes, compiled here so that a program linking one
// class does not pull in every other class of the library with it.
#include "moc_Cgauges.cpp"
