// Private-profile (INI) files, with the semantics of the Windows profile functions.
#pragma once

#include <string>

#include "platform/types.h"

namespace platform {

class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  // GetPrivateProfileIntA.
  virtual uint32_t getInt(const std::string& section, const std::string& key, int32_t defaultValue,
                          const std::string& file) = 0;
  // GetPrivateProfileStringA into a buffer of `bufferSize` bytes (at most bufferSize - 1 kept).
  virtual std::string getString(const std::string& section, const std::string& key,
                                const std::string& defaultValue, size_t bufferSize,
                                const std::string& file) = 0;
  // WritePrivateProfileStringA with a value (never a deletion).
  virtual bool writeString(const std::string& section, const std::string& key,
                           const std::string& value, const std::string& file) = 0;
};

}  // namespace platform
