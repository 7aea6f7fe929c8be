// Control bases: painting through the canvas, input mapping, size notices.
#include "Controls.h"

#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A control that paints a red square, counts its paints and size notices, and may fail.
class Probe : public TCustomControl {
public:
    int sizes = 0, paints = 0;
    bool throwInPaint = false;

    void Paint() override {
        ++paints;
        Canvas()->Brush().Color = clRed;
        Canvas()->FillRect(ClientRect());
        if (throwInPaint)
            throw std::runtime_error("paint failed");
    }

protected:
    void WMSize() override { ++sizes; }
};

TEST(CanvasControls, PaintNeverThrowsAndHiddenControlsGetTheirSizeNotice) {
    Probe p;
    const int sizes = p.sizes;
    p.SetBounds(0, 0, 20, 10);
    EXPECT_EQ(p.sizes, sizes + 1); // at once, though hidden
    p.SetLeft(9);                  // a move is no size change
    EXPECT_EQ(p.sizes, sizes + 1);
    QImage shot = p.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(20, 10));
    EXPECT_EQ(PixelToColor(shot.pixel(19, 9)), clRed);
    p.throwInPaint = true;
    EXPECT_NO_THROW(shot = p.grab().toImage());
    EXPECT_EQ(PixelToColor(shot.pixel(0, 0)), clRed); // what was drawn before the failure
    p.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
    const int before = p.paints;
    EXPECT_NO_THROW(p.Refresh());
    EXPECT_EQ(p.paints, before + 1);
    p.SetWidth(-5);
    EXPECT_EQ(p.ClientRect(), (TRect{0, 0, 0, 10}));
}

TEST(CanvasControls, KeysMapAndGoToKeyDownThenKeyPress) {
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, WORD> cases[] = {
        {Qt::Key_B, Qt::ShiftModifier, 0x42},
        {Qt::Key_7, {}, 0x37},
        {Qt::Key_6, Qt::KeypadModifier, 0x66},
        {Qt::Key_Enter, {}, VK_RETURN},
        {Qt::Key_F5, {}, 0x74},
        {Qt::Key_Exclam, {}, 0},
    };
    for (const auto& [key, modifiers, code] : cases) {
        const QKeyEvent e(QEvent::KeyPress, key, modifiers);
        EXPECT_EQ(VirtualKeyFromQt(&e), code) << key;
    }
    EXPECT_EQ(ShiftStateFromQt(Qt::ShiftModifier | Qt::ControlModifier, Qt::RightButton),
              ssShift | ssCtrl | ssRight);

    Probe p;
    std::vector<WORD> downs;
    std::string typed;
    p.OnKeyDown = [&](QObject*, WORD& key, TShiftState) {
        downs.push_back(key);
        if (key == 0x42)
            key = 0; // a consumed key produces no character
    };
    p.OnKeyPress = [&](QObject*, char& key) { typed += key; };
    QTest::keyClick(&p, Qt::Key_A);
    QTest::keyClick(&p, Qt::Key_B);
    EXPECT_EQ(typed, "a");
    EXPECT_EQ(downs, (std::vector<WORD>{0x41, 0x42}));
}

TEST(CanvasControls, MouseDownAndClick) {
    Probe p;
    p.SetBounds(0, 0, 40, 40);
    int clicks = 0;
    std::vector<std::tuple<TMouseButton, int, int>> presses;
    p.OnClick = [&](QObject* sender) { clicks += sender == &p; };
    p.OnMouseDown = [&](QObject*, TMouseButton b, TShiftState, int x, int y) {
        presses.emplace_back(b, x, y);
    };
    QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseClick(&p, Qt::RightButton, {}, QPoint(7, 8)); // only the left button clicks
    QTest::mousePress(&p, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseRelease(&p, Qt::LeftButton, {}, QPoint(100, 1)); // released outside
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(presses.size(), 3u);
    EXPECT_EQ(presses[1], std::make_tuple(mbRight, 7, 8));
}

} // namespace
