// SPDX-License-Identifier: MIT
// The converter page's way into the engine. The page puts the turnpoint file (CAI or CUP) into a
// folder of its own in the in-memory file system, makes that folder the current one and passes
// the bare file name, so that a run sees what velquor-convert sees when it is started in the
// file's folder with the file name alone and no OUTPUT: the same names in the report and in the
// SN10 file.
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
    CaiFileNotRead,    // the turnpoint file could not be opened
    Sn10FileNotOpened, // the SN10 file could not be created
    // Nothing was run for these:
    BadVariation, // the variation is not a number of degrees in range
    NoOutputName, // the file name holds no ".DAT" (".CUP") to name the SN10 file after
    BadTimezone,  // the timezone is not a number of hours in range
    HomeForCai,   // a home point was given for a CAI file, which marks its own
};

// The report is kept in memory to be shown on the page. The table bounds it (the lines past it
// are summed up in one line), to some megabytes at worst; beyond this size, which no file
// reaches today, its lines would be counted instead of kept.
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

// Converts fileName in the current folder. Each of the other texts is a field of the page as
// typed, or null when it was left empty (as without the command line's option).
EMSCRIPTEN_KEEPALIVE int VelquorConvert(const char* fileName, const char* variationText,
                                        const char* timezoneText, const char* home,
                                        const char* title) {
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
    RunChoices choices;
    if (timezoneText) {
        choices.timezone = ParseTimezone(timezoneText);
        if (!choices.timezone)
            return static_cast<int>(WebResult::BadTimezone);
    }
    if (home) {
        if (FormatOf(fileName) != InputFormat::Cup)
            return static_cast<int>(WebResult::HomeForCai);
        choices.home = home;
    }
    if (title)
        choices.title = title;
    std::optional<std::string> sn10Path = DefaultSn10Path(fileName);
    if (!sn10Path)
        return static_cast<int>(WebResult::NoOutputName);
    outputName = *sn10Path;

    result = ConvertFile({
        .inputPath = fileName,
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
        .choices = choices,
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
