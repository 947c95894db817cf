#include "reader/state_json.h"

#include <cmath>
#include <cstdio>

namespace reader {

namespace {

class Json {
 public:
  void Key(const char* k) {
    Sep();
    Str(k);
    out_ += ':';
    fresh_ = true;
  }
  void Open(char c) {
    Sep();
    out_ += c;
    fresh_ = true;
  }
  void Close(char c) {
    out_ += c;
    fresh_ = false;
  }
  void Int(long long v) {
    Sep();
    out_ += std::to_string(v);
  }
  void Real(double v) {
    Sep();
    if (!std::isfinite(v)) {
      out_ += "null";
      return;
    }
    char b[32];
    std::snprintf(b, sizeof b, "%.9g", v);
    out_ += b;
  }
  // Receiver text is 8-bit: bytes above 0x7F are taken as Latin-1.
  void Str(const char* s) {
    Sep();
    out_ += '"';
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
      if (*p == '"' || *p == '\\') {
        out_ += '\\';
        out_ += static_cast<char>(*p);
      } else if (*p < 0x20 || *p >= 0x7F) {
        char b[8];
        std::snprintf(b, sizeof b, "\\u%04x", *p);
        out_ += b;
      } else {
        out_ += static_cast<char>(*p);
      }
    }
    out_ += '"';
  }
  std::string Take() { return std::move(out_); }

 private:
  void Sep() {
    if (!fresh_ && !out_.empty()) out_ += ',';
    fresh_ = false;
  }
  std::string out_;
  bool fresh_ = true;
};

}  // namespace

std::string StateToJson(const ReceiverState& s, std::int32_t ackOk, std::int32_t ackFail) {
  Json j;
  j.Open('{');
  const FixInfo& f = s.Fix;
  j.Key("Fix");
  j.Open('{');
  const std::pair<const char*, long long> ints[] = {
      {"Year", f.Year},           {"Month", f.Month},          {"Day", f.Day},
      {"Hour", f.Hour},           {"Minute", f.Minute},        {"Quality", f.Quality},
      {"Dimension", f.Dimension}, {"SatsInView", f.SatsInView}};
  for (const auto& [k, v] : ints) {
    j.Key(k);
    j.Int(v);
  }
  const std::pair<const char*, float> reals[] = {
      {"Second", f.Second},     {"Latitude", f.Latitude}, {"Longitude", f.Longitude},
      {"Altitude", f.Altitude}, {"SpeedKmh", f.SpeedKmh}, {"Course", f.Course},
      {"Pdop", f.Pdop},         {"Hdop", f.Hdop},         {"Vdop", f.Vdop}};
  for (const auto& [k, v] : reals) {
    j.Key(k);
    j.Real(v);
  }
  j.Key("UsedPrns");
  j.Open('[');
  for (int p : f.UsedPrns) j.Int(p);
  j.Close(']');
  j.Close('}');

  j.Key("Satellites");
  j.Open('[');
  for (const auto& sat : s.Satellites) {
    j.Open('{');
    j.Key("Prn");
    j.Int(sat.Prn);
    j.Key("Snr");
    j.Int(sat.Snr);
    j.Key("Elevation");
    j.Int(sat.Elevation);
    j.Key("Azimuth");
    j.Int(sat.Azimuth);
    j.Key("Used");
    j.Int(sat.Used);
    j.Close('}');
  }
  j.Close(']');

  j.Key("Channels");
  j.Open('[');
  for (const auto& ch : s.Channels) {
    j.Open('{');
    j.Key("Prn");
    j.Int(ch.Prn);
    j.Key("Snr");
    j.Int(ch.Snr);
    j.Key("State");
    j.Int(ch.State);
    j.Close('}');
  }
  j.Close(']');

  j.Key("EphLevel");
  j.Open('[');
  for (auto l : s.EphLevel) j.Int(l);
  j.Close(']');

  j.Key("Firmware");
  j.Open('{');
  j.Key("Version");
  j.Str(s.Firmware.Version);
  j.Key("Customer");
  j.Str(s.Firmware.Customer);
  j.Key("Sdk");
  j.Str(s.Firmware.Sdk);
  j.Key("Model");
  j.Str(s.Firmware.Model);
  j.Close('}');

  j.Key("TcxoPpm");
  j.Real(s.TcxoPpm);
  j.Key("FixRateHz");
  j.Int(s.FixRateHz);
  j.Key("DatumIndex");
  j.Int(s.DatumIndex);
  j.Key("RtcmBaud");
  j.Int(s.RtcmBaud);
  j.Key("NmeaRatesReply");
  j.Str(s.NmeaRatesReply);
  j.Key("FlashWritesLeft");
  j.Int(s.FlashWritesLeft);
  j.Key("AckOkCommand");
  j.Int(ackOk);
  j.Key("AckFailCommand");
  j.Int(ackFail);
  j.Close('}');
  return j.Take();
}

}  // namespace reader
