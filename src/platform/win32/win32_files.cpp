#include "platform/win32/win32_platform.h"

namespace win32 {

namespace {

class Win32WritableFile : public platform::WritableFile {
 public:
  explicit Win32WritableFile(HANDLE file) : file_(file) {}
  ~Win32WritableFile() override { close(); }

  bool write(const std::string& bytes) override {
    if (file_ == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    return WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
  }

  bool close() override {
    if (file_ == INVALID_HANDLE_VALUE) return false;
    bool ok = FlushFileBuffers(file_) != 0;
    ok = CloseHandle(file_) != 0 && ok;
    file_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE file_;
};

}  // namespace

platform::FileContents Win32Files::read(const std::string& path, size_t maxBytes) {
  using Status = platform::FileContents::Status;
  platform::FileContents contents;
  // Others may keep reading and writing it meanwhile, as with the profile functions.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    contents.status = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                          ? Status::Missing
                          : Status::Unreadable;
    return contents;
  }
  contents.status = Status::Unreadable;
  LARGE_INTEGER size{};
  const bool sized = GetFileSizeEx(file, &size) != 0;
  if (sized && static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    contents.status = Status::TooLarge;
  } else if (sized && size.QuadPart < (1LL << 30)) {
    contents.bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    DWORD got = 1;
    while (done < contents.bytes.size() && got != 0 &&
           ReadFile(file, contents.bytes.data() + done,
                    static_cast<DWORD>(contents.bytes.size() - done), &got, nullptr)) {
      done += got;
    }
    if (done == contents.bytes.size()) contents.status = Status::Read;
  }
  CloseHandle(file);
  if (contents.status != Status::Read) contents.bytes.clear();
  return contents;
}

std::unique_ptr<platform::WritableFile> Win32Files::create(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32WritableFile>(file);
}

bool Win32Files::replace(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32Files::remove(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0;
}

}  // namespace win32
