// The controller's roster: admitting, closing, ordering and excluding previews.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

#include "base/diagnostic_log.h"
#include "controller/arrangement.h"
#include "controller/control_dlg.h"
#include "dialogs/limit_dlg.h"

using namespace platform;

namespace {

std::string handleText(Hwnd hwnd) {
  char text[16];
  snprintf(text, sizeof text, "0x%08x", hwnd.value);
  return text;
}

}  // namespace

int32_t CControlDlg::slotsInUse() const {
  int32_t count = 0;
  for (const ThumbnailSlot& slot : roster_) count += slot.inUse() ? 1 : 0;
  return count;
}

int32_t CControlDlg::findSlot(Hwnd hwnd) const {
  for (size_t i = 0; i < roster_.size(); ++i) {
    if (roster_[i].inUse() && roster_[i].window.hwnd == hwnd) return static_cast<int32_t>(i);
  }
  return -1;
}

Admission CControlDlg::entryWindow(const WindowEntry& record) {
  if ((windows().getWindowLong(record.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0) {
    return refuse(record, Admission::Layered);
  }
  if (slotsInUse() >= settings.limit) return refuse(record, Admission::OverLimit);
  if (limitPage_ != nullptr) {
    if (const std::optional<size_t> rule =
            limitPage_->matchingRule(record.title, record.processName)) {
      noteExcluded(record);
      return refuse(record, Admission::Excluded, static_cast<int32_t>(*rule));
    }
  }
  if (findSlot(record.hwnd) >= 0) return refuse(record, Admission::AlreadyShown);
  const auto isFree = [](const ThumbnailSlot& slot) { return !slot.inUse(); };
  auto free = std::find_if(roster_.begin(), roster_.end(), isFree);
  if (free == roster_.end()) return refuse(record, Admission::NoCell);
  // Making the preview may wait on the window (a probe) or show a message box, and whatever
  // runs meanwhile may re-arrange the roster or offer the same window: look again after.
  ui::Owned<Cthumbnail> preview =
      Cthumbnail::create(previewPorts_, environment_, settings, record.hwnd, record.title,
                         record.processName, free->slotRect, settings.opacityByte(), this);
  free = std::find_if(roster_.begin(), roster_.end(), isFree);
  if (!preview || findSlot(record.hwnd) >= 0 || free == roster_.end() ||
      slotsInUse() >= settings.limit) {
    // No window, or no place for it now: the window gets a preview if it is offered again.
    diag::print("Entry failed title=%s, handle=0x%08x\n", record.title.c_str(),
                record.hwnd.value);
    refreshList();
    return Admission::NoPreview;
  }
  std::erase_if(refusals_, [&record](const Refusal& r) { return r.hwnd == record.hwnd; });
  ThumbnailSlot& slot = *free;
  slot.thumbnail = std::move(preview);
  if (slot.thumbnail->slotRect() != slot.slotRect) slot.thumbnail->moveToSlot(slot.slotRect);
  if (!polling_) polling_ = setTimer(kPollTimer, kPollPeriod);
  slot.window = record;
  slot.window.imagePath = processes_.imagePath(record.processId);
  diag::print("Entry title=%s, handle=0x%08x\n", record.title.c_str(), record.hwnd.value);
  refreshList();
  return Admission::Admitted;
}

Admission CControlDlg::refuse(const WindowEntry& record, Admission why, int32_t rule) {
  // Once per window and reason: the same window offered again for the same answer adds
  // nothing to the log.
  const Refusal refusal{record.hwnd, why, rule};
  auto known = std::find_if(refusals_.begin(), refusals_.end(),
                            [&record](const Refusal& r) { return r.hwnd == record.hwnd; });
  if (known != refusals_.end() && *known == refusal) return why;
  if (known != refusals_.end()) {
    *known = refusal;
  } else {
    refusals_.push_back(refusal);
  }
  const char* title = record.title.c_str();
  if (why == Admission::Excluded) {
    diag::print("Entry refused (excluded by ITEM%d) title=%s, handle=0x%08x\n", rule, title,
                record.hwnd.value);
  } else if (why == Admission::OverLimit) {
    diag::print("Entry refused (LIMIT=%d reached) title=%s, handle=0x%08x\n", settings.limit, title,
                record.hwnd.value);
  } else {
    diag::print("Entry refused (%s) title=%s, handle=0x%08x\n", admissionText(why), title,
                record.hwnd.value);
  }
  return why;
}

void CControlDlg::removeWindow(const WindowEntry& record) {
  // A window that comes back is judged, and logged, afresh.
  std::erase_if(refusals_, [&record](const Refusal& r) { return r.hwnd == record.hwnd; });
  std::erase_if(excluded_, [&record](const WindowEntry& w) { return w.hwnd == record.hwnd; });
  const int32_t index = findSlot(record.hwnd);
  if (index >= 0) closeThumbnail(roster_[static_cast<size_t>(index)], ThumbState::ClosingAnimated);
  refreshList();
}

void CControlDlg::closeThumbnail(ThumbnailSlot& slot, ThumbState reason) {
  // The slot is free before the window goes: whatever runs meanwhile finds it free.
  ui::Owned<Cthumbnail> preview = std::move(slot.thumbnail);
  slot.window = {};
  if (preview) preview->close(reason);
}

void CControlDlg::closeAll() {
  // Out of the roster first: putting a target back waits on it, and the roster may be
  // looked at meanwhile.
  std::vector<ThumbnailSlot> closing = std::exchange(roster_, {});
  for (ThumbnailSlot& slot : closing) {
    if (slot.inUse()) closeThumbnail(slot, ThumbState::Closing);
  }
}

void CControlDlg::pollPreviews() {
  // By index: a poll may wait on its target, and the roster must be looked at afresh after.
  bool any = false;
  for (size_t i = 0; i < roster_.size(); ++i) {
    if (!roster_[i].inUse()) continue;
    any = true;
    roster_[i].thumbnail->poll();
  }
  if (!any) {
    killTimer(kPollTimer);
    polling_ = false;
  }
}

void CControlDlg::onThumbnailGone(Cthumbnail* thumbnail) {
  for (ThumbnailSlot& slot : roster_) {
    if (slot.thumbnail.get() != thumbnail) continue;
    slot.thumbnail.reset();  // the preview's last act: it goes once its frames return
    slot.window = {};
    refreshList();
    return;
  }
}

int32_t CControlDlg::moveForward(Hwnd hwnd) {
  const int32_t i = findSlot(hwnd);
  if (i < 0) return -1;
  for (int32_t j = i - 1; j >= 0; --j) {
    if (!roster_[static_cast<size_t>(j)].inUse()) continue;
    swapSlots(static_cast<size_t>(i), static_cast<size_t>(j));
    refreshList();
    return j;
  }
  return -1;
}

int32_t CControlDlg::moveBackward(Hwnd hwnd) {
  const int32_t i = findSlot(hwnd);
  if (i < 0) return -1;
  for (size_t j = static_cast<size_t>(i) + 1; j < roster_.size(); ++j) {
    if (!roster_[j].inUse()) continue;
    swapSlots(static_cast<size_t>(i), j);
    refreshList();
    return static_cast<int32_t>(j);
  }
  return -1;
}

void CControlDlg::swapSlots(size_t i, size_t j) {
  if (i >= roster_.size() || j >= roster_.size()) return;
  ThumbnailSlot& a = roster_[i];
  ThumbnailSlot& b = roster_[j];
  // The occupants change places; the cells stay.
  std::swap(a.thumbnail, b.thumbnail);
  std::swap(a.window, b.window);
  if (a.inUse()) a.thumbnail->moveToSlot(a.slotRect);
  if (b.inUse()) b.thumbnail->moveToSlot(b.slotRect);
}

void CControlDlg::moveToHead(Hwnd target) {
  int32_t index = 0;
  do {
    index = moveForward(target);
  } while (index != 0 && index != -1);
}

void CControlDlg::moveToTail(Hwnd target) {
  const int32_t last = static_cast<int32_t>(roster_.size()) - 1;
  int32_t index = 0;
  do {
    index = moveBackward(target);
  } while (index != last && index != -1);
}

int32_t CControlDlg::rowOf(Hwnd hwnd) const {
  const std::string text = handleText(hwnd);
  for (int32_t row = 0; row < listView_.itemCount(); ++row) {
    if (listView_.itemText(row, 2) == text) return row;
  }
  return -1;
}

void CControlDlg::onExclude(Hwnd target) {
  const int32_t row = rowOf(target);
  if (row != -1) excludeRow(row);
}

Hwnd CControlDlg::rowHandle(int32_t row) const {
  const std::string text = listView_.itemText(row, 2);
  if (text.size() < 3) return {};
  unsigned int value = 0;
  if (sscanf(text.c_str() + 2, "%08x", &value) != 1) return {};
  return Hwnd{value};
}

void CControlDlg::excludeRow(int32_t row) {
  const std::string title = listView_.itemText(row, 0);
  const std::string processName = listView_.itemText(row, 1);
  const std::string handle = listView_.itemText(row, 2);
  if (handle.size() < 3) {
    diag::print("★★ERROR★★hWnd=%s\n", handle.c_str());
    return;
  }
  if (limitPage_ != nullptr) limitPage_->addExclusion(title, processName);
  const Hwnd target = rowHandle(row);
  if (target) {
    WindowEntry window;
    window.hwnd = target;
    window.title = title;
    window.processName = processName;
    noteExcluded(window);
  }
  const int32_t index = findSlot(target);
  if (index >= 0) closeThumbnail(roster_[static_cast<size_t>(index)], ThumbState::Closing);
  refreshList();
}

void CControlDlg::noteExcluded(const WindowEntry& window) {
  const bool noted = std::any_of(excluded_.begin(), excluded_.end(),
                                 [&window](const WindowEntry& w) { return w.hwnd == window.hwnd; });
  if (!noted) excluded_.push_back(window);
}

std::vector<Hwnd> CControlDlg::takeWindowsNowAllowed() {
  // A window still kept out is not offered again: each offer costs the detector a tick.
  std::vector<Hwnd> allowed;
  std::erase_if(excluded_, [this, &allowed](const WindowEntry& w) {
    if (limitPage_ != nullptr && !limitPage_->isAllowed(w.title, w.processName)) return false;
    allowed.push_back(w.hwnd);
    return true;
  });
  return allowed;
}

void CControlDlg::refreshList() {
  if (!listView_.attached()) return;
  const int32_t mark = listView_.selectionMark();
  const std::string remembered = mark >= 0 ? listView_.itemText(mark, 2) : std::string();
  listView_.setRedraw(false);
  listView_.deleteAllItems();
  for (const ThumbnailSlot& slot : roster_) {
    if (!slot.inUse()) continue;
    const WindowEntry& window = slot.window;
    const int32_t image = icons_.getIconIndex(window.imagePath);
    const int32_t row = listView_.appendRow(window.title, image);
    listView_.setItemText(row, 1, window.processName);
    listView_.setItemText(row, 2, handleText(window.hwnd));
  }
  if (!remembered.empty()) {
    for (int32_t row = 0; row < listView_.itemCount(); ++row) {
      if (listView_.itemText(row, 2) != remembered) continue;
      listView_.selectRow(row);
      break;
    }
  }
  listView_.setRedraw(true);
}

void CControlDlg::arrange() {
  Rect screen;
  windows().getWindowRect(screen_.getDesktopWindow(), screen);
  std::vector<ThumbnailSlot> fresh;
  for (const Rect& rect : buildSlots(settings, screen, environment_.dpiAt(screen))) {
    ThumbnailSlot slot;
    slot.slotRect = rect;
    fresh.push_back(std::move(slot));
  }
  size_t k = 0;
  std::vector<ThumbnailSlot> past;  // beyond the new grid or the limit
  for (ThumbnailSlot& slot : roster_) {
    if (!slot.inUse()) continue;
    if (static_cast<int32_t>(k) < settings.limit && k < fresh.size()) {
      ThumbnailSlot& target = fresh[k++];
      target.thumbnail = std::move(slot.thumbnail);
      target.window = std::move(slot.window);
    } else {
      past.push_back(std::move(slot));
    }
  }
  roster_ = std::move(fresh);
  // Closed once the new roster stands: putting a target back waits on it.
  for (ThumbnailSlot& slot : past) {
    diag::print("location変更によりWindowを破棄しました %s\n", slot.window.title.c_str());
    closeThumbnail(slot, ThumbState::Closing);
  }
  for (size_t i = 0; i < roster_.size(); ++i) {
    if (roster_[i].inUse()) roster_[i].thumbnail->moveToSlot(roster_[i].slotRect);
  }
  // Rows of closed previews go at once rather than at the next change.
  if (!past.empty()) refreshList();
}
