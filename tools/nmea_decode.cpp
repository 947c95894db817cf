// Feeds a capture through the reader's framing and dispatch in 100-byte chunks, as the read
// loop does, and prints the receiver state as JSON: one line at the end, or one per chunk.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "reader/decoders.h"
#include "tools/decode/state_json.h"

namespace {

struct Acks : reader::DecoderHooks {
  std::int32_t ok = 0, fail = 0;
  void Acknowledged(std::int32_t c, bool success) override { (success ? ok : fail) = c; }
};

int Usage() {
  std::fprintf(stderr, "usage: korvane-nmea-decode [--every-chunk] [FILE]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool every = false;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--every-chunk"))
      every = true;
    else if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h"))
      return Usage();
    else if (!path)
      path = argv[i];
    else
      return Usage();
  }
  std::FILE* in = path && std::strcmp(path, "-") ? std::fopen(path, "rb") : stdin;
  if (!in) {
    std::perror(path);
    return 1;
  }
  auto state = std::make_unique<reader::ReceiverState>();
  Acks acks;
  char buf[reader::kChunkMax];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) {
    reader::ProcessChunk(*state, buf, n, acks);
    if (every) std::puts(decode::StateToJson(*state, acks.ok, acks.fail).c_str());
  }
  // A capture that could not be read whole, or output that did not reach its file, is a failure.
  const bool readFailed = std::ferror(in);
  if (readFailed) std::perror(path ? path : "standard input");
  if (!every && !readFailed) std::puts(decode::StateToJson(*state, acks.ok, acks.fail).c_str());
  if (in != stdin) std::fclose(in);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::perror("standard output");
    return 1;
  }
  return readFailed ? 1 : 0;
}
