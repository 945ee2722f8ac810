#include "platform/win32/win32_platform.h"

#include <commctrl.h>

#include <cstddef>
#include <cwchar>
#include <iterator>

namespace win32 {

namespace p = platform;

static_assert(sizeof(p::WindowPlacement) == sizeof(WINDOWPLACEMENT));
static_assert(offsetof(p::WindowPlacement, normalPosition) ==
              offsetof(WINDOWPLACEMENT, rcNormalPosition));

namespace {

HWND insertAfterHandle(p::Hwnd insertAfter) {
  if (insertAfter == p::kHwndTop) return HWND_TOP;
  if (insertAfter == p::kHwndBottom) return HWND_BOTTOM;
  if (insertAfter == p::kHwndTopmost) return HWND_TOPMOST;
  if (insertAfter == p::kHwndNotopmost) return HWND_NOTOPMOST;
  return toHwnd(insertAfter);
}

p::WindowPos portablePos(const WINDOWPOS& pos) {
  return {fromHwnd(pos.hwnd), fromHwnd(pos.hwndInsertAfter), pos.x, pos.y, pos.cx, pos.cy,
          pos.flags};
}

void applyPos(const p::WindowPos& from, WINDOWPOS& to) {
  to.hwndInsertAfter = insertAfterHandle(from.insertAfter);
  to.x = from.x;
  to.y = from.y;
  to.cx = from.cx;
  to.cy = from.cy;
  to.flags = from.flags;
}

bool isCtlColor(UINT message) {
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

std::wstring windowTextW(HWND window) {
  int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

BOOL CALLBACK collectWindow(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<p::Hwnd>*>(data)->push_back(fromHwnd(window));
  return TRUE;
}

HICON iconOf(p::IconHandle icon) {
  return reinterpret_cast<HICON>(icon.value);
}
HDC dcOf(p::DeviceContext dc) {
  return reinterpret_cast<HDC>(dc.value);
}

}  // namespace

// --- The message bridge of the program's own dialogs and plain windows. ---

struct Win32Windows::Binding {
  Win32Windows* windows = nullptr;
  p::MessageHandler* handler = nullptr;
  WNDPROC original = nullptr;  // a dialog's own window procedure; none for plain windows
  bool attached = false;       // bound at WM_INITDIALOG (dialog) or WM_NCCREATE (plain)
  bool creating = true;        // the creating call has not returned yet
  bool destroyed = false;      // WM_NCDESTROY passed while still creating
};

struct Win32Windows::Frame {
  HWND window;
  UINT message;
  p::LParam portable = 0;  // what the handler got in place of the real lParam
  LPARAM real = 0;
  bool defaulted = false;  // the handler called defaultProc for it
};

thread_local std::vector<Win32Windows::Frame*> Win32Windows::frames_;

LRESULT Win32Windows::deliver(Binding& binding, HWND window, UINT message, WPARAM wParam,
                              LPARAM lParam, bool* defaulted) {
  Frame frame{window, message};
  p::LParam portable = lParam;
  p::WindowPos pos;
  p::NotifyHeader header;
  if ((message == WM_WINDOWPOSCHANGING || message == WM_WINDOWPOSCHANGED) && lParam != 0) {
    pos = portablePos(*reinterpret_cast<WINDOWPOS*>(lParam));
    portable = reinterpret_cast<p::LParam>(&pos);
  } else if (message == WM_NOTIFY && lParam != 0) {
    const auto& real = *reinterpret_cast<const NMHDR*>(lParam);
    header = {fromHwnd(real.hwndFrom), real.idFrom, real.code};
    portable = reinterpret_cast<p::LParam>(&header);
  } else if (isCtlColor(message)) {
    portable = fromHwnd(reinterpret_cast<HWND>(lParam)).value;
  }
  if (portable != lParam) {
    frame.portable = portable;
    frame.real = lParam;
  }
  frames_.push_back(&frame);
  LRESULT result = binding.handler->onMessage(fromHwnd(window), message, wParam, portable);
  frames_.pop_back();
  if (portable == reinterpret_cast<p::LParam>(&pos)) {
    applyPos(pos, *reinterpret_cast<WINDOWPOS*>(lParam));
  }
  if (defaulted) *defaulted = frame.defaulted;
  return result;
}

INT_PTR CALLBACK Win32Windows::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Everything after WM_INITDIALOG reaches the handler through boundProc; FALSE here is
  // the dialog's default processing.
  if (message != WM_INITDIALOG || lParam == 0 || bindingOf(window) != nullptr) return FALSE;
  auto* binding = reinterpret_cast<Binding*>(lParam);
  setBinding(window, binding);
  binding->original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&boundProc)));
  binding->attached = true;
  return binding->windows->deliver(*binding, window, message,
                                   fromHwnd(reinterpret_cast<HWND>(wParam)).value, 0, nullptr);
}

LRESULT CALLBACK Win32Windows::boundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Binding* binding = bindingOf(window);
  if (binding == nullptr) return DefDlgProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) return deliverLast(binding, window, message, wParam, lParam);
  return binding->windows->deliver(*binding, window, message, wParam, lParam, nullptr);
}

LRESULT CALLBACK Win32Windows::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Only WM_GETMINMAXINFO comes before WM_NCCREATE; the system's default answers it.
  if (message == WM_NCCREATE && lParam != 0 && bindingOf(window) == nullptr) {
    auto* binding =
        static_cast<Binding*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (binding != nullptr) {
      setBinding(window, binding);
      binding->attached = true;
    }
  }
  Binding* binding = bindingOf(window);
  if (binding == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) return deliverLast(binding, window, message, wParam, lParam);
  return binding->windows->deliver(*binding, window, message, wParam, lParam, nullptr);
}

// WM_NCDESTROY: the handler's last message; then the window forgets its binding.
LRESULT Win32Windows::deliverLast(Binding* binding, HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam) {
  bool defaulted = false;
  LRESULT result = binding->windows->deliver(*binding, window, message, wParam, lParam, &defaulted);
  if (binding->original != nullptr) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(binding->original));
  }
  setBinding(window, nullptr);
  // The default procedure frees the window's own data on this message: it must see it.
  if (!defaulted) {
    result = binding->original != nullptr
                 ? CallWindowProcW(binding->original, window, message, wParam, lParam)
                 : DefWindowProcW(window, message, wParam, lParam);
  }
  if (binding->creating) {
    binding->destroyed = true;
  } else {
    delete binding;
  }
  return result;
}

// The binding lives in the window's user data: every message looks it up, and unlike a window
// property (a round trip to the window server under Wine) that is read in the process.
Win32Windows::Binding* Win32Windows::bindingOf(HWND window) {
  return reinterpret_cast<Binding*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Win32Windows::setBinding(HWND window, Binding* binding) {
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(binding));
}

p::LResult Win32Windows::defaultProc(p::Hwnd window, uint32_t message, p::WParam wParam,
                                     p::LParam lParam) {
  HWND hwnd = toHwnd(window);
  Binding* binding = bindingOf(hwnd);
  if (binding == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  // Let the system set the focus, as a dialog procedure returning TRUE does.
  if (message == WM_INITDIALOG && binding->original != nullptr) return TRUE;
  Frame* frame = nullptr;
  for (auto it = frames_.rbegin(); it != frames_.rend(); ++it) {
    if ((*it)->window == hwnd && (*it)->message == message) {
      frame = *it;
      break;
    }
  }
  if (frame != nullptr) frame->defaulted = true;
  LPARAM real = lParam;
  bool translated = frame != nullptr && frame->portable != 0 && frame->portable == lParam;
  if (translated) {
    real = frame->real;
  } else if (isCtlColor(message)) {
    real = reinterpret_cast<LPARAM>(toHwnd(p::Hwnd{static_cast<uint32_t>(lParam)}));
  }
  bool position = translated && (message == WM_WINDOWPOSCHANGING || message == WM_WINDOWPOSCHANGED);
  if (position)
    applyPos(*reinterpret_cast<p::WindowPos*>(lParam), *reinterpret_cast<WINDOWPOS*>(real));
  LRESULT result = binding->original != nullptr
                       ? CallWindowProcW(binding->original, hwnd, message, wParam, real)
                       : DefWindowProcW(hwnd, message, wParam, real);
  if (position) {
    auto& pos = *reinterpret_cast<p::WindowPos*>(lParam);
    pos = portablePos(*reinterpret_cast<WINDOWPOS*>(real));
  }
  return result;
}

HWND Win32Windows::makeDialog(const p::DialogTemplate& dialog, p::Hwnd parent,
                              p::MessageHandler* handler, bool modal, intptr_t& modalResult) {
  // Every message of a dialog goes to its handler; without one there is no dialog.
  if (handler == nullptr) {
    modalResult = -1;
    return nullptr;
  }
  auto binding = std::make_unique<Binding>();
  binding->windows = this;
  binding->handler = handler;
  std::vector<DWORD> memory = buildDialogTemplate(dialog);
  auto* layout = reinterpret_cast<LPCDLGTEMPLATEW>(memory.data());
  HINSTANCE instance = GetModuleHandleW(nullptr);
  auto param = reinterpret_cast<LPARAM>(binding.get());
  HWND window = nullptr;
  if (modal) {
    modalResult = DialogBoxIndirectParamW(instance, layout, toHwnd(parent), &dialogProc, param);
  } else {
    window = CreateDialogIndirectParamW(instance, layout, toHwnd(parent), &dialogProc, param);
  }
  binding->creating = false;
  // A living modeless dialog owns its binding; otherwise it is freed here.
  if (binding->attached && !binding->destroyed) binding.release();
  return window;
}

p::Hwnd Win32Windows::createDialog(const p::DialogTemplate& dialog, p::Hwnd parent,
                                   p::MessageHandler* handler) {
  intptr_t unused = 0;
  return fromHwnd(makeDialog(dialog, parent, handler, false, unused));
}

intptr_t Win32Windows::runModalDialog(const p::DialogTemplate& dialog, p::Hwnd parent,
                                      p::MessageHandler* handler) {
  intptr_t result = -1;
  makeDialog(dialog, parent, handler, true, result);
  return result;
}

p::Hwnd Win32Windows::subclassDlgItem(p::Hwnd dialog, int32_t id, p::MessageHandler* handler) {
  HWND control = GetDlgItem(toHwnd(dialog), id);
  if (control == nullptr || handler == nullptr || bindingOf(control) != nullptr) return {};
  auto* binding = new Binding;  // the control owns it until WM_NCDESTROY (deliverLast)
  binding->windows = this;
  binding->handler = handler;
  binding->attached = true;
  binding->creating = false;
  setBinding(control, binding);
  binding->original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&boundProc)));
  return fromHwnd(control);
}

p::Hwnd Win32Windows::createWindow(const p::CreateWindowArgs& params, p::MessageHandler* handler) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  // One class per set of class styles, named after them: registered by whichever thread
  // needs it first, with nothing to remember here.
  wchar_t className[40];
  swprintf(className, std::size(className), L"Quillmoor.Window.%08X", params.classStyle);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExW(instance, className, &windowClass)) {
    windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = params.classStyle;
    windowClass.lpfnWndProc = &windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      return {};
    }
  }
  auto binding = std::make_unique<Binding>();
  binding->windows = this;
  binding->handler = handler;
  const p::Rect& r = params.rect;
  // The binding, not the bare handler, rides in lpCreateParams: windowProc needs both.
  HWND window = CreateWindowExW(params.exStyle, className, L"", params.style, r.left, r.top,
                                r.width(), r.height(), nullptr, nullptr, instance, binding.get());
  binding->creating = false;
  if (window == nullptr || binding->destroyed) return {};
  if (!binding->attached) {
    // Unbound, no handler would ever see it.
    DestroyWindow(window);
    return {};
  }
  binding.release();  // the window owns it until WM_NCDESTROY
  return fromHwnd(window);
}

// --- Everything else maps straight onto the API. ---

Win32Windows::Win32Windows() {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_HOTKEY_CLASS |
                                    ICC_LINK_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

std::vector<p::Hwnd> Win32Windows::enumWindows() {
  std::vector<p::Hwnd> found;
  EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool Win32Windows::isWindow(p::Hwnd window) {
  return IsWindow(toHwnd(window)) != 0;
}

bool Win32Windows::isWindowVisible(p::Hwnd window) {
  return IsWindowVisible(toHwnd(window)) != 0;
}

bool Win32Windows::isIconic(p::Hwnd window) {
  return IsIconic(toHwnd(window)) != 0;
}

bool Win32Windows::isZoomed(p::Hwnd window) {
  return IsZoomed(toHwnd(window)) != 0;
}

uint32_t Win32Windows::getWindowLong(p::Hwnd window, int32_t index) {
  return static_cast<uint32_t>(GetWindowLongA(toHwnd(window), index));
}

uint32_t Win32Windows::setWindowLong(p::Hwnd window, int32_t index, uint32_t value) {
  return static_cast<uint32_t>(guardedChange(toHwnd(window), [=, hwnd = toHwnd(window)] {
    return static_cast<uintptr_t>(
        static_cast<uint32_t>(SetWindowLongA(hwnd, index, static_cast<LONG>(value))));
  }));
}

std::string Win32Windows::getWindowText(p::Hwnd window, size_t bufferSize) {
  if (bufferSize == 0) return {};
  // The A call would convert with the system's code page, losing every character it lacks.
  // Every UTF-16 unit takes at least one byte: bufferSize - 1 units are enough. No
  // GetWindowTextLengthW: it sends a message, which a hung program never answers.
  const size_t units = bufferSize < 0x10000 ? bufferSize : 0x10000;
  std::wstring text(units, L'\0');
  int copied = GetWindowTextW(toHwnd(window), text.data(), static_cast<int>(units));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return toProgramText(text, bufferSize - 1);
}

p::Hwnd Win32Windows::findWindowEx(p::Hwnd parent, p::Hwnd childAfter,
                                   const std::string& className) {
  // A null parent would search the top-level windows: not what a child search means.
  if (!parent) return {};
  const std::wstring name = fromProgramText(className);
  return fromHwnd(FindWindowExW(toHwnd(parent), toHwnd(childAfter),
                                className.empty() ? nullptr : name.c_str(), nullptr));
}

std::string Win32Windows::getClassName(p::Hwnd window) {
  wchar_t name[257] = {};  // class names are at most 256 characters
  const int copied = GetClassNameW(toHwnd(window), name, 257);
  return copied > 0 ? toProgramText(std::wstring(name, static_cast<size_t>(copied)), 256 * 2)
                    : std::string();
}

p::Hwnd Win32Windows::getForegroundWindow() {
  return fromHwnd(GetForegroundWindow());
}

bool Win32Windows::isHungAppWindow(p::Hwnd window) {
  return IsHungAppWindow(toHwnd(window)) != FALSE;
}

p::Dword Win32Windows::getWindowProcessId(p::Hwnd window) {
  DWORD processId = 0;
  if (GetWindowThreadProcessId(toHwnd(window), &processId) == 0) return 0;
  return processId;
}

bool Win32Windows::getWindowRect(p::Hwnd window, p::Rect& rect) {
  RECT r;
  if (!GetWindowRect(toHwnd(window), &r)) return false;
  rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

bool Win32Windows::getClientRect(p::Hwnd window, p::Rect& rect) {
  RECT r;
  if (!GetClientRect(toHwnd(window), &r)) return false;
  rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

bool Win32Windows::getWindowPlacement(p::Hwnd window, p::WindowPlacement& placement) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(toHwnd(window), &wp)) return false;
  placement.length = wp.length;
  placement.flags = wp.flags;
  placement.showCmd = wp.showCmd;
  placement.minPosition = {wp.ptMinPosition.x, wp.ptMinPosition.y};
  placement.maxPosition = {wp.ptMaxPosition.x, wp.ptMaxPosition.y};
  const RECT& n = wp.rcNormalPosition;
  placement.normalPosition = {n.left, n.top, n.right, n.bottom};
  return true;
}

p::Hwnd Win32Windows::getDesktopWindow() {
  return fromHwnd(GetDesktopWindow());
}

bool Win32Windows::showWindow(p::Hwnd window, int32_t command) {
  return guardedChange(toHwnd(window), [hwnd = toHwnd(window), command]() -> uintptr_t {
           return ShowWindow(hwnd, command) != 0;
         }) != 0;
}

bool Win32Windows::setWindowPos(p::Hwnd window, p::Hwnd insertAfter, int32_t x, int32_t y,
                                int32_t cx, int32_t cy, uint32_t flags) {
  HWND after = insertAfterHandle(insertAfter);
  return guardedChange(toHwnd(window), [=, hwnd = toHwnd(window)]() -> uintptr_t {
           return SetWindowPos(hwnd, after, x, y, cx, cy, flags) != 0;
         }) != 0;
}

bool Win32Windows::setForegroundWindow(p::Hwnd window) {
  return SetForegroundWindow(toHwnd(window)) != 0;
}

bool Win32Windows::destroyWindow(p::Hwnd window) {
  return DestroyWindow(toHwnd(window)) != 0;
}

bool Win32Windows::invalidateRect(p::Hwnd window, bool erase) {
  return InvalidateRect(toHwnd(window), nullptr, erase) != 0;
}

bool Win32Windows::setWindowText(p::Hwnd window, const std::string& text) {
  return SetWindowTextW(toHwnd(window), fromProgramText(text).c_str()) != 0;
}

p::LResult Win32Windows::sendMessage(p::Hwnd window, uint32_t message, p::WParam wParam,
                                     p::LParam lParam) {
  return SendMessageW(toHwnd(window), message, wParam, lParam);
}

bool Win32Windows::postMessage(p::Hwnd window, uint32_t message, p::WParam wParam,
                               p::LParam lParam) {
  return PostMessageW(toHwnd(window), message, wParam, lParam) != 0;
}

uint32_t Win32Windows::registerWindowMessage(const std::string& name) {
  return RegisterWindowMessageA(name.c_str());
}

p::Dword Win32Windows::lastError() {
  return GetLastError();
}

bool Win32Windows::endDialog(p::Hwnd dialog, intptr_t result) {
  return EndDialog(toHwnd(dialog), result) != 0;
}

p::Hwnd Win32Windows::getDlgItem(p::Hwnd dialog, int32_t id) {
  return fromHwnd(GetDlgItem(toHwnd(dialog), id));
}

int32_t Win32Windows::getDlgCtrlId(p::Hwnd control) {
  return GetDlgCtrlID(toHwnd(control));
}

std::string Win32Windows::getDlgItemText(p::Hwnd dialog, int32_t id) {
  HWND item = GetDlgItem(toHwnd(dialog), id);
  if (item == nullptr) return {};
  return toProgramText(windowTextW(item));
}

bool Win32Windows::setDlgItemText(p::Hwnd dialog, int32_t id, const std::string& text) {
  return SetDlgItemTextW(toHwnd(dialog), id, fromProgramText(text).c_str()) != 0;
}

bool Win32Windows::enableWindow(p::Hwnd window, bool enable) {
  // EnableWindow answers whether the window was disabled: kept apart from a failure here.
  const uintptr_t answer = guardedChange(toHwnd(window), [hwnd = toHwnd(window), enable] {
    return static_cast<uintptr_t>(EnableWindow(hwnd, enable) != 0 ? 2 : 1);
  });
  return answer == 2;
}

bool Win32Windows::isWindowEnabled(p::Hwnd window) {
  return IsWindowEnabled(toHwnd(window)) != 0;
}

bool Win32Windows::setTimer(p::Hwnd window, uintptr_t id, uint32_t milliseconds) {
  return SetTimer(toHwnd(window), id, milliseconds, nullptr) != 0;
}

bool Win32Windows::killTimer(p::Hwnd window, uintptr_t id) {
  return KillTimer(toHwnd(window), id) != 0;
}

bool Win32Windows::hasSystemMenu(p::Hwnd window) {
  return GetSystemMenu(toHwnd(window), FALSE) != nullptr;
}

bool Win32Windows::appendSystemMenu(p::Hwnd window, uint32_t flags, uint32_t id,
                                    const std::string& text) {
  HMENU menu = GetSystemMenu(toHwnd(window), FALSE);
  if (menu == nullptr) return false;
  if (flags & MF_SEPARATOR) return AppendMenuW(menu, flags, id, nullptr) != 0;
  return AppendMenuW(menu, flags, id, fromProgramText(text).c_str()) != 0;
}

namespace {

// A pop-up menu and its submenus; destroying it destroys them.
HMENU buildPopup(const std::vector<p::MenuItemTemplate>& items) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return nullptr;
  for (const p::MenuItemTemplate& item : items) {
    const UINT grayed = item.grayed ? MF_GRAYED : 0;
    if (item.text == nullptr) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (!item.submenu.empty()) {
      HMENU sub = buildPopup(item.submenu);
      if (sub != nullptr) {
        AppendMenuW(menu, MF_POPUP | grayed, reinterpret_cast<UINT_PTR>(sub),
                    fromProgramText(item.text).c_str());
      }
    } else {
      AppendMenuW(menu, MF_STRING | grayed, item.id, fromProgramText(item.text).c_str());
    }
  }
  return menu;
}

}  // namespace

bool Win32Windows::trackPopupMenu(const p::MenuTemplate& popup, uint32_t flags, p::Point at,
                                  p::Hwnd owner) {
  HMENU menu = buildPopup(popup.items);
  if (menu == nullptr) return false;
  // Without TPM_RETURNCMD the result says nothing about a choice (Wine answers TRUE after a
  // dismissal), so ask for the command and post it as the menu itself would.
  HWND window = toHwnd(owner);
  auto command = static_cast<UINT>(
      TrackPopupMenu(menu, flags | TPM_RETURNCMD, at.x, at.y, 0, window, nullptr));
  DestroyMenu(menu);
  if (command == 0) return false;
  PostMessageW(window, WM_COMMAND, command, 0);
  return true;
}

void Win32Windows::listViewSetExtendedStyle(p::Hwnd list, uint32_t style) {
  SendMessageW(toHwnd(list), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style);
}

void Win32Windows::listViewInsertColumn(p::Hwnd list, int32_t index, const std::string& heading,
                                        int32_t width) {
  std::wstring text = fromProgramText(heading);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.cx = width;
  column.pszText = text.data();
  column.iSubItem = index;
  SendMessageW(toHwnd(list), LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

int32_t Win32Windows::listViewInsertItem(p::Hwnd list, int32_t row, const std::string& text,
                                         int32_t image) {
  std::wstring wide = fromProgramText(text);
  LVITEMW item{};
  // Without LVIF_IMAGE a row shows image 0; -1 would ask the owner for one.
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = row;
  item.pszText = wide.data();
  item.iImage = image >= 0 ? image : I_IMAGENONE;
  return static_cast<int32_t>(
      SendMessageW(toHwnd(list), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void Win32Windows::listViewSetItemText(p::Hwnd list, int32_t row, int32_t column,
                                       const std::string& text) {
  std::wstring wide = fromProgramText(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(toHwnd(list), LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

std::string Win32Windows::listViewGetItemText(p::Hwnd list, int32_t row, int32_t column) {
  // The control copies what fits and says how much that was: grow until it all fits.
  std::wstring buffer(256, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    auto copied = static_cast<size_t>(
        SendMessageW(toHwnd(list), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < buffer.size() || buffer.size() >= (1u << 20)) {
      buffer.resize(copied < buffer.size() ? copied : buffer.size());
      return toProgramText(buffer);
    }
    buffer.assign(buffer.size() * 2, L'\0');
  }
}

int32_t Win32Windows::listViewItemCount(p::Hwnd list) {
  return static_cast<int32_t>(SendMessageW(toHwnd(list), LVM_GETITEMCOUNT, 0, 0));
}

void Win32Windows::listViewDeleteAllItems(p::Hwnd list) {
  SendMessageW(toHwnd(list), LVM_DELETEALLITEMS, 0, 0);
}

int32_t Win32Windows::listViewGetSelectionMark(p::Hwnd list) {
  return static_cast<int32_t>(SendMessageW(toHwnd(list), LVM_GETSELECTIONMARK, 0, 0));
}

void Win32Windows::listViewSelectRow(p::Hwnd list, int32_t row) {
  HWND hwnd = toHwnd(list);
  SendMessageW(hwnd, LVM_SETSELECTIONMARK, 0, row);
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(hwnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  SendMessageW(hwnd, LVM_SETHOTITEM, row, 0);
  SendMessageW(hwnd, LVM_ENSUREVISIBLE, row, FALSE);
}

p::IconHandle Win32Windows::loadIcon(int32_t resourceId) {
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId));
  return p::IconHandle{reinterpret_cast<uintptr_t>(icon)};
}

p::BrushHandle Win32Windows::createSolidBrush(p::ColorRef color) {
  return p::BrushHandle{reinterpret_cast<uintptr_t>(CreateSolidBrush(color))};
}

void Win32Windows::deleteBrush(p::BrushHandle brush) {
  if (brush.value != 0) DeleteObject(reinterpret_cast<HBRUSH>(brush.value));
}

p::BrushHandle Win32Windows::blackBrush() {
  return p::BrushHandle{reinterpret_cast<uintptr_t>(GetStockObject(BLACK_BRUSH))};
}

void Win32Windows::setBkMode(p::DeviceContext dc, int32_t mode) {
  SetBkMode(dcOf(dc), mode);
}

void Win32Windows::setTextColor(p::DeviceContext dc, p::ColorRef color) {
  SetTextColor(dcOf(dc), color);
}

void Win32Windows::paintIcon(p::Hwnd window, p::IconHandle icon, int32_t x, int32_t y) {
  HWND hwnd = toHwnd(window);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc == nullptr) return;
  SendMessageW(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  DrawIcon(dc, x, y, iconOf(icon));
  EndPaint(hwnd, &paint);
}

int32_t Win32Windows::getSystemMetrics(int32_t index) {
  return GetSystemMetrics(index);
}

bool Win32Windows::getWorkArea(p::Rect& area) {
  RECT r;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return false;
  area = {r.left, r.top, r.right, r.bottom};
  return true;
}

p::Point Win32Windows::getCursorPos() {
  POINT point{};
  GetCursorPos(&point);
  return {point.x, point.y};
}

void Win32Windows::setArrowCursor() {
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

int16_t Win32Windows::getKeyState(int32_t key) {
  return GetKeyState(key);
}

void Win32Windows::setCapture(p::Hwnd window) {
  SetCapture(toHwnd(window));
}

void Win32Windows::releaseCapture() {
  ReleaseCapture();
}

}  // namespace win32
