#include "tools/decode/state_json.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "reader/decoders.h"
#include "tests/reader/sentence_util.h"

using namespace reader;
using nlohmann::json;

namespace {

struct Acks : DecoderHooks {
  std::int32_t ok = 0, fail = 0;
  void Acknowledged(std::int32_t c, bool success) override { (success ? ok : fail) = c; }
};

std::string Latin1ToUtf8(const char* s) {
  std::string out;
  for (; *s; ++s) {
    const auto c = static_cast<unsigned char>(*s);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

void ExpectReal(const json& v, float want, const std::string& key) {
  if (!std::isfinite(want)) {
    EXPECT_TRUE(v.is_null()) << key << " " << v;
    return;
  }
  ASSERT_TRUE(v.is_number()) << key << " " << v;
  EXPECT_EQ(static_cast<float>(v.get<double>()), want) << key << " reads back as the same float";
}

// Every value of one printed object against the state it was printed from.
void ExpectSameState(const json& j, const ReceiverState& s, std::int32_t ok, std::int32_t fail) {
  ASSERT_TRUE(j.is_object());
  const FixInfo& f = s.Fix;
  const json& fix = j.at("Fix");
  const std::pair<const char*, long long> ints[] = {
      {"Year", f.Year},           {"Month", f.Month},          {"Day", f.Day},
      {"Hour", f.Hour},           {"Minute", f.Minute},        {"Quality", f.Quality},
      {"Dimension", f.Dimension}, {"SatsInView", f.SatsInView}};
  for (const auto& [k, v] : ints) EXPECT_EQ(fix.at(k).get<long long>(), v) << k;
  const std::pair<const char*, float> reals[] = {
      {"Second", f.Second},     {"Latitude", f.Latitude}, {"Longitude", f.Longitude},
      {"Altitude", f.Altitude}, {"SpeedKmh", f.SpeedKmh}, {"Course", f.Course},
      {"Pdop", f.Pdop},         {"Hdop", f.Hdop},         {"Vdop", f.Vdop}};
  for (const auto& [k, v] : reals) ExpectReal(fix.at(k), v, k);
  ASSERT_EQ(fix.at("UsedPrns").size(), static_cast<size_t>(kMaxSatellites));
  for (int i = 0; i < kMaxSatellites; ++i) EXPECT_EQ(fix["UsedPrns"][i].get<int>(), f.UsedPrns[i]);

  ASSERT_EQ(j.at("Satellites").size(), static_cast<size_t>(kMaxSatellites));
  for (int i = 0; i < kMaxSatellites; ++i) {
    const json& e = j["Satellites"][i];
    const SatelliteInfo& sat = s.Satellites[i];
    EXPECT_EQ(e.at("Prn").get<int>(), sat.Prn);
    EXPECT_EQ(e.at("Snr").get<int>(), sat.Snr);
    EXPECT_EQ(e.at("Elevation").get<int>(), sat.Elevation);
    EXPECT_EQ(e.at("Azimuth").get<int>(), sat.Azimuth);
    EXPECT_EQ(e.at("Used").get<int>(), sat.Used);
  }
  ASSERT_EQ(j.at("Channels").size(), static_cast<size_t>(kChannelCount));
  ASSERT_EQ(j.at("EphLevel").size(), static_cast<size_t>(kChannelCount));
  for (int i = 0; i < kChannelCount; ++i) {
    const json& e = j["Channels"][i];
    EXPECT_EQ(e.at("Prn").get<int>(), s.Channels[i].Prn);
    EXPECT_EQ(e.at("Snr").get<int>(), s.Channels[i].Snr);
    EXPECT_EQ(e.at("State").get<int>(), s.Channels[i].State);
    EXPECT_EQ(j["EphLevel"][i].get<int>(), s.EphLevel[i]);
  }
  const json& fw = j.at("Firmware");
  EXPECT_EQ(fw.at("Version").get<std::string>(), Latin1ToUtf8(s.Firmware.Version));
  EXPECT_EQ(fw.at("Customer").get<std::string>(), Latin1ToUtf8(s.Firmware.Customer));
  EXPECT_EQ(fw.at("Sdk").get<std::string>(), Latin1ToUtf8(s.Firmware.Sdk));
  EXPECT_EQ(fw.at("Model").get<std::string>(), Latin1ToUtf8(s.Firmware.Model));
  ExpectReal(j.at("TcxoPpm"), s.TcxoPpm, "TcxoPpm");
  EXPECT_EQ(j.at("FixRateHz").get<int>(), s.FixRateHz);
  EXPECT_EQ(j.at("DatumIndex").get<int>(), s.DatumIndex);
  EXPECT_EQ(j.at("RtcmBaud").get<int>(), s.RtcmBaud);
  EXPECT_EQ(j.at("NmeaRatesReply").get<std::string>(), Latin1ToUtf8(s.NmeaRatesReply));
  EXPECT_EQ(j.at("FlashWritesLeft").get<int>(), s.FlashWritesLeft);
  EXPECT_EQ(j.at("AckOkCommand").get<int>(), ok);
  EXPECT_EQ(j.at("AckFailCommand").get<int>(), fail);
}

TEST(StateJson, KeysValuesAndEscapes) {
  auto s = std::make_unique<ReceiverState>();
  DecoderHooks hooks;
  std::string text = testutil::Line("$GPZDA,201530.00,04,07,2002,00,00") +
                     testutil::Line("$PQVU705,a\"b\\c,\xE9t\x01,M,S") + "$GP";
  ProcessChunk(*s, text.data(), text.size(), hooks);
  s->Fix.Altitude = std::numeric_limits<float>::quiet_NaN();
  s->Fix.Hdop = std::numeric_limits<float>::infinity();
  s->Fix.Latitude = 48.1173f;
  const std::string line = decode::StateToJson(*s, 220, 0);
  EXPECT_EQ(line.find('\n'), std::string::npos) << "one object, one line";
  EXPECT_EQ(line.find_first_of("\x80\xFF"), std::string::npos) << "ASCII only";
  // Shortest text that reads back as the same float, not the float widened to a double.
  EXPECT_NE(line.find("\"Latitude\":48.1173,"), std::string::npos) << line;
  EXPECT_NE(line.find("\"Customer\":\"\\u00e9t\\u0001\""), std::string::npos) << line;

  const json j = json::parse(line);
  ExpectSameState(j, *s, 220, 0);
  EXPECT_EQ(j["Fix"]["Year"], 2002);
  EXPECT_TRUE(j["Fix"]["Altitude"].is_null());
  EXPECT_TRUE(j["Fix"]["Hdop"].is_null());
  EXPECT_EQ(j["Firmware"]["Version"], "a\"b\\c");
  EXPECT_EQ(j["Firmware"]["Customer"], "\xC3\xA9t\x01");
  EXPECT_EQ(j["TcxoPpm"], 1000.0);
  EXPECT_EQ(j["EphLevel"][0], -1);
  // The keys in the state's own order.
  std::vector<std::string> keys;
  const nlohmann::ordered_json ordered = nlohmann::ordered_json::parse(line);
  for (const auto& [k, v] : ordered.items()) keys.push_back(k);
  const std::vector<std::string> want = {
      "Fix",           "Satellites",     "Channels",        "EphLevel",
      "Firmware",      "TcxoPpm",        "FixRateHz",       "DatumIndex",
      "RtcmBaud",      "NmeaRatesReply", "FlashWritesLeft", "AckOkCommand",
      "AckFailCommand"};
  EXPECT_EQ(keys, want);
}

// A decimal comma in the user's locale changes nothing in what is printed or read back.
TEST(StateJson, SameTextUnderAGermanLocale) {
  auto s = std::make_unique<ReceiverState>();
  DecoderHooks hooks;
  const std::string text =
      testutil::Line("$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,") + "$GP";
  ProcessChunk(*s, text.data(), text.size(), hooks);
  const std::string inC = decode::StateToJson(*s, 0, 0);
  const std::string before = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale on this machine";
  const std::string inDe = decode::StateToJson(*s, 0, 0);
  const json j = json::parse(inDe);
  std::setlocale(LC_ALL, before.c_str());
  EXPECT_EQ(inDe, inC);
  EXPECT_NE(inDe.find("\"Hdop\":1.03,"), std::string::npos) << inDe;
  ExpectSameState(j, *s, 0, 0);
}

#ifdef KORVANE_BINARY_DIR
struct ToolRun {
  std::string out;
  int status = -1;
};

ToolRun RunTool(const std::string& args) {
  const std::string cmd =
      std::string(KORVANE_BINARY_DIR) + "/tools/korvane-nmea-decode " + args + " 2>/dev/null";
  ToolRun r;
  std::FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

class DecodeTool : public ::testing::Test {
 protected:
  void SetUp() override {
    char path[] = "/tmp/korvane-capture-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    path_ = path;
    // A short real-looking session: fixes, satellites, channel and ephemeris status, replies
    // (one in Latin-1), noise bytes between sentences and a sentence cut off at the end.
    for (int k = 0; k < 3; ++k) {
      const std::string sec = std::to_string(10 + k);
      text_ += testutil::Line("$GPGGA,0927" + sec +
                              ".250,4807.038,N,01131.324,E,1,08,0.94,545.4,M,46.9,M,,");
      text_ += testutil::Line("$GPRMC,0927" + sec +
                              ".250,A,4807.038,N,01131.324,E,022.4,084.4,230394,003.1,W,A");
      text_ += testutil::Line("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
      text_ += testutil::Line("$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45");
      text_ += testutil::Line("$GPGSV,2,2,08,04,30,120,38,05,55,200,44,09,12,050,,24,80,300,33");
      text_ += testutil::Line("$GPVTG,084.4,T,,M,022.4,N,041.5,K,A");
      text_ += std::string("\x00\xFF garbage \x01", 13);
      text_ += testutil::Line("$PQVUCHN,0145" + std::to_string(k % 3) + ",05382,12000");
      text_ += testutil::Line("$PQVUEPH,3,4.30,5.10,9.00");
    }
    text_ += testutil::Line("$GPZDA,201530.00,04,07,2002,00,00");
    text_ += testutil::Line("$PQVU705,1.02,Kund\xE9,SDK3,M1");
    text_ += testutil::Line("$PQVU556,1,0.0000012");
    text_ += testutil::Line("$PQVU001,220,3") + testutil::Line("$PQVU001,330,2");
    text_ += "$GPGGA,0927";
    ASSERT_EQ(write(fd, text_.data(), text_.size()), static_cast<ssize_t>(text_.size()));
    close(fd);
  }
  void TearDown() override {
    if (!path_.empty()) unlink(path_.c_str());
  }

  std::string path_, text_;
};

TEST_F(DecodeTool, EveryLineParsesAndHoldsTheDecodedState) {
  const ToolRun every = RunTool("--every-chunk " + path_);
  ASSERT_EQ(every.status, 0);
  const std::vector<std::string> lines = Lines(every.out);
  const size_t chunks = (text_.size() + kChunkMax - 1) / kChunkMax;
  ASSERT_EQ(lines.size(), chunks);
  ASSERT_GT(chunks, 10u);

  auto s = std::make_unique<ReceiverState>();
  Acks acks;
  for (size_t i = 0; i < chunks; ++i) {
    const size_t at = i * kChunkMax;
    ProcessChunk(*s, text_.data() + at, std::min<size_t>(kChunkMax, text_.size() - at), acks);
    SCOPED_TRACE("chunk " + std::to_string(i));
    json j;
    ASSERT_NO_THROW(j = json::parse(lines[i])) << lines[i];
    ExpectSameState(j, *s, acks.ok, acks.fail);
  }
  // The capture was decoded, not only printed: values from the sentences themselves.
  ASSERT_NEAR(s->Fix.Latitude, 48 + 7.038 / 60, 1e-4);
  ASSERT_EQ(acks.ok, 220);
  ASSERT_EQ(acks.fail, 330);

  const ToolRun last = RunTool(path_);
  ASSERT_EQ(last.status, 0);
  ASSERT_EQ(Lines(last.out).size(), 1u);
  EXPECT_EQ(last.out, lines.back() + "\n");
  const json j = json::parse(last.out);
  ExpectSameState(j, *s, 220, 330);
  EXPECT_EQ(j["Firmware"]["Customer"], "Kund\xC3\xA9");
  EXPECT_EQ(j["Fix"]["Year"], 2002);
  EXPECT_EQ(RunTool("- < " + path_).out, last.out) << "standard input reads the same";
}

TEST_F(DecodeTool, FailuresExitNonZero) {
  const struct {
    std::string args;
    int status;
  } cases[] = {
      {"/nonexistent/capture", 1},
      {"/tmp", 1},                  // a directory cannot be read
      {path_ + " > /dev/full", 1},  // output that does not reach its file
      {"--every-chunk " + path_ + " > /dev/full", 1},
      {"--bogus " + path_ + " extra", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(RunTool(c.args).status, c.status) << c.args;
}

TEST_F(DecodeTool, RandomBytesStillGiveJsonLines) {
  char path[] = "/tmp/korvane-noise-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  std::string noise;
  std::uint32_t x = 12345;
  for (int i = 0; i < 5000; ++i) {
    x = x * 1664525u + 1013904223u;
    const char c = static_cast<char>(x >> 24);
    noise += c;
    // Now and then a sentence start or a valid sentence, so the decoders get bytes too.
    if (i % 257 == 0) noise += "$PQVU705,";
    if (i % 311 == 0) noise += testutil::Line("$PQVU705,\x80\xFF\x7F,\x1F,\xC3,x");
  }
  ASSERT_EQ(write(fd, noise.data(), noise.size()), static_cast<ssize_t>(noise.size()));
  close(fd);
  const ToolRun r = RunTool(std::string("--every-chunk ") + path);
  unlink(path);
  ASSERT_EQ(r.status, 0);
  const std::vector<std::string> lines = Lines(r.out);
  EXPECT_EQ(lines.size(), (noise.size() + kChunkMax - 1) / kChunkMax);
  for (const std::string& l : lines) EXPECT_TRUE(json::accept(l)) << l;
}
#endif

}  // namespace
