// Decoders of the receiver's own "$PQVU" sentences: channel status, ephemeris status and the
// replies to the console's queries and settings.
#include <cmath>
#include <cstring>

#include "reader/decoders.h"
#include "reader/fields.h"

namespace reader {

namespace {

// Reads field `index` (1-based) of a reply; false when the sentence lacks it or it is too long.
// An empty field reads as "".
bool ReplyField(const char* line, int index, char* dst, std::size_t cap) {
  FieldWalker w(line);
  for (int i = 0; i < index; ++i)
    if (!w.Next()) return false;
  return w.Read(dst, cap) != FieldRead::Bad;
}

bool ReplyNumber(const char* line, int index, std::int32_t& out) {
  char text[kFieldCap];
  if (!ReplyField(line, index, text, sizeof text)) return false;
  out = ParseLong(text);
  return true;
}

// Copies a firmware text, cut to what the record holds.
void CopyText(char (&dst)[kFirmwareTextCap], const char* src, std::size_t n) {
  if (n > kFirmwareTextCap - 1) n = kFirmwareTextCap - 1;
  std::memcpy(dst, src, n);
  dst[n] = '\0';
}

// $PQVU705,1.02,ACME,SDK3,M1*hh: fields 3 and 4 only when a ',' follows field 2.
void DecodeVersion(ReceiverState& s, const char* line, DecoderHooks& hooks) {
  FieldWalker w(line);
  const char* text[4] = {};
  std::size_t len[4] = {};
  int count = 0;
  for (; count < 4 && w.Next(); ++count) {
    text[count] = w.Start();
    len[count] = w.Length();
  }
  if (count < 2) return;
  CopyText(s.Firmware.Version, text[0], len[0]);
  CopyText(s.Firmware.Customer, text[1], len[1]);
  if (count >= 3) CopyText(s.Firmware.Model, text[2], len[2]);
  if (count >= 4) CopyText(s.Firmware.Sdk, text[3], len[3]);
  hooks.Reply(ReplyStep::FirmwareInfo);
}

}  // namespace

// $PQVUCHN,0145t,...: PPSSt per channel.
void DecodeChannelStatus(ReceiverState& s, const char* line) {
  FieldWalker w(line);
  if (!w.Next()) return;
  for (int i = 0; i < kChannelCount; ++i) {
    char f[kFieldCap];
    if (w.Read(f, sizeof f) != FieldRead::Ok) return;
    // Shorter fields carry no state digit; the walk ends rather than read past them.
    if (!f[1] || !f[2] || !f[3] || !f[4]) return;
    ChannelInfo& ch = s.Channels[i];
    ch.Prn = ParseTwoDigits(f);
    ch.Snr = ParseTwoDigits(f + 2);
    ch.State = f[4] == '0' ? 0 : (f[4] == '1' ? 1 : 2);
    if (!w.Next() || i == kChannelCount - 1) {
      s.ChannelsUpdated.store(1);
      return;
    }
  }
}

// $PQVUEPH,x,14.30,3.05,...: satellite number plus a fraction that gives the level.
void DecodeEphemerisStatus(ReceiverState& s, const char* line) {
  FieldWalker w(line);
  if (!w.Next()) return;
  if (!w.Next()) return;
  do {
    char f[kFieldCap];
    if (w.Read(f, sizeof f) != FieldRead::Ok) break;
    float v = std::fabs(ToFloat(ParseReal(f)));
    // Values that no satellite number can come from; converting them would be undefined.
    if (!std::isfinite(v) || v >= 2147483648.0f) continue;
    int n = static_cast<int>(static_cast<std::int64_t>(v) % 256);
    float frac = v - static_cast<float>(n);
    if (n < 1 || n > kChannelCount) continue;
    std::int8_t& level = s.EphLevel[n - 1];
    if (level == 0) continue;
    level = frac > 0.25f ? 3 : frac > 0.15f ? 2 : frac > 0.05f ? 1 : 0;
  } while (w.Next());
  s.EphemerisUpdated = 1;
}

void DecodeProprietaryReply(ReceiverState& s, const char* line, DecoderHooks& hooks) {
  if (std::strlen(line) < 8) return;
  const char* id = line + 5;
  auto is = [id](const char* n) { return std::strncmp(id, n, 3) == 0; };
  std::int32_t a = 0, b = 0;

  if (is("001")) {
    if (!ReplyNumber(line, 1, a) || !ReplyNumber(line, 2, b)) return;
    if (b == 3)
      hooks.Acknowledged(a, true);
    else if (b == 2)
      hooks.Acknowledged(a, false);
  } else if (is("500")) {
    if (!ReplyNumber(line, 1, a)) return;
    if (a >= 1 && a <= 1000) s.FixRateHz = static_cast<std::uint8_t>(1000 / a);
    hooks.Reply(ReplyStep::FixRate);
  } else if (is("501")) {
    if (!ReplyNumber(line, 1, a)) return;
    hooks.Reply(a == 2 ? ReplyStep::DgpsSbas : a == 1 ? ReplyStep::DgpsRtcm : ReplyStep::DgpsNone);
  } else if (is("514")) {
    const char* comma = std::strchr(line, ',');
    if (!comma) return;
    std::size_t n = std::strlen(comma + 1);
    // Longer than any real reply and than the record holds: dropped whole.
    if (n > kRatesReplyCap - 1) return;
    std::memcpy(s.NmeaRatesReply, comma + 1, n + 1);
    hooks.Reply(ReplyStep::NmeaRates);
  } else if (is("519")) {
    if (!ReplyNumber(line, 1, a)) return;
    hooks.Reply(a == 0 ? ReplyStep::SbasTest : ReplyStep::SbasIntegrity);
  } else if (is("530")) {
    if (!ReplyNumber(line, 1, a)) return;
    s.DatumIndex = static_cast<std::uint8_t>(a);
    hooks.Reply(ReplyStep::Datum);
  } else if (is("556")) {
    char f[kFieldCap];
    if (!ReplyField(line, 2, f, sizeof f)) return;
    s.TcxoPpm = ToFloat(ParseReal(f) * 1000000.0);
    hooks.Reply(ReplyStep::Tcxo);
  } else if (is("590")) {
    if (!ReplyNumber(line, 1, a)) return;
    s.FlashWritesLeft = a;
    hooks.Reply(ReplyStep::FlashWritesLeft);
  } else if (is("702")) {
    if (!ReplyNumber(line, 3, a)) return;
    s.RtcmBaud = a;
    hooks.Reply(ReplyStep::RtcmBaud);
  } else if (is("705")) {
    DecodeVersion(s, line, hooks);
  }
}

}  // namespace reader
