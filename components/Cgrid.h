// SPDX-License-Identifier: MIT
#pragma once
// TCColorGrid: a 16-colour picker drawn as a grid of squares. It keeps a foreground and a
// background pick, each marked by a short text on its square, and a keyboard selection. The left
// mouse button picks the foreground, the other buttons the background; the arrow keys, space,
// Home and End move the selection, F and B pick with the keyboard.
#include "Controls.h"
#include "Graphics.h"

class TCColorGrid : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(bool ClickEnablesColor READ ClickEnablesColor WRITE SetClickEnablesColor NOTIFY
                   clickEnablesColorChanged)
    Q_PROPERTY(TGridOrdering GridOrdering READ GridOrdering WRITE SetGridOrdering NOTIFY
                   gridOrderingChanged)
    Q_PROPERTY(int ForegroundIndex READ ForegroundIndex WRITE SetForegroundIndex NOTIFY
                   foregroundIndexChanged)
    Q_PROPERTY(int BackgroundIndex READ BackgroundIndex WRITE SetBackgroundIndex NOTIFY
                   backgroundIndexChanged)
    Q_PROPERTY(bool ForegroundEnabled READ ForegroundEnabled WRITE EnableForeground NOTIFY
                   foregroundEnabledChanged)
    Q_PROPERTY(bool BackgroundEnabled READ BackgroundEnabled WRITE EnableBackground NOTIFY
                   backgroundEnabledChanged)
    Q_PROPERTY(int Selection READ Selection WRITE SetSelection NOTIFY selectionChanged)
    Q_CLASSINFO("default:Color", "0x8000000F")
    Q_CLASSINFO("default:Ctl3D", "true")
    Q_CLASSINFO("default:TabStop", "false")
    Q_CLASSINFO("default:ClickEnablesColor", "false")
    Q_CLASSINFO("default:GridOrdering", "go4x4")
    Q_CLASSINFO("default:ForegroundIndex", "0")
    Q_CLASSINFO("default:BackgroundIndex", "0")
    Q_CLASSINFO("default:ForegroundEnabled", "true")
    Q_CLASSINFO("default:BackgroundEnabled", "true")
    Q_CLASSINFO("default:Selection", "0")
public:
    // Grid shapes, columns x rows.
    enum TGridOrdering : int { go16x1, go8x2, go4x4, go2x8, go1x16 };
    Q_ENUM(TGridOrdering)

    // Marker texts: foreground, background, and both on one square.
    static const QString SFG, SBG, SFB;

    // A 4 x 4 grid of 100 x 100 pixels, both picks and the selection on square 0.
    explicit TCColorGrid(QWidget* owner = nullptr);

    bool ClickEnablesColor() const { return clickEnablesColor_; }
    void SetClickEnablesColor(bool value);
    TGridOrdering GridOrdering() const { return gridOrdering_; }
    // Reshapes the grid; a value outside the five shapes is ignored.
    void SetGridOrdering(TGridOrdering value);
    int ForegroundIndex() const { return foregroundIndex_; }
    int BackgroundIndex() const { return backgroundIndex_; }
    // Move a pick (ignored while its marker is disabled); fire OnChange.
    void SetForegroundIndex(int value);
    void SetBackgroundIndex(int value);
    bool ForegroundEnabled() const { return foregroundEnabled_; }
    bool BackgroundEnabled() const { return backgroundEnabled_; }
    // Show or hide a marker; a hidden marker cannot be picked.
    void EnableForeground(bool value);
    void EnableBackground(bool value);
    int Selection() const { return selection_; }
    void SetSelection(int value);

    // RGB colour (red in the low byte) of the picked squares; black for indices outside 0..15.
    TColor GetForegroundColor() const;
    TColor GetBackgroundColor() const;
    // RGB colour of a square; black outside 0..15.
    TColor SquareColor(int square) const;

    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    int CellWidth() const { return cellWidth_; }
    int CellHeight() const { return cellHeight_; }
    bool HasFocus() const { return hasFocus_; }
    bool ButtonDown() const { return buttonDown_; }
    TMouseButton PressedButton() const { return pressedButton_; }

    // Square under a point (the point is first moved inside the control); -1 while the cells
    // have no size.
    int SquareFromPos(int X, int Y) const;

    // Fired by Change, after every change of a pick.
    TNotifyEvent OnChange;

    void Paint() override;

signals:
    // With OnChange.
    void changed();
    void clickEnablesColorChanged(bool value);
    void gridOrderingChanged(TCColorGrid::TGridOrdering value);
    void foregroundIndexChanged(int value);
    void backgroundIndexChanged(int value);
    void foregroundEnabledChanged(bool value);
    void backgroundEnabledChanged(bool value);
    void selectionChanged(int value);

protected:
    virtual void Change();
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMSize() override;
    void WMSetFocus() override;
    void WMKillFocus() override;
    void CMCtl3DChanged() override;

    // Draws one square, with the selection marker if asked; squares outside 0..15 draw nothing.
    void DrawSquare(int Which, bool ShowSelector);
    // Writes the foreground and background markers on their squares.
    void DrawFgBg();
    // Snaps the size to whole cells and recomputes the cell size.
    void UpdateCellSizes(bool Repaint);

private:
    TRect CellRect(int square) const;
    // Whether a square is drawn with the selector when redrawn now.
    bool Selected(int square) const { return square == selection_ && hasFocus_; }
    void PickForeground(int square);
    void PickBackground(int square);
    // The steps of SetForegroundIndex and SetBackgroundIndex; a pick goes through them even for
    // the square already picked.
    void MoveForeground(int value, bool always);
    void MoveBackground(int value, bool always);

    TPaletteEntry paletteEntries_[DefaultPaletteSize];
    bool clickEnablesColor_ = false;
    int foregroundIndex_ = 0;
    int backgroundIndex_ = 0;
    bool foregroundEnabled_ = true;
    bool backgroundEnabled_ = true;
    int selection_ = 0;
    int cellWidth_ = 0;
    int cellHeight_ = 0;
    int columns_ = 4;
    int rows_ = 4;
    TGridOrdering gridOrdering_ = go4x4;
    bool hasFocus_ = false;
    TMouseButton pressedButton_ = mbLeft;
    bool buttonDown_ = false;
    bool sizing_ = false;
};

using TGridOrdering = TCColorGrid::TGridOrdering;
using enum TCColorGrid::TGridOrdering;
