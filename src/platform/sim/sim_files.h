// Whole-file writes on the simulated desktop, with a byte budget that makes a write fail
// part-way, as a full disk would.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/sim/sim_file_system.h"

namespace sim {

class SimFiles : public platform::Files {
 public:
  // `writeBudget`: bytes that may still be written before writes fail; -1 = unlimited.
  SimFiles(SimFileSystem& fs, long long& writeBudget, std::vector<std::string>& actions)
      : fs_(fs), writeBudget_(writeBudget), actions_(actions) {}

  std::unique_ptr<platform::WritableFile> create(const std::string& path) override;
  bool replace(const std::string& from, const std::string& to) override;
  bool remove(const std::string& path) override;

 private:
  SimFileSystem& fs_;
  long long& writeBudget_;
  std::vector<std::string>& actions_;
};

}  // namespace sim
