#include "base/version_string.h"

#include <cstdio>

std::string VersionString::getVersionString() {
  if (computed_) return text_;
  const std::string path = system_.moduleFileName();
  const platform::Dword size = system_.versionInfoSize(path);
  if (size == 0) return {};
  std::unique_ptr<platform::VersionBlock> block = system_.versionInfo(path, size);
  if (!block) return {};
  std::optional<std::string> translation = block->query("\\VarFileInfo\\Translation");
  if (!translation || translation->size() < 4) return {};
  auto word = [&](size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>((*translation)[at]) |
                                 (static_cast<unsigned char>((*translation)[at + 1]) << 8));
  };
  char subBlock[64];
  snprintf(subBlock, sizeof subBlock, "\\StringFileInfo\\%04x%04x\\%s", word(0), word(2),
           "ProductVersion");
  std::optional<std::string> version = block->query(subBlock);
  if (!version) return {};
  // The value is zero-terminated inside the block; keep what comes before the terminator.
  std::string value = version->substr(0, version->find('\0'));
  char buffer[256];
  snprintf(buffer, sizeof buffer, "Ver.:%s", value.c_str());
  text_ = buffer;
  computed_ = true;
  return text_;
}
