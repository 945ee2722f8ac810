// The simulated window manager: windows of other programs as plain data, and the program's
// own windows, dialogs, controls, messages, timers, hot-keys, image lists and menus,
// dispatched in the order Windows uses.
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
//   left shifts them (SimDesktop::setTaskbar moves both); other monitors' work areas are not
//   modelled there.
// - Time: what other programs and the user do happens at its moment on the clock (at()),
//   also while the program is blocked in a sleep, an animation or a wait for an answer; so a
//   window can be restored, or stop and start answering, in the middle of the program's work.
// - Hung windows of other programs (setHung): a hung window ignores what it is sent.
//   sendMessageTimeout waits out its timeout (the clock moves, nothing is delivered) and
//   returns at once under SMTO_ABORTIFHUNG when the window has been hung for 5 s, as Windows
//   does. A call that would block the program for good on Windows records "BLOCKED ..." and
//   moves the clock by 5 s: sendMessage (answers 0, the message is lost).
// - Busy windows of other programs (sim_busy_windows.cpp): setBusy makes a window hung for a
//   span of clock time; slowHandler makes the program's own change start such a span (a
//   style change whose WM_STYLECHANGING handler takes 15 s). The changes of the port's
//   contract (setWindowLong, showWindow, setWindowPos, moveWindow, setWindowPlacement,
//   enableWindow, setLayeredWindowAttributes) to a busy or hung window wait at most a second
//   of clock time; then they fail with ERROR_TIMEOUT, record "TIMED OUT <call> h...", and the
//   change is made when the span ends. While one is outstanding, the next change to that
//   window waits for it within its own second; still outstanding then, it fails ("TIMED
//   OUT <call> h... outstanding") and is not made. In crash mode (the crash filter runs)
//   the changes are made at once, unguarded; one to a hung window records "BLOCKED <call>
//   h... crash filter" (the crashing thread would wait for it).
// - WS_MINIMIZE cannot be cleared with setWindowLong while a window is minimised (Wine);
//   WS_DISABLED in the style is the enabled state. Wine's other ways are switches (below).
// - Layered windows: setLayeredWindowAttributes needs WS_EX_LAYERED; the alpha is kept until
//   WS_EX_LAYERED is cleared.
// - The program's own windows: dialogs built from templates (dialog unit = 1.5 px), their
//   controls as child windows, one MessageHandler per dialog; plain windows (createWindow)
//   get WM_CREATE (-1 fails the creation) and are then shown when created with WS_VISIBLE
//   (an overlapped window, neither WS_POPUP nor WS_CHILD, gets WS_CAPTION as in Windows).
//   Sent messages are direct calls; posted ones wait for pumpMessages() (or advance()).
//   Showing and positioning go through WM_WINDOWPOSCHANGING (the handler may rewrite it) /
//   WM_WINDOWPOSCHANGED. As in Windows, a redundant show or hide flag is dropped after
//   WM_WINDOWPOSCHANGING (a visible window is not shown, a hidden one not hidden), and
//   WM_MOVE / WM_SIZE come from defaultProc's handling of WM_WINDOWPOSCHANGED.
// - animateWindow: WM_PRINTCLIENT first (when showing), then the clock moves by the duration
//   as in a sleep, then the window is shown through the position protocol (AW_ACTIVATE makes
//   it the foreground window) or hidden directly, without position messages. It fails for
//   other programs' windows, on a visible window when showing and a hidden one when hiding.
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
//   - animateWindow activates with AW_ACTIVATE only; setForegroundWindow always.
//   Child windows are never activated. A window hidden, minimised or destroyed loses the
//   activation, which passes to no other window (Windows would activate the next one).
// - Minimising own windows (to -32000,-32000, 160 x 28) and restoring them; the placement's
//   normal rectangle is in workspace coordinates (relative to the work area).
// - Frames (adjustWindowRect and client rectangles alike): 4 px borders with WS_THICKFRAME;
//   otherwise 3 px with WS_CAPTION (its WS_DLGFRAME half) or WS_EX_DLGMODALFRAME (a dialog
//   with DS_MODALFRAME gets it); 1 px with a bare WS_BORDER; plus a caption of SM_CYCAPTION
//   with WS_CAPTION. Minimised windows have an empty client area.
// - Hot-keys: one owner per key combination across the system (hotKeysHeldElsewhere stands
//   for other programs); the press is posted as WM_HOTKEY. A window's hot-keys go with it.
// - Image lists (icons copied in, by index) and icons: icons handed out by newIcon() are live
//   until destroyIcon. A list view without LVS_SHAREIMAGELISTS destroys its image lists with
//   itself, as Windows does ("image list destroy ... with list view").
// - Modal loops answered by scripts, timers on the virtual clock, pop-up menus answered from a
//   queue, system menus, list views, check boxes, brushes and device-context settings;
//   fillRect and paintFill are recorded, not drawn.
// - Re-entry (sim_modal_loops.cpp): inside a modal loop (menu, message box, dialog) the
//   program's messages go on arriving: the test's hook for it runs there and may move the
//   clock (timers fire), send messages or close windows. A wait for another program's answer
//   delivers what is sent to the program meanwhile, unless SMTO_BLOCK holds it until the next
//   pump. Not modelled: messages other programs send on their own during a wait (only the
//   test's hook sends), a menu closed by a click elsewhere.
// - Bitmaps and the clipboard (sim_clipboard.cpp): bitmaps are a size and where their
//   picture came from, live until deleted; once the clipboard holds one, it is deleted when
//   the clipboard lets it go (emptied, or the format set anew). PrintWindow of a busy or
//   hung window waits for it a second at most, as a change to it does (see busy windows).
//   One window at a time opens the clipboard; data is set only while it is open.
// - Painting (sim_painting.cpp): windows marked for painting get WM_PAINT once nothing else
//   waits; a frame style change shows only after SWP_FRAMECHANGED.
//
// - The pointer (sim_pointer.cpp): moves, the left button with the capture and the caption
//   move loop, the wheel and typed keys reach the program's own window under the pointer (or
//   holding the capture, or active), in client coordinates; see the test API. Not modelled:
//   WM_SETCURSOR, WM_NCMOUSEMOVE, WM_MOUSELEAVE and hover messages, WM_CAPTURECHANGED, the
//   other buttons, double-click timing, the system's drag of a frame edge.
//
// Not modelled for the clipboard: formats the system derives (CF_DIB ...), delayed rendering,
// WM_DESTROYCLIPBOARD, the owner's going away, a clipboard left open by the program until
// another open; PrintWindow of a window that stops answering midway, flags other than
// PW_RENDERFULLCONTENT, and whether Windows 7 refuses that flag (a switch, unmeasured).
// What it does not model: pixels (windows draw one colour each; no WM_ERASEBKGND or
// WM_NCPAINT is sent; a layered window without attributes is not drawn on Windows, here
// nothing is drawn anyway), update regions
// (a window is wholly valid or invalid), real input (tests click through the API below, which
// honours disabled and hidden controls), the focus a window gets back when it is activated
// again and a dialog's first focus (nothing has the focus until a test gives it), keyboard
// auto-repeat, WM_CHAR, keys no hook sees (Ctrl+Alt+Del), other programs' keyboard hooks (the
// program's is the only one), the foreground lock of Windows (any call here may take the
// foreground; Wine is as lax), WM_ACTIVATE and WM_MOUSEACTIVATE, Wine's activation of the caller's
// own minimised window restored with SW_SHOWNOACTIVATE (another program's window is not activated
// so), non-client hit-testing (WM_NCHITTEST answers HTCLIENT), threads, the z-order of child
// windows and the owned-above-owner rule, creation messages other than WM_INITDIALOG and WM_CREATE
// (no WM_NCCREATE, no WM_SIZE / WM_MOVE after creation), WM_SETTEXT / WM_GETTEXT, WM_ENABLE,
// WM_STYLECHANGING (but for how long a slow handler takes), frames of WS_EX_CLIENTEDGE /
// WS_EX_STATICEDGE, hung windows catching up on the messages they missed, the conversion of
// texts to UTF-16 and back (texts are code page 932 bytes, kept as given; getWindowText cuts
// them at a whole character, as the adapter does). Last errors: registerHotKey /
// unregisterHotKey, sendMessageTimeout and the changes to other programs' windows set
// `lastErrorValue`; other calls leave what the test put there. The clock only moves forward.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/processes.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_list_view.h"

namespace sim {

// A window of another program, as a test adds it.
struct ForeignWindow {
  platform::Dword processId = 0;
  std::string title;  // code page 932, as the adapter gives other programs' titles
  uint32_t style =
      platform::WS_VISIBLE | platform::WS_SYSMENU | platform::WS_MINIMIZEBOX | platform::WS_CAPTION;
  uint32_t exStyle = 0;  // WS_EX_TOPMOST puts it in the topmost band
  platform::Rect rect;   // window rectangle, screen coordinates
  bool iconic = false;
  // Maximised: it fills the work area, and `rect` is only its normal rectangle. With `iconic`
  // too, it was maximised when it was minimised and restores to maximised.
  bool maximized = false;
  // The placement's normal rectangle (workspace coordinates). Without one it follows `rect`
  // while the window is not minimised.
  std::optional<platform::Rect> normalRect;
  bool enabled = true;
  // A child window (WS_CHILD is added) of another window of the same program: not listed
  // among the top-level windows, found by findWindowEx under its parent in creation order,
  // gone with it. `rect` is in screen coordinates.
  platform::Hwnd parent;
  std::string className;  // the window class, as findWindowEx matches it
  // What it draws: one colour (none: a colour of its own, never black), and its icons as
  // WM_GETICON answers them and as its class holds them.
  std::optional<platform::ColorRef> color;
  platform::IconHandle icon;
  platform::IconHandle classIcon;
};

struct ReceivedMessage {
  uint32_t message = 0;
  platform::WParam wParam = 0;
  platform::LParam lParam = 0;
  bool posted = false;  // posted, not sent
  uint32_t at = 0;      // the clock (`now`) when it arrived
  friend bool operator==(const ReceivedMessage&, const ReceivedMessage&) = default;
};

// A style the program gave another program's window (setWindowLong GWL_STYLE, enableWindow).
struct StyleChange {
  uint32_t at = 0;  // the clock (`now`)
  uint32_t style = 0;
  friend bool operator==(const StyleChange&, const StyleChange&) = default;
};

struct SystemMenuItem {
  uint32_t flags = 0;
  uint32_t id = 0;
  std::string text;
};

// An image list of the program's, as created and filled.
struct SimImageList {
  int32_t cx = 0;
  int32_t cy = 0;
  uint32_t flags = 0;
  std::vector<platform::IconHandle> icons;  // by image index; Windows copies them in
  std::optional<platform::ColorRef> bkColor;
};

class SimWindowManager : public platform::Windows,
                         public platform::Messages,
                         public platform::OwnWindows,
                         public platform::Dialogs,
                         public platform::ListViews,
                         public platform::Icons,
                         public platform::Drawing,
                         public platform::Input,
                         public platform::Screen,
                         public platform::Processes,
                         public platform::Clipboard {
 public:
  // The desktop's clock and call log, which outlive this object.
  explicit SimWindowManager(SimClock& clock);
  ~SimWindowManager() override;
  SimWindowManager(const SimWindowManager&) = delete;
  SimWindowManager& operator=(const SimWindowManager&) = delete;

  // ===== Test API =====

  // The desktop's clock and call log.
  SimClock& clock() { return time_; }

  // Calls the program made through the window-manager and process ports (benchmarks).
  uint64_t portCalls = 0;
  // Of those, the process queries (opening another process: the costly ones).
  uint64_t baseNameQueries = 0;
  uint64_t imagePathQueries = 0;
  // Messages to other programs' windows (a round trip into another process), and the
  // WM_TIMER messages delivered to the program's own windows (each a wake-up).
  uint64_t crossProcessMessages = 0;
  // The program's process has ended (SimDesktop::terminate): what its code still does here
  // reaches no other program's window, as on Windows nothing more would happen.
  bool processGone = false;
  // The crash filter runs (SimDesktop::crash): changes to other programs' windows unguarded.
  bool crashMode = false;
  // Called before each call that would reach another program's window (a change or a sent
  // message): SimDesktop::endProcessAfter ends the process there.
  std::function<void()> beforeReaching;
  uint64_t timerMessages = 0;

  // --- Other programs' windows and processes. Edits are plain data changes, no messages. ---
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
  void setVisible(platform::Hwnd window, bool visible);
  void setEnabled(platform::Hwnd window, bool enabled);
  void setRect(platform::Hwnd window, const platform::Rect& rect);
  void setNormalRect(platform::Hwnd window, const platform::Rect& workspaceRect);
  void setStyle(platform::Hwnd window, uint32_t style);
  void setExStyle(platform::Hwnd window, uint32_t exStyle);  // moves band on WS_EX_TOPMOST
  void bringToTop(platform::Hwnd window);                    // top of its band
  // Messages sent or posted to a window without a handler (other programs' windows and the
  // program's controls), oldest first; empty for unknown handles.
  const std::vector<ReceivedMessage>& received(platform::Hwnd window) const;
  // The styles the program gave another program's window, oldest first.
  const std::vector<StyleChange>& styleChanges(platform::Hwnd window) const;
  // A process; baseName/imagePath answer "" when it is not openable.
  uint32_t addProcess(std::string baseName, std::string imagePath, bool openable = true);
  const platform::Dword ownProcessId = 0x1000;  // the program's own process: "ZENTA.exe"
  // True when the path (any case) is the image of a process added here.
  bool isImagePath(const std::string& path) const;
  // A hung window answers nothing (see the top of this file). Other programs' windows only.
  // Answering again, it makes the changes that timed out meanwhile.
  void setHung(platform::Hwnd window, bool hung);
  // Hung from now until the clock reaches `until` (ms since boot).
  void setBusy(platform::Hwnd window, uint32_t until);
  // The window's handler of `message` keeps its thread busy for `ms` whenever the program's
  // change sends it: WM_STYLECHANGING (setWindowLong), WM_WINDOWPOSCHANGING (showWindow,
  // setWindowPos, moveWindow, setWindowPlacement), WM_ENABLE (enableWindow).
  void slowHandler(platform::Hwnd window, uint32_t message, uint32_t ms);
  // The alpha given to setLayeredWindowAttributes with LWA_ALPHA; none while opaque.
  std::optional<uint8_t> layeredAlpha(platform::Hwnd window) const;

  // Browser engines (sim_engine_windows.cpp): another program's top-level window whose class
  // starts with "Chrome_WidgetWin_" or is "MozillaWindowClass" judges itself by the engines'
  // occlusion rule: HIDDEN when minimised or not shown; otherwise what is left of the bounding
  // box of the monitors (`virtualScreen`) once the occluders above it are taken away must
  // meet its rectangle. Occluders: visible, not minimised, no WS_EX_TRANSPARENT, not tool
  // windows (the taskbar, class "Shell_TrayWnd", excepted), layered only at alpha 255, not
  // popups (but for the taskbar and, for Chromium, its own class); a maximised one counts as
  // its work area. The state held while the clock moves is what the engine saw: each engine
  // window records how long it did not draw (in all, and its longest stretch).
  // When the work area changes (workAreaChanged, which setTaskbar calls), an engine window
  // that is neither maximised nor minimised fits itself back into the work area.
  // Not modelled: cloaking, virtual desktops, the locked session, complex regions,
  // UpdateLayeredWindow, the task view's exception, other monitors' work areas.
  struct EngineRecord {
    bool drawing = true;  // the verdict the engine last reached
    uint64_t notDrawnMs = 0;
    uint64_t longestNotDrawnMs = 0;
    uint64_t stretchMs = 0;  // the current stretch not drawn
  };
  std::function<platform::Rect()> virtualScreen = [this] { return screen; };
  // Null for a window that is no engine window (or has not been judged yet).
  const EngineRecord* engineRecord(platform::Hwnd window) const;
  void resetEngineRecords() { engines_.clear(); }
  // The rule's verdict now: true when the engine window would draw.
  bool engineDraws(platform::Hwnd window) const;
  void workAreaChanged();
  // Win+D: every visible, not minimised window of other programs but tool windows minimises.
  void showDesktop();
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
  // The newest live dialog made from the template with this id; 0 when none.
  platform::Hwnd findDialog(int32_t templateId) const;
  // The active window, which gets the keys the user types; none after it went away.
  platform::Hwnd foreground() const { return foreground_; }
  // The frame style bits (WS_THICKFRAME, WS_CAPTION, WS_BORDER) the window is drawn with now.
  uint32_t drawnFrame(platform::Hwnd window) const;
  // A dialog's default processing of WM_DPICHANGED (sim_dialog_scaling.cpp): the desktop
  // answers it with scaleDialog where the system scales dialogs (per-monitor v2), given the
  // new DPI and the suggested rectangle.
  std::function<void(platform::Hwnd, uint32_t dpi, const platform::Rect& suggested)>
      dialogDpiChanged;
  // What the dialog manager does then: the dialog takes the suggested rectangle; each child
  // keeps its place and size in the client area scaled by dpi / old, and gets a font for `dpi`
  // (WM_SETFONT), as does the dialog; a child dialog (a page) lays out its own children so.
  void scaleDialog(platform::Hwnd dialog, const platform::Rect& suggested, uint32_t old,
                   uint32_t dpi);
  // The DPI of the font the system last gave the window; 0 while it has the one it was made
  // with.
  uint32_t fontDpi(platform::Hwnd window) const;
  // The user clicks a window (own or another program's): it comes to the top of its band and
  // takes the keyboard. Nothing is sent or recorded.
  void activateByUser(platform::Hwnd window);
  // Delivers posted messages in order, including those posted meanwhile.
  void pumpMessages();
  size_t pendingMessages() const { return queue_.size(); }
  // Moves the clock on by `ms`, delivering each timer due on the way (earliest first, ties in
  // the order they were set) and the messages posted meanwhile. Timers already overdue (after
  // a sleep) fire once at once; advance(0) delivers just those.
  void advance(uint32_t ms);
  // The period of an armed timer, nothing when it is not set.
  std::optional<uint32_t> timerPeriod(platform::Hwnd window, uintptr_t id) const;
  // When the timer fires next, in `now` terms.
  std::optional<uint32_t> timerDue(platform::Hwnd window, uintptr_t id) const;

  // Modal dialogs: the script for the template's id runs once the dialog is up (else
  // `anyModal`, else the user "closes" it: WM_COMMAND IDCANCEL). A dialog not ended by then
  // ends with -1 and "modal N left open" is recorded.
  std::map<int32_t, std::function<void(platform::Hwnd)>> modalScripts;
  std::function<void(int32_t id, platform::Hwnd)> anyModal;

  // The user's clicks. Each returns false, sending nothing, when the control is missing,
  // disabled or hidden, or its dialog is disabled.
  // A button takes the focus, then WM_COMMAND id | BN_CLICKED << 16 goes to its dialog.
  bool clickButton(platform::Hwnd dialog, int32_t id);
  bool clickLink(platform::Hwnd dialog, int32_t id);    // WM_NOTIFY NM_CLICK
  bool clickListRow(platform::Hwnd list, int32_t row);  // selects, then WM_NOTIFY NM_CLICK
  // An auto radio button clicked checks itself and clears the others of its group (from a
  // WS_GROUP control to the next). An up-down control's arrows clicked `steps` times (up
  // positive): it reads its buddy as UDM_GETPOS does, steps within its range and writes the
  // buddy; false as for clicks.
  bool clickSpin(platform::Hwnd dialog, int32_t id, int32_t steps);
  // What the user types into an edit box replaces its text.
  bool typeText(platform::Hwnd dialog, int32_t id, const std::string& text);

  // Controls and windows, read back. Null / empty for unknown handles.
  ControlModel* control(platform::Hwnd control);
  ListViewModel* listView(platform::Hwnd list);
  const std::vector<SystemMenuItem>& systemMenu(platform::Hwnd window) const;

  // Pop-up menus: answers taken from the front; 0 or none = dismissed. An answer that is
  // grayed or not in the menu chooses nothing. The last menu shown, as it was shown.
  std::deque<uint32_t> menuAnswers;
  std::optional<platform::MenuTemplate> lastMenu;
  // Modal loops (sim_modal_loops.cpp). The menu's loop goes on delivering the program's
  // messages: `whileMenu` runs (once) while the next menu is up, before its answer is taken,
  // as the user holding it open (advance() there fires the timers due, sendMessage is what
  // the system sends meanwhile); what was posted is delivered before the menu closes. A menu
  // whose owner went meanwhile closes choosing nothing. (Message boxes: whileMessageBox;
  // modal dialogs: their scripts run inside the loop.)
  std::function<void()> whileMenu;
  // A wait for another program's window to answer a sent message (sendMessage, and
  // sendMessageTimeout without SMTO_BLOCK) delivers what is sent to the program meanwhile:
  // `whileSending` runs (once) during the next such wait. Under SMTO_BLOCK nothing is
  // delivered during the wait: it runs when the program next pumps its messages.
  std::function<void()> whileSending;

  // Hot-keys: (modifiers, key) combinations other programs hold.
  std::set<std::pair<uint32_t, uint32_t>> hotKeysHeldElsewhere;
  // The user presses a combination: WM_HOTKEY (id, modifiers | key << 16) is posted to the
  // window that registered it; false when none of ours did.
  bool pressHotKey(uint32_t modifiers, uint32_t key);
  // (modifiers, key) of a registration; the newest when the id was registered twice.
  std::optional<std::pair<uint32_t, uint32_t>> registeredHotKey(platform::Hwnd window,
                                                                int32_t id) const;

  // Icons and image lists.
  platform::IconHandle newIcon();  // a fresh icon the caller owns, as the shell hands out
  size_t liveIcons() const { return icons_.size(); }
  bool iconLive(platform::IconHandle icon) const { return icons_.count(icon.value) != 0; }
  int failImageListAdds = 0;      // so many next imageListAddIcon calls fail
  int refuseWindowCreations = 0;  // so many next createWindow calls fail before any message
  const SimImageList* imageList(platform::ImageListHandle list) const;  // null once destroyed
  size_t liveImageLists() const { return imageLists_.size(); }
  static constexpr platform::IconHandle kErrorIcon{0x0B007F01};        // IDI_HAND
  static constexpr platform::IconHandle kApplicationIcon{0x0B007F00};  // IDI_APPLICATION

  // GDI.
  std::optional<platform::ColorRef> brushColor(platform::BrushHandle brush) const;
  size_t liveBrushes() const { return brushes_.size(); }
  std::optional<int32_t> bkMode(platform::DeviceContext dc) const;
  std::optional<platform::ColorRef> textColor(platform::DeviceContext dc) const;

  // Bitmaps and the clipboard (sim_clipboard.cpp). A bitmap's picture says where it came
  // from: "client h..." (what a window's own device context read back) or
  // "print h... flags F part l,t,r,b of WxH" (PrintWindow: the part, relative to the window
  // rectangle's top-left corner, of the whole window's W x H as it was then).
  // Pictures of windows are one colour each (`color`): the window's, black where PrintWindow
  // could not draw it; "screen l,t,r,b" is what the screen showed there; "blank" a picture
  // bitmap (createPicture) not drawn into yet. pixelHash hashes the picture and the colour.
  struct SimBitmap {
    platform::Size size;
    std::string picture;
    platform::ColorRef color = 0;
  };
  const SimBitmap* bitmap(platform::BitmapHandle bitmap) const;  // null once deleted
  size_t liveBitmaps() const { return bitmaps_.size(); }
  // PrintWindow fails always, or with PW_RENDERFULLCONTENT (as systems without it may).
  bool printWindowFails = false;
  bool printFullContentFails = false;
  // Wine's way: PrintWindow of another program's window succeeds and leaves it black.
  bool winePrintsOthersBlack = false;
  // The screen (sim_pictures.cpp): each top-level window draws its colour over its rectangle;
  // a copy of an area is the colour of the topmost visible, not minimised window over its
  // centre (layered windows of the program's are not copied, as BitBlt leaves them out
  // without composition, unless `screenHoldsLayered`), else the desktop's. Not modelled: the
  // mix of colours an area over several windows holds, what the program's windows painted.
  platform::ColorRef desktopColor = platform::rgb(0, 128, 128);
  // Wine's way (and composition's): the screen holds the program's layered windows too.
  bool screenHoldsLayered = false;
  void setColor(platform::Hwnd window, platform::ColorRef color);
  platform::ColorRef colorOf(platform::Hwnd window) const;
  // The bitmap a window painted last (paintBitmap), as it was then; null before any.
  const SimBitmap* paintedBitmap(platform::Hwnd window) const;
  uint64_t screenCopies = 0;                       // copyScreenInto calls
  uint64_t printWindows = 0;                       // printWindowPart and printWindowInto calls
  uint64_t printsOf(platform::Hwnd window) const;  // those for one window
  uint64_t bitmapsPainted = 0;                     // paintBitmap calls
  std::vector<platform::Size> picturesCreated;     // createPicture's sizes, in order
  // The clipboard's data by format (other programs' data as a null handle), its owner, and
  // another program keeping it open so that no one else can open it.
  std::map<uint32_t, platform::BitmapHandle> clipboardData;
  platform::Hwnd clipboardOwner;
  bool clipboardHeldElsewhere = false;

  // The screen.
  platform::Rect screen{0, 0, 1920, 1080};  // the desktop window's rectangle
  platform::Rect workArea{0, 0, 1920, 1040};
  platform::Point cursor;  // a test may set it directly: the pointer jumps, nothing is sent

  // The pointer (sim_pointer.cpp). The user moves it to a point on the screen: WM_MOUSEMOVE
  // (`keys`: MK_* flags, client coordinates) goes to the topmost visible top-level window of
  // the program's own under the point (other programs' windows hide what lies below them).
  // Nothing is sent when the pointer is over another program's window or the desktop.
  void moveCursor(platform::Point at, platform::WParam keys = 0);
  // The own top-level window under a screen point; none over other programs' windows.
  platform::Hwnd ownWindowAt(platform::Point at) const;
  uint64_t arrowCursorsSet = 0;  // setArrowCursor calls
  // The user presses the left button at `from` (the press activates the window under it, as
  // a click does), moves the pointer through `through` with the button held, and lets go.
  // A caption move loop started on the press (WM_NCLBUTTONDOWN HTCAPTION reaching
  // defaultProc) takes the rest of the road itself: the window follows the pointer through
  // the position protocol and the release ends the loop, as on Windows. A window holding the
  // capture gets the moves and the release wherever the pointer is.
  void leftDrag(platform::Point from, const std::vector<platform::Point>& through,
                platform::WParam keys = 0);
  // One turn of the wheel (WHEEL_DELTA per notch, positive away from the user) over the own
  // window under the pointer, as Windows 10 routes it; lParam is the pointer on the screen.
  void wheel(int32_t delta, platform::WParam keys = 0);
  // The user right-clicks at a point (activating the window under it, as a click does):
  // WM_RBUTTONDOWN and WM_RBUTTONUP. A pop-up menu opened meanwhile posts its command.
  void rightClick(platform::Point at);
  std::set<int32_t> keysHeld;  // what getKeyState reports as down (VK_SHIFT, say)

  // The keyboard (sim_keyboard.cpp). One window of the program's has the focus: the user
  // clicks into a control (focusControl), which activates its top-level window; WM_KILLFOCUS
  // goes to the old focus, then WM_SETFOCUS to the new. The focus leaves a window whose
  // top-level window loses the activation (hidden, minimised, another one activated: then
  // WM_KILLFOCUS with no successor); a focus window destroyed without losing the activation
  // first takes the focus with it silently.
  bool focusControl(platform::Hwnd dialog, int32_t id);  // false as for clicks
  platform::Hwnd focus() const { return focus_; }
  // A key event goes to the low-level keyboard hook first, which may swallow it; else to the
  // focus window when its top-level window is the foreground one, else to the foreground
  // window; false when it reached none of the program's. The SYS messages while Alt is held.
  // In a dialog, an Escape or Enter that reaches a control is the dialog's IDCANCEL / IDOK and
  // a Tab moves the focus to the next WS_TABSTOP control, as IsDialogMessage does. What the
  // hook posted is delivered (pumpMessages) before these return. The key is held in between
  // (keysHeld).
  bool keyDown(int32_t key);
  bool keyUp(int32_t key);
  bool pressKey(int32_t key);                    // down and up
  bool chord(const std::vector<int32_t>& keys);  // down in order, up in reverse
  size_t keyboardHooks() const { return keyboardHook_ != nullptr ? 1 : 0; }
  // The keyboard layout's key names (US English; keyName answers "" for others), the caret
  // and the text a control painted last (paintText: 7 px per byte).
  std::map<int32_t, std::string> keyNames = usKeyNames();
  platform::Point caret;
  std::string paintedText(platform::Hwnd window) const;
  platform::Point paintedTextAt(platform::Hwnd window) const;
  // The badge drawn over the window since its last paint (drawBadge: 7 px per byte and 16 px
  // high at 96 dpi, a 3 px margin), and its box in client coordinates; "" and none without.
  std::string badge(platform::Hwnd window) const;
  platform::Rect badgeBox(platform::Hwnd window) const;
  platform::Hwnd capture() const { return capture_; }
  std::map<int32_t, int32_t> systemMetrics{
      {platform::SM_CXICON, 32}, {platform::SM_CYICON, 32}, {platform::SM_CYCAPTION, 23}};
  platform::Dword lastErrorValue = 0;

  // ===== The window services: platform::Windows, Messages, OwnWindows, Dialogs, ListViews,
  // Icons, Drawing, Input, Screen =====
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
  bool getLayeredWindowAttributes(platform::Hwnd window, platform::ColorRef& key, uint8_t& alpha,
                                  platform::Dword& flags) override;
  platform::Hwnd findWindowEx(platform::Hwnd parent, platform::Hwnd childAfter,
                              const std::string& className) override;
  std::string getClassName(platform::Hwnd window) override;
  platform::Hwnd getForegroundWindow() override;
  bool isHungAppWindow(platform::Hwnd window) override;
  platform::Hwnd getDesktopWindow() override { return kDesktop; }

  bool showWindow(platform::Hwnd window, int32_t command) override;
  bool setWindowPos(platform::Hwnd window, platform::Hwnd insertAfter, int32_t x, int32_t y,
                    int32_t cx, int32_t cy, uint32_t flags) override;
  bool setForegroundWindow(platform::Hwnd window) override;
  bool destroyWindow(platform::Hwnd window) override;
  bool invalidateRect(platform::Hwnd window, bool erase) override;
  bool setWindowText(platform::Hwnd window, const std::string& text) override;

  platform::LResult sendMessage(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                                platform::LParam lParam) override;
  bool postMessage(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                   platform::LParam lParam) override;
  platform::LResult defaultProc(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                                platform::LParam lParam) override;
  uint32_t registerWindowMessage(const std::string& name) override;
  platform::Dword lastError() override { return lastErrorValue; }

  platform::Hwnd createDialog(const platform::DialogTemplate& dialog, platform::Hwnd parent,
                              platform::MessageHandler* handler) override;
  intptr_t runModalDialog(const platform::DialogTemplate& dialog, platform::Hwnd parent,
                          platform::MessageHandler* handler) override;
  bool endDialog(platform::Hwnd dialog, intptr_t result) override;
  platform::Hwnd getDlgItem(platform::Hwnd dialog, int32_t id) override;
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
  bool redrawNow(platform::Hwnd window) override;
  platform::Hwnd subclassDlgItem(platform::Hwnd dialog, int32_t id,
                                 platform::MessageHandler* handler) override;

  platform::ImageListHandle createImageList(int32_t cx, int32_t cy, uint32_t flags, int32_t initial,
                                            int32_t grow) override;
  void destroyImageList(platform::ImageListHandle list) override;
  void setImageListBkColor(platform::ImageListHandle list, platform::ColorRef color) override;
  int32_t imageListAddIcon(platform::ImageListHandle list, platform::IconHandle icon) override;
  void listViewSetImageList(platform::Hwnd list, platform::ImageListHandle images,
                            uint32_t which) override;
  platform::IconHandle errorIcon() override { return kErrorIcon; }
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
  platform::BrushHandle blackBrush() override { return kBlackBrush; }
  void setBkMode(platform::DeviceContext dc, int32_t mode) override;
  void setTextColor(platform::DeviceContext dc, platform::ColorRef color) override;
  void paintIcon(platform::Hwnd window, platform::IconHandle icon, int32_t x, int32_t y) override;

  int32_t getSystemMetrics(int32_t index) override;
  bool getWorkArea(platform::Rect& area) override;
  platform::Point getCursorPos() override { return cursor; }
  void setArrowCursor() override {
    ++portCalls;
    ++arrowCursorsSet;
  }
  int16_t getKeyState(int32_t key) override;
  void setCapture(platform::Hwnd window) override;
  void releaseCapture() override;

  platform::BitmapHandle copyClientArea(platform::Hwnd window, platform::Size size) override;
  platform::BitmapHandle printWindowPart(platform::Hwnd window, const platform::Rect& source,
                                         platform::Size size, uint32_t flags) override;
  void deleteBitmap(platform::BitmapHandle bitmap) override;
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

  // ===== platform::Clipboard =====
  bool open(platform::Hwnd owner) override;
  bool empty() override;
  bool setBitmap(platform::BitmapHandle bitmap) override;
  bool close() override;

  // ===== platform::Processes =====
  std::string baseName(platform::Dword processId) override;
  std::string imagePath(platform::Dword processId) override;

  static constexpr platform::Hwnd kDesktop{0x10010};
  static constexpr platform::BrushHandle kBlackBrush{0x1900010};
  // What defaultProc answers WM_CTLCOLOR* with, to tell it from the program's brushes.
  static constexpr platform::LResult defaultColorBrush(uint32_t message) {
    return static_cast<platform::LResult>(0xC0000000u | message);
  }

 private:
  struct Window;  // sim_window.h
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
  struct Process {
    std::string baseName;
    std::string imagePath;
    bool openable;
  };
  struct HotKey {
    uint32_t window;
    int32_t id;
    uint32_t modifiers;
    uint32_t key;
  };

  // Windows, the z-order, messages, destruction (sim_window_manager.cpp); syncClock is in
  // sim_timers.cpp.
  Window* find(platform::Hwnd window) const;  // alive or not
  Window* live(platform::Hwnd window) const;
  Window& newWindow(platform::Hwnd handle);
  platform::Hwnd nextHandle();
  void placeOnTop(Window& window);
  void restack(Window& window, platform::Hwnd insertAfter);
  void unlink(Window& window);
  platform::Rect insets(const Window& window) const;
  platform::Rect insets(uint32_t style, uint32_t exStyle) const;
  platform::Point clientOrigin(const Window& window) const;
  platform::Rect toWorkspace(const Window& window, platform::Rect rect) const;
  void moveWindowTo(Window& window, const platform::Rect& rect);
  bool visibleChain(const Window& window) const;
  bool enabledChain(const Window& window) const;

  // Messages and the position protocol.
  platform::LResult dispatch(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                             platform::LParam lParam);
  // The system's default processing of an own window; controls go through controlProc first.
  platform::LResult windowDefault(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                                  platform::LParam lParam);
  platform::LResult controlProc(Window& control, uint32_t message, platform::WParam wParam,
                                platform::LParam lParam);
  void pumpUntil(const std::function<bool()>& stop);
  // Modal loops (sim_modal_loops.cpp).
  void runWhileMenu();
  void deliverSentDuringWait(uint32_t flags);
  bool runSentLater();  // true when something ran
  bool changePosition(platform::Hwnd window, platform::WindowPos pos);
  // changePosition to a rectangle in screen coordinates (children: their parent's client).
  bool placeAt(platform::Hwnd window, const platform::Rect& screen, uint32_t flags);
  void relayoutForDpi(platform::Hwnd dialog, uint32_t old, uint32_t dpi);
  bool show(platform::Hwnd window, int32_t command);
  bool destroy(platform::Hwnd window);
  void sendDestroy(platform::Hwnd window);
  void freeWindow(platform::Hwnd window);
  // The engines look at the desktop before the clock moves `ms` on (sim_engine_windows.cpp).
  void judgeEngines(uint64_t ms);
  bool isEngine(const Window& window) const;
  bool occludes(const Window& window, bool gecko) const;

  // The pointer (sim_pointer.cpp).
  platform::Hwnd pointerTarget() const;
  void sendPointer(platform::Hwnd window, uint32_t message, platform::WParam keys);
  void runMoveLoop(platform::Hwnd window);

  // Painting (sim_painting.cpp).
  void invalidate(Window& window, bool erase = true);
  // BeginPaint (WM_ERASEBKGND first when erasing is due) and EndPaint.
  void beginEndPaint(platform::Hwnd window);
  // WM_PAINT to each own visible window that waits for it, once the queue is empty.
  bool deliverPaint();
  void noteFrameChange(Window& window, uint32_t flags);

  // Activation (sim_activation.cpp).
  static bool showActivates(int32_t command);
  bool activatesOnPosition(const Window& window, uint32_t flags) const;
  // Activation brings a window forward: the place a position change ends at.
  void bringForwardIfActivating(const Window& window, platform::WindowPos& pos) const;
  void activate(Window& window);
  void deactivate(const Window& window);

  // Other programs' windows (sim_other_programs.cpp).
  void reactForeign(Window& window, uint32_t message, platform::WParam wParam);
  // A foreign window's state changes as its own default processing makes them.
  void minimizeForeign(Window& window);
  void maximizeForeign(Window& window);
  void restoreForeign(Window& window);
  platform::Rect maximizedRect(const Window& window) const;
  // Records "BLOCKED <call> h... <detail>" and moves the clock by the wait.
  void blockedBy(const Window& window, const char* call, const std::string& detail = {});
  // The guard of a change to another program's window (sim_busy_windows.cpp): true when it
  // may be made now; else it failed (ERROR_TIMEOUT) and `later` is kept for when it is free,
  // or dropped when another change is still outstanding.
  bool changeReaches(platform::Hwnd window, const char* call, uint32_t message,
                     std::function<void()> later);
  void catchUp(Window& window);
  bool hungForeign(const Window& window) const;

  // The keyboard (sim_keyboard.cpp).
  static std::map<int32_t, std::string> usKeyNames();
  void setFocusTo(platform::Hwnd window);
  bool focusWithin(platform::Hwnd window) const;
  bool keyEvent(int32_t key, bool down);
  bool navigateDialog(const Window& focus, int32_t key);

  // Image lists and icons (sim_icons.cpp).
  void releaseListImages(Window& list);
  bool usableIcon(platform::IconHandle icon) const;

  // Dialogs and controls (sim_dialogs.cpp).
  platform::Hwnd makeDialog(const platform::DialogTemplate& dialog, platform::Hwnd parent,
                            platform::MessageHandler* handler);
  Window* item(platform::Hwnd dialog, int32_t id) const;
  Window* userTarget(platform::Hwnd dialog, int32_t id, platform::ControlClass controlClass);
  ListViewModel* ownList(platform::Hwnd list);
  // The common control's reading of its buddy: thousands separators dropped, a decimal number
  // with nothing after it and within the range becomes the position (an empty text reads 0).
  bool readBuddy(Window& spin);
  void writeBuddy(Window& spin);
  void checkRadio(Window& button);
  static const char* controlClassName(platform::ControlClass controlClass);
  static void selectRow(ListViewModel& list, bool exclusive, int32_t row);

  SimClock& time_;
  std::vector<std::string>& actions_;
  bool applyingLater_ = false;  // a change that timed out is being made now
  std::map<uint32_t, std::unique_ptr<Window>> windows_;
  std::map<uint32_t, EngineRecord> engines_;
  std::vector<std::unique_ptr<Window>> replaced_;  // windows whose handle a test reused
  std::vector<platform::Hwnd> zOrder_;  // top-level windows, top first, topmost band first
  uint32_t nextHandle_ = kDesktop.value + 4;
  platform::Hwnd foreground_;
  platform::Hwnd capture_;
  platform::Hwnd focus_;
  platform::KeyboardSink* keyboardHook_ = nullptr;
  bool leftDown_ = false;
  std::deque<platform::Point> dragRest_;  // the rest of a leftDrag's road
  std::deque<Posted> queue_;
  std::vector<std::function<void()>> sentLater_;  // sent during an SMTO_BLOCK wait
  std::vector<Timer> timers_;
  uint64_t timerOrder_ = 0;
  std::map<platform::Dword, Process> processes_;
  platform::Dword nextProcessId_ = 0x2000;
  std::map<std::string, uint32_t> registeredMessages_;
  std::map<uint64_t, platform::ColorRef> brushes_;
  uint64_t nextBrush_ = 0x1A00010;
  std::map<uint64_t, int32_t> bkModes_;
  std::map<uint64_t, platform::ColorRef> textColors_;
  uint64_t nextDc_ = 0x0F000010;  // device contexts handed to WM_PRINTCLIENT
  std::vector<HotKey> hotKeys_;   // oldest first
  std::set<uint64_t> icons_;      // live icons from newIcon()
  uint64_t nextIcon_ = 0x0D000010;
  std::map<uint64_t, SimImageList> imageLists_;
  std::map<uint64_t, SimBitmap> bitmaps_;
  uint64_t nextBitmap_ = 0x05000010;
  std::optional<platform::Hwnd> clipboardOpenBy_;
  // What PrintWindow would draw of `window` at `size`, counted as a print; none when it fails.
  std::optional<SimBitmap> print(platform::Hwnd window, const platform::Rect& source,
                                 platform::Size size, uint32_t flags);
  platform::BitmapHandle newBitmap(platform::Size size, std::string picture,
                                   platform::ColorRef color = 0);
  uint64_t nextImageList_ = 0x0E000010;
};

}  // namespace sim
