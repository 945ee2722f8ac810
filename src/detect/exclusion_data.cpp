#include "detect/exclusion_data.h"

#include <cstdio>

#include "app/diagnostic_log.h"
#include "app/program_folder.h"
#include "detect/write_ini_file.h"
#include "platform/cp932.h"

namespace {

constexpr const char* kFileName = "ExclusionData.ini";
constexpr size_t kValueBuffer = 260;

std::string itemSection(size_t index) {
  char name[32];
  snprintf(name, sizeof name, "ITEM%zu", index);
  return name;
}

}  // namespace

bool matchItem(const ExclusionItem& item, const std::string& title,
               const std::string& processName, const text::LeadByteTest& isLead) {
  bool titleHolds = true;
  if (item.titleFlag == 1) {
    titleHolds = item.fullNameFlag == 1
                     ? title == item.title
                     : text::findPart(title, item.tpart, isLead) != std::string::npos;
  }
  const bool processHolds = item.pnameFlag != 1 || processName == item.pname;
  return titleHolds && processHolds;
}

CExclusionData* CExclusionData::instance_ = nullptr;

CExclusionData* CExclusionData::getInstance(const platform::Platform& platform) {
  if (instance_ == nullptr) {
    instance_ =
        new CExclusionData(platform, pathInCurrentDirectory(platform.system, kFileName));
    instance_->loadFile();
  }
  return instance_;
}

void CExclusionData::deleteInstance() {
  if (instance_ == nullptr) return;
  instance_->saveFile();
  delete instance_;
  instance_ = nullptr;
}

CExclusionData::CExclusionData(const platform::Platform& platform, std::string path)
    : filePath(std::move(path)), platform_(platform) {}

void CExclusionData::loadFile() {
  items.clear();
  platform::ProfileFiles& profile = platform_.profile;
  int32_t count = static_cast<int32_t>(profile.getInt("SYSTEM", "EXCLUSIONNUM", 0, filePath));
  if (count > kMaxItems) {
    diag::print("EXCLUSIONNUM=%d is too large; %d rules read\n", count, kMaxItems);
    count = kMaxItems;
  }
  for (int32_t i = 0; i < count; ++i) {
    const std::string section = itemSection(static_cast<size_t>(i));
    auto number = [&](const char* key) {
      return static_cast<int32_t>(profile.getInt(section, key, 0, filePath));
    };
    auto text = [&](const char* key) {
      return profile.getString(section, key, "", kValueBuffer, filePath);
    };
    ExclusionItem item;
    item.titleFlag = number("TITLEFLAG");
    item.pnameFlag = number("PNAMEFLAG");
    item.fullNameFlag = number("FULLNAMEFLAG");
    item.title = text("TITLE");
    item.pname = text("PNAME");
    item.tpart = text("TPART");
    items.push_back(std::move(item));
  }
}

bool CExclusionData::saveFile() {
  CWriteIniFile writer(platform_.files, platform_.profile);
  writer.mode = 1;
  if (!writer.openFile(filePath)) return false;
  writer.writeString("SYSTEM", "EXCLUSIONNUM", std::to_string(items.size()), filePath);
  for (size_t i = 0; i < items.size(); ++i) {
    const ExclusionItem& item = items[i];
    const std::string section = itemSection(i);
    writer.writeString(section, "TITLEFLAG", std::to_string(item.titleFlag), filePath);
    writer.writeString(section, "PNAMEFLAG", std::to_string(item.pnameFlag), filePath);
    writer.writeString(section, "FULLNAMEFLAG", std::to_string(item.fullNameFlag), filePath);
    writer.writeString(section, "TITLE", item.title, filePath);
    writer.writeString(section, "PNAME", item.pname, filePath);
    writer.writeString(section, "TPART", item.tpart, filePath);
  }
  return writer.closeFile() != 0;
}

bool CExclusionData::isAllowed(const std::string& title, const std::string& processName) const {
  for (const ExclusionItem& item : items) {
    if (matchItem(item, title, processName, platform::isCp932LeadByte)) return false;
  }
  return true;
}

bool CExclusionData::addExclusion(const std::string& title, const std::string& processName) {
  for (const ExclusionItem& item : items) {
    if (item.titleFlag == 1 && item.pnameFlag == 1 && item.fullNameFlag == 1 &&
        item.title == title && item.pname == processName) {
      return false;
    }
  }
  items.insert(items.begin(), ExclusionItem{1, 1, title, processName, 1, ""});
  return true;
}
