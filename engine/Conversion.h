#pragma once
// One conversion of a CAI turnpoint file into an SN10 database, with its report sent through
// EmitMessages (see Messages.h for the line sink).

// variation: degrees west, used when variationGiven is nonzero (else 10.0 and a warning).
// Returns 1 when the run went through to its totals (errors included), 0 when it stopped early
// because the CAI file could not be read or the SN10 file could not be opened.
int RunConversion(float variation, int variationGiven, const char* caiPath, const char* sn10Path);

// How the last run ended, for hosts that show more than the report.
enum class RunOutcome {
    CaiFileNotRead,    // the CAI file could not be opened: nothing was converted
    Sn10FileNotOpened, // the SN10 file could not be created: nothing was converted
    NotWritten,        // reading found errors, or writing failed: the SN10 file was not written
    Written,           // the SN10 file was written; the report may still hold warnings and the
                       // writer's own errors (a missing home point)
};
RunOutcome LastRunOutcome();
