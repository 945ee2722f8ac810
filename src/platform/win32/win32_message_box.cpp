#include "platform/win32/win32_platform.h"

namespace win32 {

int Win32MessageBoxes::show(platform::Hwnd owner, const std::string& text,
                            const std::string& caption, uint32_t type) {
  return MessageBoxW(toHwnd(owner), fromProgramText(text).c_str(), fromProgramText(caption).c_str(),
                     type);
}

}  // namespace win32
