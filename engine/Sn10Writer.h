// SPDX-License-Identifier: MIT
#pragma once
// Writes the SN10 database (".NDB") from the turnpoint table, and warns about points that share
// a short name.
#include <cstdio>

// Writes the whole database into an open file; sn10Path is used in messages only.
void WriteSn10File(std::FILE* file, const char* sn10Path);

// Warns once for every written point whose short name recurs in a later point.
void CheckAmbiguousNames(const char* sn10Path);

// Appends blanks to text, in place, until it is at least width characters long. The buffer must
// have room for width characters and the terminating zero.
void PadWithBlanks(char* text, int width);
