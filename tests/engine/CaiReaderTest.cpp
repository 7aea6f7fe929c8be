// SPDX-License-Identifier: MIT
#include "CaiReader.h"
#include "EngineFixture.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using Lines = std::vector<std::string>;

class ReaderTest : public EngineTest {
protected:
    // Reads a CAI text the way a run does, without writing anything.
    bool Read(const std::string& bytes) {
        lines.clear();
        ResetConversionState(0.0f, 1, Cai(bytes));
        return ReadCaiFile(ConverterState.CaiFileName);
    }
    const Turnpoint& Point(int i) const { return TurnpointTable[i]; }
    std::string ErrorAt(int line, const char* message) const {
        return "Error " + paths.front() + " " + std::to_string(line) + ": " + message;
    }
};

TEST(GetField, CutsFieldsAtEveryComma) {
    const std::string longLine(210, 'x'), readPart(201, 'x');
    struct Case {
        const char* line;
        int field;
        int size;
        const char* expected;
    } cases[] = {
        {"1,  52:08.900N  ,x", 2, 200, "52:08.900N  "}, // leading blanks go, trailing stay
        {"1,a b\tc,x", 2, 200, "a b\tc"},
        {"1,,x", 2, 200, ""},
        {"1,2", 5, 200, ""}, // a missing field is empty
        {"1,2,3,4,5,6,7,8,9", 8, 200, "8"},
        {"1,abcdef", 2, 4, "abc"}, // out keeps size - 1 characters
        {"", 1, 200, ""},
        {" \t 12 ", 1, 200, "12 "},
        {longLine.c_str(), 1, 300, readPart.c_str()}, // 201 characters are read
    };
    for (const auto& c : cases) {
        char out[300];
        std::memset(out, 'z', sizeof out);
        GetField(c.line, c.field, ',', out, c.size);
        EXPECT_STREQ(c.expected, out) << c.line << " #" << c.field;
    }
}

TEST_F(ReaderTest, EmptyAndCommentOnlyFilesGiveNoPoints) {
    for (const char* text : {"", "\n\n", "* one\r\n   * two\r\n\r\n",
                             "\x1A"
                             "1,1:00N,1:00E,1M,T,X,y\n"}) {
        EXPECT_TRUE(Read(text));
        EXPECT_EQ(0, ConverterState.PointCount);
        EXPECT_EQ(-1, ConverterState.HomeIndex);
        EXPECT_EQ(Lines{}, lines);
    }
}

TEST_F(ReaderTest, HeadersOnlyOnTheirOwnLines) {
    struct Case {
        const char* text;
        const char* title;
        float timezone;
        int timezoneSet;
    } cases[] = {
        {"**  ------------ My Site ----------------\n", "My Site", -4.0f, 0},
        {"**  ------------ -----\n", "-", -4.0f, 0},
        {"**  ------------ \n", "", -4.0f, 0}, // nothing after the prefix: no line break
        {"**  ------------ \r\n", "", -4.0f, 0},
        {"**  ------------ A\x1A", "A", -4.0f, 0},
        {"**  ------------ \r\r\n", "", -4.0f, 0}, // line breaks alone are no title
        {"**  ------------ \rABC\n", "\rABC", -4.0f, 0},
        {"\xEF\xBB\xBF**  ------------ Marked\n", "Marked", -4.0f, 0}, // byte-order mark
        {"\xEF\xBB\xBFx\n**  ------ Timezone: 2\n", "", 2.0f, 1},
        {"\n**  ------------ My Site\n", "", -4.0f, 0},
        {"x\n**  ------ Timezone: -5 ------\n", "", -5.0f, 1},
        {"x\n**  ------ Timezone: none\n", "", -4.0f, 0},
        {"x\n**  ------ Timezone: inf\n", "", -4.0f, 0},
        {"x\n**  ------ Timezone: 1e6\n", "", -4.0f, 0},
        {"x\n**  ------ Timezone: 999999\n", "", 999999.0f, 1},
        {"x\n**  ------ Timezone: 0x10\n", "", 0.0f, 1}, // decimal only: the 0 before the x
        {"x\nx\n**  ------ Timezone: 3\n", "", -4.0f, 0},
        {"**  ------ Timezone: 3\n", "", -4.0f, 0},
        {"x\n**  ------------ Late title\n", "", -4.0f, 0},
    };
    for (const auto& c : cases) {
        Read(c.text);
        EXPECT_STREQ(c.title, ConverterState.SiteTitle) << c.text;
        EXPECT_EQ(c.timezone, ConverterState.Timezone) << c.text;
        EXPECT_EQ(c.timezoneSet, ConverterState.TimezoneSet) << c.text;
    }
}

TEST_F(ReaderTest, PointFieldsAndDerivedNames) {
    ASSERT_TRUE(Read("7,  52:08.900N  ,006:20:16E,104M,AT,AB,\"quoted\" comment\r\n"
                     "1234,1:00N,1:00E,1M,T,HILLTOP \"STRIP\"\n"
                     "123,1:00N,1:00E,1M,T,ABC\n"
                     "-5,1:00N,1:00E,1M,T,AB\n"
                     "7,1:00N,1:00E,1M,T,WEST\"WOOD STRIP ABCDEFGHIJ\n"
                     "abc\n"
                     "4294967303,1:00N,1:00E,1M,T,X\n"
                     "999,1:00N,1:00E,1M,T,AB\n"
                     "1000,1:00N,1:00E,1M,T,THOUSAND\n"));
    EXPECT_EQ(9, ConverterState.PointCount);
    const Turnpoint& p = Point(0);
    EXPECT_EQ(7, p.PointId);
    EXPECT_STREQ("52:08.900N  ", p.Latitude);
    EXPECT_STREQ("006:20:16E", p.Longitude);
    EXPECT_STREQ("104M", p.Elevation);
    EXPECT_STREQ("\"quoted\" comment", p.Comment); // the carriage return belongs to the line end
    EXPECT_STREQ("07   AB", p.ShortName);
    EXPECT_EQ(1, p.SourceLine);
    EXPECT_STREQ("HILLTOP", Point(1).ShortName);
    EXPECT_STREQ("HILLTOP 'STRIP'", Point(1).LongName);
    EXPECT_STREQ("123  AB", Point(2).ShortName);
    EXPECT_STREQ("-5   AB", Point(3).ShortName);
    EXPECT_STREQ("WEST\"WOOD STRIP ABCDEFGHIJ", Point(4).Name);
    EXPECT_STREQ("07WEST'", Point(4).ShortName);
    EXPECT_STREQ("WEST'WOOD STRIP ", Point(4).LongName);
    EXPECT_EQ(0, Point(5).PointId);
    EXPECT_STREQ("00", std::string(Point(5).ShortName).substr(0, 2).c_str());
    EXPECT_EQ(0, Point(6).PointId); // beyond 32 bits is no number
    EXPECT_STREQ("999   A", Point(7).ShortName);
    EXPECT_STREQ("THOUSAN", Point(8).ShortName);
    EXPECT_EQ((Lines{ErrorAt(6, "Invalid or missing point ID number"),
                     ErrorAt(6, "Invalid latitude: "), ErrorAt(6, "Invalid longitude: "),
                     ErrorAt(7, "Invalid or missing point ID number")}),
              lines);
}

TEST_F(ReaderTest, TypeLetters) {
    Read("1,1:00N,1:00E,1M,HAT,ONE\n2,1:00N,1:00E,1M,hat,TWO\n3,1:00N,1:00E,1M,A "
         "T,THREE\n4,1:00N,1:00E,1M,XY,FOUR\n"
         "5,1:00N,1:00E,1M,smfrl,FIVE\n6,1:00N,1:00E,1M,,SIX\n"
         "7,1:00N,1:00E,1M,TTTTTTTTTTTTTTTTTTX,SEVEN\n8,1:00N,1:00E,1M,TTTTTTTTTTTTTTTTTTTX,"
         "EIGHT\n");
    EXPECT_EQ(0, ConverterState.HomeIndex);
    auto flags = [&](int i) {
        const Turnpoint& p = Point(i);
        return std::string{char('0' + p.IsLandable),  char('0' + p.IsAirport),
                           char('0' + p.IsTurnpoint), char('0' + p.IsStart),
                           char('0' + p.IsFinish),    char('0' + p.IsMarkpoint)};
    };
    EXPECT_EQ("111000", flags(0));
    EXPECT_EQ("111000", flags(1));
    EXPECT_EQ("111000", flags(2));
    EXPECT_EQ("000000", flags(3));
    EXPECT_EQ("100111", flags(4));
    EXPECT_EQ("000000", flags(5));
    EXPECT_EQ((Lines{ErrorAt(2, "Duplicate home point"), ErrorAt(3, "unrecognized turnpoint type"),
                     "    Point type: A T", ErrorAt(4, "unrecognized turnpoint type"),
                     "    Point type: XY", ErrorAt(4, "unrecognized turnpoint type"),
                     "    Point type: XY", ErrorAt(7, "unrecognized turnpoint type"),
                     "    Point type: TTTTTTTTTTTTTTTTTTX"}), // a 20th letter is not read
              lines);
    EXPECT_EQ(5, ErrorCount);
}

TEST_F(ReaderTest, LongLinesAreReadInPiecesOf199) {
    std::string line = "1,1:00N,1:00E,1M,T," + std::string(240, 'N') + "\n";
    Read(line);
    EXPECT_EQ(2, ConverterState.LineNumber);
    EXPECT_EQ(2, ConverterState.PointCount);
    EXPECT_EQ(199u - 19u, std::strlen(Point(0).Name));
    EXPECT_EQ((Lines{ErrorAt(2, "Invalid or missing point ID number"),
                     ErrorAt(2, "Invalid latitude: "), ErrorAt(2, "Invalid longitude: ")}),
              lines);
}

TEST_F(ReaderTest, PointLinesPastTheTable) {
    // 1799 points can be converted; the 1800th fills the table and is reported, the next nine
    // each with their line, and all further ones in one line at the end of reading.
    for (const bool cup : {false, true}) {
        for (const int count : {1801, 1809, 1810, 1812}) {
            std::string text = cup ? "name,code,country,lat,lon\r\n" : "";
            for (int i = 1; i <= count; ++i)
                text +=
                    cup ? "P" + std::to_string(i) + ",,,4500N,00700E\r\n"
                        : std::to_string(i) + ",1:00N,1:00E,1M,T,P" + std::to_string(i) + "\r\n";
            const ConversionResult result = Convert(text, cup ? "in.cup" : "in.dat");
            const int header = cup ? 1 : 0;
            const std::string file = paths[paths.size() - 2];
            Lines expected = {"Error " + file + " " + std::to_string(1800 + header) +
                              ": Too many points in " + (cup ? "CUP" : "CAI") + " data"};
            for (int i = 1801; i <= std::min(count, 1809); ++i) {
                const std::string line = testfiles::SplitCrLf(text)[i - 1 + header];
                expected.insert(expected.end(),
                                {"Error " + file + " " + std::to_string(i + header) + ": ",
                                 "Bad format.", "\t" + line, ""});
            }
            if (count > 1809)
                expected.push_back("Error " + file + " " + std::to_string(count + header) + ": " +
                                   std::to_string(count - 1809) +
                                   " more point lines did not fit into the table of 1799 points");
            expected.push_back("1799 points read from: " + file);
            EXPECT_EQ(expected,
                      Lines(lines.begin(), lines.begin() + static_cast<long>(expected.size())))
                << count;
            EXPECT_EQ(count - 1799, result.errors) << count;
            EXPECT_EQ(1800, ConverterState.PointCount);
        }
    }
}

TEST_F(ReaderTest, CoordinatesMustBePositions) {
    struct Case {
        const char* latitude;
        const char* longitude;
        bool latitudeValid, longitudeValid;
    } cases[] = {
        {"90:00.000N", "180:00:00E", true, true},   {"90:00.001N", "180:00:01E", false, false},
        {"89:59.999N", "179:59.999e", true, true},  {"89:60.000N", "7:60W", false, false},
        {"5:07S", "07:00:59.99W", true, true},      {"50:48:51N ", "6:11:29 E  ", true, true},
        {"50:48:51 s", "006:11:29\tw", true, true}, {"121:10:51N", "121:10:51", false, false},
        {"50:48:60N", "6:11", false, false},        {"50:4N", "6:11:2E", false, false},
        {"50:48.N", "6:11:29.E", false, false},     {"50:48:51NN", "6:11:29X", false, false},
        {"N50:48", "0006:11E", false, false},       {"-5:00N", "+6:00E", false, false},
    };
    for (const auto& c : cases) {
        Read(std::string("1,") + c.latitude + "," + c.longitude + ",1M,T,X\n");
        Lines expected;
        if (!c.latitudeValid)
            expected.push_back(ErrorAt(1, "Invalid latitude: ") + c.latitude);
        if (!c.longitudeValid)
            expected.push_back(ErrorAt(1, "Invalid longitude: ") + c.longitude);
        EXPECT_EQ(expected, lines) << c.latitude << " " << c.longitude;
        EXPECT_STREQ(c.latitude, Point(0).Latitude); // kept as read
    }
}

TEST_F(ReaderTest, LinesAcrossTheReadBlocks) {
    // Read blocks end at every 64 KiB mark, whatever their power of two. Comment lines fill the
    // file up to a mark: there a point line's CR LF pair is split, a name starts with the bytes
    // of a byte-order mark (which only the file's start may skip), and a Ctrl-Z cuts a line.
    std::string text;
    auto fillTo = [&](std::size_t mark) {
        while (text.size() + 100 < mark)
            text += "*" + std::string(97, '-') + "\r\n";
        text += "*" + std::string(mark - text.size() - 3, '-') + "\r\n";
    };
    const std::string point = "1,1:00N,1:00E,1M,HT,NAME,comment";
    fillTo(65536 - point.size() - 1);
    text += point + "\r\n";
    fillTo(131072 - 19);
    text += "2,1:00N,1:00E,1M,T,\xEF\xBB\xBFMARK\r\n3,1:00N,1:00E,1M,T,THIRD,cut\x1Ahere\r\n4,1:"
            "00N,1:00E,1M,T,FOURTH\r\n";
    ASSERT_EQ('\r', text[65535]);
    ASSERT_EQ('\xEF', text[131072]);
    Read(text);
    EXPECT_EQ(3, ConverterState.PointCount);
    EXPECT_STREQ("comment", Point(0).Comment);
    EXPECT_STREQ("?MARK", Point(1).Name); // a line of UTF-8, in Windows-1252
    EXPECT_STREQ("cut", Point(2).Comment);
    EXPECT_EQ(Lines{}, lines);
}

TEST_F(ReaderTest, DosTextModeAndHostileBytes) {
    // A byte-order mark at the start is skipped; CR LF and LF give the same fields; a lone CR
    // stays; Ctrl-Z ends the file; NUL ends a line's text but not the line; in a line that is no
    // UTF-8, bytes above 127 are ordinary characters.
    using namespace std::string_literals;
    Read("\xEF\xBB\xBF"
         "1,1:00N,1:00E,1M,T,ONE\r\n2,1:00N,1:00E,1M,T,TW\rO\n3,1:00N,1:00E\0junk,c,T,THREE\n"
         "4,1:00N,1:00E,1M,T,\xFF\xFE,\xE9t\xE9\n\x1A"
         "5,1:00N,1:00E,1M,T,FIVE\n"s);
    EXPECT_EQ(4, ConverterState.PointCount);
    EXPECT_STREQ("ONE", Point(0).Name);
    EXPECT_STREQ("TW\rO", Point(1).Name);
    EXPECT_STREQ("1:00E", Point(2).Longitude);
    EXPECT_STREQ("", Point(2).Name);
    EXPECT_STREQ("\xFF\xFE", Point(3).Name);
    EXPECT_STREQ("\xE9t\xE9", Point(3).Comment);
    EXPECT_EQ(Lines{}, lines);
}

TEST_F(ReaderTest, ReadErrorIsNotTakenForTheEnd) {
    // Reading this process's memory from address 0 fails with an I/O error.
    lines.clear();
    ResetConversionState(0, 1, "/proc/self/mem");
    if (!ReadCaiFile("/proc/self/mem"))
        GTEST_SKIP() << "no /proc/self/mem";
    EXPECT_EQ(Lines{"Error /proc/self/mem 0: Read error in CAI file"}, lines);
    EXPECT_EQ(1, ErrorCount);
}

} // namespace
