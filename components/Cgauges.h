// SPDX-License-Identifier: MIT
#pragma once
// TCGauge: shows how far a value has got between a minimum and a maximum, as text, a horizontal
// or vertical bar, a pie or a needle on a half dial, with the percentage printed over it by
// inverting the pixels under the text.
#include "Controls.h"
#include "Graphics.h"

class TCGauge : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(TCGaugeKind Kind READ Kind WRITE SeTCGaugeKind NOTIFY kindChanged)
    Q_PROPERTY(bool ShowText READ ShowText WRITE SetShowText NOTIFY showTextChanged)
    Q_PROPERTY(TControl::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle NOTIFY
                   borderStyleChanged)
    Q_PROPERTY(QColor ForeColor READ foreColor WRITE setForeColor NOTIFY foreColorChanged)
    Q_PROPERTY(QColor BackColor READ backColor WRITE setBackColor NOTIFY backColorChanged)
    Q_PROPERTY(int MinValue READ MinValue WRITE WriteMinValue NOTIFY minValueChanged)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE WriteMaxValue NOTIFY maxValueChanged)
    Q_PROPERTY(int Progress READ Progress WRITE SetProgress NOTIFY progressChanged)
    Q_CLASSINFO("default:Color", "0x8000000F")
    Q_CLASSINFO("default:Kind", "gkHorizontalBar")
    Q_CLASSINFO("default:ShowText", "true")
    Q_CLASSINFO("default:BorderStyle", "bsSingle")
    Q_CLASSINFO("default:ForeColor", "0x000000")
    Q_CLASSINFO("default:BackColor", "0xFFFFFF")
    Q_CLASSINFO("default:MinValue", "0")
    Q_CLASSINFO("default:MaxValue", "100")
    Q_CLASSINFO("default:Progress", "0")
public:
    enum TCGaugeKind : int { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
    Q_ENUM(TCGaugeKind)

    // A 100 x 100 horizontal bar from 0 to 100 at 0, text shown, black on white, single border.
    explicit TCGauge(QWidget* owner = nullptr);
    ~TCGauge() override;

    TCGaugeKind Kind() const { return kind_; }
    bool ShowText() const { return showText_; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    TColor ForeColor() const { return foreColor_; }
    TColor BackColor() const { return backColor_; }
    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    int Progress() const { return progress_; }

    // Setters of the look: a changed value repaints at once; a kind or border style without a
    // name is ignored.
    void SeTCGaugeKind(TCGaugeKind kind);
    void SetKind(TCGaugeKind kind) { SeTCGaugeKind(kind); }
    void SetShowText(bool value);
    void SetBorderStyle(TFormBorderStyle value);
    void SetForeColor(TColor value);
    void SetBackColor(TColor value);
    // The colours as Qt sees them; as with Color, writing the colour shown already does nothing
    // and an invalid colour is ignored.
    QColor foreColor() const { return ColorToQColor(foreColor_); }
    QColor backColor() const { return ColorToQColor(backColor_); }
    void setForeColor(const QColor& value);
    void setBackColor(const QColor& value);
    // A minimum above the maximum throws Exception naming the allowed bounds; progress below the
    // new minimum moves up to it.
    void SetMinValue(int value);
    // A maximum below the minimum throws Exception naming the allowed bounds; 0 is ignored;
    // progress above the new maximum moves down to it.
    void SetMaxValue(int value);

public slots:
    // Clamps to the range; repaints only when the whole-number percentage changes.
    void SetProgress(int value);
    // Progress plus delta (clamped), then a repaint in any case.
    void AddProgress(int delta);

public:
    // Whole percent of the range reached, rounded down; 0 for an empty range.
    int GetPercentDone() const;

    void Paint() override;

    // floor(part * 100 / range), 0 when range is 0.
    static int PercentOf(long long part, long long range);
    // floor(percent * 0.01 * extent).
    static int ScaleByPercent(int percent, int extent);

signals:
    void kindChanged(TCGauge::TCGaugeKind value);
    void showTextChanged(bool value);
    void borderStyleChanged(TControl::TFormBorderStyle value);
    void foreColorChanged(const QColor& value);
    void backColorChanged(const QColor& value);
    void minValueChanged(int value);
    void maxValueChanged(int value);
    void progressChanged(int value);

protected:
    void PaletteChanged() override;
    void PaintBackground(TBitmap& image);
    void PaintAsText(TBitmap& image, const TRect& rect);
    void PaintAsNothing(TBitmap& image, const TRect& rect);
    void PaintAsBar(TBitmap& image, const TRect& rect);
    void PaintAsPie(TBitmap& image, const TRect& rect);
    void PaintAsNeedle(TBitmap& image, const TRect& rect);
    // Clears the rectangle and sets up the dial's colours; w and h are the size the pie and
    // needle are drawn in (one more each way inside a border).
    TCanvas* PrepareDial(TBitmap& image, const TRect& rect, int& w, int& h) const;

private:
    // The property system's writes: a refused bound keeps the old one instead of raising.
    void WriteMinValue(int value) noexcept {
        WriteRefusing([&] { SetMinValue(value); });
    }
    void WriteMaxValue(int value) noexcept {
        WriteRefusing([&] { SetMaxValue(value); });
    }

    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
    TCGaugeKind kind_ = gkHorizontalBar;
    bool showText_ = true;
    TFormBorderStyle borderStyle_ = bsSingle;
    TColor foreColor_ = clBlack;
    TColor backColor_ = clWhite;
    QColor shownFore_ = Qt::black, shownBack_ = Qt::white; // what the notices last told
};

using TCGaugeKind = TCGauge::TCGaugeKind;
using enum TCGauge::TCGaugeKind;
