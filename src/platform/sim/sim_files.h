// Whole-file reads and writes on the simulated desktop, with a byte budget that makes a write
// fail part-way, as a full disk would. Every call is logged ("file read <path>" ...).
// Files another program holds open without sharing refuse every read, create, replace and
// removal; folders the user may not create files in refuse new files, replaces and removals
// there, while the files already in them can be written.
// Not modelled: the program's own open files locking each other; access rights of single
// files (a folder in the file's place stands in for a file that cannot be written); the
// profile functions ignore all three sets.
#pragma once

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/sim/sim_file_system.h"

namespace sim {

class SimFiles : public platform::Files {
 public:
  // The conditions of the disk (a full disk, locked files, closed folders) are `fs`'s.
  SimFiles(SimFileSystem& fs, std::vector<std::string>& actions) : fs_(fs), actions_(actions) {}

  using platform::Files::read;
  platform::FileContents read(const std::string& path, size_t maxBytes) override;
  std::unique_ptr<platform::WritableFile> create(const std::string& path) override;
  bool replace(const std::string& from, const std::string& to) override;
  bool remove(const std::string& path) override;

  // The program's process has ended: what its code still does here writes nothing.
  bool processGone = false;
  // Called before each create, replace or removal (SimDesktop::endProcessAfter).
  std::function<void()> beforeReaching;

 private:
  bool isLocked(const std::filesystem::path& host) const;
  bool inClosedFolder(const std::filesystem::path& host) const;

  SimFileSystem& fs_;
  std::vector<std::string>& actions_;
};

}  // namespace sim
