// Dialog and menu templates as tables. The Win32 adapter builds in-memory DLGTEMPLATEEX and
// menus from them; the simulated desktop creates its windows from the same tables. Texts are
// the program's own (code page 932). Positions and sizes are in dialog units.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace platform {

// Window classes of the controls the program uses.
enum class ControlClass {
  Button,    // "Button": push buttons, check boxes, group boxes
  Static,    // "Static": texts and icons
  Edit,      // "Edit"
  ListView,  // "SysListView32"
  UpDown,    // "msctls_updown32"
  HotKey,    // "msctls_hotkey32"
  Link,      // "SysLink"
};

struct ControlTemplate {
  ControlClass controlClass;
  int32_t id;  // -1 for controls the program never addresses
  const char* text;
  int16_t x, y, cx, cy;
  uint32_t style;  // WS_CHILD | WS_VISIBLE are added by the builders
  uint32_t exStyle = 0;
};

struct DialogTemplate {
  int32_t id;
  const char* caption;
  int16_t x, y, cx, cy;
  uint32_t style;
  uint32_t exStyle;
  const char* fontName;
  int16_t pointSize;
  std::vector<ControlTemplate> controls;
};

struct MenuItemTemplate {
  uint32_t id;                                 // 0 for a separator and a submenu
  const char* text;                            // null for a separator
  std::vector<MenuItemTemplate> submenu = {};  // a pop-up item's own items
  bool grayed = false;
};

// One pop-up menu.
struct MenuTemplate {
  int32_t id;
  const char* name;
  std::vector<MenuItemTemplate> items;
};

}  // namespace platform
