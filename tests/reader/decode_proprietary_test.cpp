#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "reader/decoders.h"
#include "tests/reader/sentence_util.h"

using namespace reader;
using testutil::Nmea;

namespace {

struct Hooks : DecoderHooks {
  std::vector<std::pair<int, bool>> acks;
  std::vector<ReplyStep> replies;
  void Acknowledged(std::int32_t c, bool ok) override { acks.push_back({c, ok}); }
  void Reply(ReplyStep s) override { replies.push_back(s); }
};

std::unique_ptr<ReceiverState> Fresh() {
  return std::make_unique<ReceiverState>();
}

void Reply(ReceiverState& s, Hooks& h, const std::string& body) {
  DecodeProprietaryReply(s, Nmea(body).c_str(), h);
}

TEST(Acknowledgement, Flags) {
  struct Case {
    std::string body;
    std::vector<std::pair<int, bool>> acks;
  } cases[] = {
      {"$PQVU001,220,3", {{220, true}}},
      {"$PQVU001,251,2", {{251, false}}},
      {"$PQVU001,220,1", {}},
      {"$PQVU001,220", {}},  // lacks the flag: ignored
      {"$PQVU001,,3", {{0, true}}},
  };
  for (const auto& c : cases) {
    auto s = Fresh();
    Hooks h;
    Reply(*s, h, c.body);
    EXPECT_EQ(h.acks, c.acks) << c.body;
    EXPECT_TRUE(h.replies.empty()) << c.body;
  }
}

TEST(Replies, StoredValuesAndSteps) {
  struct Case {
    std::string body;
    std::vector<ReplyStep> steps;
  } cases[] = {
      {"$PQVU500,200", {ReplyStep::FixRate}},
      {"$PQVU501,2", {ReplyStep::DgpsSbas}},
      {"$PQVU501,1", {ReplyStep::DgpsRtcm}},
      {"$PQVU501,0", {ReplyStep::DgpsNone}},
      {"$PQVU519,0", {ReplyStep::SbasTest}},
      {"$PQVU519,1", {ReplyStep::SbasIntegrity}},
      {"$PQVU530,217", {ReplyStep::Datum}},
      {"$PQVU556,0,0.0000012", {ReplyStep::Tcxo}},
      {"$PQVU590,4321", {ReplyStep::FlashWritesLeft}},
      {"$PQVU702,1,0,9600", {ReplyStep::RtcmBaud}},
      {"$PQVU514,1,1,1,1,1,1,1,0,0,0,0,0,0,0,0,0,0,0,0", {ReplyStep::NmeaRates}},
      {"$PQVU999,1", {}},
      {"$PQVU500", {}},  // lacks its field
      {"$PQVU702,1,0", {}},
  };
  for (const auto& c : cases) {
    auto s = Fresh();
    Hooks h;
    Reply(*s, h, c.body);
    EXPECT_EQ(h.replies, c.steps) << c.body;
  }
  auto s = Fresh();
  Hooks h;
  Reply(*s, h, "$PQVU500,200");
  EXPECT_EQ(s->FixRateHz, 5);
  Reply(*s, h, "$PQVU500,3000");
  EXPECT_EQ(s->FixRateHz, 5) << "out of range keeps the rate";
  EXPECT_EQ(h.replies.size(), 2u) << "and still shows it";
  Reply(*s, h, "$PQVU530,217");
  EXPECT_EQ(s->DatumIndex, 217);
  Reply(*s, h, "$PQVU556,0,0.0000012");
  EXPECT_NEAR(s->TcxoPpm, 1.2, 1e-4);
  Reply(*s, h, "$PQVU590,4321");
  EXPECT_EQ(s->FlashWritesLeft, 4321);
  Reply(*s, h, "$PQVU702,1,0,9600");
  EXPECT_EQ(s->RtcmBaud, 9600);
  const std::string rates = "$PQVU514,1,1,1,1,1,1,1,0,0,0,0,0,0,0,0,0,0,0,0";
  Reply(*s, h, rates);
  EXPECT_EQ(std::string(s->NmeaRatesReply), Nmea(rates).substr(9)) << "checksum included";
}

TEST(Replies, TcxoDefaultUntilReply) {
  EXPECT_FLOAT_EQ(Fresh()->TcxoPpm, 1000.0f);
}

TEST(Replies, OverlongRatesReplyIsDropped) {
  auto s = Fresh();
  Hooks h;
  std::string body = "$PQVU514," + std::string(300, '1');
  Reply(*s, h, body);
  EXPECT_STREQ(s->NmeaRatesReply, "");
  EXPECT_TRUE(h.replies.empty());
  // 74 characters fit.
  std::string fits = "$PQVU514," + std::string(71, '2');  // + "*hh" = 74
  Reply(*s, h, fits);
  EXPECT_EQ(std::strlen(s->NmeaRatesReply), 74u);
}

TEST(Replies, Version) {
  auto s = Fresh();
  Hooks h;
  std::strcpy(s->Firmware.Model, "old");
  std::strcpy(s->Firmware.Sdk, "oldsdk");
  Reply(*s, h, "$PQVU705,V1.23,ACME");
  EXPECT_STREQ(s->Firmware.Version, "V1.23");
  EXPECT_STREQ(s->Firmware.Customer, "ACME");
  EXPECT_STREQ(s->Firmware.Model, "old");
  EXPECT_STREQ(s->Firmware.Sdk, "oldsdk");
  Reply(*s, h, "$PQVU705,V2,C2,M2,S2");
  EXPECT_STREQ(s->Firmware.Model, "M2");
  EXPECT_STREQ(s->Firmware.Sdk, "S2");
  std::string longText(40, 'v');
  Reply(*s, h, "$PQVU705," + longText + ",Cust");
  EXPECT_EQ(std::string(s->Firmware.Version), longText.substr(0, 29));
  EXPECT_STREQ(s->Firmware.Customer, "Cust");
  Reply(*s, h, "$PQVU705,onlyone");
  EXPECT_STREQ(s->Firmware.Customer, "Cust") << "a reply without field 2 is ignored";
  EXPECT_EQ(h.replies.size(), 3u);
}

TEST(ChannelStatus, Table) {
  struct Case {
    std::string body;
    int set;
    int updated;
  } cases[] = {
      {"$PQVUCHN,01451,02402,03300,04351,05451,06452,07453,08454,09455,10456,11457,12458", 12, 1},
      {"$PQVUCHN,01451,02402,03300,,05451", 3, 0},
      {"$PQVUCHN,01451,024,03300", 1, 0},  // a short field ends the walk
      {"$PQVUCHN", 0, 0},
  };
  for (const auto& c : cases) {
    auto s = Fresh();
    DecodeChannelStatus(*s, Nmea(c.body).c_str());
    EXPECT_EQ(s->ChannelsUpdated.load(), c.updated) << c.body;
    for (int i = 0; i < kChannelCount; ++i)
      EXPECT_EQ(s->Channels[i].Prn != 0, i < c.set) << c.body << " #" << i;
  }
  auto s = Fresh();
  DecodeChannelStatus(*s, Nmea("$PQVUCHN,01451,02402,03300,0435x").c_str());
  EXPECT_EQ(s->Channels[0].Prn, 1);
  EXPECT_EQ(s->Channels[0].Snr, 45);
  EXPECT_EQ(s->Channels[0].State, 1);
  EXPECT_EQ(s->Channels[1].State, 2);
  EXPECT_EQ(s->Channels[2].State, 0);
  EXPECT_EQ(s->Channels[3].State, 2);
  // 40 fields: only 32 channels.
  std::string body = "$PQVUCHN";
  for (int i = 0; i < 40; ++i) body += ",01452";
  auto t = Fresh();
  DecodeChannelStatus(*t, Nmea(body).c_str());
  EXPECT_EQ(t->ChannelsUpdated.load(), 1);
  EXPECT_EQ(t->Channels[31].Prn, 1);
}

TEST(EphemerisStatus, LevelsAndStickyZero) {
  auto s = Fresh();
  auto eph = [&](const std::string& fields) {
    DecodeEphemerisStatus(*s, Nmea("$PQVUEPH,0," + fields).c_str());
  };
  eph("14.3");
  EXPECT_EQ(s->EphLevel[13], 3);
  EXPECT_EQ(s->EphemerisUpdated, 1);
  eph("14.0");
  EXPECT_EQ(s->EphLevel[13], 0);
  eph("14.3");
  EXPECT_EQ(s->EphLevel[13], 0) << "level 0 stays for the life of the reader";
  eph("1.2,2.1,3.06,-4.3,33.3,0.3");
  EXPECT_EQ(s->EphLevel[0], 2);
  EXPECT_EQ(s->EphLevel[1], 1);
  EXPECT_EQ(s->EphLevel[2], 1);
  EXPECT_EQ(s->EphLevel[3], 3) << "the value's magnitude counts";
  EXPECT_EQ(s->EphLevel[4], -1) << "untouched";
  eph("nan,inf,1e40,-inf,5.3");
  EXPECT_EQ(s->EphLevel[4], 3) << "after non-numbers the walk goes on";
  auto t = Fresh();
  DecodeEphemerisStatus(*t, Nmea("$PQVUEPH,0").c_str());
  EXPECT_EQ(t->EphemerisUpdated, 0) << "needs two commas";
}

}  // namespace
