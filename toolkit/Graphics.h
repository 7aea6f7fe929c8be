// SPDX-License-Identifier: MIT
#pragma once
// Drawing layer of the toolkit: colours, pens, brushes, fonts, a canvas with classic raster rules
// and bitmaps. Everything draws into a QImage (32-bit RGB) with antialiasing off, so that pixel
// positions are exact and predictable:
//  - a rectangle (l, t, r, b) covers columns l..r-1 and rows t..b-1;
//  - LineTo draws from the pen position up to, but not including, its end point;
//  - Rectangle, Ellipse and Pie keep inside their bounding rectangle;
//  - pen modes (copy, not, xor) act on outlines and lines; brush fills always copy;
//  - CopyRect and Draw combine pixels according to CopyMode (SRCCOPY, SRCINVERT, BLACKNESS ...).
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>

// A colour 0x00BBGGRR (red in the low byte), or a system colour 0x800000nn that stands for the
// entry nn of the platform palette and is resolved through the application's QPalette.
using TColor = std::uint32_t;

// Plain colours.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colours (resolved by ColorToRGB through the application palette).
inline constexpr TColor clScrollBar = 0x80000000;
inline constexpr TColor clBackground = 0x80000001;
inline constexpr TColor clActiveCaption = 0x80000002;
inline constexpr TColor clInactiveCaption = 0x80000003;
inline constexpr TColor clMenu = 0x80000004;
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowFrame = 0x80000006;
inline constexpr TColor clMenuText = 0x80000007;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clCaptionText = 0x80000009;
inline constexpr TColor clActiveBorder = 0x8000000A;
inline constexpr TColor clInactiveBorder = 0x8000000B;
inline constexpr TColor clAppWorkSpace = 0x8000000C;
inline constexpr TColor clHighlight = 0x8000000D;
inline constexpr TColor clHighlightText = 0x8000000E;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clBtnShadow = 0x80000010;
inline constexpr TColor clGrayText = 0x80000011;
inline constexpr TColor clBtnText = 0x80000012;
inline constexpr TColor clInactiveCaptionText = 0x80000013;
inline constexpr TColor clBtnHighlight = 0x80000014;
inline constexpr TColor cl3DDkShadow = 0x80000015;
inline constexpr TColor cl3DLight = 0x80000016;
inline constexpr TColor clInfoText = 0x80000017;
inline constexpr TColor clInfoBk = 0x80000018;

// Builds a colour from its components.
constexpr TColor RGB(int r, int g, int b) {
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr int GetRValue(TColor c) {
    return int(c & 0xFF);
}
constexpr int GetGValue(TColor c) {
    return int((c >> 8) & 0xFF);
}
constexpr int GetBValue(TColor c) {
    return int((c >> 16) & 0xFF);
}

// The plain 0x00BBGGRR value of a colour; system colours are looked up in the application palette.
TColor ColorToRGB(TColor color);
// The colour as Qt sees it (opaque).
QColor ColorToQColor(TColor color);
// The colour of a Qt colour (alpha dropped).
TColor QColorToColor(const QColor& color);
// The 32-bit pixel (0xFFRRGGBB) a colour is stored as in a canvas image.
std::uint32_t ColorToPixel(TColor color);
// The colour of a pixel read from a canvas image.
constexpr TColor PixelToColor(std::uint32_t pixel) {
    return RGB(int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF));
}

// One entry of a colour palette.
struct TPaletteEntry {
    std::uint8_t peRed, peGreen, peBlue, peFlags;
};
// The 20 entries of the platform's default palette: black, dark red, dark green, dark yellow,
// dark blue, dark magenta, dark cyan, light grey, four pastel shades, dark grey, red, green,
// yellow, blue, magenta, cyan, white.
const TPaletteEntry* DefaultPaletteEntries();
inline constexpr int DefaultPaletteSize = 20;

// Rectangle helpers (a TRect is left, top, right, bottom with right and bottom excluded).
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool operator==(const TRect&) const = default;
    // The Qt rectangle covering the same pixels.
    QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    static TRect FromQRect(const QRect& r) {
        return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
};
constexpr TRect Rect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}
// Moves every edge of the rectangle outwards by dx and dy (inwards for negative values).
void InflateRect(TRect& rect, int dx, int dy);
// Moves the rectangle by dx and dy.
void OffsetRect(TRect& rect, int dx, int dy);

// Raster operations of CopyRect and Draw (destination combined with source).
using TCopyMode = std::uint32_t;
inline constexpr TCopyMode SRCCOPY = 0x00CC0020;    // dest = source
inline constexpr TCopyMode SRCPAINT = 0x00EE0086;   // dest = dest OR source
inline constexpr TCopyMode SRCAND = 0x008800C6;     // dest = dest AND source
inline constexpr TCopyMode SRCINVERT = 0x00660046;  // dest = dest XOR source
inline constexpr TCopyMode NOTSRCCOPY = 0x00330008; // dest = NOT source
inline constexpr TCopyMode DSTINVERT = 0x00550009;  // dest = NOT dest
inline constexpr TCopyMode BLACKNESS = 0x00000042;  // dest = black
inline constexpr TCopyMode WHITENESS = 0x00FF0062;  // dest = white
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmBlackness = BLACKNESS;

enum TPenMode { pmCopy, pmNot, pmXor };
enum TPenStyle { psSolid, psDot, psClear };
enum TBrushStyle { bsSolid, bsClear };
enum TBackgroundMode { bmOpaque, bmTransparent };

// Flags of TCanvas::DrawText.
inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_VCENTER = 0x0004;
inline constexpr unsigned DT_BOTTOM = 0x0008;
inline constexpr unsigned DT_SINGLELINE = 0x0020;
inline constexpr unsigned DT_NOCLIP = 0x0100;

// Line colour, width, style and mix mode.
class TPen {
public:
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
};

// Fill colour and style.
class TBrush {
public:
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

// A font with a text colour.
class TFont {
public:
    TFont();
    QFont Font;             // face, size, weight ...
    TColor Color = clBlack; // text colour
    // Takes over a Qt font (the colour is kept).
    void Assign(const QFont& font) { Font = font; }
    void Assign(const TFont& other) { *this = other; }
};

// Draws into a QImage. The image is not owned; its owner keeps it alive as long as the canvas.
// Pen, brush, font, copy mode and background mode persist between calls, as on a device context.
class TCanvas {
public:
    explicit TCanvas(QImage* target = nullptr);

    // The image drawn on (may be null: drawing then does nothing).
    QImage* Target() const { return target_; }
    void SetTarget(QImage* target) { target_ = target; }
    // Called after every drawing operation (a control uses it to show what was drawn).
    std::function<void()> OnChange;

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }
    // Raster operation used by CopyRect and Draw; SRCCOPY initially.
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }
    // Whether text cells are filled with the brush colour (bmOpaque, the default) or not.
    TBackgroundMode BackgroundMode() const { return bkMode_; }
    void SetBackgroundMode(TBackgroundMode mode) { bkMode_ = mode; }
    // Current pen position (moved by MoveTo and LineTo).
    QPoint PenPos() const { return penPos_; }

    // Size of the target image (0 x 0 without one).
    int Width() const;
    int Height() const;
    // The area drawing may touch: the image, narrowed by SetClipRect if set.
    TRect ClipRect() const;
    // Confines all drawing to `rect` (within the image) until ResetClipRect.
    void SetClipRect(const TRect& rect);
    void ResetClipRect() { hasClip_ = false; }

    // Pixel access; reading outside the image gives black, writing there does nothing.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    void MoveTo(int x, int y);
    // Line from the pen position to (x, y), end point excluded; the pen moves to (x, y).
    void LineTo(int x, int y);
    // Fills columns l..r-1, rows t..b-1 with the brush (nothing for bsClear).
    void FillRect(const TRect& rect);
    // One-pixel outline in the brush colour along the edges of the rectangle.
    void FrameRect(const TRect& rect);
    // Outline with the pen on the outermost pixels of the rectangle, inside filled with the brush.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    // Ellipse inscribed in the rectangle: outline with the pen, inside with the brush. The shape
    // holds the pixels whose centres lie inside the ellipse touching the rectangle's edges; the
    // outline is its one-pixel border (pens of any width draw it one pixel wide).
    void Ellipse(int left, int top, int right, int bottom);
    // Wedge of the inscribed ellipse, from the ray towards (x3, y3) counterclockwise (as seen on
    // screen) to the ray towards (x4, y4); both rays meet at the centre of the rectangle. The
    // outline runs along the arc and both radii.
    void Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    // Inverts every other pixel of the rectangle's outline; drawing it twice removes it.
    void DrawFocusRect(const TRect& rect);

    // Copies `source` of `canvas` (may be this canvas) to `dest`, combining by CopyMode;
    // stretched when the sizes differ.
    void CopyRect(const TRect& dest, const TCanvas& canvas, const TRect& source);
    // Draws a whole image with its top-left corner at (x, y), combining by CopyMode.
    void Draw(int x, int y, const QImage& image);
    void Draw(int x, int y, const class TBitmap& bitmap);

    // Text measured with Font.
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    // Text with its cell's top-left corner at (x, y), in the font colour; the cell is filled with
    // the brush colour unless the background mode is transparent or the brush is bsClear.
    void TextOut(int x, int y, const QString& text);
    // As TextOut, clipped to `clip`.
    void TextRect(const TRect& clip, int x, int y, const QString& text);
    // Text placed in a rectangle by DT_* flags (single line; DT_NOCLIP lets it overflow).
    void DrawText(const TRect& rect, const QString& text, unsigned flags);

private:
    friend class TCanvasPainter;
    void Changed();
    // Detaches the image for writing once per operation and notes where its rows are, the area
    // that may be drawn on and the pen's pixel value.
    void Prepare();
    std::uint32_t* Dst(int y) const {
        return reinterpret_cast<std::uint32_t*>(bits_ + y * stride_);
    }
    bool Inside(int x, int y) const;
    void PlotPen(int x, int y, int index);
    bool PlainPen() const;
    void HLine(int x0, int x1, int y, int& index);
    void VLine(int x, int y0, int y1, int& index);
    void DrawTextCell(int x, int y, const QString& text, const QRect* clip);
    void Shape(int left, int top, int right, int bottom, bool wedge, int x3, int y3, int x4,
               int y4);

    QImage* target_;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    TCopyMode copyMode_ = SRCCOPY;
    TBackgroundMode bkMode_ = bmOpaque;
    QPoint penPos_;
    bool hasClip_ = false;
    TRect clip_;
    unsigned char* bits_ = nullptr;
    qsizetype stride_ = 0;
    TRect drawable_;             // ClipRect() at Prepare
    std::uint32_t penPixel_ = 0; // the pen colour at Prepare
};

// Draws a bevelled frame `width` pixels wide just inside `rect`: top and left edges in topColor,
// right and bottom edges in bottomColor (which also takes the top-right and bottom-left corners);
// `rect` is left shrunk by `width` on every side.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// An off-screen image with its own canvas. A new bitmap is empty (0 x 0); pixels that a resize
// adds are white, the others are kept.
class TBitmap {
public:
    TBitmap();
    virtual ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int width);
    void SetHeight(int height);
    void SetSize(int width, int height);
    TCanvas* Canvas() { return &canvas_; }
    const QImage& Image() const { return image_; }

private:
    QImage image_;
    TCanvas canvas_;
    int width_ = 0, height_ = 0;
};

// A bitmap that can take the size of another one, filled with the window-frame colour.
class TBltBitmap : public TBitmap {
public:
    // Takes the template's width, then its height, and fills itself with clWindowFrame.
    void FitToTemplate(const TBitmap& templ);
};
