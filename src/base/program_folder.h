// The program's folder: where its two INI files live.
#pragma once

#include <string>

#include "platform/system.h"

// The folder part of the program path: everything before its last backslash (a 0x5C trail
// byte of a double-byte character does not count); empty without a backslash.
std::string programFolder(const std::string& programPath, platform::System& system);

// Makes the program's folder the current directory and logs it.
void initProgramFolder(const std::string& programPath, platform::System& system);

// current directory + "\" + name, as the INI files' owners build their paths.
std::string pathInCurrentDirectory(platform::System& system, const std::string& name);
