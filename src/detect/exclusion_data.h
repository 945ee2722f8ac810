// Exclusion rules: which windows get no preview, and their file "ExclusionData.ini".
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "detect/exclusion_item.h"
#include "detect/rules_file.h"
#include "platform/platform.h"
#include "text/mbcs.h"

// True when every test the item switches on holds for the window.
bool matchItem(const ExclusionItem& item, const std::string& title, const std::string& processName,
               const text::LeadByteTest& isLead);

class CExclusionData {
 public:
  // The store of the running program: "ExclusionData.ini" in the current directory, loaded.
  // The application owns it and saves it at shutdown.
  static std::unique_ptr<CExclusionData> openStore(const platform::Platform& platform);

  CExclusionData(const RulesFilePorts& ports, std::string filePath);
  virtual ~CExclusionData() = default;

  // Replaces the items with the file's rules; a missing or unreadable file gives none. A file
  // that does not make sense is logged, and its bytes are kept for the first save.
  void loadFile();
  // Writes every item; false (and the old file kept) when the file could not be written. The
  // first save after loading a file that did not make sense first keeps that file as
  // "<file>.bak"; a file that could not be read is never replaced.
  bool saveFile();

  // False when some item matches the window.
  bool isAllowed(const std::string& title, const std::string& processName) const;
  // The index of the first item that matches the window (its "ITEM" section once saved).
  std::optional<size_t> matchingRule(const std::string& title,
                                     const std::string& processName) const;
  // Puts a whole-title-and-process rule at the front unless an identical one exists or the
  // list is full (a file cannot hold more); true when it added one.
  bool addExclusion(const std::string& title, const std::string& processName);

  static constexpr int32_t kMaxItems = kMaxRules;

  std::vector<ExclusionItem> items;
  std::string filePath;

 private:
  RulesFilePorts ports_;
  // The bytes of a loaded file that did not make sense, until they are kept beside it.
  std::optional<std::string> damagedOriginal_;
  bool unreadable_ = false;  // the file was there but could not be read
};
