// The spin controls: the button pair (size rule, keys and focus frame, glyphs and the built-in
// arrows pixel by pixel) and the spin edit (limits and steps with the 32-bit wrap, the character
// filter, keys, read-only and editor-disabled behaviour, clamping on leaving, layout, repeat).
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
    TMessageBeepHook previous = SetMessageBeepHook([this](unsigned type) {
        EXPECT_EQ(type, 0u);
        ++beeps;
    });

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

// A 16-colour glyph as rows of text: '#' for colour 0 (the arrow), '.' for the rest.
std::vector<std::string> Rows(const QImage& image) {
    std::vector<std::string> rows(std::size_t(image.height()), std::string(image.width(), '.'));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelIndex(x, y) == 0)
                rows[std::size_t(y)][std::size_t(x)] = '#';
    return rows;
}

TEST(SpinButton, SplitsItsHeightBetweenTheButtonsAtLeast15Wide) {
    // Asked for, then given: width, height; up button's height; down button's top and height.
    const int cases[][6] = {{10, 25, 15, 12, 11, 14}, {30, 40, 30, 20, 19, 21}};
    for (const auto& [w, h, width, upHeight, downTop, downHeight] : cases) {
        TCSpinButton spin;
        spin.SetBounds(3, 4, w, h);
        EXPECT_EQ(spin.geometry(), QRect(3, 4, width, h)) << w << "x" << h;
        EXPECT_EQ(spin.UpBtn()->geometry(), QRect(0, 0, width, upHeight));
        EXPECT_EQ(spin.DownBtn()->geometry(), QRect(0, downTop, width, downHeight));
    }
    SpinWindow w; // the same rule for Qt's own geometry calls
    w.spin->resize(8, 30);
    EXPECT_EQ(w.spin->size(), QSize(15, 30));
    EXPECT_EQ(w.spin->DownBtn()->geometry(), QRect(0, 14, 15, 16));
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

TEST(SpinButton, PressingAButtonTakesTheFocusOnlyAsATabStop) {
    for (bool tabStop : {true, false}) {
        SpinWindow w(0, 0, tabStop);
        QTest::mouseClick(w.spin->DownBtn(), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(w.spin->hasFocus(), tabStop);
        EXPECT_EQ(w.spin->FocusedBtn(), tabStop ? w.spin->DownBtn() : w.spin->UpBtn());
        EXPECT_EQ(w.clicks, "d");
    }
    SpinWindow w(0, 0, true); // a destroyed focus control is forgotten
    w.spin->SetFocusControl(w.other);
    delete w.other;
    EXPECT_EQ(w.spin->FocusControl(), nullptr);
    QTest::mouseClick(w.spin->UpBtn(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(w.spin->hasFocus());
}

// The built-in arrows are exact, in the palette's button-text colour (black in the default
// palette); a glyph of one's own keeps its colours, and a null glyph brings the arrow back.
TEST(SpinButton, ArrowsAndGlyphs) {
    const std::vector<std::string> arrow = {".........", "....#....", "...###...",
                                            "..#####..", ".#######.", "........."};
    SpinWindow w;
    QImage star(3, 3, QImage::Format_RGB32);
    star.fill(qRgb(0, 128, 128));
    star.setPixel(1, 1, qRgb(255, 0, 0));
    w.spin->SetUpGlyph(star);
    w.spin->SetUpGlyph(QImage());
    EXPECT_EQ(Rows(w.spin->GetUpGlyph()), arrow);
    EXPECT_EQ(Rows(w.spin->GetDownGlyph()), std::vector(arrow.rbegin(), arrow.rend()));

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
    w.edit->SetValue(60);
    const int before = w.changes;
    QTest::keyClick(w.edit, Qt::Key_Up); // already at the top: same text, no change event
    EXPECT_EQ(w.changes, before);

    // Leaving clamps what was typed; opening a menu is no leaving.
    w.Type(QStringLiteral("75"));
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(w.edit, &popup);
    EXPECT_EQ(w.Text(), QStringLiteral("75"));
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

TEST(SpinEdit, HeightNeverGoesBelowTheMinimumAndTheButtonSitsInsideTheRightEdge) {
    SpinWindow w;
    const int text = QFontMetrics(w.edit->font()).height();
    const int system = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).height();
    ASSERT_EQ(w.edit->GetMinHeight(), text + std::min(text, system) / 4 + 6);
    ASSERT_EQ(w.edit->Height(), 22);
    TCSpinButton* spin = w.edit->SpinBtn();
    // Client coordinates 69, 0, 15 x 17, plus the two-pixel border.
    EXPECT_EQ(spin->geometry(), QRect(71, 2, 15, 17));
    EXPECT_EQ(w.edit->EditRect(), QRect(0, 0, 85 - 15 - 2, 19));
    w.edit->resize(89, 3); // also through Qt's own geometry calls
    EXPECT_EQ(w.edit->Height(), w.edit->GetMinHeight());
}

TEST(SpinEdit, HoldingAButtonRepeatsAfter400ThenEvery100Milliseconds) {
    SpinWindow w;
    QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    QApplication::processEvents();
    EXPECT_TRUE(w.edit->hasFocus()); // the press moves the focus to the edit, text selected
    EXPECT_EQ(w.edit->selectedText(), QStringLiteral("0"));
    TTimer* timer = w.Up()->RepeatTimer();
    EXPECT_TRUE(timer->Running());
    EXPECT_EQ(timer->Interval(), 400u);
    EXPECT_EQ(w.Text(), QStringLiteral("0")); // the press itself does not step
    w.Tick();
    EXPECT_EQ(timer->Interval(), 100u);
    w.Tick();
    EXPECT_EQ(w.Text(), QStringLiteral("2"));
    QTest::mouseMove(w.Up(), QPoint(7, 30)); // off the button: no steps while outside
    w.Tick();
    EXPECT_EQ(w.Text(), QStringLiteral("2"));
    QTest::mouseMove(w.Up(), QPoint(7, 3));
    w.Tick();
    QTest::mouseRelease(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_EQ(w.Text(), QStringLiteral("4")); // the click of the release
    EXPECT_FALSE(timer->Running());
    w.Tick(); // a late tick after the release does nothing
    EXPECT_EQ(w.Text(), QStringLiteral("4"));
    QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_EQ(timer->Interval(), 400u); // re-armed

    // A failing step stops the repeat, from a tick and from the release alike.
    w.edit->failUp = true;
    EXPECT_THROW(w.Tick(), ERangeError);
    EXPECT_FALSE(timer->Running());
    QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_THROW(QTest::mouseRelease(w.Up(), Qt::LeftButton, {}, QPoint(7, 3)), ERangeError);
    EXPECT_FALSE(timer->Running());
    EXPECT_EQ(w.Text(), QStringLiteral("4"));
}

// However a press ends, the repeat stops with it; it does not wait for the next press.
TEST(SpinEdit, APressEndingWithoutARelease) {
    const std::pair<const char*, std::function<void(SpinWindow&)>> ends[] = {
        {"edit disabled", [](SpinWindow& w) { w.edit->setEnabled(false); }},
        {"spin button hidden", [](SpinWindow& w) { w.edit->SpinBtn()->hide(); }},
        {"window deactivated",
         [](SpinWindow& w) {
             QWidget other;
             other.show();
             QApplication::setActiveWindow(&other);
             EXPECT_TRUE(QTest::qWaitFor([&] { return !w.window.isActiveWindow(); }));
         }},
        {"release went elsewhere",
         [](SpinWindow& w) {
             QMouseEvent move(QEvent::MouseMove, QPointF(7, 3), w.Up()->mapToGlobal(QPointF(7, 3)),
                              Qt::NoButton, Qt::NoButton, Qt::NoModifier);
             QApplication::sendEvent(w.Up(), &move);
         }},
    };
    for (const auto& [name, end] : ends) {
        SpinWindow w;
        QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
        ASSERT_TRUE(w.Up()->RepeatTimer()->Running()) << name;
        end(w);
        EXPECT_FALSE(w.Up()->RepeatTimer()->Running()) << name;
        EXPECT_FALSE(w.Up()->HasCapture()) << name;
        w.Tick(); // a late tick neither steps nor starts the repeat again
        EXPECT_EQ(w.Text(), QStringLiteral("0")) << name;
        EXPECT_FALSE(w.Up()->RepeatTimer()->Running()) << name;
        QTest::mouseRelease(w.other, Qt::LeftButton); // Qt's test state: the button is up again
    }
}

} // namespace
