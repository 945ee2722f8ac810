// Changes to other programs' windows, made on a worker thread so that a program whose thread
// is busy cannot hold ours for more than a second.
#include "platform/win32/win32_platform.h"

#include <map>
#include <memory>

namespace win32 {

std::atomic<bool> crashModeOn{false};

namespace {

constexpr DWORD kGuardMs = 1000;

std::atomic<DWORD> crashThread{0};
// Workers started and not yet done: the crash filter lets them land first.
std::atomic<int> workersRunning{0};

[[noreturn]] void stopHere() {
  for (;;) Sleep(INFINITE);
}

struct Job {
  std::function<uintptr_t()> call;
  HWND window = nullptr;
  HANDLE done = nullptr;
  uintptr_t result = 0;
  DWORD error = 0;
  ~Job() {
    if (done != nullptr) CloseHandle(done);
  }
};

// The change still running on a worker for each window, shared with the workers. Never
// destroyed: a worker blocked in another program's call may return while the C runtime
// destroys the program's statics at exit.
struct Pending {
  SRWLOCK lock = SRWLOCK_INIT;
  std::map<HWND, std::shared_ptr<Job>> jobs;
};
Pending& pending() {
  static Pending* const all = new Pending;
  return *all;
}

// Registers `job` as the window's change; else the change already running, to wait for.
std::shared_ptr<Job> claim(const std::shared_ptr<Job>& job) {
  Pending& p = pending();
  AcquireSRWLockExclusive(&p.lock);
  std::shared_ptr<Job> running;
  const auto [it, claimed] = p.jobs.try_emplace(job->window, job);
  if (!claimed) running = it->second;
  ReleaseSRWLockExclusive(&p.lock);
  return running;
}

void release(const Job& job) {
  Pending& p = pending();
  AcquireSRWLockExclusive(&p.lock);
  const auto it = p.jobs.find(job.window);
  if (it != p.jobs.end() && it->second.get() == &job) p.jobs.erase(it);
  ReleaseSRWLockExclusive(&p.lock);
}

DWORD WINAPI runJob(void* parameter) {
  // The worker and the waiting thread share the job: whichever lets go last frees it.
  const std::unique_ptr<std::shared_ptr<Job>> holder(static_cast<std::shared_ptr<Job>*>(parameter));
  Job& job = **holder;
  SetLastError(0);
  job.result = job.call();
  job.error = GetLastError();
  release(job);  // before the event: a change waiting for this one may go on at once
  SetEvent(job.done);
  --workersRunning;
  return 0;
}

// Not made within the bound: the caller tries again later.
uintptr_t notMade() {
  SetLastError(ERROR_TIMEOUT);
  return 0;
}

}  // namespace

bool enterCrashMode() {
  const DWORD self = GetCurrentThreadId();
  DWORD first = 0;
  if (!crashThread.compare_exchange_strong(first, self)) {
    if (first == self) return false;
    stopHere();
  }
  crashModeOn.store(true);
  // A worker's change landing after the filter's would undo it. One crashed on a worker waits
  // for itself the whole second.
  for (const DWORD start = GetTickCount();
       workersRunning.load() > 0 && GetTickCount() - start < kGuardMs;) {
    Sleep(10);
  }
  return true;
}

void stayOutOfTheCrash() {
  if (crashModeOn.load() && crashThread.load() != GetCurrentThreadId()) stopHere();
}

uintptr_t changeOnWorker(HWND window, std::function<uintptr_t()> call) {
  DWORD process = 0;
  // No window (the call fails by itself) or one of ours: nothing to wait for.
  if (GetWindowThreadProcessId(window, &process) == 0 || process == GetCurrentProcessId()) {
    return call();
  }
  const DWORD start = GetTickCount();
  const auto left = [start] {
    const DWORD spent = GetTickCount() - start;
    return spent < kGuardMs ? kGuardMs - spent : 0;
  };
  auto job = std::make_shared<Job>();
  job->call = std::move(call);
  job->window = window;
  job->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (job->done == nullptr) return notMade();
  // An earlier change still on its way goes first: it is waited for within this call's bound.
  for (std::shared_ptr<Job> running = claim(job); running != nullptr; running = claim(job)) {
    if (WaitForSingleObject(running->done, left()) != WAIT_OBJECT_0) return notMade();
  }
  auto* holder = new std::shared_ptr<Job>(job);
  ++workersRunning;
  HANDLE thread =
      CreateThread(nullptr, 64 * 1024, runJob, holder, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr) {
    // Nothing was made, and nothing will be: not a refusal by the window.
    --workersRunning;
    delete holder;
    release(*job);
    return notMade();
  }
  CloseHandle(thread);
  if (WaitForSingleObject(job->done, left()) != WAIT_OBJECT_0) return notMade();
  SetLastError(job->error);
  return job->result;
}

}  // namespace win32
