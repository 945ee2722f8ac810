#include "detect/win_list_dlg.h"

#include <algorithm>
#include <utility>

#include "base/diagnostic_log.h"
#include "detect/window_test.h"
#include "res/dialogs.h"

using namespace platform;

namespace {

template <typename List>
bool containsHandle(const List& list, Hwnd hwnd) {
  return std::any_of(list.begin(), list.end(),
                     [hwnd](const WindowEntry& entry) { return entry.hwnd == hwnd; });
}

}  // namespace

CWinListDlg::CWinListDlg(const Ports& ports)
    : ui::Dialog(ports, res::winListDialog()),
      listViews_(ports.listViews),
      dwm_(ports.dwm),
      processNames_(ports.processes) {}

bool CWinListDlg::onInitDialog() {
  ui::Dialog::onInitDialog();
  listView_.attach(listViews_, messages(), item(res::IDC_WINLIST));
  listView_.setExtendedStyle(LVS_EX_FULLROWSELECT);
  listView_.insertColumn(0, "Title", 150);
  listView_.insertColumn(1, "ProcessName", 100);
  setTimer(kTimerId, kPeriod);
  return true;
}

void CWinListDlg::onTimer(uintptr_t id) {
  if (id == kTimerId) tick();
}

void CWinListDlg::tick() {
  killTimer(kTimerId);
  if (!suspended_ && !stopped_) scan();
  // The period runs from the end of this tick's work; ticks never overlap.
  if (!stopped_) setTimer(kTimerId, kPeriod);
}

void CWinListDlg::stop() {
  stopped_ = true;
  killTimer(kTimerId);
}

void CWinListDlg::scan() {
  // The list shows the latest scan while the page is visible; hidden (always, but in debug
  // mode), it is emptied once and then left alone.
  const bool listed = isVisible();
  const bool touchList = listed || listView_.itemCount() > 0;
  if (touchList) {
    listView_.setRedraw(false);
    listView_.deleteAllItems();
  }
  Windows& wm = windows();
  const std::vector<Hwnd> present = wm.enumWindows();
  processNames_.keepOnly(present);
  verdicts_.keepOnly(present);
  for (Hwnd window : present) {
    WindowEntry entry;
    const WindowVerdict verdict = testWindow(wm, processNames_, dwm_, window, hwnd(), entry);
    if (verdict != WindowVerdict::Accepted) {
      verdicts_.note(window, verdict);
      continue;
    }
    if (listed) {
      const int32_t row = listView_.appendRow(entry.title);
      listView_.setItemText(row, 1, entry.processName);
    }
    scanList_.push_back(std::move(entry));
  }
  compare();
  if (touchList) listView_.setRedraw(true);
}

void CWinListDlg::compare() {
  // The lists are settled before any listener hears of them: whatever a listener does to
  // them (suspend, resume, forget) is not undone afterwards.
  std::vector<WindowEntry> removed;
  for (const WindowEntry& entry : knownList_) {
    if (!containsHandle(scanList_, entry.hwnd)) removed.push_back(entry);
  }
  // A window that went before its turn is not handed over; new ones queue behind the others.
  std::erase_if(addedQueue_, [this](const WindowEntry& entry) {
    return !containsHandle(scanList_, entry.hwnd);
  });
  for (const WindowEntry& entry : scanList_) {
    if (!containsHandle(knownList_, entry.hwnd) && !containsHandle(addedQueue_, entry.hwnd)) {
      addedQueue_.push_back(entry);
    }
  }
  knownList_ = std::move(scanList_);
  scanList_.clear();

  if (!removed.empty()) {
    for (CWinListListener* listener : listeners) listener->DelWindow(&removed);
  }
  handOver();  // after a suspend meanwhile, the queue is empty
}

void CWinListDlg::handOver() {
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

void CWinListDlg::goSuspend() {
  suspended_ = true;
  ++suspensions_;
  std::vector<WindowEntry> gone = std::exchange(knownList_, {});
  addedQueue_.clear();
  const Hwnd handing = handingOver_;
  if (handing) std::erase_if(gone, [handing](const WindowEntry& e) { return e.hwnd == handing; });
  for (CWinListListener* listener : listeners) listener->DelWindow(&gone);
}

void CWinListDlg::forget(const std::vector<Hwnd>& windows) {
  std::erase_if(knownList_, [&windows](const WindowEntry& entry) {
    return std::find(windows.begin(), windows.end(), entry.hwnd) != windows.end();
  });
}

void CWinListDlg::returnSuspend() {
  suspended_ = false;
  diag::print("CWinListDlg::returnSuspend()\n");
}
