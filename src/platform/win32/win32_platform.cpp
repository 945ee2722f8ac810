#include "platform/win32/win32_platform.h"

namespace win32 {

// Here rather than beside WinMain, so that the Wine probe can build the same bundle.
Win32Platform::Win32Platform()
    : platform_{.system = system_,
                .profile = profile_,
                .files = files_,
                .monitors = monitors_,
                .dwm = dwm_,
                .shell = shell_,
                .messageBoxes = messageBoxes_,
                .processes = processes_,
                .windows = windows_,
                .messages = windows_,
                .ownWindows = windows_,
                .dialogs = windows_,
                .listViews = windows_,
                .icons = windows_,
                .drawing = windows_,
                .input = windows_,
                .screen = windows_,
                .clipboard = clipboard_} {}

}  // namespace win32
