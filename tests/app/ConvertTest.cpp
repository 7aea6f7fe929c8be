// The convert command from the window: the overwrite question, the banner, the variation as the
// spin edit holds it, and the engine's report in the message area.
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
    Write(dir / "alps.dat");
    TMainForm& w = Start();
    const QString banner = Banner(Q(dir / "alps.dat"), Q(dir / "alps.NDB"));
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    const QStringList lines = Lines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(banner, lines[0]);
    EXPECT_TRUE(lines.contains("2 points read from: " + Q(dir / "alps.dat")));
    EXPECT_EQ("    database. YOU MUST CHECK THESE POINTS AND UPDATE THEM.", lines.end()[-2]);
    EXPECT_TRUE(HeaderHasVariation(dir / "alps.NDB", "0.0"));

    const QString firstReport = w.Messages->toPlainText();
    testfiles::WriteBytes(dir / "alps.NDB", "kept");
    answers = {mrCancel, mrYes};
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ("Output file " + Q(dir / "alps.NDB") + " already exists, Overwrite it?",
              asked[0].Text);
    EXPECT_TRUE(asked[0].DlgType == mtWarning &&
                asked[0].Buttons == TMsgDlgButtons({mbYes, mbCancel}));
    EXPECT_EQ(firstReport, w.Messages->toPlainText());
    EXPECT_EQ("kept", testfiles::ReadBytes(dir / "alps.NDB"));

    w.Convert1->trigger(); // the menu command asks the same
    ASSERT_EQ(2u, asked.size());
    EXPECT_EQ(asked[0].Text, asked[1].Text);
    EXPECT_NE("kept", testfiles::ReadBytes(dir / "alps.NDB"));
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

TEST_F(Convert, VariationTypedOutOfRangeIsPassedAsTypedByTheMenuAndClampedByTheButton) {
    Write(dir / "alps.dat");
    TMainForm& w = Start();
    struct Case {
        const char* typed;
        bool viaButton;
        const char *passed, *shownAfter;
    };
    for (const Case& c : {Case{"75", false, "75.0", "75"}, Case{"75", true, "60.0", "60"},
                          Case{"", false, "-60.0", "-60"}, Case{"-", true, "-60.0", "-60"},
                          Case{"7", true, "7.0", "7"}}) {
        SCOPED_TRACE(std::string(c.typed) + (c.viaButton ? " button" : " menu"));
        fs::remove(dir / "alps.NDB");
        w.Variation->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.Variation->hasFocus(); }));
        w.Variation->selectAll();
        QTest::keyClick(w.Variation, Qt::Key_Delete);
        QTest::keyClicks(w.Variation, c.typed);
        ASSERT_EQ(c.typed, w.Variation->Text());
        if (c.viaButton)
            QTest::mouseClick(w.Convert, Qt::LeftButton);
        else
            w.Convert1->trigger();
        EXPECT_TRUE(HeaderHasVariation(dir / "alps.NDB", c.passed));
        EXPECT_EQ(c.shownAfter, w.Variation->Text());
        EXPECT_FALSE(w.Messages->toPlainText().contains("Magnetic variation was not set"));
    }
}

TEST_F(Convert, AltCConvertsFromAnywhereAndTheReportIsDecoded) {
    Write(dir / "z\xc3\xbcrich.dat"); // "zürich" in UTF-8; the report names it
    TMainForm& w = Start();
    w.Messages->setFocus();
    QTest::keyClick(&w, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return Lines().contains("2 points read from: " + Q(dir) + QString::fromUtf8("/zürich.dat"));
    }));
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
}

TEST_F(Convert, LongBannerStaysOneLineAndNamesTheChosenOutputFile) {
    fs::path deep = dir;
    for (int i = 0; i < 6; ++i)
        deep /= std::string(50, char('a' + i));
    Write(deep / "alps.dat");
    TMainForm& w = Start(deep);
    choices.push_back(dir / "chosen.ndb");
    w.FileOutputNDB->trigger();
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    const QString banner = Banner(Q(deep / "alps.dat"), Q(dir / "chosen.ndb"));
    EXPECT_GT(banner.size(), 255);
    EXPECT_EQ(banner, Lines().value(0));
    EXPECT_TRUE(fs::exists(dir / "chosen.ndb"));
}

} // namespace
