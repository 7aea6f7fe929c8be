// The spin edit: value, limits and steps (with the 32-bit wrap), the character filter, keys,
// read-only and editor-disabled behaviour, clamping on leaving, layout and the mouse.
#include "Cspin.h"
#include "SysUtils.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QLocale>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>

namespace {

struct BeepRecorder {
    int count = 0;
    TMessageBeepHook previous;
    BeepRecorder() {
        previous = SetMessageBeepHook([this](unsigned type) {
            EXPECT_EQ(type, 0u);
            ++count;
        });
    }
    ~BeepRecorder() { SetMessageBeepHook(previous); }
};

struct ProbeEdit : TCSpinEdit {
    using TCSpinEdit::CheckValue;
    using TCSpinEdit::IsValidChar;
    bool failUp = false;
    void UpClick(QObject* Sender) override {
        if (failUp)
            throw ERangeError(QStringLiteral("step failed"));
        TCSpinEdit::UpClick(Sender);
    }
};

// A shown window with the spin edit where the program's form puts it, and a second control to
// take the focus.
struct SpinWindow {
    QWidget window;
    ProbeEdit* edit = new ProbeEdit;
    QLineEdit* other = new QLineEdit(&window);
    BeepRecorder beeps;
    int changes = 0;

    explicit SpinWindow(int min = 0, int max = 0) {
        QFont font = window.font();
        font.setPixelSize(9); // small enough for a 22-pixel edit on any test machine
        window.setFont(font);
        edit->setParent(&window);
        edit->SetBounds(40, 48, 89, 22);
        edit->SetMinValue(min);
        edit->SetMaxValue(max);
        other->setGeometry(150, 48, 60, 22);
        window.resize(220, 100);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edit->OnChange = [this](QObject*) { ++changes; };
    }
    TTimerSpeedButton* Up() const { return edit->SpinBtn()->UpBtn(); }
    TTimerSpeedButton* Down() const { return edit->SpinBtn()->DownBtn(); }
    QString Text() const { return edit->text(); }
    void Type(const QString& keys) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, keys);
    }
    static void Tick(TTimerSpeedButton* button) {
        TTimer* timer = button->RepeatTimer();
        ASSERT_NE(timer, nullptr);
        timer->OnTimer()(timer);
    }
};

TEST(SpinEdit, StartsAtZeroWithoutLimits) {
    ProbeEdit edit;
    EXPECT_EQ(edit.text(), QStringLiteral("0"));
    EXPECT_EQ(edit.GetValue(), 0);
    EXPECT_EQ(edit.MinValue(), 0);
    EXPECT_EQ(edit.MaxValue(), 0);
    EXPECT_EQ(edit.Increment(), 1);
    EXPECT_TRUE(edit.EditorEnabled());
    EXPECT_FALSE(edit.ReadOnly());
    EXPECT_TRUE(edit.AutoSelect());
    for (const char* property : {"AutoSelect", "AutoSize", "EditorEnabled", "Increment", "MaxValue",
                                 "MinValue", "ReadOnly", "Value"})
        EXPECT_FALSE(IsPropertyStored(&edit, property)) << property;
    edit.setProperty("Increment", 5);
    EXPECT_TRUE(IsPropertyStored(&edit, "Increment"));
    EXPECT_FALSE(edit.SpinBtn()->TabStop()); // the frame is never shown inside the edit
}

TEST(SpinEdit, SetValueClampsIntoTheLimits) {
    struct Case {
        int min, max, value;
        const char* shown;
    };
    const Case cases[] = {
        {-60, 60, 100, "60"},
        {-60, 60, -61, "-60"},
        {-60, 60, 5, "5"},
        {0, 0, -5, "-5"},
        {0, 0, INT_MIN, "-2147483648"},
        {7, 7, 1000, "1000"},
        {10, 5, 7, "10"},
        {10, 5, 3, "10"},
        {10, 5, 12, "5"}, // min above max
    };
    for (const Case& c : cases) {
        ProbeEdit edit;
        edit.SetMinValue(c.min);
        edit.SetMaxValue(c.max);
        edit.SetValue(c.value);
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.shown))
            << c.min << ".." << c.max << " " << c.value;
        EXPECT_EQ(edit.CheckValue(c.value), StrToInt(QString::fromLatin1(c.shown)));
    }
}

TEST(SpinEdit, ReadingDoesNotClampButRepairsNonNumbers) {
    struct Case {
        const char* text;
        int value;
        const char* after;
    };
    const Case cases[] = {
        {"75", 75, "75"},    {"-61", -61, "-61"}, {"abc", -60, "-60"},         {"", -60, "-60"},
        {"1.5", -60, "-60"}, {"+12", 12, "+12"},  {"99999999999", -60, "-60"},
    };
    for (const Case& c : cases) {
        ProbeEdit edit;
        edit.SetMinValue(-60);
        edit.SetMaxValue(60);
        edit.setText(QString::fromLatin1(c.text));
        EXPECT_EQ(edit.GetValue(), c.value) << c.text;
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.after)) << c.text;
    }
}

TEST(SpinEdit, StepsAddTheIncrementWrappingAt32Bits) {
    struct Case {
        int min, max, increment;
        const char* start;
        bool up;
        const char* shown;
    };
    const Case cases[] = {
        {0, 0, 1, "0", true, "1"},
        {0, 0, 1, "0", false, "-1"},
        {-60, 60, 1, "60", true, "60"},
        {-60, 60, 10, "75", false, "60"}, // 65, clamped
        {-60, 60, 1, "abc", true, "-59"}, // read as the minimum, then stepped
        {0, 0, -3, "0", true, "-3"},
        {0, 0, 1, "2147483647", true, "-2147483648"},
        {0, 0, 1, "-2147483648", false, "2147483647"},
        {0, 0, INT_MIN, "-1", false, "2147483647"},
        {0, 0, INT_MIN, "0", true, "-2147483648"},
        {0, 0, INT_MAX, "2147483647", true, "-2"},
        {-10, 10, INT_MAX, "5", true, "-10"}, // wraps to a large negative number, then clamped
    };
    for (const Case& c : cases) {
        ProbeEdit edit;
        edit.SetMinValue(c.min);
        edit.SetMaxValue(c.max);
        edit.SetIncrement(c.increment);
        edit.setText(QString::fromLatin1(c.start));
        if (c.up)
            edit.UpClick(&edit);
        else
            edit.DownClick(&edit);
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.shown))
            << c.start << (c.up ? " up " : " down ") << c.increment;
    }
}

TEST(SpinEdit, CharacterFilter) {
    struct Case {
        int code;
        bool editing;    // accepted while the editor is enabled
        bool notEditing; // accepted while it is not
    };
    const Case cases[] = {
        {'0', true, false},   {'9', true, false},  {'+', true, false},  {'-', true, false},
        {'.', true, false},   {'a', false, false}, {' ', false, false}, {',', false, false},
        {'$', false, false},  {8, true, false},    {13, false, false},  {3, true, true},
        {22, true, true},     {27, true, true},    {31, true, true},    {127, false, false},
        {0xB5, false, false},
    };
    const QLocale saved; // the default locale, restored below
    QLocale::setDefault(QLocale::c());
    for (const Case& c : cases) {
        ProbeEdit edit;
        EXPECT_EQ(edit.IsValidChar(char(c.code)), c.editing) << c.code;
        edit.SetEditorEnabled(false);
        EXPECT_EQ(edit.IsValidChar(char(c.code)), c.notEditing) << c.code;
    }
    // The separator is the locale's.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    {
        ProbeEdit edit;
        EXPECT_TRUE(edit.IsValidChar(','));
        EXPECT_FALSE(edit.IsValidChar('.'));
    }
    QLocale::setDefault(saved);
}

TEST(SpinEdit, TypingRejectedCharactersBeepsAndKeepsTheText) {
    SpinWindow w;
    w.Type(QStringLiteral("-5"));
    EXPECT_EQ(w.Text(), QStringLiteral("-5"));
    EXPECT_EQ(w.edit->GetValue(), -5);
    EXPECT_EQ(w.beeps.count, 0);
    QTest::keyClicks(w.edit, QStringLiteral("x 7"));
    EXPECT_EQ(w.Text(), QStringLiteral("-57"));
    EXPECT_EQ(w.beeps.count, 2);
    QTest::keyClick(w.edit, Qt::Key_Return); // a line break has no place here
    EXPECT_EQ(w.beeps.count, 3);
    QTest::keyClick(w.edit, Qt::Key_A, Qt::AltModifier); // a mnemonic, not typing
    EXPECT_EQ(w.Text(), QStringLiteral("-57"));
    QInputMethodEvent composed; // text from an input method passes the same filter
    composed.setCommitString(QStringLiteral("1a\u00e9"));
    QApplication::sendEvent(w.edit, &composed);
    EXPECT_EQ(w.Text(), QStringLiteral("-571"));
    EXPECT_EQ(w.beeps.count, 5);
}

TEST(SpinEdit, ArrowKeysStepAndStillReachOnKeyDown) {
    SpinWindow w(-60, 60);
    std::vector<WORD> seen;
    w.edit->OnKeyDown = [&](QObject*, WORD& key, TShiftState) { seen.push_back(key); };
    w.edit->setFocus();
    QTest::keyClick(w.edit, Qt::Key_Up);
    QTest::keyClick(w.edit, Qt::Key_Up);
    EXPECT_EQ(w.Text(), QStringLiteral("2"));
    QTest::keyClick(w.edit, Qt::Key_Down);
    EXPECT_EQ(w.Text(), QStringLiteral("1"));
    EXPECT_EQ(seen, (std::vector<WORD>{VK_UP, VK_UP, VK_DOWN}));
    EXPECT_EQ(w.changes, 3);
    w.edit->SetValue(60);
    const int before = w.changes;
    QTest::keyClick(w.edit, Qt::Key_Up); // already at the top: same text, no change event
    EXPECT_EQ(w.Text(), QStringLiteral("60"));
    EXPECT_EQ(w.changes, before);
}

TEST(SpinEdit, WithoutTheEditorOnlyStepsChangeTheText) {
    SpinWindow w;
    w.edit->SetValue(5);
    w.edit->SetEditorEnabled(false);
    QApplication::clipboard()->setText(QStringLiteral("42"));
    w.edit->setFocus();
    w.edit->end(false);
    QTest::keyClicks(w.edit, QStringLiteral("12-"));
    QTest::keyClick(w.edit, Qt::Key_Backspace);
    QTest::keyClick(w.edit, Qt::Key_Home);
    QTest::keyClick(w.edit, Qt::Key_Delete);
    w.edit->selectAll();
    QTest::keyClick(w.edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(w.edit, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(w.edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Text(), QStringLiteral("5"));
    EXPECT_EQ(w.beeps.count, 6); // three characters, Backspace, Delete, undo
    QTest::keyClick(w.edit, Qt::Key_C, Qt::ControlModifier); // copying is harmless
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("5"));

    QTest::keyClick(w.edit, Qt::Key_Up);
    EXPECT_EQ(w.Text(), QStringLiteral("6"));
    QTest::mouseClick(w.Down(), Qt::LeftButton, {}, QPoint(7, 5));
    QTest::mouseClick(w.Down(), Qt::LeftButton, {}, QPoint(7, 5));
    EXPECT_EQ(w.Text(), QStringLiteral("4"));
}

TEST(SpinEdit, ReadOnlyStepsOnlyBeep) {
    SpinWindow w;
    w.edit->SetValue(3);
    w.edit->SetReadOnly(true);
    w.edit->setFocus();
    QTest::keyClick(w.edit, Qt::Key_Up);
    QTest::keyClick(w.edit, Qt::Key_Down);
    QTest::mouseClick(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_EQ(w.beeps.count, 3);
    EXPECT_EQ(w.Text(), QStringLiteral("3"));
    w.edit->SetValue(4); // the program may still set it
    EXPECT_EQ(w.Text(), QStringLiteral("4"));
}

TEST(SpinEdit, LeavingClampsTheTypedValue) {
    struct Case {
        const char* typed;
        const char* afterLeaving;
    };
    const Case cases[] = {{"75", "60"}, {"-75", "-60"}, {"12", "12"}, {"", "-60"}, {"-", "-60"}};
    for (const Case& c : cases) {
        SpinWindow w(-60, 60);
        w.Type(QString::fromLatin1(c.typed));
        if (*c.typed)
            EXPECT_EQ(w.Text(), QString::fromLatin1(c.typed));
        else
            QTest::keyClick(w.edit, Qt::Key_Backspace);
        QTest::keyClick(w.edit, Qt::Key_Tab);
        EXPECT_TRUE(w.other->hasFocus());
        EXPECT_EQ(w.Text(), QString::fromLatin1(c.afterLeaving)) << c.typed;
    }
    // Opening a menu is not leaving: the menu command reads the value as typed.
    SpinWindow w(-60, 60);
    w.Type(QStringLiteral("75"));
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(w.edit, &popup);
    EXPECT_EQ(w.edit->GetValue(), 75);
}

TEST(SpinEdit, HeightNeverGoesBelowTheMinimum) {
    SpinWindow w;
    const int text = QFontMetrics(w.edit->font()).height();
    const int system = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).height();
    EXPECT_EQ(w.edit->GetMinHeight(), text + std::min(text, system) / 4 + 6);
    w.edit->SetHeight(5);
    EXPECT_EQ(w.edit->Height(), w.edit->GetMinHeight());
    w.edit->resize(89, 3); // also through Qt's own geometry calls
    EXPECT_EQ(w.edit->Height(), w.edit->GetMinHeight());

    ProbeEdit hidden; // a hidden edit lays itself out at once
    QFont big = hidden.font();
    big.setPixelSize(30);
    hidden.setFont(big);
    hidden.SetBounds(0, 0, 89, 10);
    EXPECT_EQ(hidden.Height(), hidden.GetMinHeight());
    EXPECT_GT(hidden.Height(), 30);
}

TEST(SpinEdit, ButtonSitsInsideTheRightEdge) {
    SpinWindow w;
    ASSERT_LE(w.edit->GetMinHeight(), 22);
    ASSERT_EQ(w.edit->Height(), 22);
    TCSpinButton* spin = w.edit->SpinBtn();
    // Client coordinates 69, 0, 15 x 17, plus the two-pixel border.
    EXPECT_EQ(spin->geometry(), QRect(71, 2, 15, 17));
    EXPECT_EQ(w.Up()->geometry(), QRect(0, 0, 15, 8));
    EXPECT_EQ(w.Down()->geometry(), QRect(0, 7, 15, 10));
    EXPECT_EQ(w.edit->EditRect(), QRect(0, 0, 85 - 15 - 2, 19));

    w.edit->SetBounds(40, 48, 120, 30);
    EXPECT_EQ(spin->geometry(), QRect(2 + 120 - 20, 2, 15, 25));

    NewStyleControls = false;
    w.edit->SetBounds(40, 48, 89, 22);
    w.edit->SetBounds(40, 48, 90, 22);
    EXPECT_EQ(spin->geometry(), QRect(2 + 90 - 15, 2, 15, 22));
    NewStyleControls = true;
}

TEST(SpinEdit, PressingAButtonMovesTheFocusToTheEditWithTheTextSelected) {
    SpinWindow w(-60, 60);
    w.edit->SetValue(60);
    w.other->setFocus();
    QTest::mouseClick(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    QApplication::processEvents();
    EXPECT_TRUE(w.edit->hasFocus());
    EXPECT_EQ(w.edit->selectedText(), QStringLiteral("60"));

    // A click into the text itself places the caret instead.
    w.other->setFocus();
    QTest::mouseClick(w.edit, Qt::LeftButton, {}, QPoint(10, 10));
    QApplication::processEvents();
    EXPECT_TRUE(w.edit->hasFocus());
    EXPECT_EQ(w.edit->selectedText(), QString());
}

TEST(SpinEdit, HoldingAButtonRepeatsAfter400ThenEvery100Milliseconds) {
    SpinWindow w;
    QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    TTimer* timer = w.Up()->RepeatTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->Running());
    EXPECT_EQ(timer->Interval(), 400u);
    EXPECT_EQ(w.Text(), QStringLiteral("0")); // the press itself does not step

    SpinWindow::Tick(w.Up());
    EXPECT_EQ(timer->Interval(), 100u);
    EXPECT_EQ(w.Text(), QStringLiteral("1"));
    SpinWindow::Tick(w.Up());
    EXPECT_EQ(w.Text(), QStringLiteral("2"));

    QTest::mouseMove(w.Up(), QPoint(7, 30)); // off the button: no steps while outside
    SpinWindow::Tick(w.Up());
    EXPECT_EQ(w.Text(), QStringLiteral("2"));
    QTest::mouseMove(w.Up(), QPoint(7, 3));
    SpinWindow::Tick(w.Up());
    EXPECT_EQ(w.Text(), QStringLiteral("3"));

    QTest::mouseRelease(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_EQ(w.Text(), QStringLiteral("4")); // the click of the release
    EXPECT_FALSE(timer->Running());
    EXPECT_EQ(timer->Interval(), 100u);
    SpinWindow::Tick(w.Up()); // a late tick after the release does nothing
    EXPECT_EQ(w.Text(), QStringLiteral("4"));

    QTest::mousePress(w.Down(), Qt::LeftButton, {}, QPoint(7, 5));
    EXPECT_EQ(w.Down()->RepeatTimer()->Interval(), 400u);
    QTest::mouseRelease(w.Down(), Qt::LeftButton, {}, QPoint(7, 5));
    QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_EQ(timer->Interval(), 400u); // re-armed
    QTest::mouseRelease(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_EQ(w.Text(), QStringLiteral("4"));
}

TEST(SpinEdit, HoldingInRealTime) {
    SpinWindow w;
    // Released before the first repeat: only the release steps.
    QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    QTest::qWait(150);
    QTest::mouseRelease(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_EQ(w.edit->GetValue(), 1);

    // Held for a second: one step at 400 ms and one every 100 ms after (about seven), then the
    // release. A busy machine may deliver fewer ticks, never more.
    QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    QTest::qWait(1000);
    const int held = w.edit->GetValue() - 1;
    QTest::mouseRelease(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_GE(held, 3);
    EXPECT_LE(held, 7);
    EXPECT_EQ(w.edit->GetValue(), held + 2);
}

TEST(SpinEdit, AFailingStepStopsTheRepeat) {
    SpinWindow w;
    QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    w.edit->failUp = true;
    EXPECT_THROW(SpinWindow::Tick(w.Up()), ERangeError);
    EXPECT_FALSE(w.Up()->RepeatTimer()->Running());
    // The step of the release fails too; the repeat is stopped all the same.
    QTest::mousePress(w.Up(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_TRUE(w.Up()->RepeatTimer()->Running());
    EXPECT_THROW(QTest::mouseRelease(w.Up(), Qt::LeftButton, {}, QPoint(7, 3)), ERangeError);
    EXPECT_FALSE(w.Up()->RepeatTimer()->Running());
    EXPECT_EQ(w.Text(), QStringLiteral("0"));
}

} // namespace
