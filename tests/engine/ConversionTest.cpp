// SPDX-License-Identifier: MIT
#include "EngineFixture.h"
#include "Sn10Writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "Coordinates.h"
#include "TextFile.h"

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
                                "3,52:10.000N,006:22:00E,5M,R,NOWHERE,x\r\n"
                                "4,1:00N,1:00E,1M,flmsta,ALL\r\n");
    const std::string out = Out();
    // Through the hosts' entry: the request's sink takes the report, the result tells the rest.
    const LineSink fixtureSink = SetLineSink({});
    const ConversionResult result = ConvertFile(
        {.inputPath = cai, .outputPath = out, .variation = -3.0f, .report = fixtureSink});
    EXPECT_FALSE(SetLineSink(fixtureSink)); // the sink set before is back
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(RunOutcome::Written, result.outcome);
    EXPECT_EQ((std::vector{0, 0, 4, 3}), (std::vector{result.errors, result.warnings,
                                                      result.pointsRead, result.pointsWritten}));
    EXPECT_EQ(Header(cai) + "H \"My 'Site'       CAI conversion  " + cai +
                  "\" , Timezone  5:30 , Magvar -3.0 , Home \"01HOME \"\r\n"
                  "P \"01HOME \", 52:08.900N , 006:20:16E , 104M  , TLA    , U , "
                  "\"HOME FIELD      123.5\"\r\n"
                  "P \"02'TOWE\", 52:09.000N , 006:21:00E , 2100M , T      , U , "
                  "\"'TOWER'         chimney 'red'\"\r\n"
                  "P \"04  ALL\", 1:00N , 1:00E , 1M    , TSMLFA , U , \"ALL             \"\r\n",
              Written());
    EXPECT_EQ(Concat({{"4 points read from: " + cai, "3 points written to: " + out}, Notes}),
              lines);
    EXPECT_EQ(7, TurnpointTable[0].OutputLine);
    EXPECT_EQ(8, TurnpointTable[1].OutputLine);
    EXPECT_EQ(0, TurnpointTable[2].OutputLine);
    // Stored texts keep their quotes; only the file's quoted texts lose them.
    EXPECT_STREQ("chimney \"red\"", TurnpointTable[1].Comment);
    EXPECT_STREQ("My \"Site\"       ", ConverterState.SiteTitle);
}

TEST_F(EngineTest, WrittenTextsStayOnTheirLine) {
    // A CAI path with a line feed and a double quote, lines ending CR CR LF (converted to DOS
    // twice), a title and a name with a carriage return inside.
    const std::string cai = Cai("**  ------------ \rABC\r\r\n**  ------ Timezone: 1\r\r\n"
                                "1,1:00N\r,1:00E,1M,HT,N\rM,com\"ment\r\r\n",
                                "odd\nna\"me.dat");
    const std::string out = Out();
    ASSERT_EQ(1, RunConversion(2.0f, 1, cai.c_str(), out.c_str()));
    std::string flat = cai, quoted = cai;
    std::replace(flat.begin(), flat.end(), '\n', ' ');
    std::replace(quoted.begin(), quoted.end(), '\n', ' ');
    std::replace(quoted.begin(), quoted.end(), '"', '\'');
    EXPECT_EQ(Header(flat) + "H \" ABC            CAI conversion  " + quoted +
                  "\" , Timezone  1:00 , Magvar 2.0 , Home \"01  N M\"\r\n"
                  "P \"01  N M\", 1:00N  , 1:00E , 1M    , T      , U , \"N M             com'ment "
                  "\"\r\n",
              Written());
    EXPECT_STREQ("\rABC            ", ConverterState.SiteTitle); // stored texts keep them
    EXPECT_STREQ("com\"ment\r", TurnpointTable[0].Comment);
}

TEST_F(EngineTest, LongestLinesAreWrittenWhole) {
    // 199-character point lines, the longest a CAI file holds, give the longest SN10 lines,
    // which fill the writer's blocks to their ends.
    std::string text = "**  ------------ T\n**  ------ Timezone: 1\n";
    const std::string latitude = "1:00." + std::string(54, '5') + "N",
                      longitude = "1:00." + std::string(54, '5') + "E",
                      elevation = std::string(39, '1') + "M";
    const std::string fields = latitude + "," + longitude + "," + elevation + ",";
    for (int i = 1000; i < 1200; ++i) {
        std::string line = std::to_string(i) + "," + fields + (i == 1000 ? "HT" : "T") + ",N,";
        text += line + std::string(199 - line.size(), 'z') + "\n";
    }
    Run(text);
    const Lines written = testfiles::SplitCrLf(Written());
    ASSERT_EQ(206u, written.size());
    EXPECT_EQ("P \"N\", " + latitude + " , " + longitude + " , " + elevation +
                  " , T      , U , \"N               " + std::string(199 - 172, 'z') +
                  "\"", // the comment fills the line to 199
              written.back());
}

TEST_F(EngineTest, MissingHeadersHomeAndVariationAreDefaulted) {
    ASSERT_EQ(
        1, Run("5,1:00N,1:00E,12M,AT,FIRST POINT NAME LONG,c\n6,1:00N,1:00E,1234567F,RT,SECOND,\n",
               0, 0));
    const std::string cai = paths[0], out = paths[1];
    EXPECT_EQ(Header(cai) + "H \"FIRST POINT NAMECAI conversion  " + cai +
                  "\" , Timezone -4:00 , Magvar 10.0 , Home \"05FIRST\"\r\n"
                  "P \"05FIRST\", 1:00N , 1:00E , 12M   , TLA    , U , \"FIRST POINT NAMEc\"\r\n"
                  "P \"06SECON\", 1:00N , 1:00E , 1234567F , T      , U , \"SECOND          \"\r\n",
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

TEST_F(EngineTest, HeaderNumbersAreWrittenAsTheSn10Wants) {
    struct Case {
        const char* timezone;
        float variation;
        const char* written;
    } cases[] = {
        {"-4", 2.0f, "-4:00 , Magvar 2.0"},        {"5.5", -3.0f, " 5:30 , Magvar -3.0"},
        {"0", 0.0f, " 0:00 , Magvar 0.0"},         {"5.1", -0.0f, " 5:05 , Magvar 0.0"},
        {"-0.5", -0.04f, "-0:30 , Magvar 0.0"},    {"-10.75", -0.06f, "-10:45 , Magvar -0.1"},
        {"1e1", 179.96f, " 10:00 , Magvar 180.0"}, {"0x10", 0.0f, " 0:00 , Magvar 0.0"},
    };
    for (const auto& c : cases) {
        Run(std::string("**  ------------ T\n**  ------ Timezone: ") + c.timezone +
                "\n1,1:00N,1:00E,1M,HT,N\n",
            c.variation);
        EXPECT_NE(std::string::npos, Written().find(std::string("Timezone ") + c.written + " ,"))
            << c.timezone << Written();
    }
}

// The names in a folder, sorted: what a run leaves there.
Lines FolderNames(const std::filesystem::path& folder) {
    Lines names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(EngineTest, DatabaseIsReplacedWholeOrNotAtAll) {
    namespace fs = std::filesystem;
    const std::string good =
        Cai("**  ------------ T\n**  ------ Timezone: 1\n1,1:00N,1:00E,1M,HT,A\n", "good.dat");
    const std::string bad = Cai("1,1:00N,1:00E,1M,HT,A\nx,1:00N,1:00E,1M,T,B\n", "bad.dat");
    const std::string old = (dir / "old.ndb").string(), fresh = (dir / "new.ndb").string();
    testfiles::WriteBytes(old, "old content");
    fs::permissions(old, fs::perms(0640));

    // Reading errors: the existing file stays byte for byte, and no file appears.
    ASSERT_EQ(1, RunConversion(0, 1, bad.c_str(), old.c_str()));
    EXPECT_EQ(RunOutcome::NotWritten, CurrentRun.Outcome);
    EXPECT_EQ(Concat({{"Error " + bad + " 2: Invalid or missing point ID number",
                       "2 points read from: " + bad},
                      Notes,
                      {"", "    1 Errors found by VELQUOR"}}),
              lines);
    EXPECT_EQ("old content", testfiles::ReadBytes(old));
    RunConversion(0, 1, bad.c_str(), fresh.c_str());
    EXPECT_FALSE(fs::exists(fresh));

    // An exception during the run leaves the file as it was, too.
    LineSink collect = SetLineSink([](std::string_view line) {
        if (line.starts_with("1 points written"))
            throw std::runtime_error("sink failed");
    });
    EXPECT_THROW(RunConversion(0, 1, good.c_str(), old.c_str()), std::runtime_error);
    SetLineSink(std::move(collect));
    EXPECT_EQ("old content", testfiles::ReadBytes(old));

    // A clean run replaces the file, which keeps its permission bits; a symbolic link stays a
    // link to the replaced file; a new file gets the usual 0666 less the umask.
    fs::create_symlink("old.ndb", dir / "link.ndb");
    ASSERT_EQ(1, RunConversion(0, 1, good.c_str(), (dir / "link.ndb").c_str()));
    EXPECT_TRUE(fs::is_symlink(dir / "link.ndb"));
    EXPECT_EQ(0u, testfiles::ReadBytes(old).find("!VELQUOR"));
    EXPECT_EQ(fs::perms(0640), fs::status(old).permissions());
    RunConversion(0, 1, good.c_str(), fresh.c_str());
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(fs::perms(0666 & ~mask), fs::status(fresh).permissions());
    EXPECT_EQ((Lines{"bad.dat", "good.dat", "link.ndb", "new.ndb", "old.ndb"}), FolderNames(dir));

    // A folder that cannot take the file: nothing converted, nothing counted.
    lines.clear();
    const std::string missing = (dir / "no" / "x.ndb").string();
    EXPECT_EQ(0, RunConversion(0, 1, good.c_str(), missing.c_str()));
    EXPECT_EQ(RunOutcome::Sn10FileNotOpened, CurrentRun.Outcome);
    EXPECT_EQ((Lines{"1 points read from: " + good, missing + " 1: Could not open SN10 file."}),
              lines);
    EXPECT_EQ(0, ErrorCount);
}

TEST(TextFileWriter, AFailedWriteLeavesTheTargetAsItWas) {
    const auto folder = testfiles::ScratchDir();
    const std::string target = (folder / "club.ndb").string();
    testfiles::WriteBytes(target, "old content");
    TextFileWriter writer;
    std::FILE* file = writer.Open(target.c_str());
    ASSERT_NE(nullptr, file);
    std::fputs("new content", file);
    std::fgetc(file); // reading a stream opened for writing sets its error flag, as a failed write
    EXPECT_FALSE(writer.Close(true));
    EXPECT_EQ("old content", testfiles::ReadBytes(target));
    EXPECT_EQ(Lines{"club.ndb"}, FolderNames(folder));
}

TEST_F(EngineTest, DevicesAndPipesAreWrittenDirectly) {
    namespace fs = std::filesystem;
    const std::string cai =
        Cai("**  ------------ T\n**  ------ Timezone: 1\n1,1:00N,1:00E,1M,HT,A\n");
    ASSERT_EQ(1, RunConversion(2.0f, 1, cai.c_str(), "/dev/full"));
    EXPECT_EQ(RunOutcome::NotWritten, CurrentRun.Outcome);
    EXPECT_EQ(Concat({{"1 points read from: " + cai, "1 points written to: /dev/full",
                       "Error /dev/full 1: Could not write SN10 file."},
                      Notes,
                      {"", "    1 Errors found by VELQUOR"}}),
              lines);
    ASSERT_EQ(1, RunConversion(2.0f, 1, cai.c_str(), "/dev/null"));
    EXPECT_EQ(RunOutcome::Written, CurrentRun.Outcome);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    const std::string pipe = (dir / "pipe.ndb").string();
    ASSERT_EQ(0, ::mkfifo(pipe.c_str(), 0600));
    std::string received;
    std::thread reader([&] { received = testfiles::ReadBytes(pipe); });
    ASSERT_EQ(1, RunConversion(2.0f, 1, cai.c_str(), pipe.c_str()));
    reader.join();
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(7u, testfiles::SplitCrLf(received).size());
    EXPECT_EQ((Lines{"in.dat", "pipe.ndb"}), FolderNames(dir));
}

TEST_F(EngineTest, UnreadableCaiFileStopsBeforeTheDatabase) {
    const std::string cai = (dir / "missing.dat").string(), out = Out();
    EXPECT_EQ(0, RunConversion(2.0f, 1, cai.c_str(), out.c_str()));
    EXPECT_EQ((Lines{"Could not open file: " + cai, "No CAI database"}), lines);
    EXPECT_EQ(1, ErrorCount);
    EXPECT_EQ(RunOutcome::CaiFileNotRead, CurrentRun.Outcome);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(EngineTest, AmbiguousNamesAreReportedOncePerWrittenPoint) {
    Run("**  ------------ T\n**  ------ Timezone: 1\n"
        "1,1:00N,1:00E,1M,HT,SAMEX1,\n1,1:00N,1:00E,1M,T,SAMEX2\n1,1:00N,1:00E,1M,T,SAMEX3\n"
        "2,1:00N,1:00E,1M,T,OTHER\n2,1:00N,1:00E,1M,R,OTHER NOT "
        "WRITTEN\n3,1:00N,1:00E,1M,R,XX\n3,1:00N,1:00E,1M,T,XX\n");
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
    Run("**  ------------ Title\n**  ------ Timezone: "
        "2\n1,1:00N,1:00E,1M,HT,A\n2,1:00N,1:00E,1M,T,B\n",
        4, 1);
    ASSERT_EQ(2, ConverterState.PointCount);
    Run("1,1:00N,1:00E,1M,T,ONLY\n", 0, 0);
    EXPECT_EQ(1, ConverterState.PointCount);
    EXPECT_STREQ("", TurnpointTable[1].Name);
    EXPECT_EQ(0, TurnpointTable[1].OutputLine);
    EXPECT_EQ(0, ConverterState.TimezoneSet);
    EXPECT_EQ(10.0f, ConverterState.Magvar);
    EXPECT_EQ("    3 Warnings found by VELQUOR", lines[lines.size() - 3]);
    EXPECT_EQ("    1 Errors found by VELQUOR", lines.back()); // no home point this time
    Run("**  ------------ T\n1,1:00N,1:00E,1M,HT,A\n", 0, 1);
    EXPECT_NE(std::string::npos, Written().find("Magvar 0.0 ,"));
    EXPECT_EQ("    1 Warnings found by VELQUOR", lines.back()); // the timezone's

    // A large file converted again and again in one process, as the window and the page do:
    // every run gives the same report and the same database.
    std::string large = "**  ------------ Large\n**  ------ Timezone: 1\n";
    for (int i = 1; i <= 1789; ++i)
        large += std::to_string(i) + ",52:08.900N,006:20:16E,104M," + (i == 1 ? "HT" : "T") +
                 ",POINT NAME " + std::to_string(i) + ",comment of point " + std::to_string(i) +
                 "\n";
    Run(large);
    const Lines firstReport = lines;
    const std::string firstDatabase = Written();
    ASSERT_EQ(1789u + 6u, testfiles::SplitCrLf(firstDatabase).size());
    for (int again = 0; again < 2; ++again) {
        Run(large);
        EXPECT_EQ(firstReport, lines);
        EXPECT_EQ(firstDatabase, Written());
    }
}

TEST_F(EngineTest, TextsSetByHandAreKept) {
    ResetConversionState(0, 1, "x");
    Turnpoint& point = TurnpointTable[0];
    const std::string longText(250, 'n');
    point.Name = "literal";
    point.Comment = std::string("temporary") + " text";
    point.Latitude = StoreText("stored");
    point.Longitude = longText;
    point.Elevation = point.Name; // a text of the store is referred to, not copied
    EXPECT_STREQ("literal", point.Name);
    EXPECT_STREQ("temporary text", point.Comment);
    EXPECT_STREQ("stored", point.Latitude);
    EXPECT_EQ(std::string(199, 'n'), point.Longitude.c_str()); // a field holds 199 characters
    EXPECT_EQ(point.Name.c_str(), point.Elevation.c_str());
}

} // namespace

namespace {

// The engine's own trigonometry agrees with the C library's over the angles and positions it
// meets, distances to far below a metre.
TEST(Distances, AgreeWithTheMathsLibrary) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> angle(-25.0, 25.0), latitude(-1.5708, 1.5708),
        longitude(-3.1416, 3.1416);
    for (int i = 0; i < 20000; ++i) {
        const double x = angle(random), a = latitude(random), b = longitude(random),
                     c = latitude(random), d = longitude(random);
        ASSERT_NEAR(std::sin(x), Sine(x), 2e-16) << x;
        ASSERT_NEAR(std::cos(x), Cosine(x), 2e-16) << x;
        const double h = std::pow(std::sin((c - a) / 2), 2) +
                         std::cos(a) * std::cos(c) * std::pow(std::sin((d - b) / 2), 2);
        ASSERT_NEAR(2 * EarthRadiusKm * std::asin(std::sqrt(std::min(1.0, h))),
                    DistanceKm(a, b, c, d), 1e-8)
            << a << " " << b << " " << c << " " << d;
    }
}

TEST_F(EngineTest, WriterWarnsWhatTheSn10WouldTakeWrongly) {
    const std::string start =
        "**  ------------ T\n**  ------ Timezone: 1\n1,50:00.000N,007:00.000E,100M,HT,HOME\n";
    struct Case {
        std::string point; // the second point: "LATITUDE,LONGITUDE,ELEVATION"
        std::string warning;
    } cases[] = {
        {"50:00N,007:00E,100m", ""},
        {"50:00N,007:00E,100 F  ", ""},
        {"50:00N,007:00E,u", ""},
        {"50:00N,007:00E,-5.5M", ""},
        {"50:00N,007:00E,443", "9: Elevation 443 of P is not a height in M or F"},
        {"50:00N,007:00E,12 km", "9: Elevation 12 km of P is not a height in M or F"},
        {"50:00N,007:00E,UM", "9: Elevation UM of P is not a height in M or F"},
        {"50:10.000S,007:00.000E,1M",
         "9: P lies 11138 km from the home point; with N instead of S it would lie 19 km away"},
        {"50:00.000N,007:10.000W,1M",
         "9: P lies 1011 km from the home point; with E instead of W it would lie 12 km away"},
        {"32:39.200S,070:00.700W,1M", ""}, // far, and no letter would bring it near
        {"54:00N,012:00E,1M", ""},         // 561 km: near enough
    };
    for (const auto& c : cases) {
        Run(start + "2,1:00N,1:00E,1M,T,Q\n3," + c.point + ",T,P\n");
        const std::string out = paths.back();
        EXPECT_EQ(c.warning.empty() ? Lines{} : Lines{"Warning " + out + " " + c.warning},
                  LinesStartingWith("Warning " + out + " 9:"))
            << c.point;
        EXPECT_EQ(3u, PointLines().size()) << c.point; // warnings do not keep points out
    }

    // The SN10 holds 600 points in its site 1, 900 in its site 2.
    for (const int count : {600, 601, 900, 901}) {
        std::string text = start;
        for (int i = 2; i <= count; ++i)
            text +=
                std::to_string(i) + ",50:00.000N,007:00.000E,100M,T,P" + std::to_string(i) + "\n";
        Run(text);
        const std::string out = paths.back();
        Lines expected;
        if (count == 601 || count == 900)
            expected.push_back("Warning " + out + " 607: " + std::to_string(count) +
                               " points written; site 1 of the SN10 holds at most 600 points, "
                               "site 2 at most 900");
        if (count == 901)
            expected.push_back("Warning " + out +
                               " 907: 901 points written; the SN10 holds at "
                               "most 900 points (600 in site 1)");
        const auto written = std::find(lines.begin(), lines.end(),
                                       std::to_string(count) + " points written to: " + out);
        ASSERT_NE(lines.end(), written);
        EXPECT_EQ(expected, Lines(written + 1, written + 1 + static_cast<long>(expected.size())));
    }
}

TEST_F(EngineTest, Utf8NamesAreWrittenInWindows1252) {
    // Twenty characters, four of them beyond ASCII: cut after 16 characters, not bytes.
    Run("**  ------------ \xC3\x9C"
        "berlingen\n**  ------ Timezone: 1\n"
        "1,50:00N,007:00E,1M,HT,Gro\xC3\x9F"
        "er \xC3\x96l \xC3\x84rmelkanal,Gr\xC3\xBC\xC3\x9F"
        "e \xE2\x82\xAC \xE2\x88\x9E\n");
    EXPECT_EQ(Lines{"P \"01Gro\xDF"
                    "e\", 50:00N , 007:00E , 1M    , T      , U , \"Gro\xDF"
                    "er \xD6l \xC4rmelkGr\xFC\xDF"
                    "e \x80 ?\""},
              PointLines());
    EXPECT_EQ(0u, testfiles::SplitCrLf(Written())[5].find("H \"\xDC"
                                                          "berlingen      CAI"));
}

} // namespace
