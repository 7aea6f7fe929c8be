// SPDX-License-Identifier: MIT
#include "Sn10Writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "Coordinates.h"
#include "Messages.h"
#include "RunState.h"
#include "TextFile.h"

namespace {

constexpr char Banner[] = "VELQUOR version 1.1: Converts CAI point database to SN10 format.";
constexpr char Notice[] = "Made for the SN10 flight computer.";
constexpr int HeaderLine = 6;
constexpr double Pi = 3.14159265358979323846;

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

// Maps the characters from start to end through one of the OneLine maps, in place.
void MapInPlace(char* start, const char* end, const char* map) {
    for (; start != end; ++start)
        *start = map[static_cast<unsigned char>(*start)];
}

// The text as it may stand in one line of the file, in copy.
const char* OnOneLine(std::string& copy, const char* text, bool quoted = false) {
    copy.assign(text);
    MapInPlace(copy.data(), copy.data() + copy.size(), quoted ? OneLine.quoted : OneLine.plain);
    return copy.c_str();
}

char* Put(char* out, const char* text) {
    const std::size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return out + length;
}

// Appends length characters of text, filled with blanks at their end to at least width
// characters, and returns the new end. The caller makes room for the text and the filling.
char* PutPadded(char* out, const char* text, std::size_t length, std::size_t width = 0) {
    std::memcpy(out, text, length);
    out += length;
    if (length < width) {
        std::memset(out, ' ', width - length);
        out += width - length;
    }
    return out;
}

// The point's line, "P \"%s\", %s , %s , %-5s , %-6s , U , \"%-16s%s\"\n" with the short name,
// latitude, longitude, elevation, type letters, long name and comment, with its CR LF end.
// Returns the line's end; a line takes at most PointLineRoom characters.
constexpr std::size_t PointLineRoom = 4 * FieldSize + ShortNameSize + LongNameSize + 32;
static_assert(TextBlockSize > PointLineRoom);
char* PutPointLine(char* out, const Turnpoint& point, const char* letters,
                   std::size_t letterCount) {
    char* const line = out;
    out = Put(out, "P \"");
    char* const shortName = out;
    out = PutPadded(out, point.ShortName, strnlen(point.ShortName, ShortNameSize));
    char* const shortNameEnd = out;
    out = Put(out, "\", ");
    out = PutPadded(out, point.Latitude, point.Latitude.size());
    out = Put(out, " , ");
    out = PutPadded(out, point.Longitude, point.Longitude.size());
    out = Put(out, " , ");
    out = PutPadded(out, point.Elevation, point.Elevation.size(), 5);
    out = Put(out, " , ");
    out = PutPadded(out, letters, letterCount, 6);
    out = Put(out, " , U , \"");
    char* const quoted = out;
    out = PutPadded(out, point.LongName, point.LongName.size(), 16);
    out = PutPadded(out, point.Comment, point.Comment.size());
    // The texts went in as they are stored; the few that hold a line break, or a double quote
    // inside the quotes, are mapped now. The reader tells of the points that hold neither.
    if (point.TextsArePlain)
        return Put(out, "\"\r\n");
    const auto length = static_cast<std::size_t>(out - line);
    if (std::memchr(line, '\r', length) || std::memchr(line, '\n', length))
        MapInPlace(line, out, OneLine.plain);
    if (std::memchr(shortName, '"', static_cast<std::size_t>(shortNameEnd - shortName)))
        MapInPlace(shortName, shortNameEnd, OneLine.quoted);
    if (std::memchr(quoted, '"', static_cast<std::size_t>(out - quoted)))
        MapInPlace(quoted, out, OneLine.quoted);
    return Put(out, "\"\r\n");
}

// The file's text, gathered in the run's output block and handed to the file a block at a time.
class BlockOutput {
public:
    explicit BlockOutput(std::FILE* file) : file_(file) {}

    // Where the next characters go, with room for at least count of them.
    char* Room(std::size_t count) {
        if (static_cast<std::size_t>(block_ + TextBlockSize - end_) < count)
            Flush();
        return end_;
    }
    void Advance(char* end) { end_ = end; }

    // Appends text, each line feed as CR LF.
    void PutText(std::string_view text) {
        for (;;) {
            const std::size_t newline = text.find('\n');
            Append(text.substr(0, newline));
            if (newline == std::string_view::npos)
                return;
            Append("\r\n");
            text.remove_prefix(newline + 1);
        }
    }

    // Hands what was gathered to the file.
    void Flush() {
        std::fwrite(block_, 1, static_cast<std::size_t>(end_ - block_), file_);
        end_ = block_;
    }

private:
    void Append(std::string_view text) {
        while (!text.empty()) {
            const std::size_t count =
                std::min(text.size(), static_cast<std::size_t>(block_ + TextBlockSize - Room(1)));
            std::memcpy(end_, text.data(), count);
            end_ += count;
            text.remove_prefix(count);
        }
    }
    std::FILE* file_;
    char* const block_ = CurrentRun.OutputBlock;
    char* end_ = block_;
};

// Type letters in their fixed order, whatever the order in the CAI file; returns their count.
std::size_t BuildTypeLetters(const Turnpoint& point, char* letters) {
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
    return static_cast<std::size_t>(p - letters);
}

// What the SN10 holds: 600 points in its site 1, 900 in its site 2.
constexpr int Sn10Site1Capacity = 600;
constexpr int Sn10Capacity = 900;

// A point whose position with the other hemisphere letter lies this close to the home point,
// while it lies beyond the first distance, most likely has the wrong letter.
constexpr double FarFromHomeKm = 1000.0;
constexpr double NearHomeKm = 300.0;

// No home point was read. A CUP file has no home marker: its first airfield, or else its first
// point, serves, with a warning. For a CAI file (or an empty one) this is an error, and the
// first record serves.
void DefaultHomePoint(const char* sn10Path) {
    ConverterStateRecord& state = ConverterState;
    state.HomeIndex = 0;
    if (CurrentRun.Format != InputFormat::Cup || state.PointCount == 0) {
        ReportLineError("Home point not defined");
        return;
    }
    const int count = std::min(state.PointCount, TurnpointCapacity);
    for (int i = 0; i < count; ++i) {
        if (TurnpointTable[i].IsAirport) {
            state.HomeIndex = i;
            break;
        }
    }
    const Turnpoint& home = TurnpointTable[state.HomeIndex];
    EmitFormatted("Warning %s %d: Home point not set, first %s %s was used.\n", sn10Path,
                  HeaderLine, home.IsAirport ? "airfield" : "point", home.LongName.c_str());
    CountOne(WarningCount);
}

// A height as the SN10 reads it: a number and M or F (either case, blanks between and after
// allowed), or U for an unknown one.
bool IsHeight(std::string_view text) {
    std::size_t at = 0;
    auto blanks = [&] {
        while (at < text.size() && IsWhiteSpace(text[at]))
            ++at;
    };
    auto unit = [&](char upper) {
        if (at < text.size() && (text[at] | 0x20) == (upper | 0x20)) {
            ++at;
            blanks();
            return at == text.size();
        }
        return false;
    };
    if (unit('U'))
        return true;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        ++at;
    const std::size_t digits = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
        ++at;
    bool number = at > digits;
    if (at < text.size() && text[at] == '.') {
        const std::size_t decimals = ++at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9')
            ++at;
        number = number || at > decimals;
    }
    if (!number)
        return false;
    blanks();
    const std::size_t letter = at;
    if (unit('M'))
        return true;
    at = letter;
    return unit('F');
}

// Finds points whose hemisphere letter looks swapped: far from the home point, but near it
// with the other letter. Cheap bounds settle almost every point without a trigonometric call:
// only a point that is far, and that one of the swaps could bring near, is measured exactly.
class HomeDistances {
public:
    explicit HomeDistances(const Turnpoint& home)
        : latitude_(home.LatitudeRadians), longitude_(home.LongitudeRadians),
          cosLatitude_(Cosine(latitude_)),
          cosNearLatitude_(
              Cosine(std::min(Pi / 2, std::fabs(latitude_) + NearHomeKm / EarthRadiusKm))) {}

    void CheckHemispheres(const Turnpoint& point, const char* sn10Path) const {
        const double latitude = point.LatitudeRadians, longitude = point.LongitudeRadians;
        // Along the home's parallel, then along the point's meridian: never shorter than the
        // great circle. Most points are near enough by this alone.
        if (EarthRadiusKm * (std::fabs(latitude - latitude_) +
                             cosLatitude_ * LongitudeApart(longitude, longitude_)) <=
            FarFromHomeKm)
            return;
        // A great circle is never shorter than the difference of latitudes; and when the
        // latitudes are close, the longitudes must be close, too (in the haversine's terms).
        const bool latitudeSwapNear = EarthRadiusKm * std::fabs(latitude + latitude_) <= NearHomeKm;
        const double swappedApart = LongitudeApart(-longitude, longitude_) / Pi;
        const bool longitudeSwapNear =
            EarthRadiusKm * std::fabs(latitude - latitude_) <= NearHomeKm &&
            cosNearLatitude_ * cosLatitude_ * swappedApart * swappedApart <= NearHaversine;
        if (!latitudeSwapNear && !longitudeSwapNear)
            return;
        const double apart = DistanceKm(latitude_, longitude_, latitude, longitude);
        if (apart <= FarFromHomeKm)
            return;
        const double withOtherLatitude =
            latitudeSwapNear ? DistanceKm(latitude_, longitude_, -latitude, longitude) : HUGE_VAL;
        const double withOtherLongitude =
            longitudeSwapNear ? DistanceKm(latitude_, longitude_, latitude, -longitude) : HUGE_VAL;
        const bool latitudeCloser = withOtherLatitude <= withOtherLongitude;
        const double closest = latitudeCloser ? withOtherLatitude : withOtherLongitude;
        if (closest > NearHomeKm)
            return;
        char written, other;
        if (latitudeCloser) {
            written = std::signbit(latitude) ? 'S' : 'N';
            other = written == 'N' ? 'S' : 'N';
        } else {
            written = std::signbit(longitude) ? 'W' : 'E';
            other = written == 'E' ? 'W' : 'E';
        }
        EmitFormatted("Warning %s %d: %s lies %d km from the home point; with %c instead of %c it "
                      "would lie %d km away\n",
                      sn10Path, point.OutputLine, point.LongName.c_str(), WholeKm(apart), other,
                      written, WholeKm(closest));
        CountOne(WarningCount);
    }

private:
    // The haversine of NearHomeKm: sin^2 of half its angle.
    static inline const double NearHaversine =
        Sine(NearHomeKm / (2.0 * EarthRadiusKm)) * Sine(NearHomeKm / (2.0 * EarthRadiusKm));

    // A distance to the nearest kilometre, half a kilometre up.
    static int WholeKm(double km) { return static_cast<int>(km + 0.5); }

    // The difference of two longitudes, the short way round: 0 to pi.
    static double LongitudeApart(double a, double b) {
        const double apart = std::fabs(a - b);
        return apart > Pi ? 2.0 * Pi - apart : apart;
    }

    double latitude_, longitude_, cosLatitude_;
    double cosNearLatitude_; // of the latitude farthest from the equator within NearHomeKm
};

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
    std::string& line = CurrentRun.HeaderLine;
    std::string(&copies)[3] = CurrentRun.HeaderTexts; // each text of the header that may change
    ConverterStateRecord& state = ConverterState;
    const bool cup = CurrentRun.Format == InputFormat::Cup;
    const char* const format = cup ? "CUP" : "CAI";

    BlockOutput output(file);
    FormatText(line, "!%s\n!    %s\n!\n! Converted from %s file %s\nV QUIVELNAV4\n", Banner, Notice,
               format, OnOneLine(copies[0], state.CaiFileName));
    output.PutText(line);

    if (state.HomeIndex < 0)
        DefaultHomePoint(sn10Path);
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
    FormatText(line,
               "H \"%s%s conversion  %s\" , Timezone %c%d:%02d , Magvar %0.1f , Home \"%s\"\n",
               OnOneLine(copies[0], state.SiteTitle, true), format,
               OnOneLine(copies[1], state.CaiFileName, true), sign, hours, minutes, magvar,
               OnOneLine(copies[2], home.ShortName, true));
    output.PutText(line);

    const HomeDistances distances(home);
    int written = 0;
    char letters[8];
    for (int i = 0; i < state.PointCount; ++i) {
        Turnpoint& point = TurnpointTable[i];
        const std::size_t letterCount = BuildTypeLetters(point, letters);
        if (letterCount == 0)
            continue;
        point.OutputLine = ++lineNumber;
        ++written;
        output.Advance(PutPointLine(output.Room(PointLineRoom), point, letters, letterCount));
        if (!IsHeight(point.Elevation.view())) {
            EmitFormatted("Warning %s %d: Elevation %s of %s is not a height in M or F\n", sn10Path,
                          lineNumber, point.Elevation.c_str(), point.LongName.c_str());
            CountOne(WarningCount);
        }
        if (&point != &home)
            distances.CheckHemispheres(point, sn10Path);
    }
    output.Flush();
    CurrentRun.PointsWritten = written;
    EmitFormatted("%d points written to: %s\n", written, sn10Path);
    if (written > Sn10Capacity) {
        EmitFormatted("Warning %s %d: %d points written; the SN10 holds at most %d points (%d in "
                      "site 1)\n",
                      sn10Path, HeaderLine + Sn10Capacity + 1, written, Sn10Capacity,
                      Sn10Site1Capacity);
        CountOne(WarningCount);
    } else if (written > Sn10Site1Capacity) {
        EmitFormatted("Warning %s %d: %d points written; site 1 of the SN10 holds at most %d "
                      "points, site 2 at most %d\n",
                      sn10Path, HeaderLine + Sn10Site1Capacity + 1, written, Sn10Site1Capacity,
                      Sn10Capacity);
        CountOne(WarningCount);
    }
}

void CheckAmbiguousNames(const char* sn10Path) {
    // For every record, the next record with the same short name, found in one pass from the
    // end with a small open-addressing table instead of comparing every pair.
    constexpr std::uint32_t SlotCount = RunState::NameSlotCount;
    std::uint16_t* const nextSame = CurrentRun.NextSameName;
    std::uint16_t* const slots = CurrentRun.NameSlots; // index + 1 of the latest seen, 0 when free
    std::memset(slots, 0, sizeof CurrentRun.NameSlots);

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
            sn10Path, point.OutputLine, point.ShortName, point.LongName.c_str(),
            TurnpointTable[nextSame[i] - 1].LongName.c_str());
    }
}
