// SPDX-License-Identifier: MIT
// The convert command from the window: the overwrite question, the banner, the variation as the
// field shows it, the engine's report in the message area and the outcome in the status line.
#include "WindowFixture.h"

#include <sys/stat.h>

namespace {

using Convert = WindowTest;

TEST_F(Convert, EveryWayOfConvertingSettlesTheVariationFirstAndRefusesAnythingButAWholeNumber) {
    Write(dir / "alps.dat");
    TMainForm& w = Start();
    const std::function<void()> ways[] = {
        [&] { QTest::mouseClick(w.Convert, Qt::LeftButton); },
        [&] {
            QTest::mouseClick(OpenFileMenu(), Qt::LeftButton, {},
                              w.FileMenu()->actionGeometry(w.Convert1).center());
        },
        [&] {
            QTest::keyClick(&w, Qt::Key_F, Qt::AltModifier);
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w.FileMenu()));
            QTest::keyClick(w.FileMenu(), Qt::Key_C);
        },
        [&] { QTest::keyClick(&w, Qt::Key_C, Qt::AltModifier); }};
    enum { Button, MenuByMouse, MenuByKeyboard, AltC };
    // Typed text, way of converting, variation written (null: refused), text shown afterwards.
    // "0x10" cannot be typed: it is dropped in while the focus is elsewhere.
    const std::tuple<const char*, int, const char*, const char*> cases[] = {
        {"75", MenuByMouse, "60.0", "60"}, {"-75", MenuByKeyboard, "-60.0", "-60"},
        {"75", Button, "60.0", "60"},      {"99999999999", AltC, "60.0", "60"},
        {"+7", Button, "7.0", "+7"},       {"", Button, nullptr, ""},
        {"-", MenuByMouse, nullptr, "-"},  {"4.5", MenuByKeyboard, nullptr, "4.5"},
        {"0x10", AltC, nullptr, "0x10"}};
    for (const auto& [text, way, passed, shownAfter] : cases) {
        SCOPED_TRACE(testing::Message() << '"' << text << "\" way " << way);
        fs::remove(dir / "alps.NDB");
        w.StatusLine->clearMessage();
        w.Variation->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.Variation->hasFocus(); }));
        w.Variation->selectAll();
        QTest::keyClick(w.Variation, Qt::Key_Delete);
        QTest::keyClicks(w.Variation, text);
        if (w.Variation->Text() != text) {
            w.Messages->setFocus();
            w.Variation->setText(text);
        }
        const auto linesBefore = Lines().size();
        if (passed == nullptr)
            answers.push_back(mrOk); // for the warning
        ways[way]();
        EXPECT_TRUE(QTest::qWaitFor([&, passed = passed] {
            return passed ? Lines().size() > linesBefore : asked.size() == answers.size();
        }));
        EXPECT_EQ(shownAfter, w.Variation->Text());
        // The SN10 header carries the variation, e.g. "Magvar 60.0 ,".
        const std::string sn10 = testfiles::ReadBytes(dir / "alps.NDB");
        EXPECT_TRUE(passed ? sn10.find(std::string("Magvar ") + passed + " ,") != sn10.npos
                           : sn10.empty());
        // A refused entry converts and reports nothing, and the field has the focus, its text
        // selected.
        EXPECT_TRUE(passed ||
                    (Lines().size() == linesBefore && w.StatusLine->currentMessage().isEmpty() &&
                     w.Variation->selectedText() == text &&
                     QTest::qWaitFor([&] { return w.Variation->hasFocus(); })));
    }
    for (const MessageBoxRequest& r : asked)
        EXPECT_TRUE(r.DlgType == mtWarning && r.Buttons == TMsgDlgButtons({mbOK}) &&
                    r.Text == "Enter the magnetic variation as a whole number of degrees from "
                              "-60 to 60.");
}

TEST_F(Convert, StatusLineTellsHowTheRunEndedAndAnythingButAFolderInTheWayIsAskedAbout) {
    // In a folder without CAI files the list is empty; the folder itself is no file to
    // overwrite (no question) and cannot be read.
    const fs::path folder = dir / "club.data";
    fs::create_directory(folder);
    TMainForm& w = Start(folder);
    EXPECT_EQ(Paths(folder, folder / "", folder, folder / ""), Paths());
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    const QString bare = Q(folder / "");
    EXPECT_EQ(QStringList({"*********** " + bare + " becomes " + bare + " **********",
                           "Could not open file: " + bare, "No CAI database"}),
              Lines());
    EXPECT_EQ("Not converted: the CAI file could not be read", w.StatusLine->currentMessage());

    // An upper-case ".DAT" name in a folder whose name holds ".dat": only the file's extension
    // changes. Names are shown decoded from UTF-8.
    const fs::path cai = folder / "Z\xc3\xbcrich.DAT", ndb = folder / "Z\xc3\xbcrich.NDB";
    Write(cai);
    w.Refresh->trigger();
    EXPECT_EQ(Paths(folder, cai, folder, ndb), Paths());
    const auto line = [](int i) { return testfiles::SplitCrLf(CleanCai)[i] + "\r\n"; };
    const std::string bad = "x,47:07.300N,009:31.200E,448M,T,BAD\r\n", name = "Z\xc3\xbcrich.NDB";
    const std::pair<std::string, std::string> cases[] = {
        {CleanCai, name + " written"},
        {line(0) + line(2) + line(3), name + " written, 1 warning"},
        {line(2) + line(3), name + " written, 2 warnings"},
        {line(0) + line(3), name + " written, 1 error, 1 warning, see the messages"},
        {CleanCai + bad, name + " not written: 1 error, see the messages"},
        {bad + CleanCai + bad + bad, name + " not written: 3 errors, see the messages"},
        {CleanCai, "Not converted: the SN10 file could not be created"}};
    for (const auto& [bytes, status] : cases) {
        SCOPED_TRACE(status);
        Write(cai, bytes);
        fs::remove(ndb);
        OutputFileName = Q(status.starts_with("Not") ? dir / "missing" / "x.NDB" : ndb);
        QTest::mouseClick(w.Convert, Qt::LeftButton);
        EXPECT_EQ(QString::fromStdString(status), w.StatusLine->currentMessage());
    }
    EXPECT_TRUE(Lines().contains("2 points read from: " + Q(cai)));
    QTest::mouseMove(w.Variation, w.Variation->rect().center());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return w.StatusLine->currentMessage() == "Variation in degrees WEST"; }));

    // A file in the way is asked about: Cancel keeps it and the report, Yes replaces it; the
    // menu command asks the same.
    OutputFileName = Q(ndb);
    testfiles::WriteBytes(ndb, "kept");
    const QString report = w.Messages->toPlainText();
    const auto reported = Lines().size();
    answers = {mrCancel, mrYes, mrCancel, mrCancel, mrCancel};
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ("Output file " + Q(ndb) + " already exists, Overwrite it?", asked[0].Text);
    EXPECT_TRUE(asked[0].DlgType == mtWarning &&
                asked[0].Buttons == TMsgDlgButtons({mbYes, mbCancel}));
    EXPECT_EQ(report, w.Messages->toPlainText());
    EXPECT_EQ("kept", testfiles::ReadBytes(ndb));
    w.Convert1->trigger();
    ASSERT_EQ(2u, asked.size());
    EXPECT_EQ(asked[0].Text, asked[1].Text);
    EXPECT_NE("kept", testfiles::ReadBytes(ndb));
    EXPECT_TRUE(w.Messages->toPlainText().startsWith(report)); // the new report follows
    EXPECT_EQ("*********** " + Q(cai) + " becomes " + Q(ndb) + " **********", Lines()[reported]);

    // So is whatever else is in the way, even what cannot be opened; a folder is not.
    Write(dir / "unreadable", "x");
    fs::permissions(dir / "unreadable", fs::perms::none);
    mkfifo((dir / "pipe").c_str(), 0600); // would block a reader
    fs::create_symlink("nowhere", dir / "dangling");
    for (const char* what : {"unreadable", "pipe", "dangling", "club.data"}) {
        OutputFileName = Q(dir / what);
        w.Convert1->trigger();
    }
    EXPECT_EQ(5u, asked.size());
    EXPECT_EQ(10, Lines().filter(" becomes ").size()); // Cancel converted nothing

    // A CUP file from the list converts with the defaults: its first airfield is home, and the
    // timezone and the title are the writer's, each with a warning.
    const fs::path cup = folder / "Alps.cup", cupNdb = folder / "Alps.NDB";
    testfiles::WriteBytes(cup, "name,code,country,lat,lon,elev,style\r\n"
                               "North Ridge,NRIDGE,CH,4710.050N,00936.800E,1850m,1\r\n"
                               "Valley Field,VALLEY,CH,4707.300N,00931.200E,448m,5\r\n");
    w.Refresh->trigger();
    w.CAIfiles->setCurrentIndex(w.CAIfiles->findText("Alps.cup"));
    QTest::mouseClick(w.Convert, Qt::LeftButton);
    EXPECT_EQ("Alps.NDB written, 3 warnings", w.StatusLine->currentMessage());
    EXPECT_TRUE(Lines().contains("Warning " + Q(cupNdb) +
                                 " 6: Home point not set, first airfield Valley Field was used."));
}

} // namespace
