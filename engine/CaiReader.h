#pragma once
// Reads a CAI turnpoint file (".DAT") into the turnpoint table, reporting every line it cannot
// accept with the file name and line number.

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
