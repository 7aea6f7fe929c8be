// The converter page's way into the engine. The page puts the CAI file into a folder of its own
// in the in-memory file system, makes that folder the current one and passes the bare file name,
// so that a run sees what velquor-convert sees when it is started in the file's folder with the
// file name alone and no OUTPUT: the same names in the report and in the SN10 file.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "Conversion.h"
#include "RunOptions.h"

namespace {

// What VelquorConvert returns; converter.js names them in the same order.
enum class WebResult {
    Written,           // the SN10 file was written
    NotWritten,        // the run went through, but the SN10 file was not written
    CaiFileNotRead,    // the CAI file could not be opened
    Sn10FileNotOpened, // the SN10 file could not be created
    BadVariation,      // the variation is not a number of degrees in range: nothing was run
    NoOutputName,      // the file name holds no ".DAT" to name the SN10 file after: nothing was run
};

// The report is kept in memory to be shown on the page. A file can make it grow without bound
// (every line of a large file may be an error, reported with the line), so beyond this size its
// lines are counted instead of kept.
constexpr std::size_t ReportLimit = 16 << 20;

std::string report;       // the lines of the last run, each followed by a line feed
std::size_t linesLeftOut; // the lines of the last run's report beyond ReportLimit
std::string outputName;   // the SN10 file of the last run, in the current folder
ConversionResult result;  // of the last run; empty when nothing was run

WebResult FromOutcome(RunOutcome outcome) {
    switch (outcome) {
    case RunOutcome::Written:
        return WebResult::Written;
    case RunOutcome::CaiFileNotRead:
        return WebResult::CaiFileNotRead;
    case RunOutcome::Sn10FileNotOpened:
        return WebResult::Sn10FileNotOpened;
    case RunOutcome::NotWritten:
        break;
    }
    return WebResult::NotWritten;
}

} // namespace

extern "C" {

// Converts caiName in the current folder. variationText is the variation field as typed, or null
// when it was left empty (as without --variation).
EMSCRIPTEN_KEEPALIVE int VelquorConvert(const char* caiName, const char* variationText) {
    report.clear();
    linesLeftOut = 0;
    outputName.clear();
    result = {};

    std::optional<float> variation;
    if (variationText) {
        variation = ParseVariation(variationText);
        if (!variation)
            return static_cast<int>(WebResult::BadVariation);
    }
    std::optional<std::string> sn10Path = DefaultSn10Path(caiName);
    if (!sn10Path)
        return static_cast<int>(WebResult::NoOutputName);
    outputName = *sn10Path;

    result = result = ConvertFile({
        .inputPath = caiName,
        .outputPath = outputName,
        .variation = variation,
        .report =
            [](std::string_view line) {
                if (linesLeftOut > 0 || report.size() + line.size() + 1 > ReportLimit) {
                    ++linesLeftOut;
                    return;
                }
                report.append(line);
                report.push_back('\n');
            },
    });
    return static_cast<int>(FromOutcome(result.outcome));
}

EMSCRIPTEN_KEEPALIVE const char* VelquorReport() {
    return report.data();
}

EMSCRIPTEN_KEEPALIVE int VelquorReportLength() {
    return static_cast<int>(report.size());
}

EMSCRIPTEN_KEEPALIVE double VelquorReportLinesLeftOut() {
    return static_cast<double>(linesLeftOut);
}

EMSCRIPTEN_KEEPALIVE const char* VelquorOutputName() {
    return outputName.c_str();
}

EMSCRIPTEN_KEEPALIVE int VelquorErrorCount() {
    return result.errors;
}

EMSCRIPTEN_KEEPALIVE int VelquorWarningCount() {
    return result.warnings;
}

} // extern "C"
