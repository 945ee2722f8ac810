#include "keeping/journal_file.h"

#include <cstdio>
#include <optional>
#include <set>
#include <utility>

#include "platform/cp932.h"
#include "text/profile_text.h"

namespace journal_file {

namespace {

using text::ProfileUnits;

constexpr size_t kNamedProblems = 4;

// A name or value from the file as the log shows it: short, without control characters.
std::string shown(const ProfileUnits& units) {
  std::string bytes = text::encodeProfileText(units.substr(0, 24));
  for (char& c : bytes) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return units.size() > 24 ? bytes + "..." : bytes;
}

// Plain decimal digits, as this program writes a count: nothing else is a count.
std::optional<uint32_t> decimal(text::ProfileUnitsView units) {
  if (units.empty() || units.size() > 9) return std::nullopt;
  uint32_t value = 0;
  for (const char16_t c : units) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  return value;
}

// "KEPT" and digits, in any case, as the profile functions match names.
bool isEntryName(const ProfileUnits& name) {
  if (name.size() < 5) return false;
  for (size_t i = 0; i < 4; ++i) {
    if ((name[i] & ~0x20) != u"KEPT"[i]) return false;
  }
  return decimal(text::ProfileUnitsView(name).substr(4)).has_value();
}

// One section's entry; nothing when it lacks what a put-back needs.
std::optional<Entry> readEntry(const text::ProfileText& ini, const ProfileUnits& section,
                               platform::Dword session) {
  const auto number = [&](std::u16string_view key, int32_t byDefault = 0) {
    return text::profileInt(ini.storedValue(section, key), byDefault);
  };
  const auto string = [&](std::u16string_view key) {
    return text::profileString(ini.storedValue(section, key), u"", 260);
  };
  Entry e;
  KeptWindow& k = e.window;
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
  p.flags = number(u"PLACEMENTFLAGS");
  p.showCmd = number(u"SHOWCMD");
  sscanf(string(u"MIN").c_str(), "%d,%d", &p.minPosition.x, &p.minPosition.y);
  sscanf(string(u"MAX").c_str(), "%d,%d", &p.maxPosition.x, &p.maxPosition.y);
  const bool placed =
      sscanf(string(u"NORMAL").c_str(), "%d,%d,%d,%d", &n.left, &n.top, &n.right, &n.bottom) == 4;
  // Written by earlier versions only where the rectangle was read at the window's own place.
  k.normalKnown = number(u"NORMALKNOWN", 1) != 0;
  e.session = number(u"SESSION", static_cast<int32_t>(session));
  // Without its window, process or normal rectangle it says nothing to put back by.
  if (!k.window || k.processId == 0 || !placed) return std::nullopt;
  return e;
}

}  // namespace

Contents parse(std::string_view bytes, platform::Dword session) {
  Contents result;
  size_t unnamed = 0;
  const auto problem = [&](std::string what) {
    if (result.problems.size() < kNamedProblems) {
      result.problems.push_back(std::move(what));
    } else {
      ++unnamed;
    }
  };
  const text::ProfileText ini(bytes, platform::isCp932LeadByte);
  if (!ini.sectionIsEmpty(0)) problem("lines before the first section");
  size_t sections = 0;  // [KEPTn] sections, each name once
  std::set<std::pair<platform::Dword, uint32_t>> windows;
  for (size_t s = 1; s < ini.sectionCount(); ++s) {
    const ProfileUnits& name = ini.sectionName(s);
    // Built by appending: a prepended literal trips a false -Wrestrict in GCC 12.
    std::string header = "[";
    header += shown(name);
    header += "]";
    const bool system = ini.sectionIndex(name) == ini.sectionIndex(u"SYSTEM");
    if (!system && !isEntryName(name)) {
      problem(header + " is no entry");
      continue;
    }
    if (ini.sectionIndex(name) != s) {
      problem(header + " twice");
      continue;
    }
    if (system) continue;
    if (++sections > kMaxEntries) continue;
    const std::optional<Entry> entry = readEntry(ini, name, session);
    if (!entry) {
      problem(header + " is not understood");
    } else if (!windows.insert({entry->session, entry->window.window.value}).second) {
      problem(header + " names a window again");
    } else {
      result.entries.push_back(*entry);
    }
  }
  if (sections > kMaxEntries) {
    problem("more than " + std::to_string(kMaxEntries) + " entries; the rest not read");
  }
  const ProfileUnits* count = ini.storedValue(u"SYSTEM", u"KEPTNUM");
  std::string kept = "KEPTNUM=";
  if (count != nullptr) kept += shown(*count);
  const bool blank = ini.sectionCount() == 1 && ini.sectionIsEmpty(0);
  if (count == nullptr) {
    if (!blank) problem("no KEPTNUM in [SYSTEM]");
  } else if (!decimal(*count)) {
    problem(kept + " is no count");
  } else if (*decimal(*count) != sections) {
    problem(kept + ", but " + std::to_string(sections) + " [KEPTn] sections are there");
  }
  if (unnamed > 0) result.problems.push_back(std::to_string(unnamed) + " more");
  return result;
}

// One "[KEPTn]" section a window: numbers in decimal, the image name as it is.
std::string format(const std::vector<Entry>& entries) {
  std::string text = "[SYSTEM]\r\nKEPTNUM=" + std::to_string(entries.size()) + "\r\n";
  for (size_t i = 0; i < entries.size(); ++i) {
    const KeptWindow& k = entries[i].window;
    const platform::WindowPlacement& p = k.placement;
    const platform::Rect& n = p.normalPosition;
    char section[600];
    snprintf(section, sizeof section,
             "[KEPT%zu]\r\nHWND=%u\r\nPID=%u\r\nSESSION=%u\r\nSTYLE=%u\r\nEXSTYLE=%u\r\n"
             "OWNLAYERED=%d\r\nLAYEREDKEY=%u\r\nLAYEREDALPHA=%u\r\nLAYEREDFLAGS=%u\r\n"
             "WEDISABLED=%d\r\nPLACEMENTFLAGS=%u\r\nSHOWCMD=%u\r\nMIN=%d,%d\r\nMAX=%d,%d\r\n"
             "NORMAL=%d,%d,%d,%d\r\nNORMALKNOWN=%d\r\n",
             i, k.window.value, k.processId, entries[i].session, k.style, k.exStyle,
             k.ownLayered ? 1 : 0, k.layeredKey, static_cast<unsigned>(k.layeredAlpha),
             k.layeredFlags, k.weDisabled ? 1 : 0, p.flags, p.showCmd, p.minPosition.x,
             p.minPosition.y, p.maxPosition.x, p.maxPosition.y, n.left, n.top, n.right, n.bottom,
             k.normalKnown ? 1 : 0);
    text += section;
    text += "PNAME=" + k.image + "\r\n";
  }
  return text;
}

}  // namespace journal_file
