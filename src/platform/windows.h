// The window manager: windows of other programs (facts only) and the program's own windows,
// dialogs, controls, messages, timers and menus.
//
// Texts are code page 932 bytes, both ways and whatever the system's code page: the adapter
// converts them to UTF-16 to show them and converts what it reads back. A character that code
// page 932 cannot hold comes back as Windows' best fit for it in that code page (é as e, ¥ as
// a backslash) or else as '?', as a Japanese system's ANSI calls give it.
//
// Messages travel as (message, wParam, lParam). The few messages whose lParam points to a
// structure carry the portable structures below instead of the Windows ones:
// WM_WINDOWPOSCHANGING/CHANGED -> WindowPos*, WM_NOTIFY -> NotifyHeader*. For WM_CTLCOLOR*
// wParam is the device context's handle value and lParam the control's window.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/types.h"

namespace platform {

using WParam = uint64_t;
using LParam = int64_t;
using LResult = int64_t;

// Special insert-after values of SetWindowPos, as 32-bit handles.
constexpr Hwnd kHwndTop{0};
constexpr Hwnd kHwndBottom{1};
constexpr Hwnd kHwndTopmost{0xFFFFFFFFu};
constexpr Hwnd kHwndNotopmost{0xFFFFFFFEu};

// WINDOWPOS.
struct WindowPos {
  Hwnd hwnd;
  Hwnd insertAfter;
  int32_t x = 0;
  int32_t y = 0;
  int32_t cx = 0;
  int32_t cy = 0;
  uint32_t flags = 0;
};

// NMHDR.
struct NotifyHeader {
  Hwnd from;
  uint64_t idFrom = 0;
  uint32_t code = 0;
};

// WINDOWPLACEMENT.
struct WindowPlacement {
  uint32_t length = 44;
  uint32_t flags = 0;
  uint32_t showCmd = 0;
  Point minPosition;
  Point maxPosition;
  Rect normalPosition;
};

// Receives the messages of one of the program's own windows, from its creation to
// WM_NCDESTROY, after which the window is gone and no message comes any more.
class MessageHandler {
 public:
  virtual ~MessageHandler() = default;
  virtual LResult onMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) = 0;
};

// A plain top-level window of the program's own (not a dialog).
struct CreateWindowArgs {
  uint32_t classStyle = 0;  // CS_*: the adapter registers one window class per set of styles
  uint32_t style = 0;
  uint32_t exStyle = 0;
  Rect rect;  // left, top, right, bottom in screen coordinates
};

// Result of SendMessageTimeout.
struct TimedResult {
  bool answered = false;  // false: timed out, hung or gone
  LResult result = 0;
};

class Windows {
 public:
  virtual ~Windows() = default;

  // --- Any top-level window: facts. A handle that is no window gives 0, empty or false. ---
  // EnumWindows: top-level windows in z-order.
  virtual std::vector<Hwnd> enumWindows() = 0;
  virtual bool isWindow(Hwnd window) = 0;
  virtual bool isWindowVisible(Hwnd window) = 0;
  virtual bool isIconic(Hwnd window) = 0;
  virtual bool isZoomed(Hwnd window) = 0;  // maximised
  virtual uint32_t getWindowLong(Hwnd window, int32_t index) = 0;  // GWL_STYLE, GWL_EXSTYLE
  virtual uint32_t setWindowLong(Hwnd window, int32_t index, uint32_t value) = 0;
  // GetWindowTextW in code page 932, cut after the last whole character that fits a buffer
  // of `bufferSize` bytes with its terminator (so at most bufferSize - 1 bytes).
  virtual std::string getWindowText(Hwnd window, size_t bufferSize) = 0;
  virtual Dword getWindowProcessId(Hwnd window) = 0;
  virtual bool getWindowRect(Hwnd window, Rect& rect) = 0;
  virtual bool getClientRect(Hwnd window, Rect& rect) = 0;
  virtual bool getWindowPlacement(Hwnd window, WindowPlacement& placement) = 0;
  virtual Hwnd getDesktopWindow() = 0;

  // --- Changing windows (own windows and, later, others). ---
  virtual bool showWindow(Hwnd window, int32_t command) = 0;
  virtual bool setWindowPos(Hwnd window, Hwnd insertAfter, int32_t x, int32_t y, int32_t cx,
                            int32_t cy, uint32_t flags) = 0;
  virtual bool setForegroundWindow(Hwnd window) = 0;
  virtual bool destroyWindow(Hwnd window) = 0;
  virtual bool invalidateRect(Hwnd window, bool erase) = 0;
  virtual bool setWindowText(Hwnd window, const std::string& text) = 0;

  // --- Messages. ---
  virtual LResult sendMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) = 0;
  virtual bool postMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) = 0;
  // The default processing of a message of one of the program's own windows (the dialog's
  // default for dialogs). Handlers call it with the arguments they received.
  virtual LResult defaultProc(Hwnd window, uint32_t message, WParam wParam, LParam lParam) = 0;
  virtual uint32_t registerWindowMessage(const std::string& name) = 0;
  virtual Dword lastError() = 0;

  // --- The program's own dialogs. ---
  // Modeless: the dialog (a child when the template has WS_CHILD) is created and
  // WM_INITDIALOG delivered before this returns; 0 on failure.
  virtual Hwnd createDialog(const DialogTemplate& dialog, Hwnd parent,
                            MessageHandler* handler) = 0;
  // Modal: returns the result given to endDialog, or -1 when the dialog could not be made.
  virtual intptr_t runModalDialog(const DialogTemplate& dialog, Hwnd parent,
                                  MessageHandler* handler) = 0;
  virtual bool endDialog(Hwnd dialog, intptr_t result) = 0;
  virtual Hwnd getDlgItem(Hwnd dialog, int32_t id) = 0;
  virtual int32_t getDlgCtrlId(Hwnd control) = 0;
  virtual std::string getDlgItemText(Hwnd dialog, int32_t id) = 0;
  virtual bool setDlgItemText(Hwnd dialog, int32_t id, const std::string& text) = 0;
  virtual bool enableWindow(Hwnd window, bool enable) = 0;
  virtual bool isWindowEnabled(Hwnd window) = 0;

  // --- The program's own plain windows. The handler gets every message from WM_NCCREATE on
  // (WM_CREATE is delivered before createWindow returns); 0 on failure. No cursor, icon or
  // background brush: the handler paints. ---
  virtual Hwnd createWindow(const CreateWindowArgs& params, MessageHandler* handler) = 0;
  // AnimateWindow; blocks for about `milliseconds`.
  virtual bool animateWindow(Hwnd window, Dword milliseconds, Dword flags) = 0;
  virtual bool moveWindow(Hwnd window, int32_t x, int32_t y, int32_t cx, int32_t cy,
                          bool repaint) = 0;
  // AdjustWindowRectEx: the window rectangle around a client rectangle.
  virtual bool adjustWindowRect(Rect& rect, uint32_t style, uint32_t exStyle) = 0;
  // Fills a rectangle of a device context (WM_ERASEBKGND, WM_PRINTCLIENT) with a colour.
  virtual void fillRect(DeviceContext dc, const Rect& rect, ColorRef color) = 0;
  // WM_PAINT: BeginPaint, fill the client rectangle with a colour, EndPaint.
  virtual void paintFill(Hwnd window, ColorRef color) = 0;

  // --- Other programs' windows: changes. ---
  virtual bool setWindowPlacement(Hwnd window, const WindowPlacement& placement) = 0;
  virtual bool setLayeredWindowAttributes(Hwnd window, ColorRef key, uint8_t alpha,
                                          Dword flags) = 0;
  // SendMessageTimeout with the given flags (SMTO_ABORTIFHUNG ...).
  virtual TimedResult sendMessageTimeout(Hwnd window, uint32_t message, WParam wParam,
                                         LParam lParam, uint32_t flags,
                                         uint32_t milliseconds) = 0;

  // --- Hot-keys: WM_HOTKEY with the id in wParam. False when another program holds it. ---
  virtual bool registerHotKey(Hwnd window, int32_t id, uint32_t modifiers, uint32_t key) = 0;
  virtual bool unregisterHotKey(Hwnd window, int32_t id) = 0;

  // --- Image lists of small icons, for list views. ---
  virtual ImageListHandle createImageList(int32_t cx, int32_t cy, uint32_t flags,
                                          int32_t initial, int32_t grow) = 0;
  virtual void destroyImageList(ImageListHandle list) = 0;
  virtual void setImageListBkColor(ImageListHandle list, ColorRef color) = 0;
  // ImageList_ReplaceIcon(list, -1, icon): the new image's index, or -1.
  virtual int32_t imageListAddIcon(ImageListHandle list, IconHandle icon) = 0;
  virtual void listViewSetImageList(Hwnd list, ImageListHandle images, uint32_t which) = 0;
  // LoadIcon(NULL, IDI_HAND): the system's error icon (not to be destroyed).
  virtual IconHandle errorIcon() = 0;
  virtual void destroyIcon(IconHandle icon) = 0;

  // --- Timers: WM_TIMER with the id in wParam. ---
  virtual bool setTimer(Hwnd window, uintptr_t id, uint32_t milliseconds) = 0;
  virtual bool killTimer(Hwnd window, uintptr_t id) = 0;

  // --- Menus. ---
  // The system menu's existence, and appending to it (MF_STRING or MF_SEPARATOR).
  virtual bool hasSystemMenu(Hwnd window) = 0;
  virtual bool appendSystemMenu(Hwnd window, uint32_t flags, uint32_t id,
                                const std::string& text) = 0;
  // TrackPopupMenu of a pop-up built from the template; the chosen command arrives at the
  // owner as WM_COMMAND. Returns false when nothing was chosen.
  virtual bool trackPopupMenu(const MenuTemplate& popup, uint32_t flags, Point at,
                              Hwnd owner) = 0;

  // --- List views (report view). ---
  virtual void listViewSetExtendedStyle(Hwnd list, uint32_t style) = 0;
  virtual void listViewInsertColumn(Hwnd list, int32_t index, const std::string& heading,
                                    int32_t width) = 0;
  // A row with the image of that index from the small image list, or none when it is negative.
  virtual int32_t listViewInsertItem(Hwnd list, int32_t row, const std::string& text,
                                     int32_t image) = 0;
  virtual void listViewSetItemText(Hwnd list, int32_t row, int32_t column,
                                   const std::string& text) = 0;
  virtual std::string listViewGetItemText(Hwnd list, int32_t row, int32_t column) = 0;
  virtual int32_t listViewItemCount(Hwnd list) = 0;
  virtual void listViewDeleteAllItems(Hwnd list) = 0;
  virtual int32_t listViewGetSelectionMark(Hwnd list) = 0;
  // Selection mark, selected and focused state, hot item, scrolled into view.
  virtual void listViewSelectRow(Hwnd list, int32_t row) = 0;

  // --- Icons, painting and colours. ---
  virtual IconHandle loadIcon(int32_t resourceId) = 0;
  virtual BrushHandle createSolidBrush(ColorRef color) = 0;
  virtual void deleteBrush(BrushHandle brush) = 0;
  virtual BrushHandle blackBrush() = 0;
  virtual void setBkMode(DeviceContext dc, int32_t mode) = 0;
  virtual void setTextColor(DeviceContext dc, ColorRef color) = 0;
  // Paints a minimised window's icon: erases the icon background, draws it at (x, y).
  virtual void paintIcon(Hwnd window, IconHandle icon, int32_t x, int32_t y) = 0;

  // --- The screen and the pointer. ---
  virtual int32_t getSystemMetrics(int32_t index) = 0;
  virtual bool getWorkArea(Rect& area) = 0;  // SystemParametersInfo(SPI_GETWORKAREA)
  virtual Point getCursorPos() = 0;
};

}  // namespace platform
