// SPDX-License-Identifier: MIT
#pragma once
// Everything a conversion run works on, in one object allocated once for the life of the
// program: the fixed table of turnpoints, the run's state and totals, the store of the points'
// texts, the message buffer and line sink, the reader's and the writer's blocks, and the working
// memory of the name check. ResetConversionState, at the start of every run, is its one reset.
// The engine's parts use it through the names below (TurnpointTable, ConverterState,
// ErrorCount ...); hosts go through ConvertFile (Conversion.h) and read the run's result there.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "TextFile.h"

inline constexpr int TurnpointCapacity = 1800;
// Size of every text field of a point, terminating zero included.
inline constexpr int FieldSize = 200;
// Site title: room for FieldSize characters and the terminating zero.
inline constexpr int SiteTitleSize = 201;
// The two names derived from a point's name, terminating zero included.
inline constexpr int ShortNameSize = 8; // at most 7 characters
inline constexpr int LongNameSize = 17; // at most 16 characters

// Longest text the text store keeps in one piece; longer ones are cut.
inline constexpr std::size_t StoredTextLimit = 255;
// Most the texts of one point take in the store: a CAI point keeps its line and a long name, a
// CUP point its name and comment (FieldSize each at most), three short coordinate and elevation
// texts and a long name.
inline constexpr std::size_t PointTextRoom = 576;
// Room for the empty text and a full table of the longest texts; a run touches only what it
// fills.
inline constexpr std::size_t TextStoreSize =
    1 + static_cast<std::size_t>(TurnpointCapacity) * PointTextRoom;

// Receives one report line at a time, without its line end; the bytes are 8-bit text as the
// engine has them. The view is only valid during the call.
using LineSink = std::function<void(std::string_view line)>;

// How a run ended, for hosts that show more than the report.
enum class RunOutcome {
    CaiFileNotRead,    // the CAI file could not be opened: nothing was converted
    Sn10FileNotOpened, // the SN10 file could not be created: nothing was converted
    NotWritten,        // reading found errors, or writing failed: the SN10 file was not written
    Written,           // the SN10 file was written; the report may still hold warnings and the
                       // writer's own errors (a missing home point)
};

// The two kinds of turnpoint file a run reads.
enum class InputFormat { Cai, Cup };

// What the user chose for a run beyond its files and its variation; each choice wins over what
// the file says.
struct RunChoices {
    std::optional<std::string> home;  // CUP files: the code or name of the home point
    std::optional<float> timezone;    // hours
    std::optional<std::string> title; // the site title
};

// A text field of a point, read as a zero-terminated text of at most FieldSize - 1 characters.
// The characters live in the run's text store, so that the memory a run touches grows with the
// file it reads, not with the table's capacity; the record holds where they start and how many
// there are, in one 32-bit word. A field that was never set (a record filled with zeros) reads as
// empty text. Stored texts do not change once a field refers to them.
class FieldText {
public:
    inline const char* c_str() const;
    operator const char*() const { return c_str(); }
    std::size_t size() const { return bits_ & LengthMask; }
    std::string_view view() const { return {c_str(), size()}; }
    // Makes the field read text: a text that lies in the store is referred to where it is, any
    // other is copied into the store (cut after FieldSize - 1 characters).
    FieldText& operator=(std::string_view text);
    // Makes the field read length characters of the store from text on; text must lie in the
    // store and be terminated after them.
    inline void Assign(const char* text, std::size_t length);

private:
    static constexpr unsigned LengthBits = 8;
    static constexpr std::uint32_t LengthMask = (1u << LengthBits) - 1;
    std::uint32_t bits_; // offset << LengthBits | length; no initializer, so that zeros reset it
};
static_assert(TextStoreSize >> 24 == 0, "a store offset must fit in 24 bits");
static_assert(StoredTextLimit <= 255, "a stored text's length must fit in 8 bits");

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
    // 1 when the reader found no line break and no double quote in the point's texts: they go
    // into the SN10 file as they are. 0 (the reset's value) has the writer look.
    std::uint8_t TextsArePlain;
    std::int32_t SourceLine; // CAI line the point came from
    std::int32_t OutputLine; // SN10 line that holds the point, 0 while not written
    // The position, once the reader has found the coordinates valid; south and west negative.
    double LatitudeRadians;
    double LongitudeRadians;
};
static_assert(sizeof(Turnpoint) == 72);

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

// Memory that no initializer names stays as static storage starts: zero, and untouched until a
// run uses it.
struct RunState {
    // Records 0 to PointCount - 1 are in use; every record from PointCount on reads as zero (the
    // engine never writes there, and code that fills the table by hand must keep it so).
    Turnpoint TurnpointTable[TurnpointCapacity];
    // Before the first run, the state reads as a run without a file would leave it.
    ConverterStateRecord ConverterState{0,     -1, "no CAI filename", 0, 0, nullptr, 0, -4.0f, 0,
                                        10.0f, {}};
    std::int32_t ErrorCount = 0;
    std::int32_t WarningCount = 0;
    std::int32_t PointsWritten = 0; // point lines of the SN10 file
    RunOutcome Outcome = RunOutcome::CaiFileNotRead;
    InputFormat Format = InputFormat::Cai; // of the file being read, by its name
    RunChoices Choices;

    // The texts of the points read in this run, one after the other, each with its terminating
    // zero. Its first byte is always zero, the empty text.
    char TextStore[TextStoreSize];
    std::size_t TextStoreUsed = 1;

    // The engine's formatting buffer. It grows to fit any message, so nothing is ever cut there.
    std::string MessageBuffer;
    std::string FieldMessage; // a reading error's message with the text it is about
    LineSink Sink;            // set by the host; an empty sink drops the lines

    TextFileReader Input;                   // the file being read, with its block
    char OutputBlock[TextBlockSize];        // the SN10 file's text, gathered a block at a time
    std::string HeaderLine, HeaderTexts[3]; // the writer's header lines and their mapped texts

    // The name check's working memory: for every record, the index + 1 of the next record with
    // the same short name (0 for none), and the hash table that finds it. Record numbers fit in
    // 16 bits, which keeps the two arrays to three pages.
    static constexpr std::uint32_t NameSlotCount = 4096; // a power of two above twice the capacity
    std::uint16_t NextSameName[TurnpointCapacity];
    std::uint16_t NameSlots[NameSlotCount];
};
static_assert(TurnpointCapacity < 0xFFFF);

extern RunState CurrentRun;

// The run's data under the names every part of the engine knows them by.
inline constexpr auto& TurnpointTable = CurrentRun.TurnpointTable;
inline constexpr auto& ConverterState = CurrentRun.ConverterState;
inline constexpr auto& ErrorCount = CurrentRun.ErrorCount;
inline constexpr auto& WarningCount = CurrentRun.WarningCount;
inline constexpr auto& TextStore = CurrentRun.TextStore;
inline constexpr auto& MessageBuffer = CurrentRun.MessageBuffer;

const char* FieldText::c_str() const {
    return TextStore + (bits_ >> LengthBits);
}

void FieldText::Assign(const char* text, std::size_t length) {
    bits_ = static_cast<std::uint32_t>(text - TextStore) << LengthBits |
            static_cast<std::uint32_t>(length);
}

// Copies text (at most its first StoredTextLimit characters) into the run's text store and
// returns the stored, zero-terminated copy, valid until the next run starts. The store has room
// for one such text and one long name per record of the table; when it is full, the empty text
// comes back. The copy belongs to the caller, which may cut it into fields in place.
char* StoreText(std::string_view text);

// Resets everything a run works on, as a run starts.
void ResetConversionState(float variation, int variationGiven, const char* caiPath,
                          const RunChoices& choices = {});

// Adds one to a count without ever passing the largest value (a file can hold more lines, and
// so more errors, than that).
inline void CountOne(std::int32_t& count) {
    if (count < INT32_MAX)
        ++count;
}

// Reports "Error <CAI file> <line>: <message>" and counts one error.
void ReportLineError(const char* message);
