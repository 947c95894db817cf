#include "reader/nmea_checksum.h"

#include <gtest/gtest.h>

#include <string>

#include "reader/fields.h"

namespace {

TEST(NmeaChecksum, PublishedSentences) {
  // Sentences as printed with their checksums in receiver manuals and tutorials.
  const char* sentences[] = {
      "$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*76",
      "$GPRMC,225446,A,4916.45,N,12311.12,W,000.5,054.7,191194,020.3,E*68",
      "$GPGLL,4916.45,N,12311.12,W,225444,A*31",
      "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39",
      "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48",
      "$GPZDA,201530.00,04,07,2002,00,00*60",
  };
  for (const std::string s : sentences) {
    const std::size_t star = s.find('*');
    const std::string body = s.substr(1, star - 1);
    EXPECT_EQ(reader::NmeaChecksumHex(body), s.substr(star + 1)) << s;
    EXPECT_EQ(reader::NmeaChecksum(body), std::stoi(s.substr(star + 1), nullptr, 16)) << s;
    EXPECT_TRUE(reader::ChecksumOk(s.c_str(), s.size())) << s;
  }
}

TEST(NmeaChecksum, EveryLengthAndByte) {
  // Bodies of every length up to 40 (the wide and the byte-wise steps), bytes above 127, NUL.
  std::string body;
  unsigned want = 0;
  EXPECT_EQ(reader::NmeaChecksumHex(""), "00");
  for (int i = 0; i < 40; ++i) {
    const char c = static_cast<char>(i * 37 + 200);
    body += c;
    want ^= static_cast<unsigned char>(c);
    ASSERT_EQ(reader::NmeaChecksum(body), want) << i;
  }
  const std::string withNul("A\0B", 3);
  EXPECT_EQ(reader::NmeaChecksum(withNul), 'A' ^ 'B');
  EXPECT_EQ(reader::NmeaChecksumHex("\xFF\x05"), "FA");
  EXPECT_EQ(reader::NmeaChecksumHex("\x0A"), "0A");
}

}  // namespace
