#include "reader/state_json.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <string>

#include "reader/decoders.h"
#include "tests/reader/sentence_util.h"

using namespace reader;

namespace {

TEST(StateJson, KeysValuesAndEscapes) {
  auto s = std::make_unique<ReceiverState>();
  DecoderHooks hooks;
  std::string text = testutil::Line("$GPZDA,201530.00,04,07,2002,00,00") +
                     testutil::Line("$PQVU705,a\"b\\c,\xE9t\x01,M,S") + "$GP";
  ProcessChunk(*s, text.data(), text.size(), hooks);
  s->Fix.Altitude = std::numeric_limits<float>::quiet_NaN();
  std::string j = StateToJson(*s, 220, 0);
  EXPECT_EQ(j.front(), '{');
  EXPECT_EQ(j.back(), '}');
  for (const char* key :
       {"\"Fix\":{", "\"Year\":2002", "\"UsedPrns\":[0,", "\"Satellites\":[{", "\"Channels\":[{",
        "\"EphLevel\":[-1,", "\"TcxoPpm\":1000", "\"FixRateHz\":0", "\"DatumIndex\":0",
        "\"RtcmBaud\":0", "\"NmeaRatesReply\":\"\"", "\"FlashWritesLeft\":0",
        "\"AckOkCommand\":220", "\"AckFailCommand\":0", "\"Altitude\":null",
        "\"Version\":\"a\\\"b\\\\c\"", "\"Customer\":\"\\u00e9t\\u0001\"", "\"Model\":\"M\"",
        "\"Sdk\":\"S\""})
    EXPECT_NE(j.find(key), std::string::npos) << key << "\n" << j;
}

#ifdef KORVANE_BINARY_DIR
TEST(DecodeTool, OneLinePerChunkOrOneAtTheEnd) {
  char path[] = "/tmp/korvane-capture-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  std::string text;
  for (int i = 0; i < 6; ++i) text += testutil::Line("$GPZDA,201530.00,04,07,2002,00,00");
  text += testutil::Line("$PQVU001,220,2") + "$GP";
  ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(fd);
  auto run = [&](const std::string& args) {
    std::string cmd = std::string(KORVANE_BINARY_DIR) + "/tools/korvane-nmea-decode " + args;
    std::FILE* p = popen(cmd.c_str(), "r");
    std::string out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    EXPECT_EQ(pclose(p), 0);
    return out;
  };
  std::string last = run(path);
  EXPECT_EQ(std::count(last.begin(), last.end(), '\n'), 1);
  EXPECT_NE(last.find("\"AckFailCommand\":220"), std::string::npos);
  EXPECT_NE(last.find("\"Year\":2002"), std::string::npos);
  std::string every = run(std::string("--every-chunk ") + path);
  EXPECT_EQ(std::count(every.begin(), every.end(), '\n'),
            static_cast<long>((text.size() + kChunkMax - 1) / kChunkMax));
  EXPECT_EQ(run(std::string("- < ") + path), last) << "standard input reads the same";
  unlink(path);
}
#endif

}  // namespace
