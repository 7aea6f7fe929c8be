// SPDX-License-Identifier: MIT
#include "Messages.h"

#include <cstring>
#include <utility>

LineSink SetLineSink(LineSink sink) {
    return std::exchange(CurrentRun.Sink, std::move(sink));
}

void EmitMessages(const char* text) {
    if (!text)
        return;
    const LineSink& sink = CurrentRun.Sink;
    for (;;) {
        const char* newline = std::strchr(text, '\n');
        std::size_t length = newline ? static_cast<std::size_t>(newline - text) : std::strlen(text);
        if (sink)
            sink(std::string_view(text, length < MaxMessageLine ? length : MaxMessageLine));
        if (!newline || newline[1] == '\0')
            return;
        text = newline + 1;
    }
}
