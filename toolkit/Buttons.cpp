// SPDX-License-Identifier: MIT
#include "Buttons.h"

#include <QEvent>
#include <QMouseEvent>

namespace {

bool ButtonOf(Qt::MouseButton Button, TMouseButton& Out) {
    switch (Button) {
    case Qt::LeftButton:
        Out = mbLeft;
        return true;
    case Qt::RightButton:
        Out = mbRight;
        return true;
    case Qt::MiddleButton:
        Out = mbMiddle;
        return true;
    default:
        return false;
    }
}

} // namespace

TSpeedButton::TSpeedButton(QWidget* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetGlyph(const QImage& Value) {
    if (Value == glyph_)
        return;
    glyph_ = Value;
    Invalidate();
    emit glyphChanged(glyph_);
}

void TSpeedButton::SetNumGlyphs(int Value) {
    if (Value < 1 || Value > 4 || Value == numGlyphs_)
        return;
    numGlyphs_ = Value;
    Invalidate();
    emit numGlyphsChanged(Value);
}

void TSpeedButton::SetState(TButtonState Value) {
    if (Value == state_)
        return;
    state_ = Value;
    Invalidate();
}

void TSpeedButton::Click() {
    TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && isEnabled()) {
        SetState(bsDown);
        dragging_ = true;
    }
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (dragging_)
        SetState(rect().contains(X, Y) ? bsDown : bsUp);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !dragging_)
        return;
    dragging_ = false;
    const bool doClick = rect().contains(X, Y);
    SetState(isEnabled() ? bsUp : bsDisabled);
    if (doClick)
        Click();
}

void TSpeedButton::CancelPress() {
    capture_ = false;
    dragging_ = false;
    SetState(isEnabled() ? bsUp : bsDisabled);
}

void TSpeedButton::mousePressEvent(QMouseEvent* Event) {
    Press(Event, TShiftState());
}

void TSpeedButton::mouseDoubleClickEvent(QMouseEvent* Event) {
    Press(Event, ssDouble);
}

void TSpeedButton::Press(QMouseEvent* Event, TShiftState extra) {
    TMouseButton button;
    if (!ButtonOf(Event->button(), button)) {
        Event->ignore();
        return;
    }
    if (button == mbLeft)
        capture_ = true;
    const QPoint pos = Event->position().toPoint();
    MouseDown(button, ShiftStateFromQt(Event->modifiers(), Event->buttons()) | extra, pos.x(),
              pos.y());
}

void TSpeedButton::mouseMoveEvent(QMouseEvent* Event) {
    // The left button is up although no release came here (another widget took the mouse
    // while it was held): the press is over.
    if (capture_ && !(Event->buttons() & Qt::LeftButton))
        CancelPress();
    const QPoint pos = Event->position().toPoint();
    MouseMove(ShiftStateFromQt(Event->modifiers(), Event->buttons()), pos.x(), pos.y());
}

void TSpeedButton::mouseReleaseEvent(QMouseEvent* Event) {
    TMouseButton button;
    if (!ButtonOf(Event->button(), button)) {
        Event->ignore();
        return;
    }
    if (button == mbLeft)
        capture_ = false;
    const QPoint pos = Event->position().toPoint();
    MouseUp(button, ShiftStateFromQt(Event->modifiers(), Event->buttons()), pos.x(), pos.y());
}

void TSpeedButton::changeEvent(QEvent* Event) {
    TGraphicControl::changeEvent(Event);
    if (Event->type() == QEvent::EnabledChange)
        CancelPress();
}

bool TSpeedButton::event(QEvent* Event) {
    // Another window took the mouse; the window tells each of its widgets it lost the
    // activation.
    if (Event->type() == QEvent::WindowDeactivate && capture_)
        CancelPress();
    return TGraphicControl::event(Event);
}

void TSpeedButton::hideEvent(QHideEvent* Event) {
    TGraphicControl::hideEvent(Event);
    if (capture_ || dragging_)
        CancelPress();
}

QImage TSpeedButton::GlyphForState() const {
    if (glyph_.isNull())
        return {};
    const int count = numGlyphs_ < 1 ? 1 : numGlyphs_;
    const int w = glyph_.width() / count;
    int index = 0;
    switch (state_) {
    case bsDisabled:
        index = 1;
        break;
    case bsDown:
        index = 2;
        break;
    case bsExclusive:
        index = 3;
        break;
    case bsUp:
        break;
    }
    if (index >= count)
        index = 0;
    return glyph_.copy(index * w, 0, w, glyph_.height());
}

void TSpeedButton::Paint() {
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    const bool down = state_ == bsDown || state_ == bsExclusive;
    if (down) {
        Frame3D(*canvas, r, clBtnShadow, clBtnHighlight, 1);
        Frame3D(*canvas, r, cl3DDkShadow, cl3DLight, 1);
    } else {
        Frame3D(*canvas, r, clBtnHighlight, cl3DDkShadow, 1);
        Frame3D(*canvas, r, cl3DLight, clBtnShadow, 1);
    }
    canvas->Brush().Color = clBtnFace;
    canvas->Brush().Style = bsSolid;
    canvas->FillRect(r);

    const QImage picture = GlyphForState();
    if (picture.isNull() || picture.width() == 0 || picture.height() == 0)
        return;
    int x = (Width() - picture.width()) / 2;
    int y = (Height() - picture.height()) / 2;
    if (down) {
        ++x;
        ++y;
    }
    // The bottom-left pixel names the colour that lets the face show through.
    const QRgb transparent = picture.pixel(0, picture.height() - 1);
    const bool embossed = state_ == bsDisabled && numGlyphs_ < 2;
    if (embossed) {
        for (int py = 0; py < picture.height(); ++py)
            for (int px = 0; px < picture.width(); ++px)
                if (picture.pixel(px, py) != transparent)
                    canvas->SetPixel(x + px + 1, y + py + 1, clBtnHighlight);
    }
    for (int py = 0; py < picture.height(); ++py) {
        for (int px = 0; px < picture.width(); ++px) {
            const QRgb p = picture.pixel(px, py);
            if (p == transparent)
                continue;
            canvas->SetPixel(x + px, y + py,
                             embossed ? clBtnShadow : RGB(qRed(p), qGreen(p), qBlue(p)));
        }
    }
}

// The meta-object code of this unit's classes, compiled here so that a program linking one
// class does not pull in every other class of the library with it.
#include "moc_Buttons.cpp"
