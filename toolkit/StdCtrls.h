// SPDX-License-Identifier: MIT
#pragma once
// Edit base of the toolkit: a single-line edit over QLineEdit with the hooks that descendants
// override the way a classic component library lets them: key-down and key-press handlers
// that may change or swallow the key, cut and paste requests that can be refused, focus-enter
// and focus-exit notifications, and a change event that fires whenever the text changes. The text
// and the read-only flag are QLineEdit's own properties (text, readOnly); Text() and ReadOnly()
// are the same under the names the widgets use.
#include "Controls.h"

#include <QLineEdit>
#include <functional>

class QKeyEvent;

// Sounds the system beep of the given kind (0 is the default sound). Every beep of the toolkit
// and the widgets goes through here, so tests can replace the sound with a recorder.
void MessageBeep(unsigned Type);
using TMessageBeepHook = std::function<void(unsigned Type)>;
// Replaces the beep with Hook (an empty hook restores the sound) and returns the previous hook.
TMessageBeepHook SetMessageBeepHook(TMessageBeepHook Hook);

// The character a key press types, as a classic edit control receives it: printable text,
// Backspace (8), Tab (9), Return (13), Escape (27) and the control codes of Ctrl+letter (1-26).
// Returns the null character for keys that type nothing (arrows, Delete, Alt combinations ...).
QChar TypedChar(const QKeyEvent& Event);
// The 8-bit character handed to KeyPress for a typed character: Latin-1, '?' beyond it.
char CharToAnsi(QChar Char);

// Whether controls use the flat, three-dimensional look of newer systems; embedded parts such
// as a spin edit's button keep clear of the sunken border then.
inline bool NewStyleControls = true;

class TCustomEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect NOTIFY autoSelectChanged)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize NOTIFY autoSizeChanged)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop NOTIFY tabStopChanged)

public:
    explicit TCustomEdit(QWidget* AOwner = nullptr);

    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool Value);
    // With AutoSize the height follows the font: its character height plus the border.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool Value) { setReadOnly(Value); }
    // Whether Tab and clicks reach the edit (true initially). Kept apart from the focus policy
    // it sets, which a form designer turns off while the edit lies on its form.
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool Value);
    QString Text() const { return text(); }
    // Changes the text (and raises OnChange) only when it differs, leaving the caret and the
    // selection alone otherwise.
    void SetText(const QString& Value) {
        if (Value != text())
            setText(Value);
    }

    // Bounds of the edit in its parent, in pixels.
    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    void SetWidth(int Value) { SetBounds(x(), y(), Value, height()); }
    void SetHeight(int Value) { SetBounds(x(), y(), width(), Value); }
    // The area inside the sunken border, where the text and any embedded controls live.
    int BorderWidth() const { return 2; }
    int ClientWidth() const { return width() - 2 * BorderWidth(); }
    int ClientHeight() const { return height() - 2 * BorderWidth(); }

    // The formatting rectangle in client coordinates: the text stays inside it.
    QRect EditRect() const;
    void SetEditRect(const QRect& Rect);

    // True while the left mouse button went down on the edit itself and is not yet released.
    bool LButtonDown() const { return lButtonDown_; }
    // Whether the edit may receive the focus now (visible and enabled with all its parents).
    bool CanFocus() const { return isVisible() && isEnabled(); }

    TNotifyEvent OnChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;

signals:
    void autoSelectChanged(bool value);
    void autoSizeChanged(bool value);
    void tabStopChanged(bool value);
    // With OnChange, OnEnter and OnExit.
    void changed();
    void entered();
    void exited();
    // With OnKeyDown and OnKeyPress, carrying the key as the callback left it (0 when it
    // swallowed the key): only the callback can change or swallow a key.
    void keyPressed(WORD key, TShiftState shift);
    void keyTyped(char key);

protected:
    // Raises OnChange; runs after every change of the text, typed or set.
    virtual void Change();
    // Key handlers: the defaults raise OnKeyDown / OnKeyPress.
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    // Requests to move the selection to the clipboard or to insert the clipboard; the defaults
    // do it unless the edit is read-only.
    virtual void WMCut();
    virtual void WMPaste();
    // Whether keys and menu commands that change the text without typing a character (Delete,
    // undo, redo, word deletion) may act now; refused ones beep.
    virtual bool CanEditWithoutTyping() const { return !ReadOnly(); }
    // Focus arrives or leaves. The defaults select all text on arrival (AutoSelect, unless the
    // mouse went down on the edit) and raise OnEnter / OnExit.
    virtual void CMEnter();
    virtual void CMExit();
    // The edit's size changed.
    virtual void WMSize() {}
    // The edit's font changed.
    virtual void CMFontChanged();

    void keyPressEvent(QKeyEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;
    void inputMethodEvent(QInputMethodEvent* Event) override;

private:
    void AdjustHeight();
    void RunEnter();

    bool autoSelect_ = true;
    bool tabStop_ = true;
    bool autoSize_ = true;
    bool lButtonDown_ = false;
    bool enterPending_ = false;
    QRect editRect_;
};
