// SPDX-License-Identifier: MIT
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

TEST(StrToInt, AcceptsWholeSignedDecimalAndHexTextsOnly) {
    const std::pair<const char*, int> accepted[] = {
        {"+7", 7},     {"  12", 12},           {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
        {"-$10", -16}, {"0x7fffffff", INT_MAX}};
    for (const auto& [text, value] : accepted)
        EXPECT_EQ(StrToInt(QString::fromLatin1(text)), value) << text;
    const char* const rejected[] = {"",   "-",   "12 ",        "1.5",         "1a",  "$",
                                    "0x", "--1", "2147483648", "-2147483649", "\t1", "0x-1f"};
    for (const char* text : rejected)
        EXPECT_THROW(StrToInt(QString::fromLatin1(text)), EConvertError) << text;
    EXPECT_THROW(StrToInt(QStringLiteral("\u0661\u0662")), EConvertError); // non-ASCII digits
    EXPECT_EQ(IntToStr(INT_MIN), QStringLiteral("-2147483648"));
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
        {Qt::Key_Backspace, Qt::NoModifier, "\b", 8},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", 13},
        {Qt::Key_C, Qt::ControlModifier, "c", 3}, // the control code, whatever text comes along
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", 0},
        {Qt::Key_F, Qt::AltModifier, "f", 0},
        {Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, "@", '@'}, // AltGr
        {Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, "\x11", 0},
        {Qt::Key_Backspace, Qt::ControlModifier, "\b", 0}};
    for (const Case& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.mods, QString::fromLatin1(c.text));
        EXPECT_EQ(TypedChar(event).unicode(), c.expected) << c.key << " " << c.text;
    }
    EXPECT_EQ(static_cast<unsigned char>(CharToAnsi(QChar(0xE9))), 0xE9);
    EXPECT_EQ(CharToAnsi(QChar(0x20AC)), '?');
}

TEST(CustomEdit, KeyHandlersMaySwallowOrReplaceKeysAndReadOnlyRefusesCutAndPaste) {
    EditWindow w;
    w.edit->setFocus();
    w.edit->OnKeyPress = [](QObject*, char& key) {
        if (key == 'x')
            key = 0;
        else if (key >= 'a' && key <= 'z')
            key = char(key - 'a' + 'A');
    };
    WORD seen = 0;
    w.edit->OnKeyDown = [&](QObject*, WORD& key, TShiftState) {
        seen = key;
        if (key == VK_BACK)
            key = 0;
    };
    QTest::keyClicks(w.edit, QStringLiteral("axb"));
    QTest::keyClick(w.edit, Qt::Key_Backspace);
    EXPECT_EQ(seen, VK_BACK);
    EXPECT_EQ(w.edit->text(), QStringLiteral("AB"));

    QApplication::clipboard()->setText(QStringLiteral("99"));
    w.edit->SetReadOnly(true);
    w.edit->selectAll();
    QTest::keyClick(w.edit, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(w.edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.edit->text(), QStringLiteral("AB"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("99"));
    w.edit->SetReadOnly(false);
    QTest::keyClick(w.edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("AB"));
}

TEST(CustomEdit, ArrivingByKeyboardSelectsAllUnlessSwitchedOff) {
    for (bool autoSelect : {true, false}) {
        EditWindow w;
        w.edit->SetAutoSelect(autoSelect);
        w.edit->SetText(QStringLiteral("hello"));
        w.other->setFocus();
        w.edit->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(w.edit->selectedText(), autoSelect ? QStringLiteral("hello") : QString());
    }
}

} // namespace
