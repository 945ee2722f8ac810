#include <vector>

#include "platform/win32/win32_platform.h"

namespace win32 {

uint32_t Win32ProfileFiles::getInt(const std::string& section, const std::string& key,
                                   int32_t defaultValue, const std::string& file) {
  return GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, file.c_str());
}

std::string Win32ProfileFiles::getString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, size_t bufferSize,
                                         const std::string& file) {
  if (bufferSize == 0) return {};
  std::vector<char> buffer(bufferSize, '\0');
  DWORD length =
      GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                               static_cast<DWORD>(bufferSize), file.c_str());
  return std::string(buffer.data(), std::min<size_t>(length, bufferSize - 1));
}

bool Win32ProfileFiles::writeString(const std::string& section, const std::string& key,
                                    const std::string& value, const std::string& file) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

}  // namespace win32
