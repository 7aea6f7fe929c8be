// SPDX-License-Identifier: MIT
#include "Conversion.h"

#include <algorithm>
#include <cstring>

#include "CaiReader.h"
#include "CupReader.h"
#include "Encoding.h"
#include "Messages.h"
#include "RunState.h"
#include "Sn10Writer.h"
#include "TextFile.h"

namespace {

constexpr char CaiIdentifierNote[] =
    "\nNOTE: CAI files have no ICAO identifier.\n"
    "    All points are marked as ', U ,' add the identifiers if desired.\n";
constexpr char CupIdentifierNote[] =
    "\nNOTE: CUP files have no ICAO identifier.\n"
    "    All points are marked as ', U ,' add the identifiers if desired.\n";
constexpr char CheckNote[] = "\nRemember to use KESTA <SN10file> to check the data.\n";
// A CUP file's styles say which points are landable; a CAI file's airports do not.
constexpr char AirportNote[] =
    "\nCAUTION: CAI files contain airports without knowing if the airports\n"
    "    are landable. All CAI airports are marked as landable in this SN10\n"
    "    database. YOU MUST CHECK THESE POINTS AND UPDATE THEM.\n\n";

// The user's choices that win over what the file said.
void ApplyChoices(const RunChoices& choices) {
    ConverterStateRecord& state = ConverterState;
    if (choices.timezone) {
        state.Timezone = *choices.timezone;
        state.TimezoneSet = 1;
    }
    if (choices.title) {
        std::string title = *choices.title; // in the database's encoding, then cut to fit
        title.resize(ToWindows1252InPlace(title.data(), title.size()));
        const std::size_t length = std::min(title.size(), std::size_t{SiteTitleSize - 1});
        std::memcpy(state.SiteTitle, title.data(), length);
        state.SiteTitle[length] = '\0';
    }
}

int Run(float variation, int variationGiven, const char* caiPath, const char* sn10Path,
        const RunChoices& choices) {
    if (!caiPath)
        caiPath = "";
    if (!sn10Path)
        sn10Path = "";
    ResetConversionState(variation, variationGiven, caiPath, choices);
    ConverterStateRecord& state = ConverterState;
    const bool cup = CurrentRun.Format == InputFormat::Cup;

    if (!(cup ? ReadCupFile(state.CaiFileName) : ReadCaiFile(state.CaiFileName))) {
        CountOne(ErrorCount);
        EmitMessages(cup ? "No CUP database\n" : "No CAI database\n");
        return 0;
    }
    ApplyChoices(CurrentRun.Choices);
    EmitFormatted("%d points read from: %s\n", state.PointsRead, state.CaiFileName);

    // The SN10 file is replaced whole, and only by a complete database: when reading found
    // errors, or any write fails, the file stays as it was (or is not created).
    TextFileWriter output;
    state.OutputFile = output.Open(sn10Path);
    if (!state.OutputFile) {
        EmitFormatted("%s 1: Could not open SN10 file.\n", sn10Path);
        CurrentRun.Outcome = RunOutcome::Sn10FileNotOpened;
        return 0;
    }
    const bool writing = ErrorCount == 0;
    if (writing)
        WriteSn10File(state.OutputFile, sn10Path);
    state.OutputFile = nullptr;
    // A full disk shows only here: a write error, the final flush, the close or the rename.
    const bool writeFailed = !output.Close(writing) && writing;
    if (writeFailed) {
        EmitFormatted("Error %s 1: Could not write SN10 file.\n", sn10Path);
        CountOne(ErrorCount);
    }

    CurrentRun.Outcome = writing && !writeFailed ? RunOutcome::Written : RunOutcome::NotWritten;
    CheckAmbiguousNames(sn10Path);
    EmitMessages(cup ? CupIdentifierNote : CaiIdentifierNote);
    EmitMessages(CheckNote);
    if (!cup)
        EmitMessages(AirportNote);
    if (state.MagvarSet == 0) {
        EmitFormatted("Warning %s %d: Magnetic variation was not set %0.1f was used.\n", sn10Path,
                      6, static_cast<double>(state.Magvar));
        CountOne(WarningCount);
    }
    if (WarningCount >= 1)
        EmitFormatted("\n    %d Warnings found by VELQUOR\n", WarningCount);
    if (ErrorCount >= 1)
        EmitFormatted("\n    %d Errors found by VELQUOR\n", ErrorCount);
    return 1;
}

} // namespace

ConversionResult ConvertFile(const ConversionRequest& request) {
    // The request's sink takes the run's lines; the one set before is back afterwards, also
    // when the sink throws.
    struct SinkForTheRun {
        LineSink previous;
        ~SinkForTheRun() { SetLineSink(std::move(previous)); }
    } sink{SetLineSink(request.report)};
    const int completed =
        Run(request.variation.value_or(0.0f), request.variation ? 1 : 0, request.inputPath.c_str(),
            request.outputPath.c_str(), request.choices);
    return {completed != 0, CurrentRun.Outcome,        ErrorCount,
            WarningCount,   ConverterState.PointsRead, CurrentRun.PointsWritten};
}

int RunConversion(float variation, int variationGiven, const char* caiPath, const char* sn10Path) {
    return Run(variation, variationGiven, caiPath, sn10Path, {});
}
