// Numbers read and written under a locale whose decimal separator is a comma: sentences,
// layouts, number texts and the simulated receiver's sentences must not notice it.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <locale>
#include <memory>
#include <stdexcept>
#include <string>

#include "console/number_format.h"
#include "platform/vcl/layout_text.h"
#include "reader/decoders.h"
#include "tests/reader/sentence_util.h"
#include "tools/simreceiver/sim_receiver.h"

namespace {

// Switches the C and C++ global locales to German for the test's lifetime.
class GermanLocale {
 public:
  GermanLocale() : c_(std::setlocale(LC_ALL, nullptr)), cpp_(std::locale()) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8"}) {
      try {
        std::locale::global(std::locale(name));
      } catch (const std::runtime_error&) {
        continue;
      }
      if (std::setlocale(LC_ALL, name)) {
        active_ = true;
        return;
      }
    }
  }
  ~GermanLocale() {
    std::locale::global(cpp_);
    std::setlocale(LC_ALL, c_.c_str());
  }
  bool Active() const { return active_; }

 private:
  std::string c_;
  std::locale cpp_;
  bool active_ = false;
};

struct Decoded {
  std::unique_ptr<reader::ReceiverState> state = std::make_unique<reader::ReceiverState>();
};

Decoded DecodeCapture() {
  std::string text =
      testutil::Line("$GPGGA,092719.250,4807.038,N,01131.324,W,1,08,0.94,545.4,M,46.9,M,,") +
      testutil::Line("$GPRMC,092720.5,A,4807.038,S,01131.324,E,022.4,084.4,230394,,,A") +
      testutil::Line("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1") +
      testutil::Line("$PQVU556,1,0.0000012") + "$GP";
  Decoded d;
  reader::DecoderHooks hooks;
  reader::ProcessChunk(*d.state, text.data(), text.size(), hooks);
  return d;
}

const char* const kLayout =
    "object Form1: TForm\n"
    "  Ratio = 2.5\n"
    "  Scale = -0.125\n"
    "  Big = 1.5E3\n"
    "  Money = 12.75c\n"
    "  Left = 42\n"
    "end\n";

std::string SimOutput() {
  sim::SimReceiver r;
  std::string out = r.Cycle();
  out += r.Feed(testutil::Line("$PQVU456"));
  return out;
}

TEST(GermanLocale, NumbersReadAndWrittenAsInTheCLocale) {
  GermanLocale de;
  if (!de.Active()) GTEST_SKIP() << "no German locale on this machine (scripts/setup makes one)";
  // The environment really is a comma one: a C library call would go wrong here.
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 2.5);
  ASSERT_STREQ(probe, "2,5");

  // Sentences: positions, time, dilutions, altitude, speed, oscillator reply.
  Decoded d = DecodeCapture();
  const reader::FixInfo& f = d.state->Fix;
  EXPECT_NEAR(f.Latitude, -(48 + 7.038 / 60), 1e-5);
  EXPECT_NEAR(f.Longitude, 11 + 31.324 / 60, 1e-5);
  EXPECT_FLOAT_EQ(f.Second, 20.5f);
  EXPECT_NEAR(f.Altitude, 545.4 + 46.9, 1e-3);
  EXPECT_FLOAT_EQ(f.Hdop, 1.3f);
  EXPECT_FLOAT_EQ(f.Pdop, 2.5f);
  EXPECT_FLOAT_EQ(f.Vdop, 2.1f);
  EXPECT_NEAR(f.SpeedKmh, 22.4 * 1.8532, 1e-4);
  EXPECT_FLOAT_EQ(f.Course, 84.4f);
  EXPECT_NEAR(d.state->TcxoPpm, 1.2, 1e-4);

  // Layout values.
  const platform::TLayoutObject form = platform::ParseLayout(kLayout);
  ASSERT_EQ(form.Properties.size(), 5u);
  EXPECT_DOUBLE_EQ(form.Properties[0].Value.AsReal(), 2.5);
  EXPECT_DOUBLE_EQ(form.Properties[1].Value.AsReal(), -0.125);
  EXPECT_DOUBLE_EQ(form.Properties[2].Value.AsReal(), 1500.0);
  EXPECT_DOUBLE_EQ(form.Properties[3].Value.AsReal(), 12.75);
  EXPECT_EQ(form.Properties[4].Value.AsInteger(), 42);

  // Number texts.
  const struct {
    double v;
    int precision, digits;
    const char* text;
  } texts[] = {
      {48.1173, 7, 5, "48.11730"},  {116.9, 7, 1, "116.9"},
      {-0.04, 7, 1, "0.0"},         {12345678.0, 7, 1, "1.234568E+07"},
      {-11.52251, 7, 3, "-11.523"}, {2.5, 1, 0, "2"},
      {1.7e308, 1, 0, "INF"},  // rounds past the largest double
  };
  for (const auto& t : texts)
    EXPECT_EQ(console::FloatToStrF(t.v, t.precision, t.digits), t.text) << t.v;
  EXPECT_EQ(console::StrToInt("-9600"), -9600);

  // The simulated receiver writes points too.
  const std::string sim = SimOutput();
  EXPECT_NE(sim.find("$PQVU556,1,0.0000012*"), std::string::npos) << sim;
}

// Everything above is byte for byte what the C locale gives.
TEST(GermanLocale, SameStateSameTextsAsInTheCLocale) {
  const Decoded c = DecodeCapture();
  const std::string simC = SimOutput();
  const double realC = platform::ParseLayout(kLayout).Properties[0].Value.AsReal();
  const std::string textC = console::FloatToStrF(1234.56789, 7, 4);

  GermanLocale de;
  if (!de.Active()) GTEST_SKIP() << "no German locale on this machine (scripts/setup makes one)";
  const Decoded g = DecodeCapture();
  EXPECT_EQ(std::memcmp(&g.state->Fix, &c.state->Fix, sizeof c.state->Fix), 0);
  EXPECT_EQ(g.state->TcxoPpm, c.state->TcxoPpm);
  EXPECT_EQ(SimOutput(), simC);
  EXPECT_EQ(platform::ParseLayout(kLayout).Properties[0].Value.AsReal(), realC);
  EXPECT_EQ(console::FloatToStrF(1234.56789, 7, 4), textC);
  EXPECT_EQ(textC, "1234.5680");
}

}  // namespace
