// Decoders of the "$GP" sentences. Each opens with an example and reads as its field list.
// A field that is too long or malformed counts as missing: an optional one leaves its target,
// a required one ends the sentence.
#include <cstring>

#include "reader/decoders.h"
#include "reader/fields.h"

namespace reader {

namespace {

constexpr double kKnotsToKmh = 1.8532;

// One field of the sentence being decoded.
struct Field {
  char text[kFieldCap];
  FieldRead read;
  bool ok() const { return read == FieldRead::Ok; }
};

class Sentence {
 public:
  explicit Sentence(const char* line) : walk_(line) {}
  // Moves to the next field and reads it; false when the sentence has no further field.
  bool Next(Field& f) {
    if (!walk_.Next()) return false;
    f.read = walk_.Read(f.text, sizeof f.text);
    return true;
  }
  // Next field, which must be present and non-empty.
  bool Required(Field& f) { return Next(f) && f.ok(); }
  // Next field, which may be empty; false only when the sentence ends or the field is bad.
  bool Optional(Field& f) { return Next(f) && f.read != FieldRead::Bad; }
  bool Skip(int count) {
    for (int i = 0; i < count; ++i)
      if (!walk_.Next()) return false;
    return true;
  }

 private:
  FieldWalker walk_;
};

// hhmmss.sss; shorter forms are not a time.
void StoreTime(FixInfo& fix, const Field& f) {
  if (!f.ok() || std::strlen(f.text) < 4) return;
  fix.Hour = ParseTwoDigits(f.text);
  fix.Minute = ParseTwoDigits(f.text + 2);
  fix.Second = ToFloat(ParseReal(f.text + 4));
}

// ddmm.mmmm or dddmm.mmmm. False when the field is not of that form.
bool ParsePosition(const Field& f, float& out) {
  if (!f.ok()) return false;
  const char* dot = std::strchr(f.text, '.');
  if (!dot || dot - f.text < 2) return false;
  std::size_t degLen = static_cast<std::size_t>(dot - f.text) - 2;
  char deg[kFieldCap] = {};
  std::memcpy(deg, f.text, degLen);
  long double minutes = ParseReal(f.text + degLen);
  long double value = ParseLong(deg) + minutes * (1.0L / 60.0L);
  out = ToFloat(static_cast<double>(value));
  return true;
}

// A position and its hemisphere; only a value read in this sentence is negated.
bool ReadPosition(Sentence& s, float& target, char negative) {
  Field pos, hemi;
  if (!s.Optional(pos)) return false;
  float value = 0;
  bool have = ParsePosition(pos, value);
  if (have) target = value;
  if (!s.Optional(hemi)) return false;
  if (have && hemi.text[0] == negative) target = -value;
  return true;
}

void ApplyModeLetter(FixInfo& fix, const Field& f) {
  switch (f.text[0]) {
    case 'A':
      fix.Quality = 1;
      break;
    case 'D':
      fix.Quality = 2;
      break;
    case 'E':
      fix.Quality = 6;
      break;
    default:
      break;
  }
}

void StoreSpeed(FixInfo& fix, const Field& f) {
  if (f.ok()) fix.SpeedKmh = ToFloat(ParseReal(f.text) * kKnotsToKmh);
}

void StoreReal(float& target, const Field& f) {
  if (f.ok()) target = ToFloat(ParseReal(f.text));
}

void StoreLong(std::int32_t& target, const Field& f) {
  if (f.ok()) target = ParseLong(f.text);
}

void LoseFix(FixInfo& fix) {
  fix.Dimension = 0;
  fix.Quality = 0;
}

}  // namespace

// $GPGLL,4916.45,N,12311.12,W,225444,A,A*hh
void DecodeGLL(ReceiverState& st, const char* line) {
  FixInfo& fix = st.Fix;
  Sentence s(line);
  Field f;
  if (!ReadPosition(s, fix.Latitude, 'S')) return;
  if (!ReadPosition(s, fix.Longitude, 'W')) return;
  if (!s.Optional(f)) return;
  StoreTime(fix, f);
  if (!s.Required(f)) return;
  if (f.text[0] != 'A') return LoseFix(fix);
  if (fix.Dimension == 0) fix.Dimension = 1;
  if (!s.Required(f)) return;
  ApplyModeLetter(fix, f);
}

// $GPRMC,225446.00,A,4916.45,N,12311.12,W,000.5,054.7,191194,020.3,E,A*hh
void DecodeRMC(ReceiverState& st, const char* line) {
  FixInfo& fix = st.Fix;
  Sentence s(line);
  Field f;
  if (!s.Optional(f)) return;
  StoreTime(fix, f);
  if (!s.Required(f)) return;
  if (f.text[0] == 'A') {
    if (fix.Dimension == 0) fix.Dimension = 1;
    if (fix.Quality == 0) fix.Quality = 1;
  } else {
    LoseFix(fix);
  }
  if (!ReadPosition(s, fix.Latitude, 'S')) return;
  if (!ReadPosition(s, fix.Longitude, 'W')) return;
  if (!s.Optional(f)) return;
  StoreSpeed(fix, f);
  if (!s.Optional(f)) return;
  StoreReal(fix.Course, f);
  if (!s.Optional(f)) return;
  if (f.ok() && std::strlen(f.text) >= 6) {
    fix.Day = ParseTwoDigits(f.text);
    fix.Month = ParseTwoDigits(f.text + 2);
    fix.Year = ParseTwoDigits(f.text + std::strlen(f.text) - 2) + 2000;
  }
  if (!s.Skip(2)) return;
  if (!s.Required(f)) return;
  if (fix.Dimension > 0) ApplyModeLetter(fix, f);
}

// $GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A*hh
void DecodeVTG(ReceiverState& st, const char* line) {
  FixInfo& fix = st.Fix;
  Sentence s(line);
  Field f;
  if (!s.Optional(f)) return;
  StoreReal(fix.Course, f);
  if (!s.Skip(3)) return;
  // Skip(3) stands on field 4; field 5 is the speed in knots.
  if (!s.Optional(f)) return;
  StoreSpeed(fix, f);
  if (!s.Skip(3)) return;
  if (!s.Required(f)) return;
  if (f.text[0] == 'N') return LoseFix(fix);
  if (fix.Dimension == 0) fix.Dimension = 1;
  ApplyModeLetter(fix, f);
}

// $GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*hh
void DecodeGSA(ReceiverState& st, const char* line) {
  FixInfo& fix = st.Fix;
  std::memset(fix.UsedPrns, 0, sizeof fix.UsedPrns);
  Sentence s(line);
  Field f;
  if (!s.Required(f)) return;
  bool solving = f.text[0] == 'A' || f.text[0] == 'M';
  if (solving) {
    if (!s.Required(f)) return;
    std::int32_t type = ParseLong(f.text);
    // Fix types other than 2 and 3 (0 included) count as no fix.
    if (type == 2 || type == 3) {
      fix.Dimension = static_cast<std::uint8_t>(type - 1);
      if (fix.Quality == 0) fix.Quality = 1;
    } else {
      LoseFix(fix);
    }
  } else {
    LoseFix(fix);
    if (!s.Skip(1)) return;
  }
  int used = 0;
  for (int k = 0; k < 12; ++k) {
    if (!s.Optional(f)) return;
    if (f.ok() && used < kMaxSatellites) fix.UsedPrns[used++] = ParseLong(f.text);
  }
  if (!s.Required(f)) return;
  StoreReal(fix.Pdop, f);
  if (!s.Required(f)) return;
  StoreReal(fix.Hdop, f);
  if (!s.Required(f)) return;
  StoreReal(fix.Vdop, f);
}

// $GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00*hh
void DecodeGSV(ReceiverState& st, const char* line) {
  FixInfo& fix = st.Fix;
  Sentence s(line);
  Field total, number, f;
  if (!s.Next(total)) return;
  bool haveNumber = s.Next(number);
  if (haveNumber && number.ok()) {
    std::int32_t msg = ParseLong(number.text);
    if (msg == 1) {
      std::memset(st.Satellites, 0, sizeof st.Satellites);
      st.MarkedFrom.Valid = false;  // the Used marks went with the table
      st.SatListComplete = 0;
    }
    if (total.ok() && ParseLong(total.text) == msg) st.SatListComplete = 1;
  }
  if (!haveNumber || !number.ok()) return;
  // Clamped so that the entry arithmetic cannot overflow; entries outside the table are skipped.
  std::int64_t base = (static_cast<std::int64_t>(ParseLong(number.text)) - 1) * 4;
  if (!s.Required(f)) return;
  fix.SatsInView = ParseLong(f.text);
  if (fix.SatsInView == 0) return;
  for (int k = 0; k < 4; ++k) {
    std::int64_t entry = base + k;
    std::int32_t values[4] = {};
    for (auto& v : values) {
      if (!s.Optional(f)) return;
      v = f.ok() ? ParseLong(f.text) : 0;
    }
    if (entry >= 0 && entry < kMaxSatellites) {
      SatelliteInfo& sat = st.Satellites[entry];
      sat.Prn = values[0];
      sat.Elevation = values[1];
      sat.Azimuth = values[2];
      sat.Snr = values[3];
    }
    if (entry + 1 == fix.SatsInView) return;
  }
}

// $GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*hh
void DecodeGGA(ReceiverState& st, const char* line) {
  FixInfo& fix = st.Fix;
  Sentence s(line);
  Field f;
  if (!s.Optional(f)) return;
  StoreTime(fix, f);
  if (!ReadPosition(s, fix.Latitude, 'S')) return;
  if (!ReadPosition(s, fix.Longitude, 'W')) return;
  if (!s.Required(f)) return;
  fix.Quality = static_cast<std::uint8_t>(ParseLong(f.text));
  if (fix.Quality > 0 && fix.Dimension == 0) fix.Dimension = 1;
  if (!s.Skip(1)) return;
  if (!s.Optional(f)) return;
  StoreReal(fix.Hdop, f);
  if (!s.Optional(f)) return;
  bool haveAltitude = f.ok();
  double altitude = haveAltitude ? ParseReal(f.text) : 0.0;
  if (haveAltitude) fix.Altitude = ToFloat(altitude);
  if (!s.Skip(1)) return;
  if (!s.Required(f)) return;
  if (haveAltitude) fix.Altitude = ToFloat(altitude + ParseReal(f.text));
}

// $GPZDA,201530.00,04,07,2002,00,00*hh
void DecodeZDA(ReceiverState& st, const char* line) {
  FixInfo& fix = st.Fix;
  Sentence s(line);
  Field f;
  if (!s.Optional(f)) return;
  StoreTime(fix, f);
  if (!s.Optional(f)) return;
  StoreLong(fix.Day, f);
  if (!s.Optional(f)) return;
  StoreLong(fix.Month, f);
  if (!s.Optional(f)) return;
  StoreLong(fix.Year, f);
}

}  // namespace reader
