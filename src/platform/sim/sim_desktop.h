// The simulated desktop: an in-memory machine behind the platform port, for tests on Linux.
//
// What it keeps: a virtual clock (moved only by tests and by sleep), the OS version,
// registry values, named mutexes (some held by "another process"), the console and where
// the standard streams point, the current directory and files (real files in a temporary
// folder; a full disk; files another program holds so that they cannot be read), the command line
// and the program's own version resource, monitors in any enumeration order, desktop composition
// and the thumbnails registered with it, COM and the taskbar buttons, file icons, and message boxes
// answered by what the test scripted. Every call the program makes that a test may want to order is
// recorded in `actions`. Browser engines judge their own windows by their occlusion rule over the
// bounding box of the monitors, and fit them back into a changed work area (sim_window_manager.h).
//
// The Desktop Window Manager: registrations need composition on, a live top-level source and
// a live top-level destination of the program's own; properties merge by flag. Extended frame
// bounds are the window rectangle less `frameInset` (other programs' windows, and the
// program's own top-level windows with WS_THICKFRAME, WS_CAPTION's dialog frame or
// WS_EX_DLGMODALFRAME, as Windows 10 leaves most of such a frame invisible; its popups
// without a frame have none) and need composition; DWMWA_CLOAKED is unknown before version 6.2
// (E_INVALIDARG), as on Windows 7. With composition switched off, registrations stay listed
// but updates and size queries fail; a registration outlives its windows until unregistered.
//
// Texts are code page 932 bytes, as the port's are. The system's ANSI code page, which is
// that of the program's own paths, is 932 or 1252 (`systemCodePage`); it sets only the
// lead-byte test of isLeadByte: the simulated files and profile functions read every path and
// value as code page 932.
//
// Displays: each monitor has its own DPI, and tests change scaling, monitors, the primary one
// and the work area while the program runs, which sends the messages Windows sends
// (sim_displays.cpp); a window of the program moved onto a monitor of another DPI is told so.
// With per-monitor v2 (Windows 10 1703 on) a dialog that leaves WM_DPICHANGED to its default
// processing is scaled as the dialog manager does it: it takes the suggested rectangle, its
// children keep their places and sizes scaled to the new DPI and get a font for it, and a page
// (a child dialog) lays out its own children the same way.
//
// What it does not model: threads (a console control handler's wait is modelled without one:
// see consoleEvent), security, real pixels, other code pages, thumbnails
// drawn, the system's scaling of DPI-unaware windows (the program is aware), a dialog made at
// a DPI other than 96 (a dialog unit is 1.5 px wherever it is made), fonts beyond the DPI they
// were made for (no sizes or metrics), the dialog manager's switches
// (SetDialogDpiChangeBehavior, SetDialogControlDpiChangeBehavior), its own rounding and the
// sizes it keeps per DPI (scaled there and back, a control here may lose a pixel), whether it
// lays out a page's children as the top dialog's (taken so here, unmeasured: Wine sends no
// WM_DPICHANGED), WM_DPICHANGED_BEFOREPARENT and WM_DPICHANGED_AFTERPARENT,
// WM_GETDPISCALEDSIZE and the system's own choice of where a dragged window's suggested
// rectangle lies (it keeps the top-left corner), a window's DPI kept while it is minimised
// (one restored onto a monitor of another DPI gets nothing), the system moving windows off a
// removed monitor, anything the port does not ask for.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {
struct SimMonitor {
  platform::Rect monitor;
  platform::Rect work;
  bool primary = false;
  std::string device = "\\\\.\\DISPLAY1";
  uint32_t dpi = 96;  // its effective DPI, where the system has per-monitor DPI (6.3 on)
};

// A thumbnail registered with the Desktop Window Manager.
struct SimThumbnail {
  platform::Hwnd destination;
  platform::Hwnd source;
  platform::ThumbnailProperties properties;  // flags: the fields ever given
};

struct SimMessageBox {
  std::string text;
  std::string caption;
  uint32_t type = 0;
  platform::Hwnd owner;
};

class SimDesktop {
 public:
  // Named set-ups.
  static std::unique_ptr<SimDesktop> singleMonitor();             // 1920 x 1080, Windows 7
  static std::unique_ptr<SimDesktop> twoMonitorsPrimarySecond();  // primary enumerated second
  static std::unique_ptr<SimDesktop> compositionOff();
  static std::unique_ptr<SimDesktop> oldSystem();  // version 5.1, no DWM

  SimDesktop();
  ~SimDesktop();
  SimDesktop(const SimDesktop&) = delete;
  SimDesktop& operator=(const SimDesktop&) = delete;

  platform::Platform& platform() { return *platform_; }

  // --- The machine, as tests set it up and read it back. ---
  SimFileSystem files;
  std::vector<std::string> actions;  // the call log

  // Clock.
  uint32_t now = 0;  // milliseconds since boot
  // Moves the clock on, delivering the timers due on the way (sleep moves it without).
  void advance(uint32_t ms) { windows.advance(ms); }

  // Windows, the program's own and other programs', and processes.
  SimWindowManager windows{now, actions};

  // OS version.
  platform::OsVersionInfo version;
  bool versionCallFails = false;
  int versionCalls = 0;

  // Registry: (root, key) -> value name -> bytes. Keys in `deniedKeys` cannot be opened.
  std::map<std::pair<uint32_t, std::string>, std::map<std::string, std::string>> registry;
  std::set<std::pair<uint32_t, std::string>> deniedKeys;
  void setRegistryDword(platform::RegistryRoot root, const std::string& key,
                        const std::string& name, uint32_t value);

  // Sockets and mutexes.
  bool socketsFail = false;
  std::set<std::string> mutexesHeldElsewhere;
  std::set<std::string> mutexesOwned;
  bool mutexCreationFails = false;

  // Console and standard streams.
  enum class Stream { Inherited, Console, Null };
  bool consoleAttached = false;  // a console exists for the process
  bool startedFromConsole = false;
  Stream stdoutTarget = Stream::Inherited;
  std::string consoleOutput;    // what reached the console
  std::string inheritedOutput;  // what was written before any redirection
  size_t discardedBytes = 0;    // written to the null device
  platform::ConsoleCtrlHandler ctrlHandler;
  // A console control event (CTRL_CLOSE_EVENT ...), as the system raises it: the handler is
  // called at once. Without threads, a handler that waits for the exit (waitForExit) is taken
  // to wait from there on while the program's loop runs as the test lets it (pumpMessages,
  // the end of the panel's script), and to return when the program calls exitFinished or when
  // its bound has passed on the clock, whichever comes first. After a close, log-off or
  // shutdown event (or one no handler took) the system ends the process when the handler has
  // returned: `processEnded` is set and `onProcessEnd` runs, to see what the program left.
  // The program's code goes on running here afterwards; on Windows nothing more would happen.
  void consoleEvent(platform::Dword event);
  bool processEnded = false;
  std::function<void()> onProcessEnd;
  // TerminateProcess (a kill, the task manager): the process ends at once, without its exit
  // path. The program's code may go on running here (the test returns to it), but from then
  // on nothing it does reaches other programs' windows, the whole-file writes or the taskbar
  // buttons. Not modelled: profile-function writes, the tray and the program's own windows
  // still change until its code returns.
  void terminate() { endProcess("terminated"); }
  // Ends the process (as terminate) just before the call after the next `calls` calls that
  // reach beyond it: a change or a message to another program's window, a file created,
  // replaced or removed. So a test can stop the program between any two such calls, across
  // runs (a new process keeps the count); it fires once.
  void endProcessAfter(uint64_t calls) { endAfter_ = calls; }
  // An unhandled exception: the program's crash filter runs, then the process ends at once.
  void crash();
  void (*crashFilter)(void*) = nullptr;
  void* crashContext = nullptr;
  // A new process of the program on the same desktop: it starts with nothing of the last.
  void newProcess();

  // The logon session the program runs in; another instance may share its folder from another.
  platform::Dword sessionId = 1;

  // The ANSI code page: 932, or 1252 (no lead bytes).
  uint32_t systemCodePage = 932;

  // Command line and the program's own executable.
  std::vector<std::string> commandLine{"C:\\Programs\\Quillmoor\\ZENTA.exe"};
  std::string moduleFileName = "C:\\Programs\\Quillmoor\\ZENTA.exe";
  bool hasVersionResource = true;
  bool versionBlockReadFails = false;
  std::vector<std::pair<uint16_t, uint16_t>> versionTranslations{{0x0411, 0x04b0}};
  std::map<std::string, std::string> versionStrings{{"ProductVersion", "1, 0, 0, 1"}};

  // Monitors, in enumeration order.
  std::vector<SimMonitor> monitors;
  // Moves the taskbar of the primary monitor: its work area, and with it the origin of the
  // workspace coordinates of window placements, change together.
  enum class TaskbarEdge { Top, Left, Right, Bottom };
  // Also sends WM_SETTINGCHANGE SPI_SETWORKAREA to the program's top-level windows.
  void setTaskbar(TaskbarEdge edge, int32_t size);

  // DPI and display changes (sim_displays.cpp). Before version 6.3 every monitor answers the
  // system DPI (`systemDpi`, fixed for the session, as LOGPIXELSX is), and so does a handle
  // that is no monitor. The awareness the program asked for is granted by version: per-monitor
  // v2 from 10.0.15063, per-monitor from 6.3, system from 6.0; none is declared before.
  uint32_t systemDpi = 96;
  std::optional<platform::DpiAwareness> dpiAwareness;  // none until the program asks
  // The user changes a monitor's scaling: with per-monitor awareness each of the program's
  // top-level windows on it (hidden ones too) gets WM_DPICHANGED with the new DPI and its
  // rectangle scaled about its top-left corner as the suggestion. With per-monitor v2, a
  // dialog's default processing of it scales the dialog (SimWindowManager::scaleDialog).
  void setMonitorDpi(size_t index, uint32_t dpi);
  // A top-level window of the program moved or sized (setWindowPos, moveWindow, a placement,
  // the caption move loop) so that the monitor holding most of it has another DPI than the one
  // that held most of it before gets WM_DPICHANGED at once, with the same awareness and
  // suggestion (about the top-left where it was put). Its own move in the handler is no
  // crossing again.
  // After a test changed `monitors` (one added, removed, resized): the desktop window and the
  // work area follow the primary monitor, and WM_DISPLAYCHANGE (32 bits per pixel, the
  // primary's size) goes to the program's top-level windows. Windows left outside every
  // monitor stay there: what the system would move back is the program's to mend.
  void displayChanged();
  // Makes another monitor the primary one: the virtual screen is moved so that it lies at
  // 0,0, every monitor and every window with it; then displayChanged.
  void setPrimary(size_t index);

  // Desktop composition.
  bool dwmLoaded = false;  // the library was bound (first DWM call)
  bool compositionEnabled = true;
  platform::HResult compositionQueryResult = platform::S_OK;
  std::map<uint32_t, platform::Margins> glassFrames;         // window -> extended margins
  std::map<platform::ThumbnailId, SimThumbnail> thumbnails;  // live registrations by id
  std::set<uint32_t> thumbnailsRefused;  // sources whose registration fails (E_INVALIDARG)
  // Sources registered, but whose property updates fail (E_INVALIDARG).
  std::set<uint32_t> thumbnailUpdatesRefused;
  int thumbnailPropertyUpdates = 0;       // every update call
  platform::Rect frameInset{7, 0, 7, 7};  // invisible borders: left, top, right, bottom
  std::map<uint32_t, uint32_t> cloaked;   // window -> DWMWA_CLOAKED value

  // Calls into the shell (tray, taskbar buttons, file icons, documents) and the Desktop
  // Window Manager, each a round trip to another process.
  uint64_t shellCalls = 0;
  uint64_t dwmCalls = 0;

  // COM and taskbar.
  int comInitCount = 0;
  bool comInitFails = false;  // CoInitialize answers RPC_E_CHANGED_MODE and changes nothing
  bool taskbarListFails = false;
  bool taskbarListAlive = false;
  std::set<uint32_t> taskbarButtons;

  // Notification area: icons by (window, id). While `trayErrors` holds codes, each NIM_ADD
  // fails with the next one (ERROR_TIMEOUT models a busy shell).
  std::map<std::pair<uint32_t, uint32_t>, platform::TrayIconData> trayIcons;
  // The shell's taskbar window; restartShell() loses every icon and makes a new one, as a
  // restarted shell does (it broadcasts TaskbarCreated, which the test sends if it wants).
  platform::Hwnd shellTrayWindow{0x30010};
  void restartShell() {
    trayIcons.clear();
    shellTrayWindow.value += 4;
  }
  std::deque<platform::Dword> trayErrors;
  std::vector<std::string> shellExecuted;  // "verb file"
  // Files with a small icon besides the images of the processes (paths, any case).
  std::set<std::string> fileIcons;

  // Message boxes: answers taken from the front of the queue, IDOK when empty. A real box's
  // modal loop goes on delivering the program's messages: `whileMessageBox` runs (once) while
  // the next box is up, as a user clicking elsewhere then would.
  std::deque<int> messageBoxAnswers;
  std::function<void()> whileMessageBox;
  std::vector<SimMessageBox> messageBoxes;

  // Files: a write that fails after this many more bytes (disk full); -1 = never.
  long long writeBudget = -1;
  // Files that the program's whole-file reads cannot read, as when another program holds
  // them locked (Windows paths as the program names them).
  std::set<std::string> unreadableFiles;
  // Files another program holds open without sharing: no read, create, replace or removal.
  std::set<std::string> lockedFiles;
  // Folders where the user may not create or remove files, only write those already there.
  std::set<std::string> closedFolders;

 private:
  bool perMonitorDpi() const;  // the system and the process's awareness
  void sendDpiChanged(platform::Hwnd window, const platform::Rect& r, uint32_t old, uint32_t dpi);
  void ownWindowMoved(platform::Hwnd window, const platform::Rect& before);
  void dialogDpiChanged(platform::Hwnd dialog, uint32_t dpi, const platform::Rect& suggested);
  // Windows in their WM_DPICHANGED handler, with the DPI they come from.
  std::map<uint32_t, uint32_t> dpiChanging_;

  void waitForExit(uint32_t milliseconds);
  void exitFinished();
  void endProcess(const char* why);
  std::optional<uint64_t> endAfter_;  // calls left before endProcessAfter fires
  void reaching();
  bool exitDone_ = false;        // exitFinished was called: every wait returns at once
  bool handlerWaiting_ = false;  // a console handler waits for the exit
  bool endsAfterHandler_ = false;
  uint64_t waits_ = 0;  // tells a wait's bound from a later wait's

  class Services;
  std::unique_ptr<Services> services_;
  std::unique_ptr<platform::Platform> platform_;
};

}  // namespace sim
