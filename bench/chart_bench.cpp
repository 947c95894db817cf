// Series points: AddXY in X order (appends), AddXY in random X order (ordered insertion, which
// moves the points above the new one), and deleting the first half of a series in one range.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

#include "chart/engine/engine_globals.h"
#include "chart/engine/series.h"

namespace {

std::unique_ptr<chart::TChartSeries> NewSeries() {
  chart::PlotEngineUnitStart();
  return std::make_unique<chart::TChartSeries>(nullptr);
}

void BM_AddXYInOrder(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    auto series = NewSeries();
    for (int i = 0; i < n; ++i) series->AddXY(i, i % 70);
    benchmark::DoNotOptimize(series->Count());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AddXYInOrder)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Each point lands at a random place, so on average half the points move: O(n) per point.
void BM_AddXYRandomOrder(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<double> xs(static_cast<size_t>(n));
  std::iota(xs.begin(), xs.end(), 0.0);
  std::shuffle(xs.begin(), xs.end(), std::mt19937(12345));
  for (auto _ : state) {
    auto series = NewSeries();
    for (double x : xs) series->AddXY(x, 1);
    benchmark::DoNotOptimize(series->Count());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AddXYRandomOrder)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_DeleteFirstHalf(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto series = NewSeries();
    series->BeginUpdate();
    for (int i = 0; i < n; ++i) series->AddXY(i, i % 70);
    series->EndUpdate();
    state.ResumeTiming();
    series->Delete(0, n / 2);
    benchmark::DoNotOptimize(series->Count());
    state.PauseTiming();
    series.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DeleteFirstHalf)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
