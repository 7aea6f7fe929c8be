// The real message box and file dialog behind the seams: which key answers what, what the
// dialog hands back, and how an exception is shown.
#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

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

// Records every message box instead of showing it, while in scope.
struct RecordedBoxes : std::vector<MessageBoxRequest> {
    MessageBoxHandler previous = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
        push_back(r);
        return mrOk;
    });
    ~RecordedBoxes() { SetMessageBoxHandler(std::move(previous)); }
};

TEST(MessageDlg, ReturnTakesTheDefaultAndEscapeOrCloseCancel) {
    struct Case {
        TMsgDlgButtons buttons;
        Qt::Key key; // Qt::Key_unknown: the close box
        TModalResult result;
    };
    const Case cases[] = {{{mbYes, mbCancel}, Qt::Key_Return, mrYes},
                          {{mbYes, mbCancel}, Qt::Key_Escape, mrCancel},
                          {{mbYes, mbCancel}, Qt::Key_unknown, mrCancel},
                          {{mbOK}, Qt::Key_Return, mrOk},
                          {{mbOK}, Qt::Key_Escape, mrOk},
                          {{mbYes, mbNo}, Qt::Key_Escape, mrNo}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " expecting " << c.result);
        WhenModalShown([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(nullptr, box);
            EXPECT_EQ("Warning", box->windowTitle());
            EXPECT_EQ(QMessageBox::Warning, box->icon());
            c.key == Qt::Key_unknown ? void(box->close()) : QTest::keyClick(box, c.key);
        });
        EXPECT_EQ(c.result,
                  MessageDlg("Output file x exists, Overwrite it?", mtWarning, c.buttons, 0));
    }
}

TEST(ShowException, AddsAFullStopAndUsesTheApplicationTitle) {
    RecordedBoxes boxes;
    Guarded([] { throw Exception("Disk not ready"); })(); // the exception does not get out
    Guarded([] { throw ERangeError("Value out of range."); })();
    Guarded([] { throw std::runtime_error("bad thing!"); })();
    Guarded([] { throw 42; })();
    QStringList texts;
    for (const MessageBoxRequest& r : boxes) {
        texts.append(r.Text);
        EXPECT_EQ("Velquor utility", r.Caption);
        EXPECT_TRUE(r.DlgType == mtError && r.Buttons == TMsgDlgButtons({mbOK}));
    }
    EXPECT_EQ(
        QStringList({"Disk not ready.", "Value out of range.", "bad thing!", "Unknown exception."}),
        texts);
}

TEST(OpenDialog, FilterBecomesQtNameFilters) {
    const std::pair<QString, QStringList> cases[] = {
        {"Turnpoints (.DAT)|*.dat", {"Turnpoints (.DAT) (*.dat)"}},
        {"Databases|*.ndb;*.NDB|All files|*.*", {"Databases (*.ndb *.NDB)", "All files (*.*)"}},
        {"", {}}};
    for (const auto& [filter, expected] : cases) {
        TOpenDialog d;
        d.Filter = filter;
        EXPECT_EQ(expected, d.QtNameFilters()) << filter.toStdString();
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

TEST(OpenDialog, AcceptsANewNameWithTheDefaultSuffixAndRefusesAMissingFolder) {
    const auto dir = std::filesystem::canonical(testfiles::ScratchDir());
    const QString folder = QString::fromStdString(dir.string());
    RecordedBoxes warnings;
    TOpenDialog d;
    d.DefaultExt = "ndb";
    d.InitialDir = folder;
    d.Options = ofHideReadOnly | ofPathMustExist | ofEnableSizing;
    QString shownFolder;
    WhenModalShown([&](QWidget* w) {
        shownFolder = static_cast<QFileDialog*>(w)->directory().absolutePath();
        Accept("result")(w);
    });
    ASSERT_TRUE(d.Execute());
    EXPECT_EQ(folder, shownFolder);
    EXPECT_EQ(folder + "/result.ndb", d.FileName);
    EXPECT_FALSE(std::filesystem::exists(dir / "result.ndb")); // the dialog creates nothing
    EXPECT_TRUE(warnings.empty());

    // A name in a folder that does not exist is refused; the dialog stays until cancelled.
    WhenModalShown([&](QWidget* w) {
        Accept(folder + "/missing/x.ndb")(w);
        QTimer::singleShot(50, [] { WhenModalShown([](QWidget* w) { w->close(); }); });
    });
    EXPECT_FALSE(d.Execute());
    EXPECT_EQ(folder + "/result.ndb", d.FileName);
    EXPECT_EQ(1u, warnings.size());
}

} // namespace
