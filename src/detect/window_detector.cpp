#include "detect/window_detector.h"

#include <algorithm>
#include <utility>

#include "base/diagnostic_log.h"
#include "detect/window_test.h"

using namespace platform;

namespace {

template <typename List>
bool containsHandle(const List& list, Hwnd hwnd) {
  return std::any_of(list.begin(), list.end(),
                     [hwnd](const WindowEntry& entry) { return entry.hwnd == hwnd; });
}

}  // namespace

WindowDetector::WindowDetector(const Ports& ports, DetectorHost& host)
    : windows_(ports.windows), dwm_(ports.dwm), host_(host), processNames_(ports.processes) {}

void WindowDetector::start() {
  host_.setDetectorTimer(kTimerId, kPeriod);
}

void WindowDetector::onTimer(uintptr_t id) {
  if (id == kTimerId) tick();
}

void WindowDetector::tick() {
  host_.killDetectorTimer(kTimerId);
  if (!suspended_ && !stopped_) scan();
  // The period runs from the end of this tick's work; ticks never overlap.
  if (!stopped_) host_.setDetectorTimer(kTimerId, kPeriod);
}

void WindowDetector::stop() {
  stopped_ = true;
  host_.killDetectorTimer(kTimerId);
}

void WindowDetector::scan() {
  const std::vector<Hwnd> present = windows_.enumWindows();
  processNames_.keepOnly(present);
  verdicts_.keepOnly(present);
  std::vector<WindowEntry> scanned;
  for (Hwnd window : present) {
    WindowEntry entry;
    const WindowVerdict verdict =
        testWindow(windows_, processNames_, dwm_, window, ownPage_, entry);
    if (verdict == WindowVerdict::Accepted) {
      scanned.push_back(std::move(entry));
    } else {
      verdicts_.note(window, verdict);
    }
  }
  compare(std::move(scanned));
}

void WindowDetector::compare(std::vector<WindowEntry> scanned) {
  // The lists are settled before any listener hears of them: whatever a listener does to
  // them (suspend, resume, forget) is not undone afterwards.
  std::vector<WindowEntry> removed;
  for (const WindowEntry& entry : knownList_) {
    if (!containsHandle(scanned, entry.hwnd)) removed.push_back(entry);
  }
  // A window that went before its turn is not handed over; new ones queue behind the others.
  std::erase_if(addedQueue_, [&scanned](const WindowEntry& entry) {
    return !containsHandle(scanned, entry.hwnd);
  });
  for (const WindowEntry& entry : scanned) {
    if (!containsHandle(knownList_, entry.hwnd) && !containsHandle(addedQueue_, entry.hwnd)) {
      addedQueue_.push_back(entry);
    }
  }
  knownList_ = std::move(scanned);
  knownListChanged();

  if (!removed.empty()) {
    for (CWinListListener* listener : listeners) listener->DelWindow(&removed);
  }
  handOver();  // after a suspend meanwhile, the queue is empty
}

void WindowDetector::handOver() {
  // Each listener gets the next window of the queue: with the one listener the program
  // registers, one window per tick, in scan order.
  for (CWinListListener* listener : listeners) {
    if (addedQueue_.empty()) break;
    std::vector<WindowEntry> one{std::move(addedQueue_.front())};
    addedQueue_.pop_front();
    const uint64_t suspensions = suspensions_;
    handingOver_ = one.front().hwnd;
    listener->AddWindow(&one);
    handingOver_ = {};
    if (suspensions_ != suspensions) {
      // Suspended while the listener took the window: it goes with the others.
      listener->DelWindow(&one);
      break;
    }
  }
}

void WindowDetector::goSuspend() {
  suspended_ = true;
  ++suspensions_;
  std::vector<WindowEntry> gone = std::exchange(knownList_, {});
  addedQueue_.clear();
  knownListChanged();
  const Hwnd handing = handingOver_;
  if (handing) std::erase_if(gone, [handing](const WindowEntry& e) { return e.hwnd == handing; });
  for (CWinListListener* listener : listeners) listener->DelWindow(&gone);
}

void WindowDetector::forget(const std::vector<Hwnd>& windows) {
  std::erase_if(knownList_, [&windows](const WindowEntry& entry) {
    return std::find(windows.begin(), windows.end(), entry.hwnd) != windows.end();
  });
  knownListChanged();
}

void WindowDetector::returnSuspend() {
  suspended_ = false;
  diag::print("WindowDetector::returnSuspend()\n");
}

void WindowDetector::knownListChanged() {
  for (DetectorObserver* observer : observers_) observer->knownListChanged();
}
