#include "Messages.h"

#include <cstring>

std::string MessageBuffer;

namespace {
LineSink& Sink() {
    static LineSink sink;
    return sink;
}
} // namespace

LineSink SetLineSink(LineSink sink) {
    LineSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

void EmitMessages(const char* text) {
    if (!text)
        return;
    const LineSink& sink = Sink();
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
