// Process and system services: version, registry, named mutex, console and standard
// streams, current directory, command line, own executable, clock, code page.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

// Result of creating a named mutex: whether a handle came back, and the last error.
struct MutexResult {
  bool created = false;
  Dword lastError = ERROR_SUCCESS;
};

// A version-information block read from an executable.
class VersionBlock {
 public:
  virtual ~VersionBlock() = default;
  // VerQueryValueA: the bytes of the value at `subBlock`, or nothing.
  virtual std::optional<std::string> query(const std::string& subBlock) const = 0;
};

// Called on the system's own thread for a console control event (CTRL_C_EVENT ...): it may
// post a message and wait for the exit (System::waitForExit), and touches no program state.
// After a close, log-off or shutdown event the system ends the process when it returns.
using ConsoleCtrlHandler = std::function<bool(Dword event)>;

class System {
 public:
  virtual ~System() = default;

  // AfxSocketInit: Windows Sockets start-up.
  virtual bool initSockets() = 0;

  // GetVersionExA; returns its result (1 on success).
  virtual bool getVersion(OsVersionInfo& info) = 0;

  // RegOpenKeyExA + RegQueryValueExA + RegCloseKey on one value. Returns the error of the
  // first step that failed (ERROR_SUCCESS when the value was read); `opened` tells whether
  // the key could be opened. At most `data.size()` bytes are read; `data` is resized to the
  // length read.
  struct RegistryRead {
    bool opened = false;
    Dword error = ERROR_FILE_NOT_FOUND;
    Dword type = 0;
    std::string data;
  };
  virtual RegistryRead readRegistryValue(RegistryRoot root, const std::string& subKey, Dword access,
                                         const std::string& valueName, size_t maxBytes) = 0;

  // CreateMutexA(no security, initialOwner, name); the handle is held for the process's life.
  virtual MutexResult createMutex(bool initialOwner, const std::string& name) = 0;

  // Standard streams. The diagnostic log goes to standard output.
  virtual bool allocConsole() = 0;
  virtual void freeConsole() = 0;
  virtual void redirectStdStreamsToConsole() = 0;  // stdout on CONOUT$, stdin on CONIN$
  virtual void redirectStdStreamsToNull() = 0;     // both on the null device
  virtual void setConsoleCtrlHandler(ConsoleCtrlHandler handler) = 0;
  // SetUnhandledExceptionFilter: `filter` runs on the crashing thread just before the process
  // ends, and returns. The crashed code may hold any lock, the heap's among them, and the
  // program's own windows belong to a thread that may be the crashed one. So the filter calls
  // only what maps onto one system call and allocates nothing: Windows' facts that return no
  // text or list (isWindow, isIconic, isZoomed, isWindowEnabled, getWindowLong,
  // getWindowProcessId, getWindowRect, getWindowPlacement, getLayeredWindowAttributes),
  // Windows' changes (made directly from now on, with no worker: probe the window with
  // sendMessageTimeout and SMTO_ABORTIFHUNG first, a hung one would hold the filter),
  // Messages::sendMessageTimeout to other programs' windows, Messages::lastError and
  // System::tickCount. Not: texts, lists, names or files (they allocate), the diagnostic log,
  // anything sent to the program's own windows, the shell, message boxes or sleeping. What
  // it cannot do is left to the next start. The filter's changes are the last: it runs once
  // changes already on their way have landed (a second at most), and any other thread stops
  // for good at its next change or message to a window (the user-interface thread's poll,
  // when another thread crashed), as does another thread that crashes meanwhile.
  virtual void setCrashFilter(void (*filter)(void* context), void* context) = 0;
  // The program's exit path is done (rules saved, windows put back): a console control handler
  // waiting in waitForExit returns, and so does every later wait. Any thread.
  virtual void exitFinished() = 0;
  // On a console control handler's thread: waits until exitFinished, at most `milliseconds`.
  virtual void waitForExit(Dword milliseconds) = 0;
  // Code page 932 text: a console shows it as such whatever its own code page; a file or a
  // pipe gets the bytes unchanged.
  virtual void writeStdout(const std::string& bytes) = 0;

  virtual bool setCurrentDirectory(const std::string& path) = 0;
  virtual std::string getCurrentDirectory() = 0;

  // The arguments as the program received them, argument 0 being the program path.
  virtual std::vector<std::string> commandLine() = 0;
  // GetModuleFileNameA(NULL, ...) with a 260-byte buffer.
  virtual std::string moduleFileName() = 0;
  // GetFileVersionInfoSizeA; 0 when there is no version resource.
  virtual Dword versionInfoSize(const std::string& path) = 0;
  // GetFileVersionInfoA; null on failure.
  virtual std::unique_ptr<VersionBlock> versionInfo(const std::string& path, Dword size) = 0;

  // IsDBCSLeadByte in the system's ANSI code page, the code page of the program's own paths
  // (commandLine, moduleFileName, the current directory and the files named with them).
  // Texts that the port shows or reads from windows are code page 932 (platform/cp932.h).
  virtual bool isLeadByte(unsigned char byte) = 0;

  // ProcessIdToSessionId of the current process: the logon session it runs in (two users of
  // one machine run the program in two sessions, each with its own desktop and windows).
  virtual Dword sessionId() = 0;

  virtual void sleep(Dword milliseconds) = 0;
  virtual Dword tickCount() = 0;
};

}  // namespace platform
