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

// The window's writes and waits, from what it did on its lines: exactly these writes (as on the
// COM port, or as text over the socket), preceded by Sleeps adding up to waitBeforeMs and each
// followed by Sleeps adding up to its wait. By the writer's clock, each write began no sooner
// than the waits before it allowed and the action took at least all of them.
inline ::testing::AssertionResult WroteAndWaited(const std::vector<platform::LineEvent>& lines,
                                                 const std::vector<Write>& writes, bool com,
                                                 Clock::time_point start, Clock::time_point end,
                                                 int waitBeforeMs = 0) {
  using platform::LineEvent;
  std::vector<const LineEvent*> made;
  std::vector<int> slept(1, 0);  // [0] before the first write, [i + 1] after write i
  for (const LineEvent& e : lines) {
    if (e.kind == LineEvent::kSleep) {
      slept.back() += static_cast<int>(e.ms);
    } else {
      made.push_back(&e);
      slept.push_back(0);
    }
  }
  std::string madeText;
  for (const LineEvent* e : made) madeText += "\n  \"" + Visible(e->bytes) + "\"";
  if (made.size() != writes.size())
    return ::testing::AssertionFailure()
           << made.size() << " writes, expected " << writes.size() << ":" << madeText;
  const LineEvent::Kind kind = com ? LineEvent::kPortWrite : LineEvent::kSocketSend;
  for (std::size_t i = 0; i < writes.size(); ++i) {
    const std::string expected = com ? writes[i].OnPort() : writes[i].text;
    if (made[i]->kind != kind || made[i]->bytes != expected)
      return ::testing::AssertionFailure()
             << "write " << i << " expected \"" << Visible(expected) << "\" on the "
             << (com ? "port" : "socket") << ", got" << madeText;
  }
  auto waited = [](const std::string& what, int ms, int expected) {
    return ::testing::AssertionFailure()
           << what << ": slept " << ms << " ms, expected " << expected << " ms";
  };
  if (slept[0] != waitBeforeMs) return waited("before the first write", slept[0], waitBeforeMs);
  for (std::size_t i = 0; i < writes.size(); ++i) {
    if (slept[i + 1] != writes[i].waitAfterMs)
      return waited("after \"" + Visible(writes[i].text) + "\"", slept[i + 1],
                    writes[i].waitAfterMs);
  }
  // The Sleeps really waited: lower bounds only, which no load can break.
  auto atLeast = [](Clock::duration d, int ms) { return d >= std::chrono::milliseconds(ms); };
  if (!made.empty() && !atLeast(made[0]->at - start, waitBeforeMs))
    return ::testing::AssertionFailure() << "the first write came after " << Ms(made[0]->at - start)
                                         << " ms, expected " << waitBeforeMs << " ms";
  for (std::size_t i = 0; i + 1 < made.size(); ++i) {
    if (!atLeast(made[i + 1]->at - made[i]->at, writes[i].waitAfterMs))
      return ::testing::AssertionFailure()
             << "write " << i + 1 << " came " << Ms(made[i + 1]->at - made[i]->at)
             << " ms after the one before, expected " << writes[i].waitAfterMs << " ms";
  }
  const int total = TotalWaitMs(writes, waitBeforeMs);
  if (!atLeast(end - start, total))
    return ::testing::AssertionFailure()
           << "it took " << Ms(end - start) << " ms, expected " << total << " ms";
  return ::testing::AssertionSuccess();
}

// The receiver read exactly these writes on the pseudo-terminal, and the window made them with
// their waits (WroteAndWaited) during the click from start to end.
inline ::testing::AssertionResult SawWritesOnPort(const sim::Link& link,
                                                  const std::vector<platform::LineEvent>& lines,
                                                  const std::vector<Write>& writes,
                                                  Clock::time_point start, Clock::time_point end,
                                                  int waitBeforeMs = 0) {
  const std::string expected = OnPort(writes);
  link.WaitReceived([&](const std::string& r) { return r.size() >= expected.size(); },
                    std::chrono::seconds(2));
  if (link.Received() != expected)
    return ::testing::AssertionFailure()
           << "bytes on the port:\n  got      \"" << Visible(link.Received()) << "\"\n  expected \""
           << Visible(expected) << "\"";
  return WroteAndWaited(lines, writes, true, start, end, waitBeforeMs);
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

  // Whether the click did nothing on the lines: no write, no send, no wait.
  bool ClickIsQuiet(platform::TButton* button) {
    lines.clear();
    button->Click();
    return lines.empty();
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
