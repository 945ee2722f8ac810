// Replacing a whole file so that a reader finds the old file or the new one, never a part.
#pragma once

#include <string>

#include "platform/files.h"

// Writes `bytes` to "<path>.new" and moves that over `path`. False when any step failed; the
// old file is then untouched and the copy removed.
bool replaceFile(platform::Files& files, const std::string& path, const std::string& bytes);
