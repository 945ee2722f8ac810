// What reaches one of the program's windows, in order, for the cases about the order of
// messages. Everything goes on to the default processing unless the hook answers it.
#pragma once

#include <algorithm>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace port_test {

struct Seen {
  platform::Hwnd window;
  uint32_t message;
  platform::WParam wParam;
  platform::LParam lParam;
  platform::WindowPos pos;  // a copy, for the position messages
};

class WindowLog : public platform::MessageHandler {
 public:
  using Hook = std::function<std::optional<platform::LResult>(platform::Hwnd, uint32_t,
                                                              platform::WParam, platform::LParam)>;
  explicit WindowLog(platform::OwnWindows& own) : own_(own) {}
  Hook on;
  std::vector<Seen> log;

  platform::LResult onMessage(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                              platform::LParam lParam) override {
    Seen seen{window, message, wParam, lParam, {}};
    if (message == platform::WM_WINDOWPOSCHANGING || message == platform::WM_WINDOWPOSCHANGED) {
      seen.pos = *reinterpret_cast<const platform::WindowPos*>(lParam);
    }
    log.push_back(seen);
    if (on) {
      if (std::optional<platform::LResult> answer = on(window, message, wParam, lParam)) {
        return *answer;
      }
    }
    return own_.defaultProc(window, message, wParam, lParam);
  }

  // The messages among `wanted`, in the order they came, as hex numbers (the system sends
  // others besides, which the simulated desktop does not).
  std::string only(std::initializer_list<uint32_t> wanted) const {
    std::string out;
    for (const Seen& s : log) {
      if (std::find(wanted.begin(), wanted.end(), s.message) != wanted.end()) {
        out += hexMessage(s.message);
      }
    }
    return out;
  }
  static std::string names(std::initializer_list<uint32_t> messages) {
    std::string out;
    for (uint32_t m : messages) out += hexMessage(m);
    return out;
  }
  size_t count(uint32_t message) const {
    return static_cast<size_t>(std::count_if(
        log.begin(), log.end(), [message](const Seen& s) { return s.message == message; }));
  }
  const Seen* last(uint32_t message) const {
    for (auto it = log.rbegin(); it != log.rend(); ++it) {
      if (it->message == message) return &*it;
    }
    return nullptr;
  }

 private:
  static std::string hexMessage(uint32_t message) {
    char text[16];
    std::snprintf(text, sizeof text, "%x ", message);
    return text;
  }
  platform::OwnWindows& own_;
};

}  // namespace port_test
