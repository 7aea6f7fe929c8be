// SPDX-License-Identifier: MIT
// The real message box and file dialog behind the seams: which key answers what, and what the
// dialog hands back.
#include "WindowFixture.h"

#include "Dialogs.h"

namespace {

using Dialogs = WindowTest; // for its scratch folder and its record of message boxes

// Runs action on the modal dialog as soon as it is shown.
void WhenModalShown(std::function<void(QWidget*)> action) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [action, poll] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
            action(modal);
        else
            QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

TEST_F(Dialogs, MessageBoxTakesTheDefaultOnReturnAndCancelsOnEscapeOrClose) {
    SetMessageBoxHandler({}); // the real box
    using B = TMsgDlgButtons;
    const std::tuple<B, Qt::Key, TModalResult> cases[] = {
        // Qt::Key_unknown: the close box
        {B{mbYes, mbCancel}, Qt::Key_Return, mrYes},
        {B{mbYes, mbCancel}, Qt::Key_Escape, mrCancel},
        {B{mbYes, mbCancel}, Qt::Key_unknown, mrCancel},
        {B{mbOK}, Qt::Key_Return, mrOk},
        {B{mbOK}, Qt::Key_Escape, mrOk},
        {B{mbYes, mbNo}, Qt::Key_Escape, mrNo}};
    for (const auto& [buttons, key, result] : cases) {
        SCOPED_TRACE(testing::Message() << key << " expecting " << result);
        WhenModalShown([key = key](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(nullptr, box);
            EXPECT_EQ("Warning", box->windowTitle());
            EXPECT_EQ(QMessageBox::Warning, box->icon());
            key == Qt::Key_unknown ? void(box->close()) : QTest::keyClick(box, key);
        });
        EXPECT_EQ(result, MessageDlg("Output file x exists, Overwrite it?", mtWarning, buttons, 0));
    }
}

// Confirms name in the modal file dialog.
std::function<void(QWidget*)> Accept(const QString& name) {
    return [name](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(nullptr, dialog);
        dialog->selectFile(name);
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

TEST_F(Dialogs, FileDialogAddsTheDefaultSuffixToANewNameAndRefusesAMissingFolder) {
    SetOpenDialogHandler({}); // the real dialog
    const QString folder = Q(dir);
    TOpenDialog d;
    d.Filter = "Databases|*.ndb;*.NDB|All files|*.*";
    d.DefaultExt = "ndb";
    d.InitialDir = folder;
    d.Options = ofHideReadOnly | ofPathMustExist | ofEnableSizing;
    WhenModalShown([&](QWidget* w) {
        const auto* dialog = static_cast<QFileDialog*>(w);
        EXPECT_EQ(folder, dialog->directory().absolutePath());
        EXPECT_EQ(QStringList({"Databases (*.ndb *.NDB)", "All files (*.*)"}),
                  dialog->nameFilters());
        Accept("result")(w);
    });
    ASSERT_TRUE(d.Execute());
    EXPECT_EQ(folder + "/result.ndb", d.FileName);
    EXPECT_FALSE(fs::exists(dir / "result.ndb")); // the dialog creates nothing

    // A name in a missing folder is refused with a warning; the dialog stays until cancelled.
    answers.push_back(mrOk);
    auto stayed = std::make_shared<bool>(false);
    WhenModalShown([folder, stayed](QWidget* w) {
        Accept(folder + "/missing/x.ndb")(w);
        QTimer::singleShot(50, [stayed] {
            WhenModalShown([stayed](QWidget* w) {
                *stayed = true;
                w->close();
            });
        });
    });
    EXPECT_FALSE(d.Execute());
    EXPECT_TRUE(*stayed);
    EXPECT_EQ(folder + "/result.ndb", d.FileName);
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ(folder + "/missing\nThis folder does not exist.", asked[0].Text);
}

} // namespace
