// Shell services: COM on the user-interface thread and the taskbar list object.
#pragma once

#include <memory>

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

class Shell {
 public:
  virtual ~Shell() = default;
  virtual HResult comInitialize() = 0;
  virtual void comUninitialize() = 0;
  // CoCreateInstance(CLSID_TaskbarList, IID_ITaskbarList); null on failure.
  virtual std::unique_ptr<TaskbarList> createTaskbarList() = 0;
};

}  // namespace platform
