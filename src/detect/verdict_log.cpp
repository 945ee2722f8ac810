#include "detect/verdict_log.h"

#include <algorithm>

#include "base/diagnostic_log.h"

namespace {

const char* verdictText(WindowVerdict verdict) {
  switch (verdict) {
    case WindowVerdict::Cloaked:
      return "cloaked";
    case WindowVerdict::NoTitle:
      return "no title";
    case WindowVerdict::ProgramManager:
      return "Program Manager";
    case WindowVerdict::NoProcessName:
      return "no process name";
    case WindowVerdict::OwnProgram:
      return "own program";
    case WindowVerdict::EmptyRect:
      return "empty rectangle";
    case WindowVerdict::Accepted:
    case WindowVerdict::OwnPage:
    case WindowVerdict::NotAppWindow:
      break;
  }
  return nullptr;
}

}  // namespace

void VerdictLog::note(platform::Hwnd window, WindowVerdict verdict) {
  const char* text = verdictText(verdict);
  if (text == nullptr) return;
  const auto [known, added] = logged_.try_emplace(window.value, verdict);
  if (!added) {
    if (known->second == verdict) return;
    known->second = verdict;
  }
  diag::print("Scan skipped (%s) handle=0x%08x\n", text, window.value);
}

void VerdictLog::keepOnly(const std::vector<platform::Hwnd>& present) {
  std::erase_if(logged_, [&present](const auto& entry) {
    return std::none_of(present.begin(), present.end(),
                        [&entry](platform::Hwnd h) { return h.value == entry.first; });
  });
}
