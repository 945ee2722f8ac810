#include "platform/sim/sim_file_system.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/sim/cp932.h"

namespace sim {

namespace {

bool hasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// A double-byte character starts at `i`: its trail byte (which may be 0x5C) belongs to it.
bool doubleByteAt(const std::string& path, size_t i) {
  return isCp932LeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size();
}

bool endsWithBackslash(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); i += doubleByteAt(path, i) ? 2 : 1) last = i;
  return last != std::string::npos && path[last] == '\\';
}

}  // namespace

SimFileSystem::SimFileSystem() {
  std::string templ = (std::filesystem::temp_directory_path() / "quillmoor-sim-XXXXXX").string();
  if (mkdtemp(templ.data()) == nullptr) {
    throw std::runtime_error("cannot create the simulated desktop's folder");
  }
  root_ = templ;
  std::filesystem::create_directories(root_ / "C");
}

SimFileSystem::~SimFileSystem() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path SimFileSystem::hostPath(const std::string& windowsPath) const {
  std::string full = windowsPath;
  if (!hasDrive(full)) {
    std::string base = currentDirectory_;
    if (!full.empty() && full[0] == '\\') {
      base = currentDirectory_.substr(0, 2);  // "\x" is relative to the drive's root
    } else if (!base.empty() && !endsWithBackslash(base)) {
      base += '\\';
    }
    full = base + full;
  }
  const std::filesystem::path drive = root_ / std::string(1, static_cast<char>(toupper(full[0])));
  std::filesystem::path host = drive;
  std::string part;
  for (size_t i = 2; i <= full.size(); ++i) {
    if (i == full.size() || full[i] == '\\' || full[i] == '/') {
      if (part == "..") {
        if (host != drive) host = host.parent_path();  // never above the drive's root
      } else if (!part.empty() && part != ".") {
        host /= part;
      }
      part.clear();
    } else {
      part += full[i];
      if (doubleByteAt(full, i)) part += full[++i];
    }
  }
  return host;
}

bool SimFileSystem::setCurrentDirectory(const std::string& windowsPath) {
  if (windowsPath.empty()) return false;
  std::error_code error;
  if (!std::filesystem::is_directory(hostPath(windowsPath), error)) return false;
  std::string full = windowsPath;
  if (!hasDrive(full)) {
    // Rebuild the absolute form from the mapped host path.
    std::filesystem::path rel = std::filesystem::relative(hostPath(windowsPath), root_, error);
    full.clear();
    for (const auto& piece : rel) {
      if (full.empty()) {
        full = piece.string() + ":";
      } else {
        full += "\\" + piece.string();
      }
    }
  }
  while (full.size() > 3 && endsWithBackslash(full)) full.pop_back();
  if (full.size() == 2) full += "\\";
  currentDirectory_ = full;
  return true;
}

void SimFileSystem::makeDirectory(const std::string& windowsPath) {
  std::filesystem::create_directories(hostPath(windowsPath));
}

void SimFileSystem::writeFile(const std::string& windowsPath, const std::string& bytes) {
  std::filesystem::path host = hostPath(windowsPath);
  std::filesystem::create_directories(host.parent_path());
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::optional<std::string> SimFileSystem::readFile(const std::string& windowsPath) const {
  std::ifstream in(hostPath(windowsPath), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool SimFileSystem::exists(const std::string& windowsPath) const {
  std::error_code error;
  return std::filesystem::exists(hostPath(windowsPath), error);
}

}  // namespace sim
