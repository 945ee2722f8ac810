// The rules file "ExclusionData.ini": section SYSTEM with EXCLUSIONNUM, then one section per
// rule, ITEM0 onward, each with TITLEFLAG, PNAMEFLAG, FULLNAMEFLAG, TITLE, PNAME and TPART.
#pragma once

#include <string>
#include <vector>

#include "detect/exclusion_item.h"
#include "platform/platform.h"

// More rules than this in one file are not believed: a damaged count must not make the load
// run for hours.
constexpr int32_t kMaxRules = 4096;

// What the rules file is read and written with.
struct RulesFilePorts {
  RulesFilePorts(platform::Files& f, platform::ProfileFiles& p) : files(f), profile(p) {}
  RulesFilePorts(const platform::Platform& p)  // NOLINT: implicit, so a caller passes its platform
      : RulesFilePorts(p.files, p.profile) {}
  platform::Files& files;
  platform::ProfileFiles& profile;
};

struct RulesFile {
  platform::FileContents::Status status = platform::FileContents::Status::Missing;
  std::vector<ExclusionItem> items;
  // Why the file as read does not make sense, so that a save would lose something of it;
  // empty when it does.
  std::string problem;
  std::string original;  // the file's bytes, kept when it has a problem
};

// Reads the file once and takes the rules from it with the profile functions' semantics: a
// missing ITEM section is no rule (and is logged), values are cut to 259 bytes.
RulesFile readRulesFile(const RulesFilePorts& ports, const std::string& path);

// Writes every item; the old file stays whole when anything fails (and that is logged).
bool writeRulesFile(const RulesFilePorts& ports, const std::string& path,
                    const std::vector<ExclusionItem>& items);
