#include "reader/receiver_state.h"

#include <cstring>

namespace reader {

void ReceiverState::Reset() {
  std::memset(CarryBuffer, 0, sizeof CarryBuffer);
  std::memset(SentenceBuffer, 0, sizeof SentenceBuffer);
  std::memset(&Firmware, 0, sizeof Firmware);
  TcxoPpm = 1000.0f;
  std::memset(Channels, 0, sizeof Channels);
  std::memset(EphLevel, 0xFF, sizeof EphLevel);
  SatListComplete = 0;
  FixRateHz = 0;
  DatumIndex = 0;
  RtcmBaud = 0;
  std::memset(NmeaRatesReply, 0, sizeof NmeaRatesReply);
  FlashWritesLeft = 0;
  ChannelsUpdated.store(0);
  EphemerisUpdated = 0;
  std::memset(&Fix, 0, sizeof Fix);
  std::memset(Satellites, 0, sizeof Satellites);
  std::memset(&MarkedFrom, 0, sizeof MarkedFrom);
}

}  // namespace reader
