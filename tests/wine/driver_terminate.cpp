// wine-driver command that ends a program the hard way, as the task manager does:
//
//   terminate PID                TerminateProcess on that Windows process id; its exit path,
//                                console handler and exception filters never run
#include "driver_util.h"

namespace {

int Terminate(int argc, wchar_t** argv) {
  unsigned long pid = 0;
  if (argc != 3 || std::wstring(argv[1]) != L"terminate") return -1;
  if (!driver::ParseNumber(argv[2], pid)) return 2;
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return driver::Fail("OpenProcess failed");
  const bool ended =
      TerminateProcess(process, 1) != 0 && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended ? 0 : driver::Fail("TerminateProcess failed");
}

const driver::CommandRegistration registration(Terminate);

}  // namespace
