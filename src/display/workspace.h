// Workspace coordinates: a window placement gives the normal rectangle of a window without
// WS_EX_TOOLWINDOW relative to the work area of its monitor, not to the screen. With the
// taskbar at the top or the left the two differ by the taskbar's size.
#pragma once

#include "platform/monitors.h"

namespace workspace {

// The placement's normal rectangle, on the screen.
platform::Rect toScreen(platform::Monitors& monitors, const platform::Rect& normal,
                        uint32_t exStyle);
// A screen rectangle, as a placement's normal rectangle.
platform::Rect fromScreen(platform::Monitors& monitors, const platform::Rect& screen,
                          uint32_t exStyle);

}  // namespace workspace
