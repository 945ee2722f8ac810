// Facts about other processes.
#pragma once

#include <string>

#include "platform/types.h"

namespace platform {

class Processes {
 public:
  virtual ~Processes() = default;
  // Base name of the process's first module: OpenProcess(PROCESS_QUERY_INFORMATION |
  // PROCESS_VM_READ), EnumProcessModules, GetModuleBaseNameA. Empty when any step fails.
  virtual std::string baseName(Dword processId) = 0;
  // Full path of the first module (GetModuleFileNameExA, 1024 bytes); empty on failure.
  virtual std::string imagePath(Dword processId) = 0;
};

}  // namespace platform
