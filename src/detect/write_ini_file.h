// Writes an INI text file: through the profile functions one key at a time (profile mode),
// or as a whole new file in call order (stream mode, mode 1).
//
// Stream mode never loses the previous file: the lines go to a file beside it, which
// replaces the old one only when closeFile() finds every write and the close succeeded.
// Where no file can be created beside it, the lines go to the file itself.
#pragma once

#include <memory>
#include <string>

#include "base/replace_file.h"
#include "platform/files.h"
#include "platform/profile.h"

class CWriteIniFile {
 public:
  CWriteIniFile(platform::Files& files, platform::ProfileFiles& profile)
      : files_(files), profile_(profile) {}
  virtual ~CWriteIniFile();

  // Non-zero on success. Stream mode creates the file afresh; profile mode touches nothing.
  int32_t openFile(const std::string& fileName);
  // Always 1. Stream mode writes "[section]" when the section changes, then "key=value".
  int32_t writeString(const std::string& section, const std::string& key,
                      const std::string& value, const std::string& fileName);
  // Stream mode: non-zero when the whole file is in place; 0 when anything failed, and then
  // the previous file is untouched. Profile mode: 1.
  int32_t closeFile();

  int32_t mode = 0;  // 1 = stream mode; any other value is profile mode

 private:
  bool streamMode() const { return mode == 1; }
  void discardStream();

  platform::Files& files_;
  platform::ProfileFiles& profile_;
  FileDraft stream_;
  std::string currentSection_;
  bool writeFailed_ = false;
};
