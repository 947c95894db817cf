#include "console/sentences.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "console/number_format.h"
#include "console/sky_plot_math.h"

using namespace console;

namespace {

TEST(Sentences, ChecksumExamples) {
  EXPECT_EQ(BuildSentence("$PQVU220,200"), "$PQVU220,200*2C\r\n");
  EXPECT_EQ(BuildSentence("$PQVU220,333").value().substr(0, 13), "$PQVU220,333*");
  EXPECT_EQ(ComputeChecksumHex("$PQVU390,0,1,38400,1,1,1,1,1,1,0,0,0,0,9600"), "09");
  // Bytes above 0x7F still give two digits.
  EXPECT_EQ(ComputeChecksumHex("$P\xE9").size(), 2u);
}

TEST(Sentences, StoredSentencesCarryValidChecksums) {
  for (const char* s :
       {kHotStart,     kWarmStart,  kColdStart,   kFactoryReset,  kAuthorization,  kWakeUp,
        kVersionQuery, kTcxoQuery,  kCurrentTest, kFixRateQuery,  kIntegrityQuery, kNmeaRatesQuery,
        kFlashQuery,   kDatumQuery, kRtcmQuery,   kDgpsQuery,     kSbasOn,         kSbasOff,
        kDgpsSbas,     kDgpsRtcm,   kDgpsNone,    kIntegrityMode, kTestMode}) {
    std::string text = s;
    std::size_t star = text.find('*');
    ASSERT_NE(star, std::string::npos) << text;
    EXPECT_EQ(BuildSentence(text.substr(0, star)), text) << text;
  }
}

TEST(Sentences, TooLongIsRefusedWhole) {
  std::string body = "$PQVU250,1,0," + std::string(300, '9');
  EXPECT_FALSE(BuildSentence(body).has_value());
  EXPECT_TRUE(BuildSentence(body, 400).has_value());
  std::string fits = "$PQVU251," + std::string(100 - 9 - 5, '1');  // 100 with "*hh\r\n"
  EXPECT_EQ(BuildSentence(fits).value().size(), 100u);
  EXPECT_FALSE(BuildSentence(fits + "1").has_value());
}

TEST(NumberFormat, FixedNotation) {
  struct Case {
    double v;
    int precision, digits;
    const char* text;
  } cases[] = {
      {50.0, 7, 3, "50.000"},
      {25.033012, 7, 5, "25.03301"},
      {121.565432, 7, 5, "121.56540"},  // seven significant digits first
      {0.0, 7, 5, "0.00000"},
      {61.7 + 55.2, 7, 1, "116.9"},
      {-0.04, 7, 1, "0.0"},
      {1.26, 7, 1, "1.3"},
      {1e38, 7, 1, "1.000000E+38"},
      {12345678.0, 7, 1, "1.234568E+07"},
      {1234567.0, 7, 1, "1234567.0"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToStrF(c.v, c.precision, c.digits), c.text) << c.v;
  EXPECT_EQ(FloatToStrF(std::nan(""), 7, 1), "NAN");
  EXPECT_EQ(FloatToStrF(-INFINITY, 7, 1), "-INF");
}

TEST(NumberFormat, PlainDecimalOnly) {
  int v = 0;
  EXPECT_TRUE(ParseDecimal("38400", &v));
  EXPECT_EQ(v, 38400);
  EXPECT_TRUE(ParseDecimal("-1", &v));
  EXPECT_EQ(v, -1);
  for (const char* bad :
       {"", "-", "9600\r\n$PQVU104", "1,2", "12*", " 1", "1 ", "0x10", "1e3", "99999999999"})
    EXPECT_FALSE(ParseDecimal(bad, &v)) << bad;
}

TEST(SkyPlot, PositionsOfTheArithmetic) {
  struct Case {
    int az, el, x, y;
  } cases[] = {
      {0, 90, 90, 90}, {0, 0, 90, 18}, {90, 0, 161, 89}, {180, 0, 90, 161}, {270, 0, 18, 90}};
  for (const auto& c : cases) {
    SkyPoint p = SkyPosition(c.az, c.el);
    EXPECT_EQ(p.x, c.x) << c.az << "/" << c.el;
    EXPECT_EQ(p.y, c.y) << c.az << "/" << c.el;
  }
  SkyPoint far = SkyPosition(2147483647, -2147483647);
  EXPECT_LE(far.x, 1000000);
}

}  // namespace
