// The simulated other programs: browser engines judging whether their windows can be seen,
// and the user's Win+D.
#include <algorithm>
#include <vector>

#include "platform/sim/sim_programs.h"

namespace sim {

using namespace platform;

namespace {

constexpr char kChromiumPrefix[] = "Chrome_WidgetWin_";
constexpr char kGeckoClass[] = "MozillaWindowClass";
constexpr char kTaskbarClass[] = "Shell_TrayWnd";

bool chromium(const std::string& className) {
  return className.rfind(kChromiumPrefix, 0) == 0;
}

bool isEmpty(const Rect& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

Rect intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

// What is left of `area` once `cut` is taken away, as up to four rectangles.
void subtract(std::vector<Rect>& area, const Rect& cut) {
  std::vector<Rect> left;
  for (const Rect& r : area) {
    const Rect overlap = intersect(r, cut);
    if (isEmpty(overlap)) {
      left.push_back(r);
      continue;
    }
    const Rect parts[] = {{r.left, r.top, r.right, overlap.top},
                          {r.left, overlap.bottom, r.right, r.bottom},
                          {r.left, overlap.top, overlap.left, overlap.bottom},
                          {overlap.right, overlap.top, r.right, overlap.bottom}};
    for (const Rect& part : parts) {
      if (!isEmpty(part)) left.push_back(part);
    }
  }
  area = std::move(left);
}

}  // namespace

bool SimPrograms::isEngine(const SimWindow& w) const {
  return !w.own && !w.parent && (chromium(w.className) || w.className == kGeckoClass);
}

bool SimPrograms::occludes(const SimWindow& w, bool gecko) const {
  if (!w.alive || !w.visible() || w.iconic() || (w.exStyle & WS_EX_TRANSPARENT) != 0) return false;
  const bool taskbar = w.className == kTaskbarClass;
  if ((w.exStyle & WS_EX_TOOLWINDOW) != 0 && !taskbar) return false;
  if ((w.exStyle & WS_EX_LAYERED) != 0 && w.alpha != uint8_t{255}) return false;
  if ((w.style & WS_POPUP) != 0 && !taskbar && (gecko || !chromium(w.className))) return false;
  return !isEmpty(w.rect);
}

bool SimPrograms::engineDraws(Hwnd window) const {
  const SimWindow* engine = windows_.live(window);
  if (engine == nullptr || !engine->visible() || engine->iconic()) return false;
  const bool gecko = engine->className == kGeckoClass;
  std::vector<Rect> left{windows_.virtualScreen()};
  for (const Hwnd h : windows_.zOrder()) {
    if (h == window) break;
    const SimWindow* w = windows_.live(h);
    if (w == nullptr || !occludes(*w, gecko)) continue;
    subtract(left, w->zoomed() ? intersect(w->rect, windows_.workArea) : w->rect);
  }
  return std::any_of(left.begin(), left.end(),
                     [&](const Rect& r) { return !isEmpty(intersect(r, engine->rect)); });
}

void SimPrograms::judgeEngines(uint64_t ms) {
  for (const Hwnd h : windows_.zOrder()) {
    const SimWindow* w = windows_.live(h);
    if (w == nullptr || !isEngine(*w)) continue;
    EngineRecord& record = engines_[h.value];
    record.drawing = engineDraws(h);
    if (record.drawing) {
      record.stretchMs = 0;
      continue;
    }
    record.notDrawnMs += ms;
    record.stretchMs += ms;
    record.longestNotDrawnMs = std::max(record.longestNotDrawnMs, record.stretchMs);
  }
}

const SimPrograms::EngineRecord* SimPrograms::engineRecord(Hwnd window) const {
  const auto found = engines_.find(window.value);
  return found == engines_.end() ? nullptr : &found->second;
}

void SimPrograms::workAreaChanged() {
  for (const Hwnd h : windows_.zOrder()) {
    SimWindow* w = windows_.live(h);
    if (w == nullptr || !isEngine(*w) || w->iconic() || w->zoomed()) continue;
    Rect r = w->rect;
    const Rect& area = windows_.workArea;
    const int32_t dx = std::max(area.left - r.left, std::min(0, area.right - r.right));
    const int32_t dy = std::max(area.top - r.top, std::min(0, area.bottom - r.bottom));
    if (dx == 0 && dy == 0) continue;
    windows_.moveWindowTo(*w, {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy});
    w->normalRect = windows_.toWorkspace(*w, w->rect);
  }
}

void SimPrograms::showDesktop() {
  for (const Hwnd h : std::vector<Hwnd>(windows_.zOrder())) {
    SimWindow* w = windows_.live(h);
    if (w != nullptr && !w->own && w->visible() && (w->exStyle & WS_EX_TOOLWINDOW) == 0 &&
        w->className != kTaskbarClass) {
      windows_.minimizeForeign(*w);
    }
  }
}

}  // namespace sim
