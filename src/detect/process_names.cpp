#include "detect/process_names.h"

#include <algorithm>

std::string ProcessNames::of(platform::Hwnd window, platform::Dword processId) {
  auto found = known_.find(window.value);
  // A handle seen with another process is a new window that reuses it.
  if (found != known_.end() && found->second.processId == processId) return found->second.name;
  std::string name = processes_.baseName(processId);
  if (name.empty()) {
    if (found != known_.end()) known_.erase(found);
  } else {
    known_[window.value] = {processId, name};
  }
  return name;
}

void ProcessNames::keepOnly(const std::vector<platform::Hwnd>& present) {
  std::erase_if(known_, [&present](const auto& entry) {
    return std::none_of(present.begin(), present.end(),
                        [&entry](platform::Hwnd h) { return h.value == entry.first; });
  });
}
