// Sentence framing, dispatch and the decoders of standard and proprietary sentences. These
// work on a ReceiverState alone; the reader thread supplies the hooks that reach the window.
#pragma once

#include <cstddef>
#include <cstdint>

#include "reader/receiver_state.h"

namespace reader {

// Display steps that a decoded query reply asks for.
enum class ReplyStep {
  FixRate,
  DgpsSbas,
  DgpsRtcm,
  DgpsNone,
  NmeaRates,
  SbasTest,
  SbasIntegrity,
  Datum,
  Tcxo,
  FlashWritesLeft,
  RtcmBaud,
  FirmwareInfo,
};

class DecoderHooks {
 public:
  virtual ~DecoderHooks() = default;
  // True while a port scan waits for its first valid "$GP" sentence.
  virtual bool Scanning() { return false; }
  // The first valid "$GP" sentence during a scan.
  virtual void ScanFound() {}
  virtual void Acknowledged(std::int32_t command, bool ok) { (void)command, (void)ok; }
  virtual void Reply(ReplyStep step) { (void)step; }
};

// Joins the chunk (n bytes, at most kChunkMax: one read; NUL bytes count as line breaks) to the
// carried text, leaving this turn's complete text in SentenceBuffer and the last sentence in
// CarryBuffer.
void AppendChunk(ReceiverState& s, const char* chunk, std::size_t n, DecoderHooks& hooks);
// Splits SentenceBuffer into lines, tests the checksum of each line of a decoded type and
// decodes the lines that pass.
void DispatchSentences(ReceiverState& s, DecoderHooks& hooks);
// Sets each satellite's Used mark; does nothing while the used list and the table are as they
// were at its last run.
void MarkUsedSatellites(ReceiverState& s);
// The read loop's turns without the display steps: framing, dispatch, marking. A chunk of any
// length is taken in read-sized turns.
void ProcessChunk(ReceiverState& s, const char* chunk, std::size_t n, DecoderHooks& hooks);

// The decoders take one line (no CR or LF) whose checksum has passed: they do not test it again.
void DecodeGLL(ReceiverState& s, const char* line);
void DecodeRMC(ReceiverState& s, const char* line);
void DecodeVTG(ReceiverState& s, const char* line);
void DecodeGSA(ReceiverState& s, const char* line);
void DecodeGSV(ReceiverState& s, const char* line);
void DecodeGGA(ReceiverState& s, const char* line);
void DecodeZDA(ReceiverState& s, const char* line);

void DecodeChannelStatus(ReceiverState& s, const char* line);
void DecodeEphemerisStatus(ReceiverState& s, const char* line);
void DecodeProprietaryReply(ReceiverState& s, const char* line, DecoderHooks& hooks);

}  // namespace reader
