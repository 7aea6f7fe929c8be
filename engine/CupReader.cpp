// SPDX-License-Identifier: MIT
#include "CupReader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "CaiReader.h"
#include "Coordinates.h"
#include "Encoding.h"
#include "Messages.h"
#include "RunState.h"
#include "TextFile.h"
#include "TextFormat.h"

namespace {

// Longest line read whole; a longer one is reported and skipped.
constexpr int LineSize = 4096;
constexpr int MaxFields = 64;
constexpr char TasksMark[] = "-----Related Tasks-----";
// Largest elevation: nine digits before the point.
constexpr std::size_t ElevationDigits = 9;

// The columns a point is made of, and where a file keeps them.
enum Column { Name, Code, Latitude, Longitude, Elevation, Style, Frequency, Description, Columns };
struct Layout {
    int at[Columns];
};
constexpr Layout ClassicLayout = {{0, 1, 3, 4, 5, 6, 9, 10}};

// Letters compared without regard to letter case.
bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperWindows1252(a[i]) != UpperWindows1252(b[i]))
            return false;
    return true;
}

std::string_view TrimmedEnd(std::string_view text) {
    while (!text.empty() && IsWhiteSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Cuts a line into its fields, in place: quoted fields lose their quotes, and each "" in them
// becomes one quote. White space around a field goes. Returns the number of fields; unclosed is
// set when a quoted field is still open at the line's end (it then holds the rest of the line).
int CutFields(char* line, std::size_t length, std::string_view (&fields)[MaxFields],
              bool& unclosed) {
    unclosed = false;
    const char* const end = line + length;
    char* p = line;
    int count = 0;
    for (;;) {
        while (p < end && IsWhiteSpace(*p))
            ++p;
        std::string_view field;
        if (p < end && *p == '"') {
            char* const start = ++p;
            char* out = start;
            for (;;) {
                if (p == end) {
                    unclosed = true;
                    break;
                }
                if (*p != '"') {
                    *out++ = *p++;
                    continue;
                }
                if (p + 1 < end && p[1] == '"') {
                    *out++ = '"';
                    p += 2;
                    continue;
                }
                const char* after = p + 1;
                while (after < end && IsWhiteSpace(*after))
                    ++after;
                if (after == end || *after == ',') {
                    p = const_cast<char*>(after);
                    break;
                }
                *out++ = *p++; // a quote inside the text
            }
            field = std::string_view(start, static_cast<std::size_t>(out - start));
        } else {
            const char* const start = p;
            while (p < end && *p != ',')
                ++p;
            field = TrimmedEnd({start, static_cast<std::size_t>(p - start)});
        }
        if (count < MaxFields)
            fields[count++] = field;
        if (p >= end)
            return count;
        ++p; // the comma
    }
}

// The header's columns, when the line is a header (its first field is "name" or "Title").
bool ReadHeader(const std::string_view (&fields)[MaxFields], int count, Layout& layout) {
    if (count == 0 || !(SameText(fields[0], "name") || SameText(fields[0], "title")))
        return false;
    constexpr struct {
        const char* name;
        Column column;
    } names[] = {
        {"name", Name},           {"title", Name},
        {"code", Code},           {"lat", Latitude},
        {"latitude", Latitude},   {"lon", Longitude},
        {"longitude", Longitude}, {"elev", Elevation},
        {"elevation", Elevation}, {"style", Style},
        {"freq", Frequency},      {"frequency", Frequency},
        {"desc", Description},    {"description", Description},
    };
    std::fill(std::begin(layout.at), std::end(layout.at), -1);
    for (int i = count - 1; i >= 0; --i) // the first of two equal names counts
        for (const auto& known : names)
            if (SameText(fields[i], known.name))
                layout.at[known.column] = i;
    return true;
}

// An elevation as the SN10 writes it: whole metres or feet, rounded half away from zero, with M
// or F; U for an empty field. Returns the length of out, 0 when text is no elevation.
std::size_t ConvertElevation(std::string_view text, char* out) {
    if (text.empty()) {
        out[0] = 'U';
        return 1;
    }
    std::size_t at = 0;
    const bool negative = text[0] == '-';
    if (text[0] == '+' || text[0] == '-')
        ++at;
    std::int64_t whole = 0;
    const std::size_t digitsStart = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        if (at - digitsStart == ElevationDigits)
            return 0;
        whole = whole * 10 + (text[at++] - '0');
    }
    bool any = at > digitsStart;
    if (at < text.size() && text[at] == '.') {
        ++at;
        if (at < text.size() && text[at] >= '5' && text[at] <= '9')
            ++whole;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            ++at;
            any = true;
        }
    }
    if (!any)
        return 0;
    while (at < text.size() && IsWhiteSpace(text[at]))
        ++at;
    const std::string_view unit = text.substr(at);
    char letter;
    if (unit.empty() || SameText(unit, "m"))
        letter = 'M';
    else if (SameText(unit, "ft"))
        letter = 'F';
    else
        return 0;
    std::string number = std::to_string(negative && whole != 0 ? -whole : whole);
    std::memcpy(out, number.data(), number.size());
    out[number.size()] = letter;
    return number.size() + 1;
}

// A style: a whole number, 0 when empty; numbers beyond 0 to 21 count as 0. False for text that
// is no whole number.
bool ReadStyle(std::string_view text, int& style) {
    style = 0;
    std::size_t at = text.empty() ? 0 : (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (text.empty())
        return true;
    if (at == text.size())
        return false;
    bool inRange = text[0] != '-';
    int value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9')
            return false;
        value = value * 10 + (text[at] - '0');
        if (value > 21)
            inRange = false, value = 22;
    }
    style = inRange ? value : 0;
    return true;
}

// A text of the table: at most FieldSize - 1 characters in the store.
void Keep(FieldText& field, std::string_view text) {
    text = text.substr(0, std::min(text.size(), static_cast<std::size_t>(FieldSize - 1)));
    if (text.empty()) {
        field = "";
        return;
    }
    const char* stored = StoreText(text);
    field.Assign(stored, std::strlen(stored));
}

class CupReader {
public:
    explicit CupReader(const char* fileName) : fileName_(fileName) {
        if (CurrentRun.Choices.home) {
            home_ = *CurrentRun.Choices.home;
            home_.resize(ToWindows1252InPlace(home_.data(), home_.size()));
        }
    }

    // One line of the file, without its line end; ended tells whether it had one.
    void ReadLine(char* line, std::size_t length, bool ended) {
        if (tasks_ || IsBlankLine(line) || IsCommentLine(line))
            return;
        if (std::strncmp(line, TasksMark, sizeof TasksMark - 1) == 0) {
            tasks_ = true;
            return;
        }
        if (ConverterState.PointCount >= TurnpointCapacity) {
            // Shown as a CAI line is: as read, with its line end.
            pastTheTable_.Report(fileName_,
                                 (std::string(line, length) + (ended ? "\n" : "")).c_str());
            return;
        }
        length = ToWindows1252InPlace(line, length);
        std::string_view fields[MaxFields];
        bool unclosed = false;
        const int count = CutFields(line, length, fields, unclosed);
        if (first_) {
            first_ = false;
            if (ReadHeader(fields, count, layout_))
                return;
        }
        if (unclosed)
            ReportLineError("Missing closing quote");
        auto field = [&](Column column) {
            const int at = layout_.at[column];
            return at >= 0 && at < count ? fields[at] : std::string_view();
        };
        ReadPoint(field(Name), field(Code), field(Latitude), field(Longitude), field(Elevation),
                  field(Style), field(Frequency), field(Description));
    }

    void Finish() {
        pastTheTable_.Finish(fileName_);
        if (CurrentRun.Choices.home && ConverterState.HomeIndex < 0) {
            std::string message = "Home point " + *CurrentRun.Choices.home + " not found";
            ReportLineError(message.c_str());
        }
    }

private:
    void ReadPoint(std::string_view name, std::string_view code, std::string_view latitude,
                   std::string_view longitude, std::string_view elevation, std::string_view style,
                   std::string_view frequency, std::string_view description) {
        Turnpoint& point = TurnpointTable[ConverterState.PointCount];
        point.SourceLine = ConverterState.LineNumber;
        if (name.empty())
            ReportLineError("Missing name");

        char text[CupCoordinateRoom];
        std::size_t length = ConvertCupCoordinate(latitude, true, text, point.LatitudeRadians);
        if (length == 0)
            ReportFieldError("Invalid latitude: ", latitude);
        Keep(point.Latitude, {text, length});
        length = ConvertCupCoordinate(longitude, false, text, point.LongitudeRadians);
        if (length == 0)
            ReportFieldError("Invalid longitude: ", longitude);
        Keep(point.Longitude, {text, length});
        length = ConvertElevation(elevation, text);
        if (length == 0)
            ReportFieldError("Invalid elevation: ", elevation);
        Keep(point.Elevation, {text, length});
        int styleNumber = 0;
        if (!ReadStyle(style, styleNumber))
            ReportFieldError("Invalid style: ", style);

        // Airfields (grass, outlanding with runway, gliding and paved) are landable airports;
        // an outlanding field is landable; every point can be a turnpoint.
        point.IsTurnpoint = 1;
        point.IsLandable = styleNumber >= 2 && styleNumber <= 5;
        point.IsAirport = styleNumber == 2 || styleNumber == 4 || styleNumber == 5;

        Keep(point.Name, name);
        BuildComment(point, frequency, description);
        BuildNames(point, code.empty() ? name : code);

        if (!home_.empty() && ConverterState.HomeIndex < 0 &&
            (SameText(code, home_) || SameText(name, home_)))
            ConverterState.HomeIndex = ConverterState.PointCount;
        CountStoredPoint("Too many points in CUP data");
    }

    // The frequency and a blank, when there is one, then the description; a written "\n" in
    // it becomes a blank.
    void BuildComment(Turnpoint& point, std::string_view frequency, std::string_view description) {
        std::string& comment = comment_;
        comment.clear();
        if (!frequency.empty())
            comment.append(frequency).push_back(' ');
        comment.append(description);
        std::size_t out = 0;
        for (std::size_t in = 0; in < comment.size(); ++in, ++out) {
            const bool lineBreak =
                comment[in] == '\\' && in + 1 < comment.size() && comment[in + 1] == 'n';
            comment[out] = lineBreak ? ' ' : comment[in];
            in += lineBreak;
        }
        comment.resize(out);
        Keep(point.Comment, comment);
    }

    // The short name is the code (or the name, without a code) cut to 7 characters, the long name
    // the name cut to 16; both without double quotes.
    static void BuildNames(Turnpoint& point, std::string_view shortSource) {
        const std::size_t shortLength =
            std::min(shortSource.size(), std::size_t{ShortNameSize - 1});
        std::memcpy(point.ShortName, shortSource.data(), shortLength);
        point.ShortName[shortLength] = '\0';
        ReplaceQuotes(point.ShortName);
        const std::string_view name(point.Name, point.Name.size());
        const std::string_view longName = name.substr(0, LongNameSize - 1);
        if (longName.size() == name.size() && longName.find('"') == std::string_view::npos) {
            point.LongName.Assign(point.Name, name.size());
            return;
        }
        char* copy = StoreText(longName);
        ReplaceQuotes(copy);
        point.LongName = copy;
    }

    const char* fileName_;
    std::string home_;    // the chosen home point, in the table's encoding
    std::string comment_; // the comment being built
    Layout layout_ = ClassicLayout;
    LinesPastTheTable pastTheTable_;
    bool first_ = true;  // the next line that holds fields may be the header
    bool tasks_ = false; // the waypoints have ended
};

} // namespace

bool ReadCupFile(const char* fileName) {
    ConverterState.PointCount = 0;
    ConverterState.LineNumber = 0;

    TextFileReader& file = CurrentRun.Input;
    if (!file.Open(fileName)) {
        EmitFormatted("Could not open file: %s\n", fileName);
        return false;
    }
    CupReader reader(fileName);
    char line[LineSize];
    for (;;) {
        TextFileReader::Result result = file.ReadPiece(line, LineSize);
        if (result == TextFileReader::Result::End)
            break;
        if (result == TextFileReader::Result::Error) {
            ReportLineError("Read error in CUP file");
            break;
        }
        CountOne(ConverterState.LineNumber);
        std::size_t length = std::strlen(line);
        const bool ended = length > 0 && line[length - 1] == '\n';
        if (ended)
            line[--length] = '\0';
        if (!ended && length == LineSize - 1) {
            // The line goes on: it is skipped to its end, unless the file ends right here.
            char rest[256];
            bool longer = false;
            while (file.ReadPiece(rest, sizeof rest) == TextFileReader::Result::Piece) {
                longer = true;
                const std::size_t restLength = std::strlen(rest);
                if (restLength > 0 && rest[restLength - 1] == '\n')
                    break;
            }
            if (longer) {
                ReportLineError("Line longer than 4095 characters");
                continue;
            }
        }
        reader.ReadLine(line, length, ended);
    }
    file.Close();
    reader.Finish();
    return true;
}
