// Windows paths of the simulated desktop mapped onto a real temporary folder.
// "C:\Programs\Quillmoor\a.ini" lives at <root>/C/Programs/Quillmoor/a.ini; a path without
// a drive is taken relative to the simulated current directory.
// The conditions of the disk are the test's: a full disk, files another program holds, folders
// where no file may be created.
// Not modelled: case-insensitive names, UNC paths, attributes, sharing modes.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>

namespace sim {

class SimFileSystem {
 public:
  SimFileSystem();   // creates a fresh temporary root
  ~SimFileSystem();  // removes it
  SimFileSystem(const SimFileSystem&) = delete;
  SimFileSystem& operator=(const SimFileSystem&) = delete;

  const std::filesystem::path& root() const { return root_; }

  // The simulated current directory, a Windows path such as "C:\Programs\Quillmoor".
  const std::string& currentDirectory() const { return currentDirectory_; }
  // Fails (false) when the folder does not exist.
  bool setCurrentDirectory(const std::string& windowsPath);

  // The host path of a Windows path (absolute or relative to the current directory).
  std::filesystem::path hostPath(const std::string& windowsPath) const;

  // Helpers for tests and the other services.
  void makeDirectory(const std::string& windowsPath);
  void writeFile(const std::string& windowsPath, const std::string& bytes);
  std::optional<std::string> readFile(const std::string& windowsPath) const;
  bool exists(const std::string& windowsPath) const;

  // A write that fails after this many more bytes (disk full); -1 = never.
  long long writeBudget = -1;
  // Files that the program's whole-file reads cannot read, as when another program holds
  // them locked (Windows paths as the program names them).
  std::set<std::string> unreadableFiles;
  // Files another program holds open without sharing: no read, create, replace or removal.
  std::set<std::string> lockedFiles;
  // Folders where the user may not create or remove files, only write those already there.
  std::set<std::string> closedFolders;

 private:
  std::filesystem::path root_;
  std::string currentDirectory_ = "C:\\";
};

}  // namespace sim
