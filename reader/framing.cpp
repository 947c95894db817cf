#include <cstring>

#include "reader/decoders.h"
#include "reader/fields.h"

namespace reader {

void AppendChunk(ReceiverState& s, const char* chunk, std::size_t n, DecoderHooks& hooks) {
  if (std::strlen(s.CarryBuffer) > static_cast<std::size_t>(kCarryLimit))
    std::memset(s.CarryBuffer, 0, sizeof s.CarryBuffer);
  if (n > static_cast<std::size_t>(kChunkMax)) n = kChunkMax;

  std::size_t carry = std::strlen(s.CarryBuffer);
  char* buf = s.SentenceBuffer;
  std::memcpy(buf, s.CarryBuffer, carry);
  // A NUL from the line only costs the sentence holding it, not the rest of the chunk.
  for (std::size_t i = 0; i < n; ++i) buf[carry + i] = chunk[i] ? chunk[i] : '\n';
  std::size_t len = carry + n;
  buf[len] = '\0';

  const char* last = nullptr;
  for (const char* p = std::strstr(buf, "$GP"); p; p = std::strstr(p + 1, "$GP")) {
    last = p;
    if (hooks.Scanning() && ChecksumOk(p, len - static_cast<std::size_t>(p - buf)))
      hooks.ScanFound();
  }
  for (const char* p = std::strstr(last ? last + 1 : buf, "$PQVU"); p;
       p = std::strstr(p + 1, "$PQVU"))
    last = p;

  if (last) {
    std::size_t at = static_cast<std::size_t>(last - buf);
    std::memcpy(s.CarryBuffer, last, len - at + 1);
    buf[at] = '\0';
  }
}

namespace {

bool StartsWith(const char* line, const char* prefix) {
  return std::strncmp(line, prefix, std::strlen(prefix)) == 0;
}

void DispatchLine(ReceiverState& s, const char* line, std::size_t len, DecoderHooks& hooks) {
  if (StartsWith(line, "$PQVUCHN")) {
    DecodeChannelStatus(s, line);
  } else if (StartsWith(line, "$PQVUEPH")) {
    DecodeEphemerisStatus(s, line);
  } else if (StartsWith(line, "$PQVU")) {
    DecodeProprietaryReply(s, line, hooks);
  } else if (StartsWith(line, "$GP") && len >= 11) {
    const char* type = line + 3;
    if (!std::strncmp(type, "GLL", 3))
      DecodeGLL(s, line);
    else if (!std::strncmp(type, "RMC", 3))
      DecodeRMC(s, line);
    else if (!std::strncmp(type, "VTG", 3))
      DecodeVTG(s, line);
    else if (!std::strncmp(type, "GSA", 3))
      DecodeGSA(s, line);
    else if (!std::strncmp(type, "GSV", 3))
      DecodeGSV(s, line);
    else if (!std::strncmp(type, "GGA", 3))
      DecodeGGA(s, line);
    else if (!std::strncmp(type, "ZDA", 3))
      DecodeZDA(s, line);
  }
}

}  // namespace

void DispatchSentences(ReceiverState& s, DecoderHooks& hooks) {
  char* p = s.SentenceBuffer;
  while (*p) {
    std::size_t len = std::strcspn(p, "\r\n");
    char* next = p + len;
    bool more = *next != '\0';
    *next = '\0';
    if (len > 0) DispatchLine(s, p, len, hooks);
    if (!more) break;
    p = next + 1;
  }
}

void MarkUsedSatellites(ReceiverState& s) {
  for (auto& sat : s.Satellites) sat.Used = 0;
  int count = SatCount(s.Fix);
  for (int i = 0; i < count; ++i) {
    for (int k = 0; k < kMaxSatellites && s.Fix.UsedPrns[k] > 0; ++k) {
      if (s.Satellites[i].Prn == s.Fix.UsedPrns[k]) {
        s.Satellites[i].Used = 1;
        break;
      }
    }
  }
}

void ProcessChunk(ReceiverState& s, const char* chunk, std::size_t n, DecoderHooks& hooks) {
  AppendChunk(s, chunk, n, hooks);
  DispatchSentences(s, hooks);
  MarkUsedSatellites(s);
}

}  // namespace reader
