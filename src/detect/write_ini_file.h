// Writes an INI text file: through the profile functions one key at a time (profile mode),
// or as a whole new file in call order (stream mode).
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

  enum class Mode { Profile, Stream };

  // True on success. Stream mode creates the file afresh; profile mode touches nothing.
  bool openFile(const std::string& fileName);
  // Always true: a failed write shows at closeFile(). Stream mode writes "[section]" when the
  // section changes, then "key=value".
  bool writeString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& fileName);
  // Stream mode: true when the whole file is in place; false when anything failed, and then
  // the previous file is untouched. Profile mode: true.
  bool closeFile();

  Mode mode = Mode::Profile;

 private:
  bool streamMode() const { return mode == Mode::Stream; }
  void discardStream();

  platform::Files& files_;
  platform::ProfileFiles& profile_;
  FileDraft stream_;
  std::string currentSection_;
  bool writeFailed_ = false;
};
