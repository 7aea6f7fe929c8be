// SPDX-License-Identifier: MIT
// The widget gallery as a person opens it: it fits a 1024 x 768 screen, nothing in it covers
// anything else, and its widgets answer their controls.
#include "Gallery.h"
#include "Ccalendr.h"
#include "Cgauges.h"
#include "Cgrid.h"
#include "Cspin.h"
#include "Perfgrap.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Gallery {
    QWidget window;
    Gallery() {
        BuildGallery(window);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    template <class T> T* Find(const QString& box = {}) {
        QWidget* within = &window;
        for (QGroupBox* b : window.findChildren<QGroupBox*>())
            if (b->title() == box)
                within = b;
        return within->findChild<T*>();
    }
};

TEST(Gallery, FitsA1024By768ScreenAndNothingCoversAnythingElse) {
    Gallery g;
    // Room for a title bar and a panel on the screen.
    EXPECT_LE(g.window.width(), 1024);
    EXPECT_LE(g.window.height(), 768 - 60);
    const QList<QGroupBox*> boxes = g.window.findChildren<QGroupBox*>();
    EXPECT_EQ(boxes.size(), 6);
    for (QGroupBox* box : boxes) {
        SCOPED_TRACE(box->title().toStdString());
        QList<QWidget*> parts;
        for (QObject* child : box->children())
            if (auto* w = qobject_cast<QWidget*>(child); w && w->isVisible())
                parts << w;
        for (int i = 0; i < parts.size(); ++i) {
            EXPECT_TRUE(box->rect().contains(parts[i]->geometry())) << i;
            for (int j = i + 1; j < parts.size(); ++j)
                EXPECT_FALSE(parts[i]->geometry().intersects(parts[j]->geometry()))
                    << i << " " << j;
            if (auto* label = qobject_cast<QLabel*>(parts[i])) { // the whole text shows
                EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
            }
        }
        for (QGroupBox* other : boxes)
            if (other != box) {
                EXPECT_FALSE(box->geometry().intersects(other->geometry()));
            }
    }
}

TEST(Gallery, WidgetsAnswerTheirControls) {
    Gallery g;
    auto* graph = g.Find<TPerformanceGraph>();
    const int step = graph->CurrentY();
    EXPECT_TRUE(QTest::qWaitFor([&] { return graph->CurrentY() != step; })); // fed by its timer

    auto* calendar = g.Find<TCCalendar>();
    const int month = calendar->Month();
    for (QPushButton* button : g.window.findChildren<QPushButton*>())
        if (button->text() == ">")
            button->click();
    EXPECT_EQ(calendar->Month(), month % 12 + 1);

    g.Find<QComboBox>("TCColorGrid")->setCurrentIndex(0);
    EXPECT_EQ(g.Find<TCColorGrid>()->GridOrdering(), go16x1);
    g.Find<QSlider>("TCGauge")->setValue(80);
    EXPECT_EQ(g.Find<TCGauge>()->Progress(), 80);
    auto* edit = g.Find<TCSpinEdit>();
    g.Find<QSpinBox>("TCSpinEdit")->setValue(-5); // the first box: MinValue
    EXPECT_EQ(edit->MinValue(), -5);
    QTest::mouseClick(edit->SpinBtn()->UpBtn(), Qt::LeftButton, {}, QPoint(5, 3));
    EXPECT_EQ(edit->Value(), 13);
}

} // namespace
