// The convert command from the window: the overwrite question, the banner, the variation as the
// field shows it, the engine's report in the message area and the outcome in the status line.
#include "WindowFixture.h"

#include <sys/stat.h>

namespace {

using Convert = WindowTest;

QString Banner(const QString& in, const QString& out) {
    return "*********** " + in + " becomes " + out + " **********";
}

// The magnetic variation the SN10 file's header line carries, e.g. "Magvar 60.0 ,".
bool HeaderHasVariation(const fs::path& ndb, const std::string& value) {
    return testfiles::ReadBytes(ndb).find("Magvar " + value + " ,") != std::string::npos;
}

TEST_F(Convert, ConvertingTwiceAsksBeforeOverwritingCancelKeepsEverythingYesOverwrites) {
    fs::path deep = dir; // long folder names: the banner stays one line beyond 255 characters
    for (char c : {'a', 'b'})
        deep /= std::string(50, c);
    Write(deep / "alps.dat");
    TMainForm& w = Start(deep);
    const QString banner = Banner(Q(deep / "alps.dat"), Q(deep / "alps.NDB"));
    ASSERT_GT(banner.size(), 255);
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    const QStringList lines = Lines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(banner, lines[0]);
    EXPECT_TRUE(lines.contains("2 points read from: " + Q(deep / "alps.dat")));
    EXPECT_EQ("    database. YOU MUST CHECK THESE POINTS AND UPDATE THEM.", lines.end()[-2]);
    EXPECT_TRUE(HeaderHasVariation(deep / "alps.NDB", "0.0"));
    EXPECT_EQ("alps.NDB written", w.StatusLine->currentMessage());

    const QString firstReport = w.Messages->toPlainText();
    testfiles::WriteBytes(deep / "alps.NDB", "kept");
    answers = {mrCancel, mrYes};
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ("Output file " + Q(deep / "alps.NDB") + " already exists, Overwrite it?",
              asked[0].Text);
    EXPECT_TRUE(asked[0].DlgType == mtWarning &&
                asked[0].Buttons == TMsgDlgButtons({mbYes, mbCancel}));
    EXPECT_EQ(firstReport, w.Messages->toPlainText());
    EXPECT_EQ("kept", testfiles::ReadBytes(deep / "alps.NDB"));

    w.Convert1->trigger(); // the menu command asks the same
    ASSERT_EQ(2u, asked.size());
    EXPECT_EQ(asked[0].Text, asked[1].Text);
    EXPECT_NE("kept", testfiles::ReadBytes(deep / "alps.NDB"));
    EXPECT_TRUE(w.Messages->toPlainText().startsWith(firstReport)); // the second report follows
    EXPECT_EQ(2, Lines().count(banner));
}

TEST_F(Convert, AsksWheneverSomethingOtherThanAFolderIsInTheWay) {
    Write(dir / "alps.dat");
    Write(dir / "unreadable", "x");
    fs::permissions(dir / "unreadable", fs::perms::none);
    mkfifo((dir / "pipe").c_str(), 0600); // would block a reader
    fs::create_symlink("nowhere", dir / "dangling");
    fs::create_directory(dir / "folder");
    TMainForm& w = Start();
    const std::pair<const char*, bool> cases[] = {
        {"unreadable", true}, {"pipe", true}, {"dangling", true}, {"folder", false}};
    for (auto [name, asks] : cases) {
        SCOPED_TRACE(name);
        OutputFileName = Q(dir / name);
        asked.clear();
        if (asks)
            answers.push_back(mrCancel);
        const auto linesBefore = Lines().size();
        w.Convert1->trigger();
        EXPECT_EQ(asks ? 1u : 0u, asked.size());
        EXPECT_EQ(asks, Lines().size() == linesBefore); // Cancel converts nothing
    }
    fs::permissions(dir / "unreadable", fs::perms::owner_all);
}

TEST_F(Convert, EveryWayOfConvertingSettlesTheVariationFirstAndRefusesAnythingButAWholeNumber) {
    Write(dir / "alps.dat");
    TMainForm& w = Start();
    enum Way { Button, MenuByMouse, MenuByKeyboard, AltC };
    struct Case {
        const char* text;
        bool typed; // else dropped in while the focus is elsewhere
        Way way;
        const char* passed; // null: refused
        const char* shownAfter;
    };
    const Case cases[] = {{"75", true, MenuByMouse, "60.0", "60"},
                          {"-75", true, MenuByKeyboard, "-60.0", "-60"},
                          {"75", true, Button, "60.0", "60"},
                          {"99999999999", true, AltC, "60.0", "60"},
                          {"+7", true, Button, "7.0", "+7"},
                          {"", true, Button, nullptr, ""},
                          {"-", true, MenuByMouse, nullptr, "-"},
                          {"4.5", true, MenuByKeyboard, nullptr, "4.5"},
                          {"0x10", false, AltC, nullptr, "0x10"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" way " << c.way);
        fs::remove(dir / "alps.NDB");
        asked.clear();
        w.StatusLine->clearMessage();
        w.Variation->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.Variation->hasFocus(); }));
        w.Variation->selectAll();
        QTest::keyClick(w.Variation, Qt::Key_Delete);
        QTest::keyClicks(w.Variation, c.typed ? c.text : "");
        if (!c.typed) {
            w.Messages->setFocus();
            w.Variation->setText(c.text);
        }
        ASSERT_EQ(c.text, w.Variation->Text());
        const auto linesBefore = Lines().size();
        if (c.passed == nullptr)
            answers.push_back(mrOk);
        switch (c.way) {
        case Button:
            QTest::mouseClick(w.Convert, Qt::LeftButton);
            break;
        case MenuByMouse:
            QTest::mouseClick(w.MainMenu, Qt::LeftButton, {},
                              w.MainMenu->actionGeometry(w.FileMenu()->menuAction()).center());
            ASSERT_TRUE(QTest::qWaitForWindowExposed(w.FileMenu()));
            QTest::mouseClick(w.FileMenu(), Qt::LeftButton, {},
                              w.FileMenu()->actionGeometry(w.Convert1).center());
            break;
        case MenuByKeyboard:
            QTest::keyClick(&w, Qt::Key_F, Qt::AltModifier);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(w.FileMenu()));
            QTest::keyClick(w.FileMenu(), Qt::Key_C);
            break;
        case AltC:
            QTest::keyClick(&w, Qt::Key_C, Qt::AltModifier);
            break;
        }
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return !asked.empty() || Lines().size() > linesBefore; }));
        EXPECT_EQ(c.shownAfter, w.Variation->Text());
        if (c.passed) {
            EXPECT_TRUE(HeaderHasVariation(dir / "alps.NDB", c.passed));
            EXPECT_EQ("alps.NDB written", w.StatusLine->currentMessage());
        } else {
            ASSERT_EQ(1u, asked.size());
            EXPECT_EQ("Enter the magnetic variation as a whole number of degrees from -60 to 60.",
                      asked[0].Text);
            EXPECT_TRUE(asked[0].DlgType == mtWarning &&
                        asked[0].Buttons == TMsgDlgButtons({mbOK}));
            EXPECT_FALSE(fs::exists(dir / "alps.NDB"));
            EXPECT_EQ(linesBefore, Lines().size());
            EXPECT_EQ("", w.StatusLine->currentMessage());
            EXPECT_TRUE(QTest::qWaitFor([&] { return w.Variation->hasFocus(); }));
        }
    }
}

TEST_F(Convert, StatusLineTellsHowTheRunEndedUntilTheNextHint) {
    // An upper-case ".DAT" name in a folder whose name holds ".dat": only the file's extension
    // changes. Names are shown decoded from UTF-8.
    const fs::path folder = dir / "club.data";
    const fs::path cai = folder / "Z\xc3\xbcrich.DAT", ndb = folder / "Z\xc3\xbcrich.NDB";
    Write(cai);
    TMainForm& w = Start(folder);
    EXPECT_EQ(Paths(folder, cai, folder, ndb), Paths());

    const std::string title = "**  ------------ Test Site ------------\r\n";
    const std::string timezone = "**  ------ Timezone: 1 ------\r\n";
    const std::string home = "1,47:07.300N,009:31.200E,448M,HATL,VALLEY FIELD,Tower\r\n";
    const std::string point = "2,47:10.050N,009:36.800E,1850M,T,NORTH RIDGE,Mast\r\n";
    const std::string bad = "x\r\n";
    struct Case {
        std::string bytes;
        bool outputFolderMissing;
        const char* status;
    };
    const Case cases[] = {
        {CleanCai, false, "Z\xc3\xbcrich.NDB written"},
        {title + home + point, false, "Z\xc3\xbcrich.NDB written, 1 warning"},
        {home + point, false, "Z\xc3\xbcrich.NDB written, 2 warnings"},
        {title + timezone + point, false, "Z\xc3\xbcrich.NDB written, 1 error, see the messages"},
        {CleanCai + bad, false, "Z\xc3\xbcrich.NDB not written: 1 error, see the messages"},
        {bad + CleanCai + bad + bad, false,
         "Z\xc3\xbcrich.NDB not written: 3 errors, see the messages"},
        {CleanCai, true, "Not converted: the SN10 file could not be created"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        Write(cai, c.bytes);
        fs::remove(ndb);
        OutputFileName = c.outputFolderMissing ? Q(dir / "missing" / "x.NDB") : Q(ndb);
        QTest::mouseClick(w.Convert, Qt::LeftButton);
        EXPECT_EQ(QString::fromUtf8(c.status), w.StatusLine->currentMessage());
    }
    EXPECT_TRUE(Lines().contains("2 points read from: " + Q(cai)));
    QTest::mouseMove(w.Variation, w.Variation->rect().center());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return w.StatusLine->currentMessage() == "Variation in degrees WEST"; }));
}

TEST_F(Convert, FolderWithoutCaiFilesLeavesTheListEmptyAndReportsTheFolderUnreadable) {
    Write(dir / "readme.txt", "x");
    TMainForm& w = Start();
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_EQ(Paths(dir, dir / "", dir, dir / ""), Paths());
    const QString folder = Q(dir / "");
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    // A folder is no file to overwrite: no question.
    EXPECT_EQ(
        QStringList({Banner(folder, folder), "Could not open file: " + folder, "No CAI database"}),
        Lines());
    EXPECT_EQ("Not converted: the CAI file could not be read", w.StatusLine->currentMessage());
}

} // namespace
