// The spin button on its own: size rule, keyboard and focus frame, glyphs, and the built-in
// arrow bitmaps pixel by pixel.
#include "Cspin.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct ButtonWindow {
    QWidget window;
    TCSpinButton* spin = new TCSpinButton(&window);
    QLineEdit* other = new QLineEdit(&window);
    std::vector<std::string> clicks;
    explicit ButtonWindow(bool tabStop) {
        spin->SetTabStop(tabStop);
        spin->SetBounds(10, 10, 20, 25);
        spin->OnUpClick = [this](QObject* sender) {
            EXPECT_EQ(sender, spin);
            clicks.push_back("up");
        };
        spin->OnDownClick = [this](QObject* sender) {
            EXPECT_EQ(sender, spin);
            clicks.push_back("down");
        };
        other->setGeometry(40, 10, 60, 22);
        window.resize(120, 60);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus();
    }
};

// Rows of the up arrow, top to bottom: '.' olive background, '#' black.
const char* const kUpArrow[] = {
    ".........", "....#....", "...###...", "..#####..", ".#######.", ".........",
};

void ExpectArrow(const QImage& image, bool up) {
    ASSERT_EQ(image.size(), QSize(9, 6));
    ASSERT_EQ(image.format(), QImage::Format_Indexed8);
    ASSERT_EQ(image.colorCount(), 16); // 4 bits per pixel, the standard 16-colour palette
    const QRgb standard[16] = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(image.color(i) & 0xFFFFFF, standard[i] & 0xFFFFFF) << i;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x) {
            const char want = kUpArrow[up ? y : 5 - y][x];
            EXPECT_EQ(image.pixelIndex(x, y), want == '#' ? 0 : 3)
                << (up ? "up " : "down ") << x << "," << y;
        }
    EXPECT_EQ(image.pixel(0, 5), qRgb(128, 128, 0)); // the transparent colour
}

TEST(SpinBitmaps, ArrowsArePixelExact) {
    ExpectArrow(QImage(QStringLiteral(":/bitmaps/SpinUp.bmp")), true);
    ExpectArrow(QImage(QStringLiteral(":/bitmaps/SpinDown.bmp")), false);
    TCSpinButton spin;
    ExpectArrow(spin.GetUpGlyph(), true);
    ExpectArrow(spin.GetDownGlyph(), false);
}

TEST(SpinButton, Defaults) {
    TCSpinButton spin;
    EXPECT_EQ(spin.Width(), 20);
    EXPECT_EQ(spin.Height(), 25);
    EXPECT_EQ(spin.FocusedBtn(), spin.UpBtn());
    EXPECT_EQ(spin.FocusControl(), nullptr);
    EXPECT_FALSE(spin.TabStop());
    for (TTimerSpeedButton* b : {spin.UpBtn(), spin.DownBtn()}) {
        EXPECT_EQ(b->TimerBtnFlags, unsigned(AutoRepeat));
        EXPECT_EQ(b->NumGlyphs(), 1);
        EXPECT_EQ(b->RepeatTimer(), nullptr); // made on the first press
    }
    TTimerSpeedButton plain;
    EXPECT_EQ(plain.TimerBtnFlags, 0u);
}

TEST(SpinButton, SplitsItsHeightBetweenTheButtons) {
    struct Case {
        int w, h;
        int width, upHeight, downTop, downHeight;
    };
    const Case cases[] = {
        {20, 25, 20, 12, 11, 14}, {15, 17, 15, 8, 7, 10},   {10, 25, 15, 12, 11, 14},
        {0, 2, 15, 1, 0, 2},      {30, 40, 30, 20, 19, 21},
    };
    for (const Case& c : cases) {
        TCSpinButton spin;
        spin.SetBounds(3, 4, c.w, c.h);
        EXPECT_EQ(spin.geometry(), QRect(3, 4, c.width, c.h)) << c.w << "x" << c.h;
        EXPECT_EQ(spin.UpBtn()->geometry(), QRect(0, 0, c.width, c.upHeight));
        EXPECT_EQ(spin.DownBtn()->geometry(), QRect(0, c.downTop, c.width, c.downHeight));
    }
}

TEST(SpinButton, SizeRuleHoldsForQtGeometryCalls) {
    ButtonWindow w(false);
    w.spin->resize(8, 30);
    EXPECT_EQ(w.spin->size(), QSize(15, 30));
    EXPECT_EQ(w.spin->DownBtn()->geometry(), QRect(0, 14, 15, 16));
    w.spin->setGeometry(0, 0, 5, 10);
    w.spin->Loaded();
    EXPECT_EQ(w.spin->size(), QSize(15, 10));
}

TEST(SpinButton, KeysStepAndMoveTheFocusFrame) {
    ButtonWindow w(true);
    w.spin->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(w.spin->UpBtn()->TimerBtnFlags & ShowFocus);
    QTest::keyClick(w.spin, Qt::Key_Down);
    EXPECT_EQ(w.spin->FocusedBtn(), w.spin->DownBtn());
    EXPECT_FALSE(w.spin->UpBtn()->TimerBtnFlags & ShowFocus);
    EXPECT_TRUE(w.spin->DownBtn()->TimerBtnFlags & ShowFocus);
    QTest::keyClick(w.spin, Qt::Key_Space);
    QTest::keyClick(w.spin, Qt::Key_A); // ignored
    QTest::keyClick(w.spin, Qt::Key_Up);
    QTest::keyClick(w.spin, Qt::Key_Space);
    EXPECT_EQ(w.clicks, (std::vector<std::string>{"down", "down", "up", "up"}));
    w.other->setFocus();
    EXPECT_FALSE(w.spin->UpBtn()->TimerBtnFlags & ShowFocus);
}

TEST(SpinButton, PressingAButtonTakesTheFocusOnlyAsATabStop) {
    for (bool tabStop : {true, false}) {
        ButtonWindow w(tabStop);
        QTest::mouseClick(w.spin->DownBtn(), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(w.spin->hasFocus(), tabStop);
        EXPECT_EQ(w.spin->FocusedBtn(), tabStop ? w.spin->DownBtn() : w.spin->UpBtn());
        EXPECT_EQ(w.clicks, (std::vector<std::string>{"down"}));
    }
    ButtonWindow w(true); // with a focus control that control gets the focus instead
    w.spin->SetFocusControl(w.other);
    w.spin->setFocus();
    QTest::mouseClick(w.spin->UpBtn(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(w.other->hasFocus());
    delete w.other; // a destroyed focus control is forgotten
    EXPECT_EQ(w.spin->FocusControl(), nullptr);
    QTest::mouseClick(w.spin->UpBtn(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(w.spin->hasFocus());
}

// Number of pixels that differ between two pictures; each must lie on the outline of `frame`.
int ChangedOnOutline(const QImage& a, const QImage& b, const QRect& frame) {
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(frame.contains(x, y) && !frame.adjusted(1, 1, -1, -1).contains(x, y))
                    << x << "," << y;
            }
    return changed;
}

TEST(SpinButton, FocusFrameIsADottedRectangleInsideTheFace) {
    ButtonWindow w(false); // no focus yet, not even from the press
    TTimerSpeedButton* up = w.spin->UpBtn();
    const auto grab = [&](bool pressed) {
        if (pressed)
            QTest::mousePress(up, Qt::LeftButton, {}, QPoint(5, 5));
        const QImage image = up->grab().toImage();
        if (pressed)
            QTest::mouseRelease(up, Qt::LeftButton, {}, QPoint(5, 5));
        return image;
    };
    const QImage plain = grab(false), plainPressed = grab(true);
    w.spin->SetTabStop(true);
    w.spin->setFocus(Qt::TabFocusReason);
    // The up button is 20 x 12: the frame is (3, 3, 17, 9), one pixel lower right when pressed.
    const int changed = ChangedOnOutline(plain, grab(false), QRect(3, 3, 14, 6));
    EXPECT_GT(changed, 8);
    EXPECT_LT(changed, 2 * (14 + 6)); // dotted: not every pixel of the outline
    EXPECT_GT(ChangedOnOutline(plainPressed, grab(true), QRect(4, 4, 14, 6)), 8);
}

TEST(SpinButton, GlyphsCanBeReplacedAndRestored) {
    ButtonWindow w(false);
    QImage star(3, 3, QImage::Format_RGB32);
    star.fill(qRgb(0, 128, 128));
    star.setPixel(1, 1, qRgb(255, 0, 0));
    w.spin->SetUpGlyph(star);
    EXPECT_EQ(w.spin->GetUpGlyph(), star);
    const QImage shown = w.spin->UpBtn()->grab().toImage();
    // Centred in 20 x 12: (20 - 3) / 2 = 8, (12 - 3) / 2 = 4.
    EXPECT_EQ(shown.pixelColor(9, 5), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(8, 4), shown.pixelColor(5, 8)); // teal background transparent

    w.spin->SetUpGlyph(QImage());
    ExpectArrow(w.spin->GetUpGlyph(), true);
    const QImage arrow = w.spin->UpBtn()->grab().toImage();
    // The arrow's tip, column 5 of row 2 of the glyph placed at (5, 3), lands on (9, 4).
    EXPECT_EQ(arrow.pixelColor(9, 4), QColor(0, 0, 0));
    EXPECT_NE(arrow.pixelColor(8, 4), QColor(0, 0, 0));
    EXPECT_EQ(w.spin->GetDownGlyph().pixelIndex(4, 1), 0); // the other arrow untouched
}

} // namespace
