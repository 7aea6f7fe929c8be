// SPDX-License-Identifier: MIT
#pragma once
// The engine's only way out: report texts are formatted into MessageBuffer and handed to
// EmitMessages, which cuts them into lines for the run's line sink (the window's message area,
// the command line's standard output, a test's list).
#include <string>
#include <string_view>

#include "RunState.h"
#include "TextFormat.h"

// Sets the sink for all later messages; an empty sink drops them. Returns the previous sink.
// Hosts hand their sink to ConvertFile instead, which sets it for the one run.
LineSink SetLineSink(LineSink sink);

// Longest line that EmitMessages hands on; the rest of a longer line is dropped.
inline constexpr std::size_t MaxMessageLine = 255;

// Cuts text at every newline and passes each piece (at most MaxMessageLine characters) to the
// sink. A null text adds nothing; an empty text adds one empty line; a newline at the very end
// adds no further line.
void EmitMessages(const char* text);

// Formats into MessageBuffer and emits it in one step.
template <class... Args> void EmitFormatted(const char* format, const Args&... args) {
    FormatText(MessageBuffer, format, args...);
    EmitMessages(MessageBuffer.c_str());
}
