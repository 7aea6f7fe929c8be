// libFuzzer target: any bytes as a CAI file, through a whole conversion.
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
    static const std::string input = "/tmp/velquor-fuzz-" + std::to_string(getpid()) + ".dat";
    std::FILE* file = std::fopen(input.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    // Every line handed on must respect the length limit.
    const ConversionResult result =
        ConvertFile({.inputPath = input,
                     .outputPath = "/dev/null",
                     .variation = size % 2 ? std::optional(1.0f) : std::nullopt,
                     .report = [](std::string_view line) {
                         if (line.size() > MaxMessageLine)
                             __builtin_trap();
                     }});
    if (ConverterState.PointCount > TurnpointCapacity || result.errors < 0 || result.warnings < 0 ||
        result.pointsWritten > result.pointsRead)
        __builtin_trap();
    return 0;
}
