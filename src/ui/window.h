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
// - windowProc() sees every message first and turns the ones a class cares about into calls
//   of virtual handlers; whatever nobody takes goes to defaultProc(), the system's default.
// - An object outlives its window; destroying an object whose window still exists destroys
//   the window first (only default processing runs then).
// - Everything runs on the one user-interface thread.
// - The framework takes only the port services it uses itself (WindowPorts, DialogPorts);
//   a class takes whatever else it draws or asks for by name.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace ui {

using platform::Hwnd;
using platform::LParam;
using platform::LResult;
using platform::WParam;

inline uint32_t loWord(uint64_t value) { return static_cast<uint32_t>(value & 0xFFFF); }
inline uint32_t hiWord(uint64_t value) { return static_cast<uint32_t>((value >> 16) & 0xFFFF); }

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
  virtual LResult windowProc(uint32_t message, WParam wParam, LParam lParam);
  LResult defaultProc(uint32_t message, WParam wParam, LParam lParam) {
    return ownWindows_.defaultProc(hwnd_, message, wParam, lParam);
  }
  virtual void postNcDestroy() {}

 private:
  LResult onMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) final;

  platform::Windows& windows_;
  platform::Messages& messages_;
  platform::OwnWindows& ownWindows_;
  Hwnd hwnd_;
  bool destroying_ = false;  // in the destructor: no virtual dispatch any more
  int frames_ = 0;           // frames of this object's code on the stack
  bool released_ = false;    // its owner let it go while a frame ran
};

// How an owner holds a window object: letting it go goes through release().
struct Release {
  void operator()(Window* window) const { window->release(); }
};
template <class T>
using Owned = std::unique_ptr<T, Release>;

}  // namespace ui
