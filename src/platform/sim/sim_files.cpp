#include "platform/sim/sim_files.h"

#include <cstdio>
#include <filesystem>

namespace sim {

namespace {

class SimWritableFile : public platform::WritableFile {
 public:
  SimWritableFile(FILE* file, long long& budget) : file_(file), budget_(budget) {}
  ~SimWritableFile() override { close(); }

  bool write(const std::string& bytes) override {
    if (file_ == nullptr) return false;
    size_t allowed = bytes.size();
    if (budget_ >= 0 && static_cast<long long>(allowed) > budget_) {
      allowed = static_cast<size_t>(budget_);
    }
    size_t written = fwrite(bytes.data(), 1, allowed, file_);
    if (budget_ >= 0) budget_ -= static_cast<long long>(written);
    return written == bytes.size();
  }

  bool close() override {
    if (file_ == nullptr) return false;
    bool ok = fclose(file_) == 0;
    file_ = nullptr;
    return ok;
  }

 private:
  FILE* file_;
  long long& budget_;
};

}  // namespace

bool SimFiles::isLocked(const std::filesystem::path& host) const {
  for (const std::string& path : fs_.lockedFiles) {
    if (fs_.hostPath(path) == host) return true;
  }
  return false;
}

bool SimFiles::inClosedFolder(const std::filesystem::path& host) const {
  for (const std::string& folder : fs_.closedFolders) {
    if (fs_.hostPath(folder) == host.parent_path()) return true;
  }
  return false;
}

platform::FileContents SimFiles::read(const std::string& path, size_t maxBytes) {
  actions_.push_back("file read " + path);
  platform::FileContents contents;
  std::error_code error;
  const std::filesystem::path host = fs_.hostPath(path);
  if (!std::filesystem::exists(host, error)) return contents;
  contents.status = platform::FileContents::Status::Unreadable;
  if (fs_.unreadableFiles.count(path) != 0 || isLocked(host) ||
      !std::filesystem::is_regular_file(host, error)) {
    return contents;
  }
  const std::uintmax_t size = std::filesystem::file_size(host, error);
  if (!error && size > maxBytes) {
    contents.status = platform::FileContents::Status::TooLarge;
    return contents;
  }
  std::optional<std::string> bytes = fs_.readFile(path);
  if (!bytes) return contents;
  contents.status = platform::FileContents::Status::Read;
  contents.bytes = std::move(*bytes);
  return contents;
}

std::unique_ptr<platform::WritableFile> SimFiles::create(const std::string& path) {
  if (beforeReaching) beforeReaching();
  if (processGone) return nullptr;
  actions_.push_back("file create " + path);
  std::error_code error;
  std::filesystem::path host = fs_.hostPath(path);
  if (std::filesystem::is_directory(host, error) || isLocked(host)) return nullptr;
  if (inClosedFolder(host) && !std::filesystem::exists(host, error)) return nullptr;
  FILE* file = fopen(host.c_str(), "wb");
  if (file == nullptr) return nullptr;
  return std::make_unique<SimWritableFile>(file, fs_.writeBudget);
}

bool SimFiles::replace(const std::string& from, const std::string& to) {
  if (beforeReaching) beforeReaching();
  if (processGone) return false;
  actions_.push_back("file replace " + from + " -> " + to);
  std::error_code error;
  std::filesystem::path target = fs_.hostPath(to);
  const std::filesystem::path source = fs_.hostPath(from);
  if (std::filesystem::is_directory(target, error) || isLocked(target) || isLocked(source) ||
      inClosedFolder(target) || inClosedFolder(source)) {
    return false;
  }
  std::filesystem::rename(source, target, error);
  return !error;
}

bool SimFiles::remove(const std::string& path) {
  if (beforeReaching) beforeReaching();
  if (processGone) return false;
  actions_.push_back("file remove " + path);
  std::error_code error;
  const std::filesystem::path host = fs_.hostPath(path);
  if (isLocked(host) || inClosedFolder(host)) return false;
  return std::filesystem::remove(host, error);
}

}  // namespace sim
