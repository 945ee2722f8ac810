// Facts about other processes.
#pragma once

#include <string>

#include "platform/types.h"

namespace platform {

class Processes {
 public:
  virtual ~Processes() = default;
  // Base name of the process's first module in code page 932: OpenProcess(
  // PROCESS_QUERY_INFORMATION | PROCESS_VM_READ), EnumProcessModules, GetModuleBaseNameW.
  // Empty when any step fails.
  virtual std::string baseName(Dword processId) = 0;
  // Full path of the first module (GetModuleFileNameExW) in code page 932, for
  // Shell::fileSmallIcon; a path that code page 932 cannot hold is given in its short form
  // when that one fits. Empty on failure.
  virtual std::string imagePath(Dword processId) = 0;
};

}  // namespace platform
