#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "reader/decoders.h"
#include "tests/reader/sentence_util.h"
#include "tools/simreceiver/sim_receiver.h"

using namespace reader;
using testutil::Line;

namespace {

// Records what the decoders ask of the window.
struct Hooks : DecoderHooks {
  bool scanning = false;
  int found = 0;
  std::vector<std::pair<int, bool>> acks;
  std::vector<ReplyStep> replies;
  bool Scanning() override { return scanning; }
  void ScanFound() override {
    ++found;
    scanning = false;
  }
  void Acknowledged(std::int32_t c, bool ok) override { acks.push_back({c, ok}); }
  void Reply(ReplyStep s) override { replies.push_back(s); }
};

void Feed(ReceiverState& s, Hooks& h, const std::string& bytes) {
  for (std::size_t i = 0; i < bytes.size(); i += kChunkMax)
    ProcessChunk(s, bytes.data() + i, std::min<std::size_t>(kChunkMax, bytes.size() - i), h);
}

const std::string kGga =
    Line("$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,");
const std::string kZda = Line("$GPZDA,201530.00,04,07,2002,00,00");
const std::string kAck = Line("$PQVU001,220,3");

TEST(Framing, LastSentenceHeldUntilNextStart) {
  auto s = std::make_unique<ReceiverState>();
  Hooks h;
  Feed(*s, h, kZda);
  EXPECT_EQ(s->Fix.Year, 0) << "a complete sentence waits for a later start";
  EXPECT_EQ(std::string(s->CarryBuffer), kZda);
  Feed(*s, h, kGga);
  EXPECT_EQ(s->Fix.Year, 2002);
  EXPECT_EQ(s->Fix.Quality, 0) << "the GGA is now the one held back";
  Feed(*s, h, kAck);
  EXPECT_EQ(s->Fix.Quality, 1);
  EXPECT_TRUE(h.acks.empty()) << "the acknowledgement waits too";
  Feed(*s, h, "$GP");
  ASSERT_EQ(h.acks.size(), 1u);
  EXPECT_EQ(h.acks[0], std::make_pair(220, true));
}

TEST(Framing, SplitAtEveryByteDecodesOnce) {
  const std::string text = kZda + kAck + kGga;
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    for (std::size_t cut2 = cut; cut2 <= text.size(); cut2 += 7) {
      auto s = std::make_unique<ReceiverState>();
      Hooks h;
      // A start-free first chunk is dispatched whole, so the stream opens with a start.
      Feed(*s, h, "$GPTXT,01\r\n");
      std::string parts[] = {text.substr(0, cut), text.substr(cut, cut2 - cut), text.substr(cut2),
                             "$GP"};
      for (const auto& p : parts)
        if (!p.empty()) Feed(*s, h, p);
      ASSERT_EQ(s->Fix.Year, 2002) << cut << "/" << cut2;
      ASSERT_EQ(s->Fix.Quality, 1) << cut << "/" << cut2;
      ASSERT_EQ(h.acks.size(), 1u) << cut << "/" << cut2;
    }
  }
}

TEST(Framing, ChunkWithoutStartIsDispatchedWhole) {
  auto s = std::make_unique<ReceiverState>();
  Hooks h;
  Feed(*s, h, "hello\r\nworld\r\n");
  EXPECT_STREQ(s->CarryBuffer, "");
  EXPECT_EQ(s->Fix.Year, 0);
}

TEST(Framing, OtherTalkersRideAlongAndAreIgnored) {
  auto s = std::make_unique<ReceiverState>();
  Hooks h;
  Feed(*s, h,
       kZda + Line("$GLGSV,1,1,01,65,10,20,30") + Line("$BDGSA,A,3,,,,,,,,,,,,,1,1,1") + kGga +
           "$GP");
  EXPECT_EQ(s->Fix.Year, 2002);
  EXPECT_EQ(s->Fix.Quality, 1);
  EXPECT_EQ(s->Fix.SatsInView, 0);
}

TEST(Framing, NulCostsOnlyItsSentence) {
  auto s = std::make_unique<ReceiverState>();
  Hooks h;
  std::string broken = kGga;
  broken[20] = '\0';
  std::string bytes = kZda + broken + kAck + "$GP";
  ASSERT_LT(bytes.size(), 200u);
  Feed(*s, h, bytes);
  EXPECT_EQ(s->Fix.Year, 2002);
  EXPECT_EQ(s->Fix.Quality, 0) << "the GGA holding the NUL is lost";
  EXPECT_EQ(h.acks.size(), 1u) << "what follows the NUL is still decoded";
}

TEST(Framing, LongCarryIsThrownAway) {
  auto s = std::make_unique<ReceiverState>();
  Hooks h;
  Feed(*s, h, "$GPGGA,");
  std::string junk(3800, '7');
  Feed(*s, h, junk);
  EXPECT_GT(std::strlen(s->CarryBuffer), 3750u);
  Feed(*s, h, "x");
  EXPECT_STREQ(s->CarryBuffer, "");
  // Buffer bounds hold for any amount of start-free text.
  for (int i = 0; i < 200; ++i) Feed(*s, h, std::string(100, 'z'));
  EXPECT_LE(std::strlen(s->SentenceBuffer), 3850u);
}

TEST(Framing, ScanningClearedByFirstValidGpSentence) {
  auto s = std::make_unique<ReceiverState>();
  Hooks h;
  h.scanning = true;
  Feed(*s, h, "$GPGGA,bad*00\r\n" + Line("$PQVU001,1,3"));
  EXPECT_TRUE(h.scanning) << "neither a bad $GP nor a $PQVU ends a scan";
  Feed(*s, h, kZda);
  EXPECT_FALSE(h.scanning);
  EXPECT_EQ(h.found, 1);
}

TEST(Framing, ScanTestRunsOnToTheEndOfTheBuffer) {
  // The scan test sees the text from the start to the end of the buffer, so a start without
  // its own end passes when the first '*' further on happens to match.
  auto s = std::make_unique<ReceiverState>();
  Hooks h;
  h.scanning = true;
  Feed(*s, h, "$GPGGA,1\r\n" + kZda.substr(0, 10));
  EXPECT_TRUE(h.scanning);
}

// Everything the decoders write, for comparing two states.
bool SameDecodedState(const ReceiverState& a, const ReceiverState& b) {
  return std::memcmp(&a.Fix, &b.Fix, sizeof a.Fix) == 0 &&
         std::memcmp(a.Satellites, b.Satellites, sizeof a.Satellites) == 0 &&
         std::memcmp(a.Channels, b.Channels, sizeof a.Channels) == 0 &&
         std::memcmp(a.EphLevel, b.EphLevel, sizeof a.EphLevel) == 0 &&
         std::memcmp(&a.Firmware, &b.Firmware, sizeof a.Firmware) == 0 &&
         a.SatListComplete == b.SatListComplete && a.ChannelsUpdated == b.ChannelsUpdated &&
         a.EphemerisUpdated == b.EphemerisUpdated && std::string(a.CarryBuffer) == b.CarryBuffer;
}

TEST(Framing, AnyChunkSizeGivesTheSameState) {
  sim::SimReceiver rx;
  std::string capture;
  for (int i = 0; i < 30; ++i) capture += rx.Cycle();
  const sim::EpochTruth truth = rx.LastEpoch();
  capture += "$GP";  // lets the last epoch's final sentence be decoded
  ASSERT_GT(capture.size(), 3 * 4096u);

  std::unique_ptr<ReceiverState> states[3];
  const std::size_t sizes[] = {1, 100, 4096};
  for (int k = 0; k < 3; ++k) {
    states[k] = std::make_unique<ReceiverState>();
    Hooks h;
    // A start-free chunk is dispatched whole, so single bytes need a start to join first.
    Feed(*states[k], h, "$GPTXT,01\r\n");
    for (std::size_t i = 0; i < capture.size(); i += sizes[k])
      ProcessChunk(*states[k], capture.data() + i, std::min(sizes[k], capture.size() - i), h);
  }
  EXPECT_TRUE(SameDecodedState(*states[0], *states[1])) << "1 and 100 bytes";
  EXPECT_TRUE(SameDecodedState(*states[0], *states[2])) << "1 and 4096 bytes";

  // And that state is the receiver's last epoch, not an empty one that agrees with itself.
  const ReceiverState& s = *states[2];
  EXPECT_EQ(s.Fix.Year, truth.utc.year);
  EXPECT_EQ(s.Fix.Second, truth.utc.second);
  EXPECT_EQ(s.Fix.Dimension, 2);
  ASSERT_EQ(s.Fix.SatsInView, static_cast<int>(truth.in_view.size()));
  for (std::size_t i = 0; i < truth.used_prns.size(); ++i)
    EXPECT_EQ(s.Fix.UsedPrns[i], truth.used_prns[i]) << i;
  for (std::size_t i = 0; i < truth.in_view.size() && i < kMaxSatellites; ++i) {
    EXPECT_EQ(s.Satellites[i].Prn, truth.in_view[i].prn) << i;
    EXPECT_EQ(s.Satellites[i].Used, truth.in_view[i].used ? 1 : 0) << i;
  }
}

TEST(Framing, OneLargeChunkLosesNothing) {
  // Forty sentences in one chunk: each is decoded, the first as well as the last.
  auto s = std::make_unique<ReceiverState>();
  Hooks h;
  std::string text;
  for (int i = 1; i <= 40; ++i) text += Line("$PQVU001," + std::to_string(i) + ",3");
  text += "$GP";
  ASSERT_GT(text.size(), 4 * static_cast<std::size_t>(kChunkMax));
  ProcessChunk(*s, text.data(), text.size(), h);
  ASSERT_EQ(h.acks.size(), 40u);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(h.acks[i].first, i + 1);
}

TEST(Dispatch, Routing) {
  struct Case {
    std::string text;
    int acks;
    int channels;  // ChannelsUpdated expected
    std::int32_t year;
  } cases[] = {
      {Line("$PQVUCHN,01451,02402"), 0, 1, 0}, {Line("$PQVU001,220,3"), 1, 0, 0},
      {Line("$GPZDA,1,2,3,2001"), 0, 0, 2001}, {Line("$GPXYZ,1,2,3,2001"), 0, 0, 0},
      {Line("$GNZDA,1,2,3,2001"), 0, 0, 0},
  };
  for (const auto& c : cases) {
    auto s = std::make_unique<ReceiverState>();
    Hooks h;
    Feed(*s, h, c.text + "$GP");
    EXPECT_EQ(static_cast<int>(h.acks.size()), c.acks) << c.text;
    EXPECT_EQ(s->ChannelsUpdated.load(), c.channels) << c.text;
    EXPECT_EQ(s->Fix.Year, c.year) << c.text;
  }
}

TEST(MarkUsed, OnlyTableEntriesAndLeadingPrns) {
  auto s = std::make_unique<ReceiverState>();
  s->Fix.SatsInView = 25;
  for (int i = 0; i < kMaxSatellites; ++i) s->Satellites[i].Prn = i + 1;
  s->Fix.UsedPrns[0] = 3;
  s->Fix.UsedPrns[1] = 20;
  s->Fix.UsedPrns[2] = 0;
  s->Fix.UsedPrns[3] = 5;  // after the end mark: not used
  MarkUsedSatellites(*s);
  for (int i = 0; i < kMaxSatellites; ++i)
    EXPECT_EQ(s->Satellites[i].Used, (i + 1 == 3 || i + 1 == 20) ? 1 : 0) << i;
  s->Fix.SatsInView = -5;
  MarkUsedSatellites(*s);
  for (const auto& sat : s->Satellites) EXPECT_EQ(sat.Used, 0);
}

TEST(MarkUsed, FollowsEveryChangeOfListOrTable) {
  auto s = std::make_unique<ReceiverState>();
  Hooks h;
  // Each step ends with a complete sentence of no decoded type, so that what it sends is
  // decoded and nothing is left half-open for the next step.
  auto step = [&](const std::string& text) { Feed(*s, h, text + Line("$GPTXT,01")); };
  const std::string gsv = Line("$GPGSV,1,1,04,03,10,100,40,05,20,200,41,07,30,300,42,09,40,40,43");
  auto used = [&] {
    std::string out;
    for (int i = 0; i < SatCount(s->Fix); ++i)
      if (s->Satellites[i].Used) out += std::to_string(s->Satellites[i].Prn) + " ";
    return out;
  };
  step(gsv + Line("$GPGSA,A,3,05,09,,,,,,,,,,,1.0,1.0,1.0"));
  EXPECT_EQ(used(), "5 9 ");
  // The same table sent again is cleared and refilled; the marks come back with it.
  step(gsv);
  EXPECT_EQ(used(), "5 9 ");
  step(Line("$GPGSA,A,3,03,,,,,,,,,,,,1.0,1.0,1.0"));
  EXPECT_EQ(used(), "3 ");
  // The window sorts the table in place; the marks stay with their satellites.
  std::reverse(s->Satellites, s->Satellites + 4);
  step(Line("$GPGSA,A,3,09,03,,,,,,,,,,,1.0,1.0,1.0"));
  EXPECT_EQ(used(), "9 3 ");
  // A shorter table leaves the entries past its end unmarked.
  s->Fix.SatsInView = 1;
  step("");
  EXPECT_EQ(used(), "9 ");
  EXPECT_EQ(s->Satellites[3].Used, 0);
}

}  // namespace
