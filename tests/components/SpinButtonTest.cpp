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
    std::string clicks; // 'u' and 'd', in order
    explicit ButtonWindow(bool tabStop) {
        spin->SetTabStop(tabStop);
        spin->SetBounds(10, 10, 20, 25);
        spin->OnUpClick = [this](QObject* sender) { clicks += sender == spin ? "u" : "?"; };
        spin->OnDownClick = [this](QObject* sender) { clicks += sender == spin ? "d" : "?"; };
        other->setGeometry(40, 10, 60, 22);
        window.resize(120, 60);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus();
    }
};

// The up arrow, 9 x 6, in the standard 16-colour palette: '#' black, '.' olive (transparent).
void ExpectArrow(const QImage& image, bool up) {
    static const char* const rows[] = {".........", "....#....", "...###...",
                                       "..#####..", ".#######.", "........."};
    ASSERT_EQ(image.size(), QSize(9, 6));
    ASSERT_EQ(image.format(), QImage::Format_Indexed8);
    ASSERT_EQ(image.colorCount(), 16);
    const QRgb standard[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                               0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                               0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(image.color(i) & 0xFFFFFF, standard[i]) << i;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(image.pixelIndex(x, y), rows[up ? y : 5 - y][x] == '#' ? 0 : 3)
                << (up ? "up " : "down ") << x << "," << y;
}

TEST(SpinBitmaps, ArrowsArePixelExact) {
    ExpectArrow(QImage(QStringLiteral(":/bitmaps/SpinUp.bmp")), true);
    ExpectArrow(QImage(QStringLiteral(":/bitmaps/SpinDown.bmp")), false);
    TCSpinButton spin;
    ExpectArrow(spin.GetUpGlyph(), true);
    ExpectArrow(spin.GetDownGlyph(), false);
}

TEST(SpinButton, SplitsItsHeightBetweenTheButtonsAtLeast15Wide) {
    struct Case {
        int w, h, width, upHeight, downTop, downHeight;
    };
    const Case cases[] = {{20, 25, 20, 12, 11, 14},
                          {15, 17, 15, 8, 7, 10},
                          {10, 25, 15, 12, 11, 14},
                          {0, 2, 15, 1, 0, 2},
                          {30, 40, 30, 20, 19, 21}};
    for (const Case& c : cases) {
        TCSpinButton spin;
        spin.SetBounds(3, 4, c.w, c.h);
        EXPECT_EQ(spin.geometry(), QRect(3, 4, c.width, c.h)) << c.w << "x" << c.h;
        EXPECT_EQ(spin.UpBtn()->geometry(), QRect(0, 0, c.width, c.upHeight));
        EXPECT_EQ(spin.DownBtn()->geometry(), QRect(0, c.downTop, c.width, c.downHeight));
    }
    ButtonWindow w(false); // the same rule for Qt's own geometry calls
    w.spin->resize(8, 30);
    EXPECT_EQ(w.spin->size(), QSize(15, 30));
    EXPECT_EQ(w.spin->DownBtn()->geometry(), QRect(0, 14, 15, 16));
}

TEST(SpinButton, KeysStepAndMoveTheFocusFrame) {
    ButtonWindow w(true);
    const auto framed = [&](TTimerSpeedButton* b) { return bool(b->TimerBtnFlags & ShowFocus); };
    w.spin->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(framed(w.spin->UpBtn()));
    QTest::keyClick(w.spin, Qt::Key_Down);
    EXPECT_EQ(w.spin->FocusedBtn(), w.spin->DownBtn());
    EXPECT_FALSE(framed(w.spin->UpBtn()));
    EXPECT_TRUE(framed(w.spin->DownBtn()));
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_A, Qt::Key_Up, Qt::Key_Space})
        QTest::keyClick(w.spin, key);
    EXPECT_EQ(w.clicks, "dduu");
    w.other->setFocus();
    EXPECT_FALSE(framed(w.spin->UpBtn()));
}

TEST(SpinButton, PressingAButtonTakesTheFocusOnlyAsATabStop) {
    for (bool tabStop : {true, false}) {
        ButtonWindow w(tabStop);
        QTest::mouseClick(w.spin->DownBtn(), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(w.spin->hasFocus(), tabStop);
        EXPECT_EQ(w.spin->FocusedBtn(), tabStop ? w.spin->DownBtn() : w.spin->UpBtn());
        EXPECT_EQ(w.clicks, "d");
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

TEST(SpinButton, FocusFrameIsADottedRectangleInsideTheFace) {
    ButtonWindow w(false);
    const QImage plain = w.spin->UpBtn()->grab().toImage();
    w.spin->SetTabStop(true);
    w.spin->setFocus(Qt::TabFocusReason);
    const QImage framed = w.spin->UpBtn()->grab().toImage();
    // The up button is 20 x 12: every changed pixel lies on the outline of (3, 3, 17, 9).
    const QRect frame(3, 3, 14, 6);
    int changed = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != framed.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(frame.contains(x, y) && !frame.adjusted(1, 1, -1, -1).contains(x, y))
                    << x << "," << y;
            }
    EXPECT_GT(changed, 8);
    EXPECT_LT(changed, 2 * (14 + 6)); // dotted: not every pixel of the outline
}

TEST(SpinButton, GlyphsCanBeReplacedAndRestored) {
    ButtonWindow w(false);
    QImage star(3, 3, QImage::Format_RGB32);
    star.fill(qRgb(0, 128, 128));
    star.setPixel(1, 1, qRgb(255, 0, 0));
    w.spin->SetUpGlyph(star);
    const QImage shown = w.spin->UpBtn()->grab().toImage();
    // Centred in 20 x 12: (20 - 3) / 2 = 8, (12 - 3) / 2 = 4.
    EXPECT_EQ(shown.pixelColor(9, 5), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(8, 4), shown.pixelColor(5, 8)); // teal background transparent

    w.spin->SetUpGlyph(QImage());
    ExpectArrow(w.spin->GetUpGlyph(), true);

    // The built-in arrows take the palette's button-text colour (black in the default palette,
    // so ExpectArrow above holds); a glyph of one's own keeps its colours.
    w.spin->SetDownGlyph(star);
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::ButtonText, QColor(230, 231, 232));
    dark.setColor(QPalette::Button, QColor(50, 51, 52));
    QApplication::setPalette(dark);
    QApplication::processEvents(); // the widgets hear of the new palette
    const QImage up = w.spin->UpBtn()->grab().toImage(), down = w.spin->DownBtn()->grab().toImage();
    QApplication::setPalette(light);
    QApplication::processEvents();
    EXPECT_EQ(up.pixelColor(9, 4), QColor(230, 231, 232)); // the arrow's tip
    EXPECT_EQ(down.pixelColor(9, 6), QColor(255, 0, 0));
    EXPECT_EQ(w.spin->UpBtn()->grab().toImage().pixelColor(9, 4), QColor(0, 0, 0));
}

} // namespace
