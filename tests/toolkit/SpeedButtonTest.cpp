// SPDX-License-Identifier: MIT
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
    QImage Face() const { return button->grab().toImage(); }
};

// An olive glyph (the transparent colour is the bottom-left pixel) with red and blue pixels.
QImage Glyph(int w, int h, int red, int blue) {
    QImage g(w, h, QImage::Format_RGB32);
    g.fill(qRgb(128, 128, 0));
    g.setPixel(red, 0, qRgb(255, 0, 0));
    g.setPixel(blue, 0, qRgb(0, 0, 255));
    return g;
}

const QColor kRed(255, 0, 0), kBlue(0, 0, 255);

TEST(SpeedButton, PressedWhileThePointerIsOverItAndClicksOnlyOnALeftReleaseThere) {
    struct Case {
        Qt::MouseButton button;
        QPoint release;
        int clicks;
    };
    const Case cases[] = {
        {Qt::LeftButton, {6, 6}, 1}, {Qt::LeftButton, {40, 40}, 0}, {Qt::RightButton, {5, 5}, 0}};
    for (const Case& c : cases) {
        ButtonWindow w;
        QTest::mousePress(w.button, c.button, {}, QPoint(5, 5));
        if (c.button == Qt::LeftButton) {
            EXPECT_TRUE(w.button->State() == bsDown && w.button->HasCapture());
            QTest::mouseMove(w.button, QPoint(30, 5));
            EXPECT_EQ(w.button->State(), bsUp);
            QTest::mouseMove(w.button, QPoint(6, 6));
            EXPECT_EQ(w.button->State(), bsDown);
        }
        QTest::mouseMove(w.button, c.release);
        QTest::mouseRelease(w.button, c.button, {}, c.release);
        EXPECT_EQ(w.clicks, c.clicks) << c.release.x();
        EXPECT_TRUE(w.button->State() == bsUp && !w.button->HasCapture()) << c.release.x();
    }
}

// The glyph is centred with its background (bottom-left colour) transparent, moves one pixel
// down and right while pressed, and is embossed when disabled unless a second picture is given.
TEST(SpeedButton, GlyphIsCentredShiftedWhenDownAndEmbossedOrReplacedWhenDisabled) {
    ButtonWindow w;
    w.button->SetGlyph(Glyph(3, 2, 0, 2));
    const QImage up = w.Face();
    const QColor face = up.pixelColor(5, 5); // the glyph sits at (23 - 3) / 2, (22 - 2) / 2
    EXPECT_EQ(QList<QColor>({up.pixelColor(10, 10), up.pixelColor(11, 10), up.pixelColor(12, 10)}),
              QList<QColor>({kRed, face, kBlue}));
    QTest::mousePress(w.button, Qt::LeftButton, {}, QPoint(5, 5));
    const QImage down = w.Face();
    EXPECT_EQ(down.pixelColor(11, 11), kRed);
    EXPECT_NE(down.pixelColor(0, 0), up.pixelColor(0, 0)); // the bevel turns sunken
    QTest::mouseRelease(w.button, Qt::LeftButton, {}, QPoint(5, 5));

    w.button->setEnabled(false);
    const QImage embossed = w.Face();
    // Ink in the shadow colour, highlight down and right.
    EXPECT_TRUE(embossed.pixelColor(10, 10) != kRed && embossed.pixelColor(10, 10) != face);
    EXPECT_NE(embossed.pixelColor(11, 11), face);
    w.button->SetGlyph(Glyph(4, 1, 1, 3)); // up (red) and disabled (blue) side by side
    w.button->SetNumGlyphs(2);
    w.button->SetNumGlyphs(5); // out of range: ignored
    EXPECT_EQ(w.Face().pixelColor(11, 10), kBlue);
    w.button->setEnabled(true);
    EXPECT_EQ(w.Face().pixelColor(11, 10), kRed);
}

} // namespace
