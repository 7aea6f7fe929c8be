#include "Turnpoint.h"

#include <algorithm>
#include <cstring>

#include "Messages.h"

Turnpoint TurnpointTable[TurnpointCapacity];
ConverterStateRecord ConverterState = {0,     -1, "no CAI filename", 0, 0, nullptr, 0, -4.0f, 0,
                                       10.0f, {}};
std::int32_t ErrorCount = 0;
std::int32_t WarningCount = 0;

namespace {
// Room for the empty text and a full table of the longest texts; a run touches only what it
// fills.
constexpr std::size_t TextStoreSize =
    1 + static_cast<std::size_t>(TurnpointCapacity) * (StoredTextLimit + 1);
} // namespace

char TextStore[TextStoreSize];

static_assert(TextStoreSize >> 24 == 0, "a store offset must fit in 24 bits");
static_assert(StoredTextLimit <= 255, "a stored text's length must fit in 8 bits");

FieldText& FieldText::operator=(const char* text) {
    const char* const end = TextStore + TextStoreSize;
    const bool stored = text > TextStore && text < end;
    Assign(stored ? text : TextStore,
           stored ? strnlen(text, std::min(StoredTextLimit, static_cast<std::size_t>(end - text)))
                  : 0);
    return *this;
}

namespace {
std::size_t textStoreUsed = 1; // the first byte stays zero: the empty text

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

char* StoreText(std::string_view text) {
    static char empty[1];
    if (text.size() > StoredTextLimit)
        text = text.substr(0, StoredTextLimit);
    if (text.empty() || TextStoreSize - textStoreUsed < text.size() + 1)
        return empty;
    char* stored = TextStore + textStoreUsed;
    std::memcpy(stored, text.data(), text.size());
    stored[text.size()] = '\0';
    textStoreUsed += text.size() + 1;
    return stored;
}

void ResetConversionState(float variation, int variationGiven, const char* caiPath) {
    ClearUsedRecords();
    textStoreUsed = 1;

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
}

void ReportLineError(const char* message) {
    EmitFormatted("Error %s %d: %s\n", ConverterState.CaiFileName, ConverterState.LineNumber,
                  message);
    CountOne(ErrorCount);
}
