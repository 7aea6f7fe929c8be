// SPDX-License-Identifier: MIT
// The window's rules for file names: matching and deriving them, and decoding the engine's
// report bytes.
#include <gtest/gtest.h>

#include "Main.h"

namespace {

TEST(FindFileEntry, MatchesCapitalsOfAToZAndIgnoresTrailingBlanks) {
    const QStringList entries = {
        "alps.dat", "bern.dat", "ALPS.DAT", "cham.dat \t", QString::fromUtf8("été.dat"), "zug.dat"};
    // Only a-z are folded; blanks in front and carriage returns count.
    const std::pair<QString, int> cases[] = {
        {"ALPS.DAT", 0},    {"Bern.Dat", 1},
        {"bern.dat\n", 1},  {"cham.dat", 3},
        {"ZUG.DAT", 5},     {"alps.dat2", -1},
        {"alps.da", -1},    {" alps.dat", -1},
        {"alps.dat\r", -1}, {QString::fromUtf8("ÉTÉ.DAT"), -1}};
    for (const auto& [name, index] : cases)
        EXPECT_EQ(index, FindFileEntry(entries, name)) << name.toStdString();
}

TEST(DeriveOutputFileName, PutsTheOwnNameWithItsFirstDatMadeNdbIntoTheOutputFolder) {
    // Folder names never change, whatever they hold; the window's tests cover the rest.
    OutputDirectory = "/new.dat";
    InputFileName = "/old.data/alps.data.DAT";
    DeriveOutputFileName();
    EXPECT_EQ("/new.dat/alps.NDBa.DAT", OutputFileName);
    InputFileName = OutputDirectory = OutputFileName = QString();
}

TEST(DecodeReportLine, TakesValidUtf8AsSuchAndAnythingElseAsLatin1) {
    for (const char* bytes :
         {"plain ascii", "Z\xc3\xbcrich", "\xe2\x82\xac 5", "\xf0\x9f\x9b\xa9", ""})
        EXPECT_EQ(QString::fromUtf8(bytes), DecodeReportLine(bytes)) << bytes;
    // Plain Latin-1, overlong, surrogate, beyond U+10FFFF, cut short, lone continuation, and a
    // NUL that must not end the line.
    const std::string_view latin1[] = {"Z\xfcrich", "\xc0\xaf", "\xed\xa0\x80",  "\xf4\x90\x80\x80",
                                       "end \xc3",  "\x80",     {"nul\0\xe9", 5}};
    for (std::string_view b : latin1)
        EXPECT_EQ(QString::fromLatin1(b.data(), qsizetype(b.size())), DecodeReportLine(b)) << b;
}

} // namespace
