#include "thumbnail/kept_windows_journal.h"

#include <cstdio>
#include <cstdlib>

#include "base/diagnostic_log.h"
#include "base/replace_file.h"
#include "thumbnail/window_put_back.h"

using platform::Hwnd;

namespace {

// One "[KEPTn]" section a window: numbers in decimal, the image name as it is.
std::string format(const KeptWindow& k, size_t index) {
  const platform::WindowPlacement& p = k.placement;
  const platform::Rect& n = p.normalPosition;
  char text[512];
  snprintf(text, sizeof text,
           "[KEPT%zu]\r\nHWND=%u\r\nPID=%u\r\nSTYLE=%u\r\nEXSTYLE=%u\r\nOWNLAYERED=%d\r\n"
           "LAYEREDKEY=%u\r\nLAYEREDALPHA=%u\r\nLAYEREDFLAGS=%u\r\nWEDISABLED=%d\r\n"
           "PLACEMENTFLAGS=%u\r\nSHOWCMD=%u\r\nMIN=%d,%d\r\nMAX=%d,%d\r\nNORMAL=%d,%d,%d,%d\r\n",
           index, k.window.value, k.processId, k.style, k.exStyle, k.ownLayered ? 1 : 0,
           k.layeredKey, static_cast<unsigned>(k.layeredAlpha), k.layeredFlags,
           k.weDisabled ? 1 : 0, p.flags, p.showCmd, p.minPosition.x, p.minPosition.y,
           p.maxPosition.x, p.maxPosition.y, n.left, n.top, n.right, n.bottom);
  return text + std::string("PNAME=") + k.image + "\r\n";
}

uint32_t number(const std::string& v) {
  return static_cast<uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
}

// Reads "KEY=value" into the entry; false for a key it does not know or a value it cannot use.
bool readKey(KeptWindow& k, const std::string& key, const std::string& v) {
  platform::WindowPlacement& p = k.placement;
  platform::Rect& n = p.normalPosition;
  if (key == "HWND")
    k.window.value = number(v);
  else if (key == "PID")
    k.processId = number(v);
  else if (key == "PNAME")
    k.image = v;
  else if (key == "STYLE")
    k.style = number(v);
  else if (key == "EXSTYLE")
    k.exStyle = number(v);
  else if (key == "OWNLAYERED")
    k.ownLayered = number(v) != 0;
  else if (key == "LAYEREDKEY")
    k.layeredKey = number(v);
  else if (key == "LAYEREDALPHA")
    k.layeredAlpha = static_cast<uint8_t>(number(v));
  else if (key == "LAYEREDFLAGS")
    k.layeredFlags = number(v);
  else if (key == "WEDISABLED")
    k.weDisabled = number(v) != 0;
  else if (key == "PLACEMENTFLAGS")
    p.flags = number(v);
  else if (key == "SHOWCMD")
    p.showCmd = number(v);
  else if (key == "MIN")
    return sscanf(v.c_str(), "%d,%d", &p.minPosition.x, &p.minPosition.y) == 2;
  else if (key == "MAX")
    return sscanf(v.c_str(), "%d,%d", &p.maxPosition.x, &p.maxPosition.y) == 2;
  else if (key == "NORMAL") {
    return sscanf(v.c_str(), "%d,%d,%d,%d", &n.left, &n.top, &n.right, &n.bottom) == 4;
  } else {
    return false;
  }
  return true;
}

}  // namespace

void KeptWindowsJournal::load() {
  const platform::FileContents file = ports_.files.read(path_);
  if (file.status == platform::FileContents::Status::Missing) return;
  onDisk_ = true;
  if (file.status != platform::FileContents::Status::Read) {
    diag::print("%s cannot be read: the windows it names are not put back\n", path_.c_str());
    return;
  }
  KeptWindow entry;
  bool inEntry = false;
  auto finish = [&] {
    // An entry without its window or process says nothing that could be undone.
    if (inEntry && entry.window && entry.processId != 0) {
      entries_[entry.window.value] = {entry, false};
    }
    entry = {};
    inEntry = false;
  };
  size_t at = 0;
  while (at < file.bytes.size()) {
    size_t end = file.bytes.find('\n', at);
    if (end == std::string::npos) end = file.bytes.size();
    std::string line = file.bytes.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("[KEPT", 0) == 0) {
      finish();
      inEntry = true;
      continue;
    }
    const size_t equals = line.find('=');
    if (!inEntry || equals == std::string::npos) continue;
    if (!readKey(entry, line.substr(0, equals), line.substr(equals + 1))) {
      diag::print("%s: \"%s\" is not understood\n", path_.c_str(), line.c_str());
    }
  }
  finish();
}

void KeptWindowsJournal::record(const KeptWindow& entry) {
  Slot& slot = entries_[entry.window.value];
  const bool changed = !(slot.entry == entry);
  slot = {entry, true};
  if (changed) save();
}

void KeptWindowsJournal::forget(Hwnd window) {
  if (entries_.erase(window.value) != 0) save();
}

void KeptWindowsJournal::release(Hwnd window) {
  auto it = entries_.find(window.value);
  if (it != entries_.end()) it->second.held = false;
}

bool KeptWindowsJournal::hasLoose() const {
  for (const auto& [handle, slot] : entries_) {
    if (!slot.held) return true;
  }
  return false;
}

void KeptWindowsJournal::putBackLoose(CTaskBarControl* taskbar) {
  putBack(false, taskbar);
}

void KeptWindowsJournal::putBackAll(CTaskBarControl* taskbar) {
  putBack(true, taskbar);
}

void KeptWindowsJournal::putBack(bool heldToo, CTaskBarControl* taskbar) {
  const PutBackPorts ports{ports_.windows, ports_.messages, ports_.processes, ports_.monitors};
  const platform::Dword now = ports_.system.tickCount();
  bool changed = false;
  for (auto it = entries_.begin(); it != entries_.end();) {
    Slot& slot = it->second;
    const bool resting = slot.quiet && static_cast<int32_t>(now - slot.quietUntil) < 0;
    if ((slot.held || resting) && !heldToo) {
      ++it;
      continue;
    }
    const PutBack result = putBackWindow(ports, slot.entry, taskbar);
    if (result == PutBack::Done || result == PutBack::Gone) {
      it = entries_.erase(it);
      changed = true;
    } else {
      slot.quiet = true;
      slot.quietUntil = ports_.system.tickCount() + 2000;
      ++it;
    }
  }
  if (changed) save();
}

void KeptWindowsJournal::save() {
  if (entries_.empty()) {
    if (onDisk_ && !ports_.files.remove(path_)) {
      diag::print("%s could not be removed\n", path_.c_str());
      return;
    }
    onDisk_ = false;
    return;
  }
  std::string text = "[SYSTEM]\r\nKEPTNUM=" + std::to_string(entries_.size()) + "\r\n";
  size_t index = 0;
  for (const auto& [handle, slot] : entries_) text += format(slot.entry, index++);
  if (!replaceFile(ports_.files, path_, text)) {
    diag::print("%s could not be saved: the old file stays\n", path_.c_str());
    return;
  }
  onDisk_ = true;
}
