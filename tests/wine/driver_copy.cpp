// Driver commands for the copy of a preview to the clipboard (test_copy_preview.sh):
//   clipboard-text TEXT   empty the clipboard and put TEXT on it (CF_UNICODETEXT)
//   clipboard             "owner=HWND formats=F,F,... bitmap=WxH" (bitmap=none without one)
//   client-size HWND      the client area: WxH
#include <cstring>

#include "driver_util.h"

namespace {

using namespace driver;

// The clipboard is open to one window at a time: another program may hold it a moment.
bool OpenClipboardSoon() {
  return PollUntil(2000, [] { return OpenClipboard(nullptr) != 0; });
}

int PutText(const std::wstring& text) {
  if (!OpenClipboardSoon()) return Fail("the clipboard stays open elsewhere");
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool placed = false;
  if (memory != nullptr) {
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    placed = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!placed) GlobalFree(memory);
  }
  CloseClipboard();
  return placed ? 0 : Fail("the text was not placed");
}

int PrintClipboard() {
  if (!OpenClipboardSoon()) return Fail("the clipboard stays open elsewhere");
  std::string line = "owner=" + Hex(GetClipboardOwner()) + " formats=";
  UINT format = 0;
  for (bool first = true; (format = EnumClipboardFormats(format)) != 0; first = false) {
    if (!first) line += ',';
    line += std::to_string(format);
  }
  BITMAP info{};
  auto* bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  if (bitmap != nullptr && GetObjectW(bitmap, sizeof info, &info) == sizeof info) {
    line += " bitmap=" + std::to_string(info.bmWidth) + "x" + std::to_string(info.bmHeight);
  } else {
    line += " bitmap=none";
  }
  CloseClipboard();
  PrintLine(line);
  return 0;
}

int ClientSize(HWND window) {
  RECT r;
  if (!GetClientRect(window, &r)) return Fail("no such window");
  PrintLine(std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top));
  return 0;
}

int Handle(int argc, wchar_t** argv) {
  if (argc < 2) return -1;
  const std::wstring command = argv[1];
  HWND window = nullptr;
  if (command == L"clipboard-text" && argc == 3) return PutText(argv[2]);
  if (command == L"clipboard" && argc == 2) return PrintClipboard();
  if (command == L"client-size" && argc == 3 && ParseWindow(argv[2], window)) {
    return ClientSize(window);
  }
  return -1;
}

const CommandRegistration registration(Handle);

}  // namespace
