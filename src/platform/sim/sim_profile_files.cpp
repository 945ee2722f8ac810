#include "platform/sim/sim_profile_files.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/sim/cp932.h"
#include "text/profile_text.h"

namespace sim {

namespace {

using text::ProfileText;
using Text = text::ProfileUnits;
using TextView = text::ProfileUnitsView;

constexpr size_t kArgumentLimit = 32767;  // characters; Wine fails from here on

Text decode(std::string_view bytes) {
  return text::decodeProfileText(bytes, isCp932LeadByte);
}

// Measured under Wine 8: an argument that ends in a lone lead byte loses it (in a file it
// stands for an unconvertible character).
std::string_view withoutLoneLeadByte(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (!isCp932LeadByte(static_cast<unsigned char>(bytes[i]))) continue;
    if (i + 1 == bytes.size()) return bytes.substr(0, i);
    ++i;
  }
  return bytes;
}

// An argument as the Win32 adapter hands it over: the bytes before the first NUL.
Text argument(const std::string& value) {
  Text text = decode(withoutLoneLeadByte(value.c_str()));
  if (text.size() >= kArgumentLimit) {
    throw std::length_error("profile argument of 32767 characters or more");
  }
  return text;
}

// Nullopt when there is no regular file to read: missing, a folder, a device.
std::optional<std::string> readBytes(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return std::move(bytes).str();
}

bool writeBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

// The stored value of `key` in `section`; nullopt when the file, the section, the key or its
// '=' is missing. The file is read and parsed afresh, as the profile functions do.
std::optional<Text> findValue(const std::optional<std::filesystem::path>& file, TextView section,
                              TextView key) {
  const std::optional<std::string> bytes = file ? readBytes(*file) : std::nullopt;
  if (!bytes) return std::nullopt;
  const ProfileText profile(*bytes, isCp932LeadByte);
  const Text* stored = profile.storedValue(section, key);
  return stored ? std::optional<Text>(*stored) : std::nullopt;
}

bool isSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

// Measured under Wine 8: names with these characters fail.
bool isValidFileName(TextView name) {
  if (name.empty() || isSeparator(name.back())) return false;
  return std::none_of(name.begin(), name.end(), [](char16_t c) {
    return c < u' ' || TextView(u"<>\"|?*").find(c) != TextView::npos;
  });
}

// A name without any folder ("a.ini") lives in the Windows folder; "C:a.ini" does not.
bool isBareName(TextView name) {
  return std::none_of(name.begin(), name.end(), isSeparator) &&
         !(name.size() >= 2 && name[1] == u':');
}

}  // namespace

SimProfileFiles::SimProfileFiles(SimFileSystem& fs) : fs_(fs) {}

std::optional<std::filesystem::path> SimProfileFiles::hostFile(const std::string& file) const {
  const std::string name = file.c_str();
  const Text units = decode(name);
  if (!isValidFileName(units)) return std::nullopt;
  return fs_.hostPath(isBareName(units) ? std::string(kWindowsDirectory) + "\\" + name : name);
}

uint32_t SimProfileFiles::getInt(const std::string& section, const std::string& key,
                                 int32_t defaultValue, const std::string& file) {
  const std::optional<Text> value = findValue(hostFile(file), argument(section), argument(key));
  return text::profileInt(value ? &*value : nullptr, defaultValue);
}

std::string SimProfileFiles::getString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue, size_t bufferSize,
                                       const std::string& file) {
  if (bufferSize == 0) return {};  // the adapter does not call Windows then
  const Text fallback = argument(defaultValue);
  const std::optional<Text> value = findValue(hostFile(file), argument(section), argument(key));
  return text::profileString(value ? &*value : nullptr, fallback, bufferSize);
}

bool SimProfileFiles::writeString(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& file) {
  const Text sectionName = argument(section);
  const Text keyName = argument(key);
  const Text newValue = argument(value);
  const std::optional<std::filesystem::path> path = hostFile(file);
  if (!path) return false;
  std::error_code error;
  std::string bytes;
  if (std::filesystem::exists(*path, error)) {
    std::optional<std::string> existing = readBytes(*path);
    if (!existing) return false;  // a folder, or a file that cannot be read
    bytes = std::move(*existing);
  }
  ProfileText profile(bytes, isCp932LeadByte);
  if (!profile.setValue(sectionName, keyName, newValue)) return true;  // file left untouched
  if (path->parent_path() == fs_.hostPath(kWindowsDirectory)) {
    fs_.makeDirectory(kWindowsDirectory);  // always there on Windows
  }
  return writeBytes(*path, profile.bytes());
}

}  // namespace sim
