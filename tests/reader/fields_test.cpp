#include "reader/fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "tests/reader/sentence_util.h"

using reader::ChecksumOk;
using reader::GetField;
using testutil::Nmea;

namespace {

bool Ok(const std::string& s) {
  return ChecksumOk(s.c_str(), s.size());
}

TEST(Checksum, Table) {
  const std::string gga =
      Nmea("$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,");
  struct Case {
    std::string text;
    bool ok;
  } cases[] = {
      {gga, true},
      {"$GPGLL,4916.45,N,12311.12,W,225444,A*32", false},  // wrong value
      {"$GPGLL,4916.45,N,12311.12,W,225444,A*31", true},
      {"$GPXXX*", false},     // no digits after '*'
      {"$GPGSA,A,3", false},  // no '*'
      {"$A*", false},
      {"", false},
      {"$AB*", false},                     // shorter than 5
      {"$AA*00", true},                    // 'A' alone is the XOR
      {"$A*41", true},                     // first char after '$' only
      {gga + "\r\n$GPRMC,garbage", true},  // runs on past the sentence: first '*' counts
      {"$PQVU001,220,3*" + testutil::Hex2(testutil::Xor("$PQVU001,220,3")), true},
  };
  for (const auto& c : cases) EXPECT_EQ(Ok(c.text), c.ok) << c.text;
}

TEST(Checksum, CaseOfHexDigits) {
  // Find a body whose checksum has letters in both digits.
  std::string body;
  for (int c = 0; c < 100000; ++c) {
    std::string b = "$GPZDA,000000.00,01,01,2020,00," + std::to_string(c) + "\xA5";
    unsigned x = testutil::Xor(b);
    if ((x >> 4) >= 10 && (x & 15) >= 10) {
      body = b;
      break;
    }
  }
  std::string upper = testutil::Hex2(testutil::Xor(body));
  ASSERT_TRUE(upper[0] >= 'A' && upper[1] >= 'A') << upper;
  std::string lowHigh = upper, lowLow = upper;
  lowHigh[0] = static_cast<char>(upper[0] + 32);
  lowLow[1] = static_cast<char>(upper[1] + 32);
  EXPECT_TRUE(Ok(body + "*" + upper));
  EXPECT_TRUE(Ok(body + "*" + lowHigh)) << "a lower-case high digit still passes";
  EXPECT_FALSE(Ok(body + "*" + lowLow)) << "a lower-case low digit fails";
}

TEST(Checksum, BytesAboveSeven) {
  std::string body = "$PQVU705,\xE9\xFF,x";
  EXPECT_TRUE(Ok(Nmea(body)));
}

TEST(GetField, Table) {
  struct Case {
    const char* src;
    std::size_t cap;
    bool ok;
    const char* out;
  } cases[] = {
      {"12,34", 20, true, "12"},
      {"12*34", 20, true, "12"},
      {",34", 20, false, ""},
      {"*34", 20, false, ""},
      {"1234", 20, false, ""},  // neither ',' nor '*' follows
      {"1234567890123456789,", 20, true, "1234567890123456789"},
      {"12345678901234567890,", 20, false, ""},  // 20 characters do not fit
      {"A*3C$GPRMC,1,2", 20, true, "A"},         // ends at '*', not at the next ','
  };
  for (const auto& c : cases) {
    char dst[32];
    std::memset(dst, 'x', sizeof dst);
    EXPECT_EQ(GetField(c.src, dst, c.cap), c.ok) << c.src;
    EXPECT_STREQ(dst, c.out) << c.src;
  }
  char keep[8] = "keep";
  EXPECT_FALSE(GetField(nullptr, keep, sizeof keep));
  EXPECT_STREQ(keep, "keep");
}

TEST(ParseNumbers, DefinedForAnyText) {
  EXPECT_EQ(reader::ParseLong("123"), 123);
  EXPECT_EQ(reader::ParseLong("12.7"), 12);
  EXPECT_EQ(reader::ParseLong(""), 0);
  EXPECT_EQ(reader::ParseLong("99999999999999999999"), INT32_MAX);
  EXPECT_EQ(reader::ParseLong("-99999999999999999999"), INT32_MIN);
  EXPECT_TRUE(std::isinf(reader::ToFloat(reader::ParseReal("1e40"))));
  EXPECT_TRUE(std::isnan(reader::ToFloat(reader::ParseReal("nan"))));
  EXPECT_FLOAT_EQ(reader::ToFloat(reader::ParseReal("61.7")), 61.7f);
}

}  // namespace
