// SPDX-License-Identifier: MIT
#include "EngineFixture.h"

#include <string>

namespace {

using Lines = std::vector<std::string>;

const std::string Header = "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n";

class CupTest : public EngineTest {
protected:
    std::string ErrorAt(int line, const std::string& message) const {
        return "Error " + paths.front() + " " + std::to_string(line) + ": " + message;
    }
};

TEST_F(CupTest, RowsBecomeSn10Points) {
    struct Case {
        std::string row;
        std::string written;
    } cases[] = {
        // Quoting: commas and quotes inside quotes, "" for one quote, blanks around fields.
        {"\"20\" ditch, south end\",RH,DE,5048.850N,00611.483E,189m,3,,,,",
         "P \"RH\", 50:48.850N , 006:11.483E , 189M  , TL     , U , \"20' ditch, south\""},
        {"\"A \"\"B\"\" C\" , \"\" ,DE,5048.850N,00611.483E,189m,1,,,,",
         "P \"A 'B' C\", 50:48.850N , 006:11.483E , 189M  , T      , U , \"A 'B' C         \""},
        {"  Plain Name  ,  PN  , DE , 5048.850N , 00611.483E , 10 , 1 ,,,,  x  ",
         "P \"PN\", 50:48.850N , 006:11.483E , 10M   , T      , U , \"Plain Name      x\""},
        // Coordinates keep their decimals and get capital letters; heights are rounded.
        {"X,LONGCODE9,DE,0100.5s,17959.99999w,-0.5m,5,,,,",
         "P \"LONGCOD\", 01:00.5S , 179:59.99999W , -1M   , TLA    , U , \"X               \""},
        {"X,X,DE,9000N,18000.000E,,4,,,,",
         "P \"X\", 90:00N , 180:00.000E , U     , TLA    , U , \"X               \""},
        {"X,X,DE,4500N,00700E,1640.5 FT,2,,,,",
         "P \"X\", 45:00N , 007:00E , 1641F , TLA    , U , \"X               \""},
        {"X,X,DE,4500N,00700E,-0.4m,22,,,,",
         "P \"X\", 45:00N , 007:00E , 0M    , T      , U , \"X               \""},
        {"X,X,DE,4500N,00700E,1m,-3,,,122.500,\"Line one\\nline two\"",
         "P \"X\", 45:00N , 007:00E , 1M    , T      , U , \"X               122.500 Line one line "
         "two\""},
        {"X,X,DE,4500N,00700E,1m,,,,,Desc only",
         "P \"X\", 45:00N , 007:00E , 1M    , T      , U , \"X               Desc only\""},
        // UTF-8 is written in Windows-1252 and cut by characters; a line of other bytes stays.
        {"M\xC3\xBCllheim \xC3\x9C"
         "bersee Ost,,DE,4500N,00700E,1m,1,,,,\xE2\x82\xAC \xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         "P \"M\xFCllhei\", 45:00N , 007:00E , 1M    , T      , U , \"M\xFCllheim \xDC"
         "bersee\x80 ?\xF3"
         "d?\""},
        {"M\xFCnchen,,DE,4500N,00700E,1m,1,,,,\xC3",
         "P \"M\xFCnchen\", 45:00N , 007:00E , 1M    , T      , U , \"M\xFCnchen         \xC3\""},
    };
    for (const auto& c : cases) {
        Convert(Header + c.row + "\r\n", "in.cup");
        EXPECT_EQ(Lines{}, LinesStartingWith("Error")) << c.row;
        EXPECT_EQ(Lines{c.written}, PointLines()) << c.row;
    }
}

TEST_F(CupTest, LinesItCannotAcceptAreReported) {
    const struct Case {
        std::string row;
        std::string error;
    } cases[] = {
        {"Open,X,DE,4500N,00700E,1m,1,,,,\"desc, more", "Missing closing quote"},
        {" \"\" ,X,DE,4500N,00700E,1m,1", "Missing name"},
        {"X,X,DE,9000.001N,00700E,1m,1", "Invalid latitude: 9000.001N"},
        {"X,X,DE,4560.000N,00700E,1m,1", "Invalid latitude: 4560.000N"},
        {"X,X,DE,04500N,00700E,1m,1", "Invalid latitude: 04500N"},
        {"X,X,DE,4500.N,00700E,1m,1", "Invalid latitude: 4500.N"},
        {"X,X,DE,4500E,00700E,1m,1", "Invalid latitude: 4500E"},
        {"X,X,DE,4500N,18000.001E,1m,1", "Invalid longitude: 18000.001E"},
        {"X,X,DE,4500N,0070E,1m,1", "Invalid longitude: 0070E"},
        {"X,X,DE,4500N,00700 E,1m,1", "Invalid longitude: 00700 E"},
        {"X,X,DE,4500N,00700E,1.5.5m,1", "Invalid elevation: 1.5.5m"},
        {"X,X,DE,4500N,00700E,12 km,1", "Invalid elevation: 12 km"},
        {"X,X,DE,4500N,00700E,1234567890m,1", "Invalid elevation: 1234567890m"},
        {"X,X,DE,4500N,00700E,1m,3.0", "Invalid style: 3.0"},
        {"X,X,DE,4500N,00700E,1m,-", "Invalid style: -"},
    };
    for (const auto& c : cases) {
        const ConversionResult result =
            Convert(Header + "A,A,DE,4500N,00700E,1m,1\r\n" + c.row, "in.cup");
        EXPECT_EQ(Lines{ErrorAt(3, c.error)}, LinesStartingWith("Error")) << c.row;
        EXPECT_EQ(RunOutcome::NotWritten, result.outcome) << c.row;
        EXPECT_EQ(2, result.pointsRead) << c.row; // the line is still read
    }
}

TEST_F(CupTest, HeaderNamesTheColumns) {
    const std::string point =
        "P \"CD\", 45:00N , 007:00E , 1M    , T      , U , \"Nm              ds\"";
    const std::string rows[] = {
        // The classic order, without a header; skipped lines; the last line without its end.
        "\xEF\xBB\xBF\r\n* comment\r\n   * another\r\nNm,CD,DE,4500N,00700E,1m,1,,,,ds",
        // The legacy header, in other letter case; LF line ends; tasks end the waypoints.
        "Title,Code,Country,Latitude,Longitude,Elevation,Style,Direction,Length,Frequency,"
        "Description\nNm,CD,DE,4500N,00700E,1m,1,,,,ds\n-----Related Tasks-----\nT,a,b\n",
        // Columns in another order, an unknown one, and rows shorter than the header.
        "NAME,Desc,lat,foo,lon,CODE,elev,style,userdata,pics\r\nNm,ds,4500N,x,00700E,CD,1m",
        // A Ctrl-Z ends the file.
        Header + "Nm,CD,DE,4500N,00700E,1m,1,,,,ds\r\n\x1A"
                 "Bad\r\n",
    };
    for (const std::string& text : rows) {
        Convert(text, "in.cup");
        EXPECT_EQ(Lines{}, LinesStartingWith("Error")) << text;
        EXPECT_EQ(Lines{point}, PointLines()) << text;
    }
}

TEST_F(CupTest, HomeTimezoneAndTitle) {
    const std::string file = Header + "Tower,TWR,DE,5000N,00700E,1m,1,,,,\r\n"
                                      "Strip,STR,DE,5001N,00701E,2m,3,,,,\r\n"
                                      "Field \xC3\x84,FLD,DE,5002N,00702E,3m,4,,,,\r\n";
    Convert(file, "club.CUP", {}, std::nullopt);
    const std::string cup = paths[0], out = paths[1];
    EXPECT_EQ(
        (Lines{"3 points read from: " + cup,
               "Warning " + out + " 6: Home point not set, first airfield Field \xC4 was used.",
               "Warning " + out + " 6: Timezone is not set -4.0 was used.",
               "Warning " + out + " 6: Site title was not set home point name was used.",
               "3 points written to: " + out, "", "NOTE: CUP files have no ICAO identifier.",
               "    All points are marked as ', U ,' add the identifiers if desired.", "",
               "Remember to use KESTA <SN10file> to check the data.",
               "Warning " + out + " 6: Magnetic variation was not set 10.0 was used.", "",
               "    4 Warnings found by VELQUOR"}),
        lines);
    EXPECT_EQ("! Converted from CUP file " + cup, testfiles::SplitCrLf(Written())[3]);
    EXPECT_EQ("H \"Field \xC4         CUP conversion  " + cup +
                  "\" , Timezone -4:00 , Magvar 10.0 , Home \"FLD\"",
              testfiles::SplitCrLf(Written())[5]);

    const struct Case {
        RunChoices choices;
        std::string header; // the H line, or the error
    } cases[] = {
        {{"twr", 2.5f, "Club \"A\" \xC3\xA9t\xC3\xA9"},
         "H \"Club 'A' \xE9t\xE9    CUP conversion  " + cup +
             "\" , Timezone  2:30 , Magvar 1.0 , Home \"TWR\""},
        {{"STRIP", -3.0f, {}},
         "H \"Strip           CUP conversion  " + cup +
             "\" , Timezone -3:00 , Magvar 1.0 , Home \"STR\""},
        {{"field \xC3\xA4", {}, "T"},
         "H \"T               CUP conversion  " + cup +
             "\" , Timezone -4:00 , Magvar 1.0 , Home \"FLD\""},
        {{"Nowhere", {}, {}}, "Error " + cup + " 4: Home point Nowhere not found"},
    };
    for (const auto& c : cases) {
        const ConversionResult result = Convert(file, "club.CUP", c.choices);
        if (result.outcome == RunOutcome::Written)
            EXPECT_EQ(c.header, testfiles::SplitCrLf(Written())[5]);
        else
            EXPECT_EQ(Lines{c.header}, LinesStartingWith("Error"));
        EXPECT_EQ(Lines{}, LinesStartingWith("Warning " + out + " 6: Home")) << c.header;
    }

    // Without any airfield the first point is home.
    Convert(Header + "Tower,TWR,DE,5000N,00700E,1m,1,,,,\r\n", "club.CUP");
    EXPECT_EQ(Lines{"Warning " + out + " 6: Home point not set, first point Tower was used."},
              LinesStartingWith("Warning " + out + " 6: Home"));
}

} // namespace
