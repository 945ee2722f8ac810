// The text of the journal file "KeptWindows.ini": [SYSTEM] with KEPTNUM, then one [KEPTn]
// section a window. Read by the profile functions' rules, but from the sections that are
// there: the count is checked against them, never trusted to say how many to look for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "keeping/kept_window.h"
#include "platform/types.h"

namespace journal_file {

// A journal of a few hundred windows is some tens of kilobytes: a larger file is no journal.
inline constexpr size_t kMaxBytes = 1 << 20;
// More entries than this are not read: each costs a look at a window at start.
inline constexpr size_t kMaxEntries = 1024;

struct Entry {
  KeptWindow window;
  // The logon session of the instance that wrote it: another session's window handles name
  // nothing (or other windows) in ours.
  platform::Dword session = 0;
  bool operator==(const Entry&) const = default;
};

struct Contents {
  std::vector<Entry> entries;  // those understood
  // What does not make sense, in words for the log (a few, then how many more); empty when
  // the file is as this program writes it.
  std::vector<std::string> problems;
};

// `session`: where an entry without SESSION (written by an earlier version) belongs.
Contents parse(std::string_view bytes, platform::Dword session);
std::string format(const std::vector<Entry>& entries);

}  // namespace journal_file
