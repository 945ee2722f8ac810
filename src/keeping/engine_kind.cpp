#include "keeping/engine_kind.h"

using namespace platform;

namespace {

// Chromium keys its rule on this prefix of the top-level class.
constexpr char kChromiumPrefix[] = "Chrome_WidgetWin_";
constexpr char kGeckoClass[] = "MozillaWindowClass";
constexpr char kStoreAppClass[] = "ApplicationFrameWindow";
// An embedding program puts its Chromium window among its first children; looking further
// costs a call per child for every window.
constexpr int kChildrenLooked = 8;

bool chromium(const std::string& className) {
  return className.rfind(kChromiumPrefix, 0) == 0;
}

}  // namespace

EngineKind engineOf(Windows& windows, Hwnd window) {
  const std::string top = windows.getClassName(window);
  if (chromium(top)) return EngineKind::Chromium;
  if (top == kGeckoClass) return EngineKind::Gecko;
  if (top == kStoreAppClass) return EngineKind::StoreApp;
  Hwnd child;
  for (int i = 0; i < kChildrenLooked; ++i) {
    child = windows.findWindowEx(window, child, "");
    if (!child) break;
    if (chromium(windows.getClassName(child))) return EngineKind::Chromium;
  }
  return EngineKind::None;
}

const char* engineName(EngineKind kind) {
  switch (kind) {
    case EngineKind::Chromium:
      return "Chromium";
    case EngineKind::Gecko:
      return "Gecko";
    case EngineKind::StoreApp:
      return "store app";
    case EngineKind::None:
      break;
  }
  return "none";
}
