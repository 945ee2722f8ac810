// The simulated window table, the core the window fakes share: every window (other programs'
// as plain data, the program's own with their handlers), their handles and z-order, the
// position protocol, messages and their dispatch, timers, activation and painting marks, in
// the order Windows uses. The fakes beside it keep their own state in tables keyed by handle:
// other programs' threads and processes (sim_programs.h), own windows, menus and message boxes
// (sim_own_windows.h), dialogs and list views (sim_dialogs.h), input (sim_input.h), drawing
// and the clipboard (sim_drawing.h), icons (sim_icons.h), displays (sim_displays.h).
//
// What it models:
// - Top-level windows in one z-order with a topmost band (enumWindows: top first). Other
//   programs' windows are facts a test sets; the program may show, move, restack, place and
//   message them, which changes the facts directly (no messages reach a handler) and records
//   the messages (answered 0). A sent (or timed) WM_SYSCOMMAND SC_MINIMIZE / SC_RESTORE
//   minimises / restores them, as their default processing would; posted messages are only
//   recorded. Moving one that is neither minimised nor maximised moves its normal rectangle
//   with it.
// - Other programs' child windows with class names (ForeignWindow::parent): findWindowEx finds
//   them by class (any case) in creation order, which is the order of their z-order on Windows;
//   the program's controls have their system class names. What another program's window
//   receives is recorded with the moment and whether it was posted, and the styles the
//   program gives it with their moments (styleChanges), so a brief change can be seen.
//   Not modelled for those children: moving with their parent, restacking, being shown or
//   hidden by the program.
// - Minimised windows are parked at -32000,-32000 (160 x 28: right and bottom negative).
//   Maximised windows fill the work area (sizing borders beyond it) and keep their normal
//   rectangle; one minimised from maximised restores to maximised (WPF_RESTORETOMAXIMIZED in
//   its placement), with any restoring command. Placements are in workspace coordinates:
//   relative to the primary monitor's work area (`workArea`), so a taskbar at the top or
//   left shifts them (SimDisplays::setTaskbar moves both); other monitors' work areas are not
//   modelled there.
// - Time: what other programs and the user do happens at its moment on the clock
//   (SimClock::at), also while the program is blocked in a sleep, an animation or a wait for
//   an answer; so a window can be restored, or stop and start answering, in the middle of the
//   program's work. Timers run on that clock.
// - Other programs' threads may be hung or busy (sim_programs.h): what that does to a sent
//   message, a change or a timed wait is the thread model's to say.
// - WS_MINIMIZE cannot be cleared with setWindowLong while a window is minimised (Wine);
//   WS_DISABLED in the style is the enabled state. Wine's other ways are switches (below).
// - Layered windows: setLayeredWindowAttributes needs WS_EX_LAYERED; the alpha is kept until
//   WS_EX_LAYERED is cleared.
// - The program's own windows: sent messages are direct calls; posted ones wait for
//   pumpMessages() (or advance()). Showing and positioning go through WM_WINDOWPOSCHANGING
//   (the handler may rewrite it) / WM_WINDOWPOSCHANGED. As in Windows, a redundant show or
//   hide flag is dropped after WM_WINDOWPOSCHANGING (a visible window is not shown, a hidden
//   one not hidden), and WM_MOVE / WM_SIZE come from defaultProc's handling of
//   WM_WINDOWPOSCHANGED.
// - Activation (sim_activation.cpp): one foreground window for the whole desktop, which gets
//   what the user types; foreground() reads it, activateByUser() is the user's click. The
//   same rules hold for the program's own top-level windows and other programs' windows, as
//   measured under Wine and documented for Windows:
//   - setWindowPos without SWP_NOACTIVATE (or SWP_HIDEWINDOW) activates the window, hidden
//     or not, and activation brings it to the top of its band: the insert-after (as
//     WM_WINDOWPOSCHANGING left it, and even with SWP_NOZORDER) becomes HWND_TOP unless it
//     is HWND_TOPMOST or HWND_NOTOPMOST;
//   - moveWindow never activates (it is SWP_NOZORDER | SWP_NOACTIVATE);
//   - showWindow with SW_SHOW, SW_SHOWNORMAL, SW_RESTORE or SW_SHOWMINIMIZED activates when
//     it changes something (shows a hidden window, restores or minimises it); on a window
//     already in that state it does nothing. SW_SHOWNOACTIVATE, SW_SHOWNA, SW_MINIMIZE,
//     SW_SHOWMINNOACTIVE and SW_HIDE never activate. A sent WM_SYSCOMMAND SC_RESTORE is
//     SW_RESTORE, SC_MINIMIZE is SW_MINIMIZE; setWindowPlacement carries out its showCmd;
//   - a window created with WS_VISIBLE is shown with SW_SHOW (a top-level one is activated);
//   - animateWindow activates with AW_ACTIVATE only; setForegroundWindow always, at once and
//     through WM_WINDOWPOSCHANGING (HWND_TOP, SWP_NOMOVE | SWP_NOSIZE), as Windows does for a
//     window of the calling thread (Wine 8's virtual desktop activates at the next messages
//     and raises the window without asking its handler).
//   Child windows are never activated. A window hidden, minimised or destroyed loses the
//   activation, which passes to no other window (Windows would activate the next one). The
//   focus (one window of the program's) goes with the activation: it leaves a window whose
//   top-level window loses it (WM_KILLFOCUS with no successor); a focus window destroyed
//   without losing the activation first takes the focus with it silently.
// - Minimising own windows (to -32000,-32000, 160 x 28, where Wine's virtual desktop keeps a
//   row of icons instead) and restoring them; the placement's normal rectangle is in
//   workspace coordinates (relative to the work area).
// - Destruction: owned windows first, then WM_DESTROY down to the children and WM_NCDESTROY
//   up from them; a window on its way out is not destroyed again (destroyWindow from its
//   WM_DESTROY fails, as on Windows; Wine 8 starts over, recursing).
// - Frames (adjustWindowRect and client rectangles alike): 4 px borders with WS_THICKFRAME;
//   otherwise 3 px with WS_CAPTION (its WS_DLGFRAME half) or WS_EX_DLGMODALFRAME (a dialog
//   with DS_MODALFRAME gets it); 1 px with a bare WS_BORDER; plus a caption of SM_CYCAPTION
//   with WS_CAPTION. Minimised windows have an empty client area.
// - Timers on the virtual clock.
// - Re-entry: a wait for another program's answer delivers what is sent to the program
//   meanwhile, unless SMTO_BLOCK holds it until the next pump (see whileSending). Not
//   modelled: messages other programs send on their own during a wait (only the test's hook
//   sends).
// - Painting (sim_painting.cpp): windows marked for painting get WM_PAINT once nothing else
//   waits; a frame style change shows only after SWP_FRAMECHANGED.
//
// What it does not model: update regions (a window is wholly valid or invalid), the foreground
// lock of Windows (any call here may take the foreground; Wine is as lax), WM_ACTIVATE and
// WM_MOUSEACTIVATE, Wine's activation of the caller's own minimised window restored with
// SW_SHOWNOACTIVATE (another program's window is not activated so), non-client hit-testing
// (WM_NCHITTEST answers HTCLIENT), threads, the z-order of child windows and the
// owned-above-owner rule, WM_SETTEXT / WM_GETTEXT, WM_ENABLE, WM_STYLECHANGING (but for how
// long a slow handler takes), frames of WS_EX_CLIENTEDGE / WS_EX_STATICEDGE, the conversion of
// texts to UTF-16 and back (texts are code page 932 bytes, kept as given; getWindowText cuts
// them at a whole character, as the adapter does). Last errors: sendMessageTimeout and the
// changes to other programs' windows (and the hot-keys of sim_input.h) set `lastErrorValue`;
// other calls leave what the test put there.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/messages.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_window.h"
#include "platform/windows.h"

namespace sim {

// How other programs' threads answer the program (SimPrograms); without one, every thread
// answers at once and the program's process never ends.
class SimThreads {
 public:
  virtual ~SimThreads() = default;
  // Before the program reaches another program's window (a change, a timed message): false
  // when its process has ended, so that nothing reaches the window.
  virtual bool reaching() { return true; }
  // The window's thread answers nothing now.
  virtual bool hung(platform::Hwnd) const { return false; }
  // It has answered nothing for so long that the system calls it hung.
  virtual bool hungLong(platform::Hwnd) { return false; }
  // A change to another program's window: true when it may be made now; else it failed
  // (ERROR_TIMEOUT) and `later` may be made when the thread is free.
  virtual bool changeReaches(platform::Hwnd, const char* /*call*/, uint32_t /*message*/,
                             std::function<void()> /*later*/) {
    return true;
  }
  // A call the program would wait in for good: "BLOCKED <call> h... <detail>".
  virtual void blockedBy(platform::Hwnd, const char* /*call*/, const std::string& /*detail*/) {}
};

// A fake that keeps tables beside the window table hears of its records here.
class SimWindowsListener {
 public:
  virtual ~SimWindowsListener() = default;
  // A fresh record for the handle: what was kept for an earlier window of it goes.
  virtual void recordMade(platform::Hwnd) {}
  // A test added another program's window with these facts.
  virtual void foreignAdded(platform::Hwnd, const ForeignWindow&) {}
  // The window has had WM_NCDESTROY and is about to leave the table.
  virtual void freed(platform::Hwnd) {}
  // The window leaves the z-order and its parent (destroyed, or closed by its program).
  virtual void unlinked(platform::Hwnd) {}
  // BeginPaint validated the window.
  virtual void validated(platform::Hwnd) {}
  // The work area changed (SimDisplays::setTaskbar).
  virtual void workAreaChanged() {}
};

class SimWindows : public platform::Windows, public platform::Messages {
 public:
  // The desktop's clock and call log, which outlive this object.
  explicit SimWindows(SimClock& clock);
  ~SimWindows() override;
  SimWindows(const SimWindows&) = delete;
  SimWindows& operator=(const SimWindows&) = delete;

  // ===== Test API =====
  SimClock& clock() { return time_; }

  // Calls the program made through the window ports and those of the fakes that count them
  // (benchmarks).
  uint64_t portCalls = 0;
  // Messages to other programs' windows (a round trip into another process), and the
  // WM_TIMER messages delivered to the program's own windows (each a wake-up).
  uint64_t crossProcessMessages = 0;
  uint64_t timerMessages = 0;
  platform::Dword lastErrorValue = 0;

  // --- Other programs' windows. Edits are plain data changes, no messages. ---
  // Adds a window at the top of its band. Handles are never reused within a run...
  platform::Hwnd addWindow(const ForeignWindow& window);
  // ... unless a test asks for a handle of a window that is gone (throws if it is alive).
  platform::Hwnd addWindowWithHandle(platform::Hwnd handle, const ForeignWindow& window);
  void closeWindow(platform::Hwnd window);  // the window is gone; received() stays readable
  void setTitle(platform::Hwnd window, const std::string& title);
  void setIconic(platform::Hwnd window, bool iconic);  // only the WS_MINIMIZE state
  // What the user does with a window's caption buttons or its taskbar button: minimised
  // windows are parked at -32000,-32000; a maximised one remembers to come back maximised.
  void userMinimize(platform::Hwnd window);
  void userMaximize(platform::Hwnd window);
  void userRestore(platform::Hwnd window);
  void setEnabled(platform::Hwnd window, bool enabled);
  void setRect(platform::Hwnd window, const platform::Rect& rect);
  void setNormalRect(platform::Hwnd window, const platform::Rect& workspaceRect);
  void setStyle(platform::Hwnd window, uint32_t style);
  void setExStyle(platform::Hwnd window, uint32_t exStyle);  // moves band on WS_EX_TOPMOST
  // Messages sent or posted to a window without a handler (other programs' windows and the
  // program's controls), oldest first; empty for unknown handles.
  const std::vector<ReceivedMessage>& received(platform::Hwnd window) const;
  // The styles the program gave another program's window, oldest first.
  const std::vector<StyleChange>& styleChanges(platform::Hwnd window) const;
  const platform::Dword ownProcessId = 0x1000;  // the program's own process: "ZENTA.exe"
  // The alpha given to setLayeredWindowAttributes with LWA_ALPHA; none while opaque.
  std::optional<uint8_t> layeredAlpha(platform::Hwnd window) const;
  // Runs after one of the program's own top-level windows was moved or sized, neither before
  // nor after minimised (WM_WINDOWPOSCHANGED has been sent), with its rectangle before: where
  // the desktop tells it of a monitor of another DPI.
  std::function<void(platform::Hwnd, const platform::Rect& before)> ownWindowMoved;
  // The program's own top-level windows, hidden ones too, top first: where the system sends
  // what it broadcasts.
  std::vector<platform::Hwnd> ownTopLevelWindows() const;
  // The virtual screen's origin moved (another primary monitor): every window keeps its place
  // on the glass, so its coordinates move by (dx, dy). No message is sent.
  void shiftScreen(int32_t dx, int32_t dy);
  // The work area changed: the fakes that care hear of it (browser engines fit their windows).
  void workAreaChanged();

  // Wine's ways; off is Windows' behaviour.
  bool wineForeignPlacementFails = false;    // setWindowPlacement: false, nothing changes
  bool wineDisabledIgnoresMinimize = false;  // WM_SYSCOMMAND SC_MINIMIZE to a disabled one
  // getWindowPlacement reports the current rectangle (-32000,... while minimised) as normal.
  bool winePlacementReportsCurrentRect = false;
  // setWindowPos(HWND_BOTTOM) keeps WS_EX_TOPMOST (any window): it is listed last yet drawn
  // above the others, and takes the pointer over them. (Reported for Wine; Wine 8 here
  // cleared the style of the program's own pop-ups, plain or layered.)
  bool wineBottomKeepsTopmost = false;

  // --- The program's own windows. ---
  // The active window, which gets the keys the user types; none after it went away.
  platform::Hwnd foreground() const { return foreground_; }
  // The window of the program's that has the keyboard focus.
  platform::Hwnd focus() const { return focus_; }
  // The frame style bits (WS_THICKFRAME, WS_CAPTION, WS_BORDER) the window is drawn with now.
  uint32_t drawnFrame(platform::Hwnd window) const;
  // The user clicks a window (own or another program's): it comes to the top of its band and
  // takes the keyboard. Nothing is sent or recorded.
  void activateByUser(platform::Hwnd window);
  // Delivers posted messages in order, including those posted meanwhile.
  void pumpMessages();
  // Moves the clock on by `ms`, delivering each timer due on the way (earliest first, ties in
  // the order they were set) and the messages posted meanwhile. Timers already overdue (after
  // a sleep) fire once at once; advance(0) delivers just those.
  void advance(uint32_t ms);
  // The period of an armed timer, nothing when it is not set.
  std::optional<uint32_t> timerPeriod(platform::Hwnd window, uintptr_t id) const;
  // When the timer fires next, in `now` terms.
  std::optional<uint32_t> timerDue(platform::Hwnd window, uintptr_t id) const;
  // A wait for another program's window to answer a sent message (sendMessage, and
  // sendMessageTimeout without SMTO_BLOCK) delivers what is sent to the program meanwhile:
  // `whileSending` runs (once) during the next such wait. Under SMTO_BLOCK nothing is
  // delivered during the wait: it runs when the program next pumps its messages.
  std::function<void()> whileSending;

  // The screen.
  platform::Rect screen{0, 0, 1920, 1080};  // the desktop window's rectangle
  platform::Rect workArea{0, 0, 1920, 1040};
  std::map<int32_t, int32_t> systemMetrics{
      {platform::SM_CXICON, 32}, {platform::SM_CYICON, 32}, {platform::SM_CYCAPTION, 23}};
  // The bounding box of the monitors (SimDisplays); the desktop window without them.
  std::function<platform::Rect()> virtualScreen = [this] { return screen; };

  static constexpr platform::Hwnd kDesktop{0x10010};
  // What defaultProc answers WM_CTLCOLOR* with, to tell it from the program's brushes: a
  // system colour's brush, as Windows gives, the window colour's for edit boxes and list boxes,
  // the scroll bar colour's for scroll bars, the face colour's for the rest (a dialog's and
  // its static controls' alike).
  static constexpr platform::LResult defaultColorBrush(uint32_t message) {
    constexpr uint32_t kWindow = 5, kScrollBar = 0, kFace = 15;  // COLOR_*
    const uint32_t colour =
        message == platform::WM_CTLCOLOREDIT || message == platform::WM_CTLCOLORLISTBOX ? kWindow
        : message == platform::WM_CTLCOLORSCROLLBAR                                     ? kScrollBar
                                                                                        : kFace;
    return static_cast<platform::LResult>(0xC0000000u | colour);
  }

  // ===== platform::Windows =====
  std::vector<platform::Hwnd> enumWindows() override;
  bool isWindow(platform::Hwnd window) override;
  bool isWindowVisible(platform::Hwnd window) override;
  bool isWindowEnabled(platform::Hwnd window) override;
  bool isIconic(platform::Hwnd window) override;
  bool isZoomed(platform::Hwnd window) override;
  uint32_t getWindowLong(platform::Hwnd window, int32_t index) override;
  std::string getWindowText(platform::Hwnd window, size_t bufferSize) override;
  platform::Dword getWindowProcessId(platform::Hwnd window) override;
  bool getWindowRect(platform::Hwnd window, platform::Rect& rect) override;
  bool getClientRect(platform::Hwnd window, platform::Rect& rect) override;
  bool getWindowPlacement(platform::Hwnd window, platform::WindowPlacement& placement) override;
  bool getLayeredWindowAttributes(platform::Hwnd window, platform::ColorRef& key, uint8_t& alpha,
                                  platform::Dword& flags) override;
  platform::Hwnd findWindowEx(platform::Hwnd parent, platform::Hwnd childAfter,
                              const std::string& className) override;
  std::string getClassName(platform::Hwnd window) override;
  platform::Hwnd getForegroundWindow() override;
  bool isHungAppWindow(platform::Hwnd window) override;
  uint32_t setWindowLong(platform::Hwnd window, int32_t index, uint32_t value) override;
  bool showWindow(platform::Hwnd window, int32_t command) override;
  bool setWindowPos(platform::Hwnd window, platform::Hwnd insertAfter, int32_t x, int32_t y,
                    int32_t cx, int32_t cy, uint32_t flags) override;
  bool moveWindow(platform::Hwnd window, int32_t x, int32_t y, int32_t cx, int32_t cy,
                  bool repaint) override;
  bool setWindowPlacement(platform::Hwnd window,
                          const platform::WindowPlacement& placement) override;
  bool setForegroundWindow(platform::Hwnd window) override;
  bool enableWindow(platform::Hwnd window, bool enable) override;
  bool setLayeredWindowAttributes(platform::Hwnd window, platform::ColorRef key, uint8_t alpha,
                                  platform::Dword flags) override;

  // ===== platform::Messages =====
  platform::LResult sendMessage(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                                platform::LParam lParam) override;
  bool postMessage(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                   platform::LParam lParam) override;
  platform::TimedResult sendMessageTimeout(platform::Hwnd window, uint32_t message,
                                           platform::WParam wParam, platform::LParam lParam,
                                           uint32_t flags, uint32_t milliseconds) override;
  uint32_t registerWindowMessage(const std::string& name) override;
  bool setTimer(platform::Hwnd window, uintptr_t id, uint32_t milliseconds) override;
  bool killTimer(platform::Hwnd window, uintptr_t id) override;
  platform::Dword lastError() override { return lastErrorValue; }

  // ===== For the fakes =====
  // They keep their tables beside this one and hear of its records (listen), and the thread
  // model answers for other programs' threads (setThreads; both outlive this object).
  void listen(SimWindowsListener& listener) { listeners_.push_back(&listener); }
  void setThreads(SimThreads& threads) { threads_ = &threads; }
  SimThreads& threads() { return *threads_; }
  // The user pressed the left button on a caption (WM_NCLBUTTONDOWN HTCAPTION reached the
  // default processing): the pointer's move loop (SimInput).
  std::function<void(platform::Hwnd)> captionPressed;

  // Every record by handle, the gone ones too.
  const std::map<uint32_t, std::unique_ptr<SimWindow>>& records() const { return windows_; }
  SimWindow* find(platform::Hwnd window) const;  // alive or not
  SimWindow* live(platform::Hwnd window) const;
  SimWindow& newWindow(platform::Hwnd handle);
  platform::Hwnd nextHandle();
  const std::vector<platform::Hwnd>& zOrder() const { return zOrder_; }
  void placeOnTop(SimWindow& window);
  platform::Rect insets(const SimWindow& window) const;
  platform::Rect insets(uint32_t style, uint32_t exStyle) const;
  platform::Point clientOrigin(const SimWindow& window) const;
  platform::Rect toWorkspace(const SimWindow& window, platform::Rect rect) const;
  void moveWindowTo(SimWindow& window, const platform::Rect& rect);
  bool visibleChain(const SimWindow& window) const;
  bool enabledChain(const SimWindow& window) const;
  // Other programs' windows change state as their own default processing makes them.
  void minimizeForeign(SimWindow& window);

  // Messages and the position protocol (sim_messages.cpp, sim_position.cpp).
  platform::LResult dispatch(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                             platform::LParam lParam);
  // defaultProc: the class's procedure (a subclassed control's own), else the system's.
  platform::LResult defaultProc(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                                platform::LParam lParam);
  // The system's default processing of an own window.
  platform::LResult windowDefault(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                                  platform::LParam lParam);
  void pumpUntil(const std::function<bool()>& stop);
  bool changePosition(platform::Hwnd window, platform::WindowPos pos);
  // changePosition to a rectangle in screen coordinates (children: their parent's client).
  bool placeAt(platform::Hwnd window, const platform::Rect& screen, uint32_t flags);
  bool show(platform::Hwnd window, int32_t command);
  bool destroy(platform::Hwnd window);
  // A device context the system hands to a message (WM_PRINTCLIENT, WM_ERASEBKGND).
  platform::WParam newDeviceContext();

  // Activation and the focus (sim_activation.cpp).
  void activate(SimWindow& window);
  void deactivate(const SimWindow& window);
  void setFocusTo(platform::Hwnd window);
  bool focusWithin(platform::Hwnd window) const;

  // Painting (sim_painting.cpp).
  void invalidate(SimWindow& window, bool erase = true);
  // BeginPaint (WM_ERASEBKGND first when erasing is due) and EndPaint.
  void beginEndPaint(platform::Hwnd window);

 private:
  struct Timer {
    uint32_t window;
    uintptr_t id;
    uint32_t period;
    uint64_t due;  // on the 64-bit clock
    uint64_t order;
  };
  struct Posted {
    platform::Hwnd window;
    uint32_t message;
    platform::WParam wParam;
    platform::LParam lParam;
  };

  void restack(SimWindow& window, platform::Hwnd insertAfter);
  void unlink(SimWindow& window);
  bool runSentLater();  // true when something ran
  void deliverSentDuringWait(uint32_t flags);
  void sendDestroy(platform::Hwnd window);
  void freeWindow(platform::Hwnd window);
  void reactForeign(SimWindow& window, uint32_t message, platform::WParam wParam);
  void maximizeForeign(SimWindow& window);
  void restoreForeign(SimWindow& window);
  platform::Rect maximizedRect(const SimWindow& window) const;
  // WM_PAINT to each own visible window that waits for it, once the queue is empty.
  bool deliverPaint();
  void noteFrameChange(SimWindow& window, uint32_t flags);
  static bool showActivates(int32_t command);
  bool activatesOnPosition(const SimWindow& window, uint32_t flags) const;
  // Activation brings a window forward: the place a position change ends at.
  void bringForwardIfActivating(const SimWindow& window, platform::WindowPos& pos) const;

  SimClock& time_;
  std::vector<std::string>& actions_;
  SimThreads answering_;  // every thread answers, until a thread model is set
  SimThreads* threads_ = &answering_;
  std::vector<SimWindowsListener*> listeners_;
  std::map<uint32_t, std::unique_ptr<SimWindow>> windows_;
  std::vector<std::unique_ptr<SimWindow>> replaced_;  // windows whose handle a test reused
  std::map<uint32_t, std::vector<ReceivedMessage>> received_;
  std::map<uint32_t, std::vector<StyleChange>> styleChanges_;
  std::vector<platform::Hwnd> zOrder_;  // top-level windows, top first, topmost band first
  uint32_t nextHandle_ = kDesktop.value + 4;
  platform::Hwnd foreground_;
  platform::Hwnd focus_;
  std::deque<Posted> queue_;
  std::vector<std::function<void()>> sentLater_;  // sent during an SMTO_BLOCK wait
  std::vector<Timer> timers_;
  uint64_t timerOrder_ = 0;
  std::map<std::string, uint32_t> registeredMessages_;
  uint64_t nextDc_ = 0x0F000010;  // device contexts handed to WM_PRINTCLIENT
};

}  // namespace sim
