// SPDX-License-Identifier: MIT
// The program's style: the window looks the same as with the style it wraps, also when the menu
// bar overflows and shows the button whose picture the style fetches late.
#include "WindowFixture.h"

#include "VelquorStyle.h"

#include <QStyleFactory>

namespace {

class Style : public WindowTest {
protected:
    // The window at its design size, then narrowed until the File heading no longer fits and the
    // menu bar shows its overflow button.
    std::vector<QImage> DesignAndNarrowShots() {
        std::vector<QImage> shots;
        TMainForm& w = Start();
        shots.push_back(w.grab().toImage());
        w.resize(24, w.height());
        auto* overflow = w.MainMenu->findChild<QToolButton*>("qt_menubar_ext_button");
        EXPECT_TRUE(overflow && QTest::qWaitFor([&] { return overflow->isVisible(); }));
        shots.push_back(w.grab().toImage());
        form.reset();
        return shots;
    }
};

TEST_F(Style, DrawsTheWindowAsTheStyleItWrapsAndFetchesTheOverflowPictureWhenTheButtonShows) {
    Write(dir / "alpha.dat");
    const std::vector<QImage> plain = DesignAndNarrowShots();

    // The program's style for the rest of the test, the test program's own again afterwards.
    struct RestoreStyle {
        QString name = QApplication::style()->name();
        ~RestoreStyle() { QApplication::setStyle(name); }
    } restore;
    QApplication::setStyle(new VelquorStyle(QStyleFactory::create(restore.name)));
    {
        QMenuBar bar;
        auto* overflow = bar.findChild<QToolButton*>("qt_menubar_ext_button");
        ASSERT_NE(nullptr, overflow);
        EXPECT_TRUE(overflow->icon().isNull()); // not read while the menu bar is built
    }
    const std::vector<QImage> styled = DesignAndNarrowShots();

    ASSERT_EQ(plain.size(), styled.size());
    for (std::size_t i = 0; i < plain.size(); ++i)
        EXPECT_TRUE(plain[i] == styled[i]) << (i == 0 ? "design size" : "narrowed");
}

} // namespace
