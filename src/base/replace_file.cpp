#include "base/replace_file.h"

bool replaceFile(platform::Files& files, const std::string& path, const std::string& bytes) {
  const std::string part = path + ".new";
  std::unique_ptr<platform::WritableFile> file = files.create(part);
  if (!file) return false;
  const bool written = file->write(bytes);
  const bool closed = file->close();
  file.reset();
  if (written && closed && files.replace(part, path)) return true;
  files.remove(part);
  return false;
}
