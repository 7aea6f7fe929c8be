#include "CaiReader.h"

#include <cmath>
#include <cstring>
#include <string>

#include "Messages.h"
#include "TextFile.h"
#include "TextFormat.h"
#include "Turnpoint.h"

namespace {

constexpr char TitlePrefix[] = "**  ------------ ";
constexpr char TimezonePrefix[] = "**  ------ Timezone: ";
constexpr int TypeFieldSize = 20;
constexpr int ShortNameLength = 7;
constexpr int LongNameLength = 16;
// A timezone this far from zero is not a timezone; it also keeps the hours printable.
constexpr float TimezoneLimit = 1.0e6f;

bool StartsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Copies at most length characters of source into a field of the table and terminates it.
void CopyCut(char* field, const char* source, std::size_t length) {
    std::size_t n = strnlen(source, length);
    std::memcpy(field, source, n);
    field[n] = '\0';
}

void ReadTitle(const char* line) {
    char* title = ConverterState.SiteTitle;
    CopyCut(title, line + sizeof TitlePrefix - 1, SiteTitleSize - 1);
    // Trim line feeds, hyphens and white space from the end, but keep the first character.
    for (std::size_t last = std::strlen(title); last > 1; --last) {
        char c = title[last - 1];
        if (c != '-' && !IsWhiteSpace(c))
            break;
        title[last - 1] = '\0';
    }
    // A header with nothing after its prefix would leave a lone line break as the title.
    if (title[0] == '\n' || title[0] == '\r')
        title[0] = '\0';
}

void ReadTimezone(const char* line) {
    float hours = 0.0f;
    if (ScanFloat(line + sizeof TimezonePrefix - 1, hours) && std::isfinite(hours) &&
        std::fabs(hours) < TimezoneLimit) {
        ConverterState.Timezone = hours;
        ConverterState.TimezoneSet = 1;
    }
}

void ApplyTypeLetters(Turnpoint& point, const char* type) {
    for (const char* p = type; *p; ++p) {
        switch (UpperAscii(*p)) {
        case 'A':
            point.IsAirport = 1;
            point.IsLandable = 1;
            break;
        case 'F':
            point.IsFinish = 1;
            break;
        case 'H':
            if (ConverterState.HomeIndex == -1)
                ConverterState.HomeIndex = ConverterState.PointCount;
            else
                ReportLineError("Duplicate home point");
            break;
        case 'L':
            point.IsLandable = 1;
            break;
        case 'M':
            point.IsMarkpoint = 1;
            break;
        case 'R':
            break;
        case 'S':
            point.IsStart = 1;
            break;
        case 'T':
            point.IsTurnpoint = 1;
            break;
        default:
            ReportLineError("unrecognized turnpoint type");
            EmitFormatted("    Point type: %s\n", type);
            break;
        }
    }
}

void BuildNames(Turnpoint& point) {
    static std::string scratch;
    if (point.PointId < 1000)
        FormatText(scratch, "%02d%5s", point.PointId, point.Name);
    else
        scratch.assign(point.Name);
    CopyCut(point.ShortName, scratch.c_str(), ShortNameLength);
    ReplaceQuotes(point.ShortName);
    CopyCut(point.LongName, point.Name, LongNameLength);
    ReplaceQuotes(point.LongName);
}

} // namespace

bool IsBlankLine(const char* text) {
    if (!text)
        return true;
    while (IsWhiteSpace(*text))
        ++text;
    return *text == '\0';
}

bool IsCommentLine(const char* text) {
    if (!text)
        return false;
    while (IsWhiteSpace(*text))
        ++text;
    return *text == '*';
}

void ReplaceQuotes(char* text) {
    for (; *text; ++text)
        if (*text == '"')
            *text = '\'';
}

void GetField(const char* line, int fieldNumber, char separator, char* out, int outSize) {
    if (outSize <= 0)
        return;
    out[0] = '\0';
    int length = 0;
    int field = 1;
    bool started = false;
    for (int i = 0; i < 201 && line[i] != '\0'; ++i) {
        char c = line[i];
        if (c == separator) {
            started = false;
            if (++field > fieldNumber)
                return;
            continue;
        }
        if (field != fieldNumber)
            continue;
        if (!started && IsWhiteSpace(c))
            continue;
        started = true;
        if (length < outSize - 1) {
            out[length++] = c;
            out[length] = '\0';
        }
    }
}

bool ParsePointLine(char* line) {
    if (ConverterState.PointCount >= TurnpointCapacity)
        return false;
    if (IsBlankLine(line))
        return true;
    std::size_t length = std::strlen(line);
    if (line[length - 1] == '\n')
        line[length - 1] = '\0';

    Turnpoint& point = TurnpointTable[ConverterState.PointCount];
    char number[FieldSize];
    GetField(line, 1, ',', number, FieldSize);
    if (!ScanInt(number, point.PointId))
        ReportLineError("Invalid or missing point ID number");
    point.SourceLine = ConverterState.LineNumber;

    char type[TypeFieldSize];
    GetField(line, 2, ',', point.Latitude, FieldSize);
    GetField(line, 3, ',', point.Longitude, FieldSize);
    GetField(line, 4, ',', point.Elevation, FieldSize);
    GetField(line, 5, ',', type, TypeFieldSize);
    GetField(line, 6, ',', point.Name, FieldSize);
    GetField(line, 7, ',', point.Comment, FieldSize);

    ApplyTypeLetters(point, type);
    BuildNames(point);

    if (++ConverterState.PointCount == TurnpointCapacity)
        ReportLineError("Too many points in CAI data");
    else
        ++ConverterState.PointsRead;
    return true;
}

bool ReadCaiFile(const char* fileName) {
    ConverterState.PointCount = 0;
    ConverterState.LineNumber = 0;

    static TextFileReader file;
    if (!file.Open(fileName)) {
        EmitFormatted("Could not open file: %s\n", fileName);
        return false;
    }
    char line[FieldSize];
    for (;;) {
        TextFileReader::Result result = file.ReadPiece(line, FieldSize);
        if (result == TextFileReader::Result::End)
            break;
        if (result == TextFileReader::Result::Error) {
            // Taking a failed read for the end would write a database from part of the file.
            ReportLineError("Read error in CAI file");
            break;
        }
        CountOne(ConverterState.LineNumber);
        const std::int32_t lineNumber = ConverterState.LineNumber;

        if (IsBlankLine(line))
            continue;
        if (lineNumber == 1 && StartsWith(line, TitlePrefix)) {
            ReadTitle(line);
            continue;
        }
        if (lineNumber == 2 && StartsWith(line, TimezonePrefix)) {
            ReadTimezone(line);
            continue;
        }
        if (IsCommentLine(line))
            continue;
        if (!ParsePointLine(line)) {
            CountOne(ErrorCount);
            EmitFormatted("Error %s %d: ", fileName, lineNumber);
            EmitMessages("Bad format.\n");
            EmitFormatted("\t%s\n", line);
        }
    }
    file.Close();
    return true;
}
