// Whole-file reads and writes on the simulated desktop, with a byte budget that makes a write
// fail part-way, as a full disk would. Every call is logged ("file read <path>" ...).
// Not modelled: locks on writes and replaces (a folder in the file's place stands in for a
// file that cannot be replaced); the profile functions ignore `unreadable`.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/sim/sim_file_system.h"

namespace sim {

class SimFiles : public platform::Files {
 public:
  // `writeBudget`: bytes that may still be written before writes fail; -1 = unlimited.
  // `unreadable`: paths whose reads fail as if another program held them locked.
  SimFiles(SimFileSystem& fs, long long& writeBudget, const std::set<std::string>& unreadable,
           std::vector<std::string>& actions)
      : fs_(fs), writeBudget_(writeBudget), unreadable_(unreadable), actions_(actions) {}

  platform::FileContents read(const std::string& path) override;
  std::unique_ptr<platform::WritableFile> create(const std::string& path) override;
  bool replace(const std::string& from, const std::string& to) override;
  bool remove(const std::string& path) override;

 private:
  SimFileSystem& fs_;
  long long& writeBudget_;
  const std::set<std::string>& unreadable_;
  std::vector<std::string>& actions_;
};

}  // namespace sim
