#include "display/taskbar_control.h"

CTaskBarControl::CTaskBarControl(platform::Shell& shell) : com_(shell) {
  if (!com_.ok()) return;  // no apartment: the list object could not work
  taskbarList_ = shell.createTaskbarList();
  if (taskbarList_) taskbarList_->hrInit();
}

CTaskBarControl::~CTaskBarControl() = default;

bool CTaskBarControl::addTab(platform::Hwnd window) {
  return taskbarList_ && taskbarList_->addTab(window) == platform::S_OK;
}

bool CTaskBarControl::deleteTab(platform::Hwnd window) {
  if (!removalEnabled) return true;
  return taskbarList_ && taskbarList_->deleteTab(window) == platform::S_OK;
}
