// The fix epoch as the console's decoders read it, compared with the model's truth.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "tests/simreceiver/sim_test_util.h"
#include "tools/simreceiver/sim_receiver.h"

namespace {

using simtest::DegreesOf;
using simtest::Fields;
using simtest::Lines;
using simtest::Tag;

std::map<std::string, std::vector<std::vector<std::string>>> ByTag(const std::string& cycle) {
  std::map<std::string, std::vector<std::vector<std::string>>> out;
  for (const std::string& line : Lines(cycle)) out[Tag(line)].push_back(Fields(line));
  return out;
}

TEST(SimSentences, EveryLineIsFramedAndChecksummedInCycleOrder) {
  sim::SimReceiver rx;
  for (int i = 0; i < 20; ++i) {
    const std::string cycle = rx.Cycle();
    std::vector<std::string> tags;
    for (const std::string& line : Lines(cycle)) {
      EXPECT_TRUE(simtest::ValidLine(line)) << line;
      EXPECT_EQ(line.find('\0'), std::string::npos);
      if (tags.empty() || tags.back() != Tag(line)) tags.push_back(Tag(line));
    }
    const std::vector<std::string> want = {"GPGGA", "GPGLL", "GPGSA",   "GPGSV",  "GPRMC",
                                           "GPVTG", "GPZDA", "PQVUCHN", "PQVUEPH"};
    EXPECT_EQ(tags, want);
    std::string joined;
    for (const std::string& s : rx.LastEpoch().sentences) joined += s;
    EXPECT_EQ(joined, cycle);
  }
}

TEST(SimSentences, PositionTimeAndMotionMatchTruth) {
  sim::SimReceiver rx;
  for (int i = 0; i < 5; ++i) {
    const auto s = ByTag(rx.Cycle());
    const sim::EpochTruth& t = rx.LastEpoch();
    const sim::Kinematics& k = t.kinematics;
    ASSERT_TRUE(t.fix);
    char time[16];
    std::snprintf(time, sizeof time, "%02d%02d%02d.00", t.utc.hour, t.utc.minute, t.utc.second);

    const auto& gga = s.at("GPGGA").at(0);
    ASSERT_EQ(gga.size(), 15u);
    EXPECT_EQ(gga[1], time);
    EXPECT_NEAR(DegreesOf(gga[2], gga[3]), k.latitude, 2e-6);
    EXPECT_NEAR(DegreesOf(gga[4], gga[5]), k.longitude, 2e-6);
    EXPECT_EQ(gga[2].find('.'), 4u);  // ddmm.mmmm
    EXPECT_EQ(gga[4].find('.'), 5u);  // dddmm.mmmm
    EXPECT_EQ(gga[2].size() - gga[2].find('.'), 5u);
    EXPECT_EQ(gga[6], "1");
    EXPECT_EQ(std::atoi(gga[7].c_str()), static_cast<int>(t.used_prns.size()));
    EXPECT_DOUBLE_EQ(std::atof(gga[8].c_str()), t.hdop);
    EXPECT_NEAR(std::atof(gga[9].c_str()), k.altitude_msl, 0.051);
    EXPECT_NEAR(std::atof(gga[11].c_str()), k.geoid_separation, 0.051);
    EXPECT_EQ(gga[10], "M");

    const auto& gll = s.at("GPGLL").at(0);
    ASSERT_EQ(gll.size(), 8u);
    EXPECT_NEAR(DegreesOf(gll[1], gll[2]), k.latitude, 2e-6);
    EXPECT_NEAR(DegreesOf(gll[3], gll[4]), k.longitude, 2e-6);
    EXPECT_EQ(gll[5], time);
    EXPECT_EQ(gll[6], "A");
    EXPECT_EQ(gll[7], "A");

    const auto& rmc = s.at("GPRMC").at(0);
    ASSERT_EQ(rmc.size(), 13u);  // fields 10 and 11 present though empty
    EXPECT_EQ(rmc[1], time);
    EXPECT_EQ(rmc[2], "A");
    EXPECT_NEAR(DegreesOf(rmc[3], rmc[4]), k.latitude, 2e-6);
    EXPECT_NEAR(DegreesOf(rmc[5], rmc[6]), k.longitude, 2e-6);
    EXPECT_NEAR(std::atof(rmc[7].c_str()), k.speed_knots, 0.0051);
    EXPECT_NEAR(std::atof(rmc[8].c_str()), k.course, 0.0051);
    EXPECT_EQ(rmc[9], "150324");
    EXPECT_EQ(rmc[12], "A");

    const auto& vtg = s.at("GPVTG").at(0);
    ASSERT_EQ(vtg.size(), 10u);
    EXPECT_NEAR(std::atof(vtg[1].c_str()), k.course, 0.0051);
    EXPECT_EQ(vtg[2], "T");
    EXPECT_NEAR(std::atof(vtg[5].c_str()), k.speed_knots, 0.0051);
    EXPECT_EQ(vtg[6], "N");
    EXPECT_NEAR(std::atof(vtg[7].c_str()), k.speed_knots * 1.852, 0.0051);
    EXPECT_EQ(vtg[9], "A");

    const auto& zda = s.at("GPZDA").at(0);
    ASSERT_EQ(zda.size(), 7u);
    EXPECT_EQ(zda[1], time);
    EXPECT_EQ(zda[2], "15");
    EXPECT_EQ(zda[3], "03");
    EXPECT_EQ(zda[4], "2024");

    EXPECT_NEAR(k.latitude, 25.0330, 0.01);
    EXPECT_NEAR(k.longitude, 121.5654, 0.01);
    EXPECT_GT(k.speed_knots, 1.0);
    EXPECT_LT(k.speed_knots, 6.0);
  }
}

TEST(SimSentences, ClockStartsWhereSetAndStepsOneSecondAcrossYearEnd) {
  sim::SimReceiver rx;
  rx.SetUtc({2024, 12, 31, 23, 59, 58, 0});
  const struct {
    const char* time;
    const char* rmc_date;
    const char* zda_day;
    const char* zda_month;
    const char* zda_year;
  } want[] = {
      {"235958.00", "311224", "31", "12", "2024"},
      {"235959.00", "311224", "31", "12", "2024"},
      {"000000.00", "010125", "01", "01", "2025"},
      {"000001.00", "010125", "01", "01", "2025"},
  };
  for (const auto& w : want) {
    const auto s = ByTag(rx.Cycle());
    EXPECT_EQ(s.at("GPGGA")[0][1], w.time);
    EXPECT_EQ(s.at("GPRMC")[0][9], w.rmc_date);
    EXPECT_EQ(s.at("GPZDA")[0][2], w.zda_day);
    EXPECT_EQ(s.at("GPZDA")[0][3], w.zda_month);
    EXPECT_EQ(s.at("GPZDA")[0][4], w.zda_year);
  }
  EXPECT_EQ(rx.Utc(), (sim::UtcTime{2025, 1, 1, 0, 0, 2, 0}));
}

TEST(SimSentences, SatelliteSentencesMatchTruth) {
  sim::SimReceiver rx;
  for (int i = 0; i < 3; ++i) {
    const auto s = ByTag(rx.Cycle());
    const sim::EpochTruth& t = rx.LastEpoch();
    const int n = static_cast<int>(t.in_view.size());
    ASSERT_GE(n, 9);
    ASSERT_LE(n, 12);

    // GSV: numbering, count in view, four satellites a message.
    const auto& gsv = s.at("GPGSV");
    const int total = (n + 3) / 4;
    ASSERT_EQ(static_cast<int>(gsv.size()), total);
    for (int m = 0; m < total; ++m) {
      const auto& f = gsv[static_cast<size_t>(m)];
      EXPECT_EQ(f[1], std::to_string(total));
      EXPECT_EQ(f[2], std::to_string(m + 1));
      EXPECT_EQ(std::atoi(f[3].c_str()), n);
      const int groups = std::min(4, n - 4 * m);
      ASSERT_EQ(f.size(), 4u + 4u * static_cast<size_t>(groups));
      for (int g = 0; g < groups; ++g) {
        const sim::SatelliteTruth& sat = t.in_view[static_cast<size_t>(4 * m + g)];
        const size_t at = 4 + 4 * static_cast<size_t>(g);
        EXPECT_EQ(std::atoi(f[at].c_str()), sat.prn);
        EXPECT_EQ(f[at].size(), 2u);
        EXPECT_EQ(std::atoi(f[at + 1].c_str()), sat.elevation);
        EXPECT_EQ(std::atoi(f[at + 2].c_str()), sat.azimuth);
        EXPECT_EQ(f[at + 2].size(), 3u);
        EXPECT_EQ(std::atoi(f[at + 3].c_str()), sat.snr);
      }
    }

    // GSA: 3D fix, used PRNs packed from the front, then the dilutions.
    const auto& gsa = s.at("GPGSA").at(0);
    ASSERT_EQ(gsa.size(), 18u);
    EXPECT_EQ(gsa[1], "A");
    EXPECT_EQ(gsa[2], "3");
    std::vector<int> used;
    for (size_t i = 3; i < 15; ++i) {
      if (!gsa[i].empty()) used.push_back(std::atoi(gsa[i].c_str()));
      if (i - 3 >= t.used_prns.size()) {
        EXPECT_TRUE(gsa[i].empty());
      }
    }
    EXPECT_EQ(used, t.used_prns);
    EXPECT_DOUBLE_EQ(std::atof(gsa[15].c_str()), t.pdop);
    EXPECT_DOUBLE_EQ(std::atof(gsa[16].c_str()), t.hdop);
    EXPECT_DOUBLE_EQ(std::atof(gsa[17].c_str()), t.vdop);
    for (int prn : used) {
      auto it = std::find_if(t.in_view.begin(), t.in_view.end(),
                             [&](const sim::SatelliteTruth& x) { return x.prn == prn; });
      ASSERT_NE(it, t.in_view.end()) << "used satellite " << prn << " not in view";
      EXPECT_TRUE(it->used);
    }
    EXPECT_LT(used.size(), t.in_view.size());  // some low ones are not used

    // Channel status: 32 fields PPSSt matching the channel table.
    const auto& chn = s.at("PQVUCHN").at(0);
    ASSERT_EQ(chn.size(), 33u);
    for (size_t c = 0; c < 32; ++c) {
      const std::string& f = chn[c + 1];
      ASSERT_EQ(f.size(), 5u) << f;
      EXPECT_EQ(std::atoi(f.substr(0, 2).c_str()), t.channels[c].prn);
      EXPECT_EQ(std::atoi(f.substr(2, 2).c_str()), t.channels[c].snr);
      EXPECT_EQ(f[4] - '0', t.channels[c].state);
    }
    // Satellites below the horizon are searched for; channels without a satellite are idle.
    int searching = 0, idle = 0;
    for (size_t c = 0; c < 32; ++c) {
      const std::string& f = chn[c + 1];
      const int prn = std::atoi(f.substr(0, 2).c_str());
      auto sat = std::find_if(t.satellites.begin(), t.satellites.end(),
                              [&](const sim::SatelliteTruth& x) { return x.prn == prn; });
      if (sat == t.satellites.end()) {
        EXPECT_EQ(f, "00000");
        ++idle;
      } else if (!sat->in_view) {
        EXPECT_EQ(f.substr(2), "001");
        ++searching;
      }
    }
    EXPECT_GE(searching, 2);
    EXPECT_EQ(idle, 32 - static_cast<int>(t.satellites.size()));
    for (const sim::SatelliteTruth& sat : t.in_view) {
      auto it = std::find_if(t.channels.begin(), t.channels.end(),
                             [&](const sim::ChannelTruth& c) { return c.prn == sat.prn; });
      ASSERT_NE(it, t.channels.end());
      EXPECT_EQ(it->state, 2);
      EXPECT_EQ(it->snr, sat.snr);
    }

    // Ephemeris status: read as the console does (single precision, level from the fraction).
    const auto& eph = s.at("PQVUEPH").at(0);
    ASSERT_EQ(eph.size(), 2 + t.satellites.size());
    for (size_t j = 0; j < t.satellites.size(); ++j) {
      const float v = std::fabs(static_cast<float>(std::atof(eph[j + 2].c_str())));
      const int prn = static_cast<int>(v) % 256;
      const float frac = v - static_cast<float>(prn);
      const int level = frac > 0.25f ? 3 : frac > 0.15f ? 2 : frac > 0.05f ? 1 : 0;
      EXPECT_EQ(prn, t.satellites[j].prn);
      EXPECT_EQ(level, t.satellites[j].eph_level);
      EXPECT_GT(level, 0);
    }
  }
}

TEST(SimSentences, ConstellationStaysPlausibleAndMovesSlowly) {
  sim::Scenario scenario;
  std::vector<sim::SatelliteTruth> prev;
  for (int t = 0; t <= 24 * 3600; t += 60) {
    const auto sats = scenario.Satellites(t, true);
    std::set<int> prns;
    int in_view = 0, below = 0, used = 0;
    for (const auto& s : sats) {
      EXPECT_GE(s.prn, 1);
      EXPECT_LE(s.prn, 32);
      prns.insert(s.prn);
      if (s.in_view) {
        ++in_view;
        EXPECT_GE(s.snr, 20);
        EXPECT_LE(s.snr, 50);
        EXPECT_LE(s.elevation, 90);
      } else {
        ++below;
        EXPECT_FALSE(s.used);
      }
      if (s.used) ++used;
      EXPECT_GE(s.azimuth, 0);
      EXPECT_LT(s.azimuth, 360);
    }
    EXPECT_EQ(prns.size(), sats.size());
    EXPECT_GE(in_view, 9);
    EXPECT_LE(in_view, 12);
    EXPECT_GE(below, 2);
    EXPECT_GE(used, 4);
    if (!prev.empty()) {
      for (size_t i = 0; i < sats.size(); ++i) {
        EXPECT_LE(std::abs(sats[i].elevation - prev[i].elevation), 2);
        const int daz = std::abs(sats[i].azimuth - prev[i].azimuth);
        EXPECT_LE(std::min(daz, 360 - daz), 2);
      }
    }
    prev = sats;
  }
}

TEST(SimSentences, ReceiverMovesAtItsSpeed) {
  sim::SimReceiver rx;
  rx.Cycle();
  const sim::Kinematics start = rx.LastEpoch().kinematics;
  for (int i = 0; i < 600; ++i) rx.Cycle();
  const sim::Kinematics end = rx.LastEpoch().kinematics;
  const double dlat_nm = (end.latitude - start.latitude) * 60.0;
  const double dlon_nm = (end.longitude - start.longitude) * 60.0 * std::cos(25.0330 * M_PI / 180);
  const double nm = std::hypot(dlat_nm, dlon_nm);
  // About 3 knots for 600 s: half a nautical mile, north-east.
  EXPECT_GT(nm, 0.4);
  EXPECT_LT(nm, 0.6);
  EXPECT_GT(dlat_nm, 0);
  EXPECT_GT(dlon_nm, 0);
}

TEST(SimSentences, OutputRatesChooseTheSentencesOfEachCycle) {
  sim::SimReceiver rx;
  sim::Settings s;
  s.rates = {};
  s.rates[sim::kRateGll] = 0;
  s.rates[sim::kRateRmc] = 1;
  s.rates[sim::kRateGsv] = 2;
  s.rates[sim::kRateZda] = 3;
  s.rates[sim::kRateChn] = 2;
  rx.SetSettings(s);
  for (int i = 0; i < 6; ++i) {
    const auto got = ByTag(rx.Cycle());
    EXPECT_EQ(got.count("GPGLL"), 0u);
    EXPECT_EQ(got.count("GPGGA"), 0u);
    EXPECT_EQ(got.count("GPRMC"), 1u);
    EXPECT_EQ(got.count("GPGSV"), i % 2 == 0 ? 1u : 0u) << i;
    EXPECT_EQ(got.count("GPZDA"), i % 3 == 0 ? 1u : 0u) << i;
    EXPECT_EQ(got.count("PQVUCHN"), i % 2 == 0 ? 1u : 0u) << i;
    EXPECT_EQ(got.count("PQVUEPH"), got.count("PQVUCHN"));
  }
  s.rates = {};
  rx.SetSettings(s);
  EXPECT_EQ(rx.Cycle(), "");
}

TEST(SimSentences, SameStartGivesSameBytes) {
  sim::SimReceiver a, b;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a.Cycle(), b.Cycle());
}

TEST(SimSentences, UtcConversionRoundTrips) {
  const sim::UtcTime cases[] = {
      {1970, 1, 1, 0, 0, 0, 0}, {2000, 2, 29, 12, 0, 0, 500},  {2024, 2, 29, 23, 59, 59, 990},
      {2100, 3, 1, 0, 0, 0, 0}, {1999, 12, 31, 23, 59, 59, 0},
  };
  for (const auto& t : cases) EXPECT_EQ(sim::MillisToUtc(sim::UtcToMillis(t)), t);
  EXPECT_EQ(sim::UtcToMillis({1970, 1, 2, 0, 0, 0, 0}), 86400000);
}

}  // namespace
