// The speed button: when a press becomes a click, the pressed state while the mouse is held,
// and how the glyph is drawn on the face.
#include "Buttons.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct ButtonWindow {
    QWidget window;
    TSpeedButton* button = new TSpeedButton(&window);
    int clicks = 0;
    ButtonWindow() {
        button->SetBounds(10, 10, 23, 22);
        button->OnClick = [this](QObject*) { ++clicks; };
        window.resize(60, 60);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

// A 3 x 2 glyph: olive background (its bottom-left pixel) with a red and a blue pixel on top.
QImage SmallGlyph() {
    QImage g(3, 2, QImage::Format_RGB32);
    g.fill(qRgb(128, 128, 0));
    g.setPixel(0, 0, qRgb(255, 0, 0));
    g.setPixel(2, 0, qRgb(0, 0, 255));
    return g;
}

QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

TEST(SpeedButton, ClicksOnlyWhenTheLeftButtonIsReleasedOverIt) {
    struct Case {
        const char* name;
        Qt::MouseButton button;
        QPoint release;
        int clicks;
    };
    const Case cases[] = {
        {"left released inside", Qt::LeftButton, {5, 5}, 1},
        {"left released outside", Qt::LeftButton, {40, 40}, 0},
        {"right button", Qt::RightButton, {5, 5}, 0},
    };
    for (const Case& c : cases) {
        ButtonWindow w;
        QTest::mousePress(w.button, c.button, {}, QPoint(5, 5));
        QTest::mouseMove(w.button, c.release);
        QTest::mouseRelease(w.button, c.button, {}, c.release);
        EXPECT_EQ(w.clicks, c.clicks) << c.name;
        EXPECT_EQ(w.button->State(), bsUp) << c.name;
        EXPECT_FALSE(w.button->HasCapture()) << c.name;
    }
}

TEST(SpeedButton, PressedStateFollowsThePointerWhileHeld) {
    ButtonWindow w;
    EXPECT_EQ(w.button->State(), bsUp);
    QTest::mousePress(w.button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(w.button->State(), bsDown);
    EXPECT_TRUE(w.button->HasCapture());
    QTest::mouseMove(w.button, QPoint(30, 5));
    EXPECT_EQ(w.button->State(), bsUp);
    EXPECT_TRUE(w.button->HasCapture());
    QTest::mouseMove(w.button, QPoint(6, 6));
    EXPECT_EQ(w.button->State(), bsDown);
    QTest::mouseRelease(w.button, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(w.clicks, 1);
    EXPECT_EQ(w.button->State(), bsUp);
}

TEST(SpeedButton, GlyphIsCentredWithItsBackgroundTransparent) {
    ButtonWindow w;
    w.button->SetGlyph(SmallGlyph());
    const QImage up = w.button->grab().toImage();
    // (23 - 3) / 2 = 10, (22 - 2) / 2 = 10
    const QColor face = At(up, 5, 5);
    EXPECT_EQ(At(up, 10, 10), QColor(255, 0, 0));
    EXPECT_EQ(At(up, 11, 10), face); // olive shows the face
    EXPECT_EQ(At(up, 12, 10), QColor(0, 0, 255));
    EXPECT_EQ(At(up, 10, 11), face);

    QTest::mousePress(w.button, Qt::LeftButton, {}, QPoint(5, 5));
    const QImage down = w.button->grab().toImage();
    EXPECT_EQ(At(down, 11, 11), QColor(255, 0, 0)); // one pixel down and right
    EXPECT_EQ(At(down, 13, 11), QColor(0, 0, 255));
    EXPECT_NE(At(down, 0, 0), At(up, 0, 0)); // the bevel turns from raised to sunken
    QTest::mouseRelease(w.button, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST(SpeedButton, DisabledGlyphIsEmbossedOrTakenFromTheSecondPicture) {
    ButtonWindow w;
    w.button->SetGlyph(SmallGlyph());
    w.button->setEnabled(false);
    const QImage single = w.button->grab().toImage();
    EXPECT_NE(At(single, 10, 10), QColor(255, 0, 0));
    EXPECT_NE(At(single, 10, 10), At(single, 5, 5)); // the ink in the shadow colour
    EXPECT_NE(At(single, 11, 11), At(single, 5, 5)); // its highlight one pixel down and right

    // Two pictures side by side: up (red) and disabled (blue).
    QImage two(4, 1, QImage::Format_RGB32);
    two.fill(qRgb(128, 128, 0));
    two.setPixel(1, 0, qRgb(255, 0, 0));
    two.setPixel(3, 0, qRgb(0, 0, 255));
    w.button->SetGlyph(two);
    w.button->SetNumGlyphs(2);
    EXPECT_EQ(w.button->NumGlyphs(), 2);
    w.button->SetNumGlyphs(5); // out of range: ignored
    EXPECT_EQ(w.button->NumGlyphs(), 2);
    const QImage disabled = w.button->grab().toImage();
    // (23 - 2) / 2 = 10, (22 - 1) / 2 = 10
    EXPECT_EQ(At(disabled, 11, 10), QColor(0, 0, 255));
    w.button->setEnabled(true);
    EXPECT_EQ(At(w.button->grab().toImage(), 11, 10), QColor(255, 0, 0));
}

} // namespace
