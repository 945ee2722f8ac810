#include "platform/win32/win32_platform.h"

namespace win32 {

// Here rather than beside WinMain, so that the Wine probe can build the same bundle.
Win32Platform::Win32Platform()
    : platform_{system_, profile_,      files_,   monitors_, dwm_,
                shell_,  messageBoxes_, windows_, processes_} {}

}  // namespace win32
