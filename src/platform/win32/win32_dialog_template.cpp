#include "platform/win32/win32_platform.h"

#include <commctrl.h>

#include <cstring>

namespace win32 {

namespace {

const wchar_t* className(platform::ControlClass controlClass) {
  switch (controlClass) {
    case platform::ControlClass::Button:
      return L"Button";
    case platform::ControlClass::Static:
      return L"Static";
    case platform::ControlClass::Edit:
      return L"Edit";
    case platform::ControlClass::ListView:
      return WC_LISTVIEWW;
    case platform::ControlClass::UpDown:
      return UPDOWN_CLASSW;
    case platform::ControlClass::HotKey:
      return HOTKEY_CLASSW;
    case platform::ControlClass::Link:
      return WC_LINK;
  }
  return L"Static";
}

// Appends fields to a template in the byte order Windows reads them.
class TemplateWriter {
 public:
  void word(uint16_t value) { append(&value, sizeof value); }
  void dword(uint32_t value) { append(&value, sizeof value); }
  void byte(uint8_t value) { append(&value, sizeof value); }
  void text(const std::wstring& value) {
    append(value.c_str(), (value.size() + 1) * sizeof(wchar_t));
  }
  void alignDword() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }
  std::vector<DWORD> finish() {
    alignDword();
    std::vector<DWORD> result(bytes_.size() / 4);
    std::memcpy(result.data(), bytes_.data(), bytes_.size());
    return result;
  }

 private:
  void append(const void* data, size_t size) {
    auto* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + size);
  }
  std::vector<uint8_t> bytes_;
};

std::wstring programText(const char* text) {
  return text ? fromProgramText(text) : L"";
}

}  // namespace

std::vector<DWORD> buildDialogTemplate(const platform::DialogTemplate& dialog) {
  TemplateWriter out;
  out.word(1);       // dlgVer
  out.word(0xFFFF);  // signature: the extended form
  out.dword(0);      // helpID
  out.dword(dialog.exStyle);
  out.dword(dialog.style | DS_SETFONT);
  out.word(static_cast<uint16_t>(dialog.controls.size()));
  out.word(static_cast<uint16_t>(dialog.x));
  out.word(static_cast<uint16_t>(dialog.y));
  out.word(static_cast<uint16_t>(dialog.cx));
  out.word(static_cast<uint16_t>(dialog.cy));
  out.word(0);  // no menu
  out.word(0);  // the dialog class
  out.text(programText(dialog.caption));
  out.word(static_cast<uint16_t>(dialog.pointSize));
  out.word(FW_NORMAL);
  out.byte(FALSE);  // italic
  out.byte(DEFAULT_CHARSET);
  out.text(programText(dialog.fontName));
  for (const platform::ControlTemplate& control : dialog.controls) {
    out.alignDword();
    out.dword(0);  // helpID
    out.dword(control.exStyle);
    out.dword(control.style | WS_CHILD | WS_VISIBLE);
    out.word(static_cast<uint16_t>(control.x));
    out.word(static_cast<uint16_t>(control.y));
    out.word(static_cast<uint16_t>(control.cx));
    out.word(static_cast<uint16_t>(control.cy));
    // -1 stays all ones: the id of controls nobody addresses.
    out.dword(static_cast<uint32_t>(control.id));
    out.text(className(control.controlClass));
    // Link texts keep their <a> markup: the control parses it.
    out.text(programText(control.text));
    out.word(0);  // no creation data
  }
  return out.finish();
}

}  // namespace win32
