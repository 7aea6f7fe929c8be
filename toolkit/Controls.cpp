// SPDX-License-Identifier: MIT
#include "Controls.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

WORD VirtualKeyFromQt(const QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (event->modifiers() & Qt::KeypadModifier)
            return WORD(VK_NUMPAD0 + (key - Qt::Key_0));
        return WORD(key); // '0'..'9'
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return WORD(key); // 'A'..'Z'
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return WORD(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return 0;
    }
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= ssShift;
    if (modifiers & Qt::AltModifier)
        s |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

namespace {

bool ButtonFromQt(Qt::MouseButton button, TMouseButton& out) {
    switch (button) {
    case Qt::LeftButton:
        out = mbLeft;
        return true;
    case Qt::RightButton:
        out = mbRight;
        return true;
    case Qt::MiddleButton:
        out = mbMiddle;
        return true;
    default:
        return false;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TControl

TControl::TControl(QWidget* parent)
    : QWidget(parent), canvas_(&surface_), shownColor_(ColorToQColor(color_)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    canvas_.OnChange = [this] {
        if (!painting_)
            update();
    };
}

TControl::~TControl() {
    if (capture_ && QWidget::mouseGrabber() == this)
        releaseMouse();
}

void TControl::EnsureSurface() {
    const int w = std::max(0, width()), h = std::max(0, height());
    if (surface_.width() == w && surface_.height() == h)
        return;
    QImage resized(w, h, QImage::Format_RGB32);
    resized.fill(ColorToPixel(color_));
    const int cw = std::min(w, surface_.width()), ch = std::min(h, surface_.height());
    for (int y = 0; y < ch; ++y)
        std::memcpy(resized.scanLine(y), surface_.constScanLine(y), sizeof(quint32) * size_t(cw));
    surface_ = std::move(resized);
}

TCanvas* TControl::Canvas() {
    EnsureSurface();
    return &canvas_;
}

void TControl::Paint() {
    TCanvas* c = Canvas();
    c->Brush().Color = color_;
    c->Brush().Style = bsSolid;
    c->FillRect(ClientRect());
}

void TControl::Invalidate() {
    if (!painting_)
        update();
}

void TControl::Refresh() {
    // A paint that redraws from its model (a graph replaying its history) asks for a refresh on
    // the way; the paint under way shows the result anyway, and Qt refuses a nested repaint.
    if (painting_)
        return;
    repaint();
}

void TControl::Update() {
    Refresh();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    const bool resized = width != this->width() || height != this->height();
    setGeometry(left, top, width, height);
    // A hidden widget gets its resize event only when shown; the control needs it now.
    if (resized && !isVisible())
        WMSize();
}

void TControl::SetColor(TColor color) {
    if (color == color_)
        return;
    color_ = color;
    Invalidate();
    NoteColor(shownColor_, color_, [this](const QColor& c) { emit colorChanged(c); });
}

void TControl::setColor(const QColor& color) {
    if (color.isValid() && QColorToColor(color) != ColorToRGB(color_))
        SetColor(QColorToColor(color));
}

void TControl::PaletteChanged() {
    NoteColor(shownColor_, color_, [this](const QColor& c) { emit colorChanged(c); });
}

void TControl::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        PaletteChanged();
}

void TControl::SetMouseCapture(bool capture) {
    capture_ = capture;
    if (capture) {
        // While a button is held the widget under the press has the mouse already.
        if (isVisible() && QGuiApplication::mouseButtons() == Qt::NoButton)
            grabMouse();
    } else if (QWidget::mouseGrabber() == this) {
        releaseMouse();
    }
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
    emit mousePressed(Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
    emit mouseMoved(Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
    emit mouseReleased(Button, Shift, X, Y);
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
    emit clicked();
}

void TControl::paintEvent(QPaintEvent*) {
    EnsureSurface();
    painting_ = true;
    try {
        Paint();
    } catch (...) {
        // A failed paint leaves whatever was drawn so far; the next paint tries again.
    }
    painting_ = false;
    QPainter painter(this);
    painter.drawImage(0, 0, surface_);
}

void TControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    WMSize();
}

void TControl::mousePressEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!ButtonFromQt(event->button(), button)) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    clickPending_ = button == mbLeft;
    MouseDown(button, ShiftStateFromQt(event->modifiers(), event->buttons()), pos.x(), pos.y());
}

void TControl::mouseDoubleClickEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!ButtonFromQt(event->button(), button)) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    clickPending_ = button == mbLeft;
    MouseDown(button, ShiftStateFromQt(event->modifiers(), event->buttons()) | ssDouble, pos.x(),
              pos.y());
}

void TControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    MouseMove(ShiftStateFromQt(event->modifiers(), event->buttons()), pos.x(), pos.y());
}

void TControl::mouseReleaseEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!ButtonFromQt(event->button(), button)) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const bool click = button == mbLeft && clickPending_ && rect().contains(pos);
    if (button == mbLeft)
        clickPending_ = false;
    MouseUp(button, ShiftStateFromQt(event->modifiers(), event->buttons()), pos.x(), pos.y());
    if (click)
        Click();
}

// ---------------------------------------------------------------------------------------------
// TGraphicControl, TCustomControl

TGraphicControl::TGraphicControl(QWidget* parent) : TControl(parent) {
    setFocusPolicy(Qt::NoFocus);
}

TCustomControl::TCustomControl(QWidget* parent) : TControl(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void TCustomControl::SetTabStop(bool value) {
    setFocusPolicy(value ? Qt::TabFocus : Qt::NoFocus);
    if (value == tabStop_)
        return;
    tabStop_ = value;
    emit tabStopChanged(value);
}

void TCustomControl::SetCtl3D(bool value) {
    if (value == ctl3D_)
        return;
    ctl3D_ = value;
    CMCtl3DChanged();
    emit ctl3DChanged(value);
}

void TCustomControl::KeyDown(WORD& Key, TShiftState Shift) {
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    emit keyPressed(Key, Shift);
}

void TCustomControl::KeyUp(WORD& Key, TShiftState Shift) {
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
    emit keyReleased(Key, Shift);
}

void TCustomControl::KeyPress(char& Key) {
    if (OnKeyPress)
        OnKeyPress(this, Key);
    emit keyTyped(Key);
}

void TCustomControl::WMSetFocus() {
    if (OnEnter)
        OnEnter(this);
    emit entered();
}

void TCustomControl::WMKillFocus() {
    if (OnExit)
        OnExit(this);
    emit exited();
}

void TCustomControl::CMCtl3DChanged() {
    Invalidate();
}

void TCustomControl::keyPressEvent(QKeyEvent* event) {
    WORD key = VirtualKeyFromQt(event);
    if (key != 0) {
        KeyDown(key, ShiftStateFromQt(event->modifiers()));
        if (key == 0) {
            event->accept();
            return;
        }
    }
    const QString text = event->text();
    if (text.size() == 1 && text[0].unicode() < 0x100) {
        char c = char(text[0].unicode());
        KeyPress(c);
        if (c == 0) {
            event->accept();
            return;
        }
    }
    event->ignore();
}

void TCustomControl::keyReleaseEvent(QKeyEvent* event) {
    WORD key = VirtualKeyFromQt(event);
    if (key != 0)
        KeyUp(key, ShiftStateFromQt(event->modifiers()));
    if (key == 0)
        event->accept();
    else
        event->ignore();
}

void TCustomControl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    WMSetFocus();
}

void TCustomControl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    WMKillFocus();
}

// ---------------------------------------------------------------------------------------------
// Declared defaults

QVariant DeclaredDefault(const QMetaObject* meta, const char* property) {
    const int info = meta->indexOfClassInfo(QByteArray("default:") + property);
    const int index = meta->indexOfProperty(property);
    if (info < 0 || index < 0)
        return {};
    const QString text = QString::fromLatin1(meta->classInfo(info).value());
    const QMetaProperty prop = meta->property(index);
    bool ok = false;
    if (prop.isEnumType()) {
        const int value = prop.enumerator().keyToValue(text.toLatin1().constData(), &ok);
        return ok ? QVariant(value) : QVariant();
    }
    switch (prop.metaType().id()) {
    case QMetaType::Bool:
        return QVariant(text == QLatin1String("true"));
    case QMetaType::Int: {
        const int value = text.toInt(&ok, 0);
        return ok ? QVariant(value) : QVariant();
    }
    case QMetaType::QColor: {
        const TColor color = text.toUInt(&ok, 0);
        if (!ok || (color & 0xFF000000u) != 0)
            return {};
        return ColorToQColor(color);
    }
    default: {
        QVariant v(text);
        return v.convert(prop.metaType()) ? v : QVariant();
    }
    }
}

QList<QByteArray> PropertiesWithDefaults(const QMetaObject* meta) {
    QList<QByteArray> names;
    for (int i = 0; i < meta->classInfoCount(); ++i) {
        const QByteArray name = meta->classInfo(i).name();
        if (name.startsWith("default:") && !names.contains(name.mid(8)))
            names << name.mid(8);
    }
    return names;
}

// The meta-object code of this unit's classes, compiled here so that a program linking one
// class does not pull in every other class of the library with it.
#include "moc_Controls.cpp"
