// The roster: admitting, closing, ordering and excluding previews; the grid; hover mode.
#include "controller/preview_roster.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "base/diagnostic_log.h"
#include "controller/arrangement.h"

using namespace platform;

PreviewRoster::PreviewRoster(const Ports& ports, DisplayEnvironment& environment,
                             SettingsRecord& settings, CExclusionData& rules, RosterHost& host)
    : windows_(ports.windows),
      screen_(ports.screen),
      monitors_(ports.monitors),
      processes_(ports.processes),
      messages_(ports.messages),
      previewPorts_(ports.preview),
      environment_(environment),
      settings_(settings),
      rules_(rules),
      host_(host) {}

void PreviewRoster::changed() {
  for (RosterObserver* observer : observers_) observer->rosterChanged();
}

int32_t PreviewRoster::slotsInUse() const {
  int32_t count = 0;
  for (const ThumbnailSlot& slot : slots_) count += slot.inUse() ? 1 : 0;
  return count;
}

int32_t PreviewRoster::findSlot(Hwnd hwnd) const {
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].inUse() && slots_[i].window.hwnd == hwnd) return static_cast<int32_t>(i);
  }
  return -1;
}

Admission PreviewRoster::entryWindow(const WindowEntry& record) {
  if ((windows_.getWindowLong(record.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0) {
    return refuse(record, Admission::Layered);
  }
  if (slotsInUse() >= settings_.limit) return refuse(record, Admission::OverLimit);
  if (const std::optional<size_t> rule = rules_.matchingRule(record.title, record.processName)) {
    noteExcluded(record);
    return refuse(record, Admission::Excluded, static_cast<int32_t>(*rule));
  }
  if (findSlot(record.hwnd) >= 0) return refuse(record, Admission::AlreadyShown);
  const auto isFree = [](const ThumbnailSlot& slot) { return !slot.inUse(); };
  auto free = std::find_if(slots_.begin(), slots_.end(), isFree);
  if (free == slots_.end()) return refuse(record, Admission::NoCell);
  // Making the preview may wait on the window (a probe) or show a message box, and whatever
  // runs meanwhile may re-arrange the roster or offer the same window: look again after.
  ui::Owned<Cthumbnail> preview =
      Cthumbnail::create(previewPorts_, environment_, settings_, record.hwnd, record.title,
                         record.processName, free->slotRect, settings_.opacityByte(), this);
  free = std::find_if(slots_.begin(), slots_.end(), isFree);
  if (!preview || findSlot(record.hwnd) >= 0 || free == slots_.end() ||
      slotsInUse() >= settings_.limit) {
    // No window, or no place for it now: the window gets a preview if it is offered again.
    diag::print("Entry failed title=%s, handle=0x%08x\n", record.title.c_str(), record.hwnd.value);
    changed();
    return Admission::NoPreview;
  }
  std::erase_if(refusals_, [&record](const Refusal& r) { return r.hwnd == record.hwnd; });
  ThumbnailSlot& slot = *free;
  slot.thumbnail = std::move(preview);
  if (slot.thumbnail->slotRect() != slot.slotRect) slot.thumbnail->moveToSlot(slot.slotRect);
  if (!polling_) polling_ = host_.setRosterTimer(kPollTimer, kPollPeriod);
  slot.window = record;
  slot.window.imagePath = processes_.imagePath(record.processId);
  diag::print("Entry title=%s, handle=0x%08x\n", record.title.c_str(), record.hwnd.value);
  changed();
  return Admission::Admitted;
}

Admission PreviewRoster::refuse(const WindowEntry& record, Admission why, int32_t rule) {
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
    diag::print("Entry refused (LIMIT=%d reached) title=%s, handle=0x%08x\n", settings_.limit,
                title, record.hwnd.value);
  } else {
    diag::print("Entry refused (%s) title=%s, handle=0x%08x\n", admissionText(why), title,
                record.hwnd.value);
  }
  return why;
}

void PreviewRoster::removeWindow(const WindowEntry& record) {
  // A window that comes back is judged, and logged, afresh.
  std::erase_if(refusals_, [&record](const Refusal& r) { return r.hwnd == record.hwnd; });
  std::erase_if(excluded_, [&record](const WindowEntry& w) { return w.hwnd == record.hwnd; });
  const int32_t index = findSlot(record.hwnd);
  if (index >= 0) closeThumbnail(slots_[static_cast<size_t>(index)], ThumbState::ClosingAnimated);
  changed();
}

void PreviewRoster::closeThumbnail(ThumbnailSlot& slot, ThumbState reason) {
  // The slot is free before the window goes: whatever runs meanwhile finds it free.
  ui::Owned<Cthumbnail> preview = std::move(slot.thumbnail);
  slot.window = {};
  if (preview) preview->close(reason);
}

void PreviewRoster::closeAll() {
  // Out of the roster first: putting a target back waits on it, and the roster may be
  // looked at meanwhile.
  std::vector<ThumbnailSlot> closing = std::exchange(slots_, {});
  for (ThumbnailSlot& slot : closing) {
    if (slot.inUse()) closeThumbnail(slot, ThumbState::Closing);
  }
}

void PreviewRoster::pollPreviews() {
  // By index: a poll may wait on its target, and the roster must be looked at afresh after.
  bool any = false;
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (!slots_[i].inUse()) continue;
    any = true;
    slots_[i].thumbnail->poll();
  }
  if (!any) {
    host_.killRosterTimer(kPollTimer);
    polling_ = false;
  }
}

void PreviewRoster::onThumbnailGone(Cthumbnail* thumbnail) {
  for (ThumbnailSlot& slot : slots_) {
    if (slot.thumbnail.get() != thumbnail) continue;
    slot.thumbnail.reset();  // the preview's last act: it goes once its frames return
    slot.window = {};
    changed();
    return;
  }
}

int32_t PreviewRoster::moveForward(Hwnd hwnd) {
  const int32_t i = findSlot(hwnd);
  if (i < 0) return -1;
  for (int32_t j = i - 1; j >= 0; --j) {
    if (!slots_[static_cast<size_t>(j)].inUse()) continue;
    swapSlots(static_cast<size_t>(i), static_cast<size_t>(j));
    changed();
    return j;
  }
  return -1;
}

int32_t PreviewRoster::moveBackward(Hwnd hwnd) {
  const int32_t i = findSlot(hwnd);
  if (i < 0) return -1;
  for (size_t j = static_cast<size_t>(i) + 1; j < slots_.size(); ++j) {
    if (!slots_[j].inUse()) continue;
    swapSlots(static_cast<size_t>(i), j);
    changed();
    return static_cast<int32_t>(j);
  }
  return -1;
}

void PreviewRoster::swapSlots(size_t i, size_t j) {
  if (i >= slots_.size() || j >= slots_.size()) return;
  ThumbnailSlot& a = slots_[i];
  ThumbnailSlot& b = slots_[j];
  // The occupants change places; the cells stay.
  std::swap(a.thumbnail, b.thumbnail);
  std::swap(a.window, b.window);
  if (a.inUse()) a.thumbnail->moveToSlot(a.slotRect);
  if (b.inUse()) b.thumbnail->moveToSlot(b.slotRect);
}

void PreviewRoster::moveToHead(Hwnd target) {
  int32_t index = 0;
  do {
    index = moveForward(target);
  } while (index != 0 && index != -1);
}

void PreviewRoster::moveToTail(Hwnd target) {
  const int32_t last = static_cast<int32_t>(slots_.size()) - 1;
  int32_t index = 0;
  do {
    index = moveBackward(target);
  } while (index != last && index != -1);
}

bool PreviewRoster::exclude(Hwnd hwnd) {
  const int32_t index = findSlot(hwnd);
  if (index < 0) return false;
  // A copy: the slot is freed before its preview closes.
  const WindowEntry window = slots_[static_cast<size_t>(index)].window;
  if (rules_.addExclusion(window.title, window.processName)) {
    for (RosterObserver* observer : observers_) observer->exclusionAdded();
  }
  noteExcluded(window);
  // Saving the rule may have shown a message box: the slot is looked up again.
  const int32_t now = findSlot(hwnd);
  if (now >= 0) closeThumbnail(slots_[static_cast<size_t>(now)], ThumbState::Closing);
  changed();
  return true;
}

void PreviewRoster::noteExcluded(const WindowEntry& window) {
  const bool noted = std::any_of(excluded_.begin(), excluded_.end(),
                                 [&window](const WindowEntry& w) { return w.hwnd == window.hwnd; });
  if (!noted) excluded_.push_back(window);
}

std::vector<Hwnd> PreviewRoster::takeWindowsNowAllowed() {
  // A window still kept out is not offered again: each offer costs the detector a tick.
  std::vector<Hwnd> allowed;
  std::erase_if(excluded_, [this, &allowed](const WindowEntry& w) {
    if (!rules_.isAllowed(w.title, w.processName)) return false;
    allowed.push_back(w.hwnd);
    return true;
  });
  return allowed;
}

void PreviewRoster::arrange() {
  // The primary monitor's work area (it holds the origin): the grid keeps clear of the
  // taskbar and follows it. Asked of the monitor rather than SPI_GETWORKAREA, which Wine
  // answers from the first time a process asked.
  Rect area;
  MonitorInfo info;
  info.size = sizeof(MonitorInfo);
  if (monitors_.getInfo(monitors_.fromRect({0, 0, 1, 1}), info) && info.work.width() > 0 &&
      info.work.height() > 0) {
    area = info.work;
  } else {
    windows_.getWindowRect(screen_.getDesktopWindow(), area);
  }
  std::vector<ThumbnailSlot> fresh;
  for (const Rect& rect : buildSlots(settings_, area, environment_.dpiAt(area))) {
    ThumbnailSlot slot;
    slot.slotRect = rect;
    fresh.push_back(std::move(slot));
  }
  size_t k = 0;
  std::vector<ThumbnailSlot> past;  // beyond the new grid or the limit
  for (ThumbnailSlot& slot : slots_) {
    if (!slot.inUse()) continue;
    if (static_cast<int32_t>(k) < settings_.limit && k < fresh.size()) {
      ThumbnailSlot& target = fresh[k++];
      target.thumbnail = std::move(slot.thumbnail);
      target.window = std::move(slot.window);
    } else {
      past.push_back(std::move(slot));
    }
  }
  slots_ = std::move(fresh);
  // Closed once the new roster stands: putting a target back waits on it.
  for (ThumbnailSlot& slot : past) {
    diag::print("location変更によりWindowを破棄しました %s\n", slot.window.title.c_str());
    closeThumbnail(slot, ThumbState::Closing);
  }
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].inUse()) slots_[i].thumbnail->moveToSlot(slots_[i].slotRect);
  }
  // Rows of closed previews go at once rather than at the next change.
  if (!past.empty()) changed();
}

void PreviewRoster::displaysChanged() {
  arrange();
  // By index, as the poll: a wait on a target may change the roster.
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].inUse()) slots_[i].thumbnail->displaysChanged();
  }
}

void PreviewRoster::applyFrameSetting() {
  for (ThumbnailSlot& slot : slots_) {
    if (slot.inUse()) slot.thumbnail->applyFrameSetting();
  }
}

void PreviewRoster::applyOpacity() {
  for (ThumbnailSlot& slot : slots_) {
    if (slot.inUse()) slot.thumbnail->setAlpha(settings_.opacityByte());
  }
}

// --- The host's timers and hover hot-key mode. ---

bool PreviewRoster::start() {
  // The switch that would let previews take taskbar buttons away stays off.
  environment_.taskbar().removalEnabled = false;
  arrange();
  const HoverKey chosen{settings_.hvModifiers, settings_.hvHotKey};
  if (registerHoverKey(chosen)) return true;
  // The default serves this run; the record keeps the user's key, and so does the file.
  const SettingsRecord defaults;
  const HoverKey fallback{defaults.hvModifiers, defaults.hvHotKey};
  if (fallback != chosen && registerHoverKey(fallback)) {
    diag::print("HOVER KEY: the default for this run\n");
  }
  return false;
}

bool PreviewRoster::reregisterHoverKey() {
  const HoverKey chosen{settings_.hvModifiers, settings_.hvHotKey};
  if (heldKey_ == chosen) return true;
  const std::optional<HoverKey> before = heldKey_;
  host_.unregisterRosterHotKey(kHoverHotKey);
  heldKey_.reset();
  if (registerHoverKey(chosen)) return true;
  // Refused: the key that worked goes on working.
  if (before) registerHoverKey(*before);
  return false;
}

bool PreviewRoster::registerHoverKey(const HoverKey& key) {
  if (host_.registerRosterHotKey(kHoverHotKey, static_cast<uint32_t>(key.first),
                                 static_cast<uint32_t>(key.second))) {
    heldKey_ = key;
    return true;
  }
  diag::print("RegisterHotKey() Error=%d\n", static_cast<int>(messages_.lastError()));
  return false;
}

void PreviewRoster::stop() {
  host_.unregisterRosterHotKey(kHoverHotKey);
  heldKey_.reset();
  if (hoverCountdown_ > 0) host_.killRosterTimer(kHoverTimer);
  hoverCountdown_ = 0;
  closeAll();
  if (polling_) host_.killRosterTimer(kPollTimer);
  polling_ = false;
}

void PreviewRoster::setHover(bool on) {
  for (ThumbnailSlot& slot : slots_) {
    if (!slot.inUse()) continue;
    slot.thumbnail->setHover(on);
  }
}

void PreviewRoster::onHotKey() {
  if (hoverCountdown_ == 0) {
    setHover(true);
    diag::print("HOTKEY ON! THUMBNAIL HOVER START\n");
    host_.setRosterTimer(kHoverTimer, 100);  // the countdown runs only while hover mode lasts
  }
  hoverCountdown_ = 5;  // each auto-repeat of the held keys re-arms it
}

void PreviewRoster::onTimer(uintptr_t id) {
  if (id == kPollTimer) {
    pollPreviews();
    return;
  }
  if (id != kHoverTimer || hoverCountdown_ <= 0) return;
  if (--hoverCountdown_ == 0) {
    host_.killRosterTimer(kHoverTimer);
    setHover(false);
    diag::print("HOVER END\n");
  }
}
