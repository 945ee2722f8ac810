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

bool Win32Files::remove(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

}  // namespace win32
