// SPDX-License-Identifier: MIT
// Speed of a whole conversion and of the ambiguous-name check.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <string>

#include "CaiReader.h"
#include "Conversion.h"
#include "Messages.h"
#include "RunState.h"
#include "Sn10Writer.h"

namespace {

namespace fs = std::filesystem;

// A clean CAI file of n points with realistic fields, written once per process.
std::string CaiFile(int points) {
    fs::path path =
        fs::temp_directory_path() / ("velquor-bench-" + std::to_string(points) + ".dat");
    std::ofstream out(path, std::ios::binary);
    out << "**  ------------ Benchmark Site ------------\r\n**  ------ Timezone: 1 ------\r\n";
    for (int i = 1; i <= points; ++i) {
        out << i << "," << 40 + i % 20 << ":" << 10 + i % 50 << ".123N,0" << 10 + i % 80 << ":"
            << 10 + i % 50 << ".456E," << 100 + i << "M,"
            << (i == 1  ? "HAT"
                : i % 3 ? "T"
                        : "AT")
            << ",TP" << std::setw(4) << std::setfill('0') << i << std::setfill(' ')
            << " FIELD,Comment for point " << i << "\r\n";
    }
    return path.string();
}

void SilentSink() {
    SetLineSink([](std::string_view line) { benchmark::DoNotOptimize(line.data()); });
}

// A run as the hosts ask for it, its report dropped.
ConversionResult Convert(const std::string& in, const std::string& out) {
    return ConvertFile(
        {.inputPath = in,
         .outputPath = out,
         .variation = 2.0f,
         .report = [](std::string_view line) { benchmark::DoNotOptimize(line.data()); }});
}

// Converting onto an existing SN10 file (replaced whole, as a repeated conversion does).
void BM_Conversion(benchmark::State& state) {
    const std::string in = CaiFile(static_cast<int>(state.range(0)));
    const std::string out = fs::temp_directory_path() / "velquor-bench.ndb";
    for (auto _ : state)
        if (Convert(in, out).errors != 0)
            state.SkipWithError("the benchmark file has errors");
}
BENCHMARK(BM_Conversion)
    ->Arg(100)
    ->Arg(450)
    ->Arg(900)
    ->Arg(1799)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// Converting into a new SN10 file, as the first conversion of a file does.
void BM_ConversionToNewFile(benchmark::State& state) {
    const std::string in = CaiFile(static_cast<int>(state.range(0)));
    const std::string out = fs::temp_directory_path() / "velquor-bench-new.ndb";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(out);
        state.ResumeTiming();
        benchmark::DoNotOptimize(Convert(in, out));
    }
}
BENCHMARK(BM_ConversionToNewFile)
    ->Arg(1799)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// Worst case of the check: every written point has the same short name.
void FillSameNames() {
    ResetConversionState(0.0f, 1, "bench.dat");
    for (int i = 0; i < TurnpointCapacity - 1; ++i) {
        std::strcpy(TurnpointTable[i].ShortName, "01SAME ");
        TurnpointTable[i].LongName = StoreText("SAME " + std::to_string(i));
        TurnpointTable[i].OutputLine = 7 + i;
    }
    ConverterState.PointCount = TurnpointCapacity - 1;
}

void BM_CheckAmbiguousNames(benchmark::State& state) {
    FillSameNames();
    SilentSink();
    for (auto _ : state)
        CheckAmbiguousNames("bench.ndb");
}
BENCHMARK(BM_CheckAmbiguousNames)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// The plain pairwise scan that compares every pair, for the ratio.
void BM_PairwiseScanReference(benchmark::State& state) {
    FillSameNames();
    SilentSink();
    for (auto _ : state) {
        for (int i = 0; i < ConverterState.PointCount; ++i)
            for (int j = i + 1; j < ConverterState.PointCount; ++j)
                if (std::strcmp(TurnpointTable[i].ShortName, TurnpointTable[j].ShortName) == 0) {
                    if (TurnpointTable[i].OutputLine != 0)
                        EmitFormatted("Warning %s %d: Ambiguous name %s\n    long name 1: %s\n"
                                      "    long name 2: %s\n",
                                      "bench.ndb", TurnpointTable[i].OutputLine,
                                      TurnpointTable[i].ShortName, TurnpointTable[i].LongName,
                                      TurnpointTable[j].LongName);
                    break;
                }
    }
}
BENCHMARK(BM_PairwiseScanReference)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_NoAmbiguityAllDistinct(benchmark::State& state) {
    FillSameNames();
    for (int i = 0; i < ConverterState.PointCount; ++i)
        std::snprintf(TurnpointTable[i].ShortName, 8, "%07d", i % 1000000);
    SilentSink();
    for (auto _ : state)
        CheckAmbiguousNames("bench.ndb");
}
BENCHMARK(BM_NoAmbiguityAllDistinct)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

} // namespace
