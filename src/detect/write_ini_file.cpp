#include "detect/write_ini_file.h"

#include "base/diagnostic_log.h"

CWriteIniFile::~CWriteIniFile() { discardStream(); }

int32_t CWriteIniFile::openFile(const std::string& fileName) {
  if (!streamMode()) return 1;
  discardStream();
  writeFailed_ = false;
  stream_ = startFile(files_, fileName);
  if (!stream_.file) {
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
  if (!stream_.file) return 1;  // the open failed: nothing may touch any file
  std::string lines;
  if (section != currentSection_) {
    currentSection_ = section;
    lines = "[" + section + "]\r\n";
  }
  lines += key + "=" + value + "\r\n";
  if (!stream_.file->write(lines)) writeFailed_ = true;
  return 1;
}

int32_t CWriteIniFile::closeFile() {
  if (!streamMode()) return 1;
  if (!stream_.file) return 0;
  if (!finishFile(files_, stream_, !writeFailed_)) {
    diag::print("CWriteIniFile::closeFile(%s) Error!\n", stream_.target.c_str());
    return 0;
  }
  return 1;
}

void CWriteIniFile::discardStream() {
  dropFile(files_, stream_);
}
