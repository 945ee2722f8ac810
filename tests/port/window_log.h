// What reaches one of the program's windows, in order, for the cases about the order of
// messages (everything goes on to the default processing unless the hook answers it), and
// what those cases share: a panel's template, the z-order of some windows, the work area.
#pragma once

#include <algorithm>
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

  // The messages among `wanted`, in the order they came, as numbers (the system sends
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
  static std::string hexMessage(uint32_t message) { return std::to_string(message) + " "; }
  platform::OwnWindows& own_;
};

// A dialog of the program's with OK and Cancel, 200 x 100 units at 10, 20 in its owner.
inline platform::DialogTemplate panelTemplate(uint32_t style) {
  using namespace platform;
  DialogTemplate panel{140, "パネル", 10, 20, 200, 100, style, 0, "ＭＳ Ｐゴシック", 9, {}};
  panel.controls.push_back({ControlClass::Button, IDOK, "決定", 5, 5, 50, 14, BS_DEFPUSHBUTTON});
  panel.controls.push_back({ControlClass::Button, IDCANCEL, "取消", 60, 5, 50, 14, BS_PUSHBUTTON});
  for (ControlTemplate& control : panel.controls) control.style |= WS_TABSTOP;
  return panel;
}

constexpr int32_t kPageText = 1401;

// A panel's page (WS_CHILD) or a pop-up it owns, with one text, 100 x 40 units at 4, 6.
inline platform::DialogTemplate pageTemplate(uint32_t style) {
  using namespace platform;
  DialogTemplate page{141, "", 4, 6, 100, 40, style, 0, "ＭＳ Ｐゴシック", 9, {}};
  page.controls.push_back({ControlClass::Static, kPageText, "頁", 0, 0, 40, 10, SS_LEFT});
  return page;
}

// `ours` in the order enumWindows lists them, top first (the desktop has others besides).
inline std::vector<platform::Hwnd> stacked(platform::Windows& windows,
                                           const std::vector<platform::Hwnd>& ours) {
  std::vector<platform::Hwnd> order;
  for (platform::Hwnd h : windows.enumWindows()) {
    if (std::find(ours.begin(), ours.end(), h) != ours.end()) order.push_back(h);
  }
  return order;
}

inline platform::Rect primaryWorkArea(platform::Monitors& monitors) {
  for (const platform::Monitors::Enumerated& m : monitors.enumerate()) {
    platform::MonitorInfo info;
    info.size = sizeof info;
    if (monitors.getInfo(m.handle, info) && info.flags == platform::MONITORINFOF_PRIMARY) {
      return info.work;
    }
  }
  return {};
}

}  // namespace port_test
