#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "reader/decoders.h"
#include "tests/reader/sentence_util.h"

using namespace reader;
using testutil::Nmea;

namespace {

std::unique_ptr<ReceiverState> Fresh() {
  return std::make_unique<ReceiverState>();
}

// Runs the decoder the dispatcher would pick for a line.
void Decode(ReceiverState& s, const std::string& body) {
  std::string line = Nmea(body);
  std::string type = line.substr(3, 3);
  if (type == "GLL")
    DecodeGLL(s, line.c_str());
  else if (type == "RMC")
    DecodeRMC(s, line.c_str());
  else if (type == "VTG")
    DecodeVTG(s, line.c_str());
  else if (type == "GSA")
    DecodeGSA(s, line.c_str());
  else if (type == "GSV")
    DecodeGSV(s, line.c_str());
  else if (type == "GGA")
    DecodeGGA(s, line.c_str());
  else if (type == "ZDA")
    DecodeZDA(s, line.c_str());
  else
    FAIL() << type;
}

bool SameFix(const FixInfo& a, const FixInfo& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(DecodeGGA, RealSentence) {
  auto s = Fresh();
  Decode(*s, "$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,");
  const FixInfo& f = s->Fix;
  EXPECT_EQ(f.Hour, 9);
  EXPECT_EQ(f.Minute, 27);
  EXPECT_FLOAT_EQ(f.Second, 50.0f);
  EXPECT_NEAR(f.Latitude, 53 + 21.6802 / 60, 1e-5);
  EXPECT_NEAR(f.Longitude, -(6 + 30.3372 / 60), 1e-5);
  EXPECT_EQ(f.Quality, 1);
  EXPECT_EQ(f.Dimension, 1);
  EXPECT_FLOAT_EQ(f.Hdop, 1.03f);
  EXPECT_NEAR(f.Altitude, 61.7 + 55.2, 1e-4);
}

TEST(DecodeGGA, QualityZeroKeepsDimensionAfterRmc) {
  auto s = Fresh();
  Decode(*s, "$GPRMC,225446,A,4916.45,N,12311.12,W,000.5,054.7,191194,020.3,E,A");
  ASSERT_EQ(s->Fix.Dimension, 1);
  Decode(*s, "$GPGGA,225447,4916.45,N,12311.12,W,0,0,,,M,,M,,");
  EXPECT_EQ(s->Fix.Quality, 0);
  EXPECT_EQ(s->Fix.Dimension, 1);
}

TEST(DecodeGGA, MissingAltitudeDoesNotGrowStoredOne) {
  auto s = Fresh();
  Decode(*s, "$GPGGA,1,,,,,1,8,1.0,10.0,M,5.0,M,,");
  ASSERT_FLOAT_EQ(s->Fix.Altitude, 15.0f);
  for (int i = 0; i < 3; ++i) Decode(*s, "$GPGGA,1,,,,,1,8,1.0,,M,5.0,M,,");
  EXPECT_FLOAT_EQ(s->Fix.Altitude, 15.0f);
}

TEST(DecodePosition, HemisphereAndForms) {
  auto s = Fresh();
  Decode(*s, "$GPGLL,4916.45,S,12311.12,E,225444,A,A");
  EXPECT_NEAR(s->Fix.Latitude, -(49 + 16.45 / 60), 1e-5);
  EXPECT_NEAR(s->Fix.Longitude, 123 + 11.12 / 60, 1e-5);
  // An empty position with "S" twice does not flip the stored value.
  Decode(*s, "$GPGLL,,S,,W,225445,A,A");
  Decode(*s, "$GPGLL,,S,,W,225446,A,A");
  EXPECT_NEAR(s->Fix.Latitude, -(49 + 16.45 / 60), 1e-5);
  EXPECT_NEAR(s->Fix.Longitude, 123 + 11.12 / 60, 1e-5);
  // Malformed positions count as empty: the rest of the sentence is still read.
  const char* bad[] = {"4916", "6.45", ".45", "49X16"};
  for (const char* b : bad) {
    auto t = Fresh();
    t->Fix.Latitude = 7.0f;
    Decode(*t, std::string("$GPGLL,") + b + ",N,,E,010203,A,D");
    EXPECT_FLOAT_EQ(t->Fix.Latitude, 7.0f) << b;
    EXPECT_EQ(t->Fix.Hour, 1) << b;
    EXPECT_EQ(t->Fix.Quality, 2) << b;
  }
}

TEST(DecodePosition, TwoDigitsBeforeDotMeansMinutesOnly) {
  auto s = Fresh();
  Decode(*s, "$GPGLL,16.5,N,,E,010203,A,A");
  EXPECT_NEAR(s->Fix.Latitude, 16.5 / 60, 1e-6);
}

TEST(DecodeRMC, StatusVStillStoresPositionSpeedCourseDate) {
  auto s = Fresh();
  s->Fix.Dimension = 2;
  s->Fix.Quality = 1;
  Decode(*s, "$GPRMC,225446.5,V,4916.45,N,12311.12,W,10.0,054.7,191194,020.3,E,N");
  const FixInfo& f = s->Fix;
  EXPECT_EQ(f.Dimension, 0);
  EXPECT_EQ(f.Quality, 0);
  EXPECT_NEAR(f.Latitude, 49 + 16.45 / 60, 1e-5);
  EXPECT_FLOAT_EQ(f.SpeedKmh, 18.532f);
  EXPECT_FLOAT_EQ(f.Course, 54.7f);
  EXPECT_EQ(f.Day, 19);
  EXPECT_EQ(f.Month, 11);
  EXPECT_EQ(f.Year, 2094);
  EXPECT_FLOAT_EQ(f.Second, 46.5f);
}

TEST(DecodeRMC, ModeLetterOnlyWithFix) {
  auto s = Fresh();
  Decode(*s, "$GPRMC,225446,A,4916.45,N,12311.12,W,0,0,191194,,,D");
  EXPECT_EQ(s->Fix.Dimension, 1);
  EXPECT_EQ(s->Fix.Quality, 2);
  // Without fields 10 and 11 the mode letter is never reached.
  auto t = Fresh();
  Decode(*t, "$GPRMC,225446,A,4916.45,N,12311.12,W,0,0,191194,D");
  EXPECT_EQ(t->Fix.Quality, 1);
}

TEST(DecodeGLL, StatusVEndsDecoding) {
  auto s = Fresh();
  s->Fix.Dimension = 2;
  s->Fix.Quality = 2;
  Decode(*s, "$GPGLL,4916.45,N,12311.12,W,225444,V,A");
  EXPECT_EQ(s->Fix.Dimension, 0);
  EXPECT_EQ(s->Fix.Quality, 0) << "the mode letter after status V is not read";
}

TEST(DecodeVTG, SpeedCourseMode) {
  auto s = Fresh();
  Decode(*s, "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,E");
  EXPECT_FLOAT_EQ(s->Fix.Course, 54.7f);
  EXPECT_NEAR(s->Fix.SpeedKmh, 5.5 * 1.8532, 1e-5);
  EXPECT_EQ(s->Fix.Dimension, 1);
  EXPECT_EQ(s->Fix.Quality, 6);
  Decode(*s, "$GPVTG,,T,,M,,N,,K,N");
  EXPECT_EQ(s->Fix.Dimension, 0);
  EXPECT_EQ(s->Fix.Quality, 0);
  EXPECT_FLOAT_EQ(s->Fix.Course, 54.7f) << "empty fields keep their targets";
}

TEST(DecodeGSA, Table) {
  struct Case {
    std::string body;
    std::uint8_t dimension, quality;
    std::vector<int> used;
    float pdop;
  } cases[] = {
      {"$GPGSA,A,3,04,05,,09,,,,,,,,,2.5,1.3,2.1", 2, 1, {4, 5, 9}, 2.5f},
      {"$GPGSA,M,2,17,,,,,,,,,,,,3.0,2.0,1.0", 1, 1, {17}, 3.0f},
      {"$GPGSA,A,1,,,,,,,,,,,,,9.9,9.9,9.9", 0, 0, {}, 9.9f},
      {"$GPGSA,A,0,,,,,,,,,,,,,1,1,1", 0, 0, {}, 1.0f},  // not 255
      {"$GPGSA,A,7,01,,,,,,,,,,,,1,1,1", 0, 0, {1}, 1.0f},
      {"$GPGSA,X,3,01,02,,,,,,,,,,,1,1,1", 0, 0, {1, 2}, 1.0f},
      {"$GPGSA,A,3,01,02", 2, 1, {1, 2}, 0.0f},  // cut short: what came stays
  };
  for (const auto& c : cases) {
    auto s = Fresh();
    s->Fix.UsedPrns[0] = 99;
    Decode(*s, c.body);
    EXPECT_EQ(s->Fix.Dimension, c.dimension) << c.body;
    EXPECT_EQ(s->Fix.Quality, c.quality) << c.body;
    for (int i = 0; i < kMaxSatellites; ++i)
      EXPECT_EQ(s->Fix.UsedPrns[i], i < static_cast<int>(c.used.size()) ? c.used[i] : 0)
          << c.body << " #" << i;
    EXPECT_FLOAT_EQ(s->Fix.Pdop, c.pdop) << c.body;
  }
}

TEST(DecodeGSV, CycleOfThreeMessagesTenSatellites) {
  auto s = Fresh();
  s->Satellites[15].Prn = 77;  // left from an earlier cycle
  Decode(*s, "$GPGSV,3,1,10,01,10,100,41,02,20,200,42,03,30,300,43,04,40,040,44");
  EXPECT_EQ(s->Satellites[15].Prn, 0) << "message 1 clears the table";
  EXPECT_EQ(s->SatListComplete, 0);
  Decode(*s, "$GPGSV,3,2,10,05,50,050,45,06,60,060,,07,70,070,47,08,80,080,48");
  Decode(*s, "$GPGSV,3,3,10,09,09,090,49,10,11,110,");
  EXPECT_EQ(s->SatListComplete, 1);
  EXPECT_EQ(s->Fix.SatsInView, 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(s->Satellites[i].Prn, i + 1);
  EXPECT_EQ(s->Satellites[0].Elevation, 10);
  EXPECT_EQ(s->Satellites[0].Azimuth, 100);
  EXPECT_EQ(s->Satellites[0].Snr, 41);
  EXPECT_EQ(s->Satellites[5].Snr, 0) << "empty SNR stores 0";
  EXPECT_EQ(s->Satellites[9].Snr, 0);
  EXPECT_EQ(s->Satellites[9].Azimuth, 110);
}

TEST(DecodeGSV, EntriesOutsideTheTableAreNotStored) {
  auto s = Fresh();
  auto before = std::make_unique<ReceiverState>();
  Decode(*s, "$GPGSV,6,6,24,21,10,100,41,22,20,200,42,23,30,300,43,24,40,040,44");
  for (const auto& sat : s->Satellites) EXPECT_EQ(sat.Prn, 0);
  EXPECT_EQ(s->SatListComplete, 1);
  // Message numbers 0 and below must not reach before the table.
  for (const char* n : {"0", "-3", "-2147483648", "99999999999"}) {
    auto t = Fresh();
    t->Fix.Pdop = 1.5f;
    FixInfo fix = t->Fix;
    Decode(*t, std::string("$GPGSV,1,") + n + ",04,01,10,20,30,02,10,20,30,03,1,2,3,04,1,2,3");
    fix.SatsInView = t->Fix.SatsInView;
    EXPECT_TRUE(SameFix(fix, t->Fix)) << n;
    for (const auto& sat : t->Satellites) EXPECT_EQ(sat.Prn, 0) << n;
  }
}

TEST(DecodeGSV, TwoDigitMessageNumbers) {
  auto s = Fresh();
  s->Satellites[0].Prn = 5;
  Decode(*s, "$GPGSV,12,12,48,01,1,1,1");
  EXPECT_EQ(s->SatListComplete, 1);
  EXPECT_EQ(s->Satellites[0].Prn, 5) << "message 12 does not clear";
  Decode(*s, "$GPGSV,12,1,48,01,1,1,1,02,1,1,1,03,1,1,1,04,1,1,1");
  EXPECT_EQ(s->SatListComplete, 0);
}

TEST(DecodeZDA, DateAndTime) {
  auto s = Fresh();
  Decode(*s, "$GPZDA,201530.00,04,07,2002,00,00");
  EXPECT_EQ(s->Fix.Hour, 20);
  EXPECT_EQ(s->Fix.Minute, 15);
  EXPECT_FLOAT_EQ(s->Fix.Second, 30.0f);
  EXPECT_EQ(s->Fix.Day, 4);
  EXPECT_EQ(s->Fix.Month, 7);
  EXPECT_EQ(s->Fix.Year, 2002);
}

// Hostile or malformed sentences leave earlier values and never read outside a field.
TEST(DecodeStandard, MalformedFieldsKeepEarlierValues) {
  const char* bodies[] = {
      "$GPGGA,1,,,,,1,8,1.0,1234567890123456789012345,M,1,M,,",  // over-long field
      "$GPGGA,12,,,,,",                                          // short time, cut short
      "$GPRMC,1,A,,,,,,,5,,,A",                                  // short time and date
      "$GPZDA,1",
      "$GPGLL,.,N,.,W,1,A,A",
      "$GPGSV,1,1,-5,01,1,1,1",
      "$GPGSA",
      "$GPVTG",
  };
  for (const char* b : bodies) {
    auto s = Fresh();
    s->Fix.Hour = 5;
    s->Fix.Minute = 6;
    s->Fix.Day = 7;
    s->Fix.Year = 2001;
    s->Fix.Latitude = 1.5f;
    s->Fix.Altitude = 42.0f;
    Decode(*s, b);
    EXPECT_EQ(s->Fix.Hour, 5) << b;
    EXPECT_EQ(s->Fix.Minute, 6) << b;
    EXPECT_EQ(s->Fix.Day, 7) << b;
    EXPECT_EQ(s->Fix.Year, 2001) << b;
    EXPECT_FLOAT_EQ(s->Fix.Latitude, 1.5f) << b;
    EXPECT_FLOAT_EQ(s->Fix.Altitude, 42.0f) << b;
  }
}

TEST(DecodeStandard, BadChecksumStoresNothing) {
  // The checksum is tested once, where the line is dispatched; a line that fails reaches no
  // decoder.
  const char* bodies[] = {
      "$GPZDA,201530.00,04,07,2002,00,00",
      "$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,",
      "$GPGLL,4916.45,N,12311.12,W,225444,A,A",
      "$GPRMC,225446.00,A,4916.45,N,12311.12,W,000.5,054.7,191194,020.3,E,A",
      "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A",
      "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1",
      "$GPGSV,1,1,02,03,03,111,40,04,15,270,41",
  };
  for (const char* body : bodies) {
    for (bool corrupt : {false, true}) {
      auto s = Fresh();
      DecoderHooks hooks;
      std::string line = Nmea(body);
      if (corrupt) line.back() = line.back() == '0' ? '1' : '0';
      line += "\r\n$GP";
      ProcessChunk(*s, line.data(), line.size(), hooks);
      auto fresh = Fresh();
      const bool same = SameFix(s->Fix, fresh->Fix) && std::memcmp(s->Satellites, fresh->Satellites,
                                                                   sizeof fresh->Satellites) == 0;
      EXPECT_EQ(same, corrupt) << body;
    }
  }
}

TEST(DecodeStandard, FieldAfterStarIsNotRead) {
  // Two sentences glued without CR LF: the first ends at its '*'.
  auto s = Fresh();
  std::string line =
      Nmea("$GPGLL,4916.45,N,12311.12,W,225444,A,A") + "$GPRMC,1234567890123456789012345,2";
  DecodeGLL(*s, line.c_str());
  EXPECT_EQ(s->Fix.Quality, 1);
  EXPECT_EQ(s->Fix.Dimension, 1);
}

}  // namespace
