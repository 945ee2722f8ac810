// The real Windows adapter: every call maps straight onto the Windows API. Handles are
// converted at this border only.
#pragma once

// Port headers first: <windows.h> defines macros with the names of the port's constants.
#include "platform/platform.h"

#include <winsock2.h>
#include <windows.h>

#include <memory>

namespace win32 {

inline HWND toHwnd(platform::Hwnd h) {
  // Window handles are 32-bit values, sign-extended on 64-bit Windows.
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(h.value)));
}
inline platform::Hwnd fromHwnd(HWND h) {
  return platform::Hwnd{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h))};
}

// Text of the program's own (code page 932) as UTF-16, whatever the system's code page.
std::wstring fromProgramText(const std::string& text);

class Win32System : public platform::System {
 public:
  Win32System();
  ~Win32System() override;
  bool initSockets() override;
  platform::Bool getVersion(platform::OsVersionInfo& info) override;
  RegistryRead readRegistryValue(platform::RegistryRoot root, const std::string& subKey,
                                 platform::Dword access, const std::string& valueName,
                                 size_t maxBytes) override;
  platform::MutexResult createMutex(bool initialOwner, const std::string& name) override;
  bool allocConsole() override;
  void freeConsole() override;
  void redirectStdStreamsToConsole() override;
  void redirectStdStreamsToNull() override;
  void setConsoleCtrlHandler(platform::ConsoleCtrlHandler handler) override;
  void writeStdout(const std::string& bytes) override;
  bool setCurrentDirectory(const std::string& path) override;
  std::string getCurrentDirectory() override;
  std::vector<std::string> commandLine() override;
  std::string moduleFileName() override;
  platform::Dword versionInfoSize(const std::string& path) override;
  std::unique_ptr<platform::VersionBlock> versionInfo(const std::string& path,
                                                      platform::Dword size) override;
  bool isLeadByte(unsigned char byte) override;
  void sleep(platform::Dword milliseconds) override;
  platform::Dword tickCount() override;

 private:
  bool socketsStarted_ = false;
};

class Win32ProfileFiles : public platform::ProfileFiles {
 public:
  uint32_t getInt(const std::string& section, const std::string& key, int32_t defaultValue,
                  const std::string& file) override;
  std::string getString(const std::string& section, const std::string& key,
                        const std::string& defaultValue, size_t bufferSize,
                        const std::string& file) override;
  bool writeString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& file) override;
};

class Win32Files : public platform::Files {
 public:
  std::unique_ptr<platform::WritableFile> create(const std::string& path) override;
  bool replace(const std::string& from, const std::string& to) override;
  bool remove(const std::string& path) override;
};

class Win32Monitors : public platform::Monitors {
 public:
  std::vector<Enumerated> enumerate() override;
  platform::Bool getInfo(platform::MonitorHandle monitor, platform::MonitorInfo& info) override;
};

class Win32Dwm : public platform::Dwm {
 public:
  Win32Dwm();
  ~Win32Dwm() override;
  platform::HResult isCompositionEnabled(platform::Bool* enabled) override;
  platform::HResult getWindowAttribute(platform::Hwnd window, platform::Dword attribute,
                                       void* value, platform::Dword size) override;
  platform::HResult registerThumbnail(platform::Hwnd destination, platform::Hwnd source,
                                      platform::ThumbnailId* thumbnail) override;
  platform::HResult unregisterThumbnail(platform::ThumbnailId thumbnail) override;
  platform::HResult updateThumbnailProperties(
      platform::ThumbnailId thumbnail, const platform::ThumbnailProperties& properties) override;
  platform::HResult querySourceSize(platform::ThumbnailId thumbnail,
                                    platform::Size* size) override;
  platform::HResult extendFrameIntoClientArea(platform::Hwnd window,
                                              const platform::Margins& margins) override;

 private:
  struct Entry;
  const Entry& bind();
  std::unique_ptr<Entry> entry_;
};

class Win32Shell : public platform::Shell {
 public:
  platform::HResult comInitialize() override;
  void comUninitialize() override;
  std::unique_ptr<platform::TaskbarList> createTaskbarList() override;
};

class Win32MessageBoxes : public platform::MessageBoxes {
 public:
  int show(platform::Hwnd owner, const std::string& text, const std::string& caption,
           uint32_t type) override;
};

// All services, bundled for start-up.
class Win32Platform {
 public:
  Win32Platform();
  platform::Platform& platform() { return platform_; }

 private:
  Win32System system_;
  Win32ProfileFiles profile_;
  Win32Files files_;
  Win32Monitors monitors_;
  Win32Dwm dwm_;
  Win32Shell shell_;
  Win32MessageBoxes messageBoxes_;
  platform::Platform platform_;
};

}  // namespace win32
