// Plain files read whole, and written whole: created, written in one pass, closed, then moved
// into place.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/types.h"

namespace platform {

class WritableFile {
 public:
  virtual ~WritableFile() = default;  // closes the file if still open
  virtual bool write(const std::string& bytes) = 0;
  // Flushes and closes; false when the data may not all have reached the disk.
  virtual bool close() = 0;
};

struct FileContents {
  enum class Status { Read, Missing, Unreadable, TooLarge };
  Status status = Status::Missing;
  std::string bytes;  // the whole file when read
};

class Files {
 public:
  virtual ~Files() = default;
  // Reads the whole file. Missing: neither the file nor its folder exists; Unreadable: it is
  // there but could not be read (a folder, locked, denied); TooLarge: it holds more than
  // `maxBytes` bytes, and nothing of it was read.
  virtual FileContents read(const std::string& path, size_t maxBytes) = 0;
  FileContents read(const std::string& path) { return read(path, static_cast<size_t>(-1)); }
  // Creates or truncates `path` for writing; null on failure.
  virtual std::unique_ptr<WritableFile> create(const std::string& path) = 0;
  // MoveFileExA with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH.
  virtual bool replace(const std::string& from, const std::string& to) = 0;
  virtual bool remove(const std::string& path) = 0;
};

}  // namespace platform
