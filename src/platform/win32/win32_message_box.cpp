#include "platform/win32/win32_platform.h"

namespace win32 {

std::wstring fromProgramText(const std::string& text) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) {
    // Without code page 932 on the system, the system's own code page is the best we have.
    length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
  }
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

int Win32MessageBoxes::show(platform::Hwnd owner, const std::string& text,
                            const std::string& caption, uint32_t type) {
  return MessageBoxW(toHwnd(owner), fromProgramText(text).c_str(),
                     fromProgramText(caption).c_str(), type);
}

}  // namespace win32
