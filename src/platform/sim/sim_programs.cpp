// The simulated other programs: their processes, and how their threads answer.
#include "platform/sim/sim_programs.h"

#include <cctype>
#include <cstdio>
#include <utility>

#include "platform/sim/sim_texts.h"

namespace sim {

using namespace platform;

namespace {

// A thread that has not read its messages for this long counts as hung.
constexpr uint64_t kHungAfterMs = 5000;
// What a call that would never return costs here.
constexpr uint32_t kBlockedMs = 5000;

}  // namespace

SimPrograms::SimPrograms(SimWindows& windows) : windows_(windows), clock_(windows.clock()) {
  processes_[windows_.ownProcessId] = {"ZENTA.exe", "C:\\Programs\\Quillmoor\\ZENTA.exe", true};
  windows_.setThreads(*this);
  windows_.listen(*this);
  clock_.beforeMoving = [this](uint64_t ms) { judgeEngines(ms); };
}

SimWindow* SimPrograms::foreign(Hwnd window) const {
  SimWindow* w = windows_.live(window);
  return w != nullptr && !w->own ? w : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Processes.

uint32_t SimPrograms::addProcess(std::string baseName, std::string imagePath, bool openable) {
  do {
    nextProcessId_ += 4;
  } while (processes_.count(nextProcessId_) != 0);
  processes_[nextProcessId_] = {std::move(baseName), std::move(imagePath), openable};
  return nextProcessId_;
}

bool SimPrograms::isImagePath(const std::string& path) const {
  for (const auto& [id, process] : processes_) {
    if (!process.imagePath.empty() && sameIgnoringCase(process.imagePath, path)) return true;
  }
  return false;
}

std::string SimPrograms::baseName(Dword processId) {
  ++windows_.portCalls;
  ++baseNameQueries;
  auto found = processes_.find(processId);
  return found != processes_.end() && found->second.openable ? found->second.baseName : "";
}

std::string SimPrograms::imagePath(Dword processId) {
  ++windows_.portCalls;
  ++imagePathQueries;
  auto found = processes_.find(processId);
  return found != processes_.end() && found->second.openable ? found->second.imagePath : "";
}

// ---------------------------------------------------------------------------------------------
// How their threads answer.

bool SimPrograms::reaching() {
  if (beforeReaching) beforeReaching();
  return !processGone;
}

bool SimPrograms::hung(Hwnd window) const {
  const auto found = threads_.find(window.value);
  return found != threads_.end() && found->second.hung && foreign(window) != nullptr;
}

bool SimPrograms::hungLong(Hwnd window) {
  if (!hung(window)) return false;
  return clock_.wide() - threads_[window.value].hungSince >= kHungAfterMs;
}

void SimPrograms::blockedBy(Hwnd window, const char* call, const std::string& detail) {
  char handle[24];
  snprintf(handle, sizeof handle, "h%x", window.value);
  clock_.actions.push_back(std::string("BLOCKED ") + call + " " + handle +
                           (detail.empty() ? "" : " " + detail));
  clock_.elapse(kBlockedMs);
}

void SimPrograms::setHung(Hwnd window, bool hung) {
  if (foreign(window) == nullptr) return;
  Thread& t = threads_[window.value];
  if (hung && !t.hung) t.hungSince = clock_.wide();
  if (hung) t.busyUntil = 0;  // until told otherwise (setBusy sets the end)
  const bool freed = t.hung && !hung;
  t.hung = hung;
  if (freed) catchUp(window);
}

}  // namespace sim
