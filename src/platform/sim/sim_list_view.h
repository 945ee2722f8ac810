// What the simulated desktop keeps of the program's controls, for tests to read back.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/window_types.h"

namespace sim {

struct ListViewColumn {
  std::string heading;
  int32_t width = 0;
};

struct ListViewCell {
  std::string text;
};

struct ListViewRow {
  std::vector<ListViewCell> cells;  // column 0 first; missing cells read as empty
  int32_t image = 0;
  bool selected = false;
  bool focused = false;
};

// A report-view list (SysListView32).
struct ListViewModel {
  uint32_t extendedStyle = 0;
  std::vector<ListViewColumn> columns;
  std::vector<ListViewRow> rows;
  int32_t selectionMark = -1;  // -1: none
  int32_t hotItem = -1;
  int32_t ensuredVisible = -1;  // the last row scrolled into view
  bool redraw = true;           // WM_SETREDRAW state
  int redrawCount = 0;          // WM_SETREDRAW TRUE messages: each one repaints the list
  std::map<uint32_t, platform::ImageListHandle> imageLists;  // by LVSIL_*

  // The text of a cell, "" when the row or cell does not exist.
  std::string text(size_t row, size_t column) const {
    if (row >= rows.size() || column >= rows[row].cells.size()) return {};
    return rows[row].cells[column].text;
  }
  // The first selected row, -1 when none.
  int32_t selectedRow() const {
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].selected) return static_cast<int32_t>(i);
    }
    return -1;
  }
};

// State of one of the program's controls beyond its text.
struct ControlModel {
  platform::ControlClass controlClass = platform::ControlClass::Static;
  int32_t id = 0;
  uint32_t checked = 0;       // BM_SETCHECK / BM_GETCHECK; auto check boxes toggle on click
  platform::IconHandle icon;  // STM_SETICON
  ListViewModel list;         // list views only
  // Up-down controls: range, position, and the buddy (with UDS_AUTOBUDDY the control made
  // just before it), whose text shows the position with UDS_SETBUDDYINT.
  int32_t low = 0;
  int32_t high = 100;
  int32_t position = 0;
  platform::Hwnd buddy;
};

}  // namespace sim
