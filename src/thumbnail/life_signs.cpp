#include "thumbnail/life_signs.h"

#include <utility>

using namespace platform;

namespace {

// The previews' polls of one round come within this of each other.
constexpr Dword kRoundMs = 250;
// The title is read once a second, as the detector reads it.
constexpr Dword kTitleEveryMs = 900;
// As the detector reads titles.
constexpr size_t kTitleBuffer = 256;

}  // namespace

Hwnd LifeSigns::Foreground::window() {
  const Dword now = system_.tickCount();
  if (!read_ || now - readAt_ >= kRoundMs) {
    window_ = windows_.getForegroundWindow();
    readAt_ = now;
    read_ = true;
  }
  return window_;
}

bool LifeSigns::seen(bool resting, std::string& title) {
  const bool front = ports_.foreground->window() == target_;
  const bool activated = front && !front_;
  front_ = front;
  if (activated) return true;
  const Dword now = ports_.system.tickCount();
  if (!resting || now - titleReadAt_ < kTitleEveryMs) return false;
  titleReadAt_ = now;
  std::string current = ports_.windows.getWindowText(target_, kTitleBuffer);
  if (current.empty() || current == title) return false;
  title = std::move(current);
  return true;
}
