#include "display/taskbar_control.h"

CTaskBarControl* CTaskBarControl::instance_ = nullptr;

CTaskBarControl* CTaskBarControl::getInstance(platform::Shell& shell) {
  if (instance_ == nullptr) instance_ = new CTaskBarControl(shell);
  return instance_;
}

void CTaskBarControl::deleteInstance() {
  delete instance_;
  instance_ = nullptr;
}

CTaskBarControl::CTaskBarControl(platform::Shell& shell) : shell_(shell) {
  shell_.comInitialize();
  taskbarList_ = shell_.createTaskbarList();
  if (taskbarList_) taskbarList_->hrInit();
}

CTaskBarControl::~CTaskBarControl() {
  taskbarList_.reset();  // released before COM goes
  shell_.comUninitialize();
}

int32_t CTaskBarControl::addTab(platform::Hwnd window) {
  if (!taskbarList_) return 0;
  return taskbarList_->addTab(window) == platform::S_OK ? 1 : 0;
}

int32_t CTaskBarControl::deleteTab(platform::Hwnd window) {
  if (removalEnabled == 0) return 1;
  if (!taskbarList_) return 0;
  return taskbarList_->deleteTab(window) == platform::S_OK ? 1 : 0;
}
