// Each fault switch puts into the stream what it says, and nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "tests/simreceiver/sim_test_util.h"
#include "tools/simreceiver/sim_receiver.h"

namespace {

using simtest::Lines;
using simtest::ValidLine;

std::string Join(const std::vector<std::string>& parts) {
  std::string all;
  for (const std::string& p : parts) all += p;
  return all;
}

// Removes each clean sentence, in order, from `stream`; returns what is left between them.
// Fails the test when a clean sentence is missing or out of order.
std::string Residue(const std::string& stream, const std::vector<std::string>& clean) {
  std::string rest;
  size_t pos = 0;
  for (const std::string& s : clean) {
    const size_t at = stream.find(s, pos);
    EXPECT_NE(at, std::string::npos) << "missing " << s;
    if (at == std::string::npos) return rest;
    rest += stream.substr(pos, at - pos);
    pos = at + s.size();
  }
  return rest + stream.substr(pos);
}

int CountInvalid(const std::string& stream) {
  int n = 0;
  for (const std::string& l : Lines(stream)) n += ValidLine(l) ? 0 : 1;
  return n;
}

TEST(SimFaults, NamesRoundTrip) {
  for (int i = 0; i < sim::kFaultCount; ++i) {
    const auto f = static_cast<sim::Fault>(i);
    EXPECT_EQ(sim::FaultFromName(sim::FaultName(f)), f);
  }
  EXPECT_FALSE(sim::FaultFromName("no-such-fault").has_value());
}

TEST(SimFaults, BadChecksumEveryKthSentence) {
  for (int k : {1, 3, 7}) {
    sim::SimReceiver rx;
    rx.Faults().SetBadChecksumEvery(k);
    rx.Faults().Set(sim::Fault::kBadChecksum, true);
    int sentences = 0, bad = 0;
    for (int c = 0; c < 4; ++c) {
      const auto lines = Lines(rx.Cycle());
      for (const std::string& l : lines) {
        ++sentences;
        const bool valid = ValidLine(l);
        EXPECT_EQ(valid, sentences % k != 0) << "k=" << k << " sentence " << sentences;
        bad += valid ? 0 : 1;
        // Still a well-formed sentence with upper-case digits: only the value is wrong.
        const size_t star = l.find('*');
        ASSERT_NE(star, std::string::npos);
        for (size_t i = star + 1; i < star + 3; ++i) {
          EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(l[i])) ||
                      (l[i] >= 'A' && l[i] <= 'F'));
        }
      }
    }
    EXPECT_EQ(bad, sentences / k);
    rx.Faults().Set(sim::Fault::kBadChecksum, false);
    EXPECT_EQ(CountInvalid(rx.Cycle()), 0);
  }
}

TEST(SimFaults, OneShotFaultsHitOnlyTheNextCycle) {
  const sim::Fault faults[] = {sim::Fault::kBadChecksum, sim::Fault::kNulBytes,
                               sim::Fault::kGarbage,     sim::Fault::kOtherTalkers,
                               sim::Fault::kLongField,   sim::Fault::kSplitWrite};
  for (sim::Fault f : faults) {
    SCOPED_TRACE(std::string(sim::FaultName(f)));
    sim::SimReceiver rx, clean;
    rx.Faults().Once(f);
    const std::vector<std::string> first = rx.CycleWrites();
    const std::string first_clean = clean.Cycle();
    EXPECT_FALSE(first.size() == 1 && first[0] == first_clean) << "fault had no effect";
    if (f == sim::Fault::kBadChecksum) {
      EXPECT_EQ(CountInvalid(Join(first)), 1);
    }
    const std::vector<std::string> second = rx.CycleWrites();
    EXPECT_EQ(second.size(), 1u);
    EXPECT_EQ(Join(second), clean.Cycle());
  }
}

TEST(SimFaults, SplitWriteCutsOneSentenceAcrossTwoWrites) {
  {
    sim::SimReceiver rx;
    rx.Faults().SetSplitAt(10);
    rx.Faults().Set(sim::Fault::kSplitWrite, true);
    const auto writes = rx.CycleWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].size(), 10u);
    std::string clean;
    for (const std::string& s : rx.LastEpoch().sentences) clean += s;
    EXPECT_EQ(writes[0] + writes[1], clean);
  }
  sim::SimReceiver rx;
  rx.Faults().Set(sim::Fault::kSplitWrite, true);
  for (int c = 0; c < 30; ++c) {
    const auto writes = rx.CycleWrites();
    ASSERT_EQ(writes.size(), 2u);
    std::string clean;
    std::vector<size_t> boundaries = {0};
    for (const std::string& s : rx.LastEpoch().sentences) {
      clean += s;
      boundaries.push_back(clean.size());
    }
    EXPECT_EQ(writes[0] + writes[1], clean);
    // The cut falls inside a sentence, never between two.
    EXPECT_EQ(std::count(boundaries.begin(), boundaries.end(), writes[0].size()), 0);
  }
}

TEST(SimFaults, StreamFaultsAddOnlyWhatTheySay) {
  const struct {
    sim::Fault fault;
    // Checks the bytes left once the clean sentences are taken out.
    bool (*residue_ok)(const std::string&);
  } cases[] = {
      {sim::Fault::kGarbage,
       [](const std::string& r) {
         return r.size() >= 8 && r.size() <= 32 && r.find('$') == std::string::npos &&
                r.find('\0') == std::string::npos;
       }},
      {sim::Fault::kOtherTalkers,
       [](const std::string& r) {
         const auto lines = Lines(r);
         return lines.size() == 2 && lines[0].starts_with("$BDGSA,") &&
                lines[1].starts_with("$GLGSV,") && ValidLine(lines[0]) && ValidLine(lines[1]);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(sim::FaultName(c.fault)));
    sim::SimReceiver rx;
    rx.Faults().Set(c.fault, true);
    for (int i = 0; i < 20; ++i) {
      const std::string stream = rx.Cycle();
      const std::string residue = Residue(stream, rx.LastEpoch().sentences);
      EXPECT_TRUE(c.residue_ok(residue))
          << "cycle " << i << ": residue of " << residue.size() << " bytes";
    }
  }
}

TEST(SimFaults, NulCanLandInsideASentence) {
  sim::SimReceiver rx;
  rx.Faults().Set(sim::Fault::kNulBytes, true);
  int inside = 0;
  for (int i = 0; i < 20; ++i) {
    const std::string stream = rx.Cycle();
    ASSERT_EQ(std::count(stream.begin(), stream.end(), '\0'), 1);
    std::string without = stream;
    without.erase(without.find('\0'), 1);
    std::string clean;
    for (const std::string& s : rx.LastEpoch().sentences) clean += s;
    EXPECT_EQ(without, clean);
    if (CountInvalid(stream) == 1) ++inside;
  }
  EXPECT_GT(inside, 0);
}

TEST(SimFaults, LongFieldHasFortyDigitsAndAValidChecksum) {
  sim::SimReceiver rx;
  rx.Faults().Set(sim::Fault::kLongField, true);
  const auto lines = Lines(rx.Cycle());
  int long_fields = 0;
  for (const std::string& l : lines) {
    EXPECT_TRUE(ValidLine(l)) << l;
    for (const std::string& f : simtest::Fields(l)) {
      if (f.size() >= 40) {
        ++long_fields;
        EXPECT_EQ(f.size(), 40u);
        EXPECT_TRUE(
            std::all_of(f.begin(), f.end(), [](char ch) { return ch >= '0' && ch <= '9'; }));
        EXPECT_TRUE(l.starts_with("$GP"));
      }
    }
  }
  EXPECT_EQ(long_fields, 1);
  EXPECT_EQ(lines.size(), rx.LastEpoch().sentences.size());
}

TEST(SimFaults, LowerCaseChecksumDigits) {
  sim::SimReceiver rx;
  rx.Faults().Set(sim::Fault::kLowerCaseChecksum, true);
  int lowered = 0;
  for (int i = 0; i < 3; ++i) {
    const auto lines = Lines(rx.Cycle());
    const auto& clean = rx.LastEpoch().sentences;
    ASSERT_EQ(lines.size(), clean.size());
    for (size_t j = 0; j < lines.size(); ++j) {
      std::string upper = lines[j];
      std::transform(upper.begin() + static_cast<std::ptrdiff_t>(upper.find('*')), upper.end(),
                     upper.begin() + static_cast<std::ptrdiff_t>(upper.find('*')),
                     [](char ch) { return static_cast<char>(std::toupper(ch)); });
      EXPECT_EQ(upper, clean[j]);
      const std::string digits = lines[j].substr(lines[j].find('*') + 1, 2);
      EXPECT_TRUE(std::none_of(digits.begin(), digits.end(),
                               [](char ch) { return ch >= 'A' && ch <= 'F'; }));
      if (lines[j] != clean[j]) {
        ++lowered;
        EXPECT_FALSE(ValidLine(lines[j]));
      }
    }
  }
  EXPECT_GT(lowered, 0);
}

TEST(SimFaults, SameSeedSameFaults) {
  sim::SimReceiver a, b;
  for (auto* rx : {&a, &b}) {
    rx->Faults().SetSeed(99);
    rx->Faults().Set(sim::Fault::kGarbage, true);
    rx->Faults().Set(sim::Fault::kNulBytes, true);
    rx->Faults().Set(sim::Fault::kSplitWrite, true);
  }
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a.CycleWrites(), b.CycleWrites());
}

}  // namespace
