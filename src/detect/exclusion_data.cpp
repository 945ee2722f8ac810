#include "detect/exclusion_data.h"

#include "base/diagnostic_log.h"
#include "base/program_folder.h"
#include "base/replace_file.h"
#include "platform/cp932.h"

namespace {

constexpr const char* kFileName = "ExclusionData.ini";
constexpr const char* kBackupSuffix = ".bak";

}  // namespace

bool matchItem(const ExclusionItem& item, const std::string& title, const std::string& processName,
               const text::LeadByteTest& isLead) {
  bool titleHolds = true;
  if (item.titleFlag == 1) {
    titleHolds = item.fullNameFlag == 1
                     ? title == item.title
                     : text::findPart(title, item.tpart, isLead) != std::string::npos;
  }
  const bool processHolds = item.pnameFlag != 1 || processName == item.pname;
  return titleHolds && processHolds;
}

std::unique_ptr<CExclusionData> CExclusionData::openStore(const platform::Platform& platform) {
  auto store = std::make_unique<CExclusionData>(platform,
                                                pathInCurrentDirectory(platform.system, kFileName));
  store->loadFile();
  return store;
}

CExclusionData::CExclusionData(const RulesFilePorts& ports, std::string path)
    : filePath(std::move(path)), ports_(ports) {}

void CExclusionData::loadFile() {
  RulesFile file = readRulesFile(ports_, filePath);
  items = std::move(file.items);
  unreadable_ = file.status == platform::FileContents::Status::Unreadable;
  damagedOriginal_.reset();
  if (unreadable_) {
    diag::print("%s cannot be read; it will not be replaced\n", filePath.c_str());
  } else if (!file.problem.empty()) {
    diag::print("%s does not make sense (%s); it will be kept as %s%s\n", filePath.c_str(),
                file.problem.c_str(), filePath.c_str(), kBackupSuffix);
    damagedOriginal_ = std::move(file.original);
  }
}

bool CExclusionData::saveFile() {
  if (unreadable_) {
    diag::print("%s could not be read at start; the rules are not saved over it\n",
                filePath.c_str());
    return false;
  }
  if (damagedOriginal_) {
    const std::string backup = filePath + kBackupSuffix;
    if (!replaceFile(ports_.files, backup, *damagedOriginal_)) {
      diag::print("%s could not be written; the rules are not saved over %s\n", backup.c_str(),
                  filePath.c_str());
      return false;
    }
    diag::print("%s kept as %s\n", filePath.c_str(), backup.c_str());
    damagedOriginal_.reset();
  }
  return writeRulesFile(ports_, filePath, items);
}

std::optional<size_t> CExclusionData::matchingRule(const std::string& title,
                                                   const std::string& processName) const {
  for (size_t i = 0; i < items.size(); ++i) {
    if (matchItem(items[i], title, processName, platform::isCp932LeadByte)) return i;
  }
  return std::nullopt;
}

bool CExclusionData::isAllowed(const std::string& title, const std::string& processName) const {
  return !matchingRule(title, processName);
}

bool CExclusionData::addExclusion(const std::string& title, const std::string& processName) {
  for (const ExclusionItem& item : items) {
    if (item.titleFlag == 1 && item.pnameFlag == 1 && item.fullNameFlag == 1 &&
        item.title == title && item.pname == processName) {
      return false;
    }
  }
  if (items.size() >= static_cast<size_t>(kMaxItems)) {
    diag::print("ExclusionData: %d rules already; no more can be kept\n", kMaxItems);
    return false;
  }
  items.insert(items.begin(), ExclusionItem{1, 1, title, processName, 1, ""});
  return true;
}
