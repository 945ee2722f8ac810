// The program's one channel to the shell's taskbar buttons; also carries COM's
// initialisation for the user-interface thread.
#pragma once

#include <memory>

#include "platform/shell.h"

class CTaskBarControl {
 public:
  static CTaskBarControl* getInstance(platform::Shell& shell);
  static CTaskBarControl* existingInstance() { return instance_; }
  static void deleteInstance();

  explicit CTaskBarControl(platform::Shell& shell);
  virtual ~CTaskBarControl();
  CTaskBarControl(const CTaskBarControl&) = delete;
  CTaskBarControl& operator=(const CTaskBarControl&) = delete;

  // 1 when the shell added the window's button; 0 otherwise (also without a taskbar object).
  int32_t addTab(platform::Hwnd window);
  // 1 at once while removal is disabled; otherwise 1 when the shell removed the button.
  int32_t deleteTab(platform::Hwnd window);

  int32_t removalEnabled = 1;

 private:
  static CTaskBarControl* instance_;
  platform::Shell& shell_;
  std::unique_ptr<platform::TaskbarList> taskbarList_;
};
