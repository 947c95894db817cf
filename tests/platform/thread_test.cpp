#include "platform/core/thread.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pthread.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/main_loop_pump.h"
#include "tests/support/blocked_thread.h"

using korvane_test::Describe;
using korvane_test::FnThread;
using korvane_test::MsSince;
using korvane_test::PumpUntil;
using korvane_test::WaitUntil;
using platform::TThread;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

std::unique_ptr<FnThread> Spawn(std::function<void(FnThread&)> body, bool suspended = false) {
  return std::unique_ptr<FnThread>(platform::NewThread<FnThread>(std::move(body), suspended));
}

class ThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    while (platform::CheckSynchronize(0)) {
    }
    platform::SetExceptionHandler([this](std::exception_ptr e) {
      reports.push_back(Describe(e));
      reportThreads.push_back(std::this_thread::get_id());
    });
  }
  void TearDown() override {
    platform::StopAllThreads();
    while (platform::CheckSynchronize(0)) {
    }
    platform::SetExceptionHandler(nullptr);
    platform::SetWakeMainThread(nullptr);
    EXPECT_EQ(platform::LiveThreadCount(), 0);
  }

  std::vector<std::string> reports;  // written on the window thread only
  std::vector<std::thread::id> reportThreads;
};

// Counts constructions and destructions, and which thread destroyed it.
struct Census {
  std::atomic<int> destroyed{0};
  std::atomic<int> destroyedElsewhere{0};
  std::atomic<int> stepsRun{0};
};

class CountedThread : public TThread {
 public:
  enum Kind { kReturn, kSynchronizeLoop, kWaitStop };
  CountedThread(Census& c, Kind kind) : TThread(false), census_(c), kind_(kind) {
    FreeOnTerminate = true;
  }
  ~CountedThread() override {
    if (!platform::IsMainThread()) census_.destroyedElsewhere++;
    census_.destroyed++;
  }

 protected:
  void Execute() override {
    switch (kind_) {
      case kReturn:
        return;
      case kSynchronizeLoop:
        while (!Terminated()) Synchronize([this] { census_.stepsRun++; });
        return;
      case kWaitStop:
        while (!Terminated()) {
          pollfd p{StopFd(), POLLIN, 0};
          poll(&p, 1, 1000);
        }
        return;
    }
  }

 private:
  Census& census_;
  Kind kind_;
};

TEST_F(ThreadTest, SynchronizeRunsTheStepOnTheWindowThreadWhileTheCallerWaits) {
  int before = 0, written = 0, seenInStep = -1, seenAfter = -1;
  std::thread::id stepThread;
  std::atomic<bool> passed{false};
  std::atomic<int> queued{0};
  std::atomic<pid_t> tid{0};
  platform::SetWakeMainThread([&] { queued++; });
  auto t = Spawn([&](FnThread& self) {
    tid = korvane_test::ThreadId();
    before = 7;
    self.Synchronize([&] {
      seenInStep = before;
      stepThread = std::this_thread::get_id();
      written = 42;
    });
    seenAfter = written;
    passed = true;
  });
  // Queued, and the caller asleep waiting for it.
  ASSERT_TRUE(WaitUntil([&] { return queued.load() == 1; }));
  ASSERT_TRUE(korvane_test::WaitUntilBlockedIn(tid, korvane_test::kFutexCalls));
  EXPECT_FALSE(passed) << "Synchronize returned before the window thread ran the step";
  ASSERT_TRUE(PumpUntil([&] { return passed.load(); }));
  t->WaitFor();
  EXPECT_EQ(seenInStep, 7);
  EXPECT_EQ(seenAfter, 42);
  EXPECT_EQ(stepThread, std::this_thread::get_id());
  EXPECT_TRUE(reports.empty());
}

TEST_F(ThreadTest, SynchronizeOnTheWindowThreadRunsTheStepInline) {
  auto t = Spawn([](FnThread&) {}, /*suspended=*/true);
  int order = 0, stepAt = -1;
  t->Synchronize([&] { stepAt = order++; });
  int afterAt = order++;
  EXPECT_EQ(stepAt, 0);
  EXPECT_EQ(afterAt, 1);
  // A throwing step is reported once it has returned; the caller goes on.
  t->Synchronize([] { throw std::runtime_error("inline boom"); });
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "inline boom");
  EXPECT_EQ(TThread::CurrentThread(), nullptr);
  EXPECT_FALSE(platform::CheckSynchronize(0)) << "an inline step must not be queued as well";
}

struct CancelCase {
  const char* name;
  int threads;
  bool terminateFromOtherThread;
};

TEST_F(ThreadTest, TerminateCancelsAPendingStepAndTheJoinIsQuick) {
  const CancelCase cases[] = {
      {"one thread, window terminates", 1, false},
      {"one thread, a third thread terminates", 1, true},
      {"fifty threads pending at once", 50, false},
  };
  for (const CancelCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::atomic<int> queued{0}, returned{0}, ran{0};
    platform::SetWakeMainThread([&] { queued++; });
    std::vector<std::unique_ptr<FnThread>> threads;
    for (int i = 0; i < c.threads; ++i) {
      threads.push_back(Spawn([&](FnThread& self) {
        self.Synchronize([&] { ran++; });
        returned++;
      }));
    }
    ASSERT_TRUE(WaitUntil([&] { return queued.load() == c.threads; }));
    EXPECT_EQ(returned.load(), 0);
    if (c.terminateFromOtherThread) {
      std::thread([&] {
        for (auto& t : threads) t->Terminate();
      }).join();
    } else {
      for (auto& t : threads) t->Terminate();
    }
    // Without the window pumping, only the cancel can release them.
    const bool released = WaitUntil([&] { return returned.load() == c.threads; });
    EXPECT_TRUE(released) << "Terminate left a thread waiting in Synchronize";
    if (!released) PumpUntil([&] { return returned.load() == c.threads; });  // to end the test
    for (auto& t : threads) t->WaitFor();
    EXPECT_FALSE(platform::CheckSynchronize(0)) << "a cancelled step stayed queued";
    EXPECT_EQ(ran.load(), 0);
    platform::SetWakeMainThread(nullptr);
  }
}

TEST_F(ThreadTest, SynchronizeAfterTerminateQueuesNothing) {
  bool ran = false;
  auto t = Spawn([&](FnThread& self) { self.Synchronize([&] { ran = true; }); }, true);
  t->Terminate();
  t->Start();
  t->WaitFor();
  EXPECT_TRUE(t->Finished());
  EXPECT_FALSE(platform::CheckSynchronize(0));
  EXPECT_FALSE(ran);
}

TEST_F(ThreadTest, ExceptionInAStepIsReportedAfterTheCallerIsReleased) {
  std::atomic<bool> releasedFirst{false}, secondRan{false};
  bool releasedWhenReported = false;
  platform::SetExceptionHandler([&](std::exception_ptr e) {
    releasedWhenReported = WaitUntil([&] { return releasedFirst.load(); }, 3000);
    reports.push_back(Describe(e));
    reportThreads.push_back(std::this_thread::get_id());
  });
  auto t = Spawn([&](FnThread& self) {
    self.Synchronize([] { throw std::runtime_error("step boom"); });
    releasedFirst = true;
    self.Synchronize([&] { secondRan = true; });
  });
  ASSERT_TRUE(PumpUntil([&] { return secondRan.load(); }));
  t->WaitFor();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "step boom");
  EXPECT_EQ(reportThreads[0], std::this_thread::get_id());
  EXPECT_TRUE(releasedWhenReported) << "the handler ran while the step's caller still waited";
}

TEST_F(ThreadTest, ExceptionsFromExecuteAndPostedCallsReachTheHandlerOnTheWindowThread) {
  struct Case {
    const char* name;
    std::function<void()> thrower;
    std::string expected;
  };
  const Case cases[] = {
      {"std exception", [] { throw std::logic_error("execute boom"); }, "execute boom"},
      {"non-std exception", [] { throw 42; }, "(not a std::exception)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reports.clear();
    reportThreads.clear();
    // From Execute: the thread ends finished, the process lives.
    auto t = Spawn([&](FnThread&) { c.thrower(); });
    t->WaitFor();
    EXPECT_TRUE(t->Finished());
    ASSERT_TRUE(PumpUntil([&] { return reports.size() == 1; }));
    EXPECT_EQ(reports[0], c.expected);
    // From a posted call.
    TThread::Queue(c.thrower);
    bool after = false;
    TThread::Queue([&] { after = true; });
    ASSERT_TRUE(PumpUntil([&] { return reports.size() == 2 && after; }));
    EXPECT_EQ(reports[1], c.expected);
    for (auto id : reportThreads) EXPECT_EQ(id, std::this_thread::get_id());
  }
}

TEST_F(ThreadTest, DefaultHandlerPrintsTheMessage) {
  platform::SetExceptionHandler(nullptr);
  testing::internal::CaptureStderr();
  platform::ReportException(std::make_exception_ptr(std::runtime_error("printed boom")));
  platform::ReportException(std::make_exception_ptr(7));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("printed boom"), std::string::npos) << err;
  EXPECT_NE(err.find("unknown exception"), std::string::npos) << err;
}

TEST_F(ThreadTest, FreeOnTerminateThreadsAreDeletedByTheWindowThreadOnly) {
  Census census;
  constexpr int kThreads = 20;
  std::vector<TThread*> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.push_back(platform::NewThread<CountedThread>(census, CountedThread::kReturn));
  // All have ended, but none may free itself: only the window thread reaps.
  ASSERT_TRUE(WaitUntil([&] {
    for (TThread* t : threads)
      if (!t->Finished()) return false;
    return true;
  }));
  EXPECT_EQ(census.destroyed.load(), 0);
  EXPECT_EQ(platform::LiveThreadCount(), kThreads);
  ASSERT_TRUE(PumpUntil([&] { return census.destroyed.load() == kThreads; }));
  EXPECT_EQ(census.destroyedElsewhere.load(), 0);
  EXPECT_EQ(platform::LiveThreadCount(), 0);
}

TEST_F(ThreadTest, WaitForOnAFreeOnTerminateThreadBeforeItIsReaped) {
  Census census;
  auto* t = platform::NewThread<CountedThread>(census, CountedThread::kWaitStop);
  t->Terminate();
  t->WaitFor();
  EXPECT_TRUE(t->Finished());
  EXPECT_EQ(census.destroyed.load(), 0);
  ASSERT_TRUE(PumpUntil([&] { return census.destroyed.load() == 1; }));
}

TEST_F(ThreadTest, StopAllThreadsStopsJoinsAndFreesManyThreads) {
  Census census;
  constexpr int kThreads = 600;
  std::vector<TThread*> started;
  for (int i = 0; i < kThreads; ++i) {
    auto kind = static_cast<CountedThread::Kind>(i % 3);
    started.push_back(platform::NewThread<CountedThread>(census, kind));
  }
  // Some are told to stop early, from the window thread, while others are still starting.
  for (int i = 0; i < kThreads; i += 4) started[i]->Terminate();
  // A third of them block in Synchronize: the window thread must not deadlock joining them
  // (however long 600 starts and joins take on a busy machine).
  platform::StopAllThreads();
  EXPECT_EQ(census.destroyed.load(), kThreads);
  EXPECT_EQ(census.destroyedElsewhere.load(), 0);
  EXPECT_EQ(platform::LiveThreadCount(), 0);
  EXPECT_FALSE(platform::CheckSynchronize(0)) << "cancelled steps were left queued";
  EXPECT_EQ(census.stepsRun.load(), 0);
}

TEST_F(ThreadTest, StopAllThreadsWhileTheWindowPumps) {
  Census census;
  constexpr int kThreads = 200;
  for (int i = 0; i < kThreads; ++i)
    platform::NewThread<CountedThread>(census, CountedThread::kSynchronizeLoop);
  ASSERT_TRUE(PumpUntil([&] { return census.stepsRun.load() >= kThreads; }));
  platform::StopAllThreads();
  EXPECT_EQ(census.destroyed.load(), kThreads);
  EXPECT_EQ(platform::LiveThreadCount(), 0);
}

TEST_F(ThreadTest, StopAllThreadsCopesWithThreadsThatOwnThreads) {
  // Each outer thread deletes its inner one on the way out, while StopAllThreads joins both.
  constexpr int kPairs = 16;
  std::atomic<int> innersStarted{0};
  std::vector<std::unique_ptr<FnThread>> outers;
  for (int i = 0; i < kPairs; ++i) {
    outers.push_back(Spawn([&](FnThread& self) {
      auto inner = Spawn([&](FnThread& in) {
        innersStarted++;
        pollfd p{in.StopFd(), POLLIN, 0};
        while (!in.Terminated()) poll(&p, 1, 1000);
      });
      pollfd p{self.StopFd(), POLLIN, 0};
      while (!self.Terminated()) poll(&p, 1, 1000);
    }));
  }
  ASSERT_TRUE(WaitUntil([&] { return innersStarted.load() == kPairs; }));
  EXPECT_EQ(platform::LiveThreadCount(), 2 * kPairs);
  platform::StopAllThreads();
  EXPECT_EQ(platform::LiveThreadCount(), kPairs) << "only the outers, owned by the test, remain";
  for (auto& o : outers) EXPECT_TRUE(o->Finished());
  outers.clear();
  EXPECT_EQ(platform::LiveThreadCount(), 0);
}

// Execute must see the object as the most-derived constructor left it.
class SlowBuiltThread : public TThread {
 public:
  explicit SlowBuiltThread(bool suspended) : TThread(suspended), table_(1000, 7) {
    std::this_thread::sleep_for(30ms);
    marker_ = 1234;
  }
  ~SlowBuiltThread() override {
    Terminate();
    WaitFor();
  }
  std::atomic<bool> ran{false};
  int seenMarker = 0;
  int seenSum = 0;

 protected:
  void Execute() override {
    seenMarker = marker_;
    for (int v : table_) seenSum += v;
    ran = true;
  }

 private:
  std::vector<int> table_;
  int marker_ = 0;
};

TEST_F(ThreadTest, ThreadStartsOnlyAfterConstructionOrStart) {
  for (bool suspended : {false, true}) {
    SCOPED_TRACE(suspended ? "suspended" : "running");
    std::unique_ptr<SlowBuiltThread> t(platform::NewThread<SlowBuiltThread>(suspended));
    if (suspended) {
      std::this_thread::sleep_for(50ms);
      EXPECT_FALSE(t->ran.load()) << "a suspended thread ran before Start";
      t->WaitFor();  // not started: returns at once
      t->Start();
      t->Start();
    }
    t->WaitFor();
    EXPECT_TRUE(t->ran.load());
    EXPECT_EQ(t->seenMarker, 1234);
    EXPECT_EQ(t->seenSum, 7000);
  }
}

TEST_F(ThreadTest, CurrentThreadNameAndSelfWait) {
  TThread* seenCurrent = nullptr;
  std::string name;
  bool selfWaitReturned = false;
  auto t = Spawn([&](FnThread& self) {
    seenCurrent = TThread::CurrentThread();
    FnThread::NameThreadForDebugger("NMEAThreadWithALongName");
    char buf[32] = {};
    pthread_getname_np(pthread_self(), buf, sizeof buf);
    name = buf;
    self.WaitFor();
    selfWaitReturned = true;
  });
  t->WaitFor();
  EXPECT_EQ(seenCurrent, t.get());
  EXPECT_EQ(name, "NMEAThreadWithA");
  EXPECT_TRUE(selfWaitReturned);
  EXPECT_EQ(TThread::CurrentThread(), nullptr);
}

TEST_F(ThreadTest, StopFdBecomesReadableOnTerminate) {
  auto t = Spawn([](FnThread&) {}, true);
  ASSERT_GE(t->StopFd(), 0);
  pollfd p{t->StopFd(), POLLIN, 0};
  EXPECT_EQ(poll(&p, 1, 0), 0);
  t->Terminate();
  t->Terminate();
  EXPECT_TRUE(t->Terminated());
  // Level-triggered: stays readable for every later wait.
  for (int i = 0; i < 2; ++i) {
    p.revents = 0;
    EXPECT_EQ(poll(&p, 1, 0), 1);
  }
}

TEST_F(ThreadTest, PostedCallsRunInOrderOnTheWindowThreadOnly) {
  std::vector<int> order;
  std::vector<std::thread::id> where;
  std::thread poster([&] {
    for (int i = 0; i < 100; ++i)
      TThread::Queue([&, i] {
        order.push_back(i);
        where.push_back(std::this_thread::get_id());
      });
    // Not the window thread: runs nothing.
    EXPECT_FALSE(platform::CheckSynchronize(0));
  });
  poster.join();
  EXPECT_TRUE(order.empty());
  ASSERT_TRUE(PumpUntil([&] { return order.size() == 100; }));
  for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
  for (auto id : where) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST_F(ThreadTest, CheckSynchronizeWaitsForTheFirstItemOnly) {
  auto t0 = Clock::now();
  EXPECT_FALSE(platform::CheckSynchronize(60));
  EXPECT_GE(MsSince(t0), 55);

  bool ran = false;
  std::thread poster([&] {
    std::this_thread::sleep_for(30ms);
    TThread::Queue([&] { ran = true; });
  });
  t0 = Clock::now();
  EXPECT_TRUE(platform::CheckSynchronize(5000));
  EXPECT_LT(MsSince(t0), 4000);
  EXPECT_TRUE(ran);
  poster.join();
}

TEST_F(ThreadTest, APostedCallThatRepostsItselfDoesNotHoldTheWindow) {
  int runs = 0;
  std::function<void()> again = [&] {
    if (++runs < 3) TThread::Queue(again);
  };
  TThread::Queue(again);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_TRUE(platform::CheckSynchronize(0));
    EXPECT_EQ(runs, i);
  }
  EXPECT_FALSE(platform::CheckSynchronize(0));
  EXPECT_EQ(runs, 3);
}

TEST_F(ThreadTest, SleepOnTheWindowThreadRunsNothing) {
  bool ran = false;
  std::thread([&] { TThread::Queue([&] { ran = true; }); }).join();
  const auto t0 = Clock::now();
  platform::Sleep(40);
  EXPECT_GE(MsSince(t0), 35);
  platform::Sleep(0);
  EXPECT_FALSE(ran);
  EXPECT_TRUE(platform::CheckSynchronize(0));
  EXPECT_TRUE(ran);
}

TEST_F(ThreadTest, SetMainThreadMovesTheWindowRole) {
  bool ran = false, otherIsMain = false, otherRan = false;
  std::thread other([&] {
    platform::SetMainThread();
    otherIsMain = platform::IsMainThread();
    TThread::Queue([&] { ran = true; });
    otherRan = platform::CheckSynchronize(0);
  });
  other.join();
  EXPECT_FALSE(platform::IsMainThread());
  EXPECT_FALSE(platform::CheckSynchronize(0));
  platform::SetMainThread();
  EXPECT_TRUE(platform::IsMainThread());
  EXPECT_TRUE(otherIsMain);
  EXPECT_TRUE(otherRan);
  EXPECT_TRUE(ran);
}

}  // namespace
