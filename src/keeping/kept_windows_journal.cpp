#include "keeping/kept_windows_journal.h"

#include "base/diagnostic_log.h"
#include "base/replace_file.h"
#include "keeping/journal_file.h"
#include "keeping/put_back.h"

using platform::Hwnd;
using Status = platform::FileContents::Status;

void KeptWindowsJournal::load() {
  const platform::FileContents file = ports_.files.read(path_, journal_file::kMaxBytes);
  if (file.status == Status::Missing) return;
  if (file.status == Status::Unreadable) {
    diag::print("%s cannot be read: the windows it names are not put back\n", path_.c_str());
    return;
  }
  if (file.status == Status::TooLarge) {
    diag::print("%s holds more than %u bytes: no journal, not read\n", path_.c_str(),
                static_cast<unsigned>(journal_file::kMaxBytes));
    save();  // moves it aside
    return;
  }
  const journal_file::Contents text = journal_file::parse(file.bytes, session_);
  size_t others = 0;
  for (const journal_file::Entry& e : text.entries) {
    if (e.session == session_) {
      entries_[e.window.window.value] = {e.window, false};
    } else {
      ++others;
    }
  }
  if (others > 0) {
    diag::print("%s: %u entries of other sessions are left to them\n", path_.c_str(),
                static_cast<unsigned>(others));
  }
  if (!text.problems.empty()) {
    std::string why;
    for (const std::string& problem : text.problems) why += (why.empty() ? "" : "; ") + problem;
    diag::print("%s does not make sense (%s): %u entries read\n", path_.c_str(), why.c_str(),
                static_cast<unsigned>(text.entries.size()));
  }
  // So that the next start does not meet the same again: the file as understood, or none.
  if (!text.problems.empty() || text.entries.empty()) save();
}

bool KeptWindowsJournal::record(const KeptWindow& entry) {
  Slot& slot = entries_[entry.window.value];
  const bool changed = !(slot.entry == entry) || !saved_;
  slot.entry = entry;
  slot.held = true;
  return !changed || save();
}

std::optional<KeptWindow> KeptWindowsJournal::adopt(Hwnd window) {
  auto it = entries_.find(window.value);
  if (it == entries_.end() || it->second.held) return std::nullopt;
  if (!sameWindow(putBackPorts(), it->second.entry)) {
    diag::print("window 0x%08x of %s is gone or another program's: not touched\n", window.value,
                it->second.entry.image.c_str());
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
      diag::print("window 0x%08x of %s is gone or another program's: not touched\n", handle,
                  slot.entry.image.c_str());
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
  return atExit ? !entries_.empty() : hasLoose();
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

bool KeptWindowsJournal::keepAside(const platform::FileContents& bad) {
  const std::string backup = path_ + ".bak";
  const bool kept = bad.status == Status::TooLarge ? ports_.files.replace(path_, backup)
                                                   : replaceFile(ports_.files, backup, bad.bytes);
  if (!kept) {
    diag::print("%s could not be written: %s is not saved over\n", backup.c_str(), path_.c_str());
    return false;
  }
  diag::print("%s kept as %s\n", path_.c_str(), backup.c_str());
  return true;
}

bool KeptWindowsJournal::save() {
  // An instance in another session may share this folder: its entries stay as the file holds
  // them just before this write. A file not understood is kept aside first.
  std::vector<journal_file::Entry> all;
  const platform::FileContents old = ports_.files.read(path_, journal_file::kMaxBytes);
  bool present = old.status != Status::Missing;
  if (old.status == Status::Unreadable) {
    diag::print("%s cannot be read: not saved over\n", path_.c_str());
    return false;
  }
  if (old.status == Status::TooLarge) {
    if (!keepAside(old)) return false;
    present = false;
  }
  if (old.status == Status::Read) {
    journal_file::Contents text = journal_file::parse(old.bytes, session_);
    if (!text.problems.empty() && !keepAside(old)) return false;
    for (journal_file::Entry& e : text.entries) {
      if (e.session != session_) all.push_back(std::move(e));
    }
  }
  for (const auto& [handle, slot] : entries_) all.push_back({slot.entry, session_});
  if (all.empty()) {
    if (present && !ports_.files.remove(path_)) {
      diag::print("%s could not be removed\n", path_.c_str());
      return false;
    }
    saved_ = true;
    return true;
  }
  if (!replaceFile(ports_.files, path_, journal_file::format(all))) {
    diag::print("%s could not be saved: the old file stays\n", path_.c_str());
    saved_ = false;
    return false;
  }
  saved_ = true;
  return true;
}
