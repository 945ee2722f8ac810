// The real Windows adapter: every call maps straight onto the Windows API. Handles are
// converted at this border only.
#pragma once

// Port headers first: <windows.h> defines macros with the names of the port's constants.
#include "platform/platform.h"

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace win32 {

inline HWND toHwnd(platform::Hwnd h) {
  // Window handles are 32-bit values, sign-extended on 64-bit Windows.
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(h.value)));
}
inline platform::Hwnd fromHwnd(HWND h) {
  return platform::Hwnd{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h))};
}

// LoadLibraryW by the full path in the system folder. A bare name is looked for beside the
// executable first, and a portable program's folder is anyone's to write to: the DLLs that
// are not among the system's known DLLs (dwmapi, version) are loaded this way, not imported.
HMODULE loadSystemLibrary(const wchar_t* name);
// `target` := the entry point `name` of `library` (none without the library or the entry).
template <typename F>
void resolve(HMODULE library, const char* name, F& target) {
  target = library ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                   : nullptr;
}

// A change to `window` (see platform::Windows): another program's window is changed on a
// worker thread that this thread waits for at most a second, without dispatching messages
// (which would re-enter the program), so that a busy program cannot hold the user interface.
// The worker finishes on its own after that. A change still on its way to the same window is
// waited for first, within the same second. The answer is the call's (with its last error),
// or 0 with ERROR_TIMEOUT when it was not made within the second (a worker may still make
// it later, or none could be started). The program's own windows are changed here,
// directly. `call` owns copies of what it needs: it may outlive the caller.
uintptr_t changeOnWorker(HWND window, std::function<uintptr_t()> call);

// Set once the crash filter runs: from then on every change is made directly on the calling
// thread, with no worker, lock or allocation (a crashed thread may hold the heap's lock).
extern std::atomic<bool> crashModeOn;
// The crashing thread takes the crash mode and waits, a second at most, for the changes still
// on workers to land before its own; false when it already has it (a crash inside the filter).
// Another thread that crashes meanwhile stops there: the first one ends the process.
bool enterCrashMode();
// Once another thread runs the crash filter, the calling thread stops for good before it
// changes or asks anything of another program's window: the user-interface thread's poll
// would otherwise undo what the filter puts back.
void stayOutOfTheCrash();

template <typename Call>
uintptr_t guardedChange(HWND window, Call call) {
  if (crashModeOn.load()) {
    stayOutOfTheCrash();
    return call();
  }
  return changeOnWorker(window, std::function<uintptr_t()>(std::move(call)));
}

// The port's texts (code page 932) as UTF-16 and back, whatever the system's code page.
std::wstring fromProgramText(const std::string& text);
// A character that code page 932 cannot hold becomes its best fit there, or '?'.
std::string toProgramText(const std::wstring& text);
// The same, cut after the last whole character within `maxBytes`.
std::string toProgramText(const std::wstring& text, size_t maxBytes);
// True when every character has its own place in code page 932 (no best fit, no '?').
bool holdsExactly(const std::wstring& text);

class Win32System : public platform::System {
 public:
  Win32System();
  ~Win32System() override;
  bool initSockets() override;
  bool getVersion(platform::OsVersionInfo& info) override;
  RegistryRead readRegistryValue(platform::RegistryRoot root, const std::string& subKey,
                                 platform::Dword access, const std::string& valueName,
                                 size_t maxBytes) override;
  platform::MutexResult createMutex(bool initialOwner, const std::string& name) override;
  bool allocConsole() override;
  void freeConsole() override;
  void redirectStdStreamsToConsole() override;
  void redirectStdStreamsToNull() override;
  void setConsoleCtrlHandler(platform::ConsoleCtrlHandler handler) override;
  void setCrashFilter(void (*filter)(void* context), void* context) override;
  void exitFinished() override;
  void waitForExit(platform::Dword milliseconds) override;
  void writeStdout(const std::string& bytes) override;
  bool setCurrentDirectory(const std::string& path) override;
  std::string getCurrentDirectory() override;
  std::vector<std::string> commandLine() override;
  std::string moduleFileName() override;
  platform::Dword versionInfoSize(const std::string& path) override;
  std::unique_ptr<platform::VersionBlock> versionInfo(const std::string& path,
                                                      platform::Dword size) override;
  bool isLeadByte(unsigned char byte) override;
  platform::Dword sessionId() override;
  void sleep(platform::Dword milliseconds) override;
  platform::Dword tickCount() override;

 private:
  bool socketsStarted_ = false;
  bool stdoutDiscarded_ = false;  // standard output is the null device
};

class Win32ProfileFiles : public platform::ProfileFiles {
 public:
  uint32_t getInt(const std::string& section, const std::string& key, int32_t defaultValue,
                  const std::string& file) override;
  std::string getString(const std::string& section, const std::string& key,
                        const std::string& defaultValue, size_t bufferSize,
                        const std::string& file) override;
  bool writeString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& file) override;
};

class Win32Files : public platform::Files {
 public:
  using platform::Files::read;
  platform::FileContents read(const std::string& path, size_t maxBytes) override;
  std::unique_ptr<platform::WritableFile> create(const std::string& path) override;
  bool replace(const std::string& from, const std::string& to) override;
  bool remove(const std::string& path) override;
};

class Win32Monitors : public platform::Monitors {
 public:
  std::vector<Enumerated> enumerate() override;
  bool getInfo(platform::MonitorHandle monitor, platform::MonitorInfo& info) override;
  platform::MonitorHandle fromRect(const platform::Rect& rect) override;
  uint32_t getDpi(platform::MonitorHandle monitor) override;  // win32_dpi.cpp
  platform::DpiAwareness enableDpiAwareness() override;
};

class Win32Dwm : public platform::Dwm {
 public:
  Win32Dwm();
  ~Win32Dwm() override;
  platform::HResult isCompositionEnabled(bool* enabled) override;
  platform::HResult getWindowAttribute(platform::Hwnd window, platform::Dword attribute,
                                       void* value, platform::Dword size) override;
  platform::HResult registerThumbnail(platform::Hwnd destination, platform::Hwnd source,
                                      platform::ThumbnailId* thumbnail) override;
  platform::HResult unregisterThumbnail(platform::ThumbnailId thumbnail) override;
  platform::HResult updateThumbnailProperties(
      platform::ThumbnailId thumbnail, const platform::ThumbnailProperties& properties) override;
  platform::HResult querySourceSize(platform::ThumbnailId thumbnail, platform::Size* size) override;
  platform::HResult extendFrameIntoClientArea(platform::Hwnd window,
                                              const platform::Margins& margins) override;

 private:
  struct Entry;
  const Entry& bind();
  std::unique_ptr<Entry> entry_;
};

class Win32Shell : public platform::Shell {
 public:
  platform::HResult comInitialize() override;
  void comUninitialize() override;
  std::unique_ptr<platform::TaskbarList> createTaskbarList() override;
  platform::ShellResult notifyIcon(uint32_t message, const platform::TrayIconData& data) override;
  std::optional<platform::IconHandle> fileSmallIcon(const std::string& path) override;
  platform::Hwnd trayWindow() override;
  bool shellExecute(platform::Hwnd owner, const std::string& verb, const std::string& file,
                    int32_t show) override;
};

class Win32MessageBoxes : public platform::MessageBoxes {
 public:
  int show(platform::Hwnd owner, const std::string& text, const std::string& caption,
           uint32_t type) override;
};

// The window manager. The program's own windows are bound to their MessageHandler until
// WM_NCDESTROY. A dialog is bound at WM_INITDIALOG and subclassed so that every message goes
// through the handler like a window procedure; its defaultProc is the dialog's own procedure.
// A plain window is bound at WM_NCCREATE by its class's procedure; its defaultProc is
// DefWindowProcW. Both translate the same structures (WINDOWPOS, NMHDR) on the way.
class Win32Windows : public platform::Windows,
                     public platform::Messages,
                     public platform::OwnWindows,
                     public platform::Dialogs,
                     public platform::ListViews,
                     public platform::Icons,
                     public platform::Drawing,
                     public platform::Input,
                     public platform::Screen {
 public:
  Win32Windows();

  std::vector<platform::Hwnd> enumWindows() override;
  bool isWindow(platform::Hwnd window) override;
  bool isWindowVisible(platform::Hwnd window) override;
  bool isIconic(platform::Hwnd window) override;
  bool isZoomed(platform::Hwnd window) override;
  uint32_t getWindowLong(platform::Hwnd window, int32_t index) override;
  uint32_t setWindowLong(platform::Hwnd window, int32_t index, uint32_t value) override;
  std::string getWindowText(platform::Hwnd window, size_t bufferSize) override;
  platform::Dword getWindowProcessId(platform::Hwnd window) override;
  bool getWindowRect(platform::Hwnd window, platform::Rect& rect) override;
  bool getClientRect(platform::Hwnd window, platform::Rect& rect) override;
  bool getWindowPlacement(platform::Hwnd window, platform::WindowPlacement& placement) override;
  std::string getClassName(platform::Hwnd window) override;
  platform::Hwnd getForegroundWindow() override;
  bool isHungAppWindow(platform::Hwnd window) override;
  bool getLayeredWindowAttributes(platform::Hwnd window, platform::ColorRef& key, uint8_t& alpha,
                                  platform::Dword& flags) override;
  platform::Hwnd findWindowEx(platform::Hwnd parent, platform::Hwnd childAfter,
                              const std::string& className) override;
  platform::Hwnd getDesktopWindow() override;

  bool showWindow(platform::Hwnd window, int32_t command) override;
  bool setWindowPos(platform::Hwnd window, platform::Hwnd insertAfter, int32_t x, int32_t y,
                    int32_t cx, int32_t cy, uint32_t flags) override;
  bool setForegroundWindow(platform::Hwnd window) override;
  bool destroyWindow(platform::Hwnd window) override;
  bool invalidateRect(platform::Hwnd window, bool erase) override;
  bool redrawNow(platform::Hwnd window) override;
  bool setWindowText(platform::Hwnd window, const std::string& text) override;

  platform::LResult sendMessage(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                                platform::LParam lParam) override;
  bool postMessage(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                   platform::LParam lParam) override;
  platform::LResult defaultProc(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                                platform::LParam lParam) override;
  uint32_t registerWindowMessage(const std::string& name) override;
  platform::Dword lastError() override;

  platform::Hwnd createDialog(const platform::DialogTemplate& dialog, platform::Hwnd parent,
                              platform::MessageHandler* handler) override;
  intptr_t runModalDialog(const platform::DialogTemplate& dialog, platform::Hwnd parent,
                          platform::MessageHandler* handler) override;
  bool endDialog(platform::Hwnd dialog, intptr_t result) override;
  platform::Hwnd getDlgItem(platform::Hwnd dialog, int32_t id) override;
  platform::Hwnd subclassDlgItem(platform::Hwnd dialog, int32_t id,
                                 platform::MessageHandler* handler) override;
  int32_t getDlgCtrlId(platform::Hwnd control) override;
  std::string getDlgItemText(platform::Hwnd dialog, int32_t id) override;
  bool setDlgItemText(platform::Hwnd dialog, int32_t id, const std::string& text) override;
  bool enableWindow(platform::Hwnd window, bool enable) override;
  bool isWindowEnabled(platform::Hwnd window) override;

  platform::Hwnd createWindow(const platform::CreateWindowArgs& params,
                              platform::MessageHandler* handler) override;
  bool animateWindow(platform::Hwnd window, platform::Dword milliseconds,
                     platform::Dword flags) override;
  bool moveWindow(platform::Hwnd window, int32_t x, int32_t y, int32_t cx, int32_t cy,
                  bool repaint) override;
  bool adjustWindowRect(platform::Rect& rect, uint32_t style, uint32_t exStyle) override;
  void fillRect(platform::DeviceContext dc, const platform::Rect& rect,
                platform::ColorRef color) override;
  void paintFill(platform::Hwnd window, platform::ColorRef color) override;

  bool setWindowPlacement(platform::Hwnd window,
                          const platform::WindowPlacement& placement) override;
  bool setLayeredWindowAttributes(platform::Hwnd window, platform::ColorRef key, uint8_t alpha,
                                  platform::Dword flags) override;
  platform::TimedResult sendMessageTimeout(platform::Hwnd window, uint32_t message,
                                           platform::WParam wParam, platform::LParam lParam,
                                           uint32_t flags, uint32_t milliseconds) override;

  bool registerHotKey(platform::Hwnd window, int32_t id, uint32_t modifiers, uint32_t key) override;
  bool unregisterHotKey(platform::Hwnd window, int32_t id) override;
  bool installKeyboardHook(platform::KeyboardSink& sink) override;
  bool removeKeyboardHook(platform::KeyboardSink& sink) override;
  std::string keyName(int32_t virtualKey) override;
  void setCaretPos(platform::Point at) override;
  int32_t paintText(platform::Hwnd window, const std::string& text, platform::Point at) override;

  platform::ImageListHandle createImageList(int32_t cx, int32_t cy, uint32_t flags, int32_t initial,
                                            int32_t grow) override;
  void destroyImageList(platform::ImageListHandle list) override;
  void setImageListBkColor(platform::ImageListHandle list, platform::ColorRef color) override;
  int32_t imageListAddIcon(platform::ImageListHandle list, platform::IconHandle icon) override;
  void listViewSetImageList(platform::Hwnd list, platform::ImageListHandle images,
                            uint32_t which) override;
  platform::IconHandle errorIcon() override;
  void destroyIcon(platform::IconHandle icon) override;

  bool setTimer(platform::Hwnd window, uintptr_t id, uint32_t milliseconds) override;
  bool killTimer(platform::Hwnd window, uintptr_t id) override;

  bool hasSystemMenu(platform::Hwnd window) override;
  bool appendSystemMenu(platform::Hwnd window, uint32_t flags, uint32_t id,
                        const std::string& text) override;
  bool trackPopupMenu(const platform::MenuTemplate& popup, uint32_t flags, platform::Point at,
                      platform::Hwnd owner) override;

  void listViewSetExtendedStyle(platform::Hwnd list, uint32_t style) override;
  void listViewInsertColumn(platform::Hwnd list, int32_t index, const std::string& heading,
                            int32_t width) override;
  int32_t listViewInsertItem(platform::Hwnd list, int32_t row, const std::string& text,
                             int32_t image) override;
  void listViewSetItemText(platform::Hwnd list, int32_t row, int32_t column,
                           const std::string& text) override;
  std::string listViewGetItemText(platform::Hwnd list, int32_t row, int32_t column) override;
  int32_t listViewItemCount(platform::Hwnd list) override;
  void listViewDeleteAllItems(platform::Hwnd list) override;
  int32_t listViewGetSelectionMark(platform::Hwnd list) override;
  void listViewSelectRow(platform::Hwnd list, int32_t row) override;

  platform::IconHandle loadIcon(int32_t resourceId) override;
  platform::BrushHandle createSolidBrush(platform::ColorRef color) override;
  void deleteBrush(platform::BrushHandle brush) override;
  platform::BrushHandle blackBrush() override;
  void setBkMode(platform::DeviceContext dc, int32_t mode) override;
  void setTextColor(platform::DeviceContext dc, platform::ColorRef color) override;
  void paintIcon(platform::Hwnd window, platform::IconHandle icon, int32_t x, int32_t y) override;
  // Bitmaps (win32_clipboard.cpp).
  platform::BitmapHandle createPicture(platform::Size size) override;
  bool printWindowInto(platform::BitmapHandle picture, platform::Hwnd window,
                       const platform::Rect& source, uint32_t flags) override;
  bool copyScreenInto(platform::BitmapHandle picture, const platform::Rect& area) override;
  uint64_t pixelHash(platform::BitmapHandle bitmap) override;
  platform::BitmapHandle placeBitmap(platform::BitmapHandle part, const platform::Rect& at,
                                     platform::Size size, platform::ColorRef background) override;
  bool isBlack(platform::BitmapHandle bitmap) override;
  void paintBitmap(platform::Hwnd window, platform::BitmapHandle bitmap) override;
  void paintLabel(platform::Hwnd window, platform::IconHandle icon, const std::string& text,
                  platform::ColorRef background) override;
  platform::Size drawBadge(platform::Hwnd window, const std::string& text,
                           platform::Point bottomLeft, uint32_t dpi) override;
  platform::IconHandle windowIcon(platform::Hwnd window) override;
  platform::BitmapHandle copyClientArea(platform::Hwnd window, platform::Size size) override;
  platform::BitmapHandle printWindowPart(platform::Hwnd window, const platform::Rect& source,
                                         platform::Size size, uint32_t flags) override;
  void deleteBitmap(platform::BitmapHandle bitmap) override;

  int32_t getSystemMetrics(int32_t index) override;
  bool getWorkArea(platform::Rect& area) override;
  platform::Point getCursorPos() override;
  void setArrowCursor() override;
  int16_t getKeyState(int32_t key) override;
  void setCapture(platform::Hwnd window) override;
  void releaseCapture() override;

 private:
  struct Binding;
  struct Frame;
  static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK boundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static Binding* bindingOf(HWND window);
  static void setBinding(HWND window, Binding* binding);
  static LRESULT deliverLast(Binding* binding, HWND window, UINT message, WPARAM wParam,
                             LPARAM lParam);
  LRESULT deliver(Binding& binding, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                  bool* defaulted);
  HWND makeDialog(const platform::DialogTemplate& dialog, platform::Hwnd parent,
                  platform::MessageHandler* handler, bool modal, intptr_t& modalResult);

  // Messages being delivered on this thread, innermost last: a handler's defaultProc finds
  // the real structure behind the portable one it was given.
  static thread_local std::vector<Frame*> frames_;
};

// The in-memory DLGTEMPLATEEX of a dialog table: DWORD-aligned, ready for the
// CreateDialogIndirect and DialogBoxIndirect functions.
std::vector<DWORD> buildDialogTemplate(const platform::DialogTemplate& dialog);

class Win32Processes : public platform::Processes {
 public:
  std::string baseName(platform::Dword processId) override;
  std::string imagePath(platform::Dword processId) override;
};

class Win32Clipboard : public platform::Clipboard {
 public:
  bool open(platform::Hwnd owner) override;
  bool empty() override;
  bool setBitmap(platform::BitmapHandle bitmap) override;
  bool close() override;
};

// All services, bundled for start-up.
class Win32Platform {
 public:
  Win32Platform();
  platform::Platform& platform() { return platform_; }

 private:
  Win32System system_;
  Win32ProfileFiles profile_;
  Win32Files files_;
  Win32Monitors monitors_;
  Win32Dwm dwm_;
  Win32Shell shell_;
  Win32MessageBoxes messageBoxes_;
  Win32Windows windows_;
  Win32Processes processes_;
  Win32Clipboard clipboard_;
  platform::Platform platform_;
};

}  // namespace win32
