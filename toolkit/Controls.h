// SPDX-License-Identifier: MIT
#pragma once
// Control bases for widgets that draw themselves through a TCanvas.
//
// Every control owns a surface image the size of the widget. Canvas() draws into that surface at
// any time; paintEvent runs Paint() on it and then shows the surface. Drawing outside Paint()
// (a selection marker moved by a key, say) schedules a repaint, so what is shown always matches
// the control's state. Exceptions thrown by Paint() are swallowed: they never leave a paint.
#include "Graphics.h"

#include <QMetaEnum>
#include <QWidget>
#include <cstdint>
#include <exception>
#include <functional>

class QKeyEvent;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Keyboard and mouse state of an input event (a set of ss* bits).
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 0x01;
inline constexpr TShiftState ssAlt = 0x02;
inline constexpr TShiftState ssCtrl = 0x04;
inline constexpr TShiftState ssLeft = 0x08;
inline constexpr TShiftState ssRight = 0x10;
inline constexpr TShiftState ssMiddle = 0x20;
inline constexpr TShiftState ssDouble = 0x40;

// Virtual key codes as delivered to KeyDown/KeyUp.
using WORD = std::uint16_t;
inline constexpr WORD VK_BACK = 0x08;
inline constexpr WORD VK_TAB = 0x09;
inline constexpr WORD VK_RETURN = 0x0D;
inline constexpr WORD VK_SHIFT = 0x10;
inline constexpr WORD VK_CONTROL = 0x11;
inline constexpr WORD VK_MENU = 0x12;
inline constexpr WORD VK_ESCAPE = 0x1B;
inline constexpr WORD VK_SPACE = 0x20;
inline constexpr WORD VK_PRIOR = 0x21; // page up
inline constexpr WORD VK_NEXT = 0x22;  // page down
inline constexpr WORD VK_END = 0x23;
inline constexpr WORD VK_HOME = 0x24;
inline constexpr WORD VK_LEFT = 0x25;
inline constexpr WORD VK_UP = 0x26;
inline constexpr WORD VK_RIGHT = 0x27;
inline constexpr WORD VK_DOWN = 0x28;
inline constexpr WORD VK_INSERT = 0x2D;
inline constexpr WORD VK_DELETE = 0x2E;
inline constexpr WORD VK_NUMPAD0 = 0x60; // keypad digits are 0x60..0x69
inline constexpr WORD VK_F1 = 0x70;      // function keys are 0x70..0x87

// The virtual key code of a Qt key event: letters 'A'..'Z', digits '0'..'9', keypad digits
// VK_NUMPAD0.., the VK_* keys above; 0 for keys without a code.
WORD VirtualKeyFromQt(const QKeyEvent* event);
// The shift state of a Qt event's modifiers and buttons.
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = {});

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TMouseEvent =
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(QObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(QObject* Sender, char& Key)>;

// A colour property's change notice: `shown` is the colour its listeners heard of last. When
// `color` shows another one (a new colour, or a system colour the palette now resolves
// differently), `notify` gets it and `shown` keeps it.
template <class Notify> void NoteColor(QColor& shown, TColor color, Notify&& notify) {
    const QColor now = ColorToQColor(color);
    if (now == shown)
        return;
    shown = now;
    notify(now);
}

// What windowless and windowed controls share: canvas, painting, size, colour and the mouse.
//
// Each published event is a callback (OnClick ...) and a signal (clicked() ...): the callback
// runs first, then the signal goes to every connected slot.
class TControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ color WRITE setColor NOTIFY colorChanged)
public:
    // Border of a form or control; controls use only bsNone and bsSingle.
    enum TFormBorderStyle : int {
        bsNone,
        bsSingle,
        bsSizeable,
        bsDialog,
        bsToolWindow,
        bsSizeToolWin
    };
    Q_ENUM(TFormBorderStyle)

    explicit TControl(QWidget* parent = nullptr);
    ~TControl() override;

    // The canvas drawing onto the control's surface; valid for the control's whole life.
    TCanvas* Canvas();
    // Draws the control on Canvas(); called by every repaint. The default fills with Color().
    virtual void Paint();
    // Schedules a repaint (ignored while Paint runs).
    void Invalidate();
    // Repaints at once when the control is visible (ignored while Paint runs).
    void Refresh();
    // Immediate repaint; controls may give it a meaning of their own.
    virtual void Update();

    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
    // Moves and sizes the control (negative sizes count as 0).
    virtual void SetBounds(int left, int top, int width, int height);
    // (0, 0, Width, Height).
    TRect ClientRect() const { return {0, 0, Width(), Height()}; }

    // Background colour of the control (clBtnFace initially).
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // The same colour as Qt sees it, a system colour resolved through the palette. Writing the
    // colour the property shows already changes nothing, so that a system colour keeps following
    // the palette; an invalid colour is ignored.
    QColor color() const { return ColorToQColor(color_); }
    void setColor(const QColor& color);

    // Whether the control holds the mouse: it then receives every mouse event until released.
    bool MouseCapture() const { return capture_; }
    void SetMouseCapture(bool capture);

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

signals:
    // The colour the Color property shows changed: a new colour, or a system colour that the
    // palette now resolves differently.
    void colorChanged(const QColor& color);
    // With OnClick, OnMouseDown, OnMouseMove and OnMouseUp.
    void clicked();
    void mousePressed(TMouseButton button, TShiftState shift, int x, int y);
    void mouseMoved(TShiftState shift, int x, int y);
    void mouseReleased(TMouseButton button, TShiftState shift, int x, int y);

protected:
    // Mouse handlers; the defaults fire the matching On* event.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // A left press and release on the control; fires OnClick.
    virtual void Click();
    // Called after every change of size.
    virtual void WMSize() {}
    // The palette changed; colour properties holding a system colour tell their listeners what
    // they show now.
    virtual void PaletteChanged();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void EnsureSurface();

    QImage surface_;
    TCanvas canvas_;
    TColor color_ = clBtnFace;
    QColor shownColor_; // what colorChanged last told
    bool painting_ = false;
    bool capture_ = false;
    bool clickPending_ = false;
};

using TFormBorderStyle = TControl::TFormBorderStyle;
using enum TControl::TFormBorderStyle;

// A windowless control: never takes the keyboard focus.
class TGraphicControl : public TControl {
    Q_OBJECT
public:
    explicit TGraphicControl(QWidget* parent = nullptr);
};

// A windowed control: can hold the keyboard focus and receives keys.
class TCustomControl : public TControl {
    Q_OBJECT
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop NOTIFY tabStopChanged)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D NOTIFY ctl3DChanged)
public:
    explicit TCustomControl(QWidget* parent = nullptr);

    // Whether Tab reaches the control (false initially). Focus can still be given by SetFocus.
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    // Takes the keyboard focus.
    void SetFocus() { setFocus(Qt::OtherFocusReason); }
    // Whether the control draws with a 3-D look (true initially); a change calls CMCtl3DChanged.
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

signals:
    void tabStopChanged(bool value);
    void ctl3DChanged(bool value);
    // With OnKeyDown, OnKeyUp and OnKeyPress, carrying the key as the callback left it (0 when
    // it swallowed the key): only the callback can change or swallow a key.
    void keyPressed(WORD key, TShiftState shift);
    void keyReleased(WORD key, TShiftState shift);
    void keyTyped(char key);
    // With OnEnter and OnExit.
    void entered();
    void exited();

protected:
    // Key handlers. KeyDown gets every key press; setting Key to 0 consumes it, otherwise a key
    // with a character goes on to KeyPress. The defaults fire the matching On* event.
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    // Focus arrives and leaves; the defaults fire OnEnter and OnExit.
    virtual void WMSetFocus();
    virtual void WMKillFocus();
    // Ctl3D changed; the default repaints.
    virtual void CMCtl3DChanged();

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool tabStop_ = false;
    bool ctl3D_ = true;
};

// Whether a value of a published enumeration names one of its keys. Enumerations that the
// property system writes hold any int (their underlying type is fixed), and their setters ignore
// a value without a key, as a damaged form or a cast may give one.
template <class E> bool IsEnumKey(E value) {
    return QMetaEnum::fromType<E>().valueToKey(int(value)) != nullptr;
}

// The property system's way into a setter that raises for values it refuses (Designer's
// property editor and form loading write through it, and an exception there would end the
// program): the refused value is dropped and the old one stays. Code that calls the setter
// itself still gets the exception.
template <class Setter> void WriteRefusing(Setter&& set) noexcept {
    try {
        set();
    } catch (const std::exception&) {
    }
}

// Declared defaults of published properties: a class lists them with
// Q_CLASSINFO("default:<Property>", "<value>"), a colour as its TColor number. The Designer
// plugin gives every widget dropped on a form these values, and Designer then writes them into
// the form, so that a form states the values each widget started with.
//
// The declared default of a property as a value of the property's type; invalid when the class
// declares none, and for a system colour, which no value of a form can hold (it follows the
// palette instead).
QVariant DeclaredDefault(const QMetaObject* meta, const char* property);
// The properties of the class (its own and its bases') that have a declared default.
QList<QByteArray> PropertiesWithDefaults(const QMetaObject* meta);
