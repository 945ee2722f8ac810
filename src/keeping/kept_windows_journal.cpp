#include "keeping/kept_windows_journal.h"

#include "base/diagnostic_log.h"
#include "base/replace_file.h"
#include "keeping/journal_file.h"
#include "keeping/window_put_back.h"

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

void KeptWindowsJournal::save() {
  // An instance in another session may share this folder: its entries stay as the file holds
  // them just before this write. A file not understood is kept aside first.
  std::vector<journal_file::Entry> all;
  const platform::FileContents old = ports_.files.read(path_, journal_file::kMaxBytes);
  bool present = old.status != Status::Missing;
  if (old.status == Status::Unreadable) {
    diag::print("%s cannot be read: not saved over\n", path_.c_str());
    return;
  }
  if (old.status == Status::TooLarge) {
    if (!keepAside(old)) return;
    present = false;
  }
  if (old.status == Status::Read) {
    journal_file::Contents text = journal_file::parse(old.bytes, session_);
    if (!text.problems.empty() && !keepAside(old)) return;
    for (journal_file::Entry& e : text.entries) {
      if (e.session != session_) all.push_back(std::move(e));
    }
  }
  for (const auto& [handle, slot] : entries_) all.push_back({slot.entry, session_});
  if (all.empty()) {
    if (present && !ports_.files.remove(path_)) {
      diag::print("%s could not be removed\n", path_.c_str());
    }
    return;
  }
  if (!replaceFile(ports_.files, path_, journal_file::format(all))) {
    diag::print("%s could not be saved: the old file stays\n", path_.c_str());
  }
}
