#pragma once
// The data of a conversion run: the fixed table of turnpoints, the run state, the two totals.
// All of it is global, allocated once, and reset at the start of every run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

inline constexpr int TurnpointCapacity = 1800;
// Size of every text field of a point, terminating zero included.
inline constexpr int FieldSize = 200;
// Site title: room for FieldSize characters and the terminating zero.
inline constexpr int SiteTitleSize = 201;
// The two names derived from a point's name, terminating zero included.
inline constexpr int ShortNameSize = 8; // at most 7 characters
inline constexpr int LongNameSize = 17; // at most 16 characters

// The run's text store: the texts of the points read in this run, one after the other, each
// with its terminating zero (StoreText). Its first byte is always zero, the empty text.
extern char TextStore[];

// A text field of a point, read as a zero-terminated text of at most FieldSize - 1 characters.
// The characters live in the run's text store, so that the memory a run touches grows with the
// file it reads, not with the table's capacity; the record holds where they start and how many
// there are, in one 32-bit word. A field that was never set (a record filled with zeros) reads as
// empty text. Stored texts do not change once a field refers to them.
class FieldText {
public:
    const char* c_str() const { return TextStore + (bits_ >> LengthBits); }
    operator const char*() const { return c_str(); }
    std::size_t size() const { return bits_ & LengthMask; }
    // Makes the field read text, which lies in the text store; any other text reads as empty.
    FieldText& operator=(const char* text);
    // The same for a text in the store whose length is known.
    void Assign(const char* text, std::size_t length) {
        bits_ = static_cast<std::uint32_t>(text - TextStore) << LengthBits |
                static_cast<std::uint32_t>(length);
    }

private:
    static constexpr unsigned LengthBits = 8;
    static constexpr std::uint32_t LengthMask = (1u << LengthBits) - 1;
    std::uint32_t bits_; // offset << LengthBits | length; no initializer, so that zeros reset it
};

struct Turnpoint {
    std::int32_t PointId;
    FieldText Latitude;
    FieldText Longitude;
    FieldText Elevation;
    FieldText Name;
    FieldText Comment;
    // Name without double quotes, at most 16 characters: the name's own text when it is one.
    FieldText LongName;
    char ShortName[ShortNameSize]; // the point's identifier, at most 7 characters
    std::uint8_t IsLandable;
    std::uint8_t IsAirport;
    std::uint8_t IsTurnpoint;
    std::uint8_t IsStart;
    std::uint8_t IsFinish;
    std::uint8_t IsMarkpoint;
    std::int32_t SourceLine; // CAI line the point came from
    std::int32_t OutputLine; // SN10 line that holds the point, 0 while not written
};
static_assert(sizeof(Turnpoint) == 52);

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

// Copies text (at most its first StoredTextLimit characters) into the run's text store and
// returns the stored, zero-terminated copy, valid until the next run starts. The store has room
// for one such text and one long name per record of the table. The copy belongs to the caller,
// which may cut it into fields in place.
inline constexpr std::size_t StoredTextLimit = 255;
char* StoreText(std::string_view text);

// Resets the table, the text store, the state and the totals as a run starts.
void ResetConversionState(float variation, int variationGiven, const char* caiPath);

// Adds one to a count without ever passing the largest value (a file can hold more lines, and
// so more errors, than that).
inline void CountOne(std::int32_t& count) {
    if (count < INT32_MAX)
        ++count;
}

// Reports "Error <CAI file> <line>: <message>" and counts one error.
void ReportLineError(const char* message);
