#include "keeping/visible_place.h"

#include <algorithm>

using namespace platform;

namespace visible_place {

namespace {

constexpr char kTaskbarClass[] = "Shell_TrayWnd";
constexpr char kChromiumPrefix[] = "Chrome_WidgetWin_";

bool isEmpty(const Rect& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

Rect intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

void subtract(std::vector<Rect>& area, const Rect& cut) {
  std::vector<Rect> left;
  for (const Rect& r : area) {
    const Rect o = intersect(r, cut);
    if (isEmpty(o)) {
      left.push_back(r);
      continue;
    }
    for (const Rect& part :
         {Rect{r.left, r.top, r.right, o.top}, Rect{r.left, o.bottom, r.right, r.bottom},
          Rect{r.left, o.top, o.left, o.bottom}, Rect{o.right, o.top, r.right, o.bottom}}) {
      if (!isEmpty(part)) left.push_back(part);
    }
  }
  area = std::move(left);
}

// The top of a window of `height` whose column `x` should lie where no monitor shows it;
// false when every row of that column is on some monitor.
bool unseenTop(const Screen& screen, int32_t x, int32_t height, int32_t& top) {
  std::vector<std::pair<int32_t, int32_t>> shown;
  for (const MonitorInfo& m : screen.monitors) {
    if (m.monitor.left <= x && x < m.monitor.right)
      shown.push_back({m.monitor.top, m.monitor.bottom});
  }
  std::sort(shown.begin(), shown.end());
  int32_t y = screen.box.top;
  for (const auto& [from, to] : shown) {
    if (from > y) break;
    y = std::max(y, to);
  }
  if (y < screen.box.bottom) {  // unseen from y down to the next monitor or the bottom
    top = y;
    return true;
  }
  if (!shown.empty() && shown.front().first > screen.box.top) {  // unseen above the first
    top = shown.front().first - height;
    return true;
  }
  return false;
}

// Beside the top of the work area of the monitor at column x.
int32_t workTop(const Screen& screen, int32_t x) {
  for (const MonitorInfo& m : screen.monitors) {
    if (m.monitor.left <= x && x < m.monitor.right) return m.work.top;
  }
  return screen.box.top;
}

// The work area of the monitor a rectangle lies on most, as a maximised window is clipped.
Rect workAreaOf(const Screen& screen, const Rect& r) {
  Rect best = r;
  int64_t most = -1;
  for (const MonitorInfo& m : screen.monitors) {
    const Rect o = intersect(r, m.monitor);
    const int64_t area = isEmpty(o) ? 0 : int64_t{o.width()} * o.height();
    if (area > most) {
      most = area;
      best = m.work;
    }
  }
  return best;
}

}  // namespace

Screen readScreen(Monitors& monitors) {
  Screen screen;
  for (const Monitors::Enumerated& e : monitors.enumerate()) {
    MonitorInfo info;
    info.size = sizeof(MonitorInfo);
    if (!monitors.getInfo(e.handle, info)) continue;
    screen.box = screen.monitors.empty() ? info.monitor
                                         : Rect{std::min(screen.box.left, info.monitor.left),
                                                std::min(screen.box.top, info.monitor.top),
                                                std::max(screen.box.right, info.monitor.right),
                                                std::max(screen.box.bottom, info.monitor.bottom)};
    screen.monitors.push_back(info);
  }
  return screen;
}

std::vector<Place> places(const Screen& screen, int32_t width, int32_t height) {
  const int32_t right = screen.box.right - 1;        // the window's left column there
  const int32_t left = screen.box.left + 1 - width;  // its right column at the box's left
  std::vector<Place> found;
  int32_t top = 0;
  if (unseenTop(screen, right, height, top)) {
    found.push_back({{right, top, right + width, top + height}, "unseen part, right"});
  }
  if (unseenTop(screen, screen.box.left, height, top)) {
    found.push_back({{left, top, left + width, top + height}, "unseen part, left"});
  }
  top = workTop(screen, right);
  found.push_back({{right, top, right + width, top + height}, "right edge"});
  top = workTop(screen, screen.box.left);
  found.push_back({{left, top, left + width, top + height}, "left edge"});
  return found;
}

bool judgedVisible(Windows& windows, const Screen& screen, Hwnd window) {
  Rect own;
  if (!windows.isWindowVisible(window) || windows.isIconic(window) ||
      !windows.getWindowRect(window, own)) {
    return false;
  }
  const bool gecko = windows.getClassName(window).rfind(kChromiumPrefix, 0) != 0;
  // Only what lies over the part of it inside the screen matters; the rectangle is asked first,
  // as it rules out most windows in one call (the minimised ones too).
  const Rect inside = intersect(own, screen.box);
  if (isEmpty(inside)) return false;
  std::vector<Rect> left{inside};
  for (const Hwnd h : windows.enumWindows()) {
    if (h == window) break;
    Rect r;
    if (!windows.getWindowRect(h, r) || isEmpty(intersect(r, inside))) continue;
    if (!windows.isWindowVisible(h) || windows.isIconic(h)) continue;
    const uint32_t style = windows.getWindowLong(h, GWL_STYLE);
    const uint32_t exStyle = windows.getWindowLong(h, GWL_EXSTYLE);
    if ((exStyle & WS_EX_TRANSPARENT) != 0) continue;
    if ((exStyle & WS_EX_TOOLWINDOW) != 0 || (style & WS_POPUP) != 0) {
      // Only these need the class: most windows are neither.
      const std::string name = windows.getClassName(h);
      const bool taskbar = name == kTaskbarClass;
      if ((exStyle & WS_EX_TOOLWINDOW) != 0 && !taskbar) continue;
      if ((style & WS_POPUP) != 0 && !taskbar && (gecko || name.rfind(kChromiumPrefix, 0) != 0)) {
        continue;
      }
    }
    if ((style & WS_MAXIMIZE) != 0) r = intersect(r, workAreaOf(screen, r));
    subtract(left, r);
    if (left.empty()) return false;
  }
  return !left.empty();
}

}  // namespace visible_place
