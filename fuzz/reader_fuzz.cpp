// The first byte of every piece picks the chunk size (1-100), as reads of any length arrive.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "reader/decoders.h"

namespace {

struct Hooks : reader::DecoderHooks {
  bool scanning = true;
  bool Scanning() override { return scanning; }
  void ScanFound() override { scanning = false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static auto state = std::make_unique<reader::ReceiverState>();
  state->Reset();
  Hooks hooks;
  std::size_t i = 0;
  while (i < size) {
    std::size_t chunk = 1 + data[i] % reader::kChunkMax;
    ++i;
    if (chunk > size - i) chunk = size - i;
    char buf[128];
    std::memcpy(buf, data + i, chunk);
    reader::ProcessChunk(*state, buf, chunk, hooks);
    i += chunk;
  }
  return 0;
}
