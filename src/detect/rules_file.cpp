#include "detect/rules_file.h"

#include <cstdio>

#include "base/diagnostic_log.h"
#include "detect/rule_text.h"
#include "detect/write_ini_file.h"
#include "platform/cp932.h"
#include "text/profile_text.h"

namespace {

std::string itemSection(int32_t index) {
  char name[32];
  snprintf(name, sizeof name, "ITEM%d", index);
  return name;
}

// "[name]"; built by appending (a prepended literal trips a false -Wrestrict in GCC 12).
std::string header(const std::string& name) {
  std::string text = "[";
  text += name;
  text += "]";
  return text;
}

// Logs each run of missing ITEM sections on one line.
void logMissing(int32_t first, int32_t last) {
  if (first == last) {
    diag::print("ExclusionData: [ITEM%d] is missing; it is no rule\n", first);
  } else {
    diag::print("ExclusionData: [ITEM%d] to [ITEM%d] are missing; they are no rules\n", first,
                last);
  }
}

}  // namespace

RulesFile readRulesFile(const RulesFilePorts& ports, const std::string& path) {
  RulesFile result;
  platform::FileContents contents = ports.files.read(path);
  result.status = contents.status;
  if (contents.status != platform::FileContents::Status::Read) return result;

  // Rule texts are code page 932 whatever the system's code page.
  const text::LeadByteTest isLead = platform::isCp932LeadByte;
  const text::ProfileText file(contents.bytes, isLead);
  auto problem = [&](const std::string& why) {
    if (result.problem.empty()) result.problem = why;
  };

  const text::ProfileUnits* countText = file.storedValue(u"SYSTEM", u"EXCLUSIONNUM");
  int32_t count = static_cast<int32_t>(text::profileInt(countText, 0));
  if (!file.hasSection(u"SYSTEM")) {
    problem("no [SYSTEM] section");
  } else if (text::profileInt(countText, 0) != text::profileInt(countText, 1)) {
    problem("no EXCLUSIONNUM");  // missing or empty: the default was taken
  } else if (count < 0) {
    problem("EXCLUSIONNUM=" + std::to_string(count) + " is negative");
  } else if (count > kMaxRules) {
    diag::print("EXCLUSIONNUM=%d is too large; [ITEM0] to [ITEM%d] read\n", count, kMaxRules - 1);
    problem("EXCLUSIONNUM=" + std::to_string(count) + " is too large");
    count = kMaxRules;
  }

  std::vector<bool> read(file.sectionCount(), false);
  int32_t missingFrom = -1;
  for (int32_t i = 0; i < count; ++i) {
    const text::ProfileUnits section = text::asciiUnits(itemSection(i));
    const std::optional<size_t> index = file.sectionIndex(section);
    if (!index) {
      if (missingFrom < 0) missingFrom = i;
      problem(header(itemSection(i)) + " is missing");
      continue;
    }
    if (missingFrom >= 0) logMissing(missingFrom, i - 1);
    missingFrom = -1;
    read[*index] = true;
    auto number = [&](std::u16string_view key) {
      return static_cast<int32_t>(text::profileInt(file.storedValue(section, key), 0));
    };
    auto string = [&](std::u16string_view key) {
      return rule_text::read(file, section, key, rule_text::kMaxBytes, isLead);
    };
    ExclusionItem item;
    item.titleFlag = number(u"TITLEFLAG");
    item.pnameFlag = number(u"PNAMEFLAG");
    item.fullNameFlag = number(u"FULLNAMEFLAG");
    item.title = string(u"TITLE");
    item.pname = string(u"PNAME");
    item.tpart = string(u"TPART");
    result.items.push_back(std::move(item));
  }
  if (missingFrom >= 0) logMissing(missingFrom, count - 1);

  // A save writes back SYSTEM and the rules read; any other section with something in it
  // would be lost.
  const std::optional<size_t> system = file.sectionIndex(u"SYSTEM");
  for (size_t s = 0; s < file.sectionCount(); ++s) {
    if (read[s] || s == system || file.sectionIsEmpty(s)) continue;
    problem(s == 0 ? std::string("lines before the first section")
                   : header(text::encodeProfileText(file.sectionName(s))) + " is not read");
  }
  const bool blank = file.sectionCount() == 1 && file.sectionIsEmpty(0);
  if (blank) result.problem.clear();  // nothing in it to lose
  if (!result.problem.empty()) result.original = std::move(contents.bytes);
  return result;
}

bool writeRulesFile(const RulesFilePorts& ports, const std::string& path,
                    const std::vector<ExclusionItem>& items) {
  // Rule texts are code page 932 whatever the system's code page.
  const text::LeadByteTest isLead = platform::isCp932LeadByte;
  CWriteIniFile writer(ports.files, ports.profile);
  writer.mode = CWriteIniFile::Mode::Stream;
  if (!writer.openFile(path)) return false;
  writer.writeString("SYSTEM", "EXCLUSIONNUM", std::to_string(items.size()), path);
  for (size_t i = 0; i < items.size(); ++i) {
    const ExclusionItem& item = items[i];
    const std::string section = itemSection(static_cast<int32_t>(i));
    writer.writeString(section, "TITLEFLAG", std::to_string(item.titleFlag), path);
    writer.writeString(section, "PNAMEFLAG", std::to_string(item.pnameFlag), path);
    writer.writeString(section, "FULLNAMEFLAG", std::to_string(item.fullNameFlag), path);
    writer.writeString(section, "TITLE", rule_text::stored(item.title, isLead), path);
    writer.writeString(section, "PNAME", rule_text::stored(item.pname, isLead), path);
    writer.writeString(section, "TPART", rule_text::stored(item.tpart, isLead), path);
  }
  return writer.closeFile();
}
