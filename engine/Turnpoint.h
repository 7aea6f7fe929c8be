#pragma once
// The data of a conversion run: the fixed table of turnpoints, the run state, the two totals.
// All of it is global, allocated once, and reset at the start of every run.
#include <cstdint>
#include <cstdio>

inline constexpr int TurnpointCapacity = 1800;
// Size of every text field of a point, terminating zero included.
inline constexpr int FieldSize = 200;
// Site title: room for FieldSize characters and the terminating zero.
inline constexpr int SiteTitleSize = 201;

struct Turnpoint {
    std::int32_t PointId;
    char Latitude[FieldSize];
    char Longitude[FieldSize];
    char Elevation[FieldSize];
    char Name[FieldSize];
    char Comment[FieldSize];
    char LongName[FieldSize];  // Name without double quotes, at most 16 characters
    char ShortName[FieldSize]; // the point's identifier, at most 7 characters
    std::int32_t SourceLine;   // CAI line the point came from
    std::int32_t OutputLine;   // SN10 line that holds the point, 0 while not written
    std::uint8_t IsLandable;
    std::uint8_t IsAirport;
    std::uint8_t IsTurnpoint;
    std::uint8_t IsStart;
    std::uint8_t IsFinish;
    std::uint8_t IsMarkpoint;
};

struct ConverterStateRecord {
    std::int32_t PointCount;
    std::int32_t HomeIndex;  // -1 while no home point was read
    const char* CaiFileName; // the caller's text, valid for the run
    std::int32_t LineNumber; // CAI line being processed, from 1
    std::int32_t PointsRead;
    std::FILE* OutputFile;
    std::int32_t TimezoneSet;
    float Timezone; // hours
    std::int32_t MagvarSet;
    float Magvar; // degrees west
    char SiteTitle[SiteTitleSize];
};

// Records 0 to PointCount - 1 are in use; every record from PointCount on reads as zero (the
// engine never writes there, and code that fills the table by hand must keep it so).
extern Turnpoint TurnpointTable[TurnpointCapacity];
extern ConverterStateRecord ConverterState;
extern std::int32_t ErrorCount;
extern std::int32_t WarningCount;

// Resets the table, the state and the totals as a run starts.
void ResetConversionState(float variation, int variationGiven, const char* caiPath);

// Adds one to a count without ever passing the largest value (a file can hold more lines, and
// so more errors, than that).
inline void CountOne(std::int32_t& count) {
    if (count < INT32_MAX)
        ++count;
}

// Reports "Error <CAI file> <line>: <message>" and counts one error.
void ReportLineError(const char* message);
