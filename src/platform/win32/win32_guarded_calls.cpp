// Changes to other programs' windows, made on a worker thread so that a program whose thread
// is busy cannot hold ours for more than a second.
#include "platform/win32/win32_platform.h"

#include <memory>
#include <set>

namespace win32 {

namespace {

constexpr DWORD kGuardMs = 1000;

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

// Windows with a change still running on a worker; shared with the workers.
SRWLOCK busyLock = SRWLOCK_INIT;
std::set<HWND>& busyWindows() {
  static std::set<HWND> windows;
  return windows;
}

bool markBusy(HWND window) {
  AcquireSRWLockExclusive(&busyLock);
  const bool inserted = busyWindows().insert(window).second;
  ReleaseSRWLockExclusive(&busyLock);
  return inserted;
}

void markFree(HWND window) {
  AcquireSRWLockExclusive(&busyLock);
  busyWindows().erase(window);
  ReleaseSRWLockExclusive(&busyLock);
}

DWORD WINAPI runJob(void* parameter) {
  // The worker and the waiting thread share the job: whichever lets go last frees it.
  const std::unique_ptr<std::shared_ptr<Job>> holder(static_cast<std::shared_ptr<Job>*>(parameter));
  Job& job = **holder;
  SetLastError(0);
  job.result = job.call();
  job.error = GetLastError();
  markFree(job.window);
  SetEvent(job.done);
  return 0;
}

}  // namespace

uintptr_t guardedChange(HWND window, std::function<uintptr_t()> call) {
  DWORD process = 0;
  // No window (the call fails by itself) or one of ours: nothing to wait for.
  if (GetWindowThreadProcessId(window, &process) == 0 || process == GetCurrentProcessId()) {
    return call();
  }
  if (!markBusy(window)) {
    SetLastError(ERROR_TIMEOUT);
    return 0;
  }
  auto job = std::make_shared<Job>();
  job->call = std::move(call);
  job->window = window;
  job->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  auto* holder = new std::shared_ptr<Job>(job);
  HANDLE thread = job->done == nullptr ? nullptr
                                       : CreateThread(nullptr, 64 * 1024, runJob, holder,
                                                      STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr) {
    const DWORD error = GetLastError();
    delete holder;
    markFree(window);
    SetLastError(error);
    return 0;
  }
  CloseHandle(thread);
  if (WaitForSingleObject(job->done, kGuardMs) != WAIT_OBJECT_0) {
    SetLastError(ERROR_TIMEOUT);
    return 0;
  }
  SetLastError(job->error);
  return job->result;
}

}  // namespace win32
