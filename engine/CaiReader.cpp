// SPDX-License-Identifier: MIT
#include "CaiReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "Coordinates.h"
#include "Encoding.h"
#include "Messages.h"
#include "RunState.h"
#include "TextFile.h"
#include "TextFormat.h"

namespace {

constexpr char TitlePrefix[] = "**  ------------ ";
constexpr char TimezonePrefix[] = "**  ------ Timezone: ";
constexpr int TypeFieldSize = 20;
// A timezone this far from zero is not a timezone; it also keeps the hours printable.
constexpr float TimezoneLimit = 1.0e6f;

bool StartsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Copies at most length characters of source into a field of the table and terminates it.
void CopyCut(char* field, std::string_view source, std::size_t length) {
    const std::size_t n = std::min(source.size(), length);
    std::memcpy(field, source.data(), n);
    field[n] = '\0';
}

void ReadTitle(const char* line) {
    char* title = ConverterState.SiteTitle;
    const char* text = line + sizeof TitlePrefix - 1;
    CopyCut(title, {text, strnlen(text, SiteTitleSize - 1)}, SiteTitleSize - 1);
    title[ToWindows1252InPlace(title, std::strlen(title))] = '\0';
    // Trim line feeds, hyphens and white space from the end, but keep the first character.
    for (std::size_t last = std::strlen(title); last > 1; --last) {
        char c = title[last - 1];
        if (c != '-' && !IsWhiteSpace(c))
            break;
        title[last - 1] = '\0';
    }
    // A header with nothing but line breaks after its prefix gives no title.
    if (std::strspn(title, "\r\n") == std::strlen(title))
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

// The short name is "%02d%5s" of the point number and its name for numbers below 1000, else
// the name alone; the long name is the name. Both are cut to their lengths, without double
// quotes.
void BuildNames(Turnpoint& point) {
    const std::string_view name(point.Name.c_str(), point.Name.size());
    char number[16];
    std::size_t length = 0;
    if (point.PointId < 1000) {
        length = static_cast<std::size_t>(
            std::to_chars(number, number + sizeof number, point.PointId).ptr - number);
        if (length < 2) {
            number[1] = number[0];
            number[0] = '0';
            length = 2;
        }
        for (std::size_t nameLength = std::min(name.size(), std::size_t{5}); nameLength < 5;
             ++nameLength)
            number[length++] = ' ';
    }
    const std::size_t fromNumber = std::min(length, std::size_t{ShortNameSize - 1});
    std::memcpy(point.ShortName, number, fromNumber);
    CopyCut(point.ShortName + fromNumber, name, ShortNameSize - 1 - fromNumber);
    const std::string_view longName = name.substr(0, LongNameSize - 1);
    const bool quoted = longName.find('"') != std::string_view::npos;
    if (longName.size() == name.size() && !quoted) {
        point.LongName.Assign(name.data(), name.size()); // the name as it stands
        return;
    }
    char* copy = StoreText(longName);
    if (quoted) {
        ReplaceQuotes(point.ShortName);
        ReplaceQuotes(copy);
    }
    point.LongName = copy;
}

// What a point line holds that needs care: bytes beyond ASCII, and double quotes or carriage
// returns, which its texts cannot carry into the SN10 file as they are.
struct LineBytes {
    bool high;
    bool quoteOrReturn;
};
LineBytes LookAtLine(std::string_view line) {
    // Every line passes here. Bytes beyond ASCII are found eight at a time by one OR per word;
    // quotes and carriage returns by the C library's search, which takes many bytes per step.
    constexpr std::uint64_t Highs = 0x8080808080808080u;
    std::uint64_t high = 0;
    std::size_t at = 0;
    for (; at + 8 <= line.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, line.data() + at, 8);
        high |= word;
    }
    for (; at < line.size(); ++at)
        high |= static_cast<unsigned char>(line[at]);
    const bool special = std::memchr(line.data(), '"', line.size()) != nullptr ||
                         std::memchr(line.data(), '\r', line.size()) != nullptr;
    return {(high & Highs) != 0, special};
}

// Fields are looked for in the first 201 characters of a line only.
constexpr std::size_t FieldScanLimit = 201;
constexpr int FieldsPerLine = 7;

// Cuts a line into its fields, one after the other: every separator ends a field, white space at
// the start of a field is dropped, and everything from the field's first other character up to
// the next separator belongs to it, trailing blanks included. Past the line's end every field is
// empty.
class FieldCutter {
public:
    FieldCutter(std::string_view line, char separator) : rest_(line), separator_(separator) {}

    std::string_view Next() {
        if (done_)
            return {};
        const void* at = std::memchr(rest_.data(), separator_, rest_.size());
        const bool found = at != nullptr;
        const std::size_t end =
            found ? static_cast<std::size_t>(static_cast<const char*>(at) - rest_.data())
                  : rest_.size();
        std::string_view field = rest_.substr(0, end);
        done_ = !found;
        rest_.remove_prefix(found ? end + 1 : end);
        // Most fields start with a printable character: one test settles them.
        if (field.empty() || static_cast<unsigned char>(field[0]) > ' ')
            return field;
        std::size_t start = 0;
        while (start < field.size() && IsWhiteSpace(field[start]))
            ++start;
        return field.substr(start);
    }

private:
    std::string_view rest_;
    char separator_;
    bool done_ = false;
};

// Copies a field, keeping at most outSize - 1 characters, and terminates the copy.
void CopyField(std::string_view field, char* out, int outSize) {
    if (outSize <= 0)
        return;
    const std::size_t n = std::min(field.size(), static_cast<std::size_t>(outSize - 1));
    if (n > 0)
        std::memcpy(out, field.data(), n);
    out[n] = '\0';
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
    FieldCutter fields({line, strnlen(line, FieldScanLimit)}, separator);
    std::string_view field;
    for (int n = 1; n <= fieldNumber; ++n)
        field = fields.Next();
    CopyField(field, out, outSize);
}

bool ParsePointLine(char* line) {
    if (ConverterState.PointCount >= TurnpointCapacity)
        return false;
    if (IsBlankLine(line))
        return true;
    std::size_t length = std::strlen(line);
    if (line[length - 1] == '\n')
        --length;
    // A line of UTF-8 is read in the database's encoding, so that names are cut by characters.
    const LineBytes bytes = LookAtLine({line, length});
    if (bytes.high && IsValidUtf8({line, length}))
        length = Utf8ToWindows1252({line, length}, line);
    line[length] = '\0';

    Turnpoint& point = TurnpointTable[ConverterState.PointCount];
    // The line is kept once in the text store and cut into its fields there: each field ends
    // with a terminating zero where its separator was.
    const std::string_view kept(line, std::min(length, FieldScanLimit));
    char* const stored = StoreText(kept);
    const std::size_t storedLength = *stored ? std::min(kept.size(), StoredTextLimit) : 0;
    FieldCutter cutter({stored, storedLength}, ',');
    std::string_view fields[FieldsPerLine];
    for (std::string_view& field : fields)
        field = cutter.Next();
    // Each field ends where its separator was.
    auto cut = [&](int n) {
        std::string_view text = fields[n];
        if (text.empty())
            return std::string_view("");
        if (text.size() > static_cast<std::size_t>(FieldSize - 1))
            text.remove_suffix(text.size() - (FieldSize - 1));
        const_cast<char*>(text.data())[text.size()] = '\0';
        return text;
    };
    auto set = [&](FieldText& field, int n) {
        const std::string_view text = cut(n);
        field.Assign(text.empty() ? TextStore : text.data(), text.size());
    };
    char type[TypeFieldSize];
    CopyField(fields[4], type, TypeFieldSize);
    if (!ScanInt(cut(0).data(), point.PointId))
        ReportLineError("Invalid or missing point ID number");
    point.SourceLine = ConverterState.LineNumber;
    set(point.Latitude, 1);
    set(point.Longitude, 2);
    set(point.Elevation, 3);
    set(point.Name, 5);
    set(point.Comment, 6);
    if (!ReadCaiCoordinate(point.Latitude, point.Latitude.size(), true, point.LatitudeRadians))
        ReportFieldError("Invalid latitude: ", point.Latitude.view());
    if (!ReadCaiCoordinate(point.Longitude, point.Longitude.size(), false, point.LongitudeRadians))
        ReportFieldError("Invalid longitude: ", point.Longitude.view());

    ApplyTypeLetters(point, type);
    BuildNames(point);
    point.TextsArePlain = !bytes.quoteOrReturn;
    CountStoredPoint("Too many points in CAI data");
    return true;
}

void ReportFieldError(const char* message, std::string_view text) {
    std::string& full = CurrentRun.FieldMessage;
    full.assign(message).append(text);
    ReportLineError(full.c_str());
}

void CountStoredPoint(const char* tableFull) {
    if (++ConverterState.PointCount == TurnpointCapacity)
        ReportLineError(tableFull);
    else
        ++ConverterState.PointsRead;
}

void LinesPastTheTable::Report(const char* fileName, const char* line) {
    CountOne(ErrorCount);
    CountOne(count_);
    if (count_ >= ReportedOneByOne)
        return;
    EmitFormatted("Error %s %d: ", fileName, ConverterState.LineNumber);
    EmitMessages("Bad format.\n");
    EmitFormatted("\t%s\n", line);
}

void LinesPastTheTable::Finish(const char* fileName) {
    if (count_ >= ReportedOneByOne)
        EmitFormatted("Error %s %d: %d more point lines did not fit into the table of %d points\n",
                      fileName, ConverterState.LineNumber, count_ - (ReportedOneByOne - 1),
                      TurnpointCapacity - 1);
}

bool ReadCaiFile(const char* fileName) {
    ConverterState.PointCount = 0;
    ConverterState.LineNumber = 0;

    TextFileReader& file = CurrentRun.Input;
    if (!file.Open(fileName)) {
        EmitFormatted("Could not open file: %s\n", fileName);
        return false;
    }
    char line[FieldSize];
    LinesPastTheTable pastTheTable;
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
        if (!ParsePointLine(line))
            pastTheTable.Report(fileName, line);
    }
    file.Close();
    pastTheTable.Finish(fileName);
    return true;
}
