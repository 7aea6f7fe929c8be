// SPDX-License-Identifier: MIT
// Drawing costs of the gauge and the strip chart.
//   bench_widgets_drawing --benchmark_filter=Gauge   one 200 x 200 gauge paint per kind
//   bench_widgets_drawing --benchmark_filter=Graph   one step of a 1000 x 200 chart vs a full
//   redraw, and one step for step sizes from 1 to 100000000 pixels
#include "Cgauges.h"
#include "Perfgrap.h"

#include <QApplication>
#include <QMetaEnum>
#include <benchmark/benchmark.h>
#include <string>

namespace {

void GaugePaint(benchmark::State& state) {
    TCGauge gauge;
    gauge.SetBounds(0, 0, 200, 200);
    gauge.SetKind(TCGaugeKind(state.range(0)));
    gauge.SetProgress(37);
    for (auto _ : state) {
        gauge.Paint();
        benchmark::ClobberMemory();
    }
    state.SetLabel(QMetaEnum::fromType<TCGaugeKind>().valueToKey(int(state.range(0))));
}
BENCHMARK(GaugePaint)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond)->Repetitions(7);

// A chart that lets the benchmark call the full redraw.
struct Chart : TPerformanceGraph {
    using TPerformanceGraph::Replay;
    explicit Chart(TGraphKind kind) {
        SetBounds(0, 0, 1000, 200);
        SetGradient(1000);
        SetKind(kind);
        SetScale(1000);
    }
    // Four rising values per step, all below the scale, so no step changes the scale.
    void Feed(int i) {
        DataPoint(clRed, 100 + (i * 37) % 200);
        DataPoint(clBlue, 300 + (i * 53) % 200);
        DataPoint(clYellow, 500 + (i * 17) % 200);
        DataPoint(clAqua, 700 + (i * 29) % 250);
    }
};

void GraphStep(benchmark::State& state) {
    Chart chart(TGraphKind(state.range(0)));
    int i = 0;
    for (; i < 400; ++i) { // fill the history first
        chart.Feed(i);
        chart.Update();
    }
    for (auto _ : state) {
        chart.Feed(i++);
        chart.Update();
    }
    if (chart.Scale() != 1000)
        state.SkipWithError("the scale changed during the run");
    state.SetLabel(state.range(0) == pgBar ? "bars" : "lines");
}
BENCHMARK(GraphStep)->Arg(pgLine)->Arg(pgBar)->Unit(benchmark::kMicrosecond)->Repetitions(7);

// One step whatever its width: a step wider than the picture fills the whole picture and draws
// only the grid lines that land in it (args: step size, grid size; lines).
void GraphStepSize(benchmark::State& state) {
    Chart chart(TPerformanceGraph::pgLine);
    chart.SetStepSize(int(state.range(0)));
    chart.SetGridSize(int(state.range(1)));
    int i = 0;
    for (; i < 50; ++i) {
        chart.Feed(i);
        chart.Update();
    }
    for (auto _ : state) {
        chart.Feed(i++);
        chart.Update();
    }
    state.SetLabel("step " + std::to_string(state.range(0)) + ", grid " +
                   std::to_string(state.range(1)));
}
BENCHMARK(GraphStepSize)
    ->ArgsProduct({{1, 10, 1000, 100000000}, {15, 2}})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7);

// The same with the chart on screen, so that every step also repaints the control.
void GraphStepShown(benchmark::State& state) {
    Chart chart(TGraphKind(state.range(0)));
    chart.show();
    int i = 0;
    for (; i < 400; ++i) {
        chart.Feed(i);
        chart.Update();
    }
    QCoreApplication::processEvents();
    for (auto _ : state) {
        chart.Feed(i++);
        chart.Update();
    }
    state.SetLabel(state.range(0) == pgBar ? "bars, shown" : "lines, shown");
}
BENCHMARK(GraphStepShown)->Arg(pgLine)->Arg(pgBar)->Unit(benchmark::kMicrosecond)->Repetitions(7);

void GraphReplay(benchmark::State& state) {
    Chart chart(TGraphKind(state.range(0)));
    for (int i = 0; i < 400; ++i) {
        chart.Feed(i);
        chart.Update();
    }
    for (auto _ : state)
        chart.Replay();
    state.SetLabel(state.range(0) == pgBar ? "bars" : "lines");
}
BENCHMARK(GraphReplay)->Arg(pgLine)->Arg(pgBar)->Unit(benchmark::kMicrosecond)->Repetitions(7);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
