// SPDX-License-Identifier: MIT
#include "Cspin.h"

#include "SysUtils.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImageReader>
#include <QKeyEvent>
#include <QLocale>

namespace {

// The built-in arrows, stored as 4-bit bitmaps among the unit's resources. They are read as BMP
// by name: left to guess, the reader would first load every image format plugin installed to ask
// each whether it reads ".bmp", which costs a program start far more than the two arrows.
QImage LoadBitmapResource(const char* Name) {
    QImageReader reader(QStringLiteral(":/bitmaps/%1.bmp").arg(QLatin1String(Name)), "bmp");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// A built-in arrow in the palette's button-text colour instead of its stored black, so that it
// stays readable on a dark palette (the default palette's button text is black).
QImage Arrow(const char* Name) {
    QImage image = LoadBitmapResource(Name);
    if (image.colorCount() > 0)
        image.setColor(0, ColorToQColor(clBtnText).rgb());
    return image;
}

// Sum and difference in 32-bit two's complement: an overflow wraps around instead of being
// undefined behaviour.
std::int32_t WrapAdd(std::int32_t A, std::int32_t B) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(A) + static_cast<std::uint32_t>(B));
}

std::int32_t WrapSub(std::int32_t A, std::int32_t B) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(A) - static_cast<std::uint32_t>(B));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TTimerSpeedButton

TTimerSpeedButton::TTimerSpeedButton(QWidget* AOwner) : TSpeedButton(AOwner) {}

TTimerSpeedButton::~TTimerSpeedButton() {
    delete repeatTimer_;
    repeatTimer_ = nullptr;
}

void TTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (TimerBtnFlags & AutoRepeat) {
        if (!repeatTimer_)
            repeatTimer_ = new TTimer(this);
        repeatTimer_->SetOnTimer([this](QObject* Sender) { TimerExpired(Sender); });
        repeatTimer_->SetInterval(InitRepeatPause);
        repeatTimer_->SetEnabled(true);
    }
}

void TTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // The click of the release may throw; the repeat stops all the same.
    struct StopRepeat {
        TTimer* timer;
        ~StopRepeat() {
            if (timer)
                timer->SetEnabled(false);
        }
    } stop{repeatTimer_};
    TSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TTimerSpeedButton::CancelPress() {
    TSpeedButton::CancelPress();
    if (repeatTimer_)
        repeatTimer_->SetEnabled(false);
}

void TTimerSpeedButton::TimerExpired(QObject*) {
    repeatTimer_->SetInterval(RepeatPause);
    if (!HasCapture()) {
        // The press is over, however it ended.
        repeatTimer_->SetEnabled(false);
        return;
    }
    if (State() == bsDown) {
        try {
            Click();
        } catch (...) {
            // A failing click is not repeated.
            if (repeatTimer_)
                repeatTimer_->SetEnabled(false);
            throw;
        }
    }
}

void TTimerSpeedButton::Paint() {
    TSpeedButton::Paint();
    if (TimerBtnFlags & ShowFocus) {
        TRect r = ClientRect();
        InflateRect(r, -3, -3);
        if (State() == bsDown)
            OffsetRect(r, 1, 1);
        Canvas()->DrawFocusRect(r);
    }
}

// ---------------------------------------------------------------------------------------------
// TCSpinButton

TCSpinButton::TCSpinButton(QWidget* AOwner) : TCustomControl(AOwner) {
    setCursor(Qt::ArrowCursor);
    upBtn_ = CreateButton();
    downBtn_ = CreateButton();
    connect(upBtn_, &TSpeedButton::glyphChanged, this, &TCSpinButton::upGlyphChanged);
    connect(downBtn_, &TSpeedButton::glyphChanged, this, &TCSpinButton::downGlyphChanged);
    SetUpGlyph(QImage());
    SetDownGlyph(QImage());
    SetWidth(20);
    SetHeight(25);
    focusedBtn_ = upBtn_;
}

TTimerSpeedButton* TCSpinButton::CreateButton() {
    auto* button = new TTimerSpeedButton(this);
    button->OnClick = [this](QObject* Sender) { BtnClick(Sender); };
    button->OnMouseDown = [this](QObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                 int Y) { BtnMouseDown(Sender, Button, Shift, X, Y); };
    button->setVisible(true);
    button->setEnabled(true);
    button->TimerBtnFlags |= AutoRepeat;
    button->SetNumGlyphs(1);
    return button;
}

void TCSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    int w = AWidth;
    int h = AHeight;
    AdjustSize(w, h);
    TCustomControl::SetBounds(ALeft, ATop, w, h);
}

void TCSpinButton::AdjustSize(int& W, int& H) {
    if (!upBtn_ || !downBtn_)
        return;
    if (W < 15)
        W = 15;
    upBtn_->SetBounds(0, 0, W, H / 2);
    downBtn_->SetBounds(0, upBtn_->Height() - 1, W, H - upBtn_->Height() + 1);
}

void TCSpinButton::Loaded() {
    int w = Width();
    int h = Height();
    AdjustSize(w, h);
    if (w != Width() || h != Height())
        TCustomControl::SetBounds(Left(), Top(), w, h);
}

void TCSpinButton::WMSize() {
    TCustomControl::WMSize();
    int w = Width();
    int h = Height();
    AdjustSize(w, h);
    if (w != Width() || h != Height())
        TCustomControl::SetBounds(Left(), Top(), w, h);
}

void TCSpinButton::WMSetFocus() {
    TCustomControl::WMSetFocus();
    focusedBtn_->TimerBtnFlags |= ShowFocus;
    focusedBtn_->Invalidate();
}

void TCSpinButton::WMKillFocus() {
    TCustomControl::WMKillFocus();
    focusedBtn_->TimerBtnFlags &= ~unsigned(ShowFocus);
    focusedBtn_->Invalidate();
}

void TCSpinButton::KeyDown(WORD& Key, TShiftState) {
    switch (Key) {
    case VK_UP:
        SetFocusBtn(upBtn_);
        upBtn_->Click();
        break;
    case VK_DOWN:
        SetFocusBtn(downBtn_);
        downBtn_->Click();
        break;
    case VK_SPACE:
        focusedBtn_->Click();
        break;
    default:
        break;
    }
}

void TCSpinButton::keyPressEvent(QKeyEvent* Event) {
    const WORD key = VirtualKeyFromQt(Event);
    TCustomControl::keyPressEvent(Event);
    // The arrows and Space belong to the control; they do not travel on to the parent.
    if (key == VK_UP || key == VK_DOWN || key == VK_SPACE)
        Event->accept();
}

void TCSpinButton::BtnMouseDown(QObject* Sender, TMouseButton Button, TShiftState, int, int) {
    if (Button != mbLeft)
        return;
    SetFocusBtn(static_cast<TTimerSpeedButton*>(Sender));
    QWidget* target = focusControl_;
    if (target && (target->focusPolicy() & Qt::TabFocus) && target->isVisible() &&
        target->isEnabled() && QApplication::focusWidget() != target) {
        target->setFocus(Qt::OtherFocusReason);
    } else if (TabStop() && !hasFocus() && CanFocus()) {
        setFocus(Qt::OtherFocusReason);
    }
}

void TCSpinButton::BtnClick(QObject* Sender) {
    if (Sender == upBtn_) {
        if (OnUpClick)
            OnUpClick(this);
        emit upClicked();
    } else {
        if (OnDownClick)
            OnDownClick(this);
        emit downClicked();
    }
}

void TCSpinButton::SetFocusControl(QWidget* Value) {
    if (Value == focusControl_)
        return;
    disconnect(focusControlGone_);
    focusControl_ = Value;
    if (Value)
        focusControlGone_ = connect(Value, &QObject::destroyed, this,
                                    [this] { emit focusControlChanged(nullptr); });
    emit focusControlChanged(Value);
}

void TCSpinButton::SetFocusBtn(TTimerSpeedButton* Btn) {
    if (!TabStop() || !CanFocus() || Btn == focusedBtn_)
        return;
    focusedBtn_->TimerBtnFlags &= ~unsigned(ShowFocus);
    focusedBtn_->Invalidate();
    focusedBtn_ = Btn;
    if (hasFocus()) {
        focusedBtn_->TimerBtnFlags |= ShowFocus;
        Invalidate();
        focusedBtn_->Invalidate();
    }
}

QImage TCSpinButton::GetUpGlyph() const {
    return upBtn_->Glyph();
}

QImage TCSpinButton::GetDownGlyph() const {
    return downBtn_->Glyph();
}

void TCSpinButton::SetUpGlyph(const QImage& Bitmap) {
    builtInUp_ = Bitmap.isNull();
    if (!builtInUp_) {
        upBtn_->SetGlyph(Bitmap);
        return;
    }
    upBtn_->SetGlyph(Arrow("SpinUp"));
    upBtn_->SetNumGlyphs(1);
    upBtn_->Invalidate();
}

void TCSpinButton::SetDownGlyph(const QImage& Bitmap) {
    builtInDown_ = Bitmap.isNull();
    if (!builtInDown_) {
        downBtn_->SetGlyph(Bitmap);
        return;
    }
    downBtn_->SetGlyph(Arrow("SpinDown"));
    downBtn_->SetNumGlyphs(1);
    downBtn_->Invalidate();
}

void TCSpinButton::changeEvent(QEvent* Event) {
    TCustomControl::changeEvent(Event);
    // The built-in arrows follow the palette's button-text colour.
    if (upBtn_ && (Event->type() == QEvent::ApplicationPaletteChange ||
                   Event->type() == QEvent::PaletteChange)) {
        if (builtInUp_)
            SetUpGlyph(QImage());
        if (builtInDown_)
            SetDownGlyph(QImage());
    }
}

// ---------------------------------------------------------------------------------------------
// TCSpinEdit

TCSpinEdit::TCSpinEdit(QWidget* AOwner) : TCustomEdit(AOwner) {
    // The text starts at the top of the formatting rectangle, as in a multi-line edit.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    spinBtn_ = new TCSpinButton(this);
    spinBtn_->SetWidth(15);
    spinBtn_->SetHeight(17);
    spinBtn_->setVisible(true);
    spinBtn_->SetFocusControl(this);
    spinBtn_->OnUpClick = [this](QObject* Sender) { UpClick(Sender); };
    spinBtn_->OnDownClick = [this](QObject* Sender) { DownClick(Sender); };
    SetText(QStringLiteral("0"));
    increment_ = 1;
    editorEnabled_ = true;
    SetEditRect();
}

TCSpinEdit::~TCSpinEdit() {
    if (spinBtn_) {
        spinBtn_->OnUpClick = nullptr;
        spinBtn_->OnDownClick = nullptr;
    }
    spinBtn_ = nullptr;
}

int TCSpinEdit::GetMinHeight() const {
    const int systemHeight =
        QFontMetrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).height();
    const int editHeight = QFontMetrics(font()).height();
    const int i = systemHeight < editHeight ? systemHeight : editHeight;
    const int borderHeight = 1; // one-pixel border line
    return editHeight + i / 4 + 4 * borderHeight + 2;
}

void TCSpinEdit::SetEditRect() {
    if (!spinBtn_)
        return;
    TCustomEdit::SetEditRect(
        QRect(0, 0, ClientWidth() - spinBtn_->Width() - 2, ClientHeight() + 1));
}

void TCSpinEdit::WMSize() {
    TCustomEdit::WMSize();
    const int minHeight = GetMinHeight();
    if (Height() < minHeight) {
        SetHeight(minHeight);
        return;
    }
    if (spinBtn_) {
        const int origin = BorderWidth(); // the button lives in the client area
        const int w = spinBtn_->Width();
        if (NewStyleControls)
            spinBtn_->SetBounds(origin + Width() - w - 5, origin, w, Height() - 5);
        else
            spinBtn_->SetBounds(origin + Width() - w, origin, w, Height());
        SetEditRect();
    }
}

void TCSpinEdit::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_UP)
        UpClick(this);
    else if (Key == VK_DOWN)
        DownClick(this);
    TCustomEdit::KeyDown(Key, Shift);
}

void TCSpinEdit::KeyPress(char& Key) {
    if (!IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key != 0)
        TCustomEdit::KeyPress(Key);
}

bool TCSpinEdit::IsValidChar(char Key) {
    const unsigned char c = static_cast<unsigned char>(Key);
    const bool control = c < 32 && c != 13;
    bool result = c == static_cast<unsigned char>(DecimalSeparator()) || c == '+' || c == '-' ||
                  (c >= '0' && c <= '9') || control;
    if (!editorEnabled_ && result)
        result = control && c != 8;
    return result;
}

void TCSpinEdit::UpClick(QObject*) {
    if (ReadOnly())
        MessageBeep(0);
    else
        SetValue(WrapAdd(GetValue(), increment_));
}

void TCSpinEdit::DownClick(QObject*) {
    if (ReadOnly())
        MessageBeep(0);
    else
        SetValue(WrapSub(GetValue(), increment_));
}

std::int32_t TCSpinEdit::GetValue() {
    try {
        return StrToInt(text());
    } catch (const EConvertError&) {
        SetText(IntToStr(minValue_));
        return minValue_;
    }
}

std::int32_t TCSpinEdit::Value() const {
    try {
        return StrToInt(text());
    } catch (const EConvertError&) {
        return minValue_;
    }
}

void TCSpinEdit::SetValue(int NewValue) {
    SetText(IntToStr(CheckValue(NewValue)));
}

void TCSpinEdit::Change() {
    TCustomEdit::Change();
    NoteValue();
}

void TCSpinEdit::NoteValue() {
    const std::int32_t value = Value();
    if (value == shownValue_)
        return;
    shownValue_ = value;
    emit valueChanged(value);
}

void TCSpinEdit::SetMinValue(std::int32_t Value) {
    if (Value == minValue_)
        return;
    minValue_ = Value;
    emit minValueChanged(Value);
    NoteValue(); // a text that is no number reads as the new minimum
}

void TCSpinEdit::SetMaxValue(std::int32_t Value) {
    if (Value == maxValue_)
        return;
    maxValue_ = Value;
    emit maxValueChanged(Value);
}

void TCSpinEdit::SetIncrement(std::int32_t Value) {
    if (Value == increment_)
        return;
    increment_ = Value;
    emit incrementChanged(Value);
}

void TCSpinEdit::SetEditorEnabled(bool Value) {
    if (Value == editorEnabled_)
        return;
    editorEnabled_ = Value;
    emit editorEnabledChanged(Value);
}

std::int32_t TCSpinEdit::CheckValue(std::int32_t NewValue) const {
    if (maxValue_ == minValue_)
        return NewValue;
    if (NewValue < minValue_)
        return minValue_;
    if (NewValue > maxValue_)
        return maxValue_;
    return NewValue;
}

void TCSpinEdit::WMCut() {
    if (editorEnabled_ && !ReadOnly())
        TCustomEdit::WMCut();
}

void TCSpinEdit::WMPaste() {
    if (editorEnabled_ && !ReadOnly())
        TCustomEdit::WMPaste();
}

bool TCSpinEdit::CanEditWithoutTyping() const {
    return editorEnabled_ && !ReadOnly();
}

void TCSpinEdit::CMExit() {
    const std::int32_t value = GetValue();
    if (CheckValue(value) != value)
        SetValue(value);
    TCustomEdit::CMExit();
}

// The meta-object code of this unit's classes, compiled here so that a program linking one
// class does not pull in every other class of the library with it.
#include "moc_Cspin.cpp"
