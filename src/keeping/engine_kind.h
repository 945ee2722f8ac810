// Which rendering engine draws a window, as far as the engines' own occlusion rules care:
// Chromium and Gecko stop drawing a window they judge hidden or occluded, and a store app is
// suspended by the system. Known by the top-level class (or, for a program that embeds
// Chromium, a child of that class); the executable's name is no proof of either.
#pragma once

#include "platform/windows.h"

enum class EngineKind { None, Chromium, Gecko, StoreApp };

EngineKind engineOf(platform::Windows& windows, platform::Hwnd window);
const char* engineName(EngineKind kind);
// An open question only a real Windows machine settles: whether a store app left with one
// column on the screen escapes its suspension. Until then it is kept as other windows are,
// and its preview says it is paused.
constexpr bool kStoreAppsDrawInSight = false;

// Kept restored where their rule judges them visible while hidden.
inline bool keepsDrawingInSight(EngineKind kind) {
  return kind == EngineKind::Chromium || kind == EngineKind::Gecko ||
         (kStoreAppsDrawInSight && kind == EngineKind::StoreApp);
}
