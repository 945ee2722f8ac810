#include "platform/win32/win32_platform.h"

#include <io.h>
#include <winver.h>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace win32 {

using namespace platform;

namespace {

// version.dll is no known DLL: bound at run time from the system folder.
struct VersionApi {
  DWORD(WINAPI* infoSize)(LPCSTR, LPDWORD) = nullptr;
  BOOL(WINAPI* info)(LPCSTR, DWORD, DWORD, LPVOID) = nullptr;
  BOOL(WINAPI* query)(LPCVOID, LPCSTR, LPVOID*, PUINT) = nullptr;
};

const VersionApi& versionApi() {
  static const VersionApi api = [] {
    VersionApi bound;
    HMODULE library = loadSystemLibrary(L"version.dll");  // kept for the process's life
    resolve(library, "GetFileVersionInfoSizeA", bound.infoSize);
    resolve(library, "GetFileVersionInfoA", bound.info);
    resolve(library, "VerQueryValueA", bound.query);
    return bound;
  }();
  return api;
}

HKEY rootKey(RegistryRoot root) {
  return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

class Win32VersionBlock : public VersionBlock {
 public:
  explicit Win32VersionBlock(std::vector<char> data) : data_(std::move(data)) {}
  std::optional<std::string> query(const std::string& subBlock) const override {
    void* value = nullptr;
    UINT length = 0;
    const VersionApi& api = versionApi();
    if (!api.query || !api.query(data_.data(), subBlock.c_str(), &value, &length) ||
        value == nullptr) {
      return std::nullopt;
    }
    // Strings report their length in characters including the terminator; keep the bytes
    // up to the block's end and let the caller cut at the terminator.
    const char* begin = static_cast<const char*>(value);
    const char* end = data_.data() + data_.size();
    size_t available = begin >= data_.data() && begin < end ? static_cast<size_t>(end - begin) : 0;
    return std::string(begin, std::min<size_t>(length, available));
  }

 private:
  std::vector<char> data_;
};

}  // namespace

Win32System::Win32System() = default;

Win32System::~Win32System() {
  if (socketsStarted_) WSACleanup();
}

bool Win32System::initSockets() {
  WSADATA data;
  socketsStarted_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
  return socketsStarted_;
}

bool Win32System::getVersion(OsVersionInfo& info) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)) != FALSE;
#pragma GCC diagnostic pop
}

System::RegistryRead Win32System::readRegistryValue(RegistryRoot root, const std::string& subKey,
                                                    Dword access, const std::string& valueName,
                                                    size_t maxBytes) {
  RegistryRead result;
  HKEY key = nullptr;
  LONG error = RegOpenKeyExA(rootKey(root), subKey.c_str(), 0, access, &key);
  if (error != ERROR_SUCCESS) {
    result.error = static_cast<Dword>(error);
    return result;
  }
  result.opened = true;
  std::string data(maxBytes, '\0');
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(maxBytes);
  error = RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()), &size);
  RegCloseKey(key);
  result.error = static_cast<Dword>(error);
  if (error == ERROR_SUCCESS) {
    data.resize(size);
    result.type = type;
    result.data = std::move(data);
  }
  return result;
}

MutexResult Win32System::createMutex(bool initialOwner, const std::string& name) {
  // The handle is held until the process ends.
  HANDLE mutex = CreateMutexA(nullptr, initialOwner ? TRUE : FALSE, name.c_str());
  return {mutex != nullptr, GetLastError()};
}

bool Win32System::allocConsole() {
  return AllocConsole() != 0;
}

void Win32System::freeConsole() {
  fflush(stdout);
  FreeConsole();
}

void Win32System::redirectStdStreamsToConsole() {
  if (freopen("CONOUT$", "w", stdout) == nullptr) {
    redirectStdStreamsToNull();
  } else {
    stdoutDiscarded_ = false;
  }
  freopen("CONIN$", "r", stdin);
}

void Win32System::redirectStdStreamsToNull() {
  // "/dev/nul" resolves to the null device on Windows; "NUL" is the fallback where it doesn't.
  stdoutDiscarded_ =
      freopen("/dev/nul", "w", stdout) != nullptr || freopen("NUL", "w", stdout) != nullptr;
  if (freopen("/dev/nul", "r", stdin) == nullptr) freopen("NUL", "r", stdin);
}

namespace {

// Set once on the user-interface thread before the system can call it; read on its thread.
ConsoleCtrlHandler& consoleHandler() {
  static ConsoleCtrlHandler handler;
  return handler;
}

BOOL WINAPI onConsoleCtrl(DWORD event) {
  return consoleHandler()(event) ? TRUE : FALSE;
}

// Manual reset: once the exit is done, every wait returns at once.
HANDLE exitEvent() {
  static const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return event;
}

}  // namespace

void Win32System::setConsoleCtrlHandler(ConsoleCtrlHandler handler) {
  exitEvent();  // made here, on the user-interface thread, before any handler runs
  consoleHandler() = std::move(handler);
  SetConsoleCtrlHandler(onConsoleCtrl, TRUE);
}

namespace {

void (*crashFilter)(void*) = nullptr;
void* crashContext = nullptr;

LONG WINAPI onCrash(EXCEPTION_POINTERS*) {
  // A crash inside the filter itself ends the process without a second round.
  if (!enterCrashMode()) return EXCEPTION_CONTINUE_SEARCH;
  if (crashFilter != nullptr) crashFilter(crashContext);
  return EXCEPTION_CONTINUE_SEARCH;  // the system ends the process as it would have
}

}  // namespace

void Win32System::setCrashFilter(void (*filter)(void* context), void* context) {
  crashFilter = filter;
  crashContext = context;
  SetUnhandledExceptionFilter(onCrash);
}

void Win32System::exitFinished() {
  if (exitEvent() != nullptr) SetEvent(exitEvent());
}

void Win32System::waitForExit(Dword milliseconds) {
  if (exitEvent() != nullptr) WaitForSingleObject(exitEvent(), milliseconds);
}

void Win32System::writeStdout(const std::string& bytes) {
  // The null device drops the lines anyway; writing them cost dozens of round trips to the
  // window server per line under Wine (a console write tried first, then the C library's
  // text-mode checks).
  if (stdoutDiscarded_) return;
  fflush(stdout);
  // A console decodes bytes with its own code page, which the user's may not be: give it
  // UTF-16. Files and pipes get the bytes as they are.
  // (GetConsoleMode needs read access, which a CONOUT$ opened for writing lacks; the null
  // device is a character device too, and there WriteConsoleW fails.)
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdout)));
  if (handle != INVALID_HANDLE_VALUE && GetFileType(handle) == FILE_TYPE_CHAR) {
    const std::wstring text = fromProgramText(bytes);
    DWORD written = 0;
    if (WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
      return;
    }
  }
  fwrite(bytes.data(), 1, bytes.size(), stdout);
  fflush(stdout);
}

bool Win32System::setCurrentDirectory(const std::string& path) {
  return SetCurrentDirectoryA(path.c_str()) != 0;
}

std::string Win32System::getCurrentDirectory() {
  char buffer[261] = {};
  DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

std::vector<std::string> Win32System::commandLine() {
  std::vector<std::string> arguments;
  for (int i = 0; i < __argc; ++i) arguments.emplace_back(__argv[i] ? __argv[i] : "");
  return arguments;
}

std::string Win32System::moduleFileName() {
  char buffer[260] = {};
  DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, std::min<DWORD>(length, sizeof buffer));
}

Dword Win32System::versionInfoSize(const std::string& path) {
  const VersionApi& api = versionApi();
  DWORD ignored = 0;
  return api.infoSize ? api.infoSize(path.c_str(), &ignored) : 0;
}

std::unique_ptr<VersionBlock> Win32System::versionInfo(const std::string& path, Dword size) {
  const VersionApi& api = versionApi();
  std::vector<char> data(size + 1, '\0');
  if (!api.info || !api.info(path.c_str(), 0, size, data.data())) return nullptr;
  return std::make_unique<Win32VersionBlock>(std::move(data));
}

bool Win32System::isLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != 0;
}

Dword Win32System::sessionId() {
  DWORD session = 0;
  return ProcessIdToSessionId(GetCurrentProcessId(), &session) ? session : 0;
}

void Win32System::sleep(Dword milliseconds) {
  Sleep(milliseconds);
}

HMODULE loadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(folder, length);
  path += L'\\';
  path += name;
  return LoadLibraryW(path.c_str());
}

Dword Win32System::tickCount() {
  return GetTickCount();
}

}  // namespace win32
