// The main window as a pilot meets it: start-up, layout, resizing, hints, menus and the choice
// of input and output files.
#include "WindowFixture.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

using MainWindow = WindowTest;

TEST_F(MainWindow, StartsWithTheCaiFilesOfTheWorkingFolderSortedWithoutRegardToCase) {
    for (const char* name : {"zulu.DAT", "Alpha.dat", "bravo.Dat", "notes.txt", "old.dat.bak",
                             ".hidden.dat", "dat", "charlie.dat"})
        Write(dir / name, CleanCai);
    fs::create_directory(dir / "folder.dat");
    fs::create_symlink(dir / "missing.dat", dir / "dangling.dat");
    fs::create_symlink(dir / "zulu.DAT", dir / "link.dat");

    TMainForm& w = Start();
    EXPECT_EQ(QStringList({"Alpha.dat", "bravo.Dat", "charlie.dat", "link.dat", "zulu.DAT"}),
              Entries());
    EXPECT_EQ(0, w.CAIfiles->currentIndex());
    EXPECT_EQ(Q(dir), InputDirectory);
    EXPECT_EQ(Q(dir), OutputDirectory);
    EXPECT_EQ(Q(dir / "Alpha.dat"), InputFileName);
    EXPECT_EQ(Q(dir / "Alpha.NDB"), OutputFileName);
    EXPECT_EQ(&w, MainForm);

    EXPECT_EQ("Velquor 1.0", w.windowTitle());
    EXPECT_TRUE(w.Messages->toPlainText().isEmpty());
    EXPECT_TRUE(w.StatusLine->currentMessage().isEmpty());
    EXPECT_EQ(0, w.Variation->GetValue());
    EXPECT_EQ("0", w.Variation->Text());
    EXPECT_EQ(-60, w.Variation->MinValue());
    EXPECT_EQ(60, w.Variation->MaxValue());
    EXPECT_TRUE(asked.empty());
}

TEST_F(MainWindow, OnlyTheFileMenuIsShownWithItsItemsInOrder) {
    TMainForm& w = Start();
    QStringList headings;
    for (QAction* a : w.MainMenu->actions())
        if (a->isVisible())
            headings.append(a->text());
    EXPECT_EQ(QStringList({"&File"}), headings);

    QStringList items;
    for (QAction* a : w.FileMenu()->actions())
        items.append(a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(QStringList(
                  {"&Convert", "&Input (DAT) ...", "&Output (NDB) ...", "&Refresh", "-", "E&xit"}),
              items);
    for (QAction* a : w.FileMenu()->actions())
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
    EXPECT_FALSE(w.HelpMenu()->menuAction()->isVisible());
    EXPECT_EQ(5, w.HelpMenu()->actions().size());
}

TEST_F(MainWindow, DesignSizeLaysOutTheControlsAsTheResizeRuleSays) {
    TMainForm& w = Start();
    ASSERT_EQ(514, w.ClientWidth());
    ASSERT_EQ(370, w.ClientHeight());
    EXPECT_EQ(QRect(10, 8, 494, 21), w.CAIfiles->geometry());
    EXPECT_EQ(10, w.VariationLable->x());
    EXPECT_EQ(32, w.VariationLable->y());
    EXPECT_EQ(QPoint(10, 48), w.Variation->pos());
    EXPECT_EQ(89, w.Variation->width());
    EXPECT_EQ(QRect(109, 48, 241, 25), w.Convert->geometry());
    EXPECT_EQ(QRect(10, 88, 494, 249), w.Messages->geometry());
    EXPECT_EQ(23, w.StatusLine->height());
    EXPECT_EQ(w.height(), w.StatusLine->geometry().bottom() + 1); // along the bottom edge
}

TEST_F(MainWindow, TabMovesThroughListButtonMemoAndVariation) {
    TMainForm& w = Start();
    w.CAIfiles->setFocus();
    ASSERT_TRUE(WaitFor([&] { return w.CAIfiles->hasFocus(); }));
    for (QWidget* next : {static_cast<QWidget*>(w.Convert), static_cast<QWidget*>(w.Messages),
                          static_cast<QWidget*>(w.Variation), static_cast<QWidget*>(w.CAIfiles)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(next, QApplication::focusWidget()) << next->objectName().toStdString();
    }
}

struct ResizeCase {
    int width, height; // asked for, client area
    int clientHeight;  // what the window ends with
    int listWidth, memoHeight;
};

TEST_F(MainWindow, ResizingMovesNothingButSizesListAndMemoAndKeepsTheSmallestHeight) {
    TMainForm& w = Start();
    const int frame = w.height() - w.ClientHeight(); // the menu bar
    for (const ResizeCase& c :
         {ResizeCase{600, 400, 400, 580, 279}, ResizeCase{300, 370, 370, 280, 249},
          ResizeCase{514, 152, 152, 494, 31}, ResizeCase{514, 151, 151, 494, 30},
          ResizeCase{514, 120, 151, 494, 30}, ResizeCase{200, 40, 151, 180, 30}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        w.resize(c.width, c.height + frame);
        EXPECT_TRUE(WaitFor([&] { return w.ClientHeight() == c.clientHeight; }))
            << w.ClientHeight();
        EXPECT_TRUE(WaitFor([&] { return w.CAIfiles->width() == c.listWidth; }));
        EXPECT_EQ(QRect(10, 88, c.listWidth, c.memoHeight), w.Messages->geometry());
        EXPECT_EQ(QRect(109, 48, 241, 25), w.Convert->geometry()); // may reach past the edge
        EXPECT_EQ(8, w.CAIfiles->y());
        EXPECT_EQ(QPoint(10, 48), w.Variation->pos());
    }
}

TEST_F(MainWindow, FormResizeRestoresTheSmallestClientHeightItself) {
    TMainForm& w = Start();
    w.setMinimumHeight(0); // as if the window manager ignored the minimum
    w.resize(514, 60);
    EXPECT_TRUE(WaitFor([&] { return w.ClientHeight() == 151; })) << w.ClientHeight();
    EXPECT_EQ(30, w.Messages->height());
}

TEST_F(MainWindow, StatusLineShowsTheHintUnderThePointerAndEmptiesWithoutOne) {
    TMainForm& w = Start();
    struct Target {
        QWidget* widget;
        QString hint;
    };
    const Target targets[] = {
        {w.CAIfiles, "Select a CAI file from this list"},
        {w.Messages, ""},
        {w.Convert, "Press to convert selected CAI file to NDB format"},
        {w.VariationLable, ""},
        {w.Variation, "Variation in degrees WEST"},
        {w.Variation->SpinBtn(), "Variation in degrees WEST"},
        {w.Messages, ""},
    };
    for (const Target& t : targets) {
        SCOPED_TRACE(t.widget->objectName().toStdString() + " " + t.hint.toStdString());
        QTest::mouseMove(t.widget, t.widget->rect().center());
        EXPECT_TRUE(WaitFor([&] { return w.StatusLine->currentMessage() == t.hint; }))
            << w.StatusLine->currentMessage().toStdString();
        EXPECT_EQ(t.hint, Application.Hint());
    }
    // Controls with a hint show it as a tooltip as well.
    EXPECT_EQ("Select a CAI file from this list", w.CAIfiles->toolTip());
    EXPECT_EQ("Variation in degrees WEST", w.Variation->toolTip());
    EXPECT_EQ("Press to convert selected CAI file to NDB format", w.Convert->toolTip());
    EXPECT_TRUE(w.Messages->toolTip().isEmpty());
}

TEST_F(MainWindow, HighlightedMenuItemShowsItsHint) {
    TMainForm& w = Start();
    QMenu* menu = w.FileMenu();
    // Open "File" from the menu bar, then move the pointer over the items.
    QTest::mouseClick(w.MainMenu, Qt::LeftButton, {},
                      w.MainMenu->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    struct Item {
        QAction* action;
        QString hint;
    };
    for (const Item& item : {Item{w.FileExitItem, "Exit this application"}, Item{w.Refresh, ""},
                             Item{w.FileExitItem, "Exit this application"}}) {
        QTest::mouseMove(menu, menu->actionGeometry(item.action).center());
        EXPECT_TRUE(WaitFor([&] { return w.StatusLine->currentMessage() == item.hint; }))
            << item.hint.toStdString() << " / " << w.StatusLine->currentMessage().toStdString();
    }
    menu->close();
    EXPECT_TRUE(WaitFor([&] { return w.StatusLine->currentMessage().isEmpty(); }));
}

TEST_F(MainWindow, ExitClosesTheWindow) {
    TMainForm& w = Start();
    w.FileExitItem->trigger();
    EXPECT_TRUE(WaitFor([&] { return !w.isVisible(); }));
}

TEST_F(MainWindow, HelpCommandsDoNothingWithoutAHelpFile) {
    TMainForm& w = Start();
    for (QAction* a : w.HelpMenu()->actions())
        a->trigger();
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindow, ChoosingAnInputFileListsItsFolderAndSelectsIt) {
    Write(dir / "start.dat", CleanCai);
    const fs::path other = dir / "other";
    for (const char* name : {"b.dat", "A.DAT", "c.dat"})
        Write(other / name, CleanCai);
    const QString startFolder = QDir::currentPath();
    TMainForm& w = Start();

    choices.push_back(Choose(other / "c.dat"));
    w.FileInputDAT->trigger();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(Q(dir), shown[0].InitialDir);
    EXPECT_EQ("Select Directory for DAT file", shown[0].Title);
    EXPECT_EQ("Cambridge Aero Turnpoints (.DAT)|*.dat", shown[0].Filter);
    EXPECT_EQ(ofHideReadOnly | ofPathMustExist | ofEnableSizing, shown[0].Options);

    EXPECT_EQ(QStringList({"A.DAT", "b.dat", "c.dat"}), Entries());
    EXPECT_EQ("c.dat", w.CAIfiles->currentText());
    EXPECT_EQ(Q(other), InputDirectory);
    EXPECT_EQ(Q(other / "c.dat"), InputFileName);
    EXPECT_EQ(Q(dir / "c.NDB"), OutputFileName); // the output folder stays
    EXPECT_EQ(Q(dir), QDir::currentPath());      // the program never moves the working folder
    (void)startFolder;

    // A chosen file that the list does not hold selects the first entry.
    choices.push_back(Choose(other / "notes.txt"));
    w.FileInputDAT->trigger();
    EXPECT_EQ("A.DAT", w.CAIfiles->currentText());
    EXPECT_EQ(Q(other / "A.DAT"), InputFileName);

    // A cancelled dialog changes nothing.
    choices.push_back(CancelDialog());
    w.FileInputDAT->trigger();
    EXPECT_EQ(Q(other), InputDirectory);
    EXPECT_EQ(Q(other / "A.DAT"), InputFileName);
    EXPECT_EQ(Q(other), shown.back().InitialDir);
}

TEST_F(MainWindow, ChosenOutputFileHoldsUntilTheUserPicksAnotherEntry) {
    Write(dir / "a.dat", CleanCai);
    Write(dir / "b.dat", CleanCai);
    const fs::path out = dir / "out";
    fs::create_directories(out);
    TMainForm& w = Start();

    choices.push_back(Choose(out / "MY.NDB"));
    w.FileOutputNDB->trigger();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(Q(dir), shown[0].InitialDir);
    EXPECT_EQ("", shown[0].Title);
    EXPECT_EQ("SN10 database (.NDB)|*.NDB", shown[0].Filter);
    EXPECT_EQ("ndb", shown[0].DefaultExt);
    EXPECT_EQ(Q(out / "MY.NDB"), OutputFileName);
    EXPECT_EQ(Q(out), OutputDirectory);
    EXPECT_EQ(Q(dir / "a.dat"), InputFileName);
    EXPECT_EQ("a.dat", w.CAIfiles->currentText());

    // The user picks the next entry with the keyboard: the name is derived into the new folder.
    w.CAIfiles->setFocus();
    QTest::keyClick(w.CAIfiles, Qt::Key_Down);
    EXPECT_EQ("b.dat", w.CAIfiles->currentText());
    EXPECT_EQ(Q(dir / "b.dat"), InputFileName);
    EXPECT_EQ(Q(out / "b.NDB"), OutputFileName);

    choices.push_back(CancelDialog());
    w.FileOutputNDB->trigger();
    EXPECT_EQ(Q(out), shown.back().InitialDir);
    EXPECT_EQ(Q(out / "b.NDB"), OutputFileName);
}

TEST_F(MainWindow, RefreshListsTheInputFolderNotTheOutputFolder) {
    Write(dir / "in" / "alps.dat", CleanCai);
    Write(dir / "in" / "bern.dat", CleanCai);
    Write(dir / "out" / "wrong.dat", CleanCai);
    Write(dir / "cwd.dat", CleanCai);
    TMainForm& w = Start();

    choices.push_back(Choose(dir / "in" / "bern.dat"));
    w.FileInputDAT->trigger();
    choices.push_back(Choose(dir / "out" / "result.ndb"));
    w.FileOutputNDB->trigger();
    Write(dir / "in" / "cham.dat", CleanCai); // a file that arrived meanwhile

    w.Refresh->trigger();
    EXPECT_EQ(QStringList({"alps.dat", "bern.dat", "cham.dat"}), Entries());
    EXPECT_EQ("bern.dat", w.CAIfiles->currentText()); // stays selected
    EXPECT_EQ(Q(dir / "in" / "bern.dat"), InputFileName);
    EXPECT_EQ(Q(dir / "out" / "bern.NDB"), OutputFileName);

    // When the selected file has gone, the first entry is selected.
    fs::remove(dir / "in" / "bern.dat");
    w.Refresh->trigger();
    EXPECT_EQ(QStringList({"alps.dat", "cham.dat"}), Entries());
    EXPECT_EQ(Q(dir / "in" / "alps.dat"), InputFileName);
}

TEST_F(MainWindow, FolderWithoutCaiFilesLeavesTheListEmpty) {
    Write(dir / "readme.txt", "x");
    TMainForm& w = Start();
    EXPECT_EQ(0, w.CAIfiles->count());
    EXPECT_EQ(-1, w.CAIfiles->currentIndex());
    EXPECT_EQ(Q(dir) + "/", InputFileName);
    EXPECT_EQ(Q(dir) + "/", OutputFileName);
}

TEST_F(MainWindow, ExceptionEscapingAHandlerIsShownAndTheProgramCarriesOn) {
    Write(dir / "a.dat", CleanCai);
    TMainForm& w = Start();
    choices.push_back([](TOpenDialog&) -> bool { throw Exception("Disk not ready"); });
    answers.push_back(mrOk);
    w.FileInputDAT->trigger();
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ("Velquor utility", asked[0].Caption);
    EXPECT_EQ("Disk not ready.", asked[0].Text);
    EXPECT_EQ(mtError, asked[0].DlgType);
    EXPECT_EQ(TMsgDlgButtons({mbOK}), asked[0].Buttons);

    // The window goes on working.
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    EXPECT_TRUE(fs::exists(dir / "a.NDB"));
    EXPECT_EQ(1u, asked.size());
}

} // namespace
