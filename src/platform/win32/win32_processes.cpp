#include "platform/win32/win32_platform.h"

#include <psapi.h>

namespace win32 {

namespace {

// Opens the process and names its first module (the executable) with `name`; empty when
// any step fails.
template <typename NameOf>
std::string firstModuleName(platform::Dword processId, NameOf name) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (process == nullptr) return {};
  std::string result;
  HMODULE modules[1024];
  DWORD needed = 0;
  if (EnumProcessModules(process, modules, sizeof modules, &needed) && needed >= sizeof(HMODULE)) {
    char buffer[1024] = {};
    DWORD length = name(process, modules[0], buffer, sizeof buffer);
    if (length > 0) result.assign(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
  }
  CloseHandle(process);
  return result;
}

}  // namespace

std::string Win32Processes::baseName(platform::Dword processId) {
  return firstModuleName(processId, GetModuleBaseNameA);
}

std::string Win32Processes::imagePath(platform::Dword processId) {
  return firstModuleName(processId, GetModuleFileNameExA);
}

}  // namespace win32
