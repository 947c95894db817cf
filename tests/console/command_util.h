// Helpers for the commanding tests: the writes the receiver saw with their times, replies put
// on the wire as the receiver would, and links whose start-up answers leave the window as the
// layout made it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "console/sentences.h"
#include "tests/console/console_fixture.h"

namespace consoletest {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Non-printable bytes as escapes, for failure messages.
inline std::string Visible(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// One write of the console and the wait that follows it.
struct Write {
  std::string text;  // the sentence as characters
  bool zero;         // written on the COM port with its terminating zero byte
  int waitAfterMs;
  std::string OnPort() const { return zero ? text + std::string(1, '\0') : text; }
};

inline std::string OnPort(const std::vector<Write>& writes) {
  std::string all;
  for (const Write& w : writes) all += w.OnPort();
  return all;
}

inline std::string AsText(const std::vector<Write>& writes) {
  std::string all;
  for (const Write& w : writes) all += w.text;
  return all;
}

inline int TotalWaitMs(const std::vector<Write>& writes, int waitBeforeMs) {
  int total = waitBeforeMs;
  for (const Write& w : writes) total += w.waitAfterMs;
  return total;
}

// A wait of nominal milliseconds as measured on a loaded machine: not shorter than 90 % of it,
// and not hugely longer.
inline ::testing::AssertionResult WaitedAbout(double measuredMs, int nominalMs,
                                              const std::string& what) {
  const double low = 0.9 * nominalMs;
  const double high = 1.5 * nominalMs + 300;
  if (measuredMs >= low && measuredMs <= high) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << what << ": waited " << measuredMs << " ms, expected "
                                       << nominalMs << " ms (" << low << " to " << high << ")";
}

// The bytes the receiver read on the pseudo-terminal are exactly these writes, each starting
// after the wait of the one before; the click (start to end) took all the waits.
inline ::testing::AssertionResult SawWritesOnPort(const sim::Link& link,
                                                  const std::vector<Write>& writes,
                                                  Clock::time_point clickStart,
                                                  Clock::time_point clickEnd,
                                                  int waitBeforeMs = 0) {
  const std::string expected = OnPort(writes);
  link.WaitReceived([&](const std::string& r) { return r.size() >= expected.size(); },
                    std::chrono::seconds(2));
  const std::vector<sim::Chunk> chunks = link.ReceivedChunks();
  std::string all;
  for (const sim::Chunk& c : chunks) all += c.bytes;
  if (all != expected)
    return ::testing::AssertionFailure() << "bytes on the port:\n  got      \"" << Visible(all)
                                         << "\"\n  expected \"" << Visible(expected) << "\"";
  // When the receiver read the first byte of each write.
  std::vector<Clock::time_point> starts;
  std::size_t offset = 0, chunkEnd = 0, chunk = 0;
  for (const Write& w : writes) {
    while (chunk < chunks.size() && chunkEnd + chunks[chunk].bytes.size() <= offset) {
      chunkEnd += chunks[chunk].bytes.size();
      ++chunk;
    }
    starts.push_back(chunks[chunk].time);
    offset += w.OnPort().size();
  }
  if (waitBeforeMs > 0) {
    auto r = WaitedAbout(Ms(starts.front() - clickStart), waitBeforeMs, "before the first write");
    if (!r) return r;
  }
  for (std::size_t i = 0; i + 1 < writes.size(); ++i) {
    auto r = WaitedAbout(Ms(starts[i + 1] - starts[i]), writes[i].waitAfterMs,
                         "after \"" + Visible(writes[i].text) + "\"");
    if (!r) return r;
  }
  const int total = TotalWaitMs(writes, waitBeforeMs);
  const double took = Ms(clickEnd - clickStart);
  if (total == 0) {
    // Nothing waited: a 100 ms wait anywhere would show.
    if (took < 95) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the click took " << took << " ms, expected no wait";
  }
  return WaitedAbout(took, total, "the whole click");
}

// A sentence as the receiver sends it: "$" + body + "*" + checksum + CR LF.
inline std::string Sentence(const std::string& body) {
  const std::string head = "$" + body;
  return head + "*" + console::ComputeChecksumHex(head) + "\r\n";
}

// The reader holds the last sentence of its buffer back until another one starts; this one
// starts and is decoded as nothing.
inline std::string Release() {
  return Sentence("GPTXT,01");
}

class CommandTest : public ConsoleTest {
 protected:
  // The receiver's settings made equal to the window's layout defaults (ZDA and MCHN off), so
  // that the answers to the start-up queries leave the controls as they are.
  void MatchLayoutDefaults() {
    link->WithModel([](sim::SimReceiver& m) {
      sim::Settings s = m.CurrentSettings();
      s.rates[sim::kRateZda] = 0;
      s.rates[sim::kRateChn] = 0;
      m.SetSettings(s);
    });
  }

  // The COM link on a fresh receiver, its start-up queries answered and shown, Timer1 off (the
  // tests tick it themselves) and the records empty.
  void OpenQuiet() {
    StartPtyReceiver();
    MatchLayoutDefaults();
    OpenPort();
    SettleStartUp();
  }
  void ConnectQuiet() {
    StartTcpReceiver();
    MatchLayoutDefaults();
    Connect();
    SettleStartUp();
  }

  void SettleStartUp() {
    ASSERT_TRUE(link->WaitReceived(
        [](const std::string& r) { return r.find("$PQVU430*35\r\n") != std::string::npos; },
        std::chrono::seconds(3)));
    // The datum answer is the last of the start-up answers and the only one that changes the
    // window's defaults (no item chosen -> item 0). The answers are queued by now.
    link->SendRaw(Release());
    ASSERT_TRUE(WaitUntil([&] { return form->CmbDatum->ItemIndex == 0; }));
    form->Timer1->Enabled = false;
    link->ClearRecords();
    TakeMessages();
  }

  // Puts sentences on the wire, then a flash-count answer with a fresh number, and waits until
  // the window has shown that number: every step of the sentences before it has run by then.
  bool Deliver(const std::string& sentences) {
    const int mark = ++marks_;
    link->SendRaw(sentences + Sentence("PQVU590," + std::to_string(mark)) + Release());
    const std::string caption =
        "Write setting into flash (remain  " + std::to_string(mark) + "  times to modify)";
    return WaitUntil([&] { return std::string(form->GroupBox15->Caption) == caption; });
  }

  // Waits for the receiver to have read `command`, then for its answer to have been decoded.
  bool AwaitAnswerTo(const std::string& command) {
    if (!link->WaitReceived(
            [&](const std::string& r) { return r.find(command) != std::string::npos; },
            std::chrono::seconds(3)))
      return false;
    return Deliver("");
  }

  // Milliseconds the click took.
  double TimedClick(platform::TButton* button) {
    const auto start = Clock::now();
    button->Click();
    return Ms(Clock::now() - start);
  }

  int CountKind(platform::TModalKind kind) const {
    int n = 0;
    for (const auto& b : boxes) n += b.Kind == kind;
    return n;
  }

  // The clock restart timing reads, once a test hands it to the window.
  void UseFakeClock() {
    fakeNow = Clock::time_point{} + std::chrono::hours(10);
    form->Now = [this] { return fakeNow; };
  }

  int marks_ = 0;
  Clock::time_point fakeNow{};
};

}  // namespace consoletest
