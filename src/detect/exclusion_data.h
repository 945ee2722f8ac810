// Exclusion rules: which windows get no preview, and their file "ExclusionData.ini".
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "text/mbcs.h"

struct ExclusionItem {
  int32_t titleFlag = 0;     // title test on when exactly 1
  int32_t pnameFlag = 0;     // process test on when exactly 1
  std::string title;         // a whole window title
  std::string pname;         // an executable base name
  int32_t fullNameFlag = 0;  // exactly 1: compare the whole title; otherwise look for tpart
  std::string tpart;         // part of a title
  friend bool operator==(const ExclusionItem&, const ExclusionItem&) = default;
};

// True when every test the item switches on holds for the window.
bool matchItem(const ExclusionItem& item, const std::string& title,
               const std::string& processName, const text::LeadByteTest& isLead);

class CExclusionData {
 public:
  // The process-wide store: created on the first call (path from the current directory,
  // then loaded); deleted, and so saved, by deleteInstance().
  static CExclusionData* getInstance(const platform::Platform& platform);
  static CExclusionData* existingInstance() { return instance_; }
  static void deleteInstance();

  CExclusionData(const platform::Platform& platform, std::string filePath);
  virtual ~CExclusionData() = default;

  // Replaces the items with the file's rules; a missing or unreadable file gives none.
  void loadFile();
  // Writes every item; false (and the old file kept) when the file could not be written.
  bool saveFile();

  // False when some item matches the window.
  bool isAllowed(const std::string& title, const std::string& processName) const;
  // Puts a whole-title-and-process rule at the front unless an identical one exists;
  // true when it added one.
  bool addExclusion(const std::string& title, const std::string& processName);

  // More rules than this in one file are not believed: a damaged count must not make the
  // load run for hours.
  static constexpr int32_t kMaxItems = 4096;

  std::vector<ExclusionItem> items;
  std::string filePath;

 private:
  static CExclusionData* instance_;
  platform::Platform platform_;
};
