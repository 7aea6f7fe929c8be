// SPDX-License-Identifier: MIT
// Control bases: painting through the canvas, input mapping, size notices. (The events that the
// input raises are checked with the widgets, as callbacks and signals.)
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
    EXPECT_TRUE(shot.size() == QSize(20, 10) && PixelToColor(shot.pixel(19, 9)) == clRed);
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

TEST(CanvasControls, KeysAndButtonsMapToTheirCodes) {
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, WORD> cases[] = {
        {Qt::Key_B, Qt::ShiftModifier, 0x42},
        {Qt::Key_7, {}, 0x37},
        {Qt::Key_6, Qt::KeypadModifier, 0x66},
        {Qt::Key_Enter, {}, VK_RETURN},
        {Qt::Key_F5, {}, 0x74},
        {Qt::Key_Exclam, {}, 0}};
    for (const auto& [key, modifiers, code] : cases) {
        const QKeyEvent e(QEvent::KeyPress, key, modifiers);
        EXPECT_EQ(VirtualKeyFromQt(&e), code) << key;
    }
    EXPECT_EQ(ShiftStateFromQt(Qt::ShiftModifier | Qt::ControlModifier, Qt::RightButton),
              ssShift | ssCtrl | ssRight);
}

} // namespace
