// The simulated other programs: their processes, their threads (which may hang or be busy for
// a while, and which keep the program's changes to their windows waiting), and the browser
// engines among them, which judge whether their windows can be seen. Their windows are the
// window table's (sim_windows.h); this fake answers for the threads behind them.
//
// What it models:
// - Processes by id, with a base name and an image path, which answer "" when they cannot be
//   opened; the program's own process is "ZENTA.exe".
// - Hung windows of other programs (setHung): a hung window ignores what it is sent.
//   sendMessageTimeout waits out its timeout (the clock moves, nothing is delivered) and
//   returns at once under SMTO_ABORTIFHUNG when the window has been hung for 5 s, as Windows
//   does; isHungAppWindow answers true from then on. A call that would block the program for
//   good on Windows records "BLOCKED ..." and moves the clock by 5 s: sendMessage (answers 0,
//   the message is lost).
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
//   h... crash filter" (the crashing thread would wait for it). PrintWindow and WM_GETICON
//   wait for the thread in the same way (sim_drawing.h, sim_icons.h).
// - The program's process ending (processGone): what its code still does reaches no other
//   program's window, as on Windows nothing more would happen.
// Not modelled: hung windows catching up on the messages they missed.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/processes.h"
#include "platform/sim/sim_windows.h"

namespace sim {

class SimPrograms : public platform::Processes, SimThreads, SimWindowsListener {
 public:
  // Answers for the threads of `windows`' other programs' windows from now on.
  explicit SimPrograms(SimWindows& windows);

  // ===== Test API =====
  // Of the port calls, the process queries (opening another process: the costly ones).
  uint64_t baseNameQueries = 0;
  uint64_t imagePathQueries = 0;
  // The program's process has ended (SimDesktop::terminate): what its code still does here
  // reaches no other program's window, as on Windows nothing more would happen.
  bool processGone = false;
  // The crash filter runs (SimDesktop::crash): changes to other programs' windows unguarded.
  bool crashMode = false;
  // Called before each call that would reach another program's window (a change or a sent
  // message): SimDesktop::endProcessAfter ends the process there.
  std::function<void()> beforeReaching;

  // A process; baseName/imagePath answer "" when it is not openable.
  uint32_t addProcess(std::string baseName, std::string imagePath, bool openable = true);
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

  // Browser engines (sim_engine_windows.cpp): another program's top-level window whose class
  // starts with "Chrome_WidgetWin_" or is "MozillaWindowClass" judges itself by the engines'
  // occlusion rule: HIDDEN when minimised or not shown; otherwise what is left of the bounding
  // box of the monitors (`virtualScreen`) once the occluders above it are taken away must
  // meet its rectangle. Occluders: visible, not minimised, no WS_EX_TRANSPARENT, not tool
  // windows (the taskbar, class "Shell_TrayWnd", excepted), layered only at alpha 255, not
  // popups (but for the taskbar and, for Chromium, its own class); a maximised one counts as
  // its work area. The state held while the clock moves is what the engine saw: each engine
  // window records how long it did not draw (in all, and its longest stretch).
  // When the work area changes (SimWindows::workAreaChanged, which setTaskbar calls), an
  // engine window that is neither maximised nor minimised fits itself back into the work area.
  // Not modelled: cloaking, virtual desktops, the locked session, complex regions,
  // UpdateLayeredWindow, the task view's exception, other monitors' work areas.
  struct EngineRecord {
    bool drawing = true;  // the verdict the engine last reached
    uint64_t notDrawnMs = 0;
    uint64_t longestNotDrawnMs = 0;
    uint64_t stretchMs = 0;  // the current stretch not drawn
  };
  // Null for a window that is no engine window (or has not been judged yet).
  const EngineRecord* engineRecord(platform::Hwnd window) const;
  void resetEngineRecords() { engines_.clear(); }
  // The rule's verdict now: true when the engine window would draw.
  bool engineDraws(platform::Hwnd window) const;
  // Win+D: every visible, not minimised window of other programs but tool windows minimises.
  void showDesktop();

  // ===== platform::Processes =====
  std::string baseName(platform::Dword processId) override;
  std::string imagePath(platform::Dword processId) override;

 private:
  struct Process {
    std::string baseName;
    std::string imagePath;
    bool openable;
  };
  // What keeps another program's window from answering.
  struct Thread {
    bool hung = false;
    uint64_t hungSince = 0;  // on the 64-bit clock
    uint64_t busySpan = 0;   // which setBusy span is running (a later one replaces it)
    uint64_t busyUntil = 0;  // when that span ends; 0 while hung without end
    std::map<uint32_t, uint32_t> slowHandlers;  // message -> ms its handler keeps the thread
    // Changes that timed out, made in order once the thread is free again.
    std::vector<std::function<void()>> outstanding;
  };

  // SimThreads.
  bool reaching() override;
  bool hung(platform::Hwnd window) const override;
  bool hungLong(platform::Hwnd window) override;
  // The guard of a change to another program's window (sim_busy_windows.cpp): true when it
  // may be made now; else it failed (ERROR_TIMEOUT) and `later` is kept for when it is free,
  // or dropped when another change is still outstanding.
  bool changeReaches(platform::Hwnd window, const char* call, uint32_t message,
                     std::function<void()> later) override;
  // Records "BLOCKED <call> h... <detail>" and moves the clock by the wait.
  void blockedBy(platform::Hwnd window, const char* call, const std::string& detail) override;
  // SimWindowsListener.
  void recordMade(platform::Hwnd window) override { threads_.erase(window.value); }
  void workAreaChanged() override;

  SimWindow* foreign(platform::Hwnd window) const;  // a live window of another program
  void catchUp(platform::Hwnd window);
  // The engines look at the desktop before the clock moves `ms` on (sim_engine_windows.cpp).
  void judgeEngines(uint64_t ms);
  bool isEngine(const SimWindow& window) const;
  bool occludes(const SimWindow& window, bool gecko) const;

  SimWindows& windows_;
  SimClock& clock_;
  std::map<platform::Dword, Process> processes_;
  platform::Dword nextProcessId_ = 0x2000;
  std::map<uint32_t, Thread> threads_;
  bool applyingLater_ = false;  // a change that timed out is being made now
  std::map<uint32_t, EngineRecord> engines_;
};

}  // namespace sim
