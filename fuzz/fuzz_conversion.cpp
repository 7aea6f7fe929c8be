// libFuzzer target: any bytes as a CAI file, through a whole conversion.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "Conversion.h"
#include "Messages.h"
#include "Turnpoint.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string input = "/tmp/velquor-fuzz-" + std::to_string(getpid()) + ".dat";
    static bool sinkSet = false;
    if (!sinkSet) {
        // Every line handed on must respect the length limit.
        SetLineSink([](std::string_view line) {
            if (line.size() > MaxMessageLine)
                __builtin_trap();
        });
        sinkSet = true;
    }
    std::FILE* file = std::fopen(input.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    RunConversion(1.0f, size % 2, input.c_str(), "/dev/null");
    if (ConverterState.PointCount > TurnpointCapacity || ErrorCount < 0 || WarningCount < 0)
        __builtin_trap();
    return 0;
}
