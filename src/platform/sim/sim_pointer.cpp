// The user's pointer: where it is and which of the program's windows hears it, the left
// button with its capture and the caption move loop, the wheel. Keys: sim_keyboard.cpp.
#include <cstdio>

#include "platform/sim/sim_input.h"

using namespace platform;

namespace sim {

namespace {

LParam packPoint(int32_t x, int32_t y) {
  return static_cast<LParam>(static_cast<uint32_t>(static_cast<uint16_t>(x)) |
                             (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16));
}

bool inside(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

Hwnd SimInput::ownWindowAt(Point at) const {
  // The topmost band is drawn above the rest, also where Wine lists one of it last.
  for (const bool band : {true, false}) {
    for (const Hwnd handle : windows_.zOrder()) {
      const SimWindow* w = windows_.live(handle);
      if (w == nullptr || w->topmost() != band || !w->visible() || !inside(w->rect, at)) {
        continue;
      }
      return w->own ? handle : Hwnd{};  // the first window under the point takes the pointer
    }
  }
  return {};
}

Hwnd SimInput::pointerTarget() const {
  return windows_.live(capture_) != nullptr ? capture_ : ownWindowAt(cursor);
}

void SimInput::sendPointer(Hwnd window, uint32_t message, WParam keys) {
  SimWindow* w = windows_.live(window);
  if (w == nullptr) return;
  const Point origin = windows_.clientOrigin(*w);
  windows_.dispatch(window, message, keys, packPoint(cursor.x - origin.x, cursor.y - origin.y));
}

void SimInput::moveCursor(Point at, WParam keys) {
  cursor = at;
  sendPointer(pointerTarget(), WM_MOUSEMOVE, keys);
}

void SimInput::leftDrag(Point from, const std::vector<Point>& through, WParam keys) {
  cursor = from;
  dragRest_.assign(through.begin(), through.end());
  leftDown_ = true;
  const Hwnd pressed = pointerTarget();
  if (windows_.live(pressed) != nullptr) windows_.activateByUser(pressed);
  sendPointer(pressed, WM_LBUTTONDOWN, keys | MK_LBUTTON);
  while (!dragRest_.empty()) {
    const Point next = dragRest_.front();
    dragRest_.pop_front();
    moveCursor(next, keys | MK_LBUTTON);
  }
  if (!leftDown_) return;  // a move loop took the release
  leftDown_ = false;
  sendPointer(pointerTarget(), WM_LBUTTONUP, keys);
}

void SimInput::rightClick(Point at) {
  cursor = at;
  const Hwnd clicked = pointerTarget();
  if (windows_.live(clicked) == nullptr) return;
  windows_.activateByUser(clicked);
  sendPointer(clicked, WM_RBUTTONDOWN, 0x0002 /* MK_RBUTTON */);
  sendPointer(clicked, WM_RBUTTONUP, 0);
}

void SimInput::runMoveLoop(Hwnd window) {
  SimWindow* w = windows_.live(window);
  if (w == nullptr) return;
  const Point start = cursor;
  const Rect from = w->rect;
  while (!dragRest_.empty()) {
    cursor = dragRest_.front();
    dragRest_.pop_front();
    windows_.setWindowPos(window, {}, from.left + cursor.x - start.x, from.top + cursor.y - start.y,
                          0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  leftDown_ = false;
  windows_.clock().actions.push_back("move loop " + std::to_string(cursor.x - start.x) + "," +
                                     std::to_string(cursor.y - start.y));
}

void SimInput::wheel(int32_t delta, WParam keys) {
  const Hwnd target = ownWindowAt(cursor);
  if (windows_.live(target) == nullptr) return;
  const WParam packed = keys | (static_cast<WParam>(static_cast<uint16_t>(delta)) << 16);
  windows_.dispatch(target, WM_MOUSEWHEEL, packed, packPoint(cursor.x, cursor.y));
}

int16_t SimInput::getKeyState(int32_t key) {
  ++windows_.portCalls;
  return keysHeld.count(key) != 0 ? static_cast<int16_t>(-32768) : int16_t{0};
}

void SimInput::setCapture(Hwnd window) {
  ++windows_.portCalls;
  capture_ = window;
}

void SimInput::releaseCapture() {
  ++windows_.portCalls;
  capture_ = {};
}

}  // namespace sim
