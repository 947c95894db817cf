#include "tools/decode/state_json.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>

namespace decode {

namespace {

using Json = nlohmann::ordered_json;

// The state holds floats; handed over as they are, 48.1173f would print as 48.11730194091797.
// The double nearest the float's shortest text prints as that text.
Json Real(float v) {
  if (!std::isfinite(v)) return nullptr;
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  double d = v;
  std::from_chars(buf, r.ptr, d);
  return d;
}

// A fixed text field (NUL-terminated within cap) from Latin-1 to UTF-8.
Json Text(const char* s, std::size_t cap) {
  std::string out;
  for (std::size_t i = 0; i < cap && s[i]; ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

std::string StateToJson(const reader::ReceiverState& s, std::int32_t ackOk, std::int32_t ackFail) {
  const reader::FixInfo& f = s.Fix;
  Json fix = {{"Year", f.Year},
              {"Month", f.Month},
              {"Day", f.Day},
              {"Hour", f.Hour},
              {"Minute", f.Minute},
              {"Quality", f.Quality},
              {"Dimension", f.Dimension},
              {"SatsInView", f.SatsInView},
              {"Second", Real(f.Second)},
              {"Latitude", Real(f.Latitude)},
              {"Longitude", Real(f.Longitude)},
              {"Altitude", Real(f.Altitude)},
              {"SpeedKmh", Real(f.SpeedKmh)},
              {"Course", Real(f.Course)},
              {"Pdop", Real(f.Pdop)},
              {"Hdop", Real(f.Hdop)},
              {"Vdop", Real(f.Vdop)}};
  fix["UsedPrns"] = Json::array();
  for (int p : f.UsedPrns) fix["UsedPrns"].push_back(p);

  Json sats = Json::array();
  for (const auto& sat : s.Satellites) {
    sats.push_back({{"Prn", sat.Prn},
                    {"Snr", sat.Snr},
                    {"Elevation", sat.Elevation},
                    {"Azimuth", sat.Azimuth},
                    {"Used", sat.Used}});
  }
  Json channels = Json::array();
  for (const auto& ch : s.Channels)
    channels.push_back({{"Prn", ch.Prn}, {"Snr", ch.Snr}, {"State", ch.State}});
  Json eph = Json::array();
  for (auto l : s.EphLevel) eph.push_back(l);

  const reader::FirmwareInfo& fw = s.Firmware;
  Json j = {{"Fix", std::move(fix)},
            {"Satellites", std::move(sats)},
            {"Channels", std::move(channels)},
            {"EphLevel", std::move(eph)},
            {"Firmware",
             {{"Version", Text(fw.Version, sizeof fw.Version)},
              {"Customer", Text(fw.Customer, sizeof fw.Customer)},
              {"Sdk", Text(fw.Sdk, sizeof fw.Sdk)},
              {"Model", Text(fw.Model, sizeof fw.Model)}}},
            {"TcxoPpm", Real(s.TcxoPpm)},
            {"FixRateHz", s.FixRateHz},
            {"DatumIndex", s.DatumIndex},
            {"RtcmBaud", s.RtcmBaud},
            {"NmeaRatesReply", Text(s.NmeaRatesReply, sizeof s.NmeaRatesReply)},
            {"FlashWritesLeft", s.FlashWritesLeft},
            {"AckOkCommand", ackOk},
            {"AckFailCommand", ackFail}};
  // ASCII out: every byte above 0x7F as its \u escape.
  return j.dump(-1, ' ', true);
}

}  // namespace decode
