#include "detect/write_ini_file.h"

#include "base/diagnostic_log.h"

CWriteIniFile::~CWriteIniFile() {
  discardStream();
}

bool CWriteIniFile::openFile(const std::string& fileName) {
  if (!streamMode()) return true;
  discardStream();
  writeFailed_ = false;
  stream_ = startFile(files_, fileName);
  if (!stream_.file) {
    diag::print("CWriteIniFile::openFile(%s) Error!\n", fileName.c_str());
    return false;
  }
  return true;
}

bool CWriteIniFile::writeString(const std::string& section, const std::string& key,
                                const std::string& value, const std::string& fileName) {
  if (!streamMode()) {
    profile_.writeString(section, key, value, fileName);
    return true;
  }
  if (!stream_.file) return true;  // the open failed: nothing may touch any file
  std::string lines;
  if (section != currentSection_) {
    currentSection_ = section;
    lines = "[" + section + "]\r\n";
  }
  lines += key + "=" + value + "\r\n";
  if (!stream_.file->write(lines)) writeFailed_ = true;
  return true;
}

bool CWriteIniFile::closeFile() {
  if (!streamMode()) return true;
  if (!stream_.file) return false;
  if (!finishFile(files_, stream_, !writeFailed_)) {
    diag::print("CWriteIniFile::closeFile(%s) Error!\n", stream_.target.c_str());
    return false;
  }
  return true;
}

void CWriteIniFile::discardStream() {
  dropFile(files_, stream_);
}
