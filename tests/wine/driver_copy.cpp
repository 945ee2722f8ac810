// Driver commands for the copy of a preview to the clipboard (test_copy_preview.sh):
//   clipboard-text TEXT   empty the clipboard and put TEXT on it (CF_UNICODETEXT)
//   clipboard HWND        "owner=HWND formats=F,F,... bitmap=WxH client=WxH" (bitmap=none
//                         without one; client: of window HWND)
//   clipboard-centre      the colour RRGGBB of the clipboard bitmap's centre pixel
#include <cstring>

#include "driver_util.h"

namespace {

using namespace driver;

int PutText(const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr || !OpenClipboard(nullptr)) return Fail("no clipboard");
  std::memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  const bool placed = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  return placed ? 0 : Fail("the text was not placed");
}

int PrintClipboard(HWND window) {
  RECT client{};
  if (!GetClientRect(window, &client) || !OpenClipboard(nullptr)) return Fail("no clipboard");
  std::string line = "owner=" + Hex(GetClipboardOwner()) + " formats=";
  for (UINT format = 0; (format = EnumClipboardFormats(format)) != 0;) {
    line += std::to_string(format) + ",";
  }
  BITMAP info{};
  auto* bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  line += bitmap != nullptr && GetObjectW(bitmap, sizeof info, &info) == sizeof info
              ? " bitmap=" + std::to_string(info.bmWidth) + "x" + std::to_string(info.bmHeight)
              : " bitmap=none";
  CloseClipboard();
  PrintLine(line + " client=" + std::to_string(client.right) + "x" + std::to_string(client.bottom));
  return 0;
}

int PrintClipboardCentre() {
  if (!OpenClipboard(nullptr)) return Fail("no clipboard");
  auto* bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP info{};
  COLORREF colour = CLR_INVALID;
  if (bitmap != nullptr && GetObjectW(bitmap, sizeof info, &info) == sizeof info) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    colour = GetPixel(dc, info.bmWidth / 2, info.bmHeight / 2);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  CloseClipboard();
  if (colour == CLR_INVALID) return Fail("no bitmap on the clipboard");
  char text[8];
  std::snprintf(text, sizeof text, "%02x%02x%02x", GetRValue(colour), GetGValue(colour),
                GetBValue(colour));
  PrintLine(text);
  return 0;
}

int Handle(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"clipboard-centre") return PrintClipboardCentre();
  HWND window = nullptr;
  if (argc == 3 && std::wstring(argv[1]) == L"clipboard-text") return PutText(argv[2]);
  if (argc == 3 && std::wstring(argv[1]) == L"clipboard" && ParseWindow(argv[2], window)) {
    return PrintClipboard(window);
  }
  return -1;
}

const CommandRegistration registration(Handle);

}  // namespace
