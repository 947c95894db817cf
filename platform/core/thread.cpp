#include "platform/core/thread.h"

#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <deque>
#include <memory>
#include <unordered_set>
#include <vector>

#include "platform/core/line_trace.h"

namespace platform {

namespace {

thread_local TThread* tlsCurrent = nullptr;

std::atomic<std::thread::id>& MainId() {
  static std::atomic<std::thread::id> id{std::this_thread::get_id()};
  return id;
}
// Static initialisation runs on the thread that starts the process.
[[maybe_unused]] const bool kMainRecorded = (MainId(), true);

enum class StepState { Pending, Running, Done, Cancelled };

struct Item {
  std::function<void()> fn;
  TThread* owner = nullptr;  // the waiting thread; null for posted calls
  StepState state = StepState::Pending;
};

struct MainQueue {
  std::mutex m;
  std::condition_variable arrived;  // the window thread waits for work
  std::condition_variable settled;  // Synchronize callers wait for their item
  std::deque<std::shared_ptr<Item>> items;
  bool threadFinished = false;  // a thread ended since the last reap
  std::function<void()> wake;
  std::function<void(std::exception_ptr)> handler;
};

// Never destroyed: threads still running at exit must not meet a destroyed queue.
MainQueue& Q() {
  static MainQueue* q = new MainQueue;
  return *q;
}

void PrintException(std::exception_ptr e) {
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& x) {
    std::fprintf(stderr, "%s\n", x.what());
  } catch (...) {
    std::fprintf(stderr, "unknown exception\n");
  }
}

void CallWake(const std::function<void()>& wake) {
  if (!wake) return;
  try {
    wake();
  } catch (...) {
    // The item is queued either way; the next CheckSynchronize runs it.
  }
}

// Returns false (and queues nothing) when owner is set and already terminated; checked under the
// queue lock so that a concurrent Terminate either sees the item or is seen here.
bool Enqueue(const std::shared_ptr<Item>& item) {
  auto& q = Q();
  std::function<void()> wake;
  {
    std::lock_guard lk(q.m);
    if (item->owner && item->owner->Terminated()) return false;
    q.items.push_back(item);
    wake = q.wake;
  }
  q.arrived.notify_all();
  CallWake(wake);
  return true;
}

void CancelPendingSteps(const TThread* owner) {
  auto& q = Q();
  bool any = false;
  {
    std::lock_guard lk(q.m);
    for (auto it = q.items.begin(); it != q.items.end();) {
      if ((*it)->owner == owner) {
        (*it)->state = StepState::Cancelled;
        it = q.items.erase(it);
        any = true;
      } else {
        ++it;
      }
    }
  }
  if (any) q.settled.notify_all();
}

void NoteThreadFinished() {
  auto& q = Q();
  std::function<void()> wake;
  {
    std::lock_guard lk(q.m);
    q.threadFinished = true;
    wake = q.wake;
  }
  q.arrived.notify_all();
  CallWake(wake);
}

}  // namespace

// The set of live TThread objects, and the window thread's reaping and shutdown.
struct ThreadRegistry {
  std::mutex m;
  std::condition_variable unpinned;
  std::unordered_set<TThread*> live;

  static ThreadRegistry& Get() {
    static ThreadRegistry* r = new ThreadRegistry;
    return *r;
  }

  static void Add(TThread* t) {
    auto& r = Get();
    std::lock_guard lk(r.m);
    r.live.insert(t);
  }

  // Waits while StopAllThreads is still joining t.
  static void Remove(TThread* t) {
    auto& r = Get();
    std::unique_lock lk(r.m);
    r.unpinned.wait(lk, [&] { return t->pins_ == 0; });
    r.live.erase(t);
  }

  static bool NeedsJoin(TThread* t) {
    std::lock_guard lk(t->joinMutex_);
    return t->thread_.joinable() || t->joining_;
  }

  // Window thread only, so a thread it reaps cannot be inside someone's WaitFor from here.
  static void ReapFinished() {
    auto& r = Get();
    std::vector<TThread*> dead;
    {
      std::lock_guard lk(r.m);
      for (auto it = r.live.begin(); it != r.live.end();) {
        TThread* t = *it;
        if (t->pins_ == 0 && t->Finished() && t->FreeOnTerminate.load()) {
          dead.push_back(t);
          it = r.live.erase(it);
        } else {
          ++it;
        }
      }
    }
    for (TThread* t : dead) {
      t->WaitFor();
      delete t;
    }
  }

  static void StopAll() {
    auto& r = Get();
    // Threads may start others while we join: go round until every started one is joined.
    for (;;) {
      std::vector<TThread*> batch;
      {
        std::lock_guard lk(r.m);
        for (TThread* t : r.live) {
          t->Terminate();
          if (t->started_.load() && NeedsJoin(t)) batch.push_back(t);
        }
      }
      if (batch.empty()) break;
      // One pin at a time: a thread that deletes another on its way out must not wait for us.
      for (TThread* t : batch) {
        {
          std::lock_guard lk(r.m);
          if (!r.live.count(t)) continue;  // its owner deleted it meanwhile
          ++t->pins_;
        }
        t->WaitFor();
        {
          std::lock_guard lk(r.m);
          --t->pins_;
        }
        r.unpinned.notify_all();
      }
    }
    ReapFinished();
  }
};

TThread::TThread(bool CreateSuspended) : createSuspended_(CreateSuspended) {
  stopFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  ThreadRegistry::Add(this);
}

TThread::~TThread() {
  Terminate();
  WaitFor();
  ThreadRegistry::Remove(this);
  if (stopFd_ >= 0) close(stopFd_);
}

void TThread::AfterConstruction() {
  if (!createSuspended_) Start();
}

void TThread::Start() {
  std::lock_guard lk(joinMutex_);
  if (started_.load()) return;
  started_.store(true);
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (...) {
    started_.store(false);
    throw;
  }
}

void TThread::Run() {
  tlsCurrent = this;
  try {
    Execute();
  } catch (...) {
    ReportException(std::current_exception());
  }
  tlsCurrent = nullptr;
  // From here the window thread may join and delete this object: touch no member after it.
  finished_.store(true, std::memory_order_release);
  NoteThreadFinished();
}

void TThread::Terminate() {
  terminated_.store(true, std::memory_order_release);
  CancelPendingSteps(this);
  if (stopFd_ >= 0) {
    const std::uint64_t one = 1;
    if (write(stopFd_, &one, sizeof one) < 0) {
      // Only EAGAIN at a counter near 2^64: the fd is readable already.
    }
  }
}

void TThread::WaitFor() {
  if (tlsCurrent == this) return;
  std::unique_lock lk(joinMutex_);
  joinDone_.wait(lk, [&] { return !joining_; });
  if (!thread_.joinable()) return;
  std::thread t = std::move(thread_);
  joining_ = true;
  lk.unlock();
  t.join();
  lk.lock();
  joining_ = false;
  lk.unlock();
  joinDone_.notify_all();
}

TThread* TThread::CurrentThread() {
  return tlsCurrent;
}

void TThread::NameThreadForDebugger(const std::string& name) {
  pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
}

void TThread::Synchronize(const std::function<void()>& step) {
  if (!step) return;
  if (IsMainThread()) {
    try {
      step();
    } catch (...) {
      ReportException(std::current_exception());
    }
    return;
  }
  if (Terminated()) return;
  auto item = std::make_shared<Item>();
  item->fn = step;
  item->owner = this;
  if (!Enqueue(item)) return;
  auto& q = Q();
  std::unique_lock lk(q.m);
  q.settled.wait(
      lk, [&] { return item->state == StepState::Done || item->state == StepState::Cancelled; });
}

void TThread::Synchronize(std::initializer_list<std::function<void()>> steps) {
  bool any = false;
  for (const auto& step : steps) any = any || static_cast<bool>(step);
  if (!any) return;
  // The list outlives the hand-over: Synchronize returns only once the step has run or has
  // been cancelled before it started.
  Synchronize([&steps] {
    for (const auto& step : steps) {
      if (!step) continue;
      try {
        step();
      } catch (...) {
        Queue([e = std::current_exception()] { ReportException(e); });
      }
    }
  });
}

void TThread::Queue(std::function<void()> fn) {
  if (!fn) return;
  auto item = std::make_shared<Item>();
  item->fn = std::move(fn);
  Enqueue(item);
}

bool IsMainThread() {
  return MainId().load() == std::this_thread::get_id();
}

void SetMainThread() {
  MainId().store(std::this_thread::get_id());
}

bool CheckSynchronize(int timeoutMs) {
  if (!IsMainThread()) return false;
  auto& q = Q();
  bool ran = false;
  std::unique_lock lk(q.m);
  if (q.items.empty() && !q.threadFinished && timeoutMs > 0) {
    q.arrived.wait_for(lk, std::chrono::milliseconds(timeoutMs),
                       [&] { return !q.items.empty() || q.threadFinished; });
  }
  // Only what is queued now: a call that keeps re-posting itself cannot hold the window here.
  for (std::size_t n = q.items.size(); n > 0 && !q.items.empty(); --n) {
    std::shared_ptr<Item> item = q.items.front();
    q.items.pop_front();
    item->state = StepState::Running;
    lk.unlock();
    std::exception_ptr error;
    try {
      item->fn();
    } catch (...) {
      error = std::current_exception();
    }
    item->fn = nullptr;  // release captures on this thread
    lk.lock();
    item->state = StepState::Done;
    q.settled.notify_all();
    ran = true;
    if (error) {
      lk.unlock();
      ReportException(error);
      lk.lock();
    }
  }
  const bool reap = q.threadFinished;
  q.threadFinished = false;
  lk.unlock();
  if (reap) ThreadRegistry::ReapFinished();
  return ran;
}

void SetWakeMainThread(std::function<void()> wake) {
  auto& q = Q();
  std::lock_guard lk(q.m);
  q.wake = std::move(wake);
}

void SetExceptionHandler(std::function<void(std::exception_ptr)> handler) {
  auto& q = Q();
  std::lock_guard lk(q.m);
  q.handler = std::move(handler);
}

void ReportException(std::exception_ptr e) {
  if (!e) return;
  if (!IsMainThread()) {
    TThread::Queue([e] { ReportException(e); });
    return;
  }
  std::function<void(std::exception_ptr)> handler;
  {
    auto& q = Q();
    std::lock_guard lk(q.m);
    handler = q.handler;
  }
  if (!handler) {
    PrintException(e);
    return;
  }
  try {
    handler(e);
  } catch (...) {
    PrintException(std::current_exception());
  }
}

void StopAllThreads() {
  if (!IsMainThread()) return;
  ThreadRegistry::StopAll();
}

int LiveThreadCount() {
  auto& r = ThreadRegistry::Get();
  std::lock_guard lk(r.m);
  return static_cast<int>(r.live.size());
}

void Sleep(std::uint32_t ms) {
  TraceLine(LineEvent::kSleep, {}, ms);
  if (ms == 0) {
    std::this_thread::yield();
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
}

}  // namespace platform
