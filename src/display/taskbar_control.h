// The program's one channel to the shell's taskbar buttons; also carries COM's
// initialisation for the user-interface thread. The application object owns the one instance.
#pragma once

#include <memory>

#include "base/scoped_com.h"
#include "platform/shell.h"

class CTaskBarControl {
 public:
  explicit CTaskBarControl(platform::Shell& shell);
  virtual ~CTaskBarControl();
  CTaskBarControl(const CTaskBarControl&) = delete;
  CTaskBarControl& operator=(const CTaskBarControl&) = delete;

  // True when the shell added the window's button; false otherwise (also without COM or a
  // taskbar object).
  bool addTab(platform::Hwnd window);
  // True at once while removal is disabled; otherwise true when the shell removed the button.
  bool deleteTab(platform::Hwnd window);

  bool removalEnabled = true;

 private:
  ScopedComInit com_;  // declared first: the list is released before COM goes
  std::unique_ptr<platform::TaskbarList> taskbarList_;
};
