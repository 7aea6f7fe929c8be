// SPDX-License-Identifier: MIT
// The main window as a pilot meets it: start-up, layout, resizing, hints, menus and the choice
// of input and output files.
#include "WindowFixture.h"

namespace {

using MainWindow = WindowTest;

TEST_F(MainWindow,
       StartsWithTheTurnpointFilesOfTheWorkingFolderInItsDesignLayoutResizesAndShowsHints) {
    for (const char* name :
         {"zulu.DAT", "Alpha.dat", "bravo.Dat", "notes.txt", "old.dat.bak", ".hidden.dat", "dat",
          "charlie.dat", "Charlie.dat", "delta.cup", "Echo.CUP", "old.cup.bak", ".hidden.cup"})
        Write(dir / name);
    fs::create_directory(dir / "folder.dat");
    fs::create_symlink(dir / "missing.dat", dir / "dangling.dat");
    fs::create_symlink(dir / "zulu.DAT", dir / "link.dat");

    TMainForm& w = Start();
    EXPECT_EQ(QStringList({"Alpha.dat", "bravo.Dat", "Charlie.dat", "charlie.dat", "delta.cup",
                           "Echo.CUP", "link.dat", "zulu.DAT"}),
              Entries());
    EXPECT_EQ(Paths(dir, dir / "Alpha.dat", dir, dir / "Alpha.NDB"), Paths());
    EXPECT_EQ("Velquor 1.0", w.windowTitle());
    // The label names the variation field for assistive tools.
    EXPECT_EQ("Variation",
              QAccessible::queryAccessibleInterface(w.Variation)->text(QAccessible::Name));
    EXPECT_FALSE(w.HelpMenu()->menuAction()->isVisible());     // only the File menu shows
    EXPECT_TRUE(w.Messages->verticalScrollBar()->isVisible()); // even while the memo is empty

    w.CAIfiles->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.CAIfiles->hasFocus(); }));
    for (QWidget* next :
         std::initializer_list<QWidget*>{w.Convert, w.Messages, w.Variation, w.CAIfiles}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(next, QApplication::focusWidget()) << next->objectName().toStdString();
    }

    // The design size first; then only list and memo follow the size, down to the smallest
    // client height.
    const int frame = w.height() - w.ClientHeight(); // the menu bar
    struct Case {
        int width, height, clientHeight, memoHeight;
    };
    for (const Case& c :
         {Case{514, 370, 370, 249}, Case{600, 400, 400, 279}, Case{514, 152, 152, 31},
          Case{514, 120, 151, 30}, Case{200, 40, 151, 30}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        w.resize(c.width, c.height + frame);
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return w.ClientHeight() == c.clientHeight && w.ClientWidth() == c.width;
        })) << w.ClientHeight();
        EXPECT_EQ(QRect(10, 8, c.width - 20, 21), w.CAIfiles->geometry());
        EXPECT_EQ(QRect(10, 88, c.width - 20, c.memoHeight), w.Messages->geometry());
        EXPECT_EQ(QRect(10, 48, 89, w.Variation->height()), w.Variation->geometry());
        EXPECT_EQ(QPoint(10, 32), w.VariationLable->pos());
        EXPECT_EQ(QRect(109, 48, 241, 25), w.Convert->geometry()); // may reach past the edge
        EXPECT_EQ(QRect(0, w.height() - 23, c.width, 23), w.StatusLine->geometry());
    }
    // The form restores the smallest height itself when the window manager ignores the minimum.
    w.setMinimumHeight(0);
    w.resize(514, 60);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.ClientHeight() == 151; })) << w.ClientHeight();

    // The hint line shows the hint of the control under the pointer (also its tooltip) or of
    // the highlighted menu item.
    auto showsHint = [&](const QString& hint) {
        return QTest::qWaitFor([&] { return w.StatusLine->currentMessage() == hint; });
    };
    const std::pair<QWidget*, QString> targets[] = {
        {w.CAIfiles, "Select a CAI file from this list"},
        {w.Messages, ""},
        {w.Convert, "Press to convert selected CAI file to NDB format"},
        {w.Variation, "Variation in degrees WEST"},
        {w.Variation->SpinBtn(), "Variation in degrees WEST"}};
    for (const auto& [widget, hint] : targets) {
        QTest::mouseMove(widget, widget->rect().center());
        EXPECT_TRUE(showsHint(hint)) << w.StatusLine->currentMessage().toStdString();
        EXPECT_TRUE(widget == w.Variation->SpinBtn() || widget->toolTip() == hint);
    }
    QMenu* menu = OpenFileMenu();
    const std::pair<QAction*, QString> items[] = {{w.FileExitItem, "Exit this application"},
                                                  {w.Refresh, ""},
                                                  {w.FileExitItem, "Exit this application"}};
    for (const auto& [action, hint] : items) {
        QTest::mouseMove(menu, menu->actionGeometry(action).center());
        EXPECT_TRUE(showsHint(hint)) << hint.toStdString();
    }
    menu->close();
    EXPECT_TRUE(showsHint(""));

    w.FileExitItem->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }));
}

TEST_F(MainWindow, ChosenFilesSetTheFoldersRefreshListsTheInputFolderAndErrorsAreShown) {
    for (const char* name :
         {"start.dat", "in/b.dat", "in/A.DAT", "in/zulu.dat", "in/Club.CUP", "out/wrong.dat"})
        Write(dir / name);
    const fs::path in = dir / "in", out = dir / "out";
    TMainForm& w = Start();

    // A name typed in other letters in the dialog selects the listed file; the output folder
    // stays until an output file is chosen.
    choices = {in / "ZULU.DAT", out / "MY.NDB", {}, {}};
    w.FileInputDAT->trigger();
    EXPECT_EQ(QStringList({"A.DAT", "b.dat", "Club.CUP", "zulu.dat"}), Entries());
    EXPECT_EQ(Paths(in, in / "zulu.dat", dir, dir / "zulu.NDB"), Paths());
    w.FileOutputNDB->trigger();
    EXPECT_EQ(Paths(in, in / "zulu.dat", out, out / "MY.NDB"), Paths());
    EXPECT_EQ(Q(dir), QDir::currentPath()); // the working folder never moves

    // Refresh lists the input folder, not the output or working folder, and keeps the selection.
    Write(in / "zz.dat"); // arrived meanwhile
    w.Refresh->trigger();
    EXPECT_EQ(QStringList({"A.DAT", "b.dat", "Club.CUP", "zulu.dat", "zz.dat"}), Entries());
    EXPECT_EQ(Paths(in, in / "zulu.dat", out, out / "zulu.NDB"), Paths());
    // The user picks entries with the keyboard: their names are derived into the output folder,
    // a CUP file's ".CUP" made ".NDB" as a CAI file's ".DAT" is.
    w.CAIfiles->setFocus();
    QTest::keyClick(w.CAIfiles, Qt::Key_Up);
    EXPECT_EQ(Paths(in, in / "Club.CUP", out, out / "Club.NDB"), Paths());
    QTest::keyClick(w.CAIfiles, Qt::Key_Down);
    QTest::keyClick(w.CAIfiles, Qt::Key_Down);
    EXPECT_EQ(Paths(in, in / "zz.dat", out, out / "zz.NDB"), Paths());
    // When the selected file has gone, the first entry is selected.
    fs::remove(in / "zz.dat");
    w.Refresh->trigger();
    EXPECT_EQ(Paths(in, in / "A.DAT", out, out / "A.NDB"), Paths());

    // Cancelled dialogs, opened in the current folders, change nothing.
    w.FileInputDAT->trigger();
    w.FileOutputNDB->trigger();
    ASSERT_EQ(4u, shown.size());
    EXPECT_TRUE(shown[2].InitialDir == Q(in) && shown[3].InitialDir == Q(out));
    // The input dialog offers both formats, together and each alone.
    EXPECT_EQ(QStringList({"Turnpoint files (.DAT, .CUP) (*.dat *.cup)",
                           "Cambridge Aero Turnpoints (.DAT) (*.dat)",
                           "SeeYou waypoints (.CUP) (*.cup)"}),
              shown[2].QtNameFilters());
    EXPECT_EQ(Paths(in, in / "A.DAT", out, out / "A.NDB"), Paths());

    // An exception escaping a handler is shown under the program's title, with a full stop
    // unless it ends in one, and the window carries on.
    const std::pair<OpenDialogHandler, QString> throwing[] = {
        {[](TOpenDialog&) -> bool { throw Exception("Disk not ready"); }, "Disk not ready."},
        {[](TOpenDialog&) -> bool { throw ERangeError("Value out of range."); },
         "Value out of range."},
        {[](TOpenDialog&) -> bool { throw std::runtime_error("error 42"); }, "error 42."},
        {[](TOpenDialog&) -> bool { throw 42; }, "Unknown exception."}};
    for (const auto& [handler, text] : throwing) {
        SetOpenDialogHandler(handler);
        answers.push_back(mrOk);
        w.FileInputDAT->trigger();
        EXPECT_TRUE(asked.size() == answers.size() && asked.back().Text == text &&
                    asked.back().Caption == "Velquor utility" && asked.back().DlgType == mtError &&
                    asked.back().Buttons == TMsgDlgButtons({mbOK}))
            << text.toStdString();
    }
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    EXPECT_TRUE(fs::exists(out / "A.NDB"));
}

} // namespace
