// The receiver's answers to the console's command sentences.
#include <gtest/gtest.h>

#include <random>

#include "tests/simreceiver/sim_test_util.h"
#include "tools/simreceiver/sim_receiver.h"

namespace {

using simtest::Fields;
using simtest::Lines;
using simtest::Sentence;

std::string Ack(int command, int flag) {
  return Sentence("PQVU001," + std::to_string(command) + "," + std::to_string(flag));
}

// The fixed sentences of the command table, as the console stores them.
TEST(SimCommands, EveryQueryGetsItsReplyNumberedNPlus100) {
  const struct {
    const char* query;
    std::string reply;
  } cases[] = {
      {"$PQVU400*36\r\n", Sentence("PQVU500,1000")},
      {"$PQVU401*37\r\n", Sentence("PQVU501,0")},
      {"$PQVU414*33\r\n", Sentence("PQVU514,1,1,1,1,1,1,0,0,0,0,0,0,0,0,0,0,0,1,1")},
      {"$PQVU419*3E\r\n", Sentence("PQVU519,0")},
      {"$PQVU430*35\r\n", Sentence("PQVU530,0")},
      {"$PQVU456*35\r\n", Sentence("PQVU556,1,0.0000012")},
      {"$PQVU490*3F\r\n", Sentence("PQVU590,100")},
      {"$PQVU602*36\r\n", Sentence("PQVU702,0,0,9600")},
      {"$PQVU605*31\r\n", Sentence("PQVU705,2.13.07,KORVANE,KV-32S,SDK 4.1")},
  };
  for (const auto& c : cases) {
    sim::SimReceiver rx;
    const std::string reply = rx.Feed(c.query);
    EXPECT_EQ(reply, c.reply) << c.query;
    EXPECT_TRUE(simtest::ValidLine(reply));
    const int asked = std::atoi(std::string(c.query).substr(5, 3).c_str());
    EXPECT_EQ(std::atoi(reply.substr(5, 3).c_str()), asked + 100);
  }
}

TEST(SimCommands, SettingsAreAcknowledgedAndFailWhenTold) {
  const struct {
    int number;
    std::string sentence;
  } cases[] = {
      {160, "$PQVU160*35\r\n"},
      {188, "$PQVU188*33\r\n"},
      {220, Sentence("PQVU220,200")},
      {251, Sentence("PQVU251,115200")},
      {301, "$PQVU301,2*2E\r\n"},
      {314, Sentence("PQVU314,1,1,1,1,1,1,0,0,0,0,0,0,0,0,0,0,0,0,0")},
      {319, "$PQVU319,1*24\r\n"},
      {330, Sentence("PQVU330,84")},
      {390, Sentence("PQVU390,0,1,38400,1,1,1,1,1,1,0,0,0,0,9600")},
  };
  for (const auto& c : cases) {
    const std::string bytes = c.sentence + std::string(1, '\0');
    {
      sim::SimReceiver rx;
      EXPECT_EQ(rx.Feed(bytes), Ack(c.number, 3)) << c.number;
    }
    {
      sim::SimReceiver rx;
      rx.SetFailSettings(true);
      const sim::Settings before = rx.CurrentSettings();
      EXPECT_EQ(rx.Feed(bytes), Ack(c.number, 2)) << c.number;
      EXPECT_EQ(rx.CurrentSettings(), before) << c.number;
    }
    {
      sim::SimReceiver rx;
      rx.SetFailCommand(c.number, true);
      EXPECT_EQ(rx.Feed(bytes), Ack(c.number, 2)) << c.number;
      const int other = c.number == 330 ? 220 : 330;
      const std::string other_bytes =
          other == 330 ? Sentence("PQVU330,5") : Sentence("PQVU220,500");
      EXPECT_EQ(rx.Feed(other_bytes), Ack(other, 3)) << c.number;
      rx.SetFailCommand(c.number, false);
      EXPECT_EQ(rx.Feed(bytes), Ack(c.number, 3)) << c.number;
    }
  }
}

TEST(SimCommands, ASettingShowsInItsQueryReply) {
  const struct {
    std::vector<std::string> settings;  // sent in order
    std::string query;
    std::string reply;
  } cases[] = {
      {{Sentence("PQVU220,200")}, "$PQVU400*36\r\n", Sentence("PQVU500,200")},
      {{Sentence("PQVU220,333")}, "$PQVU400*36\r\n", Sentence("PQVU500,333")},
      {{"$PQVU313,1*2E\r\n", "$PQVU301,2*2E\r\n"}, "$PQVU401*37\r\n", Sentence("PQVU501,2")},
      {{Sentence("PQVU250,1,0,38400"), "$PQVU301,1*2D\r\n"},
       "$PQVU401*37\r\n",
       Sentence("PQVU501,1")},
      {{Sentence("PQVU250,1,0,38400")}, "$PQVU602*36\r\n", Sentence("PQVU702,1,0,38400")},
      {{"$PQVU319,1*24\r\n"}, "$PQVU419*3E\r\n", Sentence("PQVU519,1")},
      {{"$PQVU319,1*24\r\n", "$PQVU319,0*25\r\n"}, "$PQVU419*3E\r\n", Sentence("PQVU519,0")},
      {{Sentence("PQVU330,222")}, "$PQVU430*35\r\n", Sentence("PQVU530,222")},
      {{Sentence("PQVU314,2,0,1,3,1,5,0,0,0,0,0,0,0,0,0,0,0,10,255")},
       "$PQVU414*33\r\n",
       Sentence("PQVU514,2,0,1,3,1,5,0,0,0,0,0,0,0,0,0,0,0,10,255")},
      // Flash: GSA, GSV, GGA in that order here, unlike the output-rate sentence.
      {{Sentence("PQVU390,1,5,9600,2,3,4,5,6,7,8,9,17,1,4800")},
       "$PQVU414*33\r\n",
       Sentence("PQVU514,2,3,4,7,5,6,0,0,0,0,0,0,0,0,0,0,0,8,9")},
      {{Sentence("PQVU390,1,5,9600,2,3,4,5,6,7,8,9,17,1,4800")},
       "$PQVU400*36\r\n",
       Sentence("PQVU500,200")},
      {{Sentence("PQVU390,1,5,9600,2,3,4,5,6,7,8,9,17,1,4800")},
       "$PQVU430*35\r\n",
       Sentence("PQVU530,17")},
      {{Sentence("PQVU390,1,5,9600,2,3,4,5,6,7,8,9,17,1,4800")},
       "$PQVU490*3F\r\n",
       Sentence("PQVU590,99")},
      {{Sentence("PQVU390,1,5,9600,2,3,4,5,6,7,8,9,17,1,4800")},
       "$PQVU602*36\r\n",
       Sentence("PQVU702,0,0,4800")},
  };
  for (const auto& c : cases) {
    sim::SimReceiver rx;
    for (const std::string& s : c.settings) rx.Feed(s);
    EXPECT_EQ(rx.Feed(c.query), c.reply) << c.settings.front();
  }
  sim::SimReceiver rx;
  rx.Feed(Sentence("PQVU251,4800"));
  EXPECT_EQ(rx.CurrentSettings().baud, 4800);
}

TEST(SimCommands, BadSettingValuesFailAndChangeNothing) {
  const struct {
    int number;
    std::string sentence;
  } cases[] = {
      {220, Sentence("PQVU220,0")},
      {220, Sentence("PQVU220,3000")},
      {220, Sentence("PQVU220,abc")},
      {220, Sentence("PQVU220")},
      {220, Sentence("PQVU220,")},
      {251, Sentence("PQVU251,1234")},
      {301, Sentence("PQVU301,3")},
      {319, Sentence("PQVU319,2")},
      {330, Sentence("PQVU330,223")},
      {330, Sentence("PQVU330,-1")},
      {314, Sentence("PQVU314,1,1,1,1,1,1,0,0,0,0,0,0,0,0,0,0,0,0")},  // 18 fields
      {314, Sentence("PQVU314,1,1,1,1,1,1,0,0,0,0,0,0,0,0,0,0,0,0,256")},
      {314, Sentence("PQVU314,1,1,1,1,1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0")},  // 20 fields
      {390, Sentence("PQVU390,0,1,38400,1,1,1,1,1,1,0,0,0,0")},
      {390, Sentence("PQVU390,0,0,38400,1,1,1,1,1,1,0,0,0,0,9600")},
      {390, Sentence("PQVU390,0,1,38400,1,1,1,1,1,1,0,0,300,0,9600")},
  };
  for (const auto& c : cases) {
    sim::SimReceiver rx;
    const sim::Settings before = rx.CurrentSettings();
    EXPECT_EQ(rx.Feed(c.sentence), Ack(c.number, 2)) << c.sentence;
    EXPECT_EQ(rx.CurrentSettings(), before) << c.sentence;
    EXPECT_EQ(rx.FlashWritesLeft(), sim::SimReceiver::kInitialFlashWrites);
  }
}

TEST(SimCommands, FlashWritesRunOut) {
  sim::SimReceiver rx;
  const std::string flash = Sentence("PQVU390,0,1,38400,1,1,1,1,1,1,0,0,0,0,9600");
  for (int i = 0; i < sim::SimReceiver::kInitialFlashWrites; ++i) {
    ASSERT_EQ(rx.Feed(flash), Ack(390, 3)) << i;
  }
  EXPECT_EQ(rx.Feed(flash), Ack(390, 2));
  EXPECT_EQ(rx.Feed("$PQVU490*3F\r\n"), Sentence("PQVU590,0"));
}

TEST(SimCommands, CommandsWithoutAcknowledgementAreSilent) {
  for (const char* s : {"$PQVU809*33\r\n", "$PQVU313,1*2E\r\n", "$PQVU313,0*2F\r\n",
                        "$PQVU101*32\r\n", "$PQVU104*37\r\n"}) {
    sim::SimReceiver rx;
    EXPECT_EQ(rx.Feed(s), "") << s;
  }
  sim::SimReceiver rx;
  EXPECT_EQ(rx.Feed(Sentence("PQVU250,1,0,19200")), "");
  EXPECT_EQ(rx.CurrentSettings().rtcm_baud, 19200);
}

// Fix lost after a restart, as each decoder sees it.
void ExpectNoFix(const std::string& cycle) {
  for (const std::string& line : Lines(cycle)) {
    const auto f = Fields(line);
    if (f[0] == "GPGGA") {
      EXPECT_EQ(f[6], "0");
    }
    if (f[0] == "GPGLL") {
      EXPECT_EQ(f[6], "V");
    }
    if (f[0] == "GPRMC") {
      EXPECT_EQ(f[2], "V");
    }
    if (f[0] == "GPVTG") {
      EXPECT_EQ(f[9], "N");
    }
    if (f[0] == "GPGSA") {
      EXPECT_EQ(f[2], "1");
      for (size_t i = 3; i < 15; ++i) EXPECT_EQ(f[i], "") << line;
    }
    if (f[0] == "PQVUCHN") {
      for (size_t i = 1; i < f.size(); ++i) EXPECT_NE(f[i][4], '2') << line;
    }
  }
}

void ExpectFix(const std::string& cycle) {
  int checked = 0;
  for (const std::string& line : Lines(cycle)) {
    const auto f = Fields(line);
    if (f[0] == "GPGGA") {
      EXPECT_EQ(f[6], "1");
      ++checked;
    } else if (f[0] == "GPRMC") {
      EXPECT_EQ(f[2], "A");
      ++checked;
    } else if (f[0] == "GPGSA") {
      EXPECT_EQ(f[2], "3");
      EXPECT_FALSE(f[3].empty());
      ++checked;
    }
  }
  EXPECT_EQ(checked, 3);
}

TEST(SimCommands, RestartsDropTheFixForTheirTime) {
  const struct {
    const char* sentence;
    int interval_ms;
    int cycles_without_fix;
  } cases[] = {
      {"$PQVU101*32\r\n\0", 1000, 1}, {"$PQVU102*31\r\n\0", 1000, 3},
      {"$PQVU103*30\r\n\0", 1000, 5}, {"$PQVU104*37\r\n\0", 1000, 5},
      {"$PQVU101*32\r\n\0", 200, 5},  {"$PQVU102*31\r\n\0", 500, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sentence + std::string(" at ") + std::to_string(c.interval_ms) + " ms");
    sim::SimReceiver rx;
    rx.Feed(Sentence("PQVU220," + std::to_string(c.interval_ms)));
    ExpectFix(rx.Cycle());
    EXPECT_EQ(rx.Feed(std::string(c.sentence, 14)), "");
    for (int i = 0; i < c.cycles_without_fix; ++i) {
      ExpectNoFix(rx.Cycle());
      EXPECT_FALSE(rx.LastEpoch().fix) << i;
    }
    ExpectFix(rx.Cycle());
    EXPECT_TRUE(rx.LastEpoch().fix);
  }
}

TEST(SimCommands, FactoryResetRestoresDefaultSettings) {
  sim::SimReceiver rx;
  rx.Feed(Sentence("PQVU330,44"));
  rx.Feed(Sentence("PQVU220,500"));
  ASSERT_NE(rx.CurrentSettings(), sim::Settings{});
  rx.Feed("$PQVU104*37\r\n");
  EXPECT_EQ(rx.CurrentSettings(), sim::Settings{});
  rx.Feed("$PQVU103*30\r\n");  // a cold start keeps them
  EXPECT_EQ(rx.CurrentSettings(), sim::Settings{});
}

TEST(SimCommands, InputSplitAnywhereWithNulsAndNoiseIsUnderstood) {
  static const char kHead[] = "\0\0garbage\r\n$PQVU101*32\r\n\0";
  const std::string stream = std::string(kHead, sizeof kHead - 1) + "$PQVU605*31\r\n" +
                             std::string(1, '\0') + "xx\x01\x02\xff" + Sentence("PQVU220,250") +
                             std::string(1, '\0');
  const std::string want = Sentence("PQVU705,2.13.07,KORVANE,KV-32S,SDK 4.1") + Ack(220, 3);
  for (size_t piece : {size_t{1}, size_t{2}, size_t{3}, size_t{7}, stream.size()}) {
    sim::SimReceiver rx;
    std::string got;
    for (size_t i = 0; i < stream.size(); i += piece) got += rx.Feed(stream.substr(i, piece));
    EXPECT_EQ(got, want) << "pieces of " << piece;
    EXPECT_FALSE(rx.HasFix());  // the hot start was understood
    EXPECT_EQ(rx.CurrentSettings().fix_interval_ms, 250);
  }
}

TEST(SimCommands, ReplyComesOnlyWhenTheSentenceEnds) {
  sim::SimReceiver rx;
  const std::string q = "$PQVU400*36\r\n";
  for (size_t i = 0; i + 1 < q.size(); ++i) EXPECT_EQ(rx.Feed(q.substr(i, 1)), "") << i;
  EXPECT_EQ(rx.Feed("\n"), Sentence("PQVU500,1000"));
}

TEST(SimCommands, MalformedInputIsIgnored) {
  const char* cases[] = {
      "$PQVU605*32\r\n",          // wrong checksum
      "$PQVU419*3e\r\n",          // right value, lower-case digit
      "$PQVU605*31\n",            // no CR
      "$PQVU605*31",              // never ends
      "$PQVU605\r\n",             // no checksum
      "$PQVU605*3\r\n",           // one digit
      "$PQVU605$PQVU400*36\r\n",  // restarted by "$": only the query counts
  };
  for (const char* c : cases) {
    sim::SimReceiver rx;
    const std::string got = rx.Feed(c);
    if (std::string(c).starts_with("$PQVU605$")) {
      EXPECT_EQ(got, Sentence("PQVU500,1000"));
    } else {
      EXPECT_EQ(got, "") << c;
    }
  }
  // Well-formed sentences that are still not commands the receiver knows.
  sim::SimReceiver rx;
  EXPECT_EQ(rx.Feed(Sentence("GPGGA,,,,,,0,00,,,M,,M,,")), "");
  EXPECT_EQ(rx.Feed(Sentence("PQVU999")), "");
  EXPECT_EQ(rx.Feed(Sentence("PQVUXYZ")), "");
  EXPECT_EQ(rx.Feed(Sentence("PQVU40")), "");
  EXPECT_EQ(rx.Feed(Sentence("PQVU4000")), "");
}

TEST(SimCommands, OverlongAndRandomInputNeverBreaksTheParser) {
  sim::SimReceiver rx;
  std::string big = "$PQVU220," + std::string(100000, '9');
  EXPECT_EQ(rx.Feed(big), "");
  EXPECT_EQ(rx.Feed("*00\r\n"), "");
  EXPECT_EQ(rx.Feed("$PQVU400*36\r\n"), Sentence("PQVU500,1000"));

  std::mt19937 rng(7);
  std::string noise(200000, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  rx.Feed(noise);
  rx.Feed("\r\n");
  EXPECT_EQ(rx.Feed("$PQVU400*36\r\n"), Sentence("PQVU500,1000"));
  EXPECT_EQ(rx.CurrentSettings().fix_interval_ms, 1000);
}

}  // namespace
