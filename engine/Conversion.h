// SPDX-License-Identifier: MIT
#pragma once
// One conversion of a turnpoint file (CAI, or SeeYou CUP by its ".cup" name) into an SN10
// database, with its report sent through the run's line sink.
#include <optional>
#include <string>

#include "RunState.h"

// What a host asks of one run.
struct ConversionRequest {
    std::string inputPath;  // the turnpoint file; also its name in the report and database
    std::string outputPath; // the SN10 file; also its name in the report
    std::optional<float> variation = {}; // degrees west; without it, 10.0 and a warning
    LineSink report = {};                // receives the report's lines; empty: they are dropped
    RunChoices choices = {};             // home point (CUP files only), timezone, site title
};

// What a host learns of the run.
struct ConversionResult {
    bool completed = false; // the run went through to its totals (errors included)
    RunOutcome outcome = RunOutcome::CaiFileNotRead;
    int errors = 0;
    int warnings = 0;
    int pointsRead = 0;
    int pointsWritten = 0;
};

// Runs one conversion with the request's report sink and returns its result: the one entry for
// hosts, which need not look at the engine's data afterwards.
ConversionResult ConvertFile(const ConversionRequest& request);

// variation: degrees west, used when variationGiven is nonzero (else 10.0 and a warning).
// Returns 1 when the run went through to its totals (errors included), 0 when it stopped early
// because the CAI file could not be read or the SN10 file could not be opened. The report goes
// to the sink that is set.
int RunConversion(float variation, int variationGiven, const char* caiPath, const char* sn10Path);
