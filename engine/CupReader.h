// SPDX-License-Identifier: MIT
#pragma once
// Reads a SeeYou CUP turnpoint file (".cup") into the turnpoint table, reporting every line it
// cannot accept with the file name and line number, as the CAI reader does.
//
// The file: lines of comma-separated fields, a field optionally in double quotes (then it may
// hold commas, and "" stands for one quote; a quote inside that is not followed by a comma or
// the line's end belongs to the text). An optional header line names the columns (name or
// Title first); without one the classic order name, code, country, lat, lon, elev, style,
// rwdir, rwlen, freq, desc holds. Blank lines and lines starting with '*' are skipped; the
// waypoints end at "-----Related Tasks-----". A line of valid UTF-8 is read as UTF-8, any
// other as Windows-1252; the table holds the texts in Windows-1252.

// Reads the whole file into TurnpointTable. False only when the file cannot be opened (after
// reporting "Could not open file"); every other problem is reported line by line. A home point
// chosen for the run (RunChoices::home) is looked for among the points' codes and names.
bool ReadCupFile(const char* fileName);
