// The real message box and file dialog behind the seams: which key answers what, what the
// dialog hands back, and how an exception is shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "Application.h"
#include "Dialogs.h"
#include "SysUtils.h"
#include "TestFiles.h"

namespace {

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

struct BoxCase {
    const char* what;
    TMsgDlgButtons buttons;
    std::function<void(QMessageBox*)> answer;
    TModalResult result;
};

TEST(MessageDlg, ReturnTakesTheDefaultAndEscapeOrCloseCancel) {
    auto key = [](Qt::Key k) { return [k](QMessageBox* box) { QTest::keyClick(box, k); }; };
    const BoxCase cases[] = {
        {"Return on Yes/Cancel", {mbYes, mbCancel}, key(Qt::Key_Return), mrYes},
        {"Escape on Yes/Cancel", {mbYes, mbCancel}, key(Qt::Key_Escape), mrCancel},
        {"close box on Yes/Cancel",
         {mbYes, mbCancel},
         [](QMessageBox* b) { b->close(); },
         mrCancel},
        {"Return on OK", {mbOK}, key(Qt::Key_Return), mrOk},
        {"Escape on OK", {mbOK}, key(Qt::Key_Escape), mrOk},
        {"Escape on Yes/No", {mbYes, mbNo}, key(Qt::Key_Escape), mrNo},
        {"click on Cancel",
         {mbYes, mbCancel},
         [](QMessageBox* b) { b->button(QMessageBox::Cancel)->click(); },
         mrCancel},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.what);
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        WhenModalShown([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(nullptr, box);
            title = box->windowTitle();
            icon = box->icon();
            c.answer(box);
        });
        EXPECT_EQ(c.result, MessageDlg("Output file x already exists, Overwrite it?", mtWarning,
                                       c.buttons, 0));
        EXPECT_EQ("Warning", title);
        EXPECT_EQ(QMessageBox::Warning, icon);
    }
}

TEST(ShowException, AddsAFullStopAndUsesTheApplicationTitle) {
    struct Case {
        std::function<void()> raise;
        const char* shown;
    };
    const Case cases[] = {
        {[] { throw Exception("Disk not ready"); }, "Disk not ready."},
        {[] { throw ERangeError("Value out of range."); }, "Value out of range."},
        {[] { throw std::runtime_error("bad thing!"); }, "bad thing!"},
        {[] { throw 42; }, "Unknown exception."},
    };
    std::vector<MessageBoxRequest> seen;
    MessageBoxHandler previous = SetMessageBoxHandler([&](const MessageBoxRequest& r) {
        seen.push_back(r);
        return mrOk;
    });
    for (const Case& c : cases)
        Guarded(c.raise)(); // the exception does not get out
    SetMessageBoxHandler(std::move(previous));
    ASSERT_EQ(std::size(cases), seen.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(cases[i].shown, seen[i].Text);
        EXPECT_EQ("Velquor utility", seen[i].Caption);
        EXPECT_EQ(mtError, seen[i].DlgType);
    }
}

TEST(OpenDialog, FilterBecomesQtNameFilters) {
    TOpenDialog d;
    d.Filter = "Cambridge Aero Turnpoints (.DAT)|*.dat";
    EXPECT_EQ(QStringList({"Cambridge Aero Turnpoints (.DAT) (*.dat)"}), d.QtNameFilters());
    d.Filter = "Databases|*.ndb;*.NDB|All files|*.*";
    EXPECT_EQ(QStringList({"Databases (*.ndb *.NDB)", "All files (*.*)"}), d.QtNameFilters());
    d.Filter = "";
    EXPECT_TRUE(d.QtNameFilters().isEmpty());
}

TEST(OpenDialog, AcceptsANewNameWithTheDefaultSuffixAndRefusesAMissingFolder) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::canonical(testfiles::ScratchDir());
    const QString folder = QString::fromStdString(dir.string());
    std::vector<MessageBoxRequest> warnings;
    MessageBoxHandler previous = SetMessageBoxHandler([&](const MessageBoxRequest& r) {
        warnings.push_back(r);
        return mrOk;
    });

    TOpenDialog d;
    d.Filter = "SN10 database (.NDB)|*.NDB";
    d.DefaultExt = "ndb";
    d.InitialDir = folder;
    d.Options = ofHideReadOnly | ofPathMustExist | ofEnableSizing;
    QString shownFolder;
    WhenModalShown([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(nullptr, dialog);
        shownFolder = dialog->directory().absolutePath();
        dialog->selectFile("result");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    ASSERT_TRUE(d.Execute());
    EXPECT_EQ(folder, shownFolder);
    EXPECT_EQ(folder + "/result.ndb", d.FileName);
    EXPECT_FALSE(fs::exists(dir / "result.ndb")); // the dialog creates nothing
    EXPECT_TRUE(warnings.empty());

    // A name in a folder that does not exist is refused; the dialog stays until cancelled.
    int shown = 0;
    std::function<void(QWidget*)> answer = [&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(nullptr, dialog);
        if (++shown == 1) {
            dialog->selectFile(folder + "/missing/x.ndb");
            QMetaObject::invokeMethod(dialog, "accept");
            QTimer::singleShot(50, [&] { WhenModalShown(answer); });
        } else {
            dialog->reject();
        }
    };
    WhenModalShown(answer);
    EXPECT_FALSE(d.Execute());
    EXPECT_EQ(folder + "/result.ndb", d.FileName);
    EXPECT_EQ(1u, warnings.size());
    SetMessageBoxHandler(std::move(previous));
}

} // namespace
