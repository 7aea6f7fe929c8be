// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes as a CAI file or as a CUP file, through a whole conversion. The
// first byte chooses the reader and the user's choices; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <unistd.h>

#include "Conversion.h"
#include "Messages.h"
#include "RunState.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string base = "/tmp/velquor-fuzz-" + std::to_string(getpid());
    const std::uint8_t choice = size > 0 ? data[0] : 0;
    const std::string input = base + (choice & 1 ? ".cup" : ".dat");
    std::FILE* file = std::fopen(input.c_str(), "wb");
    if (!file)
        return 0;
    if (size > 1)
        std::fwrite(data + 1, 1, size - 1, file);
    std::fclose(file);
    RunChoices choices;
    if (choice & 2)
        choices.home = "A";
    if (choice & 4)
        choices.timezone = 2.5f;
    if (choice & 8)
        choices.title = "T\xC3\xA9";
    // Every line handed on must respect the length limit.
    const ConversionResult result =
        ConvertFile({.inputPath = input,
                     .outputPath = "/dev/null",
                     .variation = choice & 16 ? std::optional(1.0f) : std::nullopt,
                     .report =
                         [](std::string_view line) {
                             if (line.size() > MaxMessageLine)
                                 __builtin_trap();
                         },
                     .choices = choices});
    if (ConverterState.PointCount > TurnpointCapacity || result.errors < 0 || result.warnings < 0 ||
        result.pointsWritten > result.pointsRead || CurrentRun.TextStoreUsed > TextStoreSize)
        __builtin_trap();
    return 0;
}
