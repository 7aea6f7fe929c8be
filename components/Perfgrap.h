// SPDX-License-Identifier: MIT
#pragma once
// TPerformanceGraph: a scrolling strip chart. A client adds up to 16 points (a colour and a
// value each) per step with DataPoint and completes the step with Update, which scrolls the
// picture left by StepSize pixels and draws the step in the band freed at the right edge, as a
// stacked bar or as line segments joining each colour's value to its value of the step before.
// The vertical scale follows the largest value held in the history, rounded up to a multiple of
// Gradient; a change of scale redraws the whole picture from the history.
#include "Controls.h"
#include "Graphics.h"

#include <array>
#include <memory>
#include <vector>

// One completed or filling step.
struct TGraphBand {
    int Count = 0;                   // points used, 0..16
    std::array<TColor, 16> Colors{}; // point i's colour ...
    std::array<int, 16> Values{};    // ... and value, in the order they were added
};

class TPerformanceGraph : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(TGraphKind Kind READ Kind WRITE SetGraphKind NOTIFY kindChanged)
    Q_PROPERTY(QColor ForeColor READ foreColor WRITE setForeColor NOTIFY foreColorChanged)
    Q_PROPERTY(QColor BackColor READ backColor WRITE setBackColor NOTIFY backColorChanged)
    Q_PROPERTY(int GridSize READ GridSize WRITE SetGridSize NOTIFY gridSizeChanged)
    Q_PROPERTY(int StepSize READ StepSize WRITE SetStepSize NOTIFY stepSizeChanged)
    Q_PROPERTY(int Scale READ Scale WRITE SetScale NOTIFY scaleValueChanged)
    Q_PROPERTY(int Gradient READ Gradient WRITE SetGradient NOTIFY gradientChanged)
    Q_PROPERTY(bool Gridlines READ Gridlines WRITE SetGridlines NOTIFY gridlinesChanged)
    Q_PROPERTY(int PenWidth READ PenWidth WRITE SetPenWidth NOTIFY penWidthChanged)
    Q_CLASSINFO("default:Color", "0x8000000F")
    Q_CLASSINFO("default:Kind", "pgLine")
    Q_CLASSINFO("default:ForeColor", "0x008000")
    Q_CLASSINFO("default:BackColor", "0x000000")
    Q_CLASSINFO("default:GridSize", "15")
    Q_CLASSINFO("default:StepSize", "3")
    Q_CLASSINFO("default:Scale", "1000")
    // The value the constructor sets, which a new graph on a form starts with.
    Q_CLASSINFO("default:Gradient", "100")
    Q_CLASSINFO("default:Gridlines", "true")
    Q_CLASSINFO("default:PenWidth", "2")
public:
    enum TGraphKind : int { pgBar, pgLine };
    Q_ENUM(TGraphKind)

    // 100 x 100, line kind, green grid every 15 pixels on black, steps of 3 pixels.
    explicit TPerformanceGraph(QWidget* owner = nullptr);
    ~TPerformanceGraph() override;

    // Adds a point to the step being filled; a 17th point throws ERangeError and is not stored.
    void DataPoint(TColor Color, int Value);
    // Completes the step: scrolls, draws it at the right edge and follows the scale.
    void Update() override;

    TGraphKind Kind() const { return kind_; }
    TColor ForeColor() const { return foreColor_; }
    TColor BackColor() const { return backColor_; }
    int GridSize() const { return gridSize_; }
    int StepSize() const { return stepSize_; }
    int Scale() const { return scale_; }
    int Gradient() const { return gradient_; }
    bool Gridlines() const { return gridlines_; }
    int PenWidth() const { return penWidth_; }

    // Setters: an unchanged value does nothing, anything else redraws from the history.
    void SetGraphKind(TGraphKind value); // a kind without a name is ignored
    void SetKind(TGraphKind value) { SetGraphKind(value); }
    void SetForeColor(TColor value);
    void SetBackColor(TColor value);
    void SetGridSize(int value); // below 2 counts as 2
    void SetStepSize(int value); // below 1 counts as 1; the history is resized
    void SetScale(int value);    // rounded up to a multiple of Gradient; fires OnScaleChange
    void SetGradient(int value); // the current Scale stays as it is
    void SetGridlines(bool value);
    void SetPenWidth(int value); // pen of the control's own canvas
    // The colours as Qt sees them; as with Color, writing the colour shown already does nothing
    // and an invalid colour is ignored.
    QColor foreColor() const { return ColorToQColor(foreColor_); }
    QColor backColor() const { return ColorToQColor(backColor_); }
    void setForeColor(const QColor& value);
    void setBackColor(const QColor& value);

    // Fired by every SetScale that goes ahead, including one whose value rounds to the scale
    // there was.
    TNotifyEvent OnScaleChange;

signals:
    // With OnScaleChange, and so also after a SetScale that left the scale as it was.
    void scaleChanged(int scale);
    // The properties' change notices, each when its value really changed (Scale's is
    // scaleValueChanged, as scaleChanged keeps to the moments of OnScaleChange).
    void kindChanged(TPerformanceGraph::TGraphKind value);
    void foreColorChanged(const QColor& value);
    void backColorChanged(const QColor& value);
    void gridSizeChanged(int value);
    void stepSizeChanged(int value);
    void scaleValueChanged(int value);
    void gradientChanged(int value);
    void gridlinesChanged(bool value);
    void penWidthChanged(int value);

public:
    void Paint() override;

    // The off-screen picture and the ring of steps, for inspection.
    const TBitmap& GraphBitmap() const { return *graphBitmap_; }
    int HistorySize() const { return historySize_; }
    const TGraphBand& History(int index) const { return history_[std::size_t(index)]; }
    int CurrentY() const { return currentY_; }
    int GridPhase() const { return gridPhase_; }
    TRect NewBandRect() const { return newBandRect_; }

    // Whole bands across the control: Width / StepSize.
    int GetBandCount() const;
    // Value rounded up (toward plus infinity for positive multiples) to a multiple of Multiple,
    // unchanged for Multiple 0; computed without overflow and limited to the 32-bit range.
    static int RoundUp(int Value, int Multiple);
    // The ring: oldest record, the one after Y (-1 past the newest), the one before Y.
    int FirstY() const { return oldestY_; }
    int NextY(int Y) const;
    int LastY(int Y) const;

protected:
    void PaletteChanged() override;
    void Initialize(int Offset);
    void ScrollGraph();
    void DisplayPoints(int Y);
    void PaintBar(TColor Color, long long BaseValue, long long BarValue);
    void PaintLine(TColor Color, long long FromValue, long long ToValue);
    void Replay();
    void ReallocHistory();
    int ShiftY();

private:
    // Rows up from the bottom that a value takes at the current scale (Scale must not be 0).
    int ScaledHeight(long long value) const;

    TGraphKind kind_ = pgLine;
    TColor foreColor_ = 0x008000;
    TColor backColor_ = clBlack;
    int gridSize_ = 15;
    int stepSize_ = 3;
    int scale_ = 1000;
    int gradient_ = 100;
    bool gridlines_ = true;
    int penWidth_ = 2;
    QColor shownFore_ = QColor(0, 128, 0), shownBack_ = Qt::black; // what the notices last told

    std::unique_ptr<TBitmap> graphBitmap_;
    std::vector<TGraphBand> history_;
    int historySize_ = 0;
    int oldestY_ = 1;
    int currentY_ = 0;
    TRect fullRect_, scrollSource_, scrollDest_, newBandRect_;
    int gridPhase_ = 0;
};

using TGraphKind = TPerformanceGraph::TGraphKind;
using enum TPerformanceGraph::TGraphKind;
