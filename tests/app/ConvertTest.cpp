// The convert command from the window: the overwrite question, the banner, the variation as the
// spin edit holds it, and the engine's report in the message area.
#include "WindowFixture.h"

#include <QAction>
#include <QPushButton>
#include <sys/stat.h>

namespace {

using Convert = WindowTest;

const QString Banner(const fs::path& in, const fs::path& out) {
    return "*********** " + Q(in) + " becomes " + Q(out) + " **********";
}

// The magnetic variation the SN10 file's header line carries, e.g. "Magvar 60.0 ,".
bool HeaderHasVariation(const fs::path& ndb, const std::string& value) {
    return testfiles::ReadBytes(ndb).find("Magvar " + value + " ,") != std::string::npos;
}

TEST_F(Convert, ConvertsTheSelectedFileAndReportsInTheMemo) {
    Write(dir / "alps.dat", CleanCai);
    TMainForm& w = Start();
    QTest::mouseClick(w.Convert, Qt::LeftButton);

    EXPECT_TRUE(asked.empty());
    ASSERT_TRUE(fs::exists(dir / "alps.NDB"));
    const QStringList lines = Lines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(Banner(dir / "alps.dat", dir / "alps.NDB"), lines[0]);
    EXPECT_TRUE(lines.contains("2 points read from: " + Q(dir / "alps.dat")));
    EXPECT_TRUE(lines.contains("NOTE: CAI files have no ICAO identifier."));
    EXPECT_EQ("    database. YOU MUST CHECK THESE POINTS AND UPDATE THEM.",
              lines[lines.size() - 2]);
    EXPECT_EQ("", lines.back());
    EXPECT_TRUE(HeaderHasVariation(dir / "alps.NDB", "0.0"));
}

TEST_F(Convert, SecondRunAsksBeforeOverwritingCancelLeavesEverythingYesOverwrites) {
    Write(dir / "alps.dat", CleanCai);
    TMainForm& w = Start();
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    const QString firstReport = w.Messages->toPlainText();
    testfiles::WriteBytes(dir / "alps.NDB", "kept");

    answers.push_back(mrCancel);
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ("Output file " + Q(dir / "alps.NDB") + " already exists, Overwrite it?",
              asked[0].Text);
    EXPECT_EQ(mtWarning, asked[0].DlgType);
    EXPECT_EQ("Warning", asked[0].Caption);
    EXPECT_EQ(TMsgDlgButtons({mbYes, mbCancel}), asked[0].Buttons);
    EXPECT_EQ(firstReport, w.Messages->toPlainText());
    EXPECT_EQ("kept", testfiles::ReadBytes(dir / "alps.NDB"));

    answers.push_back(mrYes);
    w.Convert1->trigger(); // the menu command asks the same
    ASSERT_EQ(2u, asked.size());
    EXPECT_EQ(asked[0].Text, asked[1].Text);
    EXPECT_NE("kept", testfiles::ReadBytes(dir / "alps.NDB"));
    // The memo keeps the first report and adds the second one below it.
    const QStringList lines = Lines();
    EXPECT_TRUE(w.Messages->toPlainText().startsWith(firstReport));
    EXPECT_EQ(2, lines.count(Banner(dir / "alps.dat", dir / "alps.NDB")));
}

TEST_F(Convert, AsksWheneverSomethingOtherThanAFolderIsInTheWay) {
    Write(dir / "alps.dat", CleanCai);
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make;
        bool asks;
    };
    const Case cases[] = {
        {"plain file", [](const fs::path& p) { testfiles::WriteBytes(p, "x"); }, true},
        {"unreadable file",
         [](const fs::path& p) {
             testfiles::WriteBytes(p, "x");
             fs::permissions(p, fs::perms::none);
         },
         true},
        {"named pipe, which would block a reader",
         [](const fs::path& p) { mkfifo(p.c_str(), 0600); }, true},
        {"dangling link", [](const fs::path& p) { fs::create_symlink("nowhere", p); }, true},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }, false},
    };
    TMainForm& w = Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path out = dir / "alps.NDB";
        fs::remove_all(out);
        c.make(out);
        asked.clear();
        if (c.asks)
            answers.push_back(mrCancel);
        const int linesBefore = Lines().size();
        w.Convert1->trigger();
        EXPECT_EQ(c.asks ? 1u : 0u, asked.size());
        EXPECT_EQ(c.asks, Lines().size() == linesBefore);
        std::error_code ignored; // nothing to do for a link or a folder
        fs::permissions(out, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(dir / "alps.NDB");
}

TEST_F(Convert, VariationTypedOutOfRangeIsPassedAsTypedByTheMenuAndClampedByTheButton) {
    Write(dir / "alps.dat", CleanCai);
    TMainForm& w = Start();
    struct Case {
        const char* typed;
        bool viaButton;
        const char* passed;
        const char* shownAfter;
    };
    for (const Case& c : {Case{"75", false, "75.0", "75"}, Case{"75", true, "60.0", "60"},
                          Case{"-60", false, "-60.0", "-60"}, Case{"", false, "-60.0", "-60"},
                          Case{"-", true, "-60.0", "-60"}, Case{"7", true, "7.0", "7"}}) {
        SCOPED_TRACE(std::string(c.typed) + (c.viaButton ? " button" : " menu"));
        fs::remove(dir / "alps.NDB");
        w.Variation->setFocus();
        ASSERT_TRUE(WaitFor([&] { return w.Variation->hasFocus(); }));
        w.Variation->selectAll();
        QTest::keyClick(w.Variation, Qt::Key_Delete);
        QTest::keyClicks(w.Variation, c.typed);
        ASSERT_EQ(c.typed, w.Variation->Text());
        if (c.viaButton)
            QTest::mouseClick(w.Convert, Qt::LeftButton);
        else
            w.Convert1->trigger();
        EXPECT_TRUE(HeaderHasVariation(dir / "alps.NDB", c.passed))
            << testfiles::ReadBytes(dir / "alps.NDB");
        EXPECT_EQ(c.shownAfter, w.Variation->Text());
        for (const QString& line : Lines()) // the window always gives the variation
            EXPECT_FALSE(line.contains("Magnetic variation was not set"));
    }
}

TEST_F(Convert, AltCConvertsFromAnywhereInTheWindow) {
    Write(dir / "alps.dat", CleanCai);
    TMainForm& w = Start();
    w.Messages->setFocus();
    QTest::keyClick(&w, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(WaitFor([&] { return fs::exists(dir / "alps.NDB"); }));
    EXPECT_TRUE(WaitFor([&] { return !Lines().isEmpty(); }));
}

TEST_F(Convert, FolderWithoutCaiFilesReportsThatTheFileCannotBeRead) {
    TMainForm& w = Start();
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    EXPECT_TRUE(asked.empty()); // a folder is no file to overwrite
    const QString folder = Q(dir) + "/";
    EXPECT_EQ(QStringList({"*********** " + folder + " becomes " + folder + " **********",
                           "Could not open file: " + folder, "No CAI database"}),
              Lines());
}

TEST_F(Convert, LongBannerStaysOneLineAndTheChosenOutputFileIsNamed) {
    fs::path deep = dir;
    for (int i = 0; i < 6; ++i)
        deep /= std::string(50, char('a' + i));
    Write(deep / "alps.dat", CleanCai);
    TMainForm& w = Start(deep);
    choices.push_back(Choose(dir / "chosen.ndb"));
    w.FileOutputNDB->trigger();
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    const QString banner = Banner(deep / "alps.dat", dir / "chosen.ndb");
    EXPECT_GT(banner.size(), 255);
    EXPECT_EQ(banner, Lines().value(0));
    EXPECT_TRUE(fs::exists(dir / "chosen.ndb"));
}

TEST_F(Convert, ReportLinesAreShownAsUtf8WhenValidElseAsLatin1) {
    // The engine names the CAI file in its report; the file name's bytes come back as written.
    Write(dir / "z\xc3\xbcrich.dat", CleanCai); // "zürich" in UTF-8
    TMainForm& w = Start();
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    EXPECT_TRUE(
        Lines().contains("2 points read from: " + Q(dir) + QString::fromUtf8("/zürich.dat")));
}

TEST_F(Convert, SpinEditStepsByKeysButtonsAndAutoRepeatWithinItsLimits) {
    Write(dir / "alps.dat", CleanCai);
    TMainForm& w = Start();
    TCSpinEdit* v = w.Variation;
    v->setFocus();
    ASSERT_TRUE(WaitFor([&] { return v->hasFocus(); }));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(v, Qt::Key_Up);
    EXPECT_EQ(3, v->GetValue());
    QTest::keyClick(v, Qt::Key_Down);
    EXPECT_EQ(2, v->GetValue());

    TTimerSpeedButton* up = v->SpinBtn()->UpBtn();
    TTimerSpeedButton* down = v->SpinBtn()->DownBtn();
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(3, v->GetValue());
    QTest::mouseClick(down, Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(1, v->GetValue());
    EXPECT_TRUE(v->hasFocus()); // the buttons hand the focus to the edit

    // Held for about a second: one step at 400 ms, then one every 100 ms, and one on release.
    QTest::mousePress(up, Qt::LeftButton);
    QTest::qWait(1000);
    QTest::mouseRelease(up, Qt::LeftButton);
    // A busy machine may deliver fewer ticks, never more.
    const int held = v->GetValue() - 1;
    EXPECT_GE(held, 3);
    EXPECT_LE(held, 8);

    v->SetValue(59);
    QTest::keyClick(v, Qt::Key_Up);
    QTest::keyClick(v, Qt::Key_Up);
    EXPECT_EQ("60", v->Text());
    v->SetValue(-100);
    EXPECT_EQ("-60", v->Text());

    // A letter is refused with a beep.
    int beeps = 0;
    TMessageBeepHook previous = SetMessageBeepHook([&](unsigned) { ++beeps; });
    v->selectAll();
    QTest::keyClick(v, Qt::Key_X);
    SetMessageBeepHook(std::move(previous));
    EXPECT_EQ("-60", v->Text());
    EXPECT_EQ(1, beeps);
}

} // namespace
