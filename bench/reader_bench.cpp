// Framing + dispatch throughput over a long capture read in 100-byte chunks.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "reader/decoders.h"
#include "tools/simreceiver/sim_receiver.h"

namespace {

const std::string& Capture() {
  static const std::string text = [] {
    sim::SimReceiver rx;
    std::string s;
    while (s.size() < (8u << 20)) s += rx.Cycle();
    return s;
  }();
  return text;
}

void BM_FramingAndDispatch(benchmark::State& st) {
  const std::string& cap = Capture();
  auto state = std::make_unique<reader::ReceiverState>();
  reader::DecoderHooks hooks;
  for (auto _ : st) {
    state->Reset();
    for (std::size_t i = 0; i < cap.size(); i += reader::kChunkMax) {
      std::size_t n = std::min<std::size_t>(reader::kChunkMax, cap.size() - i);
      reader::ProcessChunk(*state, cap.data() + i, n, hooks);
    }
    benchmark::DoNotOptimize(state->Fix);
  }
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * static_cast<int64_t>(cap.size()));
}
BENCHMARK(BM_FramingAndDispatch)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
