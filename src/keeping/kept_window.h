// What the program must know to undo its changes to another program's window that it keeps
// live: written to the journal before the first change, so that a run that ends by force
// leaves enough behind for the next one to put the window back.
#pragma once

#include <string>

#include "platform/types.h"
#include "platform/window_types.h"

struct KeptWindow {
  platform::Hwnd window;
  platform::Dword processId = 0;
  std::string image;     // the process's executable name: a reused handle tells itself apart
  uint32_t style = 0;    // its own, without WS_MINIMIZE
  uint32_t exStyle = 0;  // its own
  // Its own layered attributes, when its program had set them (exStyle has WS_EX_LAYERED).
  bool ownLayered = false;
  platform::ColorRef layeredKey = 0;
  uint8_t layeredAlpha = 0;
  platform::Dword layeredFlags = 0;
  bool weDisabled = false;  // enabled until the program disabled it
  platform::WindowPlacement placement;
  // The normal rectangle was read while the window lay restored at its own place. Until then
  // the put-back leaves its place and size alone: a minimised window's placement, read by
  // another process, may name where the system parked it rather than where it belongs.
  bool normalKnown = true;

  bool operator==(const KeptWindow&) const = default;
};
