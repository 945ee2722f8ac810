#include "platform/win32/win32_platform.h"

#include <psapi.h>

namespace win32 {

namespace {

// Opens the process and names its first module (the executable) with `name`; empty when
// any step fails.
template <typename NameOf>
std::wstring firstModuleName(platform::Dword processId, NameOf name) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (process == nullptr) return {};
  std::wstring result;
  HMODULE modules[1024];
  DWORD needed = 0;
  if (EnumProcessModules(process, modules, sizeof modules, &needed) && needed >= sizeof(HMODULE)) {
    wchar_t buffer[1024] = {};
    DWORD length = name(process, modules[0], buffer, 1024);
    if (length > 0) result.assign(buffer, length < 1024 ? length : 1023);
  }
  CloseHandle(process);
  return result;
}

}  // namespace

std::string Win32Processes::baseName(platform::Dword processId) {
  return toProgramText(firstModuleName(processId, GetModuleBaseNameW));
}

std::string Win32Processes::imagePath(platform::Dword processId) {
  const std::wstring path = firstModuleName(processId, GetModuleFileNameExW);
  if (!holdsExactly(path)) {
    // A path converted with a best fit or a '?' names no file; its 8.3 form is plain ASCII
    // where the volume keeps such names.
    wchar_t shortPath[1024] = {};
    DWORD length = GetShortPathNameW(path.c_str(), shortPath, 1024);
    if (length > 0 && length < 1024 && holdsExactly(std::wstring(shortPath, length))) {
      return toProgramText(std::wstring(shortPath, length));
    }
  }
  return toProgramText(path);
}

}  // namespace win32
