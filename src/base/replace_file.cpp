#include "base/replace_file.h"

#include "base/diagnostic_log.h"

namespace {

std::string copyOf(const std::string& path) {
  return path + ".new";
}

}  // namespace

FileDraft startFile(platform::Files& files, const std::string& path) {
  FileDraft draft;
  draft.target = path;
  draft.file = files.create(copyOf(path));
  if (draft.file) return draft;
  draft.file = files.create(path);
  draft.inPlace = draft.file != nullptr;
  if (draft.inPlace) {
    diag::print("%s cannot be created; %s is written in place\n", copyOf(path).c_str(),
                path.c_str());
  }
  return draft;
}

bool finishFile(platform::Files& files, FileDraft& draft, bool written) {
  if (!draft.file) return false;
  const bool closed = draft.file->close();
  draft.file.reset();
  if (draft.inPlace) return written && closed;
  if (written && closed && files.replace(copyOf(draft.target), draft.target)) return true;
  files.remove(copyOf(draft.target));
  return false;
}

void dropFile(platform::Files& files, FileDraft& draft) {
  if (!draft.file) return;
  draft.file.reset();
  if (!draft.inPlace) files.remove(copyOf(draft.target));
}

bool replaceFile(platform::Files& files, const std::string& path, const std::string& bytes) {
  FileDraft draft = startFile(files, path);
  const bool written = draft.file && draft.file->write(bytes);
  return finishFile(files, draft, written);
}
