// The main window as a pilot meets it: start-up, layout, resizing, hints, menus and the choice
// of input and output files.
#include "WindowFixture.h"

namespace {

using MainWindow = WindowTest;

TEST_F(MainWindow, StartsWithTheCaiFilesOfTheWorkingFolderAndItsDesignLayout) {
    for (const char* name : {"zulu.DAT", "Alpha.dat", "bravo.Dat", "notes.txt", "old.dat.bak",
                             ".hidden.dat", "dat", "charlie.dat", "Charlie.dat"})
        Write(dir / name);
    fs::create_directory(dir / "folder.dat");
    fs::create_symlink(dir / "missing.dat", dir / "dangling.dat");
    fs::create_symlink(dir / "zulu.DAT", dir / "link.dat");

    TMainForm& w = Start();
    EXPECT_EQ(QStringList(
                  {"Alpha.dat", "bravo.Dat", "Charlie.dat", "charlie.dat", "link.dat", "zulu.DAT"}),
              Entries());
    EXPECT_EQ(0, w.CAIfiles->currentIndex());
    EXPECT_EQ(Paths(dir, dir / "Alpha.dat", dir, dir / "Alpha.NDB"), Paths());
    EXPECT_EQ("Velquor 1.0", w.windowTitle());
    // The label names the variation field for assistive tools.
    EXPECT_EQ("Variation",
              QAccessible::queryAccessibleInterface(w.Variation)->text(QAccessible::Name));

    // Only the File menu shows; no item has a shortcut key.
    QStringList items;
    for (QAction* a : w.MainMenu->actions() + w.FileMenu()->actions())
        if (a->isVisible())
            items.append(a->isSeparator() ? "-" : a->text() + a->shortcut().toString());
    EXPECT_EQ(QStringList({"&File", "&Convert", "&Input (DAT) ...", "&Output (NDB) ...", "&Refresh",
                           "-", "E&xit"}),
              items);

    ASSERT_EQ(QSize(514, 370), QSize(w.ClientWidth(), w.ClientHeight()));
    EXPECT_EQ(QRect(10, 8, 494, 21), w.CAIfiles->geometry());
    EXPECT_EQ(QPoint(10, 32), w.VariationLable->pos());
    EXPECT_EQ(QRect(10, 48, 89, w.Variation->height()), w.Variation->geometry());
    EXPECT_EQ(QRect(109, 48, 241, 25), w.Convert->geometry());
    EXPECT_EQ(QRect(10, 88, 494, 249), w.Messages->geometry());
    EXPECT_EQ(QRect(0, w.height() - 23, 514, 23), w.StatusLine->geometry()); // along the bottom
    EXPECT_EQ(QPoint(329, 113), w.pos());
    EXPECT_TRUE(w.Messages->verticalScrollBar()->isVisible()); // even while the memo is empty
    EXPECT_EQ(256, w.CAIfiles->maxVisibleItems());

    w.CAIfiles->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.CAIfiles->hasFocus(); }));
    for (QWidget* next :
         std::initializer_list<QWidget*>{w.Convert, w.Messages, w.Variation, w.CAIfiles}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(next, QApplication::focusWidget()) << next->objectName().toStdString();
    }

    // The hidden help commands do nothing without a help file; Exit closes the window.
    for (QAction* a : w.HelpMenu()->actions())
        a->trigger();
    EXPECT_TRUE(w.isVisible());
    w.FileExitItem->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }));
}

TEST_F(MainWindow, ResizingSizesListAndMemoOnlyAndKeepsTheSmallestHeight) {
    TMainForm& w = Start();
    const int frame = w.height() - w.ClientHeight(); // the menu bar
    struct Case {
        int width, height, clientHeight, listWidth, memoHeight;
    };
    for (const Case& c : {Case{600, 400, 400, 580, 279}, Case{300, 370, 370, 280, 249},
                          Case{514, 152, 152, 494, 31}, Case{514, 151, 151, 494, 30},
                          Case{514, 120, 151, 494, 30}, Case{200, 40, 151, 180, 30}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        w.resize(c.width, c.height + frame);
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.ClientHeight() == c.clientHeight; }))
            << w.ClientHeight();
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.CAIfiles->width() == c.listWidth; }));
        EXPECT_EQ(QRect(10, 88, c.listWidth, c.memoHeight), w.Messages->geometry());
        EXPECT_EQ(QRect(109, 48, 241, 25), w.Convert->geometry()); // may reach past the edge
        EXPECT_EQ(QPoint(10, 48), w.Variation->pos());
    }
    // The form restores the smallest height itself when the window manager ignores the minimum.
    w.setMinimumHeight(0);
    w.resize(514, 60);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.ClientHeight() == 151; })) << w.ClientHeight();
}

TEST_F(MainWindow, StatusLineShowsTheHintUnderThePointerOrOfTheHighlightedMenuItem) {
    TMainForm& w = Start();
    auto showsHint = [&](const QString& hint) {
        return QTest::qWaitFor([&] { return w.StatusLine->currentMessage() == hint; });
    };
    const std::pair<QWidget*, QString> targets[] = {
        {w.CAIfiles, "Select a CAI file from this list"},
        {w.Messages, ""},
        {w.Convert, "Press to convert selected CAI file to NDB format"},
        {w.VariationLable, ""},
        {w.Variation, "Variation in degrees WEST"},
        {w.Variation->SpinBtn(), "Variation in degrees WEST"}};
    for (const auto& [widget, hint] : targets) {
        SCOPED_TRACE(widget->objectName().toStdString() + " " + hint.toStdString());
        QTest::mouseMove(widget, widget->rect().center());
        EXPECT_TRUE(showsHint(hint)) << w.StatusLine->currentMessage().toStdString();
        EXPECT_EQ(hint, Application.Hint());
        // A control with a hint shows it as a tooltip too.
        EXPECT_TRUE(widget == w.Variation->SpinBtn() || widget->toolTip() == hint);
    }

    QMenu* menu = w.FileMenu();
    QTest::mouseClick(w.MainMenu, Qt::LeftButton, {},
                      w.MainMenu->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const std::pair<QAction*, QString> items[] = {{w.FileExitItem, "Exit this application"},
                                                  {w.Refresh, ""},
                                                  {w.FileExitItem, "Exit this application"}};
    for (const auto& [action, hint] : items) {
        QTest::mouseMove(menu, menu->actionGeometry(action).center());
        EXPECT_TRUE(showsHint(hint)) << hint.toStdString();
    }
    menu->close();
    EXPECT_TRUE(showsHint(""));
}

TEST_F(MainWindow, ChosenFilesSetTheFoldersAndRefreshListsTheInputFolder) {
    for (const char* name : {"start.dat", "in/b.dat", "in/A.DAT", "in/zulu.dat", "out/wrong.dat"})
        Write(dir / name);
    const fs::path in = dir / "in", out = dir / "out";
    TMainForm& w = Start();

    // A name typed in other letters in the dialog selects the listed file.
    choices.push_back(in / "ZULU.DAT");
    w.FileInputDAT->trigger();
    EXPECT_EQ(QStringList({"A.DAT", "b.dat", "zulu.dat"}), Entries());
    EXPECT_EQ("zulu.dat", w.CAIfiles->currentText());
    EXPECT_EQ(Paths(in, in / "zulu.dat", dir, dir / "zulu.NDB"),
              Paths()); // the output folder stays
    choices.push_back(out / "MY.NDB");
    w.FileOutputNDB->trigger();
    EXPECT_EQ(Paths(in, in / "zulu.dat", out, out / "MY.NDB"), Paths());
    EXPECT_EQ(Q(dir), QDir::currentPath()); // the working folder never moves
    const QString options = QString::number(ofHideReadOnly | ofPathMustExist | ofEnableSizing);
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ(QStringList({Q(dir), "Select Directory for DAT file",
                           "Cambridge Aero Turnpoints (.DAT)|*.dat", "", options}),
              Settings(shown[0]));
    EXPECT_EQ(QStringList({Q(dir), "", "SN10 database (.NDB)|*.NDB", "ndb", options}),
              Settings(shown[1]));

    // Refresh lists the input folder, not the output or working folder, and keeps the selection.
    Write(in / "zz.dat"); // arrived meanwhile
    w.Refresh->trigger();
    EXPECT_EQ(QStringList({"A.DAT", "b.dat", "zulu.dat", "zz.dat"}), Entries());
    EXPECT_EQ(Paths(in, in / "zulu.dat", out, out / "zulu.NDB"), Paths());
    // The user picks the next entry with the keyboard: its name is derived into the output folder.
    w.CAIfiles->setFocus();
    QTest::keyClick(w.CAIfiles, Qt::Key_Down);
    EXPECT_EQ(Paths(in, in / "zz.dat", out, out / "zz.NDB"), Paths());
    // When the selected file has gone, the first entry is selected.
    fs::remove(in / "zz.dat");
    w.Refresh->trigger();
    EXPECT_EQ(QStringList({"A.DAT", "b.dat", "zulu.dat"}), Entries());
    EXPECT_EQ(Paths(in, in / "A.DAT", out, out / "A.NDB"), Paths());

    // Cancelled dialogs, opened in the current folders, change nothing.
    choices = {fs::path(), fs::path()};
    w.FileInputDAT->trigger();
    w.FileOutputNDB->trigger();
    EXPECT_EQ(Q(in), shown[2].InitialDir);
    EXPECT_EQ(Q(out), shown[3].InitialDir);
    EXPECT_EQ(Paths(in, in / "A.DAT", out, out / "A.NDB"), Paths());
}

TEST_F(MainWindow, ExceptionEscapingAHandlerIsShownAndTheProgramCarriesOn) {
    Write(dir / "a.dat");
    TMainForm& w = Start();
    SetOpenDialogHandler([](TOpenDialog&) -> bool { throw Exception("Disk not ready"); });
    answers.push_back(mrOk);
    w.FileInputDAT->trigger();
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ("Disk not ready.", asked[0].Text);
    EXPECT_EQ(mtError, asked[0].DlgType);

    QTest::mouseClick(w.Convert, Qt::LeftButton); // the window goes on working
    EXPECT_TRUE(fs::exists(dir / "a.NDB"));
    EXPECT_EQ(1u, asked.size());
}

} // namespace
