#include <algorithm>
#include <cstring>

#include "reader/decoders.h"
#include "reader/fields.h"

namespace reader {

namespace {

enum class Start { None, Gp, Pqvu };

// The sentence start at p, if any. p points into a NUL-terminated buffer with room for five
// characters after p, so the comparisons never run past it.
Start StartAt(const char* p) {
  if (p[1] == 'G' && p[2] == 'P') return Start::Gp;
  if (p[1] == 'P' && p[2] == 'Q' && p[3] == 'V' && p[4] == 'U') return Start::Pqvu;
  return Start::None;
}

}  // namespace

void AppendChunk(ReceiverState& s, const char* chunk, std::size_t n, DecoderHooks& hooks) {
  std::size_t carry = std::strlen(s.CarryBuffer);
  if (carry > static_cast<std::size_t>(kCarryLimit)) {
    std::memset(s.CarryBuffer, 0, sizeof s.CarryBuffer);
    carry = 0;
  }
  if (n > static_cast<std::size_t>(kChunkMax)) n = kChunkMax;

  char* buf = s.SentenceBuffer;
  std::memcpy(buf, s.CarryBuffer, carry);
  std::memcpy(buf + carry, chunk, n);
  const std::size_t len = carry + n;
  buf[len] = '\0';
  // A NUL from the line only costs the sentence holding it, not the rest of the chunk.
  for (char* z = buf + carry;
       (z = static_cast<char*>(std::memchr(z, '\0', len - static_cast<std::size_t>(z - buf))));)
    *z = '\n';

  // A carry begins at the last start of the previous turn and holds no other: only a start
  // that runs over the join ("$PQV" + "U") or lies in the chunk can be new. A scan still tests
  // the carry's own "$GP" first, as it now has more text after it.
  const bool scanning = hooks.Scanning();
  std::size_t last = 0;
  bool haveLast = carry > 0;
  if (scanning && haveLast && StartAt(buf) == Start::Gp && ChecksumOk(buf, len)) hooks.ScanFound();
  std::size_t from = carry > 4 ? carry - 4 : (carry > 0 ? 1 : 0);
  for (const char* p = buf + from;
       (p = static_cast<const char*>(std::memchr(p, '$', len - static_cast<std::size_t>(p - buf))));
       ++p) {
    const Start kind = StartAt(p);
    if (kind == Start::None) continue;
    const auto at = static_cast<std::size_t>(p - buf);
    last = at;
    haveLast = true;
    if (kind == Start::Gp && scanning && hooks.Scanning() && ChecksumOk(p, len - at))
      hooks.ScanFound();
  }

  if (haveLast) {
    std::memcpy(s.CarryBuffer, buf + last, len - last + 1);
    buf[last] = '\0';
  }
}

namespace {

bool StartsWith(const char* line, std::size_t len, const char* prefix, std::size_t n) {
  return len >= n && std::memcmp(line, prefix, n) == 0;
}

// The decoders trust the checksum: it is tested here, once, for the lines that are decoded.
void DispatchLine(ReceiverState& s, const char* line, std::size_t len, DecoderHooks& hooks) {
  if (StartsWith(line, len, "$PQVU", 5)) {
    if (!ChecksumOk(line, len)) return;
    if (StartsWith(line, len, "$PQVUCHN", 8))
      DecodeChannelStatus(s, line);
    else if (StartsWith(line, len, "$PQVUEPH", 8))
      DecodeEphemerisStatus(s, line);
    else
      DecodeProprietaryReply(s, line, hooks);
    return;
  }
  if (len < 11 || !StartsWith(line, len, "$GP", 3)) return;
  using Decoder = void (*)(ReceiverState&, const char*);
  static constexpr struct {
    char type[4];
    Decoder decode;
  } kTypes[] = {
      {"GLL", DecodeGLL}, {"RMC", DecodeRMC}, {"VTG", DecodeVTG}, {"GSA", DecodeGSA},
      {"GSV", DecodeGSV}, {"GGA", DecodeGGA}, {"ZDA", DecodeZDA},
  };
  for (const auto& t : kTypes) {
    if (std::memcmp(line + 3, t.type, 3) != 0) continue;
    if (ChecksumOk(line, len)) t.decode(s, line);
    return;
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

namespace {

bool SameMarkInputs(const UsedMarkInputs& was, const ReceiverState& s) {
  if (!was.Valid || was.Count != SatCount(s.Fix)) return false;
  if (std::memcmp(was.UsedPrns, s.Fix.UsedPrns, sizeof was.UsedPrns) != 0) return false;
  for (int i = 0; i < kMaxSatellites; ++i)
    if (was.Prns[i] != s.Satellites[i].Prn) return false;
  return true;
}

}  // namespace

void MarkUsedSatellites(ReceiverState& s) {
  // The marks follow from the used list, the table's numbers and its length alone; while
  // those stay as they were at the last marking, so do the marks.
  if (SameMarkInputs(s.MarkedFrom, s)) return;
  UsedMarkInputs& now = s.MarkedFrom;
  now.Valid = true;
  now.Count = SatCount(s.Fix);
  std::memcpy(now.UsedPrns, s.Fix.UsedPrns, sizeof now.UsedPrns);
  for (int i = 0; i < kMaxSatellites; ++i) now.Prns[i] = s.Satellites[i].Prn;

  for (auto& sat : s.Satellites) sat.Used = 0;
  for (int i = 0; i < now.Count; ++i) {
    for (int k = 0; k < kMaxSatellites && s.Fix.UsedPrns[k] > 0; ++k) {
      if (s.Satellites[i].Prn == s.Fix.UsedPrns[k]) {
        s.Satellites[i].Used = 1;
        break;
      }
    }
  }
}

void ProcessChunk(ReceiverState& s, const char* chunk, std::size_t n, DecoderHooks& hooks) {
  // The framing takes one read's worth at a time; a longer chunk goes through in read-sized
  // pieces, so nothing is lost and the result is that of reading it piece by piece.
  do {
    const std::size_t take = std::min<std::size_t>(n, kChunkMax);
    AppendChunk(s, chunk, take, hooks);
    DispatchSentences(s, hooks);
    MarkUsedSatellites(s);
    chunk += take;
    n -= take;
  } while (n > 0);
}

}  // namespace reader
