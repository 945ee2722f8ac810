// A DLL planted beside ZENTA.exe under the name of a system DLL (test_system_dlls.sh). Once
// loaded it leaves an empty file "<its own path>.loaded". Its exports (planted_dll.def) stand
// in for the functions the program binds, so that an import of it would still resolve; they
// only fail.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH + 8];
  const DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  lstrcatW(path, L".loaded");
  HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  return TRUE;
}

extern "C" {
// DwmIsCompositionEnabled: E_FAIL, nothing written.
HRESULT WINAPI PlantedFailure(void*) {
  return E_FAIL;
}
// The version functions: 0 bytes, FALSE.
int WINAPI PlantedZero2(void*, void*) {
  return 0;
}
int WINAPI PlantedZero4(void*, void*, void*, void*) {
  return 0;
}
}
