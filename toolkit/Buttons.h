// SPDX-License-Identifier: MIT
#pragma once
// A speed button: a windowless push button that shows a glyph, never takes the focus, and
// clicks when the left button is released over it. While the left button is held it keeps the
// mouse (capture) and shows itself pressed whenever the pointer is over it.
#include "Controls.h"

#include <QImage>

// Visual state of a speed button.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(QImage Glyph READ Glyph WRITE SetGlyph NOTIFY glyphChanged)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs NOTIFY numGlyphsChanged)
    Q_CLASSINFO("default:NumGlyphs", "1")

public:
    explicit TSpeedButton(QWidget* AOwner = nullptr);

    // The picture on the button. Its bottom-left pixel gives the colour drawn transparent. With
    // NumGlyphs > 1 the image holds that many pictures side by side: up, disabled, down, exclusive.
    const QImage& Glyph() const { return glyph_; }
    void SetGlyph(const QImage& Value);
    int NumGlyphs() const { return numGlyphs_; }
    // 1 to 4; other values are ignored.
    void SetNumGlyphs(int Value);

    TButtonState State() const { return state_; }
    // Whether the button holds the mouse: from a left press on it until that button is released
    // (or the press is cancelled by hiding, disabling or deactivating the window, or by a mouse
    // move without the left button, whose release went elsewhere).
    bool HasCapture() const { return capture_; }

    // Fires OnClick, as a left press released over the button does.
    void Click() override;

signals:
    void glyphChanged(const QImage& glyph);
    void numGlyphsChanged(int value);

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Draws the raised (or pressed) face and the glyph, shifted by one pixel when pressed.
    void Paint() override;

    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    bool event(QEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

    // The picture for the current state, cut from Glyph.
    QImage GlyphForState() const;
    // Ends a press that will see no release: the button was hidden or disabled, its window lost
    // the activation, or the release went elsewhere. No click follows.
    virtual void CancelPress();

private:
    void SetState(TButtonState Value);
    // A press or double click: holds the mouse for the left button and passes it to MouseDown.
    void Press(QMouseEvent* Event, TShiftState extra);

    QImage glyph_;
    int numGlyphs_ = 1;
    TButtonState state_ = bsUp;
    bool capture_ = false;
    bool dragging_ = false;
};
