#include "keeping/kept_windows_journal.h"

#include <cstdio>
#include <cstdlib>

#include "base/diagnostic_log.h"
#include "base/replace_file.h"
#include "keeping/put_back.h"
#include "platform/cp932.h"
#include "text/profile_text.h"

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
  return text + std::string("NORMALKNOWN=") + (k.normalKnown ? "1" : "0") + "\r\nPNAME=" + k.image +
         "\r\n";
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
  // Read by the profile functions' own rules, as the program's other files are.
  const text::ProfileText ini(file.bytes, platform::isCp932LeadByte);
  const uint32_t count = text::profileInt(ini.storedValue(u"SYSTEM", u"KEPTNUM"), 0);
  for (uint32_t i = 0; i < count; ++i) {
    const text::ProfileUnits section = text::asciiUnits("KEPT" + std::to_string(i));
    const auto number = [&](std::u16string_view key) {
      return text::profileInt(ini.storedValue(section, key), 0);
    };
    const auto string = [&](std::u16string_view key) {
      return text::profileString(ini.storedValue(section, key), u"", 260);
    };
    KeptWindow k;
    platform::WindowPlacement& p = k.placement;
    platform::Rect& n = p.normalPosition;
    k.window.value = number(u"HWND");
    k.processId = number(u"PID");
    k.image = string(u"PNAME");
    k.style = number(u"STYLE");
    k.exStyle = number(u"EXSTYLE");
    k.ownLayered = number(u"OWNLAYERED") != 0;
    k.layeredKey = number(u"LAYEREDKEY");
    k.layeredAlpha = static_cast<uint8_t>(number(u"LAYEREDALPHA"));
    k.layeredFlags = number(u"LAYEREDFLAGS");
    k.weDisabled = number(u"WEDISABLED") != 0;
    k.normalKnown = text::profileInt(ini.storedValue(section, u"NORMALKNOWN"), 1) != 0;
    p.flags = number(u"PLACEMENTFLAGS");
    p.showCmd = number(u"SHOWCMD");
    sscanf(string(u"MIN").c_str(), "%d,%d", &p.minPosition.x, &p.minPosition.y);
    sscanf(string(u"MAX").c_str(), "%d,%d", &p.maxPosition.x, &p.maxPosition.y);
    const bool placed =
        sscanf(string(u"NORMAL").c_str(), "%d,%d,%d,%d", &n.left, &n.top, &n.right, &n.bottom) == 4;
    // An entry without its window, process or normal rectangle says nothing to undo by.
    if (!k.window || k.processId == 0 || !placed) {
      diag::print("%s: [KEPT%u] is not understood\n", path_.c_str(), i);
      continue;
    }
    entries_[k.window.value] = {k, false};
  }
}

bool KeptWindowsJournal::record(const KeptWindow& entry) {
  Slot& slot = entries_[entry.window.value];
  const bool changed = !(slot.entry == entry) || !onDisk_;
  slot.entry = entry;
  slot.held = true;
  return !changed || save();
}

std::optional<KeptWindow> KeptWindowsJournal::adopt(Hwnd window) {
  auto it = entries_.find(window.value);
  if (it == entries_.end() || it->second.held) return std::nullopt;
  if (!sameWindow(putBackPorts(), it->second.entry)) {
    diag::print("window 0x%08x now belongs to another program: its entry is dropped\n",
                window.value);
    entries_.erase(it);
    save();
    return std::nullopt;
  }
  it->second.held = true;
  return it->second.entry;
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

PutBackPorts KeptWindowsJournal::putBackPorts() const {
  return {ports_.windows, ports_.messages, ports_.processes, ports_.monitors};
}

void KeptWindowsJournal::putBackLoose(CTaskBarControl* taskbar) {
  putBack(taskbar, false);
}

void KeptWindowsJournal::putBackAtExit(CTaskBarControl* taskbar, uint32_t budgetMs) {
  const platform::Dword start = ports_.system.tickCount();
  while (putBack(taskbar, true)) {
    if (ports_.system.tickCount() - start >= budgetMs) {
      for (const auto& [handle, slot] : entries_) {
        diag::print("window 0x%08x did not answer in time: left to the next start\n", handle);
      }
      return;
    }
    // The slow ones' changes go on meanwhile; a window the system calls hung answers at once.
    ports_.system.sleep(200);
  }
}

bool KeptWindowsJournal::putBack(CTaskBarControl* taskbar, bool atExit) {
  const PutBackPorts ports = putBackPorts();
  // By handle, looked up again each time: a probe lets messages sent to us in, and their
  // handlers may record or forget entries meanwhile.
  std::vector<uint32_t> handles;
  for (const auto& [handle, slot] : entries_) {
    if (!slot.held || atExit) handles.push_back(handle);
  }
  bool changed = false;
  for (const uint32_t handle : handles) {
    auto it = entries_.find(handle);
    if (it == entries_.end() || (it->second.held && !atExit)) continue;
    Slot& slot = it->second;
    const platform::Dword now = ports_.system.tickCount();
    if (!atExit && slot.quiet && static_cast<int32_t>(now - slot.quietUntil) < 0) continue;
    PutBack result = PutBack::Gone;
    if (!sameWindow(ports, slot.entry)) {
      if (ports_.windows.isWindow(slot.entry.window)) {
        diag::print("window 0x%08x now belongs to another program: its entry is dropped\n", handle);
      }
    } else if (!showsOurChanges(ports, slot.entry)) {
      // Back already (its put-back ended after its last step, or nothing was changed yet).
      diag::print("window 0x%08x shows nothing of ours: its entry is dropped\n", handle);
    } else {
      result = putBackWindow(ports, slot.entry, taskbar);
      if (result == PutBack::Done) {
        diag::print("window 0x%08x put back from the journal\n", handle);
      }
    }
    it = entries_.find(handle);  // the put-back's probe may have let a handler change them
    if (it == entries_.end()) continue;
    if (result == PutBack::Done || result == PutBack::Gone) {
      entries_.erase(it);
      changed = true;
    } else {
      it->second.quiet = true;
      it->second.quietUntil = ports_.system.tickCount() + 2000;
    }
  }
  if (changed) save();
  for (const auto& [handle, slot] : entries_) {
    if (!slot.held || atExit) return true;
  }
  return false;
}

void KeptWindowsJournal::putBackOnCrash() {
  const PutBackPorts ports = putBackPorts();
  for (auto& [handle, slot] : entries_) {
    const KeptWindow& k = slot.entry;
    // The process id alone: reading an executable's name would allocate.
    if (!ports_.windows.isWindow(k.window) ||
        ports_.windows.getWindowProcessId(k.window) != k.processId) {
      continue;
    }
    putBackWindow(ports, k, nullptr, PutBackMode::Crash);
  }
}

bool KeptWindowsJournal::save() {
  if (entries_.empty()) {
    if (onDisk_ && !ports_.files.remove(path_)) {
      diag::print("%s could not be removed\n", path_.c_str());
      return false;
    }
    onDisk_ = false;
    return true;
  }
  std::string text = "[SYSTEM]\r\nKEPTNUM=" + std::to_string(entries_.size()) + "\r\n";
  size_t index = 0;
  for (const auto& [handle, slot] : entries_) text += format(slot.entry, index++);
  if (!replaceFile(ports_.files, path_, text)) {
    diag::print("%s could not be saved: the old file stays\n", path_.c_str());
    return false;
  }
  onDisk_ = true;
  return true;
}
