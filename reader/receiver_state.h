// The decoded state of one reader: what the receiver has told us since the reader started.
#pragma once

#include <atomic>
#include <cstdint>

namespace reader {

constexpr int kMaxSatellites = 20;
constexpr int kChannelCount = 32;
constexpr int kFieldCap = 20;         // a received field holds at most 19 characters
constexpr int kFirmwareTextCap = 30;  // at most 29 characters
constexpr int kRatesReplyCap = 75;    // at most 74 characters
constexpr int kBufferSize = 5000;
constexpr int kCarryLimit = 3750;  // a longer carry is thrown away
constexpr int kChunkMax = 100;

struct FixInfo {
  std::int32_t Year, Month, Day, Hour, Minute;
  float Second, Latitude, Longitude, Altitude;
  std::uint8_t Quality;    // 0 none, 1 SPS, 2 DGPS, 6 estimated
  std::uint8_t Dimension;  // 0 no fix, 1 2D, 2 3D
  float SpeedKmh, Course, Pdop, Hdop, Vdop;
  std::int32_t SatsInView;  // as sent; may be negative or above 20
  std::int32_t UsedPrns[kMaxSatellites];
  bool operator==(const FixInfo&) const = default;
};

struct SatelliteInfo {
  std::int32_t Prn, Snr, Elevation, Azimuth;
  std::uint8_t Used;
};

struct ChannelInfo {
  std::int32_t Prn, Snr;
  std::uint8_t State;  // 0 idle, 1 searching, 2 tracking
  bool operator==(const ChannelInfo&) const = default;
};

struct FirmwareInfo {
  char Version[kFirmwareTextCap];
  char Customer[kFirmwareTextCap];
  char Sdk[kFirmwareTextCap];
  char Model[kFirmwareTextCap];
};

// What the satellites' Used marks were last worked out from.
struct UsedMarkInputs {
  bool Valid;
  std::int32_t Count;
  std::int32_t UsedPrns[kMaxSatellites];
  std::int32_t Prns[kMaxSatellites];
};

struct ReceiverState {
  char CarryBuffer[kBufferSize];
  char SentenceBuffer[kBufferSize];
  FirmwareInfo Firmware;
  float TcxoPpm;  // 1000.0 until the first oscillator reply
  ChannelInfo Channels[kChannelCount];
  std::int8_t EphLevel[kChannelCount];        // -1 until reported, then 0-3
  std::atomic<std::uint8_t> SatListComplete;  // also read by the window outside the hand-over
  std::uint8_t FixRateHz;
  std::uint8_t DatumIndex;
  std::int32_t RtcmBaud;
  char NmeaRatesReply[kRatesReplyCap];
  std::int32_t FlashWritesLeft;
  std::atomic<std::uint8_t> ChannelsUpdated;  // the window clears it outside the hand-over
  std::atomic<std::uint8_t> EphemerisUpdated;
  FixInfo Fix;
  SatelliteInfo Satellites[kMaxSatellites];
  UsedMarkInputs MarkedFrom;  // kept by MarkUsedSatellites

  ReceiverState() { Reset(); }
  void Reset();
};

// The satellite count every walk over the table uses: SatsInView clamped to 0..20.
inline int SatCount(const FixInfo& f) {
  return f.SatsInView < 0 ? 0 : (f.SatsInView > kMaxSatellites ? kMaxSatellites : f.SatsInView);
}

}  // namespace reader
