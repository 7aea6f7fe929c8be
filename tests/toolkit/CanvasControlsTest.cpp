// Control bases: painting through the canvas, input mapping, size notices, declared defaults.
#include "Controls.h"

#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A control that paints a red square and records its input.
class Probe : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(int Number READ Number WRITE SetNumber)
    Q_PROPERTY(uint Shade READ Shade WRITE SetShade)
    Q_PROPERTY(bool Flag READ Flag WRITE SetFlag)
    Q_PROPERTY(TFormBorderStyle Border READ Border WRITE SetBorder)
    Q_PROPERTY(int Free READ Free WRITE SetFree)
    Q_CLASSINFO("default:Number", "-7")
    Q_CLASSINFO("default:Shade", "0x00FF00")
    Q_CLASSINFO("default:Flag", "true")
    Q_CLASSINFO("default:Border", "bsSingle")
public:
    int number = -7, free = 0;
    uint shade = 0x00FF00;
    bool flag = true, throwInPaint = false, consumeKeys = false;
    TFormBorderStyle border = bsSingle;
    int sizes = 0, paints = 0;
    std::vector<WORD> downs;
    std::string typed;
    std::vector<std::tuple<TMouseButton, int, int>> presses;

    int Number() const { return number; }
    void SetNumber(int v) { number = v; }
    uint Shade() const { return shade; }
    void SetShade(uint v) { shade = v; }
    bool Flag() const { return flag; }
    void SetFlag(bool v) { flag = v; }
    TFormBorderStyle Border() const { return border; }
    void SetBorder(TFormBorderStyle v) { border = v; }
    int Free() const { return free; }
    void SetFree(int v) { free = v; }

    void Paint() override {
        ++paints;
        Canvas()->Brush().Color = clRed;
        Canvas()->FillRect(ClientRect());
        if (throwInPaint)
            throw std::runtime_error("paint failed");
    }

protected:
    void WMSize() override { ++sizes; }
    void KeyDown(WORD& Key, TShiftState Shift) override {
        downs.push_back(Key);
        TCustomControl::KeyDown(Key, Shift);
        if (consumeKeys)
            Key = 0;
    }
    void KeyPress(char& Key) override { typed += Key; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        presses.emplace_back(Button, X, Y);
        TCustomControl::MouseDown(Button, Shift, X, Y);
    }
};

TEST(CanvasControls, PaintDrawsThroughTheCanvasAndNeverThrows) {
    Probe p;
    p.SetBounds(0, 0, 20, 10);
    QImage shot = p.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(20, 10));
    EXPECT_EQ(PixelToColor(shot.pixel(19, 9)), clRed);
    EXPECT_EQ(p.Canvas()->Width(), 20);
    p.throwInPaint = true;
    EXPECT_NO_THROW(shot = p.grab().toImage());
    EXPECT_EQ(PixelToColor(shot.pixel(0, 0)), clRed); // what was drawn before the failure
    p.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
    const int before = p.paints;
    EXPECT_NO_THROW(p.Refresh());
    EXPECT_EQ(p.paints, before + 1);
}

TEST(CanvasControls, HiddenControlsGetTheirSizeNoticeAtOnce) {
    Probe p;
    const int before = p.sizes;
    p.SetBounds(3, 4, 50, 60);
    EXPECT_EQ(p.sizes, before + 1);
    p.SetLeft(9); // a move is no size change
    EXPECT_EQ(p.sizes, before + 1);
    EXPECT_EQ(p.Left(), 9);
    p.SetWidth(-5);
    EXPECT_EQ(p.Width(), 0);
    EXPECT_EQ(p.ClientRect(), (TRect{0, 0, 0, 60}));
}

TEST(CanvasControls, VirtualKeys) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        WORD code;
    };
    const Case cases[] = {
        {Qt::Key_F, {}, 0x46},          {Qt::Key_B, Qt::ShiftModifier, 0x42},
        {Qt::Key_7, {}, 0x37},          {Qt::Key_6, Qt::KeypadModifier, VK_NUMPAD0 + 6},
        {Qt::Key_Left, {}, VK_LEFT},    {Qt::Key_Up, {}, VK_UP},
        {Qt::Key_Right, {}, VK_RIGHT},  {Qt::Key_Down, {}, VK_DOWN},
        {Qt::Key_Home, {}, VK_HOME},    {Qt::Key_End, {}, VK_END},
        {Qt::Key_Space, {}, VK_SPACE},  {Qt::Key_PageUp, {}, VK_PRIOR},
        {Qt::Key_Enter, {}, VK_RETURN}, {Qt::Key_F5, {}, VK_F1 + 4},
        {Qt::Key_Exclam, {}, 0},
    };
    for (const Case& k : cases) {
        const QKeyEvent e(QEvent::KeyPress, k.key, k.modifiers);
        EXPECT_EQ(VirtualKeyFromQt(&e), k.code) << k.key;
    }
    EXPECT_EQ(ShiftStateFromQt(Qt::ShiftModifier | Qt::ControlModifier, Qt::RightButton),
              ssShift | ssCtrl | ssRight);
}

TEST(CanvasControls, KeysGoToKeyDownThenKeyPress) {
    Probe p;
    WORD seen = 0;
    p.OnKeyDown = [&](QObject*, WORD& key, TShiftState) { seen = key; };
    QTest::keyClick(&p, Qt::Key_A);
    EXPECT_EQ(seen, 0x41);
    EXPECT_EQ(p.typed, "a");
    p.consumeKeys = true; // a consumed key produces no character
    QTest::keyClick(&p, Qt::Key_B);
    EXPECT_EQ(p.typed, "a");
    EXPECT_EQ(p.downs, (std::vector<WORD>{0x41, 0x42}));
}

TEST(CanvasControls, MouseDownAndClick) {
    Probe p;
    p.SetBounds(0, 0, 40, 40);
    int clicks = 0;
    p.OnClick = [&](QObject* sender) {
        EXPECT_EQ(sender, &p);
        ++clicks;
    };
    QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(&p, Qt::RightButton, {}, QPoint(7, 8));
    EXPECT_EQ(clicks, 1); // only the left button clicks
    QTest::mousePress(&p, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseRelease(&p, Qt::LeftButton, {}, QPoint(100, 1)); // released outside
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(p.presses.size(), 3u);
    EXPECT_EQ(p.presses[1], std::make_tuple(mbRight, 7, 8));
}

TEST(CanvasControls, DeclaredDefaults) {
    Probe p;
    EXPECT_EQ(DeclaredDefault(&p, "Number").toInt(), -7);
    EXPECT_EQ(DeclaredDefault(&p, "Shade").toUInt(), 0x00FF00u);
    EXPECT_EQ(DeclaredDefault(&p, "Flag").toBool(), true);
    EXPECT_EQ(DeclaredDefault(&p, "Border").toInt(), int(bsSingle));
    EXPECT_FALSE(DeclaredDefault(&p, "Free").isValid());
    for (const char* name : {"Number", "Shade", "Flag", "Border"})
        EXPECT_FALSE(IsPropertyStored(&p, name)) << name;
    EXPECT_TRUE(IsPropertyStored(&p, "Free")); // no default: always stored
    p.SetNumber(0);
    p.SetShade(0);
    p.SetFlag(false);
    p.SetBorder(bsNone);
    for (const char* name : {"Number", "Shade", "Flag", "Border"})
        EXPECT_TRUE(IsPropertyStored(&p, name)) << name;
}

} // namespace

#include "CanvasControlsTest.moc"
