// The journal of other programs' windows the program has changed to keep them live: a small
// file beside the executable, replaced whole at each change (a failed save is logged and
// leaves the old file), removed once nothing is left to undo. Written only when an entry is
// added, changed or removed.
//
// An entry is held while a preview's keeper looks after its window. One that is not held (left
// by an earlier run, or by a preview that closed while its window did not answer) is put back
// by putBackLoose: at start-up, on the previews' poll, and from the crash filter.
#pragma once

#include <map>
#include <string>

#include "display/taskbar_control.h"
#include "keeping/kept_window.h"
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
  // Before the first change to a window, and whenever more is learnt about it: held.
  void record(const KeptWindow& entry);
  // The change was undone.
  void forget(platform::Hwnd window);
  // The keeper lets the window go, put back or not.
  void release(platform::Hwnd window);
  // Puts back every loose entry whose window answers; forgets those whose window has gone or
  // belongs to another process now. One that did not answer is left alone for two seconds.
  // `taskbar` may be null.
  void putBackLoose(CTaskBarControl* taskbar);
  // The crash filter: every entry, held or loose, is put back where it answers.
  void putBackAll(CTaskBarControl* taskbar);

  bool empty() const { return entries_.empty(); }
  bool hasLoose() const;

 private:
  struct Slot {
    KeptWindow entry;
    bool held = false;
    platform::Dword quietUntil = 0;  // tick count before which it is not asked again
    bool quiet = false;
  };
  void putBack(bool heldToo, CTaskBarControl* taskbar);
  // Keeps a file not understood as "<file>.bak"; false (and logged) when it could not.
  bool keepAside(const platform::FileContents& bad);
  void save();

  Ports ports_;
  std::string path_;
  platform::Dword session_;           // entries of other sessions are theirs
  std::map<uint32_t, Slot> entries_;  // by window handle, this session's only
};
