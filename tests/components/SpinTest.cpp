// SPDX-License-Identifier: MIT
// The spin controls: the button pair (size rule, keys, focus and glyphs) and the spin edit
// (limits and steps, the character filter, keys, leaving, layout and the repeat of a press).
#include "Cspin.h"
#include "Pixels.h"
#include "SysUtils.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QLocale>
#include <climits>
#include <functional>
#include <memory>

namespace {

struct ProbeEdit : TCSpinEdit {
    using TCSpinEdit::IsValidChar;
    bool failUp = false;
    void UpClick(QObject* Sender) override {
        if (failUp)
            throw ERangeError(QStringLiteral("step failed"));
        TCSpinEdit::UpClick(Sender);
    }
};

// A shown, active window with the spin edit where the program's form puts it, a spin button of
// its own and a line edit that holds the focus at first. It counts beeps, the edit's change
// events and the button's clicks ('u' and 'd', in order).
struct SpinWindow {
    QWidget window;
    ProbeEdit* edit = new ProbeEdit;
    TCSpinButton* spin = new TCSpinButton(&window);
    QLineEdit* other = new QLineEdit(&window);
    int beeps = 0, changes = 0;
    std::string clicks;
    TMessageBeepHook previous = SetMessageBeepHook([this](unsigned type) { beeps += type == 0; });

    explicit SpinWindow(int min = 0, int max = 0, bool tabStop = false) {
        QFont font = window.font();
        font.setPixelSize(9); // small enough for a 22-pixel edit on any test machine
        window.setFont(font);
        edit->setParent(&window);
        edit->SetBounds(40, 48, 89, 22);
        edit->SetMinValue(min);
        edit->SetMaxValue(max);
        spin->SetTabStop(tabStop);
        spin->SetBounds(10, 10, 20, 25);
        spin->OnUpClick = [this](QObject* sender) { clicks += sender == spin ? "u" : "?"; };
        spin->OnDownClick = [this](QObject* sender) { clicks += sender == spin ? "d" : "?"; };
        other->setGeometry(150, 48, 60, 22);
        window.resize(220, 100);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        edit->OnChange = [this](QObject*) { ++changes; };
    }
    ~SpinWindow() { SetMessageBeepHook(previous); }
    TTimerSpeedButton* Up() const { return edit->SpinBtn()->UpBtn(); }
    TTimerSpeedButton* Down() const { return edit->SpinBtn()->DownBtn(); }
    QString Text() const { return edit->text(); }
    void Type(const QString& keys) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, keys);
    }
    void Tick() const { Up()->RepeatTimer()->OnTimer()(Up()->RepeatTimer()); }
};

// The button pair splits its height and is at least 15 wide; the edit is never lower than its
// minimum height and holds the pair inside its right edge.
TEST(SpinButton, LayoutOfThePairAndOfTheEdit) {
    // Asked for, then given: width, height; up button's height; down button's top and height.
    const int cases[][6] = {{10, 25, 15, 12, 11, 14}, {30, 40, 30, 20, 19, 21}};
    for (const auto& [w, h, width, upHeight, downTop, downHeight] : cases) {
        TCSpinButton spin;
        spin.SetBounds(3, 4, w, h);
        EXPECT_EQ(spin.geometry(), QRect(3, 4, width, h)) << w << "x" << h;
        EXPECT_EQ(spin.UpBtn()->geometry(), QRect(0, 0, width, upHeight));
        EXPECT_EQ(spin.DownBtn()->geometry(), QRect(0, downTop, width, downHeight));
    }
    SpinWindow w; // the same rules for Qt's own geometry calls
    w.spin->resize(8, 30);
    EXPECT_EQ(w.spin->DownBtn()->geometry(), QRect(0, 14, 15, 16)); // 15 wide, 30 high
    const int text = QFontMetrics(w.edit->font()).height();
    const int system = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).height();
    ASSERT_EQ(w.edit->GetMinHeight(), text + std::min(text, system) / 4 + 6);
    ASSERT_EQ(w.edit->Height(), 22);
    // Client coordinates 69, 0, 15 x 17, plus the two-pixel border.
    EXPECT_TRUE(w.edit->SpinBtn()->geometry() == QRect(71, 2, 15, 17) &&
                w.edit->EditRect() == QRect(0, 0, 85 - 15 - 2, 19));
    w.edit->resize(89, 3);
    EXPECT_EQ(w.edit->Height(), w.edit->GetMinHeight());
}

// With the focus a dotted frame shows inside one button's face; Up and Down move it and click,
// Space clicks the framed button.
TEST(SpinButton, KeysStepAndMoveTheDottedFocusFrame) {
    SpinWindow w(0, 0, true);
    const auto up = [&] { return pixels::Shot(*w.spin->UpBtn()); };
    const QImage plain = up();
    w.spin->setFocus(Qt::TabFocusReason);
    // The up button is 20 x 12: the changed pixels lie on the outline of (3, 3, 17, 9), dotted.
    const std::vector<QPoint> changed = pixels::Changed(plain, up());
    const QRect frame(3, 3, 14, 6);
    for (const QPoint& p : changed)
        EXPECT_TRUE(frame.contains(p) && !frame.adjusted(1, 1, -1, -1).contains(p)) << p.x();
    EXPECT_GT(changed.size(), 8u);
    EXPECT_LT(changed.size(), 2u * (14 + 6));
    QTest::keyClick(w.spin, Qt::Key_Down);
    EXPECT_EQ(w.spin->FocusedBtn(), w.spin->DownBtn());
    EXPECT_EQ(up(), plain);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_A, Qt::Key_Up, Qt::Key_Space})
        QTest::keyClick(w.spin, key);
    EXPECT_EQ(w.clicks, "dduu");
    EXPECT_NE(up(), plain);
    w.other->setFocus(); // leaving takes the frame away
    EXPECT_EQ(up(), plain);
}

// A press gives the spin button the focus only as a tab stop; a destroyed focus control is
// forgotten rather than focused.
TEST(SpinButton, PressingAButtonTakesTheFocusOnlyAsATabStop) {
    for (bool tabStop : {true, false}) {
        SpinWindow w(0, 0, tabStop);
        w.spin->SetFocusControl(w.other);
        delete w.other;
        QTest::mouseClick(w.spin->DownBtn(), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(w.spin->hasFocus(), tabStop);
        EXPECT_EQ(w.spin->FocusedBtn(), tabStop ? w.spin->DownBtn() : w.spin->UpBtn());
        EXPECT_EQ(w.clicks, "d");
    }
}

// The built-in arrows are each other's mirror image, in the palette's button-text colour (black
// in the default palette); a glyph of one's own keeps its colours through a palette change, and
// a null glyph brings the arrow back.
TEST(SpinButton, ArrowsAndGlyphs) {
    SpinWindow w;
    QImage star(3, 3, QImage::Format_RGB32);
    star.fill(qRgb(0, 128, 128));
    star.setPixel(1, 1, qRgb(255, 0, 0));
    w.spin->SetUpGlyph(star);
    w.spin->SetUpGlyph(QImage());
    const QImage arrow = w.spin->GetUpGlyph();
    EXPECT_TRUE(arrow.pixelIndex(4, 1) == 0 && arrow.pixelIndex(3, 1) != 0); // the tip on top
    EXPECT_EQ(w.spin->GetDownGlyph(), arrow.mirrored());
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

std::unique_ptr<ProbeEdit> Limited(int min, int max, const char* text, int increment = 1) {
    auto edit = std::make_unique<ProbeEdit>();
    edit->SetMinValue(min);
    edit->SetMaxValue(max);
    edit->SetIncrement(increment);
    edit->setText(QString::fromLatin1(text));
    return edit;
}

// Setting clamps (min above max: min wins, equal limits: none); a step reads the text without
// clamping (a non-number reads as the minimum), wraps at 32 bits, then clamps.
TEST(SpinEdit, SetReadAndStepAgainstTheLimits) {
    const int set[][4] = {{-60, 60, 100, 60}, {7, 7, 1000, 1000}, {10, 5, 7, 10}, {10, 5, 12, 5}};
    for (const auto& [min, max, value, shown] : set) {
        auto edit = Limited(min, max, "");
        edit->SetValue(value);
        EXPECT_EQ(edit->text(), IntToStr(shown)) << min << ".." << max << " " << value;
    }
    auto abc = Limited(-60, 60, "abc"); // no number: Value reads the minimum, GetValue shows it
    EXPECT_TRUE(abc->Value() == -60 && abc->text() == QStringLiteral("abc"));
    EXPECT_TRUE(abc->GetValue() == -60 && abc->text() == QStringLiteral("-60"));
    // min, max, increment, text, up or down, text after the step
    const std::tuple<int, int, int, const char*, bool, int> steps[] = {
        {-60, 60, 10, "75", false, 60},         {-60, 60, 1, "abc", true, -59},
        {0, 0, 1, "2147483647", true, INT_MIN}, {0, 0, 1, "-2147483648", false, INT_MAX},
        {0, 0, INT_MIN, "-1", false, INT_MAX},  {-10, 10, INT_MAX, "5", true, -10},
        {-60, 60, 1, "-61", true, -60},         {-60, 60, 1, "99999999999", false, -60}};
    for (const auto& [min, max, increment, start, up, shown] : steps) {
        auto edit = Limited(min, max, start, increment);
        up ? edit->UpClick(edit.get()) : edit->DownClick(edit.get());
        EXPECT_EQ(edit->text(), IntToStr(shown)) << start << " by " << increment;
    }
}

// The edit takes digits, signs, the locale's decimal separator and control characters but a
// line end; anything else typed or composed beeps. Without the editor only steps change the
// text: characters, Backspace, Delete, paste, cut and undo beep or do nothing; copying works.
TEST(SpinEdit, RejectedCharactersBeepAndWithoutTheEditorOnlyStepsChangeTheText) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_TRUE(ProbeEdit().IsValidChar(',') && !ProbeEdit().IsValidChar('.'));
    QLocale::setDefault(saved);
    SpinWindow w;
    w.Type(QStringLiteral("-5x 7+"));
    for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Return}) // a line break has no place here
        QTest::keyClick(w.edit, key);
    QInputMethodEvent composed; // text from an input method passes the same filter
    composed.setCommitString(QStringLiteral("1a\u00e9"));
    QApplication::sendEvent(w.edit, &composed);
    EXPECT_EQ(w.Text(), QStringLiteral("-571"));
    EXPECT_EQ(w.beeps, 5);

    w.edit->SetValue(5);
    w.edit->SetEditorEnabled(false);
    QApplication::clipboard()->setText(QStringLiteral("42"));
    w.edit->end(false);
    QTest::keyClicks(w.edit, QStringLiteral("12"));
    for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Home, Qt::Key_Delete})
        QTest::keyClick(w.edit, key);
    w.edit->selectAll();
    for (Qt::Key key : {Qt::Key_V, Qt::Key_X, Qt::Key_Z, Qt::Key_C})
        QTest::keyClick(w.edit, key, Qt::ControlModifier);
    EXPECT_EQ(w.Text(), QStringLiteral("5"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("5"));
    EXPECT_EQ(w.beeps, 10); // two characters, Backspace, Delete, undo
    QTest::keyClick(w.edit, Qt::Key_Up);
    QTest::mouseClick(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_EQ(w.Text(), QStringLiteral("7"));
}

TEST(SpinEdit, ArrowKeysStepAndReachOnKeyDownLeavingClampsAndReadOnlyOnlyBeeps) {
    SpinWindow w(-60, 60);
    std::vector<WORD> seen;
    w.edit->OnKeyDown = [&](QObject*, WORD& key, TShiftState) { seen.push_back(key); };
    w.edit->setFocus();
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Down})
        QTest::keyClick(w.edit, key);
    EXPECT_EQ(w.Text(), QStringLiteral("1"));
    EXPECT_EQ(seen, (std::vector<WORD>{VK_UP, VK_UP, VK_DOWN}));
    EXPECT_EQ(w.changes, 3);

    // Leaving clamps what was typed.
    for (const auto& [typed, afterLeaving] : {std::pair{"75", "60"}, {"12", "12"}, {"-", "-60"}}) {
        w.Type(QString::fromLatin1(typed));
        QTest::keyClick(w.edit, Qt::Key_Tab);
        EXPECT_TRUE(w.other->hasFocus());
        EXPECT_EQ(w.Text(), QString::fromLatin1(afterLeaving)) << typed;
    }

    w.edit->SetReadOnly(true);
    QTest::keyClick(w.edit, Qt::Key_Down);
    QTest::mouseClick(w.Down(), Qt::LeftButton, {}, QPoint(7, 5));
    EXPECT_EQ(w.beeps, 2);
    EXPECT_EQ(w.Text(), QStringLiteral("-60"));
    w.edit->SetValue(4); // the program may still set it
    EXPECT_EQ(w.Text(), QStringLiteral("4"));
}

// Holding a button steps after 400 ms, then every 100 ms, but not while the mouse is off it.
// However the press ends (a release clicks once more), the repeat stops with it: a late tick
// neither steps nor starts it again.
TEST(SpinEdit, HoldingAButtonRepeatsUntilThePressEnds) {
    const std::tuple<const char*, std::function<void(SpinWindow&)>, const char*> ends[] = {
        {"released",
         [](SpinWindow& w) { QTest::mouseRelease(w.Up(), Qt::LeftButton, {}, QPoint(7, 3)); }, "3"},
        {"edit disabled", [](SpinWindow& w) { w.edit->setEnabled(false); }, "2"},
        {"spin button hidden", [](SpinWindow& w) { w.edit->SpinBtn()->hide(); }, "2"},
        {"window deactivated",
         [](SpinWindow& w) {
             QWidget other;
             other.show();
             QApplication::setActiveWindow(&other);
             EXPECT_TRUE(QTest::qWaitFor([&] { return !w.window.isActiveWindow(); }));
         },
         "2"},
        {"release went elsewhere",
         [](SpinWindow& w) {
             QMouseEvent move(QEvent::MouseMove, QPointF(7, 3), w.Up()->mapToGlobal(QPointF(7, 3)),
                              Qt::NoButton, Qt::NoButton, Qt::NoModifier);
             QApplication::sendEvent(w.Up(), &move);
         },
         "2"},
    };
    for (const auto& [name, end, after] : ends) {
        SCOPED_TRACE(name);
        SpinWindow w;
        QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
        QApplication::processEvents();
        EXPECT_EQ(w.edit->selectedText(), QStringLiteral("0")); // the edit has the focus
        TTimer* timer = w.Up()->RepeatTimer();
        ASSERT_TRUE(timer->Running());
        EXPECT_EQ(timer->Interval(), 400u);
        w.Tick();
        EXPECT_EQ(timer->Interval(), 100u);
        QTest::mouseMove(w.Up(), QPoint(7, 30));
        w.Tick();
        QTest::mouseMove(w.Up(), QPoint(7, 3));
        w.Tick();
        EXPECT_EQ(w.Text(), QStringLiteral("2"));
        end(w);
        EXPECT_FALSE(timer->Running());
        EXPECT_FALSE(w.Up()->HasCapture());
        w.Tick();
        EXPECT_EQ(w.Text(), QString::fromLatin1(after));
        EXPECT_FALSE(timer->Running());
        QTest::mouseRelease(w.other, Qt::LeftButton); // Qt's test state: the button is up again
    }

    // A failing step stops the repeat, from a tick and from the release alike.
    SpinWindow w;
    w.edit->failUp = true;
    QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_THROW(w.Tick(), ERangeError);
    EXPECT_FALSE(w.Up()->RepeatTimer()->Running());
    QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_THROW(QTest::mouseRelease(w.Up(), Qt::LeftButton, {}, QPoint(7, 3)), ERangeError);
    EXPECT_FALSE(w.Up()->RepeatTimer()->Running());
    EXPECT_EQ(w.Text(), QStringLiteral("0"));
}

} // namespace
