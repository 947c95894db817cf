// The raw log: "NMEA Log" and "Logging ...", the file chosen through the save dialog, and the
// bytes the receiver sent while it ran.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "tests/console/command_util.h"

namespace consoletest {
namespace {

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void Store(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::uintmax_t SizeOf(const std::string& path) {
  std::error_code e;
  const std::uintmax_t n = std::filesystem::file_size(path, e);
  return e ? 0 : n;
}

class RawLogTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    char pattern[] = "/tmp/korvane-log-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    CommandTest::TearDown();
    std::error_code e;
    std::filesystem::remove_all(dir, e);
  }

  // Waits until the reader has read all the receiver sent: it logs, into a scratch log, the
  // last byte of a sentence sent last.
  void ReadEverything() {
    const std::string scratch = dir + "/scratch";
    ASSERT_TRUE(form->LogFile.Open(scratch));
    const std::string last = Sentence("GPTXT,77");
    link->SendRaw(last);
    EXPECT_TRUE(WaitUntil([&] {
      const std::string c = Contents(scratch);
      return c.size() >= last.size() && c.compare(c.size() - last.size(), last.size(), last) == 0;
    }));
    form->LogFile.Close();
  }

  // Sends bytes between "NMEA Log" and "Logging ..." and returns what the receiver sent then.
  std::string LogWhileSending(const std::string& path) {
    ReadEverything();
    saveAs = path;
    form->BtnLog->Click();
    EXPECT_TRUE(form->BtnLogging->Visible);
    const std::size_t before = link->Sent().size();
    // A zero byte, a broken sentence, bytes above 0x7F, a reply and a whole epoch.
    const std::string odd = std::string("AB\0CD\r\n", 7) +
                            "$GPGGA,123519,4807.0*ZZ\r\n$GP\xE9\xFF" +
                            Sentence("PQVU705,2.13,KORVANE");
    link->SendRaw(odd);
    const std::string epoch = link->EmitCycleNow();
    link->SendRaw(Release());
    const std::size_t total = odd.size() + epoch.size() + Release().size();
    EXPECT_TRUE(link->WaitSent(before + total, std::chrono::seconds(3)));
    EXPECT_TRUE(WaitUntil([&] { return SizeOf(path) >= total; }));
    form->BtnLogging->Click();
    EXPECT_FALSE(form->BtnLogging->Visible);
    EXPECT_FALSE(form->LogFile.IsOpen());
    return link->Sent().substr(before);
  }

  std::string dir;
};

enum class LinkKind { Com, Tcp };

void PrintTo(LinkKind k, std::ostream* os) {
  *os << (k == LinkKind::Com ? "COM port" : "socket");
}

class RawLogOverLinks : public RawLogTest, public ::testing::WithParamInterface<LinkKind> {};

TEST_P(RawLogOverLinks, HoldsExactlyWhatTheReceiverSentMeanwhile) {
  if (GetParam() == LinkKind::Com)
    OpenQuiet();
  else
    ConnectQuiet();
  const std::string path = dir + "/Korvane.nma";
  const std::string sent = LogWhileSending(path);
  EXPECT_EQ(Visible(Contents(path)), Visible(sent));
  // The dialog proposed the layout's name and filter; no question for a new file.
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Kind, platform::mkSaveDialog);
  EXPECT_EQ(boxes[0].FileName, "Korvane.nma");
  EXPECT_EQ(boxes[0].Filter, "NMEA Files|*.nma|Text Files|*.txt|All Files|*.*");

  // Nothing more once stopped.
  link->SendRaw(Sentence("PQVU590,3") + Release());
  Pump(200);
  EXPECT_EQ(Visible(Contents(path)), Visible(sent));
}

INSTANTIATE_TEST_SUITE_P(Links, RawLogOverLinks, ::testing::Values(LinkKind::Com, LinkKind::Tcp),
                         [](const auto& info) {
                           return info.param == LinkKind::Com ? "ComPort" : "Socket";
                         });

// Over the socket the dialog opens without the port test. An existing file survives a cancel
// and a "No"; "Yes" replaces it with the new log.
TEST_F(RawLogTest, ExistingFileIsReplacedOnlyAfterYes) {
  ConnectQuiet();
  const std::string path = dir + "/old.nma";
  Store(path, "old content");
  struct Answer {
    const char* name;
    std::string choice;
    int answer;
    bool asked;
  } const answers[] = {{"dialog cancelled", "", platform::IDYES, false},
                       {"overwrite refused", path, platform::IDNO, true}};
  for (const Answer& a : answers) {
    SCOPED_TRACE(a.name);
    saveAs = a.choice;
    answer = a.answer;
    form->BtnLog->Click();
    EXPECT_FALSE(form->BtnLogging->Visible);
    EXPECT_FALSE(form->LogFile.IsOpen());
    EXPECT_EQ(Contents(path), "old content");
    ASSERT_EQ(boxes.size(), a.asked ? 2u : 1u);
    EXPECT_EQ(boxes[0].Kind, platform::mkSaveDialog);
    if (a.asked) {
      EXPECT_EQ(boxes[1].Kind, platform::mkMessageBox);
      EXPECT_EQ(boxes[1].Text, "File exists. Overwrite this file?");
      EXPECT_EQ(boxes[1].Caption, "Save File");
      EXPECT_EQ(boxes[1].Flags & 0xF, platform::MB_YESNO);
    }
    boxes.clear();
  }
  answer = platform::IDYES;
  const std::string sent = LogWhileSending(path);
  EXPECT_EQ(Visible(Contents(path)), Visible(sent));
}

TEST_F(RawLogTest, NeedsTheComPortOpen) {
  saveAs = dir + "/never.nma";
  form->BtnLog->Click();
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Please Open Com port First"});
  EXPECT_EQ(CountKind(platform::mkSaveDialog), 0);
  EXPECT_FALSE(form->BtnLogging->Visible);
  EXPECT_FALSE(std::filesystem::exists(saveAs));
}

// A file that cannot be made is reported, and the window does not claim to be logging.
TEST_F(RawLogTest, FileThatCannotBeOpenedIsReported) {
  ConnectQuiet();
  saveAs = dir + "/missing/Korvane.nma";
  form->BtnLog->Click();
  const std::vector<std::string> messages = TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("Can't Open Log File!!", 0), 0u) << messages[0];
  EXPECT_FALSE(form->BtnLogging->Visible);
  EXPECT_TRUE(form->BtnLog->Visible);
  EXPECT_FALSE(form->LogFile.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(dir + "/missing"));
}

}  // namespace
}  // namespace consoletest
