// The program's small window framework, written once over the platform port.
//
// Conventions:
// - One C++ object per window. The object learns its handle with the first message of its
//   window (or when it subclasses a control) and forgets it after WM_NCDESTROY;
//   postNcDestroy() then runs, the last thing that happens to a window.
// - An object is never freed while a frame of its own code is on the stack. A handler may run
//   a loop (a menu, a message box, a dialog, a wait for another program's answer) in which
//   anything can happen, its own window closing included. The dispatch counts the frames of
//   each object; an owner holds the object as Owned<T>, whose deleter is release(): the object
//   goes at once when none of its frames runs, otherwise when the last one returns. A method
//   the owner calls that may run such a loop holds a Frame itself. Code that runs on after such
//   a loop checks isWindow() (still open?) before it touches anything it manages.
// - windowProc() sees every message first and turns the common ones into calls of virtual
//   handlers (onPaint, onTimer...). A handler that returns an Answer gives the system that
//   result; nothing (kDefault) or a handler without a result lets the default processing run
//   after it. A handler that needs the default first calls defaultProcessing().
// - An object outlives its window; destroying an object whose window still exists destroys
//   the window first (only default processing runs then).
// - Everything runs on the one user-interface thread.
// - The framework takes only the port services it uses itself (WindowPorts, DialogPorts);
//   a class takes whatever else it draws or asks for by name.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace ui {

using platform::Hwnd;
using platform::LParam;
using platform::LResult;
using platform::WParam;

// A handler's result for the system; nothing: the default processing follows.
using Answer = std::optional<LResult>;
inline constexpr std::nullopt_t kDefault = std::nullopt;

inline uint32_t loWord(uint64_t value) {
  return static_cast<uint32_t>(value & 0xFFFF);
}
inline uint32_t hiWord(uint64_t value) {
  return static_cast<uint32_t>((value >> 16) & 0xFFFF);
}

// What a window of the framework needs from the port.
struct WindowPorts {
  WindowPorts(platform::Windows& w, platform::Messages& m, platform::OwnWindows& o)
      : windows(w), messages(m), ownWindows(o) {}
  WindowPorts(const platform::Platform& p)  // NOLINT: implicit, so a class passes its platform
      : WindowPorts(p.windows, p.messages, p.ownWindows) {}
  platform::Windows& windows;
  platform::Messages& messages;
  platform::OwnWindows& ownWindows;
};

class Window : public platform::MessageHandler {
 public:
  // A frame of this object's code on the stack: while one runs, release() only marks it.
  class Frame {
   public:
    explicit Frame(Window& window) : window_(window) { ++window_.frames_; }
    ~Frame() {
      if (--window_.frames_ == 0 && window_.released_) delete &window_;
    }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

   private:
    Window& window_;
  };
  // The owner lets the object go: freed now, or when its last frame returns.
  void release() {
    if (frames_ == 0) {
      delete this;
    } else {
      released_ = true;
    }
  }

  explicit Window(const WindowPorts& ports)
      : windows_(ports.windows), messages_(ports.messages), ownWindows_(ports.ownWindows) {}
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  Hwnd hwnd() const { return hwnd_; }
  platform::Windows& windows() const { return windows_; }
  platform::Messages& messages() const { return messages_; }
  platform::OwnWindows& ownWindows() const { return ownWindows_; }
  bool isWindow() const { return hwnd_ && windows_.isWindow(hwnd_); }
  bool isVisible() const { return hwnd_ && windows_.isWindowVisible(hwnd_); }

  bool showWindow(int32_t command) { return windows_.showWindow(hwnd_, command); }
  bool setWindowPos(Hwnd insertAfter, int32_t x, int32_t y, int32_t cx, int32_t cy,
                    uint32_t flags) {
    return windows_.setWindowPos(hwnd_, insertAfter, x, y, cx, cy, flags);
  }
  platform::Rect windowRect() const;
  platform::Rect clientRect() const;
  bool setTimer(uintptr_t id, uint32_t milliseconds) {
    return messages_.setTimer(hwnd_, id, milliseconds);
  }
  bool killTimer(uintptr_t id) { return messages_.killTimer(hwnd_, id); }
  LResult sendMessage(uint32_t message, WParam wParam, LParam lParam) {
    return messages_.sendMessage(hwnd_, message, wParam, lParam);
  }
  virtual bool destroyWindow();
  // Takes over a control of a dialog as this object's window: its messages come here first
  // and defaultProc is the control's own procedure.
  bool subclassDlgItem(platform::Dialogs& dialogs, Hwnd dialog, int32_t id);

 protected:
  // The handlers below, then the default processing unless one answered.
  virtual LResult windowProc(uint32_t message, WParam wParam, LParam lParam);
  LResult defaultProc(uint32_t message, WParam wParam, LParam lParam) {
    return ownWindows_.defaultProc(hwnd_, message, wParam, lParam);
  }
  // The default processing of the message being handled, for a handler that needs it first.
  LResult defaultProcessing() {
    return defaultProc(current_.message, current_.wParam, current_.lParam);
  }
  virtual void postNcDestroy() {}

  // The common messages.
  virtual void onCreate() {}
  virtual void onDestroy() {}
  virtual Answer onPaint() { return kDefault; }
  virtual Answer onEraseBackground(platform::DeviceContext) { return kDefault; }
  virtual Answer onPrintClient(platform::DeviceContext) { return kDefault; }
  virtual Answer onSize() { return kDefault; }
  virtual Answer onMove() { return kDefault; }
  virtual Answer onWindowPosChanging(platform::WindowPos*) { return kDefault; }
  virtual Answer onNcHitTest() { return kDefault; }
  virtual Answer onSetFocus() { return kDefault; }
  virtual Answer onKillFocus() { return kDefault; }
  virtual Answer onLeftButtonDown(LParam) { return kDefault; }
  virtual Answer onLeftButtonUp() { return kDefault; }
  virtual Answer onLeftButtonDoubleClick() { return kDefault; }
  virtual Answer onRightButtonUp() { return kDefault; }
  virtual void onMouseMove(WParam /*keys*/, LParam /*at*/) {}
  virtual void onMouseWheel(WParam) {}
  virtual void onKeyDown(WParam /*key*/) {}
  virtual void onHotKey(uintptr_t /*id*/) {}
  virtual void onTimer(uintptr_t /*id*/) {}
  // A command (menu, accelerator, control) other than a dialog's OK and Cancel; true when
  // handled.
  virtual bool onCommand(uint32_t /*id*/, uint32_t /*code*/, Hwnd /*control*/) { return false; }
  virtual Answer onSysCommand(WParam) { return kDefault; }
  virtual Answer onQueryDragIcon() { return kDefault; }
  virtual Answer onEndSession(WParam, LParam) { return kDefault; }
  virtual void onPowerBroadcast(WParam) {}
  virtual void onCompositionChanged() {}
  // Any other message: the class's own and registered ones.
  virtual Answer onOtherMessage(uint32_t, WParam, LParam) { return kDefault; }

 private:
  LResult onMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) final;
  Answer dispatch(uint32_t message, WParam wParam, LParam lParam);

  struct Message {
    uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
  };

  platform::Windows& windows_;
  platform::Messages& messages_;
  platform::OwnWindows& ownWindows_;
  Hwnd hwnd_;
  bool destroying_ = false;  // in the destructor: no virtual dispatch any more
  int frames_ = 0;           // frames of this object's code on the stack
  bool released_ = false;    // its owner let it go while a frame ran
  Message current_;          // the message being handled (the innermost, when nested)
};

// How an owner holds a window object: letting it go goes through release().
struct Release {
  void operator()(Window* window) const { window->release(); }
};
template <class T>
using Owned = std::unique_ptr<T, Release>;

}  // namespace ui
