#include "reader/fields.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
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

// The C library's readers in the "C" locale: what the numbers of a sentence have always meant.
struct CLocaleReaders {
  locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
  ~CLocaleReaders() { freelocale(c); }
  std::int32_t Long(const char* t) const {
    long v = strtol_l(t, nullptr, 10, c);
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(v);
  }
  double Real(const char* t) const { return strtod_l(t, nullptr, c); }
};

bool SameDouble(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::memcmp(&a, &b, sizeof a) == 0;  // also tells -0 from 0
}

TEST(ParseNumbers, AgreeWithTheCReaders) {
  CLocaleReaders c;
  ASSERT_NE(c.c, locale_t{});
  const char* table[] = {"0",
                         "12",
                         "-5",
                         "+7",
                         " 3",
                         "\t4",
                         "007",
                         "12.7",
                         "1e5",
                         "1E-3",
                         "2.5e",
                         "2.5e+",
                         "1e400",
                         "-1e400",
                         "1e-400",
                         "-1e-400",
                         "4e-324",
                         "2e-324",
                         "1e-310",
                         "1.7976931348623157e308",
                         "1.7976931348623159e308",
                         "inf",
                         "-INF",
                         "infinity",
                         "infin",
                         "nan",
                         "-nan",
                         "NaN(12)",
                         "0x1A",
                         "0x1p3",
                         "-0X.8P1",
                         "0x",
                         "0xg",
                         "0x1p99999",
                         "0x1p-99999",
                         "--3",
                         "+-3",
                         "-",
                         "+",
                         ".",
                         "5.",
                         ".5",
                         "-.5",
                         "-0",
                         "-0.0",
                         "123456789012345678",
                         "99999999999999999999",
                         "-99999999999999999999",
                         "2147483647",
                         "2147483648",
                         "-2147483648",
                         "-2147483649",
                         "3.14159265358979323846",
                         "0.000000000000000000000001234",
                         "12345678901234567",
                         "123456789012345.6",
                         "1234567890123456.7",
                         "9007199254740993",
                         "0.1",
                         "0.30000000000000004",
                         "4916.45",
                         "12311.12",
                         "00630.3372",
                         "5321.6802",
                         "61.7",
                         "0.0000012",
                         "1e22",
                         "1e23",
                         "000000000000000000000001.5",
                         "0.0000000000000000000000001",
                         "1e-22",
                         "abc",
                         "1a",
                         "a1",
                         "",
                         " ",
                         "1,2",
                         "1*2",
                         "1e99999999999999999999",
                         "1e-99999999999999999999",
                         "0e99999",
                         "1.5e-2x",
                         "10000000000000000000000",
                         "0.00000000000000000000001"};
  for (const char* t : table) {
    EXPECT_EQ(reader::ParseLong(t), c.Long(t)) << '"' << t << '"';
    EXPECT_TRUE(SameDouble(reader::ParseReal(t), c.Real(t))) << '"' << t << '"';
  }
  // Random texts over the characters that numbers are made of.
  std::mt19937 rng(8);
  const std::string alphabet = "0123456789000.....eE+-+- xXpPinfaINFA";
  for (int n = 0; n < 200000; ++n) {
    std::string t(rng() % 26, ' ');
    for (char& ch : t) ch = alphabet[rng() % alphabet.size()];
    ASSERT_EQ(reader::ParseLong(t.c_str()), c.Long(t.c_str())) << '"' << t << '"';
    ASSERT_TRUE(SameDouble(reader::ParseReal(t.c_str()), c.Real(t.c_str()))) << '"' << t << '"';
  }
  // Digit strings of every length and point position: the usual form, read exactly.
  for (int n = 0; n < 200000; ++n) {
    std::string t = std::to_string(rng()) + std::to_string(rng());
    t.resize(1 + rng() % t.size());
    t.insert(rng() % (t.size() + 1), ".");
    ASSERT_TRUE(SameDouble(reader::ParseReal(t.c_str()), c.Real(t.c_str()))) << t;
  }
}

TEST(ParseNumbers, SameUnderAGermanLocale) {
  // A locale whose decimal mark is ',' must not change what a sentence's numbers read as.
  const std::string before = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
    GTEST_SKIP() << "no German locale on this machine";
  const double real = reader::ParseReal("4807.038");
  const double small = reader::ParseReal("1.5e-3");
  const std::int32_t whole = reader::ParseLong("545");
  std::setlocale(LC_ALL, before.c_str());
  EXPECT_EQ(real, 4807.038);
  EXPECT_EQ(small, 0.0015);
  EXPECT_EQ(whole, 545);
}

}  // namespace
