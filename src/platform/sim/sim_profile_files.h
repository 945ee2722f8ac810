// Private-profile (INI) files of the simulated desktop, on real files of the SimFileSystem.
// Behaves as the profile functions do under Wine 8 with code page 932: the file is read afresh
// on every call, parsed the way Wine parses it, and rewritten whole (CRLF, no blank lines) when
// a write changes something. The parsing rules live in text/profile_text, which the program's
// one-pass readers use too.
//
// Not modelled: files that start with a byte-order mark (Wine converts UTF-8 and UTF-16 files
// and writes them back in their encoding; here they are plain bytes), and Wine's conversion of
// well-formed but unassigned double-byte pairs (to 0x81 0x45) and of NEC/IBM duplicates (here
// those bytes pass through unchanged).
// Arguments of 32767 characters or more throw std::length_error: Wine crashes or garbles the
// file on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/profile.h"
#include "platform/sim/sim_file_system.h"

namespace sim {

class SimProfileFiles : public platform::ProfileFiles {
 public:
  explicit SimProfileFiles(SimFileSystem& fs);

  uint32_t getInt(const std::string& section, const std::string& key, int32_t defaultValue,
                  const std::string& file) override;
  std::string getString(const std::string& section, const std::string& key,
                        const std::string& defaultValue, size_t bufferSize,
                        const std::string& file) override;
  bool writeString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& file) override;

  // Where a bare file name ("a.ini") lives, as on Windows.
  static constexpr const char* kWindowsDirectory = "C:\\Windows";

 private:
  // The host file behind a profile file name; nullopt when Windows would reject the name.
  std::optional<std::filesystem::path> hostFile(const std::string& file) const;

  SimFileSystem& fs_;
};

}  // namespace sim
