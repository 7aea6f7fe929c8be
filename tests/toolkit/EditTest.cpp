// The edit base: integer conversions, which keys type which character, and the hooks that
// descendants rely on (key filters, change event, refused cut and paste, focus arrival).
#include "StdCtrls.h"
#include "SysUtils.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>

namespace {

// A shown window with an edit and a second widget to move the focus to.
struct EditWindow {
    QWidget window;
    TCustomEdit* edit = new TCustomEdit(&window);
    QLineEdit* other = new QLineEdit(&window);
    EditWindow() {
        edit->setGeometry(0, 0, 120, 24);
        other->setGeometry(0, 30, 120, 24);
        window.resize(140, 60);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

TEST(StrToInt, AcceptsWholeSignedDecimalAndHexTextsAndIntToStrWritesDecimal) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"0", 0},
        {"-5", -5},
        {"+7", 7},
        {"  12", 12},
        {"007", 7},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"$1F", 31},
        {"-$10", -16},
        {"0x7fffffff", INT_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StrToInt(QString::fromLatin1(c.text)), c.value) << c.text;
    EXPECT_EQ(IntToStr(-60), QStringLiteral("-60"));
    EXPECT_EQ(IntToStr(INT_MIN), QStringLiteral("-2147483648"));
}

TEST(StrToInt, RejectsEverythingElse) {
    const char* const cases[] = {
        "",   " ",   "-",   "+",     "12 ",        "1.5",         "abc",
        "1a", "$",   "0x",  "--1",   "2147483648", "-2147483649", "99999999999999999999",
        "$G", "1,0", "\t1", "0x-1f",
    };
    for (const char* text : cases)
        EXPECT_THROW(StrToInt(QString::fromLatin1(text)), EConvertError) << text;
    EXPECT_THROW(StrToInt(QStringLiteral("\u0661\u0662")), EConvertError); // non-ASCII digits
}

TEST(TypedChar, FollowsClassicEditControls) {
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {Qt::Key_5, Qt::NoModifier, "5", '5'},
        {Qt::Key_Minus, Qt::NoModifier, "-", '-'},
        {Qt::Key_A, Qt::ShiftModifier, "A", 'A'},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", 8},
        {Qt::Key_Return, Qt::NoModifier, "\r", 13},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", 13},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", 27},
        {Qt::Key_C, Qt::ControlModifier, "c", 3}, // the control code, whatever text comes along
        {Qt::Key_V, Qt::ControlModifier, "\x16", 22},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", 0},
        {Qt::Key_Left, Qt::NoModifier, "", 0},
        {Qt::Key_F, Qt::AltModifier, "f", 0},
        {Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, "@", '@'}, // AltGr
        {Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, "\x11", 0},
        {Qt::Key_Backspace, Qt::ControlModifier, "\b", 0},
    };
    for (const Case& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.mods, QString::fromLatin1(c.text));
        EXPECT_EQ(TypedChar(event).unicode(), c.expected) << c.key << " " << c.text;
    }
    EXPECT_EQ(static_cast<unsigned char>(CharToAnsi(QChar(0xE9))), 0xE9);
    EXPECT_EQ(CharToAnsi(QChar(0x20AC)), '?');
}

TEST(CustomEdit, KeyHandlersMaySwallowOrReplaceKeys) {
    EditWindow w;
    w.edit->setFocus();
    w.edit->OnKeyPress = [](QObject*, char& key) {
        if (key == 'x')
            key = 0;
        else if (key >= 'a' && key <= 'z')
            key = char(key - 'a' + 'A');
    };
    QTest::keyClicks(w.edit, QStringLiteral("axb"));
    EXPECT_EQ(w.edit->text(), QStringLiteral("AB"));

    WORD seen = 0;
    w.edit->OnKeyDown = [&](QObject*, WORD& key, TShiftState) {
        seen = key;
        if (key == VK_BACK)
            key = 0;
    };
    QTest::keyClick(w.edit, Qt::Key_Backspace);
    EXPECT_EQ(seen, VK_BACK);
    EXPECT_EQ(w.edit->text(), QStringLiteral("AB"));
}

TEST(CustomEdit, ReadOnlyRefusesCutAndPaste) {
    EditWindow w;
    QApplication::clipboard()->setText(QStringLiteral("99"));
    w.edit->SetText(QStringLiteral("abc"));
    w.edit->SetReadOnly(true);
    w.edit->setFocus();
    w.edit->selectAll();
    QTest::keyClick(w.edit, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(w.edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.edit->text(), QStringLiteral("abc"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("99"));

    w.edit->SetReadOnly(false);
    w.edit->selectAll();
    QTest::keyClick(w.edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(w.edit->text(), QString());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("abc"));
    QTest::keyClick(w.edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.edit->text(), QStringLiteral("abc"));
}

TEST(CustomEdit, ArrivingByKeyboardSelectsAllUnlessSwitchedOff) {
    for (bool autoSelect : {true, false}) {
        EditWindow w;
        w.edit->SetAutoSelect(autoSelect);
        w.edit->SetText(QStringLiteral("hello"));
        w.other->setFocus();
        int enters = 0, exits = 0;
        w.edit->OnEnter = [&](QObject*) { ++enters; };
        w.edit->OnExit = [&](QObject*) { ++exits; };
        w.edit->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(w.edit->selectedText(), autoSelect ? QStringLiteral("hello") : QString());
        w.other->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(enters, 1);
        EXPECT_EQ(exits, 1);
    }
}

TEST(CustomEdit, EditRectAndAutoSizeFollowGeometryAndFont) {
    EditWindow w;
    w.edit->SetEditRect(QRect(0, 0, 80, 21));
    EXPECT_EQ(w.edit->textMargins(), QMargins(0, 0, w.edit->ClientWidth() - 80, 0));
    QFont font = w.edit->font();
    font.setPixelSize(20);
    w.edit->setFont(font);
    EXPECT_EQ(w.edit->Height(), QFontMetrics(font).height() + 8);
    w.edit->SetAutoSize(false);
    font.setPixelSize(10);
    w.edit->setFont(font);
    EXPECT_NE(w.edit->Height(), QFontMetrics(font).height() + 8);
}

} // namespace
