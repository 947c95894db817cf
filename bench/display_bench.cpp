// The window's two display steps per chunk, as a saturated 115200-baud line feeds them: about
// 1,000 reads a second of about 12 bytes. Only the steps are timed; the framing and decoding
// between them run untimed, as on the reader thread.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <memory>
#include <string>

#include "console/main_form.h"
#include "platform/vcl/vcl.h"
#include "reader/decoders.h"
#include "tools/simreceiver/sim_receiver.h"

namespace {

constexpr std::size_t kChunk = 12;
constexpr int kChunksPerTick = 1000;  // the link indicator blinks once a second

const std::string& Stream() {
  static const std::string text = [] {
    sim::SimReceiver rx;
    std::string s;
    while (s.size() < (1u << 20)) s += rx.Cycle();
    return s;
  }();
  return text;
}

console::TMainForm* Form() {
  static console::TMainForm* form = [] {
    platform::Application->Initialize();
    auto* f = new console::TMainForm(platform::Application);
    f->AfterConstruction();
    f->Show();
    platform::Application->ProcessMessages();
    return f;
  }();
  return form;
}

// paint: also handle the repaints the steps asked for, as the event loop would after them.
void RunDisplaySteps(benchmark::State& st, bool paint) {
  console::TMainForm* form = Form();
  const std::string& stream = Stream();
  auto state = std::make_unique<reader::ReceiverState>();
  reader::DecoderHooks hooks;
  std::size_t at = 0;
  int chunks = 0;
  for (auto _ : st) {
    if (at >= stream.size()) at = 0;
    const std::size_t n = std::min(kChunk, stream.size() - at);
    reader::AppendChunk(*state, stream.data() + at, n, hooks);
    at += n;
    if (++chunks % kChunksPerTick == 0) {
      // What the one-second timer does to the display: blink, and empty the raw box every 9 s.
      form->Timer1->Tag = form->Timer1->Tag + 1;
      if (form->Timer1->Tag >= 9) {
        form->Timer1->Tag = 0;
        form->MemoNMEA->Lines->Clear();
      }
    }

    auto start = std::chrono::steady_clock::now();
    form->ShowRawSentences(state->SentenceBuffer);
    auto mid = std::chrono::steady_clock::now();
    reader::DispatchSentences(*state, hooks);
    reader::MarkUsedSatellites(*state);
    auto resume = std::chrono::steady_clock::now();
    form->RefreshDisplay(*state);
    if (paint) platform::Application->ProcessMessages();
    auto end = std::chrono::steady_clock::now();
    st.SetIterationTime(std::chrono::duration<double>((mid - start) + (end - resume)).count());
  }
}

void BM_DisplayStepsPerChunk(benchmark::State& st) {
  RunDisplaySteps(st, false);
}
BENCHMARK(BM_DisplayStepsPerChunk)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_DisplayStepsPerChunkWithPaint(benchmark::State& st) {
  RunDisplaySteps(st, true);
}
BENCHMARK(BM_DisplayStepsPerChunkWithPaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  // No display needed: the window draws into offscreen surfaces.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  platform::Application->Initialize();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
