#include "detect/win_list_dlg.h"

#include <algorithm>

#include "base/diagnostic_log.h"
#include "detect/window_test.h"
#include "res/dialogs.h"

using namespace platform;

namespace {

bool containsHandle(const std::vector<WindowEntry>& list, Hwnd hwnd) {
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
  if (!suspended_) {
    if (!addedQueue_.empty()) {
      handOver();
    } else {
      scan();
    }
  }
  // The period runs from the end of this tick's work; ticks never overlap.
  setTimer(kTimerId, kPeriod);
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
  for (Hwnd window : present) {
    WindowEntry entry;
    if (testWindow(wm, processNames_, dwm_, window, hwnd(), entry) !=
        WindowVerdict::Accepted) {
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
  addedQueue_.clear();
  for (const WindowEntry& entry : scanList_) {
    if (!containsHandle(knownList_, entry.hwnd)) addedQueue_.push_back(entry);
  }
  removedList_.clear();
  for (const WindowEntry& entry : knownList_) {
    if (!containsHandle(scanList_, entry.hwnd)) removedList_.push_back(entry);
  }
  if (!removedList_.empty()) {
    for (CWinListListener* listener : listeners) listener->DelWindow(&removedList_);
  }
  if (!addedQueue_.empty()) {
    nextAdded_ = 0;
    handOver();
  }
  knownList_ = scanList_;
  scanList_.clear();
}

void CWinListDlg::handOver() {
  // Each listener gets the next window of the queue: with the one listener the program
  // registers, one window per tick, in scan order.
  for (CWinListListener* listener : listeners) {
    if (nextAdded_ >= addedQueue_.size()) break;  // a listener suspended detection
    oneList_.clear();
    oneList_.push_back(addedQueue_[nextAdded_]);
    listener->AddWindow(&oneList_);
    ++nextAdded_;
    if (nextAdded_ >= addedQueue_.size()) {
      addedQueue_.clear();
      nextAdded_ = 0;
      break;
    }
  }
}

void CWinListDlg::goSuspend() {
  suspended_ = true;
  for (CWinListListener* listener : listeners) listener->DelWindow(&knownList_);
  knownList_.clear();
  addedQueue_.clear();
  nextAdded_ = 0;
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
