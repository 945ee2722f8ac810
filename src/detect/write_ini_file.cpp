#include "detect/write_ini_file.h"

#include "base/diagnostic_log.h"

CWriteIniFile::~CWriteIniFile() { discardStream(); }

int32_t CWriteIniFile::openFile(const std::string& fileName) {
  if (!streamMode()) return 1;
  discardStream();
  targetPath_ = fileName;
  partPath_ = fileName + ".new";
  writeFailed_ = false;
  stream_ = files_.create(partPath_);
  if (!stream_) {
    diag::print("CWriteIniFile::openFile(%s) Error!\n", fileName.c_str());
    return 0;
  }
  return 1;
}

int32_t CWriteIniFile::writeString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& fileName) {
  if (!streamMode()) {
    profile_.writeString(section, key, value, fileName);
    return 1;
  }
  if (!stream_) return 1;  // the open failed: nothing may touch any file
  std::string lines;
  if (section != currentSection_) {
    currentSection_ = section;
    lines = "[" + section + "]\r\n";
  }
  lines += key + "=" + value + "\r\n";
  if (!stream_->write(lines)) writeFailed_ = true;
  return 1;
}

int32_t CWriteIniFile::closeFile() {
  if (!streamMode()) return 1;
  if (!stream_) return 0;
  const bool closed = stream_->close();
  stream_.reset();
  if (writeFailed_ || !closed || !files_.replace(partPath_, targetPath_)) {
    files_.remove(partPath_);
    diag::print("CWriteIniFile::closeFile(%s) Error!\n", targetPath_.c_str());
    return 0;
  }
  return 1;
}

void CWriteIniFile::discardStream() {
  if (!stream_) return;
  stream_.reset();
  files_.remove(partPath_);
}
