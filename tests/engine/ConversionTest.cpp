#include "EngineFixture.h"
#include "Sn10Writer.h"

#include <cstring>
#include <random>
#include <string>

std::vector<std::string> SplitCrLf(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        out.push_back(bytes.substr(start, end - start));
    if (start < bytes.size())
        out.push_back(bytes.substr(start) + "<no line end>");
    return out;
}

namespace {

using Lines = std::vector<std::string>;

const Lines Notes = {
    "",
    "NOTE: CAI files have no ICAO identifier.",
    "    All points are marked as ', U ,' add the identifiers if desired.",
    "",
    "Remember to use KESTA <SN10file> to check the data.",
    "",
    "CAUTION: CAI files contain airports without knowing if the airports",
    "    are landable. All CAI airports are marked as landable in this SN10",
    "    database. YOU MUST CHECK THESE POINTS AND UPDATE THEM.",
    "",
};

Lines Concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::string Header(const std::string& cai) {
    return "!VELQUOR version 1.1: Converts CAI point database to SN10 format.\r\n"
           "!    Made for the SN10 flight computer.\r\n!\r\n! Converted from CAI file " +
           cai + "\r\nV QUIVELNAV4\r\n";
}

TEST_F(EngineTest, CleanFileIsConvertedWhole) {
    const std::string cai = Cai("**  ------------ My \"Site\" ----\r\n"
                                "**  ------ Timezone: 5.5 ------\r\n"
                                "* comment\r\n"
                                "1,52:08.900N,006:20:16E,104M,HAT,HOME FIELD,123.5\r\n"
                                "2,52:09.000N,006:21:00E,2100M,TR,\"TOWER\",chimney \"red\"\r\n"
                                "3,52:10.000N,006:22:00E,5M,R,NOWHERE,x\r\n");
    const std::string out = Out();
    ASSERT_EQ(1, RunConversion(-3.0f, 1, cai.c_str(), out.c_str()));
    EXPECT_EQ(Header(cai) + "H \"My 'Site'       CAI conversion  " + cai +
                  "\" , Timezone  5:30 , Magvar -3.0 , Home \"01HOME \"\r\n"
                  "P \"01HOME \", 52:08.900N , 006:20:16E , 104M  , TLA    , U , "
                  "\"HOME FIELD      123.5\"\r\n"
                  "P \"02'TOWE\", 52:09.000N , 006:21:00E , 2100M , T      , U , "
                  "\"'TOWER'         chimney 'red'\"\r\n",
              Written());
    EXPECT_EQ(Concat({{"3 points read from: " + cai, "2 points written to: " + out}, Notes}),
              lines);
    EXPECT_EQ(7, TurnpointTable[0].OutputLine);
    EXPECT_EQ(8, TurnpointTable[1].OutputLine);
    EXPECT_EQ(0, TurnpointTable[2].OutputLine);
    // Stored texts keep their quotes; only the file's quoted texts lose them.
    EXPECT_STREQ("chimney \"red\"", TurnpointTable[1].Comment);
    EXPECT_STREQ("My \"Site\"       ", ConverterState.SiteTitle);
}

TEST_F(EngineTest, MissingHeadersHomeAndVariationAreDefaulted) {
    ASSERT_EQ(1, Run("5,a,b,12,AT,FIRST POINT NAME LONG,c\n6,a,b,1234567,RT,SECOND,\n", 0, 0));
    const std::string cai = paths[0], out = paths[1];
    EXPECT_EQ(Header(cai) + "H \"FIRST POINT NAMECAI conversion  " + cai +
                  "\" , Timezone -4:00 , Magvar 10.0 , Home \"05FIRST\"\r\n"
                  "P \"05FIRST\", a , b , 12    , TLA    , U , \"FIRST POINT NAMEc\"\r\n"
                  "P \"06SECON\", a , b , 1234567 , T      , U , \"SECOND          \"\r\n",
              Written());
    EXPECT_EQ(Concat({{"2 points read from: " + cai, "Error " + cai + " 2: Home point not defined",
                       "Warning " + out + " 6: Timezone is not set -4.0 was used.",
                       "Warning " + out + " 6: Site title was not set home point name was used.",
                       "2 points written to: " + out},
                      Notes,
                      {"Warning " + out + " 6: Magnetic variation was not set 10.0 was used.", "",
                       "    3 Warnings found by VELQUOR", "", "    1 Errors found by VELQUOR"}}),
              lines);
}

TEST_F(EngineTest, TimezoneIsWrittenAsSignHoursAndMinutes) {
    struct Case {
        const char* header;
        const char* written;
    } cases[] = {{"-4", "-4:00"},  {"5.5", " 5:30"},  {"0", " 0:00"},
                 {"5.1", " 5:05"}, {"-0.5", "-0:30"}, {"-10.75", "-10:45"}};
    for (const auto& c : cases) {
        Run(std::string("**  ------------ T\n**  ------ Timezone: ") + c.header +
            "\n1,a,b,c,HT,N\n");
        EXPECT_NE(std::string::npos, Written().find(std::string("Timezone ") + c.written + " ,"))
            << c.header;
    }
}

TEST_F(EngineTest, ErrorsLeaveAnEmptyDatabase) {
    testfiles::WriteBytes(dir / "out.ndb", "old content");
    ASSERT_EQ(1, Run("1,a,b,c,HT,A\nx,a,b,c,T,B\n"));
    EXPECT_EQ("", Written());
    const std::string cai = paths[0];
    EXPECT_EQ(Concat({{"Error " + cai + " 2: Invalid or missing point ID number",
                       "2 points read from: " + cai},
                      Notes,
                      {"", "    1 Errors found by VELQUOR"}}),
              lines);
}

TEST_F(EngineTest, UnreadableCaiFileStopsBeforeTheDatabase) {
    const std::string cai = (dir / "missing.dat").string(), out = Out();
    EXPECT_EQ(0, RunConversion(2.0f, 1, cai.c_str(), out.c_str()));
    EXPECT_EQ((Lines{"Could not open file: " + cai, "No CAI database"}), lines);
    EXPECT_EQ(1, ErrorCount);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(EngineTest, FailedWriteIsReportedAsAnError) {
    const std::string cai = Cai("**  ------------ T\n**  ------ Timezone: 1\n1,a,b,c,HT,A\n");
    ASSERT_EQ(1, RunConversion(2.0f, 1, cai.c_str(), "/dev/full"));
    EXPECT_EQ(Concat({{"1 points read from: " + cai, "1 points written to: /dev/full",
                       "Error /dev/full 1: Could not write SN10 file."},
                      Notes,
                      {"", "    1 Errors found by VELQUOR"}}),
              lines);
}

TEST_F(EngineTest, AmbiguousNamesAreReportedOncePerWrittenPoint) {
    Run("**  ------------ T\n**  ------ Timezone: 1\n"
        "1,a,b,c,HT,SAMEX1,\n1,a,b,c,T,SAMEX2\n1,a,b,c,T,SAMEX3\n"
        "2,a,b,c,T,OTHER\n2,a,b,c,R,OTHER NOT WRITTEN\n3,a,b,c,R,XX\n3,a,b,c,T,XX\n");
    const std::string out = paths[1];
    Lines warnings(lines.begin() + 2, lines.begin() + 11);
    EXPECT_EQ((Lines{"Warning " + out + " 7: Ambiguous name 01SAMEX", "    long name 1: SAMEX1",
                     "    long name 2: SAMEX2", "Warning " + out + " 8: Ambiguous name 01SAMEX",
                     "    long name 1: SAMEX2", "    long name 2: SAMEX3",
                     "Warning " + out + " 10: Ambiguous name 02OTHER", "    long name 1: OTHER",
                     "    long name 2: OTHER NOT WRITTE"}),
              warnings);
    EXPECT_EQ(3, WarningCount);
}

// The pairwise scan that CheckAmbiguousNames must agree with, warning for warning.
Lines PairwiseAmbiguities(const char* path) {
    Lines out;
    for (int i = 0; i < ConverterState.PointCount; ++i)
        for (int j = i + 1; j < ConverterState.PointCount; ++j)
            if (std::strcmp(TurnpointTable[i].ShortName, TurnpointTable[j].ShortName) == 0) {
                if (TurnpointTable[i].OutputLine != 0)
                    out.push_back("Warning " + std::string(path) + " " +
                                  std::to_string(TurnpointTable[i].OutputLine) +
                                  ": Ambiguous name " + TurnpointTable[i].ShortName);
                break;
            }
    return out;
}

TEST_F(EngineTest, AmbiguityCheckAgreesWithThePairwiseScan) {
    std::mt19937 random(12345);
    for (int round = 0; round < 20; ++round) {
        ResetConversionState(0, 1, "x");
        const int count = 1 + static_cast<int>(random() % TurnpointCapacity);
        const int alphabet = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            std::snprintf(TurnpointTable[i].ShortName, 8, "N%d",
                          static_cast<int>(random() % alphabet));
            TurnpointTable[i].OutputLine = random() % 3 ? 7 + i : 0;
        }
        ConverterState.PointCount = count;
        lines.clear();
        CheckAmbiguousNames("p");
        Lines firstLines;
        for (std::size_t k = 0; k < lines.size(); k += 3)
            firstLines.push_back(lines[k]);
        EXPECT_EQ(PairwiseAmbiguities("p"), firstLines) << "round " << round;
    }
}

TEST_F(EngineTest, EveryRunStartsFromAClearState) {
    Run("**  ------------ Title\n**  ------ Timezone: 2\n1,a,b,c,HT,A\n2,a,b,c,T,B\n", 4, 1);
    ASSERT_EQ(2, ConverterState.PointCount);
    Run("1,a,b,c,T,ONLY\n", 0, 0);
    EXPECT_EQ(1, ConverterState.PointCount);
    EXPECT_STREQ("", TurnpointTable[1].Name);
    EXPECT_EQ(0, TurnpointTable[1].OutputLine);
    EXPECT_EQ(0, ConverterState.TimezoneSet);
    EXPECT_EQ(10.0f, ConverterState.Magvar);
    EXPECT_EQ("    3 Warnings found by VELQUOR", lines[lines.size() - 3]);
    EXPECT_EQ("    1 Errors found by VELQUOR", lines.back()); // no home point this time
    Run("1,a,b,c,HT,A\n", 0, 1);
    EXPECT_NE(std::string::npos, Written().find("Magvar 0.0 ,"));
}

} // namespace
