#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "reader/decoders.h"
#include "tests/reader/sentence_util.h"

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

}  // namespace
