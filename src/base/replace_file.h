// Replacing a whole file so that a reader finds the old file or the new one, never a part.
// Where no copy can be made beside the file (a folder in which only the existing files may be
// written), the file is written in place instead: a failure part-way then leaves it cut short.
#pragma once

#include <memory>
#include <string>

#include "platform/files.h"

// A new version of a file being written: "<path>.new", or the file itself.
struct FileDraft {
  std::unique_ptr<platform::WritableFile> file;  // null when neither could be created
  std::string target;
  bool inPlace = false;
};

// Creates "<path>.new", or, when that cannot be created, opens `path` itself for writing.
FileDraft startFile(platform::Files& files, const std::string& path);
// Closes the draft and moves a copy over its target. False when the draft could not be made,
// `written` is false or any step failed; a copy is then removed and the old file untouched.
bool finishFile(platform::Files& files, FileDraft& draft, bool written);
// Discards a draft that will not be finished (a copy is removed).
void dropFile(platform::Files& files, FileDraft& draft);

// startFile, one write of `bytes`, finishFile.
bool replaceFile(platform::Files& files, const std::string& path, const std::string& bytes);
