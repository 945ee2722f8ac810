// The journal of other programs' windows the program has changed to keep them live: one record
// a window, taken before the first change from a state the program did not cause, and kept
// until the window is back. A small file beside the executable, replaced whole at each change
// (a failed save is logged and leaves the old file), removed once nothing is left to undo.
//
// An entry is held while a preview's keeper looks after its window. One that is not held (left
// by an earlier run, or by a preview that closed while its window did not answer) is loose: a
// keeper that meets its window adopts it as it stands, and putBackLoose puts it back at
// start-up and on the panel's watchdog; at exit putBackAtExit waits for slow windows a while.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "display/taskbar_control.h"
#include "keeping/kept_window.h"
#include "keeping/put_back.h"
#include "platform/platform.h"

class KeptWindowsJournal {
 public:
  static constexpr const char* kFileName = "KeptWindows.ini";

  struct Ports {
    explicit Ports(const platform::Platform& p)
        : windows(p.windows),
          messages(p.messages),
          processes(p.processes),
          monitors(p.monitors),
          files(p.files),
          system(p.system) {}
    platform::Windows& windows;
    platform::Messages& messages;
    platform::Processes& processes;
    platform::Monitors& monitors;
    platform::Files& files;
    platform::System& system;
  };

  KeptWindowsJournal(const Ports& ports, std::string path)
      : ports_(ports), path_(std::move(path)), session_(ports.system.sessionId()) {}

  // Reads what an earlier run of this session left; every entry read is loose. A file not
  // understood is logged, kept as "<file>.bak" and replaced by what was understood.
  void load();
  // Before the first change to a window, and whenever more is learnt about it: held. False
  // when the file could not be written: then nothing may be changed on the window's behalf.
  [[nodiscard]] bool record(const KeptWindow& entry);
  // A loose entry of this window (an earlier run's, or a closed preview's), now held by the
  // caller; nothing when there is none.
  std::optional<KeptWindow> adopt(platform::Hwnd window);
  // The change was undone.
  void forget(platform::Hwnd window);
  // The keeper lets the window go, put back or not.
  void release(platform::Hwnd window);
  // Puts back every loose entry whose window answers; forgets those whose window has gone or
  // belongs to another process now. One that did not answer is left alone for two seconds.
  // `taskbar` may be null.
  void putBackLoose(CTaskBarControl* taskbar);
  // The program ends: every entry is loose now. Windows that do not answer or are busy are
  // asked again until each is back or `budgetMs` has passed; those left stay in the file.
  void putBackAtExit(CTaskBarControl* taskbar, uint32_t budgetMs);
  // The crash filter: every entry, held or loose, whose window answers is put back, without
  // the taskbar, a log line or a save (allocating nothing it can avoid); the file stays as it
  // is, and the next start drops the entries whose windows show nothing of ours any more.
  void putBackOnCrash();

  bool empty() const { return entries_.empty(); }
  bool hasLoose() const;

 private:
  struct Slot {
    KeptWindow entry;
    bool held = false;
    platform::Dword quietUntil = 0;  // tick count before which it is not asked again
    bool quiet = false;
  };
  PutBackPorts putBackPorts() const;
  // Returns whether anything was left.
  bool putBack(CTaskBarControl* taskbar, bool atExit);
  // Keeps a file not understood as "<file>.bak"; false (and logged) when it could not.
  bool keepAside(const platform::FileContents& bad);
  // False when the entries did not reach the file.
  bool save();

  Ports ports_;
  std::string path_;
  platform::Dword session_;           // entries of other sessions are theirs
  std::map<uint32_t, Slot> entries_;  // by window handle, this session's only
  bool saved_ = true;                 // the file holds entries_ as they are
};
