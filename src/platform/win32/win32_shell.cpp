#include "platform/win32/win32_platform.h"

#include <objbase.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <cwchar>

namespace win32 {

namespace {

// {56FDF344-FD6D-11D0-958A-006097C9A090} and {56FDF342-FD6D-11D0-958A-006097C9A090}.
const CLSID kTaskbarListClass = {
    0x56FDF344, 0xFD6D, 0x11D0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};
const IID kTaskbarListInterface = {
    0x56FDF342, 0xFD6D, 0x11D0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};

class Win32TaskbarList : public platform::TaskbarList {
 public:
  explicit Win32TaskbarList(ITaskbarList* list) : list_(list) {}
  ~Win32TaskbarList() override { list_->Release(); }
  platform::HResult hrInit() override { return list_->HrInit(); }
  platform::HResult addTab(platform::Hwnd window) override { return list_->AddTab(toHwnd(window)); }
  platform::HResult deleteTab(platform::Hwnd window) override {
    return list_->DeleteTab(toHwnd(window));
  }

 private:
  ITaskbarList* list_;
};

}  // namespace

platform::HResult Win32Shell::comInitialize() {
  return CoInitialize(nullptr);
}

void Win32Shell::comUninitialize() {
  CoUninitialize();
}

std::unique_ptr<platform::TaskbarList> Win32Shell::createTaskbarList() {
  ITaskbarList* list = nullptr;
  if (FAILED(CoCreateInstance(kTaskbarListClass, nullptr, CLSCTX_INPROC_SERVER,
                              kTaskbarListInterface, reinterpret_cast<void**>(&list))) ||
      list == nullptr) {
    return nullptr;
  }
  return std::make_unique<Win32TaskbarList>(list);
}

platform::Hwnd Win32Shell::trayWindow() {
  return fromHwnd(FindWindowA("Shell_TrayWnd", nullptr));
}

platform::ShellResult Win32Shell::notifyIcon(uint32_t message, const platform::TrayIconData& data) {
  // The wide form, so that the tip shows right whatever the system's code page.
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = toHwnd(data.window);
  record.uID = data.id;
  record.uFlags = data.flags;
  record.uCallbackMessage = data.callbackMessage;
  record.hIcon = reinterpret_cast<HICON>(static_cast<uintptr_t>(data.icon.value));
  std::wstring tip = fromProgramText(data.tip);
  wcsncpy(record.szTip, tip.c_str(), std::size(record.szTip) - 1);
  SetLastError(ERROR_SUCCESS);
  bool ok = Shell_NotifyIconW(message, &record) != 0;
  return {ok, GetLastError()};
}

std::optional<platform::IconHandle> Win32Shell::fileSmallIcon(const std::string& path) {
  SHFILEINFOW info{};
  // A missing path answers 0 and may leave garbage in hIcon: trust only the result.
  if (SHGetFileInfoW(fromProgramText(path).c_str(), 0, &info, sizeof info,
                     SHGFI_ICON | SHGFI_SMALLICON) == 0 ||
      info.hIcon == nullptr) {
    return std::nullopt;
  }
  return platform::IconHandle{reinterpret_cast<uintptr_t>(info.hIcon)};
}

bool Win32Shell::shellExecute(platform::Hwnd owner, const std::string& verb,
                              const std::string& file, int32_t show) {
  HINSTANCE result = ShellExecuteW(toHwnd(owner), fromProgramText(verb).c_str(),
                                   fromProgramText(file).c_str(), nullptr, nullptr, show);
  return reinterpret_cast<intptr_t>(result) > 32;
}

}  // namespace win32
