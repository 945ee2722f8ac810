// The simulated system: the OS version, registry values, named mutexes (some held by
// "another process"), sockets, the console and where the standard streams point, the current
// directory, the command line and the program's own version resource, the logon session, the
// ANSI code page, sleeping and the tick count. Files and profile files are the system's too
// (sim_files.h, sim_profile_files.h, on the folders of sim_file_system.h).
//
// Texts are code page 932 bytes, as the port's are. The system's ANSI code page, which is
// that of the program's own paths, is 932 or 1252 (`systemCodePage`); it sets only the
// lead-byte test of isLeadByte: the simulated files and profile functions read every path and
// value as code page 932.
// Not modelled: threads (a console control handler's wait is the desktop's: see
// SimDesktop::consoleEvent), security, other code pages.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_file_system.h"
#include "platform/system.h"

namespace sim {

class SimSystem : public platform::System {
 public:
  // `clock` moves in sleep; `files` holds the current directory. Both outlive this object.
  SimSystem(SimClock& clock, SimFileSystem& files);

  // ===== Test API =====
  // OS version.
  platform::OsVersionInfo version;  // Windows 7 SP1
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
  // The program's crash filter (setCrashFilter), run by SimDesktop::crash.
  void (*crashFilter)(void*) = nullptr;
  void* crashContext = nullptr;
  // Where the program's waitForExit and exitFinished go (SimDesktop's console events).
  std::function<void(platform::Dword milliseconds)> onWaitForExit;
  std::function<void()> onExitFinished;

  // The logon session the program runs in; another instance may share its folder from another.
  platform::Dword logonSession = 1;

  // The ANSI code page: 932, or 1252 (no lead bytes).
  uint32_t systemCodePage = 932;

  // Command line and the program's own executable.
  std::vector<std::string> arguments{"C:\\Programs\\Quillmoor\\ZENTA.exe"};
  std::string modulePath = "C:\\Programs\\Quillmoor\\ZENTA.exe";
  bool hasVersionResource = true;
  bool versionBlockReadFails = false;
  std::vector<std::pair<uint16_t, uint16_t>> versionTranslations{{0x0411, 0x04b0}};
  std::map<std::string, std::string> versionStrings{{"ProductVersion", "1, 0, 0, 1"}};

  // ===== platform::System =====
  bool initSockets() override;
  bool getVersion(platform::OsVersionInfo& info) override;
  RegistryRead readRegistryValue(platform::RegistryRoot root, const std::string& subKey,
                                 platform::Dword, const std::string& valueName,
                                 size_t maxBytes) override;
  platform::MutexResult createMutex(bool initialOwner, const std::string& name) override;
  bool allocConsole() override;
  void freeConsole() override;
  void redirectStdStreamsToConsole() override { stdoutTarget = Stream::Console; }
  void redirectStdStreamsToNull() override { stdoutTarget = Stream::Null; }
  void setConsoleCtrlHandler(platform::ConsoleCtrlHandler handler) override {
    ctrlHandler = std::move(handler);
  }
  void exitFinished() override;
  void setCrashFilter(void (*filter)(void*), void* context) override {
    crashFilter = filter;
    crashContext = context;
  }
  void waitForExit(platform::Dword milliseconds) override;
  void writeStdout(const std::string& bytes) override;
  bool setCurrentDirectory(const std::string& path) override;
  std::string getCurrentDirectory() override { return files_.currentDirectory(); }
  std::vector<std::string> commandLine() override { return arguments; }
  std::string moduleFileName() override { return modulePath; }
  platform::Dword versionInfoSize(const std::string& path) override;
  std::unique_ptr<platform::VersionBlock> versionInfo(const std::string& path,
                                                      platform::Dword) override;
  bool isLeadByte(unsigned char byte) override;
  platform::Dword sessionId() override { return logonSession; }
  void sleep(platform::Dword milliseconds) override;
  platform::Dword tickCount() override { return clock_.now; }

 private:
  SimClock& clock_;
  SimFileSystem& files_;
};

}  // namespace sim
