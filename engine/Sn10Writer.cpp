#include "Sn10Writer.h"

#include <cmath>
#include <cstring>
#include <string>

#include "Messages.h"
#include "TextFile.h"
#include "Turnpoint.h"

namespace {

constexpr char Banner[] = "VELQUOR version 1.1: Converts CAI point database to SN10 format.";
constexpr char Notice[] = "Made for the SN10 flight computer.";
constexpr int HeaderLine = 6;

// What each character of a text becomes in a line of the file: every line break becomes a
// blank, so the text cannot end its line early, and inside double quotes every double quote
// becomes an apostrophe, so it cannot end the quoted text early. Stored texts stay as they are.
struct OneLineMap {
    char plain[256];
    char quoted[256];
};
constexpr OneLineMap MakeOneLineMap() {
    OneLineMap map{};
    for (int c = 0; c < 256; ++c)
        map.plain[c] = map.quoted[c] = static_cast<char>(c);
    for (unsigned char lineBreak : {'\r', '\n'})
        map.plain[lineBreak] = map.quoted[lineBreak] = ' ';
    map.quoted[static_cast<unsigned char>('"')] = '\'';
    return map;
}
constexpr OneLineMap OneLine = MakeOneLineMap();

// The text as it may stand in one line of the file, in copy.
const char* OnOneLine(std::string& copy, const char* text, bool quoted = false) {
    const char* map = quoted ? OneLine.quoted : OneLine.plain;
    copy.assign(text);
    for (char& c : copy)
        c = map[static_cast<unsigned char>(c)];
    return copy.c_str();
}

// Appends the text as it may stand in one line of the file, filled with blanks at its end to at
// least width characters, and returns the new end. The caller makes room for the text and the
// filling.
char* PutOnOneLine(char* out, const char* text, bool quoted, std::size_t width = 0) {
    const char* map = quoted ? OneLine.quoted : OneLine.plain;
    char* const start = out;
    for (; *text; ++text)
        *out++ = map[static_cast<unsigned char>(*text)];
    while (static_cast<std::size_t>(out - start) < width)
        *out++ = ' ';
    return out;
}

char* Put(char* out, const char* text) {
    const std::size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return out + length;
}

// The point's line, "P \"%s\", %s , %s , %-5s , %-6s , U , \"%-16s%s\"\n" with the short name,
// latitude, longitude, elevation, type letters, long name and comment, with its CR LF end.
// Returns the line's end; a line takes at most PointLineRoom characters.
constexpr std::size_t PointLineRoom = 4 * FieldSize + ShortNameSize + LongNameSize + 32;
char* PutPointLine(char* out, const Turnpoint& point, const char* letters) {
    out = Put(out, "P \"");
    out = PutOnOneLine(out, point.ShortName, true);
    out = Put(out, "\", ");
    out = PutOnOneLine(out, point.Latitude, false);
    out = Put(out, " , ");
    out = PutOnOneLine(out, point.Longitude, false);
    out = Put(out, " , ");
    out = PutOnOneLine(out, point.Elevation, false, 5);
    out = Put(out, " , ");
    out = PutOnOneLine(out, letters, false, 6);
    out = Put(out, " , U , \"");
    out = PutOnOneLine(out, point.LongName, true, 16);
    out = PutOnOneLine(out, point.Comment, true);
    return Put(out, "\"\r\n");
}

// Type letters in their fixed order, whatever the order in the CAI file.
void BuildTypeLetters(const Turnpoint& point, char* letters) {
    char* p = letters;
    if (point.IsTurnpoint)
        *p++ = 'T';
    if (point.IsStart)
        *p++ = 'S';
    if (point.IsMarkpoint)
        *p++ = 'M';
    if (point.IsLandable)
        *p++ = 'L';
    if (point.IsFinish)
        *p++ = 'F';
    if (point.IsAirport)
        *p++ = 'A';
    *p = '\0';
}

std::uint32_t HashName(const char* name) {
    std::uint32_t hash = 2166136261u;
    for (; *name; ++name)
        hash = (hash ^ static_cast<unsigned char>(*name)) * 16777619u;
    return hash;
}

} // namespace

void PadWithBlanks(char* text, int width) {
    int length = static_cast<int>(std::strlen(text));
    while (length < width)
        text[length++] = ' ';
    text[length] = '\0';
}

void WriteSn10File(std::FILE* file, const char* sn10Path) {
    // One copy for each text of the header that may need changing.
    static std::string line, copies[3];
    ConverterStateRecord& state = ConverterState;

    FormatText(line, "!%s\n!    %s\n!\n! Converted from CAI file %s\nV QUIVELNAV4\n", Banner,
               Notice, OnOneLine(copies[0], state.CaiFileName));
    WriteText(file, line);

    if (state.HomeIndex < 0) {
        ReportLineError("Home point not defined");
        state.HomeIndex = 0;
    }
    int lineNumber = HeaderLine;
    if (state.TimezoneSet == 0) {
        EmitFormatted("Warning %s %d: Timezone is not set %0.1f was used.\n", sn10Path, HeaderLine,
                      static_cast<double>(state.Timezone));
        CountOne(WarningCount);
    }
    const Turnpoint& home = TurnpointTable[state.HomeIndex];
    if (state.SiteTitle[0] == '\0') {
        EmitFormatted("Warning %s %d: Site title was not set home point name was used.\n", sn10Path,
                      HeaderLine);
        CountOne(WarningCount);
        std::strcpy(state.SiteTitle, home.LongName);
    }
    PadWithBlanks(state.SiteTitle, 16);

    // The sign goes into the header on its own; hours and minutes are cut toward zero from the
    // magnitude, the minutes from the exact product of the stored value and 60.
    const char sign = state.Timezone < 0 ? '-' : ' ';
    state.Timezone = std::fabs(state.Timezone);
    const int hours = static_cast<int>(state.Timezone);
    const int minutes = static_cast<int>(static_cast<double>(state.Timezone) * 60.0) % 60;
    // A variation that rounds to zero is written "0.0", never "-0.0".
    double magvar = state.Magvar;
    if (magvar > -0.05 && magvar <= 0.0)
        magvar = 0.0;
    FormatText(
        line, "H \"%sCAI conversion  %s\" , Timezone %c%d:%02d , Magvar %0.1f , Home \"%s\"\n",
        OnOneLine(copies[0], state.SiteTitle, true), OnOneLine(copies[1], state.CaiFileName, true),
        sign, hours, minutes, magvar, OnOneLine(copies[2], home.ShortName, true));
    WriteText(file, line);

    // The point lines are gathered in blocks and handed to the file a block at a time.
    static char block[16 * 1024];
    static_assert(sizeof block > 2 * PointLineRoom);
    char* end = block;
    int written = 0;
    char letters[8];
    for (int i = 0; i < state.PointCount; ++i) {
        Turnpoint& point = TurnpointTable[i];
        BuildTypeLetters(point, letters);
        if (letters[0] == '\0')
            continue;
        point.OutputLine = ++lineNumber;
        ++written;
        if (static_cast<std::size_t>(block + sizeof block - end) < PointLineRoom) {
            std::fwrite(block, 1, static_cast<std::size_t>(end - block), file);
            end = block;
        }
        end = PutPointLine(end, point, letters);
    }
    std::fwrite(block, 1, static_cast<std::size_t>(end - block), file);
    EmitFormatted("%d points written to: %s\n", written, sn10Path);
}

void CheckAmbiguousNames(const char* sn10Path) {
    // For every record, the next record with the same short name, found in one pass from the
    // end with a small open-addressing table instead of comparing every pair.
    constexpr std::uint32_t SlotCount = 4096; // a power of two above twice the capacity
    // Record numbers fit in 16 bits, which keeps the two arrays to three pages.
    static_assert(TurnpointCapacity < 0xFFFF);
    static std::uint16_t nextSame[TurnpointCapacity]; // record index + 1 of the next, 0 for none
    static std::uint16_t slots[SlotCount]; // record index + 1 of the latest seen, 0 when free
    std::memset(slots, 0, sizeof slots);

    const int count = ConverterState.PointCount < TurnpointCapacity ? ConverterState.PointCount
                                                                    : TurnpointCapacity;
    for (int i = count - 1; i >= 0; --i) {
        const char* name = TurnpointTable[i].ShortName;
        std::uint32_t slot = HashName(name) & (SlotCount - 1);
        while (slots[slot] != 0 && std::strcmp(TurnpointTable[slots[slot] - 1].ShortName, name))
            slot = (slot + 1) & (SlotCount - 1);
        nextSame[i] = slots[slot];
        slots[slot] = static_cast<std::uint16_t>(i + 1);
    }
    for (int i = 0; i < count; ++i) {
        const Turnpoint& point = TurnpointTable[i];
        if (nextSame[i] == 0 || point.OutputLine == 0)
            continue;
        CountOne(WarningCount);
        EmitFormatted(
            "Warning %s %d: Ambiguous name %s\n    long name 1: %s\n    long name 2: %s\n",
            sn10Path, point.OutputLine, point.ShortName, point.LongName,
            TurnpointTable[nextSame[i] - 1].LongName);
    }
}
