#include "base/program_folder.h"

#include "base/diagnostic_log.h"
#include "text/mbcs.h"

std::string programFolder(const std::string& programPath, platform::System& system) {
  size_t slash =
      text::findLastChar(programPath, '\\', [&](unsigned char b) { return system.isLeadByte(b); });
  return slash == std::string::npos ? std::string() : programPath.substr(0, slash);
}

void initProgramFolder(const std::string& programPath, platform::System& system) {
  diag::print("PORTABLE VERSION START\n");
  std::string folder = programFolder(programPath, system);
  system.setCurrentDirectory(folder);  // on failure both files are used where we are
  diag::print("CurrentDir=%s", folder.c_str());
}

std::string pathInCurrentDirectory(platform::System& system, const std::string& name) {
  return system.getCurrentDirectory() + "\\" + name;
}
