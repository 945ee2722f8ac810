// Shell services: COM on the user-interface thread, the taskbar list object, the
// notification-area icon and opening documents or web addresses.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/types.h"

namespace platform {

// ITaskbarList through its published slots.
class TaskbarList {
 public:
  virtual ~TaskbarList() = default;  // Release
  virtual HResult hrInit() = 0;
  virtual HResult addTab(Hwnd window) = 0;
  virtual HResult deleteTab(Hwnd window) = 0;
};

// NOTIFYICONDATAA, as far as the program fills it.
struct TrayIconData {
  Hwnd window;
  uint32_t id = 0;
  uint32_t flags = 0;
  uint32_t callbackMessage = 0;
  IconHandle icon;
  std::string tip;  // the program's own text, at most 127 bytes
};

struct ShellResult {
  bool ok = false;
  Dword lastError = ERROR_SUCCESS;
};

class Shell {
 public:
  virtual ~Shell() = default;
  virtual HResult comInitialize() = 0;
  virtual void comUninitialize() = 0;
  // CoCreateInstance(CLSID_TaskbarList, IID_ITaskbarList); null on failure.
  virtual std::unique_ptr<TaskbarList> createTaskbarList() = 0;
  // Shell_NotifyIconA with NIM_ADD, NIM_MODIFY or NIM_DELETE, and the last error after it.
  virtual ShellResult notifyIcon(uint32_t message, const TrayIconData& data) = 0;
  // The shell's taskbar window ("Shell_TrayWnd"), which holds the notification area; 0 when
  // there is none. A new one means the shell restarted and lost every icon.
  virtual Hwnd trayWindow() = 0;
  // SHGetFileInfoW(SHGFI_ICON | SHGFI_SMALLICON) of a path in code page 932 (as
  // Processes::imagePath gives it): the file's small icon, or nothing (the caller owns and
  // destroys the icon).
  virtual std::optional<IconHandle> fileSmallIcon(const std::string& path) = 0;
  // ShellExecuteA; true when it reported success (a result above 32).
  virtual bool shellExecute(Hwnd owner, const std::string& verb, const std::string& file,
                            int32_t show) = 0;
};

}  // namespace platform
