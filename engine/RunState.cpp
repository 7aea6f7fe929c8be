// SPDX-License-Identifier: MIT
#include "RunState.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "Messages.h"
#include "RunOptions.h"

RunState CurrentRun;

namespace {

// Whether text points into the run's text store.
bool InTextStore(const char* text) {
    return std::less_equal<const char*>()(TextStore, text) &&
           std::less<const char*>()(text, TextStore + TextStoreSize);
}

// Records a run may have written: the engine writes only records below PointCount, so the ones
// from there on are still zero and a reset clears just the ones below. A fresh process then
// touches no memory for records it never uses.
void ClearUsedRecords() {
    const int used = ConverterState.PointCount < 0                   ? TurnpointCapacity
                     : ConverterState.PointCount > TurnpointCapacity ? TurnpointCapacity
                                                                     : ConverterState.PointCount;
    std::memset(TurnpointTable, 0, sizeof(Turnpoint) * static_cast<std::size_t>(used));
}

} // namespace

FieldText& FieldText::operator=(std::string_view text) {
    text = text.substr(0, std::min(text.size(), static_cast<std::size_t>(FieldSize - 1)));
    if (text.empty()) {
        Assign(TextStore, 0);
    } else if (InTextStore(text.data()) && InTextStore(text.data() + text.size()) &&
               text.data()[text.size()] == '\0') {
        Assign(text.data(), text.size());
    } else {
        const char* stored = StoreText(text);
        Assign(stored, std::strlen(stored));
    }
    return *this;
}

char* StoreText(std::string_view text) {
    static char empty[1];
    if (text.size() > StoredTextLimit)
        text = text.substr(0, StoredTextLimit);
    if (text.empty() || TextStoreSize - CurrentRun.TextStoreUsed < text.size() + 1)
        return empty;
    char* stored = TextStore + CurrentRun.TextStoreUsed;
    std::memcpy(stored, text.data(), text.size());
    stored[text.size()] = '\0';
    CurrentRun.TextStoreUsed += text.size() + 1;
    return stored;
}

void ResetConversionState(float variation, int variationGiven, const char* caiPath,
                          const RunChoices& choices) {
    ClearUsedRecords();
    CurrentRun.TextStoreUsed = 1;

    ConverterState.PointCount = 0;
    ConverterState.HomeIndex = -1;
    ConverterState.CaiFileName = caiPath;
    ConverterState.LineNumber = 0;
    ConverterState.PointsRead = 0;
    ConverterState.OutputFile = nullptr;
    ConverterState.TimezoneSet = 0;
    ConverterState.Timezone = -4.0f;
    ConverterState.MagvarSet = variationGiven ? 1 : 0;
    ConverterState.Magvar = variationGiven ? variation : 10.0f;
    ConverterState.SiteTitle[0] = '\0';
    ErrorCount = 0;
    WarningCount = 0;
    CurrentRun.PointsWritten = 0;
    CurrentRun.Outcome = RunOutcome::CaiFileNotRead; // until the file is read
    CurrentRun.Format = FormatOf(caiPath);
    CurrentRun.Choices = choices;
    MessageBuffer.clear();
}

void ReportLineError(const char* message) {
    EmitFormatted("Error %s %d: %s\n", ConverterState.CaiFileName, ConverterState.LineNumber,
                  message);
    CountOne(ErrorCount);
}
