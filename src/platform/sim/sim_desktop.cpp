#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/sim/cp932.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile_files.h"

namespace sim {

using namespace platform;

namespace {

// A top-level window with a sizing or dialog frame, which Windows 10 draws as a thin line
// with the rest of the frame invisible.
bool hasSystemFrame(SimWindowManager& wm, Hwnd window) {
  constexpr uint32_t kDialogFrame = WS_CAPTION & ~WS_BORDER;
  const uint32_t style = wm.getWindowLong(window, GWL_STYLE);
  if ((style & WS_CHILD) != 0) return false;
  return (style & (WS_THICKFRAME | kDialogFrame)) != 0 ||
         (wm.getWindowLong(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0;
}

std::string hex(uint64_t value) {
  char text[24];
  snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(value));
  return text;
}

std::string rectText(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

constexpr HResult kCompositionDisabled = static_cast<HResult>(0x80263001u);  // DWM_E_...
constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057u);           // E_INVALIDARG
constexpr HResult kInvalidHandle = static_cast<HResult>(0x80070006u);        // E_HANDLE

bool sameIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

class SimVersionBlock : public VersionBlock {
 public:
  explicit SimVersionBlock(const SimDesktop& desk) : desk_(desk) {}
  std::optional<std::string> query(const std::string& subBlock) const override {
    if (subBlock == "\\VarFileInfo\\Translation") {
      if (desk_.versionTranslations.empty()) return std::nullopt;
      std::string bytes;
      for (auto [language, codePage] : desk_.versionTranslations) {
        for (uint16_t v : {language, codePage}) {
          bytes += static_cast<char>(v & 0xFF);
          bytes += static_cast<char>(v >> 8);
        }
      }
      return bytes;
    }
    for (auto [language, codePage] : desk_.versionTranslations) {
      char prefix[64];
      snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", language, codePage);
      if (subBlock.rfind(prefix, 0) == 0) {
        auto found = desk_.versionStrings.find(subBlock.substr(strlen(prefix)));
        if (found != desk_.versionStrings.end()) return found->second;
      }
    }
    return std::nullopt;
  }

 private:
  const SimDesktop& desk_;
};

class SimTaskbarList : public TaskbarList {
 public:
  explicit SimTaskbarList(SimDesktop& desk) : desk_(desk) { desk_.taskbarListAlive = true; }
  ~SimTaskbarList() override {
    desk_.taskbarListAlive = false;
    desk_.actions.push_back("taskbar release");
  }
  HResult hrInit() override {
    desk_.actions.push_back("taskbar init");
    return S_OK;
  }
  HResult addTab(Hwnd window) override {
    if (desk_.processEnded) return E_FAIL;
    ++desk_.shellCalls;
    desk_.actions.push_back("taskbar add w" + hex(window.value));
    desk_.taskbarButtons.insert(window.value);
    return S_OK;
  }
  HResult deleteTab(Hwnd window) override {
    if (desk_.processEnded) return E_FAIL;
    ++desk_.shellCalls;
    desk_.actions.push_back("taskbar delete w" + hex(window.value));
    desk_.taskbarButtons.erase(window.value);
    return S_OK;
  }

 private:
  SimDesktop& desk_;
};

}  // namespace

class SimDesktop::Services : public System,
                             public Monitors,
                             public Dwm,
                             public Shell,
                             public MessageBoxes {
 public:
  explicit Services(SimDesktop& desk)
      : files(desk.files, desk.writeBudget, desk.unreadableFiles, desk.lockedFiles,
              desk.closedFolders, desk.actions),
        profile(desk.files),
        desk_(desk) {}

  SimFiles files;
  SimProfileFiles profile;

  // --- System ---
  bool initSockets() override {
    desk_.actions.push_back("sockets init");
    return !desk_.socketsFail;
  }

  bool getVersion(OsVersionInfo& info) override {
    ++desk_.versionCalls;
    if (desk_.versionCallFails || info.size != sizeof(OsVersionInfo)) return 0;
    info = desk_.version;
    info.size = sizeof(OsVersionInfo);
    return 1;
  }

  RegistryRead readRegistryValue(RegistryRoot root, const std::string& subKey, Dword,
                                 const std::string& valueName, size_t maxBytes) override {
    RegistryRead result;
    auto id = std::make_pair(static_cast<uint32_t>(root), subKey);
    if (desk_.deniedKeys.count(id) != 0) {
      result.error = ERROR_ACCESS_DENIED;
      return result;
    }
    auto key = desk_.registry.find(id);
    if (key == desk_.registry.end()) return result;
    result.opened = true;
    auto value = key->second.find(valueName);
    if (value == key->second.end()) return result;
    if (value->second.size() > maxBytes) {
      result.error = 234;  // ERROR_MORE_DATA
      return result;
    }
    result.error = ERROR_SUCCESS;
    result.type = REG_DWORD;
    result.data = value->second;
    return result;
  }

  MutexResult createMutex(bool initialOwner, const std::string& name) override {
    desk_.actions.push_back("mutex create " + name);
    if (desk_.mutexCreationFails) return {false, ERROR_ACCESS_DENIED};
    if (desk_.mutexesHeldElsewhere.count(name) != 0 || desk_.mutexesOwned.count(name) != 0) {
      return {true, ERROR_ALREADY_EXISTS};
    }
    if (initialOwner) desk_.mutexesOwned.insert(name);
    return {true, ERROR_SUCCESS};
  }

  bool allocConsole() override {
    desk_.actions.push_back("console alloc");
    if (desk_.consoleAttached || desk_.startedFromConsole) return false;
    desk_.consoleAttached = true;
    return true;
  }
  void freeConsole() override {
    desk_.actions.push_back("console free");
    desk_.consoleAttached = false;
    desk_.startedFromConsole = false;
  }
  void redirectStdStreamsToConsole() override { desk_.stdoutTarget = Stream::Console; }
  void redirectStdStreamsToNull() override { desk_.stdoutTarget = Stream::Null; }
  void setConsoleCtrlHandler(ConsoleCtrlHandler handler) override {
    desk_.ctrlHandler = std::move(handler);
  }
  void exitFinished() override { desk_.exitFinished(); }
  void setCrashFilter(void (*filter)(void*), void* context) override {
    desk_.crashFilter = filter;
    desk_.crashContext = context;
  }
  void waitForExit(Dword milliseconds) override { desk_.waitForExit(milliseconds); }
  void writeStdout(const std::string& bytes) override {
    switch (desk_.stdoutTarget) {
      case Stream::Inherited:
        desk_.inheritedOutput += bytes;
        break;
      case Stream::Console:
        // Lines written after the console was freed are lost.
        if (desk_.consoleAttached || desk_.startedFromConsole) desk_.consoleOutput += bytes;
        break;
      case Stream::Null:
        desk_.discardedBytes += bytes.size();
        break;
    }
  }

  bool setCurrentDirectory(const std::string& path) override {
    desk_.actions.push_back("cd " + path);
    return desk_.files.setCurrentDirectory(path);
  }
  std::string getCurrentDirectory() override { return desk_.files.currentDirectory(); }

  std::vector<std::string> commandLine() override { return desk_.commandLine; }
  std::string moduleFileName() override { return desk_.moduleFileName; }
  Dword versionInfoSize(const std::string& path) override {
    if (!desk_.hasVersionResource || path != desk_.moduleFileName) return 0;
    return 1024;
  }
  std::unique_ptr<VersionBlock> versionInfo(const std::string& path, Dword) override {
    if (!desk_.hasVersionResource || desk_.versionBlockReadFails || path != desk_.moduleFileName) {
      return nullptr;
    }
    return std::make_unique<SimVersionBlock>(desk_);
  }

  bool isLeadByte(unsigned char byte) override {
    return desk_.systemCodePage == 932 && isCp932LeadByte(byte);
  }

  Dword sessionId() override { return desk_.sessionId; }

  void sleep(Dword milliseconds) override {
    desk_.actions.push_back("sleep " + std::to_string(milliseconds));
    desk_.windows.elapse(milliseconds);  // a blocked thread: no timer is delivered
  }
  Dword tickCount() override { return desk_.now; }

  // --- Monitors ---
  std::vector<Enumerated> enumerate() override {
    std::vector<Enumerated> result;
    for (size_t i = 0; i < desk_.monitors.size(); ++i) {
      result.push_back({MonitorHandle{0x10001 + i}, desk_.monitors[i].monitor});
    }
    return result;
  }
  bool getInfo(MonitorHandle monitor, MonitorInfo& info) override {
    size_t index = static_cast<size_t>(monitor.value - 0x10001);
    if (monitor.value < 0x10001 || index >= desk_.monitors.size()) return 0;
    const SimMonitor& m = desk_.monitors[index];
    info.monitor = m.monitor;
    info.work = m.work;
    info.flags = m.primary ? MONITORINFOF_PRIMARY : 0;
    snprintf(info.device, sizeof info.device, "%s", m.device.c_str());
    return 1;
  }
  MonitorHandle fromRect(const Rect& r) override {
    // The largest overlap; without any, the nearest monitor.
    size_t best = 0;
    int64_t bestArea = -1;
    int64_t bestDistance = INT64_MAX;
    for (size_t i = 0; i < desk_.monitors.size(); ++i) {
      const Rect& m = desk_.monitors[i].monitor;
      const int64_t w = std::min(r.right, m.right) - std::max(r.left, m.left);
      const int64_t h = std::min(r.bottom, m.bottom) - std::max(r.top, m.top);
      const int64_t area = w > 0 && h > 0 ? w * h : 0;
      const int64_t dx =
          std::max<int64_t>({0, int64_t{m.left} - r.right, int64_t{r.left} - m.right});
      const int64_t dy =
          std::max<int64_t>({0, int64_t{m.top} - r.bottom, int64_t{r.top} - m.bottom});
      const int64_t distance = dx * dx + dy * dy;
      if (area > bestArea || (area == 0 && bestArea == 0 && distance < bestDistance)) {
        best = i;
        bestArea = area;
        bestDistance = distance;
      }
    }
    return desk_.monitors.empty() ? MonitorHandle{} : MonitorHandle{0x10001 + best};
  }
  uint32_t getDpi(MonitorHandle monitor) override {
    const size_t index = static_cast<size_t>(monitor.value - 0x10001);
    const OsVersionInfo& v = desk_.version;
    const bool perMonitor = v.majorVersion > 6 || (v.majorVersion == 6 && v.minorVersion >= 3);
    if (!perMonitor || monitor.value < 0x10001 || index >= desk_.monitors.size()) {
      return desk_.systemDpi;
    }
    return desk_.monitors[index].dpi;
  }
  DpiAwareness enableDpiAwareness() override {
    const OsVersionInfo& v = desk_.version;
    const auto at = [&](uint32_t major, uint32_t minor, uint32_t build) {
      if (v.majorVersion != major) return v.majorVersion > major;
      if (v.minorVersion != minor) return v.minorVersion > minor;
      return v.buildNumber >= build;
    };
    DpiAwareness granted = at(10, 0, 15063) ? DpiAwareness::PerMonitorV2
                           : at(6, 3, 0)    ? DpiAwareness::PerMonitor
                           : at(6, 0, 0)    ? DpiAwareness::System
                                            : DpiAwareness::Unaware;
    // Set once for the process, as the manifest or the first call sets it.
    if (!desk_.dpiAwareness) desk_.dpiAwareness = granted;
    return *desk_.dpiAwareness;
  }

  // --- Dwm ---
  void bindDwm(const char* call) {
    ++desk_.windows.portCalls;
    ++desk_.dwmCalls;
    desk_.dwmLoaded = true;
    desk_.actions.push_back(std::string("dwm ") + call);
  }
  HResult isCompositionEnabled(bool* enabled) override {
    bindDwm("composition?");
    if (desk_.compositionQueryResult >= 0 && enabled != nullptr) {
      *enabled = desk_.compositionEnabled;
    }
    return desk_.compositionQueryResult;
  }
  HResult getWindowAttribute(Hwnd window, Dword attribute, void* value, Dword size) override {
    bindDwm(("attribute h" + hex(window.value) + " " + std::to_string(attribute)).c_str());
    SimWindowManager& wm = desk_.windows;
    if (!wm.isWindow(window)) return kInvalidHandle;
    if (attribute == DWMWA_EXTENDED_FRAME_BOUNDS) {
      if (value == nullptr || size != sizeof(Rect)) return kInvalidArg;
      if (!desk_.compositionEnabled) return kCompositionDisabled;
      Rect r;
      wm.getWindowRect(window, r);
      if (wm.getWindowProcessId(window) != wm.ownProcessId || hasSystemFrame(wm, window)) {
        const Rect& in = desk_.frameInset;
        r = {r.left + in.left, r.top + in.top, r.right - in.right, r.bottom - in.bottom};
      }
      memcpy(value, &r, sizeof r);
      return S_OK;
    }
    const bool windows8 = desk_.version.majorVersion > 6 ||
                          (desk_.version.majorVersion == 6 && desk_.version.minorVersion >= 2);
    if (attribute == DWMWA_CLOAKED && windows8) {
      if (value == nullptr || size != sizeof(Dword)) return kInvalidArg;
      auto found = desk_.cloaked.find(window.value);
      const Dword cloaked = found == desk_.cloaked.end() ? 0 : found->second;
      memcpy(value, &cloaked, sizeof cloaked);
      return S_OK;
    }
    return kInvalidArg;  // an attribute this system does not know
  }
  HResult registerThumbnail(Hwnd destination, Hwnd source, ThumbnailId* thumbnail) override {
    bindDwm(
        ("thumbnail register h" + hex(source.value) + " -> h" + hex(destination.value)).c_str());
    if (!desk_.compositionEnabled) return kCompositionDisabled;
    SimWindowManager& wm = desk_.windows;
    auto topLevel = [&wm](Hwnd w) {
      return wm.isWindow(w) && (wm.getWindowLong(w, GWL_STYLE) & WS_CHILD) == 0;
    };
    if (thumbnail == nullptr || !topLevel(destination) || !topLevel(source) ||
        wm.getWindowProcessId(destination) != wm.ownProcessId ||
        desk_.thumbnailsRefused.count(source.value) != 0) {
      return kInvalidArg;
    }
    *thumbnail = ++nextThumbnail_;
    desk_.thumbnails[*thumbnail] = {destination, source, {}};
    return S_OK;
  }
  HResult unregisterThumbnail(ThumbnailId thumbnail) override {
    bindDwm(("thumbnail unregister t" + hex(thumbnail)).c_str());
    return desk_.thumbnails.erase(thumbnail) != 0 ? S_OK : kInvalidArg;
  }
  HResult updateThumbnailProperties(ThumbnailId thumbnail,
                                    const ThumbnailProperties& given) override {
    const Dword flags = given.flags;
    std::string text = "thumbnail properties t" + hex(thumbnail) + " flags=" + hex(flags);
    if ((flags & DWM_TNP_RECTDESTINATION) != 0)
      text += " dest=" + rectText(Rect{given.destination});
    if ((flags & DWM_TNP_RECTSOURCE) != 0) text += " src=" + rectText(Rect{given.source});
    if ((flags & DWM_TNP_OPACITY) != 0) text += " opacity=" + std::to_string(given.opacity);
    if ((flags & DWM_TNP_VISIBLE) != 0) text += " visible=" + std::to_string(given.visible);
    if ((flags & DWM_TNP_SOURCECLIENTAREAONLY) != 0) {
      text += " clientonly=" + std::to_string(given.sourceClientAreaOnly);
    }
    bindDwm(text.c_str());
    ++desk_.thumbnailPropertyUpdates;
    auto found = desk_.thumbnails.find(thumbnail);
    if (found == desk_.thumbnails.end()) return kInvalidArg;
    if (!desk_.compositionEnabled) return kCompositionDisabled;
    if (desk_.thumbnailUpdatesRefused.count(found->second.source.value) != 0) return kInvalidArg;
    ThumbnailProperties& p = found->second.properties;
    if ((flags & DWM_TNP_RECTDESTINATION) != 0) p.destination = given.destination;
    if ((flags & DWM_TNP_RECTSOURCE) != 0) p.source = given.source;
    if ((flags & DWM_TNP_OPACITY) != 0) p.opacity = given.opacity;
    if ((flags & DWM_TNP_VISIBLE) != 0) p.visible = given.visible;
    if ((flags & DWM_TNP_SOURCECLIENTAREAONLY) != 0) {
      p.sourceClientAreaOnly = given.sourceClientAreaOnly;
    }
    p.flags |= flags;
    return S_OK;
  }
  HResult querySourceSize(ThumbnailId thumbnail, Size* size) override {
    bindDwm(("thumbnail source size t" + hex(thumbnail)).c_str());
    auto found = desk_.thumbnails.find(thumbnail);
    Rect r;
    if (found == desk_.thumbnails.end() || size == nullptr ||
        !desk_.windows.getWindowRect(found->second.source, r)) {
      return kInvalidArg;
    }
    if (!desk_.compositionEnabled) return kCompositionDisabled;
    *size = {r.width(), r.height()};
    return S_OK;
  }
  HResult extendFrameIntoClientArea(Hwnd window, const Margins& margins) override {
    bindDwm(("extend frame w" + hex(window.value) + " " +
             rectText({margins.left, margins.top, margins.right, margins.bottom}))
                .c_str());
    if (!desk_.compositionEnabled) return kCompositionDisabled;
    desk_.glassFrames[window.value] = margins;
    return S_OK;
  }

  // --- Shell ---
  HResult comInitialize() override {
    desk_.actions.push_back("com init");
    if (desk_.comInitFails) return static_cast<HResult>(0x80010106);  // RPC_E_CHANGED_MODE
    return desk_.comInitCount++ == 0 ? S_OK : 1;  // S_FALSE when already initialised
  }
  void comUninitialize() override {
    desk_.actions.push_back("com uninit");
    // One too many takes away an apartment that someone else set up: a fault worth seeing.
    --desk_.comInitCount;
  }
  std::unique_ptr<TaskbarList> createTaskbarList() override {
    desk_.actions.push_back("taskbar create");
    if (desk_.taskbarListFails || desk_.comInitCount == 0) return nullptr;
    return std::make_unique<SimTaskbarList>(desk_);
  }

  ShellResult notifyIcon(uint32_t message, const TrayIconData& data) override {
    ++desk_.shellCalls;
    static const char* const kNames[] = {"add", "modify", "delete"};
    desk_.actions.push_back(std::string("tray ") + (message < 3 ? kNames[message] : "?") + " w" +
                            hex(data.window.value));
    const auto key = std::make_pair(data.window.value, data.id);
    const bool present = desk_.trayIcons.count(key) != 0;
    switch (message) {
      case NIM_ADD:
        if (!desk_.trayErrors.empty()) {
          Dword error = desk_.trayErrors.front();
          desk_.trayErrors.pop_front();
          return {false, error};
        }
        if (present) return {false, ERROR_SUCCESS};
        desk_.trayIcons[key] = data;
        return {true, ERROR_SUCCESS};
      case NIM_MODIFY:
        if (!present) return {false, ERROR_SUCCESS};
        desk_.trayIcons[key] = data;
        return {true, ERROR_SUCCESS};
      case NIM_DELETE:
        return {desk_.trayIcons.erase(key) != 0, ERROR_SUCCESS};
      default:
        return {false, ERROR_SUCCESS};
    }
  }
  std::optional<IconHandle> fileSmallIcon(const std::string& path) override {
    ++desk_.shellCalls;
    desk_.actions.push_back("file icon " + path);
    const bool known =
        desk_.windows.isImagePath(path) ||
        std::any_of(desk_.fileIcons.begin(), desk_.fileIcons.end(),
                    [&path](const std::string& file) { return sameIgnoringCase(file, path); });
    if (!known) return std::nullopt;
    return desk_.windows.newIcon();
  }
  Hwnd trayWindow() override {
    ++desk_.windows.portCalls;
    return desk_.shellTrayWindow;
  }
  bool shellExecute(Hwnd, const std::string& verb, const std::string& file, int32_t) override {
    desk_.shellExecuted.push_back(verb + " " + file);
    return true;
  }

  // --- MessageBoxes ---
  int show(Hwnd owner, const std::string& text, const std::string& caption,
           uint32_t type) override {
    desk_.messageBoxes.push_back({text, caption, type, owner});
    desk_.actions.push_back("message box " + caption);
    if (std::function<void()> script = std::exchange(desk_.whileMessageBox, nullptr)) script();
    if (desk_.messageBoxAnswers.empty()) return IDOK;
    int answer = desk_.messageBoxAnswers.front();
    desk_.messageBoxAnswers.pop_front();
    return answer;
  }

 private:
  SimDesktop& desk_;
  ThumbnailId nextThumbnail_ = 0;
};

SimDesktop::SimDesktop() : services_(std::make_unique<Services>(*this)) {
  windows.beforeReaching = [this] { reaching(); };
  services_->files.beforeReaching = [this] { reaching(); };
  windows.ownWindowMoved = [this](Hwnd window, const Rect& before) {
    ownWindowMoved(window, before);
  };
  windows.dialogDpiChanged = [this](Hwnd dialog, uint32_t dpi, const Rect& suggested) {
    dialogDpiChanged(dialog, dpi, suggested);
  };
  windows.virtualScreen = [this] {
    if (monitors.empty()) return windows.screen;
    Rect box = monitors.front().monitor;
    for (const SimMonitor& m : monitors) {
      box = {std::min(box.left, m.monitor.left), std::min(box.top, m.monitor.top),
             std::max(box.right, m.monitor.right), std::max(box.bottom, m.monitor.bottom)};
    }
    return box;
  };
  version.size = sizeof(OsVersionInfo);
  version.majorVersion = 6;
  version.minorVersion = 1;
  version.buildNumber = 7601;
  version.platformId = VER_PLATFORM_WIN32_NT;
  snprintf(version.csdVersion, sizeof version.csdVersion, "Service Pack 1");
  setRegistryDword(RegistryRoot::LocalMachine, "System\\CurrentControlSet\\Control\\Windows",
                   "CSDVersion", 0x100);
  setRegistryDword(RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\DWM", "Composition",
                   1);
  files.makeDirectory("C:\\Programs\\Quillmoor");
  platform_ = std::make_unique<Platform>(Platform{.system = *services_,
                                                  .profile = services_->profile,
                                                  .files = services_->files,
                                                  .monitors = *services_,
                                                  .dwm = *services_,
                                                  .shell = *services_,
                                                  .messageBoxes = *services_,
                                                  .processes = windows,
                                                  .windows = windows,
                                                  .messages = windows,
                                                  .ownWindows = windows,
                                                  .dialogs = windows,
                                                  .listViews = windows,
                                                  .icons = windows,
                                                  .drawing = windows,
                                                  .input = windows,
                                                  .screen = windows,
                                                  .clipboard = windows});
}

SimDesktop::~SimDesktop() = default;

void SimDesktop::setRegistryDword(RegistryRoot root, const std::string& key,
                                  const std::string& name, uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  registry[{static_cast<uint32_t>(root), key}][name] = bytes;
}

void SimDesktop::consoleEvent(Dword event) {
  actions.push_back("console event " + std::to_string(event));
  endsAfterHandler_ =
      event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
  handlerWaiting_ = false;
  // The system's default handler ends the process when no handler takes the event.
  if (!ctrlHandler || ctrlHandler(event) == 0) endsAfterHandler_ = true;
  if (endsAfterHandler_ && !handlerWaiting_) endProcess("console handler returned");
}

void SimDesktop::waitForExit(uint32_t milliseconds) {
  actions.push_back("console handler waits " + std::to_string(milliseconds));
  if (exitDone_) return;
  handlerWaiting_ = true;
  const uint64_t wait = ++waits_;
  windows.at(now + milliseconds, [this, wait] {
    if (!handlerWaiting_ || waits_ != wait) return;
    handlerWaiting_ = false;
    if (endsAfterHandler_) endProcess("console handler gave up");
  });
}

void SimDesktop::exitFinished() {
  actions.push_back("exit finished");
  exitDone_ = true;
  if (!handlerWaiting_) return;
  handlerWaiting_ = false;
  if (endsAfterHandler_) endProcess("console handler returned");
}

void SimDesktop::endProcess(const char* why) {
  if (processEnded) return;
  actions.push_back(why);
  actions.push_back("process ended");
  processEnded = true;
  windows.processGone = true;
  services_->files.processGone = true;
  if (onProcessEnd) onProcessEnd();
}

void SimDesktop::reaching() {
  if (!endAfter_ || processEnded) return;
  if (*endAfter_ > 0) {
    --*endAfter_;
    return;
  }
  endAfter_.reset();
  terminate();
}

void SimDesktop::crash() {
  actions.push_back("unhandled exception");
  windows.crashMode = true;
  if (crashFilter != nullptr) crashFilter(crashContext);
  endProcess("crashed");
}

void SimDesktop::newProcess() {
  mutexesOwned.clear();  // the system let the last one's mutex go
  processEnded = false;
  windows.processGone = false;
  windows.crashMode = false;
  services_->files.processGone = false;
  crashFilter = nullptr;
  crashContext = nullptr;
  ctrlHandler = nullptr;
  exitDone_ = false;
  handlerWaiting_ = false;
  endsAfterHandler_ = false;
}

void SimDesktop::setTaskbar(TaskbarEdge edge, int32_t size) {
  for (SimMonitor& m : monitors) {
    if (!m.primary) continue;
    m.work = m.monitor;
    switch (edge) {
      case TaskbarEdge::Top:
        m.work.top += size;
        break;
      case TaskbarEdge::Left:
        m.work.left += size;
        break;
      case TaskbarEdge::Right:
        m.work.right -= size;
        break;
      case TaskbarEdge::Bottom:
        m.work.bottom -= size;
        break;
    }
    windows.screen = m.monitor;
    windows.workArea = m.work;
  }
  windows.workAreaChanged();
  for (const Hwnd h : windows.ownTopLevelWindows()) {
    windows.sendMessage(h, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  }
}

std::unique_ptr<SimDesktop> SimDesktop::singleMonitor() {
  auto desk = std::make_unique<SimDesktop>();
  desk->monitors.push_back({{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"});
  return desk;
}

std::unique_ptr<SimDesktop> SimDesktop::twoMonitorsPrimarySecond() {
  auto desk = std::make_unique<SimDesktop>();
  desk->monitors.push_back({{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, false, "\\\\.\\DISPLAY2"});
  desk->monitors.push_back({{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"});
  return desk;
}

std::unique_ptr<SimDesktop> SimDesktop::compositionOff() {
  auto desk = singleMonitor();
  desk->compositionEnabled = false;
  desk->setRegistryDword(RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\DWM",
                         "Composition", 0);
  return desk;
}

std::unique_ptr<SimDesktop> SimDesktop::oldSystem() {
  auto desk = singleMonitor();
  desk->version.majorVersion = 5;
  desk->version.minorVersion = 1;
  desk->version.buildNumber = 2600;
  snprintf(desk->version.csdVersion, sizeof desk->version.csdVersion, "Service Pack 3");
  desk->compositionEnabled = false;
  return desk;
}

}  // namespace sim
