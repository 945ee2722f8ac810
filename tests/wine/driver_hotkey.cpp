// wine-driver command of another program holding a hot-key:
//
//   hold-hotkey MODIFIERS VK SECONDS
//                                RegisterHotKey(MODIFIERS, VK) for this thread; print "held"
//                                (or fail: someone holds it); keep it until a line or the
//                                end of stdin, or SECONDS; then print "released"
#include "driver_util.h"

namespace {

DWORD WINAPI WaitForInput(void*) {
  char line[64];
  std::fgets(line, sizeof line, stdin);  // a line or the end of input
  return 0;
}

int HoldHotKey(int argc, wchar_t** argv) {
  unsigned long modifiers = 0, vk = 0, seconds = 0;
  if (argc != 5 || std::wstring(argv[1]) != L"hold-hotkey") return -1;
  if (!driver::ParseNumber(argv[2], modifiers) || !driver::ParseNumber(argv[3], vk) ||
      !driver::ParseNumber(argv[4], seconds))
    return 2;
  if (!RegisterHotKey(nullptr, 1, static_cast<UINT>(modifiers), static_cast<UINT>(vk)))
    return driver::Fail("RegisterHotKey failed, error " + std::to_string(GetLastError()));
  driver::PrintLine("held");
  HANDLE reader = CreateThread(nullptr, 0, WaitForInput, nullptr, 0, nullptr);
  if (reader != nullptr) WaitForSingleObject(reader, seconds * 1000);
  UnregisterHotKey(nullptr, 1);
  driver::PrintLine("released");
  ExitProcess(0);  // the reader may still block
}

const driver::CommandRegistration registration(HoldHotKey);

}  // namespace
