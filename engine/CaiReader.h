// SPDX-License-Identifier: MIT
#pragma once
// Reads a CAI turnpoint file (".DAT") into the turnpoint table, reporting every line it cannot
// accept with the file name and line number.
#include <cstdint>
#include <string_view>

// Reads the whole file into TurnpointTable. False only when the file cannot be opened (after
// reporting "Could not open file"); every other problem is reported line by line.
bool ReadCaiFile(const char* fileName);

// Parses one point line into record PointCount. False only when the table is already full.
// Removes the line feed at the end of line.
bool ParsePointLine(char* line);

// Copies field fieldNumber (from 1) of line into out: separators end fields, white space at the
// start of a field is dropped, at most outSize - 1 characters are kept.
void GetField(const char* line, int fieldNumber, char separator, char* out, int outSize);

// True for an absent or empty text, or one of white space only.
bool IsBlankLine(const char* text);

// True when the first character that is not white space is '*'.
bool IsCommentLine(const char* text);

// Replaces every double quote by an apostrophe, in place.
void ReplaceQuotes(char* text);

// What both readers do as they fill the table.

// Reports "Error <file> <line>: <message><text>" and counts one error.
void ReportFieldError(const char* message, std::string_view text);

// Counts the point just stored in record PointCount; the point that fills the table is reported
// with tableFull (it cannot be converted: a file holds at most TurnpointCapacity - 1 points).
void CountStoredPoint(const char* tableFull);

// Point lines read while the table is full, each counted as an error: the first few are
// reported with the line ("Bad format."), the rest summed up in one line when reading ends.
class LinesPastTheTable {
public:
    // Lines past the last point that can be converted reported one by one: the line that fills
    // the table (reported as such) and the first nine after it.
    static constexpr std::int32_t ReportedOneByOne = 10;
    void Report(const char* fileName, const char* line);
    void Finish(const char* fileName);

private:
    std::int32_t count_ = 0;
};
