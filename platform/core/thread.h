// Threads with the shape of the component library's TThread, and the window thread's queue.
//
// The window thread is the thread that runs CheckSynchronize (the main thread of the process;
// SetMainThread may name another one, for tests). Synchronize hands a step to it and blocks
// the caller until it has run; Terminate cancels a step that has not started, so the window
// thread can always stop a thread and join it without deadlock. Steps that throw never
// propagate: the exception goes to the exception handler after the step has returned.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <string>
#include <thread>

namespace platform {

class TThread {
 public:
  // A thread created running starts in AfterConstruction, never inside a constructor, so
  // Execute always sees a fully built object. Use NewThread<T>(...) to get both.
  explicit TThread(bool CreateSuspended);
  // Terminates and joins. The derived part is gone by then, so an owner whose Execute uses
  // derived members calls Terminate and WaitFor first. Never deleted from its own Execute.
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  void AfterConstruction();
  // Starts a thread created suspended (no-op when already started).
  void Start();

  // Sets the stop request, cancels this thread's pending Synchronize step (it will not run)
  // and wakes any wait on StopFd. Safe from any thread, any number of times.
  void Terminate();
  bool Terminated() const { return terminated_.load(std::memory_order_acquire); }

  // Joins the thread (no-op when never started or already joined, or called on itself).
  void WaitFor();
  bool Finished() const { return finished_.load(std::memory_order_acquire); }

  // When set, the object is deleted after Execute returns: by the window thread, in
  // CheckSynchronize or StopAllThreads, never by the thread itself.
  std::atomic<bool> FreeOnTerminate{false};

  // A readable fd that becomes ready once Terminate has been called; for blocking waits.
  // -1 when the system had no fd to spare: waiters then poll Terminated() instead.
  int StopFd() const { return stopFd_; }

  // The TThread running the calling code, or nullptr on a thread not made by this class.
  static TThread* CurrentThread();

  // Runs step on the window thread and waits until it has run. On the window thread itself
  // the step runs at once. Returns without running it when the thread is (or becomes)
  // terminated before the step starts.
  void Synchronize(const std::function<void()>& step);
  // Several steps in one hand-over: they run in order, an empty one is skipped, and one that
  // throws does not keep the others from running (its exception is reported afterwards).
  void Synchronize(std::initializer_list<std::function<void()>> steps);
  // Posts fn to the window thread without waiting (runs in a later CheckSynchronize).
  static void Queue(std::function<void()> fn);

 protected:
  virtual void Execute() = 0;
  // Names the thread for debuggers and tools (at most 15 characters are kept).
  static void NameThreadForDebugger(const std::string& name);

 private:
  friend struct ThreadRegistry;
  void Run();

  std::thread thread_;
  std::mutex joinMutex_;  // guards thread_, joining_; never held across the join itself
  std::condition_variable joinDone_;
  bool joining_ = false;
  int pins_ = 0;  // StopAllThreads joins in progress; guarded by the registry lock
  std::atomic<bool> terminated_{false};
  std::atomic<bool> started_{false};
  std::atomic<bool> finished_{false};
  bool createSuspended_;
  int stopFd_ = -1;
};

template <class T, class... Args>
T* NewThread(Args&&... args) {
  T* t = new T(std::forward<Args>(args)...);
  try {
    t->AfterConstruction();
  } catch (...) {
    delete t;  // the OS refused a thread: nothing runs, nothing to reap
    throw;
  }
  return t;
}

// --- the window thread's side ---

bool IsMainThread();
// Names the calling thread as the window thread (default: the thread that started the process).
void SetMainThread();
// Runs every queued step and posted call, then deletes finished FreeOnTerminate threads.
// Waits up to timeoutMs for the first item when none is queued. Returns true when it ran any.
// Call on the window thread only.
bool CheckSynchronize(int timeoutMs = 0);
// Called (from any thread) whenever an item is queued: the GUI posts a CheckSynchronize call
// into its event loop. Default: none (tests call CheckSynchronize themselves).
void SetWakeMainThread(std::function<void()> wake);
// Receives exceptions escaping steps, posted calls and Execute. Runs on the window thread,
// after the step has returned. Default: prints what() to stderr.
void SetExceptionHandler(std::function<void(std::exception_ptr)> handler);
void ReportException(std::exception_ptr e);

// Shutdown: terminates every live thread, cancels their pending steps, joins them all and
// deletes those with FreeOnTerminate. Call on the window thread before destroying anything
// the threads touch, and not from inside a step. A thread never started stays with its owner.
void StopAllThreads();
int LiveThreadCount();

// The window thread's Sleep is a real sleep: no events, steps or timers run meanwhile.
// Sleep(0) yields.
void Sleep(std::uint32_t ms);

}  // namespace platform
