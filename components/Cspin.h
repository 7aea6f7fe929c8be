// SPDX-License-Identifier: MIT
#pragma once
// Spin controls: an auto-repeating speed button, a pair of them stacked as a spin button, and an
// integer edit with an embedded spin button.
#include "Buttons.h"
#include "StdCtrls.h"
#include "Timer.h"

#include <QImage>
#include <QPointer>
#include <cstdint>

// Flags of a TTimerSpeedButton.
enum TTimeBtnState : unsigned {
    ShowFocus = 1u << 0,  // draw a focus frame inside the face
    AutoRepeat = 1u << 1, // repeat the click while the button is held
};
using TTimeBtnStates = unsigned;

// A speed button that repeats its click while it is held down (the first repeat 400 ms after the
// press, then every 100 ms) and can draw a keyboard focus frame.
class TTimerSpeedButton : public TSpeedButton {
    Q_OBJECT

public:
    static constexpr unsigned InitRepeatPause = 400; // ms from the press to the first repeat
    static constexpr unsigned RepeatPause = 100;     // ms between later repeats

    explicit TTimerSpeedButton(QWidget* AOwner = nullptr);
    ~TTimerSpeedButton() override;

    TTimeBtnStates TimerBtnFlags = 0;

    // The repeat timer; null until the first press with AutoRepeat.
    TTimer* RepeatTimer() const { return repeatTimer_; }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // A press that ends without a release stops the repeat as a release does.
    void CancelPress() override;
    void Paint() override;
    void TimerExpired(QObject* Sender);

private:
    TTimer* repeatTimer_ = nullptr;
};

// Two auto-repeating buttons stacked vertically (up above, down below) that fire OnUpClick and
// OnDownClick (and the signals upClicked and downClicked). With TabStop it takes the focus, shows
// it on one of its buttons, and steps with the Up, Down and Space keys.
class TCSpinButton : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(QImage DownGlyph READ GetDownGlyph WRITE SetDownGlyph NOTIFY downGlyphChanged)
    Q_PROPERTY(
        QWidget* FocusControl READ FocusControl WRITE SetFocusControl NOTIFY focusControlChanged)
    Q_PROPERTY(QImage UpGlyph READ GetUpGlyph WRITE SetUpGlyph NOTIFY upGlyphChanged)
    Q_CLASSINFO("default:Color", "0x8000000F")
    Q_CLASSINFO("default:Ctl3D", "true")
    Q_CLASSINFO("default:TabStop", "false")

public:
    explicit TCSpinButton(QWidget* AOwner = nullptr);

    TTimerSpeedButton* UpBtn() const { return upBtn_; }
    TTimerSpeedButton* DownBtn() const { return downBtn_; }
    // The button that shows the focus frame while the control has the focus.
    TTimerSpeedButton* FocusedBtn() const { return focusedBtn_; }

    // Control that receives the focus when a button is pressed (not owned; null by default, and
    // null again once that control is destroyed).
    QWidget* FocusControl() const { return focusControl_; }
    void SetFocusControl(QWidget* Value);

    // The buttons' pictures. A null image restores the built-in arrow, drawn in the palette's
    // button-text colour.
    QImage GetUpGlyph() const;
    QImage GetDownGlyph() const;
    void SetUpGlyph(const QImage& Bitmap);
    void SetDownGlyph(const QImage& Bitmap);

    // Keeps the width at least 15 and splits the height between the two buttons.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Re-applies the size rule to the current bounds (after loading from a form).
    void Loaded();

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

signals:
    // With OnUpClick and OnDownClick.
    void upClicked();
    void downClicked();
    // The glyphs changed (a palette change recolours the built-in arrows).
    void upGlyphChanged(const QImage& glyph);
    void downGlyphChanged(const QImage& glyph);
    // Another control, or none, receives the focus now (null also when that control is gone).
    void focusControlChanged(QWidget* control);

protected:
    // Size rule: W becomes at least 15; the upper button gets the top half of H, the lower one
    // the rest, starting one row above the upper button's bottom edge. H is kept.
    void AdjustSize(int& W, int& H);
    void WMSize() override;
    void WMSetFocus() override;
    void WMKillFocus() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    TTimerSpeedButton* CreateButton();
    void BtnMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BtnClick(QObject* Sender);
    void SetFocusBtn(TTimerSpeedButton* Btn);
    bool CanFocus() const { return isVisible() && isEnabled(); }

    TTimerSpeedButton* upBtn_ = nullptr;
    TTimerSpeedButton* downBtn_ = nullptr;
    TTimerSpeedButton* focusedBtn_ = nullptr;
    QPointer<QWidget> focusControl_;
    QMetaObject::Connection focusControlGone_;
    bool builtInUp_ = true, builtInDown_ = true; // showing the built-in arrows
};

// A single-line integer edit with a spin button at its right edge. The buttons, the Up and Down
// keys and typing change its Value; steps and leaving the control keep it inside
// MinValue..MaxValue (no limits while the two are equal). The text is the only store of the value.
class TCSpinEdit : public TCustomEdit {
    Q_OBJECT
    Q_PROPERTY(
        bool EditorEnabled READ EditorEnabled WRITE SetEditorEnabled NOTIFY editorEnabledChanged)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement NOTIFY incrementChanged)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue NOTIFY maxValueChanged)
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue NOTIFY minValueChanged)
    Q_PROPERTY(int Value READ Value WRITE SetValue NOTIFY valueChanged)
    Q_CLASSINFO("default:AutoSelect", "true")
    Q_CLASSINFO("default:AutoSize", "true")
    Q_CLASSINFO("default:EditorEnabled", "true")
    Q_CLASSINFO("default:Increment", "1")
    Q_CLASSINFO("default:MaxValue", "0")
    Q_CLASSINFO("default:MinValue", "0")
    Q_CLASSINFO("default:TabStop", "true")
    Q_CLASSINFO("default:Value", "0")

public:
    explicit TCSpinEdit(QWidget* AOwner = nullptr);
    ~TCSpinEdit() override;

    // Limits; plain settings: changing them does not re-check the text.
    std::int32_t MinValue() const { return minValue_; }
    void SetMinValue(std::int32_t Value);
    std::int32_t MaxValue() const { return maxValue_; }
    void SetMaxValue(std::int32_t Value);
    // Amount added by one up step and subtracted by one down step.
    std::int32_t Increment() const { return increment_; }
    void SetIncrement(std::int32_t Value);
    // Whether typing may change the text; without it only steps and Value change it.
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool Value);

    // The number in the text, not clamped. A text that is no number is replaced by MinValue,
    // which is then returned.
    std::int32_t GetValue();
    // The same number without touching the text: MinValue for a text that is no number. This is
    // what the Value property reads, so that showing it changes nothing.
    std::int32_t Value() const;

public slots:
    // Shows the value clamped into the limits.
    void SetValue(int NewValue);

public:
    TCSpinButton* SpinBtn() const { return spinBtn_; }
    // Smallest height that shows the text and the button.
    int GetMinHeight() const;

    // One step up / down; a read-only edit beeps instead. Sender is passed on unchanged.
    virtual void UpClick(QObject* Sender);
    virtual void DownClick(QObject* Sender);

signals:
    void editorEnabledChanged(bool value);
    void incrementChanged(int value);
    void maxValueChanged(int value);
    void minValueChanged(int value);
    // The number that Value reads changed, by typing, a step, SetValue or a new MinValue under
    // a text that is no number.
    void valueChanged(int value);

protected:
    // Fires OnChange, then tells valueChanged's listeners of a new number.
    void Change() override;
    virtual bool IsValidChar(char Key);
    std::int32_t CheckValue(std::int32_t NewValue) const;
    void SetEditRect();

    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMCut() override;
    void WMPaste() override;
    bool CanEditWithoutTyping() const override;
    void CMExit() override;
    void WMSize() override;

private:
    TCSpinButton* spinBtn_ = nullptr;
    std::int32_t minValue_ = 0;
    std::int32_t maxValue_ = 0;
    std::int32_t increment_ = 1;
    bool editorEnabled_ = true;
    std::int32_t shownValue_ = 0; // what valueChanged last told
    void NoteValue();
};
