// The window's rules for file names: cutting, matching and deriving them, listing CAI files,
// replacing text, and decoding the engine's report bytes.
#include <gtest/gtest.h>

#include <QDir>

#include "Main.h"
#include "SysUtils.h"
#include "TestFiles.h"

namespace {

TEST(FileNamePart, CutsAfterTheLastSeparator) {
    struct Case {
        const char* path;
        const char* name;
    };
    for (const Case& c :
         {Case{"", ""}, Case{"alps.dat", "alps.dat"}, Case{"/nav/alps.dat", "alps.dat"},
          Case{"/nav/sub/", ""}, Case{"//alps.dat", "alps.dat"}, Case{"/", ""},
          Case{"c:alps.dat", "c:alps.dat"}}) // ":" is no separator here
        EXPECT_EQ(c.name, FileNamePart(c.path)) << c.path;
}

TEST(FindFileEntry, MatchesCapitalsOfAToZAndIgnoresTrailingBlanks) {
    const QStringList entries = {"alps.dat", "bern.dat", "ALPS.DAT", "cham.dat \t",
                                 "\xc3\xa9t\xc3\xa9.dat"};
    struct Case {
        QString name;
        int index;
    };
    for (const Case& c :
         {Case{"alps.dat", 0}, Case{"ALPS.DAT", 0}, Case{"Bern.Dat", 1}, Case{"alps.dat  ", 0},
          Case{"bern.dat\n", 1}, Case{"cham.dat", 3}, Case{"alps.dat2", -1}, Case{"alps.da", -1},
          Case{"", -1}, Case{" alps.dat", -1}, Case{"alps.dat\r", -1},
          Case{QString::fromUtf8("été.dat"), 4},
          Case{QString::fromUtf8("ÉTÉ.DAT"), -1}}) // only a-z are folded
        EXPECT_EQ(c.index, FindFileEntry(entries, c.name)) << c.name.toStdString();
    EXPECT_EQ(-1, FindFileEntry({}, "alps.dat"));
}

struct DeriveCase {
    const char* inputDirectory;
    const char* outputDirectory;
    const char* inputFileName;
    const char* outputFileName;
};

TEST(DeriveOutputFileName, ReplacesTheExtensionAndTheFolder) {
    const DeriveCase cases[] = {
        {"/nav", "/nav", "/nav/alps.dat", "/nav/alps.NDB"},
        {"/nav", "/sn10", "/nav/alps.dat", "/sn10/alps.NDB"},
        {"/nav", "/sn10", "/nav/ALPS.Dat", "/sn10/ALPS.NDB"},
        {"/", "/", "//alps.dat", "//alps.NDB"},
        {"/nav", "/out", "/nav/", "/out/"},                 // empty list
        {"/NAV", "/out", "/nav/alps.dat", "/out/alps.NDB"}, // the folder is found in any case
        // Only the first ".dat" of the whole path changes, even in a folder name; the folder
        // replacement then finds the old folder no more.
        {"/old.data", "/old.data", "/old.data/x.dat", "/old.NDBa/x.dat"},
        {"/nav", "/out", "/nav/alps.data.dat", "/out/alps.NDBa.dat"},
    };
    for (const DeriveCase& c : cases) {
        InputDirectory = c.inputDirectory;
        OutputDirectory = c.outputDirectory;
        InputFileName = c.inputFileName;
        DeriveOutputFileName();
        EXPECT_EQ(c.outputFileName, OutputFileName) << c.inputFileName;
    }
    InputDirectory = InputFileName = OutputDirectory = OutputFileName = QString();
}

TEST(StringReplace, ReplacesFirstOrEveryOccurrenceWithOrWithoutCase) {
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        TReplaceFlags flags;
        const char* result;
    };
    const Case cases[] = {
        {"a.dat.DAT", ".DAT", ".NDB", {rfIgnoreCase}, "a.NDB.DAT"},
        {"a.dat.DAT", ".DAT", ".NDB", {}, "a.dat.NDB"},
        {"a.dat.DAT", ".DAT", ".NDB", {rfIgnoreCase, rfReplaceAll}, "a.NDB.NDB"},
        {"aaa", "a", "aa", {rfReplaceAll}, "aaaaaa"}, // replacements are not searched again
        {"abc", "", "x", {rfReplaceAll}, "abc"},
        {"abc", "x", "y", {rfIgnoreCase}, "abc"},
        {"", "x", "y", {}, ""},
        {"abc", "abc", "", {}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, StringReplace(c.text, c.from, c.to, c.flags))
            << c.text << " " << c.from;
}

TEST(DecodeReportLine, TakesValidUtf8AsSuchAndAnythingElseAsLatin1) {
    struct Case {
        std::string bytes;
        QString shown;
    };
    const Case cases[] = {
        {"plain ascii", "plain ascii"},
        {"Z\xc3\xbcrich", QString::fromUtf8("Zürich")},
        {"Z\xfcrich", QString::fromUtf8("Zürich")}, // Latin-1
        {"\xe2\x82\xac 5", QString::fromUtf8("€ 5")},
        {"\xf0\x9f\x9b\xa9", QString::fromUtf8("\xf0\x9f\x9b\xa9")},   // four bytes
        {"\xc0\xaf", QString::fromLatin1("\xc0\xaf")},                 // overlong
        {"\xed\xa0\x80", QString::fromLatin1("\xed\xa0\x80")},         // surrogate
        {"\xf4\x90\x80\x80", QString::fromLatin1("\xf4\x90\x80\x80")}, // beyond U+10FFFF
        {"end \xc3", QString::fromLatin1("end \xc3")},                 // cut short
        {"\x80", QString::fromLatin1("\x80")},                         // lone continuation
        {std::string("nul\0in", 6), QString::fromLatin1("nul\0in", 6)},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.shown, DecodeReportLine(c.bytes)) << c.bytes;
}

} // namespace
