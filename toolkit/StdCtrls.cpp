// SPDX-License-Identifier: MIT
#include "StdCtrls.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>

namespace {

// Focus that a menu (a popup, or the menu bar opened with Alt) or another window only borrows: the
// edit is not left, and not entered again when the focus comes back.
bool PassingFocus(Qt::FocusReason reason) {
    return reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason ||
           reason == Qt::ActiveWindowFocusReason;
}

TMessageBeepHook& BeepHook() {
    static TMessageBeepHook hook;
    return hook;
}

} // namespace

void MessageBeep(unsigned Type) {
    if (BeepHook())
        BeepHook()(Type);
    else
        QApplication::beep();
}

TMessageBeepHook SetMessageBeepHook(TMessageBeepHook Hook) {
    TMessageBeepHook previous = std::move(BeepHook());
    BeepHook() = std::move(Hook);
    return previous;
}

QChar TypedChar(const QKeyEvent& Event) {
    const Qt::KeyboardModifiers mods = Event.modifiers();
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool alt = mods.testFlag(Qt::AltModifier);
    const int key = Event.key();
    switch (key) {
    case Qt::Key_Backspace:
        return ctrl || alt ? QChar() : QChar(8);
    case Qt::Key_Tab:
        return ctrl || alt ? QChar() : QChar(9);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return alt ? QChar() : QChar(13);
    case Qt::Key_Escape:
        return QChar(27);
    case Qt::Key_Delete:
        return QChar();
    default:
        break;
    }
    const QString text = Event.text();
    const QChar first = text.isEmpty() ? QChar() : text.at(0);
    const bool printable = !first.isNull() && first.unicode() >= 32 && first.unicode() != 127;
    if (ctrl && alt)
        return printable ? first : QChar(); // AltGr reports itself as Ctrl+Alt on some systems
    if (alt)
        return QChar();
    if (ctrl) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return QChar(key - Qt::Key_A + 1);
        return QChar();
    }
    return printable ? first : QChar();
}

char CharToAnsi(QChar Char) {
    if (Char.unicode() > 255)
        return '?';
    return static_cast<char>(static_cast<unsigned char>(Char.unicode()));
}

TCustomEdit::TCustomEdit(QWidget* AOwner) : QLineEdit(AOwner) {
    setFocusPolicy(Qt::StrongFocus);
    // A classic edit takes no drops; text arrives only by typing, pasting and the program.
    setAcceptDrops(false);
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
}

void TCustomEdit::SetAutoSelect(bool Value) {
    if (Value == autoSelect_)
        return;
    autoSelect_ = Value;
    emit autoSelectChanged(Value);
}

void TCustomEdit::SetAutoSize(bool Value) {
    if (Value == autoSize_)
        return;
    autoSize_ = Value;
    AdjustHeight();
    emit autoSizeChanged(Value);
}

void TCustomEdit::SetTabStop(bool Value) {
    setFocusPolicy(Value ? Qt::StrongFocus : Qt::NoFocus);
    if (Value == tabStop_)
        return;
    tabStop_ = Value;
    emit tabStopChanged(Value);
}

void TCustomEdit::AdjustHeight() {
    if (!autoSize_)
        return;
    // Character height plus a two-pixel border and a one-pixel margin above and below the text
    // on each side.
    const QFontMetrics metrics(font());
    SetHeight(metrics.height() + 8);
}

void TCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AWidth = AWidth < 0 ? 0 : AWidth;
    AHeight = AHeight < 0 ? 0 : AHeight;
    const bool resized = AWidth != width() || AHeight != height();
    setGeometry(ALeft, ATop, AWidth, AHeight);
    // A hidden widget gets its resize event only when shown; the edit lays out its parts now.
    if (resized && !isVisible())
        WMSize();
}

QRect TCustomEdit::EditRect() const {
    return editRect_.isValid() ? editRect_ : QRect(0, 0, ClientWidth(), ClientHeight());
}

void TCustomEdit::SetEditRect(const QRect& Rect) {
    editRect_ = Rect;
    const QMargins margins(Rect.left(), Rect.top(), ClientWidth() - (Rect.right() + 1),
                           qMax(0, ClientHeight() - (Rect.bottom() + 1)));
    setTextMargins(qMax(0, margins.left()), qMax(0, margins.top()), qMax(0, margins.right()),
                   qMax(0, margins.bottom()));
}

void TCustomEdit::Change() {
    if (OnChange)
        OnChange(this);
    emit changed();
}

void TCustomEdit::KeyDown(WORD& Key, TShiftState Shift) {
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    emit keyPressed(Key, Shift);
}

void TCustomEdit::KeyPress(char& Key) {
    if (OnKeyPress)
        OnKeyPress(this, Key);
    emit keyTyped(Key);
}

void TCustomEdit::WMCut() {
    if (!ReadOnly())
        cut();
}

void TCustomEdit::WMPaste() {
    if (!ReadOnly())
        paste();
}

void TCustomEdit::CMEnter() {
    if (autoSelect_ && !lButtonDown_)
        selectAll();
    if (OnEnter)
        OnEnter(this);
    emit entered();
}

void TCustomEdit::CMExit() {
    if (OnExit)
        OnExit(this);
    emit exited();
}

void TCustomEdit::CMFontChanged() {
    AdjustHeight();
}

void TCustomEdit::keyPressEvent(QKeyEvent* Event) {
    Event->accept();
    WORD key = VirtualKeyFromQt(Event);
    if (key != 0) {
        QPointer<TCustomEdit> alive(this);
        KeyDown(key, ShiftStateFromQt(Event->modifiers()));
        if (!alive || key == 0)
            return;
    }

    const QChar typed = TypedChar(*Event);
    if (!typed.isNull()) {
        char ansi = CharToAnsi(typed);
        const char before = ansi;
        QPointer<TCustomEdit> alive(this);
        KeyPress(ansi);
        if (!alive || ansi == 0)
            return;
        if (ansi != before) {
            // The handler typed another character instead.
            const QChar replaced = QChar::fromLatin1(ansi);
            if (replaced.unicode() >= 32 && replaced.unicode() != 127) {
                if (!ReadOnly())
                    insert(QString(replaced));
                return;
            }
            QKeyEvent substitute(Event->type(), Event->key(), Event->modifiers(),
                                 QString(replaced));
            QLineEdit::keyPressEvent(&substitute);
            return;
        }
    }

    if (typed.isNull() && !Event->text().isEmpty() && Event->text().at(0).unicode() >= 32 &&
        Event->text().at(0).unicode() != 127) {
        // Text that types no character here (Alt with a letter) is left to menus and shortcuts
        // instead of being inserted past the key-press filter.
        Event->ignore();
        return;
    }
    if (Event->matches(QKeySequence::Cut)) {
        WMCut();
        return;
    }
    if (Event->matches(QKeySequence::Paste)) {
        WMPaste();
        return;
    }
    const bool editsWithoutTyping =
        Event->key() == Qt::Key_Delete || Event->matches(QKeySequence::Undo) ||
        Event->matches(QKeySequence::Redo) || Event->matches(QKeySequence::DeleteEndOfLine) ||
        Event->matches(QKeySequence::DeleteStartOfWord) ||
        Event->matches(QKeySequence::DeleteEndOfWord) ||
        Event->matches(QKeySequence::DeleteCompleteLine) ||
        (Event->key() == Qt::Key_Backspace && typed.isNull());
    if (editsWithoutTyping && !CanEditWithoutTyping()) {
        if (!ReadOnly())
            MessageBeep(0);
        return;
    }
    QLineEdit::keyPressEvent(Event);
    // Up and Down stay with the edit instead of travelling on to the parent, as in a classic
    // edit control.
    if (Event->key() == Qt::Key_Up || Event->key() == Qt::Key_Down)
        Event->accept();
}

void TCustomEdit::inputMethodEvent(QInputMethodEvent* Event) {
    const QString commit = Event->commitString();
    if (commit.isEmpty()) {
        QLineEdit::inputMethodEvent(Event);
        return;
    }
    // Composed text goes through the key-press filter character by character.
    QString accepted;
    for (QChar c : commit) {
        char ansi = CharToAnsi(c);
        QPointer<TCustomEdit> alive(this);
        KeyPress(ansi);
        if (!alive)
            return;
        if (ansi != 0)
            accepted += CharToAnsi(c) == ansi ? c : QChar::fromLatin1(ansi);
    }
    QInputMethodEvent filtered(Event->preeditString(), Event->attributes());
    filtered.setCommitString(accepted, Event->replacementStart(), Event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

void TCustomEdit::focusInEvent(QFocusEvent* Event) {
    // The edit decides itself whether arriving selects the text.
    QFocusEvent plain(Event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&plain);
    if (PassingFocus(Event->reason()))
        return; // the focus only comes back from a menu or another window
    if (Event->reason() == Qt::MouseFocusReason) {
        // The press that moved the focus is delivered after this; it tells whether the mouse
        // went down on the edit itself or on a child such as an embedded button.
        enterPending_ = true;
        QPointer<TCustomEdit> self(this);
        QMetaObject::invokeMethod(
            this,
            [self] {
                if (self && self->enterPending_)
                    self->RunEnter();
            },
            Qt::QueuedConnection);
        return;
    }
    RunEnter();
}

void TCustomEdit::RunEnter() {
    enterPending_ = false;
    CMEnter();
}

void TCustomEdit::focusOutEvent(QFocusEvent* Event) {
    QLineEdit::focusOutEvent(Event);
    if (PassingFocus(Event->reason()))
        return; // a menu opened or another window became active: the focus stays here
    if (enterPending_)
        RunEnter();
    CMExit();
}

void TCustomEdit::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton)
        lButtonDown_ = true;
    if (enterPending_)
        RunEnter();
    QLineEdit::mousePressEvent(Event);
}

void TCustomEdit::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton)
        lButtonDown_ = false;
    QLineEdit::mouseReleaseEvent(Event);
}

void TCustomEdit::resizeEvent(QResizeEvent* Event) {
    QLineEdit::resizeEvent(Event);
    WMSize();
}

void TCustomEdit::changeEvent(QEvent* Event) {
    QLineEdit::changeEvent(Event);
    if (Event->type() == QEvent::FontChange)
        CMFontChanged();
}

void TCustomEdit::contextMenuEvent(QContextMenuEvent* Event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Cut and paste go through the same requests as their keys; text changes that type nothing
    // follow the same permission.
    for (QAction* action : menu->actions()) {
        const QString name = action->objectName();
        if (name == QLatin1String("edit-cut") || name == QLatin1String("edit-paste")) {
            QObject::disconnect(action, nullptr, this, nullptr); // keep the menu's own links
            const bool isCut = name == QLatin1String("edit-cut");
            QPointer<TCustomEdit> self(this);
            connect(action, &QAction::triggered, this, [self, isCut] {
                if (!self)
                    return;
                if (isCut)
                    self->WMCut();
                else
                    self->WMPaste();
            });
        } else if (name == QLatin1String("edit-undo") || name == QLatin1String("edit-redo") ||
                   name == QLatin1String("edit-delete")) {
            if (!CanEditWithoutTyping())
                action->setEnabled(false);
        }
    }
    menu->popup(Event->globalPos());
}

// The meta-object code of this unit's classes, compiled here so that a program linking one
// class does not pull in every other class of the library with it.
#include "moc_StdCtrls.cpp"
